#pragma once
// The 7-Zip library, loaded at run time. The file is searched for in this
// order: the file named by the environment variable KS_SEVENZIP_LIBRARY (when
// set, it is the only candidate), "7z.so" in the running program's folder,
// "7z.so" through the dynamic loader's own search, and
// /usr/lib/p7zip/7z.so. A candidate is taken when it loads, exports the
// functions we use and reports the three-slot IUnknown layout.

#include "safekeep/sevenzip/abi.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <string>

namespace safekeep::sz {

class TSevenZipLibrary {
public:
    // The environment variable that names the library file for tests.
    static constexpr const char* kOverrideVariable = "KS_SEVENZIP_LIBRARY";
    // The text of the exception raised when no library could be loaded.
    static QString MissingLibraryText();
    // The candidate files in search order (see above).
    static QStringList Candidates();

    // Loads the first usable candidate; raises tk::Exception with
    // MissingLibraryText() when none is.
    static std::unique_ptr<TSevenZipLibrary> Load();
    ~TSevenZipLibrary();
    TSevenZipLibrary(const TSevenZipLibrary&) = delete;
    TSevenZipLibrary& operator=(const TSevenZipLibrary&) = delete;

    // The path of the file that was loaded.
    QString FileName() const { return fileName_; }

    HRESULT CreateObject(const GUID& classId, const GUID& interfaceId, void** object) const;
    // Strings the library frees itself must come from its own allocator.
    BSTR AllocString(const std::wstring& text) const;
    void FreeString(BSTR text) const;
    // Frees what a value returned by the library holds and empties it.
    void ClearVariant(PROPVARIANT* value) const;

private:
    using CreateObjectFunc = HRESULT (*)(const GUID*, const GUID*, void**);
    using GetModulePropFunc = HRESULT (*)(PROPID, PROPVARIANT*);
    using SysAllocStringLenFunc = BSTR (*)(const wchar_t*, uint32_t);
    using SysFreeStringFunc = void (*)(BSTR);
    using VariantClearFunc = HRESULT (*)(PROPVARIANT*);

    TSevenZipLibrary() = default;
    // Loads one candidate; false (with nothing kept open) when it is unusable.
    bool TryLoad(const QString& fileName);

    void* handle_ = nullptr;
    QString fileName_;
    CreateObjectFunc createObject_ = nullptr;
    SysAllocStringLenFunc sysAllocStringLen_ = nullptr;
    SysFreeStringFunc sysFreeString_ = nullptr;
    VariantClearFunc variantClear_ = nullptr;
};

}  // namespace safekeep::sz
