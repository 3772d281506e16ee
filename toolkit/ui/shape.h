#pragma once
// TShape: a rectangle, square, rounded rectangle, ellipse or circle drawn
// with Pen and Brush inside the control. Squares and circles take the
// shorter side and are centred; the outline lies inside the bounds (a pen
// of width w keeps w / 2 pixels in from each edge).

#include "toolkit/ui/control.h"
#include "toolkit/ui/graphics.h"

#include <QWidget>
#include <memory>

namespace tk {

class TCanvas;

struct TShapeEnums {
    Q_GADGET

public:
    enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };
    Q_ENUM(TShapeType)
};
using TShapeType = TShapeEnums::TShapeType;
using enum TShapeEnums::TShapeType;

class TShape : public QWidget, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(tk::TShapeEnums::TShapeType Shape READ Shape WRITE SetShape)
    Q_CLASSINFO("Default:Shape", "stRectangle")
public:
    explicit TShape(QWidget* parent = nullptr);
    ~TShape() override;

    TShapeType Shape() const { return shape_; }
    void SetShape(TShapeType shape);
    // Changes to either repaint the shape.
    TPen* Pen() const { return pen_.get(); }
    TBrush* Brush() const { return brush_.get(); }

    // The rectangle the outline is drawn in.
    QRect ShapeRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TShapeType shape_ = stRectangle;
    std::unique_ptr<TPen> pen_;
    std::unique_ptr<TBrush> brush_;
};

}  // namespace tk
