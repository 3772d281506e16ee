#include "kelgrid/grid/columnswrapper.h"

namespace kelgrid {

TKelColumnsWrapper::TKelColumnsWrapper(TKelDBGridColumns* columns, QObject* owner)
    : tk::TComponent(owner), columns_(columns)
{
    Q_ASSERT(columns);
}

}  // namespace kelgrid
