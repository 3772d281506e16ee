#include "kelgrid/editors/dropdownlimits.h"

#include "kelgrid/grid/tuning.h"

#include <QtGlobal>

namespace kelgrid {

namespace {

int Limited(int wanted, int own, int unitLimit)
{
    if (own > 0 && own < wanted)
        return own;
    if (own == 0 && wanted > unitLimit)
        return unitLimit;
    return wanted;
}

}  // namespace

int TDropDownLimits::ListRows(int count) const
{
    return qMax(1, Limited(count, dropDownRows, MaxDropDownRows));
}

int TDropDownLimits::ListWidth(int width) const
{
    return qMax(editorWidth + 2, Limited(width, dropDownWidth, MaxDropDownWidth));
}

}  // namespace kelgrid
