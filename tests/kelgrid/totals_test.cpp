// The grid-wide totals settings and the totals' own data link.

#include "tests/data/sqlitesource_fixture.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/expect_raises.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/properties.h"
#include "toolkit/data/query.h"
#include "toolkit/ui/forms.h"

#include <QMetaProperty>

namespace kelgrid::test {
namespace {

using tk::test::MessageOf;

// A grid that logs what its totals tell it.
class TLoggingGrid : public TKelDBGrid {
public:
    QStringList log;
    void TotalsChanged(int kind, tk::TField* field) override
    {
        log << QStringLiteral("%1:%2").arg(kind).arg(field ? field->FieldName() : QStringLiteral("-"));
        TKelDBGrid::TotalsChanged(kind, field);
    }
};

class TotalsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillFees(fees);
        feeSource.SetDataSet(&fees);
        grid.SetDataSource(&feeSource);
        FillFees(sums);
        sumSource.SetDataSet(&sums);
    }
    TKelDBGridTotals* Totals() { return grid.Totals(); }
    bool Stored(const char* name)
    {
        return tk::IsStoredProp(
            Totals(), Totals()->metaObject()->property(Totals()->metaObject()->indexOfProperty(name)));
    }

    tk::TClientDataSet fees;
    tk::TDataSource feeSource;
    tk::TClientDataSet sums;
    tk::TDataSource sumSource;
    TLoggingGrid grid;
};

TEST_F(TotalsTest, DefaultsClampsAndWhatIsStored)
{
    EXPECT_EQ(Totals()->DataMaxRow(), 5);
    EXPECT_EQ(Totals()->LinesCount(), 1);
    EXPECT_EQ(Totals()->Color(), tk::clBtnFace);
    EXPECT_EQ(Totals()->SelectedColor(), tk::clDefault);
    EXPECT_TRUE(Totals()->CalcValues());
    EXPECT_FALSE(Totals()->Visible());

    Totals()->SetLinesCount(0);
    EXPECT_EQ(Totals()->LinesCount(), 1);
    Totals()->SetDataMaxRow(-3);
    EXPECT_EQ(Totals()->DataMaxRow(), 0);

    // A colour set explicitly is written even when it equals the default.
    EXPECT_FALSE(Stored("Color"));
    Totals()->SetColor(tk::clBtnFace);
    EXPECT_TRUE(Stored("Color"));

    // The font follows the grid and is written only once the grid stopped
    // following its parent and the fonts differ.
    EXPECT_FALSE(Stored("Font"));
    grid.SetParentFont(false);
    EXPECT_FALSE(Stored("Font"));
    Totals()->Font()->SetSize(Totals()->Font()->Size() + 3);
    EXPECT_TRUE(Stored("Font"));

    // Read and written by name, as layouts do.
    ASSERT_TRUE(tk::SetPropertyPath(&grid, QStringLiteral("Totals.BoxStyle"), QStringLiteral("cbFlat")));
    EXPECT_EQ(Totals()->BoxStyle(), cbFlat);
}

TEST_F(TotalsTest, AFontSetFromOutsideStopsTheGridFollowingItsParent)
{
    ASSERT_TRUE(grid.ParentFont());
    Totals()->RefreshFont(grid.Font());  // the grid's own copy: no change of mind
    EXPECT_TRUE(grid.ParentFont());
    Totals()->Font()->SetName(QStringLiteral("DejaVu Serif"));
    EXPECT_FALSE(grid.ParentFont());
}

// The parent's font reaches the grid's title, header and totals fonts while
// the grid follows it; a title font set from outside ends that.
TEST(GridFontTest, TheParentsFontReachesTitlesHeadersAndTotals)
{
    tk::TForm form;
    tk::TClientDataSet fees;
    FillFees(fees);
    tk::TDataSource source;
    source.SetDataSet(&fees);
    auto* grid = new TKelDBGrid(&form);
    grid->SetDataSource(&source);
    const int rowHeight = grid->DefaultRowHeight();
    const int titleHeight = grid->RowHeights(0);

    form.Font()->SetSize(form.Font()->Size() * 2);
    EXPECT_TRUE(grid->ParentFont());
    EXPECT_EQ(grid->TitleFont()->Size(), form.Font()->Size());
    EXPECT_EQ(grid->HeaderFont()->Size(), form.Font()->Size());
    EXPECT_EQ(grid->Totals()->Font()->Size(), form.Font()->Size());
    EXPECT_EQ(grid->Columns()->Items(0)->Font()->Size(), form.Font()->Size());
    EXPECT_GT(grid->DefaultRowHeight(), rowHeight);
    EXPECT_GT(grid->RowHeights(0), titleHeight);

    grid->TitleFont()->SetSize(7);
    EXPECT_FALSE(grid->ParentFont());
    form.Font()->SetSize(form.Font()->Size() + 2);
    EXPECT_EQ(grid->TitleFont()->Size(), 7);
}

TEST_F(TotalsTest, TheTotalsSourceCannotBeTheGridsOwnNorAForwardOnlyOne)
{
    EXPECT_EQ(MessageOf<tk::EInvalidGridOperation>([&] { Totals()->SetDataSource(&feeSource); }),
              QStringLiteral("Circular datalinks are not allowed"));
    EXPECT_EQ(Totals()->DataSource(), nullptr);

    Totals()->SetDataSource(&sumSource);
    // Nor can the grid then take the totals' source as its own.
    EXPECT_EQ(MessageOf<tk::EInvalidGridOperation>([&] { grid.SetDataSource(&sumSource); }),
              QStringLiteral("Circular datalinks are not allowed"));
    EXPECT_EQ(grid.DataSource(), &feeSource);
}

class TotalsForwardOnly : public tk::test::SqliteFixture {};

TEST_F(TotalsForwardOnly, AUnidirectionalTotalsDataSetIsRefused)
{
    MakePeople(3);
    tk::TQuery query;
    query.SetDatabase(&OpenDatabase());
    query.SQL()->SetText(QStringLiteral("SELECT id FROM people"));
    query.SetUniDirectional(true);
    query.Open();
    tk::TDataSource source;
    source.SetDataSet(&query);
    TKelDBGrid grid;
    EXPECT_EQ(MessageOf<tk::EDatabaseError>([&] { grid.Totals()->SetDataSource(&source); }),
              QStringLiteral("Operation not allowed on a unidirectional dataset"));
    EXPECT_EQ(grid.Totals()->DataSource(), nullptr);
    EXPECT_EQ(MessageOf<tk::EDatabaseError>([&] { grid.SetDataSource(&source); }),
              QStringLiteral("Operation not allowed on a unidirectional dataset"));
}

TEST_F(TotalsTest, TheTotalsWindowHoldsUpToDataMaxRowRecordsAndNeverNone)
{
    Totals()->SetDataSource(&sumSource);
    TKelTotalDataLink* link = Totals()->DataLink();
    ASSERT_TRUE(link->Active());
    EXPECT_EQ(link->BufferCount(), 5);
    EXPECT_EQ(link->FieldRowCount(), 5);
    Totals()->SetDataMaxRow(3);  // follows at once
    EXPECT_EQ(link->BufferCount(), 3);
    EXPECT_EQ(link->FieldRowCount(), 3);
    Totals()->SetDataMaxRow(0);  // every record
    EXPECT_EQ(link->BufferCount(), 5);
    Totals()->SetDataMaxRow(9);  // no more than there are
    EXPECT_EQ(link->BufferCount(), 5);

    // An empty totals dataset: the window keeps one row, the band shows no
    // field row.
    sums.Close();
    sums.CreateDataSet();
    EXPECT_EQ(link->BufferCount(), 1);
    EXPECT_EQ(link->FieldRowCount(), 0);
    EXPECT_EQ(sums.RecordCount(), 0);
}

// The band's rows follow the options and the columns, and sit at the
// bottom edge with the blank row taking what the data rows leave.
TEST_F(TotalsTest, TheBandTakesItsRowsAtTheBottomEdge)
{
    grid.resize(400, 300);
    grid.show();  // resizes reach a shown grid at once
    grid.SetOptionsEx(grid.OptionsEx() | dgTotalFooter);
    EXPECT_EQ(grid.TotalOffset(), 2);  // the blank row and the footer
    grid.Columns()->SetState(csCustomized);
    grid.Columns()->Items(2)->TotalValues()->Add();
    grid.Columns()->Items(2)->TotalValues()->Add();
    Totals()->SetDataSource(&sumSource);
    Totals()->SetDataMaxRow(3);
    grid.SetOptionsEx(grid.OptionsEx() | dgTotalHeader | dgTotalValues | dgTotalFields);
    EXPECT_EQ(grid.TotalOffset(), 1 + 1 + 2 + 3 + 1);
    EXPECT_EQ(grid.CheckConsistency(), QString());

    const int last = grid.RowCount() - 1;
    EXPECT_EQ(grid.CellRect(1, last).bottom() + 1 + grid.GridLineWidth(), grid.viewport()->height());
    EXPECT_EQ(grid.TotalRowOf(last), 6);       // the footer: the last band row
    EXPECT_EQ(grid.TotalRowOf(last - 6), 0);   // the header
    EXPECT_EQ(grid.TotalRowOf(last - 7), -1);  // the blank row
    EXPECT_EQ(grid.TotalRowOf(last - 8), -1);  // a data row
    EXPECT_EQ(grid.Columns()->Items(2)->TotalRows(6), grid.Columns()->Items(2)->TotalFooter());
    // The data rows fit between the titles and the band.
    const int firstTotal = grid.RowCount() - grid.TotalOffset();
    EXPECT_LE(grid.CellRect(1, firstTotal - 1).bottom(), grid.CellRect(1, firstTotal + 1).top());

    // Taller, the grid shows more data rows; rows that were band rows
    // before take the data rows' height again.
    grid.resize(400, 100);  // room for one data row
    const int rowsBefore = grid.RowCount();
    ASSERT_EQ(rowsBefore, grid.FixedRows() + 1 + grid.TotalOffset());
    grid.resize(400, 600);
    ASSERT_GT(grid.RowCount(), rowsBefore);
    for (int row = grid.FixedRows(); row < grid.RowCount() - grid.TotalOffset(); ++row)
        EXPECT_EQ(grid.RowHeights(row), grid.DefaultRowHeight()) << row;

    grid.SetOptionsEx(grid.OptionsEx() & ~TKelDBGridOptionsEx(dgTotalHeader | dgTotalValues | dgTotalFields |
                                                              dgTotalFooter | dgBlankRow));
    EXPECT_EQ(grid.TotalOffset(), 0);
    EXPECT_EQ(grid.CheckConsistency(), QString());
}

TEST_F(TotalsTest, TheTotalsLinkTellsTheGridWhatChanged)
{
    Totals()->SetDataSource(&sumSource);
    EXPECT_EQ(grid.log.join(' '), QStringLiteral("1:-"));  // activation
    grid.log.clear();
    sums.Edit();
    sums.FieldByName(QStringLiteral("Amount"))->SetAsFloat(1);
    EXPECT_EQ(grid.log.last(), QStringLiteral("3:Amount"));
    grid.log.clear();
    sums.Cancel();
    sums.Last();  // a move of the totals' cursor: the whole dataset again
    EXPECT_TRUE(grid.log.contains(QStringLiteral("1:-"))) << grid.log.join(' ').toStdString();

    // During the grid's update the dataset's changes wait.
    grid.log.clear();
    grid.BeginUpdate();
    sums.First();
    grid.EndUpdate();
    EXPECT_FALSE(grid.log.contains(QStringLiteral("1:-"))) << grid.log.join(' ').toStdString();
}

TEST_F(TotalsTest, FreedSourcesAndImagesLeaveTheTotals)
{
    auto source = std::make_unique<tk::TDataSource>();
    source->SetDataSet(&sums);
    Totals()->SetDataSource(source.get());
    auto images = std::make_unique<tk::TImageList>();
    Totals()->SetImages(images.get());
    source.reset();
    images.reset();
    EXPECT_EQ(Totals()->DataSource(), nullptr);
    EXPECT_FALSE(Totals()->DataLink()->Active());
    EXPECT_EQ(Totals()->Images(), nullptr);
}

TEST_F(TotalsTest, LookChangesReLayOutOnlyWhileABandShows)
{
    int layouts = 0;
    grid.OnLayout = [&](TKelCustomDBGrid*) { ++layouts; };
    Totals()->SetLinesCount(2);
    Totals()->SetColor(tk::clAqua);
    EXPECT_EQ(layouts, 0);
    grid.SetOptionsEx(grid.OptionsEx() | dgTotalFooter);
    layouts = 0;
    Totals()->SetLinesCount(3);
    Totals()->SetColor(tk::clTeal);
    EXPECT_EQ(layouts, 2);
    // The box style matters only to bands drawn as boxes.
    grid.SetOptionsEx(grid.OptionsEx() & ~TKelDBGridOptionsEx(dgTotalFooterBox));
    layouts = 0;
    Totals()->SetBoxStyle(cbSoft);
    EXPECT_EQ(layouts, 0);
    grid.SetOptionsEx(grid.OptionsEx() | dgTotalFooterBox);
    layouts = 0;
    Totals()->SetBoxStyle(cbMild);
    EXPECT_EQ(layouts, 1);
}

}  // namespace
}  // namespace kelgrid::test
