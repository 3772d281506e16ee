#pragma once
// The grid unit as a form includes it: the grid, its columns and titles,
// the data links, the selected rows, the totals, the sort order texts and
// the change-order registry, and the tuning values.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/columnenums.h"
#include "kelgrid/grid/columnlist.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columnswrapper.h"
#include "kelgrid/grid/columntotal.h"
#include "kelgrid/grid/columntotalvalue.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/gridenums.h"
#include "kelgrid/grid/griderror.h"
#include "kelgrid/grid/gridlink.h"
#include "kelgrid/grid/orderfields.h"
#include "kelgrid/grid/orderregistry.h"
#include "kelgrid/grid/totallink.h"
#include "kelgrid/grid/totals.h"
#include "kelgrid/grid/tuning.h"
