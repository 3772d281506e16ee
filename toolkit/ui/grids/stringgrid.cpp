#include "toolkit/ui/grids/stringgrid.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/edges.h"
#include "toolkit/ui/grids/gridconsts.h"
#include "toolkit/ui/grids/inplaceedit.h"

namespace tk {

TStringGrid::TStringGrid(QWidget* parent) : TCustomGrid(parent)
{
    SizeChanged(0, 0);
}

void TStringGrid::CheckCell(int col, int row) const
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        throw EInvalidGridOperation(LoadResString(&SIndexOutOfRange));
}

QString TStringGrid::Cells(int col, int row) const
{
    CheckCell(col, row);
    return cells_[row][col];
}

void TStringGrid::SetCells(int col, int row, const QString& text)
{
    CheckCell(col, row);
    if (cells_[row][col] == text)
        return;
    cells_[row][col] = text;
    InvalidateCell(col, row);
    // An editor showing the cell shows the new text.
    if (EditorMode() && col == Col() && row == Row() && InplaceEditor())
        InplaceEditor()->UpdateContents();
}

void TStringGrid::SetDefaultDrawing(bool on)
{
    if (on == defaultDrawing_)
        return;
    defaultDrawing_ = on;
    InvalidateGrid();
}

void TStringGrid::SizeChanged(int, int)
{
    cells_.resize(RowCount());
    for (QVector<QString>& row : cells_)
        row.resize(ColCount());
}

void TStringGrid::DrawCell(int col, int row, const QRect& rect, TGridDrawState state)
{
    TCanvas& canvas = *Canvas();
    if (defaultDrawing_) {
        TColor back = Color();
        TColor text = clWindowText;
        if (state & gdFixed) {
            back = FixedColor();
            text = clBtnText;
        } else if (state & gdSelected) {
            back = clHighlight;
            text = clHighlightText;
        }
        canvas.Brush()->SetColor(back);
        canvas.Font()->SetColor(text);
        canvas.TextRect(rect, rect.left() + 2, rect.top() + 2, cells_[row][col]);
        if ((state & gdFocused) && !(Options() & goRowSelect))
            DrawFocusRect(canvas, rect);
    }
    if (OnDrawCell)
        OnDrawCell(this, col, row, rect, state);
}

bool TStringGrid::SelectCell(int col, int row)
{
    bool canSelect = true;
    if (OnSelectCell)
        OnSelectCell(this, col, row, canSelect);
    return canSelect;
}

QString TStringGrid::GetEditText(int col, int row)
{
    QString value = Cells(col, row);
    if (OnGetEditText)
        OnGetEditText(this, col, row, value);
    return value;
}

void TStringGrid::SetEditText(int col, int row, const QString& value)
{
    CheckCell(col, row);
    cells_[row][col] = value;
    InvalidateCell(col, row);
    if (OnSetEditText)
        OnSetEditText(this, col, row, value);
}

void TStringGrid::ColumnMoved(int from, int to)
{
    bool accept = true;
    if (OnColumnMoving)
        OnColumnMoving(this, from, to, accept);
    if (!accept) {
        MoveColumnBack(from, to);
        return;
    }
    for (QVector<QString>& row : cells_)
        row.move(from, to);
    if (OnColumnMoved)
        OnColumnMoved(this, from, to);
}

void TStringGrid::RowMoved(int from, int to)
{
    cells_.move(from, to);
    if (OnRowMoved)
        OnRowMoved(this, from, to);
}

}  // namespace tk
