#include "toolkit/ui/checklistbox.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/liststrings.h"
#include "toolkit/ui/themes.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace tk {

namespace {

// Space between the box and the column's edges.
constexpr int kCheckMargin = 2;

TThemedDetails CheckDetails(TCheckBoxState state, bool enabled)
{
    TThemedDetails details;
    details.element = TThemedElement::teCheckBox;
    details.state = enabled ? TThemedState::tsNormal : TThemedState::tsDisabled;
    details.check = state == cbChecked  ? TThemedCheck::tcChecked
                    : state == cbGrayed ? TThemedCheck::tcMixed
                                        : TThemedCheck::tcUnchecked;
    return details;
}

}  // namespace

TCheckListBox::TCheckListBox(QWidget* parent) : TListBox(parent) {}

bool TCheckListBox::Checked(int index) const
{
    return State(index) == cbChecked;
}

void TCheckListBox::SetChecked(int index, bool checked)
{
    SetState(index, checked ? cbChecked : cbUnchecked);
}

TCheckBoxState TCheckListBox::State(int index) const
{
    switch (static_cast<TListWidgetStrings*>(Items())->Item(index)->checkState()) {
    case Qt::Checked:
        return cbChecked;
    case Qt::PartiallyChecked:
        return cbGrayed;
    case Qt::Unchecked:
        break;
    }
    return cbUnchecked;
}

void TCheckListBox::SetState(int index, TCheckBoxState state)
{
    static_cast<TListWidgetStrings*>(Items())->Item(index)->setCheckState(state == cbChecked ? Qt::Checked
                                                                          : state == cbGrayed
                                                                              ? Qt::PartiallyChecked
                                                                              : Qt::Unchecked);
}

bool TCheckListBox::ItemEnabled(int index) const
{
    return !static_cast<TListWidgetStrings*>(Items())->Item(index)->data(kItemDisabledRole).toBool();
}

void TCheckListBox::SetItemEnabled(int index, bool enabled)
{
    // Stored as "disabled" so that a new item is enabled without a value.
    static_cast<TListWidgetStrings*>(Items())->Item(index)->setData(kItemDisabledRole,
                                                                    enabled ? QVariant() : true);
}

void TCheckListBox::ToggleClickCheck(int index)
{
    if (index < 0 || index >= count() || !ItemEnabled(index))
        return;
    switch (State(index)) {
    case cbUnchecked:
        SetState(index, allowGrayed_ ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(index, cbUnchecked);
        break;
    case cbGrayed:
        SetState(index, cbChecked);
        break;
    }
    ClickCheck();
}

void TCheckListBox::ClickCheck()
{
    if (OnClickCheck)
        OnClickCheck(this);
}

// --- Geometry -----------------------------------------------------------------

int TCheckListBox::CheckWidth() const
{
    return ThemedPartSize(CheckDetails(cbUnchecked, true), this).width() + 2 * kCheckMargin;
}

int TCheckListBox::StandardItemHeight() const
{
    const int box = ThemedPartSize(CheckDetails(cbUnchecked, true), this).height();
    return qMax(TListBox::StandardItemHeight(), box + kCheckMargin);
}

QRect TCheckListBox::CheckColumn(const QRect& row) const
{
    const int width = CheckWidth();
    if (UseRightToLeftAlignment())
        return QRect(row.right() + 1 - width, row.top(), width, row.height());
    return QRect(row.left(), row.top(), width, row.height());
}

QRect TCheckListBox::ItemContentRect(const QRect& row) const
{
    const int width = CheckWidth();
    if (UseRightToLeftAlignment())
        return row.adjusted(0, 0, -width, 0);
    return row.adjusted(width, 0, 0, 0);
}

int TCheckListBox::CheckAtPos(const QPoint& pos) const
{
    const int index = ItemAtPos(pos, true);
    return index >= 0 && CheckColumn(ItemRect(index)).contains(pos) ? index : -1;
}

// --- Drawing --------------------------------------------------------------------

void TCheckListBox::DrawItem(int index, const QRect& rect, TOwnerDrawState state)
{
    TCanvas* canvas = Canvas();
    const bool enabled = isEnabled() && ItemEnabled(index);
    // The box column keeps the list's colour whatever the item's state.
    const QRect column = CheckColumn(ItemRect(index));
    const TColor itemBrush = canvas->Brush()->Color();
    canvas->Brush()->SetColor(Color() == clDefault ? clWindow : Color());
    canvas->FillRect(column);
    canvas->Brush()->SetColor(itemBrush);
    const QSize box = ThemedPartSize(CheckDetails(cbUnchecked, true), this);
    const QRect boxRect(column.left() + kCheckMargin, column.top() + (column.height() - box.height()) / 2,
                        box.width(), box.height());
    DrawThemedElement(*canvas, CheckDetails(State(index), enabled), boxRect, this);
    if (!ItemEnabled(index))
        canvas->Font()->SetColor(clGrayText);
    TListBox::DrawItem(index, rect, state);
}

// --- The user's toggles -----------------------------------------------------------

void TCheckListBox::mousePressEvent(QMouseEvent* event)
{
    TListBox::mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        Guarded([&] { ToggleClickCheck(CheckAtPos(event->position().toPoint())); });
}

void TCheckListBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    TListBox::mouseDoubleClickEvent(event);
    // The second click of a double click on a box is a toggle too.
    if (event->button() == Qt::LeftButton)
        Guarded([&] { ToggleClickCheck(CheckAtPos(event->position().toPoint())); });
}

void TCheckListBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        Guarded([this] { ToggleClickCheck(ItemIndex()); });
        return;
    }
    TListBox::keyPressEvent(event);
}

}  // namespace tk
