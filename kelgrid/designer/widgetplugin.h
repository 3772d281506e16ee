#pragma once
// One entry of Designer's widget box, in the "kelgrid" group, answered from
// its description (widgetdescription.h). None of the package's widgets is
// a container.

#include "kelgrid/designer/widgetdescription.h"

#include <QDesignerCustomWidgetInterface>
#include <QObject>

namespace kelgrid::designer {

class TWidgetPlugin : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)

public:
    TWidgetPlugin(TWidgetDescription description, QObject* parent);

    static inline const QString GroupName = QStringLiteral("kelgrid");

    QString name() const override { return description_.className; }
    QString group() const override { return GroupName; }
    QString toolTip() const override { return description_.toolTip; }
    QString whatsThis() const override { return description_.whatsThis; }
    QString includeFile() const override { return description_.includeFile; }
    QIcon icon() const override { return description_.icon; }
    bool isContainer() const override { return false; }
    QWidget* createWidget(QWidget* parent) override;
    bool isInitialized() const override { return initialized_; }
    void initialize(QDesignerFormEditorInterface* core) override;
    // The widget as a new one lands on a form: its object name and geometry.
    QString domXml() const override;

private:
    TWidgetDescription description_;
    bool initialized_ = false;
};

}  // namespace kelgrid::designer
