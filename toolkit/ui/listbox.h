#pragma once
// TListBox: a list of lines on QListWidget that draws its items itself,
// through the toolkit canvas, in rows of one height.
//
// Geometry: every row is ItemHeight pixels high and spans the client width;
// row i lies at y = (i - TopIndex) * ItemHeight of the client area. In
// lbStandard the height follows the font (a value set is kept for owner
// drawing); in lbOwnerDrawFixed it is the value set, or the font's while
// none is set. TopIndex is the first visible row; it cannot go past the
// row that shows the last item at the bottom. With IntegralHeight the
// control's height snaps down to whole rows (at least one) whenever it is
// set through the geometry setters or the rows change height.
//
// Drawing: every visible row is drawn by DrawItem on Canvas(), which is
// prepared with the list's font and colour, or with the highlight colours
// for a selected item; the focus rectangle follows when the list has the
// focus on that item. DrawItem fires OnDrawItem in lbOwnerDrawFixed;
// otherwise, or without a handler, it draws the default look (the
// rectangle filled with the brush, the text at left + 2, centred in rows
// taller than it). Subclasses
// override DrawItem and call the base for the default look. Outside
// painting, Canvas() measures only (TextWidth in the list's font).
//
// Dragging: a drag of this list (DragMode dmAutomatic, or BeginDrag) asks
// OnDragOver while the mouse is over the list: dsDragEnter, dsDragMove, and
// dsDragLeave when it leaves or the drag is cancelled (Escape, cancel
// mode); accept starts true when there is a handler. Releasing where the
// handler accepted fires OnDragDrop. The cursor shows crDrag where a drop is
// accepted, crNoDrop elsewhere. Only drags inside the list are delivered;
// Qt's own drag and drop stays off.
//
// Selection: one item (ItemIndex), or an extended selection with
// MultiSelect (Selected). OnClick fires when the user changes the current
// item, never for changes made by code (ItemIndex, Items, Selected,
// Sorted).

#include "toolkit/core/strings.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/control.h"
#include "toolkit/ui/listenums.h"
#include "toolkit/ui/uienums.h"

#include <QListWidget>
#include <QRect>
#include <QScopedValueRollback>
#include <functional>
#include <memory>

namespace tk {

class TListWidgetStrings;

class TListBox : public QListWidget, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(tk::TStrings* Items READ Items WRITE SetItems)
    Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex STORED false)
    Q_PROPERTY(tk::TListEnums::TListBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(bool IntegralHeight READ IntegralHeight WRITE SetIntegralHeight)
    Q_PROPERTY(int TopIndex READ TopIndex WRITE SetTopIndex STORED false)
    Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE SetMultiSelect)
    Q_PROPERTY(int SelCount READ SelCount STORED false)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_CLASSINFO("Default:Style", "lbStandard")
    Q_CLASSINFO("Default:IntegralHeight", "False")
    Q_CLASSINFO("Default:MultiSelect", "False")
    Q_CLASSINFO("Default:Sorted", "False")
public:
    using TDrawItemEvent =
        std::function<void(QObject* control, int index, const QRect& rect, TOwnerDrawState state)>;
    using TDragOverEvent =
        std::function<void(QObject* sender, QObject* source, int x, int y, TDragState state, bool& accept)>;
    using TDragDropEvent = std::function<void(QObject* sender, QObject* source, int x, int y)>;

    explicit TListBox(QWidget* parent = nullptr);
    ~TListBox() override;

    TStrings* Items() const;
    void SetItems(TStrings* items);
    // The current line, -1 for none. Setting an index out of range clears
    // the selection.
    int ItemIndex() const { return currentRow(); }
    void SetItemIndex(int index);

    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle style);
    // The row height in pixels (see the header comment); setting 0 returns
    // to the font's height, a negative value raises EInvalidOperation.
    int ItemHeight() const;
    void SetItemHeight(int height);
    Q_INVOKABLE bool IsItemHeightStored() const { return itemHeight_ > 0; }
    bool IntegralHeight() const { return integralHeight_; }
    void SetIntegralHeight(bool on);
    int TopIndex() const;
    // Clamped to the rows the list can scroll to.
    void SetTopIndex(int index);
    // With IntegralHeight the height comes down to whole rows; so do the
    // other geometry setters, which go through here.
    void SetBounds(int left, int top, int width, int height) override;

    // The item under pos (client coordinates): its index; for a point of the
    // client area below the last item Count, or -1 when existing; -1 outside
    // the client area.
    int ItemAtPos(const QPoint& pos, bool existing) const;
    // The row of item index in client coordinates (above or below the client
    // area when scrolled out); for index == Count the row after the last
    // item; an empty rectangle for other indexes.
    QRect ItemRect(int index) const;

    bool MultiSelect() const;
    void SetMultiSelect(bool on);
    // EStringListError when index is out of range.
    bool Selected(int index) const;
    // Without MultiSelect, selecting makes index the current line and
    // deselecting the current line leaves none.
    void SetSelected(int index, bool selected);
    int SelCount() const;

    bool Sorted() const { return sorted_; }
    // Switching on sorts the lines (stable, case-insensitive); Add then
    // inserts at the sorted place, Insert and Move still place lines where
    // asked.
    void SetSorted(bool on);

    // The canvas of the drawing in progress; a measuring canvas in the
    // list's font otherwise.
    TCanvas* Canvas() const;

    TNotifyEvent OnClick;
    TDrawItemEvent OnDrawItem;
    TDragOverEvent OnDragOver;
    TDragDropEvent OnDragDrop;

protected:
    // Draws item index into rect (the content part of its row) with the
    // prepared Canvas(); see the header comment.
    virtual void DrawItem(int index, const QRect& rect, TOwnerDrawState state);
    // The part of a row that DrawItem gets; the whole row by default.
    virtual QRect ItemContentRect(const QRect& row) const;
    // The row height lbStandard uses.
    virtual int StandardItemHeight() const;
    // Dispatchers of OnDragOver and OnDragDrop.
    virtual void DragOver(QObject* source, int x, int y, TDragState state, bool& accept);
    virtual void DragDrop(QObject* source, int x, int y);
    // Recomputes the rows after a change of their height.
    void ItemHeightChanged();

    void DragMoved(const QPoint& globalPos) override;
    bool DragReleased(const QPoint& globalPos) override;
    void CancelMode() override;
    void FontChanged() override;

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    QModelIndex indexAt(const QPoint& point) const override;
    QRect visualRect(const QModelIndex& index) const override;

private:
    friend class TListWidgetStrings;
    class TRowHeightDelegate;

    // While it lives, selection changes are not the user's (no OnClick).
    [[nodiscard]] QScopedValueRollback<bool> CodeChange();
    void PaintRow(TCanvas& canvas, int index);
    void PrepareCanvas(TCanvas& canvas, bool selected) const;
    // height brought down to whole rows (at least one).
    int WholeRowsHeight(int height) const;
    void SnapToWholeRows();
    // The drag left the list or ended: the leave notice, the cursor back.
    void LeaveDrag(const QPoint& pos);

    TListWidgetStrings* items_;
    TListBoxStyle style_ = lbStandard;
    int itemHeight_ = 0;
    bool integralHeight_ = false;
    bool sorted_ = false;
    bool settingByCode_ = false;
    TCanvas* paintCanvas_ = nullptr;
    std::unique_ptr<TCanvas> measureCanvas_;
    // The drag over this list: whether it is inside and accepted there.
    bool dragInside_ = false;
    bool dragAccepted_ = false;
    QPoint lastDragPos_;
};

}  // namespace tk
