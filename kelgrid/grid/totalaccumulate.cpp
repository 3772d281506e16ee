// The arithmetic of one calculated total (totalaccumulate.h).

#include "kelgrid/grid/totalaccumulate.h"

#include "toolkit/core/varianterrors.h"

namespace kelgrid {

namespace {

void Join(TCalcValue kind, const tk::Variant& value, const TTotalAccumulator& a)
{
    switch (kind) {
    case cvSum:
    case cvAvg:
        if (value.IsNumeric())
            a.value = a.value.IsUnassigned() ? value : a.value + value;
        break;
    case cvCount:
        a.value = a.value.IsUnassigned() ? tk::Variant(1) : a.value + tk::Variant(1);
        break;
    case cvMax:
        if (a.value.IsUnassigned() || value > a.value)
            a.value = value;
        break;
    case cvMin:
        if (a.value.IsUnassigned() || value < a.value)
            a.value = value;
        break;
    case cvFirst:
        if (a.counter == 1)
            a.value = value;
        break;
    case cvLast:
        a.value = value;
        break;
    case cvUnique:
        if (a.counter == 1)
            a.value = value;
        else if (!a.value.IsNull() && !(a.value == value))
            a.value = tk::Variant::NullValue();
        break;
    case cvCustom:
        break;
    }
}

}  // namespace

void AccumulateTotal(TCalcValue kind, const tk::Variant& value, const TTotalAccumulator& accumulator)
{
    ++accumulator.counter;
    if (accumulator.failed)
        return;
    try {
        Join(kind, value, accumulator);
    } catch (const tk::EVariantError&) {
        accumulator.value = tk::Variant();
        accumulator.failed = true;
    }
}

tk::Variant FinalTotal(TCalcValue kind, const tk::Variant& accumulator, int counter, bool failed)
{
    if (failed)
        return {};
    if (kind != cvAvg)
        return accumulator;
    if (counter == 0 || !accumulator.IsNumeric())
        return {};
    try {
        return accumulator / tk::Variant(counter);
    } catch (const tk::EVariantError&) {
        return {};
    }
}

}  // namespace kelgrid
