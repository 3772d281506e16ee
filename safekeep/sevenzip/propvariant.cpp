#include "safekeep/sevenzip/propvariant.h"

#include "safekeep/sevenzip/library.h"
#include "safekeep/sevenzip/widetext.h"

namespace safekeep::sz {

TPropVariant::~TPropVariant()
{
    library_.ClearVariant(&value_);
}

PROPVARIANT* TPropVariant::Receive()
{
    library_.ClearVariant(&value_);
    value_.vt = VT_EMPTY;
    return &value_;
}

std::optional<uint64_t> TPropVariant::Number() const
{
    switch (value_.vt) {
    case VT_UI4:
        return value_.ulVal;
    case VT_UI8:
        return value_.uhVal;
    default:
        return std::nullopt;
    }
}

std::optional<bool> TPropVariant::Bool() const
{
    if (value_.vt != VT_BOOL)
        return std::nullopt;
    return value_.boolVal != VARIANT_FALSE;
}

QString TPropVariant::Text() const
{
    return value_.vt == VT_BSTR ? FromLibraryText(value_.bstrVal) : QString();
}

std::optional<uint64_t> TPropVariant::FileTime() const
{
    if (value_.vt != VT_FILETIME)
        return std::nullopt;
    return (uint64_t(value_.filetime.dwHighDateTime) << 32) | value_.filetime.dwLowDateTime;
}

void SetUInt32(PROPVARIANT* value, uint32_t number)
{
    value->vt = VT_UI4;
    value->ulVal = number;
}

void SetUInt64(PROPVARIANT* value, uint64_t number)
{
    value->vt = VT_UI8;
    value->uhVal = number;
}

void SetBool(PROPVARIANT* value, bool flag)
{
    value->vt = VT_BOOL;
    value->boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetFileTime(PROPVARIANT* value, uint64_t ticks)
{
    value->vt = VT_FILETIME;
    value->wReserved1 = 0;
    value->filetime.dwLowDateTime = uint32_t(ticks);
    value->filetime.dwHighDateTime = uint32_t(ticks >> 32);
}

void SetText(PROPVARIANT* value, const TSevenZipLibrary& library, const QString& text)
{
    value->vt = VT_BSTR;
    value->bstrVal = library.AllocString(ToLibraryText(text));
}

}  // namespace safekeep::sz
