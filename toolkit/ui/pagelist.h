#pragma once
// A stack of pages without tabs: the page shown changes only by code.

#include "toolkit/ui/control.h"

#include <QStackedWidget>

namespace tk {

class TStandardPage : public QWidget, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
public:
    explicit TStandardPage(QWidget* parent = nullptr);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption) { caption_ = caption; }

private:
    QString caption_;
};

class TPageList : public QStackedWidget, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
public:
    explicit TPageList(QWidget* parent = nullptr);
    // Adds a page at the end.
    TStandardPage* AddPage(const QString& name);
    TStandardPage* ActivePage() const;
    // Shows page; fires OnChange when the page shown changed.
    void SetActivePage(TStandardPage* page);

    TNotifyEvent OnChange;

private:
};

}  // namespace tk
