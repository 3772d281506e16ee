#include "tests/support/qt_printers.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/ui/checklistbox.h"
#include "toolkit/ui/forms.h"

#include <QApplication>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace tk {
namespace {

// A shown check list of A, B, C, D (objects 1 to 4) in a client area of
// 160 x 100, with the focus.
class CheckListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.SetBounds(0, 0, 300, 200);
        list = new TCheckListBox(&form);
        for (const char* text : {"A", "B", "C", "D"})
            list->Items()->AddObject(QString::fromLatin1(text), list->Items()->Count() + 1);
        list->OnClickCheck = [this](QObject* sender) {
            EXPECT_EQ(sender, list);
            ++clickChecks;
        };
        form.show();
        list->SetBounds(10, 10, 160, 100);
        list->SetClientWidth(160);
        list->SetClientHeight(100);
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        list->setFocus();
    }

    // The lines as "text+ (checked), text- (unchecked), text~ (grayed)",
    // "!" for a disabled item, the object, "*" for the current line.
    QString Snapshot() const
    {
        QStringList parts;
        for (int i = 0; i < list->Items()->Count(); ++i) {
            const char* mark = list->State(i) == cbChecked ? "+" : list->State(i) == cbGrayed ? "~" : "-";
            parts << list->Items()->Strings(i) + QLatin1String(mark) +
                         (list->ItemEnabled(i) ? QString() : QStringLiteral("!")) +
                         list->Items()->Objects(i).toString() +
                         (i == list->ItemIndex() ? QStringLiteral("*") : QString());
        }
        return parts.join(QLatin1Char(' '));
    }

public:
    // A point on the check box of item index, and one on its text.
    QPoint OnTheBox(int index) const { return QPoint(6, list->ItemRect(index).center().y()); }
    QPoint OnTheText(int index) const { return QPoint(100, list->ItemRect(index).center().y()); }

protected:
    TForm form;
    TCheckListBox* list = nullptr;
    int clickChecks = 0;
};

struct TToggleCase {
    const char* name;
    std::function<void(TCheckListBox*)> prepare;
    std::function<void(CheckListBoxTest&, test::WidgetDriver&)> act;
    const char* expected;
    int clickChecks;
};

class CheckListBoxToggleTest : public CheckListBoxTest, public ::testing::WithParamInterface<TToggleCase> {};

TEST_P(CheckListBoxToggleTest, TheUserTogglesAndOnClickCheckFiresPerToggle)
{
    const TToggleCase& c = GetParam();
    if (c.prepare)
        c.prepare(list);
    test::WidgetDriver driver(list->viewport());
    c.act(*this, driver);
    EXPECT_EQ(Snapshot(), QString::fromLatin1(c.expected));
    EXPECT_EQ(clickChecks, c.clickChecks);
}

INSTANTIATE_TEST_SUITE_P(
    Toggles, CheckListBoxToggleTest,
    ::testing::Values(
        TToggleCase{"PressOnTheBox", nullptr,
                    [](CheckListBoxTest& t, test::WidgetDriver& d) { d.Click(t.OnTheBox(1)); },
                    "A-1 B+2* C-3 D-4", 1},
        TToggleCase{"PressOnTheTextOnlySelects", nullptr,
                    [](CheckListBoxTest& t, test::WidgetDriver& d) { d.Click(t.OnTheText(1)); },
                    "A-1 B-2* C-3 D-4", 0},
        TToggleCase{"SpaceOnTheCurrentLine", [](TCheckListBox* l) { l->SetItemIndex(2); },
                    [](CheckListBoxTest&, test::WidgetDriver& d) { d.Press(Qt::Key_Space, {}, " "); },
                    "A-1 B-2 C+3* D-4", 1},
        TToggleCase{"DoubleClickOnTheBoxTogglesTwice", nullptr,
                    [](CheckListBoxTest& t, test::WidgetDriver& d) { d.DoubleClick(t.OnTheBox(0)); },
                    "A-1* B-2 C-3 D-4", 2},
        TToggleCase{"BoxOfADisabledItem", [](TCheckListBox* l) { l->SetItemEnabled(1, false); },
                    [](CheckListBoxTest& t, test::WidgetDriver& d) { d.Click(t.OnTheBox(1)); },
                    "A-1 B-!2* C-3 D-4", 0},
        TToggleCase{"SpaceOnADisabledItem",
                    [](TCheckListBox* l) {
                        l->SetItemEnabled(3, false);
                        l->SetItemIndex(3);
                    },
                    [](CheckListBoxTest&, test::WidgetDriver& d) { d.Press(Qt::Key_Space, {}, " "); },
                    "A-1 B-2 C-3 D-!4*", 0},
        TToggleCase{"GrayedOnTheWayWhenAllowed", [](TCheckListBox* l) { l->SetAllowGrayed(true); },
                    [](CheckListBoxTest& t, test::WidgetDriver& d) {
                        d.Click(t.OnTheBox(0));  // grayed
                        d.Click(t.OnTheBox(1));  // grayed
                        d.Click(t.OnTheBox(1));  // checked
                        d.Click(t.OnTheBox(2));
                        d.Click(t.OnTheBox(2));
                        d.Click(t.OnTheBox(2));  // back to unchecked
                    },
                    "A~1 B+2 C-3* D-4", 6}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CheckListBoxTest, CodeSetsStatesWithoutOnClickCheckAlsoOnDisabledItems)
{
    list->SetItemEnabled(2, false);
    list->SetChecked(0, true);
    list->SetState(2, cbGrayed);
    list->SetState(3, cbChecked);
    list->SetChecked(3, false);
    EXPECT_EQ(Snapshot(), QStringLiteral("A+1 B-2 C~!3 D-4"));
    EXPECT_EQ(clickChecks, 0);
    EXPECT_FALSE(list->Checked(2)) << "grayed is not checked";
    EXPECT_THROW(list->SetChecked(4, true), EStringListError);
    EXPECT_THROW(list->ItemEnabled(-1), EStringListError);
}

TEST_F(CheckListBoxTest, TheHandlerDrawsBesideTheBoxAndADisabledItemInGrey)
{
    list->SetItemEnabled(1, false);
    list->SetStyle(lbOwnerDrawFixed);
    QStringList colours;
    QList<int> lefts;
    list->OnDrawItem = [&](QObject*, int, const QRect& rect, TOwnerDrawState) {
        lefts << rect.left();
        colours << (list->Canvas()->Font()->Color() == clGrayText ? "grey" : "plain");
    };
    list->viewport()->repaint();
    EXPECT_EQ(colours, (QStringList{"plain", "grey", "plain", "plain"}));
    ASSERT_EQ(lefts.size(), 4);
    EXPECT_GT(lefts[0], OnTheBox(0).x()) << "the box column is the list's own";
    EXPECT_EQ(lefts.count(lefts[0]), 4);
}

struct TMoveCase {
    const char* name;
    std::function<void(TStrings*)> move;
    const char* expected;
};

class CheckListBoxMoveTest : public CheckListBoxTest, public ::testing::WithParamInterface<TMoveCase> {};

// B is checked and current, C disabled and grayed.
TEST_P(CheckListBoxMoveTest, ItemsKeepTheirStateObjectAndSelection)
{
    list->SetChecked(1, true);
    list->SetState(2, cbGrayed);
    list->SetItemEnabled(2, false);
    list->SetItemIndex(1);
    int clicks = 0;
    list->OnClick = [&](QObject*) { ++clicks; };
    GetParam().move(list->Items());
    EXPECT_EQ(Snapshot(), QString::fromLatin1(GetParam().expected));
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_TRUE(list->Selected(list->ItemIndex())) << "the current line stays the selected one";
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(clickChecks, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Moves, CheckListBoxMoveTest,
    ::testing::Values(
        TMoveCase{"CurrentDown", [](TStrings* s) { s->Move(1, 3); }, "A-1 C~!3 D-4 B+2*"},
        TMoveCase{"OtherUpPastTheCurrent", [](TStrings* s) { s->Move(2, 0); }, "C~!3 A-1 B+2* D-4"},
        TMoveCase{"CurrentToTheTop", [](TStrings* s) { s->Move(1, 0); }, "B+2* A-1 C~!3 D-4"},
        TMoveCase{"ExchangeNeighbours", [](TStrings* s) { s->Exchange(1, 2); }, "A-1 C~!3 B+2* D-4"},
        TMoveCase{"ExchangeTheEnds", [](TStrings* s) { s->Exchange(3, 0); }, "D-4 B+2* C~!3 A-1"},
        TMoveCase{"BadTargetMovesNothing", [](TStrings* s) { EXPECT_THROW(s->Move(1, 4), EStringListError); },
                  "A-1 B+2* C~!3 D-4"}),
    [](const auto& info) { return std::string(info.param.name); });

// The user drags an item onto another, as the columns dialog reorders: a
// drop is accepted on any other item, and moves the dragged item there.
class CheckListBoxDragTest : public CheckListBoxTest {
protected:
    void SetUp() override
    {
        CheckListBoxTest::SetUp();
        list->SetDragMode(dmAutomatic);
        list->SetChecked(0, true);
        list->OnDragOver = [this](QObject* sender, QObject* source, int x, int y, TDragState state,
                                  bool& accept) {
            EXPECT_EQ(sender, list);
            const int target = list->ItemAtPos(QPoint(x, y), true);
            accept = state != dsDragLeave && source == list && target >= 0 && target != list->ItemIndex();
            const char* names[] = {"enter", "leave", "move"};
            log << QStringLiteral("%1 %2%3").arg(names[state]).arg(target).arg(accept ? " accept" : "");
        };
        list->OnDragDrop = [this](QObject*, QObject* source, int x, int y) {
            ASSERT_EQ(source, list);
            const int target = list->ItemAtPos(QPoint(x, y), true);
            log << QStringLiteral("drop %1").arg(target);
            list->Items()->Move(list->ItemIndex(), target);
        };
        list->OnEndDrag = [this](QObject*, bool dropped) {
            log << QStringLiteral("end dropped=%1").arg(dropped);
        };
    }

    QStringList log;
};

TEST_F(CheckListBoxDragTest, DraggingAnItemOntoAnotherMovesIt)
{
    test::WidgetDriver driver(list->viewport());
    driver.MouseDown(OnTheText(0));
    EXPECT_TRUE(list->DragPending());
    driver.MouseMove(OnTheText(0) + QPoint(0, 3));
    EXPECT_TRUE(log.isEmpty()) << "not past the drag threshold";
    driver.MouseMove(OnTheText(2));
    driver.MouseMove(OnTheText(3));
    EXPECT_EQ(list->ItemIndex(), 0) << "the selection does not follow a drag";
    driver.MouseUp(OnTheText(3));
    EXPECT_EQ(log, (QStringList{"enter 2 accept", "move 3 accept", "drop 3", "end dropped=1"}));
    EXPECT_EQ(Snapshot(), QStringLiteral("B-2 C-3 D-4 A+1*"));
    EXPECT_FALSE(list->Dragging());
}

TEST_F(CheckListBoxDragTest, AReleaseWhereTheHandlerRefusedDropsNothing)
{
    test::WidgetDriver driver(list->viewport());
    driver.MouseDown(OnTheText(1));
    driver.MouseMove(OnTheText(3));
    driver.MouseMove(OnTheText(1));
    driver.MouseUp(OnTheText(1));
    EXPECT_EQ(log, (QStringList{"enter 3 accept", "move 1", "end dropped=0"}));
    EXPECT_EQ(Snapshot(), QStringLiteral("A+1 B-2* C-3 D-4"));
}

TEST_F(CheckListBoxDragTest, LeavingTheListOrEscapeTellsTheHandler)
{
    test::WidgetDriver driver(list->viewport());
    driver.MouseDown(OnTheText(1));
    driver.MouseMove(OnTheText(3));
    driver.MouseMove(QPoint(100, 140));  // below the list
    driver.MouseMove(OnTheText(3));
    driver.Press(Qt::Key_Escape);
    EXPECT_FALSE(list->Dragging());
    driver.MouseUp(OnTheText(3));
    EXPECT_EQ(log, (QStringList{"enter 3 accept", "leave -1", "enter 3 accept", "leave 3", "end dropped=0"}));
    EXPECT_EQ(Snapshot(), QStringLiteral("A+1 B-2* C-3 D-4"));
    EXPECT_TRUE(form.isVisible()) << "Escape went to the drag, not to the window";
}

}  // namespace
}  // namespace tk
