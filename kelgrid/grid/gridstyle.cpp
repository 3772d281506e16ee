#include "kelgrid/grid/gridstyle.h"

#include "kelgrid/grid/dbgrid.h"

namespace kelgrid {

struct TKelGridStyle::Values {
    int dataRowSpace;
    int headerRowSpace;
    int titleColMargin;
    int titleRowSpace;
    int totalColMargin;
    int totalRowSpace;
    bool operator==(const Values&) const = default;
};

namespace {

// In an unnamed namespace: a class's static constants would be unique
// symbols, which keep the shared library from ever being unloaded.
constexpr TKelGridStyle::Values StandardPreset{3, 4, 0, 4, 0, 4};
constexpr TKelGridStyle::Values XPStylePreset{4, 8, 1, 8, 0, 8};

}  // namespace

struct TKelGridStyle::Private {
    TKelCustomDBGrid* grid = nullptr;
    Values values = XPStylePreset;
    TVisualStyle visualStyle = vsDefault;
};

TKelGridStyle::TKelGridStyle(TKelCustomDBGrid* grid) : tk::TPersistent(grid), d_(std::make_unique<Private>())
{
    d_->grid = grid;
}

TKelGridStyle::~TKelGridStyle() = default;

TKelCustomDBGrid* TKelGridStyle::Grid() const
{
    return d_->grid;
}

void TKelGridStyle::Changed(bool refreshEditor)
{
    if (!d_->grid)
        return;
    d_->grid->LayoutChanged();
    if (refreshEditor)
        d_->grid->InvalidateEditor();
}

void TKelGridStyle::SetValue(int Values::*member, int value, bool refreshEditor)
{
    if (d_->values.*member == value)
        return;
    d_->values.*member = value;
    d_->visualStyle = vsCustom;
    Changed(refreshEditor);
}

void TKelGridStyle::ApplyPreset(const Values& values)
{
    d_->values = values;
    Changed(true);
}

int TKelGridStyle::DataRowSpace() const
{
    return d_->values.dataRowSpace;
}

void TKelGridStyle::SetDataRowSpace(int space)
{
    SetValue(&Values::dataRowSpace, space, true);
}

int TKelGridStyle::HeaderRowSpace() const
{
    return d_->values.headerRowSpace;
}

void TKelGridStyle::SetHeaderRowSpace(int space)
{
    SetValue(&Values::headerRowSpace, space, true);
}

int TKelGridStyle::TitleColMargin() const
{
    return d_->values.titleColMargin;
}

void TKelGridStyle::SetTitleColMargin(int margin)
{
    SetValue(&Values::titleColMargin, margin, false);
}

int TKelGridStyle::TitleRowSpace() const
{
    return d_->values.titleRowSpace;
}

void TKelGridStyle::SetTitleRowSpace(int space)
{
    SetValue(&Values::titleRowSpace, space, true);
}

int TKelGridStyle::TotalColMargin() const
{
    return d_->values.totalColMargin;
}

void TKelGridStyle::SetTotalColMargin(int margin)
{
    SetValue(&Values::totalColMargin, margin, false);
}

int TKelGridStyle::TotalRowSpace() const
{
    return d_->values.totalRowSpace;
}

void TKelGridStyle::SetTotalRowSpace(int space)
{
    SetValue(&Values::totalRowSpace, space, true);
}

TVisualStyle TKelGridStyle::VisualStyle() const
{
    return d_->visualStyle;
}

void TKelGridStyle::SetVisualStyle(TVisualStyle style)
{
    if (style == d_->visualStyle && style != vsDefault)
        return;
    d_->visualStyle = style;
    switch (style) {
    case vsCustom:
        break;
    case vsDefault:
        ApplyPreset(d_->grid && d_->grid->IsGridThemed() ? XPStylePreset : StandardPreset);
        break;
    case vsStandard:
        ApplyPreset(StandardPreset);
        break;
    case vsXPStyle:
        ApplyPreset(XPStylePreset);
        break;
    }
}

bool TKelGridStyle::IsDataRowSpaceStored() const
{
    return d_->visualStyle == vsCustom;
}

bool TKelGridStyle::IsHeaderRowSpaceStored() const
{
    return d_->visualStyle == vsCustom;
}

bool TKelGridStyle::IsTitleColMarginStored() const
{
    return d_->visualStyle == vsCustom;
}

bool TKelGridStyle::IsTitleRowSpaceStored() const
{
    return d_->visualStyle == vsCustom;
}

bool TKelGridStyle::IsTotalColMarginStored() const
{
    return d_->visualStyle == vsCustom;
}

bool TKelGridStyle::IsTotalRowSpaceStored() const
{
    return d_->visualStyle == vsCustom;
}

void TKelGridStyle::Assign(const tk::TPersistent* source)
{
    const auto* other = qobject_cast<const TKelGridStyle*>(source);
    if (!other) {
        tk::TPersistent::Assign(source);
        return;
    }
    const bool changed = !(d_->values == other->d_->values);
    d_->values = other->d_->values;
    const TVisualStyle style = other->d_->visualStyle;
    // A style that loads no preset leaves the copied values to lay out.
    if (style == vsCustom || (style == d_->visualStyle && style != vsDefault)) {
        d_->visualStyle = style;
        if (changed)
            Changed(true);
        return;
    }
    SetVisualStyle(style);
}

}  // namespace kelgrid
