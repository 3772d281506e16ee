#include "safekeep/langman/tablefiller.h"

#include "toolkit/core/exceptions.h"

namespace safekeep {

void TTableFiller::Store(const QString& key, const QString& text, bool isUser)
{
    if (table_->Sorted())
        throw tk::EAssertionFailed(QStringLiteral("a table being filled must not be sorted"));
    if (isUser) {
        for (; indexed_ < table_->Count(); ++indexed_)
            index_.Add(table_->Strings(indexed_), indexed_);
        const qsizetype row = index_.Find(key);
        if (row >= 0) {
            table_->PutObject(static_cast<int>(row), text);
            return;
        }
    }
    table_->AddObject(key, text);
}

}  // namespace safekeep
