#include "toolkit/ui/incrementalsearch.h"

#include "toolkit/ui/sysinfo.h"

namespace tk {

TIncrementalSearch::TIncrementalSearch() : clock_(&TickCount) {}

void TIncrementalSearch::SetClock(TClock clock)
{
    clock_ = clock ? std::move(clock) : TClock(&TickCount);
}

std::optional<QString> TIncrementalSearch::Extended(QChar ch)
{
    Q_ASSERT(IsSearchChar(ch));
    const qint64 now = clock_();
    if (anyKey_ && now - lastKey_ > ResetInterval)
        text_.clear();
    lastKey_ = now;
    anyKey_ = true;
    if (text_.size() >= MaxLength)
        return std::nullopt;
    return text_ + ch;
}

void TIncrementalSearch::Accept(const QString& text)
{
    Q_ASSERT(text.size() <= MaxLength);
    text_ = text;
}

bool TIncrementalSearch::IsSearchChar(QChar ch)
{
    return ch.unicode() >= 0x20 && ch.isPrint();
}

}  // namespace tk
