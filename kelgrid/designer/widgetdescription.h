#pragma once
// What Designer is told of one widget class of the grid package: the texts
// of its widget-box entry, the header a form includes, the size a new one
// gets, its icon and how to make one.

#include <QIcon>
#include <QSize>
#include <QString>

class QWidget;

namespace kelgrid::designer {

struct TWidgetDescription {
    // The class with its namespace, as uic writes it and as moc names it.
    QString className;
    // Root-relative, as installed under include/kelsafe.
    QString includeFile;
    QString toolTip;
    QString whatsThis;
    // The object name of the first one dropped on a form.
    QString objectName;
    QSize defaultSize;
    QIcon icon;
    QWidget* (*create)(QWidget* parent) = nullptr;
};

}  // namespace kelgrid::designer
