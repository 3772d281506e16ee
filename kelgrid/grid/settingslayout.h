#pragma once
// The grid's layout as "name=value" lines, and those lines applied to a
// grid: what TKelDBGridSettings saves and restores.
//
// The lines, in order:
//   AutoLoadLayout=1|0, AutoSaveLayout=1|0   only with soUserSettings
//   Columns=<count>
//   Column<n>=<FieldName>,<WidthBase>,<Visible 1|0>,<Expanded 1|0>   n from 1
//   OrderFields=<order fields text>           only with soOrderFields
//   LinesCount=<count>                        only with soLinesCount
//   StretchMode=1|0                           only with soStretchMode
// The items of a column line are separated by DefaultDelimiter; Visible is
// the column's own flag (a column hidden only through its parent is saved
// visible, so showing the parent shows it again).
//
// Applying reads names without regard to case, blanks around names and
// values ignored, the first line of a name counting. Nothing in the lines
// makes it fail or stop half-way: when "Columns" equals the grid's column
// count, each column line moves the column with that field (searched from
// the line's position on) to the line's position and sets its width,
// visibility and expansion, every missing or malformed item keeping the
// column's value; a line naming no column is skipped; a different count
// skips all column lines. OrderFields (with soOrderFields, when present)
// goes to the grid, which drops items naming no column; LinesCount and
// StretchMode (with their options) keep the grid's value when missing or
// not numbers.

#include "kelgrid/grid/gridenums.h"

#include <QStringList>
#include <optional>

namespace tk {
class TStrings;
}

namespace kelgrid {

class TKelCustomDBGrid;

QStringList BuildGridLayout(const TKelCustomDBGrid& grid, TKelSettingsOptions options);
void ApplyGridLayout(TKelCustomDBGrid& grid, const tk::TStrings& lines, TKelSettingsOptions options);
// The trimmed value of the first line called name (any case); nothing when
// there is none.
std::optional<QString> LayoutValue(const tk::TStrings& lines, const QString& name);
// The value read as 1 (true) or 0 (false); current when missing or neither.
bool LayoutFlag(const tk::TStrings& lines, const QString& name, bool current);

}  // namespace kelgrid
