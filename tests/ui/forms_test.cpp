#include "tests/support/qt_printers.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/properties.h"
#include "toolkit/ui/forms.h"
#include "toolkit/ui/listbox.h"
#include "toolkit/ui/memo.h"
#include "toolkit/ui/stdctrls.h"
#include "toolkit/ui/sysinfo.h"

#include <QApplication>
#include <QScopeGuard>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace tk {
namespace {

// A dialog with an edit, a memo, OK (default, mrOk) and Cancel (cancel,
// mrCancel), as designed windows are built in code.
class TDialog : public TForm {
public:
    TDialog()
    {
        SetBounds(0, 0, 300, 200);
        edit = new TEdit(this);
        edit->SetBounds(10, 10, 200, 24);
        memo = new TMemo(this);
        memo->SetBounds(10, 40, 200, 60);
        ok = new TButton(this);
        ok->SetBounds(10, 150, 75, 25);
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        ok->OnClick = [this](QObject*) { log << QStringLiteral("ok"); };
        cancel = new TButton(this);
        cancel->SetBounds(90, 150, 75, 25);
        cancel->SetCancel(true);
        cancel->SetModalResult(mrCancel);
        cancel->OnClick = [this](QObject*) { log << QStringLiteral("cancel"); };
        SetActiveControl(edit);
    }

    TEdit* edit;
    TMemo* memo;
    TButton* ok;
    TButton* cancel;
    QStringList log;
};

struct TKeyCase {
    const char* name;
    std::function<void(TDialog&)> prepare;
    int key;
    int expectedResult;
    QStringList expectedLog;
};

class FormKeyTest : public ::testing::TestWithParam<TKeyCase> {};

// The key is pressed inside the modal loop; a window still open afterwards
// is closed with mrIgnore, so every row ends.
TEST_P(FormKeyTest, EnterAndEscapeReachTheDefaultAndCancelButtons)
{
    const TKeyCase& c = GetParam();
    TDialog dialog;
    QString error;
    Application().OnException = [&](const QString& message) { error = message; };
    const auto restore = qScopeGuard([] { Application().OnException = nullptr; });
    if (c.prepare)
        c.prepare(dialog);
    QTimer::singleShot(0, &dialog, [&] {
        test::WidgetDriver(&dialog).Press(c.key);
        if (dialog.isVisible())
            dialog.SetModalResult(mrIgnore);
    });
    EXPECT_EQ(dialog.ShowModal(), c.expectedResult);
    EXPECT_EQ(dialog.log, c.expectedLog);
    EXPECT_EQ(error.isEmpty(), !c.expectedLog.contains(QStringLiteral("raised")));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FormKeyTest,
    ::testing::Values(TKeyCase{"EnterInAnEditClicksTheDefault", nullptr, Qt::Key_Return, mrOk, {"ok"}},
                      TKeyCase{"KeypadEnterToo", nullptr, Qt::Key_Enter, mrOk, {"ok"}},
                      TKeyCase{"EscapeClicksTheCancelButton", nullptr, Qt::Key_Escape, mrCancel, {"cancel"}},
                      TKeyCase{"EnterOnAFocusedButtonClicksThatButton",
                               [](TDialog& d) { d.SetActiveControl(d.cancel); },
                               Qt::Key_Return,
                               mrCancel,
                               {"cancel"}},
                      TKeyCase{"EnterInAMemoIsTheMemos",
                               [](TDialog& d) { d.SetActiveControl(d.memo); },
                               Qt::Key_Return,
                               mrIgnore,
                               {}},
                      TKeyCase{"ADisabledDefaultIsNotClicked",
                               [](TDialog& d) { d.ok->SetEnabled(false); },
                               Qt::Key_Return,
                               mrIgnore,
                               {}},
                      TKeyCase{"AHiddenCancelIsNotClicked",
                               [](TDialog& d) { d.cancel->SetVisible(false); },
                               Qt::Key_Escape,
                               mrCancel,
                               {}},
                      TKeyCase{"EscapeWithoutACancelButtonCloses",
                               [](TDialog& d) { d.cancel->SetCancel(false); },
                               Qt::Key_Escape,
                               mrCancel,
                               {}},
                      TKeyCase{"TheHandlerTakesTheResultBack",
                               [](TDialog& d) {
                                   d.ok->OnClick = [&d](QObject*) {
                                       d.log << QStringLiteral("ok");
                                       d.SetModalResult(mrNone);
                                   };
                               },
                               Qt::Key_Return,
                               mrIgnore,
                               {"ok"}},
                      TKeyCase{"AButtonWithoutAResultLeavesTheWindowOpen",
                               [](TDialog& d) { d.ok->SetModalResult(mrNone); },
                               Qt::Key_Return,
                               mrIgnore,
                               {"ok"}},
                      TKeyCase{"AHandlerThatRaisesKeepsTheWindowOpen",
                               [](TDialog& d) {
                                   d.ok->OnClick = [&d](QObject*) {
                                       d.log << QStringLiteral("raised");
                                       throw EInvalidOperation(QStringLiteral("Check the name"));
                                   };
                               },
                               Qt::Key_Return,
                               mrIgnore,
                               {"raised"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Form, AHandlerThatRaisesLeavesNoResultBehind)
{
    TDialog dialog;
    Application().OnException = [](const QString&) {};
    const auto restore = qScopeGuard([] { Application().OnException = nullptr; });
    dialog.ok->OnClick = [](QObject*) { throw EInvalidOperation(QStringLiteral("Check the name")); };
    QTimer::singleShot(0, &dialog, [&] {
        dialog.ok->Click();
        EXPECT_EQ(dialog.ModalResult(), mrNone);
        dialog.close();  // the title bar's close
    });
    EXPECT_EQ(dialog.ShowModal(), mrCancel);
}

TEST(Form, ButtonAndWindowPropertiesReadAndWriteByName)
{
    TDialog dialog;
    EXPECT_EQ(GetPropText(&dialog, QStringLiteral("BorderStyle")), QStringLiteral("bsSizeable"));
    SetPropText(&dialog, QStringLiteral("BorderStyle"), QStringLiteral("bsDialog"));
    EXPECT_EQ(dialog.BorderStyle(), TFormBorderStyle::bsDialog);
    SetPropText(&dialog, QStringLiteral("Position"), QStringLiteral("poScreenCenter"));
    EXPECT_EQ(dialog.Position(), poScreenCenter);
    ASSERT_TRUE(SetPropertyPath(&dialog, QStringLiteral("Constraints.MinWidth"), QStringLiteral("120")));
    EXPECT_EQ(dialog.Constraints()->MinWidth(), 120);
    EXPECT_EQ(GetPropText(dialog.ok, QStringLiteral("ModalResult")), QStringLiteral("1"));
    EXPECT_EQ(GetPropText(dialog.ok, QStringLiteral("Default")), QStringLiteral("True"));
    EXPECT_EQ(GetPropText(dialog.cancel, QStringLiteral("Cancel")), QStringLiteral("True"));
    EXPECT_EQ(GetPropText(dialog.edit, QStringLiteral("BorderStyle")), QStringLiteral("bsSingle"))
        << "a control keeps its own border style";
}

struct TSizeCase {
    const char* name;
    TFormBorderStyle style;
    std::function<void(TForm&)> act;
    QSize expectedSize;
    QSize expectedMinimum;
    QSize expectedMaximum;
};

class FormSizeTest : public ::testing::TestWithParam<TSizeCase> {};

TEST_P(FormSizeTest, ConstraintsAndFixedFramesLimitTheSize)
{
    const TSizeCase& c = GetParam();
    TForm form;
    form.SetBorderStyle(c.style);
    form.SetClientSize(300, 200);
    c.act(form);
    EXPECT_EQ(form.size(), c.expectedSize);
    EXPECT_EQ(form.minimumSize(), c.expectedMinimum);
    EXPECT_EQ(form.maximumSize(), c.expectedMaximum);
}

constexpr int kMax = QWIDGETSIZE_MAX;

INSTANTIATE_TEST_SUITE_P(Sizes, FormSizeTest,
                         ::testing::Values(TSizeCase{"SizeableWithoutLimits",
                                                     TFormBorderStyle::bsSizeable,
                                                     [](TForm&) {},
                                                     {300, 200},
                                                     {0, 0},
                                                     {kMax, kMax}},
                                           TSizeCase{"SizeableWithinConstraints",
                                                     TFormBorderStyle::bsSizeable,
                                                     [](TForm& f) {
                                                         f.Constraints()->SetMinWidth(350);
                                                         f.Constraints()->SetMaxHeight(150);
                                                     },
                                                     {350, 150},
                                                     {350, 0},
                                                     {kMax, 150}},
                                           TSizeCase{"CodeSizesWithinConstraints",
                                                     TFormBorderStyle::bsSizeable,
                                                     [](TForm& f) {
                                                         f.Constraints()->SetMaxWidth(400);
                                                         f.Constraints()->SetMinHeight(100);
                                                         f.SetBounds(0, 0, 500, 50);
                                                     },
                                                     {400, 100},
                                                     {0, 100},
                                                     {400, kMax}},
                                           TSizeCase{"AFixedFrameKeepsTheSizeCodeGives",
                                                     TFormBorderStyle::bsDialog,
                                                     [](TForm& f) { f.SetWidth(320); },
                                                     {320, 200},
                                                     {320, 200},
                                                     {320, 200}},
                                           TSizeCase{"AFixedFrameWithinConstraints",
                                                     TFormBorderStyle::bsSingle,
                                                     [](TForm& f) {
                                                         f.Constraints()->SetMaxWidth(250);
                                                         f.SetClientHeight(260);
                                                     },
                                                     {250, 260},
                                                     {250, 260},
                                                     {250, 260}},
                                           TSizeCase{"ASizeToolWindowIsSizeable",
                                                     TFormBorderStyle::bsSizeToolWin,
                                                     [](TForm& f) { f.Constraints()->SetMinHeight(220); },
                                                     {300, 220},
                                                     {0, 220},
                                                     {kMax, kMax}},
                                           TSizeCase{"BecomingSizeableFreesTheSize",
                                                     TFormBorderStyle::bsDialog,
                                                     [](TForm& f) {
                                                         f.SetBorderStyle(TFormBorderStyle::bsSizeable);
                                                     },
                                                     {300, 200},
                                                     {0, 0},
                                                     {kMax, kMax}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SizeConstraints, TheLastLimitSetWins)
{
    TSizeConstraints constraints;
    constraints.SetMaxWidth(200);
    constraints.SetMinWidth(300);
    EXPECT_EQ(constraints.MaxWidth(), 300) << "a minimum above the maximum raises it";
    constraints.SetMaxWidth(100);
    EXPECT_EQ(constraints.MinWidth(), 100) << "a maximum below the minimum lowers it";
    constraints.SetMinHeight(-5);
    EXPECT_EQ(constraints.MinHeight(), 0);
    EXPECT_EQ(constraints.Constrain(QSize(50, 50)), QSize(100, 50));
}

TEST(Form, FrameStylesChooseTheWindowKind)
{
    TForm form;
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint)) << "sizeable by default";
    form.SetBorderStyle(TFormBorderStyle::bsDialog);
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    form.SetBorderStyle(TFormBorderStyle::bsToolWindow);
    EXPECT_EQ(form.windowType(), Qt::Tool);
    form.SetBorderStyle(TFormBorderStyle::bsNone);
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));

    // A visible window keeps its frame, and its modal loop, until shown next.
    form.show();
    form.SetBorderStyle(TFormBorderStyle::bsSingle);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(form.minimumSize(), form.maximumSize()) << "the size is fixed at once";
    form.hide();
    form.show();
    EXPECT_FALSE(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(form.windowType(), Qt::Dialog);
}

TEST(Form, ScreenCentreAndOwnerCentrePlaceTheWindowWhenShown)
{
    const QRect area = WorkAreaAt(QPoint());
    TForm form;
    form.SetBorderStyle(TFormBorderStyle::bsDialog);
    form.SetBounds(0, 0, 200, 100);
    form.SetPosition(poScreenCenter);
    form.show();
    EXPECT_EQ(form.frameGeometry().center(), area.center());

    TForm owner;
    owner.SetBounds(40, 30, 400, 300);
    owner.show();
    auto* dialog = new TForm;
    owner.InsertComponent(dialog);
    dialog->SetBounds(0, 0, 100, 60);
    dialog->SetPosition(poOwnerFormCenter);
    dialog->show();
    EXPECT_EQ(dialog->frameGeometry().center(), owner.frameGeometry().center());

    // Shown again after the owner moved, it follows.
    dialog->hide();
    owner.SetLeft(140);
    dialog->show();
    EXPECT_EQ(dialog->frameGeometry().center(), owner.frameGeometry().center());

    // A window larger than the work area keeps its top-left corner inside.
    TForm large;
    large.SetBounds(0, 0, area.width() + 100, 50);
    large.SetPosition(poScreenCenter);
    large.show();
    EXPECT_EQ(large.frameGeometry().left(), area.left());
}

TEST(Form, ADesignedPositionStaysWhereCodePutIt)
{
    TForm form;
    form.SetBounds(15, 25, 200, 100);
    form.show();
    EXPECT_EQ(form.pos(), QPoint(15, 25));
}

struct THelpCase {
    const char* name;
    const char* focused;  // the object name of the control with the focus
    int formContext;
    QList<int> expected;
};

class FormHelpTest : public ::testing::TestWithParam<THelpCase> {};

// form (context from the row) > group (10) > inGroup (0), own (20);
// form > loose (0), list (30).
TEST_P(FormHelpTest, F1ShowsTheNearestHelpContext)
{
    const THelpCase& c = GetParam();
    QList<int> shown;
    Application().OnHelp = [&](int context) {
        shown << context;
        return true;
    };
    const auto restore = qScopeGuard([] { Application().OnHelp = nullptr; });
    TForm form;
    form.SetHelpContext(c.formContext);
    auto* group = new TGroupBox(&form);
    group->SetHelpContext(10);
    group->SetBounds(0, 0, 200, 100);
    auto* inGroup = new TEdit(group);
    inGroup->setObjectName(QStringLiteral("inGroup"));
    inGroup->SetBounds(10, 20, 100, 24);
    auto* own = new TEdit(group);
    own->setObjectName(QStringLiteral("own"));
    own->SetHelpContext(20);
    own->SetBounds(10, 50, 100, 24);
    auto* loose = new TEdit(&form);
    loose->setObjectName(QStringLiteral("loose"));
    loose->SetBounds(10, 110, 100, 24);
    auto* list = new TListBox(&form);
    list->setObjectName(QStringLiteral("list"));
    list->SetHelpContext(30);
    list->SetBounds(120, 110, 100, 60);
    form.show();
    form.findChild<QWidget*>(QString::fromLatin1(c.focused))->setFocus();
    test::WidgetDriver(&form).Press(Qt::Key_F1);
    EXPECT_EQ(shown, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Contexts, FormHelpTest,
                         ::testing::Values(THelpCase{"TheParentsContext", "inGroup", 5, {10}},
                                           THelpCase{"TheControlsOwn", "own", 5, {20}},
                                           THelpCase{"TheWindowsContext", "loose", 5, {5}},
                                           THelpCase{"NoContextShowsNothing", "loose", 0, {}},
                                           THelpCase{"AListPassesF1On", "list", 0, {30}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Application, HelpNeedsAContextAndAHook)
{
    EXPECT_FALSE(Application().HelpContext(7)) << "no hook";
    Application().OnHelp = [](int) { return false; };
    const auto restore = qScopeGuard([] { Application().OnHelp = nullptr; });
    EXPECT_FALSE(Application().HelpContext(7)) << "the hook did not take it";
    Application().OnHelp = [](int context) { return context == 7; };
    EXPECT_TRUE(Application().HelpContext(7));
    EXPECT_FALSE(Application().HelpContext(0));
}

}  // namespace
}  // namespace tk
