// The grid's hints and tooltips, as the mouse rests over its parts with the
// hint engine's time stepped by hand: which window shows (if any), with
// which text, where, for how long, and after which pause.
//
//   |  | Id | Owner        | Amount | Paid |      rows 1 .. 30: the fees
//   |> |  1 | Ana Ruiz     |  120.5 |  [x] |      (Owner narrowed where a
//   |  |  2 | Bernardo Gil |     80 |  [ ] |       text must not fit)

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/columntotalvalue.h"
#include "kelgrid/grid/hintwindow.h"
#include "tests/kelgrid/shown_grid_fixture.h"
#include "tests/support/field_def.h"
#include "tests/support/manual_timer_driver.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/ui/grids/inplaceedit.h"
#include "toolkit/ui/hintengine.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QScopeGuard>
#include <QTest>
#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

class GridHintsTest : public ShownGridFixture {
protected:
    void SetUp() override
    {
        ShownGridFixture::SetUp();
        grid->move(100, 100);
        grid->SetShowHint(true);
        QApplication::setActiveWindow(grid.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(grid.get()));
        engine.SetHintPause(500);
        engine.SetHintShortPause(50);
        engine.SetHintHidePause(2500);
    }
    void TearDown() override
    {
        engine.CancelHint();
        ShownGridFixture::TearDown();
    }

    TKelColumn* Column(const char* field) const { return grid->ColumnByName(QString::fromLatin1(field)); }
    QRect Cell(const char* field, int recordRow) const
    {
        return grid->CellRect(Raw(field), grid->TitleOffset() + recordRow);
    }
    // Moves the mouse to at (viewport) and lets it rest for milliseconds.
    void Rest(QPoint at, int milliseconds = 500)
    {
        mouse->MouseMove(at);
        clock.Advance(milliseconds);
    }
    // The text of the hint up, "" when none is.
    QString Shown() const { return engine.HintShowing() ? engine.HintWindow()->Caption() : QString(); }
    bool ToolTipWindow() const { return qobject_cast<TKelHintWindow*>(engine.HintWindow()) != nullptr; }
    QRect WindowRect() const { return engine.HintWindow()->geometry(); }
    QRect OnScreen(const QRect& rect) const
    {
        return rect.translated(grid->viewport()->mapToGlobal(QPoint(0, 0)));
    }
    void SetHintOptions(TKelHintOptions options) { grid->SetHintOptions(options); }

    // The timers from now on (the engine's too) run on this clock.
    tk::test::ManualTimerDriver clock;
    tk::THintEngine& engine = tk::HintEngine();
};

TEST_F(GridHintsTest, ATextTooWideForItsCellShowsInATooltipLaidOverTheCell)
{
    Column("Owner")->SetWidth(40);
    const QRect cell = Cell("Owner", 1);
    Rest(cell.center(), 499);
    EXPECT_EQ(Shown(), "") << "the first hint waits the normal pause";
    clock.Advance(1);
    ASSERT_EQ(Shown(), "Bernardo Gil") << "the text of the row under the mouse";
    EXPECT_EQ(CurrentId(), 1) << "the current record stays";
    EXPECT_TRUE(ToolTipWindow());
    const QRect window = WindowRect();
    const QRect screenCell = OnScreen(cell);
    EXPECT_EQ(window.left(), screenCell.left() - 1) << "left aligned: at the cell's left, one pixel out";
    EXPECT_LE(std::abs(window.center().y() - screenCell.center().y()), 1) << "centred vertically";
    const int line = grid->GridLineWidth();
    EXPECT_EQ(engine.HintCursorRect(), OnScreen(cell.adjusted(0, 0, line, line)))
        << "the cell with its lines";

    // The next tooltip waits only the short pause; a tooltip stays up twice
    // the hide pause.
    Rest(Cell("Owner", 2).center(), 50);
    EXPECT_EQ(Shown(), "Carmen Peña");
    clock.Advance(2 * 2500 - 1);
    EXPECT_EQ(Shown(), "Carmen Peña");
    clock.Advance(1);
    EXPECT_EQ(Shown(), "");
}

// The editor over a cell shows the column's editor hint, which the grid's
// handler may change; without hoEditorHints it shows the grid's own hint.
TEST_F(GridHintsTest, TheEditorShowsTheColumnsEditorHint)
{
    Column("Owner")->SetEditorHint(QStringLiteral("Who pays"));
    QList<THintCell> asked;
    grid->OnCellHint = [&](TKelCustomDBGrid*, TKelColumn* column, int, THintCell cell, QString& hint) {
        asked << cell;
        if (cell == hcEditor && column == Column("Owner"))
            hint += QStringLiteral(" (required)");
    };
    grid->SetHint(QStringLiteral("Fees of the year"));
    grid->SetSelectedColumn(Column("Owner"));
    driver->Press(Qt::Key_F2);
    tk::TInplaceEdit* editor = grid->InplaceEditor();
    ASSERT_TRUE(editor && editor->isVisible());
    const QPoint inEditor = grid->viewport()->mapFromGlobal(editor->mapToGlobal(QPoint(4, 4)));
    Rest(inEditor);
    EXPECT_EQ(Shown(), QStringLiteral("Who pays (required)"));
    EXPECT_TRUE(asked.contains(hcEditor));

    driver->Press(Qt::Key_Escape);
    SetHintOptions(grid->HintOptions() & ~TKelHintOptions(hoEditorHints));
    driver->Press(Qt::Key_F2);
    Rest(inEditor + QPoint(20, 0));
    EXPECT_EQ(Shown(), QStringLiteral("Fees of the year"));
}

TEST_F(GridHintsTest, ATextThatFitsShowsNoTooltipUnlessAlwaysShown)
{
    Rest(Cell("Owner", 1).center());
    EXPECT_EQ(Shown(), "") << "the cell shows the text whole";
    Column("Owner")->SetToolTips(false);
    Column("Owner")->SetWidth(40);
    Rest(Cell("Owner", 2).center());
    EXPECT_EQ(Shown(), "") << "a column without ToolTips";

    SetHintOptions(grid->HintOptions() | hoAlwaysShowToolTips | hoKeepShowToolTips);
    Rest(Cell("Id", 3).center());
    ASSERT_EQ(Shown(), "4");
    EXPECT_TRUE(ToolTipWindow());
    clock.Advance(100000);
    EXPECT_EQ(Shown(), "4") << "hoKeepShowToolTips: up until the mouse leaves the cell";
}

TEST_F(GridHintsTest, TooltipsFollowTheCellsAlignmentAndWrapInAFixedWidth)
{
    SetHintOptions(grid->HintOptions() | hoAlwaysShowToolTips);
    const QRect amount = OnScreen(Cell("Amount", 0));
    Column("Amount")->SetVAlignment(tvTopJustify);
    Rest(Cell("Amount", 0).center());
    ASSERT_EQ(Shown(), "120.5");
    EXPECT_EQ(WindowRect().right(), amount.right() - 1) << "right aligned: against the cell's right edge";
    EXPECT_EQ(WindowRect().top(), amount.top() - 1);

    TKelColumn* owner = Column("Owner");
    owner->SetToolTipsWidth(ttFixedWidth);
    owner->SetVAlignment(tvBottomJustify);
    owner->SetWidth(50);
    dataSet.Edit();
    dataSet.FieldByName(QStringLiteral("Owner"))->SetAsString(QStringLiteral("Ana Ruiz de la Fuente"));
    dataSet.Post();
    const QRect cell = OnScreen(Cell("Owner", 0));
    Rest(Cell("Owner", 0).center());
    ASSERT_EQ(Shown(), "Ana Ruiz de la Fuente");
    // The text wraps to the column's width less its margin and 2; the window
    // is that plus 6 wide.
    EXPECT_EQ(WindowRect().width(), 50 - 2 - 2 + 6);
    EXPECT_GT(WindowRect().height(), 2 * QFontMetrics(owner->Font()->ToQFont()).height());
    EXPECT_EQ(WindowRect().bottom(), cell.bottom() - 1) << "bottom aligned";
}

TEST_F(GridHintsTest, MemoCellsWrapTheirTooltipsInTheColumnsWidth)
{
    tk::TClientDataSet notes;
    notes.FieldDefs() = {tk::test::Def(QStringLiteral("Id"), tk::ftInteger),
                         tk::test::Def(QStringLiteral("Notes"), tk::ftMemo)};
    notes.CreateDataSet();
    notes.Append();
    notes.FieldByName(QStringLiteral("Id"))->SetAsInteger(1);
    notes.FieldByName(QStringLiteral("Notes"))
        ->SetAsString(QStringLiteral("Paid late, by transfer, after a call"));
    notes.Post();
    source.SetDataSet(&notes);
    auto back = qScopeGuard([&] {
        engine.CancelHint();
        source.SetDataSet(&dataSet);
    });
    Column("Notes")->SetWidth(80);
    const QRect cell = grid->CellRect(Raw("Notes"), grid->TitleOffset());
    Rest(cell.center());
    ASSERT_EQ(Shown(), "Paid late, by transfer, after a call");
    EXPECT_TRUE(ToolTipWindow());
    EXPECT_EQ(WindowRect().width(), 80 - 2 - 2 + 6) << "a memo shown through ShowBlob has a fixed width";
}

TEST_F(GridHintsTest, TitleHintsShowTheHintOrCaptionAndPassThroughOnCellHint)
{
    const QRect titles = grid->TitlesRect();
    const QRect owner = grid->CalcTitleRect(Column("Owner"), 0);
    Rest(owner.center());
    ASSERT_EQ(Shown(), "Owner");
    EXPECT_FALSE(ToolTipWindow()) << "hints take the engine's window";
    EXPECT_EQ(engine.HintWindow()->pos(), grid->viewport()->mapToGlobal(owner.center()) + QPoint(0, 20))
        << "below the cursor";

    // After a hint the next one waits the normal pause.
    Column("Amount")->Title()->SetHint(QStringLiteral("What each owner pays"));
    Rest(grid->CalcTitleRect(Column("Amount"), 0).center(), 499);
    EXPECT_EQ(Shown(), "Owner");
    clock.Advance(1);
    EXPECT_EQ(Shown(), "What each owner pays");

    QStringList asked;
    grid->OnCellHint = [&](TKelCustomDBGrid*, TKelColumn* column, int, THintCell cell, QString& hint) {
        asked << QStringLiteral("%1 %2")
                     .arg(column ? column->FieldName() : QStringLiteral("-"))
                     .arg(static_cast<int>(cell));
        if (cell == hcTitle && column->FieldName() == QLatin1String("Id"))
            throw tk::Exception(QStringLiteral("no hint for you"));
        hint = hint.toUpper();
    };
    Rest(owner.center());
    EXPECT_EQ(Shown(), "OWNER");
    Rest(grid->CalcTitleRect(Column("Id"), 0).center());
    EXPECT_EQ(Shown(), "") << "a handler that raises empties the text";

    grid->SetFillerHint(QStringLiteral("Corner"));
    const QPoint corner(5, titles.center().y());
    Rest(corner);
    EXPECT_EQ(Shown(), "CORNER");
    EXPECT_EQ(engine.HintCursorRect().height(), grid->TitleHeight()) << "over all title rows";
    SetHintOptions(grid->HintOptions() & ~TKelHintOptions(hoShowTitleHints));
    Rest(owner.center());
    EXPECT_EQ(Shown(), "") << "without hoShowTitleHints no window";
    Rest(corner);
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(asked, QStringList({"Owner 0", "Id 0", "- 2", "Owner 0", "- 2"}))
        << "the texts are still asked for";
}

TEST_F(GridHintsTest, HeaderRowsShowTheirHeaderHint)
{
    grid->SetOptions(grid->Options() | dgTitleHeaders);
    TKelColumnTitle* title = Column("Amount")->Title();
    title->SetHeader(QStringLiteral("Money|Due"));
    title->SetHeaderHint(QStringLiteral("All sums"));
    const QRect titleRect = grid->CalcTitleRect(Column("Amount"), 0);
    Rest(grid->HeaderRect(Column("Amount"), 0, titleRect).center());
    EXPECT_EQ(Shown(), "All sums");
    Rest(grid->HeaderRect(Column("Amount"), 1, titleRect).center());
    EXPECT_EQ(Shown(), "Due") << "without its own hint segment: the header text";
    Rest(QPoint(titleRect.center().x(), titleRect.bottom() - 2));
    EXPECT_EQ(Shown(), "Amount") << "below the header rows: the title";
}

TEST_F(GridHintsTest, DataHintsShowTheCellsTextTheIndicatorHintAndPicturesOnlyWhenAllowed)
{
    SetHintOptions(hoDataHints | hoShowDataHints);
    Rest(Cell("Owner", 4).center());
    EXPECT_EQ(Shown(), "Elena Vidal");
    EXPECT_FALSE(ToolTipWindow());
    EXPECT_EQ(CurrentId(), 1);

    grid->SetIndicatorHint(QStringLiteral("The record's state"));
    Rest(grid->CellRect(0, grid->TitleOffset() + 2).center());
    EXPECT_EQ(Shown(), "The record's state");

    Column("Paid")->SetCheckBox(true);
    Rest(Cell("Paid", 0).center());
    EXPECT_EQ(Shown(), "") << "a check box shows no text";
    SetHintOptions(grid->HintOptions() | hoAllowForGraphics);
    Rest(Cell("Paid", 1).center());
    EXPECT_EQ(Shown(), "False");

    SetHintOptions(hoDataHints);
    Rest(Cell("Owner", 3).center());
    EXPECT_EQ(Shown(), "") << "without hoShowDataHints no window";
}

TEST_F(GridHintsTest, WhereNoCellHintAppliesTheMainHintComesBack)
{
    grid->SetHint(QStringLiteral("Fees of the year"));
    Column("Owner")->SetToolTips(false);
    Rest(grid->CalcTitleRect(Column("Owner"), 0).center());
    ASSERT_EQ(Shown(), "Owner");
    Rest(Cell("Owner", 3).center());
    EXPECT_EQ(Shown(), "Fees of the year");
    // The main hint covers that cell only: the next may have a tooltip.
    Column("Id")->SetWidth(8);
    Rest(Cell("Id", 3).center());
    EXPECT_EQ(Shown(), "4");
    EXPECT_TRUE(ToolTipWindow());
}

TEST_F(GridHintsTest, AKeyOrAPressMakesTheNextTooltipWaitTheNormalPause)
{
    Column("Owner")->SetWidth(40);
    Rest(Cell("Owner", 1).center());
    ASSERT_EQ(Shown(), "Bernardo Gil");
    driver->Press(Qt::Key_Down);
    EXPECT_EQ(Shown(), "");
    Rest(Cell("Owner", 2).center(), 50);
    EXPECT_EQ(Shown(), "");
    clock.Advance(450);
    ASSERT_EQ(Shown(), "Carmen Peña");

    mouse->Click(Cell("Owner", 3).center());
    Rest(Cell("Owner", 3).center() + QPoint(1, 0), 50);
    EXPECT_EQ(Shown(), "");
    clock.Advance(450);
    EXPECT_EQ(Shown(), "Diego Soto");
}

TEST_F(GridHintsTest, TotalsGiveTooltipsAndHintsAndTheBlankRowNothing)
{
    Column("Owner")->TotalFooter()->SetCaption(QStringLiteral("Thirty owners in all"));
    grid->SetOptionsEx(grid->OptionsEx() | dgTotalFooter);
    const int footer = grid->RowCount() - 1;
    const QRect total = grid->CellRect(Raw("Owner"), footer);
    Column("Owner")->SetWidth(40);
    Rest(grid->CellRect(Raw("Owner"), footer).center());
    ASSERT_EQ(Shown(), "Thirty owners in all");
    EXPECT_TRUE(ToolTipWindow());
    EXPECT_EQ(engine.HintCursorRect().top(), OnScreen(total).top());
    Rest(grid->CellRect(Raw("Owner"), footer - 1).center());
    EXPECT_EQ(Shown(), "") << "the blank row";

    SetHintOptions(hoTotalHints | hoShowTotalHints);
    grid->SetIndicatorHint(QStringLiteral("Sums"));
    Rest(grid->CellRect(Raw("Owner"), footer).center());
    EXPECT_EQ(Shown(), "Thirty owners in all");
    EXPECT_FALSE(ToolTipWindow());
    Column("Owner")->TotalFooter()->SetHint(QStringLiteral("How many pay"));
    Rest(grid->CellRect(Raw("Id"), footer).center() + QPoint(0, 1));
    Rest(grid->CellRect(Raw("Owner"), footer).center());
    EXPECT_EQ(Shown(), "How many pay");
    Rest(grid->CellRect(0, footer).center());
    EXPECT_EQ(Shown(), "Sums");
}

// --- The tooltip window on its own --------------------------------------------------------

class KelHintWindowTest : public ::testing::Test {
protected:
    KelHintWindowTest()
    {
        font.SetName(QStringLiteral("DejaVu Sans"));
        font.SetSize(9);
    }
    QRect Calc(int maxWidth, const char* text, tk::TAlignment alignment = tk::taLeftJustify,
               bool fixed = true)
    {
        TKelHintData data;
        data.font = &font;
        data.alignment = alignment;
        data.fixedWidth = fixed;
        return window.CalcHintRect(maxWidth, QString::fromUtf8(text), QVariant::fromValue(data));
    }
    int Width(const char* text) const
    {
        return QFontMetrics(font.ToQFont()).horizontalAdvance(QString::fromUtf8(text));
    }
    // The bounds of what Paint drew over the window's colour.
    QRect Ink(const char* text, const QRect& size)
    {
        window.ActivateHint(size.translated(200, 200), QString::fromUtf8(text));
        const QImage image = window.grab().toImage();
        const QColor paper = image.pixelColor(1, 1);
        QRect ink;
        for (int y = 1; y < image.height() - 1; ++y)
            for (int x = 1; x < image.width() - 1; ++x)
                if (image.pixelColor(x, y) != paper)
                    ink |= QRect(x, y, 1, 1);
        return ink;
    }

    tk::TFont font;
    TKelHintWindow window;
};

TEST_F(KelHintWindowTest, AFixedWidthTakesTheCellsWidthUnlessTheTextIsWiderOnOneLine)
{
    const int line = QFontMetrics(font.ToQFont()).height();
    EXPECT_EQ(Calc(60, "Hi"), QRect(0, 0, 60 + 6, line + 2)) << "a short text widens to the width";
    EXPECT_EQ(Calc(60, "Hi", tk::taCenter).width(), 61 + 6) << "centred: an even width grows by 1";
    // Wrapped to the width + 2: one line that needs those 2 pixels keeps
    // its width; several lines within them take the fixed width.
    const int oneLine = Width("alpha beta");
    EXPECT_EQ(Calc(oneLine - 1, "alpha beta").width(), oneLine + 6);
    EXPECT_EQ(Calc(oneLine - 2, "alpha beta gamma"), QRect(0, 0, oneLine - 2 + 6, 2 * line + 2));
    EXPECT_EQ(Calc(20, "incomprehensibilities").width(), Width("incomprehensibilities") + 6)
        << "a word too wide stays whole";
    EXPECT_EQ(window.CalcHintRect(1000, QStringLiteral("Hi"), QVariant()).height(),
              QFontMetrics(window.Font()->ToQFont()).height() + 2)
        << "without data: the window's own font";
}

TEST_F(KelHintWindowTest, AFreeWidthIsTheTextsAndACentredEvenWidthGrowsByOne)
{
    QString even;
    for (const char* text : {"a", "ab", "abc", "abcd", "abcde", "abcdef"})
        if (Width(text) % 2 == 0)
            even = QString::fromLatin1(text);
    ASSERT_FALSE(even.isEmpty());
    const QByteArray text = even.toLatin1();
    EXPECT_EQ(Calc(1000, text.constData(), tk::taLeftJustify, false).width(), Width(text.constData()) + 6);
    EXPECT_EQ(Calc(1000, text.constData(), tk::taCenter, false).width(), Width(text.constData()) + 7);
}

TEST_F(KelHintWindowTest, PaintsTheTextOnTheSideItIsAlignedTo)
{
    const QRect right = Calc(120, "Due", tk::taRightJustify);
    const QRect ink = Ink("Due", right);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_LE(ink.right(), right.width() - 1 - 1 - 2) << "2 inside the client area's right edge";
    EXPECT_GT(ink.left(), right.width() / 2);

    const QRect centred = Calc(120, "Due", tk::taCenter);
    const QRect middle = Ink("Due", centred);
    EXPECT_LE(std::abs(middle.center().x() - centred.width() / 2), 2);
    EXPECT_GE(middle.top(), 1 + 2) << "2 below the client area's top";
}

}  // namespace
}  // namespace kelgrid::test
