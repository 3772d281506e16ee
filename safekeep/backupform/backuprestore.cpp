// Restoring a backup: the archive is staged beside the host executable,
// extracted there, and its files copied back over the host's with the host's
// databases switched off around the copies.
#include "safekeep/backupform/databaseswitch.h"
#include "safekeep/backupform/frmcopiaseguridad.h"

#include "toolkit/core/fileutils.h"
#include "toolkit/core/textfile.h"

namespace safekeep {

namespace {

const QString kStagedArchiveName = QStringLiteral("CopSegBK.7z");

struct TRestoreCopy {
    QString source;  // name in the staging folder
    QString target;
    int bar;         // restore bar after the copy
};

}  // namespace

void TfrmCopiaSeguridad::EmptyFolderFiles(const QString& folder, const QString& mask)
{
    const QString path = tk::IncludeTrailingPathDelimiter(folder);
    for (const QString& name : tk::FindFiles(path, mask))
        tk::DeleteFile(path + name);
}

void TfrmCopiaSeguridad::JvXPButton1Click()
{
    if (!dlgOpen1->Execute())
        return;
    lblb8->SetCaption(dlgOpen1->FileName());
    if (!lblb8->Caption().isEmpty())
        JvXPButtonRecuperarBK->SetEnabled(true);
}

QString TfrmCopiaSeguridad::PrepareRestoreTemp()
{
    // Success is decided by this run alone.
    Image1->SetVisible(false);
    const QString restoreTemp = THostLayout::Read(HostExecutablePath()).RestoreTemp();
    if (!tk::DirectoryExists(restoreTemp) && !tk::CreateDir(restoreTemp))
        ShowKeyedMessage(QStringLiteral("MIErrorAlActualizarNoTemporal"), QString(), true);
    EmptyFolderFiles(restoreTemp, QStringLiteral("*.*"));
    return restoreTemp + QLatin1Char('/') + kStagedArchiveName;
}

void TfrmCopiaSeguridad::ExtractAndRestore(const QString& stagedArchive)
{
    if (tk::FileExists(stagedArchive)) {
        if (!Edit5->Text().isEmpty())
            SevenZip1->SetPassword(Edit5->Text());
        SevenZip1->SetExtrBaseDir(tk::ExtractFilePath(stagedArchive));
        SevenZip1->SetSZFileName(stagedArchive);
        // Everything in the archive: the files a backup of this window
        // added must not be taken for a selection of items.
        SevenZip1->Files()->Clear();
        // A damaged archive or a wrong password extracts nothing usable:
        // stop before any of the host's files is replaced (the component
        // has shown its own messages).
        if (SevenZip1->Extract(false) != 0)
            ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" 10"), true);
    }
    // Both databases are off while their files may be replaced, and on
    // again afterwards however the restore ends.
    const TDatabasesOffline offline(database1_, database2_);
    RestoreStagedBackup(stagedArchive);
}

void TfrmCopiaSeguridad::JvXPButtonRecuperarBKClick()
{
    const QString staged = PrepareRestoreTemp();
    if (!tk::CopyFile(lblb8->Caption(), staged, false))
        ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" 100"), true);
    ExtractAndRestore(staged);
}

void TfrmCopiaSeguridad::RestoreStagedBackup(const QString& stagedArchive)
{
    const THostLayout layout = THostLayout::Read(HostExecutablePath());
    const QString restoreTemp = layout.RestoreTemp();
    // A download may have scaled the bar to its byte count.
    AdvProgress2->SetMax(25);
    if (tk::FileExists(stagedArchive)) {
        // The backup's community is the first line of its information file
        // (a missing or empty file raises before anything is replaced).
        MemoComunidad->Lines()->Clear();
        MemoComunidad->Lines()->SetText(tk::ReadTextFile(PeerFile(restoreTemp, QStringLiteral("inf.txt"))).text);
        const QString community = MemoComunidad->Lines()->Strings(0);
        if (!tk::DirectoryExists(layout.CommunityFolder(community)))
            ShowKeyedMessage(QStringLiteral("ComunidadNoExiste"), QString(), true);

        const TRestoreCopy settings[] = {
            {QStringLiteral("Brivora.INI"), layout.exeFolder + QStringLiteral("Brivora.INI"), 5},
            {QStringLiteral("apppos.INI"), layout.exeFolder + QStringLiteral("apppos.INI"), 7},
            {QStringLiteral("DACT.INI"), layout.exeFolder + QStringLiteral("DACT.INI"), 9},
        };
        for (const TRestoreCopy& copy : settings) {
            tk::CopyFile(PeerFile(restoreTemp, copy.source), copy.target, false);
            Step(AdvProgress2, copy.bar);
        }

        SetDatabaseActive(database1_, false);
        const bool yearFileBack =
            !layout.yearFile.isEmpty() &&
            tk::CopyFile(PeerFile(restoreTemp, layout.yearFile),
                         layout.CommunityFolder(community) + QLatin1Char('/') + layout.yearFile, false);
        SetDatabaseActive(database1_, true);
        if (!yearFileBack)
            ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" : 24"), true);
        Step(AdvProgress2, 10);

        if (!tk::CopyFile(PeerFile(restoreTemp, QStringLiteral("Informes.mdb")), layout.ReportDatabase(), false)) {
            SetDatabaseActive(database1_, true);
            ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" : 25"), true);
        }
        Step(AdvProgress2, 20);
        Step(AdvProgress2, 25);
        EmptyFolderFiles(restoreTemp, QStringLiteral("*.*"));
        Image1->SetVisible(true);
    }
    if (Image1->Visible())
        ShowKeyedMessage(QStringLiteral("Correcto"), QString(), false);
    else
        ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" 10"), true);
}

}  // namespace safekeep
