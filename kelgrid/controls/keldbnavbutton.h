#pragma once
// TKelDBNavButton: a navigator button that draws its glyph through the
// shared glyph lists, can lay a gradient behind glyph and caption, and has
// a thin ("fine") look.
//
// The gradient (a TOrvGradientButton the navigator keeps in step with its
// own) repaints the button on every change. Without themes a framed button
// tracks the mouse only to repaint a gradient with a hot look; flat buttons
// always show the hot frame.

#include "kelgrid/controls/buttonglyph.h"
#include "kelgrid/controls/gradient.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/ui/dbnavigator.h"

namespace kelgrid {

class KELGRID_EXPORT TKelDBNavButton : public tk::TNavButton {
    Q_OBJECT
    Q_PROPERTY(bool Fine READ Fine WRITE SetFine)
    Q_PROPERTY(kelgrid::TOrvGradientEnums::TFineTheme FineTheme READ FineTheme WRITE SetFineTheme)
    Q_PROPERTY(kelgrid::TOrvGradientButton* Gradient READ Gradient WRITE SetGradient)
    Q_CLASSINFO("Default:Fine", "False")
    Q_CLASSINFO("Default:FineTheme", "ftNoChange")
public:
    explicit TKelDBNavButton(QWidget* parent = nullptr);
    ~TKelDBNavButton() override;

    bool Fine() const { return fine_; }
    void SetFine(bool fine);
    TFineTheme FineTheme() const { return fineTheme_; }
    void SetFineTheme(TFineTheme theme);
    TOrvGradientButton* Gradient() const { return gradient_; }
    // Copies gradient's settings.
    void SetGradient(const TOrvGradient* gradient);

protected:
    void PaintButton(tk::TCanvas& canvas) override;
    QRect DrawGlyphAndCaption(tk::TCanvas& canvas, const QRect& client, const QPoint& offset,
                              tk::TButtonState state, bool transparent) override;
    void GlyphChanged() override;
    void MouseInControlChanged() override;

private:
    void PaintThemed(tk::TCanvas& canvas);
    void PaintPlain(tk::TCanvas& canvas);
    // The gradient behind glyph and caption of the plain look.
    void PaintGradient(tk::TCanvas& canvas);
    bool IsPressed() const;

    TOrvGradientButton* gradient_;
    TOrvButtonGlyph glyph_;
    bool fine_ = false;
    TFineTheme fineTheme_ = ftNoChange;
    // The caption colour of a pressed flat themed button.
    bool highlightCaption_ = false;
};

}  // namespace kelgrid
