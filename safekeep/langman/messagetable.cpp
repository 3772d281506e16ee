#include "safekeep/langman/messagetable.h"

#include "safekeep/langman/langtext.h"

namespace safekeep {

void TMessageTable::Clear()
{
    entries_.clear();
    index_.Clear();
    indexed_ = 0;
}

void TMessageTable::Add(const QString& pattern, const QString& translation, bool isUser)
{
    if (isUser) {
        for (; indexed_ < entries_.size(); ++indexed_)
            index_.Add(entries_[indexed_].pattern, indexed_);
        const qsizetype existing = index_.Find(pattern);
        if (existing >= 0) {
            entries_[existing].translation = translation;
            return;
        }
    }
    entries_.append({pattern, translation, tk::TMask(pattern)});
}

QString TMessageTable::Translate(const QString& message) const
{
    const QList<char32_t> folded = tk::TMask::Fold(message);
    const std::u32string_view name(folded.constData(), folded.size());
    for (const Entry& entry : entries_)
        if (entry.mask.MatchesFolded(name))
            return ApplyMessageTemplate(message, entry.pattern, entry.translation);
    return message;
}

}  // namespace safekeep
