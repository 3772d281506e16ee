#pragma once
// Running SQL text for a test's set-up, on a connection of the test's own.
// Failures throw std::runtime_error with SQLite's reason and the SQL, so a
// broken fixture cannot pass for working code.

#include <QString>

struct sqlite3;

namespace tk::test {

// Runs sql (one or more statements) on db.
void Exec(sqlite3* db, const QString& sql);
// Opens the database file at path (creating it when missing), runs sql and
// closes it again.
void ExecFile(const QString& path, const QString& sql);

}  // namespace tk::test
