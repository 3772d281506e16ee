#pragma once
// TKelDBNavigator: the record navigator with buttons that can show
// captions, lay a gradient behind themselves and take a thin ("fine")
// look. Everything else (actions, enabling, delete confirmation, hints,
// BeforeAction, OnClick) is the toolkit navigator's.
//
// Captions: with ShowCaptions each button shows line i of Captions, or its
// default caption ("First" ... "Refresh") where the line is missing or
// empty; the list stays empty while the defaults apply. Fine, FineTheme,
// Layout, Margin and Spacing pass on to every button; flat buttons are
// transparent while the navigator has a parent background. The gradient is
// the bar's background (unless the parent's shows) and every button's.
//
// Deleting: when a grid on the same data source has more than one row
// selected, the delete button asks SDeleteMultipleRecordsQuestion and
// deletes exactly those rows; otherwise the current record as usual.

#include "kelgrid/controls/gradient.h"
#include "kelgrid/controls/keldbnavbutton.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/strings.h"
#include "toolkit/ui/dbnavigator.h"

#include <memory>

namespace kelgrid {

class TKelCustomDBGrid;

class KELGRID_EXPORT TKelDBNavigator : public tk::TDBNavigator {
    Q_OBJECT
    Q_PROPERTY(tk::TStrings* Captions READ Captions WRITE SetCaptions)
    Q_PROPERTY(bool Fine READ Fine WRITE SetFine)
    TK_QT_SETTER(Fine, bool)
    Q_PROPERTY(kelgrid::TOrvGradientEnums::TFineTheme FineTheme READ FineTheme WRITE SetFineTheme)
    TK_QT_SETTER(FineTheme, kelgrid::TOrvGradientEnums::TFineTheme)
    Q_PROPERTY(kelgrid::TOrvGradient* Gradient READ Gradient WRITE SetGradient)
    Q_PROPERTY(tk::TUiEnums::TButtonLayout Layout READ Layout WRITE SetLayout)
    TK_QT_SETTER(Layout, tk::TUiEnums::TButtonLayout)
public:
    // Beside QWidget::setLayout(QLayout*), which stays callable.
    using QWidget::setLayout;

private:
    Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
    TK_QT_SETTER(Margin, int)
    Q_PROPERTY(bool ParentBackground READ ParentBackground WRITE SetParentBackground)
    TK_QT_SETTER(ParentBackground, bool)
    Q_PROPERTY(bool ShowCaptions READ ShowCaptions WRITE SetShowCaptions)
    TK_QT_SETTER(ShowCaptions, bool)
    Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
    TK_QT_SETTER(Spacing, int)
    Q_CLASSINFO("Default:Fine", "False")
    Q_CLASSINFO("Default:FineTheme", "ftNoChange")
    Q_CLASSINFO("Default:Layout", "blGlyphLeft")
    Q_CLASSINFO("Default:Margin", "-1")
    Q_CLASSINFO("Default:ParentBackground", "False")
    Q_CLASSINFO("Default:ShowCaptions", "False")
    Q_CLASSINFO("Default:Spacing", "4")
public:
    explicit TKelDBNavigator(QWidget* parent = nullptr);
    ~TKelDBNavigator() override;

    // uic writes an enum or flag value a form gives without its scope as
    // <widget class>::value; these put the values of the published enums and
    // flags in the class's scope, so such code compiles.
    using enum tk::TControlEnums::TBorderStyle;
    using enum tk::TControlEnums::TBiDiMode;
    using enum tk::TControlEnums::TCursor;
    using enum tk::TControlEnums::TImeMode;
    using enum tk::TControlEnums::TDragKind;
    using enum tk::TControlEnums::TDragMode;
    using enum tk::TAlignmentEnum::TAlignment;
    using enum tk::TPanelEnums::TPanelBevel;
    using enum tk::TUiEnums::TButtonLayout;
    using enum TOrvGradientEnums::TFineTheme;


    // While designed (not loading) and empty: a list of the defaults.
    tk::TStrings* Captions() const;
    // The default captions' text clears the list; any other is copied.
    void SetCaptions(const tk::TStrings* captions);
    static QString DefaultCaption(tk::TNavigateBtn button);
    // The caption button shows now.
    QString ButtonCaption(tk::TNavigateBtn button) const;

    bool Fine() const { return fine_; }
    void SetFine(bool fine);
    TFineTheme FineTheme() const { return fineTheme_; }
    void SetFineTheme(TFineTheme theme);
    TOrvGradient* Gradient() const { return gradient_; }
    void SetGradient(const TOrvGradient* gradient);
    tk::TButtonLayout Layout() const { return layout_; }
    void SetLayout(tk::TButtonLayout layout);
    int Margin() const { return margin_; }
    void SetMargin(int margin);
    int Spacing() const { return spacing_; }
    void SetSpacing(int spacing);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool show);
    void SetFlat(bool flat) override;
    // Flat buttons follow it with their transparency.
    void SetParentBackground(bool on);

    TKelDBNavButton* KelButton(tk::TNavigateBtn button) const;

    // Also repaints the children whose look depends on what lies behind.
    void Invalidate() override;
    void Loaded() override;

protected:
    bool DeleteRecords() override;
    void ButtonGlyph(tk::TNavigateBtn button, tk::TBitmap& bitmap) override;
    void PaintPanel(tk::TCanvas& canvas) override;

private:
    void ReplaceButtons();
    void ApplyCaptions();
    void ApplyGradient();
    void ApplyTransparency();
    // The grid on this navigator's data source with more than one selected
    // row; nullptr when there is none.
    TKelCustomDBGrid* GridWithSelectedRows() const;

    TOrvGradientButton* gradient_;
    std::unique_ptr<tk::TStringList> captions_;
    std::unique_ptr<tk::TStringList> defaultCaptions_;
    bool fine_ = false;
    TFineTheme fineTheme_ = ftNoChange;
    tk::TButtonLayout layout_ = tk::blGlyphLeft;
    int margin_ = -1;
    int spacing_ = 4;
    bool showCaptions_ = false;
};

}  // namespace kelgrid
