#include "kelgrid/grid/stretch.h"

namespace kelgrid {

namespace {

enum class Lock { Free, Min, Max, StretchMin, StretchMax };

bool AtMinimum(Lock lock)
{
    return lock == Lock::Min || lock == Lock::StretchMin;
}

}  // namespace

QList<int> StretchWidths(int available, const QList<TStretchColumn>& columns, TStretchLimits limits)
{
    qint64 base = 0;
    for (const TStretchColumn& column : columns)
        base += column.baseWidth;
    if (base <= 0)
        return {};

    const int count = int(columns.size());
    QList<Lock> locks(count, Lock::Free);
    QList<int> widths(count, 0);
    qint64 width = available;
    bool freedMinimums = false;
    bool changed = true;
    while (changed && width > 0 && base > 0) {
        changed = false;
        for (int i = 0; i < count; ++i) {
            if (locks[i] != Lock::Free)
                continue;
            const TStretchColumn& column = columns[i];
            const qint64 proposed = width * column.baseWidth / base;
            Lock lock = Lock::Free;
            int locked = 0;
            if (column.widthMin >= 0 && proposed < column.widthMin) {
                lock = Lock::Min;
                locked = column.widthMin;
            } else if (column.widthMax >= 0 && proposed > column.widthMax) {
                lock = Lock::Max;
                locked = column.widthMax;
            } else if (column.widthMin < 0 && limits.widthMin >= 0 && proposed < limits.widthMin) {
                lock = Lock::StretchMin;
                locked = limits.widthMin;
            } else if (column.widthMax < 0 && limits.widthMax >= 0 && proposed > limits.widthMax) {
                lock = Lock::StretchMax;
                locked = limits.widthMax;
            }
            if (lock == Lock::Free)
                continue;
            locks[i] = lock;
            widths[i] = locked;
            base -= column.baseWidth;
            width -= locked;
            changed = true;
        }
        const bool allLocked = !locks.contains(Lock::Free);
        if (allLocked && width > 0 && !freedMinimums) {
            freedMinimums = true;
            for (int i = 0; i < count; ++i) {
                if (!AtMinimum(locks[i]))
                    continue;
                locks[i] = Lock::Free;
                base += columns[i].baseWidth;
                width += widths[i];
            }
            changed = true;
        }
    }
    for (int i = 0; i < count; ++i) {
        if (locks[i] != Lock::Free)
            continue;
        if (width > 0 && base > 0) {
            const qint64 share = width * columns[i].baseWidth / base;
            widths[i] = int(share);
            width -= share;
            base -= columns[i].baseWidth;
        } else {
            widths[i] = qMax(0, limits.widthMin);
        }
    }
    return widths;
}

}  // namespace kelgrid
