#include "tests/support/modal_answerer.h"
#include "tests/support/qt_printers.h"
#include "toolkit/core/application.h"
#include "toolkit/ui/dialogs.h"
#include "toolkit/ui/formenums.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <gtest/gtest.h>

namespace tk {
namespace {

struct TDialogCase {
    const char* name;
    TMsgDlgType type;
    TMsgDlgButtons buttons;
    QMessageBox::StandardButton answer;
    int expectedResult;
    const char* expectedCaption;
    QMessageBox::StandardButtons expectedButtons;
};

class MessageDlgTest : public ::testing::TestWithParam<TDialogCase> {};

TEST_P(MessageDlgTest, ReturnsTheResultOfTheButtonPressed)
{
    const TDialogCase& c = GetParam();
    test::ModalAnswerer answerer;
    answerer.Answer = c.answer;
    EXPECT_EQ(MessageDlg(QStringLiteral("Delete the layout?"), c.type, c.buttons), c.expectedResult);
    ASSERT_EQ(answerer.Boxes().size(), 1);
    EXPECT_EQ(answerer.Boxes()[0].caption, QString::fromLatin1(c.expectedCaption));
    EXPECT_EQ(answerer.Boxes()[0].text, QStringLiteral("Delete the layout?"));
    EXPECT_EQ(answerer.Boxes()[0].buttons, c.expectedButtons);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, MessageDlgTest,
    ::testing::Values(
        TDialogCase{"ConfirmedWithOk", TMsgDlgType::mtConfirmation, mbOKCancel, QMessageBox::Ok, mrOk,
                    "Confirm", QMessageBox::Ok | QMessageBox::Cancel},
        TDialogCase{"RefusedWithCancel", TMsgDlgType::mtConfirmation, mbOKCancel, QMessageBox::Cancel,
                    mrCancel, "Confirm", QMessageBox::Ok | QMessageBox::Cancel},
        TDialogCase{"AnsweredNo", TMsgDlgType::mtWarning, mbYesNo, QMessageBox::No, mrNo, "Warning",
                    QMessageBox::Yes | QMessageBox::No},
        TDialogCase{
            "NoButtonsGiveOk", TMsgDlgType::mtError, {}, QMessageBox::Ok, mrOk, "Error", QMessageBox::Ok}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageDlg, OkIsTheDefaultCancelTheEscapeAndF1ShowsTheHelpTopic)
{
    QList<int> help;
    Application().OnHelp = [&](int context) {
        help << context;
        return true;
    };
    const auto restore = qScopeGuard([] { Application().OnHelp = nullptr; });
    test::ModalAnswerer answerer;
    QStringList defaults;
    answerer.OnBox = [&](const test::TAnsweredBox&) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        defaults << box->defaultButton()->text() << box->escapeButton()->text();
        QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
        QApplication::sendEvent(box->defaultButton(), &f1);
    };
    MessageDlg(QStringLiteral("Apply?"), TMsgDlgType::mtConfirmation, mbOKCancel, 42);
    EXPECT_EQ(defaults.size(), 2);
    EXPECT_EQ(defaults.value(0).remove(QLatin1Char('&')), QStringLiteral("OK"));
    EXPECT_EQ(defaults.value(1).remove(QLatin1Char('&')), QStringLiteral("Cancel"));
    EXPECT_EQ(help, QList<int>{42});
}

}  // namespace
}  // namespace tk
