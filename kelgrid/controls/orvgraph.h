#pragma once
// The gradient unit as a form includes it: two-colour gradients for
// backgrounds and buttons with hot and pressed looks, and the theme
// questions the grid, its popups and the navigator ask.

#include "kelgrid/controls/gradient.h"
#include "kelgrid/controls/orvthemes.h"
