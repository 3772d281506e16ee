#pragma once
// TOrvGlyphList: an image list of one glyph size whose slots are handed
// out and given back, so that indices stay stable while buttons come and
// go.
//
// AddMasked takes the first free slot (the list grows by one image only
// when every slot is in use), marks it used and puts the bitmap's first
// image there, leaving out the pixels of maskColor (clNone: no mask).
// Delete frees a slot without moving any other image; the freed image
// stays until the slot is reused. Count is the number of used slots, not
// the number of images the list holds (Capacity).
//
// Delete and Count hide the image list's own: code that holds a
// TOrvGlyphList goes through these, never through tk::TImageList.

#include "kelgrid/kelgridexport.h"
#include "toolkit/ui/imagelist.h"

#include <vector>

namespace kelgrid {

class KELGRID_EXPORT TOrvGlyphList : public tk::TImageList {
    Q_OBJECT
public:
    // EInvalidOperation "Invalid image size" below 1 x 1.
    TOrvGlyphList(int width, int height);

    // The slot used; EInvalidOperation "Invalid image size" (no slot taken)
    // when bitmap is narrower than Width.
    int AddMasked(const tk::TBitmap& bitmap, tk::TColor maskColor);
    // EInvalidOperation "Invalid image list index" outside 0 .. Capacity-1;
    // a slot already free stays free (Count does not drop twice).
    void Delete(int index);
    int Count() const { return count_; }
    int Capacity() const { return tk::TImageList::Count(); }
    bool IsUsed(int index) const;

private:
    int FirstFreeSlot();

    std::vector<bool> used_;
    int count_ = 0;
};

}  // namespace kelgrid
