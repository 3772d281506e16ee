#include "toolkit/ui/popupmenu.h"

#include "tests/support/expect_raises.h"
#include "tests/support/qt_printers.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/application.h"
#include "toolkit/core/localefacts.h"
#include "toolkit/ui/forms.h"
#include "toolkit/ui/pictures.h"
#include "toolkit/ui/popupwindow.h"
#include "toolkit/ui/stdctrls.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>
#include <QPointer>
#include <QScopedValueRollback>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace tk {
namespace {

// The entries of a menu shown, as "&Open (default) | - | [x]&Bold |
// (o)&Left | &Export{As &text | As &csv} | &Disabled (off)".
QString Entries(const QMenu& menu)
{
    QStringList entries;
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            entries << QStringLiteral("-");
            continue;
        }
        QString entry = action->text();
        if (action->isChecked())
            entry.prepend(action->actionGroup() ? QStringLiteral("(o)") : QStringLiteral("[x]"));
        if (action->menu())
            entry += QLatin1Char('{') + Entries(*action->menu()) + QLatin1Char('}');
        if (!action->shortcut().isEmpty())
            entry += QLatin1Char(' ') + action->shortcut().toString();
        if (!action->icon().isNull())
            entry += QStringLiteral(" (image)");
        if (!action->isEnabled())
            entry += QStringLiteral(" (off)");
        if (menu.defaultAction() == action)
            entry += QStringLiteral(" (default)");
        entries << entry;
    }
    return entries.join(QStringLiteral(" | "));
}

// The user in front of the menu Popup opens: once a menu is open (looked
// for from the menu's own event loop), it notes what the menu shows and
// where, and runs the step, which must close the menu (choose an entry or
// press Escape). A step that leaves a menu open fails the test and the
// menus are closed, so that Popup returns.
class MenuUser {
public:
    explicit MenuUser(std::function<void(QMenu&)> step) : step_(std::move(step))
    {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] { LookForTheMenu(); });
        timer_.start();
    }

    bool Opened() const { return opened_; }
    QString entries;
    QRect geometry;

private:
    void LookForTheMenu()
    {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer_.stop();
        opened_ = true;
        entries = Entries(*menu);
        geometry = menu->geometry();
        step_(*menu);
        if (QApplication::activePopupWidget()) {
            ADD_FAILURE() << "the step left a menu open";
            while (QWidget* open = QApplication::activePopupWidget())
                open->close();
        }
    }

    std::function<void(QMenu&)> step_;
    QTimer timer_;
    bool opened_ = false;
};

void PressKeys(QMenu& menu, std::initializer_list<Qt::Key> keys)
{
    for (Qt::Key key : keys)
        // A key goes to the innermost open menu, as the keyboard grab does.
        QTest::keyClick(QApplication::activePopupWidget() ? QApplication::activePopupWidget() : &menu, key);
}

QAction* ActionNamed(const QMenu& menu, const QString& text)
{
    for (QAction* action : menu.actions())
        if (action->text() == text)
            return action;
    ADD_FAILURE() << "no entry " << text.toStdString();
    return nullptr;
}

void ClickEntry(QMenu& menu, const QString& text)
{
    if (QAction* action = ActionNamed(menu, text))
        test::WidgetDriver(&menu).Click(menu.actionGeometry(action).center());
}

// A menu of every kind of entry; each item's click is logged.
class PopupMenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        open = Add(QStringLiteral("&Open"));
        open->SetDefault(true);
        Add(QStringLiteral("-"));
        bold = Add(QStringLiteral("&Bold"));
        bold->SetChecked(true);
        left = Add(QStringLiteral("&Left"));
        left->SetRadioItem(true);
        left->SetGroupIndex(1);
        left->SetChecked(true);
        right = Add(QStringLiteral("&Right"));
        right->SetRadioItem(true);
        right->SetGroupIndex(1);
        hidden = Add(QStringLiteral("&Hidden"));
        hidden->SetVisible(false);
        disabled = Add(QStringLiteral("&Disabled"));
        disabled->SetEnabled(false);
        exportItem = Add(QStringLiteral("&Export"));
        Add(QStringLiteral("As &text"), exportItem);
        Add(QStringLiteral("As &csv"), exportItem);
        // A sub-menu with nothing visible is a plain entry.
        empty = Add(QStringLiteral("&Nothing below"));
        Add(QStringLiteral("Gone"), empty)->SetVisible(false);
    }

    TMenuItem* Add(const QString& caption, TMenuItem* parent = nullptr)
    {
        auto* item = new TMenuItem(&menu);
        item->SetCaption(caption);
        item->OnClick = [this, caption](QObject*) {
            log << QStringLiteral("click %1%2")
                       .arg(StripHotkey(caption), QApplication::activePopupWidget() ? " (menu open)" : "");
        };
        (parent ? parent : menu.Items())->Add(item);
        return item;
    }

    bool PopupAt(int x = 200, int y = 200)
    {
        const bool shown = menu.Popup(x, y);
        log << QStringLiteral("returned %1").arg(shown);
        return shown;
    }

    QString Log() const { return log.join(QLatin1Char('|')); }

    TPopupMenu menu;
    TMenuItem* open = nullptr;
    TMenuItem* bold = nullptr;
    TMenuItem* left = nullptr;
    TMenuItem* right = nullptr;
    TMenuItem* hidden = nullptr;
    TMenuItem* disabled = nullptr;
    TMenuItem* exportItem = nullptr;
    TMenuItem* empty = nullptr;
    QStringList log;
};

TEST_F(PopupMenuTest, ShowsTheVisibleItemsAsTheyAre)
{
    auto* images = new TImageList;
    TBitmap strip;
    strip.SetSize(32, 16);
    images->AddMasked(strip, clOlive);
    menu.SetImages(images);
    open->SetImageIndex(1);
    bold->SetImageIndex(7);  // no such image: none shown
    bold->SetShortCut(QKeyCombination(Qt::ControlModifier, Qt::Key_B).toCombined());
    MenuUser user([](QMenu& shown) { PressKeys(shown, {Qt::Key_Escape}); });
    EXPECT_TRUE(PopupAt());
    EXPECT_EQ(user.entries,
              QStringLiteral(
                  "&Open (image) (default) | - | [x]&Bold Ctrl+B | (o)&Left | &Right | &Disabled (off) | "
                  "&Export{As &text | As &csv} | &Nothing below"));
    EXPECT_EQ(user.geometry.topLeft(), QPoint(200, 200));
    delete images;
    EXPECT_EQ(menu.Images(), nullptr);
}

struct ChoiceRow {
    const char* name;
    std::function<void(QMenu&)> step;
    const char* expected;
};

void PrintTo(const ChoiceRow& row, std::ostream* out)
{
    *out << row.name;
}

class PopupMenuChoiceTest : public PopupMenuTest, public ::testing::WithParamInterface<ChoiceRow> {};

TEST_P(PopupMenuChoiceTest, TheChosenItemClicksOnceAfterTheMenuClosedAndBeforePopupReturns)
{
    MenuUser user(GetParam().step);
    PopupAt();
    EXPECT_TRUE(user.Opened());
    EXPECT_EQ(Log(), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PopupMenuChoiceTest,
    ::testing::Values(
        ChoiceRow{"ByItsAccelerator", [](QMenu& m) { PressKeys(m, {Qt::Key_B}); }, "click Bold|returned 1"},
        ChoiceRow{"ByArrowsAndEnter",
                  [](QMenu& m) {
                      PressKeys(m, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
                  },
                  "click Bold|returned 1"},
        ChoiceRow{"ByAClick", [](QMenu& m) { ClickEntry(m, QStringLiteral("&Right")); },
                  "click Right|returned 1"},
        ChoiceRow{"InASubMenu",
                  [](QMenu& m) {
                      PressKeys(m, {Qt::Key_E, Qt::Key_C});
                  },
                  "click As csv|returned 1"},
        ChoiceRow{"ASubMenuWithNothingVisibleIsAnItem", [](QMenu& m) { PressKeys(m, {Qt::Key_N}); },
                  "click Nothing below|returned 1"},
        ChoiceRow{"EscapeChoosesNothing", [](QMenu& m) { PressKeys(m, {Qt::Key_Escape}); }, "returned 1"},
        ChoiceRow{"ADisabledItemCannotBeChosen",
                  [](QMenu& m) {
                      PressKeys(m, {Qt::Key_D});
                      ClickEntry(m, QStringLiteral("&Disabled"));
                      EXPECT_TRUE(m.isVisible());
                      PressKeys(m, {Qt::Key_Escape});
                  },
                  "returned 1"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PopupMenuTest, WhatOnPopupChangesIsWhatTheUserSees)
{
    menu.OnPopup = [this](QObject*) {
        log << QStringLiteral("popup");
        hidden->SetVisible(true);
        bold->SetChecked(false);
        open->SetCaption(QStringLiteral("&Open 3 files"));
    };
    MenuUser user([](QMenu& shown) { PressKeys(shown, {Qt::Key_H}); });
    PopupAt();
    EXPECT_TRUE(
        user.entries.startsWith(QStringLiteral("&Open 3 files (default) | - | &Bold | (o)&Left | &Right | "
                                               "&Hidden | ")))
        << user.entries.toStdString();
    EXPECT_EQ(Log(), QStringLiteral("popup|click Hidden|returned 1"));
}

TEST_F(PopupMenuTest, WithoutVisibleItemsNothingIsShownAndNothingCancelled)
{
    for (int i = 0; i < menu.Items()->Count(); ++i)
        if (!menu.Items()->Items(i)->IsLine())
            menu.Items()->Items(i)->SetVisible(false);
    TForm form;
    auto* label = new TLabel(&form);
    label->BeginDrag(true);
    menu.OnPopup = [this](QObject*) { log << QStringLiteral("popup"); };
    MenuUser user([](QMenu& shown) { PressKeys(shown, {Qt::Key_Escape}); });

    EXPECT_FALSE(PopupAt()) << "a separator alone is nothing to show";
    QCoreApplication::processEvents();
    EXPECT_FALSE(user.Opened());
    EXPECT_TRUE(label->Dragging());
    EXPECT_EQ(Log(), QStringLiteral("popup|returned 0"));
}

TEST_F(PopupMenuTest, MouseModesEndAndPopupWindowsCloseBeforeTheMenuShows)
{
    TForm form;
    auto* label = new TLabel(&form);
    TPopupWindow popup;
    form.show();
    popup.Popup(QPoint(10, 10));
    label->BeginDrag(true);
    bool draggingWhileOpen = true;
    bool popupWhileOpen = true;
    MenuUser user([&](QMenu& shown) {
        draggingWhileOpen = label->Dragging();
        popupWhileOpen = popup.IsPopupVisible();
        PressKeys(shown, {Qt::Key_Escape});
    });
    PopupAt();
    EXPECT_TRUE(user.Opened());
    EXPECT_FALSE(draggingWhileOpen);
    EXPECT_FALSE(popupWhileOpen);
}

TEST_F(PopupMenuTest, AnOnPopupExceptionReachesTheCallerAndNoMenuShows)
{
    menu.OnPopup = [](QObject*) { throw EConvertError(QStringLiteral("no items today")); };
    MenuUser user([](QMenu& shown) { PressKeys(shown, {Qt::Key_Escape}); });
    EXPECT_EQ(test::MessageOf<EConvertError>([&] { menu.Popup(200, 200); }),
              QStringLiteral("no items today"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(user.Opened());
}

TEST_F(PopupMenuTest, AnOnClickExceptionGoesToTheApplicationAndPopupReturns)
{
    QStringList shown;
    QScopedValueRollback saved(Application().OnException);
    Application().OnException = [&](const QString& message) { shown << message; };
    bold->OnClick = [](QObject*) { throw EConvertError(QStringLiteral("cannot bold")); };
    MenuUser user([](QMenu& m) { PressKeys(m, {Qt::Key_B}); });
    EXPECT_TRUE(PopupAt());
    EXPECT_EQ(shown, QStringList{QStringLiteral("cannot bold")});
    EXPECT_EQ(Log(), QStringLiteral("returned 1"));
}

struct AlignmentRow {
    const char* name;
    TPopupAlignment alignment;
    bool rightToLeftControl;
    // The menu's left edge for a menu of this width popped up at x = 400.
    std::function<int(int width)> expectedLeft;
};

void PrintTo(const AlignmentRow& row, std::ostream* out)
{
    *out << row.name;
}

class PopupMenuAlignmentTest : public PopupMenuTest, public ::testing::WithParamInterface<AlignmentRow> {};

TEST_P(PopupMenuAlignmentTest, TheMenuStandsByItsAlignmentAtThePoint)
{
    const AlignmentRow& row = GetParam();
    QScopedValueRollback facts(LocaleFacts().RightToLeft, row.rightToLeftControl);
    TEdit edit;
    edit.SetBiDiMode(row.rightToLeftControl ? bdRightToLeft : bdLeftToRight);
    menu.SetPopupComponent(&edit);
    menu.SetAlignment(row.alignment);
    MenuUser user([](QMenu& shown) { PressKeys(shown, {Qt::Key_Escape}); });
    PopupAt(400, 300);
    ASSERT_TRUE(user.Opened());
    EXPECT_EQ(user.geometry.left(), row.expectedLeft(user.geometry.width()));
    EXPECT_EQ(user.geometry.top(), 300);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PopupMenuAlignmentTest,
    ::testing::Values(AlignmentRow{"Left", paLeft, false, [](int) { return 400; }},
                      AlignmentRow{"Right", paRight, false, [](int w) { return 400 - w; }},
                      AlignmentRow{"Centre", paCenter, false, [](int w) { return 400 - w / 2; }},
                      AlignmentRow{"LeftForARightToLeftControl", paLeft, true, [](int w) { return 400 - w; }},
                      AlignmentRow{"RightForARightToLeftControl", paRight, true, [](int) { return 400; }}),
    [](const auto& info) { return std::string(info.param.name); });

// --- A control's context menu -----------------------------------------------------
//
//   form (at 100, 100), menu mnuForm
//   +--------------------------------+
//   | edtName (menu mnuEdit)         |
//   | grpBox                         |
//   |   lblInside (no menu)          |
//   +--------------------------------+

class ContextPopupTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.SetBounds(100, 100, 300, 200);
        edit = new TEdit(&form);
        edit->SetName(QStringLiteral("edtName"));
        edit->SetBounds(10, 10, 120, 24);
        group = new TGroupBox(&form);
        group->SetBounds(10, 50, 200, 100);
        label = new TLabel(group);
        label->SetName(QStringLiteral("lblInside"));
        label->SetBounds(20, 30, 100, 20);
        formMenu = new TPopupMenu(&form);
        formMenu->SetName(QStringLiteral("mnuForm"));
        editMenu = new TPopupMenu(&form);
        editMenu->SetName(QStringLiteral("mnuEdit"));
        for (TPopupMenu* menu : {formMenu, editMenu}) {
            auto* item = new TMenuItem(&form);
            item->SetCaption(QStringLiteral("&Copy"));
            item->OnClick = [this, menu](QObject*) {
                const auto* shownFor = dynamic_cast<TControl*>(menu->PopupComponent());
                log << QStringLiteral("%1 for %2").arg(menu->Name(), shownFor ? shownFor->Name() : "-");
            };
            menu->Items()->Add(item);
        }
        form.SetPopupMenu(formMenu);
        edit->SetPopupMenu(editMenu);
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    QString Log() const { return log.join(QLatin1Char('|')); }

    TForm form;
    TEdit* edit = nullptr;
    TGroupBox* group = nullptr;
    TLabel* label = nullptr;
    TPopupMenu* formMenu = nullptr;
    TPopupMenu* editMenu = nullptr;
    QStringList log;
};

TEST_F(ContextPopupTest, ARightClickPopsTheControlsMenuUpForItAtTheMouse)
{
    MenuUser user([](QMenu& shown) { PressKeys(shown, {Qt::Key_C}); });
    test::WidgetDriver(edit).ContextClick(QPoint(30, 5));
    EXPECT_EQ(user.geometry.topLeft(), edit->mapToGlobal(QPoint(30, 5)));
    EXPECT_EQ(Log(), QStringLiteral("mnuEdit for edtName"));
    EXPECT_EQ(editMenu->PopupComponent(), edit);
    delete edit;
    EXPECT_EQ(editMenu->PopupComponent(), nullptr);
}

TEST_F(ContextPopupTest, AControlWithoutAMenuUsesTheNearestParentsMenu)
{
    MenuUser user([](QMenu& shown) { PressKeys(shown, {Qt::Key_C}); });
    test::WidgetDriver(label).ContextClick(QPoint(5, 5));
    EXPECT_EQ(Log(), QStringLiteral("mnuForm for lblInside"));
}

TEST_F(ContextPopupTest, AHandledRequestShowsNoMenuAndTellsTheClientPosition)
{
    label->OnContextPopup = [this](QObject* sender, const QPoint& mousePos, bool& handled) {
        log << QStringLiteral("request %1 at %2,%3")
                   .arg(sender->objectName())
                   .arg(mousePos.x())
                   .arg(mousePos.y());
        handled = true;
    };
    MenuUser user([](QMenu& shown) { PressKeys(shown, {Qt::Key_Escape}); });
    test::WidgetDriver(label).ContextClick(QPoint(7, 4));
    QCoreApplication::processEvents();
    EXPECT_FALSE(user.Opened());
    EXPECT_EQ(Log(), QStringLiteral("request lblInside at 7,4"));
}

TEST_F(ContextPopupTest, WithoutAutoPopupTheRequestGoesOnAndNoMenuShows)
{
    formMenu->SetAutoPopup(false);
    group->OnContextPopup = [this](QObject*, const QPoint& mousePos, bool&) {
        log << QStringLiteral("group asked at %1,%2").arg(mousePos.x()).arg(mousePos.y());
    };
    MenuUser user([](QMenu& shown) { PressKeys(shown, {Qt::Key_Escape}); });
    test::WidgetDriver(label).ContextClick(QPoint(5, 5));
    QCoreApplication::processEvents();
    EXPECT_FALSE(user.Opened());
    // The label passed the request to its parent, in the parent's client
    // coordinates.
    const QPoint inGroup = group->ScreenToClient(label->mapToGlobal(QPoint(5, 5)));
    EXPECT_EQ(Log(), QStringLiteral("group asked at %1,%2").arg(inGroup.x()).arg(inGroup.y()));
}

struct KeyboardRow {
    const char* name;
    std::function<void(test::WidgetDriver&)> ask;
};

void PrintTo(const KeyboardRow& row, std::ostream* out)
{
    *out << row.name;
}

class ContextPopupKeyboardTest : public ContextPopupTest,
                                 public ::testing::WithParamInterface<KeyboardRow> {};

TEST_P(ContextPopupKeyboardTest, FromTheKeyboardTheMenuOpensAtTheClientAreasTopLeft)
{
    edit->setFocus();
    edit->OnContextPopup = [this](QObject*, const QPoint& mousePos, bool&) {
        log << QStringLiteral("asked at %1,%2").arg(mousePos.x()).arg(mousePos.y());
    };
    MenuUser user([](QMenu& shown) { PressKeys(shown, {Qt::Key_C}); });
    test::WidgetDriver driver(&form);
    GetParam().ask(driver);
    EXPECT_EQ(user.geometry.topLeft(), edit->ClientToScreen(QPoint(0, 0)));
    EXPECT_EQ(Log(), QStringLiteral("asked at -1,-1|mnuEdit for edtName"));
}

INSTANTIATE_TEST_SUITE_P(Rows, ContextPopupKeyboardTest,
                         ::testing::Values(KeyboardRow{"MenuKey", [](test::WidgetDriver& d) { d.MenuKey(); }},
                                           KeyboardRow{"ShiftF10",
                                                       [](test::WidgetDriver& d) {
                                                           d.Press(Qt::Key_F10, Qt::ShiftModifier);
                                                       }}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ContextPopupTest, AnExceptionOfTheRequestHandlerGoesToTheApplication)
{
    QStringList shown;
    QScopedValueRollback saved(Application().OnException);
    Application().OnException = [&](const QString& message) { shown << message; };
    label->OnContextPopup = [](QObject*, const QPoint&, bool&) {
        throw EConvertError(QStringLiteral("no menu"));
    };
    MenuUser user([](QMenu& shown) { PressKeys(shown, {Qt::Key_Escape}); });
    test::WidgetDriver(label).ContextClick(QPoint(5, 5));
    EXPECT_EQ(shown, QStringList{QStringLiteral("no menu")});
    QCoreApplication::processEvents();
    EXPECT_FALSE(user.Opened()) << "the failed request went on to the parent's menu";
}

// --- Menu items -----------------------------------------------------------------

TEST(MenuItem, TheListOfSubItemsAndItsErrors)
{
    TMenuItem root;
    auto* a = new TMenuItem(&root);
    a->SetCaption(QStringLiteral("&Save && close"));
    auto* b = new TMenuItem(&root);
    b->SetCaption(QStringLiteral("-"));
    auto* c = new TMenuItem(&root);
    root.Add(a);
    root.Add(c);
    root.Insert(1, b);
    EXPECT_EQ(root.Count(), 3);
    EXPECT_EQ(root.IndexOf(b), 1);
    EXPECT_EQ(b->Parent(), &root);
    EXPECT_TRUE(b->IsLine());
    EXPECT_EQ(root.Find(QStringLiteral("SAVE && close")), a);
    EXPECT_EQ(root.Find(QStringLiteral("sa&ve && close")), a);
    EXPECT_EQ(root.Find(QStringLiteral("Save")), nullptr);

    EXPECT_EQ(test::MessageOf<EMenuError>([&] { root.Add(a); }), QStringLiteral("Menu inserted twice"));
    EXPECT_EQ(test::MessageOf<EMenuError>([&] { a->Add(&root); }), QStringLiteral("Menu inserted twice"));
    TMenuItem loose;
    EXPECT_EQ(test::MessageOf<EMenuError>([&] { root.Insert(4, &loose); }),
              QStringLiteral("Menu index out of range"));
    EXPECT_EQ(test::MessageOf<EMenuError>([&] { root.Items(3); }), QStringLiteral("Menu index out of range"));
    EXPECT_EQ(test::MessageOf<EMenuError>([&] { root.Remove(&loose); }),
              QStringLiteral("Sub-menu is not in menu"));

    QPointer<TMenuItem> taken = b;
    root.Delete(1);
    EXPECT_FALSE(taken.isNull()) << "Delete takes the item out without freeing it";
    EXPECT_EQ(taken->Parent(), nullptr);
    EXPECT_EQ(root.IndexOf(b), -1);
}

TEST(MenuItem, AFreedItemLeavesItsParentAndAParentFreesItsItems)
{
    TForm form;  // owns the items, as a designed window does
    auto* top = new TMenuItem(&form);
    auto* first = new TMenuItem(&form);
    QPointer<TMenuItem> second = new TMenuItem(&form);
    top->Add(first);
    top->Add(second);
    delete first;
    EXPECT_EQ(top->Count(), 1);
    EXPECT_EQ(top->Items(0), second.data());
    delete top;
    EXPECT_TRUE(second.isNull());
    EXPECT_EQ(form.ComponentCount(), 0);
}

TEST(MenuItem, CheckingARadioItemUnchecksTheOthersOfItsGroup)
{
    TMenuItem root;
    const auto add = [&root](bool radio, int group) {
        auto* item = new TMenuItem(&root);
        item->SetRadioItem(radio);
        item->SetGroupIndex(group);
        item->SetChecked(true);
        root.Add(item);
        return item;
    };
    TMenuItem* plain = add(false, 1);
    TMenuItem* first = add(true, 1);
    TMenuItem* otherGroup = add(true, 2);
    TMenuItem* second = add(true, 1);
    EXPECT_FALSE(first->Checked());
    EXPECT_TRUE(second->Checked());
    EXPECT_TRUE(plain->Checked());
    EXPECT_TRUE(otherGroup->Checked());
    first->SetChecked(true);
    EXPECT_FALSE(second->Checked());
}

struct HotkeyRow {
    const char* caption;
    const char* plain;
};

class StripHotkeyTest : public ::testing::TestWithParam<HotkeyRow> {};

TEST_P(StripHotkeyTest, LeavesTheCaptionWithoutItsMarks)
{
    EXPECT_EQ(StripHotkey(QString::fromUtf8(GetParam().caption)), QString::fromUtf8(GetParam().plain));
}

INSTANTIATE_TEST_SUITE_P(Rows, StripHotkeyTest,
                         ::testing::Values(HotkeyRow{"&File", "File"},
                                           HotkeyRow{"Save && close", "Save & close"},
                                           HotkeyRow{"&&&Tools", "&Tools"}, HotkeyRow{"End&", "End"},
                                           HotkeyRow{"Plain", "Plain"}));

}  // namespace
}  // namespace tk
