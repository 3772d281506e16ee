#pragma once
// Waiting for a window's first paint: the popups of the lookup cases are
// timed from closed to shown and painted once, which only the event loop
// does (show, expose, the backing store's update request, the paint).

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QWidget>

namespace gridbench {

// Watches widget (a view's viewport: where its cells are painted) for its
// next paint event, from construction on.
class FirstPaintWatch : public QObject {
public:
    explicit FirstPaintWatch(QWidget& widget) : widget_(widget) { widget_.installEventFilter(this); }
    ~FirstPaintWatch() override { widget_.removeEventFilter(this); }
    FirstPaintWatch(const FirstPaintWatch&) = delete;
    FirstPaintWatch& operator=(const FirstPaintWatch&) = delete;

    // Runs the event loop until the paint has been handled; false when it
    // did not come within boundMs. The filter sees the event before the
    // widget paints: the paint is over only when processEvents returns.
    bool Wait(qint64 boundMs = 5000)
    {
        QElapsedTimer clock;
        clock.start();
        while (!painted_ && clock.elapsed() < boundMs)
            QCoreApplication::processEvents();
        return painted_;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &widget_ && event->type() == QEvent::Paint)
            painted_ = true;
        return false;
    }

private:
    QWidget& widget_;
    bool painted_ = false;
};

}  // namespace gridbench
