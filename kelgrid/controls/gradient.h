#pragma once
// TOrvGradient: a two-colour gradient for backgrounds and buttons, with hot
// and pressed looks; TOrvGradientButton is the same with the hot button
// look on by default (the grid's Gradient property).
//
// The ramp runs from StartColor to a shade of the base colour: EndColor, or
// the colour the caller passes while EndColor is clDefault; HotColor while
// hot with goHotColor. FillRect paints a rectangle (see the steps at its
// definition); FillBack paints the gradient behind what is already on an
// image canvas: every pixel of exactly the background colour lets the
// gradient through, everything else (text, lines) stays.
//
// Setters store a changed value and then run OnChange (sender: the
// gradient); Assign copies every setting without it.

#include "kelgrid/kelgridexport.h"
#include "toolkit/core/component.h"
#include "toolkit/ui/colors.h"

#include <QFlags>
#include <QRect>

class QWidget;

namespace tk {
class TCanvas;
}

namespace kelgrid {

struct KELGRID_EXPORT TOrvGradientEnums {
    Q_GADGET

public:
    enum TOrvGradientDirection { gdHorizontal, gdVertical };
    Q_ENUM(TOrvGradientDirection)
    enum TOrvGradientOption : unsigned {
        goGradient = 1u << 0,
        goHotButton = 1u << 1,
        goHotTrack = 1u << 2,
        goHotColor = 1u << 3,
    };
    Q_DECLARE_FLAGS(TOrvGradientOptions, TOrvGradientOption)
    Q_FLAG(TOrvGradientOptions)
    // How the navigator marks its fine theme (TKelDBNavigator).
    enum TFineTheme { ftNoChange, ftBorder, ftUnderline };
    Q_ENUM(TFineTheme)
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TOrvGradientEnums::TOrvGradientOptions)

using TOrvGradientDirection = TOrvGradientEnums::TOrvGradientDirection;
using TOrvGradientOption = TOrvGradientEnums::TOrvGradientOption;
using TOrvGradientOptions = TOrvGradientEnums::TOrvGradientOptions;
using TFineTheme = TOrvGradientEnums::TFineTheme;
using enum TOrvGradientEnums::TOrvGradientDirection;
using enum TOrvGradientEnums::TOrvGradientOption;
using enum TOrvGradientEnums::TFineTheme;

// Switches every gradient off (initially on); read on every use.
KELGRID_EXPORT extern bool GradientEnabled;
// 0xEFD3C6: the hot colour while HotColor is clDefault.
inline constexpr tk::TColor DefaultHotColor = 0xEFD3C6;

class KELGRID_EXPORT TOrvGradient : public tk::TPersistent {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(kelgrid::TOrvGradientEnums::TOrvGradientDirection Direction READ Direction WRITE SetDirection)
    Q_PROPERTY(tk::TColor EndColor READ EndColor WRITE SetEndColor)
    Q_PROPERTY(tk::TColor HotColor READ HotColor WRITE SetHotColor)
    Q_PROPERTY(kelgrid::TOrvGradientEnums::TOrvGradientOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(tk::TColor StartColor READ StartColor WRITE SetStartColor)
    Q_PROPERTY(tk::TColor StepColor READ StepColor WRITE SetStepColor)
    Q_PROPERTY(bool SwapColors READ SwapColors WRITE SetSwapColors)
    Q_CLASSINFO("Default:Active", "True")
    Q_CLASSINFO("Default:Direction", "gdVertical")
    Q_CLASSINFO("Default:EndColor", "clDefault")
    Q_CLASSINFO("Default:HotColor", "clDefault")
    Q_CLASSINFO("Default:StartColor", "clWindow")
    Q_CLASSINFO("Default:StepColor", "clDefault")
    Q_CLASSINFO("Default:SwapColors", "False")
public:
    // control: whose look decides whether themes paint it instead (may be
    // nullptr); also the QObject parent.
    explicit TOrvGradient(QWidget* control = nullptr);

    bool Active() const { return active_; }
    void SetActive(bool on);
    TOrvGradientDirection Direction() const { return direction_; }
    void SetDirection(TOrvGradientDirection direction);
    tk::TColor EndColor() const { return endColor_; }
    void SetEndColor(tk::TColor color);
    tk::TColor HotColor() const { return hotColor_; }
    void SetHotColor(tk::TColor color);
    TOrvGradientOptions Options() const { return options_; }
    void SetOptions(TOrvGradientOptions options);
    Q_INVOKABLE bool IsOptionsStored() const { return options_ != DefaultOptions(); }
    tk::TColor StartColor() const { return startColor_; }
    void SetStartColor(tk::TColor color);
    tk::TColor StepColor() const { return stepColor_; }
    void SetStepColor(tk::TColor color);
    bool SwapColors() const { return swapColors_; }
    void SetSwapColors(bool on);

    tk::TNotifyEvent OnChange;

    void Assign(const tk::TPersistent* source) override;
    // When gradient has the same Active, Direction, Options and SwapColors,
    // takes its settings, runs OnChange and returns true; else false.
    bool Change(const TOrvGradient* gradient);

    // The ramp can be drawn (always, on this platform).
    static bool IsAvailable() { return true; }
    // GradientEnabled, Active, and either allowForThemes or the control is
    // not painted by the theme.
    bool IsActive(bool allowForThemes) const;
    // IsActive(false) with any hot option.
    bool IsHotActive() const;

    void FillRect(tk::TCanvas& canvas, const QRect& rect, tk::TColor color, bool hot, bool down) const;
    // The gradient behind what canvas (an image canvas) already shows in
    // rect shrunk by inset and then margin; see the header.
    void FillBack(tk::TCanvas& canvas, const QRect& rect, tk::TColor color, int inset, int margin, bool hot,
                  bool down, bool widen) const;
    // FillBack with StepColor as the end colour.
    void FillStep(tk::TCanvas& canvas, const QRect& rect, tk::TColor color, int inset, int margin, bool hot,
                  bool down, bool widen) const;

protected:
    virtual TOrvGradientOptions DefaultOptions() const { return goGradient; }
    void Changed();
    // For the button's own defaults.
    void InitOptions(TOrvGradientOptions options) { options_ = options; }

private:
    QWidget* control_;
    bool active_ = true;
    TOrvGradientDirection direction_ = gdVertical;
    TOrvGradientOptions options_ = goGradient;
    bool swapColors_ = false;
    tk::TColor startColor_ = tk::clWindow;
    tk::TColor endColor_ = tk::clDefault;
    tk::TColor hotColor_ = tk::clDefault;
    tk::TColor stepColor_ = tk::clDefault;
};

class KELGRID_EXPORT TOrvGradientButton : public TOrvGradient {
    Q_OBJECT
public:
    explicit TOrvGradientButton(QWidget* control = nullptr);

protected:
    TOrvGradientOptions DefaultOptions() const override { return TOrvGradientOptions(goGradient | goHotButton); }
};

}  // namespace kelgrid
