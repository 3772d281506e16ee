#include "safekeep/sevenzip/itemfile.h"

#include "safekeep/sevenzip/itemkind.h"
#include "safekeep/sevenzip/tempfile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace safekeep::sz {

namespace {

constexpr uint64_t kTicksFrom1601To1970 = 116444736000000000ULL;

}  // namespace

int OpenFolderChain(const QString& base, const QStringList& folders, bool create)
{
    const QByteArray start = base.isEmpty() ? QByteArray(".") : base.toLocal8Bit();
    int dirfd = ::open(start.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (const QString& folder : folders) {
        if (dirfd < 0)
            return -1;
        const QByteArray name = folder.toLocal8Bit();
        if (create && ::mkdirat(dirfd, name.constData(), 0777) != 0 && errno != EEXIST) {
            const int error = errno;
            ::close(dirfd);
            errno = error;
            return -1;
        }
        const int next = ::openat(dirfd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int error = errno;
        ::close(dirfd);
        errno = error;
        dirfd = next;
    }
    return dirfd;
}

TItemFile::~TItemFile()
{
    Discard();
}

bool TItemFile::Create(const QString& base, const QStringList& folders, const QString& name, mode_t mode)
{
    Discard();
    dirfd_ = OpenFolderChain(base, folders, true);
    if (dirfd_ < 0)
        return false;
    name_ = name.toLocal8Bit();
    fd_ = CreateTemporaryIn(dirfd_, tempName_, mode);
    if (fd_ >= 0)
        return true;
    const int error = errno;
    Discard();
    errno = error;
    return false;
}

bool TItemFile::Commit(std::optional<uint64_t> modified)
{
    if (fd_ < 0) {
        errno = EBADF;
        return false;
    }
    int error = 0;
    if (modified && *modified >= kTicksFrom1601To1970) {
        const uint64_t unixTicks = *modified - kTicksFrom1601To1970;
        struct timespec times[2];
        times[0].tv_sec = 0;
        times[0].tv_nsec = UTIME_OMIT;
        times[1].tv_sec = time_t(unixTicks / 10000000);
        times[1].tv_nsec = long(unixTicks % 10000000) * 100;
        if (::futimens(fd_, times) != 0)
            error = errno;
    }
    // Replacing a file the user had: make sure the new data are on disk
    // before the old ones lose their name.
    struct stat existing {};
    if (error == 0 && ::fstatat(dirfd_, name_.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0 &&
        ::fdatasync(fd_) != 0)
        error = errno;
    if (::close(std::exchange(fd_, -1)) != 0 && error == 0)
        error = errno;
    if (error == 0 && !RenameIn(dirfd_, tempName_, name_, false))
        error = errno;
    if (error == 0)
        tempName_.clear();
    Discard();
    errno = error;
    return error == 0;
}

void TItemFile::Discard()
{
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    if (dirfd_ >= 0) {
        if (!tempName_.isEmpty())
            ::unlinkat(dirfd_, tempName_.constData(), 0);
        ::close(std::exchange(dirfd_, -1));
    }
    tempName_.clear();
}

mode_t FileModeFromAttributes(std::optional<uint64_t> attributes)
{
    const mode_t writable = 0666;
    if (!attributes)
        return writable;
    // Permission bits are taken from regular files only: a link or a device
    // stored by a Unix archiver is written as a plain file with the default
    // mode.
    const auto unixMode = mode_t(*attributes >> 16);
    if ((*attributes & kAttributeUnixExtension) && S_ISREG(unixMode) && (unixMode & 0777) != 0)
        return unixMode & 0777;
    return (*attributes & kAttributeReadOnly) ? (writable & ~mode_t(0222)) : writable;
}

}  // namespace safekeep::sz
