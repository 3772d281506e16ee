// The popup calculator as the in-place editor and the user see it: its
// keys clicked and typed, the display, the close-up by OK, the keys the
// editor forwards, its layout, font scaling and painting.

#include "kelgrid/editors/popupcalculator.h"

#include "kelgrid/controls/gradient.h"
#include "kelgrid/editors/calcbutton.h"
#include "kelgrid/editors/calcdisplay.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/beep.h"
#include "toolkit/core/numbers.h"
#include "toolkit/ui/colors.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/stdctrls.h"

#include <QImage>
#include <QKeyEvent>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace kelgrid {
namespace {

using namespace calckeys;

class PopupCalculatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedNumbers_ = tk::NumberSettings();
        tk::NumberSettings().DecimalSeparator = u',';
        tk::NumberSettings().ThousandSeparator = u'.';
        previousHook_ = tk::SetBeepHook([this] { ++beeps_; });
        editor_ = std::make_unique<tk::TEdit>();
        editor_->setGeometry(100, 100, 120, 20);
        editor_->show();
        calculator_ = new TKelPopupCalculator(editor_.get());
        calculator_->SetAssociate(editor_.get());
        calculator_->OnCloseUp = [this](QObject*, bool accept) { closeUps_.push_back(accept); };
    }
    void TearDown() override
    {
        editor_.reset();
        tk::SetBeepHook(previousHook_);
        tk::NumberSettings() = savedNumbers_;
    }

    // Clicks the key of code with the mouse.
    void ClickKey(QChar code)
    {
        TKelCalcButton* key = calculator_->KeyFor(code);
        ASSERT_NE(key, nullptr) << "no key for code " << int(code.unicode());
        tk::test::WidgetDriver(calculator_).Click(key->geometry().center());
    }
    void Open(const QString& cellText)
    {
        calculator_->SetInitialText(cellText);
        calculator_->Popup(QPoint(100, 121));
    }

    std::unique_ptr<tk::TEdit> editor_;
    TKelPopupCalculator* calculator_ = nullptr;  // freed with the editor
    std::vector<bool> closeUps_;
    int beeps_ = 0;

private:
    tk::TNumberSettings savedNumbers_;
    tk::TBeepHook previousHook_;
};

TEST_F(PopupCalculatorTest, HasTheStandardLayout)
{
    EXPECT_EQ(calculator_->size(), QSize(205, 155));
    EXPECT_EQ(calculator_->sizeHint(), QSize(205, 155));
    EXPECT_EQ(calculator_->Display()->geometry(), QRect(4, 5, 194, 21));
    ASSERT_EQ(calculator_->Keys().size(), 28);
    const struct {
        QChar code;
        QRect rect;
        const char* caption;
        tk::TColor color;
    } samples[] = {{QChar(kcOk), QRect(4, 30, 30, 22), "OK", tk::clBlack},
                   {QChar(kcClear), QRect(148, 30, 50, 22), "C", tk::clRed},
                   {QChar(kcSquareRoot), QRect(168, 56, 30, 22), "sqrt", tk::clBlue},
                   {QChar(kcMemoryRecall), QRect(4, 80, 30, 22), "MR", tk::clRed},
                   {QChar(u'3'), QRect(104, 104, 30, 22), "3", tk::clBlue},
                   {QChar(kcSign), QRect(72, 128, 30, 22), "+/-", tk::clBlue},
                   {QChar(u'='), QRect(168, 128, 30, 22), "=", tk::clRed}};
    for (const auto& sample : samples) {
        TKelCalcButton* key = calculator_->KeyFor(sample.code);
        ASSERT_NE(key, nullptr) << sample.caption;
        EXPECT_EQ(key->geometry(), sample.rect) << sample.caption;
        EXPECT_EQ(key->text(), QString::fromLatin1(sample.caption));
        EXPECT_EQ(key->Font()->Color(), sample.color) << sample.caption;
        EXPECT_EQ(key->focusPolicy(), Qt::NoFocus) << sample.caption;
    }
}

TEST_F(PopupCalculatorTest, ClickedKeysCalculate)
{
    Open(QStringLiteral("12,5"));
    EXPECT_EQ(calculator_->DisplayText(), QStringLiteral("12,5"));
    for (QChar code : {QChar(u'+'), QChar(u'2'), QChar(u'='), QChar(u'*'), QChar(u'2'), QChar(u'='), QChar(u',')})
        ClickKey(code);
    EXPECT_EQ(calculator_->DisplayText(), QStringLiteral("0,"));
    ClickKey(QChar(kcBack));
    ClickKey(QChar(u'9'));
    ClickKey(QChar(kcSquareRoot));
    EXPECT_EQ(calculator_->DisplayText(), QStringLiteral("3"));
    ClickKey(QChar(kcMemoryStore));
    ClickKey(QChar(kcClear));
    ClickKey(QChar(kcMemoryRecall));
    EXPECT_EQ(calculator_->DisplayText(), QStringLiteral("3"));
    EXPECT_TRUE(closeUps_.empty());
}

TEST_F(PopupCalculatorTest, TypedKeysCalculate)
{
    Open(QString());
    tk::test::WidgetDriver driver(calculator_);
    driver.Type(QStringLiteral("12+3="));
    EXPECT_EQ(calculator_->DisplayText(), QStringLiteral("15"));
    driver.Press(Qt::Key_F9);
    EXPECT_EQ(calculator_->DisplayText(), QStringLiteral("-15"));
    driver.Type(QStringLiteral("7"));
    driver.Press(Qt::Key_Backspace);
    EXPECT_EQ(calculator_->DisplayText(), QStringLiteral("-15"));
    driver.Press(Qt::Key_Delete);
    EXPECT_EQ(calculator_->DisplayText(), QStringLiteral("0"));
    driver.Type(QStringLiteral("4r"));
    EXPECT_EQ(calculator_->DisplayText(), QStringLiteral("0,25"));
    driver.Press(Qt::Key_S, Qt::ControlModifier);  // MS
    driver.Type(QStringLiteral("9"));
    driver.Press(Qt::Key_R, Qt::ControlModifier);  // MR
    EXPECT_EQ(calculator_->DisplayText(), QStringLiteral("0,25"));
}

TEST_F(PopupCalculatorTest, OkClosesAcceptingWithTheResult)
{
    Open(QString());
    tk::test::WidgetDriver(calculator_).Type(QStringLiteral("4+4"));
    ClickKey(QChar(kcOk));
    EXPECT_FALSE(calculator_->IsPopupVisible());
    ASSERT_EQ(closeUps_, std::vector<bool>{true});
    QString result;
    ASSERT_TRUE(calculator_->ResultText(result));
    EXPECT_EQ(result, QStringLiteral("8"));

    // The next opening starts afresh on the new cell's text.
    Open(QStringLiteral("abc"));
    EXPECT_EQ(calculator_->DisplayText(), QStringLiteral("0"));
    ASSERT_TRUE(calculator_->ResultText(result));
    EXPECT_EQ(result, QStringLiteral("0"));
}

TEST_F(PopupCalculatorTest, OkOnAFailingCalculationStaysOpen)
{
    Open(QString());
    tk::test::WidgetDriver(calculator_).Type(QStringLiteral("7/0"));
    ClickKey(QChar(kcOk));
    EXPECT_TRUE(calculator_->IsPopupVisible());
    EXPECT_TRUE(closeUps_.empty());
    EXPECT_EQ(beeps_, 1);
    EXPECT_EQ(calculator_->DisplayText(), QStringLiteral("0"));

    // The user corrects the divisor and accepts.
    tk::test::WidgetDriver(calculator_).Type(QStringLiteral("2"));
    ClickKey(QChar(kcOk));
    ASSERT_EQ(closeUps_, std::vector<bool>{true});
    QString result;
    ASSERT_TRUE(calculator_->ResultText(result));
    EXPECT_EQ(result, QStringLiteral("3,5"));
}

TEST_F(PopupCalculatorTest, ForwardedKeysReachItAndOthersAreLeft)
{
    Open(QString());
    EXPECT_TRUE(calculator_->ForwardKey(QKeyEvent(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, QStringLiteral("5"))));
    EXPECT_TRUE(calculator_->ForwardKey(QKeyEvent(QEvent::KeyPress, Qt::Key_Asterisk, Qt::NoModifier, QStringLiteral("*"))));
    EXPECT_EQ(calculator_->DisplayText(), QStringLiteral("5"));
    // Enter, the arrows and letters mean nothing to the calculator.
    EXPECT_FALSE(calculator_->ForwardKey(QKeyEvent(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"))));
    EXPECT_FALSE(calculator_->ForwardKey(QKeyEvent(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier)));
    EXPECT_FALSE(calculator_->ForwardKey(QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"))));
    EXPECT_TRUE(calculator_->IsPopupVisible());
    EXPECT_TRUE(closeUps_.empty());
}

TEST_F(PopupCalculatorTest, ScalesWithItsFont)
{
    const int oldHeight = calculator_->Font()->Height();
    tk::TFont font;
    font.Assign(calculator_->Font());
    font.SetSize(font.Size() * 2);
    calculator_->SetFont(&font);
    // Fonts keep whole point sizes, so the pixel height is not always twice.
    const int newHeight = calculator_->Font()->Height();
    ASSERT_LT(newHeight, oldHeight * 3 / 2);  // heights are negative: the font grew
    const auto scaled = [&](int v) { return v * newHeight / oldHeight; };
    EXPECT_EQ(calculator_->size(), QSize(scaled(205), scaled(155)));
    EXPECT_EQ(calculator_->Display()->geometry(), QRect(scaled(4), scaled(5), scaled(194), scaled(21)));
    TKelCalcButton* key = calculator_->KeyFor(QChar(u'-'));
    EXPECT_EQ(key->geometry(), QRect(scaled(136), scaled(104), scaled(30), scaled(22)));
    EXPECT_EQ(key->Font()->Height(), newHeight);
    EXPECT_EQ(key->Font()->Color(), tk::clRed);  // each key keeps its colour
    EXPECT_EQ(calculator_->Display()->Font()->Height(), newHeight);

    // Back to the first font: the standard layout again.
    font.Assign(calculator_->Font());
    font.SetHeight(oldHeight);
    calculator_->SetFont(&font);
    EXPECT_EQ(calculator_->size(), QSize(205, 155));
    EXPECT_EQ(key->geometry(), QRect(136, 104, 30, 22));
}

TEST_F(PopupCalculatorTest, PaintsTheDisplayAndTheBorder)
{
    calculator_->SetListBorder(lbGray);
    calculator_->Gradient()->SetActive(false);
    Open(QString());
    QImage image(calculator_->size(), QImage::Format_RGB32);
    calculator_->render(&image);
    const auto at = [&image](int x, int y) {
        const QRgb rgb = image.pixel(x, y);
        return tk::RGB(qRed(rgb), qGreen(rgb), qBlue(rgb));
    };
    EXPECT_EQ(at(0, 0), tk::clGray);
    EXPECT_EQ(at(204, 154), tk::clGray);
    EXPECT_EQ(at(4, 5), DisplayFrameColor);
    EXPECT_EQ(at(8, 8), DisplayFillColor);
    // The "0" is drawn at the display's right end, not at its left.
    bool inkRight = false;
    for (int x = 170; x < 193; ++x)
        for (int y = 8; y < 24; ++y)
            inkRight = inkRight || at(x, y) != DisplayFillColor;
    EXPECT_TRUE(inkRight);
    for (int x = 6; x < 60; ++x)
        EXPECT_EQ(at(x, 15), DisplayFillColor) << x;
}

}  // namespace
}  // namespace kelgrid
