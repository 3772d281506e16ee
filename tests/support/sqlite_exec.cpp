#include "tests/support/sqlite_exec.h"

#include <sqlite3.h>
#include <stdexcept>
#include <string>

namespace tk::test {

void Exec(sqlite3* db, const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error ? error : "sqlite error";
        sqlite3_free(error);
        throw std::runtime_error(message + " in " + sql.toStdString());
    }
}

void ExecFile(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("cannot open test database " + path.toStdString());
    }
    try {
        Exec(db, sql);
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

}  // namespace tk::test
