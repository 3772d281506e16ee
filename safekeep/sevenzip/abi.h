#pragma once
// The binary interface of the 7-Zip library as this build exposes it:
// scalar types, result codes, the tagged property value, interface ids and
// the COM-style interfaces we call or implement. IUnknown has three slots
// (no virtual destructor); the library confirms that at load time.
//
// Everything lives in our own namespace so that no name collides with the
// weak type information the library exports for its own IUnknown.

#include <cstdint>
#include <cstring>

namespace safekeep::sz {

using HRESULT = int32_t;
using PROPID = uint32_t;
using VARTYPE = uint16_t;
using VARIANT_BOOL = int16_t;
using BSTR = wchar_t*;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOTIMPL = HRESULT(0x80004001u);
constexpr HRESULT E_NOINTERFACE = HRESULT(0x80004002u);
constexpr HRESULT E_ABORT = HRESULT(0x80004004u);
constexpr HRESULT E_FAIL = HRESULT(0x80004005u);
constexpr HRESULT E_OUTOFMEMORY = HRESULT(0x8007000Eu);
constexpr HRESULT E_INVALIDARG = HRESULT(0x80070057u);
constexpr HRESULT E_NEGATIVE_SEEK = HRESULT(0x80070083u);

// The library's reading of an errno as a result code.
constexpr HRESULT HResultFromErrno(int error)
{
    return HRESULT(0x88000000u | (uint32_t(error) & 0xFFFFu));
}

constexpr VARIANT_BOOL VARIANT_TRUE = -1;
constexpr VARIANT_BOOL VARIANT_FALSE = 0;

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};

inline bool operator==(const GUID& a, const GUID& b)
{
    return std::memcmp(&a, &b, sizeof(GUID)) == 0;
}

// Ids of the library's interfaces: {23170F69-40C1-278A-0000-00gg00ss0000}.
constexpr GUID ArchiveIid(uint8_t group, uint8_t sub)
{
    return GUID{0x23170F69, 0x40C1, 0x278A, {0, 0, 0, group, 0, sub, 0, 0}};
}

constexpr GUID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID IID_IProgress = ArchiveIid(0x00, 0x05);
constexpr GUID IID_ISequentialInStream = ArchiveIid(0x03, 0x01);
constexpr GUID IID_ISequentialOutStream = ArchiveIid(0x03, 0x02);
constexpr GUID IID_IInStream = ArchiveIid(0x03, 0x03);
constexpr GUID IID_IOutStream = ArchiveIid(0x03, 0x04);
constexpr GUID IID_IStreamGetSize = ArchiveIid(0x03, 0x06);
constexpr GUID IID_ICryptoGetTextPassword = ArchiveIid(0x05, 0x10);
constexpr GUID IID_ICryptoGetTextPassword2 = ArchiveIid(0x05, 0x11);
constexpr GUID IID_ISetProperties = ArchiveIid(0x06, 0x03);
constexpr GUID IID_IArchiveOpenCallback = ArchiveIid(0x06, 0x10);
constexpr GUID IID_IArchiveExtractCallback = ArchiveIid(0x06, 0x20);
constexpr GUID IID_IInArchive = ArchiveIid(0x06, 0x60);
constexpr GUID IID_IArchiveUpdateCallback = ArchiveIid(0x06, 0x80);
constexpr GUID IID_IOutArchive = ArchiveIid(0x06, 0xA0);
// The 7z format handler.
constexpr GUID CLSID_Format7z{0x23170F69, 0x40C1, 0x278A, {0x10, 0x00, 0x00, 0x01, 0x10, 0x07, 0x00, 0x00}};

struct FILETIME {
    uint32_t dwLowDateTime;
    uint32_t dwHighDateTime;
};

enum : VARTYPE {
    VT_EMPTY = 0,
    VT_BSTR = 8,
    VT_BOOL = 11,
    VT_UI4 = 19,
    VT_UI8 = 21,
    VT_FILETIME = 64,
};

struct PROPVARIANT {
    VARTYPE vt;
    uint16_t wReserved1;
    uint16_t wReserved2;
    uint16_t wReserved3;
    union {
        uint32_t ulVal;
        uint64_t uhVal;
        VARIANT_BOOL boolVal;
        FILETIME filetime;
        BSTR bstrVal;
    };
};
static_assert(sizeof(PROPVARIANT) == 16, "PROPVARIANT must match the library's layout");

// Item and archive property ids.
enum : PROPID {
    kpidPath = 3,
    kpidIsDir = 6,
    kpidSize = 7,
    kpidPackSize = 8,
    kpidAttrib = 9,
    kpidCTime = 10,
    kpidATime = 11,
    kpidMTime = 12,
    kpidEncrypted = 15,
    kpidCRC = 19,
    kpidIsAnti = 21,
    kpidMethod = 22,
    kpidErrorFlags = 71,
};

// Bits of kpidErrorFlags.
constexpr uint32_t kErrorFlagIsNotArc = 0x1;

// Extract modes and item results.
enum : int32_t { kAskExtract = 0, kAskTest = 1, kAskSkip = 2 };
enum : int32_t { kResultOK = 0, kResultUnsupportedMethod = 1, kResultDataError = 2, kResultCRCError = 3 };

// --- Interfaces (vtable order matters) ----------------------------------

struct IUnknown {
    virtual HRESULT QueryInterface(const GUID& iid, void** out) = 0;
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;

protected:
    ~IUnknown() = default;
};

struct ISequentialInStream : IUnknown {
    virtual HRESULT Read(void* data, uint32_t size, uint32_t* processed) = 0;

protected:
    ~ISequentialInStream() = default;
};

struct ISequentialOutStream : IUnknown {
    virtual HRESULT Write(const void* data, uint32_t size, uint32_t* processed) = 0;

protected:
    ~ISequentialOutStream() = default;
};

struct IInStream : ISequentialInStream {
    virtual HRESULT Seek(int64_t offset, uint32_t origin, uint64_t* newPosition) = 0;

protected:
    ~IInStream() = default;
};

struct IOutStream : ISequentialOutStream {
    virtual HRESULT Seek(int64_t offset, uint32_t origin, uint64_t* newPosition) = 0;
    virtual HRESULT SetSize(uint64_t size) = 0;

protected:
    ~IOutStream() = default;
};

struct IStreamGetSize : IUnknown {
    virtual HRESULT GetSize(uint64_t* size) = 0;

protected:
    ~IStreamGetSize() = default;
};

struct IProgress : IUnknown {
    virtual HRESULT SetTotal(uint64_t total) = 0;
    virtual HRESULT SetCompleted(const uint64_t* completed) = 0;

protected:
    ~IProgress() = default;
};

struct ICryptoGetTextPassword : IUnknown {
    virtual HRESULT CryptoGetTextPassword(BSTR* password) = 0;

protected:
    ~ICryptoGetTextPassword() = default;
};

struct ICryptoGetTextPassword2 : IUnknown {
    virtual HRESULT CryptoGetTextPassword2(int32_t* passwordIsDefined, BSTR* password) = 0;

protected:
    ~ICryptoGetTextPassword2() = default;
};

struct ISetProperties : IUnknown {
    virtual HRESULT SetProperties(const wchar_t* const* names, const PROPVARIANT* values, uint32_t count) = 0;

protected:
    ~ISetProperties() = default;
};

struct IArchiveOpenCallback : IUnknown {
    virtual HRESULT SetTotal(const uint64_t* files, const uint64_t* bytes) = 0;
    virtual HRESULT SetCompleted(const uint64_t* files, const uint64_t* bytes) = 0;

protected:
    ~IArchiveOpenCallback() = default;
};

struct IArchiveExtractCallback : IProgress {
    virtual HRESULT GetStream(uint32_t index, ISequentialOutStream** out, int32_t askMode) = 0;
    virtual HRESULT PrepareOperation(int32_t askMode) = 0;
    virtual HRESULT SetOperationResult(int32_t result) = 0;

protected:
    ~IArchiveExtractCallback() = default;
};

struct IArchiveUpdateCallback : IProgress {
    virtual HRESULT GetUpdateItemInfo(uint32_t index, int32_t* newData, int32_t* newProps,
                                      uint32_t* indexInArchive) = 0;
    virtual HRESULT GetProperty(uint32_t index, PROPID id, PROPVARIANT* value) = 0;
    virtual HRESULT GetStream(uint32_t index, ISequentialInStream** in) = 0;
    virtual HRESULT SetOperationResult(int32_t result) = 0;

protected:
    ~IArchiveUpdateCallback() = default;
};

struct IInArchive : IUnknown {
    virtual HRESULT Open(IInStream* stream, const uint64_t* maxCheckStartPosition,
                         IArchiveOpenCallback* callback) = 0;
    virtual HRESULT Close() = 0;
    virtual HRESULT GetNumberOfItems(uint32_t* count) = 0;
    virtual HRESULT GetProperty(uint32_t index, PROPID id, PROPVARIANT* value) = 0;
    virtual HRESULT Extract(const uint32_t* indices, uint32_t count, int32_t testMode,
                            IArchiveExtractCallback* callback) = 0;
    virtual HRESULT GetArchiveProperty(PROPID id, PROPVARIANT* value) = 0;
    virtual HRESULT GetNumberOfProperties(uint32_t* count) = 0;
    virtual HRESULT GetPropertyInfo(uint32_t index, BSTR* name, PROPID* id, VARTYPE* type) = 0;
    virtual HRESULT GetNumberOfArchiveProperties(uint32_t* count) = 0;
    virtual HRESULT GetArchivePropertyInfo(uint32_t index, BSTR* name, PROPID* id, VARTYPE* type) = 0;

protected:
    ~IInArchive() = default;
};

struct IOutArchive : IUnknown {
    virtual HRESULT UpdateItems(ISequentialOutStream* out, uint32_t count,
                                IArchiveUpdateCallback* callback) = 0;
    virtual HRESULT GetFileTimeType(uint32_t* type) = 0;

protected:
    ~IOutArchive() = default;
};

}  // namespace safekeep::sz
