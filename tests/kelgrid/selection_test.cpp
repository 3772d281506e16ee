// Selection of rows, columns and cell blocks on a grid over forty records:
// the mode follows the range, the operations walk the dataset and leave the
// current record on its screen row, and every batch is announced once.

#include "kelgrid/grid/keldbgrids.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"

#include "tests/support/field_def.h"

#include <gtest/gtest.h>
#include <memory>

namespace kelgrid {
namespace {

constexpr int kRecords = 40;

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        using tk::test::Def;
        dataSet.FieldDefs() = {Def(QStringLiteral("Id"), tk::ftInteger),
                               Def(QStringLiteral("Name"), tk::ftString, 20),
                               Def(QStringLiteral("Amount"), tk::ftFloat)};
        dataSet.CreateDataSet();
        for (int id = 1; id <= kRecords; ++id) {
            dataSet.Append();
            dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(id);
            dataSet.FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("N%1").arg(id));
            dataSet.FieldByName(QStringLiteral("Amount"))->SetAsFloat(id * 1.5);
            dataSet.Post();
        }
        dataSet.First();
        source.SetDataSet(&dataSet);
        grid = std::make_unique<TKelDBGrid>();
        grid->resize(300, 200);
        grid->SetOptions(grid->Options() | dgMultiSelect);
        // Announcements at once: the delay has its own test.
        grid->SetOptionsEx(grid->OptionsEx() & ~TKelDBGridOptionsEx(dgDelaySelectedRows));
        grid->SetDataSource(&source);
        grid->OnSelectedRowsChanged = [this](TKelCustomDBGrid*) { ++rowsAnnounced; };
        grid->OnSelectedColsChanged = [this](TKelCustomDBGrid*) { ++colsAnnounced; };
    }
    void TearDown() override { grid.reset(); }

    void GoTo(int id) { ASSERT_TRUE(dataSet.Locate(QStringLiteral("Id"), tk::Variant(id))); }
    int CurrentId() const { return dataSet.FieldByName(QStringLiteral("Id"))->AsInteger(); }
    // "2 3 4": the ids of the selected records; keeps the current record.
    QString SelectedIds()
    {
        QStringList ids;
        const tk::TBookmark here = dataSet.GetBookmark();
        for (int i = 0; i < grid->SelectedRows()->Count(); ++i) {
            dataSet.GotoBookmark(grid->SelectedRows()->Items(i));
            ids << QString::number(CurrentId());
        }
        dataSet.GotoBookmark(here);
        return ids.join(QLatin1Char(' '));
    }
    void AllowEveryMode() { grid->SetMultiSelectOptions({msRows, msCols, msCells}); }

    tk::TClientDataSet dataSet;
    tk::TDataSource source;
    std::unique_ptr<TKelDBGrid> grid;
    int rowsAnnounced = 0;
    int colsAnnounced = 0;
};

TEST_F(SelectionTest, TheModeFollowsTheRangeAndTheAllowedModes)
{
    EXPECT_EQ(grid->MultiSelect(), msRows);
    grid->SetMultiSelect(msCols);  // not allowed
    EXPECT_EQ(grid->MultiSelect(), msRows);
    // A begin column alone under rows-only options stays a rows selection.
    grid->SetSelectionBegCol(1);
    grid->SetSelectionEndCol(2);
    EXPECT_EQ(grid->MultiSelect(), msRows);
    EXPECT_FALSE(grid->ColsSelected());

    AllowEveryMode();
    EXPECT_EQ(grid->SelectionBegCol(), -1);  // new options clear the selection
    grid->SetSelectionBegCol(1);
    EXPECT_EQ(grid->MultiSelect(), msCells);
    grid->SetSelectionColumn(true);
    EXPECT_EQ(grid->MultiSelect(), msCols);
    grid->SetSelectionBegCol(-1);  // also ends the column selection
    EXPECT_FALSE(grid->SelectionColumn());
    EXPECT_EQ(grid->MultiSelect(), msRows);
    grid->SetSelectionEndCol(2);  // no end without a begin
    EXPECT_EQ(grid->SelectionEndCol(), -1);

    grid->SetMultiSelectOptions({msCols});
    grid->SetSelectionBegCol(0);
    EXPECT_EQ(grid->MultiSelect(), msCols);
    grid->SetOptions(grid->Options() | dgRowSelect);
    grid->SetMultiSelectOptions({msCols});
    EXPECT_EQ(grid->MultiSelect(), msNone);  // rows, but rows are not allowed
}

TEST_F(SelectionTest, RangesRunFromTheAnchorAndKeepTheScreen)
{
    GoTo(12);
    grid->SelectRow();
    grid->SetSelectionAnchor(dataSet.GetBookmark());
    GoTo(15);
    const int row = grid->Position();
    grid->SelectRows();
    EXPECT_EQ(SelectedIds(), QStringLiteral("12 13 14 15"));
    EXPECT_EQ(CurrentId(), 15);
    EXPECT_EQ(grid->Position(), row);
    EXPECT_FALSE(dataSet.ControlsDisabled());

    GoTo(10);
    grid->InvertRows();  // 10 to 12 towards the anchor: 12 leaves
    EXPECT_EQ(SelectedIds(), QStringLiteral("10 11 13 14 15"));
    grid->UnselectRows();
    EXPECT_EQ(SelectedIds(), QStringLiteral("13 14 15"));
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(SelectionTest, SelectAllAndInvertAllWalkEveryRecordOnceAnnounced)
{
    // A record on the second screen row of a window scrolled to the end.
    dataSet.Last();
    dataSet.MoveBy(-(grid->DataLink()->RecordCount() - 2));
    const int id = CurrentId();
    const int row = grid->Position();
    ASSERT_EQ(row, 1);
    ASSERT_LT(id, kRecords - 1);
    rowsAnnounced = 0;
    grid->SelectAll();
    EXPECT_EQ(grid->SelectedRows()->Count(), kRecords);
    EXPECT_EQ(rowsAnnounced, 1);
    EXPECT_EQ(CurrentId(), id);
    EXPECT_EQ(grid->Position(), row);
    EXPECT_EQ(grid->SelectionAnchor(), dataSet.GetBookmark());

    grid->UnselectRow();
    grid->InvertAll();
    EXPECT_EQ(SelectedIds(), QString::number(id));
    EXPECT_EQ(rowsAnnounced, 3);

    // A block of cells cannot be inverted.
    AllowEveryMode();
    grid->SetMultiSelect(msCells);
    grid->SelectRow();
    grid->InvertAll();
    EXPECT_EQ(SelectedIds(), QString::number(id));

    grid->ClearSelection();
    EXPECT_FALSE(grid->MultiSelected());
    EXPECT_TRUE(grid->SelectionAnchor().isEmpty());

    // Switching multi-selection off lets go of what was selected.
    grid->SelectRow();
    grid->SetOptions(grid->Options() & ~TKelDBGridOptions(dgMultiSelect));
    EXPECT_EQ(grid->SelectedRows()->Count(), 0);
}

TEST_F(SelectionTest, ColumnsByRangeOrOneByOne)
{
    AllowEveryMode();
    grid->SetMultiSelect(msCols);
    EXPECT_EQ(grid->SelectionBegCol(), 0);
    grid->SetSelectionEndCol(1);
    TKelColumnList* columns = grid->SelectedCols();
    EXPECT_TRUE(columns->AutoRefresh());
    EXPECT_EQ(columns->Count(), 2);
    EXPECT_TRUE(grid->IsColMultiSelected(1));
    EXPECT_FALSE(grid->IsColMultiSelected(2));
    EXPECT_TRUE(grid->IsCellMultiSelected(0));  // any row of a selected column
    EXPECT_GE(colsAnnounced, 1);

    colsAnnounced = 0;
    columns->SetColumn(0, false);
    EXPECT_FALSE(columns->AutoRefresh());
    EXPECT_EQ(colsAnnounced, 1);
    EXPECT_FALSE(grid->IsColMultiSelected(0));
    int position = -1;
    EXPECT_FALSE(columns->Find(2, position));
    EXPECT_EQ(position, 1);  // after column 1
    EXPECT_EQ(columns->Items(0), grid->Columns()->Items(1));

    grid->InvertAll();
    EXPECT_TRUE(grid->IsColMultiSelected(0));
    EXPECT_FALSE(grid->IsColMultiSelected(1));
    EXPECT_TRUE(grid->IsColMultiSelected(2));
}

TEST_F(SelectionTest, ForEachDataCellVisitsTheBlockWithItsEdges)
{
    AllowEveryMode();
    grid->SetMultiSelect(msCells);
    grid->SetSelectionEndCol(1);
    for (int id : {30, 5, 17}) {
        GoTo(id);
        grid->SelectRow();
    }
    QStringList cells;
    grid->ForEachDataCell([&](TKelColumn* column, TForEachCellFlags flags) {
        QString cell = QStringLiteral("%1.%2").arg(CurrentId()).arg(column->FieldName());
        if (flags.testFlag(feFirstCol) && flags.testFlag(feFirstRow))
            cell += QStringLiteral("<");
        if (flags.testFlag(feLastCol) && flags.testFlag(feLastRow))
            cell += QStringLiteral(">");
        cells << cell;
    });
    EXPECT_EQ(cells.join(' '), QStringLiteral("5.Id< 5.Name 17.Id 17.Name 30.Id 30.Name>"));
    EXPECT_EQ(CurrentId(), 17);

    // The whole dataset: the last record is known before it is visited.
    int lastRows = 0;
    int cellsVisited = 0;
    grid->ForEachDataCell(
        [&](TKelColumn*, TForEachCellFlags flags) {
            ++cellsVisited;
            lastRows += flags.testFlag(feLastRow) && flags.testFlag(feFirstCol) ? 1 : 0;
        },
        fsWholeDataSet);
    EXPECT_EQ(cellsVisited, kRecords * 3);
    EXPECT_EQ(lastRows, 1);
}

TEST_F(SelectionTest, AFailingVisitLeavesTheRecordAndTheControlsAsTheyWere)
{
    GoTo(25);
    const int row = grid->Position();
    int visits = 0;
    EXPECT_THROW(grid->ForEachDataCell(
                     [&](TKelColumn*, TForEachCellFlags) {
                         if (++visits == 50)
                             throw tk::Exception(QStringLiteral("stop"));
                     },
                     fsWholeDataSet),
                 tk::Exception);
    EXPECT_EQ(CurrentId(), 25);
    EXPECT_EQ(grid->Position(), row);
    EXPECT_FALSE(grid->PositionDisabled());
    EXPECT_FALSE(dataSet.ControlsDisabled());
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

}  // namespace
}  // namespace kelgrid
