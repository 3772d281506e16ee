#include "safekeep/ftpclient/ftpclient.h"

#include "safekeep/ftpclient/curlsession.h"
#include "safekeep/ftpclient/downloadfile.h"
#include "safekeep/ftpclient/ftpfeatures.h"
#include "safekeep/ftpclient/ftplistparser.h"
#include "toolkit/core/fileutils.h"

#include <QDateTime>
#include <QFile>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>

namespace safekeep {

namespace {

size_t AppendToBytes(char* data, size_t size, size_t count, void* bytes)
{
    static_cast<QByteArray*>(bytes)->append(data, static_cast<qsizetype>(size * count));
    return size * count;
}

size_t WriteToDownload(char* data, size_t size, size_t count, void* file)
{
    return static_cast<TDownloadFile*>(file)->Write(data, size * count) ? size * count : 0;
}

// Remote names are plain names in the login directory. They travel inside
// commands (RNFR, RNTO, DELE), so a line break would smuggle in a command.
void CheckRemoteName(const QString& name)
{
    const bool plain = !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\r'))
        && !name.contains(QLatin1Char('\n')) && !name.contains(QChar(u'\0'));
    if (!plain)
        throw EFtpError(QStringLiteral("Invalid remote file name: \"%1\"").arg(name));
}

long WholeSeconds(int milliseconds)
{
    return std::max(1L, (static_cast<long>(milliseconds) + 999) / 1000);
}

}  // namespace

// Progress bookkeeping of one Put or Get.
struct TFtpClient::TTransfer {
    TWorkMode mode;
    bool begun = false;
    qint64 reported = 0;
};

// Marks the client busy for the length of one call, so that a call made
// from an event handler while this one waits raises instead of entering
// libcurl again. A Disconnect that arrived meanwhile is carried out at the
// end.
class TFtpClient::TBusyScope {
public:
    explicit TBusyScope(TFtpClient& client) : client_(client)
    {
        client_.RequireIdle();
        client_.busy_ = true;
        client_.cancelRequested_ = false;
    }
    ~TBusyScope()
    {
        client_.busy_ = false;
        if (client_.cancelRequested_) {
            client_.cancelRequested_ = false;
            client_.CloseSession();
        }
    }
    TBusyScope(const TBusyScope&) = delete;
    TBusyScope& operator=(const TBusyScope&) = delete;

private:
    TFtpClient& client_;
};

TFtpClient::TFtpClient(QObject* owner) : tk::TComponent(owner), session_(std::make_unique<TCurlSession>())
{
}

TFtpClient::~TFtpClient()
{
    Destroying();
    // Freed from an event handler while one of its own calls waits, the
    // call would resume on a dead object; stop loudly instead.
    if (busy_)
        qFatal("TFtpClient destroyed while one of its calls runs");
    // No event handling while the object dies.
    session_->Close(false);
    connected_ = false;
}

void TFtpClient::Connect()
{
    TBusyScope busy(*this);
    if (host_.trimmed().isEmpty())
        throw EFtpError(QStringLiteral("No host to connect to"));
    CloseSession();

    // A request without a transfer on the login directory: USER, PASS, PWD,
    // then FEAT (whose failure is ignored, "*") to learn about MLSD.
    QByteArray replies;
    TCurlList commands;
    commands.Append("*FEAT");
    CURL* handle = PrepareRequest();
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(handle, CURLOPT_QUOTE, commands.Get());
    curl_easy_setopt(handle, CURLOPT_HEADERFUNCTION, AppendToBytes);
    curl_easy_setopt(handle, CURLOPT_HEADERDATA, &replies);
    const CURLcode code = Perform(nullptr);
    if (code != CURLE_OK)
        Fail(session_->ErrorText(code));
    offersMlsd_ = OffersMlsd(replies);
    connected_ = true;
}

void TFtpClient::Put(const QString& localFile, const QString& remoteName)
{
    TBusyScope busy(*this);
    RequireConnected();
    CheckRemoteName(remoteName);
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(QFile::encodeName(localFile).constData(), "rb"), &std::fclose);
    struct stat info {};
    int error = 0;
    if (!file || ::fstat(fileno(file.get()), &info) != 0)
        error = errno;
    else if (!S_ISREG(info.st_mode))
        error = EISDIR;
    if (error != 0)
        throw EFtpError(QStringLiteral("Cannot read %1: %2").arg(localFile, tk::SysErrorMessage(error)));

    // The file goes up under a temporary name and takes the real one only
    // when it arrived whole.
    const QString partName = remoteName + QStringLiteral(".part");
    TTransfer transfer{wmWrite};
    BeginWork(transfer, info.st_size);
    CURLcode code = CURLE_OK;
    try {
        CURL* handle = PrepareRequest(partName);
        curl_easy_setopt(handle, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(handle, CURLOPT_READDATA, file.get());
        curl_easy_setopt(handle, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(info.st_size));
        code = Perform(&transfer);
        if (code == CURLE_OK) {
            ReportProgress(transfer, true);
            code = SendCommands({"RNFR " + partName.toUtf8(), "RNTO " + remoteName.toUtf8()});
        }
    } catch (...) {
        // Cancelled, or a progress handler raised: the server is fine.
        DeleteRemoteQuietly(partName);
        EndWork(transfer);
        throw;
    }
    if (code != CURLE_OK) {
        const QString message = session_->ErrorText(code);
        // A silent server would only make the clean-up wait as long again.
        if (code != CURLE_OPERATION_TIMEDOUT)
            DeleteRemoteQuietly(partName);
        CloseSession();
        EndWork(transfer);
        throw EFtpError(message);
    }
    EndWork(transfer);
}

void TFtpClient::List(bool details)
{
    TBusyScope busy(*this);
    RequireConnected();
    listing_.clear();
    const QDateTime now = QDateTime::currentDateTime();
    TListingFormat format = !details ? TListingFormat::NamesOnly
        : offersMlsd_                ? TListingFormat::Mlsd
                                     : TListingFormat::List;
    QByteArray body;
    CURLcode code = FetchListing(format, body);
    const long reply = session_->ResponseCode();
    if (code != CURLE_OK && format == TListingFormat::Mlsd && reply >= 500 && reply <= 502) {
        // Offered but refused ("command not understood"): list the old way.
        offersMlsd_ = false;
        format = TListingFormat::List;
        body.clear();
        code = FetchListing(format, body);
    }
    if (code != CURLE_OK)
        Fail(session_->ErrorText(code));
    listing_ = ParseListing(body, format, now);
}

void TFtpClient::Get(const QString& remoteName, const QString& localFile, bool overwrite)
{
    TBusyScope busy(*this);
    RequireConnected();
    CheckRemoteName(remoteName);
    if (!overwrite && QFile::exists(localFile))
        throw EFtpError(QStringLiteral("Cannot download %1: %2 already exists").arg(remoteName, localFile));

    TDownloadFile file(localFile);
    TTransfer transfer{wmRead};
    try {
        CURL* handle = PrepareRequest(remoteName);
        curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, WriteToDownload);
        curl_easy_setopt(handle, CURLOPT_WRITEDATA, &file);
        const CURLcode code = Perform(&transfer);
        if (code != CURLE_OK)
            throw EFtpError(code == CURLE_WRITE_ERROR ? file.WriteError() : session_->ErrorText(code));
        ReportProgress(transfer, true);
        file.Commit(overwrite);
    } catch (...) {
        // The temporary file goes with `file`; the target was never touched.
        CloseSession();
        EndWork(transfer);
        throw;
    }
    EndWork(transfer);
}

void TFtpClient::Disconnect()
{
    // The running call owns the handles until it returns.
    if (busy_) {
        cancelRequested_ = true;
        return;
    }
    TBusyScope busy(*this);
    CloseSession();
}

void TFtpClient::DoWorkBegin(TWorkMode mode, qint64 maximum)
{
    if (OnWorkBegin)
        OnWorkBegin(this, mode, maximum);
}

void TFtpClient::DoWork(TWorkMode mode, qint64 count)
{
    if (OnWork)
        OnWork(this, mode, count);
}

void TFtpClient::DoWorkEnd(TWorkMode mode)
{
    if (OnWorkEnd)
        OnWorkEnd(this, mode);
}

void TFtpClient::RequireIdle() const
{
    if (busy_)
        throw EFtpError(QStringLiteral("The FTP client is busy with another call"));
}

void TFtpClient::RequireConnected() const
{
    if (!connected_)
        throw EFtpError(QStringLiteral("Not connected"));
}

QByteArray TFtpClient::Url(const QString& remoteName) const
{
    QString host = host_.trimmed();
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('[')))
        host = QLatin1Char('[') + host + QLatin1Char(']');
    return "ftp://" + host.toUtf8() + ':' + QByteArray::number(port_) + '/' + QUrl::toPercentEncoding(remoteName);
}

CURL* TFtpClient::PrepareRequest(const QString& remoteName)
{
    CURL* handle = session_->NewRequest();
    curl_easy_setopt(handle, CURLOPT_URL, Url(remoteName).constData());
    curl_easy_setopt(handle, CURLOPT_USERNAME, username_.toUtf8().constData());
    curl_easy_setopt(handle, CURLOPT_PASSWORD, password_.toUtf8().constData());
    curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectTimeoutMs_));
    curl_easy_setopt(handle, CURLOPT_SERVER_RESPONSE_TIMEOUT, WholeSeconds(readTimeoutMs_));
    // A data connection on which nothing moves for that long has failed.
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(handle, CURLOPT_LOW_SPEED_TIME, WholeSeconds(readTimeoutMs_));
    if (!passive_)
        curl_easy_setopt(handle, CURLOPT_FTPPORT, "-");
    // Larger pieces than libcurl's defaults: fewer writes on a download (the
    // curl command's own setting), fewer reads and sends on an upload.
    curl_easy_setopt(handle, CURLOPT_BUFFERSIZE, 100L * 1024);
    curl_easy_setopt(handle, CURLOPT_UPLOAD_BUFFERSIZE, 512L * 1024);
    return handle;
}

CURLcode TFtpClient::Perform(TTransfer* transfer)
{
    try {
        return session_->Perform([this, transfer] {
            if (cancelRequested_)
                throw EFtpError(QStringLiteral("The transfer was cancelled"));
            if (transfer)
                ReportProgress(*transfer, false);
        });
    } catch (...) {
        CloseSession();
        throw;
    }
}

CURLcode TFtpClient::FetchListing(TListingFormat format, QByteArray& body)
{
    CURL* handle = PrepareRequest();
    curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, AppendToBytes);
    curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
    if (format == TListingFormat::Mlsd)
        curl_easy_setopt(handle, CURLOPT_CUSTOMREQUEST, "MLSD");
    else if (format == TListingFormat::NamesOnly)
        curl_easy_setopt(handle, CURLOPT_DIRLISTONLY, 1L);
    return Perform(nullptr);
}

CURLcode TFtpClient::SendCommands(const QList<QByteArray>& commands)
{
    TCurlList list;
    for (const QByteArray& command : commands)
        list.Append(command);
    CURL* handle = PrepareRequest();
    curl_easy_setopt(handle, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(handle, CURLOPT_QUOTE, list.Get());
    return Perform(nullptr);
}

void TFtpClient::DeleteRemoteQuietly(const QString& remoteName)
{
    // After a broken upload the connection may be gone; this logs in again
    // if needed. Whatever fails here, the caller's failure is the one that
    // counts.
    cancelRequested_ = false;
    try {
        SendCommands({"DELE " + remoteName.toUtf8()});
    } catch (...) {
    }
    CloseSession();
}

void TFtpClient::BeginWork(TTransfer& transfer, qint64 maximum)
{
    transfer.begun = true;
    DoWorkBegin(transfer.mode, maximum);
}

void TFtpClient::ReportProgress(TTransfer& transfer, bool finished)
{
    // While the request runs its counters are the session's; once it ended,
    // libcurl's final figures.
    qint64 count = transfer.mode == wmWrite ? session_->Uploaded() : session_->Downloaded();
    qint64 size = session_->DownloadSize();
    if (finished) {
        curl_off_t value = 0;
        curl_easy_getinfo(session_->Handle(), transfer.mode == wmWrite ? CURLINFO_SIZE_UPLOAD_T : CURLINFO_SIZE_DOWNLOAD_T, &value);
        count = value;
        curl_easy_getinfo(session_->Handle(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &value);
        size = value;
    }
    if (!transfer.begun) {
        // A download's size comes with the server's SIZE reply.
        if (size < 0 && count == 0 && !finished)
            return;
        BeginWork(transfer, std::max<qint64>(size, 0));
    }
    if (count != transfer.reported) {
        transfer.reported = count;
        DoWork(transfer.mode, count);
    }
}

void TFtpClient::EndWork(TTransfer& transfer)
{
    if (!transfer.begun)
        return;
    transfer.begun = false;
    DoWorkEnd(transfer.mode);
}

void TFtpClient::Fail(const QString& message)
{
    CloseSession();
    throw EFtpError(message);
}

void TFtpClient::CloseSession()
{
    session_->Close();
    connected_ = false;
}

}  // namespace safekeep
