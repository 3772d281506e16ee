// The grid's selected rows: kept in the dataset's bookmark order, found by
// binary search with a cache, deleted from the dataset and refreshed after
// records vanished behind the grid's back.

#include "tests/data/sqlitesource_fixture.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/expect_raises.h"
#include "tests/support/modal_answerer.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/table.h"

#include <QHash>
#include <QMetaEnum>
#include <QStringList>

namespace kelgrid::test {
namespace {

using tk::test::MessageOf;

// The selected rows of a grid as the ids of their records ("1 3 5"), and
// the selection reports it made ("saSelect saClear").
class SelectionProbe {
public:
    SelectionProbe(TKelCustomDBGrid& grid, tk::TDataSet& dataSet, const QString& idField)
        : grid_(grid), dataSet_(dataSet), idField_(idField)
    {
        grid.OnRowSelect = [this](TKelCustomDBGrid*, TSelectAction action) {
            reports_ << QString::fromLatin1(QMetaEnum::fromType<TSelectAction>().valueToKey(action));
        };
        Learn();
    }
    ~SelectionProbe() { grid_.OnRowSelect = nullptr; }
    SelectionProbe(const SelectionProbe&) = delete;
    SelectionProbe& operator=(const SelectionProbe&) = delete;
    // Reads the bookmark of every record, without the grid's help.
    void Learn()
    {
        ids_.clear();
        for (dataSet_.First(); !dataSet_.Eof(); dataSet_.Next())
            ids_.insert(dataSet_.GetBookmark(), dataSet_.FieldByName(idField_)->AsInteger());
        dataSet_.First();
    }
    void Select(const QList<int>& ids, bool selected = true)
    {
        for (int id : ids) {
            ASSERT_TRUE(dataSet_.Locate(idField_, tk::Variant(id)));
            grid_.SelectedRows()->SetCurrentRowSelected(selected);
        }
    }
    QString Selected() const
    {
        QStringList ids;
        const TKelBookmarkList& rows = *grid_.SelectedRows();
        for (int i = 0; i < rows.Count(); ++i)
            ids << QString::number(ids_.value(rows.Items(i), -1));
        return ids.join(' ');
    }
    QString Reports() const { return reports_.join(' '); }
    void ClearReports() { reports_.clear(); }
    tk::TBookmark BookmarkOf(int id) const { return ids_.key(id); }

private:
    TKelCustomDBGrid& grid_;
    tk::TDataSet& dataSet_;
    QString idField_;
    QHash<tk::TBookmark, int> ids_;
    QStringList reports_;
};

// The ids of the dataset's records in its order.
QString RecordIds(tk::TDataSet& dataSet, const QString& idField)
{
    QStringList ids;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        ids << dataSet.FieldByName(idField)->AsString();
    return ids.join(' ');
}

class BookmarkListTest : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        probe = std::make_unique<SelectionProbe>(*grid, dataSet, QStringLiteral("Id"));
    }
    // The probe lets go of the grid before the grid goes.
    void TearDown() override
    {
        probe.reset();
        GridFixture::TearDown();
    }
    TKelBookmarkList& Rows() { return *grid->SelectedRows(); }
    std::unique_ptr<SelectionProbe> probe;
};

struct OrderCase {
    const char* name;
    const char* indexFieldNames;
    QList<int> selectInOrder;
    const char* selected;  // in the dataset's order
    const char* reports;
};

class BookmarkListOrderTest : public BookmarkListTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(BookmarkListOrderTest, StaysInTheDatasetsOrderWhateverTheOrderOfSelecting)
{
    const OrderCase& c = GetParam();
    dataSet.SetIndexFieldNames(QString::fromLatin1(c.indexFieldNames));
    probe->Learn();
    probe->Select(c.selectInOrder);
    EXPECT_EQ(probe->Selected(), QString::fromLatin1(c.selected));
    EXPECT_EQ(probe->Reports(), QString::fromLatin1(c.reports));
    EXPECT_TRUE(Rows().CheckConsistency());
}

INSTANTIATE_TEST_SUITE_P(
    BookmarkListTest, BookmarkListOrderTest,
    ::testing::Values(
        OrderCase{"Ascending", "", {1, 2, 3}, "1 2 3", "saSelect saSelect saSelect"},
        OrderCase{"Descending", "", {5, 4, 2, 1}, "1 2 4 5", "saSelect saSelect saSelect saSelect"},
        OrderCase{"Shuffled", "", {3, 5, 1, 4}, "1 3 4 5", "saSelect saSelect saSelect saSelect"},
        OrderCase{"TheSameRowTwiceIsStoredOnce", "", {2, 2, 4}, "2 4", "saSelect saSelect"},
        // By Amount the records run 4 2 3 1 5: the list follows that order,
        // not the order of the records' identities.
        OrderCase{"TheDatasetsOwnOrderCounts",
                  "Amount",
                  {5, 1, 4, 3},
                  "4 3 1 5",
                  "saSelect saSelect saSelect saSelect"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BookmarkListTest, ANewSortOrderOfTheDatasetReordersTheList)
{
    probe->Select({1, 3, 5});
    dataSet.SetIndexFieldNames(QStringLiteral("Amount"));  // ids 4 2 3 1 5
    EXPECT_EQ(probe->Selected(), QStringLiteral("3 1 5"));
    EXPECT_TRUE(Rows().CheckConsistency());
    probe->ClearReports();
    probe->Select({1});  // found: selected already
    EXPECT_EQ(probe->Reports(), QString());
    probe->Select({2});
    EXPECT_EQ(probe->Selected(), QStringLiteral("2 3 1 5"));
}

TEST_F(BookmarkListTest, UnselectingRemovesOnlyWhatIsSelected)
{
    probe->Select({1, 3, 5});
    probe->ClearReports();
    probe->Select({2}, false);  // not selected: nothing happens
    EXPECT_EQ(probe->Reports(), QString());
    probe->Select({3}, false);
    EXPECT_EQ(probe->Selected(), QStringLiteral("1 5"));
    EXPECT_EQ(probe->Reports(), QStringLiteral("saUnselect"));
    ASSERT_TRUE(dataSet.Locate(QStringLiteral("Id"), tk::Variant(5)));
    EXPECT_TRUE(Rows().CurrentRowSelected());
    ASSERT_TRUE(dataSet.Locate(QStringLiteral("Id"), tk::Variant(3)));
    EXPECT_FALSE(Rows().CurrentRowSelected());
}

TEST_F(BookmarkListTest, FindOnAnEmptyListGivesTheFirstPosition)
{
    int index = -5;
    EXPECT_FALSE(Rows().Find(probe->BookmarkOf(3), index));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(Rows().IndexOf(probe->BookmarkOf(3)), -1);
}

TEST_F(BookmarkListTest, ClearDropsTheFindCache)
{
    probe->Select({3});
    const tk::TBookmark three = Rows().Items(0);  // the very value the list holds
    int index = -1;
    ASSERT_TRUE(Rows().Find(three, index));
    Rows().Clear();
    EXPECT_EQ(probe->Reports(), QStringLiteral("saSelect saClear"));
    EXPECT_FALSE(Rows().Find(three, index));
    EXPECT_EQ(index, 0);
}

TEST_F(BookmarkListTest, TheFindCacheFollowsInsertsAndDeletes)
{
    probe->Select({3});
    const tk::TBookmark three = Rows().Items(0);
    int index = -1;
    ASSERT_TRUE(Rows().Find(three, index));
    ASSERT_EQ(index, 0);

    // A record before it shifts it up; its own removal makes it absent.
    const tk::TBookmark one = probe->BookmarkOf(1);
    ASSERT_FALSE(Rows().Find(one, index));
    Rows().InsertItem(index, one);
    EXPECT_TRUE(Rows().Find(three, index));
    EXPECT_EQ(index, 1);
    Rows().DeleteItem(1);
    EXPECT_FALSE(Rows().Find(three, index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(probe->Selected(), QStringLiteral("1"));
}

TEST_F(BookmarkListTest, PositionsOutsideTheListAreRefused)
{
    probe->Select({2, 4});
    const auto refused = [](int index) { return QStringLiteral("List index out of bounds (%1)").arg(index); };
    for (int index : {-1, 3})
        EXPECT_EQ(MessageOf<tk::EListError>([&] { Rows().InsertItem(index, probe->BookmarkOf(5)); }),
                  refused(index));
    for (int index : {-1, 2})
        EXPECT_EQ(MessageOf<tk::EListError>([&] { Rows().DeleteItem(index); }), refused(index));
    EXPECT_EQ(probe->Selected(), QStringLiteral("2 4"));
}

TEST_F(BookmarkListTest, ClosingTheDatasetEmptiesTheListAndTheCurrentRowIsRefused)
{
    probe->Select({1, 2});
    dataSet.Close();
    EXPECT_EQ(Rows().Count(), 0);
    EXPECT_EQ(probe->Reports(), QStringLiteral("saSelect saSelect saClear"));
    const QString closed = QStringLiteral("Cannot perform this operation on a closed dataset");
    EXPECT_EQ(MessageOf<tk::EInvalidGridOperation>([&] { Rows().CurrentRow(); }), closed);
    EXPECT_EQ(MessageOf<tk::EInvalidGridOperation>([&] { Rows().SetCurrentRowSelected(true); }), closed);
    EXPECT_FALSE(Rows().IsLinkActive());
}

// Every record's Find answer against a plain walk over the list.
void ExpectFindAgreesWithALinearSearch(const TKelBookmarkList& rows, tk::TDataSet& dataSet)
{
    int checked = 0;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next()) {
        const tk::TBookmark bookmark = dataSet.GetBookmark();
        int before = 0;
        bool present = false;
        for (int i = 0; i < rows.Count(); ++i) {
            const int order = dataSet.CompareBookmarks(rows.Items(i), bookmark);
            before += order < 0;
            present = present || order == 0;
        }
        int index = -1;
        EXPECT_EQ(rows.Find(bookmark, index), present) << "record " << dataSet.RecNo();
        EXPECT_EQ(index, before) << "record " << dataSet.RecNo();
        ++checked;
    }
    EXPECT_GT(checked, 100);
}

// A grid on an SQLite table "people" (ids 1..count, names "P<n>").
class BookmarkListTableTest : public tk::test::SqliteFixture {
protected:
    void Open(int count, const QString& order = QString())
    {
        MakePeople(count);
        table.SetDatabase(&OpenDatabase());
        table.SetTableName(QStringLiteral("people"));
        table.SetIndexFieldNames(order);
        table.Open();
        source.SetDataSet(&table);
        grid.SetDataSource(&source);
        probe = std::make_unique<SelectionProbe>(grid, table, QStringLiteral("id"));
    }
    tk::TTable table;
    tk::TDataSource source;
    TKelDBGrid grid;
    std::unique_ptr<SelectionProbe> probe;
};

TEST_F(BookmarkListTableTest, BinarySearchMatchesALinearSearchOnATable)
{
    // By name the ids run 1 10 100 101 ... 11 110 ...: not the rowid order.
    Open(150, QStringLiteral("name"));
    QList<int> ids;
    for (int id = 1; id <= 150; id += 4)
        ids.prepend(id);
    probe->Select(ids);
    EXPECT_TRUE(grid.SelectedRows()->CheckConsistency());
    EXPECT_TRUE(probe->Selected().startsWith(QStringLiteral("1 101 105 109 113 117 121")));
    ExpectFindAgreesWithALinearSearch(*grid.SelectedRows(), table);
}

TEST_F(BookmarkListTableTest, RefreshDropsRowsDeletedThroughAnotherConnection)
{
    Open(6);
    probe->Select({2, 3, 5});
    probe->ClearReports();
    EXPECT_FALSE(grid.SelectedRows()->Refresh());  // all still there
    EXPECT_EQ(probe->Reports(), QString());

    Exec(QStringLiteral("DELETE FROM people WHERE id IN (3, 4, 5)"));
    table.Refresh();
    EXPECT_TRUE(grid.SelectedRows()->Refresh());
    EXPECT_EQ(probe->Selected(), QStringLiteral("2"));
    EXPECT_EQ(probe->Reports(), QStringLiteral("saRefresh"));
    EXPECT_EQ(grid.SelectLock(), 0);
}

TEST_F(BookmarkListTest, RefreshDropsRecordsDeletedWhileTheGridWasNotTold)
{
    probe->Select({1, 4, 5});
    probe->ClearReports();
    dataSet.DisableControls();
    for (int id : {4, 2}) {
        ASSERT_TRUE(dataSet.Locate(QStringLiteral("Id"), tk::Variant(id)));
        dataSet.Delete();
    }
    dataSet.EnableControls();
    EXPECT_EQ(Rows().Count(), 3);
    EXPECT_TRUE(Rows().Refresh());
    EXPECT_EQ(probe->Selected(), QStringLiteral("1 5"));
    EXPECT_EQ(probe->Reports(), QStringLiteral("saRefresh"));
}

TEST_F(BookmarkListTest, RefreshPostsAPendingEditFirstAndPassesItsFailureOn)
{
    probe->Select({2});
    probe->ClearReports();
    dataSet.BeforePost = [](tk::TDataSet*) { throw tk::EDatabaseError(QStringLiteral("refused")); };
    dataSet.Edit();
    dataSet.FieldByName(QStringLiteral("Owner"))->SetAsString(QStringLiteral("Zoe"));
    EXPECT_EQ(MessageOf<tk::EDatabaseError>([&] { Rows().Refresh(); }), QStringLiteral("refused"));
    EXPECT_EQ(grid->SelectLock(), 0);
    EXPECT_EQ(probe->Reports(), QString());
    dataSet.BeforePost = nullptr;
    EXPECT_FALSE(Rows().Refresh());
    EXPECT_EQ(dataSet.State(), tk::dsBrowse);
    EXPECT_EQ(dataSet.FieldByName(QStringLiteral("Owner"))->AsString(), QStringLiteral("Zoe"));
}

struct DeleteCase {
    const char* name;
    QList<int> selected;
    int undeletable;      // 0: every record can be deleted
    const char* records;  // left in the dataset
    const char* stillSelected;
    const char* reports;
    const char* requests;
    bool fails;
};

class BookmarkListDeleteTest : public BookmarkListTest, public ::testing::WithParamInterface<DeleteCase> {};

TEST_P(BookmarkListDeleteTest, DeletesTheSelectedRecordsFromTheLast)
{
    const DeleteCase& c = GetParam();
    probe->Select(c.selected);
    probe->ClearReports();
    const QString before = grid->RequestCounts();
    QStringList deleted;
    dataSet.BeforeDelete = [&](tk::TDataSet* ds) {
        const int id = ds->FieldByName(QStringLiteral("Id"))->AsInteger();
        if (id == c.undeletable)
            throw tk::EDatabaseError(QStringLiteral("record %1 is locked").arg(id));
        deleted << QString::number(id);
    };
    const QString message = MessageOf<tk::EDatabaseError>([&] { Rows().Delete(); });
    // Before the checks below walk the dataset themselves.
    const QString requests = RequestsSince(before, grid->RequestCounts());
    EXPECT_EQ(message,
              c.fails ? QStringLiteral("record %1 is locked").arg(c.undeletable) : tk::test::kNoException);
    EXPECT_EQ(RecordIds(dataSet, QStringLiteral("Id")), QString::fromLatin1(c.records));
    EXPECT_EQ(probe->Selected(), QString::fromLatin1(c.stillSelected));
    EXPECT_EQ(probe->Reports(), QString::fromLatin1(c.reports));
    EXPECT_EQ(requests, QString::fromLatin1(c.requests));
    EXPECT_EQ(grid->SelectLock(), 0);
    EXPECT_FALSE(dataSet.ControlsDisabled());
}

INSTANTIATE_TEST_SUITE_P(
    BookmarkListTest, BookmarkListDeleteTest,
    ::testing::Values(
        DeleteCase{"All", {4, 1, 2}, 0, "3 5", "", "saDelete", "lists 1, sequence 1, totals 1", false},
        DeleteCase{"AFailurePartWayKeepsWhatWasDeleted",
                   {2, 3, 5},
                   3,
                   "1 2 3 4",
                   "2 3",
                   "saDelete",
                   "lists 1, sequence 1, totals 1",
                   true},
        DeleteCase{"AFailureOnTheFirstChangesNothing",
                   {1, 5},
                   5,
                   "1 2 3 4 5",
                   "1 5",
                   "",
                   "lists 0, sequence 0, totals 0",
                   true}),
    [](const auto& info) { return std::string(info.param.name); });

struct ConfirmCase {
    const char* name;
    QList<int> selected;
    bool confirm;  // dgConfirmDelete
    QMessageBox::StandardButton answer;
    const char* question;  // empty: no box
    bool deletes;
    const char* records;
};

class BookmarkListConfirmTest : public BookmarkListTest, public ::testing::WithParamInterface<ConfirmCase> {};

TEST_P(BookmarkListConfirmTest, TheGridAsksBeforeDeleting)
{
    const ConfirmCase& c = GetParam();
    if (!c.confirm)
        grid->SetOptions(grid->Options() & ~TKelDBGridOptions(dgConfirmDelete));
    probe->Select(c.selected);
    ASSERT_TRUE(dataSet.Locate(QStringLiteral("Id"), tk::Variant(2)));
    tk::test::ModalAnswerer answerer;
    answerer.Answer = c.answer;
    EXPECT_EQ(grid->DeleteSelectedRows(), c.deletes);
    QStringList questions;
    for (const tk::test::TAnsweredBox& box : answerer.Boxes())
        questions << box.text;
    EXPECT_EQ(questions.join('|'), QString::fromLatin1(c.question));
    EXPECT_EQ(RecordIds(dataSet, QStringLiteral("Id")), QString::fromLatin1(c.records));
}

INSTANTIATE_TEST_SUITE_P(
    BookmarkListTest, BookmarkListConfirmTest,
    ::testing::Values(
        ConfirmCase{"NothingSelectedDeletesTheCurrentRecord",
                    {},
                    true,
                    QMessageBox::Ok,
                    "Delete record?",
                    true,
                    "1 3 4 5"},
        ConfirmCase{"OneSelectedRecord", {4}, true, QMessageBox::Ok, "Delete record?", true, "1 2 3 5"},
        ConfirmCase{"SeveralSelectedRecords",
                    {1, 3, 5},
                    true,
                    QMessageBox::Ok,
                    "Delete all selected records?",
                    true,
                    "2 4"},
        ConfirmCase{"CancelDeletesNothing",
                    {1, 3},
                    true,
                    QMessageBox::Cancel,
                    "Delete all selected records?",
                    false,
                    "1 2 3 4 5"},
        ConfirmCase{"WithoutConfirmationNoBox", {3}, false, QMessageBox::Ok, "", true, "1 2 4 5"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(BookmarkListTest, AReadOnlyGridDeletesNothingAndAsksNothing)
{
    grid->SetReadOnly(true);
    tk::test::ModalAnswerer answerer;
    EXPECT_FALSE(grid->DeleteSelectedRows());
    grid->SetReadOnly(false);
    grid->SetOptionsExt(grid->OptionsExt() | dgAllowDeleteOff);
    EXPECT_FALSE(grid->DeleteSelectedRows());
    EXPECT_TRUE(answerer.Boxes().isEmpty());
    EXPECT_EQ(dataSet.RecordCount(), 5);
}

}  // namespace
}  // namespace kelgrid::test
