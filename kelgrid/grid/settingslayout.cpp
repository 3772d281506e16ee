// The grid's layout lines: building them from the grid and applying them.

#include "kelgrid/grid/settingslayout.h"

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/orderfields.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/core/numbers.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/textutils.h"
#include "toolkit/core/updatelock.h"

#include <QPointer>

namespace kelgrid {

namespace {

const QString kAutoLoadLayout = QStringLiteral("AutoLoadLayout");
const QString kAutoSaveLayout = QStringLiteral("AutoSaveLayout");
const QString kColumns = QStringLiteral("Columns");
const QString kOrderFields = QStringLiteral("OrderFields");
const QString kLinesCount = QStringLiteral("LinesCount");
const QString kStretchMode = QStringLiteral("StretchMode");

QString ColumnKey(int position)
{
    return QStringLiteral("Column%1").arg(position + 1);
}

QString Flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

int LayoutInt(const tk::TStrings& lines, const QString& name, int current)
{
    const std::optional<QString> value = LayoutValue(lines, name);
    return value ? tk::StrToIntDef(*value, current) : current;
}

using TLayoutBracket =
    tk::detail::TBracketLock<TKelCustomDBGrid, &TKelCustomDBGrid::BeginLayout, &TKelCustomDBGrid::EndLayout>;

// A column line found its column: the items after the field name, applied
// once every column is in place.
struct PlacedColumn {
    QPointer<TKelColumn> column;
    QString items;
};

// Moves the column of each line to the line's position. Moving happens
// outside a layout bracket: a column the grid made from the dataset moves
// its field, which only a free grid can do (inside a bracket the next
// layout would put the column back where its field is).
QList<PlacedColumn> PlaceColumns(TKelCustomDBGrid& grid, const tk::TStrings& lines)
{
    QList<PlacedColumn> placed;
    const int count = grid.Columns()->Count();
    for (int position = 0; position < count; ++position) {
        const std::optional<QString> line = LayoutValue(lines, ColumnKey(position));
        if (!line)
            continue;
        QString items = *line;
        const QString fieldName = tk::Trim(ScanStr(items));
        TKelColumn* column = grid.FindColumn(fieldName, position);
        if (!column)
            continue;
        column->MoveTo(position);
        placed.append({column, items});
    }
    return placed;
}

void SetColumnItems(TKelColumn& column, QString items)
{
    column.SetWidthBase(ScanInt(items, column.WidthBase()));
    const bool visible = ScanInt(items, column.Visibility() ? 1 : 0) == 1;
    const bool expanded = ScanInt(items, column.Expanded() ? 1 : 0) == 1;
    if (visible != column.Visibility())
        column.SetVisible(visible);
    // Expanded reads false for a column that cannot expand: only a real
    // change is written, so such a column keeps its own flag.
    if (expanded != column.Expanded())
        column.SetExpanded(expanded);
}

}  // namespace

std::optional<QString> LayoutValue(const tk::TStrings& lines, const QString& name)
{
    for (int i = 0; i < lines.Count(); ++i) {
        const QString line = lines.Strings(i);
        const qsizetype at = line.indexOf(QLatin1Char('='));
        if (at >= 0 && tk::SameText(tk::Trim(line.left(at)), name))
            return tk::Trim(line.mid(at + 1));
    }
    return std::nullopt;
}

bool LayoutFlag(const tk::TStrings& lines, const QString& name, bool current)
{
    return LayoutInt(lines, name, current ? 1 : 0) == 1;
}

QStringList BuildGridLayout(const TKelCustomDBGrid& grid, TKelSettingsOptions options)
{
    QStringList lines;
    if (options.testFlag(soUserSettings)) {
        lines << kAutoLoadLayout + QLatin1Char('=') + Flag(options.testFlag(soLoadLayout));
        lines << kAutoSaveLayout + QLatin1Char('=') + Flag(options.testFlag(soSaveLayout));
    }
    const TKelDBGridColumns* columns = grid.Columns();
    lines << kColumns + QLatin1Char('=') + QString::number(columns->Count());
    for (int i = 0; i < columns->Count(); ++i) {
        const TKelColumn* column = columns->Items(i);
        const QStringList items = {column->FieldName(), QString::number(column->WidthBase()),
                                   Flag(column->Visibility()), Flag(column->Expanded())};
        lines << ColumnKey(i) + QLatin1Char('=') + items.join(DefaultDelimiter);
    }
    if (options.testFlag(soOrderFields))
        lines << kOrderFields + QLatin1Char('=') + grid.OrderFields();
    if (options.testFlag(soLinesCount))
        lines << kLinesCount + QLatin1Char('=') + QString::number(grid.LinesCount());
    if (options.testFlag(soStretchMode))
        lines << kStretchMode + QLatin1Char('=') + Flag(grid.StretchMode());
    return lines;
}

void ApplyGridLayout(TKelCustomDBGrid& grid, const tk::TStrings& lines, TKelSettingsOptions options)
{
    QList<PlacedColumn> placed;
    if (LayoutInt(lines, kColumns, 0) == grid.Columns()->Count())
        placed = PlaceColumns(grid, lines);
    // The rest lays the grid out once.
    TLayoutBracket bracket(grid);
    for (const PlacedColumn& entry : placed)
        if (entry.column)
            SetColumnItems(*entry.column, entry.items);
    if (options.testFlag(soOrderFields))
        if (const std::optional<QString> order = LayoutValue(lines, kOrderFields))
            grid.SetOrderFields(*order);
    if (options.testFlag(soLinesCount))
        grid.SetLinesCount(LayoutInt(lines, kLinesCount, grid.LinesCount()));
    if (options.testFlag(soStretchMode))
        grid.SetStretchMode(LayoutFlag(lines, kStretchMode, grid.StretchMode()));
}

}  // namespace kelgrid
