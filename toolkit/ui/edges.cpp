#include "toolkit/ui/edges.h"

#include <QPainter>

namespace tk {

namespace {

struct TBorderColors {
    TColor topLeft;
    TColor bottomRight;
};

// The colours of one border (outer or inner) of the given kind.
TBorderColors BorderColors(bool outer, bool raised, unsigned flags)
{
    if (flags & bfMono)
        return outer ? TBorderColors{clWindowFrame, clWindowFrame} : TBorderColors{clWindow, clWindow};
    if (flags & bfFlat)
        return outer ? TBorderColors{clBtnShadow, clBtnShadow} : TBorderColors{clBtnFace, clBtnFace};
    const bool soft = (flags & bfSoft) != 0;
    if (raised) {
        const TColor light = (outer != soft) ? cl3DLight : clBtnHighlight;
        return {light, outer ? cl3DDkShadow : clBtnShadow};
    }
    const TColor dark = (outer != soft) ? clBtnShadow : cl3DDkShadow;
    return {dark, outer ? clBtnHighlight : cl3DLight};
}

void FillPixels(QPainter& painter, const QRect& rect, const QColor& color)
{
    if (!rect.isEmpty())
        painter.fillRect(rect, color);
}

// One border a pixel wide along the inside of rect on the sides flags name.
void DrawBorder(TCanvas& canvas, QPainter& painter, const QRect& rect, const TBorderColors& colors,
                unsigned flags)
{
    const QColor topLeft = canvas.ToQColor(colors.topLeft);
    const QColor bottomRight = canvas.ToQColor(colors.bottomRight);
    if (flags & bfTop)
        FillPixels(painter, QRect(rect.left(), rect.top(), rect.width(), 1), topLeft);
    if (flags & bfLeft)
        FillPixels(painter, QRect(rect.left(), rect.top(), 1, rect.height()), topLeft);
    if (flags & bfBottom)
        FillPixels(painter, QRect(rect.left(), rect.bottom(), rect.width(), 1), bottomRight);
    if (flags & bfRight)
        FillPixels(painter, QRect(rect.right(), rect.top(), 1, rect.height()), bottomRight);
}

QRect Shrunk(const QRect& rect, unsigned flags)
{
    return rect.adjusted((flags & bfLeft) ? 1 : 0, (flags & bfTop) ? 1 : 0, (flags & bfRight) ? -1 : 0,
                         (flags & bfBottom) ? -1 : 0);
}

// A down-pointing triangle centred in rect, about half as wide.
void DrawDownArrow(QPainter& painter, const QRect& rect, const QColor& color)
{
    const int width = std::max(3, (std::min(rect.width(), rect.height() * 2) / 2) | 1);
    const int height = (width + 1) / 2;
    const int left = rect.left() + (rect.width() - width) / 2;
    const int top = rect.top() + (rect.height() - height) / 2;
    for (int row = 0; row < height; ++row)
        painter.fillRect(QRect(left + row, top + row, width - 2 * row, 1), color);
}

}  // namespace

bool DrawEdge(TCanvas& canvas, QRect& rect, unsigned edge, unsigned flags)
{
    const unsigned outer = edge & (bdrRaisedOuter | bdrSunkenOuter);
    const unsigned inner = edge & (bdrRaisedInner | bdrSunkenInner);
    if (!outer && !inner)
        return false;
    QPainter* painter = canvas.Painter();
    QRect area = rect;
    if (painter) {
        struct TPass {
            unsigned bits;
            bool outer;
        };
        const TPass passes[] = {{outer, true}, {inner, false}};
        for (const TPass& pass : passes) {
            if (!pass.bits)
                continue;
            const bool raised = (pass.bits & (bdrRaisedOuter | bdrRaisedInner)) != 0;
            DrawBorder(canvas, *painter, area, BorderColors(pass.outer, raised, flags), flags);
            area = Shrunk(area, flags);
        }
        if (flags & bfMiddle)
            FillPixels(*painter, area, canvas.ToQColor((flags & bfMono) ? clWindow : clBtnFace));
    } else {
        area = Shrunk(area, flags);
        if (outer && inner)
            area = Shrunk(area, flags);
    }
    if (flags & bfAdjust)
        rect = area;
    return true;
}

void DrawFrameControl(TCanvas& canvas, const QRect& rect, TFrameControl kind, unsigned state)
{
    QPainter* painter = canvas.Painter();
    if (!painter || rect.isEmpty())
        return;
    const bool pushed = (state & dfcsPushed) != 0;
    const bool flat = (state & dfcsFlat) != 0;
    QRect face = rect;
    if (flat || (kind == TFrameControl::dfcScroll && pushed))
        DrawEdge(canvas, face, bdrRaisedOuter, bfRect | bfFlat | bfMiddle | bfAdjust);
    else if (pushed)
        DrawEdge(canvas, face, edgeSunken, bfRect | bfMiddle | bfAdjust);
    else
        DrawEdge(canvas, face, edgeRaised, bfRect | bfSoft | bfMiddle | bfAdjust);
    if (kind != TFrameControl::dfcScroll)
        return;
    QRect arrow = face;
    if (pushed)
        arrow.translate(1, 1);
    if (state & dfcsInactive) {
        DrawDownArrow(*painter, arrow.translated(1, 1), canvas.ToQColor(clBtnHighlight));
        DrawDownArrow(*painter, arrow, canvas.ToQColor(clBtnShadow));
    } else {
        DrawDownArrow(*painter, arrow, canvas.ToQColor(clBtnText));
    }
}

void DrawFocusRect(TCanvas& canvas, const QRect& rect)
{
    QPainter* painter = canvas.Painter();
    if (!painter || rect.isEmpty())
        return;
    painter->save();
    painter->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    const QColor toggle(Qt::white);
    auto dot = [&](int x, int y) {
        if (((x + y) & 1) == 0)
            painter->fillRect(QRect(x, y, 1, 1), toggle);
    };
    for (int x = rect.left(); x <= rect.right(); ++x) {
        dot(x, rect.top());
        if (rect.height() > 1)
            dot(x, rect.bottom());
    }
    for (int y = rect.top() + 1; y < rect.bottom(); ++y) {
        dot(rect.left(), y);
        if (rect.width() > 1)
            dot(rect.right(), y);
    }
    painter->restore();
}

}  // namespace tk
