#include "safekeep/sevenzip/opencallback.h"

#include "safekeep/sevenzip/library.h"
#include "safekeep/sevenzip/widetext.h"

namespace safekeep::sz {

HRESULT AnswerPasswordRequest(const TSevenZipLibrary& library, const QString& password, BSTR* answer)
{
    if (password.isEmpty()) {
        *answer = nullptr;
        return S_FALSE;
    }
    *answer = library.AllocString(ToLibraryText(password));
    return *answer ? S_OK : E_OUTOFMEMORY;
}

TComPtr<TMyArchiveOpenCallback> TMyArchiveOpenCallback::Create(const TSevenZipLibrary& library,
                                                               const QString& password)
{
    return TComPtr<TMyArchiveOpenCallback>::Adopt(new TMyArchiveOpenCallback(library, password));
}

HRESULT TMyArchiveOpenCallback::QueryInterface(const GUID& iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IArchiveOpenCallback) {
        *out = static_cast<IArchiveOpenCallback*>(this);
    } else if (iid == IID_ICryptoGetTextPassword) {
        *out = static_cast<ICryptoGetTextPassword*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT TMyArchiveOpenCallback::SetTotal(const uint64_t*, const uint64_t*)
{
    return S_OK;
}

HRESULT TMyArchiveOpenCallback::SetCompleted(const uint64_t*, const uint64_t*)
{
    return S_OK;
}

HRESULT TMyArchiveOpenCallback::CryptoGetTextPassword(BSTR* password)
{
    passwordAsked_ = true;
    return AnswerPasswordRequest(library_, password_, password);
}

}  // namespace safekeep::sz
