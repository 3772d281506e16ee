#pragma once
// One axis of a grid (its columns or its rows): how many cells, how many of
// them are fixed, each cell's size, the line drawn after each cell, and the
// first scrollable cell shown. It turns cell indexes into pixel positions
// and back; it knows nothing of widgets, so the grid's geometry is tested
// here on its own.
//
// Pixels run from 0, the start of the grid's client area, in logical
// (left-to-right, top-to-bottom) order; a right-to-left grid mirrors them
// with MirroredPosition. The fixed cells always sit at the start; the
// scrollable cells follow from First on. Cells between the fixed cells and
// First are scrolled out and take no pixels.
//
// Sizes: a cell takes its size plus the line width (the line is drawn after
// the cell). A size may be negative: -LineWidth hides the cell (no pixels,
// no line; a hidden column of the data grid, the blank total row). Any
// extent below zero counts as zero.
//
// Invariants (CheckConsistency): Count >= 1; 0 <= FixedCount < Count;
// FixedCount <= First < Count; one size per cell.

#include <QString>
#include <QVector>
#include <QtGlobal>

namespace tk {

// A run of pixels along one axis; empty when size is 0.
struct TAxisSpan {
    int start = 0;
    int size = 0;
    bool Empty() const { return size <= 0; }
    int End() const { return start + size; }
    friend bool operator==(const TAxisSpan&, const TAxisSpan&) = default;
};

// The position of pixel in a client extent of clientExtent pixels seen from
// the other end; applying it twice gives pixel back.
inline int MirroredPosition(int pixel, int clientExtent)
{
    return clientExtent - 1 - pixel;
}
// The span covering the same pixels seen from the other end.
inline TAxisSpan MirroredSpan(TAxisSpan span, int clientExtent)
{
    return {clientExtent - span.End(), span.size};
}

class TGridAxis {
public:
    // Which axis, for the messages of the errors: "column" or "row".
    enum class Kind { columns, rows };

    explicit TGridAxis(Kind kind, int count = 5, int fixedCount = 1, int defaultSize = 24);

    int Count() const { return int(sizes_.size()); }
    // Values below 1 give 1; new cells take DefaultSize; FixedCount and First
    // drop to fit.
    void SetCount(int count);
    int FixedCount() const { return fixedCount_; }
    // EInvalidGridOperation "Grid index out of range" below 0, "Fixed column
    // count must be less than column count" (rows likewise) at Count or above.
    void SetFixedCount(int fixedCount);

    int DefaultSize() const { return defaultSize_; }
    // Resets the size of every cell.
    void SetDefaultSize(int size);
    // EInvalidGridOperation "Grid index out of range" outside 0 .. Count-1.
    int Size(int index) const;
    void SetSize(int index, int size);
    // The width of the line after each cell (0 when the axis draws no lines).
    int LineWidth() const { return lineWidth_; }
    void SetLineWidth(int width);

    // Pixels cell index takes, its line included; 0 for a hidden cell.
    int Extent(int index) const;
    bool IsHidden(int index) const { return Extent(index) == 0; }

    // The first scrollable cell shown (TopRow, LeftCol).
    int First() const { return first_; }
    // Clamped to FixedCount .. Count-1; returns whether First changed.
    bool SetFirst(int first);

    // Pixels the fixed cells take.
    int FixedExtent() const;
    // Pixels of every cell.
    qint64 TotalExtent() const;
    // Pixels of the scrollable cells before index (from FixedCount).
    qint64 ScrollableOffset(int index) const;

    // Where cell index starts; -1 when it is scrolled out (between the fixed
    // cells and First). May lie beyond the client area.
    int Start(int index) const;
    // The pixels cell index shows in a client extent of clientExtent pixels,
    // without its line and clipped to the client area; empty when it is
    // scrolled out, hidden or past the end.
    TAxisSpan CellSpan(int index, int clientExtent) const;
    // The pixels of cells first .. last (in index order, lines between them
    // included, the last line not), clipped like CellSpan; scrolled-out cells
    // of the range are skipped. Empty when no cell of the range shows.
    TAxisSpan RangeSpan(int first, int last, int clientExtent) const;
    // The cell under pixel (its line belongs to it); -1 outside the cells.
    int IndexAt(int pixel, int clientExtent) const;

    // The last cell shown at least partly; at least First.
    int LastVisible(int clientExtent) const;
    // The last cell shown whole (its line may be cut); at least First, as the
    // platform counts it.
    int LastFullyVisible(int clientExtent) const;
    // Scrollable cells shown whole: LastFullyVisible - First + 1.
    int VisibleCount(int clientExtent) const;
    // The largest First that still fills the client area: from it on every
    // cell up to the last shows whole.
    int MaxFirst(int clientExtent) const { return FirstShowingWhole(Count() - 1, clientExtent); }
    // The smallest First from which cells up to last show whole (last when
    // even it alone does not fit); last is a scrollable cell.
    int FirstShowingWhole(int last, int clientExtent) const;

    // Moves the size of cell from to index to (the cells between shift by
    // one). First is not changed. EInvalidGridOperation as for Size.
    void Move(int from, int to);

    // Empty when the invariants hold, else what is wrong.
    QString CheckConsistency() const;

private:
    void CheckIndex(int index) const;
    // Pixels of cells 0 .. index-1 (index may be Count).
    qint64 Prefix(int index) const;
    void Invalidate(int from) const;

    Kind kind_;
    QVector<int> sizes_;
    int fixedCount_ = 0;
    int defaultSize_ = 0;
    int lineWidth_ = 1;
    int first_ = 0;
    // prefix_[i] = pixels of cells 0 .. i-1, valid for i <= validPrefix_;
    // a change of cell k leaves entries 0 .. k valid.
    mutable QVector<qint64> prefix_;
    mutable int validPrefix_ = 0;
};

}  // namespace tk
