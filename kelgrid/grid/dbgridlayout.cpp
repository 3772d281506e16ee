// TKelCustomDBGrid: the layout and update locks, and the layout of the cell
// matrix from the columns and the data link.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/columntotal.h"
#include "kelgrid/grid/columntotalvalue.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "kelgrid/grid/gridstyle.h"
#include "kelgrid/grid/totallink.h"
#include "kelgrid/grid/totals.h"
#include "toolkit/core/updatelock.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/canvas.h"

#include <QScopeGuard>

namespace kelgrid {

void TKelCustomDBGrid::BeginUpdate()
{
    ++d_->updateLock;
}

void TKelCustomDBGrid::EndUpdate()
{
    if (d_->updateLock > 0)
        --d_->updateLock;
}

int TKelCustomDBGrid::UpdateLock() const
{
    return d_->updateLock;
}

int TKelCustomDBGrid::LayoutLock() const
{
    return d_->layoutLock;
}

void TKelCustomDBGrid::BeginLayout()
{
    BeginUpdate();
    if (d_->layoutLock == 0)
        d_->columns->BeginUpdate();
    ++d_->layoutLock;
}

void TKelCustomDBGrid::EndLayout()
{
    if (d_->layoutLock == 0)
        return;
    // The locks go down also when the layout raises.
    auto release = qScopeGuard([this] {
        --d_->layoutLock;
        EndUpdate();
    });
    if (d_->layoutLock == 1) {
        auto endColumns = qScopeGuard([this] {
            // The collection's outermost EndUpdate reports a full change,
            // which must not start a second layout.
            ++d_->updateLock;
            auto down = qScopeGuard([this] { --d_->updateLock; });
            d_->columns->EndUpdate();
        });
        InternalLayout();
    }
}

void TKelCustomDBGrid::CancelLayout()
{
    if (d_->layoutLock == 0)
        return;
    if (d_->layoutLock == 1) {
        ++d_->updateLock;
        auto down = qScopeGuard([this] { --d_->updateLock; });
        d_->columns->EndUpdate();
    }
    --d_->layoutLock;
    EndUpdate();
}

bool TKelCustomDBGrid::AcquireLayoutLock()
{
    const bool free = d_->updateLock == 0 && d_->layoutLock == 0;
    if (free)
        BeginLayout();
    return free;
}

void TKelCustomDBGrid::LayoutChanged()
{
    if (AcquireLayoutLock())
        EndLayout();
}

bool TKelCustomDBGrid::LayoutFromDataSet() const
{
    return d_->layoutFromDataSet;
}

void TKelCustomDBGrid::SetLayoutFromDataSet(bool on)
{
    d_->layoutFromDataSet = on;
}

bool TKelCustomDBGrid::UpdateFields() const
{
    return d_->updateFields;
}

void TKelCustomDBGrid::SetUpdateFields(bool on)
{
    d_->updateFields = on;
}

int TKelCustomDBGrid::ChangeLock() const
{
    return d_->changeLock;
}

void TKelCustomDBGrid::BeginChange()
{
    ++d_->changeLock;
}

void TKelCustomDBGrid::EndChange()
{
    Q_ASSERT(d_->changeLock > 0);
    --d_->changeLock;
}

void TKelCustomDBGrid::DropMixedDefaultColumns()
{
    TKelDBGridColumns* columns = d_->columns;
    bool defaultSeen = false;
    bool mixed = false;
    for (int i = 0; i < columns->Count() && !mixed; ++i) {
        defaultSeen = defaultSeen || !columns->Items(i)->Stored();
        mixed = defaultSeen && columns->Items(i)->Stored();
    }
    if (!mixed)
        return;
    for (int i = columns->Count() - 1; i >= 0; --i)
        if (!columns->Items(i)->Stored())
            columns->Delete(i);
}

void TKelCustomDBGrid::RebuildDefaultColumns()
{
    TKelDBGridColumns* columns = d_->columns;
    if (columns->State() == csCustomized) {
        for (int i = 0; i < columns->Count(); ++i)
            columns->Items(i)->SetField(nullptr);
        return;
    }
    tk::TDataSet* dataSet = DataSource() ? DataSource()->DataSet() : nullptr;
    const bool active = LinkActiveNow() && dataSet;
    if (!active && (!dataSet || !dataSet->HasPersistentFields())) {
        columns->Clear();
    } else {
        // The number and select columns (field-less) go with the columns
        // whose field went; they are added again below.
        for (int i = columns->Count() - 1; i >= 0; --i)
            if (!columns->Items(i)->Field())
                columns->Delete(i);
    }
    QList<tk::TField*> fields;
    if (active)
        for (tk::TField* field : dataSet->FieldList())
            if (field->Visible() && !field->HasState(tk::TComponentStateFlag::csDestroying))
                fields << field;
    for (int position = 0; position < fields.size(); ++position) {
        TKelColumn* column = nullptr;
        for (int i = position; i < columns->Count() && !column; ++i)
            if (columns->Items(i)->Field() == fields[position])
                column = columns->Items(i);
        if (!column) {
            column = columns->InternalAdd();
            column->SetField(fields[position]);
        }
        column->SetIndex(position);
    }
    // Columns of fields hidden since the last layout.
    if (active)
        while (columns->Count() > fields.size())
            columns->Delete(columns->Count() - 1);
    if (columns->Count() == 0)
        columns->InternalAdd();
    columns->AddAutoColumns(false);
}

QString TKelCustomDBGrid::CheckConsistency() const
{
    const QString base = tk::TCustomGrid::CheckConsistency();
    if (!base.isEmpty())
        return base;
    // Only a laid-out grid answers for its maps.
    if (d_->layoutLock > 0 || d_->updateLock > 0 || HasState(tk::TComponentStateFlag::csLoading))
        return {};
    if (ColCount() != qMax(1, d_->columns->Count()) + d_->indicatorOffset)
        return QStringLiteral("raw columns do not follow the columns");
    if (tk::TCustomGrid::FixedCols() != d_->indicatorOffset + d_->fixedCols &&
        (LinkActiveNow() || d_->columns->State() == csCustomized))
        return QStringLiteral("the fixed columns are not the indicator and the fixed data columns");
    if (tk::TCustomGrid::FixedCols() < d_->indicatorOffset)
        return QStringLiteral("the indicator column is not fixed");
    if (FixedRows() != d_->titleOffset)
        return QStringLiteral("the title rows are not the fixed rows");
    const int records = LinkActiveNow() ? d_->dataLink->RecordCount() : 0;
    if (RowCount() != d_->titleOffset + qMax(1, records) + d_->totalOffset)
        return QStringLiteral("data rows do not match the data link's window");
    if (d_->totalOffset != TotalBand().Count())
        return QStringLiteral("the totals band does not match the options");
    if (!d_->selectedRows->CheckConsistency())
        return QStringLiteral("selected rows out of order");
    return {};
}

void TKelCustomDBGrid::SetColumnAttributes()
{
    // The raw widths come from the columns (a hidden column's width takes
    // no pixels); the indicator has a fixed width.
    if (d_->indicatorOffset > 0)
        SetColWidths(0, d_->indicatorWidth);
    for (int i = 0; i < d_->columns->Count() && DataToRawColumn(i) < ColCount(); ++i)
        SetColWidths(DataToRawColumn(i), d_->columns->Items(i)->Width());
}

TKelCustomDBGrid::TTotalBand TKelCustomDBGrid::TotalBand() const
{
    const TKelDBGridOptionsEx options = d_->optionsEx;
    TTotalBand band;
    band.header = options.testFlag(dgTotalHeader) ? 1 : 0;
    if (options.testFlag(dgTotalValues))
        for (int i = 0; i < d_->columns->Count(); ++i)
            band.values = qMax(band.values, d_->columns->Items(i)->TotalValues()->Count());
    const TKelTotalDataLink* link = d_->totals->DataLink();
    band.fields = options.testFlag(dgTotalFields) && link ? link->FieldRowCount() : 0;
    band.footer = options.testFlag(dgTotalFooter) ? 1 : 0;
    band.blank = options.testFlag(dgBlankRow) ? 1 : 0;
    return band;
}

int TKelCustomDBGrid::TotalOffset() const
{
    return d_->totalOffset;
}

int TKelCustomDBGrid::TotalRowOf(int row) const
{
    const int first = RowCount() - d_->totalOffset;
    if (d_->totalOffset == 0 || row < first || row >= RowCount())
        return -1;
    const int blank = d_->optionsEx.testFlag(dgBlankRow) ? 1 : 0;
    return row - first - blank;
}

int TKelCustomDBGrid::TotalRowHeight() const
{
    // The tallest text of a shown total part, in as many lines as the
    // totals ask for, plus the band's spacing.
    const TTotalBand band = TotalBand();
    const auto lineHeight = &TKelCustomDBGrid::TextLineHeight;
    int text = 0;
    for (int i = 0; i < d_->columns->Count(); ++i) {
        const TKelColumn* column = d_->columns->Items(i);
        if (band.header)
            text = qMax(text, lineHeight(column->TotalHeader()->Font()));
        for (int v = 0; v < band.values && v < column->TotalValues()->Count(); ++v)
            text = qMax(text, lineHeight(column->TotalValues()->Items(v)->Font()));
        if (band.footer)
            text = qMax(text, lineHeight(column->TotalFooter()->Font()));
    }
    if (text == 0)
        text = lineHeight(d_->totals->Font());
    return text * d_->totals->LinesCount() + TotalRowSpacing();
}

int TKelCustomDBGrid::TotalRowSpacing() const
{
    return GridStyle()->TotalRowSpace();
}

void TKelCustomDBGrid::UpdateFixedCols()
{
    TKelDBGridColumns* columns = d_->columns;
    if (!LinkActiveNow() && columns->State() != csCustomized) {
        tk::TCustomGrid::SetFixedCols(d_->indicatorOffset);
        return;
    }
    int fixed = qMin(d_->fixedCols, qMax(0, columns->Count() - 1));
    if (fixed > 0) {
        // A group is fixed whole or not at all.
        TKelColumn* top = columns->Items(fixed - 1);
        while (TKelColumn* parent = top->ParentColumn())
            top = parent;
        fixed = top->ExpandIndex() + 1;
        if (fixed >= columns->Count())
            fixed = top->Index();
    }
    d_->fixedCols = fixed;
    tk::TCustomGrid::SetFixedCols(d_->indicatorOffset + fixed);
}

int TKelCustomDBGrid::HeaderRowHeight() const
{
    if (!d_->options.testFlag(dgTitles) || !d_->options.testFlag(dgTitleHeaders))
        return 0;
    const int rowLineWidth = d_->options.testFlag(dgRowLines) ? GridLineWidth() : 0;
    return TextLineHeight(d_->headerFont) * d_->headerLinesCount + GridStyle()->HeaderRowSpace() +
           rowLineWidth;
}

int TKelCustomDBGrid::TextLineHeight(const tk::TFont* font)
{
    tk::TCanvas canvas;
    canvas.Font()->Assign(font);
    return canvas.TextHeight(QStringLiteral("Wg"));
}

void TKelCustomDBGrid::UpdateTitleRowHeights()
{
    const int rows = d_->titleOffset;
    if (rows == 0)
        return;
    QList<int> heights(rows, 0);
    const int headerRowHeight = HeaderRowHeight();
    const int space = GridStyle()->TitleRowSpace();
    auto titleHeight = [&](TKelColumn* column) {
        TKelColumnTitle* title = column->Title();
        return TextLineHeight(title->Font()) * d_->titleLinesCount + space +
               title->HeaderRowCount() * headerRowHeight;
    };
    // A column's title shows when it and every ancestor are visible and the
    // ancestors are expanded; an expanded one heads its group's row.
    auto titleShows = [](TKelColumn* column) {
        if (!column->Visible())
            return false;
        for (TKelColumn* parent = column->ParentColumn(); parent; parent = parent->ParentColumn())
            if (!parent->Visible() || !parent->Expanded())
                return false;
        return true;
    };
    QList<TKelColumn*> leaves;
    for (int i = 0; i < d_->columns->Count(); ++i) {
        TKelColumn* column = d_->columns->Items(i);
        if (!titleShows(column))
            continue;
        const int depth = column->Depth();
        if (column->Expanded() && depth < rows - 1)
            heights[depth] = qMax(heights[depth], titleHeight(column));
        else
            leaves << column;
    }
    // A leaf title reaches down to the last title row: that row takes what
    // the rows from the leaf's own row down do not give it.
    for (TKelColumn* column : leaves) {
        int above = 0;
        for (int row = qMin(column->Depth(), rows - 1); row < rows - 1; ++row)
            above += heights[row];
        heights[rows - 1] = qMax(heights[rows - 1], titleHeight(column) - above);
    }
    if (heights[0] == 0)
        heights[0] = TextLineHeight(d_->titleFont) * d_->titleLinesCount + space;
    for (int row = 0; row < rows; ++row)
        if (RowHeights(row) != heights[row])
            SetRowHeights(row, heights[row]);
}

void TKelCustomDBGrid::UpdateDataRows()
{
    TOwnSizing own(*d_);
    // As many records as fit between the titles and the totals, at least
    // one row; the data link's window holds exactly those. The band's rows
    // sit at the bottom edge: its blank row takes what is left over.
    const int line = GridLineWidth();
    const int band = d_->totalOffset;
    const int blank = band > 0 && d_->optionsEx.testFlag(dgBlankRow) ? 1 : 0;
    const int totalHeight = band > 0 ? TotalRowHeight() : 0;
    const int totalsHeight = (band - blank) * (totalHeight + line);
    if (RowCount() <= d_->titleOffset)
        SetRowCount(d_->titleOffset + 1);
    UpdateTitleRowHeights();
    int titles = 0;
    for (int row = 0; row < d_->titleOffset; ++row)
        titles += RowHeights(row) + line;
    const int rowHeight = DefaultRowHeight() + line;
    const int space = viewport()->height() - titles - totalsHeight;
    int rows = 1;
    if (LinkActiveNow()) {
        d_->dataLink->SetBufferCount(qMax(1, space / qMax(1, rowHeight)));
        rows = qMax(1, d_->dataLink->RecordCount());
    }
    SetRowCount(d_->titleOffset + rows + band);
    SetFixedRows(d_->titleOffset);
    const int firstTotal = d_->titleOffset + rows;
    // Rows that were title or band rows before take the data rows' height.
    for (int row = d_->titleOffset; row < firstTotal; ++row)
        if (RowHeights(row) != DefaultRowHeight())
            SetRowHeights(row, DefaultRowHeight());
    if (blank)
        SetRowHeights(firstTotal, qMax(0, space - rows * rowHeight - line));
    for (int row = firstTotal + blank; row < RowCount(); ++row)
        SetRowHeights(row, totalHeight);
}

void TKelCustomDBGrid::InternalLayout()
{
    if (HasState(tk::TComponentStateFlag::csLoading) || HasState(tk::TComponentStateFlag::csDestroying))
        return;
    ForgetDeferredLayout();
    TOwnSizing own(*d_);
    DropMixedDefaultColumns();
    d_->indicatorOffset = d_->options.testFlag(dgIndicator) ? 1 : 0;
    DefineFieldMap();
    RebuildDefaultColumns();
    // Totals look their fields up again, in the dataset as it is now.
    for (int i = 0; i < d_->columns->Count(); ++i)
        d_->columns->Items(i)->DropTotalFields();
    // The matrix keeps one data column even without columns (the empty
    // column of a grid without fields).
    SetColCount(qMax(1, d_->columns->Count()) + d_->indicatorOffset);
    UpdateFixedCols();

    int depth = 0;
    for (int i = 0; i < d_->columns->Count(); ++i)
        if (d_->columns->Items(i)->Showing())
            depth = qMax(depth, d_->columns->Items(i)->Depth());
    d_->titleOffset = d_->options.testFlag(dgTitles) ? 1 + depth : 0;
    d_->totalOffset = TotalBand().Count();
    UpdateStretchState();
    StretchGrid();
    RecreateMarkers();
    UpdateDefaultRowHeight();
    SetColumnAttributes();
    UpdateDataRows();
    UpdateScrollBar();
    Invalidate();
    Synchronize();
    if (OnLayout)
        OnLayout(this);
}

}  // namespace kelgrid
