#pragma once
// The plugin's root object: the collection of the grid package's widget
// classes Designer offers (the grid, the navigator and the holder of the
// columns dialog).

#include <QDesignerCustomWidgetCollectionInterface>
#include <QObject>

namespace kelgrid::designer {

class TWidgetCollection : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)

public:
    explicit TWidgetCollection(QObject* parent = nullptr);

    QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return widgets_; }

private:
    QList<QDesignerCustomWidgetInterface*> widgets_;
};

}  // namespace kelgrid::designer
