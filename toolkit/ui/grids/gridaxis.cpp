#include "toolkit/ui/grids/gridaxis.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/ui/grids/gridconsts.h"

#include <algorithm>
#include <limits>

namespace tk {

namespace {

int ClampToInt(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

TGridAxis::TGridAxis(Kind kind, int count, int fixedCount, int defaultSize) : kind_(kind)
{
    defaultSize_ = defaultSize;
    SetCount(count);
    SetFixedCount(fixedCount);
}

void TGridAxis::SetCount(int count)
{
    count = std::max(count, 1);
    const int old = Count();
    sizes_.resize(count);
    for (int i = old; i < count; ++i)
        sizes_[i] = defaultSize_;
    prefix_.resize(count + 1);
    Invalidate(std::min(old, count));
    fixedCount_ = std::min(fixedCount_, count - 1);
    first_ = std::clamp(first_, fixedCount_, count - 1);
}

void TGridAxis::SetFixedCount(int fixedCount)
{
    if (fixedCount < 0)
        throw EInvalidGridOperation(LoadResString(&SIndexOutOfRange));
    if (fixedCount >= Count())
        throw EInvalidGridOperation(
            LoadResString(kind_ == Kind::columns ? &SFixedColTooBig : &SFixedRowTooBig));
    fixedCount_ = fixedCount;
    first_ = std::max(first_, fixedCount_);
}

void TGridAxis::SetDefaultSize(int size)
{
    defaultSize_ = size;
    std::fill(sizes_.begin(), sizes_.end(), size);
    Invalidate(0);
}

int TGridAxis::Size(int index) const
{
    CheckIndex(index);
    return sizes_[index];
}

void TGridAxis::SetSize(int index, int size)
{
    CheckIndex(index);
    if (sizes_[index] == size)
        return;
    sizes_[index] = size;
    Invalidate(index);
}

void TGridAxis::SetLineWidth(int width)
{
    Q_ASSERT(width >= 0);
    if (lineWidth_ == width)
        return;
    lineWidth_ = width;
    Invalidate(0);
}

int TGridAxis::Extent(int index) const
{
    CheckIndex(index);
    return std::max(0, sizes_[index] + lineWidth_);
}

bool TGridAxis::SetFirst(int first)
{
    first = std::clamp(first, fixedCount_, Count() - 1);
    if (first == first_)
        return false;
    first_ = first;
    return true;
}

int TGridAxis::FixedExtent() const
{
    return ClampToInt(Prefix(fixedCount_));
}

qint64 TGridAxis::TotalExtent() const
{
    return Prefix(Count());
}

qint64 TGridAxis::ScrollableOffset(int index) const
{
    Q_ASSERT(index >= fixedCount_ && index <= Count());
    return Prefix(index) - Prefix(fixedCount_);
}

int TGridAxis::Start(int index) const
{
    CheckIndex(index);
    if (index < fixedCount_)
        return ClampToInt(Prefix(index));
    if (index < first_)
        return -1;
    return ClampToInt(Prefix(fixedCount_) + Prefix(index) - Prefix(first_));
}

TAxisSpan TGridAxis::CellSpan(int index, int clientExtent) const
{
    return RangeSpan(index, index, clientExtent);
}

TAxisSpan TGridAxis::RangeSpan(int first, int last, int clientExtent) const
{
    CheckIndex(first);
    CheckIndex(last);
    if (first > last)
        std::swap(first, last);
    // The scrolled-out cells take no pixels, so the shown part of the range
    // runs from its first shown cell to its last shown cell.
    const bool lastShown = last < fixedCount_ || last >= first_;
    const int low = first < fixedCount_ ? first : std::max(first, first_);
    const int high = lastShown ? last : fixedCount_ - 1;
    if (low > high || high < 0)
        return {};
    const int start = Start(low);
    const int end = std::min(std::max(start, Start(high) + Extent(high) - lineWidth_), clientExtent);
    if (start >= clientExtent || end <= start)
        return {};
    return {start, end - start};
}

int TGridAxis::IndexAt(int pixel, int clientExtent) const
{
    if (pixel < 0 || pixel >= clientExtent)
        return -1;
    Prefix(Count());  // the searches below read the whole table
    const int fixedExtent = FixedExtent();
    qint64 target = pixel;
    int low = 0;
    int high = fixedCount_;
    if (pixel >= fixedExtent) {
        target = Prefix(first_) + (pixel - fixedExtent);
        low = first_;
        high = Count();
    }
    // The cell i with prefix_[i] <= target < prefix_[i + 1].
    const auto begin = prefix_.cbegin() + low + 1;
    const auto found = std::upper_bound(begin, prefix_.cbegin() + high + 1, target);
    if (found == prefix_.cbegin() + high + 1)
        return -1;
    return int(found - prefix_.cbegin()) - 1;
}

int TGridAxis::LastVisible(int clientExtent) const
{
    const int atEnd = IndexAt(clientExtent - 1, clientExtent);
    if (atEnd < 0)
        return Count() - 1;
    return std::max(atEnd, first_);
}

int TGridAxis::LastFullyVisible(int clientExtent) const
{
    Prefix(Count());
    // Cells first_ .. i fit when their pixels, less the last line, fit
    // after the fixed cells.
    const qint64 limit = qint64(clientExtent) + lineWidth_ - FixedExtent() + Prefix(first_);
    const auto found = std::upper_bound(prefix_.cbegin() + first_ + 1, prefix_.cend(), limit);
    const int lastFitting = int(found - prefix_.cbegin()) - 2;
    return std::max(lastFitting, first_);
}

int TGridAxis::VisibleCount(int clientExtent) const
{
    return LastFullyVisible(clientExtent) - first_ + 1;
}

int TGridAxis::FirstShowingWhole(int last, int clientExtent) const
{
    CheckIndex(last);
    Q_ASSERT(last >= fixedCount_);
    const qint64 available = qint64(clientExtent) + lineWidth_ - FixedExtent();
    const qint64 end = Prefix(last + 1);
    // The smallest i whose cells i .. last fit in the available pixels.
    const auto begin = prefix_.cbegin() + fixedCount_;
    const auto found = std::lower_bound(begin, prefix_.cbegin() + last, end - available);
    return std::clamp(int(found - prefix_.cbegin()), fixedCount_, last);
}

void TGridAxis::Move(int from, int to)
{
    CheckIndex(from);
    CheckIndex(to);
    if (from == to)
        return;
    const int size = sizes_[from];
    sizes_.remove(from);
    sizes_.insert(to, size);
    Invalidate(std::min(from, to));
}

QString TGridAxis::CheckConsistency() const
{
    if (Count() < 1)
        return QStringLiteral("no cells");
    if (fixedCount_ < 0 || fixedCount_ >= Count())
        return QStringLiteral("fixed count %1 outside 0 .. %2").arg(fixedCount_).arg(Count() - 1);
    if (first_ < fixedCount_ || first_ >= Count())
        return QStringLiteral("first %1 outside %2 .. %3").arg(first_).arg(fixedCount_).arg(Count() - 1);
    if (prefix_.size() != Count() + 1)
        return QStringLiteral("position table of %1 entries for %2 cells").arg(prefix_.size()).arg(Count());
    qint64 sum = 0;
    for (int i = 0; i < Count(); ++i) {
        if (Prefix(i) != sum)
            return QStringLiteral("cell %1 starts at %2, not %3").arg(i).arg(Prefix(i)).arg(sum);
        sum += Extent(i);
    }
    if (TotalExtent() != sum)
        return QStringLiteral("total %1, not %2").arg(TotalExtent()).arg(sum);
    return {};
}

void TGridAxis::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EInvalidGridOperation(LoadResString(&SIndexOutOfRange));
}

qint64 TGridAxis::Prefix(int index) const
{
    Q_ASSERT(index >= 0 && index <= Count());
    for (int i = validPrefix_; i < index; ++i)
        prefix_[i + 1] = prefix_[i] + std::max(0, sizes_[i] + lineWidth_);
    validPrefix_ = std::max(validPrefix_, index);
    return prefix_[index];
}

void TGridAxis::Invalidate(int from) const
{
    validPrefix_ = std::min(validPrefix_, from);
}

}  // namespace tk
