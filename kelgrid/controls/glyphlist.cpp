#include "kelgrid/controls/glyphlist.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/ui/pictures.h"

#include <algorithm>

namespace kelgrid {

TOrvGlyphList::TOrvGlyphList(int width, int height) : tk::TImageList(width, height) {}

bool TOrvGlyphList::IsUsed(int index) const
{
    return index >= 0 && index < static_cast<int>(used_.size()) && used_[static_cast<size_t>(index)];
}

int TOrvGlyphList::FirstFreeSlot()
{
    // Only this class adds or removes images (the cache owns every list).
    Q_ASSERT(static_cast<int>(used_.size()) == Capacity());
    const auto free = std::find(used_.begin(), used_.end(), false);
    if (free != used_.end())
        return static_cast<int>(free - used_.begin());
    // All slots in use: one blank image more.
    tk::TBitmap blank;
    blank.SetSize(Width(), Height());
    const int slot = tk::TImageList::Add(blank);
    Q_ASSERT(slot == static_cast<int>(used_.size()));
    used_.push_back(false);
    return slot;
}

int TOrvGlyphList::AddMasked(const tk::TBitmap& bitmap, tk::TColor maskColor)
{
    // Checked before a slot is taken, so that a refused bitmap leaves no
    // slot marked used without an image.
    if (bitmap.Width() < Width())
        throw tk::EInvalidOperation(QStringLiteral("Invalid image size"));
    const int slot = FirstFreeSlot();
    ReplaceMasked(slot, bitmap, maskColor);
    used_[static_cast<size_t>(slot)] = true;
    ++count_;
    return slot;
}

void TOrvGlyphList::Delete(int index)
{
    if (index < 0 || index >= Capacity())
        throw tk::EInvalidOperation(QStringLiteral("Invalid image list index"));
    if (!used_[static_cast<size_t>(index)])
        return;
    used_[static_cast<size_t>(index)] = false;
    --count_;
    Q_ASSERT(count_ >= 0);
}

}  // namespace kelgrid
