#include "toolkit/core/beep.h"

#include <QApplication>

namespace tk {

namespace {

void DefaultBeep()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}

TBeepHook& CurrentHook()
{
    static TBeepHook hook = DefaultBeep;
    return hook;
}

}  // namespace

void Beep()
{
    CurrentHook()();
}

TBeepHook SetBeepHook(TBeepHook hook)
{
    TBeepHook previous = std::move(CurrentHook());
    CurrentHook() = hook ? std::move(hook) : TBeepHook(DefaultBeep);
    return previous;
}

}  // namespace tk
