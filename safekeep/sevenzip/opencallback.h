#pragma once
// The callback the library uses while it opens an archive. It only answers
// password requests (the library asks when the archive's names are
// encrypted) and remembers that it was asked, which tells a wrong password
// apart from a damaged file when the opening fails.

#include "safekeep/sevenzip/abi.h"
#include "safekeep/sevenzip/comptr.h"

#include <QString>
#include <atomic>

namespace safekeep::sz {

class TSevenZipLibrary;

class TMyArchiveOpenCallback final : public IArchiveOpenCallback, public ICryptoGetTextPassword {
public:
    static TComPtr<TMyArchiveOpenCallback> Create(const TSevenZipLibrary& library, const QString& password);

    HRESULT QueryInterface(const GUID& iid, void** out) override;
    uint32_t AddRef() override { return refs_.Add(); }
    uint32_t Release() override { return refs_.Release(this); }

    HRESULT SetTotal(const uint64_t* files, const uint64_t* bytes) override;
    HRESULT SetCompleted(const uint64_t* files, const uint64_t* bytes) override;
    HRESULT CryptoGetTextPassword(BSTR* password) override;

    bool PasswordAsked() const { return passwordAsked_; }

private:
    friend class TRefCount;  // deletes the object with its last reference
    TMyArchiveOpenCallback(const TSevenZipLibrary& library, const QString& password)
        : library_(library), password_(password)
    {
    }
    ~TMyArchiveOpenCallback() = default;

    TRefCount refs_;
    const TSevenZipLibrary& library_;
    const QString password_;
    std::atomic<bool> passwordAsked_{false};
};

// The answer to a password request, shared by the open and extract
// callbacks: the password when there is one, else S_FALSE and no password,
// which makes the library give up on the encrypted data.
HRESULT AnswerPasswordRequest(const TSevenZipLibrary& library, const QString& password, BSTR* answer);

}  // namespace safekeep::sz
