#pragma once
// The widget-box icons of the grid package's widgets, painted at 24 x 24
// (Designer's widget box scales them).

#include <QIcon>

namespace kelgrid::designer {

QIcon GridIcon();
QIcon NavigatorIcon();
QIcon ColumnsDialogIcon();

}  // namespace kelgrid::designer
