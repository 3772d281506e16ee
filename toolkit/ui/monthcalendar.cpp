#include "toolkit/ui/monthcalendar.h"

#include "toolkit/core/application.h"
#include "toolkit/core/dateutils.h"
#include "toolkit/ui/menuitem.h"
#include "toolkit/ui/popupmenu.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QTableView>
#include <QTextCharFormat>
#include <QToolButton>
#include <algorithm>

namespace tk {

namespace {

constexpr int kYearItems = 11;  // the shown year and five on either side
constexpr int kWeeks = 6;
constexpr int kDaysPerWeek = 7;

template <typename T>
T* RequiredChild(QObject* parent, const char* name)
{
    T* child = parent->findChild<T*>(QLatin1String(name));
    Q_ASSERT_X(child, "TMonthCalendar", name);
    return child;
}

}  // namespace

QDate ChangeYearClamped(const QDate& date, int year)
{
    const QDate first(year, date.month(), 1);
    return QDate(year, date.month(), std::min(date.day(), first.daysInMonth()));
}

// The strip "Today: <date>" below the month; a left click selects today.
class TMonthCalendar::TodayLine : public QWidget {
public:
    explicit TodayLine(TMonthCalendar* calendar) : QWidget(calendar), calendar_(calendar)
    {
        setCursor(Qt::PointingHandCursor);
        setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    QString Text() const
    {
        return TMonthCalendar::tr("Today: %1").arg(DateToStr(DateFromQDate(calendar_->Today())));
    }

    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        return QSize(metrics.horizontalAdvance(Text()) + 8, metrics.height() + 4);
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QFont bold = font();
        bold.setBold(true);
        painter.setFont(bold);
        painter.drawText(rect(), Qt::AlignCenter, Text());
    }

    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            Guarded([this] { calendar_->TodayLineClicked(); });
    }

private:
    TMonthCalendar* calendar_;
};

TMonthCalendar::TMonthCalendar(QWidget* parent)
    : QCalendarWidget(parent), TControl(this), yearsMenu_(new TPopupMenu(this))
{
    // QCalendarWidget's parts, found by the names Qt gives them.
    view_ = RequiredChild<QTableView>(this, "qt_calendar_calendarview");
    navigationBar_ = RequiredChild<QWidget>(this, "qt_calendar_navigationbar");
    prevButton_ = RequiredChild<QToolButton>(this, "qt_calendar_prevmonth");
    nextButton_ = RequiredChild<QToolButton>(this, "qt_calendar_nextmonth");
    monthButton_ = RequiredChild<QToolButton>(this, "qt_calendar_monthbutton");
    yearButton_ = RequiredChild<QToolButton>(this, "qt_calendar_yearbutton");

    setVerticalHeaderFormat(NoVerticalHeader);
    todayLine_ = new TodayLine(this);
    if (auto* box = qobject_cast<QBoxLayout*>(layout()))
        box->addWidget(todayLine_);

    // The year button pops up the years menu instead of Qt's year editor.
    yearButton_->installEventFilter(this);
    view_->installEventFilter(this);

    for (int i = 0; i < kYearItems; ++i) {
        auto* item = new TMenuItem(yearsMenu_);
        item->SetCaption(QString::number(2000 + i));
        item->SetChecked(i == kYearItems / 2);
        item->OnClick = [this, item](QObject*) {
            bool ok = false;
            const int year = StripHotkey(item->Caption()).toInt(&ok);
            if (ok)
                SelectYear(year);
        };
        yearsMenu_->Items()->Add(item);
    }

    connect(this, &QCalendarWidget::selectionChanged, this, [this] {
        if (!settingByCode_)
            Guarded([this] { UserSelected(); });
    });
    connect(this, &QCalendarWidget::clicked, this, [this](QDate) { Guarded([this] { DateClicked(); }); });
    connect(this, &QCalendarWidget::activated, this, [this](QDate) { Guarded([this] { DateActivated(); }); });
    connect(this, &QCalendarWidget::currentPageChanged, this,
            [this](int year, int month) { Guarded([this, year, month] { PageShown(year, month); }); });
}

TMonthCalendar::~TMonthCalendar()
{
    Destroying();
}

// --- Value ------------------------------------------------------------------

TDateTime TMonthCalendar::Date() const
{
    return DateFromQDate(selectedDate()) + time_;
}

void TMonthCalendar::SetDate(TDateTime value)
{
    const QScopedValueRollback byCode(settingByCode_, true);
    time_ = TimeOf(value);
    const QDate date = QDateFromDateTime(DateOf(value));
    setSelectedDate(date);
    setCurrentPage(date.year(), date.month());
}

void TMonthCalendar::SelectByUser(const QDate& date)
{
    const QDate before = selectedDate();
    {
        const QScopedValueRollback byCode(settingByCode_, true);
        setSelectedDate(date);
        setCurrentPage(date.year(), date.month());
    }
    if (selectedDate() != before)
        Change();
}

void TMonthCalendar::UserSelected()
{
    Change();
}

void TMonthCalendar::SelectYear(int year)
{
    const QDate moved = ChangeYearClamped(selectedDate(), year);
    if (moved.isValid())
        SelectByUser(moved);
}

// --- Options ----------------------------------------------------------------

void TMonthCalendar::SetShowToday(bool on)
{
    if (showToday_ == on)
        return;
    showToday_ = on;
    todayLine_->setVisible(on);
    updateGeometry();
}

void TMonthCalendar::SetShowTodayCircle(bool on)
{
    if (showTodayCircle_ == on)
        return;
    showTodayCircle_ = on;
    view_->viewport()->update();
}

bool TMonthCalendar::WeekNumbers() const
{
    return verticalHeaderFormat() != NoVerticalHeader;
}

void TMonthCalendar::SetWeekNumbers(bool on)
{
    if (WeekNumbers() != on)
        setVerticalHeaderFormat(on ? ISOWeekNumbers : NoVerticalHeader);
}

QDate TMonthCalendar::Today() const
{
    return today_.isValid() ? today_ : QDate::currentDate();
}

void TMonthCalendar::SetToday(const QDate& today)
{
    today_ = today;
    todayLine_->update();
    todayLine_->updateGeometry();
    view_->viewport()->update();
}

// --- Bold days --------------------------------------------------------------

quint32 TMonthCalendar::GetMonthInfo(int year, int month)
{
    quint32 mask = 0;
    if (OnGetMonthInfo)
        OnGetMonthInfo(this, year, month, mask);
    return mask;
}

void TMonthCalendar::RefreshBoldDays()
{
    ApplyBoldDays(yearShown(), monthShown());
}

void TMonthCalendar::PageShown(int year, int month)
{
    ApplyBoldDays(year, month);
}

void TMonthCalendar::ApplyBoldDays(int year, int month)
{
    setDateTextFormat(QDate(), QTextCharFormat());  // forgets every mark
    boldDays_.clear();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    // A page shows the ends of the months before and after the shown one.
    const QDate shown(year, month, 1);
    for (int offset = -1; offset <= 1; ++offset) {
        const QDate first = shown.addMonths(offset);
        const quint32 mask = GetMonthInfo(first.year(), first.month());
        for (int day = 1; day <= first.daysInMonth(); ++day) {
            if (mask & (quint32(1) << (day - 1))) {
                const QDate date(first.year(), first.month(), day);
                setDateTextFormat(date, bold);
                boldDays_.append(date);
            }
        }
    }
}

bool TMonthCalendar::IsBold(const QDate& date) const
{
    return boldDays_.contains(date);
}

// --- Geometry ---------------------------------------------------------------

QRect TMonthCalendar::ChildRect(const QWidget* child) const
{
    return QRect(child->mapTo(this, QPoint(0, 0)), child->size());
}

int TMonthCalendar::FirstDayRow() const
{
    return horizontalHeaderFormat() == NoHorizontalHeader ? 0 : 1;
}

int TMonthCalendar::FirstDayColumn() const
{
    return WeekNumbers() ? 1 : 0;
}

QDate TMonthCalendar::DateAtCell(int row, int column) const
{
    if (row < 0 || row >= kWeeks || column < 0 || column >= kDaysPerWeek)
        return QDate();
    // As Qt lays out a page: the first of the month in the column of its
    // weekday, and at least one day of the month before on the first row.
    const QDate first(yearShown(), monthShown(), 1);
    int firstColumn = (first.dayOfWeek() - static_cast<int>(firstDayOfWeek()) + kDaysPerWeek) % kDaysPerWeek;
    if (firstColumn < 1)
        firstColumn += kDaysPerWeek;
    return first.addDays(row * kDaysPerWeek + column - firstColumn);
}

QRect TMonthCalendar::TitleRect() const
{
    return ChildRect(navigationBar_);
}

QRect TMonthCalendar::DayRect(const QDate& date) const
{
    for (int row = 0; row < kWeeks; ++row) {
        for (int column = 0; column < kDaysPerWeek; ++column) {
            if (DateAtCell(row, column) != date)
                continue;
            const QModelIndex index = view_->model()->index(row + FirstDayRow(), column + FirstDayColumn());
            const QRect cell = view_->visualRect(index);
            return QRect(view_->viewport()->mapTo(this, cell.topLeft()), cell.size());
        }
    }
    return QRect();
}

QRect TMonthCalendar::TodayLineRect() const
{
    return todayLine_->isVisibleTo(this) ? ChildRect(todayLine_) : QRect();
}

TMonthCalendar::THitInfo TMonthCalendar::HitTest(const QPoint& pos) const
{
    THitInfo hit;
    if (!rect().contains(pos))
        return hit;
    if (TodayLineRect().contains(pos)) {
        hit.zone = mhTodayLine;
        return hit;
    }
    if (TitleRect().contains(pos)) {
        hit.zone = mhTitle;
        if (ChildRect(prevButton_).contains(pos))
            hit.zone = mhPrevButton;
        else if (ChildRect(nextButton_).contains(pos))
            hit.zone = mhNextButton;
        else if (ChildRect(monthButton_).contains(pos))
            hit.zone = mhTitleMonth;
        else if (ChildRect(yearButton_).contains(pos))
            hit.zone = mhTitleYear;
        return hit;
    }
    QWidget* viewport = view_->viewport();
    if (!ChildRect(viewport).contains(pos))
        return hit;
    const QModelIndex index = view_->indexAt(viewport->mapFrom(this, pos));
    if (!index.isValid())
        return hit;
    if (index.row() < FirstDayRow()) {
        hit.zone = mhWeekDays;
    } else if (index.column() < FirstDayColumn()) {
        hit.zone = mhWeekNumbers;
    } else {
        hit.zone = mhDay;
        hit.date = DateAtCell(index.row() - FirstDayRow(), index.column() - FirstDayColumn());
    }
    return hit;
}

QSize TMonthCalendar::MinimumSize() const
{
    QSize size = QCalendarWidget::minimumSizeHint();
    if (showToday_) {
        const QSize line = todayLine_->sizeHint();
        size = QSize(std::max(size.width(), line.width()), size.height() + line.height());
    }
    return size;
}

QSize TMonthCalendar::minimumSizeHint() const
{
    return MinimumSize();
}

QSize TMonthCalendar::sizeHint() const
{
    QSize size = QCalendarWidget::sizeHint();
    if (showToday_)
        size.rheight() += todayLine_->sizeHint().height();
    return size.expandedTo(MinimumSize());
}

// --- Years menu -------------------------------------------------------------

void TMonthCalendar::PopupYearsMenu(const QPoint& screenPos)
{
    const int shown = yearShown();
    for (int i = 0; i < kYearItems; ++i) {
        TMenuItem* item = yearsMenu_->Items()->Items(i);
        item->SetCaption(QString::number(shown - kYearItems / 2 + i));
        item->SetChecked(i == kYearItems / 2);
    }
    yearsMenu_->SetPopupComponent(this);
    const QScopedValueRollback inMenu(inYearsMenu_, true);
    yearsMenu_->Popup(screenPos.x(), screenPos.y());
}

// --- Input ------------------------------------------------------------------

void TMonthCalendar::TodayLineClicked()
{
    SelectByUser(Today());
    TodayClicked();
}

void TMonthCalendar::DateClicked() {}

void TMonthCalendar::DateActivated() {}

void TMonthCalendar::TodayClicked() {}

bool TMonthCalendar::EscapePressed()
{
    return false;
}

void TMonthCalendar::Change()
{
    FireEvent(OnChange, this);
}

bool TMonthCalendar::eventFilter(QObject* watched, QEvent* event)
{
    bool eaten = false;
    Guarded([&] {
        if (watched == yearButton_ && event->type() == QEvent::MouseButtonPress) {
            auto* press = static_cast<QMouseEvent*>(event);
            if (press->button() == Qt::LeftButton) {
                eaten = true;
                PopupYearsMenu(press->globalPosition().toPoint());
            }
        } else if (watched == view_ && event->type() == QEvent::KeyPress &&
                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            eaten = EscapePressed();
        }
    });
    return eaten || QCalendarWidget::eventFilter(watched, event);
}

void TMonthCalendar::keyPressEvent(QKeyEvent* event)
{
    bool taken = false;
    if (event->key() == Qt::Key_Escape)
        Guarded([&] { taken = EscapePressed(); });
    if (taken)
        event->accept();
    else
        QCalendarWidget::keyPressEvent(event);
}

void TMonthCalendar::showEvent(QShowEvent* event)
{
    QCalendarWidget::showEvent(event);
    Guarded([this] { RefreshBoldDays(); });
}

// --- Painting ---------------------------------------------------------------

void TMonthCalendar::paintCell(QPainter* painter, const QRect& rect, QDate date) const
{
    QCalendarWidget::paintCell(painter, rect, date);
    if (!showTodayCircle_ || date != Today())
        return;
    Guarded([&] {
        painter->save();
        painter->setPen(QPen(QColor(Qt::red), 1));
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(rect.adjusted(1, 1, -2, -2));
        painter->restore();
    });
}

}  // namespace tk
