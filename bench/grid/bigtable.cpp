#include "bench/grid/bigtable.h"

#include <QTemporaryDir>
#include <cstdio>
#include <sqlite3.h>
#include <stdexcept>
#include <string>

namespace gridbench {
namespace {

const char* const kColumnNames[kBigTableColumns] = {"id", "name", "city", "note", "amount", "day", "flag"};
const char* const kCities[] = {"Alicante", "Burgos", "Cáceres", "Donostia", "Elche", "Ferrol", "Girona"};

void Check(sqlite3* db, int result, const char* what)
{
    if (result != SQLITE_OK && result != SQLITE_DONE)
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
}

void Execute(sqlite3* db, const char* sql)
{
    Check(db, sqlite3_exec(db, sql, nullptr, nullptr, nullptr), sql);
}

// Rows with varied texts and dates, so that cells are not all alike.
void Fill(sqlite3* db)
{
    Execute(db,
            "CREATE TABLE t(id INTEGER PRIMARY KEY, name TEXT, city TEXT, note TEXT, amount REAL, day DATE, "
            "flag INTEGER)");
    Execute(db, "BEGIN");
    sqlite3_stmt* insert = nullptr;
    Check(db, sqlite3_prepare_v2(db, "INSERT INTO t VALUES(?, ?, ?, ?, ?, ?, ?)", -1, &insert, nullptr),
          "prepare the insert");
    char text[64];
    for (int id = 1; id <= kBigTableRows; ++id) {
        sqlite3_bind_int(insert, 1, id);
        const int nameLength = std::snprintf(text, sizeof text, "Customer number %d", id);
        sqlite3_bind_text(insert, 2, text, nameLength, SQLITE_TRANSIENT);
        sqlite3_bind_text(insert, 3, kCities[id % 7], -1, SQLITE_STATIC);
        const int noteLength =
            std::snprintf(text, sizeof text, "Receipt %d of lot %d", id % 12 + 1, id / 100);
        sqlite3_bind_text(insert, 4, text, noteLength, SQLITE_TRANSIENT);
        sqlite3_bind_double(insert, 5, id * 0.25);
        const int dayLength =
            std::snprintf(text, sizeof text, "%04d-%02d-%02d", 1990 + id % 35, id % 12 + 1, id % 28 + 1);
        sqlite3_bind_text(insert, 6, text, dayLength, SQLITE_TRANSIENT);
        sqlite3_bind_int(insert, 7, id % 2);
        Check(db, sqlite3_step(insert), "insert a row");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Execute(db, "COMMIT");
}

class BigTable {
public:
    BigTable()
    {
        if (!dir_.isValid())
            throw std::runtime_error("cannot make the benchmark's temporary folder");
        sqlite3* db = nullptr;
        const int opened = sqlite3_open(Path().toUtf8().constData(), &db);
        try {
            Check(db, opened, "open the benchmark database");
            Fill(db);
        } catch (...) {
            sqlite3_close(db);
            throw;
        }
        sqlite3_close(db);
    }
    QString Path() const { return dir_.filePath(QStringLiteral("grid.db")); }

private:
    QTemporaryDir dir_;
};

}  // namespace

QString BigTablePath()
{
    static const BigTable table;
    return table.Path();
}

QString BigTableColumn(int index)
{
    return QString::fromLatin1(kColumnNames[index]);
}

}  // namespace gridbench
