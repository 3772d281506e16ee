#pragma once
// The grid's one error routine: every invalid grid operation raises
// tk::EInvalidGridOperation through it, with the message given.

#include "kelgrid/kelgridexport.h"

#include <QString>

namespace kelgrid {

[[noreturn]] KELGRID_EXPORT void InvalidGridOperation(const QString& message);

}  // namespace kelgrid
