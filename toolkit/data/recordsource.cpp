#include "toolkit/data/recordsource.h"

namespace tk {

int TRecordSource::ColumnIndex(const QString& fullName) const
{
    const QStringList& names = ColumnNames();
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].compare(fullName, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void TRecordSource::ScanColumn(int column, const std::function<void(const Variant&)>& visit)
{
    for (qint64 position = 0; HasRow(position); ++position)
        visit(Value(position, column));
}

}  // namespace tk
