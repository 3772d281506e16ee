#pragma once
// TKelPopupCalendar: the drop-down calendar the in-place editor opens for
// date columns.
//
// The editor drives it through a small interface:
//   SetInitialText(cell text)  before it opens: the cell's date-time becomes
//                              the selection (an empty text selects today,
//                              an unreadable one today with a beep);
//   WantedSize()               the size to give the popup;
//   Popup(screen point)        shows it there without taking the focus;
//   ForwardKey(key event)      the keys the editor receives while it is open;
//   ResultText()               at close-up: the date with the cell's time of
//                              day, as text (no time when it is midnight);
//   OnCloseUp(sender, accept)  runs after the popup hid itself.
// Settings the editor copies from the column on each cell: ShowToday,
// ShowTodayCircle, WeekNumbers, CloseOnToday, Color.
//
// Closing: a click on a day cell or Enter accepts; Escape, cancel mode and a
// mouse release outside the popup cancel; a click on the today line selects
// today and accepts only with CloseOnToday. Clicks on the title, the weekday
// row and the week numbers leave it open.
//
// Bold days: for each month a page shows, the handler BoldDaysHandler returns
// (the grid's OnCalcBoldDays; asked anew each time, so the grid may change
// it) is called once per day with the day's date and a bold flag starting
// false.

#include "kelgrid/kelgridexport.h"
#include "toolkit/core/datetime.h"
#include "toolkit/ui/monthcalendar.h"

#include <QString>
#include <functional>

class QKeyEvent;

namespace kelgrid {

// The grid's OnCalcBoldDays: (calendar, day, bold) - set bold to mark the day.
using TKelCalcBoldDaysEvent = std::function<void(QObject* sender, tk::TDateTime date, bool& bold)>;

class KELGRID_EXPORT TKelPopupCalendar : public tk::TMonthCalendar {
    Q_OBJECT
public:
    // owner: the editor; the popup is a window of its own, freed with it.
    explicit TKelPopupCalendar(QWidget* owner = nullptr);
    ~TKelPopupCalendar() override;

    void SetInitialText(const QString& text);
    QString ResultText() const;
    QSize WantedSize() const;

    void Popup(const QPoint& screenPos);
    bool IsPopupVisible() const { return isVisible(); }
    // Hides the popup, then fires OnCloseUp; nothing when hidden.
    void CloseUp(bool accept);
    // Delivers a copy of the event to the day table; Enter and Escape close
    // the popup. Returns whether the event was taken.
    bool ForwardKey(const QKeyEvent& event);

    bool CloseOnToday() const { return closeOnToday_; }
    void SetCloseOnToday(bool on) { closeOnToday_ = on; }

    void CancelMode() override;

    std::function<void(QObject* sender, bool accept)> OnCloseUp;
    std::function<TKelCalcBoldDaysEvent()> BoldDaysHandler;

protected:
    quint32 GetMonthInfo(int year, int month) override;
    void DateClicked() override;
    void DateActivated() override;
    void TodayClicked() override;
    bool EscapePressed() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool closeOnToday_ = false;
};

}  // namespace kelgrid
