#pragma once
// The grid's private record of the mouse interaction under way (see
// TGridState in gridtypes.h for the states and their transitions). Only the
// grid's own files include it.

#include "toolkit/ui/grids/grid.h"
#include "toolkit/ui/singleshottimer.h"

#include <QPoint>

namespace tk {

struct TCustomGrid::Interaction {
    // A left press on a fixed title or row header that may become a move
    // once the mouse travels beyond the drag threshold.
    bool movePending = false;
    bool pendingIsColumn = true;
    QPoint pressPoint;

    // Sizing: the cell whose border is dragged, where the border is now and
    // the distance from the mouse to it.
    int sizingIndex = -1;
    int sizingPos = 0;
    int sizingOfs = 0;

    // Moving: the cell dragged and where it would drop.
    int moveIndex = -1;
    int movePos = -1;

    // Selecting: the last mouse point, for the timed scroll beyond the cells.
    QPoint lastMouse;
    TSingleShotTimer selectTimer;
    // The interval of the timed scroll while the mouse is outside.
    static constexpr int scrollInterval = 60;
};

}  // namespace tk
