// The grid's reactions to its data link and to focus: data changed by
// someone else asks for totals and sequence numbers once, the grid's own
// walks ask for nothing, the forced sequence follows every move without a
// walk, closing and reopening, leaving the grid on an untouched inserted
// record, the current column's events and IME, reopening on the same record,
// and components the grid refers to going away while it shows them.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/columntotalvalue.h"
#include "kelgrid/grid/tuning.h"
#include "tests/data/sqlitesource_fixture.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/manual_timer_driver.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/query.h"
#include "toolkit/ui/forms.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/popupmenu.h"
#include "toolkit/ui/stdctrls.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

using tk::test::WidgetDriver;

// Thirty fees on a form beside an edit box; the grid shows about eight of
// them. Totals: the sum of Amount in a value row.
class GridReactionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillFees(dataSet);
        AppendFees(dataSet, 6, 30);
        source.SetDataSet(&dataSet);
        form.SetBounds(0, 0, 520, 320);
        grid = new TKelDBGrid(&form);
        grid->setGeometry(0, 0, 500, 260);
        other = new tk::TEdit(&form);
        other->SetBounds(0, 280, 100, 24);
        grid->SetDataSource(&source);
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        grid->setFocus();
        QApplication::processEvents();
        keys = std::make_unique<WidgetDriver>(grid);
        timers.Advance(DelayInterval);
    }
    void TearDown() override
    {
        keys.reset();
        delete grid;
    }

    TKelColumnTotalValue* SumOfAmount()
    {
        grid->SetOptionsEx(grid->OptionsEx() | dgTotalValues);
        TKelColumnTotalValue* total = grid->ColumnByName(QStringLiteral("Amount"))->TotalValues()->Add();
        total->SetTotalResult(trCalcValue);
        total->SetCalcValue(cvSum);
        timers.Advance(DelayInterval);
        return total;
    }
    QString TextOf(TKelColumnTotalValue* total)
    {
        return grid->GetTotalText(total->Column(), total->Index(), tkDisplay);
    }
    int Id() { return dataSet.FieldByName(QStringLiteral("Id"))->AsInteger(); }

    // First: the grid's timers are made from it and must go before it.
    tk::test::ManualTimerDriver timers;
    tk::TClientDataSet dataSet;
    tk::TDataSource source;
    tk::TForm form;
    TKelDBGrid* grid = nullptr;
    tk::TEdit* other = nullptr;
    std::unique_ptr<WidgetDriver> keys;
};

TEST_F(GridReactionsTest, EditsOfSomeoneElseRecalculateOnceAfterTheDelayAndTheWalkAsksForNothing)
{
    TKelColumnTotalValue* sum = SumOfAmount();
    int calculations = 0;
    grid->OnTotalsUpdated = [&](TKelCustomDBGrid*) { ++calculations; };
    const double before = sum->Value().ToDouble();
    keys->Press(Qt::Key_Down);
    keys->Press(Qt::Key_Down);
    const int row = grid->Position();
    const QString counts = grid->RequestCounts();

    // Three edits through the dataset, not the grid (ids 1, 2, 3).
    for (int id : {1, 2, 3}) {
        ASSERT_TRUE(dataSet.Locate(QStringLiteral("Id"), tk::Variant(id)));
        dataSet.Edit();
        dataSet.FieldByName(QStringLiteral("Amount"))->SetAsFloat(1000.0 + id);
        dataSet.Post();
    }
    ASSERT_TRUE(dataSet.Locate(QStringLiteral("Id"), tk::Variant(3)));
    EXPECT_TRUE(grid->TotalsPending());
    EXPECT_EQ(calculations, 0);
    timers.Advance(DelayInterval);
    EXPECT_EQ(calculations, 1);
    EXPECT_DOUBLE_EQ(sum->Value().ToDouble(), before - 120.5 - 80.0 - 99.99 + 3006.0);
    // The walk over thirty records came back without asking again.
    EXPECT_FALSE(grid->TotalsPending());
    timers.Advance(DelayInterval);
    EXPECT_EQ(calculations, 1);
    EXPECT_EQ(Id(), 3);
    EXPECT_EQ(grid->Position(), row);
    // Moving through the records is no change of data.
    const QString afterEdits = grid->RequestCounts();
    keys->Press(Qt::Key_Down);
    keys->Press(Qt::Key_Up);
    EXPECT_EQ(RequestsSince(afterEdits, grid->RequestCounts()), QStringLiteral("lists 0, sequence 0, totals 0"));
    EXPECT_NE(RequestsSince(counts, afterEdits), QStringLiteral("lists 0, sequence 0, totals 0"));
}

TEST_F(GridReactionsTest, TotalsOptionsAskForACalculationAndOthersDoNot)
{
    SumOfAmount();
    QString counts = grid->RequestCounts();
    grid->SetOptionsEx(grid->OptionsEx() | dgTotalFooter);
    EXPECT_EQ(RequestsSince(counts, grid->RequestCounts()), QStringLiteral("lists 0, sequence 0, totals 1"));
    counts = grid->RequestCounts();
    grid->SetOptionsEx(grid->OptionsEx() & ~TKelDBGridOptionsEx(dgCalcWholeDataSet));
    EXPECT_EQ(RequestsSince(counts, grid->RequestCounts()), QStringLiteral("lists 0, sequence 0, totals 1"));
    counts = grid->RequestCounts();
    grid->SetOptionsEx(grid->OptionsEx() | dgBlankRow);
    grid->SetOptionsExt(grid->OptionsExt() | dgAutoUnselectOff);
    EXPECT_EQ(RequestsSince(counts, grid->RequestCounts()), QStringLiteral("lists 0, sequence 0, totals 0"));
}

TEST_F(GridReactionsTest, TheForcedSequenceFollowsEveryMoveWithoutWalking)
{
    TKelColumn* numbers = grid->Columns()->Add();
    numbers->SetAutoNumber(true);
    grid->SetOptions(grid->Options() | dgForceSequence);
    timers.Advance(DelayInterval);
    int walks = 0;
    grid->OnSequenceUpdated = [&](TKelCustomDBGrid*) { ++walks; };
    const auto expectInStep = [&](const char* after) {
        EXPECT_EQ(grid->RecNumber(), dataSet.RecNo()) << after;
        EXPECT_EQ(grid->ColGetText(numbers, QString(), tkDisplay), QStringLiteral("%1.").arg(dataSet.RecNo()))
            << after;
        EXPECT_EQ(grid->verticalScrollBar()->value(), qMin(dataSet.RecNo(), grid->verticalScrollBar()->maximum()))
            << after;
    };
    expectInStep("opening");
    EXPECT_EQ(grid->RecCount(), 30);
    for (int i = 0; i < 12; ++i)  // beyond the window: the window scrolls
        keys->Press(Qt::Key_Down);
    expectInStep("Down x12");
    keys->Press(Qt::Key_PageDown);
    expectInStep("PgDn");
    keys->Press(Qt::Key_Up);
    expectInStep("Up");
    WidgetDriver(grid->viewport()).Wheel(QPoint(100, 100), -2);
    expectInStep("two notches down");
    EXPECT_EQ(walks, 0);
    EXPECT_FALSE(grid->SequencePending());
    // The ends renumber from the walk the resynchronised window asks for.
    keys->Press(Qt::Key_End, Qt::ControlModifier);
    timers.Advance(DelayInterval);
    expectInStep("Ctrl+End");
    EXPECT_EQ(grid->RecNumber(), 30);
    keys->Press(Qt::Key_Home, Qt::ControlModifier);
    timers.Advance(DelayInterval);
    expectInStep("Ctrl+Home");
    // The thumb released at 17 goes to a record number of the grid's own.
    QScrollBar* bar = grid->verticalScrollBar();
    bar->setSliderDown(true);
    bar->setSliderPosition(17);
    bar->setSliderDown(false);
    EXPECT_EQ(dataSet.RecNo(), 17);
    expectInStep("thumb at 17");
}

TEST_F(GridReactionsTest, LosingTheDataSetDropsTheSelectionAndGettingItBackRecalculates)
{
    // The user's columns (default ones would go with the dataset).
    grid->Columns()->SetState(csCustomized);
    grid->SetOptions(grid->Options() | dgMultiSelect);
    TKelColumnTotalValue* sum = SumOfAmount();
    keys->Press(Qt::Key_Down, Qt::ShiftModifier);
    keys->Press(Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_EQ(grid->SelectedRows()->Count(), 3);
    timers.Advance(DelayInterval);  // the selection settles, then the totals run
    timers.Advance(DelayInterval);
    EXPECT_DOUBLE_EQ(sum->Value().ToDouble(), 120.5 + 80.0 + 99.99);

    // The source lets go of the dataset (a client dataset keeps its rows).
    source.SetDataSet(nullptr);
    EXPECT_FALSE(grid->LinkActiveNow());
    EXPECT_EQ(grid->SelectedRows()->Count(), 0);
    EXPECT_EQ(grid->Row(), grid->TitleOffset());
    source.SetDataSet(&dataSet);
    timers.Advance(DelayInterval);  // the cleared selection settles, then the totals run
    timers.Advance(DelayInterval);
    double all = 0;
    for (const FeeRow& row : kFees)
        all += row.amount;
    for (int id = 6; id <= 30; ++id)
        all += id;
    EXPECT_DOUBLE_EQ(sum->Value().ToDouble(), all);
}

TEST_F(GridReactionsTest, LeavingTheGridCancelsAnUntouchedInsertedRecordOnlyWhenAsked)
{
    grid->SetOptions(grid->Options() | dgEditing | dgCancelOnExit);
    keys->Press(Qt::Key_End, Qt::ControlModifier);
    keys->Press(Qt::Key_Down);  // appends after the last record
    ASSERT_EQ(dataSet.State(), tk::dsInsert);
    other->SetFocus();
    EXPECT_EQ(dataSet.State(), tk::dsBrowse);
    EXPECT_EQ(dataSet.RecordCount(), 30);
    EXPECT_EQ(Id(), 30);

    // Without the option the inserted record waits for the user.
    grid->SetFocus();
    grid->SetOptions(grid->Options() & ~TKelDBGridOptions(dgCancelOnExit));
    keys->Press(Qt::Key_Down);
    ASSERT_EQ(dataSet.State(), tk::dsInsert);
    other->SetFocus();
    EXPECT_EQ(dataSet.State(), tk::dsInsert);
    dataSet.Cancel();
}

TEST_F(GridReactionsTest, ColumnMovesTellExitAndEnterAndAnExitHandlerMayRedirect)
{
    QStringList log;
    grid->OnColExit = [&](TKelCustomDBGrid* g) { log << QStringLiteral("exit %1").arg(g->SelectedIndex()); };
    grid->OnColEnter = [&](TKelCustomDBGrid* g) { log << QStringLiteral("enter %1").arg(g->SelectedIndex()); };
    keys->Press(Qt::Key_Right);
    keys->Press(Qt::Key_Right);
    EXPECT_EQ(log.join(u','), QStringLiteral("exit 0,enter 1,exit 1,enter 2"));
    EXPECT_EQ(grid->SelectedColumn()->FieldName(), QStringLiteral("Amount"));
    EXPECT_EQ(grid->SelectedField(), dataSet.FieldByName(QStringLiteral("Amount")));

    // A handler that moves the column itself has the last word.
    log.clear();
    grid->OnColExit = [&](TKelCustomDBGrid* g) { g->SetSelectedIndex(0); };
    keys->Press(Qt::Key_Right);
    EXPECT_EQ(grid->SelectedIndex(), 0);
    EXPECT_EQ(log.join(u','), QStringLiteral("enter 0"));

    // The field's columns in turn: the last one ends current.
    grid->OnColExit = nullptr;
    grid->Columns()->SetState(csCustomized);
    grid->BeginLayout();
    grid->Columns()->Add()->SetFieldName(QStringLiteral("Id"));
    grid->EndLayout();
    grid->SetSelectedField(dataSet.FieldByName(QStringLiteral("Id")));
    ASSERT_EQ(grid->Columns()->Count(), 5);
    EXPECT_EQ(grid->SelectedIndex(), 4);
    EXPECT_EQ(grid->ColField(1), dataSet.FieldByName(QStringLiteral("Owner")));
    EXPECT_EQ(grid->FieldValue(1), QStringLiteral("Ana Ruiz"));
    EXPECT_EQ(grid->ColField(99), nullptr);
    EXPECT_EQ(grid->FieldValue(-1), QString());
}

TEST_F(GridReactionsTest, TheColumnsImeHoldsWhileTheGridHasTheFocus)
{
    TKelColumn* owner = grid->ColumnByName(QStringLiteral("Owner"));
    owner->SetImeMode(tk::imDisable);
    owner->SetImeName(QStringLiteral("Hangul"));
    EXPECT_TRUE(grid->testAttribute(Qt::WA_InputMethodEnabled));
    keys->Press(Qt::Key_Right);
    EXPECT_FALSE(grid->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(grid->ImeName(), QStringLiteral("Hangul"));
    keys->Press(Qt::Key_Right);
    EXPECT_TRUE(grid->testAttribute(Qt::WA_InputMethodEnabled));
    EXPECT_EQ(grid->ImeName(), QString());
    keys->Press(Qt::Key_Left);
    other->SetFocus();
    // The screen's default on leaving; the column's again on coming back.
    EXPECT_EQ(grid->ImeName(), QString());
    EXPECT_EQ(grid->ImeMode(), tk::imDontCare);
    EXPECT_TRUE(grid->testAttribute(Qt::WA_InputMethodEnabled));
    grid->SetFocus();
    EXPECT_EQ(grid->ImeName(), QStringLiteral("Hangul"));
    EXPECT_FALSE(grid->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(GridReactionsTest, RefreshingPostsThePendingEditFirst)
{
    grid->SetOptions(grid->Options() | dgMultiSelect);
    keys->Press(Qt::Key_Down, Qt::ShiftModifier);
    dataSet.Edit();
    dataSet.FieldByName(QStringLiteral("Owner"))->SetAsString(QStringLiteral("Zoe"));
    grid->RefreshDataSet();
    EXPECT_EQ(dataSet.State(), tk::dsBrowse);
    EXPECT_EQ(dataSet.RecordCount(), 30);
    EXPECT_EQ(Id(), 2);
    EXPECT_EQ(dataSet.FieldByName(QStringLiteral("Owner"))->AsString(), QStringLiteral("Zoe"));
    EXPECT_EQ(grid->SelectedRows()->Count(), 0);
}

TEST_F(GridReactionsTest, ComponentsTheGridRefersToMayGoAwayWhileItShowsThem)
{
    grid->Columns()->SetState(csCustomized);
    auto* images = new tk::TImageList(16, 16);
    auto* menu = new tk::TPopupMenu;
    auto* titleMenu = new tk::TPopupMenu;
    auto* lookup = new tk::TClientDataSet;
    auto* totalsSource = new tk::TDataSource;
    totalsSource->SetDataSet(&dataSet);
    auto* master = new TKelDBGrid(&form);
    master->SetDataSource(&source);
    TKelColumnTotalValue* sum = SumOfAmount();
    TKelColumn* owner = grid->ColumnByName(QStringLiteral("Owner"));
    owner->SetImages(images);
    owner->SetPopupMenu(menu);
    owner->Title()->SetPopupMenu(titleMenu);
    owner->SetLookupDataSet(lookup);
    grid->SetTitleImages(images);
    grid->Totals()->SetDataSource(totalsSource);
    grid->SetMasterGrid(master);

    delete images;
    delete menu;
    delete titleMenu;
    delete lookup;
    delete totalsSource;
    delete master;
    EXPECT_EQ(owner->Images(), nullptr);
    EXPECT_EQ(owner->PopupMenu(), nullptr);
    EXPECT_EQ(owner->Title()->PopupMenu(), nullptr);
    EXPECT_EQ(owner->LookupDataSet(), nullptr);
    EXPECT_EQ(grid->TitleImages(), nullptr);
    EXPECT_EQ(grid->Totals()->DataSource(), nullptr);
    EXPECT_EQ(grid->MasterGrid(), nullptr);
    // Still a working grid.
    grid->repaint();
    keys->Press(Qt::Key_Down);
    timers.Advance(DelayInterval);
    EXPECT_EQ(Id(), 2);
    EXPECT_FALSE(TextOf(sum).isEmpty());
}

TEST_F(GridReactionsTest, ADataSetDestroyedUnderTheGridLeavesAnEmptyWorkingGrid)
{
    auto* doomed = new tk::TClientDataSet;
    FillFees(*doomed);
    tk::TDataSource doomedSource;
    doomedSource.SetDataSet(doomed);
    grid->SetDataSource(&doomedSource);
    SumOfAmount();
    keys->Press(Qt::Key_Down);
    delete doomed;
    EXPECT_FALSE(grid->LinkActiveNow());
    timers.Advance(DelayInterval);
    grid->repaint();
    keys->Press(Qt::Key_Down);
    keys->Press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->RecCount(), 0);
    grid->SetDataSource(&source);
    EXPECT_TRUE(grid->LinkActiveNow());
}

// The grid on an SQLite query, refreshed after another connection wrote.
class GridRefreshTest : public tk::test::SqliteFixture {
protected:
    GridRefreshTest()
    {
        Exec(QStringLiteral("CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT)"));
        for (int id = 1; id <= 40; ++id)
            Exec(QStringLiteral("INSERT INTO t VALUES (%1, 'name %1')").arg(id));
        query_.SetDatabase(&OpenDatabase());
        query_.SQL()->SetText(QStringLiteral("SELECT id, name FROM t ORDER BY id"));
        query_.Open();
        // Read to the end: a query still reading keeps the file's read lock.
        query_.Last();
        query_.First();
        source_.SetDataSet(&query_);
        grid_.resize(400, 200);
        grid_.SetOptions(grid_.Options() | dgMultiSelect);
        grid_.SetDataSource(&source_);
        grid_.show();
    }
    ~GridRefreshTest() override { grid_.SetDataSource(nullptr); }

    tk::TQuery query_;
    tk::TDataSource source_;
    TKelDBGrid grid_;
};

TEST_F(GridRefreshTest, TheKeyFieldsFindTheRecordAgainOnItsRow)
{
    grid_.SetKeyFields(QStringLiteral("id"));
    WidgetDriver keys(&grid_);
    for (int i = 0; i < 12; ++i)
        keys.Press(Qt::Key_Down);
    keys.Press(Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_EQ(query_.FieldByName(QStringLiteral("id"))->AsInteger(), 14);
    const int row = grid_.Position();
    ASSERT_EQ(grid_.SelectedRows()->Count(), 2);
    // Rows before it go, and it gets another name.
    Exec(QStringLiteral("DELETE FROM t WHERE id IN (2, 3, 5); UPDATE t SET name = 'renamed' WHERE id = 14"));
    grid_.RefreshDataSet();
    EXPECT_EQ(query_.FieldByName(QStringLiteral("id"))->AsInteger(), 14);
    EXPECT_EQ(query_.FieldByName(QStringLiteral("name"))->AsString(), QStringLiteral("renamed"));
    EXPECT_EQ(query_.RecNo(), 11);
    EXPECT_EQ(grid_.Position(), row);
    EXPECT_EQ(grid_.SelectedRows()->Count(), 0);
}

}  // namespace
}  // namespace kelgrid::test
