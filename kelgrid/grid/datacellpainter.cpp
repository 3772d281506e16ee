// TKelCellPainter: data cells and the blank row. A data cell reads its
// record with the data link moved to the row (and back), takes its colours
// from the column, the stripes and the selection, then paints its default
// content (when DefaultDrawing) and lets the drawing events add theirs.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/cellimage.h"
#include "kelgrid/grid/cellpainter.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "kelgrid/grid/paintstyles.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/imagedecoding.h"
#include "toolkit/ui/pictures.h"

#include <QScopeGuard>
#include <QWidget>

namespace kelgrid {

namespace {

// Silver stripes would vanish into the grid lines: they lighten.
constexpr tk::TColor kSilver = 0xC0C0C0;
constexpr tk::TColor kLightSilver = 0xE8E8E8;

QImage GraphicToImage(const tk::TGraphic& graphic)
{
    if (graphic.Empty() || graphic.Width() <= 0 || graphic.Height() <= 0)
        return {};
    QImage image(graphic.Width(), graphic.Height(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    tk::TCanvas canvas(&image);
    canvas.Draw(0, 0, graphic);
    canvas.Release();
    return image;
}

}  // namespace

tk::TColor TKelCellPainter::DataCellColor(int dataColumn, int dataRow) const
{
    TKelColumn* column = d_.columns->Items(dataColumn);
    const bool fixed = dataColumn < d_.fixedCols;
    tk::TColor color = fixed ? grid_.FixedColor() : column->Color();
    if (!fixed && d_.stripeColor != tk::clNone) {
        // Stripes follow the records, so they stay put while the grid scrolls.
        const qint64 top = d_.dataLink->Active() ? d_.dataLink->WindowTop() : -1;
        const qint64 number = top >= 0 ? top + dataRow : dataRow;
        color = number % 2 == 0 ? grid_.Color() : ResolveColor(d_.stripeColor, grid_.DefaultStripeColor());
        if (color == kSilver)
            color = kLightSilver;
    }
    return color;
}

QImage TKelCellPainter::CellImage(TKelColumn* column)
{
    if (column->Images()) {
        int index = column->ImageIndex();
        grid_.CalcImageIndex(column, index);
        if (std::unique_ptr<tk::TBitmap> bitmap = column->Image(index))
            return bitmap->Image();
        return {};
    }
    if (column->CheckBox()) {
        const int index = column->CheckBoxImageIndex();
        const tk::TImageList& boxes = *grid_.CheckBoxList();
        return index >= 0 && index < boxes.Count() ? boxes.Image(index) : QImage();
    }
    tk::TField* field = column->Field();
    if (!column->ShowBlob() || !field || !field->IsBlob() || field->IsNull())
        return {};
    if (std::unique_ptr<tk::TPicture> picture = column->GraphicImage())
        return GraphicToImage(*picture->Graphic());
    if (field->DataType() != tk::ftGraphic)
        return {};
    try {
        return tk::DecodeImage(field->AsBytes(), nullptr, QString());  // a plain bitmap or PNG
    } catch (const tk::EInvalidGraphic&) {
        return {};  // a damaged or oversized value shows no picture
    }
}

void TKelCellPainter::DrawColumnContent(const QRect& rect, int dataColumn, TKelColumn* column,
                                        tk::TGridDrawState state, bool transparentText)
{
    (void)dataColumn;
    (void)state;
    QImage image = CellImage(column);
    DrawColumnImageAndText(rect, column, image, transparentText);
}

void TKelCellPainter::DrawColumnImageAndText(const QRect& rect, TKelColumn* column, const QImage& image,
                                             bool transparentText)
{
    const tk::TAlignment alignment = ScreenAlignment(column->Alignment(), column->SuppressRTL());
    if (!image.isNull()) {
        TCellImageFormat format;
        format.mode = column->ImageDraw();
        format.alignment = alignment;
        format.vAlignment = column->VAlignment();
        format.offsetX = column->ImageOffsetX();
        format.offsetY = column->ImageOffsetY();
        format.transparent = column->Transparent();
        format.transparentColor = column->TransparentColor();
        format.quickDraw = column->QuickDraw();
        format.patternOrigin = TilePatternOrigin(column, rect, format.mode);
        DrawCellImage(canvas_, rect, image, format);
        if (column->CheckBox() && image.width() <= 16) {
            const QRect box = CellImageRect(image.size(), rect, format);
            DrawCheckBox(canvas_, box, grid_.CheckBoxStyle(column->CheckBoxStyle()));
        }
        if (!column->Wallpaper())
            return;
        transparentText = true;
    }
    (void)transparentText;  // text never fills its background here
    TCellTextFormat format;
    format.alignment = alignment;
    format.vAlignment = column->VAlignment();
    format.wordWrap = column->WordWrap();
    format.ellipsis = column->Ellipsis();
    format.margin = margin_;
    DrawCellText(canvas_, rect, column->DisplayText(), format);
}

QPoint TKelCellPainter::TilePatternOrigin(TKelColumn* column, const QRect& rect, TImageDraw mode) const
{
    // The pattern is anchored where the first data row (and column) would
    // start unscrolled, so tiles continue across cells.
    const QRect data = grid_.DataRect();
    const int rowTop = data.top();
    int columnLeft = rect.left();
    (void)column;
    switch (mode) {
    case idTileGrid:
        return QPoint(grid_.CellRect(d_.indicatorOffset, d_.titleOffset).left(), rowTop);
    case idTileCol:
        return QPoint(columnLeft, rowTop);
    case idTileRow:
        return QPoint(grid_.CellRect(d_.indicatorOffset, d_.titleOffset).left(), rect.top());
    default:
        return rect.topLeft();
    }
}

void TKelCellPainter::PaintDataCell(int col, int dataRow, const QRect& rect, tk::TGridDrawState state)
{
    const int dataColumn = col - d_.indicatorOffset;
    TKelColumn* column = d_.columns->Items(dataColumn);
    TKelGridDataLink& link = *d_.dataLink;
    const bool fixed = dataColumn < d_.fixedCols;
    tk::TColor color = DataCellColor(dataColumn, dataRow);
    canvas_.Font()->Assign(column->Font());

    const bool linked = link.Active() && dataRow < link.RecordCount();
    const int active = link.ActiveRecord();
    // Outside painting the active record is the current one again, and
    // record numbers are the current record's.
    auto restore = qScopeGuard([&] {
        if (linked)
            link.SetActiveRecord(active);
        d_.rowNumber = 0;
    });
    if (linked)
        link.SetActiveRecord(dataRow);
    d_.rowNumber = dataRow - active;

    const bool activeRow = linked && dataRow == active;
    const bool showsSelection = d_.options.testFlag(dgAlwaysShowSelection) || grid_.hasFocus();
    const bool noLock = d_.updateLock == 0 || d_.options.testFlag(dgRowSelect);
    const bool currentCell = activeRow && (col == grid_.Col() || d_.options.testFlag(dgRowSelect));
    TSelection selection;
    if (currentCell && showsSelection && noLock)
        selection |= slCellSelected;
    if (activeRow)
        selection |= slRowSelected;
    if (linked && grid_.IsCellMultiSelected(dataColumn))
        selection |= slMultiSelected;
    if (fixed)
        selection |= slCellFixed;
    if (!fixed && d_.stripeColor != tk::clNone && color != grid_.Color() && color != column->Color())
        selection |= slRowStriped;

    const QString text = linked ? column->DisplayText() : QString();
    const bool highlight = grid_.HighlightCell(dataColumn, dataRow, text, state);
    if (highlight)
        canvas_.Font()->SetColor(
            ResolveColor(d_.highlightText, grid_.DefaultHighlightText(), canvas_.Font()->Color()));
    if (!grid_.DrawEnabled())
        canvas_.Font()->SetColor(tk::clGrayText);

    if (highlight && selection.testFlag(slMultiSelected) && d_.selectionColor != tk::clNone)
        color = ResolveColor(d_.selectionColor, grid_.DefaultSelectionColor());
    else if (activeRow && !fixed && d_.selectRowColor != tk::clNone)
        color = ResolveColor(d_.selectRowColor, grid_.DefaultSelectRowColor());
    if (highlight && selection.testFlag(slCellSelected)) {
        if (d_.selectCellColor != tk::clNone)
            color = ResolveColor(d_.selectCellColor, grid_.DefaultSelectCellColor());
        else if (!selection.testFlag(slMultiSelected))
            canvas_.Font()->SetColor(column->Font()->Color());
    }
    d_.paintColor = color;

    if (fixed && FixedPainted())
        FillFixed(rect, color, false, false);
    else {
        canvas_.Brush()->SetColor(color);
        canvas_.FillRect(rect);
    }
    if (d_.defaultDrawing && linked) {
        QImage image = CellImage(column);
        tk::TColor paintColor = color;
        grid_.PaintColumnCell(rect, dataColumn, column, highlight, selection, paintColor, canvas_.Font(), image);
        if (paintColor != color) {
            canvas_.Brush()->SetColor(paintColor);
            canvas_.FillRect(rect);
        }
        DrawColumnImageAndText(rect, column, image, fixed && FixedPainted());
    }
    if (linked) {
        if (d_.columns->State() == csDefault)
            grid_.DrawDataCell(rect, column->Field(), state);
        grid_.DrawColumnCell(rect, dataColumn, column, state);
    }
    if (d_.defaultDrawing && selection.testFlag(slCellSelected) && !d_.options.testFlag(dgRowSelect) &&
        d_.updateLock == 0 && grid_.hasFocus())
        DrawFocus(rect);
    if (fixed)
        FinishFixed(rect, false, false);
}

void TKelCellPainter::DrawFocus(const QRect& rect)
{
    DrawFocusRectStyle(canvas_, rect, grid_.FocusRectStyle());
}

void TKelCellPainter::PaintBlankCell(int col, const QRect& rect)
{
    const int dataColumn = col - d_.indicatorOffset;
    TKelColumn* column = d_.columns->Items(dataColumn);
    const bool fixed = dataColumn < d_.fixedCols;
    tk::TColor color = fixed ? grid_.FixedColor() : column->Color();
    if (d_.multiSelect == msCols && d_.multiSelectOptions.Has(msFixed) && grid_.IsColMultiSelected(dataColumn))
        color = ResolveColor(d_.selectionColor, grid_.DefaultSelectionColor());
    else if (!fixed && d_.stripeColor != tk::clNone && rect.height() >= grid_.RowHeights(d_.titleOffset))
        color = DataCellColor(dataColumn, grid_.RowCount() - d_.titleOffset - d_.totalOffset);
    if (fixed && FixedPainted())
        FillFixed(rect, color, false, false);
    else {
        canvas_.Brush()->SetColor(color);
        canvas_.FillRect(rect);
    }
}

}  // namespace kelgrid
