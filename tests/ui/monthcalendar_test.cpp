#include "toolkit/ui/monthcalendar.h"

#include "tests/support/menu_chooser.h"
#include "tests/support/qt_printers.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/dateutils.h"

#include <QApplication>
#include <cmath>
#include <QTableView>
#include <QTest>
#include <QTextCharFormat>
#include <QToolButton>
#include <gtest/gtest.h>

namespace tk {
namespace {

const QDate kLeapDay(2024, 2, 29);

// A shown, focused calendar on 29 February 2024 at 14:30, weeks starting on
// Monday, "today" fixed at 10 February 2024.
class MonthCalendarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        calendar.setFirstDayOfWeek(Qt::Monday);
        calendar.SetToday(QDate(2024, 2, 10));
        calendar.SetDate(DateFromQDate(kLeapDay) + kTime);
        calendar.OnChange = [this](QObject*) { ++changes; };
        calendar.resize(calendar.sizeHint());
        calendar.show();
        calendar.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&calendar));
        calendar.setFocus();
        QCoreApplication::processEvents();
    }

    QRect PartRect(const char* name) const
    {
        auto* part = calendar.findChild<QWidget*>(QLatin1String(name));
        return part ? QRect(part->mapTo(&calendar, QPoint(0, 0)), part->size()) : QRect();
    }

    QDate Selected() const { return calendar.selectedDate(); }
    bool KeptTime() const { return std::abs(calendar.Date() - DateOf(calendar.Date()) - kTime) < 1e-9; }

    const TDateTime kTime = EncodeTime(14, 30, 0, 0);
    TMonthCalendar calendar;
    test::WidgetDriver driver{&calendar};
    int changes = 0;
};

TEST_F(MonthCalendarTest, ClickingADayCellSelectsTheDateItShowsAndKeepsTheTime)
{
    // Corners and the middle of the table, days of the months on either
    // side included: what DateAtCell computes is what Qt shows there.
    const QList<QPoint> cells{{0, 0}, {0, 6}, {2, 3}, {5, 0}, {5, 6}};
    for (const QPoint& cell : cells) {
        calendar.SetDate(DateFromQDate(kLeapDay) + kTime);
        const QDate shown = calendar.DateAtCell(cell.x(), cell.y());
        const QRect rect = calendar.DayRect(shown);
        ASSERT_FALSE(rect.isEmpty()) << shown.toString(Qt::ISODate).toStdString();
        const TMonthCalendar::THitInfo hit = calendar.HitTest(rect.center());
        EXPECT_EQ(hit.zone, mhDay);
        EXPECT_EQ(hit.date, shown);
        driver.Click(rect.center());
        EXPECT_EQ(Selected(), shown);
        EXPECT_TRUE(KeptTime());
    }
    // 29 Feb 2024 is a Thursday: the page starts on Monday 29 January.
    calendar.SetDate(DateFromQDate(kLeapDay));
    EXPECT_EQ(calendar.DateAtCell(0, 0), QDate(2024, 1, 29));
    EXPECT_EQ(calendar.DateAtCell(6, 0), QDate());
    EXPECT_EQ(changes, 5);
}

TEST_F(MonthCalendarTest, HitZonesLieOnTheCalendarsOwnParts)
{
    EXPECT_EQ(calendar.HitTest(PartRect("qt_calendar_prevmonth").center()).zone, mhPrevButton);
    EXPECT_EQ(calendar.HitTest(PartRect("qt_calendar_nextmonth").center()).zone, mhNextButton);
    EXPECT_EQ(calendar.HitTest(PartRect("qt_calendar_monthbutton").center()).zone, mhTitleMonth);
    EXPECT_EQ(calendar.HitTest(PartRect("qt_calendar_yearbutton").center()).zone, mhTitleYear);
    EXPECT_EQ(calendar.TitleRect(), PartRect("qt_calendar_navigationbar"));

    // The weekday row sits above the first week's cells.
    const QRect first = calendar.DayRect(calendar.DateAtCell(0, 0));
    EXPECT_EQ(calendar.HitTest(first.center() - QPoint(0, first.height())).zone, mhWeekDays);
    EXPECT_EQ(calendar.HitTest(QPoint(-1, 5)).zone, mhNowhere);

    // Week numbers take a column at the left; the days move right of it.
    const QPoint leftEdge(first.left() + 2, first.center().y());
    EXPECT_EQ(calendar.HitTest(leftEdge).zone, mhDay);
    calendar.SetWeekNumbers(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(calendar.verticalHeaderFormat(), QCalendarWidget::ISOWeekNumbers);
    EXPECT_EQ(calendar.HitTest(leftEdge).zone, mhWeekNumbers);
    EXPECT_GT(calendar.DayRect(calendar.DateAtCell(0, 0)).left(), first.left());
    driver.Click(leftEdge);
    EXPECT_EQ(Selected(), kLeapDay);

    // The today line is the strip below the table, and counts in the size.
    const QRect line = calendar.TodayLineRect();
    ASSERT_FALSE(line.isEmpty());
    EXPECT_GE(line.top(), PartRect("qt_calendar_calendarview").bottom());
    EXPECT_EQ(calendar.HitTest(line.center()).zone, mhTodayLine);
    const int withLine = calendar.MinimumSize().height();
    calendar.SetShowToday(false);
    EXPECT_TRUE(calendar.TodayLineRect().isEmpty());
    EXPECT_EQ(calendar.MinimumSize().height(), withLine - line.height());
    EXPECT_EQ(calendar.minimumSizeHint(), calendar.MinimumSize());
}

TEST_F(MonthCalendarTest, KeysMoveTheSelectionByDaysWeeksAndMonths)
{
    struct Step {
        Qt::Key key;
        QDate expected;
    };
    const QList<Step> steps{{Qt::Key_Right, QDate(2024, 3, 1)},     {Qt::Key_Left, kLeapDay},
                            {Qt::Key_Up, QDate(2024, 2, 22)},       {Qt::Key_Down, kLeapDay},
                            {Qt::Key_PageDown, QDate(2024, 3, 29)}, {Qt::Key_PageUp, kLeapDay},
                            {Qt::Key_PageUp, QDate(2024, 1, 29)}};
    for (const Step& step : steps) {
        driver.Press(step.key);
        EXPECT_EQ(Selected(), step.expected) << int(step.key);
        EXPECT_EQ(calendar.monthShown(), step.expected.month());
        EXPECT_TRUE(KeptTime());
    }
    EXPECT_EQ(changes, steps.size());
}

TEST_F(MonthCalendarTest, TheTodayLineGoesToTodayKeepingTheTime)
{
    calendar.SetToday(QDate(2025, 7, 4));
    calendar.resize(calendar.sizeHint());
    driver.Click(calendar.TodayLineRect().center());
    EXPECT_EQ(Selected(), QDate(2025, 7, 4));
    EXPECT_EQ(calendar.yearShown(), 2025);
    EXPECT_EQ(calendar.monthShown(), 7);
    EXPECT_TRUE(KeptTime());
    EXPECT_EQ(changes, 1);
}

TEST_F(MonthCalendarTest, BoldDaysAreAskedForEveryPageShown)
{
    QStringList asked;
    calendar.OnGetMonthInfo = [&](QObject* sender, int year, int month, quint32& mask) {
        EXPECT_EQ(sender, &calendar);
        asked.append(QStringLiteral("%1-%2").arg(year).arg(month));
        mask |= 1u | (1u << 14);  // the 1st and the 15th
    };
    calendar.RefreshBoldDays();
    EXPECT_EQ(asked, QStringList({"2024-1", "2024-2", "2024-3"}));
    EXPECT_TRUE(calendar.IsBold(QDate(2024, 2, 15)));
    EXPECT_EQ(calendar.dateTextFormat(QDate(2024, 2, 15)).fontWeight(), QFont::Bold);
    EXPECT_FALSE(calendar.IsBold(QDate(2024, 2, 14)));

    asked.clear();
    driver.Click(PartRect("qt_calendar_nextmonth").center());
    EXPECT_EQ(calendar.monthShown(), 3);
    EXPECT_EQ(asked, QStringList({"2024-2", "2024-3", "2024-4"}));
    EXPECT_TRUE(calendar.IsBold(QDate(2024, 4, 1)));
    // The marks of months no longer shown are dropped.
    EXPECT_FALSE(calendar.IsBold(QDate(2024, 1, 15)));
    EXPECT_NE(calendar.dateTextFormat(QDate(2024, 1, 15)).fontWeight(), QFont::Bold);

    // Across the new year the months keep their own years.
    asked.clear();
    calendar.SetDate(EncodeDate(2024, 12, 24));
    EXPECT_EQ(asked, QStringList({"2024-11", "2024-12", "2025-1"}));
}

TEST_F(MonthCalendarTest, TheYearMenuOffersTheYearsAroundAndClampsTheLeapDay)
{
    // 29 February 2024 moved to 2023, a common year, becomes 28 February.
    test::MenuChooser chooser(QStringLiteral("2023"));
    driver.Click(PartRect("qt_calendar_yearbutton").center());
    ASSERT_TRUE(chooser.Opened());
    EXPECT_EQ(chooser.Entries(), QStringList({"2019", "2020", "2021", "2022", "2023", "*2024", "2025", "2026",
                                              "2027", "2028", "2029"}));
    EXPECT_EQ(Selected(), QDate(2023, 2, 28));
    EXPECT_EQ(calendar.yearShown(), 2023);
    EXPECT_TRUE(KeptTime());
    EXPECT_EQ(changes, 1);
    // Qt's own year editor stayed closed.
    auto* yearEdit = calendar.findChild<QWidget*>(QStringLiteral("qt_calendar_yearedit"));
    ASSERT_NE(yearEdit, nullptr);
    EXPECT_FALSE(yearEdit->isVisible());

    // The menu is renumbered around the year now shown; a leap year keeps
    // the day.
    calendar.SetDate(DateFromQDate(kLeapDay));
    test::MenuChooser leap(QStringLiteral("2028"));
    driver.Click(PartRect("qt_calendar_yearbutton").center());
    EXPECT_EQ(Selected(), QDate(2028, 2, 29));

    EXPECT_EQ(ChangeYearClamped(QDate(2024, 1, 31), 2023), QDate(2023, 1, 31));
    EXPECT_EQ(ChangeYearClamped(QDate(2023, 2, 28), 2024), QDate(2024, 2, 28));
}

}  // namespace
}  // namespace tk
