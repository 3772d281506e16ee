#include "kelgrid/editors/listborder.h"

#include "kelgrid/grid/dbgrid.h"

#include <QFrame>
#include <QPalette>

namespace kelgrid {

tk::TColor ListBorderColor(TListBorderStyle resolved)
{
    switch (resolved) {
    case lbGray: return tk::clGray;
    case lbMild: return tk::clSilver;
    default: return tk::clWindowFrame;
    }
}

void ApplyListBorder(QFrame& frame, const TKelCustomDBGrid* grid)
{
    frame.setFrameStyle(QFrame::Box | QFrame::Plain);
    frame.setLineWidth(1);
    // A plain box is drawn in the window text colour.
    const TListBorderStyle style = grid ? grid->ListBorderStyle() : lbDefault;
    QPalette palette = frame.palette();
    palette.setColor(QPalette::WindowText, tk::ColorToQColor(ListBorderColor(style), palette));
    frame.setPalette(palette);
}

}  // namespace kelgrid
