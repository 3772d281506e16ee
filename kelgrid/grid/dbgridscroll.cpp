// TKelCustomDBGrid: scrolling and positioning. The grid's rows never
// scroll: the data link's window of records does. So the vertical bar
// shows where the dataset stands (scrollbarmodel.h), its actions and the
// wheel move the dataset, and the link's report that its window moved
// (Scroll) shifts the pixels of the data rows. Every step costs work
// proportional to the rows it moves, never to the dataset's size.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "kelgrid/grid/scrollbarmodel.h"
#include "kelgrid/grid/scrollprop.h"
#include "toolkit/core/application.h"
#include "toolkit/data/dataset.h"
#include "toolkit/ui/sysinfo.h"

#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QScrollBar>

namespace kelgrid {

namespace {

// A bar action holds the scroll lock this much higher while it runs.
constexpr int kScrollMessageLock = 1000;

bool Browsing(const tk::TDataSet& dataSet)
{
    return dataSet.State() == tk::dsBrowse || dataSet.State() == tk::dsEdit;
}

// An inserted record nobody has typed into yet.
bool UntouchedInsert(const tk::TDataSet& dataSet)
{
    return dataSet.State() == tk::dsInsert && !dataSet.Modified();
}

}  // namespace

// --- Positions ------------------------------------------------------------------------

void TKelCustomDBGrid::SetPosition(int position)
{
    if (!LinkActiveNow())
        return;
    TKelGridDataLink* link = d_->dataLink.get();
    const int target = qBound(0, position, qMax(0, link->RecordCount() - 1));
    if (target != link->ActiveRecord())
        link->MoveBy(target - link->ActiveRecord());
}

int TKelCustomDBGrid::ScrollLock() const
{
    return d_->scrollLock;
}

int TKelCustomDBGrid::DataLeftCol() const
{
    return RawToDataColumn(LeftCol());
}

void TKelCustomDBGrid::SetDataLeftCol(int column)
{
    LayoutChanged();
    SetLeftCol(qBound(FixedCols(), DataToRawColumn(column), qMax(FixedCols(), ColCount() - 1)));
}

// --- The vertical bar -------------------------------------------------------------------

void TKelCustomDBGrid::UpdateScrollBar()
{
    if (!LinkActiveNow())
        return;
    QScrollBar* bar = verticalScrollBar();
    // The user's drag owns the thumb until the release.
    if (bar->isSliderDown())
        return;
    const TKelScrollProp& scroll = *d_->scrollProp;
    tk::TDataSet& dataSet = *DataSet();
    const TKelGridDataLink& link = *d_->dataLink;
    tk::TScrollInfo info{1, 1, 1, 1};
    if (TKelScrollProp::Vertical(ScrollBars())) {
        TScrollBarState state;
        state.model = ScrollModel();
        if (!ForcedSequence() && dataSet.IsSequenced() && !dataSet.RecordCountKnown())
            CountLater();
        state.thumbBar = TKelScrollProp::Vertical(scroll.ThumbBar());
        state.autoHidden = FlatSBMode() && TKelScrollProp::Vertical(scroll.AutoHidden());
        state.browsing = Browsing(dataSet);
        state.visibleRows = qMax(1, link.BufferCount());
        state.windowRows = link.RecordCount();
        if (state.model == TScrollModel::GridSequence) {
            state.recCount = RecCount();
            state.recNumber = d_->totalsCalc ? d_->totalsCalc->RecNumber() : 0;
        } else if (state.model == TScrollModel::Sequenced) {
            state.recCount = dataSet.RecordCount();
            state.recNumber = dataSet.RecNo();
        }
        state.bof = dataSet.Bof();
        state.eof = dataSet.Eof();
        state.previousPosition = bar->value();
        info = CalcScrollBarInfo(state);
    }
    // Written only when it differs: the bar repaints on every write.
    tk::TFlatScrollBar& flat = *d_->verticalFlat;
    const bool same = flat.ScrollInfo() == info && bar->minimum() == info.Min &&
                      bar->maximum() == flat.LargestPosition() && bar->pageStep() == info.Page;
    if (!same)
        flat.SetScrollInfo(info);
}

void TKelCustomDBGrid::SetRecNumber(int number)
{
    if (!LinkActiveNow())
        return;
    if (ForcedSequence()) {
        const int current = d_->totalsCalc ? d_->totalsCalc->RecNumber() : 0;
        if (current > 0)
            d_->dataLink->MoveBy(number - current);
        return;
    }
    DataSet()->SetRecNo(number);
}

TScrollModel TKelCustomDBGrid::ScrollModel() const
{
    // Only a sequenced dataset knows its count without walking it; the
    // grid's own sequence knows it from its walk. Until a sequenced
    // dataset has counted (a large query counts by reading its table), the
    // bar is the five-position one.
    if (ForcedSequence())
        return TScrollModel::GridSequence;
    const tk::TDataSet& dataSet = *DataSet();
    return dataSet.IsSequenced() && dataSet.RecordCountKnown() ? TScrollModel::Sequenced
                                                               : TScrollModel::Unsequenced;
}

void TKelCustomDBGrid::CountLater()
{
    // The first screen paints before the count: it comes from the event
    // loop, once, and the bar takes the record numbers then.
    if (d_->countDeferred)
        return;
    d_->countDeferred = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            tk::Guarded([this] {
                d_->countDeferred = false;
                tk::TDataSet* dataSet = DataSet();
                if (!LinkActiveNow() || !dataSet->IsSequenced() || dataSet->RecordCountKnown())
                    return;
                dataSet->RecordCount();
                UpdateScrollBar();
            });
        },
        Qt::QueuedConnection);
}

void TKelCustomDBGrid::ScrollVertically(tk::TScrollCode code, int thumbPosition)
{
    using tk::TScrollCode;
    if (!LinkActiveNow())
        return;
    if (code == TScrollCode::EndScroll) {
        UpdateScrollBar();
        return;
    }
    if (code == TScrollCode::ThumbTrack && !d_->options.testFlag(dgThumbTracking))
        return;
    AcquireFocus();
    BeginChange();
    auto endChange = qScopeGuard([this] { EndChange(); });
    const QScopedValueRollback<int> scrolling(d_->scrollLock, d_->scrollLock + kScrollMessageLock);
    TKelGridDataLink& link = *d_->dataLink;
    tk::TDataSet& dataSet = *DataSet();
    // Lines step one record past the window's edge; the other actions are
    // the moves a thumb position can ask for too.
    TThumbTarget target;
    switch (code) {
    case TScrollCode::LineUp:
        link.MoveBy(-(link.ActiveRecord() + 1));
        break;
    case TScrollCode::LineDown:
        link.MoveBy(link.RecordCount() - link.ActiveRecord());
        break;
    case TScrollCode::PageUp:
        target.move = TThumbMove::PageUp;
        break;
    case TScrollCode::PageDown:
        target.move = TThumbMove::PageDown;
        break;
    case TScrollCode::Top:
        target.move = TThumbMove::First;
        break;
    case TScrollCode::Bottom:
        target.move = TThumbMove::Last;
        break;
    case TScrollCode::ThumbPosition:
    case TScrollCode::ThumbTrack: {
        const TScrollModel model = ScrollModel();
        target = ThumbTarget(model, thumbPosition, model == TScrollModel::Unsequenced ? 0 : RecCount());
        break;
    }
    case TScrollCode::EndScroll:
        break;
    }
    const int page = qMax(1, link.BufferCount());
    switch (target.move) {
    case TThumbMove::None:
        break;
    case TThumbMove::First:
        dataSet.First();
        break;
    case TThumbMove::Last:
        dataSet.Last();
        break;
    case TThumbMove::PageUp:
        link.MoveBy(-page);
        break;
    case TThumbMove::PageDown:
        link.MoveBy(page);
        break;
    case TThumbMove::ToNumber:
        // A record number is an absolute move: a pending edit is posted
        // first, as any other move does.
        dataSet.CheckBrowseMode();
        SetRecNumber(target.number);
        break;
    }
    UpdateScrollBar();
}

// --- The data link's window moved ----------------------------------------------------------

void TKelCustomDBGrid::Scroll(int distance)
{
    if (!LinkActiveNow())
        return;
    const int dataRows = RowCount() - d_->titleOffset - d_->totalOffset;
    if (Position() >= dataRows)
        UpdateDataRows();
    UpdateActive();
    FollowSequence(distance);
    const int oldRow = d_->selRow;
    const int newRow = d_->titleOffset + Position();
    UpdateScrollBar();
    InvalidateGridRow(oldRow);
    InvalidateGridRow(newRow);
    if (distance != 0) {
        if (EditorMode())
            ReloadEditor();
        bool tiled = false;
        for (int i = 0; i < d_->columns->Count() && !tiled; ++i)
            tiled = d_->columns->Items(i)->ImageDraw() == idTileCol;
        const int rowStep = DefaultRowHeight() + RowLineWidth();
        if (tiled) {
            InvalidateTile(idTileCol, true);
        } else if (qAbs(distance) >= dataRows || StripeColor() != tk::clNone || d_->invalidateLock > 0) {
            InvalidateData();
        } else {
            // The rows that stay on screen keep their pixels; only the rows
            // that came in, and the old current row where it moved to, paint.
            const QRect rows = BoxRect(0, d_->titleOffset, ColCount() - 1, d_->titleOffset + dataRows - 1);
            viewport()->scroll(0, -rowStep * distance, rows);
            InvalidateGridRow(oldRow - distance);
        }
    }
    if (d_->totalOffset > 0)
        TotalsChanged(trDataField, nullptr);
}

void TKelCustomDBGrid::FollowSequence(int distance)
{
    // The window moved by distance records and the active record moved
    // within it: the sequence number moves by both, without a new walk.
    const int active = d_->dataLink->ActiveRecord();
    const int moved = distance + (active - d_->lastActiveRecord);
    d_->lastActiveRecord = active;
    // A walk of the grid's own comes back to where it started.
    if (!ForcedSequence() || !d_->totalsCalc || PositionDisabled() || d_->totalsCalc->SequenceRunning())
        return;
    const int count = d_->totalsCalc->RecCount();
    d_->totalsCalc->SetRecNumber(qBound(qMin(1, count), d_->totalsCalc->RecNumber() + moved, count));
    PinSequenceAtEnds();
}

void TKelCustomDBGrid::PinSequenceAtEnds()
{
    // At either end of the data the number is known whatever moved there
    // (a resynchronised window reports no distance).
    if (!ForcedSequence() || !d_->totalsCalc || PositionDisabled() || d_->totalsCalc->SequenceRunning())
        return;
    tk::TDataSet& dataSet = *DataSet();
    if (!Browsing(dataSet))
        return;
    const int count = d_->totalsCalc->RecCount();
    if (dataSet.Bof())
        d_->totalsCalc->SetRecNumber(qMin(1, count));
    else if (dataSet.Eof())
        d_->totalsCalc->SetRecNumber(count);
}

// --- Moving by rows and to the mouse ----------------------------------------------------------

void TKelCustomDBGrid::ScrollToRowBy(int count)
{
    if (!LinkActiveNow() || count == 0)
        return;
    TKelGridDataLink& link = *d_->dataLink;
    if (!d_->options.testFlag(dgMultiSelect) || !RowsSelection()) {
        link.MoveBy(count);
        return;
    }
    tk::TDataSet& dataSet = *DataSet();
    TKelBookmarkList& rows = *d_->selectedRows;
    BeginSelect();
    auto endSelect = qScopeGuard([this] { EndSelect(); });
    const tk::TBookmark anchor = SelectionAnchor();
    const bool anchorKept =
        d_->optionsExt.testFlag(dgAutoUnselectOff) || d_->optionsExt.testFlag(dgClickSelectOff);
    if (anchorKept && !anchor.isEmpty() && dataSet.CompareBookmarks(dataSet.GetBookmark(), anchor) == 0)
        rows.SetCurrentRowSelected(true);
    const int step = count > 0 ? 1 : -1;
    for (int i = 0; i < qAbs(count); ++i) {
        // Moving back towards the anchor gives up the row being left;
        // moving away from it takes the row arrived at.
        const int side = anchor.isEmpty() ? 0 : dataSet.CompareBookmarks(dataSet.GetBookmark(), anchor);
        const bool towardsAnchor = step > 0 ? side < 0 : side > 0;
        if (towardsAnchor) {
            rows.SetCurrentRowSelected(false);
            if (link.MoveBy(step) == 0)
                break;
        } else {
            if (link.MoveBy(step) == 0)
                break;
            rows.SetCurrentRowSelected(true);
        }
    }
}

void TKelCustomDBGrid::ScrollToRowAt(int /*x*/, int y)
{
    if (!LinkActiveNow())
        return;
    const int top = TitleHeight();
    const int bottom = qMax(top, viewport()->height() - TotalHeight() - 1);
    const int rowStep = qMax(1, DefaultRowHeight() + RowLineWidth());
    // A row cut by the bottom edge holds no record of the window.
    const int lastRow = qMax(0, d_->dataLink->RecordCount() - 1);
    const int target = qMin((qBound(top, y, bottom) - top) / rowStep, lastRow);
    ScrollToRowBy(target - Position());
}

void TKelCustomDBGrid::ScrollToColAt(int x, int y)
{
    if (d_->options.testFlag(dgRowSelect))
        return;
    const tk::TGridCoord cell = MouseCoord(x, qBound(0, y, qMax(0, viewport()->height() - 1)));
    const int raw = cell.X;
    if (raw >= FixedCols() && raw < ColCount() && raw != Col()) {
        const QRect rect = CellRect(raw, TopRow());
        const bool whole = !rect.isEmpty() && rect.width() >= ColWidths(raw);
        if (whole)
            MoveCol(raw, 1);
    }
    if (d_->options.testFlag(dgMultiSelect) && ColsSelection() && RawToDataColumn(Col()) >= SelectionOffset())
        SetSelectionEndCol(RawToDataColumn(Col()));
}

void TKelCustomDBGrid::ScrollToCellAt(int x, int y, bool onlyChanged)
{
    BeginSelect();
    auto endSelect = qScopeGuard([this] { EndSelect(); });
    const QPoint last = d_->lastScrollCell;
    d_->lastScrollCell = QPoint(x, y);
    if (!onlyChanged || x != last.x())
        ScrollToColAt(x, y);
    if (!onlyChanged || y != last.y())
        ScrollToRowAt(x, y);
}

// --- The wheel ----------------------------------------------------------------------------------

int TKelCustomDBGrid::WheelScrollRows() const
{
    return d_->wheelScrollRows;
}

void TKelCustomDBGrid::SetWheelScrollRows(int rows)
{
    d_->wheelScrollRows = qMax(-1, rows);
}

int TKelCustomDBGrid::MouseWheelScrollRows() const
{
    if (d_->wheelScrollRows == 0)
        return tk::WheelScrollLines();
    if (d_->wheelScrollRows < 0)
        return LinkActiveNow() ? qMax(1, d_->dataLink->BufferCount()) : 1;
    return d_->wheelScrollRows;
}

bool TKelCustomDBGrid::DoMouseWheelDown(tk::TShiftState /*shift*/, const QPoint& /*mousePos*/)
{
    if (!LinkActiveNow())
        return true;
    tk::TDataSet& dataSet = *DataSet();
    // An inserted record nobody typed into is dropped by a notch down
    // unless it is the appended one; the notch goes no further.
    if (UntouchedInsert(dataSet)) {
        if (!dataSet.Eof())
            dataSet.Cancel();
        return true;
    }
    WheelMove(MouseWheelScrollRows());
    return true;
}

bool TKelCustomDBGrid::DoMouseWheelUp(tk::TShiftState /*shift*/, const QPoint& /*mousePos*/)
{
    if (!LinkActiveNow())
        return true;
    tk::TDataSet& dataSet = *DataSet();
    if (UntouchedInsert(dataSet) && dataSet.Eof()) {
        dataSet.Cancel();
        return true;
    }
    WheelMove(-MouseWheelScrollRows());
    return true;
}

void TKelCustomDBGrid::WheelMove(int distance)
{
    TKelGridDataLink& link = *d_->dataLink;
    if (!DoubleBuffered()) {
        link.MoveBy(distance);
        return;
    }
    // A double-buffered grid keeps the current record's screen row: the
    // records move under it, as a page of paper under a reading glass.
    tk::TDataSet& dataSet = *DataSet();
    dataSet.CheckBrowseMode();
    if (EditorMode())
        HideEditor();
    BeginChange();
    auto endChange = qScopeGuard([this] { EndChange(); });
    int moved = 0;
    {
        DisablePosition();
        auto enable = qScopeGuard([this] { EnablePosition(true); });
        moved = link.MoveBy(distance);
    }
    // The bracket kept the screen row; the grid's own number moves by the
    // records moved.
    if (ForcedSequence() && d_->totalsCalc && moved != 0) {
        const int count = d_->totalsCalc->RecCount();
        d_->totalsCalc->SetRecNumber(qBound(qMin(1, count), d_->totalsCalc->RecNumber() + moved, count));
        UpdateScrollBar();
    }
    // The window could not follow to the end: the record moves on instead.
    if (moved != distance)
        link.MoveBy(distance > 0 ? 1 : -1);
    if (d_->options.testFlag(dgAlwaysShowEditor))
        ShowEditor();
}

// --- Horizontal scrolling --------------------------------------------------------------------------

void TKelCustomDBGrid::ColumnsScrolled()
{
    InvalidateTitles();
    if (d_->totalOffset > 0)
        InvalidateTotals();
    const int left = DataLeftCol();
    if (left == d_->lastLeftCol)
        return;
    d_->lastLeftCol = left;
    if (OnColumnScroll)
        OnColumnScroll(this, left);
}

}  // namespace kelgrid
