#include "toolkit/ui/pagelist.h"

namespace tk {

TStandardPage::TStandardPage(QWidget* parent) : QWidget(parent), TControl(this) {}

TPageList::TPageList(QWidget* parent) : QStackedWidget(parent), TControl(this) {}

TStandardPage* TPageList::AddPage(const QString& name)
{
    auto* page = new TStandardPage(this);
    page->setObjectName(name);
    addWidget(page);
    return page;
}

TStandardPage* TPageList::ActivePage() const
{
    return qobject_cast<TStandardPage*>(currentWidget());
}

void TPageList::SetActivePage(TStandardPage* page)
{
    if (!page || page == currentWidget() || indexOf(page) < 0)
        return;
    setCurrentWidget(page);
    FireEvent(OnChange, this);
}

}  // namespace tk
