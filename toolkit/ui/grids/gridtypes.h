#pragma once
// The grid base's small types: options, the state of a mouse interaction,
// the drawing state of a cell, scroll directions, cell coordinates and cell
// ranges. The enumerations live in one gadget so properties of these types
// read and write by key name ("[goVertLine,goEditing]").

#include <QFlags>
#include <QObject>
#include <algorithm>

namespace tk {

struct TGridEnums {
    Q_GADGET

public:
    enum TGridOption {
        goFixedVertLine = 0x0001,
        goFixedHorzLine = 0x0002,
        goVertLine = 0x0004,
        goHorzLine = 0x0008,
        goRangeSelect = 0x0010,
        goDrawFocusSelected = 0x0020,
        goRowSizing = 0x0040,
        goColSizing = 0x0080,
        goRowMoving = 0x0100,
        goColMoving = 0x0200,
        goEditing = 0x0400,
        goTabs = 0x0800,
        goRowSelect = 0x1000,
        goAlwaysShowEditor = 0x2000,
        goThumbTracking = 0x4000,
    };
    Q_DECLARE_FLAGS(TGridOptions, TGridOption)
    Q_FLAG(TGridOptions)

    // The mouse interaction the grid is in. Every interaction starts from
    // gsNormal on a press and returns to it on the release or cancel mode:
    //   gsNormal -> gsSelecting   press on a cell (with goRangeSelect the drag
    //                             extends the selection; leaving the cells
    //                             scrolls by timer)
    //   gsNormal -> gsColSizing   press where CalcSizingState finds a column
    //            -> gsRowSizing   or row border (goColSizing, goRowSizing)
    //   gsNormal -> gsColMoving   a press on a fixed title dragged beyond the
    //            -> gsRowMoving   drag threshold, once BeginColumnDrag agrees
    //                             (goColMoving), or StartColumnMoving from a
    //                             press the caller remembered
    // A release ends sizing (ColWidthsChanged / RowHeightsChanged), moving
    // (EndColumnDrag, then MoveColumn at the drop) and selecting; cancel mode
    // ends each without the final step (a size drag keeps the sizes already
    // shown, a move is dropped).
    enum TGridState { gsNormal, gsSelecting, gsRowSizing, gsColSizing, gsRowMoving, gsColMoving };
    Q_ENUM(TGridState)

    enum TGridDrawStateFlag { gdSelected = 0x1, gdFocused = 0x2, gdFixed = 0x4 };
    Q_DECLARE_FLAGS(TGridDrawState, TGridDrawStateFlag)
    Q_FLAG(TGridDrawState)

    enum TGridScrollDirection { sdLeft = 0x1, sdRight = 0x2, sdUp = 0x4, sdDown = 0x8 };
    Q_DECLARE_FLAGS(TGridScrollDirections, TGridScrollDirection)
    Q_FLAG(TGridScrollDirections)
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TGridEnums::TGridOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridEnums::TGridDrawState)
Q_DECLARE_OPERATORS_FOR_FLAGS(TGridEnums::TGridScrollDirections)

using TGridOption = TGridEnums::TGridOption;
using TGridOptions = TGridEnums::TGridOptions;
using TGridState = TGridEnums::TGridState;
using TGridDrawStateFlag = TGridEnums::TGridDrawStateFlag;
using TGridDrawState = TGridEnums::TGridDrawState;
using TGridScrollDirection = TGridEnums::TGridScrollDirection;
using TGridScrollDirections = TGridEnums::TGridScrollDirections;

inline constexpr TGridOption goFixedVertLine = TGridEnums::goFixedVertLine;
inline constexpr TGridOption goFixedHorzLine = TGridEnums::goFixedHorzLine;
inline constexpr TGridOption goVertLine = TGridEnums::goVertLine;
inline constexpr TGridOption goHorzLine = TGridEnums::goHorzLine;
inline constexpr TGridOption goRangeSelect = TGridEnums::goRangeSelect;
inline constexpr TGridOption goDrawFocusSelected = TGridEnums::goDrawFocusSelected;
inline constexpr TGridOption goRowSizing = TGridEnums::goRowSizing;
inline constexpr TGridOption goColSizing = TGridEnums::goColSizing;
inline constexpr TGridOption goRowMoving = TGridEnums::goRowMoving;
inline constexpr TGridOption goColMoving = TGridEnums::goColMoving;
inline constexpr TGridOption goEditing = TGridEnums::goEditing;
inline constexpr TGridOption goTabs = TGridEnums::goTabs;
inline constexpr TGridOption goRowSelect = TGridEnums::goRowSelect;
inline constexpr TGridOption goAlwaysShowEditor = TGridEnums::goAlwaysShowEditor;
inline constexpr TGridOption goThumbTracking = TGridEnums::goThumbTracking;

inline constexpr TGridState gsNormal = TGridEnums::gsNormal;
inline constexpr TGridState gsSelecting = TGridEnums::gsSelecting;
inline constexpr TGridState gsRowSizing = TGridEnums::gsRowSizing;
inline constexpr TGridState gsColSizing = TGridEnums::gsColSizing;
inline constexpr TGridState gsRowMoving = TGridEnums::gsRowMoving;
inline constexpr TGridState gsColMoving = TGridEnums::gsColMoving;

inline constexpr TGridDrawStateFlag gdSelected = TGridEnums::gdSelected;
inline constexpr TGridDrawStateFlag gdFocused = TGridEnums::gdFocused;
inline constexpr TGridDrawStateFlag gdFixed = TGridEnums::gdFixed;

inline constexpr TGridScrollDirection sdLeft = TGridEnums::sdLeft;
inline constexpr TGridScrollDirection sdRight = TGridEnums::sdRight;
inline constexpr TGridScrollDirection sdUp = TGridEnums::sdUp;
inline constexpr TGridScrollDirection sdDown = TGridEnums::sdDown;

// A cell by column (X) and row (Y); -1 for none.
struct TGridCoord {
    int X = -1;
    int Y = -1;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};

// A block of cells, corners included, Left <= Right and Top <= Bottom once
// normalised.
struct TGridRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
    bool Contains(int col, int row) const
    {
        return col >= Left && col <= Right && row >= Top && row <= Bottom;
    }
    // The block spanned by two corners in any order.
    static TGridRect Spanning(TGridCoord a, TGridCoord b)
    {
        return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
    }
};

// The kinds of horizontal scroll-bar action (the classic SB_ codes).
enum class TScrollCode {
    LineUp,
    LineDown,
    PageUp,
    PageDown,
    ThumbPosition,
    ThumbTrack,
    Top,
    Bottom,
    EndScroll
};

}  // namespace tk
