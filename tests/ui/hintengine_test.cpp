// The hint engine driven by mouse moves, keys and clicks on real widgets,
// with time stepped by a manual timer driver.
//
//   form at (100, 100)
//   +--------------------------------------------+
//   | probe: two cells, one hint each  | edit    |
//   | [ left 0..99 | right 100..199 ]  |         |
//   | save button ("Save|Saves the file")        |
//   | group ("Group") [ inner button, no hint ]  |
//   | quiet button (ShowHint off)                |
//   +--------------------------------------------+
#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/localefacts.h"
#include "toolkit/ui/forms.h"
#include "toolkit/ui/hintengine.h"
#include "toolkit/ui/stdctrls.h"
#include "toolkit/ui/sysinfo.h"

#include "tests/support/manual_timer_driver.h"
#include "tests/support/qt_printers.h"
#include "tests/support/widget_driver.h"

#include <QApplication>
#include <QScopedValueRollback>
#include <QTest>
#include <gtest/gtest.h>

namespace tk {
namespace {

// A control with two cells side by side; each gives its own hint and cursor
// rectangle, as a grid does. Tests may replace the answer.
class TCellProbe : public QWidget, public TControl {
public:
    explicit TCellProbe(QWidget* parent) : QWidget(parent), TControl(this) {}

    int queries = 0;
    std::function<int(THintInfo&)> answer;
    std::function<void(bool, int&)> pause;

    int CMHintShow(THintInfo& info) override
    {
        ++queries;
        const bool left = info.CursorPos.x() < 100;
        info.HintStr = left ? QStringLiteral("Left") : QStringLiteral("Right");
        info.CursorRect = left ? QRect(0, 0, 100, height()) : QRect(100, 0, 100, height());
        return answer ? answer(info) : 0;
    }
    void CMHintShowPause(bool hintWasActive, int& milliseconds) override
    {
        if (pause)
            pause(hintWasActive, milliseconds);
    }
};

// A hint window of its own class, to see which class a hint used.
class TWideHintWindow : public THintWindow {
public:
    QRect CalcHintRect(int, const QString&, const QVariant& data) override
    {
        lastData = data;
        return QRect(0, 0, 150, 30);
    }
    QVariant lastData;
};

class HintEngineTest : public ::testing::Test {
protected:
    HintEngineTest()
    {
        form.move(100, 100);
        form.SetClientSize(400, 300);
        probe = new TCellProbe(&form);
        probe->setGeometry(10, 10, 200, 40);
        probe->SetShowHint(true);
        edit = new TEdit(&form);
        edit->setGeometry(250, 10, 100, 25);
        save = new TButton(&form);
        save->setGeometry(10, 60, 100, 30);
        save->SetHint(QStringLiteral("Save|Saves the file"));
        save->SetShowHint(true);
        group = new TGroupBox(&form);
        group->setGeometry(10, 100, 200, 100);
        group->SetHint(QStringLiteral("Group"));
        group->SetShowHint(true);
        inner = new TButton(group);
        inner->setGeometry(10, 30, 80, 30);
        quiet = new TButton(&form);
        quiet->setGeometry(10, 210, 100, 30);
        quiet->SetHint(QStringLiteral("Quiet"));
        form.show();
        // Hints show only in the foreground.
        QApplication::setActiveWindow(&form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
        engine.SetHintPause(500);
        engine.SetHintShortPause(50);
        engine.SetHintHidePause(2500);
    }
    ~HintEngineTest() override
    {
        engine.CancelHint();
        engine.OnShowHint = nullptr;
        engine.SetHintWindowClass(HintWindowClassOf<THintWindow>());
    }

    void Hover(QWidget* widget, QPoint at = QPoint(5, 5)) { test::WidgetDriver(widget).MouseMove(at); }
    // The text of the hint up, "" when none is.
    QString Shown() const { return engine.HintShowing() ? engine.HintWindow()->Caption() : QString(); }

    test::ManualTimerDriver clock;
    THintEngine& engine = HintEngine();
    TForm form;
    TCellProbe* probe;
    TEdit* edit;
    TButton* save;
    TGroupBox* group;
    TButton* inner;
    TButton* quiet;
};

TEST_F(HintEngineTest, HintShowsOnceTheMouseRestsForThePause)
{
    Hover(save);
    clock.Advance(300);
    Hover(save, QPoint(8, 5));  // a move restarts the pause
    clock.Advance(499);
    EXPECT_EQ(Shown(), "");
    clock.Advance(1);
    EXPECT_EQ(Shown(), "Save") << "the short part of the hint";
    EXPECT_EQ(engine.HintWindow()->pos(), save->mapToGlobal(QPoint(8, 5)) + QPoint(0, 20))
        << "below the cursor";
}

TEST_F(HintEngineTest, ShowingAHintLeavesTheFocusAndTheActiveWindowAlone)
{
    edit->setFocus();
    QWidget* active = QApplication::activeWindow();
    ASSERT_EQ(QApplication::focusWidget(), edit);
    Hover(save);
    clock.Advance(500);
    ASSERT_EQ(Shown(), "Save");
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), edit);
    EXPECT_EQ(QApplication::activeWindow(), active);
    EXPECT_FALSE(engine.HintWindow()->isActiveWindow());
    EXPECT_EQ(Shown(), "Save") << "showing the window is no input that ends it";
}

TEST_F(HintEngineTest, EachCellOfAControlGivesItsOwnHintAndMovesInsideOneAskNothing)
{
    Hover(probe, QPoint(20, 10));
    clock.Advance(500);
    EXPECT_EQ(Shown(), "Left");
    Hover(probe, QPoint(60, 30));
    Hover(probe, QPoint(99, 0));
    clock.Advance(1000);
    EXPECT_EQ(probe->queries, 1) << "the mouse stayed in the cursor rectangle";
    EXPECT_EQ(engine.HintCursorRect(), QRect(probe->mapToGlobal(QPoint(0, 0)), QSize(100, 40)));

    Hover(probe, QPoint(120, 10));
    clock.Advance(49);
    EXPECT_EQ(Shown(), "Left") << "the old hint stays until the short pause ends";
    clock.Advance(1);
    EXPECT_EQ(Shown(), "Right");
    EXPECT_EQ(probe->queries, 2);
}

TEST_F(HintEngineTest, AfterAHintTheNextControlWaitsOnlyTheShortPause)
{
    Hover(save);
    clock.Advance(500);
    ASSERT_EQ(Shown(), "Save");
    Hover(group, QPoint(150, 50));
    clock.Advance(50);
    EXPECT_EQ(Shown(), "Group");
}

TEST_F(HintEngineTest, TheControlMayChangeThePauseAndIsToldWhetherAHintWasActive)
{
    QStringList told;
    probe->pause = [&](bool wasActive, int& milliseconds) {
        told << QStringLiteral("%1:%2").arg(wasActive).arg(milliseconds);
        milliseconds = wasActive ? 5 : 10;
    };
    Hover(probe, QPoint(20, 10));
    clock.Advance(10);
    EXPECT_EQ(Shown(), "Left");
    Hover(probe, QPoint(120, 10));
    clock.Advance(5);
    EXPECT_EQ(Shown(), "Right");
    EXPECT_EQ(told, QStringList({"0:500", "1:50"}));
}

TEST_F(HintEngineTest, InputCancelsTheHintAndTheNextOneWaitsTheFullPause)
{
    const std::vector<std::pair<const char*, std::function<void(test::WidgetDriver&)>>> inputs = {
        {"key", [](test::WidgetDriver& d) { d.Press(Qt::Key_A, {}, QStringLiteral("a")); }},
        {"click", [](test::WidgetDriver& d) { d.Click(QPoint(300, 280)); }},
        {"wheel", [](test::WidgetDriver& d) { d.Wheel(QPoint(300, 280), 1); }},
        {"leaving the window", [](test::WidgetDriver& d) { d.Leave(); }},
    };
    for (const auto& [name, input] : inputs) {
        Hover(save);
        clock.Advance(500);
        ASSERT_EQ(Shown(), "Save") << name;
        test::WidgetDriver driver(&form);
        input(driver);
        EXPECT_EQ(Shown(), "") << name;
        EXPECT_FALSE(engine.HintActive()) << name;
        EXPECT_EQ(engine.HintControl(), nullptr) << name;
        Hover(group, QPoint(150, 50));
        clock.Advance(50);
        EXPECT_EQ(Shown(), "") << name << ": no short pause after a cancel";
        clock.Advance(450);
        EXPECT_EQ(Shown(), "Group") << name;
        engine.CancelHint();
    }
}

TEST_F(HintEngineTest, HintHidesAfterTheHidePauseAndStaysHiddenInsideItsRectangle)
{
    Hover(save);
    clock.Advance(500);
    clock.Advance(2499);
    EXPECT_EQ(Shown(), "Save");
    clock.Advance(1);
    EXPECT_EQ(Shown(), "");
    Hover(save, QPoint(30, 10));
    clock.Advance(5000);
    EXPECT_EQ(Shown(), "");
    EXPECT_TRUE(engine.HintActive()) << "hidden by time, not cancelled";
    Hover(probe, QPoint(20, 10));
    clock.Advance(50);
    EXPECT_EQ(Shown(), "Left");
}

struct TQueryCase {
    const char* name;
    std::function<int(THintInfo&)> answer;
    const char* shown;  // the text up after the pause, "" for none
};

class HintQueryTest : public HintEngineTest, public ::testing::WithParamInterface<TQueryCase> {};

TEST_P(HintQueryTest, TheQueryDecidesWhatShows)
{
    probe->answer = GetParam().answer;
    Hover(probe, QPoint(20, 10));
    clock.Advance(500);
    EXPECT_EQ(Shown(), GetParam().shown);
    if (!engine.HintShowing()) {
        EXPECT_EQ(engine.HintControl(), nullptr) << "nothing shown: the engine resets";
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, HintQueryTest,
                         ::testing::Values(TQueryCase{"KeepsTheFilledInHint", [](THintInfo&) { return 0; },
                                                      "Left"},
                                           TQueryCase{"ChangesTheText",
                                                      [](THintInfo& info) {
                                                          info.HintStr = QStringLiteral("Other");
                                                          return 0;
                                                      },
                                                      "Other"},
                                           TQueryCase{"CancelsWithNonZero", [](THintInfo&) { return 1; }, ""},
                                           TQueryCase{"CancelsWithAnEmptyText",
                                                      [](THintInfo& info) {
                                                          info.HintStr.clear();
                                                          return 0;
                                                      },
                                                      ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HintEngineTest, TheQueryIsFilledInAndChoosesColourPlaceAndWindowClass)
{
    THintInfo seen;
    probe->answer = [&](THintInfo& info) {
        seen = info;
        info.HintColor = clYellow;
        info.HintPos = QPoint(300, 310);
        info.HintWindowClass = HintWindowClassOf<TWideHintWindow>();
        info.HintData = QStringLiteral("payload");
        return 0;
    };
    Hover(probe, QPoint(20, 10));
    clock.Advance(500);
    EXPECT_EQ(seen.HintControl, probe);
    EXPECT_EQ(seen.CursorPos, QPoint(20, 10));
    EXPECT_EQ(seen.HintPos, probe->mapToGlobal(QPoint(20, 30)));
    EXPECT_EQ(seen.HintMaxWidth, ScreenRect().width());
    EXPECT_EQ(seen.HintColor, clInfoBk);
    EXPECT_EQ(seen.HideTimeout, 2500);
    EXPECT_EQ(seen.ReshowTimeout, 0);
    EXPECT_EQ(seen.HintStr, "Left");

    auto* window = dynamic_cast<TWideHintWindow*>(engine.HintWindow());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Color(), clYellow);
    EXPECT_EQ(window->geometry(), QRect(300, 310, 150, 34)) << "CalcHintRect's size, 4 higher";
    EXPECT_EQ(window->lastData.toString(), "payload");

    probe->answer = nullptr;  // the next hint goes back to the plain class
    Hover(probe, QPoint(120, 10));
    clock.Advance(50);
    EXPECT_EQ(Shown(), "Right");
    EXPECT_EQ(dynamic_cast<TWideHintWindow*>(engine.HintWindow()), nullptr);
}

TEST_F(HintEngineTest, AnUnlimitedHideTimeoutKeepsTheHintAndAReshowTimeoutAsksAgain)
{
    probe->answer = [](THintInfo& info) {
        info.HideTimeout = -1;
        return 0;
    };
    Hover(probe, QPoint(20, 10));
    clock.Advance(500 + 100000);
    EXPECT_EQ(Shown(), "Left");
    engine.CancelHint();

    int round = 0;
    probe->answer = [&](THintInfo& info) {
        info.HintStr = QStringLiteral("Round %1").arg(++round);
        info.ReshowTimeout = 100;
        return 0;
    };
    Hover(probe, QPoint(20, 10));
    clock.Advance(500);
    EXPECT_EQ(Shown(), "Round 1");
    clock.Advance(200);
    EXPECT_EQ(Shown(), "Round 3");
}

TEST_F(HintEngineTest, ShowHintChoosesTheHintControlAndTheHintComesFromTheParents)
{
    Hover(quiet);
    clock.Advance(1000);
    EXPECT_EQ(Shown(), "") << "ShowHint is off";

    Hover(inner);
    clock.Advance(500);
    EXPECT_EQ(Shown(), "Group") << "inner takes ShowHint and the hint from its parent";
    EXPECT_EQ(engine.HintControl(), inner);
    engine.CancelHint();

    inner->SetShowHint(false);
    Hover(inner);
    clock.Advance(500);
    EXPECT_EQ(engine.HintControl(), group) << "the nearest control above with ShowHint";
    EXPECT_EQ(Shown(), "Group");
}

TEST_F(HintEngineTest, TheApplicationSwitchHidesAndStopsHints)
{
    Hover(save);
    clock.Advance(500);
    ASSERT_EQ(Shown(), "Save");
    engine.SetShowHint(false);
    EXPECT_EQ(Shown(), "");
    Hover(probe, QPoint(20, 10));
    clock.Advance(1000);
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(probe->queries, 0);
    engine.SetShowHint(true);
}

TEST_F(HintEngineTest, HidingOrFreeingTheHintControlCancels)
{
    Hover(save);
    clock.Advance(500);
    save->hide();
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(engine.HintControl(), nullptr);

    Hover(probe, QPoint(20, 10));
    delete probe;  // while the pause runs
    clock.Advance(1000);
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(clock.ArmedCount(), 0);
}

TEST_F(HintEngineTest, AnExceptionOfTheControlReachesTheHandlerAndResets)
{
    QStringList reported;
    const QScopedValueRollback keep(
        Application().OnException,
        std::function<void(const QString&)>([&](const QString& message) { reported << message; }));
    probe->answer = [](THintInfo&) -> int { throw EInvalidOperation(QStringLiteral("no hint today")); };
    Hover(probe, QPoint(20, 10));
    clock.Advance(500);
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(engine.HintControl(), nullptr);
    probe->pause = [](bool, int&) { throw EInvalidOperation(QStringLiteral("no pause either")); };
    Hover(probe, QPoint(30, 10));
    EXPECT_EQ(reported, QStringList({"no hint today", "no pause either"}));
    EXPECT_EQ(clock.ArmedCount(), 0);

    probe->pause = nullptr;
    probe->answer = nullptr;
    Hover(probe, QPoint(40, 10));
    clock.Advance(500);
    EXPECT_EQ(Shown(), "Left") << "the engine works on";
}

TEST_F(HintEngineTest, ActivateHintShowsAtOnce)
{
    Hover(save);
    engine.ActivateHint(save->mapToGlobal(QPoint(5, 5)));
    EXPECT_EQ(Shown(), "Save");
}

TEST_F(HintEngineTest, AHintNearTheScreenEdgeStaysInTheWorkArea)
{
    probe->answer = [](THintInfo& info) {
        info.HintStr = QStringLiteral("A hint that is long enough to reach past the edge");
        info.HintPos = WorkAreaRect().bottomRight() - QPoint(10, 5);
        return 0;
    };
    Hover(probe, QPoint(20, 10));
    clock.Advance(500);
    ASSERT_TRUE(engine.HintShowing());
    EXPECT_TRUE(WorkAreaRect().contains(engine.HintWindow()->geometry()))
        << ::testing::PrintToString(engine.HintWindow()->geometry()) << " in "
        << ::testing::PrintToString(WorkAreaRect());
}

TEST_F(HintEngineTest, ARightToLeftControlGetsItsHintLeftOfTheCursorAndReadRightToLeft)
{
    const QScopedValueRollback rtl(LocaleFacts().RightToLeft, true);
    probe->SetBiDiMode(bdRightToLeft);
    Hover(probe, QPoint(20, 10));
    clock.Advance(500);
    ASSERT_TRUE(engine.HintShowing());
    THintWindow* window = engine.HintWindow();
    EXPECT_EQ(window->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(window->geometry().right() + 1, probe->mapToGlobal(QPoint(20, 10)).x());
}

}  // namespace
}  // namespace tk
