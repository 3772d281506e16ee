// TPanel: bevels, border, face and caption.

#include "toolkit/ui/panel.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/canvas.h"

#include <QPainter>
#include <algorithm>

namespace tk {

namespace {

int BevelSize(TPanelBevel bevel, int width)
{
    return bevel == bvNone ? 0 : width;
}

void DrawBevel(TCanvas& canvas, QRect& rect, TPanelBevel bevel, int width)
{
    if (bevel == bvNone)
        return;
    const bool raised = bevel == bvRaised;
    Frame3D(canvas, rect, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, width);
}

}  // namespace

void Frame3D(TCanvas& canvas, QRect& rect, TColor topLeft, TColor bottomRight, int width)
{
    QPainter* painter = canvas.Painter();
    for (int i = 0; i < width && rect.width() > 0 && rect.height() > 0; ++i) {
        const QColor light = canvas.ToQColor(topLeft);
        const QColor dark = canvas.ToQColor(bottomRight);
        painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), light);
        painter->fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), light);
        painter->fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), dark);
        painter->fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), dark);
        rect.adjust(1, 1, -1, -1);
    }
}

TPanel::TPanel(QWidget* parent) : QWidget(parent), TControl(this)
{
    resize(185, 41);
}

void TPanel::SetAlignment(TAlignment alignment)
{
    if (alignment_ == alignment)
        return;
    alignment_ = alignment;
    update();
}

void TPanel::SetBevelInner(TPanelBevel bevel)
{
    if (bevelInner_ == bevel)
        return;
    bevelInner_ = bevel;
    update();
}

void TPanel::SetBevelOuter(TPanelBevel bevel)
{
    if (bevelOuter_ == bevel)
        return;
    bevelOuter_ = bevel;
    update();
}

void TPanel::SetBevelWidth(int width)
{
    width = std::max(width, 1);
    if (bevelWidth_ == width)
        return;
    bevelWidth_ = width;
    update();
}

void TPanel::SetBorderWidth(int width)
{
    width = std::max(width, 0);
    if (borderWidth_ == width)
        return;
    borderWidth_ = width;
    update();
}

void TPanel::SetCaption(const QString& caption)
{
    if (caption_ == caption)
        return;
    caption_ = caption;
    update();
}

QRect TPanel::InnerRect() const
{
    const int inset = BevelSize(bevelOuter_, bevelWidth_) + borderWidth_ + BevelSize(bevelInner_, bevelWidth_);
    return rect().adjusted(inset, inset, -inset, -inset);
}

TColor TPanel::FaceColor() const
{
    return Color() == clDefault ? clBtnFace : Color();
}

void TPanel::paintEvent(QPaintEvent*)
{
    Guarded([&] {
        TCanvas canvas(this);
        PaintPanel(canvas);
    });
}

void TPanel::PaintPanel(TCanvas& canvas)
{
    QRect area = rect();
    if (!ParentBackground()) {
        canvas.Brush()->SetColor(FaceColor());
        canvas.FillRect(area);
    }
    DrawBevel(canvas, area, bevelOuter_, bevelWidth_);
    area.adjust(borderWidth_, borderWidth_, -borderWidth_, -borderWidth_);
    DrawBevel(canvas, area, bevelInner_, bevelWidth_);
    if (caption_.isEmpty())
        return;
    canvas.Font()->Assign(Font());
    canvas.Brush()->SetStyle(TBrush::bsClear);
    const unsigned across = alignment_ == taLeftJustify ? 0u : alignment_ == taRightJustify ? dtRight : dtCenter;
    canvas.DrawText(caption_, area, across | dtVCenter | dtSingleLine);
    canvas.Brush()->SetStyle(TBrush::bsSolid);
}

}  // namespace tk
