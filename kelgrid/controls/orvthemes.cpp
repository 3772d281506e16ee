#include "kelgrid/controls/orvthemes.h"

#include "toolkit/core/properties.h"
#include "toolkit/ui/themes.h"

#include <QMetaProperty>
#include <QWidget>

namespace kelgrid {

std::function<bool(const QWidget*)> NeedsInvalidate = ControlNeedsInvalidate;

bool ThemesEnabled(const QWidget* /*control*/)
{
    return tk::ThemesEnabled();
}

bool ControlNeedsInvalidate(const QWidget* control)
{
    if (!control || ThemesEnabled(control))
        return false;
    const QMetaProperty transparent = tk::FindPublishedProperty(control, QStringLiteral("Transparent"));
    if (transparent.isValid())
        return transparent.read(control).toBool();
    if (tk::FindPublishedProperty(control, QStringLiteral("Gradient")).isValid()) {
        const QMetaProperty parentBackground = tk::FindPublishedProperty(control, QStringLiteral("ParentBackground"));
        return parentBackground.isValid() && parentBackground.read(control).toBool();
    }
    return false;
}

}  // namespace kelgrid
