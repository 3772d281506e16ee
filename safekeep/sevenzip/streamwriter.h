#pragma once
// The output stream the library writes an archive or an extracted item to.
// The stream can be cut into volumes of a fixed size, opened on demand, or
// start at an offset of its one file (an archive appended to a
// self-extractor module). The descriptors belong to whoever opens them; the
// writer only writes. The library writes from several threads, so every
// call holds a lock.

#include "safekeep/sevenzip/abi.h"
#include "safekeep/sevenzip/comptr.h"

#include <functional>
#include <mutex>
#include <vector>

namespace safekeep::sz {

class TMyStreamWriter final : public IOutStream {
public:
    // Opens volume number index (from 0) for writing; returns its
    // descriptor, or -1 with errno set.
    using TVolumeOpener = std::function<int(int index)>;

    // volumeSize 0 writes one file, starting at startOffset of it.
    static TComPtr<TMyStreamWriter> Create(TVolumeOpener opener, uint64_t volumeSize = 0,
                                           uint64_t startOffset = 0);

    HRESULT QueryInterface(const GUID& iid, void** out) override;
    uint32_t AddRef() override { return refs_.Add(); }
    uint32_t Release() override { return refs_.Release(this); }

    HRESULT Write(const void* data, uint32_t size, uint32_t* processed) override;
    HRESULT Seek(int64_t offset, uint32_t origin, uint64_t* newPosition) override;
    HRESULT SetSize(uint64_t size) override;

    // The errno of the first failed write (0 when none failed).
    int WriteError() const;

private:
    friend class TRefCount;  // deletes the object with its last reference
    TMyStreamWriter() = default;
    // The descriptor of volume index, opening it and those before it.
    int VolumeFd(int index);
    HRESULT Fail(int error);

    TRefCount refs_;
    mutable std::mutex mutex_;
    TVolumeOpener opener_;
    uint64_t volumeSize_ = 0;
    uint64_t startOffset_ = 0;
    std::vector<int> volumes_;
    uint64_t position_ = 0;
    uint64_t size_ = 0;
    int writeError_ = 0;
};

}  // namespace safekeep::sz
