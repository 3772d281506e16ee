#include "tests/support/menu_chooser.h"

#include "tests/support/widget_driver.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>

namespace tk::test {

MenuChooser::MenuChooser(const QString& entry) : entry_(entry)
{
    QTimer::singleShot(0, [this] { Choose(); });
}

void MenuChooser::Choose()
{
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu)
        return;
    opened_ = true;
    QAction* chosen = nullptr;
    for (QAction* action : menu->actions()) {
        entries_.append((action->isChecked() ? QStringLiteral("*") : QString()) + action->text());
        if (action->text() == entry_)
            chosen = action;
    }
    if (chosen)
        WidgetDriver(menu).Click(menu->actionGeometry(chosen).center());
    while (QWidget* open = QApplication::activePopupWidget())
        open->close();
}

}  // namespace tk::test
