#include "toolkit/ui/sizeconstraints.h"

#include <algorithm>

namespace tk {

namespace {

int Clamp(int value, int min, int max)
{
    if (max > 0)
        value = std::min(value, max);
    return std::max(value, min);
}

}  // namespace

TSizeConstraints::TSizeConstraints(QObject* parent) : TPersistent(parent) {}

// The last limit set wins: a minimum above the maximum raises the maximum,
// a maximum below the minimum lowers the minimum.
void TSizeConstraints::SetMinWidth(int value)
{
    value = std::max(0, value);
    if (value == minWidth_)
        return;
    minWidth_ = value;
    if (maxWidth_ > 0 && maxWidth_ < value)
        maxWidth_ = value;
    Changed();
}

void TSizeConstraints::SetMinHeight(int value)
{
    value = std::max(0, value);
    if (value == minHeight_)
        return;
    minHeight_ = value;
    if (maxHeight_ > 0 && maxHeight_ < value)
        maxHeight_ = value;
    Changed();
}

void TSizeConstraints::SetMaxWidth(int value)
{
    value = std::max(0, value);
    if (value == maxWidth_)
        return;
    maxWidth_ = value;
    if (value > 0 && minWidth_ > value)
        minWidth_ = value;
    Changed();
}

void TSizeConstraints::SetMaxHeight(int value)
{
    value = std::max(0, value);
    if (value == maxHeight_)
        return;
    maxHeight_ = value;
    if (value > 0 && minHeight_ > value)
        minHeight_ = value;
    Changed();
}

QSize TSizeConstraints::Constrain(const QSize& size) const
{
    return QSize(Clamp(size.width(), minWidth_, maxWidth_), Clamp(size.height(), minHeight_, maxHeight_));
}

void TSizeConstraints::Assign(const TPersistent* source)
{
    const auto* other = qobject_cast<const TSizeConstraints*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    minWidth_ = other->minWidth_;
    minHeight_ = other->minHeight_;
    maxWidth_ = other->maxWidth_;
    maxHeight_ = other->maxHeight_;
    Changed();
}

void TSizeConstraints::Changed()
{
    if (OnChange)
        OnChange();
}

}  // namespace tk
