#pragma once
// The files of an extracted backup that a restore is about to copy, checked
// before any of the host's files is replaced. A member counts only as a
// regular file of that name at the top of the archive, as the archive lists
// it: the archive component extracts a link as a plain file holding the
// link's target, so the extracted file alone cannot tell. The file is found
// in the staging folder in whatever letter case a Windows peer wrote it.

#include "safekeep/sevenzip/itemkind.h"

#include <QHash>
#include <QString>

namespace safekeep {

class TSevenZip;

class TStagedBackup {
public:
    enum class TCheck { Usable, Missing, NotAFile, NotADatabase };

    // Lists the archive the component has as SZFileName (its password set)
    // for the kinds of its items; the extracted files are in folder.
    TStagedBackup(TSevenZip* archive, const QString& folder);

    // The staged file of a member (it may not exist).
    QString File(const QString& name) const;
    TCheck CheckFile(const QString& name) const;
    // A member that will replace one of the host's databases must be a
    // database of the host's kind: an SQLite file that opens and reads its
    // schema.
    TCheck CheckDatabase(const QString& name) const;

private:
    QString folder_;
    // The least usable kind stored under each top-level name, by
    // case-folded name (a Windows peer's "BRIVORA.INI" is "Brivora.INI").
    QHash<QString, TArchiveItemKind> kinds_;
};

}  // namespace safekeep
