#pragma once
// The input stream the library reads archives and added files from: one file
// or the volumes of a split archive read as one stream, optionally starting
// at an offset (the archive inside a self-extractor). The library reads from
// several threads, so every call holds a lock.

#include "safekeep/sevenzip/abi.h"
#include "safekeep/sevenzip/comptr.h"

#include <QString>
#include <QStringList>
#include <mutex>
#include <vector>

namespace safekeep::sz {

class TMyStreamReader final : public IInStream, public IStreamGetSize {
public:
    // Opens the files, which are read one after the other from startOffset
    // of the first on. Null with errno set when one cannot be opened.
    static TComPtr<TMyStreamReader> Open(const QStringList& files, uint64_t startOffset = 0);

    HRESULT QueryInterface(const GUID& iid, void** out) override;
    uint32_t AddRef() override { return refs_.Add(); }
    uint32_t Release() override { return refs_.Release(this); }

    HRESULT Read(void* data, uint32_t size, uint32_t* processed) override;
    HRESULT Seek(int64_t offset, uint32_t origin, uint64_t* newPosition) override;
    HRESULT GetSize(uint64_t* size) override;

private:
    friend class TRefCount;  // deletes the object with its last reference
    struct Volume {
        int fd;
        uint64_t start;  // position of the volume's first byte in the stream
        uint64_t size;
    };
    TMyStreamReader() = default;
    ~TMyStreamReader();

    TRefCount refs_;
    std::mutex mutex_;
    std::vector<Volume> volumes_;
    uint64_t startOffset_ = 0;  // skipped bytes of the first file
    uint64_t size_ = 0;
    uint64_t position_ = 0;
};

}  // namespace safekeep::sz
