#pragma once
// The message patterns of a language with their translation templates, in
// the order the files give them. Each pattern is compiled into a mask once,
// when it is added, so translating a message only matches.

#include "safekeep/langman/keyindex.h"
#include "toolkit/core/masks.h"

#include <QList>
#include <QString>

namespace safekeep {

class TMessageTable {
public:
    void Clear();
    // Product files append every pair; user files replace the template of
    // the first pattern equal to theirs (ignoring case) or append.
    void Add(const QString& pattern, const QString& translation, bool isUser);
    // The translation of message by the first pattern that matches it; the
    // message itself when none does.
    QString Translate(const QString& message) const;
    qsizetype Count() const { return entries_.size(); }

private:
    struct Entry {
        QString pattern;
        QString translation;
        tk::TMask mask;
    };
    QList<Entry> entries_;
    // The first entry of each pattern, made when a user file first looks
    // one up and kept up to date after that: languages without user files
    // never pay for it.
    TKeyIndex index_;
    qsizetype indexed_ = 0;  // entries_ already in index_
};

}  // namespace safekeep
