// TKelCustomDBGrid: construction, the owned parts, properties.

#include "kelgrid/grid/dbgrid.h"

#include "kelgrid/controls/gradient.h"
#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/columntotal.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/griderror.h"
#include "kelgrid/grid/gridlink.h"
#include "kelgrid/grid/gridstyle.h"
#include "kelgrid/grid/scrollprop.h"
#include "kelgrid/grid/settings.h"
#include "kelgrid/grid/totallink.h"
#include "toolkit/core/application.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/format.h"
#include "toolkit/core/variant.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/graphics.h"

#include <QScopeGuard>
#include <utility>

namespace kelgrid {

namespace {

// The indicator images need this much.
constexpr int kMinIndicatorWidth = 11;

constexpr TKelDBGridOptions DefaultOptions = TKelDBGridOptions(
    dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs | dgConfirmDelete |
    dgCancelOnExit | dgExtendedSelect | dgInternalSelect | dgRowResize | dgRowScroll | dgHotButtons |
    dgTitleButtons | dgTitleHeaders | dgTitleWidthOff | dgMarkerAutoAlign | dgMarkerAutoToggle);
constexpr TKelDBGridOptionsEx DefaultOptionsEx = TKelDBGridOptionsEx(
    dgTotalHeaderBox | dgTotalValuesBox | dgTotalFieldsBox | dgTotalFooterBox | dgAutoAscendOrder |
    dgAutoUpdateSequence | dgDelayUpdateSequence | dgAutoUpdateTotals | dgDelayUpdateTotals |
    dgCalcWholeDataSet | dgCalcSelectedRows | dgDelaySelectedRows | dgSelectedAutoHidden);
constexpr TKelDBGridOptionsExt DefaultOptionsExt = TKelDBGridOptionsExt(
    dgAutoUpdateListItems | dgDelayUpdateListItems | dgGridStyleLists | dgMouseScrolling);

}  // namespace

TKelCustomDBGrid::TKelCustomDBGrid(QWidget* parent)
    : tk::TCustomGrid(parent), d_(std::make_unique<TKelCustomDBGridPrivate>())
{
    d_->options = DefaultOptions;
    d_->optionsEx = DefaultOptionsEx;
    d_->optionsExt = DefaultOptionsExt;
    SetColor(tk::clWindow);
    SetParentColor(false);
    SetDoubleBuffered(true);
    d_->titleFont = new tk::TFont(this);
    d_->headerFont = new tk::TFont(this);
    d_->titleFont->OnChange = [this] { TitleFontChanged(); };
    d_->headerFont->OnChange = [this] { TitleFontChanged(); };
    // --- Settings, style and scroll properties
    d_->horizontalFlat = std::make_unique<tk::TFlatScrollBar>(horizontalScrollBar());
    d_->verticalFlat = std::make_unique<tk::TFlatScrollBar>(verticalScrollBar());
    d_->settings = CreateSettings();
    d_->gridStyle = CreateGridStyle();
    d_->scrollProp = CreateScrollProp();
    d_->columns = CreateColumns();
    d_->dataLink.reset(CreateDataLink());
    d_->selectedRows = std::make_unique<TKelBookmarkList>(this);
    d_->selectedCols = std::make_unique<TKelColumnList>(this);
    d_->totals = CreateTotals();
    d_->gradient = CreateGradient();
    d_->gradient->OnChange = [this](QObject*) { LayoutChanged(); };
    ApplyGridOptions();
    SetColCount(2);
    SetRowCount(2);
}

TKelCustomDBGrid::~TKelCustomDBGrid()
{
    // --- Settings, style and scroll properties: the layout is saved from
    // the whole grid; a failing save must not escape a destructor.
    if (d_->settings->Active())
        tk::Guarded([this] { d_->settings->AutoSaveLayout(); });
    // Observers see the grid whole; then the link lets go of its source
    // before the parts it calls back into go.
    Destroying();
    LeaveRing();
    d_->selectTimer.reset();
    // The parts that call back into the grid go while it is whole: the
    // totals with their link, the data link's source, the columns.
    delete d_->totals;
    d_->totals = nullptr;
    d_->dataLink->SetDataSource(nullptr);
    delete d_->columns;
    d_->columns = nullptr;
}

TKelDBGridColumns* TKelCustomDBGrid::CreateColumns()
{
    return new TKelDBGridColumns(this);
}

TKelGridDataLink* TKelCustomDBGrid::CreateDataLink()
{
    return new TKelGridDataLink(this);
}

TKelDBGridTotals* TKelCustomDBGrid::CreateTotals()
{
    return new TKelDBGridTotals(this);
}

TKelTotalDataLink* TKelCustomDBGrid::CreateTotalDataLink()
{
    return new TKelTotalDataLink(this);
}

TKelDBGridTotals* TKelCustomDBGrid::Totals() const
{
    return d_->totals;
}

void TKelCustomDBGrid::SetTotals(TKelDBGridTotals* totals)
{
    if (totals && totals != d_->totals)
        d_->totals->Assign(totals);
}

// --- Data ----------------------------------------------------------------------

tk::TDataSource* TKelCustomDBGrid::DataSource() const
{
    return d_->dataLink->DataSource();
}

void TKelCustomDBGrid::SetDataSource(tk::TDataSource* source)
{
    if (source == DataSource())
        return;
    if (source && d_->totals && source == d_->totals->DataSource())
        InvalidGridOperation(tk::LoadResString(&tk::SCircularDataLink));
    if (source && source->DataSet() && source->DataSet()->IsUnidirectional())
        throw tk::EDatabaseError(tk::LoadResString(&tk::SDataSetUnidirectional));
    if (tk::TDataSource* old = DataSource())
        old->RemoveFreeNotification(this);
    d_->dataLink->SetDataSource(source);
    if (source)
        source->FreeNotification(static_cast<tk::TComponentCore*>(this));
    LayoutChanged();
}

TKelGridDataLink* TKelCustomDBGrid::DataLink() const
{
    return d_->dataLink.get();
}

tk::TDataSet* TKelCustomDBGrid::DataSet() const
{
    return d_->dataLink->DataSet();
}

bool TKelCustomDBGrid::LinkActiveNow() const
{
    return d_->dataLink->Active();
}

bool TKelCustomDBGrid::ReadOnly() const
{
    return d_->readOnly;
}

void TKelCustomDBGrid::SetReadOnly(bool readOnly)
{
    if (readOnly == d_->readOnly)
        return;
    d_->readOnly = readOnly;
    LayoutChanged();
}

// --- Columns -------------------------------------------------------------------

TKelDBGridColumns* TKelCustomDBGrid::Columns() const
{
    return d_->columns;
}

void TKelCustomDBGrid::SetColumns(TKelDBGridColumns* columns)
{
    if (columns && columns != d_->columns)
        d_->columns->Assign(columns);
}

TKelColumn* TKelCustomDBGrid::ColumnAtDepth(TKelColumn* column, int depth) const
{
    while (column && column->Depth() > depth)
        column = column->ParentColumn();
    return column;
}

TKelColumn* TKelCustomDBGrid::FindColumn(const QString& fieldName, int fromIndex) const
{
    for (int i = qMax(0, fromIndex); i < d_->columns->Count(); ++i) {
        TKelColumn* column = d_->columns->Items(i);
        if (column->FieldName().compare(fieldName, Qt::CaseInsensitive) == 0)
            return column;
    }
    return nullptr;
}

TKelColumn* TKelCustomDBGrid::ColumnByName(const QString& fieldName, int fromIndex) const
{
    if (TKelColumn* column = FindColumn(fieldName, fromIndex))
        return column;
    InvalidGridOperation(tk::Format(tk::LoadResString(&tk::SFieldNotFound), {tk::Variant(fieldName)}));
}

bool TKelCustomDBGrid::ColumnsReading() const
{
    return d_->columnsStream == TColumnsStream::Reading || HasState(tk::TComponentStateFlag::csReading) ||
           HasState(tk::TComponentStateFlag::csLoading);
}

bool TKelCustomDBGrid::ColumnsWriting() const
{
    return d_->columnsStream == TColumnsStream::Writing || HasState(tk::TComponentStateFlag::csWriting);
}

int TKelCustomDBGrid::TitleLinesCount() const
{
    return d_->titleLinesCount;
}

void TKelCustomDBGrid::SetTitleLinesCount(int count)
{
    count = qBound(1, count, MaxLinesCount);
    if (count == d_->titleLinesCount)
        return;
    d_->titleLinesCount = count;
    if (d_->options.testFlag(dgTitles))
        LayoutChanged();
}

int TKelCustomDBGrid::HeaderLinesCount() const
{
    return d_->headerLinesCount;
}

void TKelCustomDBGrid::SetHeaderLinesCount(int count)
{
    count = qBound(1, count, MaxLinesCount);
    if (count == d_->headerLinesCount)
        return;
    d_->headerLinesCount = count;
    if (d_->options.testFlag(dgTitles) && d_->options.testFlag(dgTitleHeaders))
        LayoutChanged();
}

int TKelCustomDBGrid::FixedCols() const
{
    return d_->fixedCols;
}

void TKelCustomDBGrid::SetFixedCols(int count)
{
    count = qMax(0, count);
    if (count == d_->fixedCols)
        return;
    d_->fixedCols = count;
    LayoutChanged();
    InvalidateEditor();
}

int TKelCustomDBGrid::IndicatorWidth() const
{
    return d_->indicatorWidth;
}

void TKelCustomDBGrid::SetIndicatorWidth(int width)
{
    width = qMax(kMinIndicatorWidth, width);
    if (width == d_->indicatorWidth)
        return;
    d_->indicatorWidth = width;
    LayoutChanged();
}

int TKelCustomDBGrid::IndicatorOffset() const
{
    return d_->indicatorOffset;
}

TKelColumn* TKelCustomDBGrid::ColumnOfRaw(int raw) const
{
    const int data = RawToDataColumn(raw);
    return data >= 0 && data < d_->columns->Count() ? d_->columns->Items(data) : nullptr;
}

// --- Options, colours, fonts ------------------------------------------------------

TKelDBGridOptions TKelCustomDBGrid::Options() const
{
    return d_->options;
}

void TKelCustomDBGrid::ApplyGridOptions()
{
    // The base's lines, sizing, editing and selection follow the grid's
    // options. The fixed cells keep their lines with the data cells' (the
    // themed sections and plain fills have no edges of their own).
    using tk::TGridEnums;
    const TKelDBGridOptions options = d_->options;
    tk::TGridOptions grid;
    if (options.testFlag(dgColLines))
        grid |= TGridEnums::goVertLine | TGridEnums::goFixedVertLine;
    if (options.testFlag(dgRowLines))
        grid |= TGridEnums::goHorzLine | TGridEnums::goFixedHorzLine;
    if (options.testFlag(dgColumnResize))
        grid |= TGridEnums::goColSizing;
    if (options.testFlag(dgColumnResize) && d_->resizeOptions.testFlag(roColumnMoving))
        grid |= TGridEnums::goColMoving;
    if (options.testFlag(dgRowResize))
        grid |= TGridEnums::goRowSizing;
    if (options.testFlag(dgTabs))
        grid |= TGridEnums::goTabs;
    if (options.testFlag(dgThumbTracking))
        grid |= TGridEnums::goThumbTracking;
    if (options.testFlag(dgRowSelect))
        grid |= TGridEnums::goRowSelect;
    if (options.testFlag(dgEditing))
        grid |= TGridEnums::goEditing;
    if (options.testFlag(dgAlwaysShowEditor))
        grid |= TGridEnums::goAlwaysShowEditor;
    tk::TCustomGrid::SetOptions(grid);
}

void TKelCustomDBGrid::SetOptions(TKelDBGridOptions options)
{
    if (options.testFlag(dgRowSelect))
        options &= ~TKelDBGridOptions(dgEditing | dgAlwaysShowEditor);
    if (options == d_->options)
        return;
    const TKelDBGridOptions old = std::exchange(d_->options, options);
    ApplyGridOptions();
    // Without multi-selection nothing stays selected; row selection
    // changes the mode.
    if (old.testFlag(dgMultiSelect) && !options.testFlag(dgMultiSelect))
        ClearSelection();
    if (old.testFlag(dgRowSelect) != options.testFlag(dgRowSelect))
        SetMultiSelectOptions(d_->multiSelectOptions);
    LayoutChanged();
    // The record numbers and the bar switch between the sequence walk's
    // and the dataset's.
    if (old.testFlag(dgForceSequence) != options.testFlag(dgForceSequence)) {
        UpdateSequence(false);
        UpdateScrollBar();
        Invalidate();
    }
}

TKelDBGridOptionsEx TKelCustomDBGrid::OptionsEx() const
{
    return d_->optionsEx;
}

void TKelCustomDBGrid::SetOptionsEx(TKelDBGridOptionsEx options)
{
    if (options & (dgTotalHeader | dgTotalValues | dgTotalFields | dgTotalFooter))
        options |= dgBlankRow;
    if (options & (dgTotalHeaderSelected | dgTotalValuesSelected | dgTotalFooterSelected))
        options &= ~TKelDBGridOptionsEx(dgCalcSelectedRows);
    if (options == d_->optionsEx)
        return;
    const TKelDBGridOptionsEx changed = d_->optionsEx ^ options;
    d_->optionsEx = options;
    LayoutChanged();
    // Options that decide what the totals cover or which bands are shown
    // ask for a calculation; switching the automatic sequence on asks for
    // the numbers.
    const TKelDBGridOptionsEx totalsOptions =
        dgTotalHeader | dgTotalValues | dgTotalFields | dgTotalFooter | dgAutoUpdateTotals | dgCalcWholeDataSet |
        dgCalcSelectedRows | dgTotalHeaderSelected | dgTotalValuesSelected | dgTotalFooterSelected;
    if (changed & totalsOptions)
        UpdateTotals(true);
    if (changed.testFlag(dgAutoUpdateSequence))
        UpdateSequence(true);
}

TKelDBGridOptionsExt TKelCustomDBGrid::OptionsExt() const
{
    return d_->optionsExt;
}

void TKelCustomDBGrid::SetOptionsExt(TKelDBGridOptionsExt options)
{
    if (options == d_->optionsExt)
        return;
    d_->optionsExt = options;
    LayoutChanged();
}

tk::TFont* TKelCustomDBGrid::TitleFont() const
{
    return d_->titleFont;
}

void TKelCustomDBGrid::SetTitleFont(tk::TFont* font)
{
    if (font)
        d_->titleFont->Assign(font);
}

tk::TFont* TKelCustomDBGrid::HeaderFont() const
{
    return d_->headerFont;
}

void TKelCustomDBGrid::SetHeaderFont(tk::TFont* font)
{
    if (font)
        d_->headerFont->Assign(font);
}

// --- Component -------------------------------------------------------------------

void TKelCustomDBGrid::resizeEvent(QResizeEvent* event)
{
    tk::TCustomGrid::resizeEvent(event);
    tk::Guarded([this] { LayoutChanged(); });
}

void TKelCustomDBGrid::TitleFontChanged()
{
    // A title or header font set from outside is the user's: the grid stops
    // following its parent's font.
    if (d_->fontRefreshLock == 0 && !HasState(tk::TComponentStateFlag::csLoading))
        SetParentFont(false);
    LayoutChanged();
}

void TKelCustomDBGrid::FontChanged()
{
    tk::TCustomGrid::FontChanged();
    // Columns, titles and totals that follow the grid's font take the new
    // one; the rows' heights follow in the layout.
    BeginLayout();
    auto endLayout = qScopeGuard([this] { EndLayout(); });
    for (int i = 0; i < d_->columns->Count(); ++i)
        d_->columns->Items(i)->Font();
    if (d_->totals && ParentFont())
        d_->totals->RefreshFont(Font());
}

void TKelCustomDBGrid::ParentFontChanged()
{
    tk::TCustomGrid::ParentFontChanged();
    tk::TControl* parent = ParentControl();
    if (!ParentFont() || !parent)
        return;
    BeginLayout();
    auto endLayout = qScopeGuard([this] { EndLayout(); });
    ++d_->fontRefreshLock;
    auto unlock = qScopeGuard([this] { --d_->fontRefreshLock; });
    d_->titleFont->Assign(parent->Font());
    d_->headerFont->Assign(parent->Font());
    d_->totals->RefreshFont(parent->Font());
}

void TKelCustomDBGrid::Loaded()
{
    tk::TCustomGrid::Loaded();
    // --- Settings, style and scroll properties: the saved layout waits for
    // the data link; a dataset opened while the form loaded is there now.
    d_->settings->SetLoadPending(!HasState(tk::TComponentStateFlag::csDesigning));
    LayoutChanged();
    if (LinkActiveNow())
        RunPendingLayoutLoad();
}

void TKelCustomDBGrid::Notification(tk::TComponentCore* component, tk::TOperation operation)
{
    tk::TCustomGrid::Notification(component, operation);
    if (operation != tk::TOperation::opRemove)
        return;
    if (DataSource() && component == static_cast<tk::TComponentCore*>(DataSource()))
        SetDataSource(nullptr);
    if (d_->masterGrid && component == static_cast<tk::TComponentCore*>(d_->masterGrid.data())) {
        LeaveRing();
        d_->masterGrid = nullptr;
    }
    // Image lists: the list is still whole while it tells its observers.
    for (QPointer<tk::TImageList>* images : {&d_->indicatorImages, &d_->titleImages, &d_->titleMarkers})
        if (*images && component == static_cast<tk::TComponentCore*>(images->data())) {
            *images = nullptr;
            LayoutChanged();
        }
    if (d_->totals) {
        if (d_->totals->DataSource() &&
            component == static_cast<tk::TComponentCore*>(d_->totals->DataSource()))
            d_->totals->SetDataSource(nullptr);
        if (d_->totals->Images() && component == static_cast<tk::TComponentCore*>(d_->totals->Images()))
            d_->totals->SetImages(nullptr);
    }
    // Menus of the corner and of the indicator cells (the columns, titles
    // and total parts watch their own).
    for (QPointer<tk::TPopupMenu>* menu : {&d_->fillerPopupMenu, &d_->indicatorPopupMenu})
        if (*menu && component == static_cast<tk::TComponentCore*>(menu->data()))
            *menu = nullptr;
}

TKelDBGrid::TKelDBGrid(QWidget* parent) : TKelCustomDBGrid(parent) {}

bool TKelDBGrid::IsHeaderColorStored() const
{
    return d()->headerColorSet;
}

bool TKelDBGrid::IsFillerColorStored() const
{
    return d()->fillerColorSet;
}

}  // namespace kelgrid
