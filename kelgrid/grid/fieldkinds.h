#pragma once
// What kind of value a field holds, as the grid's editing and list loading
// need to know it.

#include "toolkit/data/dbtypes.h"

namespace kelgrid {

// Memo fields (plain, formatted, wide).
bool IsMemoType(tk::TFieldType type);
// A value with no single-line text form: bytes, blobs (memos and graphics
// included), cursors and object fields (ADT, array, reference, dataset).
bool IsLargeOrObjectType(tk::TFieldType type);

}  // namespace kelgrid
