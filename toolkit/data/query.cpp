#include "toolkit/data/query.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/data/sqlitesource.h"
#include "toolkit/data/sqlitesourcesyntax.h"

#include <sqlite3.h>

namespace tk {

TQuery::TQuery(QObject* owner)
    : TSqliteDataSet(owner), sql_(new TStringList(this)), params_(new TParams(this))
{
    sql_->OnChange = [this](TStrings*) { SqlChanged(); };
}

TQuery::~TQuery()
{
    // Observers hear of the end while the whole query is there.
    Destroying();
    // The list outlives this part of the query; a change now must not reopen.
    sql_->OnChange = nullptr;
}

void TQuery::SetSQL(TStrings* lines)
{
    sql_->Assign(lines);
}

void TQuery::SqlChanged()
{
    params_->ParseSQL(sql_->Text());
    Reopen();
}

void TQuery::SetUniDirectional(bool on)
{
    CheckInactive();
    uniDirectional_ = on;
}

std::unique_ptr<TRecordSource> TQuery::CreateRecordSource()
{
    // A forward-only query reads each row once: stepping serves it best.
    return std::make_unique<TSqliteRecordSource>(OpenDatabase(), sql_->Text(), params_->Values(),
                                                 uniDirectional_ ? TRowFetching::Stepping : TRowFetching::Windows);
}

int TQuery::ExecSQL()
{
    TDatabase* database = OpenDatabase();
    const QString sql = TrimSqlStatement(sql_->Text());
    if (sql.isEmpty())
        throw EDatabaseError(QStringLiteral("No SQL statement to run"));
    sqlite3* db = database->Handle();
    const QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, utf8.constData(), utf8.size(), &statement, &tail) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_finalize(statement);
        throw EDatabaseError(message);
    }
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> guard(statement, sqlite3_finalize);
    if (!TrimSqlStatement(QString::fromUtf8(tail)).isEmpty())
        throw EDatabaseError(QStringLiteral("ExecSQL runs one SQL statement at a time"));
    CheckParametersNamed(statement);
    BindNamedParameters(statement, params_->Values());

    if (!sqlite3_stmt_readonly(statement))
        database->PrepareForWrite(nullptr);
    int rc = SQLITE_ROW;
    while (rc == SQLITE_ROW)
        rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE)
        throw EDatabaseError(QString::fromUtf8(sqlite3_errmsg(db)));
    return sqlite3_changes(db);
}

}  // namespace tk
