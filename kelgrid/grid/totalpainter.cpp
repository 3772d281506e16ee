// TKelCellPainter: total cells. The band's row says which total part of
// the column paints (header, a value, a fields row, the footer); the part
// gives font, colour, alignment and text, the totals the rest.

#include "kelgrid/grid/cellimage.h"
#include "kelgrid/grid/cellpainter.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntotal.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridstyle.h"
#include "kelgrid/grid/paintstyles.h"
#include "kelgrid/grid/totals.h"
#include "toolkit/ui/canvas.h"

namespace kelgrid {

namespace {

enum class TBandRow { Header, Values, Fields, Footer, None };

TBandRow KindOf(const TKelCustomDBGrid::TTotalBand& band, int row)
{
    if (row < 0)
        return TBandRow::None;
    if (row < band.header)
        return TBandRow::Header;
    row -= band.header;
    if (row < band.values)
        return TBandRow::Values;
    row -= band.values;
    if (row < band.fields)
        return TBandRow::Fields;
    row -= band.fields;
    return row < band.footer ? TBandRow::Footer : TBandRow::None;
}

}  // namespace

void TKelCellPainter::PaintTotal(int col, int bandRow, const QRect& rect)
{
    const int dataColumn = col - d_.indicatorOffset;
    TKelColumn* column = d_.columns->Items(dataColumn);
    TKelDBGridTotals& totals = *d_.totals;
    TKelColumnTotal* part = column->TotalRows(bandRow);
    canvas_.Font()->Assign(part ? part->Font() : totals.Font());
    tk::TColor color = part ? part->Color() : totals.Color();

    const TBandRow kind = KindOf(grid_.TotalBand(), bandRow);
    QString text = grid_.GetTotalText(column, bandRow, tkDisplay);
    // Totals over a selection mark the selected columns and leave the
    // others empty.
    const bool selectedRow = (kind == TBandRow::Header && d_.optionsEx.testFlag(dgTotalHeaderSelected)) ||
                             (kind == TBandRow::Values && d_.optionsEx.testFlag(dgTotalValuesSelected)) ||
                             (kind == TBandRow::Footer && d_.optionsEx.testFlag(dgTotalFooterSelected));
    if (part && selectedRow && totals.SelectedColor() != tk::clNone && totals.Selected() &&
        (part->TotalResult() == trCaption || part->TotalResult() == trCalcValue)) {
        if (grid_.IsColMultiSelected(dataColumn)) {
            color = ResolveColor(totals.SelectedColor(), grid_.DefaultSelectionColor());
            if (grid_.IsGridThemed())
                canvas_.Font()->SetColor(color);
        } else {
            text.clear();
        }
    }
    FillFixed(rect, color, false, false);
    QRect content = BothLines() ? rect.adjusted(1, 1, -1, -1) : rect;

    const TTotalBox box = part ? part->TotalBox() : tbFalse;
    const bool boxOption = (kind == TBandRow::Header && d_.optionsEx.testFlag(dgTotalHeaderBox)) ||
                           (kind == TBandRow::Values && d_.optionsEx.testFlag(dgTotalValuesBox)) ||
                           (kind == TBandRow::Fields && d_.optionsEx.testFlag(dgTotalFieldsBox)) ||
                           (kind == TBandRow::Footer && d_.optionsEx.testFlag(dgTotalFooterBox));
    const bool drawBox = box == tbTrue || (box == tbAuto && boxOption &&
                                           (!text.isEmpty() || !d_.optionsEx.testFlag(dgTotalDataBoxOnly)));
    if (drawBox) {
        const TCheckBoxStyle style = grid_.CheckBoxStyle(totals.BoxStyle());
        const bool lowered = style == cbLoweredDark || style == cbLoweredGray || style == cbLoweredMild;
        const int inset = lowered && d_.gridStyle->TotalRowSpace() >= 6 ? 2 : 1;
        DrawCheckBox(canvas_, content.adjusted(inset, inset, -inset, -inset), style);
    }
    const int totalMargin = d_.gridStyle->TotalColMargin();
    content.adjust(totalMargin, 0, -totalMargin, 0);
    const int image = part ? part->ImageIndex() : -1;
    if (totals.Images() && image >= 0 && image < totals.Images()->Count()) {
        const int y = content.top() + (content.height() - totals.Images()->Height()) / 2;
        DrawListImage(canvas_, *totals.Images(), image, content.left() + margin_, y, grid_.DrawEnabled(),
                      TListImageMirror::Readable);
        content.setLeft(content.left() + margin_ + totals.Images()->Width() + 2);
    }
    if (part) {
        TCellTextFormat format;
        format.alignment = ScreenAlignment(part->Alignment(), column->SuppressRTL());
        format.vAlignment = part->VAlignment();
        format.wordWrap = part->WordWrap();
        format.ellipsis = part->Ellipsis();
        format.margin = margin_ + (drawBox ? 1 : 0);
        if (!grid_.DrawEnabled())
            canvas_.Font()->SetColor(tk::clGrayText);
        DrawCellText(canvas_, content, text, format);
    }
    FinishFixed(rect, false, false);
}

}  // namespace kelgrid
