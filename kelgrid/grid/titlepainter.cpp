// TKelCellPainter: title cells. A title paints over its whole rectangle
// (every cell of it paints the same picture, so any part the grid repaints
// is right): its header rows, the caption area with the expand button, the
// title image, the caption and the sort marker, then the fixed finish.

#include "kelgrid/controls/gradient.h"
#include "kelgrid/grid/cellimage.h"
#include "kelgrid/grid/cellpainter.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridstyle.h"
#include "kelgrid/grid/paintstyles.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/sysinfo.h"
#include "toolkit/ui/themes.h"

#include <algorithm>

namespace kelgrid {

namespace {

// Indicator images of the expand button.
constexpr int kExpandedImage = 10;
constexpr int kCollapsedImage = 11;
constexpr int kDropDownImage = 9;

bool HasExpandButton(const TKelColumn* title, int titleWidth)
{
    const TKelColumnExpandStyle style = title->ExpandStyle();
    if (style == cesDropDown || style == cesDropDownMenu)
        return true;
    return style == cesAuto && title->Expandable() && titleWidth >= tk::ScrollBarExtent();
}

}  // namespace

void TKelCellPainter::PaintTitle(int col, int row, const QRect& cellRect)
{
    TKelColumn* column = grid_.ColumnOfRaw(col);
    TKelColumn* title = nullptr;
    const QRect visible = grid_.CalcTitleRect(column, row, &title);
    if (!title || visible.isEmpty()) {
        FillFixed(cellRect, grid_.FixedColor(), false, false);
        return;
    }
    const QRect full = grid_.FullTitleRect(column, row);
    auto isTitle = [&](const QPoint& cell) {
        TKelColumn* under = grid_.ColumnOfRaw(cell.x());
        return cell.y() >= 0 && cell.y() < d_.titleOffset && under &&
               grid_.ColumnAtDepth(under, cell.y()) == title;
    };
    const bool pressed = isTitle(d_.pressedCell) && d_.pressTracked;
    const bool hot = isTitle(d_.hotCell);
    const bool offsetPressed = pressed && !grid_.IsGridThemed() &&
                               !d_.gradient->Options().testFlag(TOrvGradientEnums::goHotTrack);

    canvas_.SetClipRect(visible);
    QRect caption = full;
    PaintHeaderRows(title, full, visible, caption);

    canvas_.Font()->Assign(title->Title()->Font());
    FillFixed(caption.intersected(visible), title->Title()->Color(), hot, pressed);
    QRect content = BothLines() ? caption.adjusted(1, 1, -1, -1) : caption;
    if (offsetPressed)
        content.translate(1, 1);
    PaintExpandButton(title, content, pressed, hot);

    const int titleMargin = d_.gridStyle->TitleColMargin();
    content.adjust(titleMargin, 0, -titleMargin, 0);
    const int image = title->Title()->ImageIndex();
    if (d_.titleImages && image >= 0 && image < d_.titleImages->Count()) {
        const int y = content.top() + (content.height() - d_.titleImages->Height()) / 2;
        DrawListImage(canvas_, *d_.titleImages, image, content.left() + margin_, y, grid_.DrawEnabled(),
                      TListImageMirror::Readable);
        content.setLeft(content.left() + margin_ + d_.titleImages->Width() + 2);
    }

    TCellTextFormat format;
    format.alignment = ScreenAlignment(title->Title()->Alignment(), title->SuppressRTL());
    format.vAlignment = title->Title()->VAlignment();
    format.wordWrap = title->Title()->WordWrap();
    format.ellipsis = title->Title()->Ellipsis();
    format.margin = margin_;
    const QString text = title->Title()->Caption();
    QRect textRect = content;
    PaintMarker(title, content, text, format, textRect);
    if (!grid_.DrawEnabled())
        canvas_.Font()->SetColor(tk::clGrayText);
    DrawCellText(canvas_, textRect, text, format, visible);

    FinishFixed(visible, pressed && !d_.expandTracked, hot && !d_.expandTracked);
    canvas_.ResetClip();
    // A header row shared with the next title has no line after this
    // cell (GridLineColor): the caption below it gets its own.
    const int lineWidth = grid_.ColLineWidth();
    if (lineWidth > 0 && title->Title()->HeaderRowCount() > 0 && title->Title()->HeaderRight(0)) {
        canvas_.Brush()->SetColor(grid_.FixedLineColor());
        canvas_.FillRect(QRect(visible.right() + 1, caption.top(), lineWidth, visible.bottom() - caption.top() + 1));
    }
}

void TKelCellPainter::PaintHeaderRows(TKelColumn* title, const QRect& full, const QRect& visible, QRect& caption)
{
    if (!d_.options.testFlag(dgTitleHeaders))
        return;
    const int count = title->Title()->HeaderRowCount();
    const int lineWidth = grid_.RowLineWidth();
    for (int index = 0; index < count; ++index) {
        const QRect header = grid_.HeaderRect(title, index, full);
        if (header.isEmpty())
            continue;
        canvas_.Font()->Assign(grid_.HeaderFont());
        const QRect area(header.left(), header.top(), header.width(), header.height() - lineWidth);
        canvas_.SetClipRect(area.intersected(grid_.TitlesRect()));
        FillFixed(area, d_.headerColor, false, false);
        TCellTextFormat format;
        format.alignment = tk::taCenter;
        format.vAlignment = tvCenter;
        format.wordWrap = true;
        format.ellipsis = true;
        format.margin = margin_;
        if (!grid_.DrawEnabled())
            canvas_.Font()->SetColor(tk::clGrayText);
        DrawCellText(canvas_, area, title->Title()->HeaderRows(index), format);
        if (lineWidth > 0) {
            canvas_.Brush()->SetColor(grid_.FixedLineColor());
            canvas_.FillRect(QRect(header.left(), header.bottom() - lineWidth + 1, header.width(), lineWidth));
        }
        caption.setTop(header.bottom() + 1);
    }
    canvas_.SetClipRect(visible);
}

void TKelCellPainter::PaintExpandButton(TKelColumn* title, QRect& content, bool pressed, bool hot)
{
    const int size = tk::ScrollBarExtent();
    if (!HasExpandButton(title, content.width()) || content.width() < size)
        return;
    const QRect button(content.right() - size + 1, content.top(), size, content.height());
    content.setRight(button.left() - 1);
    const TKelColumnExpandStyle style = title->ExpandStyle();
    const bool dropDown = style == cesDropDown || style == cesDropDownMenu;
    const bool tracked = d_.expandTracked;
    if (grid_.IsGridThemed()) {
        tk::TThemedDetails details;
        details.element = dropDown ? tk::TThemedElement::teComboDropDown : tk::TThemedElement::teTreeGlyph;
        details.open = title->Expanded();
        details.state = !grid_.DrawEnabled()   ? tk::TThemedState::tsDisabled
                        : pressed && tracked ? tk::TThemedState::tsPressed
                        : hot && tracked     ? tk::TThemedState::tsHot
                                             : tk::TThemedState::tsNormal;
        const QRect glyph(button.left(), button.top() + (button.height() - size) / 2, size, size);
        tk::DrawThemedElement(canvas_, details, glyph, &grid_);
        return;
    }
    const tk::TImageList& list = *grid_.IndicatorList();
    if (list.Count() <= kCollapsedImage)
        return;
    if (hot && tracked && d_.gradient->IsHotActive())
        d_.gradient->FillRect(canvas_, button, title->Title()->Color(), true, pressed);
    int index = title->Expanded() ? kExpandedImage : kCollapsedImage;
    if (canvas_.Mirrored() && !dropDown)
        index = index == kExpandedImage ? kCollapsedImage : kExpandedImage;
    if (dropDown)
        index = kDropDownImage;
    DrawCentred(list, index, button, grid_.DrawEnabled());
    if (tracked && pressed)
        DrawPressedEdge(canvas_, button);
    else if (tracked && hot)
        DrawHotButtonEdge(canvas_, button, grid_.HotButtonsStyle(), d_.fixedStyle);
}

void TKelCellPainter::PaintMarker(TKelColumn* title, const QRect& content, const QString& text,
                                  const TCellTextFormat& format, QRect& textRect)
{
    const int index = title->Title()->MarkerIndex();
    const tk::TImageList& markers = *grid_.MarkerList();
    if (index < 0 || index >= markers.Count())
        return;
    const int width = markers.Width();
    const int rightEdge = content.right() + 1 - width - 2;
    int x = rightEdge;
    if (d_.options.testFlag(dgMarkerAutoAlign) && format.alignment != tk::taRightJustify) {
        const int textWidth = std::min(canvas_.TextWidth(text), std::max(0, rightEdge - content.left()));
        const int follows = format.alignment == tk::taLeftJustify
                                ? content.left() + textWidth + 2 * format.margin + 1
                                : content.left() + content.width() / 2 + textWidth / 2 + format.margin + 1;
        x = std::min(follows, rightEdge);
    }
    x = std::max(x, content.left());
    int y = content.top() + (content.height() - markers.Height()) / 2;
    if (grid_.IsGridThemed() && !tk::NewerVisualStyles())
        y += static_cast<int>(d_.fixedTheme) - 2;
    DrawListImage(canvas_, markers, index, x, y, grid_.DrawEnabled(),
                      TListImageMirror::Readable);
    if (x == rightEdge || format.alignment == tk::taRightJustify)
        textRect.setRight(std::min(textRect.right(), x - 1));
}

}  // namespace kelgrid
