// The totals' fast path (totalsfastpath.h).

#include "kelgrid/grid/totalsfastpath.h"

#include "kelgrid/grid/dbgrid.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"

#include <stdexcept>
#include <typeinfo>

namespace kelgrid {

namespace {

// The grid classes of this library, whose TotalCalcQuery and
// TotalCalcValue only call the handlers; a descendant may do more.
bool HandlersAreTheEventsOnly(const TKelCustomDBGrid& grid)
{
    const std::type_info& type = typeid(grid);
    return type == typeid(TKelDBGrid) || type == typeid(TKelCustomDBGrid);
}

bool IsPlainDataField(const tk::TField* field, const tk::TDataSet& dataSet)
{
    return field && field->DataSet() == &dataSet && field->FieldKind() == tk::fkData && field->FieldNo() > 0;
}

}  // namespace

bool TotalsBySourceAllowed(const TKelCustomDBGrid& grid, const tk::TDataSet& dataSet,
                           const std::vector<tk::TField*>& fields, bool recordSelectionMatters)
{
    if (recordSelectionMatters || grid.OnTotalCalcQuery || grid.OnTotalCalcValue ||
        !HandlersAreTheEventsOnly(grid))
        return false;
    if (dataSet.State() != tk::dsBrowse || dataSet.Filtered() || fields.empty())
        return false;
    for (const tk::TField* field : fields)
        if (!IsPlainDataField(field, dataSet))
            return false;
    return true;
}

bool ScanTotalFields(tk::TDataSet& dataSet, const std::vector<tk::TField*>& fields,
                     const std::function<void(std::size_t, const tk::Variant&)>& visit)
{
    for (std::size_t index = 0; index < fields.size(); ++index) {
        const bool scanned =
            dataSet.ScanFieldValues(fields[index], [&](const tk::Variant& value) { visit(index, value); });
        if (scanned)
            continue;
        // Every field passed the same test and the dataset's state cannot
        // change between two scans: a refusal after the first would leave
        // the totals part-counted.
        if (index > 0)
            throw std::logic_error("the dataset refused a column scan it had granted");
        return false;
    }
    return true;
}

}  // namespace kelgrid
