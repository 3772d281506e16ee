// Comparison and arithmetic of Variants; the rules are listed in variant.h.
#include "toolkit/core/variant.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace tk {

namespace {

enum class Operation { Add, Subtract, Multiply, Divide };

// How two numeric operands combine, from the most exact to the widest.
enum class NumberClass { Integer, Currency, Bcd, Float, Date };

[[noreturn]] void RaiseIncompatible(const Variant& a, const Variant& b, const char* what)
{
    throw EVariantError(QStringLiteral("Invalid variant %1: %2 and %3")
                            .arg(QLatin1String(what), VariantKindName(a.Kind()), VariantKindName(b.Kind())));
}

[[noreturn]] void RaiseZeroDivide()
{
    throw EZeroDivide(QStringLiteral("Division by zero"));
}

NumberClass ClassOf(const Variant& v)
{
    if (v.IsOrdinal())
        return NumberClass::Integer;
    switch (v.Kind()) {
    case VariantKind::Currency: return NumberClass::Currency;
    case VariantKind::Bcd: return NumberClass::Bcd;
    case VariantKind::Date: return NumberClass::Date;
    default: return NumberClass::Float;
    }
}

bool IsNumberLike(const Variant& v)
{
    return v.IsNumeric() || v.IsDate();
}

// A string operand as a number (Int64 when it is a whole number, else
// Double); other operands unchanged. Raises for text that is not a number.
Variant NumberFromText(const Variant& v, const Variant& other, const char* what)
{
    if (!v.IsString())
        return v;
    bool whole = false;
    const qint64 integer = v.ToString().trimmed().toLongLong(&whole);
    if (whole)
        return Variant(integer);
    try {
        return Variant(v.ToDouble());
    } catch (const EVariantTypeCastError&) {
        RaiseIncompatible(v, other, what);
    }
}

bool IsNarrowInteger(const Variant& v)
{
    return v.IsOrdinal() && v.Kind() != VariantKind::Int64;
}

Variant IntegerResult(qint64 value, bool narrow)
{
    if (narrow && value >= std::numeric_limits<qint32>::min() && value <= std::numeric_limits<qint32>::max())
        return Variant(static_cast<qint32>(value));
    return Variant(value);
}

Variant FloatResult(double value)
{
    if (!std::isfinite(value))
        throw EVariantOverflowError(QStringLiteral("Floating point overflow"));
    return Variant(value);
}

Variant FloatOperation(Operation op, double x, double y)
{
    switch (op) {
    case Operation::Add: return FloatResult(x + y);
    case Operation::Subtract: return FloatResult(x - y);
    case Operation::Multiply: return FloatResult(x * y);
    case Operation::Divide:
        if (y == 0)
            RaiseZeroDivide();
        return FloatResult(x / y);
    }
    Q_UNREACHABLE();
}

// Two ordinal operands; not for division, which is done in floats.
Variant IntegerOperation(Operation op, const Variant& a, const Variant& b)
{
    Q_ASSERT(op != Operation::Divide && a.IsOrdinal() && b.IsOrdinal());
    const qint64 x = a.ToInt64(), y = b.ToInt64();
    qint64 result = 0;
    bool overflow = false;
    switch (op) {
    case Operation::Add: overflow = __builtin_add_overflow(x, y, &result); break;
    case Operation::Subtract: overflow = __builtin_sub_overflow(x, y, &result); break;
    case Operation::Multiply: overflow = __builtin_mul_overflow(x, y, &result); break;
    case Operation::Divide: break;
    }
    if (overflow)
        throw EVariantOverflowError(QStringLiteral("Integer overflow"));
    return IntegerResult(result, IsNarrowInteger(a) && IsNarrowInteger(b));
}

Variant Calculate(Operation op, const Variant& left, const Variant& right)
{
    // Two doubles or two 32- or 64-bit integers, the steps of a sum over
    // many rows: the rules below give these at once.
    const VariantKind leftKind = left.Kind(), rightKind = right.Kind();
    if (leftKind == VariantKind::Double && rightKind == VariantKind::Double)
        return FloatOperation(op, left.ToDouble(), right.ToDouble());
    const auto wholeNumber = [](VariantKind kind) { return kind == VariantKind::Int32 || kind == VariantKind::Int64; };
    if (op != Operation::Divide && wholeNumber(leftKind) && wholeNumber(rightKind))
        return IntegerOperation(op, left, right);

    static const char* const names[] = {"addition", "subtraction", "multiplication", "division"};
    const char* what = names[static_cast<int>(op)];
    if (left.IsNull() || right.IsNull())
        return Variant::NullValue();
    if (op == Operation::Add && (left.IsString() || left.IsUnassigned()) &&
        (right.IsString() || right.IsUnassigned()) && (left.IsString() || right.IsString()))
        return Variant(left.ToString() + right.ToString());

    // Operands that are numbers already are used in place: sums over many
    // rows would otherwise copy both at every step.
    Variant leftNumber, rightNumber;
    const Variant& a = left.IsUnassigned() || left.IsString()
                           ? (leftNumber = left.IsUnassigned() ? Variant(0) : NumberFromText(left, right, what))
                           : left;
    const Variant& b = right.IsUnassigned() || right.IsString()
                           ? (rightNumber = right.IsUnassigned() ? Variant(0) : NumberFromText(right, left, what))
                           : right;
    if (!IsNumberLike(a) || !IsNumberLike(b))
        RaiseIncompatible(left, right, what);

    const NumberClass ca = ClassOf(a), cb = ClassOf(b);
    if (ca == NumberClass::Date || cb == NumberClass::Date) {
        const double x = a.ToDouble(), y = b.ToDouble();
        switch (op) {
        case Operation::Add:
            return ca == cb ? FloatResult(x + y) : Variant::FromDate(FloatResult(x + y).ToDouble());
        case Operation::Subtract:
            return ca == NumberClass::Date && cb != NumberClass::Date ? Variant::FromDate(FloatResult(x - y).ToDouble())
                                                                       : FloatResult(x - y);
        case Operation::Multiply: return FloatResult(x * y);
        case Operation::Divide:
            if (y == 0)
                RaiseZeroDivide();
            return FloatResult(x / y);
        }
    }
    if (ca == NumberClass::Float || cb == NumberClass::Float ||
        (op == Operation::Divide && ca == NumberClass::Integer))
        return FloatOperation(op, a.ToDouble(), b.ToDouble());
    if (ca == NumberClass::Integer && cb == NumberClass::Integer)
        return IntegerOperation(op, a, b);
    // Currency and BCD are exact: compute as BCD, keep currency when no BCD
    // operand was involved.
    const TBcd x = a.ToBcd(), y = b.ToBcd();
    TBcd result;
    switch (op) {
    case Operation::Add: result = x + y; break;
    case Operation::Subtract: result = x - y; break;
    case Operation::Multiply: result = x * y; break;
    case Operation::Divide: result = x / y; break;  // EZeroDivide
    }
    if (ca == NumberClass::Bcd || cb == NumberClass::Bcd)
        return Variant(result);
    return Variant(result.ToCurrency());
}

int Sign(double x, double y)
{
    return x < y ? -1 : (x > y ? 1 : 0);
}

int CompareNumbers(const Variant& a, const Variant& b)
{
    const NumberClass ca = ClassOf(a), cb = ClassOf(b);
    if (ca == NumberClass::Integer && cb == NumberClass::Integer) {
        const qint64 x = a.ToInt64(), y = b.ToInt64();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (ca == NumberClass::Float || cb == NumberClass::Float || ca == NumberClass::Date || cb == NumberClass::Date)
        return Sign(a.ToDouble(), b.ToDouble());
    const TBcd x = a.ToBcd(), y = b.ToBcd();
    return x < y ? -1 : (y < x ? 1 : 0);
}

}  // namespace

int Compare(const Variant& a, const Variant& b)
{
    if (a.IsEmptyOrNull() || b.IsEmptyOrNull())
        RaiseIncompatible(a, b, "comparison");
    if (a.IsArray() || b.IsArray()) {
        if (!a.IsArray() || !b.IsArray())
            RaiseIncompatible(a, b, "comparison");
        const VariantArray& x = a.Elements();
        const VariantArray& y = b.Elements();
        for (size_t i = 0; i < x.size() && i < y.size(); ++i)
            if (const int order = Compare(x[i], y[i]))
                return order;
        return x.size() < y.size() ? -1 : (x.size() > y.size() ? 1 : 0);
    }
    if (a.IsBytes() || b.IsBytes()) {
        if (!a.IsBytes() || !b.IsBytes())
            RaiseIncompatible(a, b, "comparison");
        const QByteArray x = a.ToBytes(), y = b.ToBytes();
        const int order = std::memcmp(x.constData(), y.constData(), static_cast<size_t>(std::min(x.size(), y.size())));
        if (order != 0)
            return order < 0 ? -1 : 1;
        return Sign(x.size(), y.size());
    }
    if (a.IsBoolean() || b.IsBoolean()) {
        if (!a.IsBoolean() || !b.IsBoolean())
            RaiseIncompatible(a, b, "comparison");
        return static_cast<int>(a.ToBoolean()) - static_cast<int>(b.ToBoolean());
    }
    if (a.IsString() && b.IsString()) {
        const int order = a.ToString().compare(b.ToString(), Qt::CaseSensitive);
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    return CompareNumbers(NumberFromText(a, b, "comparison"), NumberFromText(b, a, "comparison"));
}

bool operator==(const Variant& a, const Variant& b)
{
    if (a.IsEmptyOrNull() || b.IsEmptyOrNull())
        return a.Kind() == b.Kind();
    if (a.IsArray() && b.IsArray()) {
        const VariantArray& x = a.Elements();
        const VariantArray& y = b.Elements();
        if (x.size() != y.size())
            return false;
        for (size_t i = 0; i < x.size(); ++i)
            if (!(x[i] == y[i]))
                return false;
        return true;
    }
    return Compare(a, b) == 0;
}

bool operator<(const Variant& a, const Variant& b) { return Compare(a, b) < 0; }
bool operator>(const Variant& a, const Variant& b) { return Compare(a, b) > 0; }
bool operator<=(const Variant& a, const Variant& b) { return Compare(a, b) <= 0; }
bool operator>=(const Variant& a, const Variant& b) { return Compare(a, b) >= 0; }

Variant operator+(const Variant& a, const Variant& b) { return Calculate(Operation::Add, a, b); }
Variant operator-(const Variant& a, const Variant& b) { return Calculate(Operation::Subtract, a, b); }
Variant operator*(const Variant& a, const Variant& b) { return Calculate(Operation::Multiply, a, b); }
Variant operator/(const Variant& a, const Variant& b) { return Calculate(Operation::Divide, a, b); }

}  // namespace tk
