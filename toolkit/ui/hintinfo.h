#pragma once
// THintInfo: what the hint engine is about to show, handed to the control
// under the mouse in the CM_HINTSHOW query (TControl::CMHintShow), which
// may change any of it; and the hint texts' two parts.
//
// A control's Hint may hold two parts, "short|long": the short part is the
// hint shown; the long part is for a status line. Without "|" both are the
// whole text.

#include "toolkit/ui/colors.h"
#include "toolkit/ui/hintwindow.h"

#include <QPoint>
#include <QRect>
#include <QString>
#include <QVariant>

namespace tk {

class TControl;

struct THintInfo {
    // The control the hint is for (the engine keeps working for this
    // control whatever the query writes here).
    TControl* HintControl = nullptr;
    // The class of the window the hint shows in.
    THintWindowClass HintWindowClass = nullptr;
    // The window's top-left, in screen coordinates (below the cursor).
    QPoint HintPos;
    // The widest the text may be before it wraps (the screen's width).
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    // While the mouse stays inside it the hint is not asked for again; in
    // the hint control's client coordinates (default: the whole control).
    QRect CursorRect;
    // The mouse, in the hint control's client coordinates.
    QPoint CursorPos;
    // Milliseconds after which the control is asked again while the mouse
    // stays (0: never; the hint then hides after HideTimeout).
    int ReshowTimeout = 0;
    // Milliseconds the hint stays up; negative: until the mouse leaves the
    // cursor rectangle or some input cancels it.
    int HideTimeout = 0;
    QString HintStr;
    // Passed on to the window's CalcHintRect and ActivateHintData.
    QVariant HintData;
};

// The part of hint before the first "|" (all of it without one).
QString GetShortHint(const QString& hint);
// The part after the first "|" (all of it without one).
QString GetLongHint(const QString& hint);

}  // namespace tk
