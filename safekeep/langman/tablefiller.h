#pragma once
// Fills one of the language manager's lookup tables (keys with their texts
// as the lines' objects) from language files: product files append every
// key; user files replace the text of the first key equal to theirs
// (ignoring case) or append.
//
// The table must stay unsorted while it is filled and is sorted once after
// the last file. That gives the table that sorted inserts would give (a
// user file never adds a key that is already there, and the stable sort
// keeps equal product keys in file order, the first one first), in time
// linear in the files instead of one insert into the middle per new key.

#include "safekeep/langman/keyindex.h"
#include "toolkit/core/strings.h"

namespace safekeep {

class TTableFiller {
public:
    explicit TTableFiller(tk::TStringList* table) : table_(table) {}

    void Store(const QString& key, const QString& text, bool isUser);

private:
    tk::TStringList* table_;
    // The first row of each key, made when a user file first looks one up:
    // product files only append.
    TKeyIndex index_;
    int indexed_ = 0;  // rows of table_ already in index_
};

}  // namespace safekeep
