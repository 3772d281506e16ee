#pragma once
// Finds the first row of a list whose key equals a given one without regard
// to case, in constant time: language files and tables compare section
// names, keys and message patterns case-insensitively, and hostile files
// hold tens of thousands of them.
//
// Keys are equal here exactly when QString::compare(a, b, Qt::CaseInsensitive)
// says so: both fold every character on its own (no "ß" = "ss").

#include <QHash>
#include <QString>

namespace safekeep {

class TKeyIndex {
public:
    // The row remembered for key; -1 when there is none.
    qsizetype Find(const QString& key) const;
    // Remembers row for key unless an equal key is already there, so the
    // index keeps the first of equal keys. Returns the row kept for key:
    // row, or the earlier one.
    qsizetype Add(const QString& key, qsizetype row);
    void Clear() { rows_.clear(); }
    qsizetype Count() const { return rows_.size(); }

    // key with every character case-folded, the form the index keeps.
    static QString Folded(const QString& key);

private:
    QHash<QString, qsizetype> rows_;
};

}  // namespace safekeep
