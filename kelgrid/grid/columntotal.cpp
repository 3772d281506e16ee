// TKelColumnTotal: the look of a total cell with its fall-backs, the bound
// field, the display text, RestoreDefaults and Assign.

#include "kelgrid/grid/columntotal.h"

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/fontfollow.h"
#include "kelgrid/grid/totalformat.h"
#include "kelgrid/grid/totallink.h"
#include "kelgrid/grid/totals.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/themes.h"

#include <QPointer>

namespace kelgrid {

struct TKelColumnTotal::Private {
    TKelColumn* column = nullptr;  // set for header, footer and fields objects
    QString caption;
    tk::TFont* font = nullptr;  // a QObject child
    tk::TColor color = tk::clBtnFace;
    tk::TAlignment alignment = tk::taLeftJustify;
    TKelColumnValues assigned;
    mutable QPointer<tk::TField> field;
    QString fieldName;
    bool ellipsis = true;
    bool wordWrap = true;
    TVAlignment vAlignment = tvCenter;
    QString hint;
    bool toolTips = true;
    TToolTipsWidth toolTipsWidth = ttAutoWidth;
    int imageIndex = -1;
    QPointer<tk::TPopupMenu> popupMenu;
    TTotalBox totalBox = tbAuto;
    TTotalResult totalResult = trCaption;
    bool visible = true;
    // Set while the default font is copied in, which is no change of the
    // user's.
    mutable int fontRefreshLock = 0;
};

TKelColumnTotal::TKelColumnTotal(tk::TCollection* collection)
    : tk::TCollectionItem(collection), d_(std::make_unique<Private>())
{
    Init(nullptr, trCaption);
}

TKelColumnTotal::TKelColumnTotal(TKelColumn* column, TTotalResult result)
    : tk::TCollectionItem(nullptr), d_(std::make_unique<Private>())
{
    Init(column, result);
}

void TKelColumnTotal::Init(TKelColumn* column, TTotalResult result)
{
    d_->column = column;
    if (column)
        setParent(column);
    d_->totalResult = result;
    d_->font = new tk::TFont(this);
    RefreshDefaultFont();
    d_->font->OnChange = [this] { FontChanged(); };
}

TKelColumnTotal::~TKelColumnTotal() = default;

TKelColumn* TKelColumnTotal::Column() const
{
    if (d_->column)
        return d_->column;
    return Collection() ? qobject_cast<TKelColumn*>(Collection()->Owner()) : nullptr;
}

TKelCustomDBGrid* TKelColumnTotal::Grid() const
{
    TKelColumn* column = Column();
    return column ? column->Grid() : nullptr;
}

void TKelColumnTotal::TotalChanged()
{
    if (TKelColumn* column = Column())
        column->TotalChanged(this);
}

void TKelColumnTotal::SetAssigned(TKelColumnValue value, bool on)
{
    d_->assigned.setFlag(value, on);
}

TKelColumnValues TKelColumnTotal::AssignedValues() const
{
    return d_->assigned;
}

// --- Fall-backs ----------------------------------------------------------------

tk::TAlignment TKelColumnTotal::Alignment() const
{
    if (d_->assigned.testFlag(cvTotalAlignment))
        return d_->alignment;
    TKelColumn* column = Column();
    return column ? column->Alignment() : tk::taLeftJustify;
}

void TKelColumnTotal::SetAlignment(tk::TAlignment alignment)
{
    if (d_->assigned.testFlag(cvTotalAlignment) && alignment == d_->alignment)
        return;
    d_->alignment = alignment;
    SetAssigned(cvTotalAlignment, true);
    TotalChanged();
}

bool TKelColumnTotal::IsAlignmentStored() const
{
    TKelColumn* column = Column();
    return d_->assigned.testFlag(cvTotalAlignment) &&
           d_->alignment != (column ? column->Alignment() : tk::taLeftJustify);
}

tk::TColor TKelColumnTotal::Color() const
{
    if (d_->assigned.testFlag(cvTotalColor))
        return d_->color;
    TKelCustomDBGrid* grid = Grid();
    return grid ? grid->Totals()->Color() : tk::clBtnFace;
}

void TKelColumnTotal::SetColor(tk::TColor color)
{
    if (d_->assigned.testFlag(cvTotalColor) && color == d_->color)
        return;
    d_->color = color;
    SetAssigned(cvTotalColor, true);
    // Themed total cells on the newer styles are drawn as a whole band.
    TKelCustomDBGrid* grid = Grid();
    if (grid && tk::ThemesEnabled() && tk::NewerVisualStyles() &&
        !grid->HasState(tk::TComponentStateFlag::csLoading))
        grid->LayoutChanged();
    TotalChanged();
}

bool TKelColumnTotal::IsColorStored() const
{
    TKelCustomDBGrid* grid = Grid();
    return d_->assigned.testFlag(cvTotalColor) &&
           d_->color != (grid ? grid->Totals()->Color() : tk::clBtnFace);
}

const tk::TFont* TKelColumnTotal::DefaultFont() const
{
    TKelCustomDBGrid* grid = Grid();
    if (grid)
        return grid->Totals()->Font();
    TKelColumn* column = Column();
    return column ? column->Font() : nullptr;
}

void TKelColumnTotal::RefreshDefaultFont() const
{
    if (d_->assigned.testFlag(cvTotalFont))
        return;
    RefreshFont(d_->font, DefaultFont(), d_->fontRefreshLock, true);
}

tk::TFont* TKelColumnTotal::Font() const
{
    RefreshDefaultFont();
    return d_->font;
}

void TKelColumnTotal::SetFont(tk::TFont* font)
{
    if (font)
        d_->font->Assign(font);
}

bool TKelColumnTotal::IsFontStored() const
{
    return d_->assigned.testFlag(cvTotalFont);
}

void TKelColumnTotal::FontChanged()
{
    if (d_->fontRefreshLock > 0)
        return;
    SetAssigned(cvTotalFont, true);
    TKelCustomDBGrid* grid = Grid();
    if (grid && !grid->HasState(tk::TComponentStateFlag::csLoading))
        grid->LayoutChanged();
}

// --- Plain settings ---------------------------------------------------------------

bool TKelColumnTotal::Ellipsis() const
{
    return d_->ellipsis;
}

void TKelColumnTotal::SetEllipsis(bool on)
{
    if (on == d_->ellipsis)
        return;
    d_->ellipsis = on;
    TotalChanged();
}

QString TKelColumnTotal::Hint() const
{
    return d_->hint;
}

void TKelColumnTotal::SetHint(const QString& hint)
{
    d_->hint = hint;
}

tk::TPopupMenu* TKelColumnTotal::PopupMenu() const
{
    return d_->popupMenu;
}

void TKelColumnTotal::SetPopupMenu(tk::TPopupMenu* menu)
{
    // A freed menu clears the guarded pointer.
    d_->popupMenu = menu;
}

bool TKelColumnTotal::ToolTips() const
{
    return d_->toolTips;
}

void TKelColumnTotal::SetToolTips(bool on)
{
    if (on == d_->toolTips)
        return;
    d_->toolTips = on;
    TotalChanged();
}

TToolTipsWidth TKelColumnTotal::ToolTipsWidth() const
{
    return d_->toolTipsWidth;
}

void TKelColumnTotal::SetToolTipsWidth(TToolTipsWidth width)
{
    if (width == d_->toolTipsWidth)
        return;
    d_->toolTipsWidth = width;
    TotalChanged();
}

TTotalBox TKelColumnTotal::TotalBox() const
{
    return d_->totalBox;
}

void TKelColumnTotal::SetTotalBox(TTotalBox box)
{
    if (box == d_->totalBox)
        return;
    d_->totalBox = box;
    TotalChanged();
}

TVAlignment TKelColumnTotal::VAlignment() const
{
    return d_->vAlignment;
}

void TKelColumnTotal::SetVAlignment(TVAlignment alignment)
{
    if (alignment == d_->vAlignment)
        return;
    d_->vAlignment = alignment;
    TotalChanged();
}

bool TKelColumnTotal::Visible() const
{
    return d_->visible;
}

void TKelColumnTotal::SetVisible(bool on)
{
    if (on == d_->visible)
        return;
    d_->visible = on;
    TotalChanged();
}

bool TKelColumnTotal::WordWrap() const
{
    return d_->wordWrap;
}

void TKelColumnTotal::SetWordWrap(bool on)
{
    if (on == d_->wordWrap)
        return;
    d_->wordWrap = on;
    TotalChanged();
}

int TKelColumnTotal::ImageIndex() const
{
    return d_->imageIndex;
}

void TKelColumnTotal::SetImageIndex(int index)
{
    if (index == d_->imageIndex)
        return;
    d_->imageIndex = index;
    TotalChanged();
}

// --- Result and field ------------------------------------------------------------

TTotalResult TKelColumnTotal::TotalResult() const
{
    return d_->totalResult;
}

void TKelColumnTotal::SetTotalResult(TTotalResult result)
{
    if (result == d_->totalResult)
        return;
    d_->totalResult = result;
    SetField(nullptr);
    if (result == trCalcValue) {
        if (TKelCustomDBGrid* grid = Grid())
            grid->UpdateTotals(true);
    } else {
        TotalChanged();
    }
}

QString TKelColumnTotal::FieldName() const
{
    return d_->fieldName;
}

void TKelColumnTotal::SetFieldName(const QString& name)
{
    if (name == d_->fieldName)
        return;
    d_->fieldName = name;
    SetField(nullptr);
    if (d_->totalResult == trCalcValue) {
        if (TKelCustomDBGrid* grid = Grid())
            grid->UpdateTotals(true);
    } else {
        TotalChanged();
    }
}

namespace {

// A dataset whose fields can be looked up: open, or with persistent fields.
bool FieldsAvailable(const tk::TDataSet* dataSet)
{
    return dataSet && (dataSet->Active() || (!dataSet->DefaultFields() && dataSet->FieldCount() > 0));
}

}  // namespace

tk::TField* TKelColumnTotal::Field() const
{
    if (d_->field)
        return d_->field;
    TKelCustomDBGrid* grid = Grid();
    if (!grid)
        return nullptr;
    tk::TField* found = nullptr;
    if (d_->totalResult == trDataField || d_->totalResult == trCalcValue) {
        tk::TDataSet* dataSet = grid->DataSet();
        const QString name = d_->fieldName.isEmpty() && Column() ? Column()->FieldName() : d_->fieldName;
        if (grid->LinkActiveNow() && FieldsAvailable(dataSet) && !name.isEmpty())
            found = dataSet->FindField(name);
    } else if (d_->totalResult == trTotalField && !d_->fieldName.isEmpty()) {
        TKelTotalDataLink* link = grid->Totals()->DataLink();
        tk::TDataSet* dataSet = link ? link->DataSet() : nullptr;
        if (link && link->Active() && FieldsAvailable(dataSet))
            found = dataSet->FindField(d_->fieldName);
    }
    if (found)
        const_cast<TKelColumnTotal*>(this)->SetField(found);
    return d_->field;
}

void TKelColumnTotal::SetField(tk::TField* field)
{
    // A field on its way out counts as none; a freed field clears the
    // guarded pointer.
    if (field && field->HasState(tk::TComponentStateFlag::csDestroying))
        field = nullptr;
    d_->field = field;
    if (field && !d_->fieldName.isEmpty())
        d_->fieldName = field->FullName();
}

// --- Texts ----------------------------------------------------------------------

void TKelColumnTotal::SetCaption(const QString& caption)
{
    if (caption == d_->caption && d_->assigned.testFlag(cvTotalCaption))
        return;
    d_->caption = caption;
    SetAssigned(cvTotalCaption, true);
    TotalChanged();
}

QString TKelColumnTotal::CaptionText() const
{
    return d_->caption;
}

QString TKelColumnTotal::DisplayText() const
{
    return GetDisplayText();
}

QString TKelColumnTotal::GetDisplayText() const
{
    TKelCustomDBGrid* grid = Grid();
    const bool selected = grid && grid->Totals()->Selected();
    switch (d_->totalResult) {
    case trNone:
        return {};
    case trCaption:
        return ActiveTotalPart(d_->caption, selected);
    case trCalcValue:
        return d_->caption;
    case trDataField:
        if (d_->fieldName.isEmpty())
            return Column() ? Column()->DisplayText() : QString();
        return Field() ? Field()->DisplayText() : QString();
    case trTotalField:
        // Shown per record by value totals (which know TotalRecNo) and by
        // the band's field rows; the base shows the current record.
        return Field() ? Field()->DisplayText() : QString();
    }
    return {};
}

// --- Defaults and copies ------------------------------------------------------------

void TKelColumnTotal::RestoreDefaults()
{
    const bool hadFont = d_->assigned.testFlag(cvTotalFont);
    d_->assigned &= ~TKelColumnValues(cvTotalColor | cvTotalAlignment | cvTotalFont);
    RefreshDefaultFont();
    d_->ellipsis = true;
    d_->wordWrap = true;
    d_->vAlignment = tvCenter;
    d_->hint.clear();
    d_->toolTips = true;
    d_->toolTipsWidth = ttAutoWidth;
    d_->imageIndex = -1;
    SetPopupMenu(nullptr);
    d_->totalBox = tbAuto;
    d_->visible = true;
    TKelCustomDBGrid* grid = Grid();
    if (hadFont && grid && !grid->HasState(tk::TComponentStateFlag::csLoading))
        grid->LayoutChanged();
    else
        TotalChanged();
}

void TKelColumnTotal::Assign(const tk::TPersistent* source)
{
    const auto* other = qobject_cast<const TKelColumnTotal*>(source);
    if (!other) {
        tk::TCollectionItem::Assign(source);
        return;
    }
    SetFieldName(other->FieldName());
    const TKelColumnValues theirs = other->AssignedValues();
    if (theirs.testFlag(cvTotalAlignment))
        SetAlignment(other->Alignment());
    if (theirs.testFlag(cvTotalColor))
        SetColor(other->Color());
    if (theirs.testFlag(cvTotalCaption))
        SetCaption(other->CaptionText());
    if (theirs.testFlag(cvTotalFont))
        SetFont(other->Font());
    SetEllipsis(other->Ellipsis());
    SetWordWrap(other->WordWrap());
    SetVAlignment(other->VAlignment());
    SetHint(other->Hint());
    SetToolTips(other->ToolTips());
    SetToolTipsWidth(other->ToolTipsWidth());
    SetImageIndex(other->ImageIndex());
    SetPopupMenu(other->PopupMenu());
    SetTotalBox(other->TotalBox());
    SetTotalResult(other->TotalResult());
    SetVisible(other->Visible());
}

TKelColumnTotalFields::TKelColumnTotalFields(TKelColumn* column) : TKelColumnTotal(column, trTotalField) {}

}  // namespace kelgrid
