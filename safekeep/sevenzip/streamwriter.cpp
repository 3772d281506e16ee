#include "safekeep/sevenzip/streamwriter.h"

#include "safekeep/sevenzip/seek.h"

#include <algorithm>
#include <cerrno>
#include <unistd.h>

namespace safekeep::sz {

TComPtr<TMyStreamWriter> TMyStreamWriter::Create(TVolumeOpener opener, uint64_t volumeSize,
                                                 uint64_t startOffset)
{
    auto writer = TComPtr<TMyStreamWriter>::Adopt(new TMyStreamWriter);
    writer->opener_ = std::move(opener);
    writer->volumeSize_ = volumeSize;
    writer->startOffset_ = volumeSize == 0 ? startOffset : 0;
    return writer;
}

HRESULT TMyStreamWriter::QueryInterface(const GUID& iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_ISequentialOutStream || iid == IID_IOutStream) {
        *out = static_cast<IOutStream*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

int TMyStreamWriter::VolumeFd(int index)
{
    while (int(volumes_.size()) <= index) {
        const int fd = opener_(int(volumes_.size()));
        if (fd < 0)
            return -1;
        volumes_.push_back(fd);
    }
    return volumes_[size_t(index)];
}

HRESULT TMyStreamWriter::Fail(int error)
{
    if (writeError_ == 0)
        writeError_ = error;
    return HResultFromErrno(error);
}

HRESULT TMyStreamWriter::Write(const void* data, uint32_t size, uint32_t* processed)
{
    std::lock_guard lock(mutex_);
    if (processed)
        *processed = 0;
    if (size == 0)
        return S_OK;
    const int index = volumeSize_ ? int(position_ / volumeSize_) : 0;
    const uint64_t offset = volumeSize_ ? position_ % volumeSize_ : position_ + startOffset_;
    const size_t chunk = volumeSize_ ? size_t(std::min<uint64_t>(size, volumeSize_ - offset)) : size;
    const int fd = VolumeFd(index);
    if (fd < 0)
        return Fail(errno);
    ssize_t count;
    do {
        count = ::pwrite(fd, data, chunk, off_t(offset));
    } while (count < 0 && errno == EINTR);
    if (count <= 0)
        return Fail(count < 0 ? errno : ENOSPC);
    position_ += uint64_t(count);
    size_ = std::max(size_, position_);
    if (processed)
        *processed = uint32_t(count);
    return S_OK;
}

HRESULT TMyStreamWriter::Seek(int64_t offset, uint32_t origin, uint64_t* newPosition)
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

HRESULT TMyStreamWriter::SetSize(uint64_t size)
{
    std::lock_guard lock(mutex_);
    // Only a single file can be cut; the library does not ask for it when
    // writing 7z archives.
    if (volumeSize_ != 0)
        return E_NOTIMPL;
    const int fd = VolumeFd(0);
    if (fd < 0)
        return Fail(errno);
    if (::ftruncate(fd, off_t(startOffset_ + size)) != 0)
        return Fail(errno);
    size_ = size;
    return S_OK;
}

int TMyStreamWriter::WriteError() const
{
    std::lock_guard lock(mutex_);
    return writeError_;
}

}  // namespace safekeep::sz
