#pragma once
// The graphic fields unit as a form includes it: blob fields that hold
// pictures of several formats (bitmap, JPEG, icon, metafile), the detection
// of a stored value's format, and the field classes datasets make for
// graphic fields while the package is loaded.

#include "kelgrid/controls/blobfield.h"
#include "kelgrid/controls/graphicclass.h"
