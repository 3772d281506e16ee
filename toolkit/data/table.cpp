#include "toolkit/data/table.h"

#include "toolkit/core/dbconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/format.h"
#include "toolkit/core/resourcestring.h"
#include "toolkit/data/sqlitesource.h"
#include "toolkit/data/sqlitesourcesyntax.h"

#include <sqlite3.h>

namespace tk {

TTable::TTable(QObject* owner) : TSqliteDataSet(owner) {}

TTable::~TTable()
{
    // Observers hear of the end while the whole table is there.
    Destroying();
}

void TTable::SetTableName(const QString& name)
{
    if (name == tableName_)
        return;
    CheckInactive();
    tableName_ = name;
}

void TTable::SetReadOnly(bool readOnly)
{
    if (readOnly == readOnly_)
        return;
    CheckInactive();
    readOnly_ = readOnly;
}

void TTable::SetIndexFieldNames(const QString& names)
{
    if (names == indexFieldNames_)
        return;
    if (Active()) {
        // Check before closing, so a wrong name leaves the table as it was.
        OrderByClause(names, Source()->ColumnNames());
        indexFieldNames_ = names;
        Reopen();
        return;
    }
    indexFieldNames_ = names;
}

QString TTable::OrderByClause(const QString& names, const QStringList& columns)
{
    QStringList terms;
    for (const QString& written : names.split(QLatin1Char(';'))) {
        const QString name = written.trimmed();
        if (name.isEmpty())
            continue;
        qsizetype found = -1;
        for (qsizetype i = 0; found < 0 && i < columns.size(); ++i)
            if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
                found = i;
        if (found < 0)
            throw EDatabaseError(Format(LoadResString(&SFieldNotFound), {Variant(name)}));
        terms.append(QuoteIdentifier(columns[found]));
    }
    return terms.isEmpty() ? QString() : QStringLiteral(" ORDER BY ") + terms.join(QStringLiteral(", "));
}

QStringList TTable::TableColumns(TDatabase* database) const
{
    sqlite3* db = database->Handle();
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT name FROM pragma_table_info(?1)", -1, &statement, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(statement);
        throw EDatabaseError(message);
    }
    const QByteArray name = tableName_.toUtf8();
    sqlite3_bind_text(statement, 1, name.constData(), name.size(), SQLITE_TRANSIENT);
    QStringList columns;
    while (sqlite3_step(statement) == SQLITE_ROW)
        columns.append(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))));
    sqlite3_finalize(statement);
    return columns;
}

std::unique_ptr<TRecordSource> TTable::CreateRecordSource()
{
    if (tableName_.isEmpty())
        throw EDatabaseError(QStringLiteral("%1: missing TableName").arg(Name()));
    TDatabase* database = OpenDatabase();
    const QStringList columns = TableColumns(database);
    if (columns.isEmpty())
        throw EDatabaseError(QStringLiteral("no such table: %1").arg(tableName_));
    auto source =
        std::make_unique<TSqliteRecordSource>(database, QStringLiteral("SELECT * FROM ") + QuoteIdentifier(tableName_) +
                                                            OrderByClause(indexFieldNames_, columns));
    source->SetReadOnly(readOnly_);
    return source;
}

}  // namespace tk
