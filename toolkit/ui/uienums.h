#pragma once
// The user-interface enumerations the controls publish and their handlers
// receive: shift state, mouse button, key codes, scroll style, scroll-bar
// style, edit char case, button layout and state, owner-draw state. They
// live in one gadget so that properties of these types read and write by
// key name ("ssBoth", "[ssShift,ssCtrl]"); each set is its own named type.
//
// The member names keep the classic spelling. Sets whose names are unique
// in the toolkit are lifted into namespace tk (code writes ssShift, VK_LEFT);
// the button state shares its "bs" prefix with the border and brush styles,
// so it stays scoped: TButtonState::bsDown.
//
// Also here: the mappings from Qt's modifiers, buttons and keys.

#include <QFlags>
#include <QObject>
#include <optional>

namespace tk {

struct TUiEnums {
    Q_GADGET

public:
    // Keys and buttons held during a key or mouse event.
    enum TShiftStateFlag {
        ssShift = 0x01,
        ssAlt = 0x02,
        ssCtrl = 0x04,
        ssLeft = 0x08,
        ssRight = 0x10,
        ssMiddle = 0x20,
        ssDouble = 0x40,
    };
    Q_DECLARE_FLAGS(TShiftState, TShiftStateFlag)
    Q_FLAG(TShiftState)

    enum TMouseButton { mbLeft, mbRight, mbMiddle };
    Q_ENUM(TMouseButton)

    // The classic virtual-key codes. Letters and digits have no names: their
    // code is the ASCII code of the upper-case letter or the digit ('A', '7').
    enum TVirtualKey {
        VK_BACK = 0x08,
        VK_TAB = 0x09,
        VK_CLEAR = 0x0C,
        VK_RETURN = 0x0D,
        VK_SHIFT = 0x10,
        VK_CONTROL = 0x11,
        VK_MENU = 0x12,
        VK_PAUSE = 0x13,
        VK_CAPITAL = 0x14,
        VK_ESCAPE = 0x1B,
        VK_SPACE = 0x20,
        VK_PRIOR = 0x21,
        VK_NEXT = 0x22,
        VK_END = 0x23,
        VK_HOME = 0x24,
        VK_LEFT = 0x25,
        VK_UP = 0x26,
        VK_RIGHT = 0x27,
        VK_DOWN = 0x28,
        VK_SNAPSHOT = 0x2C,
        VK_INSERT = 0x2D,
        VK_DELETE = 0x2E,
        VK_HELP = 0x2F,
        VK_APPS = 0x5D,
        VK_NUMPAD0 = 0x60,
        VK_NUMPAD1,
        VK_NUMPAD2,
        VK_NUMPAD3,
        VK_NUMPAD4,
        VK_NUMPAD5,
        VK_NUMPAD6,
        VK_NUMPAD7,
        VK_NUMPAD8,
        VK_NUMPAD9,
        VK_MULTIPLY = 0x6A,
        VK_ADD = 0x6B,
        VK_SEPARATOR = 0x6C,
        VK_SUBTRACT = 0x6D,
        VK_DECIMAL = 0x6E,
        VK_DIVIDE = 0x6F,
        VK_F1 = 0x70,
        VK_F2,
        VK_F3,
        VK_F4,
        VK_F5,
        VK_F6,
        VK_F7,
        VK_F8,
        VK_F9,
        VK_F10,
        VK_F11,
        VK_F12,
        VK_NUMLOCK = 0x90,
        VK_SCROLL = 0x91,
        VK_OEM_1 = 0xBA,
        VK_OEM_PLUS = 0xBB,
        VK_OEM_COMMA = 0xBC,
        VK_OEM_MINUS = 0xBD,
        VK_OEM_PERIOD = 0xBE,
        VK_OEM_2 = 0xBF,
    };
    Q_ENUM(TVirtualKey)

    // Which scroll bars a setting applies to.
    enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
    Q_ENUM(TScrollStyle)

    enum TScrollBarStyle { ssRegular, ssFlat, ssHotTrack };
    Q_ENUM(TScrollBarStyle)

    enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
    Q_ENUM(TEditCharCase)

    // Where a button's glyph sits relative to its caption.
    enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
    Q_ENUM(TButtonLayout)

    enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
    Q_ENUM(TButtonState)

    // The state of an owner-drawn item, in the classic bit order.
    enum TOwnerDrawStateFlag {
        odSelected = 0x0001,
        odGrayed = 0x0002,
        odDisabled = 0x0004,
        odChecked = 0x0008,
        odFocused = 0x0010,
        odDefault = 0x0020,
        odHotLight = 0x0040,
        odInactive = 0x0080,
        odNoAccel = 0x0100,
        odNoFocusRect = 0x0200,
        odReserved1 = 0x0400,
        odReserved2 = 0x0800,
        odComboBoxEdit = 0x1000,
    };
    Q_DECLARE_FLAGS(TOwnerDrawState, TOwnerDrawStateFlag)
    Q_FLAG(TOwnerDrawState)
};

using TShiftStateFlag = TUiEnums::TShiftStateFlag;
using TShiftState = TUiEnums::TShiftState;
using TMouseButton = TUiEnums::TMouseButton;
using TVirtualKey = TUiEnums::TVirtualKey;
using TScrollStyle = TUiEnums::TScrollStyle;
using TScrollBarStyle = TUiEnums::TScrollBarStyle;
using TEditCharCase = TUiEnums::TEditCharCase;
using TButtonLayout = TUiEnums::TButtonLayout;
using TButtonState = TUiEnums::TButtonState;
using TOwnerDrawStateFlag = TUiEnums::TOwnerDrawStateFlag;
using TOwnerDrawState = TUiEnums::TOwnerDrawState;
using enum TUiEnums::TShiftStateFlag;
using enum TUiEnums::TMouseButton;
using enum TUiEnums::TVirtualKey;
using enum TUiEnums::TScrollStyle;
using enum TUiEnums::TScrollBarStyle;
using enum TUiEnums::TEditCharCase;
using enum TUiEnums::TButtonLayout;
using enum TUiEnums::TOwnerDrawStateFlag;

// The shift state of an event: Shift, Alt and Ctrl from the modifiers,
// Left, Right and Middle from the buttons held, Double for a double click.
// Qt's Meta and keypad modifiers have no counterpart and are dropped.
TShiftState ShiftStateFrom(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton,
                           bool doubleClick = false);
// The reverse for the keyboard part (Shift, Alt, Ctrl); buttons are dropped.
Qt::KeyboardModifiers ModifiersFrom(TShiftState shift);

// The classic button for a Qt button; none for the extra buttons.
std::optional<TMouseButton> MouseButtonFrom(Qt::MouseButton button);

// The virtual-key code of a Qt key (Qt::Key_*); 0 for a key without one.
// keypad (Qt::KeypadModifier in the event) turns digits and the operator
// keys into their numeric-pad codes (VK_NUMPAD7, VK_ADD, VK_DECIMAL). Qt's
// Backtab (Shift+Tab) is VK_TAB and Enter (keypad) is VK_RETURN.
int VirtualKeyFromQt(int qtKey, bool keypad = false);

// A Qt key for a virtual-key code, with keypad set for the numeric-pad
// codes; Qt::Key_unknown for a code without a key.
struct TQtKey {
    int key;
    bool keypad;
};
TQtKey QtKeyFromVirtualKey(int virtualKey);

}  // namespace tk

Q_DECLARE_OPERATORS_FOR_FLAGS(tk::TUiEnums::TShiftState)
Q_DECLARE_OPERATORS_FOR_FLAGS(tk::TUiEnums::TOwnerDrawState)
