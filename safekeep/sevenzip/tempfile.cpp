#include "safekeep/sevenzip/tempfile.h"

#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace safekeep::sz {

int CreateTemporaryIn(int dirfd, QByteArray& name, mode_t mode)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = ".~sz" + QByteArray::number(QRandomGenerator::global()->generate(), 16) + ".tmp";
        const int fd =
            ::openat(dirfd, name.constData(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

bool RenameIn(int dirfd, const QByteArray& from, const QByteArray& to, bool noReplace)
{
    if (!noReplace)
        return ::renameat(dirfd, from.constData(), dirfd, to.constData()) == 0;
    if (::renameat2(dirfd, from.constData(), dirfd, to.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without RENAME_NOREPLACE: a hard link fails on an existing
    // name just the same.
    if (::linkat(dirfd, from.constData(), dirfd, to.constData(), 0) != 0)
        return false;
    ::unlinkat(dirfd, from.constData(), 0);
    return true;
}

}  // namespace safekeep::sz
