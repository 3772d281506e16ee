#pragma once
// TKelScrollProp: the grid's ScrollProp, the look of its scroll bars and
// when they hide or stretch.
//
//   property     default         effect of a change
//   AutoHidden   ssHorizontal    the bars it names show only when needed (the
//                                others always, while the grid shows them)
//   AutoStretch  True            a stretching grid with a horizontal bar
//                                stretches again
//   Color        clBtnHighlight  clears ParentColor; the flat bars repaint
//   ParentColor  True            True puts Color back to clBtnHighlight
//   ParentStyle  True            True takes Style from the grid's FixedStyle
//   Style        ssRegular       clears ParentStyle; the flat bars repaint;
//                                stored only while ParentStyle is False
//   ThumbBar     ssBoth          the bars it names get a proportional thumb
//
// WinXPMode (public, not published, False): the grid uses the platform's
// own bars instead of flat ones; a change recreates the grid's window and
// lays it out again, unless the grid's scroll bar is on the left or the
// grid is loading.
//
// Flat bars: while the grid runs its flat-scroll-bar mode (not WinXPMode,
// scroll bar on the right), ChangeFlatSB gives the bars of a control whose
// window exists Style and Color through tk::TFlatScrollBar.

#include "kelgrid/grid/gridenums.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/component.h"
#include "toolkit/ui/colors.h"
#include "toolkit/ui/uienums.h"

#include <memory>

class QWidget;

namespace kelgrid {

class TKelCustomDBGrid;

class KELGRID_EXPORT TKelScrollProp : public tk::TPersistent {
    Q_OBJECT
    Q_PROPERTY(tk::TUiEnums::TScrollStyle AutoHidden READ AutoHidden WRITE SetAutoHidden)
    Q_PROPERTY(bool AutoStretch READ AutoStretch WRITE SetAutoStretch)
    Q_PROPERTY(tk::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(bool ParentStyle READ ParentStyle WRITE SetParentStyle)
    Q_PROPERTY(tk::TUiEnums::TScrollBarStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(tk::TUiEnums::TScrollStyle ThumbBar READ ThumbBar WRITE SetThumbBar)
    Q_CLASSINFO("Default:AutoHidden", "ssHorizontal")
    Q_CLASSINFO("Default:AutoStretch", "True")
    Q_CLASSINFO("Default:Color", "clBtnHighlight")
    Q_CLASSINFO("Default:ParentColor", "True")
    Q_CLASSINFO("Default:ParentStyle", "True")
    Q_CLASSINFO("Default:ThumbBar", "ssBoth")
public:
    // grid may be nullptr (a free-standing copy for Assign).
    explicit TKelScrollProp(TKelCustomDBGrid* grid);
    ~TKelScrollProp() override;

    TKelCustomDBGrid* Grid() const;

    tk::TScrollStyle AutoHidden() const;
    void SetAutoHidden(tk::TScrollStyle bars);
    bool AutoStretch() const;
    void SetAutoStretch(bool on);
    tk::TColor Color() const;
    void SetColor(tk::TColor color);
    bool ParentColor() const;
    void SetParentColor(bool on);
    bool ParentStyle() const;
    void SetParentStyle(bool on);
    tk::TScrollBarStyle Style() const;
    void SetStyle(tk::TScrollBarStyle style);
    Q_INVOKABLE bool IsStyleStored() const;
    tk::TScrollStyle ThumbBar() const;
    void SetThumbBar(tk::TScrollStyle bars);
    bool WinXPMode() const;
    void SetWinXPMode(bool on);

    // Whether bars names the horizontal (vertical) bar: ssHorizontal
    // (ssVertical) or ssBoth.
    static bool Horizontal(tk::TScrollStyle bars);
    static bool Vertical(tk::TScrollStyle bars);

    // Style from the grid's FixedStyle: fsDefault, fsSoft -> ssRegular;
    // fsNice, fsGreat, fsFine -> ssFlat; fsFlat, fsGray, fsMild ->
    // ssHotTrack. ParentStyle stays; a change repaints the flat bars.
    void AdjustStyle();
    // Gives the scroll bars of control (a scroll area; nothing for other
    // widgets) Style and Color, when its window exists and the grid runs
    // its flat-scroll-bar mode.
    void ChangeFlatSB(QWidget* control) const;
    // ChangeFlatSB on the grid.
    void UpdateFlatSB();

    // Copies the properties of another TKelScrollProp (not its grid).
    void Assign(const tk::TPersistent* source) override;

private:
    // Sets the style without touching ParentStyle; repaints when changed.
    void PutStyle(tk::TScrollBarStyle style);

    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace kelgrid
