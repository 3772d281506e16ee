// The grid's own skeleton: the layout and select brackets, option coupling,
// the text hooks and the free notification of its data source.

#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/expect_raises.h"
#include "tests/support/manual_timer_driver.h"
#include "toolkit/core/exceptions.h"

#include <QApplication>
#include <QMetaProperty>
#include <QScopedValueRollback>
#include <functional>
#include <vector>

namespace kelgrid::test {
namespace {

// A grid whose layout can be made to fail, counting the layouts that ran.
class TFailingGrid : public TKelDBGrid {
public:
    bool fail = false;
    int layouts = 0;

protected:
    void InternalLayout() override
    {
        ++layouts;
        if (fail)
            throw tk::Exception(QStringLiteral("layout failed"));
        TKelDBGrid::InternalLayout();
    }
};

using DBGridTest = GridFixture;

TEST_F(DBGridTest, NestedLayoutBracketsLayOutOnceAtTheOutermostEnd)
{
    int layouts = 0;
    grid->OnLayout = [&](TKelCustomDBGrid*) { ++layouts; };
    grid->BeginLayout();
    grid->BeginLayout();
    grid->LayoutChanged();  // held: the holder lays out
    grid->Columns()->Add()->SetFieldName(QStringLiteral("Owner"));
    grid->EndLayout();
    EXPECT_EQ(layouts, 0);
    grid->EndLayout();
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(grid->LayoutLock(), 0);
    EXPECT_EQ(grid->UpdateLock(), 0);
    EXPECT_EQ(grid->Columns()->UpdateCount(), 0);
    // A stray EndLayout changes nothing.
    grid->EndLayout();
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(grid->UpdateLock(), 0);

    // An update lock holds layouts back; CancelLayout undoes a bracket
    // without laying out.
    grid->BeginUpdate();
    grid->LayoutChanged();
    EXPECT_EQ(layouts, 1);
    grid->EndUpdate();
    grid->BeginLayout();
    grid->CancelLayout();
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(grid->LayoutLock(), 0);
    EXPECT_EQ(grid->Columns()->UpdateCount(), 0);
}

TEST(DBGridLocks, AFailingLayoutStillReleasesEveryLock)
{
    TFailingGrid grid;
    grid.fail = true;
    grid.BeginLayout();
    EXPECT_EQ(tk::test::MessageOf([&] { grid.EndLayout(); }), QStringLiteral("layout failed"));
    EXPECT_EQ(grid.LayoutLock(), 0);
    EXPECT_EQ(grid.UpdateLock(), 0);
    EXPECT_EQ(grid.Columns()->UpdateCount(), 0);
    // The grid lays out again once the cause is gone.
    grid.fail = false;
    const int before = grid.layouts;
    grid.LayoutChanged();
    EXPECT_EQ(grid.layouts, before + 1);
}

TEST_F(DBGridTest, TheMatrixFollowsTheColumnsAndTheIndicator)
{
    grid->BeginLayout();
    for (const char* name : {"Id", "Owner", "Amount"})
        grid->Columns()->Add()->SetFieldName(QString::fromLatin1(name));
    grid->EndLayout();
    EXPECT_EQ(grid->ColCount(), 4);                    // indicator + three
    EXPECT_EQ(grid->tk::TCustomGrid::FixedCols(), 1);  // the indicator
    EXPECT_EQ(grid->FixedCols(), 0);
    EXPECT_EQ(grid->ColumnOfRaw(2)->FieldName(), QStringLiteral("Owner"));
    EXPECT_EQ(grid->ColumnOfRaw(0), nullptr);
    EXPECT_EQ(grid->FindColumn(QStringLiteral("amount"))->Index(), 2);
    EXPECT_EQ(grid->ColWidths(0), 20);
    grid->setProperty("IndicatorWidth", 5);
    EXPECT_EQ(grid->ColWidths(0), 11);

    grid->SetOptions(grid->Options() & ~TKelDBGridOptions(dgIndicator));
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->tk::TCustomGrid::FixedCols(), 0);
    EXPECT_EQ(grid->DataToRawColumn(1), 1);
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(DBGridTest, OptionsThatImplyOthers)
{
    grid->SetOptions(grid->Options() | dgRowSelect | dgAlwaysShowEditor);
    EXPECT_FALSE(grid->Options().testFlag(dgEditing));
    EXPECT_FALSE(grid->Options().testFlag(dgAlwaysShowEditor));

    // Any total band brings the blank row above it; a "selected" band
    // calculates over the selection itself.
    grid->SetOptionsEx(TKelDBGridOptionsEx(dgTotalFooter | dgCalcSelectedRows | dgTotalValuesSelected));
    EXPECT_EQ(grid->OptionsEx(), TKelDBGridOptionsEx(dgTotalFooter | dgBlankRow | dgTotalValuesSelected));

    // Readable by name, as layouts and forms read them.
    const QMetaProperty options =
        grid->metaObject()->property(grid->metaObject()->indexOfProperty("OptionsExt"));
    EXPECT_STREQ(options.enumerator().valueToKeys(int(grid->OptionsExt())).constData(),
                 "dgAutoUpdateListItems|dgDelayUpdateListItems|dgGridStyleLists|dgMouseScrolling");
}

TEST_F(DBGridTest, RowChangesAreReportedAtOnceAndTheBatchIsAnnouncedOnceAfterTheDelay)
{
    tk::test::ManualTimerDriver timers;
    QStringList log;
    grid->OnRowSelect = [&](TKelCustomDBGrid*, TSelectAction action) { log << QString::number(int(action)); };
    grid->OnSelectedRowsChanged = [&](TKelCustomDBGrid*) { log << QStringLiteral("rows"); };
    grid->OnSelectionChanged = [&](TKelCustomDBGrid*) { log << QStringLiteral("end"); };
    ASSERT_TRUE(grid->OptionsEx().testFlag(dgDelaySelectedRows));
    grid->BeginSelect();
    grid->BeginSelect();
    grid->SelectionChanged(saSelect);
    grid->SelectionChanged(saUnselect);
    grid->EndSelect();
    grid->EndSelect();
    grid->EndSelect();  // no batch open: nothing
    EXPECT_EQ(log.join(','), QStringLiteral("1,0"));
    // Changes that follow each other closely are announced once, the delay
    // after the last.
    timers.Advance(DelayInterval - 1);
    grid->SelectionChanged(saRefresh);
    timers.Advance(DelayInterval - 1);
    EXPECT_EQ(log.join(','), QStringLiteral("1,0,4"));
    timers.Advance(1);
    EXPECT_EQ(log.join(','), QStringLiteral("1,0,4,rows,end"));

    // Without the delay the end of the batch announces at once.
    log.clear();
    grid->SetOptionsEx(grid->OptionsEx() & ~TKelDBGridOptionsEx(dgDelaySelectedRows));
    grid->SelectionChanged(saClear);
    EXPECT_EQ(log.join(','), QStringLiteral("2,rows,end"));
    EXPECT_EQ(timers.ArmedCount(), 0);
    grid.reset();  // its timer goes before the driver
}

TEST_F(DBGridTest, TextHooksAndAutoNumbersReadTheTuningValuesOnEveryUse)
{
    EXPECT_EQ(AutoNumberStr(0), QString());
    EXPECT_EQ(AutoNumberStr(12), QStringLiteral("12."));
    {
        QScopedValueRollback<QString> format(DefAutoNumberFormat, QStringLiteral("#%d"));
        EXPECT_EQ(AutoNumberStr(3), QStringLiteral("#3"));
    }
    TKelColumn* column = grid->Columns()->Add();
    grid->OnColGetText = [](TKelCustomDBGrid*, TKelColumn*, QString& text, TTextKind kind) {
        if (kind == tkDisplay)
            text = text.toUpper();
    };
    grid->OnColSetText = [](TKelCustomDBGrid*, TKelColumn*, QString& text) { text = text.trimmed(); };
    EXPECT_EQ(grid->ColGetText(column, QStringLiteral("ana"), tkDisplay), QStringLiteral("ANA"));
    EXPECT_EQ(grid->ColGetText(column, QStringLiteral("ana"), tkEdit), QStringLiteral("ana"));
    EXPECT_EQ(grid->ColSetText(column, QStringLiteral("  ana ")), QStringLiteral("ana"));
    EXPECT_EQ(grid->RecNumber(), 1);
}

TEST_F(DBGridTest, TheMapsStayConsistentThroughDataAndColumnChanges)
{
    grid->show();
    QApplication::processEvents();
    const std::vector<std::pair<const char*, std::function<void()>>> steps = {
        {"shown", [] {}},
        {"last record", [&] { dataSet.Last(); }},
        {"appended",
         [&] {
             dataSet.Append();
             dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(6);
             dataSet.Post();
         }},
        {"row selected", [&] { grid->SelectedRows()->SetCurrentRowSelected(true); }},
        {"first record selected",
         [&] {
             dataSet.First();
             grid->SelectedRows()->SetCurrentRowSelected(true);
         }},
        {"deleted", [&] { dataSet.Delete(); }},
        {"taller", [&] { grid->resize(400, 420); }},
        {"customised", [&] { grid->Columns()->Add()->SetFieldName(QStringLiteral("Owner")); }},
        {"no indicator", [&] { grid->SetOptions(grid->Options() & ~TKelDBGridOptions(dgIndicator)); }},
        {"no titles", [&] { grid->SetOptions(grid->Options() & ~TKelDBGridOptions(dgTitles)); }},
        {"closed", [&] { dataSet.Close(); }},
        {"filled again", [&] { FillFees(dataSet); }},
        {"columns cleared", [&] { grid->Columns()->Clear(); }},
    };
    for (const auto& [name, step] : steps) {
        step();
        QApplication::processEvents();
        EXPECT_EQ(grid->CheckConsistency(), QString()) << "after: " << name;
    }
}

TEST(DBGridSource, AGridLetsGoOfADataSourceThatIsFreed)
{
    TKelDBGrid grid;
    tk::TClientDataSet dataSet;
    FillFees(dataSet);
    auto source = std::make_unique<tk::TDataSource>();
    source->SetDataSet(&dataSet);
    grid.SetDataSource(source.get());
    EXPECT_TRUE(grid.LinkActiveNow());
    source.reset();
    EXPECT_EQ(grid.DataSource(), nullptr);
    EXPECT_FALSE(grid.LinkActiveNow());
    EXPECT_EQ(grid.DataSet(), nullptr);
}

}  // namespace
}  // namespace kelgrid::test
