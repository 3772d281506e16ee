// TKelColumn: copying from another column, restoring the defaults, the
// display name, the display and edit texts and the cell images.

#include "kelgrid/grid/column.h"

#include "kelgrid/controls/blobfield.h"
#include "kelgrid/grid/column_p.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/strings.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/pictures.h"

#include <QScopeGuard>

namespace kelgrid {

namespace {

constexpr int kDisplayCaptionLength = 20;

bool IsMemo(const tk::TField* field)
{
    const tk::TFieldType type = field->DataType();
    return type == tk::ftMemo || type == tk::ftFmtMemo || type == tk::ftWideMemo;
}

}  // namespace

void TKelColumn::RestoreDefaults()
{
    const bool hadFont = d_->assignedValues.testFlag(cvFont);
    d_->title->RestoreDefaults();
    RestoreTotalDefaults();
    d_->assignedValues = {};
    RefreshDefaultFont();
    d_->title->RefreshDefaultFont();
    ClearPickLists();
    TKelColumnPrivate defaults;
    d_->buttonStyle = cbsAuto;
    d_->visible = defaults.visible;
    d_->expanded = defaults.expanded;
    d_->ellipsis = defaults.ellipsis;
    d_->showBlob = defaults.showBlob;
    d_->showEdit = defaults.showEdit;
    d_->wordWrap = defaults.wordWrap;
    d_->vAlignment = defaults.vAlignment;
    d_->imageDraw = defaults.imageDraw;
    d_->quickDraw = defaults.quickDraw;
    d_->transparent = defaults.transparent;
    d_->wallpaper = defaults.wallpaper;
    d_->widthMax = defaults.widthMax;
    d_->widthMin = defaults.widthMin;
    d_->imageOffsetX = defaults.imageOffsetX;
    d_->imageOffsetY = defaults.imageOffsetY;
    d_->checkBox = defaults.checkBox;
    d_->checkBoxValues.clear();
    d_->checkBoxToggle = defaults.checkBoxToggle;
    d_->checkBoxStyle = defaults.checkBoxStyle;
    d_->checkBoxKind = defaults.checkBoxKind;
    d_->hint.clear();
    d_->editorHint.clear();
    d_->toolTips = defaults.toolTips;
    d_->toolTipsWidth = defaults.toolTipsWidth;
    d_->transparentColor = defaults.transparentColor;
    d_->pickTextFormat.clear();
    d_->pickOptions = defaults.pickOptions;
    d_->listOptions = defaults.listOptions;
    d_->suppressRTL = defaults.suppressRTL;
    d_->autoNumber = defaults.autoNumber;
    d_->editMemo = defaults.editMemo;
    d_->dropDownRows = 0;
    d_->dropDownWidth = 0;
    d_->expandCols = 0;
    d_->expandStyle = cesAuto;
    d_->dialogOptions = defaults.dialogOptions;
    d_->lookupKeyField.clear();
    d_->lookupListFields.clear();
    d_->lookupListTitles.clear();
    d_->lookupListWidths.clear();
    d_->charCase = defaults.charCase;
    // The menus, images and lookup dataset are let go of through their
    // setters, which also end the free notification.
    SetPopupMenu(nullptr);
    SetDropDownMenu(nullptr);
    d_->buttonStyle = cbsAuto;
    SetImages(nullptr);
    SetLookupDataSet(nullptr);
    ReportChange(hadFont);
}

void TKelColumn::Assign(const tk::TPersistent* source)
{
    auto* column = qobject_cast<const TKelColumn*>(source);
    if (!column) {
        tk::TCollectionItem::Assign(source);
        return;
    }
    tk::TCollection* collection = Collection();
    if (collection)
        collection->BeginUpdate();
    auto endUpdate = qScopeGuard([collection] {
        if (collection)
            collection->EndUpdate();
    });
    RestoreDefaults();
    SetFieldName(column->FieldName());
    const TKelColumnValues from = column->d_->assignedValues;
    if (from.testFlag(cvColor))
        SetColor(column->Color());
    if (from.testFlag(cvWidth))
        SetWidth(column->WidthBase());
    if (from.testFlag(cvFont))
        SetFont(column->Font());
    if (from.testFlag(cvImeMode))
        SetImeMode(column->ImeMode());
    if (from.testFlag(cvImeName))
        SetImeName(column->ImeName());
    if (from.testFlag(cvAlignment))
        SetAlignment(column->Alignment());
    if (from.testFlag(cvReadOnly))
        SetReadOnly(column->ReadOnly());
    d_->title->Assign(column->Title());
    SetButtonStyle(column->ButtonStyle());
    SetPickList(column->d_->pickList.get());
    SetPopupMenu(column->PopupMenu());
    d_->visible = column->d_->visible;
    d_->expanded = column->d_->expanded;
    SetEllipsis(column->Ellipsis());
    SetShowBlob(column->ShowBlob());
    SetShowEdit(column->ShowEdit());
    SetWordWrap(column->WordWrap());
    SetVAlignment(column->VAlignment());
    d_->imageDraw = column->ImageDraw();
    SetQuickDraw(column->QuickDraw());
    SetTransparent(column->Transparent());
    SetWallpaper(column->Wallpaper());
    SetWidthMax(column->WidthMax());
    SetWidthMin(column->WidthMin());
    SetImageOffsetX(column->ImageOffsetX());
    SetImageOffsetY(column->ImageOffsetY());
    SetCheckBox(column->CheckBox());
    d_->checkBoxValues = column->d_->checkBoxValues;
    SetCheckBoxToggle(column->CheckBoxToggle());
    SetCheckBoxStyle(column->CheckBoxStyle());
    SetCheckBoxKind(column->CheckBoxKind());
    SetHint(column->Hint());
    SetEditorHint(column->EditorHint());
    SetToolTips(column->ToolTips());
    SetToolTipsWidth(column->ToolTipsWidth());
    SetImages(column->Images());
    d_->transparent = column->d_->transparent;
    SetTransparentColor(column->TransparentColor());
    SetPickText(column->d_->pickText.get());
    SetPickTextFormat(column->PickTextFormat());
    d_->pickOptions = column->d_->pickOptions;
    SetListOptions(column->ListOptions());
    SetSuppressRTL(column->SuppressRTL());
    SetAutoNumber(column->AutoNumber());
    SetDropDownMenu(column->DropDownMenu());
    d_->buttonStyle = column->d_->buttonStyle;
    SetDropDownRows(column->DropDownRows());
    SetDropDownWidth(column->DropDownWidth());
    SetExpandCols(column->ExpandCols());
    SetExpandStyle(column->ExpandStyle());
    SetDialogOptions(column->DialogOptions());
    SetLookupDataSet(column->LookupDataSet());
    SetLookupKeyField(column->LookupKeyField());
    SetLookupListFields(column->LookupListFields());
    SetLookupListTitles(column->LookupListTitles());
    SetLookupListWidths(column->LookupListWidths());
    AssignTotals(column);
    SetEditMemo(column->EditMemo());
    SetCharCase(column->CharCase());
}

QString TKelColumn::DisplayName() const
{
    if (TKelColumn* parent = ParentColumn()) {
        tk::TField* field = Field();
        if (field && field->ParentField())
            return parent->DisplayName() + QLatin1Char('.') + field->FieldName();
    }
    if (!d_->fieldName.isEmpty())
        return d_->fieldName;
    QString caption = d_->title->Caption();
    if (caption.isEmpty())
        return tk::TCollectionItem::DisplayName();
    if (caption.size() > kDisplayCaptionLength)
        caption = caption.left(kDisplayCaptionLength) + QStringLiteral("...");
    return QLatin1Char('(') + caption + QLatin1Char(')');
}

QString TKelColumn::DisplayText() const
{
    tk::TField* field = Field();
    TKelCustomDBGrid* grid = Grid();
    if (!field) {
        // An auto-number column has no field: the grid gives its number.
        return AutoNumber() && grid ? grid->ColGetText(const_cast<TKelColumn*>(this), {}, tkDisplay) : QString();
    }
    const QString text = IsMemo(field) && d_->showBlob ? field->AsString() : field->DisplayText();
    return grid ? grid->ColGetText(const_cast<TKelColumn*>(this), text, tkDisplay) : text;
}

QString TKelColumn::EditText() const
{
    tk::TField* field = Field();
    if (!field)
        return {};
    const QString text = IsMemo(field) && d_->editMemo ? field->AsString() : field->Text();
    TKelCustomDBGrid* grid = Grid();
    return grid ? grid->ColGetText(const_cast<TKelColumn*>(this), text, tkEdit) : text;
}

void TKelColumn::SetEditText(const QString& text)
{
    tk::TField* field = Field();
    if (!field || text == EditText())
        return;
    TKelCustomDBGrid* grid = Grid();
    const QString value = grid ? grid->ColSetText(this, text) : text;
    if (IsMemo(field) && d_->editMemo)
        field->SetAsString(value);
    else
        field->SetText(value);
}

int TKelColumn::ImageIndex() const
{
    if (d_->checkBox)
        return CheckBoxImageIndex();
    tk::TField* field = Field();
    if (!field)
        return -1;
    if (field->DataType() == tk::ftBoolean)
        return field->AsBoolean() ? 1 : 0;
    bool ok = false;
    const int index = field->AsString().trimmed().toInt(&ok);
    return ok ? index : -1;
}

std::unique_ptr<tk::TBitmap> TKelColumn::Image(int index) const
{
    const tk::TImageList* images = d_->images;
    if (!images || index < 0 || index >= images->Count())
        return nullptr;
    auto bitmap = std::make_unique<tk::TBitmap>();
    bitmap->SetSize(images->Width(), images->Height());
    TKelCustomDBGrid* grid = Grid();
    tk::TCanvas* canvas = bitmap->Canvas();
    canvas->Brush()->SetColor(tk::clWhite);
    canvas->FillRect(QRect(0, 0, images->Width(), images->Height()));
    if (grid && !grid->Enabled())
        images->DrawBlended(*canvas, 0, 0, index, grid->FixedColor());
    else
        images->Draw(*canvas, 0, 0, index);
    if (d_->transparentColor != tk::clNone) {
        bitmap->SetTransparentColor(d_->transparentColor);
        bitmap->SetTransparent(true);
    }
    return bitmap;
}

std::unique_ptr<tk::TPicture> TKelColumn::GraphicImage() const
{
    auto* field = qobject_cast<TKelGraphicField*>(Field());
    const QMetaObject* graphicClass = field ? field->GraphicClass() : nullptr;
    // Plain bitmaps are drawn from the field directly.
    if (!graphicClass || graphicClass == &tk::TBitmap::staticMetaObject)
        return nullptr;
    auto picture = std::make_unique<tk::TPicture>();
    try {
        field->SaveToPicture(*picture);
    } catch (const tk::Exception&) {
        return nullptr;  // a damaged value shows no picture
    }
    return picture->Graphic() ? std::move(picture) : nullptr;
}

}  // namespace kelgrid
