#pragma once
// A database file in a test's temporary folder, written through a
// connection of the test's own, and a TDatabase open on it.

#include "toolkit/data/database.h"

#include "tests/support/sqlite_exec.h"
#include "tests/support/temp_folder.h"

#include <QString>
#include <QStringList>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdexcept>
#include <string>

namespace tk::test {

class SqliteFixture : public ::testing::Test {
protected:
    SqliteFixture()
    {
        path_ = folder_.File(QStringLiteral("data.db"));
        if (sqlite3_open(path_.toUtf8().constData(), &own_) != SQLITE_OK)
            throw std::runtime_error("cannot create test database");
    }
    ~SqliteFixture() override
    {
        database_.Close();
        sqlite3_close(own_);
    }

    // Runs SQL on the test's own connection; a failure throws so that a
    // broken fixture cannot pass for working code.
    void Exec(const QString& sql) const { tk::test::Exec(own_, sql); }

    // The first column of the first row as text ("<null>" for NULL,
    // "<none>" without rows), read through the test's own connection.
    QString Scalar(const QString& sql) const
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(own_, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(own_));
        QString value = QStringLiteral("<none>");
        if (sqlite3_step(statement) == SQLITE_ROW)
            value = sqlite3_column_type(statement, 0) == SQLITE_NULL
                        ? QStringLiteral("<null>")
                        : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return value;
    }

    // The first column of every row as text, joined by blanks ("3 1 2"),
    // read through the test's own connection.
    QString FirstColumn(const QString& sql) const
    {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(own_, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(own_));
        QStringList values;
        while (sqlite3_step(statement) == SQLITE_ROW)
            values.append(
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
        sqlite3_finalize(statement);
        return values.join(QLatin1Char(' '));
    }

    // Table "people" with rows 1..count: name "P<n>", amount n * 1.5.
    void MakePeople(int count) const
    {
        Exec(QStringLiteral("CREATE TABLE people(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE, "
                            "amount REAL DEFAULT 7.5, born DATE)"));
        Exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                            "INSERT INTO people(id, name, amount) SELECT i, 'P' || i, i * 1.5 FROM n")
                 .arg(count));
    }

    TDatabase& OpenDatabase(bool readOnly = false)
    {
        database_.Close();
        database_.SetDatabaseName(path_);
        database_.SetReadOnly(readOnly);
        database_.SetBusyTimeout(0);
        database_.Open();
        return database_;
    }

    TempFolder folder_;
    QString path_;
    sqlite3* own_ = nullptr;
    TDatabase database_;
};

}  // namespace tk::test
