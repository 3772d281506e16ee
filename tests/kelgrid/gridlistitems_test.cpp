// Pick lists loaded from the data: a grid over twelve deliveries whose City
// repeats (in any case), is sometimes empty, and a memo Note that never
// loads. The timers run on a manual clock.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/keldbgrids.h"
#include "kelgrid/grid/tuning.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/field_def.h"
#include "tests/support/manual_timer_driver.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/strings.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace kelgrid::test {
namespace {

const char* const kCities[] = {"Lima", "Oslo", "",     "Quito", "lima", "Bern",
                               "Oslo", "",     "Apia", "Quito", "Lima", "Bern"};
const QString kLoaded = QStringLiteral("Apia,Bern,Lima,Oslo,Quito");

class GridListItemsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        using tk::test::Def;
        dataSet.FieldDefs() = {Def(QStringLiteral("Id"), tk::ftInteger),
                               Def(QStringLiteral("City"), tk::ftString, 20),
                               Def(QStringLiteral("Note"), tk::ftMemo)};
        dataSet.CreateDataSet();
        int id = 0;
        for (const char* city : kCities) {
            dataSet.Append();
            dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(++id);
            dataSet.FieldByName(QStringLiteral("City"))->SetAsString(QString::fromLatin1(city));
            dataSet.FieldByName(QStringLiteral("Note"))->SetAsString(QStringLiteral("note %1").arg(id));
            dataSet.Post();
        }
        dataSet.First();
        source.SetDataSet(&dataSet);
        grid = std::make_unique<TKelDBGrid>();
        grid->resize(400, 200);
        // At once unless a test asks for the delay.
        grid->SetOptionsExt(grid->OptionsExt() & ~TKelDBGridOptionsExt(dgDelayUpdateListItems));
        grid->OnListItemsUpdated = [this](TKelCustomDBGrid*) { ++loads; };
        for (const char* field : {"Id", "City", "Note"})
            grid->Columns()->Add()->SetFieldName(QString::fromLatin1(field));
        Column("City")->SetPickOptions(poAutoLoadList);
        grid->SetDataSource(&source);
        EXPECT_EQ(loads, 1) << "opening the link loads";
        loads = 0;
    }
    void TearDown() override { grid.reset(); }

    TKelColumn* Column(const char* field) const { return grid->ColumnByName(QString::fromLatin1(field)); }
    QString Picks(const char* field) const
    {
        return Column(field)->PickList()->ToStringList().join(QLatin1Char(','));
    }
    bool PicksSorted(const char* field) const
    {
        return qobject_cast<tk::TStringList*>(Column(field)->PickList())->Sorted();
    }
    void GoTo(int id) { ASSERT_TRUE(dataSet.Locate(QStringLiteral("Id"), tk::Variant(id))); }
    int CurrentId() { return dataSet.FieldByName(QStringLiteral("Id"))->AsInteger(); }
    // The lists' requests since a RequestCounts() text.
    int ListRequestsSince(const QString& before) const
    {
        return RequestsSince(before, grid->RequestCounts()).section(QLatin1Char(','), 0, 0).mid(6).toInt();
    }
    // Someone else's change of a record: the grid sees a data change.
    void ChangeCity(int id, const char* city)
    {
        GoTo(id);
        dataSet.Edit();
        dataSet.FieldByName(QStringLiteral("City"))->SetAsString(QString::fromLatin1(city));
        dataSet.Post();
    }

    // First: grids' timers are made from it and must go before it.
    tk::test::ManualTimerDriver timers;
    tk::TClientDataSet dataSet;
    tk::TDataSource source;
    std::unique_ptr<TKelDBGrid> grid;
    int loads = 0;
};

TEST_F(GridListItemsTest, OnlyColumnsOfTextLikeFieldsLoadTheirLists)
{
    QList<TKelColumn*> columns;
    EXPECT_TRUE(grid->AutoLoadListPresent(&columns));
    EXPECT_EQ(columns, QList<TKelColumn*>{Column("City")});

    Column("Note")->SetPickOptions(poAutoLoadList);
    Column("Id")->SetPickOptions(poAutoLoadList);
    columns.clear();
    EXPECT_TRUE(grid->AutoLoadListPresent(&columns));
    EXPECT_EQ(columns, (QList<TKelColumn*>{Column("Id"), Column("City")})) << "a memo never loads";

    Column("City")->SetPickOptions({});
    Column("Id")->SetPickOptions({});
    EXPECT_FALSE(grid->AutoLoadListPresent());
    grid->LoadListItems();
    EXPECT_EQ(Picks("Note"), QString());
}

TEST_F(GridListItemsTest, ALoadKeepsOneOfEachTextSortedAndLeavesTheScreen)
{
    GoTo(7);
    Column("City")->PickList()->SetStrings({QStringLiteral("Zagreb")});
    const int row = grid->Position();
    const QString before = grid->RequestCounts();
    loads = 0;
    grid->LoadListItems();
    EXPECT_EQ(Picks("City"), kLoaded) << "the list is replaced; texts differing in case are one";
    EXPECT_FALSE(PicksSorted("City")) << "the order stays, the list is no sorted list";
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(CurrentId(), 7);
    EXPECT_EQ(grid->Position(), row);
    EXPECT_FALSE(dataSet.ControlsDisabled());
    EXPECT_EQ(RequestsSince(before, grid->RequestCounts()), QStringLiteral("lists 0, sequence 0, totals 0"))
        << "the walk's return to the record asks for nothing";

    // poAppendToList adds what the data has to what the list holds.
    Column("City")->PickList()->SetStrings({QStringLiteral("Zagreb"), QStringLiteral("Bern")});
    Column("City")->SetPickOptions(poAutoLoadList | poAppendToList);
    grid->LoadListItems();
    EXPECT_EQ(Picks("City"), QStringLiteral("Apia,Bern,Lima,Oslo,Quito,Zagreb"));
}

TEST_F(GridListItemsTest, NoWalkWhileEditingAndAnEmptyDataSetEmptiesTheLists)
{
    GoTo(3);
    dataSet.Edit();
    dataSet.FieldByName(QStringLiteral("City"))->SetAsString(QStringLiteral("Rome"));
    loads = 0;
    grid->LoadListItems();
    EXPECT_EQ(loads, 0) << "an edit in progress is neither posted nor lost";
    EXPECT_EQ(dataSet.State(), tk::dsEdit);
    EXPECT_EQ(Picks("City"), kLoaded);
    dataSet.Cancel();

    dataSet.OnFilterRecord = [](tk::TDataSet*, bool& accept) { accept = false; };
    dataSet.SetFiltered(true);
    ASSERT_TRUE(dataSet.IsEmpty());
    Column("City")->PickList()->SetStrings({QStringLiteral("Zagreb")});
    loads = 0;
    grid->LoadListItems();
    EXPECT_EQ(Picks("City"), QString());
    EXPECT_EQ(loads, 1);
}

TEST_F(GridListItemsTest, AFailingWalkLeavesTheListsUsableAndTheRecordWhereItWas)
{
    tk::TField* city = dataSet.FieldByName(QStringLiteral("City"));
    GoTo(4);
    city->OnGetText = [&](tk::TField* field, QString& text, bool) {
        if (dataSet.FieldByName(QStringLiteral("Id"))->AsInteger() == 9)
            throw tk::EDatabaseError(QStringLiteral("unreadable"));
        text = field->AsString();
    };
    loads = 0;
    EXPECT_THROW(grid->LoadListItems(), tk::EDatabaseError);
    city->OnGetText = {};
    tk::TStrings* list = Column("City")->PickList();
    EXPECT_FALSE(PicksSorted("City"));
    EXPECT_EQ(list->UpdateCount(), 0) << "the list's batch ended";
    list->Add(QStringLiteral("Added"));  // a sorted list would put it first
    EXPECT_EQ(list->Strings(list->Count() - 1), QStringLiteral("Added"));
    EXPECT_EQ(CurrentId(), 4);
    EXPECT_FALSE(dataSet.ControlsDisabled());
    EXPECT_EQ(loads, 0);
    EXPECT_FALSE(grid->ListItemsLoading());
    grid->LoadListItems();
    EXPECT_EQ(Picks("City"), kLoaded);
}

TEST_F(GridListItemsTest, RequestsLoadAsTheOptionsSay)
{
    // Opening the link loads also without dgAutoUpdateListItems; someone
    // else's data change only with it. A closed link has no fields to load
    // from: the lists stay.
    grid->SetOptionsExt(grid->OptionsExt() & ~TKelDBGridOptionsExt(dgAutoUpdateListItems));
    grid->SetDataSource(nullptr);
    EXPECT_EQ(loads, 0);
    EXPECT_EQ(Picks("City"), kLoaded);
    Column("City")->PickList()->SetStrings({QStringLiteral("Zagreb")});
    grid->SetDataSource(&source);
    EXPECT_EQ(loads, 1);
    EXPECT_EQ(Picks("City"), kLoaded);
    ChangeCity(3, "Dili");
    EXPECT_EQ(loads, 1) << "asked, counted, not loaded";
    EXPECT_EQ(Picks("City"), kLoaded);

    grid->SetOptionsExt(grid->OptionsExt() | dgAutoUpdateListItems);
    ChangeCity(2, "Suva");
    EXPECT_GT(loads, 1);
    EXPECT_EQ(Picks("City"), QStringLiteral("Apia,Bern,Dili,Lima,Oslo,Quito,Suva"));

    // Without a loading column nothing walks.
    Column("City")->SetPickOptions({});
    loads = 0;
    ChangeCity(4, "Rome");
    grid->UpdateListItems(false);
    EXPECT_EQ(loads, 0);
}

TEST_F(GridListItemsTest, WithTheDelayABurstOfChangesReloadsOnce)
{
    grid->SetOptionsExt(grid->OptionsExt() | dgDelayUpdateListItems);
    const QString before = grid->RequestCounts();
    for (int id = 1; id <= 6; ++id) {
        ChangeCity(id, "Dili");
        timers.Advance(DelayInterval / 2);
    }
    EXPECT_GE(ListRequestsSince(before), 6);
    EXPECT_EQ(loads, 0) << "every change moved the load on";
    EXPECT_TRUE(grid->ListItemsPending());
    timers.Advance(DelayInterval / 2);
    EXPECT_EQ(loads, 1);
    EXPECT_FALSE(grid->ListItemsPending());
    EXPECT_EQ(Picks("City"), QStringLiteral("Apia,Bern,Dili,Lima,Oslo,Quito"));
    EXPECT_EQ(timers.SlotCount(), 0) << "the loader timer is freed when it has run";
    timers.Advance(DelayInterval * 5);
    EXPECT_EQ(loads, 1);
}

TEST_F(GridListItemsTest, ATimerThatCannotBeMadeLoadsAtOnce)
{
    grid->SetOptionsExt(grid->OptionsExt() | dgDelayUpdateListItems);
    timers.refuseCreation = true;
    ChangeCity(5, "Dili");
    EXPECT_GT(loads, 0);
    EXPECT_FALSE(grid->ListItemsPending());
    EXPECT_EQ(Picks("City"), QStringLiteral("Apia,Bern,Dili,Lima,Oslo,Quito"));
    timers.refuseCreation = false;
    timers.refuseArming = true;
    loads = 0;
    ChangeCity(6, "Suva");
    EXPECT_GT(loads, 0);
    EXPECT_FALSE(grid->ListItemsPending());
    EXPECT_EQ(Picks("City"), QStringLiteral("Apia,Bern,Dili,Lima,Oslo,Quito,Suva"));
}

TEST_F(GridListItemsTest, PerformDelayedPostsTheEditAndLoadsNow)
{
    grid->SetOptionsExt(grid->OptionsExt() | dgDelayUpdateListItems);
    ChangeCity(3, "Dili");
    ASSERT_TRUE(grid->ListItemsPending());
    GoTo(2);
    dataSet.Edit();
    dataSet.FieldByName(QStringLiteral("City"))->SetAsString(QStringLiteral("Suva"));
    grid->PerformDelayed();
    EXPECT_EQ(dataSet.State(), tk::dsBrowse) << "the edit was posted first";
    EXPECT_EQ(loads, 1);
    EXPECT_FALSE(grid->ListItemsPending());
    EXPECT_EQ(Picks("City"), QStringLiteral("Apia,Bern,Dili,Lima,Oslo,Quito,Suva"));
    // The post's own request was part of the load that ran.
    timers.Advance(DelayInterval);
    EXPECT_EQ(loads, 1);
}

TEST_F(GridListItemsTest, InsertingAndChangingTheSelectionModesRunThePendingLoadFirst)
{
    grid->SetOptionsExt(grid->OptionsExt() | dgDelayUpdateListItems);
    grid->show();
    grid->setFocus();
    QApplication::processEvents();
    tk::test::WidgetDriver keys(grid.get());
    ChangeCity(3, "Dili");
    ASSERT_TRUE(grid->ListItemsPending());
    keys.Press(Qt::Key_Insert);
    EXPECT_EQ(dataSet.State(), tk::dsInsert);
    EXPECT_EQ(loads, 1) << "loaded before the record was inserted";
    dataSet.Cancel();

    ChangeCity(2, "Suva");
    ASSERT_TRUE(grid->ListItemsPending());
    grid->SetMultiSelectOptions({msRows, msCols});
    EXPECT_EQ(loads, 2);
    EXPECT_FALSE(grid->ListItemsPending());
}

}  // namespace
}  // namespace kelgrid::test
