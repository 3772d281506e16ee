// TKelCellPainter: which painter a cell goes to, the fixed cells' common
// background and finish, the corner and the indicator column.

#include "kelgrid/grid/cellpainter.h"

#include "kelgrid/controls/gradient.h"
#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/cellimage.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "kelgrid/grid/paintstyles.h"
#include "toolkit/data/dataset.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/themes.h"

#include <QScopeGuard>

namespace kelgrid {

TKelCellPainter::TKelCellPainter(TKelCustomDBGrid& grid, tk::TCanvas& canvas)
    : grid_(grid), d_(*grid.d()), canvas_(canvas)
{
}

bool TKelCellPainter::BothLines() const
{
    return d_.options.testFlag(dgColLines) && d_.options.testFlag(dgRowLines);
}

tk::TAlignment TKelCellPainter::ScreenAlignment(tk::TAlignment alignment, bool suppressRTL) const
{
    if (suppressRTL || !grid_.UseRightToLeftAlignment() || alignment == tk::taCenter)
        return alignment;
    return alignment == tk::taLeftJustify ? tk::taRightJustify : tk::taLeftJustify;
}

void TKelCellPainter::Paint(int col, int row, const QRect& cellRect, tk::TGridDrawState state)
{
    if (cellRect.isEmpty())
        return;
    if (grid_.HasState(tk::TComponentStateFlag::csLoading)) {
        canvas_.Brush()->SetColor(grid_.Color());
        canvas_.FillRect(cellRect);
        return;
    }
    d_.paintCell = QPoint(col, row);
    auto forget = qScopeGuard([this] { d_.paintCell = QPoint(-1, -1); });
    const int dataColumn = col - d_.indicatorOffset;
    const int dataRow = row - d_.titleOffset;
    const int dataRows = grid_.RowCount() - d_.titleOffset - d_.totalOffset;
    const bool fixed = state.testFlag(tk::gdFixed) || dataRow > dataRows;
    margin_ = fixed && BothLines() ? 1 : 2;

    if (dataColumn < 0) {
        if (row < d_.titleOffset) {
            // The corner spans every title row.
            QRect corner = cellRect;
            corner.setTop(0);
            corner.setBottom(grid_.TitleHeight() - grid_.RowLineWidth() - 1);
            PaintCorner(corner);
        } else {
            PaintIndicator(cellRect, dataRow);
        }
        return;
    }
    if (row < d_.titleOffset)
        PaintTitle(col, row, cellRect);
    else if (dataRow > dataRows)
        PaintTotal(col, grid_.TotalRowOf(row), cellRect);
    else if (dataRow == dataRows)
        PaintBlankCell(col, cellRect);
    else
        PaintDataCell(col, dataRow, cellRect, state);
}

bool TKelCellPainter::FixedPainted() const
{
    return grid_.IsGridThemed() || d_.gradient->IsActive(false);
}

void TKelCellPainter::FillFixed(const QRect& rect, tk::TColor color, bool hot, bool pressed)
{
    if (grid_.IsGridThemed()) {
        tk::TThemedDetails details;
        details.state = !grid_.DrawEnabled() ? tk::TThemedState::tsDisabled
                        : pressed            ? tk::TThemedState::tsPressed
                        : hot                ? tk::TThemedState::tsHot
                                             : tk::TThemedState::tsNormal;
        switch (d_.fixedTheme) {
        case ftButtons:
            details.element = tk::TThemedElement::tePushButton;
            break;
        case ftTabs:
            details.element = tk::TThemedElement::teTabItem;
            break;
        default:
            // The platform's header section in every state: what its own
            // item views show, where a toolbar background would draw
            // handles and separators into each cell.
            details.element = tk::TThemedElement::teHeaderItem;
            break;
        }
        tk::DrawThemedElement(canvas_, details, rect, &grid_);
        return;
    }
    if (d_.gradient->IsActive(false)) {
        d_.gradient->FillRect(canvas_, rect, color, hot, pressed);
        return;
    }
    canvas_.Brush()->SetColor(color);
    canvas_.FillRect(rect);
}

void TKelCellPainter::FinishFixed(const QRect& cell, bool pressed, bool hot)
{
    if (grid_.IsGridThemed())
        return;  // the theme's element is the whole look
    if (BothLines()) {
        const bool plainFrame = grid_.FixedColor() != tk::clBtnFace &&
                                (d_.fixedStyle == fsFlat || d_.fixedStyle == fsGray || d_.fixedStyle == fsMild);
        DrawFixedCellBevel(canvas_, cell, d_.fixedStyle, plainFrame);
    }
    if (pressed)
        DrawPressedEdge(canvas_, cell);
    else if (hot && d_.options.testFlag(dgHotButtons))
        DrawHotButtonEdge(canvas_, cell, grid_.HotButtonsStyle(), d_.fixedStyle);
}

void TKelCellPainter::DrawCentred(const tk::TImageList& list, int index, const QRect& rect, bool enabled)
{
    // Only the built-in indicator images have mirrored forms.
    if (index < 0 || index >= list.Count())
        return;
    const int x = rect.left() + (rect.width() - list.Width()) / 2;
    const int y = rect.top() + (rect.height() - list.Height()) / 2;
    DrawListImage(canvas_, list, index, x, y, enabled,
                  &list == grid_.IndicatorList() ? TListImageMirror::IndicatorImages : TListImageMirror::Readable);
}

void TKelCellPainter::PaintCorner(const QRect& rect)
{
    const bool down = d_.fillerPressed && d_.pressTracked;
    const bool pressed = down && !grid_.IsGridThemed() &&
                         !d_.gradient->Options().testFlag(TOrvGradientEnums::goHotTrack);
    FillFixed(rect, d_.fillerColor, d_.fillerHot, down);
    QRect content = BothLines() ? rect.adjusted(1, 1, -1, -1) : rect;
    if (pressed)
        content.translate(1, 1);
    const bool enabled = grid_.DrawEnabled();
    if (d_.fillerIndex >= 0 && d_.titleImages && d_.fillerIndex < d_.titleImages->Count())
        DrawCentred(*d_.titleImages, d_.fillerIndex, content, enabled);
    else if (d_.fillerIndex < -1)
        DrawCentred(*grid_.IndicatorList(), -d_.fillerIndex - 2, content, enabled);
    FinishFixed(rect, down, d_.fillerHot);
}

int TKelCellPainter::IndicatorImage(int dataRow)
{
    TKelGridDataLink& link = *d_.dataLink;
    if (!link.Active() || dataRow >= link.RecordCount())
        return -1;
    const int active = link.ActiveRecord();
    auto restore = qScopeGuard([&] { link.SetActiveRecord(active); });
    link.SetActiveRecord(dataRow);
    const bool selected = d_.selectedRows->CurrentRowSelected();
    int index = -1;
    if (dataRow == active) {
        switch (grid_.DataSet()->State()) {
        case tk::dsEdit:
            index = 1;
            break;
        case tk::dsInsert:
            index = 2;
            break;
        case tk::dsBrowse:
            index = selected ? 4 : 0;
            break;
        default:
            index = 0;
        }
        d_.selRow = d_.titleOffset + dataRow;
    } else if (selected) {
        index = 3;
    }
    if (d_.options.testFlag(dgExtendedSelect) && !d_.selectionAnchor.isEmpty() &&
        grid_.DataSet()->CompareBookmarks(d_.selectionAnchor, grid_.DataSet()->GetBookmark()) == 0) {
        if (index == -1)
            index = 6;
        else if (index == 3)
            index = 7;
    }
    grid_.CalcImageIndex(nullptr, index);
    return index;
}

void TKelCellPainter::PaintIndicator(const QRect& rect, int dataRow)
{
    const bool totalRow = dataRow >= grid_.RowCount() - d_.titleOffset - d_.totalOffset;
    FillFixed(rect, grid_.FixedColor(), false, false);
    if (!totalRow && !d_.options.testFlag(dgIndicatorMarkOff)) {
        const int index = IndicatorImage(dataRow);
        const QRect content = BothLines() ? rect.adjusted(1, 1, -1, -1) : rect;
        DrawCentred(*grid_.IndicatorList(), index, content, grid_.DrawEnabled());
    }
    FinishFixed(rect, false, false);
}

}  // namespace kelgrid
