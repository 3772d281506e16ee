// TDataSet::ScanFieldValues: one field's values of every record read
// straight from the record source (dataset.h).

#include "toolkit/data/dataset.h"

namespace tk {

bool TDataSet::ScanFieldValues(const TField* field, const std::function<void(const Variant&)>& visit)
{
    // In browse state with no filter the records are the source's rows in
    // its order (no record being inserted, no rejected row); a data field
    // reads its source column as it is (GetFieldValue).
    if (state_ != dsBrowse || filtered_ || !source_ || !field || field->DataSet() != this ||
        field->FieldKind() != fkData)
        return false;
    const int column = field->FieldNo() - 1;
    if (column < 0 || column >= source_->ColumnNames().size())
        return false;
    source_->ScanColumn(column, visit);
    return true;
}

}  // namespace tk
