#pragma once
// The database component: one connection to an SQLite file that can be
// switched off and on. Switching it off closes the file, so another process
// or a restore may replace it on disk; switching it on opens the file named
// by DatabaseName again with the same settings and sees what is there now.
// Hosts hand these components to libraries, which only flip Active.

#include "toolkit/core/component.h"

#include <QList>
#include <QString>
#include <functional>

struct sqlite3;

namespace tk {

// Something that keeps prepared statements on a database's connection (a
// record source, a dataset). The database tells its clients before the
// connection closes, and before one client writes it asks the others to
// finish their reads: SQLite leaves a SELECT that is still being stepped
// across a write on the same connection undefined.
class TDatabaseClient {
public:
    virtual ~TDatabaseClient() = default;
    // Finalize every statement now; the connection is going away.
    virtual void ReleaseStatements() = 0;
    // Complete (or reset) any read in progress; a write follows.
    virtual void FinishReads() {}
};

class TDatabase : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString DatabaseName READ DatabaseName WRITE SetDatabaseName)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(int BusyTimeout READ BusyTimeout WRITE SetBusyTimeout)
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    // The same switch under its other classic name; streamed once, as Active.
    Q_PROPERTY(bool Connected READ Connected WRITE SetConnected STORED false)
    Q_CLASSINFO("Default:ReadOnly", "False")
    Q_CLASSINFO("Default:BusyTimeout", "5000")
    Q_CLASSINFO("Default:Active", "False")

public:
    explicit TDatabase(QObject* owner = nullptr);
    ~TDatabase() override;

    // The SQLite file. Changing it (or any other setting) while active
    // raises EDatabaseError: the open connection would no longer match it.
    QString DatabaseName() const { return fDatabaseName; }
    void SetDatabaseName(const QString& name);
    // Open the file read-only instead of read-write.
    bool ReadOnly() const { return fReadOnly; }
    void SetReadOnly(bool readOnly);
    // Milliseconds to wait for another connection's lock (negatives become 0).
    int BusyTimeout() const { return fBusyTimeout; }
    void SetBusyTimeout(int milliseconds);

    bool Active() const { return fHandle != nullptr; }
    // Setting the current value does nothing. Switching on opens an existing
    // file (a missing one is never created) and checks that it is an SQLite
    // database; a failure raises EDatabaseError with SQLite's reason and
    // leaves the component inactive. While streaming in, the value is kept
    // and applied in Loaded, after DatabaseName was read.
    void SetActive(bool active);
    bool Connected() const { return Active(); }
    void SetConnected(bool connected) { SetActive(connected); }
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }

    // The open connection, nullptr while inactive. Owned by the component:
    // callers must not close it, and must finalize their statements before
    // the component is switched off (until then SQLite keeps the file open).
    sqlite3* Handle() const { return fHandle; }

    void Loaded() override;

    // Clients are told (ReleaseStatements) after OnBeforeDisconnect and
    // before the file closes, also when the database is destroyed. A client
    // may detach itself, or others, while being told.
    void AttachClient(TDatabaseClient* client);
    void DetachClient(TDatabaseClient* client);
    // Asks every client but the writer to finish its reads.
    void PrepareForWrite(TDatabaseClient* writer);

    TNotifyEvent OnBeforeConnect;
    TNotifyEvent OnAfterConnect;
    TNotifyEvent OnBeforeDisconnect;
    TNotifyEvent OnAfterDisconnect;

protected:
    virtual void DoBeforeConnect();
    virtual void DoAfterConnect();
    virtual void DoBeforeDisconnect();
    virtual void DoAfterDisconnect();

private:
    void Connect();
    void Disconnect();
    void CheckInactive() const;
    void ReleaseClientStatements();

    QString fDatabaseName;
    bool fReadOnly = false;
    int fBusyTimeout = 5000;
    bool fStreamedActive = false;
    sqlite3* fHandle = nullptr;
    QList<TDatabaseClient*> fClients;
};

}  // namespace tk
