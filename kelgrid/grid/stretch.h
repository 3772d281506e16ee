#pragma once
// The widths of stretch mode: the showing columns share the available
// width in proportion to their base widths, within their own limits
// (WidthMin/WidthMax) and, where a column sets none, the grid's
// (StretchWidthMin/StretchWidthMax); -1 means no limit.
//
// Columns whose proportional width breaks a limit are locked at it and the
// rest is shared again among the others, until no pass locks more. When
// every column got locked while width is left over, the columns locked at
// a minimum are freed once, so the width is used. Free columns take their
// share of what remains in turn, so the last one takes the rounding rest;
// with no width left they get max(0, StretchWidthMin).

#include "kelgrid/kelgridexport.h"

#include <QList>

namespace kelgrid {

struct TStretchColumn {
    int baseWidth = 0;
    int widthMin = -1;
    int widthMax = -1;
};

struct TStretchLimits {
    int widthMin = -1;  // StretchWidthMin
    int widthMax = -1;  // StretchWidthMax
};

// The width of each column; empty when the base widths sum to 0 or less
// (nothing to stretch: the widths stay).
KELGRID_EXPORT QList<int> StretchWidths(int available, const QList<TStretchColumn>& columns,
                                        TStretchLimits limits = {});

}  // namespace kelgrid
