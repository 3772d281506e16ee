#pragma once
// TMonthCalendar: the month-calendar control on QCalendarWidget.
//
// Value: Date() is the selected day plus a time of day kept beside it. The
// user's picks (clicks, keys, the today line, the year menu) change the day
// and keep the time; SetDate sets both.
//
// Layout, top to bottom: the title bar (previous button, month button with
// its month menu, year button, next button), the day table (a header row of
// weekday names, a column of week numbers when shown, six rows of days), and
// the today line "Today: <date>" when ShowToday is on. A click on the today
// line selects today and runs TodayClicked.
//
// Year menu: a press on the year button pops up a menu of the eleven years
// around the shown one (the middle item, checked, is the shown year) instead
// of Qt's year spin box. Choosing one moves the selection to that year,
// keeping month and time; a day the month lacks in that year (29 February in
// a common year) becomes the month's last day.
//
// Bold days: whenever a page is shown, the marks of the three months the page
// touches (the one before, the shown one, the one after) are asked for
// through GetMonthInfo, one mask per month: bit (day - 1) set makes that day
// bold. RefreshBoldDays asks again for the current page.
//
// Hit zones: HitTest tells which part of the control a point (client
// coordinates) is on, from the geometry of QCalendarWidget's own children.
//
// Exceptions: the entries from Qt (its signals, the event filter, cell
// painting) are guarded; the dispatchers (GetMonthInfo, DateClicked, ...) run
// the handlers unguarded.

#include "toolkit/core/datetime.h"
#include "toolkit/ui/control.h"

#include <QCalendarWidget>
#include <QDate>
#include <QRect>
#include <QSize>
#include <functional>

class QTableView;
class QToolButton;

namespace tk {

class TPopupMenu;

struct TMonthCalendarEnums {
    Q_GADGET

public:
    enum THitZone {
        mhNowhere,
        mhTitle,       // the title bar outside its buttons
        mhTitleMonth,  // the month button of the title
        mhTitleYear,   // the year button of the title
        mhPrevButton,
        mhNextButton,
        mhWeekDays,     // the header row of weekday names
        mhWeekNumbers,  // the week-number column
        mhDay,          // a day cell
        mhTodayLine,
    };
    Q_ENUM(THitZone)
};

using TMonthHitZone = TMonthCalendarEnums::THitZone;
using enum TMonthCalendarEnums::THitZone;

// The day of the same month and day in year, the day clamped to the month's
// length there (29 February 2024 in 2023 is 28 February 2023).
QDate ChangeYearClamped(const QDate& date, int year);

class TMonthCalendar : public QCalendarWidget, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
    Q_PROPERTY(double Date READ Date WRITE SetDate STORED false)
    Q_PROPERTY(bool ShowToday READ ShowToday WRITE SetShowToday)
    Q_PROPERTY(bool ShowTodayCircle READ ShowTodayCircle WRITE SetShowTodayCircle)
    Q_PROPERTY(bool WeekNumbers READ WeekNumbers WRITE SetWeekNumbers)
    Q_CLASSINFO("Default:ShowToday", "True")
    Q_CLASSINFO("Default:ShowTodayCircle", "True")
    Q_CLASSINFO("Default:WeekNumbers", "False")
public:
    // (year, month 1..12, mask): set bit (day - 1) of mask to make a day bold.
    using TGetMonthInfoEvent = std::function<void(QObject* sender, int year, int month, quint32& mask)>;

    struct THitInfo {
        TMonthHitZone zone = mhNowhere;
        QDate date;  // the day of a mhDay hit
    };

    explicit TMonthCalendar(QWidget* parent = nullptr);
    ~TMonthCalendar() override;

    // The selected day plus the kept time of day.
    TDateTime Date() const;
    // Selects the day of value (shown on its page) and keeps its time.
    void SetDate(TDateTime value);
    // The time of day kept with the selection, 0 <= t < 1.
    TDateTime TimeOfDay() const { return time_; }

    bool ShowToday() const { return showToday_; }
    void SetShowToday(bool on);
    bool ShowTodayCircle() const { return showTodayCircle_; }
    void SetShowTodayCircle(bool on);
    bool WeekNumbers() const;
    void SetWeekNumbers(bool on);
    // The day the today line and the today mark show; the system's date
    // unless set (a null date returns to it).
    QDate Today() const;
    void SetToday(const QDate& today);

    // Asks GetMonthInfo again for the months of the current page.
    void RefreshBoldDays();
    bool IsBold(const QDate& date) const;

    // The part of the control at pos (client coordinates).
    THitInfo HitTest(const QPoint& pos) const;
    // Client rectangles of the parts, for hit areas and tests: the title bar,
    // a day cell (empty when the date is not on the current page), the today
    // line (empty when hidden).
    QRect TitleRect() const;
    QRect DayRect(const QDate& date) const;
    QRect TodayLineRect() const;
    // The date the cell (row, column) of the day table shows on the current
    // page; row and column count the day cells alone (0..5, 0..6).
    QDate DateAtCell(int row, int column) const;

    // The smallest size that shows the title, six weeks and the today line.
    QSize MinimumSize() const;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

    // The menu the year button pops up (its eleven items are renumbered on
    // every popup).
    TPopupMenu* YearsMenu() const { return yearsMenu_; }
    // Pops up the year menu at the screen point; returns when it closed.
    void PopupYearsMenu(const QPoint& screenPos);
    // Moves the selection to year (see the header comment).
    void SelectYear(int year);

    TGetMonthInfoEvent OnGetMonthInfo;
    // The user changed the selected day.
    TNotifyEvent OnChange;

protected:
    // Fires OnGetMonthInfo; returns the mask (0 without a handler).
    virtual quint32 GetMonthInfo(int year, int month);
    // A day cell was clicked (after the selection moved to it).
    virtual void DateClicked();
    // Enter on the day table.
    virtual void DateActivated();
    // The today line was clicked (after today was selected).
    virtual void TodayClicked();
    // Escape on the control; returns whether it was taken (the base leaves
    // it to the window, where it may press a Cancel button).
    virtual bool EscapePressed();
    // The user changed the selection; fires OnChange.
    virtual void Change();

    void paintCell(QPainter* painter, const QRect& rect, QDate date) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // The table of days, which takes the keys (it is the focus proxy).
    QTableView* DayTable() const { return view_; }
    // While the year menu is up (its popup broadcasts cancel mode).
    bool InYearsMenu() const { return inYearsMenu_; }

private:
    class TodayLine;

    void UserSelected();
    // Selects date as the user's choice: fires Change when it moved.
    void SelectByUser(const QDate& date);
    void PageShown(int year, int month);
    void ApplyBoldDays(int year, int month);
    void TodayLineClicked();
    QRect ChildRect(const QWidget* child) const;
    int FirstDayRow() const;
    int FirstDayColumn() const;

    QTableView* view_ = nullptr;
    QWidget* navigationBar_ = nullptr;
    QToolButton* prevButton_ = nullptr;
    QToolButton* nextButton_ = nullptr;
    QToolButton* monthButton_ = nullptr;
    QToolButton* yearButton_ = nullptr;
    TodayLine* todayLine_ = nullptr;
    TPopupMenu* yearsMenu_ = nullptr;
    TDateTime time_ = 0;
    bool showToday_ = true;
    bool showTodayCircle_ = true;
    QDate today_;
    QList<QDate> boldDays_;
    bool settingByCode_ = false;
    bool inYearsMenu_ = false;
};

}  // namespace tk
