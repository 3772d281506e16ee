#include "safekeep/sevenzip/archiveoutput.h"

#include "safekeep/sevenzip/tempfile.h"
#include "toolkit/core/fileutils.h"

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace safekeep::sz {

TArchiveOutput::TArchiveOutput(const QString& archive, uint64_t volumeSize)
    : archive_(archive), volumeSize_(volumeSize)
{
}

TArchiveOutput::~TArchiveOutput()
{
    Discard();
    if (dirfd_ >= 0)
        ::close(dirfd_);
}

QString TArchiveOutput::VolumeName(const QString& archive, int index)
{
    return archive + QLatin1Char('.') + QStringLiteral("%1").arg(index + 1, 3, 10, QLatin1Char('0'));
}

bool TArchiveOutput::Start(const QString& prefixFile)
{
    QString folder = tk::ExtractFilePath(archive_);
    if (folder.isEmpty())
        folder = QStringLiteral(".");
    dirfd_ = ::open(folder.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirfd_ < 0)
        return false;
    // A self-extractor is a program: it gets the execute bits.
    if (OpenVolume(0, prefixFile.isEmpty() ? 0666 : 0777) < 0)
        return false;
    if (prefixFile.isEmpty())
        return true;
    QByteArray prefix;
    if (!tk::ReadFileBytes(prefixFile, prefix)) {
        errno = tk::LastFileError();
        return false;
    }
    for (qsizetype done = 0; done < prefix.size();) {
        const ssize_t count =
            ::write(volumes_[0].fd, prefix.constData() + done, size_t(prefix.size() - done));
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        done += count;
    }
    prefixSize_ = uint64_t(prefix.size());
    return true;
}

int TArchiveOutput::OpenVolume(int index, mode_t mode)
{
    const QString finalName = volumeSize_ ? VolumeName(archive_, index) : archive_;
    Volume volume;
    volume.name = tk::ExtractFileName(finalName).toLocal8Bit();
    volume.fd = CreateTemporaryIn(dirfd_, volume.tempName, mode);
    if (volume.fd < 0)
        return -1;
    volumes_.push_back(volume);
    return volume.fd;
}

TComPtr<TMyStreamWriter> TArchiveOutput::Writer()
{
    // The first volume exists from Start on; later ones open on demand.
    return TMyStreamWriter::Create(
        [this](int index) {
            return index < int(volumes_.size()) ? volumes_[size_t(index)].fd : OpenVolume(index);
        },
        volumeSize_, prefixSize_);
}

bool TArchiveOutput::Commit(bool noReplace)
{
    int error = 0;
    for (const Volume& volume : volumes_) {
        if (::fdatasync(volume.fd) != 0 && error == 0)
            error = errno;
    }
    if (error == 0) {
        for (Volume& volume : volumes_) {
            ::close(std::exchange(volume.fd, -1));
            if (!RenameIn(dirfd_, volume.tempName, volume.name, noReplace)) {
                error = errno;
                break;
            }
            volume.tempName.clear();
        }
    }
    if (error == 0)
        return true;
    Discard();
    errno = error;
    return false;
}

void TArchiveOutput::Discard()
{
    for (Volume& volume : volumes_) {
        if (volume.fd >= 0)
            ::close(std::exchange(volume.fd, -1));
        if (!volume.tempName.isEmpty()) {
            ::unlinkat(dirfd_, volume.tempName.constData(), 0);
            volume.tempName.clear();
        }
    }
}

QStringList TArchiveOutput::VolumeNames() const
{
    QStringList names;
    for (size_t index = 0; index < volumes_.size(); ++index)
        names << (volumeSize_ ? VolumeName(archive_, int(index)) : archive_);
    return names;
}

}  // namespace safekeep::sz
