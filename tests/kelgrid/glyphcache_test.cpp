// Glyph lists hand out stable slots; the cache shares one list per glyph
// size between buttons and frees a list nobody uses any more.

#include "glyph_helpers.h"
#include "kelgrid/controls/buttonglyph.h"
#include "kelgrid/controls/glyphcache.h"
#include "kelgrid/controls/glyphlist.h"
#include "toolkit/core/exceptions.h"

#include <gtest/gtest.h>

namespace kelgrid {
namespace {

using testing::FillBitmap;

// The colour of the top-left pixel of slot index.
QRgb SlotColour(const TOrvGlyphList& list, int index)
{
    return list.Image(index).pixel(0, 0) | 0xFF000000u;
}

int Add(TOrvGlyphList& list, const QColor& colour)
{
    tk::TBitmap bitmap;
    FillBitmap(bitmap, 4, 4, colour);
    return list.AddMasked(bitmap, tk::clNone);
}

TEST(GlyphListTest, FreedSlotsAreReusedAndTheListGrowsByOneOnlyWhenFull)
{
    TOrvGlyphList list(4, 4);
    EXPECT_EQ(Add(list, Qt::red), 0);
    EXPECT_EQ(Add(list, Qt::green), 1);
    EXPECT_EQ(Add(list, Qt::blue), 2);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Capacity(), 3);

    list.Delete(1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Capacity(), 3);
    // The images after the freed slot keep their index.
    EXPECT_EQ(SlotColour(list, 2), QColor(Qt::blue).rgb());

    EXPECT_EQ(Add(list, Qt::yellow), 1);
    EXPECT_EQ(SlotColour(list, 1), QColor(Qt::yellow).rgb());
    EXPECT_EQ(SlotColour(list, 0), QColor(Qt::red).rgb());
    EXPECT_EQ(list.Capacity(), 3);

    EXPECT_EQ(Add(list, Qt::cyan), 3);
    EXPECT_EQ(list.Capacity(), 4);
    EXPECT_EQ(list.Count(), 4);
}

TEST(GlyphListTest, ANarrowBitmapIsRefusedWithoutTakingASlot)
{
    TOrvGlyphList list(8, 8);
    tk::TBitmap narrow;
    FillBitmap(narrow, 4, 8, Qt::red);
    EXPECT_THROW(list.AddMasked(narrow, tk::clNone), tk::EInvalidOperation);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Capacity(), 0);
}

TEST(GlyphListTest, DeletingAFreeSlotCountsOnceAndAnIndexOutsideIsAnError)
{
    TOrvGlyphList list(4, 4);
    Add(list, Qt::red);
    Add(list, Qt::green);
    list.Delete(0);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_TRUE(list.IsUsed(1));
    EXPECT_THROW(list.Delete(2), tk::EInvalidOperation);
    EXPECT_THROW(list.Delete(-1), tk::EInvalidOperation);
}

TEST(GlyphCacheTest, ASizeHasOneListAndAnotherSizeAnother)
{
    TOrvGlyphCache cache;
    TOrvGlyphList* first = cache.GetList(16, 16);
    EXPECT_EQ(cache.GetList(16, 16), first);
    TOrvGlyphList* other = cache.GetList(16, 15);
    EXPECT_NE(other, first);
    EXPECT_EQ(other->Width(), 16);
    EXPECT_EQ(other->Height(), 15);
    EXPECT_EQ(cache.ListCount(), 2);
    EXPECT_THROW(cache.GetList(0, 16), tk::EInvalidOperation);
    EXPECT_EQ(cache.ListCount(), 2);
}

TEST(GlyphCacheTest, AReturnedListIsFreedOnlyWhenNoSlotIsUsed)
{
    TOrvGlyphCache cache;
    TOrvGlyphList* list = cache.GetList(4, 4);
    const int slot = Add(*list, Qt::red);
    cache.ReturnList(list);
    EXPECT_EQ(cache.ListCount(), 1);
    list->Delete(slot);
    cache.ReturnList(list);
    EXPECT_TRUE(cache.Empty());
    // Not the cache's: left alone.
    TOrvGlyphList stranger(4, 4);
    cache.ReturnList(&stranger);
    cache.ReturnList(nullptr);
    EXPECT_TRUE(cache.Empty());
}

TEST(GlyphCacheTest, ButtonGlyphsOfOneSizeShareTheProcessList)
{
    const int listsBefore = GlyphCache().ListCount();
    {
        tk::TBitmap square;
        FillBitmap(square, 13, 13, Qt::red);
        tk::TBitmap smaller;
        FillBitmap(smaller, 11, 13, Qt::red);
        TOrvButtonGlyph a;
        TOrvButtonGlyph b;
        TOrvButtonGlyph c;
        a.SetGlyph(square);
        b.SetGlyph(square);
        c.SetGlyph(smaller);
        const int indexA = a.ImageIndex(tk::TButtonState::bsUp);
        const int indexB = b.ImageIndex(tk::TButtonState::bsUp);
        c.ImageIndex(tk::TButtonState::bsUp);
        ASSERT_NE(a.List(), nullptr);
        EXPECT_EQ(a.List(), b.List());
        EXPECT_NE(indexA, indexB);
        EXPECT_NE(c.List(), a.List());
        EXPECT_EQ(GlyphCache().ListCount(), listsBefore + 2);
    }
    // The glyphs gave their images back; their lists are gone.
    EXPECT_EQ(GlyphCache().ListCount(), listsBefore);
}

}  // namespace
}  // namespace kelgrid
