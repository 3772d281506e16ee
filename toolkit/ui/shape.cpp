// TShape: the outline and fill of the chosen figure.

#include "toolkit/ui/shape.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/canvas.h"

#include <QPainter>
#include <algorithm>

namespace tk {

TShape::TShape(QWidget* parent)
    : QWidget(parent), TControl(this), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>())
{
    pen_->OnChange = [this] { update(); };
    brush_->OnChange = [this] { update(); };
    resize(65, 65);
}

TShape::~TShape() = default;

void TShape::SetShape(TShapeType shape)
{
    if (shape_ == shape)
        return;
    shape_ = shape;
    update();
}

QRect TShape::ShapeRect() const
{
    // Rectangles draw their outline inside the bounds themselves; the
    // curves are stroked on their path, so they keep half the pen inside.
    const bool curved = shape_ != stRectangle && shape_ != stSquare;
    const int inset = curved ? pen_->Width() / 2 : 0;
    QRect area = rect().adjusted(inset, inset, -inset, -inset);
    if (shape_ == stSquare || shape_ == stRoundSquare || shape_ == stCircle) {
        const int side = std::min(area.width(), area.height());
        area = QRect(area.left() + (area.width() - side) / 2, area.top() + (area.height() - side) / 2, side, side);
    }
    return area;
}

void TShape::paintEvent(QPaintEvent*)
{
    Guarded([&] {
        TCanvas canvas(this);
        canvas.Pen()->Assign(pen_.get());
        canvas.Brush()->Assign(brush_.get());
        const QRect area = ShapeRect();
        QPainter* painter = canvas.Painter();
        painter->setPen(pen_->ToQPen(canvas.Palette()));
        painter->setBrush(brush_->ToQBrush(canvas.Palette()));
        switch (shape_) {
        case stRectangle:
        case stSquare: canvas.Rectangle(area); break;
        case stRoundRect:
        case stRoundSquare: {
            const int radius = std::min(area.width(), area.height()) / 4;
            painter->drawRoundedRect(area.adjusted(0, 0, -1, -1), radius, radius);
            break;
        }
        case stEllipse:
        case stCircle: painter->drawEllipse(area.adjusted(0, 0, -1, -1)); break;
        }
    });
}

}  // namespace tk
