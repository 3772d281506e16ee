#include "kelgrid/controls/gradient.h"

#include "kelgrid/controls/orvthemes.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/graphics.h"

#include <QImage>
#include <QScopeGuard>
#include <QWidget>

namespace kelgrid {

bool GradientEnabled = true;

namespace {

tk::TGradientDirection CanvasDirection(TOrvGradientDirection direction)
{
    return direction == gdHorizontal ? tk::TGradientDirection::gdHorizontal : tk::TGradientDirection::gdVertical;
}

// Fills rect in color, the canvas brush as it was afterwards.
void SolidFill(tk::TCanvas& canvas, const QRect& rect, tk::TColor color)
{
    const tk::TColor old = canvas.Brush()->Color();
    canvas.Brush()->SetColor(color);
    canvas.FillRect(rect);
    canvas.Brush()->SetColor(old);
}

}  // namespace

TOrvGradient::TOrvGradient(QWidget* control) : tk::TPersistent(control), control_(control) {}

void TOrvGradient::Changed()
{
    if (OnChange)
        OnChange(this);
}

void TOrvGradient::SetActive(bool on)
{
    if (on == active_)
        return;
    active_ = on;
    Changed();
}

void TOrvGradient::SetDirection(TOrvGradientDirection direction)
{
    if (direction == direction_)
        return;
    direction_ = direction;
    Changed();
}

void TOrvGradient::SetEndColor(tk::TColor color)
{
    if (color == endColor_)
        return;
    endColor_ = color;
    Changed();
}

void TOrvGradient::SetHotColor(tk::TColor color)
{
    if (color == hotColor_)
        return;
    hotColor_ = color;
    Changed();
}

void TOrvGradient::SetOptions(TOrvGradientOptions options)
{
    if (options == options_)
        return;
    options_ = options;
    Changed();
}

void TOrvGradient::SetStartColor(tk::TColor color)
{
    if (color == startColor_)
        return;
    startColor_ = color;
    Changed();
}

void TOrvGradient::SetStepColor(tk::TColor color)
{
    if (color == stepColor_)
        return;
    stepColor_ = color;
    Changed();
}

void TOrvGradient::SetSwapColors(bool on)
{
    if (on == swapColors_)
        return;
    swapColors_ = on;
    Changed();
}

void TOrvGradient::Assign(const tk::TPersistent* source)
{
    const auto* other = qobject_cast<const TOrvGradient*>(source);
    if (!other) {
        tk::TPersistent::Assign(source);
        return;
    }
    active_ = other->active_;
    direction_ = other->direction_;
    options_ = other->options_;
    swapColors_ = other->swapColors_;
    startColor_ = other->startColor_;
    endColor_ = other->endColor_;
    hotColor_ = other->hotColor_;
    stepColor_ = other->stepColor_;
}

bool TOrvGradient::Change(const TOrvGradient* gradient)
{
    if (!gradient || gradient->active_ != active_ || gradient->direction_ != direction_ ||
        gradient->options_ != options_ || gradient->swapColors_ != swapColors_)
        return false;
    Assign(gradient);
    Changed();
    return true;
}

bool TOrvGradient::IsActive(bool allowForThemes) const
{
    return GradientEnabled && IsAvailable() && active_ && (allowForThemes || !ThemesEnabled(control_));
}

bool TOrvGradient::IsHotActive() const
{
    return IsActive(false) && (options_ & (goHotButton | goHotTrack | goHotColor));
}

// 1. hot counts only with a hot option; 2. the base colour is the hot
// colour (goHotColor) or EndColor, else the caller's; 3. hot tracking
// frames the rectangle in a darker shade and (without goHotButton) fills
// the inside with the base, pressed one step darker; 4. a gradient ramp
// (goGradient, or a hot button) from StartColor to a shade of the base,
// reversed for hot buttons, SwapColors, plain (no goGradient) or tracked
// looks, and mirrored on a right-to-left canvas; 5. otherwise a solid base.
void TOrvGradient::FillRect(tk::TCanvas& canvas, const QRect& rect, tk::TColor color, bool hot, bool down) const
{
    const bool hotMode = hot && (options_ & (goHotButton | goHotTrack | goHotColor));
    tk::TColor base;
    if (hotMode && options_.testFlag(goHotColor))
        base = hotColor_ == tk::clDefault ? DefaultHotColor : hotColor_;
    else
        base = endColor_ == tk::clDefault ? color : endColor_;

    const bool hotButton = hotMode && options_.testFlag(goHotButton);
    const bool hotTrack = hotMode && options_.testFlag(goHotTrack);
    if (hotTrack) {
        SolidFill(canvas, rect, tk::Shade(base, -50));
        if (down)
            base = tk::Shade(base, -25);
        if (!options_.testFlag(goHotButton)) {
            SolidFill(canvas, rect.adjusted(1, 1, -1, -1), base);
            return;
        }
    }
    if (options_.testFlag(goGradient) || hotButton) {
        const tk::TColor end = tk::Shade(base, -25);
        const bool reverse = (hotButton != swapColors_) != (!options_.testFlag(goGradient) || hotTrack);
        const bool flip = canvas.Mirrored() && direction_ == gdHorizontal;
        if (reverse != flip)
            canvas.GradientFill(rect, end, startColor_, CanvasDirection(direction_));
        else
            canvas.GradientFill(rect, startColor_, end, CanvasDirection(direction_));
        return;
    }
    SolidFill(canvas, rect, base);
}

void TOrvGradient::FillBack(tk::TCanvas& canvas, const QRect& rect, tk::TColor color, int inset, int margin,
                            bool hot, bool down, bool widen) const
{
    QRect outer = rect.adjusted(inset, inset, -inset, -inset);
    const QRect inner = outer.adjusted(margin, margin, -margin, -margin);
    if (widen) {
        const bool tracked = hot && options_.testFlag(goHotTrack);
        if (down || tracked)
            outer.adjust(0, 0, 1, 1);
        if (!down || tracked)
            outer.adjust(-1, -1, 0, 0);
    }
    if (inner.isEmpty())
        return;
    // What is painted keeps its place; only pixels of exactly the
    // background colour show the gradient. A canvas whose pixels cannot be
    // read keeps its painting as it is.
    const QImage content = canvas.Grab(inner);
    if (content.isNull())
        return;
    FillRect(canvas, outer, color, hot, down);
    canvas.DrawTransparent(inner.left(), inner.top(), content, color);
}

void TOrvGradient::FillStep(tk::TCanvas& canvas, const QRect& rect, tk::TColor color, int inset, int margin,
                            bool hot, bool down, bool widen) const
{
    auto* self = const_cast<TOrvGradient*>(this);
    const tk::TColor end = endColor_;
    self->endColor_ = stepColor_;
    auto restore = qScopeGuard([&] { self->endColor_ = end; });
    FillBack(canvas, rect, color, inset, margin, hot, down, widen);
}

TOrvGradientButton::TOrvGradientButton(QWidget* control) : TOrvGradient(control)
{
    InitOptions(DefaultOptions());
}

}  // namespace kelgrid
