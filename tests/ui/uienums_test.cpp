#include "toolkit/ui/uienums.h"

#include "tests/support/qt_printers.h"

#include <QMetaEnum>
#include <gtest/gtest.h>
#include <ostream>

namespace tk {
namespace {

struct KeyCase {
    const char* name;
    int qtKey;
    bool keypad;
    int virtualKey;
    bool reversible;  // the way back gives the same Qt key
};

void PrintTo(const KeyCase& c, std::ostream* os)
{
    *os << c.name;
}

class KeyMapping : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyMapping, QtKeyGivesTheClassicCode)
{
    const KeyCase& c = GetParam();
    EXPECT_EQ(VirtualKeyFromQt(c.qtKey, c.keypad), c.virtualKey);
    if (c.reversible) {
        const TQtKey back = QtKeyFromVirtualKey(c.virtualKey);
        EXPECT_EQ(back.key, c.qtKey);
        EXPECT_EQ(back.keypad, c.keypad);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyMapping,
    ::testing::Values(KeyCase{"Left", Qt::Key_Left, false, 0x25, true},
                      KeyCase{"Down", Qt::Key_Down, false, 0x28, true},
                      KeyCase{"PageUpIsPrior", Qt::Key_PageUp, false, VK_PRIOR, true},
                      KeyCase{"PageDownIsNext", Qt::Key_PageDown, false, VK_NEXT, true},
                      KeyCase{"LetterIsUpperCaseAscii", Qt::Key_Q, false, 'Q', true},
                      KeyCase{"DigitIsAscii", Qt::Key_7, false, '7', true},
                      KeyCase{"KeypadDigit", Qt::Key_7, true, 0x67, true},
                      KeyCase{"F2", Qt::Key_F2, false, 0x71, true},
                      KeyCase{"F12", Qt::Key_F12, false, 0x7B, true},
                      KeyCase{"ShiftTabArrivesAsBacktab", Qt::Key_Backtab, false, VK_TAB, false},
                      KeyCase{"KeypadEnterIsReturn", Qt::Key_Enter, true, VK_RETURN, false},
                      KeyCase{"Return", Qt::Key_Return, false, 0x0D, true},
                      KeyCase{"AltIsMenu", Qt::Key_Alt, false, 0x12, true},
                      KeyCase{"Escape", Qt::Key_Escape, false, 0x1B, true},
                      KeyCase{"Backspace", Qt::Key_Backspace, false, 0x08, true},
                      KeyCase{"KeypadPlusIsAdd", Qt::Key_Plus, true, 0x6B, true},
                      KeyCase{"MainPlusIsNotAdd", Qt::Key_Plus, false, VK_OEM_PLUS, true},
                      KeyCase{"KeypadMinusIsSubtract", Qt::Key_Minus, true, 0x6D, true},
                      KeyCase{"KeypadAsteriskIsMultiply", Qt::Key_Asterisk, true, 0x6A, true},
                      KeyCase{"KeypadSlashIsDivide", Qt::Key_Slash, true, 0x6F, true},
                      KeyCase{"KeypadPeriodIsDecimal", Qt::Key_Period, true, 0x6E, true},
                      KeyCase{"KeypadCommaIsDecimal", Qt::Key_Comma, true, 0x6E, false},
                      KeyCase{"MainAsteriskHasNoCode", Qt::Key_Asterisk, false, 0, false},
                      KeyCase{"UnknownKeyHasNoCode", Qt::Key_Launch0, false, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(UiEnums, CodesWithoutKeyGiveUnknown)
{
    EXPECT_EQ(QtKeyFromVirtualKey(0xE5).key, Qt::Key_unknown);
    EXPECT_EQ(QtKeyFromVirtualKey(0).key, Qt::Key_unknown);
}

TEST(UiEnums, ShiftStateTakesModifiersButtonsAndDoubleClick)
{
    EXPECT_EQ(ShiftStateFrom(Qt::ShiftModifier | Qt::ControlModifier | Qt::KeypadModifier),
              TShiftState(ssShift | ssCtrl));
    EXPECT_EQ(ShiftStateFrom(Qt::AltModifier, Qt::LeftButton | Qt::MiddleButton, true),
              TShiftState(ssAlt | ssLeft | ssMiddle | ssDouble));
    EXPECT_EQ(ShiftStateFrom(Qt::MetaModifier, Qt::RightButton | Qt::BackButton), TShiftState(ssRight));
    EXPECT_EQ(ModifiersFrom(ssShift | ssAlt | ssLeft), Qt::ShiftModifier | Qt::AltModifier);
    EXPECT_EQ(MouseButtonFrom(Qt::RightButton), mbRight);
    EXPECT_EQ(MouseButtonFrom(Qt::BackButton), std::nullopt);
}

// Properties of these types are streamed and translated by key name.
TEST(UiEnums, SetsReadAndWriteByName)
{
    EXPECT_STREQ(QMetaEnum::fromType<TScrollStyle>().valueToKey(ssBoth), "ssBoth");
    EXPECT_STREQ(QMetaEnum::fromType<TScrollBarStyle>().valueToKey(ssHotTrack), "ssHotTrack");
    EXPECT_STREQ(QMetaEnum::fromType<TButtonState>().valueToKey(int(TButtonState::bsDown)), "bsDown");
    EXPECT_EQ(QMetaEnum::fromType<TShiftState>().valueToKeys(int(ssShift | ssDouble)),
              QByteArray("ssShift|ssDouble"));
    bool ok = false;
    EXPECT_EQ(QMetaEnum::fromType<TOwnerDrawState>().keysToValue("odSelected|odFocused|odComboBoxEdit", &ok),
              int(odSelected | odFocused | odComboBoxEdit));
    EXPECT_TRUE(ok);
    EXPECT_EQ(QMetaEnum::fromType<TVirtualKey>().keyToValue("VK_F2"), 0x71);
}

}  // namespace
}  // namespace tk
