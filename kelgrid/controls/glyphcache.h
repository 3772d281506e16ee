#pragma once
// TOrvGlyphCache: the glyph lists shared by all buttons, one per glyph
// size, and GlyphCache(), the one cache of the process.
//
// GetList(width, height) returns the list of that size (the most recently
// made one when there are several) or makes and keeps a new one.
// ReturnList(list) is how a button lets go of a list: a list that holds no
// used slot any more is freed then. So a holder must keep at least one
// image in a list while it holds it: a button asks for its list right
// before it adds its first image and returns it right after it deleted
// its last one (TOrvButtonGlyph does).
//
// The cache is made on first use and freed when the library unloads; its
// lists are plain image lists (no parent, no window system resources), so
// freeing them after the application object is gone is harmless.

#include "kelgrid/kelgridexport.h"

#include <memory>
#include <vector>

namespace kelgrid {

class TOrvGlyphList;

class KELGRID_EXPORT TOrvGlyphCache {
public:
    TOrvGlyphCache();
    ~TOrvGlyphCache();
    TOrvGlyphCache(const TOrvGlyphCache&) = delete;
    TOrvGlyphCache& operator=(const TOrvGlyphCache&) = delete;

    // EInvalidOperation "Invalid image size" below 1 x 1.
    TOrvGlyphList* GetList(int width, int height);
    // Frees list when no slot of it is used; nullptr and lists the cache
    // does not hold are ignored.
    void ReturnList(TOrvGlyphList* list);
    bool Empty() const { return lists_.empty(); }
    int ListCount() const { return static_cast<int>(lists_.size()); }

private:
    std::vector<std::unique_ptr<TOrvGlyphList>> lists_;
};

// The process-wide cache, made on first call.
KELGRID_EXPORT TOrvGlyphCache& GlyphCache();

}  // namespace kelgrid
