// Column widths: the measured default, the own width within its limits,
// and the write-through of a dataset-made column's width to its field's
// display width (in characters of the column font).
//
// Widths are measured on a measuring canvas with the column's font, which
// answers like the grid's own canvas and needs no window. The toolkit's
// fonts have no overhang, so the platform's "width of 0 minus overhang"
// is the width of "0".

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/column_p.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/graphics.h"

#include <QRegularExpression>
#include <QScopeGuard>

namespace kelgrid {

namespace {

constexpr int kWidthWithoutGrid = 64;
// Room around a cell's text.
constexpr int kTextMargin = 4;

int DigitWidth(const tk::TFont* font)
{
    tk::TCanvas canvas;
    canvas.Font()->Assign(font);
    return canvas.TextWidth(QStringLiteral("0"));
}

// The widest line of text; lines break at CR, LF or CR LF.
int WidestLine(const QString& text, const tk::TFont* font)
{
    tk::TCanvas canvas;
    canvas.Font()->Assign(font);
    int widest = 0;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString& line : text.split(lineBreak))
        widest = qMax(widest, canvas.TextWidth(line));
    return widest;
}

}  // namespace

int TKelColumn::DefaultWidth() const
{
    TKelCustomDBGrid* grid = Grid();
    if (!grid)
        return kWidthWithoutGrid;
    tk::TField* field = Field();
    if (!field)
        return grid->DefaultColWidth();
    int width = DigitWidth(Font()) * field->DisplayWidth() + kTextMargin;
    const TKelDBGridOptions options = grid->Options();
    if (options.testFlag(dgTitles) && !options.testFlag(dgTitleWidthOff))
        width = qMax(width, WidestLine(d_->title->Caption(), d_->title->Font()) + kTextMargin);
    return width;
}

int TKelColumn::Width() const
{
    TKelCustomDBGrid* grid = Grid();
    // A stream keeps the width a hidden column will have when shown again.
    if (!Showing() && !(grid && grid->ColumnsWriting())) {
        if (!grid)
            return -1;
        return grid->Options().testFlag(dgColLines) ? -grid->GridLineWidth() : 0;
    }
    if (grid && grid->ColumnsWriting() && grid->StretchActive())
        return d_->baseWidth;
    return TrueWidth();
}

int TKelColumn::TrueWidth() const
{
    return d_->assignedValues.testFlag(cvWidth) ? d_->width : DefaultWidth();
}

bool TKelColumn::IsWidthStored() const
{
    return d_->assignedValues.testFlag(cvWidth);
}

void TKelColumn::WriteFieldDisplayWidth(int width)
{
    TKelCustomDBGrid* grid = Grid();
    tk::TField* field = Field();
    if (!grid || !field || !grid->UpdateFields())
        return;
    int digit = DigitWidth(Font());
    int margin = kTextMargin;
    if (digit == 0) {
        tk::TCanvas canvas;
        canvas.Font()->Assign(Font());
        digit = qMax(1, canvas.TextWidth(QStringLiteral("x")));
        margin = 3;
    }
    field->SetDisplayWidth(qMax(1, (width + digit / 2 - margin) / digit));
}

void TKelColumn::SetWidth(int width)
{
    TKelCustomDBGrid* grid = Grid();
    if (!d_->stored) {
        WriteFieldDisplayWidth(width);
        // While the dataset drives the layout the field's display width is
        // the width.
        if (grid && grid->LayoutFromDataSet() && !d_->assignedValues.testFlag(cvWidth)) {
            ReportChange(false);
            return;
        }
    }
    if (width >= 0) {
        if (d_->widthMin != -1 && width < d_->widthMin)
            width = d_->widthMin;
        else if (d_->widthMax != -1 && width > d_->widthMax)
            width = d_->widthMax;
    }
    const bool colLines = !grid || grid->Options().testFlag(dgColLines);
    const bool wanted =
        d_->assignedValues.testFlag(cvWidth) || width != DefaultWidth() || (grid && grid->ColumnsReading());
    if (wanted && (colLines ? width > -1 : width > 0)) {
        const bool stretched = grid && grid->StretchActive();
        if (stretched && !grid->Stretching() && width != d_->width) {
            // A width the user gives a stretched column becomes its share.
            const int total = grid->StretchBaseTotal();
            const int available = grid->StretchAvailableWidth();
            if (total > 0 && available > 0)
                d_->baseWidth = int(qint64(width) * total / available);
        } else if (!stretched) {
            d_->baseWidth = width;
        }
        d_->width = width;
        d_->assignedValues |= cvWidth;
        if (stretched && !grid->Stretching())
            grid->StretchGrid();
    }
    ReportChange(false);
}

int TKelColumn::WidthBase() const
{
    TKelCustomDBGrid* grid = Grid();
    return grid && grid->StretchActive() ? d_->baseWidth : TrueWidth();
}

void TKelColumn::SetWidthBase(int width)
{
    TKelCustomDBGrid* grid = Grid();
    if (!grid || !grid->StretchActive()) {
        SetWidth(width);
        return;
    }
    if (width < 0 || width == d_->baseWidth)
        return;
    d_->baseWidth = width;
    grid->StretchGrid();
}

int TKelColumn::OptimalWidth() const
{
    TKelCustomDBGrid* grid = Grid();
    if (!grid || !grid->LinkActiveNow())
        return WidthBase();
    TKelGridDataLink* link = grid->DataLink();
    const int active = link->ActiveRecord();
    auto restore = qScopeGuard([link, active] { link->SetActiveRecord(active); });
    int widest = 0;
    for (int record = 0; record < link->RecordCount(); ++record) {
        link->SetActiveRecord(record);
        widest = qMax(widest, WidestLine(DisplayText(), Font()) + kTextMargin);
    }
    return widest;
}

int TKelColumn::WidthMax() const
{
    return d_->widthMax;
}

void TKelColumn::SetWidthMax(int width)
{
    if (width < -1)
        return;
    if (width != -1 && d_->widthMin != -1 && width < d_->widthMin)
        width = d_->widthMin;
    if (width == d_->widthMax)
        return;
    d_->widthMax = width;
    if (width != -1 && TrueWidth() > width)
        SetWidth(width);
    else
        ReportChange(false);
}

int TKelColumn::WidthMin() const
{
    return d_->widthMin;
}

void TKelColumn::SetWidthMin(int width)
{
    if (width < -1)
        return;
    if (width != -1 && d_->widthMax != -1 && width > d_->widthMax)
        width = d_->widthMax;
    if (width == d_->widthMin)
        return;
    d_->widthMin = width;
    if (width != -1 && TrueWidth() < width)
        SetWidth(width);
    else
        ReportChange(false);
}

}  // namespace kelgrid
