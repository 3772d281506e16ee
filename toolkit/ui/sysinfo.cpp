#include "toolkit/ui/sysinfo.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QStyleHints>
#include <algorithm>
#include <chrono>

namespace tk {

QRect ScreenRect()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect();
}

QRect WorkAreaRect()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

QRect WorkAreaAt(const QPoint& globalPoint)
{
    const QScreen* screen = QGuiApplication::screenAt(globalPoint);
    return screen ? screen->availableGeometry() : WorkAreaRect();
}

int ScrollBarExtent()
{
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
}

int ScrollBarThumbMinimum()
{
    return QApplication::style()->pixelMetric(QStyle::PM_ScrollBarSliderMin);
}

int DragThreshold()
{
    return QGuiApplication::styleHints()->startDragDistance();
}

int DoubleClickTime()
{
    return QGuiApplication::styleHints()->mouseDoubleClickInterval();
}

int WheelScrollLines()
{
    return std::max(QGuiApplication::styleHints()->wheelScrollLines(), 1);
}

qint64 TickCount()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

TShiftState CurrentShiftState()
{
    return ShiftStateFrom(QGuiApplication::queryKeyboardModifiers(), QGuiApplication::mouseButtons());
}

bool IsKeyDown(int virtualKey)
{
    const Qt::KeyboardModifiers modifiers = QGuiApplication::queryKeyboardModifiers();
    switch (virtualKey) {
    case VK_SHIFT:
        return modifiers.testFlag(Qt::ShiftModifier);
    case VK_CONTROL:
        return modifiers.testFlag(Qt::ControlModifier);
    case VK_MENU:
        return modifiers.testFlag(Qt::AltModifier);
    default:
        return false;
    }
}

}  // namespace tk
