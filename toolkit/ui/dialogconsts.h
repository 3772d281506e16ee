#pragma once
// The captions of the message dialogs, as resource strings so that a
// translation can replace them.

#include "toolkit/core/resourcestring.h"

namespace tk {

TK_RESOURCESTRING(SMsgDlgWarning, "Warning");
TK_RESOURCESTRING(SMsgDlgError, "Error");
TK_RESOURCESTRING(SMsgDlgInformation, "Information");
TK_RESOURCESTRING(SMsgDlgConfirm, "Confirm");

}  // namespace tk
