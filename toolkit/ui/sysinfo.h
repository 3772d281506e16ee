#pragma once
// System facts the controls ask for, read from Qt each time (the user may
// change them while the program runs): screen and work area, scroll-bar
// metrics, drag threshold, double-click time, wheel lines, a tick count and
// the state of the modifier keys and mouse buttons. All need the
// application object (QApplication) and the user-interface thread.

#include "toolkit/ui/uienums.h"

#include <QPoint>
#include <QRect>

namespace tk {

// The primary screen's whole area and its work area (without panels and
// docks), in global coordinates; empty rectangles without a screen.
QRect ScreenRect();
QRect WorkAreaRect();
// The work area of the screen holding globalPoint; the primary screen's
// when no screen holds it.
QRect WorkAreaAt(const QPoint& globalPoint);

// Width of a vertical scroll bar and height of a horizontal one, from the
// application style (one metric in Qt), and the smallest thumb length.
int ScrollBarExtent();
int ScrollBarThumbMinimum();

// Pixels the mouse must move with a button down before a drag starts.
int DragThreshold();
// Milliseconds within which a second click is a double click.
int DoubleClickTime();
// Lines one wheel notch scrolls (the user's setting, at least 1).
int WheelScrollLines();

// Milliseconds on a monotonic clock. Unlike the classic 32-bit tick count it
// does not wrap, so differences are always right.
qint64 TickCount();

// Shift, Alt and Ctrl as the keyboard has them now, and the mouse buttons
// held (the state of the last input event on platforms that cannot query).
TShiftState CurrentShiftState();
// Whether VK_SHIFT, VK_CONTROL or VK_MENU is held now; false for any other
// code (Qt tells the modifiers only).
bool IsKeyDown(int virtualKey);

}  // namespace tk
