#include "safekeep/sevenzip/itemkind.h"

#include <sys/stat.h>

namespace safekeep {

TArchiveItemKind ArchiveItemKind(uint64_t attributes, bool isFolder)
{
    using namespace sz;
    if (isFolder || (attributes & kAttributeFolder))
        return TArchiveItemKind::Folder;
    if (attributes & kAttributeUnixExtension) {
        const auto mode = mode_t(attributes >> 16);
        if (S_ISLNK(mode))
            return TArchiveItemKind::Link;
        if (S_ISDIR(mode))
            return TArchiveItemKind::Folder;
        // A mode of 0 says nothing about the type; the Windows bits decide.
        if ((mode & S_IFMT) != 0 && !S_ISREG(mode))
            return TArchiveItemKind::Special;
    }
    // Windows links and junctions are reparse points.
    if (attributes & kAttributeReparsePoint)
        return TArchiveItemKind::Link;
    if (attributes & kAttributeDevice)
        return TArchiveItemKind::Special;
    return TArchiveItemKind::File;
}

}  // namespace safekeep
