#pragma once
// Failures of tagged values: a conversion the value's kind does not allow,
// a result out of range, a division by zero. All derive from EVariantError so
// that code which accumulates values (totals) catches one class.

#include "toolkit/core/exceptions.h"

namespace tk {

TK_DECLARE_EXCEPTION(EVariantError, Exception)
TK_DECLARE_EXCEPTION(EVariantTypeCastError, EVariantError)
TK_DECLARE_EXCEPTION(EVariantOverflowError, EVariantError)
TK_DECLARE_EXCEPTION(EZeroDivide, EVariantError)

}  // namespace tk
