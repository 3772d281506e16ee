#include "kelgrid/editors/popuppicklist.h"

#include "kelgrid/editors/listborder.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/paintstyles.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/core/application.h"
#include "toolkit/ui/popupbehaviour.h"
#include "toolkit/ui/sysinfo.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

namespace kelgrid {

namespace {

constexpr int kInitialItemHeight = 11;
constexpr int kTextPadding = 5;  // beyond the widest text

}  // namespace

TKelPopupPickList::TKelPopupPickList(QWidget* owner)
    : tk::TListBox(owner), behaviour_(std::make_unique<tk::TPopupBehaviour>(this))
{
    SetItemHeight(kInitialItemHeight);
    SetIntegralHeight(true);
    ApplyListBorder(*this, nullptr);
    setMouseTracking(true);
    behaviour_->OnOutsidePress = [this](QWidget*) { CloseUp(false); };
    behaviour_->OnAssociateLost = [this] { CloseUp(false); };
    behaviour_->OnAssociateDrag = [this](const QPoint& at, bool released) { AssociateDrag(at, released); };
}

TKelPopupPickList::~TKelPopupPickList()
{
    Destroying();
}

void TKelPopupPickList::SetGrid(TKelCustomDBGrid* grid)
{
    grid_ = grid;
    ApplyListBorder(*this, grid);
    if (grid)
        setLayoutDirection(grid->layoutDirection());
}

QWidget* TKelPopupPickList::Associate() const
{
    return behaviour_->Associate();
}

void TKelPopupPickList::SetAssociate(QWidget* editor)
{
    behaviour_->SetAssociate(editor);
}

void TKelPopupPickList::SetOwnerDrawn(bool on)
{
    SetStyle(on ? tk::lbOwnerDrawFixed : tk::lbStandard);
    if (on && grid_)
        SetItemHeight(grid_->DefaultRowHeight());
}

int TKelPopupPickList::Prepare(const TDropDownLimits& limits, const QString& editorText)
{
    SetItemIndex(editorText.isEmpty() ? -1 : Items()->IndexOf(editorText));
    search_.Clear();
    const int count = Items()->Count();
    const int rows = limits.ListRows(count);
    int widest = 0;
    for (int i = 0; i < count; ++i)
        widest = qMax(widest, Canvas()->TextWidth(Items()->Get(i)));
    // The scroll bar is part of the non-client width while not all rows fit.
    const int bar = count > rows ? verticalScrollBar()->sizeHint().width() : 0;
    const int nonClient = 2 * frameWidth() + bar;
    const int wanted = widest + kTextPadding + nonClient;
    const int height = rows * ItemHeight() + 2;
    resize(limits.ListWidth(wanted), height);
    SetTopIndex(qMax(0, ItemIndex() - rows + 1));
    return ItemHeight();
}

// --- Opening and closing ----------------------------------------------------

void TKelPopupPickList::Popup(const QPoint& screenPos)
{
    behaviour_->Popup(screenPos);
}

void TKelPopupPickList::CloseUp(bool accept)
{
    search_.Clear();
    behaviour_->CloseUp(accept, OnCloseUp);
}

bool TKelPopupPickList::ForwardKey(const QKeyEvent& event)
{
    return behaviour_->ForwardListKey(event, [this](bool accept) { CloseUp(accept); });
}

void TKelPopupPickList::CancelMode()
{
    tk::TListBox::CancelMode();
    CloseUp(false);
}

void TKelPopupPickList::showEvent(QShowEvent* event)
{
    tk::TListBox::showEvent(event);
    tk::Guarded([this] { behaviour_->Shown(); });
}

void TKelPopupPickList::hideEvent(QHideEvent* event)
{
    tk::Guarded([this] { behaviour_->Hidden(); });
    tk::TListBox::hideEvent(event);
}

// --- Keys -------------------------------------------------------------------

void TKelPopupPickList::SearchFor(QChar ch)
{
    const std::optional<QString> text = search_.Extended(ch);
    if (!text)
        return;  // the text is full: the character is dropped
    search_.Accept(*text);
    for (int i = 0; i < Items()->Count(); ++i) {
        if (Items()->Get(i).startsWith(*text, Qt::CaseInsensitive)) {
            if (i != ItemIndex()) {
                SetItemIndex(i);
                tk::FireEvent(OnClick, this);
            }
            return;
        }
    }
}

void TKelPopupPickList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Escape) {
        search_.Clear();
        event->accept();
        return;
    }
    const QString text = event->text();
    if (text.size() == 1 && tk::TIncrementalSearch::IsSearchChar(text.front()) &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        event->accept();
        tk::Guarded([&] { SearchFor(text.front()); });
        return;
    }
    tk::TListBox::keyPressEvent(event);
}

// --- Mouse ------------------------------------------------------------------

void TKelPopupPickList::mouseMoveEvent(QMouseEvent* event)
{
    tk::Guarded([&] {
        const QPoint pos = viewport()->mapFrom(this, event->position().toPoint());
        const bool held = event->buttons() & Qt::LeftButton;
        if (held || ListMouseTracking) {
            const int index = ItemAtPos(pos, true);
            if (index >= 0 && index != ItemIndex()) {
                SetItemIndex(index);
                tk::FireEvent(OnClick, this);
            }
        }
    });
    event->accept();
}

void TKelPopupPickList::ReleasedAt(const QPoint& pos)
{
    CloseUp(viewport()->rect().contains(pos));
}

void TKelPopupPickList::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = viewport()->mapFrom(this, event->position().toPoint());
    tk::Guarded([&] { ReleasedAt(pos); });
}

void TKelPopupPickList::AssociateDrag(const QPoint& globalPos, bool released)
{
    const QPoint pos = viewport()->mapFromGlobal(globalPos);
    if (!viewport()->rect().contains(pos))
        return;  // the editor's own click or a drag elsewhere
    const int index = ItemAtPos(pos, true);
    if (index >= 0 && index != ItemIndex()) {
        SetItemIndex(index);
        tk::FireEvent(OnClick, this);
    }
    if (released)
        ReleasedAt(pos);
}

void TKelPopupPickList::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0)
        return;
    const int rows = grid_ ? grid_->MouseWheelScrollRows() : tk::WheelScrollLines();
    tk::Guarded([&] { SetTopIndex(qMax(0, TopIndex() - notches * rows)); });
}

int TKelPopupPickList::RowsShown() const
{
    return qMax(1, viewport()->height() / qMax(1, ItemHeight()));
}

// --- Drawing ----------------------------------------------------------------

void TKelPopupPickList::DrawItem(int index, const QRect& rect, tk::TOwnerDrawState state)
{
    if (!OwnerDrawn() || !grid_) {
        tk::TListBox::DrawItem(index, rect, state);
        return;
    }
    tk::TCanvas* canvas = Canvas();
    if (state.testFlag(tk::odSelected)) {
        const bool cellColors = grid_->Options().testFlag(dgRowSelect) || grid_->SelectRowColor() == tk::clNone;
        if (cellColors) {
            canvas->Brush()->SetColor(ResolveColor(grid_->SelectCellColor(), grid_->DefaultSelectCellColor()));
            canvas->Font()->SetColor(ResolveColor(grid_->HighlightText(), grid_->DefaultHighlightText()));
        } else {
            canvas->Brush()->SetColor(grid_->SelectRowColor());
            canvas->Font()->SetColor(Font()->Color());
        }
    }
    tk::TListBox::DrawItem(index, rect.adjusted(0, 0, 0, -1), state);
    canvas->Pen()->SetColor(grid_->DefaultDataLineColor());
    canvas->MoveTo(rect.left(), rect.bottom());
    canvas->LineTo(rect.right() + 1, rect.bottom());
    if (Items()->Count() > RowsShown()) {
        // Next to the scroll bar.
        const int x = isRightToLeft() ? rect.left() : rect.right();
        canvas->Pen()->SetColor(grid_->FixedLineColor());
        canvas->MoveTo(x, rect.top());
        canvas->LineTo(x, rect.bottom() + 1);
    }
}

}  // namespace kelgrid
