#include "safekeep/ftpclient/downloadfile.h"

#include "safekeep/ftpclient/ftperror.h"
#include "toolkit/core/fileutils.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace safekeep {

namespace {

QString Describe(const QByteArray& path, int error)
{
    return QStringLiteral("%1: %2").arg(QString::fromLocal8Bit(path), tk::SysErrorMessage(error));
}

}  // namespace

TDownloadFile::TDownloadFile(const QString& target) : target_(QFile::encodeName(target))
{
    // A name of our own beside the target, so the final rename stays within
    // one file system; 0666 less the umask, as any new file gets.
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        tempPath_ = target_ + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".part";
        fd_ = ::open(tempPath_.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0)
        throw EFtpError(QStringLiteral("Cannot create %1").arg(Describe(tempPath_, errno)));
}

TDownloadFile::~TDownloadFile()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_)
        ::unlink(tempPath_.constData());
}

bool TDownloadFile::Write(const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            writeErrno_ = errno;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

QString TDownloadFile::WriteError() const
{
    return QStringLiteral("Cannot write %1").arg(Describe(tempPath_, writeErrno_));
}

void TDownloadFile::Commit(bool overwrite)
{
    // A replaced file keeps its permission bits.
    struct stat old {};
    if (::stat(target_.constData(), &old) == 0)
        ::fchmod(fd_, old.st_mode & 07777);
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0)
        throw EFtpError(QStringLiteral("Cannot write %1").arg(Describe(tempPath_, errno)));

    const int moved = overwrite
        ? ::rename(tempPath_.constData(), target_.constData())
        : ::renameat2(AT_FDCWD, tempPath_.constData(), AT_FDCWD, target_.constData(), RENAME_NOREPLACE);
    if (moved != 0)
        throw EFtpError(QStringLiteral("Cannot replace %1").arg(Describe(target_, errno)));
    committed_ = true;
}

}  // namespace safekeep
