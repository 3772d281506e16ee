// TKelCustomDBGrid: painting (the cell painter does the cells), the
// drawing hooks and events, the lines' colours and invalidation.

#include "kelgrid/grid/cellpainter.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/paintstyles.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/canvas.h"

#include <QWidget>

namespace kelgrid {

void TKelCustomDBGrid::DrawCell(int col, int row, const QRect& rect, tk::TGridDrawState state)
{
    TKelCellPainter(*this, *Canvas()).Paint(col, row, rect, state);
}

bool TKelCustomDBGrid::HighlightCell(int dataColumn, int dataRow, const QString& value, tk::TGridDrawState state)
{
    (void)dataRow;
    (void)value;
    (void)state;
    // While a cell paints, the data link stands on its row.
    if (IsCellMultiSelected(dataColumn))
        return true;
    const bool rowSelect = d_->options.testFlag(dgRowSelect);
    const bool current = d_->rowNumber == 0 && (DataToRawColumn(dataColumn) == Col() || rowSelect);
    const bool showsSelection = d_->options.testFlag(dgAlwaysShowSelection) || hasFocus();
    return current && showsSelection && (d_->updateLock == 0 || rowSelect);
}

void TKelCustomDBGrid::CalcImageIndex(TKelColumn* column, int& index)
{
    if (!OnCalcImageIndex)
        return;
    // A handler that fails must not break the painting: no image then.
    try {
        OnCalcImageIndex(this, column, index);
    } catch (const std::exception&) {
        index = -1;
    }
}

void TKelCustomDBGrid::PaintColumnCell(const QRect& rect, int dataColumn, TKelColumn* column, bool highlight,
                                       TSelection selection, tk::TColor& color, tk::TFont* font, QImage& image)
{
    if (OnPaintColumnCell)
        OnPaintColumnCell(this, rect, dataColumn, column, highlight, selection, color, font, image);
}

void TKelCustomDBGrid::DrawColumnCell(const QRect& rect, int dataColumn, TKelColumn* column,
                                      tk::TGridDrawState state)
{
    if (OnDrawColumnCell)
        OnDrawColumnCell(this, rect, dataColumn, column, state);
}

void TKelCustomDBGrid::DrawDataCell(const QRect& rect, tk::TField* field, tk::TGridDrawState state)
{
    if (OnDrawDataCell)
        OnDrawDataCell(this, rect, field, state);
}

void TKelCustomDBGrid::DefaultDrawColumnCell(const QRect& rect, int dataColumn, TKelColumn* column,
                                             tk::TGridDrawState state)
{
    if (!column || !Canvas())
        return;
    TKelCellPainter(*this, *Canvas()).DrawColumnContent(rect, dataColumn, column, state, false);
}

void TKelCustomDBGrid::DefaultDrawDataCell(const QRect& rect, tk::TField* field, tk::TGridDrawState state)
{
    (void)state;
    if (!field || !Canvas())
        return;
    TCellTextFormat format;
    format.alignment = field->Alignment();
    format.vAlignment = tvCenter;
    format.wordWrap = true;
    format.ellipsis = true;
    format.margin = 2;
    DrawCellText(*Canvas(), rect, field->DisplayText(), format);
}

bool TKelCustomDBGrid::DefaultDrawing() const
{
    return d_->defaultDrawing;
}

void TKelCustomDBGrid::SetDefaultDrawing(bool on)
{
    if (on == d_->defaultDrawing)
        return;
    d_->defaultDrawing = on;
    InvalidateData();
}

QPoint TKelCustomDBGrid::PaintCell() const
{
    return d_->paintCell;
}

bool TKelCustomDBGrid::DrawEnabled() const
{
    return isEnabled();
}

// --- Lines -------------------------------------------------------------------------

tk::TColor TKelCustomDBGrid::GridLineColor(int col, int row, bool vertical) const
{
    const int dataColumn = col - d_->indicatorOffset;
    if (row < d_->titleOffset) {
        // Inside a merged cell (the corner over the title rows, a group's
        // title over its columns, a leaf title down through the rows below
        // it, a header row shared with the next title) there is no line.
        if (dataColumn < 0)
            return !vertical && row < d_->titleOffset - 1 ? tk::clNone : FixedLineColor();
        TKelColumn* column = d_->columns->Items(dataColumn);
        TKelColumn* title = ColumnAtDepth(column, row);
        if (!title)
            return FixedLineColor();
        if (vertical) {
            if (dataColumn < title->ExpandIndex())
                return tk::clNone;
            if (title->Title()->HeaderRowCount() > 0 && title->Title()->HeaderRight(0))
                return tk::clNone;
        } else if (!title->Expanded() && row < d_->titleOffset - 1) {
            return tk::clNone;
        }
        return FixedLineColor();
    }
    const int dataRows = RowCount() - d_->titleOffset - d_->totalOffset;
    const int dataRow = row - d_->titleOffset;
    if (dataColumn < 0 || dataColumn < d_->fixedCols || dataRow > dataRows ||
        (dataRow == dataRows && !vertical))
        return FixedLineColor();
    tk::TColor color = vertical ? d_->dataColLineColor : d_->dataRowLineColor;
    if (vertical && (color == tk::clNone || color == tk::clDefault)) {
        bool last = true;
        for (int i = dataColumn + 1; i < d_->columns->Count() && last; ++i)
            last = !d_->columns->Items(i)->Showing();
        if (last)
            color = FixedLineColor();
    }
    if (color == tk::clDefault)
        return DefaultDataLineColor();
    if (color == tk::clNone) {
        tk::TCanvas measuring;
        return TKelCellPainter(const_cast<TKelCustomDBGrid&>(*this), measuring).DataCellColor(dataColumn, dataRow);
    }
    return color;
}

// --- Invalidation ------------------------------------------------------------------

void TKelCustomDBGrid::BeginInvalidate()
{
    ++d_->invalidateLock;
}

void TKelCustomDBGrid::EndInvalidate()
{
    Q_ASSERT(d_->invalidateLock > 0);
    --d_->invalidateLock;
}

void TKelCustomDBGrid::Invalidate()
{
    if (d_ && d_->invalidateLock > 0 && !DoubleBuffered())
        return;
    tk::TCustomGrid::Invalidate();
}

void TKelCustomDBGrid::InvalidateBox(int left, int top, int right, int bottom)
{
    if (d_->invalidateLock == 0)
        viewport()->update(BoxRect(left, top, right, bottom));
}

void TKelCustomDBGrid::InvalidateTitles()
{
    if (d_->invalidateLock == 0)
        viewport()->update(TitlesRect());
}

void TKelCustomDBGrid::InvalidateTotals()
{
    if (d_->invalidateLock == 0)
        viewport()->update(TotalsRect());
}

void TKelCustomDBGrid::InvalidateCorner()
{
    if (d_->invalidateLock == 0 && d_->indicatorOffset > 0 && d_->titleOffset > 0)
        viewport()->update(BoxRect(0, 0, 0, d_->titleOffset - 1));
}

void TKelCustomDBGrid::InvalidateTile(TImageDraw drawMode, bool vertical)
{
    if (d_->invalidateLock > 0)
        return;
    const bool moves = drawMode == idTileGrid || (vertical ? drawMode == idTileCol : drawMode == idTileRow);
    if (!moves)
        return;
    if (drawMode == idTileRow || drawMode == idTileGrid) {
        viewport()->update(DataRect());
        return;
    }
    for (int i = 0; i < d_->columns->Count(); ++i)
        if (d_->columns->Items(i)->ImageDraw() == drawMode)
            viewport()->update(BoxRect(DataToRawColumn(i), d_->titleOffset, DataToRawColumn(i), RowCount() - 1));
}

}  // namespace kelgrid
