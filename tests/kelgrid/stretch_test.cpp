// Stretch-mode widths: proportional shares within the columns' and the
// grid's limits, the rounding rest on the last free column.

#include "kelgrid/grid/keldbgrids.h"
#include "kelgrid/grid/stretch.h"
#include "toolkit/core/properties.h"

#include "tests/kelgrid/grid_fixture.h"

#include <QBuffer>

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

namespace kelgrid::test {
namespace {

// A grid in stretch mode fills its width, keeps the columns' own widths as
// their shares and gives them back when the mode ends.
class GridStretchTest : public GridFixture {
protected:
    int UsedWidth() const
    {
        int used = 0;
        for (int col = 0; col < grid->ColCount(); ++col)
            used += grid->ColWidths(col) + grid->GridLineWidth();
        return used;
    }
    bool WidthStored(int index) const
    {
        const TKelColumn* column = grid->Columns()->Items(index);
        return tk::IsStoredProp(
            column, column->metaObject()->property(column->metaObject()->indexOfProperty("Width")));
    }
};

TEST_F(GridStretchTest, TheColumnsShareTheWidthAndGetTheirOwnBack)
{
    grid->show();  // a shown grid has its real width, and resizes reach it
    grid->Columns()->SetState(csCustomized);
    grid->Columns()->Items(0)->SetWidth(100);
    const int ownerWidth = grid->Columns()->Items(1)->TrueWidth();
    ASSERT_FALSE(WidthStored(1));
    grid->SetStretchMode(true);
    EXPECT_EQ(UsedWidth(), grid->viewport()->width());
    const int id = grid->Columns()->Items(0)->Width();
    EXPECT_EQ(grid->Columns()->Items(0)->WidthBase(), 100);

    // A wider grid: the shares stay, the widths grow.
    grid->resize(900, 200);
    EXPECT_EQ(UsedWidth(), grid->viewport()->width());
    EXPECT_GT(grid->Columns()->Items(0)->Width(), id);

    grid->SetStretchMode(false);
    EXPECT_EQ(grid->Columns()->Items(0)->Width(), 100);
    EXPECT_EQ(grid->Columns()->Items(1)->Width(), ownerWidth);
    EXPECT_FALSE(WidthStored(1));  // a width of its own only where it had one
    EXPECT_TRUE(WidthStored(0));
}

TEST_F(GridStretchTest, LimitsHoldAndALayoutStreamKeepsTheShares)
{
    grid->SetStretchWidthMax(60);
    grid->SetStretchMode(true);
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        EXPECT_LE(grid->Columns()->Items(i)->Width(), 60) << i;
    grid->SetStretchWidthMin(80);  // raises the maximum with it
    EXPECT_EQ(grid->StretchWidthMax(), 80);
    grid->SetStretchWidthMax(-1);
    grid->SetStretchWidthMin(-1);

    grid->Columns()->SetState(csCustomized);
    grid->LayoutChanged();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    grid->Columns()->SaveToStream(buffer);
    const QString text = QString::fromUtf8(buffer.data());
    EXPECT_TRUE(text.contains(QStringLiteral("Width = %1").arg(grid->Columns()->Items(0)->WidthBase())))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Width = %1").arg(grid->Columns()->Items(0)->Width())));

    // Read back into the stretched grid, the saved widths are the shares.
    const int base = grid->Columns()->Items(0)->WidthBase();
    grid->Columns()->Items(0)->SetWidthBase(base + 40);
    QBuffer reading(&buffer.buffer());
    reading.open(QIODevice::ReadOnly);
    grid->Columns()->LoadFromStream(reading);
    EXPECT_TRUE(grid->StretchMode());
    EXPECT_EQ(grid->Columns()->Items(0)->WidthBase(), base);
}

}  // namespace
}  // namespace kelgrid::test
