// The grid base: construction, the cell matrix, the current cell and the
// selection, invalidation, the consistency check.

#include "toolkit/ui/grids/grid.h"

#include "toolkit/core/application.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/ui/grids/gridaxis.h"
#include "toolkit/ui/grids/gridconsts.h"
#include "toolkit/ui/grids/gridinteraction.h"
#include "toolkit/ui/grids/inplaceedit.h"

#include <QScrollBar>

namespace tk {

TCustomGrid::TCustomGrid(QWidget* parent)
    : QAbstractScrollArea(parent), TControl(this),
      cols_(std::make_unique<TGridAxis>(TGridAxis::Kind::columns, 5, 1, 64)),
      rows_(std::make_unique<TGridAxis>(TGridAxis::Kind::rows, 5, 1, 24)),
      interaction_(std::make_unique<Interaction>()),
      options_(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect),
      fixedColor_(clBtnFace), current_{1, 1}, anchor_{1, 1}
{
    SetColor(clWindow);
    // The grid paints every pixel of its viewport itself.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    ConnectBar(horizontalScrollBar(), true);
    ConnectBar(verticalScrollBar(), false);
    interaction_->selectTimer.OnTimer = [this] { SelectTimerTick(); };
    AxesChanged();
}

TCustomGrid::~TCustomGrid() = default;

// --- The cell matrix ----------------------------------------------------------

int TCustomGrid::ColCount() const
{
    return cols_->Count();
}

void TCustomGrid::SetColCount(int count)
{
    const int oldCols = ColCount();
    if (std::max(count, 1) == oldCols)
        return;
    cols_->SetCount(count);
    current_.X = std::clamp(current_.X, FixedCols(), ColCount() - 1);
    anchor_.X = std::clamp(anchor_.X, FixedCols(), ColCount() - 1);
    AxesChanged();
    SizeChanged(oldCols, RowCount());
}

int TCustomGrid::RowCount() const
{
    return rows_->Count();
}

void TCustomGrid::SetRowCount(int count)
{
    const int oldRows = RowCount();
    if (std::max(count, 1) == oldRows)
        return;
    rows_->SetCount(count);
    current_.Y = std::clamp(current_.Y, FixedRows(), RowCount() - 1);
    anchor_.Y = std::clamp(anchor_.Y, FixedRows(), RowCount() - 1);
    AxesChanged();
    SizeChanged(ColCount(), oldRows);
}

int TCustomGrid::FixedCols() const
{
    return cols_->FixedCount();
}

void TCustomGrid::SetFixedCols(int count)
{
    if (count == FixedCols())
        return;
    cols_->SetFixedCount(count);
    current_.X = std::max(current_.X, count);
    anchor_.X = std::max(anchor_.X, count);
    AxesChanged();
}

int TCustomGrid::FixedRows() const
{
    return rows_->FixedCount();
}

void TCustomGrid::SetFixedRows(int count)
{
    if (count == FixedRows())
        return;
    rows_->SetFixedCount(count);
    current_.Y = std::max(current_.Y, count);
    anchor_.Y = std::max(anchor_.Y, count);
    AxesChanged();
}

int TCustomGrid::DefaultColWidth() const
{
    return cols_->DefaultSize();
}

void TCustomGrid::SetDefaultColWidth(int width)
{
    cols_->SetDefaultSize(width);
    AxesChanged();
    ColWidthsChanged();
}

int TCustomGrid::DefaultRowHeight() const
{
    return rows_->DefaultSize();
}

void TCustomGrid::SetDefaultRowHeight(int height)
{
    rows_->SetDefaultSize(height);
    AxesChanged();
    RowHeightsChanged();
}

int TCustomGrid::ColWidths(int index) const
{
    return cols_->Size(index);
}

void TCustomGrid::SetColWidths(int index, int width)
{
    if (cols_->Size(index) == width)
        return;
    cols_->SetSize(index, width);
    AxesChanged();
    ColWidthsChanged();
}

int TCustomGrid::RowHeights(int index) const
{
    return rows_->Size(index);
}

void TCustomGrid::SetRowHeights(int index, int height)
{
    if (rows_->Size(index) == height)
        return;
    rows_->SetSize(index, height);
    AxesChanged();
    RowHeightsChanged();
}

void TCustomGrid::SetGridLineWidth(int width)
{
    width = std::max(width, 0);
    if (width == gridLineWidth_)
        return;
    gridLineWidth_ = width;
    AxesChanged();
}

void TCustomGrid::SetOptions(TGridOptions options)
{
    if (options == options_)
        return;
    options_ = options;
    if (options_ & goRowSelect) {
        // A whole row is selected from its first scrollable cell.
        current_.X = FixedCols();
        anchor_ = {ColCount() - 1, current_.Y};
    }
    if (EditorMode() && !CanEditShow())
        HideEditor();
    AxesChanged();
    if ((options_ & goAlwaysShowEditor) && CanEditShow())
        ShowEditor();
}

void TCustomGrid::SetFixedColor(TColor color)
{
    if (color == fixedColor_)
        return;
    fixedColor_ = color;
    InvalidateGrid();
}

void TCustomGrid::SetScrollBars(TScrollStyle bars)
{
    if (bars == scrollBars_)
        return;
    scrollBars_ = bars;
    RecreateWnd();
    AxesChanged();
}

// Each axis draws lines when any of its line options is on; which lines are
// painted in the fixed and the scrollable area is the painter's choice.
void TCustomGrid::AxesChanged()
{
    cols_->SetLineWidth(options_ & (goFixedVertLine | goVertLine) ? gridLineWidth_ : 0);
    rows_->SetLineWidth(options_ & (goFixedHorzLine | goHorzLine) ? gridLineWidth_ : 0);
    UpdateHorizontalBar();
    UpdateVerticalBar();
    UpdateEditorPlacement();
    InvalidateGrid();
}

const TGridAxis& TCustomGrid::ColAxis() const
{
    return *cols_;
}

const TGridAxis& TCustomGrid::RowAxis() const
{
    return *rows_;
}

int TCustomGrid::ClientExtentX() const
{
    return viewport()->width();
}

int TCustomGrid::ClientExtentY() const
{
    return viewport()->height();
}

// --- Current cell and selection ---------------------------------------------

void TCustomGrid::SetCol(int col)
{
    if (col != current_.X)
        FocusCell(col, Row(), true);
}

void TCustomGrid::SetRow(int row)
{
    if (row != current_.Y)
        FocusCell(Col(), row, true);
}

TGridRect TCustomGrid::Selection() const
{
    TGridRect selection = TGridRect::Spanning(current_, anchor_);
    if (options_ & goRowSelect) {
        selection.Left = FixedCols();
        selection.Right = ColCount() - 1;
    }
    return selection;
}

void TCustomGrid::SetSelection(const TGridRect& selection)
{
    const TGridRect old = Selection();
    if (selection.Left < FixedCols() || selection.Top < FixedRows() || selection.Right >= ColCount() ||
        selection.Bottom >= RowCount() || selection.Left > selection.Right ||
        selection.Top > selection.Bottom)
        throw EInvalidGridOperation(LoadResString(&SIndexOutOfRange));
    current_ = {selection.Left, selection.Top};
    anchor_ = {selection.Right, selection.Bottom};
    ClampInView(current_);
    viewport()->update(BoxRect(old.Left, old.Top, old.Right, old.Bottom));
    viewport()->update(BoxRect(selection.Left, selection.Top, selection.Right, selection.Bottom));
    UpdateEditorPlacement();
}

void TCustomGrid::MoveColRow(int col, int row, bool moveAnchor, bool show)
{
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
        throw EInvalidGridOperation(LoadResString(&SIndexOutOfRange));
    if (!SelectCell(col, row))
        return;
    const QRect oldBox = BoxRect(Selection().Left, Selection().Top, Selection().Right, Selection().Bottom);
    current_ = {col, row};
    if (!(options_ & goAlwaysShowEditor))
        HideEditor();
    if (moveAnchor || !(options_ & goRangeSelect)) {
        anchor_ = current_;
        if (options_ & goRowSelect)
            anchor_.X = ColCount() - 1;
    }
    if (options_ & goRowSelect)
        current_.X = FixedCols();
    if (show)
        ClampInView(current_);
    viewport()->update(oldBox);
    const TGridRect now = Selection();
    viewport()->update(BoxRect(now.Left, now.Top, now.Right, now.Bottom));
    UpdateEditorPlacement();
}

// Moves the current cell as the keyboard and mouse do: scrolled into view,
// the editor loaded for the new cell, OnClick fired.
void TCustomGrid::FocusCell(int col, int row, bool moveAnchor)
{
    const TGridCoord old = current_;
    MoveColRow(col, row, moveAnchor, true);
    if (current_ != old) {
        UpdateEditorText();
        if (OnClick)
            OnClick(this);
    }
}

// During a selecting drag the anchor follows the mouse while the current
// cell stays where the press was.
void TCustomGrid::MoveAnchor(TGridCoord anchor)
{
    if (!(options_ & goRangeSelect)) {
        MoveColRow(anchor.X, anchor.Y, true, true);
        return;
    }
    const TGridRect old = Selection();
    anchor_ = anchor;
    if (options_ & goRowSelect)
        anchor_.X = ColCount() - 1;
    ClampInView(anchor);
    viewport()->update(BoxRect(old.Left, old.Top, old.Right, old.Bottom));
    const TGridRect now = Selection();
    viewport()->update(BoxRect(now.Left, now.Top, now.Right, now.Bottom));
}

namespace {

// Where the cell at index is after the cell at from moved to to (the cells
// between shift by one towards from).
int FollowMove(int index, int from, int to)
{
    if (index == from)
        return to;
    if (from < to && index > from && index <= to)
        return index - 1;
    if (from > to && index >= to && index < from)
        return index + 1;
    return index;
}

}  // namespace

void TCustomGrid::MoveColumn(int from, int to)
{
    if (from == to)
        return;
    cols_->Move(from, to);
    current_.X = FollowMove(current_.X, from, to);
    anchor_.X = FollowMove(anchor_.X, from, to);
    AxesChanged();
    ColumnMoved(from, to);
}

void TCustomGrid::MoveColumnBack(int from, int to)
{
    if (from == to)
        return;
    cols_->Move(to, from);
    current_.X = FollowMove(current_.X, to, from);
    anchor_.X = FollowMove(anchor_.X, to, from);
    AxesChanged();
}

void TCustomGrid::MoveRow(int from, int to)
{
    if (from == to)
        return;
    rows_->Move(from, to);
    current_.Y = FollowMove(current_.Y, from, to);
    anchor_.Y = FollowMove(anchor_.Y, from, to);
    AxesChanged();
    RowMoved(from, to);
}

bool TCustomGrid::SelectCell(int, int)
{
    return true;
}

void TCustomGrid::ColumnMoved(int, int) {}

void TCustomGrid::RowMoved(int, int) {}

void TCustomGrid::ColWidthsChanged() {}

void TCustomGrid::RowHeightsChanged() {}

void TCustomGrid::SizeChanged(int, int) {}

// --- Geometry -------------------------------------------------------------------

int TCustomGrid::LogicalX(int x) const
{
    return UseRightToLeftAlignment() ? MirroredPosition(x, ClientExtentX()) : x;
}

QRect TCustomGrid::ToViewport(int left, int width, int top, int height) const
{
    if (width <= 0 || height <= 0)
        return {};
    if (UseRightToLeftAlignment())
        left = MirroredSpan({left, width}, ClientExtentX()).start;
    return QRect(left, top, width, height);
}

QRect TCustomGrid::CellRect(int col, int row) const
{
    return BoxRect(col, row, col, row);
}

QRect TCustomGrid::BoxRect(int left, int top, int right, int bottom) const
{
    if (left < 0 || top < 0 || right >= ColCount() || bottom >= RowCount())
        return {};
    const TAxisSpan x = cols_->RangeSpan(left, right, ClientExtentX());
    const TAxisSpan y = rows_->RangeSpan(top, bottom, ClientExtentY());
    return ToViewport(x.start, x.size, y.start, y.size);
}

TGridCoord TCustomGrid::MouseCoord(int x, int y) const
{
    const int col = cols_->IndexAt(LogicalX(x), ClientExtentX());
    const int row = rows_->IndexAt(y, ClientExtentY());
    if (col < 0 || row < 0)
        return {};
    return {col, row};
}

int TCustomGrid::VisibleColCount() const
{
    return cols_->VisibleCount(ClientExtentX());
}

int TCustomGrid::VisibleRowCount() const
{
    return rows_->VisibleCount(ClientExtentY());
}

// --- Invalidation -----------------------------------------------------------------

void TCustomGrid::UpdateViewport(const QRect& rect)
{
    if (rect.isEmpty())
        return;
    for (const QRect& pending : pendingUpdates_)
        if (pending.contains(rect))
            return;
    viewport()->update(rect);
    pendingUpdates_[nextPendingUpdate_] = rect;
    nextPendingUpdate_ = (nextPendingUpdate_ + 1) % kPendingUpdates;
}

void TCustomGrid::InvalidateCell(int col, int row)
{
    UpdateViewport(CellRect(col, row));
}

void TCustomGrid::InvalidateCol(int col)
{
    UpdateViewport(BoxRect(col, 0, col, RowCount() - 1));
}

void TCustomGrid::InvalidateRow(int row)
{
    UpdateViewport(BoxRect(0, row, ColCount() - 1, row));
}

void TCustomGrid::InvalidateEditor()
{
    if (editor_)
        editor_->update();
}

void TCustomGrid::InvalidateGrid()
{
    viewport()->update();
    pendingUpdates_.fill(QRect());
    pendingUpdates_[0] = viewport()->rect();
}

void TCustomGrid::Invalidate()
{
    InvalidateGrid();
    TControl::Invalidate();
}

QString TCustomGrid::CheckConsistency() const
{
    if (const QString columns = cols_->CheckConsistency(); !columns.isEmpty())
        return QStringLiteral("columns: ") + columns;
    if (const QString rows = rows_->CheckConsistency(); !rows.isEmpty())
        return QStringLiteral("rows: ") + rows;
    auto inside = [&](TGridCoord cell) {
        return cell.X >= FixedCols() && cell.X < ColCount() && cell.Y >= FixedRows() && cell.Y < RowCount();
    };
    if (!inside(current_))
        return QStringLiteral("current cell (%1, %2) off the scrollable cells")
            .arg(current_.X)
            .arg(current_.Y);
    if (!inside(anchor_))
        return QStringLiteral("anchor (%1, %2) off the scrollable cells").arg(anchor_.X).arg(anchor_.Y);
    const bool editorShown = editor_ && !editor_->isHidden();
    if (!editorMode_ && editorShown)
        return QStringLiteral("the editor shows outside editor mode");
    if (editorMode_ && isVisible() && !CellRect(Col(), Row()).isEmpty() && !editorShown)
        return QStringLiteral("editor mode, yet the editor is hidden over a shown cell");
    if (gridState_ != gsNormal && gridState_ != gsSelecting && interaction_->sizingIndex < 0 &&
        interaction_->moveIndex < 0)
        return QStringLiteral("sizing or moving without a cell");
    return {};
}

void TCustomGrid::DefineProperties(TFiler& /*filer*/)
{
}

}  // namespace tk
