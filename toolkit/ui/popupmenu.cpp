#include "toolkit/ui/popupmenu.h"

#include "toolkit/core/application.h"
#include "toolkit/ui/control.h"

#include <QAction>
#include <QActionGroup>
#include <QFont>
#include <QHash>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QPixmap>
#include <QPointer>

namespace tk {

namespace {

// The actions of the menu shown and the items they stand for.
using TChoices = QHash<QAction*, QPointer<TMenuItem>>;

// True when item has a visible sub-item that is not a separator.
bool HasVisibleEntries(const TMenuItem& item)
{
    for (int i = 0; i < item.Count(); ++i)
        if (item.Items(i)->Visible() && !item.Items(i)->IsLine())
            return true;
    return false;
}

void Decorate(QAction& action, const TMenuItem& item, const TImageList* images, QMenu& menu)
{
    action.setEnabled(item.Enabled());
    // Only a checked item shows a mark, as on the platform (a checkable
    // action would show an empty box in some styles).
    if (item.Checked()) {
        action.setCheckable(true);
        action.setChecked(true);
        if (item.RadioItem())
            (new QActionGroup(&menu))->addAction(&action);  // exclusive: drawn as a radio mark
    }
    if (item.ShortCut() != 0)
        action.setShortcut(QKeySequence(QKeyCombination::fromCombined(item.ShortCut())));
    if (images && item.ImageIndex() >= 0)
        if (const QImage image = images->Image(item.ImageIndex()); !image.isNull())
            action.setIcon(QIcon(QPixmap::fromImage(image)));
    if (item.Default()) {
        QFont font = action.font();
        font.setBold(true);
        action.setFont(font);
        menu.setDefaultAction(&action);
    }
}

// Adds the visible sub-items of parent to menu; returns how many entries
// other than separators it added.
int AddEntries(QMenu& menu, const TMenuItem& parent, const TImageList* images, TChoices& choices)
{
    int added = 0;
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem* item = parent.Items(i);
        if (!item->Visible())
            continue;
        if (item->IsLine()) {
            menu.addSeparator();  // Qt collapses leading, trailing and doubled ones
            continue;
        }
        QAction* action = nullptr;
        if (HasVisibleEntries(*item)) {
            QMenu* sub = menu.addMenu(item->Caption());
            AddEntries(*sub, *item, images, choices);
            action = sub->menuAction();
        } else {
            action = menu.addAction(item->Caption());
            choices.insert(action, item);
        }
        Decorate(*action, *item, images, menu);
        ++added;
    }
    return added;
}

QPoint AlignedPoint(const QMenu& menu, const QPoint& point, TPopupAlignment alignment)
{
    const int width = menu.sizeHint().width();
    switch (alignment) {
    case paRight:
        return point - QPoint(width, 0);
    case paCenter:
        return point - QPoint(width / 2, 0);
    case paLeft:
        break;
    }
    return point;
}

}  // namespace

TPopupMenu::TPopupMenu(QObject* owner) : TComponent(owner), items_(new TMenuItem(this)) {}

TPopupMenu::~TPopupMenu()
{
    Destroying();
}

void TPopupMenu::SetImages(TImageList* images)
{
    if (images == images_)
        return;
    if (images_)
        images_->RemoveFreeNotification(this);
    images_ = images;
    if (images)
        images->FreeNotification(static_cast<TComponentCore*>(this));
}

void TPopupMenu::SetPopupComponent(TComponentCore* component)
{
    if (component == popupComponent_)
        return;
    if (popupComponent_)
        popupComponent_->RemoveFreeNotification(this);
    popupComponent_ = component;
    if (component)
        component->FreeNotification(static_cast<TComponentCore*>(this));
}

void TPopupMenu::Notification(TComponentCore* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove)
        return;
    if (component == popupComponent_)
        popupComponent_ = nullptr;
    if (component == images_)
        images_ = nullptr;
}

void TPopupMenu::DoPopup()
{
    if (OnPopup)
        OnPopup(this);
}

bool TPopupMenu::Popup(int x, int y)
{
    popupPoint_ = QPoint(x, y);
    DoPopup();
    QMenu menu;
    TChoices choices;
    if (AddEntries(menu, *items_, images_, choices) == 0)
        return false;

    TPopupAlignment alignment = alignment_;
    const auto* control = dynamic_cast<const TControl*>(popupComponent_);
    if (control && control->UseRightToLeftAlignment() && alignment != paCenter)
        alignment = alignment == paLeft ? paRight : paLeft;

    BroadcastCancelMode();
    // Nothing of this menu is touched after exec: a handler that ran while
    // the menu was open may have freed it or its items.
    const QPointer<TMenuItem> chosen = choices.value(menu.exec(AlignedPoint(menu, popupPoint_, alignment)));
    if (chosen)
        Guarded([&] { chosen->Click(); });
    return true;
}

}  // namespace tk
