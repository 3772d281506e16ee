#pragma once
// How total cells turn values into text.
//
// A caption or a format may hold two alternatives separated by the first
// "|": the first is used normally, the second while the totals are computed
// over a selection.
//
// FormatTotalValue(value, format, formatAsFloat, selected):
//   Unassigned -> ""; Null -> NullValueString.
//   With formatAsFloat, or a BCD value and a format, the value becomes a
//   double first.
//   Without a format: currency as "%m", anything else its plain text.
//   With a format, by the value's kind: integers, floats and 64-bit
//   integers go to Format as they are; a date takes "P%D%S" (prefix, date
//   pattern for FormatDateTime, suffix); a Boolean "P%T;F%S" (prefix, true
//   text, false text, suffix; without ";" the false text is empty); any
//   other kind goes to Format as it is.
//   Any failure (a wrong directive for the kind, a date or Boolean format
//   with fewer than two "%") gives the value's plain text: formatting never
//   raises.

#include "kelgrid/kelgridexport.h"
#include "toolkit/core/variant.h"

#include <QString>

namespace kelgrid {

// The part of text in effect: before the first "|", or after it when
// selected; a text without "|" is the same in both cases.
KELGRID_EXPORT QString ActiveTotalPart(const QString& text, bool selected);

KELGRID_EXPORT QString FormatTotalValue(const tk::Variant& value, const QString& format, bool formatAsFloat,
                                        bool selected);

}  // namespace kelgrid
