// Titles and nesting: groups made by ExpandCols, collapsing them, moving a
// group, the title rows they need, and the header rows above captions.

#include "kelgrid/grid/gridstyle.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/graphics.h"

#include "tests/kelgrid/grid_fixture.h"

namespace kelgrid::test {
namespace {

// "A B> C | D": each showing column's field name; ">" marks an expanded
// parent (not showing, its children are), "-" a hidden one.
QString Tree(const TKelDBGridColumns* columns)
{
    QStringList parts;
    for (int i = 0; i < columns->Count(); ++i) {
        const TKelColumn* column = columns->Items(i);
        QString part = QString(column->Depth(), QLatin1Char('.')) + column->FieldName();
        if (column->Expanded())
            part += QLatin1Char('>');
        else if (!column->Showing())
            part += QLatin1Char('-');
        parts << part;
    }
    return parts.join(QLatin1Char(' '));
}

class ColumnTitleTest : public GridFixture {
protected:
    // Stored columns Id, Owner, Amount, Paid and a copy of Id named Id2.
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->BeginLayout();
        for (const char* name : {"Id", "Owner", "Amount", "Paid", "Id"})
            grid->Columns()->Add()->SetFieldName(QString::fromLatin1(name));
        grid->EndLayout();
    }
    TKelColumn* Column(int index) const { return grid->Columns()->Items(index); }
};

TEST_F(ColumnTitleTest, ExpandColsGroupsTheNextColumnsOnly)
{
    Column(0)->SetExpandCols(2);
    EXPECT_EQ(Tree(grid->Columns()), QStringLiteral("Id> .Owner .Amount Paid Id"));
    EXPECT_EQ(Column(2)->ParentColumn(), Column(0));
    EXPECT_EQ(Column(3)->ParentColumn(), nullptr);
    EXPECT_EQ(Column(0)->ExpandIndex(), 2);
    // The group's title spans a second title row.
    EXPECT_EQ(grid->FixedRows(), 2);
    EXPECT_EQ(Column(0)->ExpandWidth(), Column(1)->ExpandWidth() + Column(2)->ExpandWidth());
    EXPECT_EQ(Column(1)->ExpandWidth(), Column(1)->Width() + grid->GridLineWidth());

    // Collapsed, the parent shows alone.
    Column(0)->SetExpanded(false);
    EXPECT_EQ(Tree(grid->Columns()), QStringLiteral("Id .Owner- .Amount- Paid Id"));
    EXPECT_EQ(grid->FixedRows(), 1);
    EXPECT_LT(Column(1)->Width(), 0);
    EXPECT_EQ(Column(0)->ExpandWidth(), Column(0)->Width() + grid->GridLineWidth());

    // Nested groups; a hidden parent hides its children.
    Column(0)->SetExpanded(true);
    Column(1)->SetExpandCols(1);
    EXPECT_EQ(Tree(grid->Columns()), QStringLiteral("Id> .Owner> ..Amount Paid Id"));
    EXPECT_EQ(grid->FixedRows(), 3);
    Column(0)->SetVisible(false);
    EXPECT_FALSE(Column(2)->Visible());
    EXPECT_TRUE(Column(2)->Visibility());
    EXPECT_EQ(Column(0)->ExpandWidth(), 0);
}

// Title rows are as high as their titles: groups set the rows they head,
// a leaf title spanning rows down to the last gets what it lacks there.
TEST_F(ColumnTitleTest, TitleRowsFitTheTitlesTheyHold)
{
    auto lineHeight = [](const tk::TFont* font) {
        tk::TCanvas canvas;
        canvas.Font()->Assign(font);
        return canvas.TextHeight(QStringLiteral("Wg"));
    };
    const int space = grid->GridStyle()->TitleRowSpace();
    const int oneLine = lineHeight(grid->TitleFont()) + space;
    Column(0)->SetExpandCols(2);
    Column(1)->SetExpandCols(1);
    ASSERT_EQ(grid->FixedRows(), 3);
    EXPECT_EQ(grid->RowHeights(0), oneLine);
    EXPECT_EQ(grid->RowHeights(1), oneLine);
    EXPECT_EQ(grid->RowHeights(2), oneLine);

    // Paid's title spans the three rows; in a large font it needs more than
    // the two rows above the last give it.
    Column(3)->Title()->Font()->SetSize(grid->TitleFont()->Size() * 6);
    const int tall = lineHeight(Column(3)->Title()->Font()) + space;
    ASSERT_GT(tall, 3 * oneLine);
    EXPECT_EQ(grid->RowHeights(0) + grid->RowHeights(1) + grid->RowHeights(2), tall);
    EXPECT_EQ(grid->RowHeights(1), oneLine);

    Column(3)->Title()->RestoreDefaults();
    grid->SetTitleLinesCount(2);
    EXPECT_EQ(grid->RowHeights(0), 2 * lineHeight(grid->TitleFont()) + space);
    grid->SetTitleLinesCount(0);
    EXPECT_EQ(grid->TitleLinesCount(), 1);
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

// Fixed data columns: a group is fixed whole, and never every column.
TEST_F(ColumnTitleTest, AFixedGroupIsFixedWholeAndOneColumnStaysFree)
{
    Column(0)->SetExpandCols(2);  // Id holds Owner and Amount
    grid->setProperty("FixedCols", 1);
    EXPECT_EQ(grid->FixedCols(), 3);
    EXPECT_EQ(grid->tk::TCustomGrid::FixedCols(), 4);  // with the indicator
    EXPECT_EQ(grid->SelectionOffset(), 3);
    grid->SetFixedCols(9);
    EXPECT_EQ(grid->FixedCols(), 4);  // one less than the five columns

    // Fixing the group that ends at the last column would fix them all:
    // the fixed columns stop before it.
    Column(0)->SetExpandCols(0);
    Column(3)->SetExpandCols(1);  // Paid holds the second Id
    grid->SetFixedCols(4);
    EXPECT_EQ(grid->FixedCols(), 3);
    grid->SetFixedCols(-2);
    EXPECT_EQ(grid->FixedCols(), 0);
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(ColumnTitleTest, AGroupMovesAsOneBlock)
{
    Column(1)->SetExpandCols(1);  // Owner holds Amount
    Column(1)->SetIndex(4);
    EXPECT_EQ(Tree(grid->Columns()), QStringLiteral("Id Paid Id Owner> .Amount"));
    Column(3)->SetIndex(0);
    EXPECT_EQ(Tree(grid->Columns()), QStringLiteral("Owner> .Amount Id Paid Id"));
    // Inside its own group: nothing; past the end: to the end.
    Column(0)->SetIndex(1);
    EXPECT_EQ(Tree(grid->Columns()), QStringLiteral("Owner> .Amount Id Paid Id"));
    Column(2)->SetIndex(99);
    EXPECT_EQ(Tree(grid->Columns()), QStringLiteral("Owner> .Amount Paid Id Id"));
}

TEST_F(ColumnTitleTest, HeaderRowsSplitAtBarsAndMergeWithEqualNeighbours)
{
    TKelColumnTitle* title = Column(1)->Title();
    EXPECT_EQ(title->HeaderRowCount(), 0);
    title->SetHeader(QStringLiteral("Pagos|2024"));
    title->SetHeaderHint(QStringLiteral("Payments"));
    EXPECT_EQ(title->HeaderRowCount(), 2);
    EXPECT_EQ(title->HeaderRows(1), QStringLiteral("2024"));
    EXPECT_EQ(title->HeaderRows(2), QString());
    EXPECT_EQ(title->HeaderHintRows(0), QStringLiteral("Payments"));
    EXPECT_EQ(title->HeaderHintRows(1), QString());

    Column(2)->Title()->SetHeader(QStringLiteral("Pagos|2024"));
    Column(3)->Title()->SetHeader(QStringLiteral("Pagos|2025"));
    EXPECT_EQ(Column(2)->Title()->HeaderLeft(0), Column(1));
    EXPECT_EQ(Column(2)->Title()->HeaderLeft(1), Column(1));
    EXPECT_EQ(Column(2)->Title()->HeaderRight(0), Column(3));
    EXPECT_EQ(Column(2)->Title()->HeaderRight(1), nullptr);  // 2024 against 2025
    EXPECT_EQ(Column(1)->Title()->HeaderLeft(0), nullptr);   // Id has no header
    EXPECT_EQ(Column(3)->Title()->HeaderRight(0), nullptr);

    // A hidden neighbour is skipped over to the next visible one.
    Column(2)->SetVisible(false);
    EXPECT_EQ(Column(3)->Title()->HeaderLeft(0), Column(1));
}

TEST_F(ColumnTitleTest, TitleDefaultsComeBackWithRestoreDefaults)
{
    TKelColumnTitle* title = Column(1)->Title();
    title->SetCaption(QStringLiteral("Propietario"));
    title->SetHeader(QStringLiteral("A|B"));
    title->SetButton(false);
    title->SetImageIndex(3);
    title->SetMarker(tmDescend);
    ASSERT_EQ(title->Marker(), tmDescend);
    title->RestoreDefaults();
    EXPECT_EQ(title->Caption(), QStringLiteral("Owner"));
    EXPECT_EQ(title->HeaderRowCount(), 0);
    EXPECT_TRUE(title->Button());
    EXPECT_EQ(title->ImageIndex(), -1);
    EXPECT_EQ(title->Marker(), tmNone);
    EXPECT_TRUE(grid->Columns()->OrderList().isEmpty());

    // Assigning a title copies it.
    title->SetCaption(QStringLiteral("Dueño"));
    title->SetWordWrap(false);
    Column(2)->SetTitle(title);
    EXPECT_EQ(Column(2)->Title()->Caption(), QStringLiteral("Dueño"));
    EXPECT_FALSE(Column(2)->Title()->WordWrap());
    EXPECT_TRUE(Column(2)->AssignedValues().testFlag(cvTitleCaption));
}

}  // namespace
}  // namespace kelgrid::test
