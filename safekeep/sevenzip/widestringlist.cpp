#include "safekeep/sevenzip/widestringlist.h"

namespace safekeep {

TWideStringList::TWideStringList(QObject* parent) : tk::TStringList(parent)
{
    SetCaseSensitive(true);
}

bool TWideStringList::RemoveString(const QString& s)
{
    const int index = IndexOf(s);
    if (index < 0)
        return false;
    Delete(index);
    return true;
}

}  // namespace safekeep
