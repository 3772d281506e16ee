// The grid base's painting: every shown cell through DrawCell, then the
// lines after the cells, the area past the last cell in Color, and the drop
// indicator of a column or row move. Nothing is erased first.

#include "toolkit/ui/grids/grid.h"

#include "toolkit/core/application.h"

#include "toolkit/ui/canvas.h"
#include "toolkit/ui/grids/gridaxis.h"
#include "toolkit/ui/grids/gridinteraction.h"
#include "toolkit/ui/grids/inplaceedit.h"

#include <QPaintEvent>
#include <QPainter>

namespace tk {

namespace {

// The lines of the fixed cells and of the scrollable ones.
constexpr TColor fixedLineColor = clBlack;
constexpr TColor cellLineColor = clSilver;

// The cells of an axis that show: the fixed ones, then First .. the last
// shown.
template <typename Visit> void ForEachShown(const TGridAxis& axis, int clientExtent, Visit visit)
{
    for (int i = 0; i < axis.FixedCount(); ++i)
        if (!axis.IsHidden(i))
            visit(i);
    const int last = axis.LastVisible(clientExtent);
    for (int i = axis.First(); i <= last; ++i)
        if (!axis.IsHidden(i))
            visit(i);
}

}  // namespace

void TCustomGrid::paintEvent(QPaintEvent* event)
{
    pendingUpdates_.fill(QRect());
    QPainter painter(viewport());
    TCanvas canvas(&painter);
    canvas.SetPalette(palette());
    canvas.Font()->Assign(Font());
    canvas_ = &canvas;
    Guarded([&] { PaintGrid(canvas, event->rect()); });
    canvas_ = nullptr;
}

TGridDrawState TCustomGrid::DrawStateOf(int col, int row) const
{
    TGridDrawState state;
    if (col < FixedCols() || row < FixedRows()) {
        state |= gdFixed;
        return state;
    }
    const bool current = col == current_.X && row == current_.Y;
    const bool focused = hasFocus() || (editor_ && editor_->hasFocus());
    if (current && focused)
        state |= gdFocused;
    // The current cell shows as selected only with goDrawFocusSelected or a
    // row selection; otherwise its focus rectangle marks it.
    if (Selection().Contains(col, row) &&
        (!current || (options_ & (goDrawFocusSelected | goRowSelect)) || !focused))
        state |= gdSelected;
    return state;
}

void TCustomGrid::PaintGrid(TCanvas& canvas, const QRect& dirty)
{
    const int width = ClientExtentX();
    const int height = ClientExtentY();
    const bool editorCovers = editorMode_ && editor_ && !editor_->isHidden();
    ForEachShown(*rows_, height, [&](int row) {
        ForEachShown(*cols_, width, [&](int col) {
            const QRect rect = CellRect(col, row);
            if (rect.isEmpty() || !rect.intersects(dirty))
                return;
            if (editorCovers && col == current_.X && row == current_.Y)
                return;
            DrawCell(col, row, rect, DrawStateOf(col, row));
        });
    });
    PaintLines(canvas);

    // Past the last column and below the last row.
    const TAxisSpan allCols = cols_->RangeSpan(0, ColCount() - 1, width);
    const TAxisSpan allRows = rows_->RangeSpan(0, RowCount() - 1, height);
    const int right = allCols.Empty() ? 0 : std::min(width, allCols.End() + cols_->LineWidth());
    const int bottom = allRows.Empty() ? 0 : std::min(height, allRows.End() + rows_->LineWidth());
    canvas.Brush()->SetColor(Color());
    if (right < width)
        canvas.FillRect(ToViewport(right, width - right, 0, height));
    if (bottom < height)
        canvas.FillRect(ToViewport(0, std::min(right, width), bottom, height - bottom));
    PaintMoveIndicator(canvas);
}

TColor TCustomGrid::GridLineColor(int col, int row, bool) const
{
    return col < FixedCols() || row < FixedRows() ? fixedLineColor : cellLineColor;
}

// Each shown cell's line after it and below it, in the colour GridLineColor
// gives, only where the options ask for lines.
void TCustomGrid::PaintLines(TCanvas& canvas)
{
    const int width = ClientExtentX();
    const int height = ClientExtentY();
    const int vertical = cols_->LineWidth();
    const int horizontal = rows_->LineWidth();
    if (vertical == 0 && horizontal == 0)
        return;
    ForEachShown(*rows_, height, [&](int row) {
        const TAxisSpan y = rows_->CellSpan(row, height);
        ForEachShown(*cols_, width, [&](int col) {
            const TAxisSpan x = cols_->CellSpan(col, width);
            if (x.Empty() || y.Empty())
                return;
            const bool fixed = col < FixedCols() || row < FixedRows();
            if (vertical > 0 && (options_ & (fixed ? goFixedVertLine : goVertLine))) {
                const TColor color = GridLineColor(col, row, true);
                if (color != clNone) {
                    canvas.Brush()->SetColor(color);
                    canvas.FillRect(ToViewport(x.End(), vertical, y.start, y.size + horizontal));
                }
            }
            if (horizontal > 0 && (options_ & (fixed ? goFixedHorzLine : goHorzLine))) {
                const TColor color = GridLineColor(col, row, false);
                if (color != clNone) {
                    canvas.Brush()->SetColor(color);
                    canvas.FillRect(ToViewport(x.start, x.size, y.End(), horizontal));
                }
            }
        });
    });
}

// The place a dragged column (row) would drop: a bar on the side of the
// destination cell the move goes to.
void TCustomGrid::PaintMoveIndicator(TCanvas& canvas)
{
    if (gridState_ != gsColMoving && gridState_ != gsRowMoving)
        return;
    const Interaction& move = *interaction_;
    const bool columns = gridState_ == gsColMoving;
    const TGridAxis& axis = columns ? *cols_ : *rows_;
    const int extent = columns ? ClientExtentX() : ClientExtentY();
    const TAxisSpan span = axis.CellSpan(move.movePos, extent);
    if (span.Empty())
        return;
    constexpr int thickness = 3;
    const int edge = move.movePos > move.moveIndex ? span.End() : span.start;
    const int at = std::clamp(edge - thickness / 2, 0, std::max(0, extent - thickness));
    canvas.Brush()->SetColor(clHighlight);
    if (columns)
        canvas.FillRect(ToViewport(at, thickness, 0, ClientExtentY()));
    else
        canvas.FillRect(QRect(0, at, ClientExtentX(), thickness));
}

}  // namespace tk
