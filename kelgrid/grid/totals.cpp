#include "kelgrid/grid/totals.h"

#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/griderror.h"
#include "kelgrid/grid/totallink.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/dataset.h"

#include <QScopedValueRollback>
#include <algorithm>

namespace kelgrid {

struct TKelDBGridTotals::Private {
    TKelCustomDBGrid* grid = nullptr;
    tk::TFont* font = nullptr;  // a QObject child
    std::unique_ptr<TKelTotalDataLink> dataLink;
    QPointer<tk::TImageList> images;
    int linesCount = 1;
    int dataMaxRow = 5;
    TCheckBoxStyle boxStyle = cbAuto;
    tk::TColor color = tk::clBtnFace;
    tk::TColor selectedColor = tk::clDefault;
    bool customColor = false;
    bool selectedRows = false;
    bool selectedCols = false;
    bool calcValues = true;
    // Set while the font is copied in by the grid, so the copy does not
    // count as a change from outside.
    bool refreshingFont = false;
};

TKelDBGridTotals::TKelDBGridTotals(TKelCustomDBGrid* grid)
    : tk::TPersistent(grid), d_(std::make_unique<Private>())
{
    d_->grid = grid;
    d_->font = new tk::TFont(this);
    if (grid) {
        d_->font->Assign(grid->Font());
        d_->dataLink.reset(grid->CreateTotalDataLink());
    }
    d_->font->OnChange = [this] { FontChanged(); };
}

TKelDBGridTotals::~TKelDBGridTotals()
{
    if (d_->dataLink)
        d_->dataLink->SetDataSource(nullptr);
}

TKelCustomDBGrid* TKelDBGridTotals::Grid() const
{
    return d_->grid;
}

TKelTotalDataLink* TKelDBGridTotals::DataLink() const
{
    return d_->dataLink.get();
}

bool TKelDBGridTotals::Visible() const
{
    return d_->grid &&
           (d_->grid->OptionsEx() & (dgTotalHeader | dgTotalValues | dgTotalFields | dgTotalFooter));
}

void TKelDBGridTotals::VisibleChanged()
{
    if (Visible())
        d_->grid->LayoutChanged();
}

TCheckBoxStyle TKelDBGridTotals::BoxStyle() const
{
    return d_->boxStyle;
}

void TKelDBGridTotals::SetBoxStyle(TCheckBoxStyle style)
{
    if (style == d_->boxStyle)
        return;
    d_->boxStyle = style;
    if (!d_->grid)
        return;
    // Only bands drawn as boxes look different.
    const TKelDBGridOptionsEx o = d_->grid->OptionsEx();
    const bool boxed = (o.testFlag(dgTotalHeader) && o.testFlag(dgTotalHeaderBox)) ||
                       (o.testFlag(dgTotalValues) && o.testFlag(dgTotalValuesBox)) ||
                       (o.testFlag(dgTotalFields) && o.testFlag(dgTotalFieldsBox)) ||
                       (o.testFlag(dgTotalFooter) && o.testFlag(dgTotalFooterBox));
    if (boxed)
        d_->grid->LayoutChanged();
}

bool TKelDBGridTotals::CalcValues() const
{
    return d_->calcValues;
}

void TKelDBGridTotals::SetCalcValues(bool on)
{
    if (on == d_->calcValues)
        return;
    d_->calcValues = on;
    if (on && d_->grid)
        d_->grid->UpdateTotals(false);
}

tk::TColor TKelDBGridTotals::Color() const
{
    return d_->color;
}

void TKelDBGridTotals::SetColor(tk::TColor color)
{
    d_->customColor = true;
    if (color == d_->color)
        return;
    d_->color = color;
    VisibleChanged();
}

void TKelDBGridTotals::FollowFixedColor(tk::TColor color)
{
    if (d_->customColor || color == d_->color)
        return;
    d_->color = color;
    VisibleChanged();
}

bool TKelDBGridTotals::IsColorStored() const
{
    return d_->customColor;
}

int TKelDBGridTotals::DataMaxRow() const
{
    return d_->dataMaxRow;
}

void TKelDBGridTotals::SetDataMaxRow(int rows)
{
    rows = std::max(0, rows);
    if (rows == d_->dataMaxRow)
        return;
    d_->dataMaxRow = rows;
    // The window follows at once, and the band with it.
    if (d_->dataLink && d_->dataLink->Active()) {
        d_->dataLink->UpdateBufferCount();
        d_->grid->TotalsChanged(1, nullptr);
        VisibleChanged();
    }
}

tk::TDataSource* TKelDBGridTotals::DataSource() const
{
    return d_->dataLink ? d_->dataLink->DataSource() : nullptr;
}

void TKelDBGridTotals::SetDataSource(tk::TDataSource* source)
{
    if (!d_->dataLink || source == DataSource())
        return;
    if (source && source == d_->grid->DataSource()) {
        if (d_->grid->HasState(tk::TComponentStateFlag::csLoading))
            return;
        InvalidGridOperation(tk::LoadResString(&tk::SCircularDataLink));
    }
    if (source && source->DataSet() && source->DataSet()->IsUnidirectional())
        throw tk::EDatabaseError(tk::LoadResString(&tk::SDataSetUnidirectional));
    if (tk::TDataSource* old = DataSource())
        old->RemoveFreeNotification(d_->grid);
    d_->dataLink->SetDataSource(source);
    if (source)
        source->FreeNotification(static_cast<tk::TComponentCore*>(d_->grid));
    VisibleChanged();
}

tk::TFont* TKelDBGridTotals::Font() const
{
    return d_->font;
}

void TKelDBGridTotals::SetFont(tk::TFont* font)
{
    if (font)
        d_->font->Assign(font);
}

bool TKelDBGridTotals::IsFontStored() const
{
    return d_->grid && !d_->grid->ParentFont() && d_->font->Handle() != d_->grid->Font()->Handle();
}

void TKelDBGridTotals::RefreshFont(const tk::TFont* gridFont)
{
    QScopedValueRollback<bool> guard(d_->refreshingFont, true);
    d_->font->Assign(gridFont);
}

void TKelDBGridTotals::FontChanged()
{
    if (!d_->grid)
        return;
    // A font set from outside is the user's: the grid stops following its
    // parent's font.
    if (!d_->refreshingFont && !d_->grid->HasState(tk::TComponentStateFlag::csLoading))
        d_->grid->SetParentFont(false);
    VisibleChanged();
}

tk::TImageList* TKelDBGridTotals::Images() const
{
    return d_->images;
}

void TKelDBGridTotals::SetImages(tk::TImageList* images)
{
    if (images == d_->images)
        return;
    if (d_->images && d_->grid)
        d_->images->RemoveFreeNotification(d_->grid);
    d_->images = images;
    if (images && d_->grid)
        images->FreeNotification(static_cast<tk::TComponentCore*>(d_->grid));
    VisibleChanged();
}

int TKelDBGridTotals::LinesCount() const
{
    return d_->linesCount;
}

void TKelDBGridTotals::SetLinesCount(int count)
{
    count = std::clamp(count, 1, MaxLinesCount);
    if (count == d_->linesCount)
        return;
    d_->linesCount = count;
    VisibleChanged();
}

tk::TColor TKelDBGridTotals::SelectedColor() const
{
    return d_->selectedColor;
}

void TKelDBGridTotals::SetSelectedColor(tk::TColor color)
{
    if (color == d_->selectedColor)
        return;
    d_->selectedColor = color;
    if (Selected())
        VisibleChanged();
}

bool TKelDBGridTotals::Selected() const
{
    return d_->selectedRows || d_->selectedCols;
}

bool TKelDBGridTotals::SelectedRows() const
{
    return d_->selectedRows;
}

bool TKelDBGridTotals::SelectedCols() const
{
    return d_->selectedCols;
}

void TKelDBGridTotals::SetSelected(bool rows, bool cols)
{
    d_->selectedRows = rows;
    d_->selectedCols = cols;
}

void TKelDBGridTotals::Assign(const tk::TPersistent* source)
{
    const auto* other = qobject_cast<const TKelDBGridTotals*>(source);
    if (!other) {
        tk::TPersistent::Assign(source);
        return;
    }
    SetBoxStyle(other->BoxStyle());
    SetCalcValues(other->CalcValues());
    if (other->IsColorStored())
        SetColor(other->Color());
    SetDataMaxRow(other->DataMaxRow());
    if (d_->grid && other->DataSource() != d_->grid->DataSource())
        SetDataSource(other->DataSource());
    SetFont(other->Font());
    SetImages(other->Images());
    SetLinesCount(other->LinesCount());
    SetSelectedColor(other->SelectedColor());
}

}  // namespace kelgrid
