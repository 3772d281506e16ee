#include "tests/support/widget_driver.h"

#include "tests/support/qt_printers.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStringList>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace tk::test {
namespace {

// Logs the input it receives as short texts: "Press(10,5 1)", "Key(A S)".
class RecordingWidget : public QWidget {
public:
    using QWidget::QWidget;
    QStringList events;

protected:
    void mousePressEvent(QMouseEvent* e) override { Mouse(QStringLiteral("Press"), e); }
    void mouseReleaseEvent(QMouseEvent* e) override { Mouse(QStringLiteral("Release"), e); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { Mouse(QStringLiteral("Double"), e); }
    void mouseMoveEvent(QMouseEvent* e) override { Mouse(QStringLiteral("Move"), e); }
    void wheelEvent(QWheelEvent* e) override
    {
        events << QStringLiteral("Wheel(%1,%2 %3)")
                      .arg(e->position().toPoint().x())
                      .arg(e->position().toPoint().y())
                      .arg(e->angleDelta().y());
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        events << QStringLiteral("Key(%1%2 %3)")
                      .arg(e->key(), 0, 16)
                      .arg(e->modifiers().testFlag(Qt::ControlModifier) ? QStringLiteral(" C") : QString())
                      .arg(e->text());
    }

private:
    void Mouse(const QString& what, QMouseEvent* e)
    {
        events << QStringLiteral("%1(%2,%3 %4/%5)")
                      .arg(what)
                      .arg(e->position().toPoint().x())
                      .arg(e->position().toPoint().y())
                      .arg(int(e->button()))
                      .arg(int(e->buttons()));
    }
};

TEST(WidgetDriverTest, MouseActionsReachTheChildUnderThePointInItsCoordinates)
{
    RecordingWidget parent;
    parent.resize(200, 100);
    auto* child = new RecordingWidget(&parent);
    child->setGeometry(100, 50, 50, 30);
    parent.show();
    WidgetDriver driver(&parent);

    driver.Click(QPoint(10, 5));
    driver.DoubleClick(QPoint(110, 60), Qt::RightButton);
    driver.MouseDown(QPoint(120, 55));
    driver.MouseMove(QPoint(130, 65));
    driver.MouseUp(QPoint(130, 65));
    driver.Wheel(QPoint(105, 52), -2);

    EXPECT_EQ(parent.events.join(QLatin1Char(' ')), QStringLiteral("Press(10,5 1/1) Release(10,5 1/0)"));
    EXPECT_EQ(child->events.join(QLatin1Char(' ')),
              QStringLiteral("Press(10,10 2/2) Release(10,10 2/0) Double(10,10 2/2) Release(10,10 2/0) "
                             "Press(20,5 1/1) Move(30,15 0/1) Release(30,15 1/0) Wheel(5,2 -240)"));
}

// A drag that leaves the pressed widget still reports to it, in its own
// coordinates (the grid's scroll timer runs on such moves).
TEST(WidgetDriverTest, ButtonHeldKeepsMovesAndReleaseOnThePressedWidget)
{
    RecordingWidget parent;
    parent.resize(200, 100);
    auto* child = new RecordingWidget(&parent);
    child->setGeometry(100, 50, 50, 30);
    parent.show();
    WidgetDriver driver(&parent);
    parent.setMouseTracking(true);  // so that it sees the move after the release
    driver.MouseDown(QPoint(110, 60));
    driver.MouseMove(QPoint(20, 10));
    driver.MouseUp(QPoint(20, 10));
    driver.MouseMove(QPoint(30, 10));
    EXPECT_EQ(child->events.join(QLatin1Char(' ')),
              QStringLiteral("Press(10,10 1/1) Move(-80,-40 0/1) Release(-80,-40 1/0)"));
    // After the release the widget under the mouse gets the moves again.
    EXPECT_EQ(parent.events.join(QLatin1Char(' ')), QStringLiteral("Move(30,10 0/0)"));
}

TEST(WidgetDriverTest, KeysGoToTheFocusedChildWithTheirModifiers)
{
    RecordingWidget window;
    auto* inner = new RecordingWidget(&window);
    window.show();
    WidgetDriver driver(&window);
    driver.Press(Qt::Key_C, Qt::ControlModifier);
    inner->setFocusPolicy(Qt::StrongFocus);
    inner->setFocus();
    driver.Type(QStringLiteral("a€"));
    EXPECT_EQ(window.events.join(QLatin1Char(' ')), QStringLiteral("Key(43 C )"));
    EXPECT_EQ(inner->events.join(QLatin1Char(' ')), QStringLiteral("Key(41 a) Key(20ac €)"));
}

TEST(WidgetDriverTest, TypesAnyTextIntoALineEdit)
{
    QLineEdit edit;
    edit.show();
    WidgetDriver driver(&edit);
    const QString text = QStringLiteral("Año Ñu ÷ €5 ΩЖ 𝄞!");
    driver.Type(text);
    EXPECT_EQ(edit.text(), text);
    driver.Press(Qt::Key_Home, Qt::ShiftModifier);
    driver.Press(Qt::Key_Backspace);
    driver.Type(QStringLiteral("Z"));
    EXPECT_EQ(edit.text(), QStringLiteral("Z"));
}

}  // namespace
}  // namespace tk::test
