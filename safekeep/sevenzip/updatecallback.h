#pragma once
// The callback the library uses while it writes an archive: it describes
// each collected item (stored name, folder flag, size, attributes,
// modification time), opens the files for reading, gives the password and
// turns the library's progress into the component's events.

#include "safekeep/sevenzip/abi.h"
#include "safekeep/sevenzip/comptr.h"
#include "safekeep/sevenzip/filecollector.h"

#include <QStringList>
#include <vector>

namespace safekeep::sz {

class TOperation;

class TMyArchiveUpdateCallback final : public IArchiveUpdateCallback, public ICryptoGetTextPassword2 {
public:
    // storedNames holds the name of each item, in the same order.
    static TComPtr<TMyArchiveUpdateCallback> Create(TOperation& operation, std::vector<TAddItem> items,
                                                    QStringList storedNames);

    HRESULT QueryInterface(const GUID& iid, void** out) override;
    uint32_t AddRef() override { return refs_.Add(); }
    uint32_t Release() override { return refs_.Release(this); }

    HRESULT SetTotal(uint64_t total) override;
    HRESULT SetCompleted(const uint64_t* completed) override;
    HRESULT GetUpdateItemInfo(uint32_t index, int32_t* newData, int32_t* newProps,
                              uint32_t* indexInArchive) override;
    HRESULT GetProperty(uint32_t index, PROPID id, PROPVARIANT* value) override;
    HRESULT GetStream(uint32_t index, ISequentialInStream** in) override;
    HRESULT SetOperationResult(int32_t result) override;
    HRESULT CryptoGetTextPassword2(int32_t* passwordIsDefined, BSTR* password) override;

private:
    friend class TRefCount;  // deletes the object with its last reference
    TMyArchiveUpdateCallback(TOperation& operation, std::vector<TAddItem> items, QStringList storedNames);
    ~TMyArchiveUpdateCallback() = default;

    TRefCount refs_;
    TOperation& operation_;
    const std::vector<TAddItem> items_;
    const QStringList storedNames_;
};

}  // namespace safekeep::sz
