#include "safekeep/sevenzip/streamreader.h"

#include "safekeep/sevenzip/seek.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace safekeep::sz {

TComPtr<TMyStreamReader> TMyStreamReader::Open(const QStringList& files, uint64_t startOffset)
{
    auto reader = TComPtr<TMyStreamReader>::Adopt(new TMyStreamReader);
    reader->startOffset_ = startOffset;
    uint64_t position = 0;
    for (const QString& file : files) {
        // O_NONBLOCK keeps a named pipe from blocking the open; such a file
        // is refused below anyway.
        const int fd = ::open(file.toLocal8Bit().constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return {};
        struct stat info {};
        int error = 0;
        if (::fstat(fd, &info) != 0)
            error = errno;
        else if (!S_ISREG(info.st_mode))
            error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        if (error != 0) {
            ::close(fd);
            errno = error;
            return {};
        }
        const auto size = uint64_t(info.st_size);
        reader->volumes_.push_back({fd, position, size});
        position += size;
    }
    reader->size_ = position > startOffset ? position - startOffset : 0;
    return reader;
}

TMyStreamReader::~TMyStreamReader()
{
    for (const Volume& volume : volumes_)
        ::close(volume.fd);
}

HRESULT TMyStreamReader::QueryInterface(const GUID& iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_ISequentialInStream || iid == IID_IInStream) {
        *out = static_cast<IInStream*>(this);
    } else if (iid == IID_IStreamGetSize) {
        *out = static_cast<IStreamGetSize*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT TMyStreamReader::Read(void* data, uint32_t size, uint32_t* processed)
{
    std::lock_guard lock(mutex_);
    if (processed)
        *processed = 0;
    if (size == 0 || position_ >= size_)
        return S_OK;
    // The volume that holds the current position (volumes are few).
    const uint64_t absolute = position_ + startOffset_;
    for (const Volume& volume : volumes_) {
        if (absolute < volume.start || absolute >= volume.start + volume.size)
            continue;
        const uint64_t offset = absolute - volume.start;
        const size_t wanted = size_t(std::min<uint64_t>(size, volume.size - offset));
        ssize_t count;
        do {
            count = ::pread(volume.fd, data, wanted, off_t(offset));
        } while (count < 0 && errno == EINTR);
        if (count < 0)
            return HResultFromErrno(errno);
        position_ += uint64_t(count);
        if (processed)
            *processed = uint32_t(count);
        return S_OK;
    }
    return S_OK;
}

HRESULT TMyStreamReader::Seek(int64_t offset, uint32_t origin, uint64_t* newPosition)
{
    std::lock_guard lock(mutex_);
    uint64_t target = 0;
    const HRESULT result = SeekTarget(offset, origin, position_, size_, target);
    if (result != S_OK)
        return result;
    position_ = target;
    if (newPosition)
        *newPosition = position_;
    return S_OK;
}

HRESULT TMyStreamReader::GetSize(uint64_t* size)
{
    std::lock_guard lock(mutex_);
    *size = size_;
    return S_OK;
}

}  // namespace safekeep::sz
