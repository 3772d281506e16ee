#include "toolkit/core/bcd.h"

#include "toolkit/core/varianterrors.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace tk {

namespace {

using Magnitude = unsigned __int128;

constexpr Magnitude Power10(int n)
{
    Magnitude p = 1;
    for (int i = 0; i < n; ++i)
        p *= 10;
    return p;
}

constexpr Magnitude kUnit = Power10(TBcd::kScale);
constexpr Magnitude kLimit = Power10(TBcd::kScale + TBcd::kMaxIntegerDigits);
constexpr Magnitude kHalfSplit = Power10(15);  // splits a 30-digit magnitude in two halves

Magnitude Abs(__int128 v)
{
    return v < 0 ? static_cast<Magnitude>(-(v + 1)) + 1 : static_cast<Magnitude>(v);
}

std::string Digits(Magnitude v)
{
    std::string s;
    do {
        s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(v % 10)));
        v /= 10;
    } while (v != 0);
    return s;
}

[[noreturn]] void RaiseOverflow()
{
    throw EVariantOverflowError(QStringLiteral("Decimal value out of range"));
}

}  // namespace

TBcd::TBcd(Units units) : units_(units) {}

TBcd TBcd::Checked(Units units)
{
    if (Abs(units) >= kLimit)
        RaiseOverflow();
    return TBcd(units);
}

TBcd TBcd::FromInt64(qint64 value)
{
    return TBcd(static_cast<Units>(value) * static_cast<Units>(kUnit));
}

TBcd TBcd::FromCurrency(TCurrency value)
{
    return TBcd(static_cast<Units>(value.ticks) * static_cast<Units>(kUnit / TCurrency::kTicksPerUnit));
}

TBcd TBcd::FromDouble(double value)
{
    if (!std::isfinite(value))
        RaiseOverflow();
    TBcd result;
    if (!TryFromString(QString::number(value, 'g', 15), result))
        RaiseOverflow();
    return result;
}

bool TBcd::TryFromString(const QString& text, TBcd& value, QChar decimalSeparator)
{
    const QString s = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        negative = s[i++] == QLatin1Char('-');

    std::string digits;  // all mantissa digits, point removed
    qsizetype pointPos = -1;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits += static_cast<char>(c.unicode());
        else if ((c == decimalSeparator || c == QLatin1Char('.')) && pointPos < 0)
            pointPos = static_cast<qsizetype>(digits.size());
        else
            break;
    }
    if (digits.empty())
        return false;
    if (pointPos < 0)
        pointPos = static_cast<qsizetype>(digits.size());

    if (i < s.size() && (s[i] == QLatin1Char('e') || s[i] == QLatin1Char('E'))) {
        ++i;
        bool negativeExponent = false;
        if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
            negativeExponent = s[i++] == QLatin1Char('-');
        const qsizetype start = i;
        int exponent = 0;
        for (; i < s.size() && s[i].isDigit() && s[i].unicode() < 128; ++i)
            exponent = std::min(exponent * 10 + (s[i].unicode() - '0'), 10000);
        if (i == start)
            return false;
        pointPos += negativeExponent ? -exponent : exponent;
    }
    if (i != s.size())
        return false;

    // Shift so that the point sits after the integer digits.
    if (pointPos < 0) {
        if (-pointPos > kScale + 1)
            digits.clear();  // far below the last decimal
        else
            digits.insert(0, static_cast<size_t>(-pointPos), '0');
        pointPos = 0;
    }
    const size_t firstNonZero = digits.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        value = TBcd();
        return true;
    }
    if (pointPos - static_cast<qsizetype>(firstNonZero) > kMaxIntegerDigits)
        return false;
    if (static_cast<qsizetype>(digits.size()) < pointPos)
        digits.append(static_cast<size_t>(pointPos - static_cast<qsizetype>(digits.size())), '0');

    Magnitude units = 0;
    const qsizetype lastKept = pointPos + kScale;  // exclusive
    for (qsizetype d = static_cast<qsizetype>(firstNonZero); d < lastKept; ++d)
        units = units * 10 + (d < static_cast<qsizetype>(digits.size()) ? digits[static_cast<size_t>(d)] - '0' : 0);
    if (lastKept < static_cast<qsizetype>(digits.size()) && digits[static_cast<size_t>(lastKept)] >= '5')
        ++units;
    if (units >= kLimit)
        return false;
    value = TBcd(negative ? -static_cast<Units>(units) : static_cast<Units>(units));
    return true;
}

TBcd TBcd::FromString(const QString& text, QChar decimalSeparator)
{
    TBcd value;
    if (!TryFromString(text, value, decimalSeparator))
        throw EConvertError(QStringLiteral("'%1' is not a valid BCD value").arg(text));
    return value;
}

double TBcd::ToDouble() const
{
    // Through the exact text so the double is the nearest one.
    return ToString().toDouble();
}

namespace {

// Divides by a power of ten, rounding halves away from zero.
__int128 RoundedDivide(__int128 value, Magnitude divisor)
{
    const Magnitude magnitude = Abs(value);
    Magnitude q = magnitude / divisor;
    if ((magnitude % divisor) * 2 >= divisor)
        ++q;
    return value < 0 ? -static_cast<__int128>(q) : static_cast<__int128>(q);
}

}  // namespace

TCurrency TBcd::ToCurrency() const
{
    const __int128 ticks = RoundedDivide(units_, kUnit / TCurrency::kTicksPerUnit);
    if (ticks > std::numeric_limits<qint64>::max() || ticks < std::numeric_limits<qint64>::min())
        RaiseOverflow();
    return TCurrency::FromTicks(static_cast<qint64>(ticks));
}

qint64 TBcd::ToInt64() const
{
    const __int128 whole = RoundedDivide(units_, kUnit);
    if (whole > std::numeric_limits<qint64>::max() || whole < std::numeric_limits<qint64>::min())
        RaiseOverflow();
    return static_cast<qint64>(whole);
}

QString TBcd::ToString(QChar decimalSeparator) const
{
    const Magnitude magnitude = Abs(units_);
    QString out = QString::fromStdString(Digits(magnitude / kUnit));
    std::string fraction = Digits(magnitude % kUnit);
    fraction.insert(0, static_cast<size_t>(kScale) - fraction.size(), '0');
    fraction.erase(fraction.find_last_not_of('0') + 1);
    if (!fraction.empty())
        out += decimalSeparator + QString::fromStdString(fraction);
    return units_ < 0 ? QLatin1Char('-') + out : out;
}

TBcd TBcd::operator-() const
{
    return TBcd(-units_);
}

TBcd operator+(const TBcd& a, const TBcd& b)
{
    return TBcd::Checked(a.units_ + b.units_);  // both below 1e30: no wrap
}

TBcd operator-(const TBcd& a, const TBcd& b)
{
    return TBcd::Checked(a.units_ - b.units_);
}

TBcd operator*(const TBcd& a, const TBcd& b)
{
    // (ah*S + al) * (bh*S + bl) / 10^8 with S = 10^15, term by term so no
    // intermediate leaves 128 bits.
    const Magnitude ua = Abs(a.units_), ub = Abs(b.units_);
    const Magnitude ah = ua / kHalfSplit, al = ua % kHalfSplit;
    const Magnitude bh = ub / kHalfSplit, bl = ub % kHalfSplit;
    const Magnitude high = ah * bh;
    if (high >= kUnit)
        RaiseOverflow();
    const Magnitude low = al * bl;
    Magnitude units = high * Power10(2 * 15 - TBcd::kScale) + (ah * bl + al * bh) * Power10(15 - TBcd::kScale) +
                      low / kUnit;
    if ((low % kUnit) * 2 >= kUnit)
        ++units;
    if (units >= kLimit)
        RaiseOverflow();
    const bool negative = (a.units_ < 0) != (b.units_ < 0);
    return TBcd(negative ? -static_cast<__int128>(units) : static_cast<__int128>(units));
}

TBcd operator/(const TBcd& a, const TBcd& b)
{
    if (b.units_ == 0)
        throw EZeroDivide(QStringLiteral("Division by zero"));
    // a * 10^8 stays below 10^38, inside 128 bits.
    const Magnitude numerator = Abs(a.units_) * kUnit, divisor = Abs(b.units_);
    Magnitude q = numerator / divisor;
    if ((numerator % divisor) * 2 >= divisor)
        ++q;
    if (q >= kLimit)
        RaiseOverflow();
    const bool negative = (a.units_ < 0) != (b.units_ < 0);
    return TBcd(negative ? -static_cast<__int128>(q) : static_cast<__int128>(q));
}

}  // namespace tk
