#pragma once
// TOrvButtonGlyph: the glyph of a speed button and the images it makes of
// it in the shared glyph lists.
//
// The glyph bitmap holds NumGlyphs (1 to 4) images side by side: normal,
// disabled, pressed, exclusive. Each state's image is cut out (width =
// bitmap width / NumGlyphs) and added to the cache list of that size the
// first time it is needed; a transparent glyph is masked by its
// transparent colour (the one set, or the bitmap's bottom-left pixel).
// States the bitmap has no image for fall back: exclusive to pressed,
// pressed to normal. The disabled image is generated when the bitmap has
// only one image (the shape in clBtnHighlight one pixel right and down and
// in clBtnShadow in place, on clBtnFace) and recoloured otherwise (white
// to clBtnHighlight, grey to clBtnShadow, the transparent colour to
// clBtnFace); both leave clBtnFace out.
//
// Changing the bitmap, NumGlyphs, Transparent or the transparent colour
// gives the generated images back to the list and runs OnChange. The list
// is held only while this glyph has an image in it (see glyphcache.h).

#include "kelgrid/kelgridexport.h"
#include "toolkit/ui/colors.h"
#include "toolkit/ui/uienums.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <array>
#include <functional>
#include <memory>

namespace tk {
class TBitmap;
class TCanvas;
}  // namespace tk

namespace kelgrid {

class TOrvGlyphList;

class KELGRID_EXPORT TOrvButtonGlyph {
public:
    TOrvButtonGlyph();
    ~TOrvButtonGlyph();
    TOrvButtonGlyph(const TOrvButtonGlyph&) = delete;
    TOrvButtonGlyph& operator=(const TOrvButtonGlyph&) = delete;

    const tk::TBitmap& Glyph() const { return *glyph_; }
    // Copies bitmap (an empty one removes the glyph).
    void SetGlyph(const tk::TBitmap& bitmap);
    int NumGlyphs() const { return numGlyphs_; }
    // Values outside 1 .. 4 are taken as the nearest of them.
    void SetNumGlyphs(int count);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    // clDefault: the bitmap's bottom-left pixel.
    tk::TColor TransparentColor() const;
    void SetTransparentColor(tk::TColor color);

    // One image's size; 0 x 0 without a glyph.
    QSize GlyphSize() const;
    // The state whose image is drawn for state.
    tk::TButtonState ImageState(tk::TButtonState state) const;
    // The index of state's image in List(), made on first need; -1 without
    // a glyph.
    int ImageIndex(tk::TButtonState state);
    // The list the images are in; nullptr while there are none.
    TOrvGlyphList* List() const { return list_; }

    // Draws glyph and caption inside client as the layout rules say
    // (buttonlayout.h); offset moves both only while themes are off.
    // transparent: the glyph's rectangle is not filled with clBtnFace
    // first. The caption is drawn without background in the canvas font,
    // for a disabled button in clBtnHighlight one pixel right and down and
    // then in clBtnShadow. Returns the caption's rectangle.
    QRect Draw(tk::TCanvas& canvas, const QRect& client, const QPoint& offset, const QString& caption,
               tk::TButtonLayout layout, int margin, int spacing, tk::TButtonState state, bool transparent,
               Qt::LayoutDirection direction);

    // After a change that invalidates what was drawn.
    std::function<void()> OnChange;

private:
    void Invalidate();
    void FreeImages();
    int CreateImage(tk::TButtonState state);

    std::unique_ptr<tk::TBitmap> glyph_;
    int numGlyphs_ = 1;
    bool transparent_ = false;
    tk::TColor transparentColor_ = tk::clDefault;
    TOrvGlyphList* list_ = nullptr;
    // Per state (in TButtonState order) the image index, -1 for none yet.
    std::array<int, 4> indexes_{-1, -1, -1, -1};
};

}  // namespace kelgrid
