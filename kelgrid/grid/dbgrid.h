#pragma once
// TKelCustomDBGrid, the data-aware grid, and TKelDBGrid, which publishes its
// properties. The grid stands on the grid base (tk::TCustomGrid): its cell
// matrix is derived from the column collection, the data link's window of
// records and the totals band.
//
// Matrix: raw column = data column (index in Columns) + IndicatorOffset
// (1 while dgIndicator shows the indicator column). Title rows come first
// (TitleOffset of them), then the data link's records, then the total rows.
//
// Locks: layouts batch through BeginLayout/EndLayout (the outermost EndLayout
// lays out once); BeginUpdate/EndUpdate suppress layouts and repaints while
// held. LayoutChanged lays out at once unless a lock is held, in which case
// the holder lays out when it lets go. The order bracket
// (BeginOrderUpdate/EndOrderUpdate) batches sort-marker changes; the select
// bracket (BeginSelect/EndSelect) batches selection changes, reported once
// through SelectionChanged when the outermost bracket ends.
//
// The parts: columns (columns.h), the data links (gridlink.h,
// totallink.h), the totals' settings (totals.h), the selected rows
// (bookmarks.h); the private state lives in
// dbgrid_p.h. Files: dbgrid.cpp (construction, properties, factories),
// dbgridlayout.cpp (the locks and the layout), dbgridlinks.cpp (reactions
// to the data links), dbgridtext.cpp (the text hooks), dbgridselect.cpp
// (the select bracket), dbgridorder.cpp (the sort order and the dataset's
// reordering through the change-order registry, orderregistry.h).

#include "kelgrid/grid/columnenums.h"
#include "kelgrid/grid/gridenums.h"
#include "kelgrid/grid/totals.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/datetime.h"
#include "toolkit/core/updatelock.h"
#include "toolkit/data/datasource.h"
#include "toolkit/ui/colors.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/grids/grid.h"

#include <QByteArray>
#include <QImage>
#include <climits>
#include <functional>
#include <memory>

namespace tk {
class TDataSet;
class TField;
using TBookmark = QByteArray;  // as toolkit/data/dataset.h
class TFlatScrollBar;
class TImageList;
class TStrings;
class Variant;
}  // namespace tk

namespace kelgrid {

class TKelBookmarkList;
enum class TScrollModel;
class TKelColumn;
class TKelColumnList;
class TKelColumnTotalValue;
class TKelCustomDBGrid;
class TKelDBGridSettings;
class TKelGridStyle;
class TKelScrollProp;
class TKelDBGridColumns;
class TKelDBGridTotals;
class TKelGridDataLink;
class TKelTotalDataLink;
class TOrvGradientButton;
struct TKelCustomDBGridPrivate;

// The most text lines a data, title, header or total row holds: rows are
// that many line heights tall, and a count read from a damaged layout
// (2^31 lines) would overflow the height in pixels.
inline constexpr int MaxLinesCount = 1000;

// OnColGetText(grid, column, text, kind) and OnColSetText(grid, column,
// text): the handler may change the text.
using TKelColGetTextEvent = std::function<void(TKelCustomDBGrid*, TKelColumn*, QString&, TTextKind)>;
using TKelColSetTextEvent = std::function<void(TKelCustomDBGrid*, TKelColumn*, QString&)>;
// OnRowSelect(grid, action): each change of the selected rows.
using TKelSelectionEvent = std::function<void(TKelCustomDBGrid*, TSelectAction)>;
// OnSettingsLayout(grid, layout, apply): the settings built the layout
// lines (apply false; the handler may change them before they are saved or
// read) or applied them (apply true).
using TKelDBGridLayoutEvent = std::function<void(TKelCustomDBGrid*, tk::TStrings*, bool)>;
// Painting events (dbgridpaint.cpp). OnDrawColumnCell(grid, rect, data
// column, column, state) after each data cell; OnDrawDataCell(grid, rect,
// field, state) before it while the columns are the default ones;
// OnPaintColumnCell(grid, rect, data column, column, highlight, selection,
// colour, font, image) before the default drawing, which takes the colour,
// font and image the handler leaves (a null image: none).
using TKelDrawColumnCellEvent =
    std::function<void(TKelCustomDBGrid*, const QRect&, int, TKelColumn*, tk::TGridDrawState)>;
using TKelDrawDataCellEvent = std::function<void(TKelCustomDBGrid*, const QRect&, tk::TField*, tk::TGridDrawState)>;
using TKelPaintColumnCellEvent = std::function<void(TKelCustomDBGrid*, const QRect&, int, TKelColumn*, bool, TSelection,
                                                    tk::TColor&, tk::TFont*, QImage&)>;
// OnCalcImageIndex(grid, column, index): the image of a data cell (column
// nullptr: the indicator's); the handler may change the index.
using TKelCalcImageIndexEvent = std::function<void(TKelCustomDBGrid*, TKelColumn*, int&)>;
// OnColumnResize(grid, column): the user sized a column (the one sized
// last, nullptr when not known).
using TKelColumnResizeEvent = std::function<void(TKelCustomDBGrid*, TKelColumn*)>;
// OnCellHint(grid, column, index, cell, hint): the text a hint of the grid
// is about to show; the handler may change it (empty: no hint). column is
// nullptr for the filler and the indicator; index is the title row
// (hcTitle), the header row (hcHeader), the data row (hcData, hcIndicator),
// the totals band's row (hcTotal), 0 for the filler, the editor's choice
// for hcEditor.
using TKelCellHintEvent =
    std::function<void(TKelCustomDBGrid*, TKelColumn*, int index, THintCell, QString& hint)>;

class KELGRID_EXPORT TKelCustomDBGrid : public tk::TCustomGrid {
    Q_OBJECT
public:
    explicit TKelCustomDBGrid(QWidget* parent = nullptr);
    ~TKelCustomDBGrid() override;

    // --- Data ------------------------------------------------------------------
    tk::TDataSource* DataSource() const;
    // Raises EInvalidGridOperation (circular data link) for the source of
    // the grid's own totals, and EDatabaseError for a unidirectional
    // dataset; nothing changes then.
    void SetDataSource(tk::TDataSource* source);
    TKelGridDataLink* DataLink() const;
    // The open dataset of the data source, else nullptr.
    tk::TDataSet* DataSet() const;
    // The data link is active (the dataset open).
    bool LinkActiveNow() const;
    // The grid itself is read-only (columns and editing follow it).
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);

    // --- Columns -----------------------------------------------------------------
    TKelDBGridColumns* Columns() const;
    // Assigns a copy of columns into the grid's own collection.
    void SetColumns(TKelDBGridColumns* columns);
    // Climbs from column to its parent while its depth is above depth;
    // nullptr stays nullptr.
    TKelColumn* ColumnAtDepth(TKelColumn* column, int depth) const;
    // The column bound to fieldName (any case) at or after fromIndex, else
    // nullptr.
    TKelColumn* FindColumn(const QString& fieldName, int fromIndex = 0) const;
    // As FindColumn; raises EInvalidGridOperation "Field '<name>' not found"
    // when no column has it.
    TKelColumn* ColumnByName(const QString& fieldName, int fromIndex = 0) const;
    // The columns are being read (the grid loads or reads a form, or a
    // layout stream is read) or written (the grid or a layout stream):
    // widths are then taken and given as set, not as shown.
    bool ColumnsReading() const;
    bool ColumnsWriting() const;
    int IndicatorOffset() const;
    // The title rows: 0 without dgTitles, else one per nesting level.
    int TitleOffset() const;
    // Text lines of the title captions and of the header rows, 1 ..
    // MaxLinesCount; a change re-lays out while those rows are shown.
    int TitleLinesCount() const;
    void SetTitleLinesCount(int count);
    int HeaderLinesCount() const;
    void SetHeaderLinesCount(int count);
    // The fixed data columns (not counting the indicator), 0 at first,
    // never negative. A layout limits it to one less than the columns and
    // widens it over the whole group of the last fixed column (cut back to
    // the group's start when that would fix every column); the grid base's
    // fixed columns are then the indicator plus these.
    int FixedCols() const;
    void SetFixedCols(int count);
    // The indicator column's width in pixels: 20 at first, at least 11.
    int IndicatorWidth() const;
    void SetIndicatorWidth(int width);
    int RawToDataColumn(int raw) const { return raw - IndicatorOffset(); }
    int DataToRawColumn(int data) const { return data + IndicatorOffset(); }
    // The column of a raw column, nullptr for the indicator or beyond.
    TKelColumn* ColumnOfRaw(int raw) const;
    // The base's checks, then the grid's maps after a layout: one raw
    // column per column (at least one) after the indicator, the fixed
    // columns covering the indicator, the data rows matching the link's
    // window, the selected rows sorted. Empty when all hold, else what
    // failed; the tests call it after each step.
    QString CheckConsistency() const override;

    // --- Totals ---------------------------------------------------------------------
    // The band's settings; assigning copies them into the grid's own.
    TKelDBGridTotals* Totals() const;
    void SetTotals(TKelDBGridTotals* totals);
    // The rows of the totals band by kind, from the options, the columns
    // (the most value totals of any column) and the totals' link: with any
    // of them shown, a blank row comes first (it fills the space between
    // the data rows and the totals, which sit at the bottom edge).
    struct TTotalBand {
        int blank = 0;
        int header = 0;
        int values = 0;
        int fields = 0;
        int footer = 0;
        int Count() const { return blank + header + values + fields + footer; }
    };
    TTotalBand TotalBand() const;
    // The band's rows as laid out (the last TotalOffset grid rows).
    int TotalOffset() const;
    // The band row (0 = the first after the blank row) of a grid row, -1
    // for rows outside the band and for the blank row.
    int TotalRowOf(int row) const;

    // --- Options, colours and fonts ------------------------------------------------
    TKelDBGridOptions Options() const;
    void SetOptions(TKelDBGridOptions options);
    TKelDBGridOptionsEx OptionsEx() const;
    void SetOptionsEx(TKelDBGridOptionsEx options);
    TKelDBGridOptionsExt OptionsExt() const;
    void SetOptionsExt(TKelDBGridOptionsExt options);
    tk::TFont* TitleFont() const;
    void SetTitleFont(tk::TFont* font);
    tk::TFont* HeaderFont() const;
    void SetHeaderFont(tk::TFont* font);
    // The grid's default column width for columns without a field.
    using tk::TCustomGrid::DefaultColWidth;

    // --- Layout and update locks -------------------------------------------------
    void BeginLayout();
    // The outermost EndLayout lays out (also when the layout raises, the
    // locks are released). Without a BeginLayout it does nothing.
    void EndLayout();
    // Undoes one BeginLayout without laying out.
    void CancelLayout();
    // BeginLayout when no layout or update lock is held; returns whether.
    bool AcquireLayoutLock();
    // Lays out now unless a lock is held (then the holder lays out).
    virtual void LayoutChanged();
    void BeginUpdate();
    void EndUpdate();
    int UpdateLock() const;
    int LayoutLock() const;
    bool UpdateInProgress() const { return UpdateLock() > 0; }
    // Fires after each layout.
    std::function<void(TKelCustomDBGrid*)> OnLayout;

    // The grid's layout follows the dataset (set by the data link while it
    // forwards a layout change of the dataset).
    bool LayoutFromDataSet() const;
    void SetLayoutFromDataSet(bool on);
    // Width changes of columns made from the dataset write the field's
    // display width (on unless the grid itself copies widths back).
    bool UpdateFields() const;
    void SetUpdateFields(bool on);
    // Raised while the grid cancels an edit of its own, so the data link's
    // reactions know the change is the grid's.
    int ChangeLock() const;
    void BeginChange();
    void EndChange();

    // --- Text hooks --------------------------------------------------------------
    // The text a column shows (tkDisplay), edits (tkEdit) or reports
    // (tkReport) for text: auto-number columns show the row's number, pick
    // lists map stored values to their texts; then OnColGetText.
    virtual QString ColGetText(TKelColumn* column, const QString& text, TTextKind kind);
    // The value to store for a text the user typed: OnColSetText first, then
    // pick texts and indexes map back to stored values.
    virtual QString ColSetText(TKelColumn* column, const QString& text);
    TKelColGetTextEvent OnColGetText;
    TKelColSetTextEvent OnColSetText;
    // The active record's number as auto-number columns show it: its place
    // (from 1) in the dataset's order, -1 without an active link. While a
    // row paints, that row's.
    virtual int RecNumber() const;
    // Whether a column's field may be changed through the grid now.
    virtual bool CanColumnModify(TKelColumn* column);

    // --- Sort order (dbgridorder.cpp) -----------------------------------------------
    // The order fields text (orderfields.h) of the marked columns; with
    // default columns and no open dataset, the last order known.
    QString OrderFields() const;
    // Marks the columns the items name (any case; at most nine, the first
    // only under dgMarkerAutoSwitch); items naming no column are skipped.
    // With default columns and no open dataset the text is kept for the
    // next opening, where items naming no field are dropped with a beep.
    void SetOrderFields(const QString& orderFields);
    // The outermost EndOrderUpdate compares the order with the one at the
    // outermost BeginOrderUpdate; when it changed (and the grid is not
    // loading) it posts a pending edit, repaints and calls OrderChanged,
    // which under dgAutoUpdateOrder orders an open dataset (a closed one is
    // ordered when it opens) and otherwise raises OnOrderChanged.
    void BeginOrderUpdate();
    void EndOrderUpdate();
    int OrderUpdateLock() const;
    // Orders the dataset by the markers: with checkAutoUpdate only under
    // dgLoadCurrentOrder (which first marks the dataset's order) or
    // dgAutoUpdateOrder. Nothing while loading.
    void UpdateOrder(bool checkAutoUpdate);
    // Sets the markers without OrderChanged.
    void SetupOrderFields(const QString& orderFields);
    // Marks the dataset's current order.
    void SetupCurrentOrder();
    // Orders the dataset by orderFields (empty: the markers) through the
    // change-order registry; false without a dataset or an entry. A
    // failing reorder is undone (property restored, dataset reopened,
    // markers set to the order in effect) with a beep and is not passed on.
    // Items naming no column are dropped with a beep, never executed.
    virtual bool ChangeDataSetOrder(const QString& orderFields = QString());
    // The dataset's order as the registry reads it; empty without an entry.
    virtual QString CurrentDataSetOrder();
    // ";"-separated key fields that find the current record again after a
    // reorder.
    QString KeyFields() const;
    void SetKeyFields(const QString& keyFields);
    // The order changed and no strategy took it (or dgAutoUpdateOrder is
    // off); the dataset was reordered (also after a failed attempt).
    std::function<void(TKelCustomDBGrid*)> OnOrderChanged;
    std::function<void(TKelCustomDBGrid*)> OnOrderUpdated;

    // --- Selection (dbgridselect.cpp, dbgridselectrows.cpp) -------------------------
    // Rows are held as bookmarks in SelectedRows; columns as a range
    // (SelectionBegCol..SelectionEndCol, data column indexes, -1 unset) or
    // as the explicit list SelectedCols. The mode follows the range:
    // msRows under dgRowSelect; msCols while SelectionColumn; msRows
    // without a begin column; else msCells, msRows or msCols, the first
    // allowed; a mode not allowed is msNone.
    TKelBookmarkList* SelectedRows() const;
    TMultiSelection MultiSelect() const;
    // Accepts msRows (when allowed), msCols and msCells (when allowed and
    // not under dgRowSelect): clears the selection and, for msCols and
    // msCells, starts a range at the current column.
    void SetMultiSelect(TMultiSelection mode);
    TMultiSelectOptions MultiSelectOptions() const;
    // Clears the selection, runs the delayed work, takes the options.
    void SetMultiSelectOptions(TMultiSelectOptions options);
    // The first data column a column selection may take: 0 when msFixed is
    // allowed, else the fixed data columns.
    int SelectionOffset() const;
    int SelectionBegCol() const;
    void SetSelectionBegCol(int column);
    int SelectionEndCol() const;
    void SetSelectionEndCol(int column);
    bool SelectionColumn() const;
    void SetSelectionColumn(bool on);
    // Where a Shift range of rows starts; empty when unset.
    tk::TBookmark SelectionAnchor() const;
    void SetSelectionAnchor(const tk::TBookmark& anchor);
    bool RowsSelection() const;
    bool ColsSelection() const;
    bool RowsSelected() const;
    bool ColsSelected() const;
    bool MultiSelected() const { return RowsSelected() || ColsSelected(); }
    // The selected columns, built from the range when it is one.
    TKelColumnList* SelectedCols() const;
    // Whether the current record's cell of dataColumn is selected.
    bool IsCellMultiSelected(int dataColumn) const;
    bool IsColMultiSelected(int dataColumn) const;

    // Row operations; nothing without an active link. The single-row ones
    // act on the current record, the ranges on the records from the anchor
    // to the current one; the walks keep the current record and the screen.
    void SelectRow();
    void UnselectRow();
    void InvertRow();
    void SelectRows();
    void UnselectRows();
    void InvertRows();
    // Every record (rows selection) or every selectable column (columns).
    void SelectAll();
    // Rows or columns mode only; nothing in msCells or msNone.
    void InvertAll();
    void UnselectAll();
    void ClearSelection();
    // Calls proc for every cell of the scope: the selected cells (rows by
    // the bookmark list, columns by the selected columns) or the whole
    // dataset; fsAutoSelect is the selection when there is one.
    void ForEachDataCell(const std::function<void(TKelColumn*, TForEachCellFlags)>& proc,
                         TForEachCellScope scope = fsAutoSelect);

    // Batches: changes inside are announced once when the outermost batch
    // ends, after DelayInterval ms under dgDelaySelectedRows (a timer that
    // cannot run announces at once). CancelSelect ends a batch as EndSelect.
    void BeginSelect();
    void EndSelect();
    void CancelSelect();
    int SelectLock() const;
    // Runs a pending delayed announcement now.
    void PerformDelayedSelect();
    // Every change of the bookmark list: fires OnRowSelect and marks the
    // rows as changed in the batch.
    virtual void SelectionChanged(TSelectAction action);
    // The columns selection changed (the column list reports it).
    void SetColsChanged();
    // The announcements at the end of a batch (SelectedColsChanged is told
    // whether rows changed in the same batch): totals are recalculated or
    // repainted as the options say, then the events fire.
    virtual void SelectedRowsChanged();
    virtual void SelectedColsChanged(bool rowsChangedToo);
    TKelSelectionEvent OnRowSelect;
    std::function<void(TKelCustomDBGrid*)> OnSelectedRowsChanged;
    std::function<void(TKelCustomDBGrid*)> OnSelectedColsChanged;
    std::function<void(TKelCustomDBGrid*)> OnSelectionChanged;

    // --- Position bracket (dbgridposition.cpp) ----------------------------------------
    // Walks over the dataset keep the current record and its screen row:
    // the outermost DisablePosition remembers both and disables the
    // dataset's controls; the outermost EnablePosition goes back (to the
    // record current then with useCurrentRec) and enables them.
    void DisablePosition();
    void EnablePosition(bool useCurrentRec = false);
    bool PositionDisabled() const;
    // Puts the bookmark's record (empty: the current one) on buffer row
    // position (clamped); false without a bookmark or when the dataset
    // refuses it.
    bool GotoPosition(int position, const tk::TBookmark& bookmark = {});
    // The active record's row in the link's buffer; 0 while inactive.
    int Position() const;

    // --- Scrolling and positioning (dbgridscroll.cpp) ---------------------------------
    // The vertical bar follows the dataset, not the grid's rows: record
    // numbers where the dataset is sequenced, else five positions (first,
    // a page up, the middle, a page down, last). Bar actions, the wheel and
    // the mouse move the data link; the grid's rows stay where they are.
    //
    // Moves the current record to buffer row position of the link's window
    // (clamped to the window); nothing while the link is inactive.
    void SetPosition(int position);
    // Rows a wheel notch moves: 0 the system setting, -1 a page (the
    // buffer); values below -1 become -1.
    int WheelScrollRows() const;
    void SetWheelScrollRows(int rows);
    // WheelScrollRows resolved: at least 1.
    int MouseWheelScrollRows() const;
    // Moves the data link by count records (only with an active link);
    // under dgMultiSelect with rows selection the rows passed over are
    // selected towards the anchor and unselected back from it.
    void ScrollToRowBy(int count);
    // Scrolls so that the record under y (clamped into the window's rows;
    // a row cut by the bottom edge counts as the last) becomes current.
    void ScrollToRowAt(int x, int y);
    // A fully visible scrollable column under x becomes current (not under
    // dgRowSelect); a column range being selected follows it.
    void ScrollToColAt(int x, int y);
    // Both, in one select batch; with onlyChanged only the coordinates
    // that differ from the last call's.
    void ScrollToCellAt(int x, int y, bool onlyChanged);
    // LeftCol in data column numbers; setting it clamps to the scrollable
    // columns and re-lays out.
    int DataLeftCol() const;
    void SetDataLeftCol(int column);
    // Puts the dataset's position onto the vertical bar; nothing while the
    // link is inactive. Writes the bar only when a value differs.
    virtual void UpdateScrollBar();
    // OnColumnScroll(grid, data column): the first scrollable column changed.
    std::function<void(TKelCustomDBGrid*, int)> OnColumnScroll;
    // Goes to the record of that number (from 1): by the difference from
    // RecNumber under the grid's own sequence, else the dataset's RecNo.
    void SetRecNumber(int number);

protected:
    // Raised while the grid moves the dataset itself (a bar action adds
    // 1000 while it runs).
    int ScrollLock() const;
    // Bar actions move the dataset: lines go one record past the window's
    // edge, pages by the visible rows, the ends to the first and last
    // records, the thumb as the bar's model says (ThumbTrack only under
    // dgThumbTracking). The bar shows the dataset's position afterwards.
    void ScrollVertically(tk::TScrollCode code, int thumbPosition) override;
    // A notch moves MouseWheelScrollRows records (WheelMove). An inserted
    // record nobody changed stops the notch: down cancels it unless it is
    // the appended one at the end; up cancels it at the end and otherwise
    // scrolls. Nothing without an active link; always handled.
    bool DoMouseWheelDown(tk::TShiftState shift, const QPoint& mousePos) override;
    bool DoMouseWheelUp(tk::TShiftState shift, const QPoint& mousePos) override;
    // Moves distance records for the wheel; a double-buffered grid keeps
    // the current record on its screen row and moves the window instead.
    void WheelMove(int distance);
    // The horizontal part of TopLeftChanged: titles and totals repaint with
    // the data columns, OnColumnScroll when the left column changed.
    void ColumnsScrolled();
    // The bar's model: the grid's sequence, a sequenced dataset's numbers or
    // the five positions of an unsequenced one.
    TScrollModel ScrollModel() const;
    // Scroll's part for the forced sequence: the current record's number
    // follows the window's move and the active record's.
    void FollowSequence(int distance);
    // Asks a sequenced dataset for its count from the event loop.
    void CountLater();
    // At the first or the last record the forced sequence's number is
    // 1 or RecCount, however the grid got there.
    void PinSequenceAtEnds();

public:
    // --- Invalidation ---------------------------------------------------------------
    // Every data row; one grid row; the whole column (raw index).
    void InvalidateData();
    void InvalidateGridRow(int row);
    void InvalidateColumn(TKelColumn* column);
    // Requests for the work the grid runs at once or, when delayed, from
    // its timers: reloading list items (dbgridlistitems.cpp), sequence
    // numbers and totals (dbgridtotals.cpp). Every request is counted
    // (RequestCounts).
    virtual void UpdateListItems(bool checkAutoUpdate);
    virtual void UpdateSequence(bool checkAutoUpdate);
    virtual void UpdateTotals(bool checkAutoUpdate);
    // A change of the totals data: kind 1 the dataset, 3 a record's field.
    virtual void TotalsChanged(int kind, tk::TField* field);
    // "lists N, sequence N, totals N": the requests so far.
    QString RequestCounts() const;

    // --- Totals calculation (dbgridtotals.cpp) ---
    // The grid calculates its trCalcValue totals over its records (all of
    // them or the selected rows, as dgCalcWholeDataSet and
    // dgCalcSelectedRows say) and keeps the sequence numbers auto-number
    // columns show under dgForceSequence. Both run at once or, with
    // dgDelayUpdateTotals / dgDelayUpdateSequence, from a timer DelayInterval
    // after the last request. Walks restore the current record and its
    // screen row, also when a handler or the dataset raises (the error then
    // passes on).
    //
    // OnTotalCalcQuery(grid, dataset, accept): before each record is
    // counted; accept (true on entry) false skips the record.
    // OnTotalCalcValue(total, pass, value): in every pass of every total
    // taking part; the handler may seed (cpReset), change (cpCalcRec) or
    // replace (cpFinal) the value. OnTotalGetText(column, band row, text,
    // kind): the text of every total cell; the handler may change it.
    using TTotalCalcQueryEvent = std::function<void(TKelCustomDBGrid*, tk::TDataSet*, bool&)>;
    using TTotalCalcValueEvent = std::function<void(TKelColumnTotalValue*, TCalcPass, tk::Variant&)>;
    using TTotalGetTextEvent = std::function<void(TKelColumn*, int, QString&, TTextKind)>;
    TTotalCalcQueryEvent OnTotalCalcQuery;
    TTotalCalcValueEvent OnTotalCalcValue;
    TTotalGetTextEvent OnTotalGetText;
    // After every completed calculation; after the sequence walk.
    std::function<void(TKelCustomDBGrid*)> OnTotalsUpdated;
    std::function<void(TKelCustomDBGrid*)> OnSequenceUpdated;

    // Calculates now. Nothing while a calculation runs or while the
    // dataset is not browsing; with Totals.CalcValues off only the bands
    // are re-laid out (selected). selected: the run a settled selection
    // asks for (only the bands with their selected flag, over the selected
    // rows). Raises OnTotalsUpdated.
    virtual void UpdateCalcValues(bool selected);
    // The event dispatchers; without handlers: accept, value unchanged,
    // text unchanged, nothing.
    virtual bool TotalCalcQuery(tk::TDataSet* dataSet);
    virtual void TotalCalcValue(TKelColumnTotalValue* total, TCalcPass pass, tk::Variant& value);
    virtual void TotalGetText(TKelColumn* column, int index, QString& text, TTextKind kind);
    virtual void TotalsUpdated();
    // The text of the total cell of column in band row index (TotalRowOf):
    // empty without a column, a total there or for an invisible total; a
    // fields row shows its record of the totals link (empty while the link
    // is inactive). Then OnTotalGetText.
    virtual QString GetTotalText(TKelColumn* column, int index, TTextKind kind);

    // dgForceSequence with an active link: RecNumber and RecCount come from
    // the sequence walk instead of the dataset.
    bool ForcedSequence() const;
    // Walks to both ends of the dataset for the current record's place and
    // the record count (only with a forced sequence, while browsing, not
    // nested). Raises OnSequenceUpdated.
    virtual void UpdateSequenceValues();
    virtual void SequenceUpdated();
    // The record count auto-number columns count to: the sequence walk's
    // with a forced sequence, else the dataset's (0 without an active link).
    int RecCount() const;
    // Puts the dataset into browse mode (a pending edit is posted) and runs
    // the delayed work now: the selection announcement, the pick list
    // loading, the sequence and the totals. The grid runs it before it
    // inserts or appends a record and before MultiSelectOptions change.
    virtual void PerformDelayed();
    // Whether a delayed calculation or sequence walk is pending.
    bool TotalsPending() const;
    bool SequencePending() const;

    // --- Reactions to the data link (dbgridlinks.cpp) -------------------------------
    virtual void LinkActive(bool active);
    virtual void DataChanged();
    virtual void Scroll(int distance);
    virtual void EditingChanged();
    virtual void RecordChanged(tk::TField* field);
    virtual void UpdateData();
    // The field of the current column; setting it moves to the first column
    // bound to it.
    tk::TField* SelectedField() const;
    void SetSelectedField(tk::TField* field);
    // Takes the focus when the grid can; returns whether it has it.
    bool AcquireFocus();

    // The current column: its data column index (-1 on the indicator) and
    // the column; setting either moves there (MoveCol).
    int SelectedIndex() const;
    void SetSelectedIndex(int index);
    TKelColumn* SelectedColumn() const;
    void SetSelectedColumn(TKelColumn* column);
    // OnColEnter after the grid moved to another column (its IME applied
    // first); OnColExit before it leaves one.
    std::function<void(TKelCustomDBGrid*)> OnColEnter;
    std::function<void(TKelCustomDBGrid*)> OnColExit;
    // A data column's field and display text: nullptr and empty outside the
    // columns or while the link is inactive.
    tk::TField* ColField(int dataColumn) const;
    QString FieldValue(int dataColumn) const;
    // The data link's mapped fields; whether an index is mapped.
    int FieldCount() const;
    tk::TField* Fields(int index) const;
    bool ValidFieldIndex(int index) const;
    // Reads the dataset's records again (with an active link; a pending
    // edit is posted first) and finds the record again by KeyFields, on the
    // same screen row; the selection is cleared. A dataset that cannot be
    // read again raises and keeps its records.
    void RefreshDataSet();

protected:
    virtual void ColEnter();
    virtual void ColExit();
    // Focus leaves: the editor's pending change is written to the record,
    // or a freshly inserted record nobody changed is cancelled under
    // dgCancelOnExit. When that raises the grid takes the focus back and
    // the error passes on.
    void DoExit() override;
    // The IME follows the current column while the grid has the focus; on
    // leaving, the grid's IME is the screen's default again.
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    // A composition starting on the grid shows the editor.
    void inputMethodEvent(QInputMethodEvent* event) override;
    // The IME name and mode: the grid's own, replaced by the current
    // column's stored ones; the editor takes the same. UpdateIme puts the
    // mode onto the window.
    virtual void SetIme();
    virtual void UpdateIme();

private:
    void SaveOwnIme();
    // LinkActive's steps that run also when the layout raises.
    void LinkActiveSettled();
    // A data change of someone else's, while browsing: it asks for the
    // list items, the sequence and the totals.
    bool DataChangeAsksForUpdates() const;

public:

    // --- Data link and selected rows --------------------------------------------------
    // Deletes the selected records (what Ctrl+Delete runs), or the
    // current record when none is selected, after asking "Delete record?"
    // (fewer than two selected) or "Delete all selected records?" with OK
    // and Cancel when dgConfirmDelete is set. Does nothing and returns false
    // without an active link, for an empty dataset, a grid that is ReadOnly
    // or has dgAllowDeleteOff, a dataset that cannot be modified, or when
    // the user cancels; returns true once records were deleted. The
    // dataset's errors pass on (records deleted before stay deleted).
    bool DeleteSelectedRows();

    // --- Settings, style and scroll properties (dbgridstyle.cpp) ------------------
    // The owned parts; assigning copies into them.
    TKelDBGridSettings* Settings() const;
    void SetSettings(TKelDBGridSettings* settings);
    TKelGridStyle* GridStyle() const;
    void SetGridStyle(TKelGridStyle* style);
    TKelScrollProp* ScrollProp() const;
    void SetScrollProp(TKelScrollProp* scrollProp);
    // Text lines per data row. Negative values are ignored, 0 becomes 1,
    // the value is clamped into LinesCountMin..LinesCountMax (-1: no
    // upper limit other than MaxLinesCount). A change re-lays out and
    // refreshes the editor.
    int LinesCount() const;
    void SetLinesCount(int count);
    // Negative values are ignored, 0 becomes 1, at most LinesCountMax;
    // LinesCount rises to it.
    int LinesCountMin() const;
    void SetLinesCountMin(int count);
    // -1 (no limit) or at least LinesCountMin (below -1 ignored);
    // LinesCount falls to it.
    int LinesCountMax() const;
    void SetLinesCountMax(int count);
    // Stretch mode (dbgridstretch.cpp): while the link is active the
    // showing columns share the client width in proportion to their base
    // widths (the widths they had when it began, or were given since),
    // within their limits and StretchWidthMin/StretchWidthMax (-1: none);
    // when it ends each column gets its base width back.
    bool StretchMode() const;
    void SetStretchMode(bool on);
    int StretchWidthMin() const;
    void SetStretchWidthMin(int width);
    int StretchWidthMax() const;
    void SetStretchWidthMax(int width);
    bool StretchActive() const;
    // The grid is setting the stretched widths (a column's SetWidth then
    // leaves its base width alone).
    bool Stretching() const;
    void StretchGrid();
    // The showing columns' base widths together, and the width they share.
    int StretchBaseTotal() const;
    int StretchAvailableWidth() const;
    // A ScrollProp following the grid (ParentStyle) takes its style from
    // it; re-lays out.
    TFixedStyle FixedStyle() const;
    void SetFixedStyle(TFixedStyle style);
    // Leaving or entering ftNone re-applies a vsDefault GridStyle (the
    // theme decides its preset); re-lays out.
    TFixedTheme FixedTheme() const;
    void SetFixedTheme(TFixedTheme theme);
    // Themes are on for the grid and FixedTheme is not ftNone.
    bool IsGridThemed() const;
    // The height of "Wg" in the grid's font.
    int LineHeight() const;
    // The grid's flat-scroll-bar mode: its bars take ScrollProp's look
    // unless ScrollProp.WinXPMode or the bar is on the left.
    bool FlatSBMode() const;
    // The facade of the grid's own bar of that orientation.
    tk::TFlatScrollBar& FlatScrollBar(Qt::Orientation orientation) const;
    // Puts ScrollProp's AutoHidden and ThumbBar onto the bars again.
    void UpdateScrollBarRules();
    TKelDBGridLayoutEvent OnSettingsLayout;

    // --- Appearance (dbgridcolors.cpp) ---------------------------------------------
    // Colour properties may hold clDefault (paint the computed default, the
    // Default...Color below) or clNone (paint a fallback, as each says).
    // FixedColor also becomes FillerColor, HeaderColor and the totals'
    // colour, each unless it was set on its own before.
    void SetFixedColor(tk::TColor color);
    tk::TColor HeaderColor() const;
    void SetHeaderColor(tk::TColor color);
    tk::TColor FillerColor() const;
    void SetFillerColor(tk::TColor color);
    // Cells of the multi-selection (clNone: not marked), the current
    // record's other cells (clNone: not marked), the current cell while the
    // grid shows its selection (clNone: the column's colour and font).
    tk::TColor SelectionColor() const;
    void SetSelectionColor(tk::TColor color);
    tk::TColor SelectRowColor() const;
    void SetSelectRowColor(tk::TColor color);
    tk::TColor SelectCellColor() const;
    void SetSelectCellColor(tk::TColor color);
    // Odd data rows (clNone: no stripes).
    tk::TColor StripeColor() const;
    void SetStripeColor(tk::TColor color);
    tk::TColor EditorColor() const;
    void SetEditorColor(tk::TColor color);
    // The text colour of highlighted cells (clNone: the font's own).
    tk::TColor HighlightText() const;
    void SetHighlightText(tk::TColor color);
    // The lines between data cells: clDefault the grid's usual line,
    // clNone the cell's background colour.
    tk::TColor DataColLineColor() const;
    void SetDataColLineColor(tk::TColor color);
    tk::TColor DataRowLineColor() const;
    void SetDataRowLineColor(tk::TColor color);
    tk::TColor DefaultSelectionColor() const;
    tk::TColor DefaultSelectRowColor() const;
    tk::TColor DefaultSelectCellColor() const;
    tk::TColor DefaultHighlightText() const;
    tk::TColor DefaultEditorColor() const;
    tk::TColor DefaultStripeColor() const;
    tk::TColor DefaultDataLineColor() const;
    // The lines of the fixed cells, by the theme and FixedStyle.
    tk::TColor FixedLineColor() const;
    // The image of the top-left corner: 0 or more an image of TitleImages,
    // below -1 the indicator image -FillerIndex - 2 (-7: the large down
    // triangle), -1 none. FillerButton: the corner reacts as a button.
    int FillerIndex() const;
    void SetFillerIndex(int index);
    bool FillerButton() const;
    void SetFillerButton(bool on);
    THotButtonsStyle HotButtons() const;
    void SetHotButtons(THotButtonsStyle style);
    TListBorderStyle ListBorder() const;
    void SetListBorder(TListBorderStyle style);
    TFocusRectStyle FocusRect() const;
    void SetFocusRect(TFocusRectStyle style);
    TMarkerStyle MarkerStyle() const;
    void SetMarkerStyle(TMarkerStyle style);
    TMarkerTransparent MarkerTransparent() const;
    void SetMarkerTransparent(TMarkerTransparent transparent);
    // The automatic styles resolved by FixedStyle and the theme.
    THotButtonsStyle HotButtonsStyle() const;
    TFocusRectStyle FocusRectStyle() const;
    TListBorderStyle ListBorderStyle() const;
    TMarkerStyle ResolvedMarkerStyle() const;
    TCheckBoxStyle CheckBoxStyle(TCheckBoxStyle style) const;
    // Without roColumnResize also without roOptimalWidth and roDefaultWidth.
    TResizeOptions ResizeOptions() const;
    void SetResizeOptions(TResizeOptions options);
    // The gradient of the fixed cells (when no theme paints them); a change
    // re-lays out.
    TOrvGradientButton* Gradient() const;
    void SetGradient(TOrvGradientButton* gradient);
    // Image lists the grid paints with. Assigned lists are watched: a list
    // destroyed is forgotten. IndicatorImages and TitleMarkers replace the
    // built-in indicator and marker images.
    tk::TImageList* IndicatorImages() const;
    void SetIndicatorImages(tk::TImageList* images);
    tk::TImageList* TitleImages() const;
    void SetTitleImages(tk::TImageList* images);
    tk::TImageList* TitleMarkers() const;
    void SetTitleMarkers(tk::TImageList* images);
    // The lists in use: the assigned ones, else the built-in ones (20
    // indicator images of 16 x 16, 9 check boxes of 13 x 13, 20 markers of
    // 16 x 16 recoloured for the marker style).
    const tk::TImageList* IndicatorList() const;
    const tk::TImageList* CheckBoxList() const;
    const tk::TImageList* MarkerList() const;
    // Rebuilds the built-in markers when the resolved style or transparency
    // changed since they were last built.
    void RecreateMarkers();

    // --- Painting (dbgridpaint.cpp and the painters) ---------------------------------
    // Off: OnDrawColumnCell alone paints the data cells' content.
    bool DefaultDrawing() const;
    void SetDefaultDrawing(bool on);
    // The default content of a data cell (image, then text) for handlers of
    // OnDrawColumnCell, on the canvas as the caller left it.
    void DefaultDrawColumnCell(const QRect& rect, int dataColumn, TKelColumn* column, tk::TGridDrawState state);
    // field's display text with the field's alignment, centred vertically,
    // wrapped and cut with an ellipsis (nothing for nullptr).
    void DefaultDrawDataCell(const QRect& rect, tk::TField* field, tk::TGridDrawState state);
    TKelDrawColumnCellEvent OnDrawColumnCell;
    TKelDrawDataCellEvent OnDrawDataCell;
    TKelPaintColumnCellEvent OnPaintColumnCell;
    TKelCalcImageIndexEvent OnCalcImageIndex;
    // Where a data cell is being painted (raw column and row), -1 outside
    // painting.
    QPoint PaintCell() const;
    // Whether the grid draws enabled (the control and its parents are).
    bool DrawEnabled() const;

    // --- Title geometry (dbgridtitlerects.cpp) ----------------------------------------
    // The title cell of column's ancestor at depth, widened over the
    // columns that share that ancestor; a leaf title above the last title
    // row reaches down to it. titleColumn, when given, gets the ancestor.
    QRect CalcTitleRect(TKelColumn* column, int depth, TKelColumn** titleColumn = nullptr) const;
    // CalcTitleRect with the parts scrolled out or cut: the whole title as
    // it would be with every column shown.
    QRect FullTitleRect(TKelColumn* column, int depth, TKelColumn** titleColumn = nullptr) const;
    // Header row index of column's title inside titleRect, widened over the
    // titles that share it.
    QRect HeaderRect(TKelColumn* column, int index, const QRect& titleRect) const;
    // The header row of column's title at y (viewport), -1 outside them.
    int HeaderRow(int y, TKelColumn* column) const;
    // Viewport rectangles of the bands, empty when there are none.
    QRect TitlesRect() const;
    QRect TotalsRect() const;
    QRect DataRect() const;
    int TitleHeight() const;
    int TotalHeight() const;
    // The grid line width where dgColLines (dgRowLines) draws lines, else 0.
    int ColLineWidth() const;
    int RowLineWidth() const;

    // --- Invalidation (dbgridpaint.cpp) -----------------------------------------------
    void InvalidateTitles();
    void InvalidateTotals();
    void InvalidateCorner();
    void InvalidateBox(int left, int top, int right, int bottom);
    // The columns or rows an image tiled by drawMode moves with when the
    // grid scrolls (vertical: down the column).
    void InvalidateTile(TImageDraw drawMode, bool vertical);
    // Invalidation waits while the lock is held (a double-buffered grid
    // repaints anyway).
    void BeginInvalidate();
    void EndInvalidate();
    void Invalidate() override;

    // --- Keyboard and mouse (dbgridkeys.cpp, dbgridmouse.cpp) -----------------------------
    // Clicks: on a data cell (the column), a title (its column at the depth
    // clicked), a header row, the indicator, the corner, a total cell (the
    // band row below the blank row); a double click on a data cell.
    std::function<void(TKelCustomDBGrid*, TKelColumn*)> OnCellClick;
    std::function<void(TKelCustomDBGrid*, TKelColumn*)> OnCellDblClick;
    std::function<void(TKelCustomDBGrid*, TKelColumn*)> OnTitleClick;
    std::function<void(TKelCustomDBGrid*, TKelColumn*, int)> OnHeaderClick;
    std::function<void(TKelCustomDBGrid*)> OnIndicatorClick;
    std::function<void(TKelCustomDBGrid*)> OnFillerClick;
    std::function<void(TKelCustomDBGrid*, TKelColumn*, int)> OnTotalClick;
    // A title dragged to another place (data column indexes): OnColumnMoving
    // may refuse (accept false; a handler that raises refuses too), then
    // the column moves with its group and OnColumnMoved fires.
    std::function<void(TKelCustomDBGrid*, int, int, bool&)> OnColumnMoving;
    std::function<void(TKelCustomDBGrid*, int, int)> OnColumnMoved;
    // dgMultiSelect with dgExtendedSelect; dgRowSelect with dgRowScroll.
    bool ExtendedSelect() const;
    bool RowScroll() const;
    // Moves to raw column raw (limited to the scrollable columns), skipping
    // hidden columns in direction (+1, -1; 0: raw itself) after posting the
    // pending edit.
    void MoveCol(int raw, int direction);
    // The expand button of a title was clicked (ExpandStyle cesDropDown, or
    // cesDropDownMenu without a menu to show).
    std::function<void(TKelCustomDBGrid*, TKelColumn*)> OnExpandClick;
    // The menu of the corner (on a right click, and dropped down by a click
    // on the corner while FillerIndex is -7) and of the indicator cells of
    // the data rows; forgotten when freed.
    tk::TPopupMenu* FillerPopupMenu() const;
    void SetFillerPopupMenu(tk::TPopupMenu* menu);
    tk::TPopupMenu* IndicatorPopupMenu() const;
    void SetIndicatorPopupMenu(tk::TPopupMenu* menu);
    // A left press on a scrollable data cell starts dragging the records
    // (DragKind dkDrag): the multi-drag cursor when several are selected.
    bool DragRows() const;
    void SetDragRows(bool on);
    // Mouse scrolling is under way (dgMouseScrolling: a press held down),
    // and the interval of the scroll timer's next step (0: no step armed).
    bool ScrollTracking() const;
    int ScrollTimerInterval() const;
    // Ends the title, cell and scroll tracking at once (no click follows).
    void StopMouseTracking();

    // --- Linked grids (dbgridmaster.cpp) -------------------------------------------------
    // A grid with a master shows its columns as the master does: widths,
    // visibility and expanded states per column index, the indicator width,
    // the fixed columns, the reading order and the left column, kept in
    // step whichever grid of the ring changes. Setting a master switches
    // stretch mode off and customises both grids' columns; a chain that
    // leads back to this grid raises EInvalidGridOperation (circular data
    // link) and changes nothing.
    TKelCustomDBGrid* MasterGrid() const;
    void SetMasterGrid(TKelCustomDBGrid* master);
    // The next grid of the ring (nullptr outside one).
    TKelCustomDBGrid* ManagedGrid() const;
    // Copies this grid's shown layout onto the others of its ring.
    void Synchronize();

    // --- Sizing (dbgridlayout.cpp) ------------------------------------------------------
    // The user sized a column (the column) or the data rows.
    TKelColumnResizeEvent OnColumnResize;
    std::function<void(TKelCustomDBGrid*)> OnRowResize;
    // Lays out later: once, from the event loop, unless a layout ran first.
    void DeferLayout();
    bool LayoutDeferred() const;
    // A layout runs now: the queued deferred one is dropped.
    void ForgetDeferredLayout();

protected:
    // --- Settings, style and scroll properties (dbgridstyle.cpp) ------------------
    virtual TKelDBGridSettings* CreateSettings();
    virtual TKelGridStyle* CreateGridStyle();
    virtual TKelScrollProp* CreateScrollProp();
    // The vertical bar by ScrollProp: shown always unless AutoHidden names
    // it (then only when there is something to scroll), a proportional
    // thumb only when ThumbBar names it. The horizontal bar stays the
    // base's (shown when needed).
    void UpdateVerticalBar() override;
    // The bars start regular; in flat-scroll-bar mode they take
    // ScrollProp's look.
    void CreateWnd() override;
    // Data rows: RowLineWidth + LineHeight * LinesCount +
    // GridStyle.DataRowSpace (a layout step).
    void UpdateDefaultRowHeight();
    // The layout waiting for the first activation of the data link runs:
    // AutoLoadLayout when Settings are active, then the first record.
    void RunPendingLayoutLoad();

    // --- Data link and selected rows --------------------------------------------------
    // Rebuilds the data link's field map (a layout step): empty while the
    // link is inactive; with customised columns a sparse map of each
    // column's field name, else every visible field of the dataset by its
    // full name.
    virtual void DefineFieldMap();
    // The link shows the editor when it takes a focus request.
    friend class TKelGridDataLink;
    friend class TKelDBGridInplaceEdit;

    // --- Factories: descendants substitute their own classes ------------------------
    virtual TKelDBGridColumns* CreateColumns();
    virtual TKelGridDataLink* CreateDataLink();
    virtual TKelDBGridTotals* CreateTotals();
    // Made for the totals, which own it.
    virtual TKelTotalDataLink* CreateTotalDataLink();

    // Lays out the matrix from the columns, the link and the totals.
    virtual void InternalLayout();
    // The raw column widths from the columns' widths.
    void SetColumnAttributes();
    // Title rows: each row as high as the tallest title heading a group in
    // it, the last as high as the leaf titles need beyond the rows above
    // (TitleLinesCount lines of each title's font, the style's spacing, its
    // header rows); header rows of HeaderLinesCount lines of HeaderFont.
    void UpdateTitleRowHeights();
    // Begins or ends the stretching as the mode and the link say (a layout
    // step): at the start every column's base width is its true width.
    void UpdateStretchState();
    // The fixed data columns as the columns allow (a layout step).
    void UpdateFixedCols();
    int HeaderRowHeight() const;
    static int TextLineHeight(const tk::TFont* font);
    // The height of a total row, and the extra space the band's rows get.
    int TotalRowHeight() const;
    int TotalRowSpacing() const;
    // The data rows: as many records as fit the client area below the
    // titles, held by the data link's window.
    void UpdateDataRows();
    // --- Sort order (dbgridorder.cpp) -----------------------------------------------
    // Raise OnOrderChanged (after dgAutoUpdateOrder found no strategy) and
    // OnOrderUpdated.
    virtual void OrderChanged();
    virtual void OrderUpdated();
    // The three built-in strategies; propName empty means the default
    // property ("IndexFieldNames", "CommandText", "SQL").
    void ChangeIndexFields(const QString& orderFields, const QString& propName, const QString& suffix);
    void ChangeOrderFields(const QString& orderFields, const QString& propName);
    void ChangeSQLOrderFields(const QString& orderFields, const QString& propName);
    QString CurrentIndexFields(const QString& propName, const QString& suffix);
    QString CurrentOrderFields(const QString& propName);
    QString CurrentSQLOrderFields(const QString& propName);

    // --- Painting (dbgridpaint.cpp) -------------------------------------------------------
    // Paints one cell of the matrix: the corner, an indicator cell, a title,
    // a data cell, the blank row or a total cell.
    void DrawCell(int col, int row, const QRect& rect, tk::TGridDrawState state) override;
    // A data cell is highlighted (painted in the selection colours): the
    // current cell, or a cell of the multi-selection.
    virtual bool HighlightCell(int dataColumn, int dataRow, const QString& value, tk::TGridDrawState state);
    // OnCalcImageIndex; a handler that raises gives -1 (no image).
    virtual void CalcImageIndex(TKelColumn* column, int& index);
    virtual void PaintColumnCell(const QRect& rect, int dataColumn, TKelColumn* column, bool highlight,
                                 TSelection selection, tk::TColor& color, tk::TFont* font, QImage& image);
    virtual void DrawColumnCell(const QRect& rect, int dataColumn, TKelColumn* column, tk::TGridDrawState state);
    virtual void DrawDataCell(const QRect& rect, tk::TField* field, tk::TGridDrawState state);
    // The base's lines: the fixed ones by style, the data ones by
    // DataColLineColor and DataRowLineColor.
    tk::TColor GridLineColor(int col, int row, bool vertical) const override;
    // Sizing: the widths the user gave go into the columns, the rows' into
    // LinesCount.
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;
    // The left column of linked grids follows.
    void TopLeftChanged() override;
    void ReportColumnResize();
    // --- Keyboard and mouse (dbgridkeys.cpp, dbgridmouse.cpp)
    void KeyDown(int& key, tk::TShiftState shift) override;
    void KeyPress(QChar& key) override;
    void KeyUp(int& key, tk::TShiftState shift) override;
    void MouseDown(tk::TMouseButton button, tk::TShiftState shift, int x, int y) override;
    // Hot title buttons follow the mouse; a pressed title shows pressed
    // while the mouse stays on it.
    void MouseMove(tk::TShiftState shift, int x, int y) override;
    void leaveEvent(QEvent* event) override;
    // Ends a press: the click events by where it ends; a column sizing is
    // reported (OnColumnResize for the column sized last).
    void MouseUp(tk::TMouseButton button, tk::TShiftState shift, int x, int y) override;
    // A column border sizes only with roColumnResize, on the title row of
    // the column's depth or below and outside its header rows (that column
    // becomes the sizing column); the rows of the totals band do not size.
    void CalcSizingState(int x, int y, tk::TGridState& state, int& index, int& sizingPos,
                         int& sizingOfs) override;
    // Up and down move the data link by the window's rows; left and right
    // are the base's.
    void TimedScroll(tk::TGridScrollDirections directions) override;
    // Cancel mode (a menu or a modal window opening, the application
    // deactivated) and the focus leaving for another window's widget
    // (focusOutEvent, dbgridfocus.cpp) stop every tracking.
    void CancelMode() override;
    // The context menu by the area under the mouse (dbgridmenus.cpp).
    void DoContextPopup(const QPoint& mousePos, bool& handled) override;
    virtual void CellDblClick(TKelColumn* column);
    // By the column's ExpandStyle: cesAuto toggles Expanded, cesDropDownMenu
    // drops the title's menu (OnExpandClick when none showed), cesDropDown
    // fires OnExpandClick.
    virtual void ExpandClick(TKelColumn* column);
    // Column moving (dbgridmove.cpp).
    bool BeginColumnDrag(int& origin, int& destination, const QPoint& mousePoint) override;
    bool CheckColumnDrag(int& origin, int& destination, const QPoint& mousePoint) override;
    bool EndColumnDrag(int& origin, int& destination, const QPoint& mousePoint) override;
    void ColumnMoved(int from, int to) override;
    virtual bool ColumnMoving(int fromIndex, int toIndex);
    // A check box column toggles its value first (ctOnCellClick).
    virtual void CellClick(TKelColumn* column);
    virtual void TitleClick(TKelColumn* column);
    virtual void HeaderClick(TKelColumn* column, int index);
    virtual void IndicatorClick();
    virtual void FillerClick();
    virtual void TotalClick(TKelColumn* column, int index);
    // The base's current row follows the data link's active record.
    void UpdateActive();
    virtual TOrvGradientButton* CreateGradient();
    void Notification(tk::TComponentCore* component, tk::TOperation operation) override;
    bool event(QEvent* event) override;

    void Loaded() override;
    // The grid's font reaches the columns, titles and totals that follow
    // it; with ParentFont the parent's font also becomes the title, header
    // and totals font. A title or header font set from outside switches
    // ParentFont off. Each re-lays out (row heights follow the fonts).
    void FontChanged() override;
    void ParentFontChanged() override;
    void TitleFontChanged();
    // Form streaming (dbgridstream.cpp): "Columns" while customised and
    // "OrderFields" while there is an order.
    void DefineProperties(tk::TFiler& filer) override;
    // A new height fits another number of records.
    void resizeEvent(QResizeEvent* event) override;

    TKelCustomDBGridPrivate* d() const { return d_.get(); }

    // --- Hints and tooltips (dbgridhints.cpp) ------------------------------------------
public:
    // What the grid's hints are for and which show (gridenums.h); default
    // hoTitleHints, hoShowTitleHints, hoEditorHints, hoShowToolTips,
    // hoShowTotalToolTips. The grid's own Hint is its main hint: shown
    // where no cell hint applies.
    TKelHintOptions HintOptions() const;
    void SetHintOptions(TKelHintOptions options);
    // The hints of the top-left corner (hcFiller) and of the indicator cells
    // of the data and total rows.
    QString FillerHint() const;
    void SetFillerHint(const QString& hint);
    QString IndicatorHint() const;
    void SetIndicatorHint(const QString& hint);
    // Fires OnCellHint; a handler that raises empties the text. The
    // in-place editor asks it for its hcEditor texts.
    virtual void CellHint(TKelColumn* column, int index, THintCell cell, QString& hint);
    TKelCellHintEvent OnCellHint;
    // The hint engine's query (see dbgridhints.cpp for the order in which
    // the sources are tried): the cell under the mouse gives a tooltip in a
    // TKelHintWindow laid over it, a title, data or total hint, the main
    // hint, or none (a non-zero result).
    int CMHintShow(tk::THintInfo& info) override;
    // After a tooltip the next hint waits the short pause, after a hint the
    // normal one; otherwise the engine's pause stands.
    void CMHintShowPause(bool hintWasActive, int& pause) override;
    // A key or a mouse press: the next pause is the engine's again.
    void ResetHintPause();

private:
    // One run of CMHintShow (defined in dbgridhints.cpp).
    struct THintQuery;
    enum class THintStep;
    struct TToolTipLayout;
    THintStep TotalToolTipSource(THintQuery& query);
    THintStep TotalHintSource(THintQuery& query);
    THintStep TitleHintSource(THintQuery& query);
    THintStep DataToolTipSource(THintQuery& query);
    THintStep DataHintSource(THintQuery& query);
    // Outside the total cells: the totals band's rows cancel, the rest
    // stops at the band unless onward.
    THintStep BeyondTotals(THintQuery& query, bool onward);
    // A cell hint: text through CellHint, shown over cursorRect when show
    // is on.
    THintStep CellHintStep(THintQuery& query, TKelColumn* column, int index, THintCell cell, QString text,
                           const QRect& cursorRect, bool show);
    THintStep DataToolTip(THintQuery& query);
    THintStep TotalToolTip(THintQuery& query);
    // The tooltip of text laid over a cell, unless the text fits the cell.
    THintStep ToolTipStep(THintQuery& query, const QString& text, const TToolTipLayout& layout);
    // The display text of column in data row dataRow, read with the data
    // link moved to that row and back; empty outside the records and, unless
    // withGraphics, for cells that show a picture instead.
    QString DataCellText(TKelColumn* column, int dataRow, bool withGraphics);
    // rect with the grid lines right of and below it.
    QRect WithLines(const QRect& rect) const;

    // --- Clipboard (dbgridclipboard.cpp) ------------------------------------------------
public:
    // Puts the selected cells on the clipboard as tab-separated text, one
    // line per record, every line ended by CR LF (Ctrl+C and Ctrl+Insert
    // run it under dgExtendedSelect). A shown column gives its edit text
    // (the auto-number column the row's number in the copy), a hidden one
    // nothing; a text holding a line break, a tab or a double quote is
    // written in double quotes with its quotes doubled, so spreadsheets
    // read the rows back as they were. Nothing is copied when nothing is
    // selected.
    void CopyToClipboard();

protected:
    // One cell of CopyToClipboard's walk: the first row starts the text,
    // the first column a line, the last column ends the line, and the last
    // column of the last row puts the text on the clipboard.
    virtual void DoCopyToClipboard(TKelColumn* column, TForEachCellFlags flags);

private:
    // The copy being built: the text so far, the row counter the
    // auto-number column shows, and whether the current line has a shown
    // cell yet (tabs go between shown cells).
    QString copyText_;
    int copyRow_ = 0;
    bool copyLineStarted_ = false;

    // --- Pick list loading (dbgridlistitems.cpp) ----------------------------------------
public:
    // The columns whose pick lists load from the data: poAutoLoadList on a
    // field whose values are texts (not a byte, blob, memo, graphic, OLE,
    // cursor, object, array, reference or dataset field). With a list they
    // are appended to it; the result is whether there is any.
    bool AutoLoadListPresent(QList<TKelColumn*>* list = nullptr) const;
    // Fills the pick list of every loading column with the distinct,
    // non-empty edit texts of its field over every record, sorted (added
    // to the list's entries under poAppendToList, else replacing them).
    // Not re-entrant; only while the dataset browses or the link is
    // inactive (then the lists are only cleared). The current record and
    // its screen row come back, also when the walk fails. Then
    // ListItemsUpdated.
    virtual void LoadListItems();
    // The loader timer's work: frees the timer and loads.
    void DelayUpdateListItems();
    // Whether a delayed load is pending; whether a load runs.
    bool ListItemsPending() const;
    bool ListItemsLoading() const;
    // After every load: fires OnListItemsUpdated.
    virtual void ListItemsUpdated();
    std::function<void(TKelCustomDBGrid*)> OnListItemsUpdated;

    // --- Nested datasets (dbgridnested.cpp) ---------------------------------------------
public:
    // For a column of a dataset field: shows its nested dataset in a grid of
    // this grid's class floating in a tool window owned by this grid (the
    // platform has no docking, so the window only floats). A grid already
    // made for that dataset, enabled and not hidden, is shown again and
    // focused instead. A new one copies this grid's appearance (Options
    // without dgTitleButtons and dgMarkerAutoToggle, FillerIndex -1, the
    // columns' state, the first column expanded) and its window, titled with
    // the field's display name, goes to the screen position of the current
    // cell or to x, y when both are given (INT_MIN: none). Its client width is
    // the nested grid's full column width when less than half the screen's,
    // else a quarter of the screen width; its height a quarter of the
    // screen's. A failure frees the new grid and window and raises on.
    virtual void ShowPopupEditor(TKelColumn* column, int x = INT_MIN, int y = INT_MIN);

protected:
    // The grid ShowPopupEditor puts in the window: a new grid of this grid's
    // class, made through its invokable constructor with parent (raises
    // EInvalidGridOperation for a class without one).
    virtual TKelCustomDBGrid* CreateNestedGrid(QWidget* parent);


    // --- Editor hosting (dbgrideditor.cpp) ----------------------------------------------
public:
    // The in-place editor's button and popup for column by its ButtonStyle
    // (cbsAuto looks at the field: lookups, pick lists, dates, nested
    // datasets); dataEditor gets the popup of an esPickList editor.
    virtual TKelEditStyle GetEditStyle(TKelColumn* column, TKelDataEditor& dataEditor);
    // The editor's button (esEllipsis, esDropDown): OnEditButtonClick, else
    // the selected column's popup editor (a nested dataset's grid).
    virtual void EditButtonClick();
    // Drops menu (or, without one, the column's or its title's drop-down
    // menu; the filler's or the indicator's without a column) below the
    // cell or title at DropDownPoint; whether a menu was shown.
    bool DropDownMenu(TKelColumn* column, bool title, tk::TPopupMenu* menu = nullptr);
    // Screen point under the column's title (title) or its cell in the
    // current row, where drop-down menus and lists open.
    QPoint DropDownPoint(TKelColumn* column, bool title) const;
    // Before a popup list of the editor shows, and when it closes (the
    // handler may change the value and refuse it).
    virtual void ListDropDown(QWidget* list);
    virtual void ListCloseUp(QWidget* list, tk::Variant& value, bool& accept);
    // The mouse note the editor's automatic drop-down uses: -2 on every
    // press, -1 once the press selects a cell, -3 on release (a note still
    // at -2 becomes the current cell).
    void AutoDropDownState(int state);
    // The editor's pending text; written to the field by UpdateData.
    QString EditText() const;

    std::function<void(TKelCustomDBGrid*)> OnEditButtonClick;
    // The calendar popup asks which days to show bold: (calendar, day,
    // bold), once per day of each month it shows.
    std::function<void(QObject*, tk::TDateTime, bool&)> OnCalcBoldDays;
    std::function<void(TKelCustomDBGrid*, TKelColumn*, QWidget*)> OnListDropDown;
    std::function<void(TKelCustomDBGrid*, TKelColumn*, QWidget*, tk::Variant&, bool&)> OnListCloseUp;

protected:
    tk::TInplaceEdit* CreateEditor() override;
    bool CanEditShow() override;
    // Puts the link into edit and marks the editor's change (the editor
    // asks before its text changes).
    bool CanEditModify() override;
    bool CanEditAcceptKey(QChar key) override;
    QString GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const QString& value) override;
    int GetEditLimit() override;
    QString GetEditMask(int col, int row) override;

private:
    friend class TKelDBGridTotals;
    friend class TKelDBGridColumns;
    friend class TKelCellPainter;

    // --- Columns (column model) ----------------------------------------------------
    // Layout steps of the columns (dbgridlayout.cpp): dataset-made columns
    // mixed in before a stored one go; then the default columns follow the
    // dataset's visible fields (customised columns look their fields up
    // again by name).
    void DropMixedDefaultColumns();
    // The base's options from Options.
    void ApplyGridOptions();
    // --- Keyboard and mouse
    enum class THitArea { None, Filler, Title, Indicator, Data, Blank, Total };
    struct THit {
        THitArea area = THitArea::None;
        int col = -1;
        int row = -1;
        TKelColumn* column = nullptr;  // a title's: the title's column
        int headerRow = -1;
        int totalRow = -1;
    };
    THit HitAt(int x, int y) const;
    QPoint HotButtonAt(const THit& hit, int x, int y) const;
    bool StartsColumnMove(const QPoint& at) const;
    void SetHotCell(const QPoint& cell);
    void PressOnData(const THit& hit, tk::TMouseButton button, tk::TShiftState shift);
    // A left press on a title selects columns (msCols allowed): a new
    // selection of the title's columns, or with Shift in columns mode the
    // range's end.
    void PressOnTitle(const THit& hit, tk::TShiftState shift);
    // A pressed title dragged sideways or below the titles under
    // dgMultiSelect with msCols allowed.
    bool StartsColumnsSelection(int x, int y) const;
    // The expand button of the title hit (empty without one) and whether
    // (x, y) is on it.
    QRect ExpandButtonRect(const THit& hit) const;
    bool OnExpandButton(const THit& hit, int x, int y) const;
    // A title, or the corner, that reacts as a button under dgTitleButtons.
    bool IsTitleButton(const THit& hit, int x, int y) const;
    void TrackButton(const THit& hit, int x, int y);
    void TrackCell(int x, int y);
    void StopButtonTracking();
    void StopCellTracking();
    void SetHotDataCell(const QPoint& cell);
    void SetExpandTracked(bool on);
    void StartScrollTracking(int x, int y);
    void TrackScrolling(int x, int y);
    void StartScrollTimer();
    bool StopScrollTracking(int x, int y, bool scrollToPoint);
    void FollowMouse(const THit& hit, int x, int y);
    // The title's drop-down menu under the title (the corner's under the
    // corner): true when a menu showed.
    bool DropTitleMenu(const THit& hit, tk::TPopupMenu* menu);
    void CancelMouseModes();
    bool SizingBorderAt(int x, int y, tk::TGridState& state, int& index);
    void AutoUnselect();
    bool CanAppend() const;
    bool CancelUnchangedInsert();
    void SelectionAwareMove(int distance, tk::TShiftState shift);
    void SelectionAwareColMove(int raw, int direction, tk::TShiftState shift);
    void ExtendSelectionBy(int distance, bool toEnd);
    void MoveDown(tk::TShiftState shift);
    void MoveUp(tk::TShiftState shift);
    int NextColumn(int raw, int step) const;
    void TabToColumn(int step);
    void ScrollRowsHorizontally(tk::TScrollCode code);
    bool IsTabStop(int raw) const;
    int VisibleDataRows() const;
    // --- Linked grids
    void LeaveRing();
    void CopyShownLayout(const TKelCustomDBGrid& source);
    void CopyShownColumns(const TKelCustomDBGrid& source);
    bool ShowsLayoutOf(const TKelCustomDBGrid& source) const;
    void RebuildDefaultColumns();
    // --- Sort order (dbgridorder.cpp) -----------------------------------------------
    // The link opened: mark or apply the last order as the options say.
    void ApplyOrderOnActivation();
    // --- Selection ---------------------------------------------------------------
    // The column range changed: the selected columns follow it again.
    void ColumnRangeChanged();
    // The items of orderFields that name a column, by the column's field
    // name; a beep when some were dropped.
    QString CheckedOrderFields(const QString& orderFields);
    // Runs apply (after closing the dataset when closeFirst) and reopens
    // it, keeping the current record by KeyFields; the markers then show
    // appliedOrder. When it fails, restore runs, the dataset is reopened
    // when it had been open, the markers show restoredOrder and the grid
    // beeps. Ends in OrderUpdated.
    void Reorder(const std::function<void()>& apply, const std::function<void()>& restore,
                 const QString& appliedOrder, const QString& restoredOrder, bool closeFirst);

    std::unique_ptr<TKelCustomDBGridPrivate> d_;
};

// The grid with its properties published.
class KELGRID_EXPORT TKelDBGrid : public TKelCustomDBGrid {
    Q_OBJECT
    Q_PROPERTY(tk::TDataSource* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(kelgrid::TKelDBGridColumns* Columns READ Columns WRITE SetColumns STORED false)
    Q_PROPERTY(kelgrid::TKelGridEnums::TKelDBGridOptions Options READ Options WRITE SetOptions)
    TK_QT_SETTER(Options, kelgrid::TKelGridEnums::TKelDBGridOptions)
    Q_PROPERTY(kelgrid::TKelGridEnums::TKelDBGridOptionsEx OptionsEx READ OptionsEx WRITE SetOptionsEx)
    TK_QT_SETTER(OptionsEx, kelgrid::TKelGridEnums::TKelDBGridOptionsEx)
    Q_PROPERTY(kelgrid::TKelGridEnums::TKelDBGridOptionsExt OptionsExt READ OptionsExt WRITE SetOptionsExt)
    TK_QT_SETTER(OptionsExt, kelgrid::TKelGridEnums::TKelDBGridOptionsExt)
    Q_PROPERTY(int FixedCols READ FixedCols WRITE SetFixedCols)
    TK_QT_SETTER(FixedCols, int)
    Q_PROPERTY(int HeaderLinesCount READ HeaderLinesCount WRITE SetHeaderLinesCount)
    TK_QT_SETTER(HeaderLinesCount, int)
    Q_PROPERTY(int IndicatorWidth READ IndicatorWidth WRITE SetIndicatorWidth)
    TK_QT_SETTER(IndicatorWidth, int)
    Q_PROPERTY(int TitleLinesCount READ TitleLinesCount WRITE SetTitleLinesCount)
    TK_QT_SETTER(TitleLinesCount, int)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    TK_QT_SETTER(ReadOnly, bool)
    Q_PROPERTY(kelgrid::TKelDBGridTotals* Totals READ Totals WRITE SetTotals)
    Q_PROPERTY(tk::TFont* TitleFont READ TitleFont WRITE SetTitleFont)
    Q_PROPERTY(tk::TFont* HeaderFont READ HeaderFont WRITE SetHeaderFont)
    Q_CLASSINFO("Default:FixedCols", "0")
    Q_CLASSINFO("Default:HeaderLinesCount", "1")
    Q_CLASSINFO("Default:IndicatorWidth", "20")
    Q_CLASSINFO("Default:TitleLinesCount", "1")
    // --- Settings, style and scroll properties
    Q_MOC_INCLUDE("kelgrid/grid/gridstyle.h")
    Q_MOC_INCLUDE("kelgrid/grid/scrollprop.h")
    Q_MOC_INCLUDE("kelgrid/grid/settings.h")
    Q_PROPERTY(kelgrid::TKelGridEnums::TFixedStyle FixedStyle READ FixedStyle WRITE SetFixedStyle)
    TK_QT_SETTER(FixedStyle, kelgrid::TKelGridEnums::TFixedStyle)
    Q_PROPERTY(kelgrid::TKelGridEnums::TFixedTheme FixedTheme READ FixedTheme WRITE SetFixedTheme)
    TK_QT_SETTER(FixedTheme, kelgrid::TKelGridEnums::TFixedTheme)
    Q_PROPERTY(kelgrid::TKelGridStyle* GridStyle READ GridStyle WRITE SetGridStyle)
    Q_PROPERTY(int LinesCount READ LinesCount WRITE SetLinesCount)
    TK_QT_SETTER(LinesCount, int)
    Q_PROPERTY(int LinesCountMax READ LinesCountMax WRITE SetLinesCountMax)
    TK_QT_SETTER(LinesCountMax, int)
    Q_PROPERTY(int LinesCountMin READ LinesCountMin WRITE SetLinesCountMin)
    TK_QT_SETTER(LinesCountMin, int)
    Q_PROPERTY(kelgrid::TKelScrollProp* ScrollProp READ ScrollProp WRITE SetScrollProp)
    Q_PROPERTY(kelgrid::TKelDBGridSettings* Settings READ Settings WRITE SetSettings)
    Q_PROPERTY(bool StretchMode READ StretchMode WRITE SetStretchMode)
    TK_QT_SETTER(StretchMode, bool)
    Q_PROPERTY(int StretchWidthMax READ StretchWidthMax WRITE SetStretchWidthMax)
    TK_QT_SETTER(StretchWidthMax, int)
    Q_PROPERTY(int StretchWidthMin READ StretchWidthMin WRITE SetStretchWidthMin)
    TK_QT_SETTER(StretchWidthMin, int)
    Q_CLASSINFO("Default:FixedStyle", "fsDefault")
    Q_CLASSINFO("Default:FixedTheme", "ftDefault")
    Q_CLASSINFO("Default:LinesCount", "1")
    Q_CLASSINFO("Default:LinesCountMax", "-1")
    Q_CLASSINFO("Default:LinesCountMin", "1")
    Q_CLASSINFO("Default:StretchMode", "False")
    Q_CLASSINFO("Default:StretchWidthMax", "-1")
    Q_CLASSINFO("Default:StretchWidthMin", "-1")
    Q_CLASSINFO("Default:ReadOnly", "False")
    // --- Appearance
    Q_MOC_INCLUDE("kelgrid/controls/gradient.h")
    Q_MOC_INCLUDE("toolkit/ui/imagelist.h")
    Q_PROPERTY(tk::TColor FixedColor READ FixedColor WRITE SetFixedColor)
    Q_PROPERTY(tk::TColor HeaderColor READ HeaderColor WRITE SetHeaderColor)
    Q_PROPERTY(tk::TColor FillerColor READ FillerColor WRITE SetFillerColor)
    Q_PROPERTY(tk::TColor SelectionColor READ SelectionColor WRITE SetSelectionColor)
    Q_PROPERTY(tk::TColor SelectRowColor READ SelectRowColor WRITE SetSelectRowColor)
    Q_PROPERTY(tk::TColor SelectCellColor READ SelectCellColor WRITE SetSelectCellColor)
    Q_PROPERTY(tk::TColor StripeColor READ StripeColor WRITE SetStripeColor)
    Q_PROPERTY(tk::TColor EditorColor READ EditorColor WRITE SetEditorColor)
    Q_PROPERTY(tk::TColor HighlightText READ HighlightText WRITE SetHighlightText)
    Q_PROPERTY(tk::TColor DataColLineColor READ DataColLineColor WRITE SetDataColLineColor)
    Q_PROPERTY(tk::TColor DataRowLineColor READ DataRowLineColor WRITE SetDataRowLineColor)
    Q_PROPERTY(int FillerIndex READ FillerIndex WRITE SetFillerIndex)
    TK_QT_SETTER(FillerIndex, int)
    Q_PROPERTY(bool FillerButton READ FillerButton WRITE SetFillerButton)
    TK_QT_SETTER(FillerButton, bool)
    Q_PROPERTY(kelgrid::TKelGridEnums::THotButtonsStyle HotButtons READ HotButtons WRITE SetHotButtons)
    TK_QT_SETTER(HotButtons, kelgrid::TKelGridEnums::THotButtonsStyle)
    Q_PROPERTY(kelgrid::TKelGridEnums::TListBorderStyle ListBorder READ ListBorder WRITE SetListBorder)
    TK_QT_SETTER(ListBorder, kelgrid::TKelGridEnums::TListBorderStyle)
    Q_PROPERTY(kelgrid::TKelGridEnums::TFocusRectStyle FocusRect READ FocusRect WRITE SetFocusRect)
    TK_QT_SETTER(FocusRect, kelgrid::TKelGridEnums::TFocusRectStyle)
    Q_PROPERTY(kelgrid::TKelGridEnums::TMarkerStyle MarkerStyle READ MarkerStyle WRITE SetMarkerStyle)
    TK_QT_SETTER(MarkerStyle, kelgrid::TKelGridEnums::TMarkerStyle)
    Q_PROPERTY(kelgrid::TKelGridEnums::TMarkerTransparent MarkerTransparent READ MarkerTransparent WRITE
                   SetMarkerTransparent)
    TK_QT_SETTER(MarkerTransparent, kelgrid::TKelGridEnums::TMarkerTransparent)
    Q_PROPERTY(kelgrid::TKelGridEnums::TResizeOptions ResizeOptions READ ResizeOptions WRITE SetResizeOptions)
    TK_QT_SETTER(ResizeOptions, kelgrid::TKelGridEnums::TResizeOptions)
    Q_PROPERTY(bool DefaultDrawing READ DefaultDrawing WRITE SetDefaultDrawing)
    TK_QT_SETTER(DefaultDrawing, bool)
    Q_PROPERTY(kelgrid::TOrvGradientButton* Gradient READ Gradient WRITE SetGradient)
    Q_PROPERTY(tk::TImageList* IndicatorImages READ IndicatorImages WRITE SetIndicatorImages)
    Q_PROPERTY(tk::TImageList* TitleImages READ TitleImages WRITE SetTitleImages)
    Q_PROPERTY(tk::TImageList* TitleMarkers READ TitleMarkers WRITE SetTitleMarkers)
    Q_PROPERTY(kelgrid::TKelCustomDBGrid* MasterGrid READ MasterGrid WRITE SetMasterGrid)
    Q_PROPERTY(int WheelScrollRows READ WheelScrollRows WRITE SetWheelScrollRows)
    TK_QT_SETTER(WheelScrollRows, int)
    Q_CLASSINFO("Default:WheelScrollRows", "0")
    Q_CLASSINFO("Default:SelectionColor", "clDefault")
    Q_CLASSINFO("Default:SelectRowColor", "clDefault")
    Q_CLASSINFO("Default:SelectCellColor", "clDefault")
    Q_CLASSINFO("Default:StripeColor", "clNone")
    Q_CLASSINFO("Default:EditorColor", "clNone")
    Q_CLASSINFO("Default:HighlightText", "clDefault")
    Q_CLASSINFO("Default:DataColLineColor", "clDefault")
    Q_CLASSINFO("Default:DataRowLineColor", "clDefault")
    Q_CLASSINFO("Default:FillerIndex", "-7")
    Q_CLASSINFO("Default:FillerButton", "True")
    Q_CLASSINFO("Default:HotButtons", "hbAuto")
    Q_CLASSINFO("Default:ListBorder", "lbAuto")
    Q_CLASSINFO("Default:FocusRect", "frAuto")
    Q_CLASSINFO("Default:MarkerStyle", "msAuto")
    Q_CLASSINFO("Default:MarkerTransparent", "mtAuto")
    Q_CLASSINFO("Default:ResizeOptions", "[roColumnResize,roOptimalWidth,roDefaultWidth,roColumnMoving]")
    Q_CLASSINFO("Default:DefaultDrawing", "True")
    // --- Mouse and menus
    Q_MOC_INCLUDE("toolkit/ui/popupmenu.h")
    Q_PROPERTY(tk::TPopupMenu* FillerPopupMenu READ FillerPopupMenu WRITE SetFillerPopupMenu)
    Q_PROPERTY(tk::TPopupMenu* IndicatorPopupMenu READ IndicatorPopupMenu WRITE SetIndicatorPopupMenu)
    Q_PROPERTY(bool DragRows READ DragRows WRITE SetDragRows)
    TK_QT_SETTER(DragRows, bool)
    Q_CLASSINFO("Default:DragRows", "False")
    // --- Hints and tooltips
    Q_PROPERTY(kelgrid::TKelGridEnums::TKelHintOptions HintOptions READ HintOptions WRITE SetHintOptions)
    TK_QT_SETTER(HintOptions, kelgrid::TKelGridEnums::TKelHintOptions)
    Q_PROPERTY(QString FillerHint READ FillerHint WRITE SetFillerHint)
    TK_QT_SETTER(FillerHint, const QString&)
    Q_PROPERTY(QString IndicatorHint READ IndicatorHint WRITE SetIndicatorHint)
    TK_QT_SETTER(IndicatorHint, const QString&)
    Q_CLASSINFO("Default:HintOptions", "[hoTitleHints,hoShowTitleHints,hoEditorHints,hoShowToolTips,hoShowTotalToolTips]")
    Q_CLASSINFO("Default:FillerHint", "")
    Q_CLASSINFO("Default:IndicatorHint", "")

    // --- Pick list loading

    // --- Editor hosting

public:
    Q_INVOKABLE explicit TKelDBGrid(QWidget* parent = nullptr);

    // uic writes an enum or flag value a form gives without its scope as
    // <widget class>::value; these put the values of the published enums and
    // flags in the class's scope, so such code compiles.
    using enum tk::TControlEnums::TBorderStyle;
    using enum tk::TControlEnums::TBiDiMode;
    using enum tk::TControlEnums::TCursor;
    using enum tk::TControlEnums::TImeMode;
    using enum tk::TControlEnums::TDragKind;
    using enum tk::TControlEnums::TDragMode;
    using enum tk::TUiEnums::TScrollStyle;
    using enum TKelGridEnums::TKelDBGridOption;
    using enum TKelGridEnums::TKelDBGridOptionEx;
    using enum TKelGridEnums::TKelDBGridOptionExt;
    using enum TKelGridEnums::TFixedStyle;
    using enum TKelGridEnums::TFixedTheme;
    using enum TKelGridEnums::THotButtonsStyle;
    using enum TKelGridEnums::TListBorderStyle;
    using enum TKelGridEnums::TFocusRectStyle;
    using enum TKelGridEnums::TMarkerStyle;
    using enum TKelGridEnums::TMarkerTransparent;
    using enum TKelGridEnums::TResizeOption;
    using enum TKelGridEnums::TKelHintOption;
    // Stored only when set on their own (FixedColor follows otherwise).
    Q_INVOKABLE bool IsHeaderColorStored() const;
    Q_INVOKABLE bool IsFillerColorStored() const;
};

// BeginOrderUpdate now, EndOrderUpdate when the scope ends: the outermost
// EndOrderUpdate may reorder the dataset, and its exception propagates unless
// the scope is already failing (toolkit/core/updatelock.h).
using TOrderUpdateLock = tk::detail::TBracketLock<TKelCustomDBGrid, &TKelCustomDBGrid::BeginOrderUpdate,
                                                  &TKelCustomDBGrid::EndOrderUpdate>;
// BeginSelect now, EndSelect when the scope ends.
using TSelectLock =
    tk::detail::TBracketLock<TKelCustomDBGrid, &TKelCustomDBGrid::BeginSelect, &TKelCustomDBGrid::EndSelect>;

// DisablePosition now, EnablePosition when the scope ends (also when a walk
// over the dataset raises): the current record and its screen row come back.
class TPositionLock {
public:
    explicit TPositionLock(TKelCustomDBGrid& grid) : grid_(grid) { grid_.DisablePosition(); }
    ~TPositionLock() { grid_.EnablePosition(); }
    TPositionLock(const TPositionLock&) = delete;
    TPositionLock& operator=(const TPositionLock&) = delete;

private:
    TKelCustomDBGrid& grid_;
};

// The number text of auto-number columns: empty below 1, else
// DefAutoNumberFormat applied to number.
KELGRID_EXPORT QString AutoNumberStr(int number);

}  // namespace kelgrid
