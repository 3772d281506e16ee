#pragma once
// Input as the user gives it (wheel notches to a viewport, key presses),
// and the timed run of 1,000 such steps from the top that the operability
// cases of both sides share: each step followed by a paint of the whole
// widget, the mean step as the figure, the median and worst step as
// counters.

#include <QWidget>
#include <benchmark/benchmark.h>
#include <functional>

namespace gridbench {

inline constexpr int kSteps = 1000;

// One notch down, in the middle of the viewport.
void WheelDown(QWidget& viewport);
void PressKey(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = {});

// Per iteration: toTop, a settled paint, then kSteps times step and a
// paint, each timed alone; the event loop runs between steps, outside the
// measured time. moved, asked at the end, tells whether the steps moved
// the view or the records as far as the case expects.
void RunSteps(benchmark::State& state, QWidget& painted, const std::function<void()>& toTop,
              const std::function<void()>& step, const std::function<bool()>& moved);

}  // namespace gridbench
