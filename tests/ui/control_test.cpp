#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/properties.h"
#include "toolkit/ui/forms.h"
#include "toolkit/ui/lists.h"
#include "toolkit/ui/stdctrls.h"

#include <QApplication>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <gtest/gtest.h>

namespace tk {
namespace {

// Records what it is told about the components it observes, reading the
// freed control's widget state at that moment.
class TObserver : public TComponent {
public:
    using TComponent::TComponent;
    QStringList log;

protected:
    void Notification(TComponentCore* component, TOperation operation) override
    {
        if (operation != TOperation::opRemove)
            return;
        const auto* edit = static_cast<QLineEdit*>(component->ComponentObject());
        log << QStringLiteral("%1 '%2' destroying=%3 parent=%4")
                   .arg(component->Name(), edit->text())
                   .arg(component->HasState(TComponentStateFlag::csDestroying))
                   .arg(edit->parentWidget() ? edit->parentWidget()->objectName() : QStringLiteral("-"));
    }
};

TEST(ControlComponent, FreeNotificationOfAControlArrivesWhileItsWidgetIsWhole)
{
    TObserver observer;
    TForm form;
    form.setObjectName(QStringLiteral("frm"));
    auto* edit = new TEdit(&form);
    edit->SetName(QStringLiteral("edtCity"));
    edit->SetText(QStringLiteral("Lyon"));
    edit->FreeNotification(&observer);
    delete edit;
    EXPECT_EQ(observer.log, QStringList{QStringLiteral("edtCity 'Lyon' destroying=1 parent=frm")});
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST(ControlComponent, AnObserverFreedFirstIsNotToldLater)
{
    TForm form;
    auto* edit = new TEdit(&form);
    auto* observer = new TObserver;
    edit->FreeNotification(observer);
    delete observer;
    delete edit;  // would reach the freed observer if the link stayed
    SUCCEED();
}

TEST(ControlComponent, OwnerIsDistinctFromTheParentAndFreesWhatItOwns)
{
    auto* owner = new TComponent;  // non-visual, owns a window
    QPointer<TForm> form = new TForm;
    owner->InsertComponent(form);
    auto* left = new TGroupBox(form);
    auto* right = new TGroupBox(form);
    QPointer<TEdit> edit = new TEdit(left);
    edit->SetName(QStringLiteral("edtName"));
    EXPECT_EQ(edit->Owner(), left);  // by default the parent control
    form->InsertComponent(edit);
    EXPECT_EQ(edit->Owner(), form.data());
    EXPECT_EQ(left->ComponentCount(), 0);

    edit->setParent(right);
    EXPECT_EQ(edit->Owner(), form.data()) << "re-parenting keeps the owner";
    EXPECT_EQ(FindComponent(form, QStringLiteral("EDTNAME")), edit.data());
    EXPECT_EQ(FindComponent(right, QStringLiteral("edtName")), nullptr) << "only owned components are found";

    QPointer<TComponent> nonVisual = new TComponent(form);
    delete owner;
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(edit.isNull());
    EXPECT_TRUE(nonVisual.isNull());
}

TEST(ControlComponent, AnOwnedWidgetFreedByItsQtParentLeavesTheOwner)
{
    TComponent owner;
    auto* panel = new TGroupBox;
    auto* edit = new TEdit(panel);
    owner.InsertComponent(edit);
    delete panel;
    EXPECT_EQ(owner.ComponentCount(), 0);
}

// Form > group box > label; the form's font reaches the label through the
// group box unless the label chose a font of its own.
struct FontCase {
    const char* name;
    std::function<void(TGroupBox*, TLabel*)> prepare;
    int labelSize;
    bool labelParentFont;
    bool labelFontStored;
};

class ParentFontTest : public ::testing::TestWithParam<FontCase> {};

TEST_P(ParentFontTest, PropagatesAndStoresByTheToolkitRule)
{
    TForm form;
    auto* group = new TGroupBox(&form);
    auto* label = new TLabel(group);
    GetParam().prepare(group, label);
    form.Font()->SetSize(14);
    EXPECT_EQ(label->Font()->Size(), GetParam().labelSize);
    EXPECT_EQ(label->font().pointSize(), GetParam().labelSize) << "the widget shows the font";
    EXPECT_EQ(label->ParentFont(), GetParam().labelParentFont);
    EXPECT_EQ(IsStoredProp(label, FindPublishedProperty(label, QStringLiteral("Font"))),
              GetParam().labelFontStored);
    EXPECT_EQ(IsStoredProp(&form, FindPublishedProperty(&form, QStringLiteral("Font"))), true);
    // ParentFont holds its default when on for a control, off for a window.
    EXPECT_EQ(IsDefaultPropValue(label, FindPublishedProperty(label, QStringLiteral("ParentFont"))),
              GetParam().labelParentFont);
    EXPECT_TRUE(IsDefaultPropValue(&form, FindPublishedProperty(&form, QStringLiteral("ParentFont"))));
}

INSTANTIATE_TEST_SUITE_P(
    Control, ParentFontTest,
    ::testing::Values(FontCase{"Inherited", [](TGroupBox*, TLabel*) {}, 14, true, false},
                      FontCase{"OwnFont", [](TGroupBox*, TLabel* l) { l->Font()->SetSize(9); }, 9, false,
                               true},
                      FontCase{"OwnFontEqualToTheParents",
                               [](TGroupBox*, TLabel* l) {
                                   l->Font()->SetSize(12);
                                   l->Font()->SetSize(14);  // what the parent will get
                               },
                               14, false, false},
                      FontCase{"BackToParentFont",
                               [](TGroupBox*, TLabel* l) {
                                   l->Font()->SetSize(9);
                                   l->SetParentFont(true);
                               },
                               14, true, false},
                      FontCase{"GroupWithItsOwnFont",
                               [](TGroupBox* g, TLabel*) { g->Font()->SetName(QStringLiteral("Courier")); },
                               8, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Control, AChildTakesTheFontOfTheParentItMovesTo)
{
    TForm form;
    auto* big = new TGroupBox(&form);
    big->Font()->SetSize(20);
    auto* small = new TGroupBox(&form);
    small->Font()->SetSize(7);
    auto* label = new TLabel(big);
    EXPECT_EQ(label->Font()->Size(), 20);
    label->setParent(small);
    EXPECT_EQ(label->Font()->Size(), 7);
}

TEST(Control, ParentColorCtl3DAndBiDiModeReachTheChildrenThatFollowTheParent)
{
    TForm form;
    auto* group = new TGroupBox(&form);
    auto* follower = new TLabel(group);
    follower->SetParentColor(true);
    auto* own = new TLabel(group);
    own->SetCtl3D(true);
    own->SetBiDiMode(bdLeftToRight);
    group->SetParentColor(true);
    form.SetColor(clRed);
    form.SetCtl3D(false);
    form.SetBiDiMode(bdRightToLeft);
    EXPECT_EQ(follower->Color(), clRed);
    EXPECT_EQ(follower->Ctl3D(), false);
    EXPECT_EQ(follower->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(own->Color(), clDefault);
    EXPECT_EQ(own->Ctl3D(), true);
    EXPECT_EQ(own->BiDiMode(), bdLeftToRight);
}

// Counts CreateWnd and records the set-up it saw.
class TSetupList : public TListBox {
public:
    using TListBox::TListBox;
    QStringList* log = nullptr;
    int creates = 0;

protected:
    void CreateWnd() override
    {
        TListBox::CreateWnd();
        ++creates;
        if (log)
            *log << Name();
    }
};

class TSetupGroup : public TGroupBox {
public:
    using TGroupBox::TGroupBox;
    QStringList* log = nullptr;

protected:
    void CreateWnd() override
    {
        TGroupBox::CreateWnd();
        if (log)
            *log << Name();
    }
};

TEST(Control, CreateWndRunsOnceOnFirstShowAndRecreateWndRunsTheSetUpAgain)
{
    TForm form;
    auto* list = new TSetupList(&form);
    EXPECT_FALSE(list->HandleAllocated());
    form.show();
    EXPECT_TRUE(list->HandleAllocated());
    EXPECT_EQ(list->creates, 1);
    EXPECT_EQ(list->frameShape(), QFrame::StyledPanel);
    form.hide();
    form.show();
    EXPECT_EQ(list->creates, 1) << "showing again keeps the handle";

    QPointer<QListWidget> same = list;
    list->SetBorderStyle(bsNone);  // a property whose change recreates the window
    EXPECT_EQ(list->creates, 2);
    EXPECT_EQ(list->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(same.data(), list) << "the widget is not destroyed";
    list->RecreateWnd();
    EXPECT_EQ(list->creates, 3);
}

TEST(Control, HandleNeededCreatesTheParentsFirstAndRecreateWithoutAHandleDoesNothing)
{
    QStringList log;
    TForm form;
    auto* group = new TSetupGroup(&form);
    group->SetName(QStringLiteral("group"));
    group->log = &log;
    auto* list = new TSetupList(group);
    list->SetName(QStringLiteral("list"));
    list->log = &log;
    list->RecreateWnd();
    EXPECT_TRUE(log.isEmpty());
    list->HandleNeeded();
    EXPECT_EQ(log, (QStringList{QStringLiteral("group"), QStringLiteral("list")}));
    EXPECT_TRUE(form.HandleAllocated());
}

// An edit box that hosts an editor of its own, as a grid hosts its in-place
// editor: a child widget that takes the focus.
class TEditorHost : public TGroupBox {
public:
    explicit TEditorHost(QWidget* parent) : TGroupBox(parent), editor(new QLineEdit(this))
    {
        setFocusPolicy(Qt::StrongFocus);
        setFixedSize(120, 60);
        editor->setGeometry(10, 20, 100, 24);
    }
    QLineEdit* editor;
};

class FocusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.SetBounds(0, 0, 300, 200);
        host = new TEditorHost(&form);
        other = new TEdit(&form);
        other->SetBounds(150, 20, 100, 24);
        host->OnEnter = [this](QObject*) { log << QStringLiteral("enter host"); };
        host->OnExit = [this](QObject*) { log << QStringLiteral("exit host"); };
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        other->setFocus();
        log.clear();
    }

    TForm form;
    TEditorHost* host = nullptr;
    TEdit* other = nullptr;
    QStringList log;
};

TEST_F(FocusTest, AMoveIntoTheControlsOwnEditorIsNoExit)
{
    QTest::mouseClick(host, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(host->hasFocus());
    QTest::mouseClick(host->editor, Qt::LeftButton);
    ASSERT_TRUE(host->editor->hasFocus());
    EXPECT_EQ(log, QStringList{QStringLiteral("enter host")});
    QTest::mouseClick(other, Qt::LeftButton);
    EXPECT_EQ(log, (QStringList{QStringLiteral("enter host"), QStringLiteral("exit host")}));
}

TEST_F(FocusTest, AHandlersExceptionGoesToTheApplicationNotIntoTheEventLoop)
{
    QStringList shown;
    auto saved = Application().OnException;
    Application().OnException = [&](const QString& m) { shown << m; };
    host->OnEnter = [](QObject*) { throw EConvertError(QStringLiteral("bad entry")); };
    QTest::mouseClick(host, Qt::LeftButton, {}, QPoint(5, 5));
    Application().OnException = saved;
    EXPECT_EQ(shown, QStringList{QStringLiteral("bad entry")});
}

// Exposes the focus dispatcher, as a grid calls its own from its code.
class TDispatchingEdit : public TEdit {
public:
    using TEdit::TEdit;
    void Leave() { DoExit(); }
    QStringList enabledLog;
    void SetEnabled(bool enabled) override
    {
        enabledLog << QStringLiteral("SetEnabled(%1)").arg(enabled);
        TEdit::SetEnabled(enabled);
    }
};

TEST(Control, ADispatcherCalledFromCodeLetsTheHandlersExceptionThrough)
{
    TDispatchingEdit edit;
    edit.OnExit = [](QObject*) { throw EConvertError(QStringLiteral("not a number")); };
    EXPECT_THROW(edit.Leave(), EConvertError);
}

TEST(Control, EnabledGoesThroughTheVirtualSetterAndDisablingAParentCancelsTheChildsDrag)
{
    TForm form;
    auto* group = new TGroupBox(&form);
    auto* edit = new TDispatchingEdit(group);
    SetPropText(edit, QStringLiteral("Enabled"), QStringLiteral("False"));
    EXPECT_EQ(edit->enabledLog, QStringList{QStringLiteral("SetEnabled(0)")});
    EXPECT_FALSE(edit->Enabled());
    edit->SetEnabled(true);

    edit->BeginDrag(true);
    group->SetEnabled(false);
    EXPECT_FALSE(edit->Dragging());
    EXPECT_TRUE(edit->Enabled()) << "its own switch stays on";
    EXPECT_FALSE(edit->isEnabled());
}

TEST(Control, TheActiveControlSetBeforeShowingTakesTheFocusWhenTheFormShows)
{
    TForm form;
    auto* first = new TEdit(&form);
    auto* second = new TEdit(&form);
    second->SetTop(30);
    form.SetActiveControl(second);
    EXPECT_EQ(form.ActiveControl(), second);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    EXPECT_TRUE(second->Focused());
    first->SetFocus();
    EXPECT_EQ(form.ActiveControl(), first);
    EXPECT_EQ(first->GetParentForm(), &form);

    TForm other;
    auto* stranger = new TEdit(&other);
    EXPECT_THROW(form.SetActiveControl(stranger), EInvalidOperation);
}

// Logs its posted messages.
class TPostingLabel : public TLabel {
public:
    using TLabel::TLabel;
    QStringList log;

protected:
    void PostedMessage(TMessageId message, qintptr param) override
    {
        log << QStringLiteral("%1:%2").arg(message).arg(param);
    }
};

TEST(Control, APendingPostedMessageCanBeRemoved)
{
    constexpr TMessageId kDeferLayout = 0xB001;
    constexpr TMessageId kOther = 0xB002;
    TPostingLabel label;
    label.PostMessage(kDeferLayout, 1);
    label.PostMessage(kOther, 2);
    EXPECT_TRUE(label.MessagePending(kDeferLayout));
    label.RemovePostedMessages(kDeferLayout);
    EXPECT_FALSE(label.MessagePending(kDeferLayout));
    QCoreApplication::processEvents();
    EXPECT_EQ(label.log, QStringList{QStringLiteral("45058:2")});

    label.log.clear();
    label.PostMessage(kDeferLayout, 3);
    label.RemovePostedMessages(kDeferLayout);
    label.PostMessage(kDeferLayout, 4);
    QCoreApplication::processEvents();
    EXPECT_EQ(label.log.size(), 1) << "one message was still pending";
    EXPECT_FALSE(label.MessagePending(kDeferLayout));
}

TEST(Control, CancelModeEndsDragsInEveryWindowBeforeAModalFormOpens)
{
    TForm first;
    auto* dragged = new TLabel(&first);
    TForm second;
    auto* captured = new TEdit(&second);
    first.show();
    second.show();
    QStringList log;
    dragged->OnEndDrag = [&](QObject*, bool dropped) {
        log << QStringLiteral("end dropped=%1").arg(dropped);
    };
    dragged->BeginDrag(true);
    captured->SetMouseCapture(true);
    ASSERT_TRUE(dragged->Dragging());
    ASSERT_TRUE(captured->MouseCapture());

    TForm modal;
    QTimer::singleShot(0, &modal, [&] { modal.SetModalResult(mrOk); });
    EXPECT_EQ(modal.ShowModal(), mrOk);
    EXPECT_FALSE(dragged->Dragging());
    EXPECT_FALSE(captured->MouseCapture());
    EXPECT_EQ(log, QStringList{QStringLiteral("end dropped=0")});

    // The application going inactive cancels too.
    dragged->BeginDrag(true);
    Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
    EXPECT_FALSE(dragged->Dragging());
}

TEST(Control, DragWaitsForTheThresholdAndEndsDroppedOnRelease)
{
    TForm form;
    auto* label = new TLabel(&form);
    label->SetBounds(0, 0, 200, 100);
    form.show();
    QStringList log;
    label->OnStartDrag = [&](QObject*) { log << QStringLiteral("start"); };
    label->OnEndDrag = [&](QObject*, bool dropped) { log << QStringLiteral("end dropped=%1").arg(dropped); };
    label->SetDragMode(dmAutomatic);
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(label->DragPending());
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 10), label->mapToGlobal(QPointF(60, 10)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(label, &move);
    EXPECT_TRUE(label->Dragging());
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(60, 10));
    EXPECT_EQ(log, (QStringList{QStringLiteral("start"), QStringLiteral("end dropped=1")}));
}

TEST(Control, PopupMenuIsFoundOnTheNearestParentAndForgottenWhenFreed)
{
    TForm form;
    auto* group = new TGroupBox(&form);
    auto* label = new TLabel(group);
    auto* menu = new TPopupMenu(&form);
    form.SetPopupMenu(menu);
    EXPECT_EQ(label->GetPopupMenu(), menu);
    auto* own = new TPopupMenu(&form);
    group->SetPopupMenu(own);
    EXPECT_EQ(label->GetPopupMenu(), own);
    delete own;
    EXPECT_EQ(group->PopupMenu(), nullptr);
    EXPECT_EQ(label->GetPopupMenu(), menu);
}

TEST(Control, QtsOwnToolTipStaysSilentAndHintIsAMember)
{
    TForm form;
    auto* label = new TLabel(&form);
    label->SetBounds(0, 0, 100, 30);
    label->SetHint(QStringLiteral("The hint"));
    label->setToolTip(QStringLiteral("Qt's tip"));
    form.show();
    QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), label->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(label, &help);
    EXPECT_FALSE(QToolTip::isVisible());
    EXPECT_EQ(GetPropText(label, QStringLiteral("Hint")), QStringLiteral("The hint"));
}

TEST(Control, EnumerationsReadAndWriteByName)
{
    TEdit edit;
    SetPropText(&edit, QStringLiteral("BiDiMode"), QStringLiteral("bdRightToLeftNoAlign"));
    SetPropText(&edit, QStringLiteral("Cursor"), QStringLiteral("crHourGlass"));
    SetPropText(&edit, QStringLiteral("ImeMode"), QStringLiteral("imHira"));
    EXPECT_EQ(edit.BiDiMode(), bdRightToLeftNoAlign);
    EXPECT_EQ(edit.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(GetPropText(&edit, QStringLiteral("ImeMode")), QStringLiteral("imHira"));
    EXPECT_EQ(GetPropText(&edit, QStringLiteral("BorderStyle")), QStringLiteral("bsSingle"));
}

TEST(Control, SetFocusOnAHiddenControlRaises)
{
    TForm form;
    auto* edit = new TEdit(&form);
    form.show();
    edit->SetVisible(false);
    EXPECT_FALSE(edit->CanFocus());
    EXPECT_THROW(edit->SetFocus(), EInvalidOperation);
}

}  // namespace
}  // namespace tk
