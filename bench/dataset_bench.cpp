// Reading a 1,000,000-row SQLite table: our record source (and the
// datasets on it) against Qt's QSqlQueryModel on the same file, in the same
// run. Three cases each: open and read the first 40 rows (what a grid shows
// first), go to the end and read the last 40, walk every row.
//
// The source cases run twice: /0 reads rows by rowid in windows (what
// TTable and TQuery do), /1 steps the SELECT into memory as every source
// did before windows.
//
// Counters: "heldMB" is the resident memory the case's rows still hold at
// its end (VmRSS after minus before, the reader still alive); the process's
// peak (VmHWM) is printed when the run ends.
#include "toolkit/data/database.h"
#include "toolkit/data/field.h"
#include "toolkit/data/sqlitesource.h"
#include "toolkit/data/table.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTemporaryDir>
#include <QVariant>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <sqlite3.h>
#include <stdexcept>

namespace {

constexpr int kRows = 1000000;
constexpr int kScreen = 40;
constexpr int kColumns = 5;
const QString kSql = QStringLiteral("SELECT id, name, amount, born, flag FROM big");

// A /proc/self/status value in kB ("VmRSS", "VmHWM").
long StatusKb(const char* key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(static_cast<int>(qstrlen(key)) + 1).trimmed().split(' ').first().toLong();
    return 0;
}

// The fixture file, made once per run.
class BigTable {
public:
    static BigTable& Instance()
    {
        static BigTable table;
        return table;
    }
    QString Path() const { return dir_.filePath(QStringLiteral("big.db")); }

private:
    BigTable()
    {
        sqlite3* db = nullptr;
        if (sqlite3_open(Path().toUtf8().constData(), &db) != SQLITE_OK)
            throw std::runtime_error("cannot create the benchmark database");
        const char* sql =
            "CREATE TABLE big(id INTEGER PRIMARY KEY, name TEXT, amount REAL, born DATE, flag BOOLEAN);"
            "BEGIN;"
            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 1000000) "
            "INSERT INTO big SELECT i, 'Customer number ' || i, i * 0.25, "
            "date('1940-01-01', '+' || (i % 25000) || ' days'), i % 2 FROM n;"
            "COMMIT;";
        char* error = nullptr;
        if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK)
            throw std::runtime_error(error ? error : "cannot fill the benchmark database");
        sqlite3_close(db);
    }
    QTemporaryDir dir_;
};

// --- Ours: the record source ---------------------------------------------------

class OursFixture {
public:
    OursFixture()
    {
        database_.SetDatabaseName(BigTable::Instance().Path());
        database_.Open();
    }
    tk::TDatabase& Database() { return database_; }

private:
    tk::TDatabase database_;
};

void ReadRow(tk::TSqliteRecordSource& source, qint64 row)
{
    for (int column = 0; column < kColumns; ++column)
        benchmark::DoNotOptimize(source.Value(row, column));
}

// The fetching a source case's argument names.
tk::TRowFetching Fetching(benchmark::State& state)
{
    const bool stepping = state.range(0) != 0;
    state.SetLabel(stepping ? "stepping" : "windows");
    return stepping ? tk::TRowFetching::Stepping : tk::TRowFetching::Windows;
}

void BM_Source_OpenFirst40(benchmark::State& state)
{
    OursFixture fixture;
    const tk::TRowFetching fetching = Fetching(state);
    for (auto _ : state) {
        tk::TSqliteRecordSource source(&fixture.Database(), kSql, {}, fetching);
        for (qint64 row = 0; row < kScreen && source.HasRow(row); ++row)
            ReadRow(source, row);
    }
}
BENCHMARK(BM_Source_OpenFirst40)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The exact row count (Qt's rowCount only counts what it fetched so far).
void BM_Source_OpenRowCount(benchmark::State& state)
{
    OursFixture fixture;
    const tk::TRowFetching fetching = Fetching(state);
    for (auto _ : state) {
        tk::TSqliteRecordSource source(&fixture.Database(), kSql, {}, fetching);
        benchmark::DoNotOptimize(source.RowCount());
    }
}
BENCHMARK(BM_Source_OpenRowCount)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Source_LastThen40(benchmark::State& state)
{
    OursFixture fixture;
    const tk::TRowFetching fetching = Fetching(state);
    for (auto _ : state) {
        const long before = StatusKb("VmRSS:");
        tk::TSqliteRecordSource source(&fixture.Database(), kSql, {}, fetching);
        source.FetchAll();
        const qint64 count = source.FetchedRowCount();
        for (qint64 row = count - kScreen; row < count; ++row)
            ReadRow(source, row);
        state.counters["heldMB"] = (StatusKb("VmRSS:") - before) / 1024.0;
        state.counters["storeMB"] = source.MemoryUsage() / 1048576.0;
    }
}
BENCHMARK(BM_Source_LastThen40)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Source_Walk(benchmark::State& state)
{
    OursFixture fixture;
    const tk::TRowFetching fetching = Fetching(state);
    for (auto _ : state) {
        tk::TSqliteRecordSource source(&fixture.Database(), kSql, {}, fetching);
        for (qint64 row = 0; source.HasRow(row); ++row)
            ReadRow(source, row);
        state.counters["storeMB"] = source.MemoryUsage() / 1048576.0;
    }
}
BENCHMARK(BM_Source_Walk)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// --- Ours: TTable (the dataset on the source) ----------------------------------

void ReadRecord(tk::TDataSet& dataSet)
{
    for (int field = 0; field < kColumns; ++field)
        benchmark::DoNotOptimize(dataSet.Fields()[field]->Value());
}

class TableFixture : public OursFixture {
public:
    TableFixture()
    {
        table_.SetDatabase(&Database());
        table_.SetTableName(QStringLiteral("big"));
    }
    tk::TTable& Table() { return table_; }

private:
    tk::TTable table_;
};

void BM_Table_OpenFirst40(benchmark::State& state)
{
    TableFixture fixture;
    tk::TTable& table = fixture.Table();
    for (auto _ : state) {
        table.Open();
        for (int row = 0; row < kScreen && !table.Eof(); ++row) {
            ReadRecord(table);
            table.Next();
        }
        table.Close();
    }
}
BENCHMARK(BM_Table_OpenFirst40)->Unit(benchmark::kMillisecond);

void BM_Table_LastThen40(benchmark::State& state)
{
    TableFixture fixture;
    tk::TTable& table = fixture.Table();
    for (auto _ : state) {
        const long before = StatusKb("VmRSS:");
        table.Open();
        table.Last();
        for (int row = 0; row < kScreen && !table.Bof(); ++row) {
            ReadRecord(table);
            table.Prior();
        }
        state.counters["heldMB"] = (StatusKb("VmRSS:") - before) / 1024.0;
        table.Close();
    }
}
BENCHMARK(BM_Table_LastThen40)->Unit(benchmark::kMillisecond);

void BM_Table_Walk(benchmark::State& state)
{
    TableFixture fixture;
    tk::TTable& table = fixture.Table();
    for (auto _ : state) {
        table.Open();
        for (; !table.Eof(); table.Next())
            ReadRecord(table);
        table.Close();
    }
}
BENCHMARK(BM_Table_Walk)->Unit(benchmark::kMillisecond);

void BM_Table_WalkMoveBy(benchmark::State& state)
{
    TableFixture fixture;
    tk::TTable& table = fixture.Table();
    for (auto _ : state) {
        table.Open();
        do
            ReadRecord(table);
        while (table.MoveBy(1) == 1);
        table.Close();
    }
}
BENCHMARK(BM_Table_WalkMoveBy)->Unit(benchmark::kMillisecond);

// --- Theirs: QSqlQueryModel ----------------------------------------------------

class QtFixture {
public:
    QtFixture()
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench"));
        db.setDatabaseName(BigTable::Instance().Path());
        if (!db.open())
            throw std::runtime_error("Qt cannot open the benchmark database");
    }
    ~QtFixture() { QSqlDatabase::removeDatabase(QStringLiteral("bench")); }
    QSqlDatabase Database() const { return QSqlDatabase::database(QStringLiteral("bench")); }
};

void ReadRow(QSqlQueryModel& model, int row)
{
    for (int column = 0; column < kColumns; ++column)
        benchmark::DoNotOptimize(model.data(model.index(row, column)));
}

void BM_QtModel_OpenFirst40(benchmark::State& state)
{
    QtFixture fixture;
    for (auto _ : state) {
        QSqlQueryModel model;
        model.setQuery(QSqlQuery(kSql, fixture.Database()));
        benchmark::DoNotOptimize(model.rowCount());
        for (int row = 0; row < kScreen && row < model.rowCount(); ++row)
            ReadRow(model, row);
    }
}
BENCHMARK(BM_QtModel_OpenFirst40)->Unit(benchmark::kMillisecond);

void BM_QtModel_LastThen40(benchmark::State& state)
{
    QtFixture fixture;
    for (auto _ : state) {
        const long before = StatusKb("VmRSS:");
        QSqlQueryModel model;
        model.setQuery(QSqlQuery(kSql, fixture.Database()));
        while (model.canFetchMore())
            model.fetchMore();
        const int count = model.rowCount();
        for (int row = count - kScreen; row < count; ++row)
            ReadRow(model, row);
        state.counters["heldMB"] = (StatusKb("VmRSS:") - before) / 1024.0;
    }
}
BENCHMARK(BM_QtModel_LastThen40)->Unit(benchmark::kMillisecond);

void BM_QtModel_Walk(benchmark::State& state)
{
    QtFixture fixture;
    for (auto _ : state) {
        QSqlQueryModel model;
        model.setQuery(QSqlQuery(kSql, fixture.Database()));
        for (int row = 0;; ++row) {
            if (row >= model.rowCount()) {
                if (!model.canFetchMore())
                    break;
                model.fetchMore();
            }
            ReadRow(model, row);
        }
    }
}
BENCHMARK(BM_QtModel_Walk)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    BigTable::Instance();
    std::printf("rows: %d; VmHWM after making the table: %ld kB\n", kRows, StatusKb("VmHWM:"));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("VmHWM at the end: %ld kB\n", StatusKb("VmHWM:"));
    return 0;
}
