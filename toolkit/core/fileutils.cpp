#include "toolkit/core/fileutils.h"

#include "toolkit/core/masks.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace tk {

namespace {

thread_local int lastFileError = 0;

bool Fail(int error)
{
    lastFileError = error;
    return false;
}

QByteArray NativePath(const QString& path)
{
    return QFile::encodeName(path);
}

bool WriteAll(int fd, const char* data, qsizetype size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// Creates a new, uniquely named hidden file in target's folder for writing
// and returns its descriptor (-1 with errno on failure).
int CreateTemporaryBeside(const QByteArray& target, mode_t mode, QByteArray& tempPath)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = target.left(slash + 1);
    // Leaves room for the suffix within the 255-byte name limit.
    const QByteArray name = target.mid(slash + 1).left(200);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath =
            folder + '.' + name + ".tmp" + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Makes a finished rename durable; failures change nothing the caller can fix.
void SyncFolderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Renames the finished temporary to target. With noReplace an existing
// target makes it fail with EEXIST instead of being replaced.
bool MoveIntoPlace(const QByteArray& tempPath, const QByteArray& target, bool noReplace)
{
    if (!noReplace)
        return ::rename(tempPath.constData(), target.constData()) == 0;
    if (::renameat2(AT_FDCWD, tempPath.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    // File systems without the flag: a hard link fails just as well when the
    // name exists.
    if (::link(tempPath.constData(), target.constData()) != 0)
        return false;
    ::unlink(tempPath.constData());
    return true;
}

// Drops the temporary after a failure, keeping errno for the caller.
bool AbandonTemporary(int fd, const QByteArray& tempPath)
{
    const int error = errno;
    ::close(fd);
    ::unlink(tempPath.constData());
    return Fail(error);
}

// Syncs and closes the temporary and moves it into place; removes it when
// any step fails.
bool FinishTemporary(int fd, const QByteArray& tempPath, const QByteArray& target, bool noReplace)
{
    if (::fsync(fd) != 0)
        return AbandonTemporary(fd, tempPath);
    const bool closed = ::close(fd) == 0;
    if (!closed || !MoveIntoPlace(tempPath, target, noReplace)) {
        const int error = errno;
        ::unlink(tempPath.constData());
        return Fail(error);
    }
    SyncFolderOf(target);
    return true;
}

bool WriteFileAtomicImpl(const QString& path, const QByteArray& bytes, std::optional<mode_t> newFileMode)
{
    const QByteArray target = NativePath(path);
    if (target.isEmpty())
        return Fail(ENOENT);
    struct stat existing {};
    const bool targetExists = ::stat(target.constData(), &existing) == 0;
    std::optional<mode_t> finalMode = newFileMode;
    if (targetExists)
        finalMode = existing.st_mode & 07777;
    // Created no more permissive than it ends up, so the content is never
    // exposed more widely than the file it replaces.
    QByteArray tempPath;
    const int fd = CreateTemporaryBeside(target, finalMode ? (*finalMode & 0666) : 0666, tempPath);
    if (fd < 0)
        return Fail(errno);
    if (targetExists) {
        // Keeps the owner where we may (root rewriting a user's file);
        // otherwise the file simply becomes ours.
        if (::fchown(fd, existing.st_uid, existing.st_gid) != 0) {
            // Not permitted: the new file belongs to us, which is fine.
        }
    }
    if (finalMode && ::fchmod(fd, *finalMode) != 0)
        return AbandonTemporary(fd, tempPath);
    if (!WriteAll(fd, bytes.constData(), bytes.size()))
        return AbandonTemporary(fd, tempPath);
    return FinishTemporary(fd, tempPath, target, false);
}

QString StripTrailingDelimiters(const QString& path)
{
    qsizetype end = path.size();
    while (end > 1 && path[end - 1] == QLatin1Char('/'))
        --end;
    return path.left(end);
}

// Position of the extension's dot in path, or -1.
qsizetype ExtensionDot(const QString& path)
{
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return dot > path.lastIndexOf(QLatin1Char('/')) ? dot : -1;
}

constexpr qint64 kMsecsFrom1601To1970 = 11644473600000LL;

}  // namespace

int LastFileError()
{
    return lastFileError;
}

QString SysErrorMessage(int errorCode)
{
    char buffer[256];
    return QString::fromLocal8Bit(::strerror_r(errorCode, buffer, sizeof(buffer)));
}

bool ReadFileBytes(const QString& path, QByteArray& bytes)
{
    bytes.clear();
    const int fd = ::open(NativePath(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return Fail(errno);
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0)
        bytes.reserve(info.st_size);
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof(buffer));
        if (count < 0) {
            if (errno == EINTR)
                continue;
            const int error = errno;
            ::close(fd);
            bytes.clear();
            return Fail(error);
        }
        if (count == 0)
            break;
        bytes.append(buffer, count);
    }
    ::close(fd);
    return true;
}

bool WriteFileAtomic(const QString& path, const QByteArray& bytes)
{
    return WriteFileAtomicImpl(path, bytes, std::nullopt);
}

bool WriteFileAtomic(const QString& path, const QByteArray& bytes, mode_t newFileMode)
{
    return WriteFileAtomicImpl(path, bytes, newFileMode);
}

bool CopyFile(const QString& source, const QString& target, bool failIfExists)
{
    const QByteArray from = NativePath(source);
    const QByteArray to = NativePath(target);
    struct stat info {};
    if (failIfExists && ::lstat(to.constData(), &info) == 0)
        return Fail(EEXIST);
    const int in = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return Fail(errno);
    if (::fstat(in, &info) != 0) {
        const int error = errno;
        ::close(in);
        return Fail(error);
    }
    QByteArray tempPath;
    const int out = CreateTemporaryBeside(to, info.st_mode & 0666, tempPath);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return Fail(error);
    }
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(in, buffer, sizeof(buffer));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 || (count > 0 && !WriteAll(out, buffer, count))) {
            const int error = errno;
            ::close(in);
            errno = error;
            return AbandonTemporary(out, tempPath);
        }
        if (count == 0)
            break;
    }
    ::close(in);
    const struct timespec times[2] = {info.st_atim, info.st_mtim};
    if (::fchmod(out, info.st_mode & 0777) != 0 || ::futimens(out, times) != 0)
        return AbandonTemporary(out, tempPath);
    return FinishTemporary(out, tempPath, to, failIfExists);
}

bool FileExists(const QString& path)
{
    struct stat info {};
    return ::stat(NativePath(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

bool DirectoryExists(const QString& path)
{
    struct stat info {};
    return ::stat(NativePath(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool CreateDir(const QString& path)
{
    return ::mkdir(NativePath(path).constData(), 0777) == 0 || Fail(errno);
}

bool ForceDirectories(const QString& path)
{
    return ForceDirectories(path, 0777);
}

bool ForceDirectories(const QString& path, mode_t mode)
{
    if (path.isEmpty())
        return Fail(ENOENT);
    if (DirectoryExists(path))
        return true;
    const QString folder = StripTrailingDelimiters(path);
    const QString parent = ExtractFilePath(folder);
    if (!parent.isEmpty() && !ForceDirectories(parent, mode))
        return false;
    if (::mkdir(NativePath(folder).constData(), mode) == 0)
        return true;
    const int error = errno;
    return (error == EEXIST && DirectoryExists(folder)) || Fail(error);
}

bool DeleteFile(const QString& path)
{
    return ::unlink(NativePath(path).constData()) == 0 || Fail(errno);
}

bool RemoveDir(const QString& path)
{
    return ::rmdir(NativePath(path).constData()) == 0 || Fail(errno);
}

QStringList FindFiles(const QString& folder, const QString& mask)
{
    const QString effectiveMask = mask == QLatin1String("*.*") ? QStringLiteral("*") : mask;
    const TMask matcher(effectiveMask);
    QStringList names;
    const QStringList entries = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::NoSort);
    for (const QString& name : entries) {
        if (matcher.Matches(name))
            names.append(name);
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int byText = QString::compare(a, b, Qt::CaseInsensitive);
        return byText != 0 ? byText < 0 : a < b;
    });
    return names;
}

bool IsBareFileName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) && !name.contains(QChar(0));
}

QString ResolveCaseInsensitive(const QString& path)
{
    struct stat info {};
    if (path.isEmpty() || ::lstat(NativePath(path).constData(), &info) == 0)
        return path;
    const QString folder = ExtractFilePath(path);
    const QString name = ExtractFileName(path);
    if (name.isEmpty())
        return path;
    const QStringList entries =
        QDir(folder.isEmpty() ? QStringLiteral(".") : folder)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    QString found;
    for (const QString& entry : entries) {
        if (QString::compare(entry, name, Qt::CaseInsensitive) != 0)
            continue;
        if (!found.isEmpty())
            return path;  // Two candidates: guessing could pick the wrong file.
        found = entry;
    }
    return found.isEmpty() ? path : folder + found;
}

QDateTime FileAge(const QString& path)
{
    struct stat info {};
    if (::stat(NativePath(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return QDateTime();
    return QDateTime::fromMSecsSinceEpoch(qint64(info.st_mtim.tv_sec) * 1000 +
                                          info.st_mtim.tv_nsec / 1000000);
}

bool SetFileAge(const QString& path, const QDateTime& time)
{
    if (!time.isValid())
        return Fail(EINVAL);
    const qint64 msecs = time.toMSecsSinceEpoch();
    // Floor division keeps the nanoseconds positive for times before 1970.
    const qint64 seconds = msecs >= 0 ? msecs / 1000 : -((-msecs + 999) / 1000);
    struct timespec times[2] = {};
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(seconds);
    times[1].tv_nsec = static_cast<long>((msecs - seconds * 1000) * 1000000);
    return ::utimensat(AT_FDCWD, NativePath(path).constData(), times, 0) == 0 || Fail(errno);
}

quint64 DateTimeToFileTime(const QDateTime& time)
{
    if (!time.isValid())
        return 0;
    const qint64 msecs = time.toMSecsSinceEpoch() + kMsecsFrom1601To1970;
    return msecs < 0 ? 0 : quint64(msecs) * 10000;
}

QDateTime FileTimeToDateTime(quint64 fileTime)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(fileTime / 10000) - kMsecsFrom1601To1970, Qt::UTC);
}

QString ChangeFileExt(const QString& path, const QString& ext)
{
    const qsizetype dot = ExtensionDot(path);
    return (dot < 0 ? path : path.left(dot)) + ext;
}

QString ExtractFilePath(const QString& path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString ExtractFileName(const QString& path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString ExtractFileExt(const QString& path)
{
    const qsizetype dot = ExtensionDot(path);
    return dot < 0 ? QString() : path.mid(dot);
}

QString IncludeTrailingPathDelimiter(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QString ExcludeTrailingPathDelimiter(const QString& path)
{
    return path.endsWith(QLatin1Char('/')) ? path.chopped(1) : path;
}

}  // namespace tk
