#include "kelgrid/designer/widgetplugin.h"

#include <QXmlStreamWriter>

namespace kelgrid::designer {

TWidgetPlugin::TWidgetPlugin(TWidgetDescription description, QObject* parent)
    : QObject(parent), description_(std::move(description))
{
    Q_ASSERT(description_.create != nullptr);
    Q_ASSERT(!description_.className.isEmpty() && !description_.includeFile.isEmpty());
}

QWidget* TWidgetPlugin::createWidget(QWidget* parent)
{
    return description_.create(parent);
}

void TWidgetPlugin::initialize(QDesignerFormEditorInterface*)
{
    initialized_ = true;
}

QString TWidgetPlugin::domXml() const
{
    // Written, not pasted together, so that every name is escaped.
    QString xml;
    QXmlStreamWriter writer(&xml);
    writer.writeStartElement(QStringLiteral("ui"));
    writer.writeAttribute(QStringLiteral("language"), QStringLiteral("c++"));
    writer.writeStartElement(QStringLiteral("widget"));
    writer.writeAttribute(QStringLiteral("class"), description_.className);
    writer.writeAttribute(QStringLiteral("name"), description_.objectName);
    writer.writeStartElement(QStringLiteral("property"));
    writer.writeAttribute(QStringLiteral("name"), QStringLiteral("geometry"));
    writer.writeStartElement(QStringLiteral("rect"));
    writer.writeTextElement(QStringLiteral("x"), QStringLiteral("0"));
    writer.writeTextElement(QStringLiteral("y"), QStringLiteral("0"));
    writer.writeTextElement(QStringLiteral("width"), QString::number(description_.defaultSize.width()));
    writer.writeTextElement(QStringLiteral("height"), QString::number(description_.defaultSize.height()));
    writer.writeEndElement();  // rect
    writer.writeEndElement();  // property
    writer.writeEndElement();  // widget
    writer.writeEndElement();  // ui
    return xml;
}

}  // namespace kelgrid::designer
