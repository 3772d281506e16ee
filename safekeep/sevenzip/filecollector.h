#pragma once
// The files an Add puts into the archive, collected from the entries of
// Files: an entry with "*" names a folder and a mask (the folder is the
// text before the first "*" up to its last separator) and adds the matching
// files, from sub-folders too when recursing; any other entry names one file
// or folder. Entries that name nothing are skipped.

#include "safekeep/sevenzip/itemkind.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

namespace safekeep::sz {

struct TAddItem {
    QString path;
    uint64_t size = 0;
    uint64_t modified = 0;  // FILETIME ticks (UTC, from 1601)
    uint32_t attributes = uint32_t(kAttributeArchive);

    bool IsFolder() const { return attributes & kAttributeFolder; }
};

std::vector<TAddItem> CollectAddItems(const QStringList& entries, bool recurseFolders);

}  // namespace safekeep::sz
