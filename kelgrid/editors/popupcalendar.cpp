#include "kelgrid/editors/popupcalendar.h"

#include "toolkit/core/application.h"
#include "toolkit/core/beep.h"
#include "toolkit/core/dateutils.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>

namespace kelgrid {

namespace {

constexpr int kBorder = 1;  // the single frame drawn around the popup

}  // namespace

TKelPopupCalendar::TKelPopupCalendar(QWidget* owner) : tk::TMonthCalendar(owner)
{
    // A window of its own that never takes the focus from the editor (see
    // TPopupWindow for why a tooltip-type window).
    setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                   Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    if (layout())
        layout()->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    DayTable()->viewport()->installEventFilter(this);
    resize(WantedSize());
}

TKelPopupCalendar::~TKelPopupCalendar()
{
    Destroying();
}

// --- Editor interface -------------------------------------------------------

void TKelPopupCalendar::SetInitialText(const QString& text)
{
    const tk::TDateTime today = tk::DateFromQDate(Today());
    tk::TDateTime value = today;
    if (!text.trimmed().isEmpty() && !tk::TryStrToDateTime(text, value)) {
        value = today;
        tk::Beep();
    }
    SetDate(value);
}

QString TKelPopupCalendar::ResultText() const
{
    return tk::DateTimeToStr(Date());
}

QSize TKelPopupCalendar::WantedSize() const
{
    return MinimumSize() + QSize(2 * kBorder, 2 * kBorder);
}

void TKelPopupCalendar::Popup(const QPoint& screenPos)
{
    resize(WantedSize());
    move(screenPos);
    show();
}

void TKelPopupCalendar::CloseUp(bool accept)
{
    if (!isVisible())
        return;
    hide();
    if (OnCloseUp)
        OnCloseUp(this, accept);
}

bool TKelPopupCalendar::ForwardKey(const QKeyEvent& event)
{
    if (event.type() == QEvent::KeyPress) {
        switch (event.key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            CloseUp(true);
            return true;
        case Qt::Key_Escape:
            CloseUp(false);
            return true;
        default:
            break;
        }
    }
    QKeyEvent copy(event.type(), event.key(), event.modifiers(), event.nativeScanCode(),
                   event.nativeVirtualKey(), event.nativeModifiers(), event.text(), event.isAutoRepeat(),
                   static_cast<quint16>(event.count()));
    QApplication::sendEvent(DayTable(), &copy);
    // The day table moves on these keys but may leave the event ignored;
    // they are the calendar's all the same, never the grid's.
    switch (event.key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return copy.isAccepted();
    }
}

void TKelPopupCalendar::CancelMode()
{
    tk::TMonthCalendar::CancelMode();
    // The years menu broadcasts cancel mode as it opens; it is part of the
    // popup and must not close it.
    if (!InYearsMenu())
        CloseUp(false);
}

// --- Reactions --------------------------------------------------------------

quint32 TKelPopupCalendar::GetMonthInfo(int year, int month)
{
    const TKelCalcBoldDaysEvent handler = BoldDaysHandler ? BoldDaysHandler() : TKelCalcBoldDaysEvent();
    if (!handler)
        return 0;
    quint32 mask = 0;
    const int days = QDate(year, month, 1).daysInMonth();
    for (int day = 1; day <= days; ++day) {
        bool bold = false;
        handler(this, tk::EncodeDate(year, month, day), bold);
        if (bold)
            mask |= quint32(1) << (day - 1);
    }
    return mask;
}

void TKelPopupCalendar::DateClicked()
{
    CloseUp(true);
}

void TKelPopupCalendar::DateActivated()
{
    CloseUp(true);
}

void TKelPopupCalendar::TodayClicked()
{
    if (closeOnToday_)
        CloseUp(true);
}

bool TKelPopupCalendar::EscapePressed()
{
    CloseUp(false);
    return true;
}

bool TKelPopupCalendar::eventFilter(QObject* watched, QEvent* event)
{
    bool eaten = false;
    tk::Guarded([&] {
        // A press inside dragged out of the popup and released there: the
        // user backs out.
        if (watched == DayTable()->viewport() && event->type() == QEvent::MouseButtonRelease) {
            auto* release = static_cast<QMouseEvent*>(event);
            const QPoint pos = mapFromGlobal(release->globalPosition().toPoint());
            if (release->button() == Qt::LeftButton && !rect().contains(pos)) {
                eaten = true;
                CloseUp(false);
            }
        }
    });
    return eaten || tk::TMonthCalendar::eventFilter(watched, event);
}

void TKelPopupCalendar::paintEvent(QPaintEvent* event)
{
    tk::TMonthCalendar::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TKelPopupCalendar::showEvent(QShowEvent* event)
{
    tk::TMonthCalendar::showEvent(event);
    tk::Guarded([this] {
        for (QWidget* child : findChildren<QWidget*>())
            child->setFocusPolicy(Qt::NoFocus);
    });
}

}  // namespace kelgrid
