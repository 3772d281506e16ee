#pragma once
// TKelCellPainter paints one cell of the grid's matrix, as DrawCell hands
// it over: the corner (filler), an indicator cell, a title cell with its
// header rows, expand button, image and sort marker, a data cell, the blank
// row, or a total cell.
//
// Colours come from the grid's colour properties resolved against their
// defaults (paintstyles.h), from the column, its title and its total parts.
// Fixed cells (corner, indicator, titles, fixed columns, totals) paint their
// background with the theme while the grid is themed, else with the
// gradient when it is active, else plain; with both line options they are
// inset by one pixel, take a bevel and a text margin of 1 (other cells 2).
//
// Painting reads records by moving the data link's active record to the
// painted row and back: the dataset's cursor never moves and no data-link
// event fires.
//
// Files: cellpainter.cpp (dispatch, fixed backgrounds, corner, indicator),
// titlepainter.cpp, datacellpainter.cpp, totalpainter.cpp.

#include "kelgrid/grid/celltext.h"
#include "kelgrid/grid/gridenums.h"
#include "toolkit/ui/grids/gridtypes.h"
#include "toolkit/ui/graphics.h"

#include <QImage>
#include <QRect>

namespace tk {
class TCanvas;
class TFont;
class TImageList;
}  // namespace tk

namespace kelgrid {

class TKelColumn;
class TKelCustomDBGrid;
struct TKelCustomDBGridPrivate;

class TKelCellPainter {
public:
    TKelCellPainter(TKelCustomDBGrid& grid, tk::TCanvas& canvas);

    void Paint(int col, int row, const QRect& rect, tk::TGridDrawState state);
    // The default content of a data cell: its image (column image, check
    // box, blob graphic, after OnPaintColumnCell), then its text unless an
    // image other than a wallpaper took the cell.
    void DrawColumnContent(const QRect& rect, int dataColumn, TKelColumn* column, tk::TGridDrawState state,
                           bool transparentText);
    // The background colour a data cell paints with (also the colour of its
    // lines under clNone), -1 row for the blank row.
    tk::TColor DataCellColor(int dataColumn, int dataRow) const;

private:
    // --- cellpainter.cpp
    bool BothLines() const;
    // The alignment as seen: a right-to-left grid lays its cells out from
    // the right (in screen order), so left and right swap unless the column
    // suppresses it.
    tk::TAlignment ScreenAlignment(tk::TAlignment alignment, bool suppressRTL) const;
    // The background of a fixed cell: theme, gradient or colour.
    void FillFixed(const QRect& rect, tk::TColor color, bool hot, bool pressed);
    // Whether fixed backgrounds come from the theme or the gradient, so text
    // and images go over them transparently.
    bool FixedPainted() const;
    void FinishFixed(const QRect& cell, bool pressed, bool hot);
    void PaintCorner(const QRect& rect);
    void PaintIndicator(const QRect& rect, int dataRow);
    int IndicatorImage(int dataRow);
    void DrawCentred(const tk::TImageList& list, int index, const QRect& rect, bool enabled);

    // --- titlepainter.cpp
    void PaintTitle(int col, int row, const QRect& rect);
    void PaintHeaderRows(TKelColumn* title, const QRect& full, const QRect& visible, QRect& caption);
    void PaintExpandButton(TKelColumn* title, QRect& caption, bool pressed, bool hot);
    void PaintMarker(TKelColumn* title, const QRect& caption, const QString& text, const TCellTextFormat& format,
                     QRect& textRect);

    // --- datacellpainter.cpp
    void PaintDataCell(int col, int dataRow, const QRect& rect, tk::TGridDrawState state);
    void PaintBlankCell(int col, const QRect& rect);
    void DrawFocus(const QRect& rect);
    // The image a data cell of column shows for the current record: the
    // column's image list image, its check box, or its blob's picture.
    QImage CellImage(TKelColumn* column);
    void DrawColumnImageAndText(const QRect& rect, TKelColumn* column, const QImage& image, bool transparentText);
    QPoint TilePatternOrigin(TKelColumn* column, const QRect& rect, TImageDraw mode) const;

    // --- totalpainter.cpp
    void PaintTotal(int col, int bandRow, const QRect& rect);

    TKelCustomDBGrid& grid_;
    TKelCustomDBGridPrivate& d_;
    tk::TCanvas& canvas_;
    int margin_ = 2;
};

}  // namespace kelgrid
