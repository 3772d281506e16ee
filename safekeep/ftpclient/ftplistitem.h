#pragma once
// One entry of a parsed directory listing.

#include <QDateTime>
#include <QString>

namespace safekeep {

// What a listing says an entry is. Names-only listings say nothing.
enum class TFtpItemType { File, Directory, Link, Other, Unknown };

struct TFtpListItem {
    QString FileName;
    // Bytes; -1 when the listing did not say (names-only listings).
    qint64 Size = -1;
    // Local time; invalid when the listing did not say.
    QDateTime ModifiedDate;
    TFtpItemType ItemType = TFtpItemType::Unknown;

    bool IsDirectory() const { return ItemType == TFtpItemType::Directory; }
    bool IsFile() const { return ItemType == TFtpItemType::File; }
};

}  // namespace safekeep
