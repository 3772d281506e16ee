#pragma once
// Binary-coded decimal values as an exact fixed-point decimal: a signed
// count of 10^-8 units in 128 bits, limited to 30 digits (22 before the
// point and 8 after). Database NUMERIC/DECIMAL columns map onto it without
// the binary rounding of double. Results are rounded to 8 decimals, halves
// away from zero; a result beyond 22 integer digits raises
// EVariantOverflowError and a division by zero EZeroDivide.

#include "toolkit/core/currency.h"

#include <QChar>
#include <QString>
#include <QtGlobal>

namespace tk {

class TBcd {
public:
    static constexpr int kScale = 8;             // digits after the point
    static constexpr int kMaxIntegerDigits = 22;  // digits before it

    TBcd() = default;

    static TBcd FromInt64(qint64 value);
    static TBcd FromCurrency(TCurrency value);
    // Takes the 15 significant digits a double holds reliably, so 0.1
    // becomes exactly 0.1. Not-a-number and infinities raise.
    static TBcd FromDouble(double value);
    // Reads "[-+]digits[sep digits][E[-+]digits]" with surrounding blanks;
    // more than 8 decimals are rounded. The point is always accepted besides
    // decimalSeparator.
    static bool TryFromString(const QString& text, TBcd& value, QChar decimalSeparator = QLatin1Char('.'));
    // EConvertError when text is not a decimal number.
    static TBcd FromString(const QString& text, QChar decimalSeparator = QLatin1Char('.'));

    double ToDouble() const;
    TCurrency ToCurrency() const;  // rounded to 4 decimals; overflow raises
    qint64 ToInt64() const;        // rounded, halves away from zero; overflow raises
    // The shortest exact text: no exponent, no trailing zeros ("12.5", "-3").
    QString ToString(QChar decimalSeparator = QLatin1Char('.')) const;

    bool IsZero() const { return units_ == 0; }
    bool IsNegative() const { return units_ < 0; }

    TBcd operator-() const;
    friend TBcd operator+(const TBcd& a, const TBcd& b);
    friend TBcd operator-(const TBcd& a, const TBcd& b);
    friend TBcd operator*(const TBcd& a, const TBcd& b);
    friend TBcd operator/(const TBcd& a, const TBcd& b);
    friend bool operator==(const TBcd& a, const TBcd& b) { return a.units_ == b.units_; }
    friend bool operator<(const TBcd& a, const TBcd& b) { return a.units_ < b.units_; }
    friend bool operator>(const TBcd& a, const TBcd& b) { return b < a; }
    friend bool operator<=(const TBcd& a, const TBcd& b) { return !(b < a); }
    friend bool operator>=(const TBcd& a, const TBcd& b) { return !(a < b); }

private:
    using Units = __int128;
    explicit TBcd(Units units);
    static TBcd Checked(Units units);  // raises when beyond the 30 digits

    Units units_ = 0;
};

}  // namespace tk
