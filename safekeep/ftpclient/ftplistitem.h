#pragma once
// One entry of a parsed directory listing.

#include <QDateTime>
#include <QString>

namespace safekeep {

struct TFtpListItem {
    QString FileName;
    // Bytes; -1 when the listing did not say (names-only listings).
    qint64 Size = -1;
    // Local time; invalid when the listing did not say.
    QDateTime ModifiedDate;
    bool IsDirectory = false;
};

}  // namespace safekeep
