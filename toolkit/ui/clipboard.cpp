#include "toolkit/ui/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace tk {

void SetClipboardText(const QString& text)
{
    QGuiApplication::clipboard()->setText(text);
}

QString ClipboardText()
{
    return QGuiApplication::clipboard()->text();
}

bool ClipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

}  // namespace tk
