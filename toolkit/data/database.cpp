#include "toolkit/data/database.h"

#include "toolkit/core/exceptions.h"

#include <QFileInfo>
#include <algorithm>
#include <sqlite3.h>

namespace tk {

namespace {

QString SqliteMessage(sqlite3* db, int resultCode)
{
    return QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(resultCode));
}

}  // namespace

TDatabase::TDatabase(QObject* owner) : TComponent(owner) {}

TDatabase::~TDatabase()
{
    Destroying();
    ReleaseClientStatements();
    // No events here: their handlers may belong to owners already half gone.
    if (fHandle)
        sqlite3_close_v2(fHandle);
    fHandle = nullptr;
}

void TDatabase::CheckInactive() const
{
    if (Active())
        throw EDatabaseError(QStringLiteral("Cannot perform this operation on an open database"));
}

void TDatabase::SetDatabaseName(const QString& name)
{
    if (name == fDatabaseName)
        return;
    CheckInactive();
    fDatabaseName = name;
}

void TDatabase::SetReadOnly(bool readOnly)
{
    if (readOnly == fReadOnly)
        return;
    CheckInactive();
    fReadOnly = readOnly;
}

void TDatabase::SetBusyTimeout(int milliseconds)
{
    milliseconds = std::max(milliseconds, 0);
    if (milliseconds == fBusyTimeout)
        return;
    CheckInactive();
    fBusyTimeout = milliseconds;
}

void TDatabase::SetActive(bool active)
{
    if (HasState(TComponentStateFlag::csLoading)) {
        fStreamedActive = active;
        return;
    }
    if (active == Active())
        return;
    if (active)
        Connect();
    else
        Disconnect();
}

void TDatabase::Loaded()
{
    TComponent::Loaded();
    if (fStreamedActive) {
        fStreamedActive = false;
        SetActive(true);
    }
}

void TDatabase::Connect()
{
    DoBeforeConnect();  // may still choose the file
    if (fDatabaseName.isEmpty())
        throw EDatabaseError(QStringLiteral("Database name missing"));

    // An absolute path can never be taken for an SQLite URI or for the
    // special names (":memory:", "" for a temporary database).
    const QString path = QFileInfo(fDatabaseName).absoluteFilePath();
    // The connection is used from the thread that owns this component only
    // (its clients are not guarded either), so SQLite need not lock its
    // own mutex around every step and every value read.
    const int flags = (fReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.toUtf8().constData(), &db, flags, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, fBusyTimeout);
        // SQLite reads the file lazily: a file that is not a database would
        // only fail at the first query, so ask for its schema now.
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    }
    if (rc != SQLITE_OK) {
        const QString reason = SqliteMessage(db, rc);
        sqlite3_close_v2(db);
        throw EDatabaseError(QStringLiteral("Cannot open database %1: %2").arg(fDatabaseName, reason));
    }
    fHandle = db;
    DoAfterConnect();
}

void TDatabase::Disconnect()
{
    DoBeforeDisconnect();
    ReleaseClientStatements();
    // close_v2 never fails for lack of finalized statements: the file is
    // released as soon as the last one is finalized.
    sqlite3_close_v2(fHandle);
    fHandle = nullptr;
    DoAfterDisconnect();
}

void TDatabase::AttachClient(TDatabaseClient* client)
{
    if (!fClients.contains(client))
        fClients.append(client);
}

void TDatabase::DetachClient(TDatabaseClient* client)
{
    fClients.removeAll(client);
}

void TDatabase::PrepareForWrite(TDatabaseClient* writer)
{
    // A client told may detach others (a dataset closing its source), so
    // each one is looked up again before it is told.
    const QList<TDatabaseClient*> clients = fClients;
    for (TDatabaseClient* client : clients)
        if (client != writer && fClients.contains(client))
            client->FinishReads();
}

void TDatabase::ReleaseClientStatements()
{
    const QList<TDatabaseClient*> clients = fClients;
    for (TDatabaseClient* client : clients)
        if (fClients.contains(client))
            client->ReleaseStatements();
}

void TDatabase::DoBeforeConnect()
{
    if (OnBeforeConnect)
        OnBeforeConnect(this);
}

void TDatabase::DoAfterConnect()
{
    if (OnAfterConnect)
        OnAfterConnect(this);
}

void TDatabase::DoBeforeDisconnect()
{
    if (OnBeforeDisconnect)
        OnBeforeDisconnect(this);
}

void TDatabase::DoAfterDisconnect()
{
    if (OnAfterDisconnect)
        OnAfterDisconnect(this);
}

}  // namespace tk
