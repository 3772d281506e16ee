#include "kelgrid/controls/glyphcache.h"

#include "kelgrid/controls/glyphlist.h"

#include <algorithm>

namespace kelgrid {

TOrvGlyphCache::TOrvGlyphCache() = default;
TOrvGlyphCache::~TOrvGlyphCache() = default;

TOrvGlyphList* TOrvGlyphCache::GetList(int width, int height)
{
    const auto found = std::find_if(lists_.rbegin(), lists_.rend(), [&](const auto& list) {
        return list->Width() == width && list->Height() == height;
    });
    if (found != lists_.rend())
        return found->get();
    lists_.push_back(std::make_unique<TOrvGlyphList>(width, height));
    return lists_.back().get();
}

void TOrvGlyphCache::ReturnList(TOrvGlyphList* list)
{
    if (!list || list->Count() > 0)
        return;
    const auto found =
        std::find_if(lists_.begin(), lists_.end(), [&](const auto& held) { return held.get() == list; });
    if (found != lists_.end())
        lists_.erase(found);
}

TOrvGlyphCache& GlyphCache()
{
    static const std::unique_ptr<TOrvGlyphCache> cache = std::make_unique<TOrvGlyphCache>();
    return *cache;
}

}  // namespace kelgrid
