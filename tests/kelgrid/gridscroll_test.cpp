// Scrolling and positioning, driven as a user does: the real vertical bar
// (its actions and thumb drags), wheel notches, the mouse; the expected
// state is the current record, its screen row, the data link's window and
// what the bar shows. The grid sits on 3000 rows of an SQLite query
// (sequenced) or on a filtered client dataset (unsequenced).
//
//   +---+------+---------+      bar: 1 .. RecCount, a page of B rows
//   |   | id   | name    |      window: records WindowTop+1 .. +B
//   | > | 1    | P1      |  <-- Position 0
//   |   | 2    | P2      |
//   ...
//   |   | B    | PB      |  <-- Position B-1

#include "kelgrid/grid/gridlink.h"
#include "kelgrid/grid/keldbgrids.h"
#include "kelgrid/grid/scrollprop.h"
#include "tests/data/sqlitesource_fixture.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/widget_driver.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/field.h"
#include "toolkit/data/query.h"

#include <QAbstractSlider>
#include <QApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QWindow>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kelgrid {
namespace {

constexpr int kRows = 3000;

// "rec 12 pos 3 top 9 bar 12": RecNo, Position, the window's first record
// (0-based) and the bar's value.
QString StateOf(TKelCustomDBGrid& grid)
{
    return QStringLiteral("rec %1 pos %2 top %3 bar %4")
        .arg(grid.DataSet()->RecNo())
        .arg(grid.Position())
        .arg(grid.DataLink()->WindowTop())
        .arg(grid.verticalScrollBar()->value());
}

QString Expected(int rec, int pos, int top, int bar)
{
    return QStringLiteral("rec %1 pos %2 top %3 bar %4").arg(rec).arg(pos).arg(top).arg(bar);
}

class SequencedScrollTest : public tk::test::SqliteFixture {
protected:
    SequencedScrollTest()
    {
        MakePeople(kRows);
        query.SetDatabase(&OpenDatabase());
        query.SQL()->SetText(QStringLiteral("SELECT id, name, amount FROM people ORDER BY id"));
        query.Open();
        source.SetDataSet(&query);
        grid.resize(420, 300);
        grid.SetDataSource(&source);
        grid.show();
        QApplication::processEvents();
    }
    int Page() const { return grid.DataLink()->BufferCount(); }
    QScrollBar* Bar() const { return grid.verticalScrollBar(); }
    void Act(QAbstractSlider::SliderAction action) { Bar()->triggerAction(action); }
    // A drag of the thumb to position, released there; tracked says
    // whether the grid followed during the drag (checked by the caller).
    void DragThumb(int position, const std::function<void()>& whileDragging = {})
    {
        Bar()->setSliderDown(true);
        Bar()->setSliderPosition(position);
        if (whileDragging)
            whileDragging();
        Bar()->setSliderDown(false);
    }

    tk::TQuery query;
    tk::TDataSource source;
    TKelDBGrid grid;
};

// Bar actions from the first record; expectations use the page B (the rows
// that fit) so the table reads as the rules do.
struct BarActionCase {
    const char* name;
    std::vector<QAbstractSlider::SliderAction> actions;
    // rec, pos and top as a + b * B
    int rec, recPerPage;
    int pos, posPerPage;
    int top, topPerPage;
};

class SequencedBarActionTest : public SequencedScrollTest,
                               public ::testing::WithParamInterface<BarActionCase> {};

TEST_P(SequencedBarActionTest, ABarActionMovesTheDatasetAndTheBarFollows)
{
    const int page = Page();
    ASSERT_GT(page, 3);
    for (QAbstractSlider::SliderAction action : GetParam().actions)
        Act(action);
    const BarActionCase& c = GetParam();
    const int rec = c.rec + c.recPerPage * page;
    EXPECT_EQ(StateOf(grid), Expected(rec, c.pos + c.posPerPage * page, c.top + c.topPerPage * page, rec));
    EXPECT_EQ(grid.CheckConsistency(), QString());
}

using A = QAbstractSlider;
INSTANTIATE_TEST_SUITE_P(
    Table, SequencedBarActionTest,
    ::testing::Values(
        // One past the window's last row: the window moves by one.
        BarActionCase{"LineDownGoesOnePastTheWindow", {A::SliderSingleStepAdd}, 1, 1, -1, 1, 1, 0},
        BarActionCase{"LineDownsMoveTheWindowOneEach",
                      {A::SliderSingleStepAdd, A::SliderSingleStepAdd, A::SliderSingleStepAdd},
                      3,
                      1,
                      -1,
                      1,
                      3,
                      0},
        BarActionCase{"LineUpAtTheTopStays", {A::SliderSingleStepSub}, 1, 0, 0, 0, 0, 0},
        BarActionCase{"PageDownMovesAPage", {A::SliderPageStepAdd}, 1, 1, -1, 1, 1, 0},
        BarActionCase{
            "PageDownAndUpComeBack", {A::SliderPageStepAdd, A::SliderPageStepSub}, 1, 0, 0, 0, 0, 0},
        BarActionCase{"BottomGoesToTheLastRecord", {A::SliderToMaximum}, kRows, 0, -1, 1, kRows, -1},
        BarActionCase{
            "TopAfterBottomGoesToTheFirst", {A::SliderToMaximum, A::SliderToMinimum}, 1, 0, 0, 0, 0, 0},
        // From the last row: one above the window's first.
        BarActionCase{"LineUpAtTheBottomGoesOneAboveTheWindow",
                      {A::SliderToMaximum, A::SliderSingleStepSub},
                      kRows,
                      -1,
                      0,
                      0,
                      kRows - 1,
                      -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SequencedScrollTest, TheBarCountsRecordsWithAPageThumb)
{
    EXPECT_EQ(Bar()->minimum(), 1);
    EXPECT_EQ(Bar()->maximum(), kRows);
    EXPECT_EQ(Bar()->pageStep(), Page());
    EXPECT_EQ(Bar()->value(), 1);
    grid.ScrollProp()->SetThumbBar(tk::ssHorizontal);
    EXPECT_EQ(Bar()->pageStep(), 0);
    EXPECT_EQ(Bar()->maximum(), kRows);
}

TEST_F(SequencedScrollTest, AFreshQueryPaintsBeforeItCountsAndTheBarNumbersAfter)
{
    query.Close();
    query.Open();
    grid.repaint();
    // Painted without counting: the five-position bar for now.
    EXPECT_FALSE(query.RecordCountKnown());
    EXPECT_EQ(Bar()->minimum(), 0);
    EXPECT_EQ(Bar()->value(), 0);
    QApplication::processEvents();
    EXPECT_TRUE(query.RecordCountKnown());
    EXPECT_EQ(Bar()->minimum(), 1);
    EXPECT_EQ(Bar()->maximum(), kRows);
    EXPECT_EQ(Bar()->value(), 1);
    // A grid gone before the count comes asks nothing.
    auto doomed = std::make_unique<TKelDBGrid>();
    doomed->SetDataSource(&source);
    query.Close();
    query.Open();
    doomed->show();
    doomed.reset();
    QApplication::processEvents();
}

TEST_F(SequencedScrollTest, MovesMadeElsewhereReachTheBar)
{
    query.MoveBy(100);
    EXPECT_EQ(StateOf(grid), Expected(101, Page() - 1, 101 - Page(), 101));
    query.Last();
    EXPECT_EQ(Bar()->value(), kRows);
    query.First();
    EXPECT_EQ(Bar()->value(), 1);
}

TEST_F(SequencedScrollTest, ReleasingTheThumbGoesToThatRecord)
{
    QString during;
    DragThumb(1500, [&] { during = StateOf(grid); });
    EXPECT_EQ(during.left(6), QStringLiteral("rec 1 ")) << "no tracking: the grid waits for the release";
    EXPECT_EQ(query.RecNo(), 1500);
    EXPECT_EQ(query.FieldByName(QStringLiteral("id"))->AsInteger(), 1500);
    EXPECT_EQ(Bar()->value(), 1500);
    DragThumb(1);
    EXPECT_EQ(query.RecNo(), 1);
    DragThumb(kRows);
    EXPECT_EQ(query.RecNo(), kRows);
}

TEST_F(SequencedScrollTest, WithThumbTrackingTheGridFollowsTheDrag)
{
    grid.SetOptions(grid.Options() | dgThumbTracking);
    int during = 0;
    DragThumb(700, [&] { during = query.RecNo(); });
    EXPECT_EQ(during, 700);
    EXPECT_EQ(query.RecNo(), 700);
    EXPECT_EQ(Bar()->value(), 700);
}

TEST_F(SequencedScrollTest, AThumbDragWhileEditingPostsTheEdit)
{
    query.Edit();
    query.FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Renamed"));
    DragThumb(900);
    EXPECT_EQ(query.RecNo(), 900);
    EXPECT_EQ(Scalar(QStringLiteral("SELECT name FROM people WHERE id = 1")), QStringLiteral("Renamed"));
}

struct WheelCase {
    const char* name;
    int wheelScrollRows;
    bool doubleBuffered;
    int notches;  // negative: towards the user (down)
    int rec;      // -1: one page per notch (rec = 1 + B * notches)
    int pos;      // -1: not checked
};

class SequencedWheelTest : public SequencedScrollTest, public ::testing::WithParamInterface<WheelCase> {};

TEST_P(SequencedWheelTest, ANotchMovesTheRowsItIsSetTo)
{
    const WheelCase& c = GetParam();
    grid.SetWheelScrollRows(c.wheelScrollRows);
    grid.SetDoubleBuffered(c.doubleBuffered);
    tk::test::WidgetDriver driver(grid.viewport());
    const QPoint middle = grid.CellRect(1, 2).center();
    driver.Wheel(middle, c.notches);
    const int rec = c.rec >= 0 ? c.rec : 1 + Page() * -c.notches;
    EXPECT_EQ(query.RecNo(), rec);
    EXPECT_EQ(Bar()->value(), rec);
    if (c.pos >= 0) {
        EXPECT_EQ(grid.Position(), c.pos);
    }
    EXPECT_EQ(grid.CheckConsistency(), QString());
}

INSTANTIATE_TEST_SUITE_P(Table, SequencedWheelTest,
                         ::testing::Values(WheelCase{"ThreeRowsDown", 3, false, -1, 4, 3},
                                           WheelCase{"TwoNotchesOfThree", 3, false, -2, 7, 6},
                                           WheelCase{"APageWhenSetToMinusOne", -1, false, -1, -1, -1},
                                           WheelCase{"BelowMinusOneIsAPage", -5, false, -2, -1, -1},
                                           WheelCase{"UpAtTheTopStays", 3, false, 2, 1, 0},
                                           // The current row stays; the window moves under it.
                                           WheelCase{"DoubleBufferedKeepsTheScreenRow", 3, true, -2, 7, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SequencedScrollTest, WheelScrollRowsBelowMinusOneBecomesMinusOne)
{
    grid.SetWheelScrollRows(-5);
    EXPECT_EQ(grid.WheelScrollRows(), -1);
    EXPECT_EQ(grid.MouseWheelScrollRows(), Page());
    grid.SetWheelScrollRows(0);
    EXPECT_GE(grid.MouseWheelScrollRows(), 1);
}

TEST_F(SequencedScrollTest, PositionMovesWithinTheWindowOnly)
{
    query.MoveBy(50);
    const qint64 top = grid.DataLink()->WindowTop();
    grid.SetPosition(2);
    EXPECT_EQ(StateOf(grid), Expected(int(top) + 3, 2, int(top), int(top) + 3));
    grid.SetPosition(10000);
    EXPECT_EQ(grid.Position(), Page() - 1);
    EXPECT_EQ(grid.DataLink()->WindowTop(), top);
    grid.SetPosition(-4);
    EXPECT_EQ(grid.Position(), 0);
}

TEST_F(SequencedScrollTest, ScrollToRowAtTakesTheRecordUnderTheMouse)
{
    const int x = grid.CellRect(1, 1).center().x();
    grid.ScrollToRowAt(x, grid.CellRect(1, grid.TitleOffset() + 3).center().y());
    EXPECT_EQ(StateOf(grid), Expected(4, 3, 0, 4));
    // Above the data rows: the first row; below them: the last.
    grid.ScrollToRowAt(x, 0);
    EXPECT_EQ(grid.Position(), 0);
    grid.ScrollToRowAt(x, grid.viewport()->height() + 50);
    EXPECT_EQ(grid.Position(), Page() - 1);
    EXPECT_EQ(grid.DataLink()->WindowTop(), 0);
}

TEST_F(SequencedScrollTest, ScrollToRowByExtendsARowSelectionFromTheAnchor)
{
    grid.SetOptions(grid.Options() | dgMultiSelect);
    query.MoveBy(9);
    grid.SetSelectionAnchor(query.GetBookmark());
    grid.SelectRow();
    grid.ScrollToRowBy(3);
    EXPECT_EQ(query.RecNo(), 13);
    EXPECT_EQ(grid.SelectedRows()->Count(), 4) << "10 to 13";
    grid.ScrollToRowBy(-5);
    EXPECT_EQ(query.RecNo(), 8);
    // Back over the anchor: 11 to 13 given up, 9 and 8 taken.
    EXPECT_EQ(grid.SelectedRows()->Count(), 3) << "8 to 10";
}

// The rows that stay on screen keep their pixels when the window moves a
// few rows: what the screen shows must equal a full repaint.
TEST_F(SequencedScrollTest, ShiftedRowsShowWhatAFullRepaintShows)
{
    QScreen* screen = grid.screen();
    auto shown = [&] {
        QApplication::processEvents();
        return screen->grabWindow(grid.window()->winId()).toImage();
    };
    shown();
    for (int i = 0; i < 3; ++i) {
        Act(A::SliderSingleStepAdd);
        QApplication::processEvents();
    }
    const QImage shifted = shown();
    grid.viewport()->update();
    const QImage repainted = shown();
    ASSERT_FALSE(shifted.isNull());
    EXPECT_EQ(shifted, repainted);
}

// --- Unsequenced: a filtered client dataset ------------------------------------------

class UnsequencedScrollTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        using tk::test::Def;
        dataSet.FieldDefs() = {Def(QStringLiteral("Id"), tk::ftInteger)};
        dataSet.CreateDataSet();
        for (int i = 1; i <= 600; ++i) {
            dataSet.Append();
            dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(i);
            dataSet.Post();
        }
        // Even ids only: a filtered dataset has no record numbers.
        dataSet.OnFilterRecord = [](tk::TDataSet* data, bool& accept) {
            accept = data->FieldByName(QStringLiteral("Id"))->AsInteger() % 2 == 0;
        };
        dataSet.SetFiltered(true);
        dataSet.First();
        source.SetDataSet(&dataSet);
        grid.resize(300, 300);
        grid.SetDataSource(&source);
        grid.show();
        QApplication::processEvents();
        ASSERT_FALSE(dataSet.IsSequenced());
    }
    int Id() const { return dataSet.FieldByName(QStringLiteral("Id"))->AsInteger(); }
    QScrollBar* Bar() const { return grid.verticalScrollBar(); }
    void DragThumb(int position)
    {
        Bar()->setSliderDown(true);
        Bar()->setSliderPosition(position);
        Bar()->setSliderDown(false);
    }

    tk::TClientDataSet dataSet;
    tk::TDataSource source;
    TKelDBGrid grid;
};

TEST_F(UnsequencedScrollTest, TheThumbShowsTheTopTheMiddleOrTheBottom)
{
    EXPECT_EQ(Bar()->minimum(), 0);
    EXPECT_EQ(Bar()->maximum(), 4);
    EXPECT_EQ(Bar()->pageStep(), 2);
    EXPECT_EQ(Bar()->value(), 0);
    Bar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(Bar()->value(), 2);
    Bar()->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(Id(), 600);
    EXPECT_EQ(Bar()->value(), 4);
}

struct UnsequencedThumbCase {
    const char* name;
    int position;
    int id;  // the current record after the release; -1 a page down
};

class UnsequencedThumbTest : public UnsequencedScrollTest,
                             public ::testing::WithParamInterface<UnsequencedThumbCase> {};

TEST_P(UnsequencedThumbTest, AReleasedThumbMovesByItsZone)
{
    const int page = grid.DataLink()->BufferCount();
    dataSet.MoveBy(20);  // id 42, away from both ends
    const int start = Id();
    DragThumb(GetParam().position);
    const int expected = GetParam().id == -1 ? start + 2 * page : GetParam().id == -2 ? start : GetParam().id;
    EXPECT_EQ(Id(), expected);
    EXPECT_EQ(Bar()->value(), expected == 2 ? 0 : expected == 600 ? 4 : 2) << "the thumb snaps back";
}

INSTANTIATE_TEST_SUITE_P(Table, UnsequencedThumbTest,
                         ::testing::Values(UnsequencedThumbCase{"TopIsTheFirst", 0, 2},
                                           UnsequencedThumbCase{"MiddleDoesNothing", 2, -2},
                                           UnsequencedThumbCase{"LowerZoneIsAPageDown", 3, -1},
                                           UnsequencedThumbCase{"BottomIsTheLast", 4, 600}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- The fees: few records, an insert, linked grids, the totals band --------------------

class FeesScrollTest : public test::GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->show();
        QApplication::processEvents();
    }
};

TEST_F(FeesScrollTest, RecordsThatAllFitHideAnAutoHiddenBar)
{
    ASSERT_TRUE(grid->FlatSBMode());
    grid->ScrollProp()->SetAutoHidden(tk::ssBoth);
    QApplication::processEvents();
    EXPECT_EQ(grid->verticalScrollBar()->minimum(), grid->verticalScrollBar()->maximum());
    EXPECT_FALSE(grid->verticalScrollBar()->isVisible());
    grid->ScrollProp()->SetAutoHidden(tk::ssHorizontal);
    QApplication::processEvents();
    EXPECT_LT(grid->verticalScrollBar()->minimum(), grid->verticalScrollBar()->maximum());
    EXPECT_TRUE(grid->verticalScrollBar()->isVisible());
}

TEST_F(FeesScrollTest, AnUntouchedAppendedRecordGoesOnAWheelUpOnly)
{
    tk::test::WidgetDriver driver(grid->viewport());
    const QPoint middle = grid->CellRect(1, 1).center();
    dataSet.Append();
    driver.Wheel(middle, -1);
    EXPECT_EQ(dataSet.State(), tk::dsInsert) << "a notch down keeps it";
    driver.Wheel(middle, 1);
    EXPECT_EQ(dataSet.State(), tk::dsBrowse);
    EXPECT_EQ(dataSet.RecordCount(), 5);
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(FeesScrollTest, AnAppendedRecordWithDataIsPostedByTheWheel)
{
    tk::test::WidgetDriver driver(grid->viewport());
    dataSet.Append();
    dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(6);
    driver.Wheel(grid->CellRect(1, 1).center(), 1);
    EXPECT_EQ(dataSet.State(), tk::dsBrowse);
    EXPECT_EQ(dataSet.RecordCount(), 6);
}

TEST_F(FeesScrollTest, LinkedGridsScrollTheirColumnsTogether)
{
    grid->resize(160, 200);
    TKelDBGrid other;
    other.resize(160, 200);
    other.SetDataSource(&source);
    other.show();
    other.SetMasterGrid(grid.get());
    QApplication::processEvents();
    std::vector<int> told;
    grid->OnColumnScroll = [&](TKelCustomDBGrid*, int left) { told.push_back(left); };
    grid->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->DataLeftCol(), 1);
    EXPECT_EQ(other.DataLeftCol(), 1);
    other.horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(grid->DataLeftCol(), 2);
    EXPECT_EQ(told, (std::vector<int>{1, 2}));
    grid->SetDataLeftCol(0);
    EXPECT_EQ(other.DataLeftCol(), 0);
}

TEST_F(FeesScrollTest, TheTotalsBandScrollsWithTheDataColumns)
{
    grid->resize(160, 200);
    grid->ColumnByName(QStringLiteral("Owner"))->TotalFooter()->SetCaption(QStringLiteral("Total"));
    grid->SetOptionsEx(grid->OptionsEx() | dgTotalFooter);
    ASSERT_GT(grid->TotalOffset(), 0);
    const int raw = grid->DataToRawColumn(grid->ColumnByName(QStringLiteral("Owner"))->Index());
    const int footer = grid->RowCount() - 1;
    const int before = grid->CellRect(raw, footer).left();
    grid->horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    const QRect data = grid->CellRect(raw, grid->TitleOffset());
    const QRect total = grid->CellRect(raw, footer);
    EXPECT_LT(total.left(), before);
    EXPECT_EQ(total.left(), data.left());
    EXPECT_EQ(total.width(), data.width());
}

}  // namespace
}  // namespace kelgrid
