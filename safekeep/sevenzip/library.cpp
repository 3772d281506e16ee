#include "safekeep/sevenzip/library.h"

#include "toolkit/core/exceptions.h"

#include <QFileInfo>
#include <dlfcn.h>

namespace safekeep::sz {

namespace {

constexpr const char* kLibraryName = "7z.so";
constexpr const char* kSystemLibrary = "/usr/lib/p7zip/7z.so";
// GetModuleProp(kModuleInterfaceType) is 0 when IUnknown has no virtual
// destructor, the layout abi.h declares.
constexpr PROPID kModuleInterfaceType = 0;

}  // namespace

QString TSevenZipLibrary::MissingLibraryText()
{
    return QStringLiteral("Could not load CreateObject function from 7za.dll\r\nPerhaps 7za.dll not found");
}

QStringList TSevenZipLibrary::Candidates()
{
    const QByteArray override = qgetenv(kOverrideVariable);
    if (!override.isEmpty())
        return {QString::fromLocal8Bit(override)};
    QStringList result;
    const QFileInfo program(QStringLiteral("/proc/self/exe"));
    const QString programFolder = QFileInfo(program.symLinkTarget()).absolutePath();
    if (!programFolder.isEmpty())
        result << programFolder + QLatin1Char('/') + QLatin1String(kLibraryName);
    result << QLatin1String(kLibraryName) << QLatin1String(kSystemLibrary);
    return result;
}

std::unique_ptr<TSevenZipLibrary> TSevenZipLibrary::Load()
{
    std::unique_ptr<TSevenZipLibrary> library(new TSevenZipLibrary);
    for (const QString& candidate : Candidates()) {
        if (library->TryLoad(candidate))
            return library;
    }
    throw tk::Exception(MissingLibraryText());
}

bool TSevenZipLibrary::TryLoad(const QString& fileName)
{
    // A bare name goes through the loader's search; a name with a slash is
    // opened as it stands.
    void* handle = ::dlopen(fileName.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        return false;
    const auto createObject = reinterpret_cast<CreateObjectFunc>(::dlsym(handle, "CreateObject"));
    const auto getModuleProp = reinterpret_cast<GetModulePropFunc>(::dlsym(handle, "GetModuleProp"));
    const auto allocString = reinterpret_cast<SysAllocStringLenFunc>(::dlsym(handle, "SysAllocStringLen"));
    const auto freeString = reinterpret_cast<SysFreeStringFunc>(::dlsym(handle, "SysFreeString"));
    const auto variantClear = reinterpret_cast<VariantClearFunc>(::dlsym(handle, "VariantClear"));
    bool usable = createObject && getModuleProp && allocString && freeString && variantClear;
    if (usable) {
        // A library whose IUnknown carries a virtual destructor has a
        // different vtable layout; calling it would crash.
        PROPVARIANT layout{};
        layout.vt = VT_EMPTY;
        usable =
            getModuleProp(kModuleInterfaceType, &layout) == S_OK && layout.vt == VT_UI4 && layout.ulVal == 0;
    }
    if (!usable) {
        ::dlclose(handle);
        return false;
    }
    handle_ = handle;
    // The file the loader chose, also when it searched for a bare name.
    Dl_info info{};
    fileName_ = ::dladdr(reinterpret_cast<void*>(createObject), &info) && info.dli_fname
                    ? QString::fromLocal8Bit(info.dli_fname)
                    : fileName;
    createObject_ = createObject;
    sysAllocStringLen_ = allocString;
    sysFreeString_ = freeString;
    variantClear_ = variantClear;
    return true;
}

TSevenZipLibrary::~TSevenZipLibrary()
{
    if (handle_)
        ::dlclose(handle_);
}

HRESULT TSevenZipLibrary::CreateObject(const GUID& classId, const GUID& interfaceId, void** object) const
{
    return createObject_(&classId, &interfaceId, object);
}

BSTR TSevenZipLibrary::AllocString(const std::wstring& text) const
{
    return sysAllocStringLen_(text.data(), uint32_t(text.size()));
}

void TSevenZipLibrary::FreeString(BSTR text) const
{
    sysFreeString_(text);
}

void TSevenZipLibrary::ClearVariant(PROPVARIANT* value) const
{
    variantClear_(value);
}

}  // namespace safekeep::sz
