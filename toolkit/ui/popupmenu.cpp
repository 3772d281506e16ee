#include "toolkit/ui/popupmenu.h"

namespace tk {

TPopupMenu::TPopupMenu(QObject* owner) : TComponent(owner) {}

TPopupMenu::~TPopupMenu()
{
    Destroying();
}

}  // namespace tk
