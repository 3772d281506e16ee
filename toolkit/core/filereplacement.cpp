#include "toolkit/core/filereplacement.h"

#include "toolkit/core/fileutils.h"

#include <QFile>
#include <QRandomGenerator>
#include <cassert>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tk {

namespace {

// A new hidden name beside target for its old file.
QByteArray AsideCandidate(const QByteArray& target)
{
    const qsizetype slash = target.lastIndexOf('/');
    // Leaves room for the suffix within the 255-byte name limit.
    const QByteArray name = target.mid(slash + 1).left(200);
    return target.left(slash + 1) + '.' + name + ".before-" +
           QByteArray::number(QRandomGenerator::global()->generate(), 36);
}

bool FileSystemHasNoHardLinks(int error)
{
    return error == EPERM || error == EXDEV || error == EMLINK || error == ENOTSUP || error == EOPNOTSUPP ||
           error == ENOSYS;
}

enum class TKeptAs { Failed, SecondLink, Renamed };

// Keeps target's file under a new hidden name: as a second hard link (the
// target stays in place), else renamed (the target is then gone until the
// new file arrives). Never replaces an existing name.
TKeptAs KeepAside(const QByteArray& target, QByteArray& aside)
{
    bool linksWork = true;
    for (int attempt = 0; attempt < 100; ++attempt) {
        aside = AsideCandidate(target);
        if (linksWork) {
            // Flags 0: a link at target is kept as the link, not followed.
            if (::linkat(AT_FDCWD, target.constData(), AT_FDCWD, aside.constData(), 0) == 0)
                return TKeptAs::SecondLink;
            if (errno == EEXIST)
                continue;
            if (!FileSystemHasNoHardLinks(errno))
                return TKeptAs::Failed;
            linksWork = false;
        }
        if (::renameat2(AT_FDCWD, target.constData(), AT_FDCWD, aside.constData(), RENAME_NOREPLACE) == 0)
            return TKeptAs::Renamed;
        if (errno == EEXIST)
            continue;
        if (errno != EINVAL)
            return TKeptAs::Failed;
        // A file system without the no-replace flag: the random name is
        // checked first instead.
        struct stat info {};
        if (::lstat(aside.constData(), &info) == 0)
            continue;
        return ::rename(target.constData(), aside.constData()) == 0 ? TKeptAs::Renamed : TKeptAs::Failed;
    }
    errno = EEXIST;
    return TKeptAs::Failed;
}

}  // namespace

TFileReplacement::~TFileReplacement()
{
    if (!finished_)
        Rollback();
}

bool TFileReplacement::Replace(const QString& source, const QString& target)
{
    assert(!finished_ && "a replacement set is used once");
    const QByteArray path = QFile::encodeName(target);
    QByteArray aside;
    TKeptAs kept = TKeptAs::Failed;
    struct stat info {};
    if (::lstat(path.constData(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) {
            lastError_ = EISDIR;
            return false;
        }
        kept = KeepAside(path, aside);
        if (kept == TKeptAs::Failed) {
            lastError_ = errno;
            return false;
        }
    } else if (errno != ENOENT) {
        lastError_ = errno;
        return false;
    }
    if (!CopyFile(source, target, false)) {
        lastError_ = LastFileError();
        // The target is as it was: its file back in place, or the second
        // name dropped.
        if (kept == TKeptAs::Renamed)
            ::rename(aside.constData(), path.constData());
        else if (kept == TKeptAs::SecondLink)
            ::unlink(aside.constData());
        return false;
    }
    entries_.push_back({path, kept == TKeptAs::Failed ? QByteArray() : aside});
    return true;
}

void TFileReplacement::Commit()
{
    assert(!finished_ && "a replacement set is used once");
    finished_ = true;
    for (const Entry& entry : entries_)
        if (!entry.aside.isEmpty())
            ::unlink(entry.aside.constData());
    entries_.clear();
}

bool TFileReplacement::Rollback()
{
    assert(!finished_ && "a replacement set is used once");
    finished_ = true;
    bool allBack = true;
    std::vector<Entry> notBack;
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
        // Renaming the old file over the new one puts it back in one step.
        const bool back = entry->aside.isEmpty()
                              ? ::unlink(entry->target.constData()) == 0 || errno == ENOENT
                              : ::rename(entry->aside.constData(), entry->target.constData()) == 0;
        if (!back) {
            lastError_ = errno;
            allBack = false;
            notBack.push_back(*entry);
        }
    }
    entries_ = std::move(notBack);
    return allBack;
}

QStringList TFileReplacement::KeptAside() const
{
    QStringList names;
    for (const Entry& entry : entries_)
        if (!entry.aside.isEmpty())
            names << QFile::decodeName(entry.aside);
    return names;
}

}  // namespace tk
