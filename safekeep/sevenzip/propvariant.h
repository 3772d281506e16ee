#pragma once
// Reading the tagged values the library returns and filling the ones it asks
// us for. Numbers may come as 32- or 64-bit values; an empty value means
// "not defined".

#include "safekeep/sevenzip/abi.h"

#include <QString>
#include <optional>

namespace safekeep::sz {

class TSevenZipLibrary;

// A value the library fills; what it holds is freed with the library's own
// function when the holder ends.
class TPropVariant {
public:
    explicit TPropVariant(const TSevenZipLibrary& library) : library_(library) { value_.vt = VT_EMPTY; }
    ~TPropVariant();
    TPropVariant(const TPropVariant&) = delete;
    TPropVariant& operator=(const TPropVariant&) = delete;

    // Empties the value and hands out its address for a library getter.
    PROPVARIANT* Receive();
    const PROPVARIANT& Value() const { return value_; }

    std::optional<uint64_t> Number() const;
    std::optional<bool> Bool() const;
    // Empty when the value is no string.
    QString Text() const;
    // 100-nanosecond ticks since 1601 (UTC); empty when not defined.
    std::optional<uint64_t> FileTime() const;

private:
    const TSevenZipLibrary& library_;
    PROPVARIANT value_{};
};

// Values we hand to the library through out parameters. Strings are
// allocated with the library's allocator, because the library frees them.
void SetUInt32(PROPVARIANT* value, uint32_t number);
void SetUInt64(PROPVARIANT* value, uint64_t number);
void SetBool(PROPVARIANT* value, bool flag);
void SetFileTime(PROPVARIANT* value, uint64_t ticks);
void SetText(PROPVARIANT* value, const TSevenZipLibrary& library, const QString& text);

}  // namespace safekeep::sz
