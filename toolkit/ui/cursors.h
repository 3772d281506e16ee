#pragma once
// Mouse cursors by their classic numbers. The cursor values are plain ints
// here (the control base names them as its TCursor enumeration, whose
// members convert to int); CursorFor turns one into a Qt cursor.
//
// Values without a Qt counterpart, and unknown values, give the arrow.
// crDefault (0) is the control's default look, which is the arrow too.

#include <QCursor>

namespace tk {

namespace CursorValues {
inline constexpr int crDefault = 0;
inline constexpr int crNone = -1;
inline constexpr int crArrow = -2;
inline constexpr int crCross = -3;
inline constexpr int crIBeam = -4;
inline constexpr int crSizeNESW = -6;
inline constexpr int crSizeNS = -7;
inline constexpr int crSizeNWSE = -8;
inline constexpr int crSizeWE = -9;
inline constexpr int crUpArrow = -10;
inline constexpr int crHourGlass = -11;
inline constexpr int crDrag = -12;
inline constexpr int crNoDrop = -13;
inline constexpr int crHSplit = -14;
inline constexpr int crVSplit = -15;
inline constexpr int crMultiDrag = -16;
inline constexpr int crSQLWait = -17;
inline constexpr int crNo = -18;
inline constexpr int crAppStart = -19;
inline constexpr int crHelp = -20;
inline constexpr int crHandPoint = -21;
inline constexpr int crSizeAll = -22;
}  // namespace CursorValues

// The Qt shape of a cursor value (see above for the fallback).
Qt::CursorShape CursorShapeFor(int cursorValue);
QCursor CursorFor(int cursorValue);

}  // namespace tk
