// TKelCustomDBGrid: its settings, grid style and scroll properties, the line
// count and the fixed-cell style, and what they change in the grid (row
// height, scroll bars).

#include "kelgrid/controls/orvthemes.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridstyle.h"
#include "kelgrid/grid/scrollprop.h"
#include "kelgrid/grid/settings.h"
#include "toolkit/core/application.h"
#include "toolkit/data/dataset.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/grids/gridaxis.h"

#include <QScrollBar>
#include <QSignalBlocker>

namespace kelgrid {

TKelDBGridSettings* TKelCustomDBGrid::CreateSettings()
{
    return new TKelDBGridSettings(this);
}

TKelGridStyle* TKelCustomDBGrid::CreateGridStyle()
{
    return new TKelGridStyle(this);
}

TKelScrollProp* TKelCustomDBGrid::CreateScrollProp()
{
    return new TKelScrollProp(this);
}

TKelDBGridSettings* TKelCustomDBGrid::Settings() const
{
    return d_->settings;
}

void TKelCustomDBGrid::SetSettings(TKelDBGridSettings* settings)
{
    if (settings && settings != d_->settings)
        d_->settings->Assign(settings);
}

TKelGridStyle* TKelCustomDBGrid::GridStyle() const
{
    return d_->gridStyle;
}

void TKelCustomDBGrid::SetGridStyle(TKelGridStyle* style)
{
    if (style && style != d_->gridStyle)
        d_->gridStyle->Assign(style);
}

TKelScrollProp* TKelCustomDBGrid::ScrollProp() const
{
    return d_->scrollProp;
}

void TKelCustomDBGrid::SetScrollProp(TKelScrollProp* scrollProp)
{
    if (scrollProp && scrollProp != d_->scrollProp)
        d_->scrollProp->Assign(scrollProp);
}

// --- Lines count --------------------------------------------------------------------

int TKelCustomDBGrid::LinesCount() const
{
    return d_->linesCount;
}

void TKelCustomDBGrid::SetLinesCount(int count)
{
    if (count < 0)
        return;
    count = qMax(qMax(count, 1), d_->linesCountMin);
    if (d_->linesCountMax != -1)
        count = qMin(count, d_->linesCountMax);
    count = qMin(count, MaxLinesCount);
    if (count == d_->linesCount)
        return;
    d_->linesCount = count;
    LayoutChanged();
    InvalidateEditor();
}

int TKelCustomDBGrid::LinesCountMin() const
{
    return d_->linesCountMin;
}

void TKelCustomDBGrid::SetLinesCountMin(int count)
{
    if (count < 0)
        return;
    count = qBound(1, count, MaxLinesCount);
    if (d_->linesCountMax != -1)
        count = qMin(count, d_->linesCountMax);
    d_->linesCountMin = count;
    if (d_->linesCount < count)
        SetLinesCount(count);
}

int TKelCustomDBGrid::LinesCountMax() const
{
    return d_->linesCountMax;
}

void TKelCustomDBGrid::SetLinesCountMax(int count)
{
    if (count < -1)
        return;
    if (count != -1)
        count = qBound(d_->linesCountMin, count, MaxLinesCount);
    d_->linesCountMax = count;
    if (count != -1 && d_->linesCount > count)
        SetLinesCount(count);
}

// --- Fixed style and theme ------------------------------------------------------------

TFixedStyle TKelCustomDBGrid::FixedStyle() const
{
    return d_->fixedStyle;
}

void TKelCustomDBGrid::SetFixedStyle(TFixedStyle style)
{
    if (style == d_->fixedStyle)
        return;
    d_->fixedStyle = style;
    if (d_->scrollProp->ParentStyle())
        d_->scrollProp->AdjustStyle();
    LayoutChanged();
}

TFixedTheme TKelCustomDBGrid::FixedTheme() const
{
    return d_->fixedTheme;
}

void TKelCustomDBGrid::SetFixedTheme(TFixedTheme theme)
{
    if (theme == d_->fixedTheme)
        return;
    const bool themeSwitched = theme == ftNone || d_->fixedTheme == ftNone;
    d_->fixedTheme = theme;
    if (themeSwitched && d_->gridStyle->VisualStyle() == vsDefault)
        d_->gridStyle->SetVisualStyle(vsDefault);
    LayoutChanged();
}

bool TKelCustomDBGrid::IsGridThemed() const
{
    return ThemesEnabled(this) && d_->fixedTheme != ftNone;
}

int TKelCustomDBGrid::LineHeight() const
{
    return TextLineHeight(Font());
}

void TKelCustomDBGrid::UpdateDefaultRowHeight()
{
    const int rowLineWidth = d_->options.testFlag(dgRowLines) ? GridLineWidth() : 0;
    const int height = rowLineWidth + LineHeight() * d_->linesCount + d_->gridStyle->DataRowSpace();
    // Setting the default resets every row's height: only a change does.
    if (height != DefaultRowHeight())
        SetDefaultRowHeight(height);
    // OnRowResize counts from the first height the grid gave its rows.
    if (d_->lastDefaultRowHeight < 0)
        d_->lastDefaultRowHeight = height;
}

// --- Scroll bars ----------------------------------------------------------------------

bool TKelCustomDBGrid::FlatSBMode() const
{
    return !d_->scrollProp->WinXPMode() && !UseRightToLeftScrollBar();
}

tk::TFlatScrollBar& TKelCustomDBGrid::FlatScrollBar(Qt::Orientation orientation) const
{
    return orientation == Qt::Horizontal ? *d_->horizontalFlat : *d_->verticalFlat;
}

void TKelCustomDBGrid::UpdateScrollBarRules()
{
    UpdateVerticalBar();
}

void TKelCustomDBGrid::UpdateVerticalBar()
{
    // Made before the parts exist (the base's construction): the base's bar.
    if (!d_ || !d_->scrollProp) {
        tk::TCustomGrid::UpdateVerticalBar();
        return;
    }
    const TKelScrollProp& scroll = *d_->scrollProp;
    Qt::ScrollBarPolicy policy = Qt::ScrollBarAlwaysOff;
    if (TKelScrollProp::Vertical(ScrollBars()))
        policy =
            TKelScrollProp::Vertical(scroll.AutoHidden()) ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOn;
    if (verticalScrollBarPolicy() != policy)
        setVerticalScrollBarPolicy(policy);
    // With data the bar shows the dataset's position (dbgridscroll.cpp).
    if (LinkActiveNow()) {
        UpdateScrollBar();
        return;
    }
    // Rows from the first scrollable one, as the base counts them; a page
    // step of 0 gives a thumb of fixed size (paging still scrolls a page).
    const tk::TGridAxis& rows = RowAxis();
    const int extent = ClientExtentY();
    QScrollBar* bar = verticalScrollBar();
    const QSignalBlocker quiet(bar);
    bar->setRange(0, qMax(0, rows.MaxFirst(extent) - rows.FixedCount()));
    bar->setPageStep(TKelScrollProp::Vertical(scroll.ThumbBar()) ? qMax(1, rows.VisibleCount(extent)) : 0);
    bar->setSingleStep(1);
    bar->setValue(rows.First() - rows.FixedCount());
}

void TKelCustomDBGrid::CreateWnd()
{
    tk::TCustomGrid::CreateWnd();
    // A window made anew (WinXPMode changed) starts with plain bars.
    for (tk::TFlatScrollBar* flat : {d_->horizontalFlat.get(), d_->verticalFlat.get()}) {
        flat->SetStyle(tk::ssRegular);
        flat->SetColor(QColor());
    }
    d_->scrollProp->UpdateFlatSB();
}

// --- Automatic load -------------------------------------------------------------------

void TKelCustomDBGrid::RunPendingLayoutLoad()
{
    if (!d_->settings->LoadPending())
        return;
    d_->settings->SetLoadPending(false);
    if (!d_->settings->Active())
        return;
    // A store that cannot be read must not keep the dataset from opening:
    // its error goes to the application's handler.
    tk::Guarded([this] { d_->settings->AutoLoadLayout(); });
    if (tk::TDataSet* dataSet = DataSet())
        dataSet->First();
}

}  // namespace kelgrid
