// TKelCustomDBGrid: colours, painting styles, image lists and the gradient.

#include "kelgrid/controls/gradient.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/markerimages.h"
#include "kelgrid/grid/paintstyles.h"
#include "kelgrid/grid/totals.h"

namespace kelgrid {

namespace {

// The built-in indicator and check-box images.
const QString kIndicatorsResource = QStringLiteral("KELDBINDICATORS");
const QString kCheckBoxesResource = QStringLiteral("KELDBCHECKBOXES");

}  // namespace

// Stores a changed value and re-lays out: row heights, markers and lines
// may all follow an appearance value.
template <typename T> static bool Store(T& field, T value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

void TKelCustomDBGrid::SetFixedColor(tk::TColor color)
{
    tk::TCustomGrid::SetFixedColor(color);
    if (!d_->fillerColorSet)
        d_->fillerColor = color;
    if (!d_->headerColorSet)
        d_->headerColor = color;
    if (d_->totals)
        d_->totals->FollowFixedColor(color);
    Invalidate();
}

tk::TColor TKelCustomDBGrid::HeaderColor() const
{
    return d_->headerColor;
}

void TKelCustomDBGrid::SetHeaderColor(tk::TColor color)
{
    d_->headerColorSet = true;
    if (Store(d_->headerColor, color) && d_->options.testFlag(dgTitles) && d_->options.testFlag(dgTitleHeaders))
        LayoutChanged();
}

tk::TColor TKelCustomDBGrid::FillerColor() const
{
    return d_->fillerColor;
}

void TKelCustomDBGrid::SetFillerColor(tk::TColor color)
{
    d_->fillerColorSet = true;
    if (Store(d_->fillerColor, color))
        InvalidateCorner();
}

#define KELGRID_LAYOUT_PROPERTY(Type, Name, field)                                                                \
    Type TKelCustomDBGrid::Name() const { return d_->field; }                                                     \
    void TKelCustomDBGrid::Set##Name(Type value)                                                                  \
    {                                                                                                             \
        if (Store(d_->field, value))                                                                              \
            LayoutChanged();                                                                                      \
    }

KELGRID_LAYOUT_PROPERTY(tk::TColor, SelectionColor, selectionColor)
KELGRID_LAYOUT_PROPERTY(tk::TColor, SelectRowColor, selectRowColor)
KELGRID_LAYOUT_PROPERTY(tk::TColor, SelectCellColor, selectCellColor)
KELGRID_LAYOUT_PROPERTY(tk::TColor, StripeColor, stripeColor)
KELGRID_LAYOUT_PROPERTY(tk::TColor, HighlightText, highlightText)
KELGRID_LAYOUT_PROPERTY(tk::TColor, DataColLineColor, dataColLineColor)
KELGRID_LAYOUT_PROPERTY(tk::TColor, DataRowLineColor, dataRowLineColor)
KELGRID_LAYOUT_PROPERTY(TFocusRectStyle, FocusRect, focusRect)
KELGRID_LAYOUT_PROPERTY(TListBorderStyle, ListBorder, listBorder)
KELGRID_LAYOUT_PROPERTY(TMarkerTransparent, MarkerTransparent, markerTransparent)
KELGRID_LAYOUT_PROPERTY(THotButtonsStyle, HotButtons, hotButtons)
KELGRID_LAYOUT_PROPERTY(TMarkerStyle, MarkerStyle, markerStyle)

#undef KELGRID_LAYOUT_PROPERTY

tk::TColor TKelCustomDBGrid::EditorColor() const
{
    return d_->editorColor;
}

void TKelCustomDBGrid::SetEditorColor(tk::TColor color)
{
    if (Store(d_->editorColor, color))
        InvalidateEditor();
}

// --- Computed defaults -------------------------------------------------------------

tk::TColor TKelCustomDBGrid::DefaultSelectionColor() const
{
    return tk::clGradientActiveCaption;
}

tk::TColor TKelCustomDBGrid::DefaultSelectRowColor() const
{
    return tk::clGradientInactiveCaption;
}

tk::TColor TKelCustomDBGrid::DefaultSelectCellColor() const
{
    return tk::clHighlight;
}

tk::TColor TKelCustomDBGrid::DefaultHighlightText() const
{
    return tk::clHighlightText;
}

tk::TColor TKelCustomDBGrid::DefaultEditorColor() const
{
    return tk::clInfoBk;
}

tk::TColor TKelCustomDBGrid::DefaultStripeColor() const
{
    return kelgrid::DefaultStripeColor(palette());
}

tk::TColor TKelCustomDBGrid::DefaultDataLineColor() const
{
    return kelgrid::DefaultDataLineColor(Color(), palette());
}

tk::TColor TKelCustomDBGrid::FixedLineColor() const
{
    return kelgrid::FixedLineColor(d_->fixedStyle, IsGridThemed(), Color(), palette());
}

// --- Filler and styles -------------------------------------------------------------

int TKelCustomDBGrid::FillerIndex() const
{
    return d_->fillerIndex;
}

void TKelCustomDBGrid::SetFillerIndex(int index)
{
    if (Store(d_->fillerIndex, index))
        InvalidateCorner();
}

bool TKelCustomDBGrid::FillerButton() const
{
    return d_->fillerButton;
}

void TKelCustomDBGrid::SetFillerButton(bool on)
{
    if (Store(d_->fillerButton, on))
        InvalidateCorner();
}

THotButtonsStyle TKelCustomDBGrid::HotButtonsStyle() const
{
    return ResolveHotButtonsStyle(d_->hotButtons, d_->fixedStyle);
}

TFocusRectStyle TKelCustomDBGrid::FocusRectStyle() const
{
    return ResolveFocusRectStyle(d_->focusRect);
}

TListBorderStyle TKelCustomDBGrid::ListBorderStyle() const
{
    const bool bothLines = d_->options.testFlag(dgColLines) && d_->options.testFlag(dgRowLines);
    return ResolveListBorderStyle(d_->listBorder, d_->fixedStyle, IsGridThemed(), bothLines);
}

TMarkerStyle TKelCustomDBGrid::ResolvedMarkerStyle() const
{
    return ResolveMarkerStyle(d_->markerStyle, d_->fixedStyle, IsGridThemed());
}

TCheckBoxStyle TKelCustomDBGrid::CheckBoxStyle(TCheckBoxStyle style) const
{
    return ResolveCheckBoxStyle(style, d_->fixedStyle);
}

TResizeOptions TKelCustomDBGrid::ResizeOptions() const
{
    return d_->resizeOptions;
}

void TKelCustomDBGrid::SetResizeOptions(TResizeOptions options)
{
    if (!options.testFlag(roColumnResize))
        options &= ~TResizeOptions(roOptimalWidth | roDefaultWidth);
    d_->resizeOptions = options;
    ApplyGridOptions();
}

// --- Gradient ----------------------------------------------------------------------

TOrvGradientButton* TKelCustomDBGrid::CreateGradient()
{
    return new TOrvGradientButton(this);
}

TOrvGradientButton* TKelCustomDBGrid::Gradient() const
{
    return d_->gradient;
}

void TKelCustomDBGrid::SetGradient(TOrvGradientButton* gradient)
{
    if (gradient)
        d_->gradient->Assign(gradient);
}

// --- Image lists -------------------------------------------------------------------

// Watches a list assigned to the grid: a destroyed list is forgotten
// (Notification).
static void Observe(TKelCustomDBGrid* grid, QPointer<tk::TImageList>& field, tk::TImageList* images)
{
    if (field)
        field->RemoveFreeNotification(grid);
    field = images;
    if (images)
        images->FreeNotification(static_cast<tk::TComponentCore*>(grid));
}

tk::TImageList* TKelCustomDBGrid::IndicatorImages() const
{
    return d_->indicatorImages;
}

void TKelCustomDBGrid::SetIndicatorImages(tk::TImageList* images)
{
    if (images == d_->indicatorImages)
        return;
    Observe(this, d_->indicatorImages, images);
    if (d_->options.testFlag(dgIndicator))
        LayoutChanged();
}

tk::TImageList* TKelCustomDBGrid::TitleImages() const
{
    return d_->titleImages;
}

void TKelCustomDBGrid::SetTitleImages(tk::TImageList* images)
{
    if (images == d_->titleImages)
        return;
    Observe(this, d_->titleImages, images);
    if (d_->options.testFlag(dgTitles))
        LayoutChanged();
}

tk::TImageList* TKelCustomDBGrid::TitleMarkers() const
{
    return d_->titleMarkers;
}

void TKelCustomDBGrid::SetTitleMarkers(tk::TImageList* images)
{
    if (images == d_->titleMarkers)
        return;
    Observe(this, d_->titleMarkers, images);
    if (d_->options.testFlag(dgTitles))
        LayoutChanged();
}

const tk::TImageList* TKelCustomDBGrid::IndicatorList() const
{
    if (d_->indicatorImages)
        return d_->indicatorImages;
    if (d_->indicatorList.Count() == 0)
        d_->indicatorList.LoadStripResource(kIndicatorsResource);
    return &d_->indicatorList;
}

const tk::TImageList* TKelCustomDBGrid::CheckBoxList() const
{
    if (d_->checkBoxList.Count() == 0)
        d_->checkBoxList.LoadStripResource(kCheckBoxesResource);
    return &d_->checkBoxList;
}

const tk::TImageList* TKelCustomDBGrid::MarkerList() const
{
    if (d_->titleMarkers)
        return d_->titleMarkers;
    const_cast<TKelCustomDBGrid*>(this)->RecreateMarkers();
    return &d_->markerList;
}

void TKelCustomDBGrid::RecreateMarkers()
{
    const TMarkerStyle style = ResolvedMarkerStyle();
    const bool transparent = MarkerIsTransparent(d_->markerTransparent, style);
    const int key = MarkerImagesKey(style, transparent);
    if (key == d_->loadedMarkerKey)
        return;
    LoadMarkerImages(d_->markerList, style, transparent, palette());
    d_->loadedMarkerKey = key;
}

}  // namespace kelgrid
