#include "toolkit/ui/menuitem.h"

#include "toolkit/core/resourcestring.h"

namespace tk {

TK_RESOURCESTRING(SMenuIndexError, "Menu index out of range");
TK_RESOURCESTRING(SMenuReinserted, "Menu inserted twice");
TK_RESOURCESTRING(SMenuNotFound, "Sub-menu is not in menu");

QString StripHotkey(const QString& caption)
{
    QString plain;
    plain.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        // "&x" keeps x; "&&" keeps one "&"; a final "&" goes.
        if (caption.at(i) == QLatin1Char('&') && ++i == caption.size())
            break;
        plain.append(caption.at(i));
    }
    return plain;
}

TMenuItem::TMenuItem(QObject* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem()
{
    Destroying();
    Clear();
    if (parent_)
        parent_->Remove(this);
}

void TMenuItem::SetChecked(bool checked)
{
    checked_ = checked;
    if (checked && radioItem_)
        TurnSiblingsOff();
}

void TMenuItem::SetRadioItem(bool on)
{
    radioItem_ = on;
    if (on && checked_)
        TurnSiblingsOff();
}

void TMenuItem::SetGroupIndex(int index)
{
    groupIndex_ = index;
    if (radioItem_ && checked_)
        TurnSiblingsOff();
}

void TMenuItem::TurnSiblingsOff()
{
    if (!parent_)
        return;
    for (TMenuItem* sibling : parent_->items_)
        if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
            sibling->checked_ = false;
}

TMenuItem* TMenuItem::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EMenuError(LoadResString(&SMenuIndexError));
    return items_.at(index);
}

void TMenuItem::Add(TMenuItem* item)
{
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item)
        return;
    if (item->parent_)
        throw EMenuError(LoadResString(&SMenuReinserted));
    if (index < 0 || index > Count())
        throw EMenuError(LoadResString(&SMenuIndexError));
    // An item cannot hold one of the items above it.
    for (const TMenuItem* above = this; above; above = above->parent_)
        if (above == item)
            throw EMenuError(LoadResString(&SMenuReinserted));
    items_.insert(index, item);
    item->parent_ = this;
    if (item->radioItem_ && item->checked_)
        item->TurnSiblingsOff();
}

void TMenuItem::Delete(int index)
{
    Remove(Items(index));
}

void TMenuItem::Remove(TMenuItem* item)
{
    const int index = IndexOf(item);
    if (index < 0)
        throw EMenuError(LoadResString(&SMenuNotFound));
    items_.removeAt(index);
    item->parent_ = nullptr;
}

void TMenuItem::Clear()
{
    // Each freed item leaves the list itself.
    while (!items_.isEmpty())
        delete items_.last();
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    return static_cast<int>(items_.indexOf(const_cast<TMenuItem*>(item)));
}

TMenuItem* TMenuItem::Find(const QString& caption) const
{
    const QString wanted = StripHotkey(caption);
    for (TMenuItem* item : items_)
        if (StripHotkey(item->caption_).compare(wanted, Qt::CaseInsensitive) == 0)
            return item;
    return nullptr;
}

void TMenuItem::Click()
{
    if (!enabled_)
        return;
    if (autoCheck_)
        SetChecked(!checked_);
    if (OnClick)
        OnClick(this);
}

}  // namespace tk
