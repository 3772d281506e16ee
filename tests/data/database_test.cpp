#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/core/properties.h"
#include "toolkit/core/streaming.h"
#include "toolkit/data/database.h"

#include "tests/support/temp_folder.h"

#include "tests/support/open_files.h"
#include "tests/support/sqlite_exec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <ostream>
#include <sqlite3.h>
#include <stdexcept>

namespace tk {
namespace {

using test::Exec;

// A database file holding one table "t" with the one value given.
void MakeDatabase(const QString& path, int value)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot create test database");
    Exec(db, "CREATE TABLE t(v INTEGER)");
    Exec(db, QStringLiteral("INSERT INTO t VALUES (%1)").arg(value).toUtf8().constData());
    sqlite3_close(db);
}

// The value of table "t" as the component's connection sees it.
int ReadValue(sqlite3* db)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT v FROM t", -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    const int value = sqlite3_step(statement) == SQLITE_ROW ? sqlite3_column_int(statement, 0) : -1;
    sqlite3_finalize(statement);
    return value;
}

using test::DescriptorsOn;

class DatabaseTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return folder_.File(name); }

    test::TempFolder folder_;
};

TEST_F(DatabaseTest, FileReplacedWhileInactiveIsWhatTheNextActivationSees)
{
    const QString year = Path(QStringLiteral("2026.mdb"));
    MakeDatabase(year, 1);
    MakeDatabase(Path(QStringLiteral("backup.mdb")), 2);

    TDatabase database;
    database.SetDatabaseName(year);
    database.SetActive(true);
    ASSERT_TRUE(database.Active());
    EXPECT_EQ(ReadValue(database.Handle()), 1);
    EXPECT_EQ(DescriptorsOn(year), 1);

    database.SetActive(false);
    EXPECT_FALSE(database.Active());
    EXPECT_EQ(database.Handle(), nullptr);
    EXPECT_EQ(DescriptorsOn(year), 0);

    // A restore puts the backup's file in place (a new file under the name).
    ASSERT_TRUE(CopyFile(Path(QStringLiteral("backup.mdb")), year, false));
    database.SetActive(true);
    EXPECT_EQ(ReadValue(database.Handle()), 2);
}

TEST_F(DatabaseTest, FreeingAnActiveComponentClosesItsFile)
{
    const QString file = Path(QStringLiteral("Informes.mdb"));
    MakeDatabase(file, 1);
    auto* database = new TDatabase;
    database->SetDatabaseName(file);
    database->SetActive(true);
    EXPECT_EQ(DescriptorsOn(file), 1);
    delete database;
    EXPECT_EQ(DescriptorsOn(file), 0);
}

struct BadFile {
    const char* label;
    QByteArray content;  // written as the file unless it is a folder or absent
    enum { absent, file, folder, noName } kind;
    const char* reason;  // part of SQLite's own message, or ours
};

void PrintTo(const BadFile& bad, std::ostream* os)
{
    *os << bad.label;
}

class DatabaseFailureTest : public DatabaseTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(DatabaseFailureTest, ActivationFailsCleanlyAndCreatesNothing)
{
    const BadFile& bad = GetParam();
    QString name = Path(QStringLiteral("year.mdb"));
    if (bad.kind == BadFile::file)
        folder_.Write(QStringLiteral("year.mdb"), bad.content);
    else if (bad.kind == BadFile::folder)
        ASSERT_TRUE(QDir(folder_.Path()).mkdir(QStringLiteral("year.mdb")));
    else if (bad.kind == BadFile::noName)
        name.clear();

    TDatabase database;
    database.SetDatabaseName(name);
    int connected = 0;
    database.OnAfterConnect = [&](QObject*) { ++connected; };
    try {
        database.SetActive(true);
        FAIL() << "activation succeeded";
    } catch (const EDatabaseError& error) {
        EXPECT_TRUE(error.Message().contains(QString::fromUtf8(bad.reason))) << qPrintable(error.Message());
    }
    EXPECT_FALSE(database.Active());
    EXPECT_EQ(database.Handle(), nullptr);
    EXPECT_EQ(connected, 0);
    if (bad.kind == BadFile::absent) {
        EXPECT_FALSE(QFileInfo::exists(name)) << "a missing file must not be created";
    }
    if (bad.kind == BadFile::file) {
        EXPECT_EQ(folder_.Read(QStringLiteral("year.mdb")), bad.content) << "the file must stay untouched";
        EXPECT_EQ(DescriptorsOn(name), 0);
    }

    // The component stays usable: a good file under the same name opens.
    if (bad.kind == BadFile::file || bad.kind == BadFile::absent) {
        QFile::remove(name);
        MakeDatabase(name, 7);
        database.SetActive(true);
        EXPECT_EQ(ReadValue(database.Handle()), 7);
    }
}

INSTANTIATE_TEST_SUITE_P(
    BadFiles, DatabaseFailureTest,
    ::testing::Values(BadFile{"Missing", {}, BadFile::absent, "unable to open database file"},
                      BadFile{"Garbage", QByteArray(4096, 'x'), BadFile::file, "file is not a database"},
                      BadFile{"Folder", {}, BadFile::folder, "year.mdb"},
                      BadFile{"NoName", {}, BadFile::noName, "Database name missing"}),
    [](const ::testing::TestParamInfo<BadFile>& info) { return std::string(info.param.label); });

TEST_F(DatabaseTest, ActiveAndConnectedAreOneSwitchByName)
{
    const QString file = Path(QStringLiteral("a.mdb"));
    MakeDatabase(file, 1);
    TDatabase database;
    SetPropText(&database, QStringLiteral("databasename"), file);

    QStringList events;
    database.OnBeforeConnect = [&](QObject* sender) {
        EXPECT_EQ(sender, &database);
        events << QStringLiteral("before connect");
    };
    database.OnAfterConnect = [&](QObject*) { events << QStringLiteral("after connect"); };
    database.OnBeforeDisconnect = [&](QObject*) {
        EXPECT_TRUE(database.Active()) << "still open before disconnecting";
        events << QStringLiteral("before disconnect");
    };
    database.OnAfterDisconnect = [&](QObject*) { events << QStringLiteral("after disconnect"); };

    SetPropText(&database, QStringLiteral("Active"), QStringLiteral("True"));
    EXPECT_EQ(GetPropText(&database, QStringLiteral("Connected")), QStringLiteral("True"));
    sqlite3* handle = database.Handle();

    // Setting the value it has is no reconnection.
    SetPropText(&database, QStringLiteral("CONNECTED"), QStringLiteral("true"));
    SetPropValue(&database, QStringLiteral("Active"), true);
    EXPECT_EQ(database.Handle(), handle);

    SetPropText(&database, QStringLiteral("Connected"), QStringLiteral("False"));
    EXPECT_EQ(GetPropText(&database, QStringLiteral("Active")), QStringLiteral("False"));
    database.SetActive(false);
    EXPECT_EQ(events,
              (QStringList{"before connect", "after connect", "before disconnect", "after disconnect"}));
}

TEST_F(DatabaseTest, SettingsHoldAcrossReconnectionsAndCannotChangeWhileOpen)
{
    const QString file = Path(QStringLiteral("a.mdb"));
    MakeDatabase(file, 1);
    TDatabase database;
    database.SetDatabaseName(file);
    database.SetReadOnly(true);
    database.SetActive(true);

    EXPECT_THROW(database.SetDatabaseName(Path(QStringLiteral("b.mdb"))), EDatabaseError);
    EXPECT_THROW(database.SetReadOnly(false), EDatabaseError);
    EXPECT_EQ(database.DatabaseName(), file);
    EXPECT_TRUE(database.ReadOnly());
    database.SetDatabaseName(file);  // the same name is no change

    for (int round = 0; round < 2; ++round) {
        EXPECT_THROW(Exec(database.Handle(), "UPDATE t SET v = 2"), std::runtime_error) << "round " << round;
        database.SetActive(false);
        database.SetActive(true);
    }
    EXPECT_EQ(ReadValue(database.Handle()), 1);
}

TEST_F(DatabaseTest, StreamsAsActiveAndOpensOnlyOnceItsFileIsKnown)
{
    const QString file = Path(QStringLiteral("streamed.mdb"));
    MakeDatabase(file, 4);
    TDatabase source;
    source.setObjectName(QStringLiteral("Database1"));
    source.SetDatabaseName(file);
    source.SetActive(true);
    const QString text = ObjectToText(&source);
    EXPECT_TRUE(text.contains(QStringLiteral("Active = True"))) << qPrintable(text);
    EXPECT_FALSE(text.contains(QStringLiteral("Connected"))) << qPrintable(text);
    source.SetActive(false);

    // Active comes before DatabaseName in the text.
    const QString reordered =
        QStringLiteral("object Database1: TDatabase\n  Active = True\n  DatabaseName = '%1'\nend\n")
            .arg(file);
    TDatabase target;
    ObjectFromText(&target, reordered);
    ASSERT_TRUE(target.Active());
    EXPECT_EQ(ReadValue(target.Handle()), 4);
}

}  // namespace
}  // namespace tk
