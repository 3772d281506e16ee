#include "toolkit/core/resourcestring.h"

#include <QHash>
#include <QMutex>

namespace tk {

namespace {

struct OverrideTable {
    QMutex mutex;
    QHash<const TResourceString*, const QString*> texts;
};

OverrideTable& Overrides()
{
    static OverrideTable table;
    return table;
}

}  // namespace

QString LoadResString(const TResourceString* resource)
{
    if (!resource)
        return QString();
    OverrideTable& table = Overrides();
    {
        QMutexLocker lock(&table.mutex);
        if (const QString* replacement = table.texts.value(resource, nullptr))
            return *replacement;
    }
    return QString::fromUtf8(resource->text);
}

void SetResourceStringOverride(const TResourceString* resource, const QString* replacement)
{
    if (!resource)
        return;
    OverrideTable& table = Overrides();
    QMutexLocker lock(&table.mutex);
    if (replacement)
        table.texts.insert(resource, replacement);
    else
        table.texts.remove(resource);
}

}  // namespace tk
