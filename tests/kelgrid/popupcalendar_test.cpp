#include "kelgrid/editors/popupcalendar.h"

#include "tests/support/menu_chooser.h"
#include "tests/support/qt_printers.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/beep.h"
#include "toolkit/core/dateutils.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace kelgrid {
namespace {

using tk::TDateTime;

// The popup as the in-place editor uses it: owned by a shown edit box,
// opened from a cell text below it, its close-ups recorded with the result
// text of that moment. "Today" is 10 February 2024, weeks start on Monday,
// dates read and write as dd/mm/yyyy hh:nn:ss whatever the machine's locale.
class PopupCalendarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedFormats = tk::FormatSettings();
        tk::FormatSettings().ShortDateFormat = QStringLiteral("dd/mm/yyyy");
        tk::FormatSettings().DateSeparator = QLatin1Char('/');
        tk::FormatSettings().LongTimeFormat = QStringLiteral("hh:nn:ss");
        tk::FormatSettings().TimeSeparator = QLatin1Char(':');
        editor.setGeometry(50, 50, 120, 22);
        editor.show();
        popup = new TKelPopupCalendar(&editor);
        popup->setFirstDayOfWeek(Qt::Monday);
        popup->SetToday(kToday);
        popup->OnCloseUp = [this](QObject* sender, bool accept) {
            EXPECT_EQ(sender, popup);
            closeUps.append(QStringLiteral("%1 %2").arg(accept ? "accept" : "cancel", popup->ResultText()));
        };
    }

    void TearDown() override { tk::FormatSettings() = savedFormats; }

    void Open(const QString& cellText)
    {
        popup->SetInitialText(cellText);
        popup->Popup(editor.mapToGlobal(QPoint(0, editor.height())));
        QCoreApplication::processEvents();
        ASSERT_TRUE(popup->IsPopupVisible());
    }

    void Key(int key)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        popup->ForwardKey(press);
    }

    static QString Text(const QDate& date, int hour = 0, int minute = 0)
    {
        return tk::DateTimeToStr(tk::DateFromQDate(date) + tk::EncodeTime(hour, minute, 0, 0));
    }
    static QString Accepted(const QDate& date, int hour = 0, int minute = 0)
    {
        return QStringLiteral("accept ") + Text(date, hour, minute);
    }

    QPoint PartCentre(const char* name) const
    {
        auto* part = popup->findChild<QWidget*>(QLatin1String(name));
        return part ? part->mapTo(popup, part->rect().center()) : QPoint(-1, -1);
    }

    const QDate kToday{2024, 2, 10};
    tk::TFormatSettings savedFormats;
    QLineEdit editor;
    TKelPopupCalendar* popup = nullptr;
    QStringList closeUps;
};

TEST_F(PopupCalendarTest, ADayClickReturnsThatDayWithTheCellsTimeOfDay)
{
    Open(Text(QDate(2024, 2, 20), 14, 30));
    EXPECT_EQ(popup->selectedDate(), QDate(2024, 2, 20));
    tk::test::WidgetDriver(popup).Click(popup->DayRect(QDate(2024, 2, 5)).center());
    EXPECT_FALSE(popup->IsPopupVisible());
    EXPECT_EQ(closeUps, QStringList{Accepted(QDate(2024, 2, 5), 14, 30)});
    // The text reads back as the same date-time.
    EXPECT_NEAR(tk::StrToDateTime(popup->ResultText()),
                tk::EncodeDate(2024, 2, 5) + tk::EncodeTime(14, 30, 0, 0), 1e-6);

    // A click on the day already selected closes it too.
    Open(Text(QDate(2024, 2, 20)));
    tk::test::WidgetDriver(popup).Click(popup->DayRect(QDate(2024, 2, 20)).center());
    EXPECT_FALSE(popup->IsPopupVisible());
    EXPECT_EQ(closeUps.last(), Accepted(QDate(2024, 2, 20)));
}

TEST_F(PopupCalendarTest, AnEmptyOrUnreadableTextOpensAtTodayWithoutATime)
{
    int beeps = 0;
    const tk::TBeepHook previous = tk::SetBeepHook([&beeps] { ++beeps; });
    Open(QString());
    EXPECT_EQ(popup->Date(), tk::DateFromQDate(kToday));
    EXPECT_EQ(popup->ResultText(), tk::DateToStr(tk::DateFromQDate(kToday)));
    EXPECT_EQ(beeps, 0);

    Open(Text(QDate(2023, 5, 6), 9, 15));  // a time of day to be dropped
    popup->CloseUp(false);
    Open(QStringLiteral("not a date"));
    EXPECT_EQ(popup->Date(), tk::DateFromQDate(kToday));
    EXPECT_EQ(popup->yearShown(), 2024);
    EXPECT_EQ(beeps, 1);
    tk::SetBeepHook(previous);
}

TEST_F(PopupCalendarTest, TitleWeekdaysAndWeekNumbersKeepItOpen)
{
    popup->SetWeekNumbers(true);
    Open(Text(QDate(2024, 2, 20), 14, 30));
    tk::test::WidgetDriver click(popup);
    const QRect first = popup->DayRect(popup->DateAtCell(0, 0));
    const QPoint weekNumber(first.left() - first.width() / 2, first.center().y());
    const QPoint weekDay(first.center().x(), first.center().y() - first.height());
    ASSERT_EQ(popup->HitTest(weekNumber).zone, tk::mhWeekNumbers);
    ASSERT_EQ(popup->HitTest(weekDay).zone, tk::mhWeekDays);
    click.Click(weekNumber);
    click.Click(weekDay);
    // The navigation buttons page through the months.
    click.Click(PartCentre("qt_calendar_nextmonth"));
    EXPECT_EQ(popup->monthShown(), 3);
    click.Click(PartCentre("qt_calendar_prevmonth"));
    EXPECT_TRUE(popup->IsPopupVisible());
    EXPECT_EQ(closeUps, QStringList());
    EXPECT_EQ(popup->selectedDate(), QDate(2024, 2, 20));

    // A day to the right of the week numbers does close it.
    click.Click(first.center());
    EXPECT_EQ(closeUps, QStringList{Accepted(QDate(2024, 1, 29), 14, 30)});
}

TEST_F(PopupCalendarTest, TheTodayLineClosesOnlyWithCloseOnToday)
{
    Open(Text(QDate(2023, 12, 1), 8, 0));
    tk::test::WidgetDriver(popup).Click(popup->TodayLineRect().center());
    EXPECT_TRUE(popup->IsPopupVisible());
    EXPECT_EQ(popup->selectedDate(), kToday);

    popup->SetCloseOnToday(true);
    Open(Text(QDate(2023, 12, 1), 8, 0));
    tk::test::WidgetDriver(popup).Click(popup->TodayLineRect().center());
    EXPECT_EQ(closeUps, QStringList{Accepted(kToday, 8, 0)});
}

TEST_F(PopupCalendarTest, ForwardedKeysMoveTheDayEnterAcceptsEscapeCancels)
{
    Open(Text(QDate(2024, 2, 29), 14, 30));
    Key(Qt::Key_Right);
    Key(Qt::Key_Down);
    EXPECT_EQ(popup->selectedDate(), QDate(2024, 3, 8));
    Key(Qt::Key_PageUp);
    EXPECT_EQ(popup->selectedDate(), QDate(2024, 2, 8));
    Key(Qt::Key_PageDown);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(popup->selectedDate(), QDate(2024, 4, 8));
    Key(Qt::Key_Return);
    EXPECT_EQ(closeUps, QStringList{Accepted(QDate(2024, 4, 8), 14, 30)});

    Open(Text(QDate(2024, 2, 29)));
    Key(Qt::Key_Left);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(popup->IsPopupVisible());
    EXPECT_EQ(closeUps.last(), QStringLiteral("cancel ") + Text(QDate(2024, 2, 28)));
}

TEST_F(PopupCalendarTest, BoldDaysComeFromTheGridsHandlerForEachPage)
{
    QList<QDate> asked;
    TKelCalcBoldDaysEvent handler = [&](QObject* sender, TDateTime date, bool& bold) {
        EXPECT_EQ(sender, popup);
        EXPECT_FALSE(bold);
        const QDate day = tk::QDateFromDateTime(date);
        asked.append(day);
        bold = day.day() == 1 || day.day() == 15;
    };
    int askedForHandler = 0;
    popup->BoldDaysHandler = [&] {
        ++askedForHandler;
        return handler;
    };
    Open(Text(QDate(2024, 2, 20)));
    // Every day of January, February and March, once per showing.
    EXPECT_EQ(asked.first(), QDate(2024, 1, 1));
    EXPECT_EQ(asked.last(), QDate(2024, 3, 31));
    EXPECT_EQ(asked.size() % (31 + 29 + 31), 0);
    EXPECT_TRUE(popup->IsBold(QDate(2024, 2, 1)));
    EXPECT_TRUE(popup->IsBold(QDate(2024, 3, 15)));
    EXPECT_FALSE(popup->IsBold(QDate(2024, 2, 2)));

    Key(Qt::Key_PageDown);
    EXPECT_TRUE(popup->IsBold(QDate(2024, 4, 15)));
    EXPECT_FALSE(popup->IsBold(QDate(2024, 1, 15)));

    // The grid dropping its handler clears the marks on the next page.
    handler = nullptr;
    const int before = askedForHandler;
    Key(Qt::Key_PageDown);
    EXPECT_GT(askedForHandler, before);
    EXPECT_FALSE(popup->IsBold(QDate(2024, 5, 15)));
}

TEST_F(PopupCalendarTest, TheYearMenuKeepsThePopupOpenAndClampsTheLeapDay)
{
    Open(Text(QDate(2024, 2, 29), 14, 30));
    tk::test::MenuChooser chooser(QStringLiteral("2023"));
    tk::test::WidgetDriver(popup).Click(PartCentre("qt_calendar_yearbutton"));
    ASSERT_TRUE(chooser.Opened());
    EXPECT_TRUE(popup->IsPopupVisible());
    EXPECT_EQ(closeUps, QStringList());
    EXPECT_EQ(popup->selectedDate(), QDate(2023, 2, 28));
    Key(Qt::Key_Enter);
    EXPECT_EQ(closeUps, QStringList{Accepted(QDate(2023, 2, 28), 14, 30)});
}

TEST_F(PopupCalendarTest, ReleasingOutsideOrCancelModeClosesWithoutAccepting)
{
    Open(Text(QDate(2024, 2, 20)));
    tk::test::WidgetDriver drag(popup);
    drag.MouseDown(popup->DayRect(QDate(2024, 2, 6)).center());
    drag.MouseMove(QPoint(popup->width() + 20, 10));
    drag.MouseUp(QPoint(popup->width() + 20, 10));
    EXPECT_FALSE(popup->IsPopupVisible());
    ASSERT_EQ(closeUps.size(), 1);
    EXPECT_TRUE(closeUps.first().startsWith(QStringLiteral("cancel")));

    Open(Text(QDate(2024, 2, 20)));
    tk::BroadcastCancelMode();
    EXPECT_FALSE(popup->IsPopupVisible());
    EXPECT_EQ(closeUps.size(), 2);
}

TEST_F(PopupCalendarTest, ItTakesTheSizeThatShowsSixWeeksAndTheTodayLine)
{
    Open(Text(QDate(2024, 2, 20)));
    EXPECT_EQ(popup->size(), popup->WantedSize());
    EXPECT_TRUE(popup->isWindow());
    EXPECT_FALSE(popup->isActiveWindow());
    const QRect inside = popup->rect().adjusted(1, 1, -1, -1);
    EXPECT_TRUE(inside.contains(popup->DayRect(popup->DateAtCell(5, 6))));
    EXPECT_TRUE(inside.contains(popup->TodayLineRect()));
    EXPECT_TRUE(inside.contains(popup->TitleRect()));

    // Week numbers widen it; without the today line it is lower.
    popup->CloseUp(false);
    const QSize plain = popup->WantedSize();
    popup->SetWeekNumbers(true);
    EXPECT_GT(popup->WantedSize().width(), plain.width());
    popup->SetShowToday(false);
    EXPECT_LT(popup->WantedSize().height(), plain.height());
    Open(Text(QDate(2024, 2, 20)));
    EXPECT_EQ(popup->size(), popup->WantedSize());
}

}  // namespace
}  // namespace kelgrid
