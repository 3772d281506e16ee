// Stretch-mode widths: proportional shares within the columns' and the
// grid's limits, the rounding rest on the last free column.

#include "kelgrid/grid/stretch.h"

#include <gtest/gtest.h>

namespace kelgrid {
namespace {

struct StretchCase {
    const char* name;
    int available;
    QList<TStretchColumn> columns;
    TStretchLimits limits;
    QList<int> widths;
};

class StretchTest : public ::testing::TestWithParam<StretchCase> {};

TEST_P(StretchTest, SharesTheWidth)
{
    const StretchCase& c = GetParam();
    const QList<int> widths = StretchWidths(c.available, c.columns, c.limits);
    EXPECT_EQ(widths, c.widths);
}

INSTANTIATE_TEST_SUITE_P(
    Widths, StretchTest,
    ::testing::Values(
        StretchCase{"RoundingRestGoesToTheLast", 301, {{100}, {50}}, {}, {200, 101}},
        StretchCase{"NothingToShare", 300, {{0}, {0}}, {}, {}},
        StretchCase{
            "OwnMaximumLocksAndTheRestIsShared", 300, {{100, -1, 80}, {100}, {100}}, {}, {80, 110, 110}},
        StretchCase{"OwnMinimumLocks", 200, {{10, 60}, {100}, {90}}, {}, {60, 73, 67}},
        StretchCase{"GridMaximumWhereTheColumnSetsNone", 400, {{100}, {100, -1, 300}}, {-1, 150}, {150, 250}},
        StretchCase{"GridMinimumWhereTheColumnSetsNone", 100, {{5}, {95}}, {30, -1}, {30, 70}},
        // Both capped below the space: the maxima hold and width is left.
        StretchCase{"AllAtMaximum", 500, {{1, -1, 100}, {1, -1, 100}}, {}, {100, 100}},
        // Minima above the space: every column is locked at its minimum,
        // width remains, the minima are freed once and lock again.
        StretchCase{"MinimaFreedOnceThenKept", 50, {{1, 40}, {1, 40}}, {}, {40, 40}},
        StretchCase{"AGridMinimumTakesFromTheOthers", 100, {{1, -1, 100}, {0}}, {5, -1}, {95, 5}},
        StretchCase{"NoWidthLeftForFreeColumns", 0, {{1}, {1}}, {5, -1}, {5, 5}}),
    [](const ::testing::TestParamInfo<StretchCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelgrid
