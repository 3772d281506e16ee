#pragma once
// The vertical scroll bar of the data grid as plain arithmetic: what the bar
// shows for a dataset position, and where a thumb position leads. The grid
// never holds the whole dataset, so the bar follows one of three models:
//
//   GridSequence  the grid numbers the records itself (RecCount/RecNumber)
//   Sequenced     the dataset reports exact record numbers and a count
//   Unsequenced   no numbers: five positions, 0 at the first record, the
//                 maximum at the last, 2 (the middle) anywhere else
//
// The values are those of a bar whose thumb covers `page` positions of
// minimum..maximum (a page of 0 is a thumb of fixed size).

#include "kelgrid/kelgridexport.h"
#include "toolkit/ui/flatscrollbar.h"

namespace kelgrid {

enum class TScrollModel { GridSequence, Sequenced, Unsequenced };

struct TScrollBarState {
    TScrollModel model = TScrollModel::Sequenced;
    bool thumbBar = true;      // ThumbBar covers the vertical bar
    bool autoHidden = false;   // flat mode, set up once, AutoHidden covers it
    bool browsing = true;      // the dataset is in browse or edit state
    int visibleRows = 1;       // data rows that fit the client area
    int windowRows = 1;        // records in the data link's window
    int recCount = 0;          // the numbered models' record count
    int recNumber = 0;         // the current record's number, from 1
    bool bof = false;          // at the beginning of the data
    bool eof = false;          // at the end of the data
    int previousPosition = 0;  // what the bar showed (kept outside browsing)
};

// The bar for a state, as the classic scroll information (tk::TScrollInfo;
// TFlatScrollBar puts it onto the QScrollBar). The numbered models run from
// 1 to RecCount (plus a page - 1 when the thumb is proportional); at the
// beginning the position is min(1, RecCount), at the end RecCount. Hiding
// (autoHidden) puts all four values at 1 when every record fits, and for
// the unsequenced model collapses the range when the data ends on screen.
// A range that would be empty otherwise gets one step, so the bar keeps
// its arrows. The position is clamped to the thumb's last position
// (Max - Page + 1 with a proportional thumb), as the bar would clamp it.
KELGRID_EXPORT tk::TScrollInfo CalcScrollBarInfo(const TScrollBarState& state);

// What a thumb released (or tracked) at position asks of the dataset.
enum class TThumbMove { None, First, Last, PageUp, PageDown, ToNumber };
struct TThumbTarget {
    TThumbMove move = TThumbMove::None;
    int number = 0;  // the record number for ToNumber
    bool operator==(const TThumbTarget&) const = default;
};
// GridSequence: 1 or less the first record, below RecCount that number,
// else the last. Sequenced: above 1 and below RecCount that number, else
// the first or the last. Unsequenced: 0 first, 1 a page up, 2 nothing, 3 a
// page down, 4 or more the last.
KELGRID_EXPORT TThumbTarget ThumbTarget(TScrollModel model, int position, int recCount);

}  // namespace kelgrid
