#include "toolkit/ui/grids/gridaxis.h"

#include "tests/support/expect_raises.h"
#include "toolkit/core/exceptions.h"

#include <gtest/gtest.h>

#include <random>

namespace tk {
namespace {

using test::MessageOf;

// Columns 0..9 of 20 pixels with 1-pixel lines, two fixed: every cell takes
// 21 pixels and the fixed cells 42.
TGridAxis TenColumns()
{
    TGridAxis axis(TGridAxis::Kind::columns, 10, 2, 20);
    axis.SetLineWidth(1);
    return axis;
}

void ExpectConsistent(const TGridAxis& axis)
{
    EXPECT_EQ(axis.CheckConsistency(), QString());
}

TEST(GridAxis, FixedCellsStayAndScrolledOutCellsTakeNoPixels)
{
    TGridAxis axis = TenColumns();
    EXPECT_EQ(axis.First(), 2);
    EXPECT_TRUE(axis.SetFirst(5));
    ExpectConsistent(axis);

    EXPECT_EQ(axis.Start(1), 21);
    EXPECT_EQ(axis.Start(3), -1);
    EXPECT_EQ(axis.Start(5), 42);
    EXPECT_EQ(axis.IndexAt(41, 500), 1) << "the line after a cell belongs to it";
    EXPECT_EQ(axis.IndexAt(42, 500), 5);
    EXPECT_EQ(axis.IndexAt(62, 500), 5);
    EXPECT_EQ(axis.IndexAt(63, 500), 6);
    EXPECT_EQ(axis.IndexAt(-1, 500), -1);
    EXPECT_EQ(axis.IndexAt(42 + 5 * 21, 500), -1) << "past the last cell";
    EXPECT_EQ(axis.IndexAt(80, 80), -1) << "past the client area";

    EXPECT_EQ(axis.CellSpan(3, 500), TAxisSpan{}) << "scrolled out";
    EXPECT_EQ(axis.CellSpan(5, 500), (TAxisSpan{42, 20}));
    EXPECT_EQ(axis.CellSpan(6, 70), (TAxisSpan{63, 7})) << "clipped to the client area";
    EXPECT_EQ(axis.CellSpan(7, 70), TAxisSpan{}) << "starts past the client area";
}

TEST(GridAxis, FirstIsClampedToTheScrollableCells)
{
    TGridAxis axis = TenColumns();
    EXPECT_FALSE(axis.SetFirst(0));
    EXPECT_EQ(axis.First(), 2);
    EXPECT_TRUE(axis.SetFirst(99));
    EXPECT_EQ(axis.First(), 9);
    axis.SetCount(6);
    EXPECT_EQ(axis.First(), 5) << "a shrinking axis takes First along";
    axis.SetCount(2);
    EXPECT_EQ(axis.FixedCount(), 1) << "at least one cell stays scrollable";
    EXPECT_EQ(axis.First(), 1);
    axis.SetCount(0);
    EXPECT_EQ(axis.Count(), 1);
    EXPECT_EQ(axis.FixedCount(), 0);
    ExpectConsistent(axis);
}

TEST(GridAxis, HiddenCellsTakeNeitherPixelsNorALine)
{
    TGridAxis axis = TenColumns();
    axis.SetSize(3, -1);
    ExpectConsistent(axis);
    EXPECT_TRUE(axis.IsHidden(3));
    EXPECT_EQ(axis.Start(3), 63);
    EXPECT_EQ(axis.Start(4), 63) << "the next cell starts where the hidden one would";
    EXPECT_EQ(axis.CellSpan(3, 500), TAxisSpan{});
    for (int pixel = 0; pixel < 300; ++pixel)
        EXPECT_NE(axis.IndexAt(pixel, 500), 3) << pixel;

    // Without lines a hidden cell has size 0; a size below -LineWidth still
    // takes nothing.
    axis.SetLineWidth(0);
    axis.SetSize(3, 0);
    axis.SetSize(4, -7);
    EXPECT_EQ(axis.Start(5), 60);
    EXPECT_EQ(axis.Extent(4), 0);
}

TEST(GridAxis, RangesSkipTheScrolledOutCellsAndClip)
{
    TGridAxis axis = TenColumns();
    axis.SetFirst(5);
    EXPECT_EQ(axis.RangeSpan(1, 6, 500), (TAxisSpan{21, 62})) << "fixed cell 1, then cells 5 and 6";
    EXPECT_EQ(axis.RangeSpan(6, 1, 500), (TAxisSpan{21, 62})) << "either order";
    EXPECT_EQ(axis.RangeSpan(1, 3, 500), (TAxisSpan{21, 20})) << "ends among the scrolled-out cells";
    EXPECT_EQ(axis.RangeSpan(3, 4, 500), TAxisSpan{});
    EXPECT_EQ(axis.RangeSpan(3, 9, 100), (TAxisSpan{42, 58}));
}

// How many cells show whole, and how far First may go, as the platform
// counts them: the line after the last cell may be cut; at least one cell
// counts as shown.
TEST(GridAxis, VisibleCountsAndTheLargestFirst)
{
    struct Case {
        const char* name;
        int clientExtent;
        int lastFully;
        int lastVisible;
        int maxFirst;
    };
    const Case cases[] = {
        {"two cells and a part", 100, 3, 4, 8}, {"the second cell's line cut", 83, 3, 3, 8},
        {"less than one cell", 50, 2, 2, 9},    {"only the fixed cells", 30, 2, 2, 9},
        {"everything", 1000, 9, 9, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TGridAxis axis = TenColumns();
        EXPECT_EQ(axis.LastFullyVisible(c.clientExtent), c.lastFully);
        EXPECT_EQ(axis.VisibleCount(c.clientExtent), c.lastFully - 1);
        EXPECT_EQ(axis.LastVisible(c.clientExtent), c.lastVisible);
        EXPECT_EQ(axis.MaxFirst(c.clientExtent), c.maxFirst);
    }
}

TEST(GridAxis, SizesResetMoveAndReportBadIndexes)
{
    TGridAxis axis = TenColumns();
    axis.SetSize(2, 50);
    axis.SetSize(7, 70);
    axis.Move(2, 7);
    EXPECT_EQ(axis.Size(7), 50);
    EXPECT_EQ(axis.Size(6), 70);
    EXPECT_EQ(axis.Size(2), 20);
    ExpectConsistent(axis);

    axis.SetDefaultSize(30);
    for (int i = 0; i < axis.Count(); ++i)
        EXPECT_EQ(axis.Size(i), 30);
    axis.SetCount(12);
    EXPECT_EQ(axis.Size(11), 30) << "new cells take the default";

    EXPECT_EQ(MessageOf<EInvalidGridOperation>([&] { axis.Size(12); }), "Grid index out of range");
    EXPECT_EQ(MessageOf<EInvalidGridOperation>([&] { axis.SetFixedCount(12); }),
              "Fixed column count must be less than column count");
    TGridAxis rows(TGridAxis::Kind::rows, 3, 1, 18);
    EXPECT_EQ(MessageOf<EInvalidGridOperation>([&] { rows.SetFixedCount(3); }),
              "Fixed row count must be less than row count");
    EXPECT_EQ(MessageOf<EInvalidGridOperation>([&] { rows.SetFixedCount(-1); }), "Grid index out of range");
}

TEST(GridAxis, MirroringIsItsOwnInverse)
{
    EXPECT_EQ(MirroredPosition(0, 100), 99);
    EXPECT_EQ(MirroredPosition(MirroredPosition(37, 100), 100), 37);
    EXPECT_EQ(MirroredSpan(TAxisSpan{10, 20}, 100), (TAxisSpan{70, 20}));
    EXPECT_EQ(MirroredSpan(MirroredSpan(TAxisSpan{10, 20}, 100), 100), (TAxisSpan{10, 20}));
}

// A plain model of the axis: every answer by walking the cells one by one.
struct AxisModel {
    std::vector<int> sizes;
    int fixed = 0;
    int first = 0;
    int line = 0;

    int Extent(int i) const { return std::max(0, sizes[i] + line); }
    int Start(int i) const
    {
        if (i >= fixed && i < first)
            return -1;
        int start = 0;
        for (int k = 0; k < i; ++k)
            if (k < fixed || k >= first)
                start += Extent(k);
        return start;
    }
    int IndexAt(int pixel, int clientExtent) const
    {
        if (pixel < 0 || pixel >= clientExtent)
            return -1;
        for (int i = 0; i < int(sizes.size()); ++i) {
            const int start = Start(i);
            if (start >= 0 && pixel >= start && pixel < start + Extent(i))
                return i;
        }
        return -1;
    }
    int LastFullyVisible(int clientExtent) const
    {
        int last = first;
        for (int i = first; i < int(sizes.size()); ++i) {
            if (Start(i) + Extent(i) > clientExtent + line)
                break;
            last = i;
        }
        return last;
    }
    int FirstShowingWhole(int last, int clientExtent) const
    {
        int fixedExtent = 0;
        for (int k = 0; k < fixed; ++k)
            fixedExtent += Extent(k);
        int room = clientExtent + line - fixedExtent;
        int result = last;
        for (int i = last; i >= fixed; --i) {
            room -= Extent(i);
            if (room < 0)
                break;
            result = i;
        }
        return result;
    }
};

// Random edits, each followed by the consistency check and a comparison
// with the plain model at every pixel.
TEST(GridAxis, AgreesWithAPlainWalkAfterRandomEdits)
{
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
        TGridAxis axis(TGridAxis::Kind::columns, 8, 1, 10);
        AxisModel model{std::vector<int>(8, 10), 1, 1, 1};
        axis.SetLineWidth(1);
        for (int step = 0; step < 200; ++step) {
            switch (pick(0, 5)) {
            case 0: {
                const int i = pick(0, axis.Count() - 1);
                const int size = pick(-3, 25);
                axis.SetSize(i, size);
                model.sizes[i] = size;
                break;
            }
            case 1:
                axis.SetFirst(pick(0, axis.Count()));
                model.first = axis.First();
                break;
            case 2: {
                const int count = pick(2, 14);
                axis.SetCount(count);
                model.sizes.resize(count, axis.DefaultSize());
                model.fixed = axis.FixedCount();
                model.first = axis.First();
                break;
            }
            case 3:
                axis.SetFixedCount(pick(0, axis.Count() - 1));
                model.fixed = axis.FixedCount();
                model.first = axis.First();
                break;
            case 4: {
                const int from = pick(0, axis.Count() - 1);
                const int to = pick(0, axis.Count() - 1);
                axis.Move(from, to);
                const int size = model.sizes[from];
                model.sizes.erase(model.sizes.begin() + from);
                model.sizes.insert(model.sizes.begin() + to, size);
                break;
            }
            case 5:
                model.line = pick(0, 2);
                axis.SetLineWidth(model.line);
                break;
            }
            ASSERT_EQ(axis.CheckConsistency(), QString()) << "step " << step;
            ASSERT_EQ(model.first, axis.First());
            const int clientExtent = pick(1, 120);
            for (int i = 0; i < axis.Count(); ++i)
                ASSERT_EQ(axis.Start(i), model.Start(i)) << "step " << step << " cell " << i;
            for (int pixel = -1; pixel <= clientExtent; ++pixel)
                ASSERT_EQ(axis.IndexAt(pixel, clientExtent), model.IndexAt(pixel, clientExtent))
                    << "step " << step << " pixel " << pixel;
            ASSERT_EQ(axis.LastFullyVisible(clientExtent), model.LastFullyVisible(clientExtent)) << step;
            ASSERT_EQ(axis.MaxFirst(clientExtent), model.FirstShowingWhole(axis.Count() - 1, clientExtent))
                << step;
            const int last = pick(axis.FixedCount(), axis.Count() - 1);
            ASSERT_EQ(axis.FirstShowingWhole(last, clientExtent), model.FirstShowingWhole(last, clientExtent))
                << step;
        }
    }
}

TEST(GridAxis, AMillionRowsFindTheirPixels)
{
    TGridAxis rows(TGridAxis::Kind::rows, 1'000'000, 1, 18);
    rows.SetLineWidth(1);
    rows.SetSize(500'000, 100);
    rows.SetFirst(999'990);
    EXPECT_EQ(rows.IndexAt(19, 400), 999'990);
    EXPECT_EQ(rows.TotalExtent(), 999'999LL * 19 + 101);
    EXPECT_EQ(rows.MaxFirst(400), 1'000'000 - 20);
    EXPECT_EQ(rows.ScrollableOffset(500'001), 499'999LL * 19 + 101);
}

}  // namespace
}  // namespace tk
