#pragma once
// The callback the library uses while it extracts or tests items. For each
// item it decides where the data go (refusing names that would leave the
// extraction folder), asks about overwriting, writes to a temporary file
// that replaces the target only when the library reports the item sound,
// and turns item results and progress into the component's events.

#include "safekeep/sevenzip/abi.h"
#include "safekeep/sevenzip/comptr.h"
#include "safekeep/sevenzip/itemfile.h"
#include "safekeep/sevenzip/streamwriter.h"

#include <QString>
#include <optional>

namespace safekeep::sz {

class TOperation;

class TMyArchiveExtractCallback final : public IArchiveExtractCallback, public ICryptoGetTextPassword {
public:
    struct TSettings {
        QString folder;              // extraction folder with a trailing "/", or empty
        bool noPath = false;         // only the file-name part of stored names
        bool overwrite = false;      // replace existing files without asking
        bool testOnly = false;       // check items, write nothing
        bool announceTotal = false;  // raise OnPreProgress with the library's total
    };

    static TComPtr<TMyArchiveExtractCallback> Create(TOperation& operation, IInArchive* archive,
                                                     TSettings settings);

    HRESULT QueryInterface(const GUID& iid, void** out) override;
    uint32_t AddRef() override { return refs_.Add(); }
    uint32_t Release() override { return refs_.Release(this); }

    HRESULT SetTotal(uint64_t total) override;
    HRESULT SetCompleted(const uint64_t* completed) override;
    HRESULT GetStream(uint32_t index, ISequentialOutStream** out, int32_t askMode) override;
    HRESULT PrepareOperation(int32_t askMode) override;
    HRESULT SetOperationResult(int32_t result) override;
    HRESULT CryptoGetTextPassword(BSTR* password) override;

    // After the library returned: an item it left unfinished is removed, and
    // one whose data could not be written is reported.
    void Finish();
    // True when at least one item failed (any message but success).
    bool AnyItemFailed() const { return anyItemFailed_; }

private:
    friend class TRefCount;  // deletes the object with its last reference
    // The item the library is working on.
    struct TItem {
        bool active = false;
        bool ignored = false;  // skipped by the library or by our answer
        bool failed = false;   // already reported as not creatable
        QString fileName;      // the name events and messages carry
        std::optional<uint64_t> modified;
        TItemFile file;
        TComPtr<TMyStreamWriter> writer;
    };

    TMyArchiveExtractCallback(TOperation& operation, IInArchive* archive, TSettings settings);
    ~TMyArchiveExtractCallback() = default;

    // Prepares the output of a file or folder item in extract mode; returns
    // the stream for a file (null when nothing is to be written).
    HRESULT PrepareOutput(uint32_t index, const QString& storedName, bool isFolder, uint64_t size,
                          std::optional<uint64_t> attributes, ISequentialOutStream** out);
    // The item could not be created: code 11 with errno error.
    HRESULT FailItem(int error);
    void ResetItem();

    TRefCount refs_;
    TOperation& operation_;
    IInArchive* archive_;
    const TSettings settings_;
    TItem item_;
    bool anyItemFailed_ = false;
};

}  // namespace safekeep::sz
