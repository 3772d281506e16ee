#include "safekeep/backupform/stagedbackup.h"

#include "safekeep/backupform/hostlayout.h"
#include "safekeep/sevenzip/sevenzip.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/data/database.h"

#include <QFileInfo>

namespace safekeep {

TStagedBackup::TStagedBackup(TSevenZip* archive, const QString& folder) : folder_(folder)
{
    // The component reports listed items through its event; the window has
    // no handler of its own there, and gets back whatever it had.
    struct TListedItem {
        QString name;
        qint64 attributes;
        bool isFolder;
    };
    QList<TListedItem> items;
    const TSevenZip::TListFileEvent saved = archive->OnListfile;
    archive->OnListfile = [&items, archive](QObject*, const QString& name, qint64, qint64, qint64,
                                            qint64 attributes, qint64, const QString&, tk::TDateTime) {
        // The item was just added to Files, folders with a trailing "/".
        const int last = archive->Files()->Count() - 1;
        items.append(
            {name, attributes, last >= 0 && archive->Files()->Strings(last).endsWith(QLatin1Char('/'))});
    };
    struct TRestoreHandler {
        TSevenZip* archive;
        const TSevenZip::TListFileEvent& saved;
        ~TRestoreHandler() { archive->OnListfile = saved; }
    } restoreHandler{archive, saved};
    if (archive->List() < 0)
        return;  // nothing listed: every member counts as missing

    for (const TListedItem& item : items) {
        if (!tk::IsBareFileName(item.name))
            continue;  // items in folders are not the backup's members
        const TArchiveItemKind kind = ArchiveItemKind(uint64_t(item.attributes), item.isFolder);
        const QString key = item.name.toCaseFolded();
        if (kind != TArchiveItemKind::File || !kinds_.contains(key))
            kinds_.insert(key, kind);
    }
}

QString TStagedBackup::File(const QString& name) const
{
    return PeerFile(folder_, name);
}

TStagedBackup::TCheck TStagedBackup::CheckFile(const QString& name) const
{
    const QString path = File(name);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return TCheck::Missing;
    const auto kind = kinds_.constFind(tk::ExtractFileName(path).toCaseFolded());
    if (kind == kinds_.constEnd())
        return TCheck::Missing;  // not a member of this archive
    if (*kind != TArchiveItemKind::File || info.isSymLink() || !info.isFile())
        return TCheck::NotAFile;
    return TCheck::Usable;
}

TStagedBackup::TCheck TStagedBackup::CheckDatabase(const QString& name) const
{
    const TCheck check = CheckFile(name);
    if (check != TCheck::Usable)
        return check;
    try {
        // Opened as the host opens its own databases; reading the schema
        // fails at once for a file that is not a database.
        tk::TDatabase probe;
        probe.SetDatabaseName(File(name));
        probe.SetActive(true);
        probe.SetActive(false);
        return TCheck::Usable;
    } catch (...) {
        return TCheck::NotADatabase;
    }
}

}  // namespace safekeep
