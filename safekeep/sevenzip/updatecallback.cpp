#include "safekeep/sevenzip/updatecallback.h"

#include "safekeep/sevenzip/library.h"
#include "safekeep/sevenzip/operation.h"
#include "safekeep/sevenzip/propvariant.h"
#include "safekeep/sevenzip/streamreader.h"
#include "safekeep/sevenzip/widetext.h"

#include <cerrno>

namespace safekeep::sz {

TComPtr<TMyArchiveUpdateCallback>
TMyArchiveUpdateCallback::Create(TOperation& operation, std::vector<TAddItem> items, QStringList storedNames)
{
    return TComPtr<TMyArchiveUpdateCallback>::Adopt(
        new TMyArchiveUpdateCallback(operation, std::move(items), std::move(storedNames)));
}

TMyArchiveUpdateCallback::TMyArchiveUpdateCallback(TOperation& operation, std::vector<TAddItem> items,
                                                   QStringList storedNames)
    : operation_(operation), items_(std::move(items)), storedNames_(std::move(storedNames))
{
}

HRESULT TMyArchiveUpdateCallback::QueryInterface(const GUID& iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IProgress || iid == IID_IArchiveUpdateCallback) {
        *out = static_cast<IArchiveUpdateCallback*>(this);
    } else if (iid == IID_ICryptoGetTextPassword2) {
        // Without this answer the library would write the archive
        // unencrypted, silently.
        *out = static_cast<ICryptoGetTextPassword2*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT TMyArchiveUpdateCallback::SetTotal(uint64_t)
{
    // OnPreProgress was raised with the collected size before writing began.
    return S_OK;
}

HRESULT TMyArchiveUpdateCallback::SetCompleted(const uint64_t* completed)
{
    return operation_.Completed(completed);
}

HRESULT TMyArchiveUpdateCallback::GetUpdateItemInfo(uint32_t, int32_t* newData, int32_t* newProps,
                                                    uint32_t* indexInArchive)
{
    // Every item is new: nothing comes from an earlier archive.
    if (newData)
        *newData = 1;
    if (newProps)
        *newProps = 1;
    if (indexInArchive)
        *indexInArchive = 0xFFFFFFFFu;
    return S_OK;
}

HRESULT TMyArchiveUpdateCallback::GetProperty(uint32_t index, PROPID id, PROPVARIANT* value)
{
    value->vt = VT_EMPTY;
    if (index >= items_.size())
        return E_INVALIDARG;
    const TAddItem& item = items_[index];
    switch (id) {
    case kpidPath:
        SetText(value, operation_.Library(), storedNames_.value(qsizetype(index)));
        break;
    case kpidIsDir:
        SetBool(value, item.IsFolder());
        break;
    case kpidSize:
        SetUInt64(value, item.size);
        break;
    case kpidAttrib:
        SetUInt32(value, item.attributes);
        break;
    case kpidMTime:
        SetFileTime(value, item.modified);
        break;
    case kpidIsAnti:
        SetBool(value, false);
        break;
    default:
        // Creation and access times are not stored.
        break;
    }
    return S_OK;
}

HRESULT TMyArchiveUpdateCallback::GetStream(uint32_t index, ISequentialInStream** in)
{
    *in = nullptr;
    if (index >= items_.size())
        return E_INVALIDARG;
    if (operation_.Stopped())
        return E_ABORT;
    const TAddItem& item = items_[index];
    TComPtr<TMyStreamReader> reader = TMyStreamReader::Open({item.path});
    if (!reader) {
        // A file that vanished or became unreadable since it was collected
        // fails the whole archive: a backup must not silently lack it.
        const int error = errno;
        operation_.Events().RecordError(error);
        return HResultFromErrno(error);
    }
    if (!operation_.StartFile(item.path, item.size))
        return E_ABORT;
    *in = static_cast<IInStream*>(reader.Detach());
    return S_OK;
}

HRESULT TMyArchiveUpdateCallback::SetOperationResult(int32_t)
{
    return S_OK;
}

HRESULT TMyArchiveUpdateCallback::CryptoGetTextPassword2(int32_t* passwordIsDefined, BSTR* password)
{
    const QString& text = operation_.Password();
    *passwordIsDefined = text.isEmpty() ? 0 : 1;
    *password = operation_.Library().AllocString(ToLibraryText(text));
    return *password ? S_OK : E_OUTOFMEMORY;
}

}  // namespace safekeep::sz
