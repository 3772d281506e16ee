#pragma once
// The grid's messages, as resource strings a translation can replace.

#include "toolkit/core/resourcestring.h"

namespace tk {

TK_RESOURCESTRING(SIndexOutOfRange, "Grid index out of range");
TK_RESOURCESTRING(SFixedColTooBig, "Fixed column count must be less than column count");
TK_RESOURCESTRING(SFixedRowTooBig, "Fixed row count must be less than row count");

}  // namespace tk
