#include "kelgrid/controls/buttonlayout.h"

#include "toolkit/ui/speedbutton.h"

namespace kelgrid {

// The toolkit's speed-button rules, with left and right exchanged for a
// right-to-left button and the pressed look's offset added.
TButtonLayoutResult CalcButtonLayout(const QRect& client, const QPoint& offset, QSize glyphSize,
                                     QSize textSize, tk::TButtonLayout layout, int margin, int spacing,
                                     bool rightToLeft)
{
    if (rightToLeft) {
        if (layout == tk::blGlyphLeft)
            layout = tk::blGlyphRight;
        else if (layout == tk::blGlyphRight)
            layout = tk::blGlyphLeft;
    }
    const tk::TSpeedButtonLayout placed = tk::LayOutSpeedButton(client, glyphSize, textSize, layout, margin, spacing);
    return {placed.glyphPos + offset, placed.textBounds.translated(offset)};
}

}  // namespace kelgrid
