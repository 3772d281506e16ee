#pragma once
// The theme questions of the gradient unit.
//
// ThemesEnabled(control): whether control is painted by the theme. On this
// platform themes are one switch for the whole application
// (tk::ThemesEnabled), so a control is themed exactly while they are on.
// ControlNeedsInvalidate(control): whether a control must be repainted
// when what is behind it changes: never while themed; else its Boolean
// property "Transparent" or, for a control with a "Gradient" property, its
// "ParentBackground"; false when it has neither. NeedsInvalidate is the hook
// the package asks (initially ControlNeedsInvalidate), replaceable by an
// application.

#include "kelgrid/kelgridexport.h"

#include <functional>

class QWidget;

namespace kelgrid {

KELGRID_EXPORT bool ThemesEnabled(const QWidget* control);
KELGRID_EXPORT bool ControlNeedsInvalidate(const QWidget* control);
KELGRID_EXPORT extern std::function<bool(const QWidget*)> NeedsInvalidate;

}  // namespace kelgrid
