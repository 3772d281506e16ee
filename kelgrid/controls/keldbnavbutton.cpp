// TKelDBNavButton: the themed, plain and gradient looks of a navigator
// button.

#include "kelgrid/controls/keldbnavbutton.h"

#include "kelgrid/controls/orvthemes.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/edges.h"
#include "toolkit/ui/pictures.h"
#include "toolkit/ui/themes.h"

#include <QPainter>

namespace kelgrid {

using tk::TButtonState;
using tk::TThemedDetails;
using tk::TThemedElement;
using tk::TThemedState;

TKelDBNavButton::TKelDBNavButton(QWidget* parent) : tk::TNavButton(parent), gradient_(new TOrvGradientButton(this))
{
    gradient_->OnChange = [this](QObject*) { update(); };
    glyph_.OnChange = [this] { update(); };
}

TKelDBNavButton::~TKelDBNavButton() = default;

void TKelDBNavButton::SetFine(bool fine)
{
    if (fine_ == fine)
        return;
    fine_ = fine;
    update();
}

void TKelDBNavButton::SetFineTheme(TFineTheme theme)
{
    if (fineTheme_ == theme)
        return;
    fineTheme_ = theme;
    update();
}

void TKelDBNavButton::SetGradient(const TOrvGradient* gradient)
{
    gradient_->Assign(gradient);
    update();
}

void TKelDBNavButton::GlyphChanged()
{
    glyph_.SetGlyph(*Glyph());
    glyph_.SetNumGlyphs(NumGlyphs());
    glyph_.SetTransparent(true);
    TNavButton::GlyphChanged();
}

void TKelDBNavButton::MouseInControlChanged()
{
    if (Flat() || ThemesEnabled(this))
        TNavButton::MouseInControlChanged();
    else if (!ThemesEnabled(this) && gradient_->IsHotActive())
        update();
}

bool TKelDBNavButton::IsPressed() const
{
    return State() == TButtonState::bsDown || State() == TButtonState::bsExclusive;
}

QRect TKelDBNavButton::DrawGlyphAndCaption(tk::TCanvas& canvas, const QRect& client, const QPoint& offset,
                                           TButtonState state, bool transparent)
{
    canvas.Font()->Assign(Font());
    if (highlightCaption_)
        canvas.Font()->SetColor(tk::clHighlightText);
    return glyph_.Draw(canvas, client, offset, Caption(), Layout(), Margin(), Spacing(), state, transparent,
                       layoutDirection());
}

void TKelDBNavButton::PaintButton(tk::TCanvas& canvas)
{
    if (!Enabled()) {
        SetButtonState(TButtonState::bsDisabled);
        SetPressing(false);
    } else if (State() == TButtonState::bsDisabled) {
        SetButtonState(RestState());
    }
    // Painted on an image first: the gradient shows through the pixels of
    // the face colour, which only an image canvas can read back. What the
    // button leaves unpainted stays clear, so the parent shows there.
    QImage buffer(size(), QImage::Format_ARGB32_Premultiplied);
    buffer.fill(Qt::transparent);
    {
        tk::TCanvas image(&buffer);
        image.SetPalette(canvas.Palette());
        if (ThemesEnabled(this))
            PaintThemed(image);
        else
            PaintPlain(image);
    }
    canvas.Painter()->drawImage(0, 0, buffer);
}

void TKelDBNavButton::PaintThemed(tk::TCanvas& canvas)
{
    const QRect client = rect();
    const bool pressed = IsPressed();
    TThemedDetails details;
    details.state = State() == TButtonState::bsDisabled ? TThemedState::tsDisabled
                    : pressed                           ? TThemedState::tsPressed
                    : MouseInControl()                  ? TThemedState::tsHot
                                                        : TThemedState::tsNormal;
    const bool fineThemed = fine_ && fineTheme_ != ftNoChange;
    if (fineThemed) {
        details.element = TThemedElement::teToolBarButton;
        // The thin look shows the element only while pressed or hot.
        if (pressed || details.state == TThemedState::tsHot) {
            TThemedDetails shown = details;
            shown.state = pressed ? TThemedState::tsPressed : TThemedState::tsHot;
            tk::DrawThemedElement(canvas, shown, client, this);
        }
    } else {
        details.element = Flat() ? TThemedElement::teToolBarButton : TThemedElement::tePushButton;
        tk::DrawThemedElement(canvas, details, client, this);
    }
    if (fineThemed && !pressed && details.state == TThemedState::tsHot) {
        TThemedDetails push;
        push.element = TThemedElement::tePushButton;
        push.state = TThemedState::tsHot;
        const QRect widened = client.adjusted(-1, 0, 1, 0);
        if (fineTheme_ == ftUnderline) {
            // Only the bottom of the push button shows: an underline.
            canvas.SetClipRect(QRect(client.left(), client.bottom() - 1, client.width(), 2));
            tk::DrawThemedElement(canvas, push, widened, this);
            canvas.ResetClip();
        } else {
            tk::DrawThemedElement(canvas, push, widened, this);
        }
    }
    details.element = Flat() || fineThemed ? TThemedElement::teToolBarButton : TThemedElement::tePushButton;
    const QRect content = tk::ThemedContentRect(details, client, this);
    highlightCaption_ = pressed && Flat();
    DrawGlyphAndCaption(canvas, content, pressed ? QPoint(1, 0) : QPoint(), State(), true);
    highlightCaption_ = false;
}

void TKelDBNavButton::PaintPlain(tk::TCanvas& canvas)
{
    TNavButton::PaintButton(canvas);
    if (gradient_->IsActive(false))
        PaintGradient(canvas);
}

void TKelDBNavButton::PaintGradient(tk::TCanvas& canvas)
{
    const bool pressed = IsPressed();
    const bool exclusive = State() == TButtonState::bsExclusive;
    const bool hot = MouseInControl() && Enabled();
    const bool designing = HasState(tk::TComponentStateFlag::csDesigning);
    const tk::TColor face = Color() == tk::clDefault ? tk::clBtnFace : Color();
    const QRect client = rect();
    if (!Flat()) {
        if (fine_ && !exclusive)
            gradient_->FillBack(canvas, client, face, 1, 1, hot, pressed, false);
        else
            gradient_->FillBack(canvas, client, face, 2, 0, hot, pressed, !exclusive);
        return;
    }
    if (fine_ && !pressed && !hot) {
        QRect edge = client;
        tk::DrawEdge(canvas, edge, tk::bdrRaisedInner, tk::bfRect | (Transparent() ? tk::bfSoft : 0u));
    }
    // A transparent button at rest keeps the parent's background.
    if (Transparent() && !pressed && !hot)
        return;
    const int inset = pressed || fine_ ? 1 : 0;
    const int margin = hot || designing ? 1 : 0;
    gradient_->FillBack(canvas, client, face, inset, margin, hot, pressed, false);
}

}  // namespace kelgrid
