#pragma once
// The warning sound. Several refusals are "a beep"; the sound goes through a
// replaceable hook so that tests count beeps and programs may silence them.

#include <functional>

namespace tk {

using TBeepHook = std::function<void()>;

// Sounds the warning through the current hook.
void Beep();
// Installs hook and returns the previous one; an empty hook restores the
// default, which asks the widget application to beep (nothing without one).
TBeepHook SetBeepHook(TBeepHook hook);

}  // namespace tk
