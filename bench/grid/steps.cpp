#include "bench/grid/steps.h"

#include "bench/grid/screen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QWheelEvent>
#include <algorithm>
#include <vector>

namespace gridbench {

void WheelDown(QWidget& viewport)
{
    const QPointF at(viewport.width() / 2, viewport.height() / 2);
    QWheelEvent event(at, viewport.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(&viewport, &event);
}

void PressKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(&widget, &release);
}

void RunSteps(benchmark::State& state, QWidget& painted, const std::function<void()>& toTop,
              const std::function<void()>& step, const std::function<bool()>& moved)
{
    QImage image = ScreenImage();
    std::vector<double> steps;
    steps.reserve(kSteps * 4);
    QElapsedTimer timer;
    for (auto _ : state) {
        toTop();
        SettleEvents();
        Paint(painted, image);
        double total = 0;
        for (int i = 0; i < kSteps; ++i) {
            timer.start();
            step();
            Paint(painted, image);
            const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
            steps.push_back(ms);
            total += ms;
            SettleEvents();
        }
        state.SetIterationTime(total / 1000.0 / kSteps);
    }
    if (steps.empty() || !moved()) {
        state.SkipWithError("the steps did not move as far as expected");
        return;
    }
    std::sort(steps.begin(), steps.end());
    state.counters["median_ms"] = steps[steps.size() / 2];
    state.counters["worst_ms"] = steps.back();
}

}  // namespace gridbench
