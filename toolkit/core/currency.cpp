#include "toolkit/core/currency.h"

#include "toolkit/core/varianterrors.h"

#include <cmath>
#include <limits>

namespace tk {

namespace {

[[noreturn]] void RaiseOverflow()
{
    throw EVariantOverflowError(QStringLiteral("Currency value out of range"));
}

}  // namespace

TCurrency TCurrency::FromDouble(double value)
{
    const double ticks = std::round(value * kTicksPerUnit);  // halves away from zero
    if (!(ticks >= -9223372036854775808.0 && ticks < 9223372036854775808.0))
        RaiseOverflow();
    return TCurrency{static_cast<qint64>(ticks)};
}

TCurrency TCurrency::FromInt64(qint64 value)
{
    qint64 ticks = 0;
    if (__builtin_mul_overflow(value, kTicksPerUnit, &ticks))
        RaiseOverflow();
    return TCurrency{ticks};
}

}  // namespace tk
