#pragma once
// The one exception the FTP client raises: connection, login, transfer and
// listing failures, with the text the user sees.

#include "toolkit/core/exceptions.h"

namespace safekeep {

TK_DECLARE_EXCEPTION(EFtpError, tk::Exception)

}  // namespace safekeep
