#pragma once
// The data-aware controls unit as a form includes it: the record navigator
// with caption, gradient and fine button looks.

#include "kelgrid/controls/keldbnavbutton.h"
#include "kelgrid/controls/keldbnavigator.h"
#include "toolkit/ui/dbnavigator.h"
