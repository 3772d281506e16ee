#pragma once
// Variant: the tagged value fields, totals and key lists pass around. Unlike
// QVariant it keeps "never assigned" (Unassigned) apart from "no value"
// (Null), and knows currency, BCD and dates as kinds of their own.
//
// Conversions (ToDouble, ToCurrency, ToInt64, ToBcd...):
//   - numbers and dates convert to each other; integers are rounded from
//     fractions halves away from zero and raise EVariantOverflowError when
//     they do not fit;
//   - Unassigned converts to 0, "" and False; Null raises
//     EVariantTypeCastError for every conversion except ToString (""),
//     Booleans and arrays raise for numbers (a Boolean is not a number here:
//     a sum over a Boolean column counts values but adds nothing);
//   - a string converts when it reads as a number with the locale's decimal
//     separator, or else with ".", and raises EVariantTypeCastError when it
//     does not.
//
// Comparison (==, <, >, <=, >=, Compare):
//   - Unassigned equals Unassigned and Null equals Null; either is unequal
//     to every other value, and ordering any of them raises EVariantError;
//   - numbers (including currency, BCD and dates) compare by value; a
//     string against a number compares as a number when it reads as one;
//     strings compare case-sensitively by code point;
//   - Booleans compare with Booleans (False < True); arrays compare element
//     by element, shorter first;
//   - byte strings (blob and binary values) compare with byte strings by
//     content, unsigned byte by byte, shorter first;
//   - any other pair (Boolean and number, text that is not a number and a
//     number, array and scalar, bytes and anything else) raises EVariantError.
//
// Arithmetic (+, -, *, /):
//   - Null in either operand gives Null; Unassigned counts as 0 (or "" when
//     the other operand is a string);
//   - string + string concatenates; a numeric string with a number is a number;
//   - integers stay integers (32 bits, widening to 64; 64-bit overflow
//     raises); currency with integers or currency stays currency; BCD with
//     integers, currency or BCD stays BCD; anything with a float is Double;
//     date ± number is a date and date - date is Double;
//   - "/" of integers or floats is Double; currency or BCD divided by an
//     integer, currency or BCD keeps its kind (an average of prices is a
//     price); division by zero raises EZeroDivide;
//   - Booleans, arrays, byte strings and non-numeric strings raise
//     EVariantError.
//
// Byte strings (Bytes) hold blob and binary values: ToBytes gives them (a
// string converts as UTF-8, Unassigned and Null give no bytes), ToString
// reads them as Latin-1, numbers and dates raise.

#include "toolkit/core/bcd.h"
#include "toolkit/core/currency.h"
#include "toolkit/core/datetime.h"
#include "toolkit/core/varianterrors.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QtGlobal>
#include <memory>
#include <variant>
#include <vector>

namespace tk {

// The order is the storage order; do not reorder.
enum class VariantKind {
    Unassigned,
    Null,
    Int8,
    Int16,
    Int32,
    UInt8,
    UInt16,
    UInt32,
    Int64,
    Single,
    Double,
    Currency,
    Date,
    Boolean,
    Bcd,
    String,
    Array,
    Bytes,
};

// Name of a kind for messages: "Unassigned", "Null", "Int32", ...
QString VariantKindName(VariantKind kind);

class Variant;
using VariantArray = std::vector<Variant>;

class Variant {
public:
    Variant() = default;  // Unassigned
    static Variant NullValue();
    static Variant FromDate(TDateTime value);
    static Variant FromArray(VariantArray values);

    Variant(qint8 v) : value_(v) {}
    Variant(qint16 v) : value_(v) {}
    Variant(qint32 v) : value_(v) {}
    Variant(quint8 v) : value_(v) {}
    Variant(quint16 v) : value_(v) {}
    Variant(quint32 v) : value_(v) {}
    Variant(qint64 v) : value_(v) {}
    Variant(float v) : value_(v) {}
    Variant(double v) : value_(v) {}
    Variant(TCurrency v) : value_(v) {}
    Variant(bool v) : value_(v) {}
    Variant(const TBcd& v) : value_(v) {}
    Variant(const QString& v) : value_(v) {}
    Variant(const char* utf8) : value_(QString::fromUtf8(utf8)) {}
    Variant(const QByteArray& v) : value_(v) {}

    VariantKind Kind() const { return static_cast<VariantKind>(value_.index()); }

    bool IsUnassigned() const { return Kind() == VariantKind::Unassigned; }
    bool IsNull() const { return Kind() == VariantKind::Null; }
    bool IsEmptyOrNull() const { return IsUnassigned() || IsNull(); }
    bool IsOrdinal() const;  // integers of every width
    bool IsFloat() const;    // Single, Double, Currency
    bool IsNumeric() const;  // ordinal, float or BCD
    bool IsBcd() const { return Kind() == VariantKind::Bcd; }
    bool IsDate() const { return Kind() == VariantKind::Date; }
    bool IsString() const { return Kind() == VariantKind::String; }
    bool IsBoolean() const { return Kind() == VariantKind::Boolean; }
    bool IsArray() const { return Kind() == VariantKind::Array; }
    bool IsBytes() const { return Kind() == VariantKind::Bytes; }

    double ToDouble() const;
    TCurrency ToCurrency() const;
    TBcd ToBcd() const;
    qint64 ToInt64() const;
    int ToInt() const;  // overflow beyond 32 bits raises
    TDateTime ToDateTime() const;
    bool ToBoolean() const;  // Booleans, Unassigned, numbers (non-zero) and "True"/"False"
    // The plain text: "" for Unassigned and Null, numbers in the general
    // format with the locale's separator, currency and BCD without trailing
    // zeros, dates as DateTimeToStr, "True"/"False". Arrays raise.
    QString ToString() const;
    QByteArray ToBytes() const;

    // The elements of an array; EVariantError for other kinds.
    const VariantArray& Elements() const;

    // The data layer's bridge. Unassigned <-> invalid QVariant, Null <->
    // QVariant holding nullptr (any null QVariant reads as Null), currency
    // and BCD travel as their own registered types, dates as QDateTime,
    // arrays as QVariantList.
    QVariant ToQVariant() const;
    static Variant FromQVariant(const QVariant& value);

    // Same kind and same value (no conversions, never raises): for tests and
    // for "did this value change?".
    bool SameAs(const Variant& other) const;

private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    struct DateValue {
        TDateTime value;
        bool operator==(const DateValue&) const = default;
    };
    using ArrayPtr = std::shared_ptr<const VariantArray>;
    using Storage = std::variant<std::monostate, NullTag, qint8, qint16, qint32, quint8, quint16, quint32, qint64,
                                 float, double, TCurrency, DateValue, bool, TBcd, QString, ArrayPtr, QByteArray>;

    Storage value_;
};

// Orders a against b: negative, zero or positive; raises by the rules above.
int Compare(const Variant& a, const Variant& b);
bool operator==(const Variant& a, const Variant& b);
bool operator<(const Variant& a, const Variant& b);
bool operator>(const Variant& a, const Variant& b);
bool operator<=(const Variant& a, const Variant& b);
bool operator>=(const Variant& a, const Variant& b);

Variant operator+(const Variant& a, const Variant& b);
Variant operator-(const Variant& a, const Variant& b);
Variant operator*(const Variant& a, const Variant& b);
Variant operator/(const Variant& a, const Variant& b);

}  // namespace tk

Q_DECLARE_METATYPE(tk::TCurrency)
Q_DECLARE_METATYPE(tk::TBcd)
