// The grid's data link: the field map for default and customised columns,
// its growth, the refusal of forward-only datasets, and the events it
// forwards with the editor's pending change.

#include "tests/data/sqlitesource_fixture.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/expect_raises.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/query.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QWidget>

namespace kelgrid::test {
namespace {

using tk::test::MessageOf;

// "Owner=1 Missing=- ..." for each mapped column: the field's name and its
// FieldList index, "-" for a column without a field.
QString MapText(const TKelGridDataLink& link)
{
    QStringList entries;
    for (int i = 0; i < link.FieldCount(); ++i) {
        tk::TField* field = link.Fields(i);
        entries << QStringLiteral("%1=%2")
                       .arg(field ? field->FieldName() : QStringLiteral("?"))
                       .arg(link.GetMappedIndex(i) < 0 ? QStringLiteral("-")
                                                       : QString::number(link.GetMappedIndex(i)));
    }
    return entries.join(' ');
}

struct FieldMapCase {
    const char* name;
    QStringList columns;  // empty: default columns
    const char* hiddenField;
    const char* map;
    bool sparse;
    bool defaultFields;
};

class GridDataLinkMapTest : public GridFixture, public ::testing::WithParamInterface<FieldMapCase> {};

TEST_P(GridDataLinkMapTest, FollowsTheColumnsAtEveryLayout)
{
    const FieldMapCase& c = GetParam();
    if (*c.hiddenField)
        dataSet.FieldByName(QString::fromLatin1(c.hiddenField))->SetVisible(false);
    grid->BeginLayout();
    for (const QString& name : c.columns)
        grid->Columns()->Add()->SetFieldName(name);
    grid->EndLayout();
    const TKelGridDataLink& link = *grid->DataLink();
    EXPECT_EQ(MapText(link), QString::fromLatin1(c.map));
    EXPECT_EQ(link.SparseMap(), c.sparse);
    EXPECT_EQ(link.DefaultFields(), c.defaultFields);
    EXPECT_EQ(link.GetMappedIndex(-1), -1);
    EXPECT_EQ(link.GetMappedIndex(link.FieldCount()), -1);
    EXPECT_EQ(link.Fields(link.FieldCount()), nullptr);

    // Closing the dataset empties the map.
    dataSet.Close();
    EXPECT_EQ(link.FieldCount(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    GridDataLinkTest, GridDataLinkMapTest,
    ::testing::Values(
        FieldMapCase{"DefaultColumnsMapEveryField", {}, "", "Id=0 Owner=1 Amount=2 Paid=3", false, true},
        FieldMapCase{"DefaultColumnsLeaveHiddenFieldsOut", {}, "Amount", "Id=0 Owner=1 Paid=3", false, true},
        FieldMapCase{"CustomisedColumnsMapInTheirOwnOrder",
                     {"Paid", "owner", "Id"},
                     "",
                     "Paid=3 Owner=1 Id=0",
                     true,
                     true},
        FieldMapCase{"ACustomisedColumnOnAMissingFieldMapsToMinusOne",
                     {"Owner", "Missing", "Amount"},
                     "",
                     "Owner=1 ?=- Amount=2",
                     true,
                     false},
        FieldMapCase{
            "HiddenFieldsStillMapForCustomisedColumns", {"Amount"}, "Amount", "Amount=2", true, true}),
    [](const auto& info) { return std::string(info.param.name); });

using GridDataLinkTest = GridFixture;

TEST_F(GridDataLinkTest, WithoutADatasetTheMapIsEmptyAndCountsAsDefault)
{
    grid->Columns()->Add()->SetFieldName(QStringLiteral("Id"));
    ASSERT_EQ(grid->DataLink()->FieldCount(), 1);
    grid->SetDataSource(nullptr);
    EXPECT_EQ(grid->DataLink()->FieldCount(), 0);
    EXPECT_TRUE(grid->DataLink()->DefaultFields());
    EXPECT_EQ(grid->DataLink()->Fields(0), nullptr);
}

TEST_F(GridDataLinkTest, TheMapGrowsByDoublingAndKeepsItsCapacityWhenCleared)
{
    TKelGridDataLink& link = *grid->DataLink();
    link.ClearMapping();
    link.SetSparseMap(true);
    QList<int> capacities;
    for (int i = 0; i < 17; ++i) {
        EXPECT_TRUE(link.AddMapping(i % 2 ? QStringLiteral("Owner") : QStringLiteral("Nothing")));
        capacities << link.MapCapacity();
    }
    EXPECT_EQ(capacities.first(), 8);
    EXPECT_EQ(capacities.at(8), 16);
    EXPECT_EQ(capacities.last(), 32);
    EXPECT_EQ(link.FieldCount(), 17);
    EXPECT_EQ(link.GetMappedIndex(15), 1);
    EXPECT_EQ(link.GetMappedIndex(16), -1);
    link.ClearMapping();
    EXPECT_EQ(link.FieldCount(), 0);
    EXPECT_EQ(link.MapCapacity(), 32);
    // Near the limit the map grows to the limit and no further.
    EXPECT_EQ(TKelGridDataLink::GrownCapacity(200000000, 200000001), TKelGridDataLink::MaxMappedFields);
    EXPECT_EQ(TKelGridDataLink::GrownCapacity(TKelGridDataLink::MaxMappedFields - 1,
                                              TKelGridDataLink::MaxMappedFields),
              TKelGridDataLink::MaxMappedFields);
}

struct FreedFieldCase {
    const char* name;
    QStringList columns;  // empty: default columns
    const char* map;      // after Amount was freed
};

class GridDataLinkFreedFieldTest : public GridFixture,
                                   public ::testing::WithParamInterface<FreedFieldCase> {};

TEST_P(GridDataLinkFreedFieldTest, FreeingAFieldRebuildsTheMapWithoutIt)
{
    for (const QString& name : GetParam().columns)
        grid->Columns()->Add()->SetFieldName(name);
    delete dataSet.FieldByName(QStringLiteral("Amount"));
    EXPECT_EQ(MapText(*grid->DataLink()), QString::fromLatin1(GetParam().map));
}

INSTANTIATE_TEST_SUITE_P(
    GridDataLinkTest, GridDataLinkFreedFieldTest,
    ::testing::Values(FreedFieldCase{"DefaultColumns", {}, "Id=0 Owner=1 Paid=2"},
                      FreedFieldCase{"CustomisedColumns", {"Paid", "Amount", "Owner"}, "Paid=2 ?=- Owner=1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridDataLinkTest, AFullMapRefusesAMissingFieldAndStaysAsItWas)
{
    TKelGridDataLink& link = *grid->DataLink();
    link.ClearMapping();
    link.SetSparseMap(false);
    link.AddMapping(QStringLiteral("Id"));
    EXPECT_EQ(MessageOf<tk::EDatabaseError>([&] { link.AddMapping(QStringLiteral("Nope")); }),
              QStringLiteral("Field 'Nope' not found"));
    EXPECT_EQ(MapText(link), QStringLiteral("Id=0"));
}

// A forward-only query cannot feed a grid, whether it is open before the
// grid links to it or opened afterwards; the grid stays as without data.
class GridDataLinkUnidirectionalTest : public tk::test::SqliteFixture {
protected:
    GridDataLinkUnidirectionalTest()
    {
        MakePeople(3);
        query.SetDatabase(&OpenDatabase());
        query.SQL()->SetText(QStringLiteral("SELECT id, name FROM people"));
        source.SetDataSet(&query);
    }
    void ExpectGridWithoutData()
    {
        EXPECT_FALSE(grid.LinkActiveNow());
        EXPECT_EQ(grid.DataLink()->FieldCount(), 0);
        EXPECT_FALSE(grid.SelectedRows()->IsLinkActive());
        EXPECT_EQ(MessageOf<tk::EInvalidGridOperation>([&] { grid.SelectedRows()->CurrentRow(); }),
                  QStringLiteral("Cannot perform this operation on a closed dataset"));
    }
    tk::TQuery query;
    tk::TDataSource source;
    TKelDBGrid grid;
};

TEST_F(GridDataLinkUnidirectionalTest, LinkingToAnOpenOneIsRefused)
{
    query.SetUniDirectional(true);
    query.Open();
    EXPECT_EQ(MessageOf<tk::EDatabaseError>([&] { grid.SetDataSource(&source); }),
              QStringLiteral("Operation not allowed on a unidirectional dataset"));
    ExpectGridWithoutData();
}

TEST_F(GridDataLinkUnidirectionalTest, OpeningOneUnderTheGridIsRefused)
{
    grid.SetDataSource(&source);
    query.SetUniDirectional(true);
    EXPECT_EQ(MessageOf<tk::EDatabaseError>([&] { query.Open(); }),
              QStringLiteral("Operation not allowed on a unidirectional dataset"));
    ExpectGridWithoutData();
}

// A grid that logs what its data link tells it and plays the editor: its
// UpdateData writes editorText into the selected column's field.
class TRecordingGrid : public TKelDBGrid {
public:
    QStringList log;
    QString editorText;

    void RecordChanged(tk::TField* field) override
    {
        log << QStringLiteral("RecordChanged(%1)").arg(field ? field->FieldName() : QString());
        TKelDBGrid::RecordChanged(field);
    }
    void UpdateData() override
    {
        log << QStringLiteral("UpdateData");
        if (tk::TField* field = SelectedField())
            field->SetAsString(editorText);
    }
};

class GridDataLinkEventsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillFees(dataSet);
        source.SetDataSet(&dataSet);
        grid.SetDataSource(&source);
        grid.BeginLayout();
        for (const char* name : {"Id", "Owner", "Amount"})
            grid.Columns()->Add()->SetFieldName(QString::fromLatin1(name));
        grid.EndLayout();
    }
    // Makes the column of fieldName current and gives the editor a change.
    void EditIn(const char* fieldName, const char* text)
    {
        grid.SetCol(grid.DataToRawColumn(grid.FindColumn(QString::fromLatin1(fieldName))->Index()));
        dataSet.Edit();
        grid.editorText = QString::fromLatin1(text);
        grid.DataLink()->Modified();
        grid.log.clear();
    }
    tk::TField* Field(const char* name) { return dataSet.FieldByName(QString::fromLatin1(name)); }

    tk::TClientDataSet dataSet;
    tk::TDataSource source;
    TRecordingGrid grid;
};

struct RecordChangeCase {
    const char* name;
    const char* editedField;   // the selected column's field
    const char* changedField;  // changed by code while the editor holds a change
    const char* value;         // its new value
    int fixedCols;             // fixed data columns
    const char* log;
};

class GridDataLinkRecordChangeTest : public GridDataLinkEventsTest,
                                     public ::testing::WithParamInterface<RecordChangeCase> {};

TEST_P(GridDataLinkRecordChangeTest, PostsTheEditorsChangeBeforeAnotherFieldChanges)
{
    const RecordChangeCase& c = GetParam();
    grid.SetFixedCols(c.fixedCols);
    EditIn(c.editedField, "99");
    Field(c.changedField)->SetAsString(QString::fromLatin1(c.value));
    EXPECT_EQ(grid.log.join(QStringLiteral(", ")), QString::fromLatin1(c.log));
    EXPECT_FALSE(grid.DataLink()->IsModified());
}

INSTANTIATE_TEST_SUITE_P(
    GridDataLinkTest, GridDataLinkRecordChangeTest,
    ::testing::Values(
        RecordChangeCase{"AnotherColumnsField", "Amount", "Owner", "Zoe", 0,
                         "UpdateData, RecordChanged(Amount), RecordChanged(Owner)"},
        RecordChangeCase{"TheSelectedField", "Amount", "Amount", "7", 0, "RecordChanged(Amount)"},
        RecordChangeCase{"AFieldWithoutAColumn", "Amount", "Paid", "False", 0, "RecordChanged(Paid)"},
        RecordChangeCase{"AFieldInAFixedColumn", "Amount", "Id", "7", 1, "RecordChanged(Id)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GridDataLinkEventsTest, PostingWritesThePendingEditorValueOnce)
{
    EditIn("Amount", "42.5");
    dataSet.Post();
    EXPECT_EQ(grid.log.count(QStringLiteral("UpdateData")), 1);
    EXPECT_DOUBLE_EQ(Field("Amount")->AsFloat(), 42.5);
    EXPECT_FALSE(grid.DataLink()->IsModified());
}

TEST_F(GridDataLinkEventsTest, ResetDropsTheEditorsChangeFirstThenCancelsTheRecord)
{
    EditIn("Owner", "Zoe");
    Field("Amount")->SetAsFloat(1);  // posts the editor's text first
    grid.DataLink()->Modified();
    grid.log.clear();

    grid.DataLink()->Reset();
    EXPECT_EQ(grid.log.join(QStringLiteral(", ")), QStringLiteral("RecordChanged()"));
    EXPECT_EQ(dataSet.State(), tk::dsEdit);

    grid.DataLink()->Reset();
    EXPECT_EQ(dataSet.State(), tk::dsBrowse);
    EXPECT_EQ(Field("Owner")->AsString(), QStringLiteral("Ana Ruiz"));
}

TEST_F(GridDataLinkEventsTest, CancelHoldsTheChangeLockAlsoWhenTheDatasetRefuses)
{
    QList<int> locksSeen;
    bool refuse = true;
    dataSet.BeforeCancel = [&](tk::TDataSet*) {
        locksSeen << grid.ChangeLock();
        if (refuse)
            throw tk::EDatabaseError(QStringLiteral("not now"));
    };
    dataSet.Edit();
    EXPECT_EQ(MessageOf<tk::EDatabaseError>([&] { grid.DataLink()->Cancel(); }), QStringLiteral("not now"));
    EXPECT_EQ(grid.ChangeLock(), 0);
    EXPECT_EQ(dataSet.State(), tk::dsEdit);
    refuse = false;
    grid.DataLink()->Cancel();
    EXPECT_EQ(dataSet.State(), tk::dsBrowse);
    EXPECT_EQ(locksSeen, QList<int>({1, 1}));
    EXPECT_EQ(grid.ChangeLock(), 0);
}

// Two grids on one source in a shown window: a field's focus request goes
// to the first grid that can take the focus, and only to it.
class GridDataLinkFocusTest : public ::testing::TestWithParam<bool> {};

TEST_P(GridDataLinkFocusTest, TheFirstGridThatCanTakeTheFocusTakesTheRequest)
{
    const bool firstShown = GetParam();
    tk::TClientDataSet dataSet;
    FillFees(dataSet);
    tk::TDataSource source;
    source.SetDataSet(&dataSet);
    QWidget form;
    form.resize(700, 300);
    TKelDBGrid* grids[] = {new TKelDBGrid(&form), new TKelDBGrid(&form)};
    for (int i = 0; i < 2; ++i) {
        grids[i]->setGeometry(0, i * 150, 700, 140);
        grids[i]->SetDataSource(&source);
        for (const char* name : {"Id", "Owner", "Amount"})
            grids[i]->Columns()->Add()->SetFieldName(QString::fromLatin1(name));
    }
    grids[0]->setVisible(firstShown);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));

    dataSet.FieldByName(QStringLiteral("Amount"))->FocusControl();
    TKelDBGrid* taker = firstShown ? grids[0] : grids[1];
    TKelDBGrid* other = firstShown ? grids[1] : grids[0];
    // The taker shows its editor on the field, which holds the focus.
    const auto focusIn = [](QWidget* grid) {
        QWidget* focus = QApplication::focusWidget();
        return focus && (focus == grid || grid->isAncestorOf(focus));
    };
    EXPECT_TRUE(focusIn(taker));
    EXPECT_TRUE(taker->EditorMode());
    EXPECT_EQ(taker->SelectedField(), dataSet.FieldByName(QStringLiteral("Amount")));
    // A hidden grid moves to the field but cannot take the request; a grid
    // after the one that took it is not asked.
    EXPECT_EQ(other->SelectedField() == taker->SelectedField(), !firstShown);
    EXPECT_FALSE(focusIn(other));
}

INSTANTIATE_TEST_SUITE_P(GridDataLinkTest, GridDataLinkFocusTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "FirstGridShown" : "FirstGridHidden"; });

}  // namespace
}  // namespace kelgrid::test
