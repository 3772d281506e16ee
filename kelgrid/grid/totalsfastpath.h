#pragma once
// The totals' fast path: a whole-dataset calculation that reads each
// total's field through the dataset's record source (tk::TDataSet::
// ScanFieldValues) instead of moving the cursor over every record.
//
// The values reach the totals in the same order and through the same
// per-value step as the walk's, so the results are the walk's to the bit
// (float sums added in record order, integers as integers, currency as
// currency, NULLs as the total's NullValue says). It is taken only where
// nothing could tell the two apart: no per-record handler
// (OnTotalCalcQuery, OnTotalCalcValue, or a descendant class that may
// override TotalCalcQuery/TotalCalcValue), no total that depends on the
// record's selection, every total's field a plain data field of the
// dataset, and the dataset in browse state without a filter (the source's
// rows are then exactly its records).

#include "toolkit/core/variant.h"

#include <cstddef>
#include <functional>
#include <vector>

namespace tk {
class TDataSet;
class TField;
}  // namespace tk

namespace kelgrid {

class TKelCustomDBGrid;

// Whether the grid's whole-dataset totals over fields may be read from the
// source. recordSelectionMatters: some total counts only selected records.
bool TotalsBySourceAllowed(const TKelCustomDBGrid& grid, const tk::TDataSet& dataSet,
                           const std::vector<tk::TField*>& fields, bool recordSelectionMatters);

// Calls visit(index in fields, value) for every record's value of each
// field, record by record in the dataset's order, one field after the
// other. Only after TotalsBySourceAllowed said yes; returns false, having
// visited nothing, when the dataset refuses the first scan.
bool ScanTotalFields(tk::TDataSet& dataSet, const std::vector<tk::TField*>& fields,
                     const std::function<void(std::size_t, const tk::Variant&)>& visit);

}  // namespace kelgrid
