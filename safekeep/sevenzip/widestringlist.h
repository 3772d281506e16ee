#pragma once
// The list of file names the archive component works on (Files): a string
// list with the wide-string list's own names for its operations. File names
// are compared with regard to case, as the file system does.

#include "toolkit/core/strings.h"

namespace safekeep {

class TWideStringList : public tk::TStringList {
    Q_OBJECT
public:
    explicit TWideStringList(QObject* parent = nullptr);

    QString WStrings(int index) const { return Get(index); }
    // Appends a line and returns its index.
    int AddString(const QString& s) { return Add(s); }
    // Removes the first line equal to s; false when there is none.
    bool RemoveString(const QString& s);
};

}  // namespace safekeep
