#pragma once
// KELGRID_EXPORT marks the classes and functions libkelgrid.so exports; the
// package is built with hidden visibility, so everything else stays inside.

#if defined(KELGRID_BUILDING)
#define KELGRID_EXPORT __attribute__((visibility("default")))
#else
#define KELGRID_EXPORT
#endif
