// One behaviour suite for every dataset class: the windows data links see,
// the notifications they get, bookmarks, searches, filters, calculated and
// lookup fields, and editing. Each case runs against an in-memory client
// dataset, a query and a table, all filled from the same SQLite file; the
// query also with its rows stepped instead of read by rowid in windows, and
// with windows of two rows, so that every case crosses many windows.

#include "toolkit/core/exceptions.h"
#include "toolkit/core/updatelock.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/database.h"
#include "toolkit/data/datalink.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/fields.h"
#include "toolkit/data/query.h"
#include "toolkit/data/sqlitesource.h"
#include "toolkit/data/table.h"

#include "tests/support/sqlite_exec.h"
#include "tests/support/temp_folder.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>

namespace tk {
namespace {

enum class Kind { Client, Query, Table, SteppedQuery, TwoRowWindowsQuery };

std::string KindName(const testing::TestParamInfo<Kind>& info)
{
    switch (info.param) {
    case Kind::Client: return "ClientDataSet";
    case Kind::Query: return "Query";
    case Kind::Table: return "Table";
    case Kind::SteppedQuery: return "SteppedQuery";
    case Kind::TwoRowWindowsQuery: return "TwoRowWindowsQuery";
    }
    return "Unknown";
}

// A link that writes down every callback it gets, in order.
class RecordingLink : public TDataLink {
public:
    QStringList events;
    // CheckBrowseMode reaches links before every move; recorded on request.
    bool recordCheckBrowse = false;

    QString Take()
    {
        const QString joined = events.join(QLatin1Char(' '));
        events.clear();
        return joined;
    }

protected:
    void ActiveChanged() override { events << QStringLiteral("Active"); }
    void DataSetChanged() override { events << QStringLiteral("Changed"); }
    void DataSetScrolled(int distance) override { events << QStringLiteral("Scrolled(%1)").arg(distance); }
    void EditingChanged() override { events << QStringLiteral("Editing"); }
    void LayoutChanged() override { events << QStringLiteral("Layout"); }
    void RecordChanged(TField* field) override
    {
        events << QStringLiteral("Record(%1)").arg(field ? field->FieldName() : QStringLiteral("-"));
    }
    void UpdateData() override { events << QStringLiteral("UpdateData"); }
    void CheckBrowseMode() override
    {
        if (recordCheckBrowse)
            events << QStringLiteral("CheckBrowse");
    }
};

using test::Exec;

// A query whose rows are read as the test chooses.
class FetchingQuery : public TQuery {
public:
    FetchingQuery(TRowFetching fetching, qint64 windowRows) : fetching_(fetching), windowRows_(windowRows) {}

protected:
    std::unique_ptr<TRecordSource> CreateRecordSource() override
    {
        return std::make_unique<TSqliteRecordSource>(OpenDatabase(), SQL()->Text(), Params()->Values(), fetching_,
                                                     windowRows_);
    }

private:
    TRowFetching fetching_;
    qint64 windowRows_;
};

class DataSetBehaviour : public testing::TestWithParam<Kind> {
protected:
    // Writes a table "items" of count rows: id 1..count, name "Item <id>",
    // amount id * 1.5; and a table "colours" for lookups.
    void MakeFile(int count)
    {
        const QString path = folder_.File(QStringLiteral("data.db"));
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
        Exec(db, QStringLiteral("CREATE TABLE items(id INTEGER PRIMARY KEY, name VARCHAR(40), amount REAL, "
                                "colour INTEGER)"));
        Exec(db, QStringLiteral("CREATE TABLE colours(code INTEGER PRIMARY KEY, label VARCHAR(20))"));
        Exec(db, QStringLiteral("INSERT INTO colours VALUES (1, 'Red'), (2, 'Green'), (3, 'Blue')"));
        Exec(db, QStringLiteral("BEGIN"));
        for (int id = 1; id <= count; ++id)
            Exec(db, QStringLiteral("INSERT INTO items VALUES (%1, 'Item %1', %2, %3)")
                         .arg(id)
                         .arg(id * 1.5)
                         .arg(id % 3 + 1));
        Exec(db, QStringLiteral("COMMIT"));
        sqlite3_close(db);
        database_ = std::make_unique<TDatabase>();
        database_->SetDatabaseName(path);
        database_->Open();
    }

    // A closed dataset of the class under test over table.
    std::unique_ptr<TDataSet> MakeDataSet(const QString& table = QStringLiteral("items"))
    {
        switch (GetParam()) {
        case Kind::Client: {
            auto dataSet = std::make_unique<TClientDataSet>();
            dataSet->SetDatabase(database_.get());
            dataSet->SetCommandText(QStringLiteral("SELECT * FROM %1").arg(table));
            return dataSet;
        }
        case Kind::Query: {
            auto dataSet = std::make_unique<TQuery>();
            dataSet->SetDatabase(database_.get());
            dataSet->SQL()->SetText(QStringLiteral("SELECT * FROM %1").arg(table));
            return dataSet;
        }
        case Kind::Table: {
            auto dataSet = std::make_unique<TTable>();
            dataSet->SetDatabase(database_.get());
            dataSet->SetTableName(table);
            return dataSet;
        }
        case Kind::SteppedQuery:
        case Kind::TwoRowWindowsQuery: {
            auto dataSet = GetParam() == Kind::SteppedQuery
                               ? std::make_unique<FetchingQuery>(TRowFetching::Stepping, 1)
                               : std::make_unique<FetchingQuery>(TRowFetching::Windows, 2);
            dataSet->SetDatabase(database_.get());
            dataSet->SQL()->SetText(QStringLiteral("SELECT * FROM %1").arg(table));
            return dataSet;
        }
        }
        return nullptr;
    }

    // Opens the dataset under test over count rows with a link of buffer rows.
    void Open(int count, int buffer)
    {
        MakeFile(count);
        dataSet_ = MakeDataSet();
        source_.SetDataSet(dataSet_.get());
        link_.SetDataSource(&source_);
        link_.SetBufferCount(buffer);
        dataSet_->Open();
        link_.events.clear();
    }

    int Id() const { return dataSet_->FieldByName(QStringLiteral("id"))->AsInteger(); }
    // The ids of the link's window, the current one in brackets.
    QString Window()
    {
        QStringList ids;
        const int active = link_.ActiveRecord();
        for (int row = 0; row < link_.RecordCount(); ++row) {
            link_.SetActiveRecord(row);
            const QString id = QString::number(Id());
            ids << (row == active ? QStringLiteral("[%1]").arg(id) : id);
        }
        link_.SetActiveRecord(active);
        return ids.join(QLatin1Char(' '));
    }

    test::TempFolder folder_;
    std::unique_ptr<TDatabase> database_;
    std::unique_ptr<TDataSet> dataSet_;
    TDataSource source_;
    RecordingLink link_;
};

// --- Windows and relative moves ----------------------------------------------------

TEST_P(DataSetBehaviour, OpeningFillsTheWindowFromTheFirstRecord)
{
    MakeFile(20);
    dataSet_ = MakeDataSet();
    source_.SetDataSet(dataSet_.get());
    link_.SetDataSource(&source_);
    link_.SetBufferCount(5);
    EXPECT_EQ(link_.RecordCount(), 0);
    dataSet_->Open();
    EXPECT_EQ(link_.Take(), "Active");
    EXPECT_EQ(Window(), "[1] 2 3 4 5");
    EXPECT_TRUE(dataSet_->Bof());
    EXPECT_FALSE(dataSet_->Eof());
    EXPECT_EQ(dataSet_->RecordCount(), 20);
    dataSet_->Close();
    EXPECT_EQ(link_.Take(), "Active");
    EXPECT_EQ(link_.RecordCount(), 0);
    EXPECT_EQ(link_.ActiveRecord(), 0);
}

TEST_P(DataSetBehaviour, AnEmptyDatasetHasAnEmptyWindowAndBothEnds)
{
    Open(0, 4);
    EXPECT_EQ(link_.RecordCount(), 0);
    EXPECT_EQ(link_.ActiveRecord(), 0);
    EXPECT_TRUE(dataSet_->Bof());
    EXPECT_TRUE(dataSet_->Eof());
    EXPECT_TRUE(dataSet_->IsEmpty());
    EXPECT_TRUE(dataSet_->GetBookmark().isEmpty());
    EXPECT_EQ(dataSet_->MoveBy(5), 0);
    EXPECT_EQ(dataSet_->RecNo(), 0);
    EXPECT_TRUE(dataSet_->FieldByName(QStringLiteral("name"))->IsNull());
}

TEST_P(DataSetBehaviour, RelativeMovesScrollTheWindowOnlyPastItsEdges)
{
    Open(20, 5);
    for (int i = 0; i < 4; ++i)
        dataSet_->Next();
    EXPECT_EQ(link_.Take(), "Scrolled(0) Scrolled(0) Scrolled(0) Scrolled(0)");
    EXPECT_EQ(Window(), "1 2 3 4 [5]");
    dataSet_->Next();
    EXPECT_EQ(link_.Take(), "Scrolled(1)");
    EXPECT_EQ(Window(), "2 3 4 5 [6]");
    EXPECT_EQ(dataSet_->MoveBy(3), 3);
    EXPECT_EQ(link_.Take(), "Scrolled(3)");
    EXPECT_EQ(Window(), "5 6 7 8 [9]");
    EXPECT_EQ(dataSet_->MoveBy(-2), -2);
    EXPECT_EQ(link_.Take(), "Scrolled(0)");
    EXPECT_EQ(Window(), "5 6 [7] 8 9");
    EXPECT_EQ(dataSet_->MoveBy(-4), -4);
    EXPECT_EQ(link_.Take(), "Scrolled(-2)");
    EXPECT_EQ(Window(), "[3] 4 5 6 7");
}

TEST_P(DataSetBehaviour, ScrollBarLineStepsMoveTheWindowByExactlyOneRow)
{
    Open(30, 6);
    dataSet_->MoveBy(10);  // window 6..11, current 11 on the last row
    link_.Take();
    dataSet_->MoveBy(-2);
    link_.Take();
    // Line down: one past the window's last row.
    const int down = link_.RecordCount() - link_.ActiveRecord();
    link_.MoveBy(down);
    EXPECT_EQ(link_.Take(), "Scrolled(1)");
    EXPECT_EQ(link_.ActiveRecord(), link_.BufferCount() - 1);
    // Line up: one before the window's first row.
    link_.MoveBy(-(link_.ActiveRecord() + 1));
    EXPECT_EQ(link_.Take(), "Scrolled(-1)");
    EXPECT_EQ(link_.ActiveRecord(), 0);
}

TEST_P(DataSetBehaviour, HugeMovesStopAtTheEndsAndReportTheDistanceMoved)
{
    Open(25, 5);
    dataSet_->MoveBy(6);  // record 7
    EXPECT_EQ(dataSet_->MoveBy(-2147483647), -6);
    EXPECT_TRUE(dataSet_->Bof());
    EXPECT_EQ(Id(), 1);
    EXPECT_EQ(dataSet_->MoveBy(2147483647), 24);
    EXPECT_TRUE(dataSet_->Eof());
    EXPECT_FALSE(dataSet_->Bof());
    EXPECT_EQ(Id(), 25);
    EXPECT_EQ(Window(), "21 22 23 24 [25]");
    // A move that succeeds clears the end flags; being on the first record
    // does not set Bof by itself.
    dataSet_->Prior();
    EXPECT_FALSE(dataSet_->Eof());
    dataSet_->Locate(QStringLiteral("id"), Variant(1));
    EXPECT_FALSE(dataSet_->Bof());
    dataSet_->Prior();
    EXPECT_TRUE(dataSet_->Bof());
}

// --- Absolute moves ---------------------------------------------------------------------

TEST_P(DataSetBehaviour, AbsoluteMovesRecomputeTheWindowAndSayChanged)
{
    Open(20, 5);
    dataSet_->Last();
    EXPECT_EQ(link_.Take(), "Changed");
    EXPECT_EQ(Window(), "16 17 18 19 [20]");
    EXPECT_TRUE(dataSet_->Eof());
    dataSet_->First();
    EXPECT_EQ(link_.Take(), "Changed");
    EXPECT_EQ(Window(), "[1] 2 3 4 5");
    dataSet_->SetRecNo(12);
    EXPECT_EQ(link_.Take(), "Changed");
    EXPECT_EQ(dataSet_->RecNo(), 12);
    EXPECT_EQ(Id(), 12);
    EXPECT_EQ(link_.RecordCount(), 5);
    EXPECT_TRUE(dataSet_->Locate(QStringLiteral("id"), Variant(19)));
    EXPECT_EQ(link_.Take(), "Changed");
    EXPECT_EQ(Window(), "16 17 18 [19] 20");  // stays full near the end
    EXPECT_FALSE(dataSet_->Locate(QStringLiteral("id"), Variant(99)));
    EXPECT_EQ(link_.Take(), "");
    EXPECT_EQ(Id(), 19);
}

TEST_P(DataSetBehaviour, BufferCountChangesRefillQuietlyAroundTheCurrentRecord)
{
    Open(20, 5);
    dataSet_->MoveBy(7);  // window 4..8, current 8 on row 4
    link_.Take();
    link_.SetBufferCount(3);
    EXPECT_EQ(link_.Take(), "");
    EXPECT_EQ(Window(), "6 7 [8]");
    link_.SetBufferCount(8);
    EXPECT_EQ(Window(), "6 7 [8] 9 10 11 12 13");
    link_.SetBufferCount(0);  // below one counts as one
    EXPECT_EQ(link_.BufferCount(), 1);
    EXPECT_EQ(Window(), "[8]");
    dataSet_->Last();
    link_.SetBufferCount(40);  // more rows than records: the whole dataset
    EXPECT_EQ(link_.RecordCount(), 20);
    EXPECT_EQ(link_.ActiveRecord(), 19);
    EXPECT_EQ(link_.Take(), "Changed");
}

TEST_P(DataSetBehaviour, ActiveRecordShowsAnotherRowWithoutMovingOrTelling)
{
    Open(10, 4);
    dataSet_->MoveBy(2);
    link_.Take();
    link_.SetActiveRecord(0);
    EXPECT_EQ(Id(), 1);
    EXPECT_EQ(dataSet_->FieldByName(QStringLiteral("name"))->AsString(), "Item 1");
    link_.SetActiveRecord(3);
    EXPECT_EQ(Id(), 4);
    EXPECT_EQ(dataSet_->RecNo(), 3);  // the cursor did not move
    link_.SetActiveRecord(2);
    EXPECT_EQ(link_.Take(), "");
    EXPECT_EQ(Id(), 3);
}

// The grid keeps a record on its screen row: set ActiveRecord to the row, go
// to the bookmark, resynchronise exactly.
TEST_P(DataSetBehaviour, ExactResyncPutsTheRecordOnTheRequestedRow)
{
    Open(30, 6);
    dataSet_->SetRecNo(15);
    const TBookmark fifteen = dataSet_->GetBookmark();
    dataSet_->SetRecNo(4);
    const TBookmark four = dataSet_->GetBookmark();
    dataSet_->SetRecNo(29);
    const TBookmark twentyNine = dataSet_->GetBookmark();
    dataSet_->First();

    auto gotoPosition = [&](int row, const TBookmark& bookmark) {
        link_.SetActiveRecord(std::clamp(row, 0, link_.RecordCount() - 1));
        dataSet_->SetCursorToBookmark(bookmark);
        dataSet_->Resync(rmExact);
        return Window();
    };
    EXPECT_EQ(gotoPosition(4, fifteen), "11 12 13 14 [15] 16");
    EXPECT_EQ(gotoPosition(1, fifteen), "14 [15] 16 17 18 19");
    // Fewer records above than the row: the lowest row possible.
    EXPECT_EQ(gotoPosition(5, four), "1 2 3 [4] 5 6");
    // Not enough records below: the window fills from above.
    EXPECT_EQ(gotoPosition(0, twentyNine), "25 26 27 28 [29] 30");
    // A row beyond the buffer lands on the last row.
    EXPECT_EQ(gotoPosition(99, fifteen), "10 11 12 13 14 [15]");

    // The same through GotoBookmark after setting the row.
    link_.SetActiveRecord(2);
    dataSet_->GotoBookmark(four);
    EXPECT_EQ(Window(), "2 3 [4] 5 6 7");
}

// --- Disabled controls ---------------------------------------------------------

TEST_P(DataSetBehaviour, DisabledControlsHearNothingUntilTheOutermostEnable)
{
    Open(20, 5);
    dataSet_->DisableControls();
    dataSet_->DisableControls();
    EXPECT_TRUE(dataSet_->ControlsDisabled());
    dataSet_->Next();
    dataSet_->Last();
    dataSet_->First();
    dataSet_->Edit();
    dataSet_->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Changed"));
    dataSet_->Cancel();
    // Windows still move and exact resync still works while disabled.
    dataSet_->MoveBy(7);
    EXPECT_EQ(Window(), "4 5 6 7 [8]");
    dataSet_->EnableControls();
    EXPECT_EQ(link_.Take(), "");
    dataSet_->EnableControls();
    EXPECT_FALSE(dataSet_->ControlsDisabled());
    EXPECT_EQ(link_.Take(), "Changed");

    // The state changed meanwhile: EditingChanged first.
    dataSet_->DisableControls();
    dataSet_->Edit();
    dataSet_->EnableControls();
    EXPECT_EQ(link_.Take(), "Editing Changed");
    dataSet_->Cancel();
    link_.Take();

    // Closed and opened meanwhile: ActiveChanged first.
    dataSet_->DisableControls();
    dataSet_->Close();
    dataSet_->Open();
    dataSet_->EnableControls();
    EXPECT_EQ(link_.Take(), "Active Changed");

    // Closed meanwhile: only ActiveChanged.
    dataSet_->DisableControls();
    dataSet_->Close();
    dataSet_->EnableControls();
    EXPECT_EQ(link_.Take(), "Active");
}

TEST_P(DataSetBehaviour, AControlsLockEnablesTheControlsAlsoWhenItsScopeFails)
{
    Open(20, 5);
    try {
        TDisabledControlsLock outer(*dataSet_);
        TDisabledControlsLock inner(*dataSet_);
        dataSet_->MoveBy(7);
        dataSet_->FieldByName(QStringLiteral("missing"));
    } catch (const EDatabaseError&) {
    }
    EXPECT_FALSE(dataSet_->ControlsDisabled());
    EXPECT_EQ(link_.Take(), "Changed");
    EXPECT_EQ(Window(), "4 5 6 7 [8]");
}

// --- Editing -------------------------------------------------------------------------

TEST_P(DataSetBehaviour, EditAndPostTellTheLinksInOrder)
{
    Open(10, 4);
    dataSet_->MoveBy(2);
    link_.Take();
    EXPECT_TRUE(link_.Edit());
    EXPECT_EQ(link_.Take(), "Editing Record(-)");
    EXPECT_FALSE(dataSet_->Modified());
    dataSet_->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Third"));
    EXPECT_EQ(link_.Take(), "Record(name)");
    EXPECT_TRUE(dataSet_->Modified());
    dataSet_->Post();
    EXPECT_EQ(link_.Take(), "UpdateData Editing Changed");
    EXPECT_EQ(dataSet_->State(), dsBrowse);
    EXPECT_EQ(dataSet_->FieldByName(QStringLiteral("name"))->AsString(), "Third");
    EXPECT_EQ(Window(), "1 2 [3] 4");

    // The change reached the file: a fresh dataset sees it.
    std::unique_ptr<TDataSet> again = MakeDataSet();
    again->Open();
    if (GetParam() != Kind::Client) {
        ASSERT_TRUE(again->Locate(QStringLiteral("id"), Variant(3)));
        EXPECT_EQ(again->FieldByName(QStringLiteral("name"))->AsString(), "Third");
    }
}

TEST_P(DataSetBehaviour, CancelRestoresTheRecordAndCheckBrowseModeDecides)
{
    Open(10, 4);
    dataSet_->Edit();
    dataSet_->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Gone"));
    link_.Take();
    dataSet_->Cancel();
    EXPECT_EQ(link_.Take(), "Editing Changed");
    EXPECT_EQ(dataSet_->FieldByName(QStringLiteral("name"))->AsString(), "Item 1");

    // Unchanged: CheckBrowseMode cancels; changed: it posts. Either way the
    // links write their pending values first.
    link_.recordCheckBrowse = true;
    dataSet_->Edit();
    link_.Take();
    dataSet_->CheckBrowseMode();
    EXPECT_EQ(link_.Take(), "CheckBrowse UpdateData Editing Changed");
    dataSet_->Edit();
    dataSet_->FieldByName(QStringLiteral("amount"))->SetAsFloat(99.5);
    dataSet_->CheckBrowseMode();
    EXPECT_DOUBLE_EQ(dataSet_->FieldByName(QStringLiteral("amount"))->AsFloat(), 99.5);
    EXPECT_EQ(dataSet_->State(), dsBrowse);
}

TEST_P(DataSetBehaviour, InsertAndAppendPlaceTheNewRecord)
{
    Open(10, 4);
    dataSet_->MoveBy(5);  // record 6 on the last row
    link_.Take();
    dataSet_->Insert();
    EXPECT_EQ(link_.Take(), "Editing Changed");
    EXPECT_EQ(dataSet_->State(), dsInsert);
    EXPECT_FALSE(dataSet_->Modified());
    EXPECT_FALSE(dataSet_->Eof());
    EXPECT_TRUE(dataSet_->GetBookmark().isEmpty());
    EXPECT_EQ(link_.ActiveRecord(), 3);
    EXPECT_TRUE(dataSet_->FieldByName(QStringLiteral("id"))->IsNull());
    dataSet_->FieldByName(QStringLiteral("id"))->SetAsInteger(100);
    dataSet_->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Inserted"));
    dataSet_->Post();
    EXPECT_EQ(Id(), 100);
    EXPECT_EQ(dataSet_->RecordCount(), 11);
    EXPECT_FALSE(dataSet_->GetBookmark().isEmpty());

    dataSet_->Append();
    EXPECT_TRUE(dataSet_->Eof());
    EXPECT_EQ(link_.ActiveRecord(), 3);
    dataSet_->FieldByName(QStringLiteral("id"))->SetAsInteger(200);
    dataSet_->Post();
    dataSet_->Last();
    EXPECT_EQ(Id(), 200);
    EXPECT_EQ(dataSet_->RecordCount(), 12);

    // An insert cancelled leaves the record that was current.
    dataSet_->SetRecNo(3);
    const int before = Id();
    dataSet_->Insert();
    dataSet_->Cancel();
    EXPECT_EQ(Id(), before);
    EXPECT_EQ(dataSet_->RecordCount(), 12);
}

TEST_P(DataSetBehaviour, DeleteKeepsTheWindowFullAndInvalidatesTheBookmark)
{
    Open(8, 4);
    dataSet_->Last();
    const TBookmark last = dataSet_->GetBookmark();
    dataSet_->Delete();
    EXPECT_FALSE(dataSet_->BookmarkValid(last));
    EXPECT_THROW(dataSet_->GotoBookmark(last), EDatabaseError);
    EXPECT_EQ(Id(), 7);
    EXPECT_EQ(Window(), "4 5 6 [7]");
    EXPECT_EQ(dataSet_->RecordCount(), 7);
    while (!dataSet_->IsEmpty())
        dataSet_->Delete();
    EXPECT_TRUE(dataSet_->Bof());
    EXPECT_TRUE(dataSet_->Eof());
    EXPECT_EQ(link_.RecordCount(), 0);
    EXPECT_THROW(dataSet_->Delete(), EDatabaseError);
}

TEST_P(DataSetBehaviour, SettingAFieldOutsideEditingRaises)
{
    Open(3, 2);
    EXPECT_THROW(dataSet_->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("x")), EDatabaseError);
    EXPECT_THROW(dataSet_->FieldByName(QStringLiteral("nothing")), EDatabaseError);
    EXPECT_EQ(dataSet_->FindField(QStringLiteral("nothing")), nullptr);
    EXPECT_EQ(dataSet_->FindField(QStringLiteral("NAME")), dataSet_->FieldByName(QStringLiteral("name")));
}

// --- Bookmarks -------------------------------------------------------------------------

TEST_P(DataSetBehaviour, BookmarksCompareByPositionAndSurviveOtherEdits)
{
    Open(10, 3);
    QList<TBookmark> marks;
    for (dataSet_->First(); !dataSet_->Eof(); dataSet_->Next())
        marks << dataSet_->GetBookmark();
    ASSERT_EQ(marks.size(), 10);
    for (int i = 0; i + 1 < marks.size(); ++i) {
        EXPECT_LT(dataSet_->CompareBookmarks(marks[i], marks[i + 1]), 0);
        EXPECT_GT(dataSet_->CompareBookmarks(marks[i + 1], marks[i]), 0);
    }
    EXPECT_EQ(dataSet_->CompareBookmarks(marks[4], TBookmark(marks[4])), 0);
    EXPECT_LT(dataSet_->CompareBookmarks(TBookmark(), marks[0]), 0);

    // Editing and deleting other records keeps order and validity.
    dataSet_->GotoBookmark(marks[2]);
    dataSet_->Edit();
    dataSet_->FieldByName(QStringLiteral("name"))->SetAsString(QStringLiteral("Edited"));
    dataSet_->Post();
    dataSet_->GotoBookmark(marks[5]);
    dataSet_->Delete();
    EXPECT_TRUE(dataSet_->BookmarkValid(marks[2]));
    EXPECT_LT(dataSet_->CompareBookmarks(marks[4], marks[6]), 0);
    dataSet_->GotoBookmark(marks[8]);
    EXPECT_EQ(Id(), 9);
    EXPECT_EQ(dataSet_->RecNo(), 8);
}

// --- Searches and key values -------------------------------------------------------------

TEST_P(DataSetBehaviour, LocateAndLookupMatchKeysAndOptions)
{
    Open(30, 5);
    EXPECT_TRUE(dataSet_->Locate(QStringLiteral("name"), Variant("item 12"), loCaseInsensitive));
    EXPECT_EQ(Id(), 12);
    EXPECT_FALSE(dataSet_->Locate(QStringLiteral("name"), Variant("item 13")));
    EXPECT_EQ(Id(), 12);
    EXPECT_TRUE(dataSet_->Locate(QStringLiteral("name"), Variant("ITEM 2"), loCaseInsensitive | loPartialKey));
    EXPECT_EQ(Id(), 2);
    EXPECT_TRUE(dataSet_->Locate(QStringLiteral("colour;amount"),
                                 Variant::FromArray({Variant(1), Variant(13.5)})));
    EXPECT_EQ(Id(), 9);

    const Variant both = dataSet_->FieldValues(QStringLiteral("id;name"));
    ASSERT_TRUE(both.IsArray());
    EXPECT_EQ(both.Elements()[0].ToInt(), 9);
    EXPECT_EQ(both.Elements()[1].ToString(), "Item 9");

    const Variant found = dataSet_->Lookup(QStringLiteral("id"), Variant(20), QStringLiteral("name"));
    EXPECT_EQ(found.ToString(), "Item 20");
    EXPECT_TRUE(dataSet_->Lookup(QStringLiteral("id"), Variant(99), QStringLiteral("name")).IsNull());
    EXPECT_EQ(Id(), 9);  // Lookup does not move
}

// --- Calculated and lookup fields -------------------------------------------------------

TEST_P(DataSetBehaviour, CalculatedAndLookupFieldsFollowTheActiveRecord)
{
    MakeFile(12);
    std::unique_ptr<TDataSet> colours = MakeDataSet(QStringLiteral("colours"));
    colours->Open();
    dataSet_ = MakeDataSet();
    // Persistent fields: the data fields used plus a calculated and a lookup.
    auto* id = new TIntegerField(dataSet_.get());
    id->SetFieldName(QStringLiteral("id"));
    id->SetDataSet(dataSet_.get());
    auto* amount = new TFloatField(dataSet_.get());
    amount->SetFieldName(QStringLiteral("amount"));
    amount->SetDataSet(dataSet_.get());
    auto* colour = new TIntegerField(dataSet_.get());
    colour->SetFieldName(QStringLiteral("colour"));
    colour->SetDataSet(dataSet_.get());
    auto* twice = new TFloatField(dataSet_.get());
    twice->SetFieldName(QStringLiteral("twice"));
    twice->SetFieldKind(fkCalculated);
    twice->SetDataSet(dataSet_.get());
    auto* label = new TStringField(dataSet_.get());
    label->SetFieldName(QStringLiteral("label"));
    label->SetFieldKind(fkLookup);
    label->SetKeyFields(QStringLiteral("colour"));
    label->SetLookupDataSet(colours.get());
    label->SetLookupKeyFields(QStringLiteral("code"));
    label->SetLookupResultField(QStringLiteral("label"));
    label->SetDataSet(dataSet_.get());
    int calculations = 0;
    dataSet_->OnCalcFields = [&](TDataSet* ds) {
        ++calculations;
        ds->FieldByName(QStringLiteral("twice"))->SetAsFloat(ds->FieldByName(QStringLiteral("amount"))->AsFloat() * 2);
    };
    EXPECT_TRUE(dataSet_->HasPersistentFields());
    EXPECT_FALSE(dataSet_->DefaultFields());
    source_.SetDataSet(dataSet_.get());
    link_.SetDataSource(&source_);
    link_.SetBufferCount(4);
    dataSet_->Open();
    EXPECT_EQ(dataSet_->FieldCount(), 5);
    EXPECT_EQ(dataSet_->FindField(QStringLiteral("name")), nullptr);  // not persistent

    for (int row = 0; row < 4; ++row) {
        link_.SetActiveRecord(row);
        EXPECT_DOUBLE_EQ(twice->AsFloat(), (row + 1) * 1.5 * 2);
        EXPECT_EQ(label->AsString(), QStringList({"Red", "Green", "Blue"})[(row + 1) % 3]);
    }
    link_.SetActiveRecord(0);
    EXPECT_GT(calculations, 0);
    EXPECT_THROW(twice->SetAsFloat(1), EDatabaseError);  // only while calculating

    // Editing the data the calculation uses updates the calculated value.
    dataSet_->Edit();
    amount->SetAsFloat(10);
    EXPECT_DOUBLE_EQ(twice->AsFloat(), 20);
    colour->SetAsInteger(3);
    EXPECT_EQ(label->AsString(), "Blue");
    dataSet_->Cancel();

    // Persistent fields survive Close.
    dataSet_->Close();
    EXPECT_EQ(dataSet_->FieldCount(), 5);
    EXPECT_EQ(dataSet_->FindField(QStringLiteral("twice")), twice);
}

// --- Filters ---------------------------------------------------------------------------

TEST_P(DataSetBehaviour, FiltersHideRecordsFromEveryWalk)
{
    Open(20, 4);
    dataSet_->OnFilterRecord = [](TDataSet* ds, bool& accept) {
        accept = ds->FieldByName(QStringLiteral("id"))->AsInteger() % 3 == 0;
    };
    dataSet_->SetFiltered(true);
    EXPECT_EQ(link_.Take(), "Changed");
    EXPECT_EQ(Window(), "[3] 6 9 12");
    EXPECT_EQ(dataSet_->RecordCount(), 6);
    EXPECT_TRUE(dataSet_->FindNext());
    EXPECT_EQ(Id(), 6);
    dataSet_->Last();
    EXPECT_EQ(Id(), 18);
    EXPECT_FALSE(dataSet_->FindNext());
    EXPECT_TRUE(dataSet_->FindPrior());
    EXPECT_EQ(Id(), 15);
    EXPECT_FALSE(dataSet_->Locate(QStringLiteral("id"), Variant(7)));
    EXPECT_TRUE(dataSet_->Locate(QStringLiteral("id"), Variant(9)));
    EXPECT_EQ(dataSet_->RecNo(), 3);
    dataSet_->SetFiltered(false);
    EXPECT_EQ(Id(), 9);
    EXPECT_EQ(dataSet_->RecordCount(), 20);
}

// --- Sources and links ----------------------------------------------------------------

TEST_P(DataSetBehaviour, NonVisualLinksHearEventsBeforeVisualOnes)
{
    Open(10, 3);
    QStringList order;
    struct Named : RecordingLink {
        QStringList* order = nullptr;
        QString name;
        void DataSetChanged() override { *order << name; }
    };
    Named visual, plain;
    visual.order = plain.order = &order;
    visual.name = QStringLiteral("visual");
    plain.name = QStringLiteral("plain");
    visual.SetVisualControl(true);
    visual.SetDataSource(&source_);
    plain.SetDataSource(&source_);
    dataSet_->Last();
    EXPECT_EQ(order, QStringList({"plain", "visual"}));
}

TEST_P(DataSetBehaviour, SwappingTheDataSetTellsTheLinks)
{
    Open(5, 2);
    std::unique_ptr<TDataSet> other = MakeDataSet();
    other->Open();
    source_.SetDataSet(other.get());
    EXPECT_EQ(link_.Take(), "Active Active");
    EXPECT_EQ(link_.DataSet(), other.get());
    other.reset();  // freed: the source lets go
    EXPECT_EQ(source_.DataSet(), nullptr);
    EXPECT_EQ(link_.Take(), "Active");
    EXPECT_FALSE(link_.Active());
}

TEST_P(DataSetBehaviour, ARequiredFieldStopsPostAndTheFirstLinkToTakeTheFocusRequestKeepsIt)
{
    Open(3, 2);
    struct Focusing : TDataLink {
        QStringList* asked = nullptr;
        QString name;
        bool takes = false;
        void FocusControl(TField*& field) override
        {
            *asked << name + QLatin1Char(':') + field->FieldName();
            if (takes)
                field = nullptr;
        }
    };
    QStringList asked;
    Focusing editor, grid, other;
    editor.asked = grid.asked = other.asked = &asked;
    editor.name = QStringLiteral("editor");
    grid.name = QStringLiteral("grid");
    other.name = QStringLiteral("other");
    grid.takes = true;
    for (Focusing* link : {&editor, &grid, &other}) {
        link->SetVisualControl(true);
        link->SetDataSource(&source_);
    }
    TField* name = dataSet_->FieldByName(QStringLiteral("name"));
    name->SetRequired(true);
    dataSet_->Append();
    dataSet_->FieldByName(QStringLiteral("id"))->SetAsInteger(50);
    EXPECT_THROW(dataSet_->Post(), EDatabaseError);
    EXPECT_EQ(asked, QStringList({"editor:name", "grid:name"}));
    EXPECT_EQ(dataSet_->State(), dsInsert);  // nothing lost: the record waits for its name
    EXPECT_EQ(dataSet_->FieldByName(QStringLiteral("id"))->AsInteger(), 50);
    name->SetAsString(QStringLiteral("Named"));
    dataSet_->Post();
    EXPECT_EQ(dataSet_->RecordCount(), 4);
}

TEST_P(DataSetBehaviour, DisplayChangesOfAFieldReachTheLinks)
{
    Open(5, 2);
    TField* name = dataSet_->FieldByName(QStringLiteral("name"));
    name->SetDisplayLabel(QStringLiteral("Name"));
    EXPECT_EQ(link_.Take(), "Changed");
    name->SetVisible(false);
    EXPECT_EQ(link_.Take(), "Layout");
    name->SetIndex(0);
    EXPECT_EQ(link_.Take(), "Layout");
    EXPECT_EQ(dataSet_->Fields()[0], name);
}

INSTANTIATE_TEST_SUITE_P(AllDataSets, DataSetBehaviour,
                         testing::Values(Kind::Client, Kind::Query, Kind::Table, Kind::SteppedQuery,
                                         Kind::TwoRowWindowsQuery),
                         KindName);

}  // namespace
}  // namespace tk
