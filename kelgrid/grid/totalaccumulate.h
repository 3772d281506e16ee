#pragma once
// The arithmetic of one calculated total: how a record's value joins a
// total's accumulator and what the accumulator gives at the end, by kind
// (cvSum, cvAvg, cvCount, cvMax, cvMin, cvFirst, cvLast, cvUnique,
// cvCustom).
//
// Failures: any arithmetic or comparison that raises (a currency sum
// beyond its range, a maximum over a number and a text, a division) marks
// the accumulator failed. A failed accumulator is unassigned for good: a
// later record never restarts it, so a total shows nothing rather than a
// number over part of the records. Nothing here raises.

#include "kelgrid/grid/columnenums.h"
#include "toolkit/core/variant.h"

namespace kelgrid {

// A total's running state: the accumulator (unassigned until a value joins
// or a reset seeds it; the total's TempValue, so that handlers of cvCustom
// totals can keep theirs in it), the records counted (its Counter) and
// whether a step failed.
struct TTotalAccumulator {
    tk::Variant& value;
    int& counter;
    bool& failed;
};

// Counts value and joins it to accumulator by kind:
// - cvSum, cvAvg: numbers and BCD values are added (the first is copied);
//   other values are counted only;
// - cvCount: 1 on the first value, then one more per value;
// - cvMax, cvMin: copied while unassigned or when greater (smaller);
// - cvFirst on the first counted value, cvLast always;
// - cvUnique: the first value; any different one makes it Null for good;
// - cvCustom: nothing (a handler does the work).
void AccumulateTotal(TCalcValue kind, const tk::Variant& value, const TTotalAccumulator& accumulator);

// The total's value after the last record: unassigned when failed; for
// cvAvg the sum divided by the count (unassigned when nothing numeric was
// counted); otherwise the accumulator's value.
tk::Variant FinalTotal(TCalcValue kind, const tk::Variant& accumulator, int counter, bool failed);

}  // namespace kelgrid
