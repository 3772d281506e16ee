#pragma once
// The popup menu component a control names in its PopupMenu property. For
// now it is only the component (name, owner, free notification); items and
// showing the menu are added on top of it.

#include "toolkit/core/component.h"

namespace tk {

class TPopupMenu : public TComponent {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TPopupMenu(QObject* owner = nullptr);
    ~TPopupMenu() override;
};

}  // namespace tk
