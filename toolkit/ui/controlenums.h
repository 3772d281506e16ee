#pragma once
// The enumerations of the control base, in one gadget so that properties of
// these types read and write by key name ("bdRightToLeft", "crHourGlass"),
// lifted into namespace tk so code writes bdRightToLeft.

#include <QMetaEnum>
#include <QObject>

namespace tk {

struct TControlEnums {
    Q_GADGET

public:
    // Reading order and alignment of a control's text.
    enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
    Q_ENUM(TBiDiMode)
    enum TBorderStyle { bsNone, bsSingle };
    Q_ENUM(TBorderStyle)
    // The input-method state a control asks for when it takes the focus.
    enum TImeMode {
        imDisable,
        imClose,
        imOpen,
        imDontCare,
        imSAlpha,
        imAlpha,
        imHira,
        imSKata,
        imKata,
        imChinese,
        imSHanguel,
        imHanguel
    };
    Q_ENUM(TImeMode)
    enum TDragKind { dkDrag, dkDock };
    Q_ENUM(TDragKind)
    // dmAutomatic starts a drag when the left button goes down.
    enum TDragMode { dmManual, dmAutomatic };
    Q_ENUM(TDragMode)
    // The mouse cursors by their classic numbers (crDefault: the control's
    // own, the others negative).
    enum TCursor {
        crDefault = 0,
        crNone = -1,
        crArrow = -2,
        crCross = -3,
        crIBeam = -4,
        crSizeNESW = -6,
        crSizeNS = -7,
        crSizeNWSE = -8,
        crSizeWE = -9,
        crUpArrow = -10,
        crHourGlass = -11,
        crDrag = -12,
        crNoDrop = -13,
        crHSplit = -14,
        crVSplit = -15,
        crMultiDrag = -16,
        crSQLWait = -17,
        crNo = -18,
        crAppStart = -19,
        crHelp = -20,
        crHandPoint = -21,
        crSizeAll = -22
    };
    Q_ENUM(TCursor)
};

using TBiDiMode = TControlEnums::TBiDiMode;
using TBorderStyle = TControlEnums::TBorderStyle;
using TImeMode = TControlEnums::TImeMode;
using TDragKind = TControlEnums::TDragKind;
using TDragMode = TControlEnums::TDragMode;
using TCursor = TControlEnums::TCursor;
using enum TControlEnums::TBiDiMode;
using enum TControlEnums::TBorderStyle;
using enum TControlEnums::TImeMode;
using enum TControlEnums::TDragKind;
using enum TControlEnums::TDragMode;
using enum TControlEnums::TCursor;

}  // namespace tk
