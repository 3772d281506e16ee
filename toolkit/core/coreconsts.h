#pragma once
// The core's messages, fixed once here as resource strings so that a
// translation can replace them (LoadResString). Texts with "%d" are Format
// patterns.

#include "toolkit/core/resourcestring.h"

namespace tk {

TK_RESOURCESTRING(SListIndexError, "List index out of bounds (%d)");

}  // namespace tk
