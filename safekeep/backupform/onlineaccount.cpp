// The online backup account: the backup just made is sent to the account's
// FTP folder and confirmed from its listing; the account's backups are
// listed, and one is fetched and restored.
#include "safekeep/backupform/frmcopiaseguridad.h"

#include "toolkit/core/application.h"
#include "toolkit/core/datetime.h"
#include "toolkit/core/fileutils.h"

namespace safekeep {

namespace {

// A backup on the server: a regular file (not a folder or a link) with a
// plain name, which is later used as a file name, and exactly ".7z" as
// extension ("BACKUP.7Z" is not one).
bool IsBackup(const TFtpListItem& item)
{
    return item.IsFile() && tk::IsBareFileName(item.FileName) &&
           tk::ExtractFileExt(item.FileName) == QLatin1String(".7z");
}

// The server box holds a host name, or "name:port" for a server that does
// not listen on the standard port.
void SetServer(TFtpClient* client, const QString& text)
{
    const QString server = text.trimmed();
    const qsizetype colon = server.lastIndexOf(QLatin1Char(':'));
    bool isPort = false;
    const int port = colon > 0 && server.count(QLatin1Char(':')) == 1 ? server.mid(colon + 1).toInt(&isPort) : 0;
    if (isPort && port > 0 && port < 65536) {
        client->SetHost(server.left(colon));
        client->SetPort(port);
    } else {
        client->SetHost(server);
        client->SetPort(21);
    }
}

// One connection for one flow, closed however the flow ends.
class TAccountSession {
public:
    TAccountSession(TFtpClient* client, const QString& server, const QString& user, const QString& password)
        : client_(client)
    {
        SetServer(client_, server);
        client_->SetUsername(user);
        client_->SetPassword(password);
        client_->Connect();
    }
    ~TAccountSession() { client_->Disconnect(); }
    TAccountSession(const TAccountSession&) = delete;
    TAccountSession& operator=(const TAccountSession&) = delete;

private:
    TFtpClient* client_;
};

}  // namespace

void TfrmCopiaSeguridad::btnEnviarClick()
{
    btnEnviar->SetEnabled(false);
    tk::Application().ProcessMessages();
    // What was written and checked is what is sent.
    const QString local = archivePath_;
    const QString remote = tk::ExtractFileName(local);
    {
        TAccountSession session(FtpClient1, Edit6->Text(), Edit1->Text(), Edit3->Text());
        FtpClient1->Put(local, remote);
        FtpClient1->List(true);
    }
    // The server's date is shown in local time, as the file's own is.
    const QString localDay = tk::DateToStr(tk::DateTimeFromQDateTime(tk::FileAge(local)));
    for (const TFtpListItem& item : FtpClient1->DirectoryListing()) {
        if (IsBackup(item) && item.FileName == remote && item.ModifiedDate.isValid() &&
            tk::DateToStr(tk::DateTimeFromQDateTime(item.ModifiedDate)) == localDay)
            img2->SetVisible(true);
    }
    if (!img2->Visible())
        ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" 10"), true);
}

void TfrmCopiaSeguridad::btnListarCopSegClick()
{
    btnRecuperar->SetEnabled(false);
    btnListarCopSeg->SetEnabled(false);
    tk::Application().ProcessMessages();
    ListBox1->Items()->Clear();
    {
        TAccountSession session(FtpClient1, Edit7->Text(), Edit2->Text(), Edit4->Text());
        FtpClient1->List(true);
    }
    for (const TFtpListItem& item : FtpClient1->DirectoryListing())
        if (IsBackup(item))
            ListBox1->Items()->Add(item.FileName);
    btnListarCopSeg->SetEnabled(true);
}

void TfrmCopiaSeguridad::ListBox1Click()
{
    btnRecuperar->SetEnabled(ListBox1->ItemIndex() >= 0);
}

void TfrmCopiaSeguridad::btnRecuperarClick()
{
    const QString staged = PrepareRestoreTemp();
    btnRecuperar->SetEnabled(false);
    {
        TAccountSession session(FtpClient1, Edit7->Text(), Edit2->Text(), Edit4->Text());
        if (ListBox1->ItemIndex() >= 0)
            FtpClient1->Get(ListBox1->Items()->Strings(ListBox1->ItemIndex()), staged, true);
    }
    // Without a selection nothing was fetched: the restore reports " 10".
    ExtractAndRestore(staged);
}

}  // namespace safekeep
