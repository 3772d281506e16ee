#include "toolkit/ui/listbox.h"

#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/ui/cursors.h"
#include "toolkit/ui/edges.h"
#include "toolkit/ui/liststrings.h"

#include <QAbstractItemDelegate>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

namespace tk {

// Gives every row the list's item height across the client width, so that
// Qt's own layout (scrolling, keyboard paging, selection by rectangle)
// agrees with the rows the list paints. The list paints the rows itself.
class TListBox::TRowHeightDelegate : public QAbstractItemDelegate {
public:
    explicit TRowHeightDelegate(TListBox* list) : QAbstractItemDelegate(list), list_(list) {}

    void paint(QPainter*, const QStyleOptionViewItem&, const QModelIndex&) const override {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(list_->viewport()->width(), list_->ItemHeight());
    }

private:
    TListBox* list_;
};

TListBox::TListBox(QWidget* parent)
    : QListWidget(parent), TControl(this), items_(new TListWidgetStrings(this)),
      measureCanvas_(std::make_unique<TCanvas>())
{
    setItemDelegate(new TRowHeightDelegate(this));
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setResizeMode(QListView::Adjust);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // One drag mechanism: the control base's.
    setDragEnabled(false);
    setAcceptDrops(false);
    setDragDropMode(QAbstractItemView::NoDragDrop);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!settingByCode_ && row >= 0)
            FireEvent(OnClick, this);
    });
}

TListBox::~TListBox() = default;

TStrings* TListBox::Items() const
{
    return items_;
}

void TListBox::SetItems(TStrings* items)
{
    items_->Assign(items);
}

QScopedValueRollback<bool> TListBox::CodeChange()
{
    return QScopedValueRollback<bool>(settingByCode_, true);
}

void TListBox::SetItemIndex(int index)
{
    const auto byCode = CodeChange();
    setCurrentRow(index >= 0 && index < count() ? index : -1);
}

// --- Rows -------------------------------------------------------------------

void TListBox::SetStyle(TListBoxStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    ItemHeightChanged();
}

int TListBox::StandardItemHeight() const
{
    return QFontMetrics(font()).height();
}

int TListBox::ItemHeight() const
{
    if (style_ == lbOwnerDrawFixed && itemHeight_ > 0)
        return itemHeight_;
    return StandardItemHeight();
}

void TListBox::SetItemHeight(int height)
{
    if (height < 0)
        throw EInvalidOperation(QStringLiteral("Invalid item height %1").arg(height));
    if (height == itemHeight_)
        return;
    itemHeight_ = height;
    ItemHeightChanged();
}

void TListBox::ItemHeightChanged()
{
    scheduleDelayedItemsLayout();
    SnapToWholeRows();
    viewport()->update();
}

void TListBox::FontChanged()
{
    TControl::FontChanged();
    ItemHeightChanged();
}

void TListBox::SetIntegralHeight(bool on)
{
    integralHeight_ = on;
    SnapToWholeRows();
}

int TListBox::WholeRowsHeight(int height) const
{
    const int rowHeight = ItemHeight();
    // The frame around the client area (there is no horizontal scroll bar).
    const int frame = this->height() - contentsRect().height();
    const int rows = qMax(1, (height - frame) / rowHeight);
    return frame + rows * rowHeight;
}

void TListBox::SnapToWholeRows()
{
    if (integralHeight_)
        SetHeight(Height());
}

void TListBox::SetBounds(int left, int top, int width, int height)
{
    // Snapped before the size is applied, so no part row ever shows.
    TControl::SetBounds(left, top, width, integralHeight_ ? WholeRowsHeight(height) : height);
}

int TListBox::TopIndex() const
{
    // Rows added since the last layout are not in the scroll range yet.
    const_cast<TListBox*>(this)->executeDelayedItemsLayout();
    return verticalScrollBar()->value();
}

void TListBox::SetTopIndex(int index)
{
    executeDelayedItemsLayout();
    verticalScrollBar()->setValue(index);
}

int TListBox::ItemAtPos(const QPoint& pos, bool existing) const
{
    if (!viewport()->rect().contains(pos))
        return -1;
    const int index = TopIndex() + pos.y() / ItemHeight();
    if (index < count())
        return index;
    return existing ? -1 : count();
}

QRect TListBox::ItemRect(int index) const
{
    if (index < 0 || index > count())
        return QRect();
    // TopIndex first: it brings Qt's layout (and the scroll bar) up to date.
    const int top = TopIndex();
    const int rowHeight = ItemHeight();
    return QRect(0, (index - top) * rowHeight, viewport()->width(), rowHeight);
}

void TListBox::focusInEvent(QFocusEvent* event)
{
    // Qt makes the first line current when the focus arrives at a list
    // without one; a list box has no current line until one is chosen.
    const bool hadCurrent = currentIndex().isValid();
    {
        const auto byCode = CodeChange();
        QListWidget::focusInEvent(event);
        if (!hadCurrent)
            selectionModel()->clearCurrentIndex();
    }
}

QModelIndex TListBox::indexAt(const QPoint& point) const
{
    const int index = ItemAtPos(point, true);
    return index < 0 ? QModelIndex() : model()->index(index, 0);
}

QRect TListBox::visualRect(const QModelIndex& index) const
{
    return index.isValid() ? ItemRect(index.row()) : QRect();
}

// --- Selection ----------------------------------------------------------------

bool TListBox::MultiSelect() const
{
    return selectionMode() == QAbstractItemView::ExtendedSelection;
}

void TListBox::SetMultiSelect(bool on)
{
    const auto byCode = CodeChange();
    setSelectionMode(on ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

bool TListBox::Selected(int index) const
{
    return items_->Item(index)->isSelected();
}

void TListBox::SetSelected(int index, bool selected)
{
    QListWidgetItem* item = items_->Item(index);
    const auto byCode = CodeChange();
    if (MultiSelect())
        item->setSelected(selected);
    else if (selected)
        setCurrentRow(index);
    else if (index == currentRow())
        setCurrentRow(-1);
}

int TListBox::SelCount() const
{
    return static_cast<int>(selectedItems().size());
}

void TListBox::SetSorted(bool on)
{
    if (on == sorted_)
        return;
    sorted_ = on;
    if (on)
        items_->Sort();
}

// --- Drawing --------------------------------------------------------------------

TCanvas* TListBox::Canvas() const
{
    if (paintCanvas_)
        return paintCanvas_;
    measureCanvas_->Font()->Assign(Font());
    return measureCanvas_.get();
}

QRect TListBox::ItemContentRect(const QRect& row) const
{
    return row;
}

void TListBox::PrepareCanvas(TCanvas& canvas, bool selected) const
{
    canvas.Font()->Assign(Font());
    canvas.Brush()->SetColor(Color() == clDefault ? clWindow : Color());
    if (selected) {
        canvas.Brush()->SetColor(clHighlight);
        canvas.Font()->SetColor(clHighlightText);
    } else if (!isEnabled()) {
        canvas.Font()->SetColor(clGrayText);
    }
}

void TListBox::paintEvent(QPaintEvent*)
{
    Guarded([this] {
        QPainter painter(viewport());
        TCanvas canvas(&painter);
        canvas.SetPalette(palette());
        const QScopedValueRollback painting(paintCanvas_, &canvas);
        const QRect client = viewport()->rect();
        int below = 0;
        for (int index = TopIndex(); index < count(); ++index) {
            const QRect row = ItemRect(index);
            if (row.top() >= client.height())
                break;
            PaintRow(canvas, index);
            below = row.bottom() + 1;
        }
        if (below < client.height()) {
            PrepareCanvas(canvas, false);
            canvas.FillRect(QRect(0, below, client.width(), client.height() - below));
        }
    });
}

void TListBox::PaintRow(TCanvas& canvas, int index)
{
    const QListWidgetItem* listItem = item(index);
    TOwnerDrawState state;
    if (listItem->isSelected())
        state |= odSelected;
    if (index == currentRow() && hasFocus())
        state |= odFocused;
    if (!isEnabled())
        state |= odDisabled;
    PrepareCanvas(canvas, state.testFlag(odSelected));
    const QRect content = ItemContentRect(ItemRect(index));
    DrawItem(index, content, state);
    if (state.testFlag(odFocused))
        DrawFocusRect(canvas, content);
}

void TListBox::DrawItem(int index, const QRect& rect, TOwnerDrawState state)
{
    if (style_ == lbOwnerDrawFixed && OnDrawItem) {
        OnDrawItem(this, index, rect, state);
        return;
    }
    TCanvas* canvas = Canvas();
    canvas->FillRect(rect);
    // Centred in a row taller than the text (a check box's row).
    const QString text = items_->Get(index);
    canvas->TextOut(rect.left() + 2, rect.top() + qMax(0, (rect.height() - canvas->TextHeight(text)) / 2),
                    text);
}

// --- Dragging inside the list -------------------------------------------------

void TListBox::DragOver(QObject* source, int x, int y, TDragState state, bool& accept)
{
    accept = static_cast<bool>(OnDragOver);
    if (OnDragOver)
        OnDragOver(this, source, x, y, state, accept);
}

void TListBox::DragDrop(QObject* source, int x, int y)
{
    if (OnDragDrop)
        OnDragDrop(this, source, x, y);
}

void TListBox::DragMoved(const QPoint& globalPos)
{
    const QPoint pos = viewport()->mapFromGlobal(globalPos);
    lastDragPos_ = pos;
    if (!viewport()->rect().contains(pos)) {
        LeaveDrag(pos);
        return;
    }
    const TDragState state = dragInside_ ? dsDragMove : dsDragEnter;
    dragInside_ = true;
    DragOver(this, pos.x(), pos.y(), state, dragAccepted_);
    viewport()->setCursor(CursorFor(dragAccepted_ ? crDrag : crNoDrop));
}

bool TListBox::DragReleased(const QPoint& globalPos)
{
    const bool drop = dragInside_ && dragAccepted_;
    dragInside_ = false;
    dragAccepted_ = false;
    viewport()->unsetCursor();
    if (drop) {
        const QPoint pos = viewport()->mapFromGlobal(globalPos);
        DragDrop(this, pos.x(), pos.y());
    }
    return drop;
}

void TListBox::LeaveDrag(const QPoint& pos)
{
    viewport()->unsetCursor();
    if (!dragInside_)
        return;
    dragInside_ = false;
    dragAccepted_ = false;
    bool ignored = false;
    DragOver(this, pos.x(), pos.y(), dsDragLeave, ignored);
}

void TListBox::CancelMode()
{
    if (Dragging())
        LeaveDrag(lastDragPos_);
    TControl::CancelMode();
}

void TListBox::mouseMoveEvent(QMouseEvent* event)
{
    // A pending or running drag owns the mouse: the selection stays.
    if (DragPending() || Dragging())
        return;
    QListWidget::mouseMoveEvent(event);
}

void TListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && Dragging()) {
        Guarded([this] { CancelMode(); });
        return;
    }
    QListWidget::keyPressEvent(event);
}

}  // namespace tk
