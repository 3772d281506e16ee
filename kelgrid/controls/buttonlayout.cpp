#include "kelgrid/controls/buttonlayout.h"

namespace kelgrid {

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
    // No glyph or no caption may come as an invalid (-1 x -1) size.
    glyphSize = glyphSize.expandedTo(QSize(0, 0));
    textSize = textSize.expandedTo(QSize(0, 0));
    const bool sideways = layout == tk::blGlyphLeft || layout == tk::blGlyphRight;
    const QSize clientSize = client.size();
    QPoint glyphPos;
    QPoint textPos;
    // Centred across the layout direction; the +1 puts an odd pixel below
    // or right, as the classic button does.
    if (sideways) {
        glyphPos.setY((clientSize.height() - glyphSize.height() + 1) / 2);
        textPos.setY((clientSize.height() - textSize.height() + 1) / 2);
    } else {
        glyphPos.setX((clientSize.width() - glyphSize.width() + 1) / 2);
        textPos.setX((clientSize.width() - textSize.width() + 1) / 2);
    }
    if (textSize.width() == 0 || glyphSize.width() == 0)
        spacing = 0;

    const int room = sideways ? clientSize.width() : clientSize.height();
    const int glyphLength = sideways ? glyphSize.width() : glyphSize.height();
    const int textLength = sideways ? textSize.width() : textSize.height();
    if (margin == -1) {
        if (spacing == -1) {
            margin = (room - glyphLength - textLength) / 3;
            spacing = margin;
        } else {
            margin = (room - (glyphLength + spacing + textLength) + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (room - (margin + glyphLength) - textLength) / 2;
    }

    switch (layout) {
    case tk::blGlyphLeft:
        glyphPos.setX(margin);
        textPos.setX(glyphPos.x() + glyphSize.width() + spacing);
        break;
    case tk::blGlyphRight:
        glyphPos.setX(clientSize.width() - margin - glyphSize.width());
        textPos.setX(glyphPos.x() - spacing - textSize.width());
        break;
    case tk::blGlyphTop:
        glyphPos.setY(margin);
        textPos.setY(glyphPos.y() + glyphSize.height() + spacing);
        break;
    case tk::blGlyphBottom:
        glyphPos.setY(clientSize.height() - margin - glyphSize.height());
        textPos.setY(glyphPos.y() - spacing - textSize.height());
        break;
    }

    const QPoint shift = client.topLeft() + offset;
    return {glyphPos + shift, QRect(textPos + shift, textSize)};
}

}  // namespace kelgrid
