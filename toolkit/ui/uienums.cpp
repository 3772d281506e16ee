#include "toolkit/ui/uienums.h"

#include <array>
#include <utility>

namespace tk {
namespace {

// Keys that map one to one, outside the letter, digit and function-key runs.
// Where two Qt keys give one code, the first row is the way back.
constexpr std::array<std::pair<int, int>, 29> kNamedKeys{{{Qt::Key_Backspace, VK_BACK},
                                                          {Qt::Key_Tab, VK_TAB},
                                                          {Qt::Key_Backtab, VK_TAB},
                                                          {Qt::Key_Clear, VK_CLEAR},
                                                          {Qt::Key_Return, VK_RETURN},
                                                          {Qt::Key_Enter, VK_RETURN},
                                                          {Qt::Key_Shift, VK_SHIFT},
                                                          {Qt::Key_Control, VK_CONTROL},
                                                          {Qt::Key_Alt, VK_MENU},
                                                          {Qt::Key_Pause, VK_PAUSE},
                                                          {Qt::Key_CapsLock, VK_CAPITAL},
                                                          {Qt::Key_Escape, VK_ESCAPE},
                                                          {Qt::Key_Space, VK_SPACE},
                                                          {Qt::Key_PageUp, VK_PRIOR},
                                                          {Qt::Key_PageDown, VK_NEXT},
                                                          {Qt::Key_End, VK_END},
                                                          {Qt::Key_Home, VK_HOME},
                                                          {Qt::Key_Left, VK_LEFT},
                                                          {Qt::Key_Up, VK_UP},
                                                          {Qt::Key_Right, VK_RIGHT},
                                                          {Qt::Key_Down, VK_DOWN},
                                                          {Qt::Key_Print, VK_SNAPSHOT},
                                                          {Qt::Key_Insert, VK_INSERT},
                                                          {Qt::Key_Delete, VK_DELETE},
                                                          {Qt::Key_Help, VK_HELP},
                                                          {Qt::Key_Menu, VK_APPS},
                                                          {Qt::Key_NumLock, VK_NUMLOCK},
                                                          {Qt::Key_ScrollLock, VK_SCROLL},
                                                          {Qt::Key_Semicolon, VK_OEM_1}}};

// Main-keyboard punctuation that has its own code off the numeric pad and
// another one on it.
struct PadKey {
    int qtKey;
    int mainCode;
    int padCode;
};
constexpr std::array<PadKey, 6> kPadKeys{{
    {Qt::Key_Plus, VK_OEM_PLUS, VK_ADD},
    {Qt::Key_Minus, VK_OEM_MINUS, VK_SUBTRACT},
    {Qt::Key_Asterisk, 0, VK_MULTIPLY},
    {Qt::Key_Slash, VK_OEM_2, VK_DIVIDE},
    {Qt::Key_Period, VK_OEM_PERIOD, VK_DECIMAL},
    {Qt::Key_Comma, VK_OEM_COMMA, VK_DECIMAL},
}};

}  // namespace

TShiftState ShiftStateFrom(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool doubleClick)
{
    TShiftState shift;
    shift.setFlag(ssShift, modifiers.testFlag(Qt::ShiftModifier));
    shift.setFlag(ssAlt, modifiers.testFlag(Qt::AltModifier));
    shift.setFlag(ssCtrl, modifiers.testFlag(Qt::ControlModifier));
    shift.setFlag(ssLeft, buttons.testFlag(Qt::LeftButton));
    shift.setFlag(ssRight, buttons.testFlag(Qt::RightButton));
    shift.setFlag(ssMiddle, buttons.testFlag(Qt::MiddleButton));
    shift.setFlag(ssDouble, doubleClick);
    return shift;
}

Qt::KeyboardModifiers ModifiersFrom(TShiftState shift)
{
    Qt::KeyboardModifiers modifiers;
    modifiers.setFlag(Qt::ShiftModifier, shift.testFlag(ssShift));
    modifiers.setFlag(Qt::AltModifier, shift.testFlag(ssAlt));
    modifiers.setFlag(Qt::ControlModifier, shift.testFlag(ssCtrl));
    return modifiers;
}

std::optional<TMouseButton> MouseButtonFrom(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return mbLeft;
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return std::nullopt;
    }
}

int VirtualKeyFromQt(int qtKey, bool keypad)
{
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return keypad ? VK_NUMPAD0 + (qtKey - Qt::Key_0) : qtKey;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey;  // Qt's letter keys are the upper-case ASCII codes too
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
        return VK_F1 + (qtKey - Qt::Key_F1);
    for (const PadKey& pad : kPadKeys)
        if (pad.qtKey == qtKey && (keypad || pad.mainCode != 0))
            return keypad ? pad.padCode : pad.mainCode;
    for (const auto& [qt, code] : kNamedKeys)
        if (qt == qtKey)
            return code;
    return 0;
}

TQtKey QtKeyFromVirtualKey(int virtualKey)
{
    if ((virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z'))
        return {virtualKey, false};
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9)
        return {Qt::Key_0 + (virtualKey - VK_NUMPAD0), true};
    if (virtualKey >= VK_F1 && virtualKey <= VK_F12)
        return {Qt::Key_F1 + (virtualKey - VK_F1), false};
    for (const PadKey& pad : kPadKeys) {
        if (pad.padCode == virtualKey)
            return {pad.qtKey, true};
        if (pad.mainCode != 0 && pad.mainCode == virtualKey)
            return {pad.qtKey, false};
    }
    for (const auto& [qt, code] : kNamedKeys)
        if (code == virtualKey)
            return {qt, false};
    return {Qt::Key_unknown, false};
}

}  // namespace tk
