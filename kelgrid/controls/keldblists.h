#pragma once
// The grid's lists unit as a form includes it: the columns dialog, which
// lets the user choose and reorder the visible columns of a grid, and the
// widget that holds it on a designed form.

#include "kelgrid/controls/columnsdialog.h"
#include "kelgrid/controls/columnsdialogholder.h"
#include "kelgrid/controls/columnsform.h"
