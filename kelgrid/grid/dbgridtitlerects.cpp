// TKelCustomDBGrid: where titles, their header rows and the bands lie.
//
// A title of a group spans its columns: the rectangle of the title row at
// the group's depth over every raw column from the group's first to its
// last (BoxRect skips the hidden parent columns and the scrolled-out ones).
// A leaf title reaches down through the title rows below it.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"

#include <algorithm>

namespace kelgrid {

int TKelCustomDBGrid::TitleOffset() const
{
    return d_->titleOffset;
}

int TKelCustomDBGrid::ColLineWidth() const
{
    return d_->options.testFlag(dgColLines) ? GridLineWidth() : 0;
}

int TKelCustomDBGrid::RowLineWidth() const
{
    return d_->options.testFlag(dgRowLines) ? GridLineWidth() : 0;
}

QRect TKelCustomDBGrid::CalcTitleRect(TKelColumn* column, int depth, TKelColumn** titleColumn) const
{
    TKelColumn* title = ColumnAtDepth(column, depth);
    if (titleColumn)
        *titleColumn = title;
    if (!title || d_->titleOffset == 0)
        return {};
    const int row = std::min(title->Depth(), d_->titleOffset - 1);
    const bool leaf = !title->Expanded();
    const int lastRow = leaf ? d_->titleOffset - 1 : row;
    return BoxRect(DataToRawColumn(title->Index()), row, DataToRawColumn(title->ExpandIndex()), lastRow);
}

QRect TKelCustomDBGrid::FullTitleRect(TKelColumn* column, int depth, TKelColumn** titleColumn) const
{
    TKelColumn* title = nullptr;
    QRect rect = CalcTitleRect(column, depth, &title);
    if (titleColumn)
        *titleColumn = title;
    if (!title || rect.isEmpty())
        return rect;
    const int lineWidth = ColLineWidth();
    if (title->Expanded()) {
        const int full = title->ExpandWidth() - lineWidth;
        if (rect.width() < full) {
            // The group's columns scrolled out to the left of the first
            // scrollable column push its start out of sight.
            const bool fixed = DataToRawColumn(title->Index()) < tk::TCustomGrid::FixedCols();
            if (!fixed)
                for (int i = title->Index(); i <= title->ExpandIndex(); ++i) {
                    TKelColumn* child = d_->columns->Items(i);
                    const int raw = DataToRawColumn(i);
                    if (child->Showing() && raw >= tk::TCustomGrid::FixedCols() && raw < LeftCol())
                        rect.moveLeft(rect.left() - child->Width() - lineWidth);
                }
            rect.setWidth(full);
        }
    } else if (rect.width() < title->Width()) {
        rect.setWidth(title->Width());
    }
    const int row = std::min(title->Depth(), d_->titleOffset - 1);
    rect.setHeight(std::max(rect.height(), RowHeights(row)));
    return rect;
}

QRect TKelCustomDBGrid::HeaderRect(TKelColumn* column, int index, const QRect& titleRect) const
{
    const int height = HeaderRowHeight();
    if (!column || index < 0 || index >= column->Title()->HeaderRowCount() || height <= 0)
        return {};
    QRect rect(titleRect.left(), titleRect.top() + index * height, titleRect.width(), height);
    // Neighbours with the same header segments share the row: it spans them.
    const int depth = column->Depth();
    for (TKelColumn* left = column->Title()->HeaderLeft(index); left; left = left->Title()->HeaderLeft(index)) {
        const QRect other = CalcTitleRect(left, depth);
        if (!other.isEmpty())
            rect.setLeft(std::min(rect.left(), other.left()));
    }
    for (TKelColumn* right = column->Title()->HeaderRight(index); right;
         right = right->Title()->HeaderRight(index)) {
        const QRect other = CalcTitleRect(right, depth);
        if (!other.isEmpty())
            rect.setRight(std::max(rect.right(), other.right()));
    }
    return rect;
}

int TKelCustomDBGrid::HeaderRow(int y, TKelColumn* column) const
{
    if (!column || !d_->options.testFlag(dgTitles) || !d_->options.testFlag(dgTitleHeaders))
        return -1;
    const int height = HeaderRowHeight();
    const QRect title = CalcTitleRect(column, column->Depth());
    if (height <= 0 || title.isEmpty() || y < title.top())
        return -1;
    const int row = (y - title.top()) / height;
    return row < column->Title()->HeaderRowCount() ? row : -1;
}

int TKelCustomDBGrid::TitleHeight() const
{
    int height = 0;
    for (int row = 0; row < d_->titleOffset; ++row)
        height += RowHeights(row) + RowLineWidth();
    return height;
}

int TKelCustomDBGrid::TotalHeight() const
{
    // The band's rows below the blank row.
    int height = 0;
    for (int row = RowCount() - d_->totalOffset + 1; row < RowCount(); ++row)
        height += std::max(0, RowHeights(row)) + RowLineWidth();
    return height;
}

QRect TKelCustomDBGrid::TitlesRect() const
{
    if (d_->titleOffset == 0)
        return {};
    return BoxRect(0, 0, ColCount() - 1, d_->titleOffset - 1);
}

QRect TKelCustomDBGrid::TotalsRect() const
{
    if (d_->totalOffset == 0)
        return {};
    return BoxRect(0, RowCount() - d_->totalOffset, ColCount() - 1, RowCount() - 1);
}

QRect TKelCustomDBGrid::DataRect() const
{
    const int first = d_->titleOffset;
    const int last = RowCount() - d_->totalOffset - 1;
    if (last < first)
        return {};
    return BoxRect(0, first, ColCount() - 1, last);
}

}  // namespace kelgrid
