#pragma once
// TCustomGrid, the grid base: a matrix of cells with fixed rows and columns
// at the top and left, row heights and column widths (a hidden cell has size
// -GridLineWidth), scrolling by cells, the current cell and a selected
// block, sizing and moving of columns and rows by mouse, keyboard
// navigation, and a hosted in-place editor over the current cell.
//
// The grid paints every pixel itself: each cell through DrawCell (the base
// draws nothing into a cell), the lines between cells, and the area past the
// last cell in Color. Its viewport is opaque (nothing is erased first).
//
// Coordinates: cell rectangles, mouse points and sizing positions are in the
// viewport's client coordinates. A grid whose BiDi mode asks for right-to-
// left alignment mirrors the columns: column pixels are laid out from the
// right edge (CellRect and MouseCoord answer in screen order).
//
// Scrolling: the horizontal bar scrolls columns by whole cells (LeftCol); the
// vertical one rows (TopRow). A descendant that positions rows itself (the
// data grid moves its data link instead) overrides UpdateVerticalBar and
// ScrollVertically and drives VerticalBar() itself.
//
// Descendants override the steps below the protected line; each default is
// the platform's well-known behaviour, described at its declaration. The
// entries from Qt (events, bar signals, timers) are guarded; the steps run
// unguarded, so a descendant's exception reaches the step's caller.
//
// The split: grid.cpp (matrix, current cell and selection, invalidation),
// gridscroll.cpp (scroll bars, LeftCol and TopRow), gridpaint.cpp,
// gridmouse.cpp (the interaction state), gridkeys.cpp, grideditor.cpp.

#include "toolkit/core/streaming.h"
#include "toolkit/ui/control.h"
#include "toolkit/ui/grids/gridtypes.h"
#include "toolkit/ui/uienums.h"

#include <QAbstractScrollArea>
#include <array>
#include <memory>

class QScrollBar;

namespace tk {

class TCanvas;
class TGridAxis;
class TInplaceEdit;

class TCustomGrid : public QAbstractScrollArea, public TControl, public IStreamable {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
    TK_QT_SETTER(ColCount, int)
    Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
    TK_QT_SETTER(RowCount, int)
    Q_PROPERTY(int FixedCols READ FixedCols WRITE SetFixedCols)
    TK_QT_SETTER(FixedCols, int)
    Q_PROPERTY(int FixedRows READ FixedRows WRITE SetFixedRows)
    TK_QT_SETTER(FixedRows, int)
    Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)
    TK_QT_SETTER(DefaultColWidth, int)
    Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE SetDefaultRowHeight)
    TK_QT_SETTER(DefaultRowHeight, int)
    Q_PROPERTY(int GridLineWidth READ GridLineWidth WRITE SetGridLineWidth)
    TK_QT_SETTER(GridLineWidth, int)
    Q_PROPERTY(tk::TGridEnums::TGridOptions Options READ Options WRITE SetOptions)
    TK_QT_SETTER(Options, tk::TGridEnums::TGridOptions)
    Q_PROPERTY(tk::TColor FixedColor READ FixedColor WRITE SetFixedColor)
    Q_PROPERTY(tk::TUiEnums::TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)
    TK_QT_SETTER(ScrollBars, tk::TUiEnums::TScrollStyle)
    Q_PROPERTY(int Col READ Col WRITE SetCol STORED false)
    TK_QT_SETTER(Col, int)
    Q_PROPERTY(int Row READ Row WRITE SetRow STORED false)
    TK_QT_SETTER(Row, int)
    Q_PROPERTY(int LeftCol READ LeftCol WRITE SetLeftCol STORED false)
    TK_QT_SETTER(LeftCol, int)
    Q_PROPERTY(int TopRow READ TopRow WRITE SetTopRow STORED false)
    TK_QT_SETTER(TopRow, int)
    Q_PROPERTY(bool EditorMode READ EditorMode WRITE SetEditorMode STORED false)
    TK_QT_SETTER(EditorMode, bool)
    Q_CLASSINFO("Default:ColCount", "5")
    Q_CLASSINFO("Default:RowCount", "5")
    Q_CLASSINFO("Default:FixedCols", "1")
    Q_CLASSINFO("Default:FixedRows", "1")
    Q_CLASSINFO("Default:DefaultColWidth", "64")
    Q_CLASSINFO("Default:DefaultRowHeight", "24")
    Q_CLASSINFO("Default:GridLineWidth", "1")
    Q_CLASSINFO("Default:ScrollBars", "ssBoth")
public:
    explicit TCustomGrid(QWidget* parent = nullptr);
    ~TCustomGrid() override;

    // --- The cell matrix ----------------------------------------------------
    // Counts below 1 give 1; fixed counts drop to fit. SizeChanged follows.
    int ColCount() const;
    void SetColCount(int count);
    int RowCount() const;
    void SetRowCount(int count);
    // EInvalidGridOperation "Fixed column count must be less than column
    // count" (rows likewise), "Grid index out of range" below 0.
    int FixedCols() const;
    void SetFixedCols(int count);
    int FixedRows() const;
    void SetFixedRows(int count);
    // Setting a default resets every width (height).
    int DefaultColWidth() const;
    void SetDefaultColWidth(int width);
    int DefaultRowHeight() const;
    void SetDefaultRowHeight(int height);
    // EInvalidGridOperation "Grid index out of range" for a bad index. A
    // change fires ColWidthsChanged (RowHeightsChanged).
    int ColWidths(int index) const;
    void SetColWidths(int index, int width);
    int RowHeights(int index) const;
    void SetRowHeights(int index, int height);
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int width);

    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor color);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle bars);

    // --- Current cell, selection, scrolling ---------------------------------
    int Col() const { return current_.X; }
    void SetCol(int col);
    int Row() const { return current_.Y; }
    void SetRow(int row);
    // The selected block (the current cell alone without goRangeSelect; the
    // whole row's scrollable cells with goRowSelect).
    TGridRect Selection() const;
    void SetSelection(const TGridRect& selection);
    // The first scrollable column (row) shown. Setting it scrolls, clamped to
    // FixedCols .. ColCount-1, and fires TopLeftChanged.
    int LeftCol() const;
    void SetLeftCol(int col);
    int TopRow() const;
    void SetTopRow(int row);
    // Scrollable columns (rows) shown whole; at least 1.
    int VisibleColCount() const;
    int VisibleRowCount() const;

    // The pixels of a cell in the viewport: empty when it is hidden or
    // scrolled out; clipped to the client area.
    QRect CellRect(int col, int row) const;
    // The pixels of a block of cells (the shown part; lines between cells
    // included).
    QRect BoxRect(int left, int top, int right, int bottom) const;
    // The cell under a viewport point; {-1, -1} outside the cells.
    TGridCoord MouseCoord(int x, int y) const;
    // Makes (col, row) current when SelectCell agrees: moveAnchor also moves
    // the selection's anchor (else the selection grows, with goRangeSelect),
    // show scrolls it into view. EInvalidGridOperation for a bad cell.
    void MoveColRow(int col, int row, bool moveAnchor, bool show);
    // Moves column from to position to (the widths move along) and calls
    // ColumnMoved; Col follows the moved column.
    void MoveColumn(int from, int to);
    void MoveRow(int from, int to);

    // --- The interaction state and the editor ---------------------------------
    TGridState GridState() const { return gridState_; }
    bool EditorMode() const { return editorMode_; }
    // The editor, once created (on the first ShowEditor).
    TInplaceEdit* InplaceEditor() const;

    // --- Invalidation -------------------------------------------------------
    // Each asks the viewport to repaint the area; asking again for an area
    // already asked for since the last paint does nothing more (a walk over
    // many records may invalidate the same row for every one).
    void InvalidateCell(int col, int row);
    void InvalidateCol(int col);
    void InvalidateRow(int row);
    void InvalidateEditor();
    // Loads the shown editor again from its cell (the cell's value changed
    // under it); its text ends selected.
    void ReloadEditor();
    void InvalidateGrid();
    void Invalidate() override;

    // A horizontal scroll-bar action of the given kind followed by the end
    // of scrolling; thumbPosition is the bar's value for the thumb kinds.
    void ScrollHorizontally(TScrollCode code, int thumbPosition = 0);
    QScrollBar* VerticalBar() const;
    QScrollBar* HorizontalBar() const;

    // Empty while the grid's invariants hold, else what is wrong: the axes',
    // the current cell and the anchor inside the matrix and off the fixed
    // cells, LeftCol/TopRow in range, the editor only in editor mode.
    virtual QString CheckConsistency() const;
    // The axes, read-only, for code that computes geometry itself.
    const TGridAxis& ColAxis() const;
    const TGridAxis& RowAxis() const;

    TNotifyEvent OnTopLeftChanged;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    std::function<void(QObject* sender, int& key, TShiftState shift)> OnKeyDown;
    std::function<void(QObject* sender, QChar& key)> OnKeyPress;
    std::function<void(QObject* sender, int& key, TShiftState shift)> OnKeyUp;

protected:
    // --- Painting ------------------------------------------------------------
    // Paints every pixel of cell (col, row) within rect on the canvas; the
    // base draws nothing.
    virtual void DrawCell(int col, int row, const QRect& rect, TGridDrawState state) = 0;
    // The colour of the line after (vertical) or below a cell: black in the
    // fixed cells, silver in the others. clNone leaves the line out (the
    // cell's background shows through where the descendant painted it).
    virtual TColor GridLineColor(int col, int row, bool vertical) const;
    // The canvas of the paint under way (nullptr outside painting).
    TCanvas* Canvas() const { return canvas_; }

    // --- Sizing and moving ----------------------------------------------------
    // Which border the point (x, y) is on: a column border in the fixed rows
    // (goColSizing) or a row border in the fixed columns (goRowSizing),
    // within a few pixels, gives state gsColSizing / gsRowSizing, the index
    // of the cell the border ends, the border's position (sizingPos) and
    // its distance from the point (sizingOfs). Else state gsNormal.
    virtual void CalcSizingState(int x, int y, TGridState& state, int& index, int& sizingPos, int& sizingOfs);
    // Asked when a column move starts (origin = destination = the pressed
    // column; both may be changed); false refuses the move.
    virtual bool BeginColumnDrag(int& origin, int& destination, const QPoint& mousePoint);
    // Asked on every move over a new destination; false keeps the old one.
    virtual bool CheckColumnDrag(int& origin, int& destination, const QPoint& mousePoint);
    // Asked at the drop; false cancels the move.
    virtual bool EndColumnDrag(int& origin, int& destination, const QPoint& mousePoint);
    virtual bool BeginRowDrag(int& origin, int& destination, const QPoint& mousePoint);
    virtual bool CheckRowDrag(int& origin, int& destination, const QPoint& mousePoint);
    virtual bool EndRowDrag(int& origin, int& destination, const QPoint& mousePoint);
    // After MoveColumn / MoveRow moved the sizes.
    virtual void ColumnMoved(int from, int to);
    virtual void RowMoved(int from, int to);
    // Undoes a move from -> to without calling ColumnMoved again (for a
    // descendant that refuses the move in ColumnMoved).
    void MoveColumnBack(int from, int to);
    // Starts moving the column under pressPoint as if the press had been
    // dragged beyond the threshold (any button; the release of any button
    // drops). Nothing when the point is on no scrollable column of the fixed
    // rows or BeginColumnDrag refuses.
    void StartColumnMoving(const QPoint& pressPoint);

    // --- Scrolling and layout changes ------------------------------------------
    // While a selecting drag is outside the cells, every timer tick: extends
    // the selection one cell in each direction (scrolling it into view).
    virtual void TimedScroll(TGridScrollDirections directions);
    // After LeftCol or TopRow changed; fires OnTopLeftChanged.
    virtual void TopLeftChanged();
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void SizeChanged(int oldColCount, int oldRowCount);
    // Puts range, page and position of the vertical bar (the base: rows
    // from FixedRows).
    virtual void UpdateVerticalBar();
    // A vertical bar action (the base scrolls TopRow).
    virtual void ScrollVertically(TScrollCode code, int thumbPosition);

    // --- Keyboard and mouse -------------------------------------------------------
    // Whether the grid handles key at all (the default key handling is
    // skipped when not).
    virtual bool CanGridAcceptKey(int key, TShiftState shift);
    // Whether (col, row) may become current.
    virtual bool SelectCell(int col, int row);
    // Fires OnKeyDown, then moves the current cell: arrows, Tab / Shift+Tab
    // (goTabs), Home, End, PgUp, PgDn, Ctrl combinations; F2 shows the
    // editor, Esc in the editor puts its text back and hides it. Hidden
    // columns are skipped.
    virtual void KeyDown(int& key, TShiftState shift);
    // Fires OnKeyPress; Enter toggles the editor (unless goAlwaysShowEditor).
    virtual void KeyPress(QChar& key);
    virtual void KeyUp(int& key, TShiftState shift);
    // Focuses the grid and starts an interaction: sizing, a pending column
    // or row move, or selecting (moving the current cell; a press on the
    // current cell with goEditing shows the editor). A double click calls
    // DblClick.
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual void DblClick();
    // The wheel: one row down or up per notch; true when handled.
    virtual bool DoMouseWheelDown(TShiftState shift, const QPoint& mousePos);
    virtual bool DoMouseWheelUp(TShiftState shift, const QPoint& mousePos);

    // --- Editor hosting ---------------------------------------------------------
    virtual TInplaceEdit* CreateEditor();
    virtual QString GetEditText(int col, int row);
    // The editor's text on every change.
    virtual void SetEditText(int col, int row, const QString& value);
    virtual QString GetEditMask(int col, int row);
    // 0 for no limit.
    virtual int GetEditLimit();
    virtual bool CanEditAcceptKey(QChar key);
    virtual bool CanEditModify();
    // goEditing without goRowSelect, and the grid focused or always showing.
    virtual bool CanEditShow();
    virtual void ShowEditor();
    virtual void HideEditor();
    virtual void SetEditorMode(bool on);
    // Puts the editor over the current cell (hidden when it is scrolled out).
    void UpdateEditorPlacement();

    // --- Window, component, Qt -------------------------------------------------
    void CreateWnd() override;
    // Values a descendant streams besides its published properties (the
    // data grid's columns and order); the base has none.
    void DefineProperties(TFiler& filer) override;
    void CancelMode() override;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool event(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    int ClientExtentX() const;
    int ClientExtentY() const;

private:
    friend class TInplaceEdit;
    struct Interaction;

    void PaintGrid(TCanvas& canvas, const QRect& dirty);
    void PaintLines(TCanvas& canvas);
    void PaintMoveIndicator(TCanvas& canvas);
    TGridDrawState DrawStateOf(int col, int row) const;
    // Logical column pixels to the viewport's and back (mirroring).
    QRect ToViewport(int left, int width, int top, int height) const;
    int LogicalX(int x) const;

    void AxesChanged();
    void SetTopLeft(int left, int top);
    void ClampInView(TGridCoord cell);
    void UpdateHorizontalBar();
    void ConnectBar(QScrollBar* bar, bool horizontal);
    void MoveAnchor(TGridCoord anchor);
    void FocusCell(int col, int row, bool moveAnchor);
    int NextShownCol(int from, int step) const;

    void StartMoving(bool columns, const QPoint& pressPoint);
    void TrackSizing(int x, int y);
    void TrackMoving(int x, int y);
    void TrackSelecting(int x, int y);
    void SelectTimerTick();
    void EndInteraction(int x, int y, bool drop);
    TGridScrollDirections DirectionsOutside(int x, int y) const;

    // Loads the editor for the current cell when it shows another one.
    void UpdateEditorText();
    // The editor's text changed (by the user or by loading).
    void EditorChanged();
    // Shows the editor and hands it the character typed on the grid.
    void ShowEditorChar(QKeyEvent* event);
    // viewport()->update(rect) unless rect lies inside one of
    // pendingUpdates_.
    void UpdateViewport(const QRect& rect);

    std::unique_ptr<TGridAxis> cols_;
    std::unique_ptr<TGridAxis> rows_;
    std::unique_ptr<Interaction> interaction_;
    int gridLineWidth_ = 1;
    TGridOptions options_;
    TColor fixedColor_;
    TScrollStyle scrollBars_ = ssBoth;
    TGridCoord current_;
    TGridCoord anchor_;
    TGridState gridState_ = gsNormal;
    bool editorMode_ = false;
    TInplaceEdit* editor_ = nullptr;
    // The cell the editor was loaded for, and the text it had then.
    TGridCoord editorCell_;
    QString editOriginal_;
    TCanvas* canvas_ = nullptr;
    int updatingBars_ = 0;
    // The last areas the Invalidate functions gave to update() since the
    // last paint began (a paint clears them; clearing too often only costs a
    // repeated update). Qt still holds each as dirty, so a request inside one
    // needs no second union with Qt's dirty region, whose cost grows with the
    // pieces it holds. A few suffice: a walk over the records invalidates its
    // current row and the indicator column again and again.
    static constexpr int kPendingUpdates = 4;
    std::array<QRect, kPendingUpdates> pendingUpdates_{};
    int nextPendingUpdate_ = 0;
};

}  // namespace tk
