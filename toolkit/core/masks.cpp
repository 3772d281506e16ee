#include "toolkit/core/masks.h"

#include <QChar>
#include <algorithm>

namespace tk {

QList<char32_t> TMask::Fold(const QString& name)
{
    const QList<uint> chars = name.toUcs4();
    QList<char32_t> result;
    result.reserve(chars.size());
    for (const uint c : chars)
        result.append(QChar::toCaseFolded(char32_t(c)));
    return result;
}

TMask::TMask(const QString& mask)
{
    const QList<char32_t> chars = Fold(mask);
    const qsizetype size = chars.size();
    // closeAt[i] is the first "]" at i or after it (size when there is
    // none), found in one pass from the end: looking for it from every "["
    // would take time quadratic in a mask of many "[".
    QList<qsizetype> closeAt(size + 1, size);
    for (qsizetype i = size - 1; i >= 0; --i)
        closeAt[i] = chars[i] == U']' ? i : closeAt[i + 1];

    qsizetype runBegin = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char32_t c = chars[i];
        if (c == U'*') {
            // Consecutive "*" behave as one; a "*" first in the mask leaves
            // an empty head.
            if (runs_.isEmpty() || tokens_.size() > runBegin) {
                runs_.append({runBegin, tokens_.size()});
                runBegin = tokens_.size();
            }
            continue;
        }
        char32_t token = c;
        if (c == U'?') {
            token = AnyChar;
        } else if (c == U'[' && closeAt[i + 1] < size) {
            const qsizetype close = closeAt[i + 1];
            qsizetype j = i + 1;
            const bool negated = j < close && chars[j] == U'!';
            if (negated)
                ++j;
            // "a-z" is a range; a "-" first or last in the set is itself.
            QList<Range> ranges;
            for (; j < close; ++j) {
                if (j + 2 < close && chars[j + 1] == U'-') {
                    ranges.append({chars[j], chars[j + 2]});
                    j += 2;
                } else {
                    ranges.append({chars[j], chars[j]});
                }
            }
            token = AddSet(negated, std::move(ranges));
            i = close;
        }
        tokens_.append(token);
    }
    runs_.append({runBegin, tokens_.size()});
}

char32_t TMask::AddSet(bool negated, QList<Range> ranges)
{
    // Sorted and merged, a set of thousands of ranges is searched in
    // logarithmic time; a reversed range ("z-a") holds nothing.
    ranges.removeIf([](const Range& range) { return range.first > range.last; });
    std::sort(ranges.begin(), ranges.end(), [](const Range& a, const Range& b) { return a.first < b.first; });
    const qsizetype firstRange = ranges_.size();
    for (const Range& range : ranges) {
        if (ranges_.size() > firstRange && range.first <= ranges_.last().last + 1)
            ranges_.last().last = std::max(ranges_.last().last, range.last);
        else
            ranges_.append(range);
    }
    sets_.append({negated, firstRange, ranges_.size() - firstRange});
    return FirstSet + static_cast<char32_t>(sets_.size() - 1);
}

bool TMask::MatchesToken(char32_t token, char32_t folded) const
{
    if (token < AnyChar)
        return token == folded;
    if (token == AnyChar)
        return true;
    const Set& set = sets_[token - FirstSet];
    const Range* first = ranges_.constData() + set.firstRange;
    const Range* last = first + set.rangeCount;
    // The last range that starts at folded or before it.
    const Range* after =
        std::upper_bound(first, last, folded, [](char32_t c, const Range& range) { return c < range.first; });
    const bool inSet = after != first && folded <= (after - 1)->last;
    return inSet != set.negated;
}

bool TMask::MatchesRunAt(const Run& run, std::u32string_view folded, qsizetype at) const
{
    for (qsizetype t = run.begin; t < run.end; ++t)
        if (!MatchesToken(tokens_[t], folded[at + t - run.begin]))
            return false;
    return true;
}

bool TMask::Matches(const QString& name) const
{
    const QList<char32_t> folded = Fold(name);
    return MatchesFolded(std::u32string_view(folded.constData(), folded.size()));
}

bool TMask::MatchesFolded(std::u32string_view folded) const
{
    const auto size = static_cast<qsizetype>(folded.size());
    // Every token takes one character and "*" any number, so a name shorter
    // than the tokens cannot match.
    if (tokens_.size() > size)
        return false;
    const Run& head = runs_.first();
    if (runs_.size() == 1)
        return tokens_.size() == size && MatchesRunAt(head, folded, 0);
    const Run& tail = runs_.last();
    const qsizetype tailAt = size - (tail.end - tail.begin);
    if (!MatchesRunAt(head, folded, 0) || !MatchesRunAt(tail, folded, tailAt))
        return false;
    // Each run between two "*" takes its leftmost place: a later place would
    // only leave less room for the runs after it.
    qsizetype at = head.end - head.begin;
    for (qsizetype r = 1; r + 1 < runs_.size(); ++r) {
        const Run& run = runs_[r];
        const qsizetype length = run.end - run.begin;
        const char32_t first = tokens_[run.begin];
        while (at + length <= tailAt) {
            // A literal first token skips the places that cannot start the
            // run without trying them one by one.
            if (first < AnyChar) {
                const size_t found = folded.find(first, static_cast<size_t>(at));
                if (found == std::u32string_view::npos)
                    return false;
                at = static_cast<qsizetype>(found);
                if (at + length > tailAt)
                    return false;
            }
            if (MatchesRunAt(run, folded, at))
                break;
            ++at;
        }
        if (at + length > tailAt)
            return false;
        at += length;
    }
    return true;
}

bool MatchesMask(const QString& name, const QString& mask)
{
    return TMask(mask).Matches(name);
}

}  // namespace tk
