#pragma once
// Text in a grid cell: titles, data cells and totals all draw their texts
// this way.
//
// The text is laid out in lines of the canvas font: with word wrap it
// breaks between words (and at line breaks in the text) into lines that fit
// the cell's width less the margins; without, it is one line. The cell
// holds (height - 2 * margin + 1) / line height lines, at least one; when
// the text has more, the last line shown ends with an ellipsis (with
// Ellipsis on), as does any line too wide for the cell. Vertical alignment
// places the block of lines: tvCenter adds half the free height above it,
// tvBottomJustify all of it; a cell too low for one line aligns to the top.
// Horizontally each line sits at the left margin, against the right margin
// (one pixel further in, like the classic grids), or centred.
//
// The text is drawn in the font colour over what the cell already shows
// (the background is the caller's), clipped to the cell. On a mirrored
// canvas the alignment mirrors with the canvas unless keepAlignment.

#include "kelgrid/grid/columnenums.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/alignment.h"

#include <QRect>
#include <QString>
#include <QStringList>

namespace tk {
class TCanvas;
}

namespace kelgrid {

struct TCellTextFormat {
    tk::TAlignment alignment = tk::taLeftJustify;
    TVAlignment vAlignment = tvCenter;
    bool wordWrap = false;
    bool ellipsis = false;
    int margin = 2;
    bool keepAlignment = false;
};

// The lines a cell of height holds for text of lineHeight: at least 1.
KELGRID_EXPORT int CellTextCapacity(int height, int margin, int lineHeight);

// The lines drawn for text in a cell of size (with the ellipses applied).
KELGRID_EXPORT QStringList CellTextLines(const tk::TCanvas& canvas, const QSize& cell, const QString& text,
                                         const TCellTextFormat& format);

// Draws text into rect, clipped to clip when it is not empty (else to rect).
KELGRID_EXPORT void DrawCellText(tk::TCanvas& canvas, const QRect& rect, const QString& text,
                                 const TCellTextFormat& format, const QRect& clip = QRect());

}  // namespace kelgrid
