// Restoring a backup: the archive is staged beside the host executable,
// extracted there, and its files copied back over the host's with the host's
// databases switched off around the copies.
#include "safekeep/backupform/databaseswitch.h"
#include "safekeep/backupform/frmcopiaseguridad.h"
#include "safekeep/backupform/stagedbackup.h"

#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/filereplacement.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/core/textfile.h"
#include "toolkit/data/database.h"

#include <QDir>
#include <QFileInfo>

namespace safekeep {

namespace {

const QString kStagedArchiveName = QStringLiteral("CopSegBK.7z");

struct TRestoreCopy {
    int tag;         // the step, named in the failure message
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
    // A stopped restore leaves what its archive extracted, folders too; a
    // folder left under a member's name would make every later restore
    // fail, so the staging folder starts without any (links are removed,
    // never followed).
    const QDir::Filters folders = QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;
    for (const QFileInfo& entry : QDir(restoreTemp).entryInfoList(folders)) {
        if (entry.isSymLink())
            QFile::remove(entry.filePath());
        else
            QDir(entry.filePath()).removeRecursively();
    }
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
        // The name comes from the archive: it must name a community folder
        // of this installation, never a path that climbs out of it.
        if (!layout.IsCommunity(community))
            ShowKeyedMessage(QStringLiteral("ComunidadNoExiste"), QString(), true);
        ReplaceHostFiles(layout, community, TStagedBackup(SevenZip1, restoreTemp));
        EmptyFolderFiles(restoreTemp, QStringLiteral("*.*"));
        Image1->SetVisible(true);
    }
    if (Image1->Visible())
        ShowKeyedMessage(QStringLiteral("Correcto"), QString(), false);
    else
        ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" 10"), true);
}

void TfrmCopiaSeguridad::ReplaceHostFiles(const THostLayout& layout, const QString& community,
                                          const TStagedBackup& staged)
{
    const TRestoreCopy settings[] = {
        {21, QStringLiteral("Brivora.INI"), layout.exeFolder + QStringLiteral("Brivora.INI"), 5},
        {22, QStringLiteral("apppos.INI"), layout.exeFolder + QStringLiteral("apppos.INI"), 7},
        {23, QStringLiteral("DACT.INI"), layout.exeFolder + QStringLiteral("DACT.INI"), 9},
    };
    const TRestoreCopy yearFile{24, layout.yearFile,
                                layout.CommunityFolder(community) + QLatin1Char('/') + layout.yearFile, 10};
    const TRestoreCopy reportDatabase{25, QStringLiteral("Informes.mdb"), layout.ReportDatabase(), 20};

    // Everything is checked before anything is replaced. A settings file
    // the backup lacks is skipped, as a failed settings copy is; one that
    // is there must be a plain file. The year file's name comes from the
    // host's settings and, like the community, must be a plain name.
    const auto firstRefusedStep = [&]() -> int {
        for (const TRestoreCopy& copy : settings)
            if (staged.CheckFile(copy.source) == TStagedBackup::TCheck::NotAFile)
                return copy.tag;
        if (!tk::IsBareFileName(yearFile.source) ||
            staged.CheckDatabase(yearFile.source) != TStagedBackup::TCheck::Usable)
            return yearFile.tag;
        if (staged.CheckDatabase(reportDatabase.source) != TStagedBackup::TCheck::Usable)
            return reportDatabase.tag;
        return 0;
    };
    // The copies in their order, each database switched off around its
    // file and opened again on the new one; the step that failed, or 0.
    tk::TFileReplacement replacement;
    const auto firstFailedStep = [&]() -> int {
        for (const TRestoreCopy& copy : settings) {
            if (staged.CheckFile(copy.source) == TStagedBackup::TCheck::Usable)
                replacement.Replace(staged.File(copy.source), copy.target);  // a failure keeps the old file
            Step(AdvProgress2, copy.bar);
        }
        const std::pair<const TRestoreCopy*, tk::TDatabase*> databases[] = {{&yearFile, database1_},
                                                                            {&reportDatabase, database2_}};
        for (const auto& [copy, database] : databases) {
            SetDatabaseActive(database, false);
            if (!replacement.Replace(staged.File(copy->source), copy->target) || !OpenAgain(database))
                return copy->tag;
            Step(AdvProgress2, copy->bar);
        }
        return 0;
    };

    int failedStep = firstRefusedStep();
    if (failedStep == 0) {
        // Until every database is open on its new file the old files are
        // kept aside; any failure puts all of them back.
        try {
            failedStep = firstFailedStep();
        } catch (...) {
            PutBackHostFiles(replacement);
            throw;
        }
    }
    if (failedStep != 0) {
        PutBackHostFiles(replacement);
        ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" : %1").arg(failedStep), true);
    }
    Step(AdvProgress2, 25);
    replacement.Commit();
}

bool TfrmCopiaSeguridad::OpenAgain(tk::TDatabase* database)
{
    try {
        SetDatabaseActive(database, true);
        return !database || database->Active();
    } catch (...) {
        return false;  // the caller puts the old files back and tries again
    }
}

void TfrmCopiaSeguridad::PutBackHostFiles(tk::TFileReplacement& replacement)
{
    // A database open on a new file is closed before its old file returns.
    for (tk::TDatabase* database : {database1_, database2_})
        SetDatabaseActive(database, false);
    if (!replacement.Rollback()) {
        // Not put back: the old file stays beside its target under its
        // hidden name, and the user is told where.
        tk::Application().HandleException(std::make_exception_ptr(tk::EInOutError(
            QStringLiteral("Could not put back: %1").arg(replacement.KeptAside().join(QStringLiteral(", "))))));
    }
    // The databases are on again before the failure is shown.
    for (tk::TDatabase* database : {database1_, database2_}) {
        try {
            SetDatabaseActive(database, true);
        } catch (...) {
            tk::Application().HandleException(std::current_exception());
        }
    }
}

}  // namespace safekeep
