#pragma once
// Money as fixed point: a count of ten-thousandths held in 64 bits, so sums
// of prices never pick up binary rounding. The range is about ±9.2e14.

#include <QtGlobal>
#include <compare>

namespace tk {

struct TCurrency {
    static constexpr qint64 kTicksPerUnit = 10000;

    qint64 ticks = 0;

    // Rounds to four decimals, halves away from zero; EVariantError
    // (overflow) when value is out of range or not a number.
    static TCurrency FromDouble(double value);
    static TCurrency FromInt64(qint64 value);  // overflow raises as above
    static constexpr TCurrency FromTicks(qint64 ticks) { return TCurrency{ticks}; }

    double ToDouble() const { return static_cast<double>(ticks) / kTicksPerUnit; }

    friend constexpr bool operator==(TCurrency, TCurrency) = default;
    friend constexpr auto operator<=>(TCurrency, TCurrency) = default;
};

}  // namespace tk
