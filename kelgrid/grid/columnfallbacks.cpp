// The fall-back values of a column and its title: each reads its own value
// while its AssignedValues member is set, else the field's or the grid's.
// Dataset-made columns write Alignment, ReadOnly and the title's Caption
// through to the field instead.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/column_p.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/fontfollow.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/graphics.h"

#include <QScopeGuard>

namespace kelgrid {

void RefreshFont(tk::TFont* font, const tk::TFont* source, int& lock, bool compareColor)
{
    if (!source || source == font)
        return;
    if (font->Handle() == source->Handle() && (!compareColor || font->Color() == source->Color()))
        return;
    ++lock;
    auto unlock = qScopeGuard([&lock] { --lock; });
    font->Assign(source);
}

namespace {

// The field of a dataset-made column takes write-through values while the
// grid's link is active.
tk::TField* WriteThroughField(const TKelColumn* column)
{
    TKelCustomDBGrid* grid = column->Grid();
    if (column->Stored() || !grid || !grid->LinkActiveNow())
        return nullptr;
    return column->Field();
}

}  // namespace

// --- Alignment ------------------------------------------------------------------

tk::TAlignment TKelColumn::Alignment() const
{
    return d_->assignedValues.testFlag(cvAlignment) ? d_->alignment : DefaultAlignment();
}

tk::TAlignment TKelColumn::DefaultAlignment() const
{
    tk::TField* field = Field();
    return field ? field->Alignment() : tk::taLeftJustify;
}

void TKelColumn::SetAlignment(tk::TAlignment alignment)
{
    if (!d_->stored) {
        if (tk::TField* field = WriteThroughField(this))
            field->SetAlignment(alignment);
        return;
    }
    if (d_->assignedValues.testFlag(cvAlignment) && d_->alignment == alignment)
        return;
    d_->alignment = alignment;
    d_->assignedValues |= cvAlignment;
    ReportChange(false);
}

bool TKelColumn::IsAlignmentStored() const
{
    return d_->assignedValues.testFlag(cvAlignment) && d_->alignment != DefaultAlignment();
}

// --- Color ------------------------------------------------------------------------

tk::TColor TKelColumn::Color() const
{
    return d_->assignedValues.testFlag(cvColor) ? d_->color : DefaultColor();
}

tk::TColor TKelColumn::DefaultColor() const
{
    TKelCustomDBGrid* grid = Grid();
    return grid ? grid->Color() : tk::clWindow;
}

void TKelColumn::SetColor(tk::TColor color)
{
    if (d_->assignedValues.testFlag(cvColor) && d_->color == color)
        return;
    d_->color = color;
    d_->assignedValues |= cvColor;
    ReportChange(false);
}

bool TKelColumn::IsColorStored() const
{
    return d_->assignedValues.testFlag(cvColor) && d_->color != DefaultColor();
}

// --- Font ---------------------------------------------------------------------------

tk::TFont* TKelColumn::Font() const
{
    RefreshDefaultFont();
    return d_->font;
}

tk::TFont* TKelColumn::DefaultFont() const
{
    TKelCustomDBGrid* grid = Grid();
    return grid ? grid->Font() : d_->font;
}

void TKelColumn::SetFont(tk::TFont* font)
{
    if (font)
        d_->font->Assign(font);
}

bool TKelColumn::IsFontStored() const
{
    return d_->assignedValues.testFlag(cvFont);
}

void TKelColumn::RefreshDefaultFont() const
{
    if (!d_->assignedValues.testFlag(cvFont))
        RefreshFont(d_->font, DefaultFont(), d_->fontRefreshLock, false);
}

void TKelColumn::FontChanged()
{
    if (d_->fontRefreshLock > 0)
        return;
    d_->assignedValues |= cvFont;
    // The title and the totals follow the column's font while they have
    // none of their own.
    d_->title->RefreshDefaultFont();
    RefreshTotalFonts();
    ReportChange(false);
}

// --- ReadOnly -------------------------------------------------------------------------

bool TKelColumn::ReadOnly() const
{
    return d_->assignedValues.testFlag(cvReadOnly) ? d_->readOnly : DefaultReadOnly();
}

bool TKelColumn::DefaultReadOnly() const
{
    TKelCustomDBGrid* grid = Grid();
    tk::TField* field = Field();
    return (grid && grid->ReadOnly()) || (field && field->ReadOnly());
}

void TKelColumn::SetReadOnly(bool readOnly)
{
    if (!d_->stored) {
        if (tk::TField* field = WriteThroughField(this))
            field->SetReadOnly(readOnly);
        return;
    }
    if (d_->assignedValues.testFlag(cvReadOnly) && d_->readOnly == readOnly)
        return;
    d_->readOnly = readOnly;
    d_->assignedValues |= cvReadOnly;
    ReportChange(false);
}

bool TKelColumn::IsReadOnlyStored() const
{
    return d_->assignedValues.testFlag(cvReadOnly) && d_->readOnly != DefaultReadOnly();
}

// --- Input method ------------------------------------------------------------------------

tk::TImeMode TKelColumn::ImeMode() const
{
    return d_->assignedValues.testFlag(cvImeMode) ? d_->imeMode : DefaultImeMode();
}

tk::TImeMode TKelColumn::DefaultImeMode() const
{
    TKelCustomDBGrid* grid = Grid();
    return grid ? grid->ImeMode() : d_->imeMode;
}

void TKelColumn::SetImeMode(tk::TImeMode mode)
{
    // Setting the default on a column without its own value keeps it
    // following the grid.
    if (!d_->assignedValues.testFlag(cvImeMode) && mode == DefaultImeMode())
        return;
    if (d_->assignedValues.testFlag(cvImeMode) && d_->imeMode == mode)
        return;
    d_->imeMode = mode;
    d_->assignedValues |= cvImeMode;
    ReportChange(false);
}

bool TKelColumn::IsImeModeStored() const
{
    return d_->assignedValues.testFlag(cvImeMode) && d_->imeMode != DefaultImeMode();
}

QString TKelColumn::ImeName() const
{
    return d_->assignedValues.testFlag(cvImeName) ? d_->imeName : DefaultImeName();
}

QString TKelColumn::DefaultImeName() const
{
    TKelCustomDBGrid* grid = Grid();
    return grid ? grid->ImeName() : d_->imeName;
}

void TKelColumn::SetImeName(const QString& name)
{
    if (!d_->assignedValues.testFlag(cvImeName) && name == DefaultImeName())
        return;
    if (d_->assignedValues.testFlag(cvImeName) && d_->imeName == name)
        return;
    d_->imeName = name;
    d_->assignedValues |= cvImeName;
    ReportChange(false);
}

bool TKelColumn::IsImeNameStored() const
{
    return d_->assignedValues.testFlag(cvImeName) && d_->imeName != DefaultImeName();
}

// --- The title's fall-backs ------------------------------------------------------------------

tk::TAlignment TKelColumnTitle::Alignment() const
{
    return d_->column->d()->assignedValues.testFlag(cvTitleAlignment) ? d_->alignment : DefaultAlignment();
}

void TKelColumnTitle::SetAlignment(tk::TAlignment alignment)
{
    TKelColumnValues& assigned = d_->column->d()->assignedValues;
    if (assigned.testFlag(cvTitleAlignment) && d_->alignment == alignment)
        return;
    d_->alignment = alignment;
    assigned |= cvTitleAlignment;
    ReportGroupChange();
}

bool TKelColumnTitle::IsAlignmentStored() const
{
    return d_->column->d()->assignedValues.testFlag(cvTitleAlignment) && d_->alignment != DefaultAlignment();
}

QString TKelColumnTitle::Caption() const
{
    return d_->column->d()->assignedValues.testFlag(cvTitleCaption) ? d_->caption : DefaultCaption();
}

QString TKelColumnTitle::DefaultCaption() const
{
    tk::TField* field = d_->column->Field();
    return field ? field->DisplayName() : d_->column->FieldName();
}

void TKelColumnTitle::SetCaption(const QString& caption)
{
    if (!d_->column->Stored()) {
        if (tk::TField* field = WriteThroughField(d_->column))
            field->SetDisplayLabel(caption);
        return;
    }
    TKelColumnValues& assigned = d_->column->d()->assignedValues;
    if (assigned.testFlag(cvTitleCaption) && d_->caption == caption)
        return;
    d_->caption = caption;
    assigned |= cvTitleCaption;
    ReportGroupChange();
}

bool TKelColumnTitle::IsCaptionStored() const
{
    return d_->column->d()->assignedValues.testFlag(cvTitleCaption) && d_->caption != DefaultCaption();
}

tk::TColor TKelColumnTitle::Color() const
{
    return d_->column->d()->assignedValues.testFlag(cvTitleColor) ? d_->color : DefaultColor();
}

tk::TColor TKelColumnTitle::DefaultColor() const
{
    TKelCustomDBGrid* grid = Grid();
    return grid ? grid->FixedColor() : tk::clBtnFace;
}

void TKelColumnTitle::SetColor(tk::TColor color)
{
    TKelColumnValues& assigned = d_->column->d()->assignedValues;
    if (assigned.testFlag(cvTitleColor) && d_->color == color)
        return;
    d_->color = color;
    assigned |= cvTitleColor;
    ReportChange(false);
}

bool TKelColumnTitle::IsColorStored() const
{
    return d_->column->d()->assignedValues.testFlag(cvTitleColor) && d_->color != DefaultColor();
}

tk::TFont* TKelColumnTitle::Font() const
{
    RefreshDefaultFont();
    return d_->font;
}

tk::TFont* TKelColumnTitle::DefaultFont() const
{
    TKelCustomDBGrid* grid = Grid();
    return grid ? grid->TitleFont() : d_->column->Font();
}

void TKelColumnTitle::SetFont(tk::TFont* font)
{
    if (font)
        d_->font->Assign(font);
}

bool TKelColumnTitle::IsFontStored() const
{
    return d_->column->d()->assignedValues.testFlag(cvTitleFont);
}

void TKelColumnTitle::RefreshDefaultFont() const
{
    if (!d_->column->d()->assignedValues.testFlag(cvTitleFont))
        RefreshFont(d_->font, DefaultFont(), d_->fontRefreshLock, true);
}

void TKelColumnTitle::FontChanged()
{
    if (d_->fontRefreshLock > 0)
        return;
    d_->column->d()->assignedValues |= cvTitleFont;
    ReportChange(true);
    if (TKelCustomDBGrid* grid = Grid())
        grid->InvalidateEditor();
}

}  // namespace kelgrid
