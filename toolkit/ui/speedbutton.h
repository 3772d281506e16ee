#pragma once
// TSpeedButton: a button without focus that shows a glyph and a caption,
// flat or framed, and can stay down.
//
// A glyph whose width is 1 to 4 times its height sets NumGlyphs to that
// count; set NumGlyphs after the glyph to choose otherwise.
//
// Glyph holds NumGlyphs (1 to 4) images side by side: normal, disabled,
// pressed, exclusive (down). A state without an image falls back:
// exclusive to pressed, pressed to normal; a missing disabled image is the
// normal one drawn faded. The bottom-left pixel is the transparent colour.
// Layout puts the glyph left, right, above or below the caption; Margin is
// the room between the edge and the glyph (-1: the block is centred);
// Spacing the gap between glyph and caption.
//
// Down with GroupIndex: buttons of the same parent with the same non-zero
// GroupIndex form a group in which one button at most is down; a click on
// an up button puts it down (and the other up), a click on the down one
// puts it up only when AllowAllUp. GroupIndex 0: Down is always false.
//
// Painting goes through PaintButton (the frame and face) and
// DrawGlyphAndCaption (the content); subclasses replace either. Flat
// buttons show their frame only while the mouse is over them (the hot
// look); Transparent flat buttons leave the face unfilled.

#include "toolkit/ui/control.h"
#include "toolkit/ui/pictures.h"
#include "toolkit/ui/uienums.h"

#include <QWidget>
#include <memory>

namespace tk {

class TCanvas;

class TSpeedButton : public QWidget, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE SetAllowAllUp)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
    Q_PROPERTY(tk::TBitmap* Glyph READ Glyph WRITE SetGlyph)
    Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
    Q_PROPERTY(tk::TUiEnums::TButtonLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_CLASSINFO("Default:AllowAllUp", "False")
    Q_CLASSINFO("Default:Down", "False")
    Q_CLASSINFO("Default:Flat", "False")
    Q_CLASSINFO("Default:GroupIndex", "0")
    Q_CLASSINFO("Default:Layout", "blGlyphLeft")
    Q_CLASSINFO("Default:Margin", "-1")
    Q_CLASSINFO("Default:NumGlyphs", "1")
    Q_CLASSINFO("Default:Spacing", "4")
    Q_CLASSINFO("Default:Transparent", "False")
public:
    explicit TSpeedButton(QWidget* parent = nullptr);
    ~TSpeedButton() override;

    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool allow);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);
    bool Down() const { return down_; }
    void SetDown(bool down);
    bool Flat() const { return flat_; }
    void SetFlat(bool flat);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int index);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout layout);
    int Margin() const { return margin_; }
    void SetMargin(int margin);
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

    TBitmap* Glyph() const { return glyph_.get(); }
    // Copies bitmap (nullptr or an empty one removes the glyph).
    void SetGlyph(const TBitmap* bitmap);
    int NumGlyphs() const { return numGlyphs_; }
    // Values outside 1 .. 4 are taken as the nearest of them.
    void SetNumGlyphs(int count);

    // The look being painted: up, disabled, pressed or down.
    TButtonState State() const { return state_; }
    // The mouse is over the button (the hot look of flat buttons).
    bool MouseInControl() const { return mouseInControl_; }

    // Runs what a click runs: the group's Down rule, then OnClick.
    virtual void Click();
    TNotifyEvent OnClick;

    QSize sizeHint() const override { return {23, 22}; }

protected:
    // The whole button into canvas (the widget's client area).
    virtual void PaintButton(TCanvas& canvas);
    // Glyph and caption inside client, moved by offset; transparent: the
    // glyph's rectangle is not filled first. Returns the caption's rectangle.
    virtual QRect DrawGlyphAndCaption(TCanvas& canvas, const QRect& client, const QPoint& offset,
                                      TButtonState state, bool transparent);
    // After Glyph or NumGlyphs changed; the base repaints.
    virtual void GlyphChanged();
    // The mouse entered or left (MouseInControl changed); the base repaints
    // flat buttons.
    virtual void MouseInControlChanged();
    void SetMouseInControl(bool inside);
    // The state of an enabled button at rest: down or up.
    TButtonState RestState() const { return down_ ? TButtonState::bsExclusive : TButtonState::bsUp; }
    void SetButtonState(TButtonState state) { state_ = state; }
    // The left button is held after a press on this button.
    bool Pressing() const { return pressing_; }
    void SetPressing(bool pressing) { pressing_ = pressing; }

    void EnabledChanged() override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // Puts the other buttons of the group up.
    void UpdateExclusive();

    std::unique_ptr<TBitmap> glyph_;
    int numGlyphs_ = 1;
    QString caption_;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool flat_ = false;
    bool transparent_ = false;
    bool down_ = false;
    int groupIndex_ = 0;
    bool allowAllUp_ = false;
    TButtonState state_ = TButtonState::bsUp;
    bool mouseInControl_ = false;
    bool pressing_ = false;
};

// Where the glyph and the caption of a button go inside client: the glyph
// sits on Layout's side of the caption, both centred across; margin -1
// centres the block (with spacing -1 margin, gap and rest are equal);
// spacing -1 centres the caption in the room after the glyph. Without a
// glyph or a caption the gap is 0.
struct TSpeedButtonLayout {
    QPoint glyphPos;
    QRect textBounds;
};
TSpeedButtonLayout LayOutSpeedButton(const QRect& client, QSize glyphSize, QSize textSize, TButtonLayout layout,
                                     int margin, int spacing);

}  // namespace tk
