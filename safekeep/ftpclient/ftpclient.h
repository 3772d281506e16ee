#pragma once
// The FTP client component the backup window sends, lists and fetches
// archives with. One control connection serves a whole flow: Connect logs
// in, Put, List and Get reuse that connection, Disconnect closes it.
//
// Every call blocks its caller but not the application: libcurl works on a
// helper thread while the calling thread keeps handling the application's
// events (painting, input, timers) every few tens of milliseconds; the work
// events fire there too. A call made while another one runs (from an event
// handler) raises EFtpError; Disconnect made then cancels the running call.
//
// Failures raise EFtpError with libcurl's error text. A call refused before
// it reached the network (busy, not connected, a bad name, a missing local
// file) changes nothing; any later failure closes the connection. Transfers
// never leave a partial file under a real name: Put uploads to
// "<name>.part" and renames it when complete, Get writes a temporary file
// beside the target and renames it when complete.

#include "safekeep/ftpclient/ftperror.h"
#include "safekeep/ftpclient/ftplistitem.h"
#include "safekeep/ftpclient/ftplistparser.h"
#include "toolkit/core/component.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <curl/curl.h>
#include <exception>
#include <functional>
#include <memory>

namespace safekeep {

class TCurlSession;

class TFtpClient : public tk::TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Host READ Host WRITE SetHost)
    Q_PROPERTY(int Port READ Port WRITE SetPort)
    Q_PROPERTY(QString Username READ Username WRITE SetUsername)
    Q_PROPERTY(QString Password READ Password WRITE SetPassword)
    Q_PROPERTY(bool Passive READ Passive WRITE SetPassive)
    Q_PROPERTY(int ConnectTimeout READ ConnectTimeout WRITE SetConnectTimeout)
    Q_PROPERTY(int ReadTimeout READ ReadTimeout WRITE SetReadTimeout)
    Q_CLASSINFO("Default:Port", "21")
    Q_CLASSINFO("Default:Passive", "True")
    Q_CLASSINFO("Default:ConnectTimeout", "5000")
    Q_CLASSINFO("Default:ReadTimeout", "30000")

public:
    enum TWorkMode { wmRead, wmWrite };
    Q_ENUM(TWorkMode)

    explicit TFtpClient(QObject* owner = nullptr);
    ~TFtpClient() override;

    QString Host() const { return host_; }
    void SetHost(const QString& host) { host_ = host; }
    int Port() const { return port_; }
    void SetPort(int port) { port_ = port; }
    QString Username() const { return username_; }
    void SetUsername(const QString& username) { username_ = username; }
    QString Password() const { return password_; }
    void SetPassword(const QString& password) { password_ = password; }
    // Passive data connections (the client connects to the server); off,
    // the server connects back to the client.
    bool Passive() const { return passive_; }
    void SetPassive(bool passive) { passive_ = passive; }
    // Milliseconds to reach the server and read its greeting.
    int ConnectTimeout() const { return connectTimeoutMs_; }
    void SetConnectTimeout(int milliseconds) { connectTimeoutMs_ = milliseconds; }
    // Milliseconds the server may stay silent: no reply to a command, or no
    // byte moving during a transfer. Counted in whole seconds.
    int ReadTimeout() const { return readTimeoutMs_; }
    void SetReadTimeout(int milliseconds) { readTimeoutMs_ = milliseconds; }

    // Logs in with Host, Port, Username and Password (closing an earlier
    // connection first) and learns whether the server lists with MLSD.
    void Connect();
    bool Connected() const { return connected_; }
    // Uploads localFile as remoteName in the login directory, replacing a
    // file of that name once the whole file arrived.
    void Put(const QString& localFile, const QString& remoteName);
    // Lists the login directory into DirectoryListing(): with details, by
    // MLSD when the server offers it, else by LIST; without, names only.
    void List(bool details = true);
    const QList<TFtpListItem>& DirectoryListing() const { return listing_; }
    // Downloads remoteName to localFile. Without overwrite an existing
    // localFile makes the call fail before anything is transferred.
    void Get(const QString& remoteName, const QString& localFile, bool overwrite);
    // Closes the connection; safe at any time. During a running call it
    // cancels that call, which then raises and closes the connection.
    void Disconnect();
    // True while a call runs (its caller is waiting further down the stack).
    bool Busy() const { return busy_; }

    // Progress of Put and Get, in bytes: WorkBegin with the size (0 when the
    // server did not tell it), Work as bytes move (at most every few tens of
    // milliseconds, and once with the final count), WorkEnd when the
    // transfer ended, also when it failed. An exception from a handler
    // cancels the transfer and leaves the call.
    std::function<void(QObject* sender, TWorkMode mode, qint64 maximum)> OnWorkBegin;
    std::function<void(QObject* sender, TWorkMode mode, qint64 count)> OnWork;
    std::function<void(QObject* sender, TWorkMode mode)> OnWorkEnd;

protected:
    virtual void DoWorkBegin(TWorkMode mode, qint64 maximum);
    virtual void DoWork(TWorkMode mode, qint64 count);
    virtual void DoWorkEnd(TWorkMode mode);

private:
    class TBusyScope;
    struct TTransfer;

    void RequireIdle() const;
    void RequireConnected() const;
    QByteArray Url(const QString& remoteName = QString()) const;
    // Starts a request on remoteName (the login directory when empty) with
    // the account, the timeouts and the data connection mode set.
    CURL* PrepareRequest(const QString& remoteName = QString());
    // Runs the prepared request with the application's events handled
    // meanwhile and the transfer's progress reported. Cancellation and
    // exceptions from event handlers close the connection and propagate.
    CURLcode Perform(TTransfer* transfer);
    CURLcode FetchListing(TListingFormat format, QByteArray& body);
    // Sends commands (RNFR, DELE...) with no transfer.
    CURLcode SendCommands(const QList<QByteArray>& commands);
    // Removes what a broken upload left, as far as the server lets us, and
    // closes the connection.
    void DeleteRemoteQuietly(const QString& remoteName);
    void BeginWork(TTransfer& transfer, qint64 maximum);
    void ReportProgress(TTransfer& transfer, bool finished);
    void EndWork(TTransfer& transfer);
    // Closes the connection and raises.
    [[noreturn]] void Fail(const QString& message);
    void CloseSession();

    QString host_;
    int port_ = 21;
    QString username_;
    QString password_;
    bool passive_ = true;
    int connectTimeoutMs_ = 5000;
    int readTimeoutMs_ = 30000;

    std::unique_ptr<TCurlSession> session_;
    bool connected_ = false;
    bool offersMlsd_ = false;
    bool busy_ = false;
    bool cancelRequested_ = false;
    QList<TFtpListItem> listing_;
};

}  // namespace safekeep
