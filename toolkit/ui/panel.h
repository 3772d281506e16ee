#pragma once
// TPanel: a container with up to two bevels around a border and a caption.
//
// From the outside in: the outer bevel (BevelWidth pixels), BorderWidth
// pixels of the panel colour, the inner bevel. A raised bevel is light on
// the top and left and dark on the bottom and right, a lowered one the
// reverse. The caption is drawn centred vertically with Alignment across.
// With ParentBackground the panel leaves its face unfilled (the parent
// shows through); else the face takes Color (clBtnFace by default).
// Painting goes through PaintPanel so that subclasses can add to it.

#include "toolkit/core/alignment.h"
#include "toolkit/ui/control.h"

#include <QWidget>

namespace tk {

class TCanvas;

struct TPanelEnums {
    Q_GADGET

public:
    enum TPanelBevel { bvNone, bvLowered, bvRaised };
    Q_ENUM(TPanelBevel)
};
using TPanelBevel = TPanelEnums::TPanelBevel;
using enum TPanelEnums::TPanelBevel;

class TPanel : public QWidget, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(tk::TAlignmentEnum::TAlignment Alignment READ Alignment WRITE SetAlignment)
    TK_QT_SETTER(Alignment, tk::TAlignmentEnum::TAlignment)
    Q_PROPERTY(tk::TPanelEnums::TPanelBevel BevelInner READ BevelInner WRITE SetBevelInner)
    TK_QT_SETTER(BevelInner, tk::TPanelEnums::TPanelBevel)
    Q_PROPERTY(tk::TPanelEnums::TPanelBevel BevelOuter READ BevelOuter WRITE SetBevelOuter)
    TK_QT_SETTER(BevelOuter, tk::TPanelEnums::TPanelBevel)
    Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
    TK_QT_SETTER(BevelWidth, int)
    Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)
    TK_QT_SETTER(BorderWidth, int)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    TK_QT_SETTER(Caption, const QString&)
    Q_CLASSINFO("Default:Alignment", "taCenter")
    Q_CLASSINFO("Default:BevelInner", "bvNone")
    Q_CLASSINFO("Default:BevelOuter", "bvRaised")
    Q_CLASSINFO("Default:BevelWidth", "1")
    Q_CLASSINFO("Default:BorderWidth", "0")
public:
    explicit TPanel(QWidget* parent = nullptr);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    TPanelBevel BevelInner() const { return bevelInner_; }
    void SetBevelInner(TPanelBevel bevel);
    TPanelBevel BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TPanelBevel bevel);
    int BevelWidth() const { return bevelWidth_; }
    // At least 1.
    void SetBevelWidth(int width);
    int BorderWidth() const { return borderWidth_; }
    // At least 0.
    void SetBorderWidth(int width);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    // The room inside the bevels and the border.
    QRect InnerRect() const;

protected:
    // Bevels, face and caption.
    virtual void PaintPanel(TCanvas& canvas);
    // The face colour: Color, or clBtnFace while it is clDefault.
    TColor FaceColor() const;
    void paintEvent(QPaintEvent* event) override;

private:
    TAlignment alignment_ = taCenter;
    TPanelBevel bevelInner_ = bvNone;
    TPanelBevel bevelOuter_ = bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    QString caption_;
};

// width pixels of frame inside rect, top and left in topLeft, bottom and
// right in bottomRight; rect shrinks by width.
void Frame3D(TCanvas& canvas, QRect& rect, TColor topLeft, TColor bottomRight, int width);

}  // namespace tk
