#include "toolkit/ui/popupwindow.h"

#include "tests/support/qt_printers.h"
#include "tests/support/widget_driver.h"
#include "toolkit/ui/forms.h"
#include "toolkit/ui/stdctrls.h"
#include "toolkit/ui/sysinfo.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPointer>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace tk {
namespace {

// --- Placement ------------------------------------------------------------------

struct PlacementRow {
    const char* name;
    QRect anchor;
    QSize size;
    bool rightToLeft;
    QRect expected;
};

void PrintTo(const PlacementRow& row, std::ostream* out)
{
    *out << row.name;
}

class PopupPlacementTest : public ::testing::TestWithParam<PlacementRow> {};

TEST_P(PopupPlacementTest, DropsDownInsideTheWorkArea)
{
    const QRect workArea(0, 0, 800, 600);
    const PlacementRow& row = GetParam();
    EXPECT_EQ(PopupPlacement(row.anchor, row.size, workArea, row.rightToLeft), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PopupPlacementTest,
    ::testing::Values(PlacementRow{"FitsBelow", QRect(100, 100, 120, 20), QSize(150, 80), false,
                                   QRect(100, 120, 150, 80)},
                      PlacementRow{"FlipsAboveNearTheBottom", QRect(100, 550, 120, 20), QSize(150, 80), false,
                                   QRect(100, 470, 150, 80)},
                      PlacementRow{"FlushWithTheBottomWhenNeitherFits", QRect(100, 100, 120, 20),
                                   QSize(150, 550), false, QRect(100, 50, 150, 550)},
                      PlacementRow{"NoTallerThanTheWorkArea", QRect(100, 100, 120, 20), QSize(150, 700),
                                   false, QRect(100, 0, 150, 600)},
                      PlacementRow{"RightAlignedWhenPassingTheRightEdge", QRect(700, 100, 80, 20),
                                   QSize(150, 80), false, QRect(630, 120, 150, 80)},
                      PlacementRow{"KeptInsideOnTheLeft", QRect(-50, 100, 80, 20), QSize(150, 80), false,
                                   QRect(0, 120, 150, 80)},
                      PlacementRow{"WiderThanTheWorkAreaKeepsItsLeftEdgeIn", QRect(100, 100, 80, 20),
                                   QSize(900, 80), false, QRect(0, 120, 900, 80)},
                      PlacementRow{"RightToLeftAlignsTheRightEdges", QRect(300, 100, 120, 20), QSize(150, 80),
                                   true, QRect(270, 120, 150, 80)},
                      PlacementRow{"RightToLeftNearTheLeftEdgeAlignsTheLeftEdges", QRect(10, 100, 80, 20),
                                   QSize(150, 80), true, QRect(10, 120, 150, 80)}),
    [](const auto& info) { return std::string(info.param.name); });

// --- The live popup ---------------------------------------------------------------
//
//   form "frm" (at 100, 100)
//   +------------------------------------------+
//   | pnlEditor (plain, the associate)         |
//   | +--------------------------+             |
//   | | edtCity                  |    empty    |
//   | +--------------------------+             |
//   | pnlFree (plain)                          |
//   | edtOther                                 |
//   +------------------------------------------+
//   popCities (a window, parented to edtCity) holding lstCities

class PopupWindowTest : public ::testing::Test {
public:
    void SetUp() override
    {
        form.setObjectName(QStringLiteral("frm"));
        form.SetBounds(100, 100, 400, 300);
        panel = new QWidget(&form);
        panel->setObjectName(QStringLiteral("pnlEditor"));
        panel->setGeometry(10, 10, 300, 50);
        editor = new TEdit(panel);
        editor->SetName(QStringLiteral("edtCity"));
        editor->SetBounds(10, 10, 120, 24);
        plain = new QWidget(&form);
        plain->setObjectName(QStringLiteral("pnlFree"));
        plain->setGeometry(10, 100, 200, 40);
        other = new TEdit(&form);
        other->SetName(QStringLiteral("edtOther"));
        other->SetBounds(10, 200, 120, 24);

        popup = new TPopupWindow(editor);
        popup->SetName(QStringLiteral("popCities"));
        popup->resize(120, 80);
        list = new QListWidget(popup);
        list->setObjectName(QStringLiteral("lstCities"));
        list->setGeometry(0, 0, 120, 80);
        list->addItems({QStringLiteral("Lyon"), QStringLiteral("Nice"), QStringLiteral("Paris")});
        popup->setFocusProxy(list);
        popup->SetAssociate(panel);
        popup->OnCloseUp = [this](QObject*, bool accept) {
            log << QStringLiteral("closeup(%1)").arg(accept);
        };
        popup->OnOutsideClick = [this](QObject*, QWidget* target, bool&) {
            log << QStringLiteral("outside ") + target->objectName();
        };

        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        editor->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), editor);
    }

    void DropDown()
    {
        popup->Popup(QRect(editor->mapToGlobal(QPoint(0, 0)), editor->size()));
        // Whatever the platform sends about the new window arrives now.
        QCoreApplication::processEvents();
        ASSERT_TRUE(popup->IsPopupVisible());
    }

    QString Log() const { return log.join(QLatin1Char('|')); }

    // Declared before the form: closing the popup while the form goes logs.
    QStringList log;
    TForm form;
    QWidget* panel = nullptr;
    TEdit* editor = nullptr;
    QWidget* plain = nullptr;
    TEdit* other = nullptr;
    QPointer<TPopupWindow> popup;
    QListWidget* list = nullptr;
};

TEST_F(PopupWindowTest, TheEditorKeepsTheFocusAndTheKeysWhileThePopupIsOpen)
{
    DropDown();
    EXPECT_EQ(QApplication::focusWidget(), editor);
    EXPECT_EQ(QApplication::activeWindow(), &form);
    EXPECT_EQ(popup->geometry().topLeft(), editor->mapToGlobal(QPoint(0, editor->height())));

    test::WidgetDriver(&form).Type(QStringLiteral("Ly"));
    EXPECT_EQ(editor->Text(), QStringLiteral("Ly"));

    // What the editor forwards reaches the list, which still has no focus.
    list->setCurrentRow(0);
    EXPECT_TRUE(popup->ForwardKey(QKeyEvent(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier)));
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(list->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(QApplication::focusWidget(), editor);
    EXPECT_EQ(Log(), QString());
}

TEST_F(PopupWindowTest, NearTheBottomOfTheScreenItOpensAboveTheAnchor)
{
    const QRect work = WorkAreaAt(form.geometry().center());
    const QRect anchor(work.left() + 100, work.bottom() - 30, 120, 24);
    popup->Popup(anchor);
    EXPECT_EQ(popup->geometry(), QRect(anchor.left(), anchor.top() - 80, 120, 80));
}

struct ClickRow {
    const char* name;
    std::function<QWidget*(PopupWindowTest&)> target;
    QPoint at;
    QString expected;
};

void PrintTo(const ClickRow& row, std::ostream* out)
{
    *out << row.name;
}

class PopupClickTest : public PopupWindowTest, public ::testing::WithParamInterface<ClickRow> {
public:
    static QWidget* Form(PopupWindowTest& t) { return &t.form; }
    static QWidget* Panel(PopupWindowTest& t) { return t.panel; }
    static QWidget* Editor(PopupWindowTest& t) { return t.editor; }
    static QWidget* Other(PopupWindowTest& t) { return t.other; }
    static QWidget* Free(PopupWindowTest& t) { return t.plain; }
    static QWidget* List(PopupWindowTest& t) { return t.list; }
    static QWidget* Popup(PopupWindowTest& t) { return t.popup; }
};

TEST_P(PopupClickTest, APressOutsideThePopupAndTheEditorClosesIt)
{
    DropDown();
    const ClickRow& row = GetParam();
    test::WidgetDriver(row.target(*this)).Click(row.at);
    EXPECT_EQ(Log(), row.expected);
    EXPECT_EQ(popup->IsPopupVisible(), row.expected.isEmpty());
    if (!popup->IsPopupVisible()) {
        // Once closed, presses are no longer watched.
        test::WidgetDriver(other).Click(QPoint(5, 5));
        EXPECT_EQ(Log(), row.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PopupClickTest,
    ::testing::Values(ClickRow{"AnotherControl", &PopupClickTest::Other, QPoint(5, 5),
                               QStringLiteral("outside edtOther|closeup(0)")},
                      ClickRow{"TheFormsBackground", &PopupClickTest::Form, QPoint(350, 250),
                               QStringLiteral("outside frm|closeup(0)")},
                      // A plain widget passes the press on to its parents: it is one press.
                      ClickRow{"APlainWidgetOutside", &PopupClickTest::Free, QPoint(5, 5),
                               QStringLiteral("outside pnlFree|closeup(0)")},
                      ClickRow{"TheEditorInsideTheAssociate", &PopupClickTest::Editor, QPoint(5, 5),
                               QString()},
                      // The associate passes the press on to the form, which is outside.
                      ClickRow{"TheAssociatesEmptyArea", &PopupClickTest::Panel, QPoint(250, 25), QString()},
                      ClickRow{"ThePopupsChild", &PopupClickTest::List, QPoint(10, 10), QString()},
                      ClickRow{"ThePopupItself", &PopupClickTest::Popup, QPoint(1, 1), QString()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PopupWindowTest, TheOutsideClickHandlerMayKeepThePopupOpen)
{
    popup->OnOutsideClick = [this](QObject*, QWidget* target, bool& close) {
        log << QStringLiteral("outside ") + target->objectName();
        close = false;
    };
    DropDown();
    test::WidgetDriver(plain).Click(QPoint(5, 5));
    test::WidgetDriver(other).DoubleClick(QPoint(5, 5));
    EXPECT_EQ(Log(), QStringLiteral("outside pnlFree|outside edtOther|outside edtOther"));
    EXPECT_TRUE(popup->IsPopupVisible());
}

struct CloseRow {
    const char* name;
    std::function<void(PopupWindowTest&)> act;
};

void PrintTo(const CloseRow& row, std::ostream* out)
{
    *out << row.name;
}

class PopupCloseTest : public PopupWindowTest, public ::testing::WithParamInterface<CloseRow> {
public:
    static void MoveWindow(PopupWindowTest& t) { t.form.move(t.form.pos() + QPoint(10, 0)); }
    static void HideWindow(PopupWindowTest& t) { t.form.hide(); }
    static void HideAssociate(PopupWindowTest& t) { t.panel->hide(); }
};

TEST_P(PopupCloseTest, ClosesWithoutAccepting)
{
    DropDown();
    GetParam().act(*this);
    EXPECT_EQ(Log(), QStringLiteral("closeup(0)"));
    EXPECT_FALSE(popup->IsPopupVisible());
    popup->CloseUp(true);
    EXPECT_EQ(Log(), QStringLiteral("closeup(0)")) << "a hidden popup closes up no more";
}

INSTANTIATE_TEST_SUITE_P(
    Rows, PopupCloseTest,
    ::testing::Values(CloseRow{"CancelMode", [](PopupWindowTest&) { BroadcastCancelMode(); }},
                      CloseRow{"ApplicationDeactivated",
                               [](PopupWindowTest&) {
                                   Q_EMIT qApp->applicationStateChanged(Qt::ApplicationInactive);
                               }},
                      CloseRow{"TheEditorsWindowMoves", &PopupCloseTest::MoveWindow},
                      CloseRow{"TheEditorsWindowHides", &PopupCloseTest::HideWindow},
                      CloseRow{"TheAssociateHides", &PopupCloseTest::HideAssociate}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PopupWindowTest, CloseUpReportsOnceAndCloseReportsNothing)
{
    DropDown();
    popup->CloseUp(true);
    popup->CloseUp(true);
    EXPECT_EQ(Log(), QStringLiteral("closeup(1)"));
    DropDown();
    popup->Close();
    EXPECT_FALSE(popup->IsPopupVisible());
    EXPECT_EQ(Log(), QStringLiteral("closeup(1)"));
}

TEST_F(PopupWindowTest, AHandlerMayFreeThePopup)
{
    popup->OnOutsideClick = [this](QObject*, QWidget*, bool&) { delete popup; };
    DropDown();
    test::WidgetDriver(other).Click(QPoint(5, 5));
    EXPECT_TRUE(popup.isNull());
    // The filter went with it.
    test::WidgetDriver(other).Click(QPoint(5, 5));
}

}  // namespace
}  // namespace tk
