// TKelHintWindow: the grid's tooltip window (see the header for its
// geometry).

#include "kelgrid/grid/hintwindow.h"

#include "toolkit/ui/canvas.h"

#include <algorithm>

namespace kelgrid {

namespace {

// How far the text sits from the client area's edges (the platform window's
// inset).
constexpr int kTextInset = 2;
// What CalcHintRect adds to the text: the border and the insets.
constexpr int kExtraWidth = 6;
constexpr int kExtraHeight = 2;

unsigned AlignmentFlag(tk::TAlignment alignment)
{
    switch (alignment) {
    case tk::taRightJustify:
        return tk::dtRight;
    case tk::taCenter:
        return tk::dtCenter;
    default:
        return tk::dtLeft;
    }
}

}  // namespace

TKelHintWindow::TKelHintWindow() = default;

TKelHintWindow::~TKelHintWindow() = default;

QRect TKelHintWindow::MeasureText(const QString& hint, int width, int& lines)
{
    QRect bounds(0, 0, std::max(width, 1), 0);
    const unsigned reading = UseRightToLeftReading() ? tk::dtRtlReading : 0u;
    Canvas()->DrawText(hint, bounds,
                       tk::dtCalcRect | tk::dtLeft | tk::dtWordBreak | tk::dtNoPrefix | reading);
    const int lineHeight = std::max(Canvas()->TextHeight(QStringLiteral("Wg")), 1);
    lines = (bounds.height() + lineHeight - 1) / lineHeight;
    return bounds;
}

QRect TKelHintWindow::CalcHintRect(int maxWidth, const QString& hint, const QVariant& data)
{
    const TKelHintData hintData =
        data.canConvert<TKelHintData>() ? data.value<TKelHintData>() : TKelHintData();
    Canvas()->Font()->Assign(hintData.font ? hintData.font.data() : Font());
    alignment_ = hintData.alignment;
    fixedWidth_ = hintData.fixedWidth;
    if (hintData.rightToLeft)
        SetBiDiMode(tk::bdRightToLeft);
    const bool centred = alignment_ == tk::taCenter;
    maxWidth = std::max(maxWidth, 1);

    int lines = 0;
    QRect rect;
    if (fixedWidth_) {
        if (centred && maxWidth % 2 == 0)
            ++maxWidth;
        rect = MeasureText(hint, maxWidth + 2, lines);
        if (rect.width() < maxWidth || (rect.width() <= maxWidth + 2 && lines > 1))
            rect.setWidth(maxWidth);
    } else {
        rect = MeasureText(hint, maxWidth, lines);
        if (centred && rect.width() % 2 == 0)
            rect.setWidth(rect.width() + 1);
    }
    rect.setWidth(rect.width() + kExtraWidth);
    rect.setHeight(rect.height() + kExtraHeight);
    return rect;
}

void TKelHintWindow::Paint()
{
    QRect text = ClientRect();
    switch (alignment_) {
    case tk::taRightJustify:
        text.adjust(0, kTextInset, -kTextInset, 0);
        break;
    case tk::taCenter:
        text.adjust(1, kTextInset, -1, 0);
        break;
    default:
        text.adjust(kTextInset, kTextInset, 0, 0);
        break;
    }
    const unsigned reading = UseRightToLeftReading() ? tk::dtRtlReading : 0u;
    Canvas()->Font()->SetColor(tk::clInfoText);
    Canvas()->DrawText(Caption(), text,
                       AlignmentFlag(alignment_) | tk::dtWordBreak | tk::dtNoPrefix | reading);
}

}  // namespace kelgrid
