#include "kelgrid/grid/griderror.h"

#include "toolkit/core/exceptions.h"

namespace kelgrid {

void InvalidGridOperation(const QString& message)
{
    throw tk::EInvalidGridOperation(message);
}

}  // namespace kelgrid
