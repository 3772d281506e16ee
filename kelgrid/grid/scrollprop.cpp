#include "kelgrid/grid/scrollprop.h"

#include "kelgrid/grid/dbgrid.h"
#include "toolkit/ui/control.h"
#include "toolkit/ui/flatscrollbar.h"

#include <QAbstractScrollArea>
#include <QScrollBar>

namespace kelgrid {

namespace {

// The flat look put onto one bar through its facade.
void PutFlatLook(tk::TFlatScrollBar& flat, tk::TScrollBarStyle style, const QColor& color)
{
    flat.SetColor(color);
    flat.SetStyle(style);
}

// The same on a bar without a facade of its own. The facade takes the
// bar's range as scroll information with page 0, so the bar's page step
// (its thumb size) is put back afterwards.
void PutFlatLook(QScrollBar* bar, tk::TScrollBarStyle style, const QColor& color)
{
    const int pageStep = bar->pageStep();
    tk::TFlatScrollBar flat(bar);
    PutFlatLook(flat, style, color);
    bar->setPageStep(pageStep);
}

// Whether a control's window exists: a toolkit control says so itself,
// another widget once Qt created it.
bool WindowExists(const QWidget* control)
{
    if (const auto* toolkitControl = dynamic_cast<const tk::TControl*>(control))
        return toolkitControl->HandleAllocated();
    return control->testAttribute(Qt::WA_WState_Created);
}

}  // namespace

struct TKelScrollProp::Private {
    TKelCustomDBGrid* grid = nullptr;
    tk::TScrollStyle autoHidden = tk::ssHorizontal;
    bool autoStretch = true;
    tk::TColor color = tk::clBtnHighlight;
    bool parentColor = true;
    bool parentStyle = true;
    tk::TScrollBarStyle style = tk::ssRegular;
    tk::TScrollStyle thumbBar = tk::ssBoth;
    bool winXPMode = false;
};

TKelScrollProp::TKelScrollProp(TKelCustomDBGrid* grid)
    : tk::TPersistent(grid), d_(std::make_unique<Private>())
{
    d_->grid = grid;
}

TKelScrollProp::~TKelScrollProp() = default;

TKelCustomDBGrid* TKelScrollProp::Grid() const
{
    return d_->grid;
}

bool TKelScrollProp::Horizontal(tk::TScrollStyle bars)
{
    return bars == tk::ssHorizontal || bars == tk::ssBoth;
}

bool TKelScrollProp::Vertical(tk::TScrollStyle bars)
{
    return bars == tk::ssVertical || bars == tk::ssBoth;
}

tk::TScrollStyle TKelScrollProp::AutoHidden() const
{
    return d_->autoHidden;
}

void TKelScrollProp::SetAutoHidden(tk::TScrollStyle bars)
{
    if (bars == d_->autoHidden)
        return;
    d_->autoHidden = bars;
    if (d_->grid)
        d_->grid->UpdateScrollBarRules();
}

bool TKelScrollProp::AutoStretch() const
{
    return d_->autoStretch;
}

void TKelScrollProp::SetAutoStretch(bool on)
{
    if (on == d_->autoStretch)
        return;
    d_->autoStretch = on;
    // Stretching with a horizontal bar depends on this switch: stretch anew.
    TKelCustomDBGrid* grid = d_->grid;
    if (grid && grid->StretchMode() && Horizontal(grid->ScrollBars())) {
        grid->SetStretchMode(false);
        grid->SetStretchMode(true);
    }
}

tk::TColor TKelScrollProp::Color() const
{
    return d_->color;
}

void TKelScrollProp::SetColor(tk::TColor color)
{
    d_->parentColor = false;
    if (color == d_->color)
        return;
    d_->color = color;
    UpdateFlatSB();
}

bool TKelScrollProp::ParentColor() const
{
    return d_->parentColor;
}

void TKelScrollProp::SetParentColor(bool on)
{
    if (on == d_->parentColor)
        return;
    d_->parentColor = on;
    if (on && d_->color != tk::clBtnHighlight) {
        d_->color = tk::clBtnHighlight;
        UpdateFlatSB();
    }
}

bool TKelScrollProp::ParentStyle() const
{
    return d_->parentStyle;
}

void TKelScrollProp::SetParentStyle(bool on)
{
    if (on == d_->parentStyle)
        return;
    d_->parentStyle = on;
    if (on)
        AdjustStyle();
}

tk::TScrollBarStyle TKelScrollProp::Style() const
{
    return d_->style;
}

void TKelScrollProp::SetStyle(tk::TScrollBarStyle style)
{
    d_->parentStyle = false;
    PutStyle(style);
}

bool TKelScrollProp::IsStyleStored() const
{
    return !d_->parentStyle;
}

void TKelScrollProp::PutStyle(tk::TScrollBarStyle style)
{
    if (style == d_->style)
        return;
    d_->style = style;
    UpdateFlatSB();
}

tk::TScrollStyle TKelScrollProp::ThumbBar() const
{
    return d_->thumbBar;
}

void TKelScrollProp::SetThumbBar(tk::TScrollStyle bars)
{
    if (bars == d_->thumbBar)
        return;
    d_->thumbBar = bars;
    if (d_->grid)
        d_->grid->UpdateScrollBarRules();
}

bool TKelScrollProp::WinXPMode() const
{
    return d_->winXPMode;
}

void TKelScrollProp::SetWinXPMode(bool on)
{
    if (on == d_->winXPMode)
        return;
    d_->winXPMode = on;
    TKelCustomDBGrid* grid = d_->grid;
    if (!grid || grid->UseRightToLeftScrollBar() || grid->HasState(tk::TComponentStateFlag::csLoading))
        return;
    // The new window starts in the other bar mode (the grid's CreateWnd).
    grid->RecreateWnd();
    grid->LayoutChanged();
}

void TKelScrollProp::AdjustStyle()
{
    if (!d_->grid)
        return;
    switch (d_->grid->FixedStyle()) {
    case fsDefault:
    case fsSoft:
        PutStyle(tk::ssRegular);
        break;
    case fsNice:
    case fsGreat:
    case fsFine:
        PutStyle(tk::ssFlat);
        break;
    case fsFlat:
    case fsGray:
    case fsMild:
        PutStyle(tk::ssHotTrack);
        break;
    }
}

void TKelScrollProp::ChangeFlatSB(QWidget* control) const
{
    auto* area = qobject_cast<QAbstractScrollArea*>(control);
    if (!area || !d_->grid || !d_->grid->FlatSBMode() || !WindowExists(area))
        return;
    const QColor color = tk::ColorToQColor(d_->color, area->palette());
    // The grid keeps a facade per bar, which knows the look the bar has.
    if (area == d_->grid) {
        PutFlatLook(d_->grid->FlatScrollBar(Qt::Horizontal), d_->style, color);
        PutFlatLook(d_->grid->FlatScrollBar(Qt::Vertical), d_->style, color);
        return;
    }
    PutFlatLook(area->horizontalScrollBar(), d_->style, color);
    PutFlatLook(area->verticalScrollBar(), d_->style, color);
}

void TKelScrollProp::UpdateFlatSB()
{
    // The in-place editor's own bars follow once the grid hosts its editor.
    if (d_->grid)
        ChangeFlatSB(d_->grid);
}

void TKelScrollProp::Assign(const tk::TPersistent* source)
{
    const auto* other = qobject_cast<const TKelScrollProp*>(source);
    if (!other) {
        tk::TPersistent::Assign(source);
        return;
    }
    SetAutoHidden(other->d_->autoHidden);
    SetAutoStretch(other->d_->autoStretch);
    if (other->d_->parentColor)
        SetParentColor(true);
    else
        SetColor(other->d_->color);
    if (other->d_->parentStyle)
        SetParentStyle(true);
    else
        SetStyle(other->d_->style);
    SetThumbBar(other->d_->thumbBar);
    SetWinXPMode(other->d_->winXPMode);
}

}  // namespace kelgrid
