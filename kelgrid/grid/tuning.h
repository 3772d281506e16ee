#pragma once
// The grid unit's tuning values. They are plain global variables, read on
// every use, so an application may change them at run time (before or after
// creating grids) and the next use follows.

#include "kelgrid/kelgridexport.h"

#include <QString>

namespace kelgrid {

// Milliseconds a delayed update (selection, list items, sequence numbers,
// totals) waits before it runs.
KELGRID_EXPORT extern int DelayInterval;
// The text a Null total value shows.
KELGRID_EXPORT extern QString NullValueString;
// The rows and the width in pixels a drop-down list takes at most when its
// column sets no limit of its own (DropDownRows / DropDownWidth 0).
KELGRID_EXPORT extern int MaxDropDownRows;
KELGRID_EXPORT extern int MaxDropDownWidth;
// Milliseconds per step of a drop-down's opening animation (0: no
// animation).
KELGRID_EXPORT extern int ListDropDownDelay;
// A drop-down list follows the mouse with its highlight.
KELGRID_EXPORT extern bool ListMouseTracking;
// The auto-number column: the text of a row's number ("%d."), the title and
// the width.
KELGRID_EXPORT extern QString DefAutoNumberFormat;
KELGRID_EXPORT extern QString DefAutoNumberTitle;
KELGRID_EXPORT extern int DefAutoNumberWidth;
// The auto-select column's title and width.
KELGRID_EXPORT extern QString DefAutoSelectTitle;
KELGRID_EXPORT extern int DefAutoSelectWidth;
// How a pick entry combines its text (argument 0) and value (argument 1)
// when a column asks for formatted pick texts.
KELGRID_EXPORT extern QString DefPickTextFormat;
// Between the fields of an order fields text.
KELGRID_EXPORT extern QString DefaultDelimiter;
// Where grid layouts are saved when a grid names no file or key of its own.
KELGRID_EXPORT extern QString DefaultIniFileName;
KELGRID_EXPORT extern QString DefaultRegistryKey;

}  // namespace kelgrid
