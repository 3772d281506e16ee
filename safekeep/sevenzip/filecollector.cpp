#include "safekeep/sevenzip/filecollector.h"

#include "toolkit/core/fileutils.h"

#include <QDir>
#include <sys/stat.h>

namespace safekeep::sz {

namespace {

constexpr uint64_t kTicksFrom1601To1970 = 116444736000000000ULL;

// The item for path, following a link to its target; false when path names
// neither a file nor a folder.
bool ReadItem(const QString& path, TAddItem& item)
{
    struct stat info {};
    if (::stat(path.toLocal8Bit().constData(), &info) != 0)
        return false;
    if (!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode))
        return false;
    item.path = path;
    item.attributes = uint32_t(S_ISDIR(info.st_mode) ? kAttributeFolder : kAttributeArchive);
    item.size = S_ISDIR(info.st_mode) ? 0 : uint64_t(info.st_size);
    item.modified = uint64_t(info.st_mtim.tv_sec) * 10000000 + uint64_t(info.st_mtim.tv_nsec) / 100 +
                    kTicksFrom1601To1970;
    return true;
}

void SearchFolder(const QString& folder, const QString& mask, bool recurse, std::vector<TAddItem>& items)
{
    const QString prefix = tk::IncludeTrailingPathDelimiter(folder);
    for (const QString& name : tk::FindFiles(folder, mask)) {
        TAddItem item;
        if (ReadItem(prefix + name, item) && !item.IsFolder())
            items.push_back(item);
    }
    if (!recurse)
        return;
    // Linked folders are not entered: a link to a parent would never end.
    const QStringList folders = QDir(folder).entryList(
        QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::NoSymLinks, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : folders)
        SearchFolder(prefix + name, mask, recurse, items);
}

}  // namespace

std::vector<TAddItem> CollectAddItems(const QStringList& entries, bool recurseFolders)
{
    std::vector<TAddItem> items;
    for (const QString& entry : entries) {
        const qsizetype star = entry.indexOf(QLatin1Char('*'));
        if (star < 0) {
            TAddItem item;
            if (ReadItem(entry, item))
                items.push_back(item);
            continue;
        }
        const QString folder = tk::ExtractFilePath(entry.left(star));
        const QString mask = entry.mid(folder.size());
        SearchFolder(folder.isEmpty() ? QStringLiteral(".") : folder, mask, recurseFolders, items);
    }
    return items;
}

}  // namespace safekeep::sz
