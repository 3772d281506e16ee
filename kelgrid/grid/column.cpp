// TKelColumn: construction, the plain settings, field binding, change
// reporting and the free notification of what the column refers to.

#include "kelgrid/grid/column.h"

#include "kelgrid/grid/column_p.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "toolkit/core/strings.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/popupmenu.h"

#include <QScopeGuard>

namespace kelgrid {

void ObserveComponent(QObject* observer, QObject* old, QObject* now, std::function<void(QObject*)> onFree)
{
    if (old == now)
        return;
    if (tk::TComponentCore* core = old ? tk::CoreOf(old) : nullptr)
        core->RemoveFreeNotification(observer);
    if (tk::TComponentCore* core = now ? tk::CoreOf(now) : nullptr)
        core->FreeNotification(observer, [onFree = std::move(onFree)](tk::TComponentCore* going) {
            onFree(going->ComponentObject());
        });
}

TKelColumn::TKelColumn(tk::TCollection* collection)
    : tk::TCollectionItem(collection), d_(std::make_unique<TKelColumnPrivate>())
{
    TKelCustomDBGrid* grid = Grid();
    if (grid)
        grid->BeginLayout();
    auto endLayout = qScopeGuard([grid] {
        if (grid)
            grid->EndLayout();
    });
    d_->font = new tk::TFont(this);
    if (tk::TFont* defaultFont = DefaultFont(); defaultFont && defaultFont != d_->font)
        d_->font->Assign(defaultFont);
    d_->font->OnChange = [this] { FontChanged(); };
    d_->title = CreateTitle();
    d_->totalHeader = CreateTotalHeader();
    d_->totalValues = CreateTotalValues();
    d_->totalFields = CreateTotalFields();
    d_->totalFooter = CreateTotalFooter();
}

TKelColumn::~TKelColumn()
{
    if (TKelDBGridColumns* columns = Columns())
        columns->RemoveFromOrder(this);
    for (QObject* component :
         {static_cast<QObject*>(d_->field.data()), static_cast<QObject*>(d_->popupMenu.data()),
          static_cast<QObject*>(d_->dropDownMenu.data()), static_cast<QObject*>(d_->images.data()),
          static_cast<QObject*>(d_->lookupDataSet.data())})
        if (tk::TComponentCore* core = component ? tk::CoreOf(component) : nullptr)
            core->RemoveFreeNotification(this);
    d_->font->OnChange = nullptr;
}

TKelColumnTitle* TKelColumn::CreateTitle()
{
    return new TKelColumnTitle(this);
}

TKelDBGridColumns* TKelColumn::Columns() const
{
    return qobject_cast<TKelDBGridColumns*>(Collection());
}

TKelCustomDBGrid* TKelColumn::Grid() const
{
    TKelDBGridColumns* columns = Columns();
    return columns ? columns->Grid() : nullptr;
}

bool TKelColumn::Stored() const
{
    return d_->stored;
}

void TKelColumn::SetStored(bool stored)
{
    d_->stored = stored;
}

TKelColumnValues TKelColumn::AssignedValues() const
{
    return d_->assignedValues;
}

void TKelColumn::ReportChange(bool allColumns)
{
    TKelCustomDBGrid* grid = Grid();
    if (grid && grid->HasState(tk::TComponentStateFlag::csLoading))
        return;
    Changed(allColumns);
}

// --- Observed components --------------------------------------------------------

void TKelColumn::Observe(QObject* old, QObject* now)
{
    // The same component may sit in two properties: keep its link while
    // any of them still names it.
    const bool stillUsed = old && (old == d_->field || old == d_->popupMenu || old == d_->dropDownMenu ||
                                   old == d_->images || old == d_->lookupDataSet);
    ObserveComponent(this, stillUsed ? nullptr : old, now, [this](QObject* going) { Forget(going); });
}

void TKelColumn::Forget(QObject* component)
{
    if (component == d_->popupMenu)
        SetPopupMenu(nullptr);
    if (component == d_->dropDownMenu)
        SetDropDownMenu(nullptr);
    if (component == d_->images)
        SetImages(nullptr);
    if (component == d_->lookupDataSet)
        SetLookupDataSet(nullptr);
    if (component != d_->field)
        return;
    // A freed field unbinds the column. The field is told while it still
    // sits in its dataset's lists, so the grid must not lay out now (it
    // would map the dying field again): the dataset reports its field list
    // once the field has left, and the grid lays out then. A field of no
    // dataset is gone at once.
    TKelCustomDBGrid* grid = Grid();
    tk::TField* field = d_->field;
    tk::TDataSet* dataSet = field->DataSet();
    const bool relayout = !dataSet || dataSet->FieldList().IndexOf(field) < 0;
    auto unbind = [this] {
        SetField(nullptr);
        if (!d_->stored) {
            // A dataset-made column exists for its field only.
            d_->fieldName.clear();
            RestoreDefaults();
        }
    };
    if (!grid) {
        unbind();
        return;
    }
    grid->BeginLayout();
    unbind();
    if (relayout)
        grid->EndLayout();
    else
        grid->CancelLayout();
}

// --- Field binding ----------------------------------------------------------------

QString TKelColumn::FieldName() const
{
    return d_->fieldName;
}

void TKelColumn::SetFieldName(const QString& name)
{
    tk::TField* field = nullptr;
    TKelCustomDBGrid* grid = Grid();
    tk::TDataSet* dataSet = grid ? grid->DataSource() ? grid->DataSource()->DataSet() : nullptr : nullptr;
    if (dataSet && !grid->HasState(tk::TComponentStateFlag::csLoading) && !name.isEmpty())
        field = dataSet->FindField(name);
    d_->fieldName = name;
    SetField(field);
    ReportChange(true);
}

tk::TField* TKelColumn::Field() const
{
    if (d_->field || d_->fieldName.isEmpty())
        return d_->field;
    TKelCustomDBGrid* grid = Grid();
    tk::TDataSet* dataSet = grid && grid->DataSource() ? grid->DataSource()->DataSet() : nullptr;
    if (dataSet && (dataSet->Active() || dataSet->HasPersistentFields())) {
        tk::TField* field = dataSet->FindField(d_->fieldName);
        if (field && !field->HasState(tk::TComponentStateFlag::csDestroying))
            const_cast<TKelColumn*>(this)->SetField(field);
    }
    return d_->field;
}

void TKelColumn::SetField(tk::TField* field)
{
    if (field && field->HasState(tk::TComponentStateFlag::csDestroying))
        field = nullptr;
    if (field == d_->field)
        return;
    tk::TField* old = d_->field;
    d_->field = field;
    Observe(old, field);
    if (field)
        d_->fieldName = field->FullName();
}

// --- Plain settings -------------------------------------------------------------------
// Each setter ignores an unchanged value, stores it and reports the column
// (or, where the layout depends on it, everything).

namespace {

template <typename T> bool Change(T& member, const T& value)
{
    if (member == value)
        return false;
    member = value;
    return true;
}

}  // namespace

#define KEL_COLUMN_SETTING(Type, Name, member, allColumns)                                                   \
    Type TKelColumn::Name() const                                                                            \
    {                                                                                                        \
        return d_->member;                                                                                   \
    }                                                                                                        \
    void TKelColumn::Set##Name(Type value)                                                                   \
    {                                                                                                        \
        if (Change(d_->member, value))                                                                       \
            ReportChange(allColumns);                                                                        \
    }

KEL_COLUMN_SETTING(bool, AutoNumber, autoNumber, true)
KEL_COLUMN_SETTING(TKelColumnButtonStyle, ButtonStyle, buttonStyle, false)
KEL_COLUMN_SETTING(tk::TEditCharCase, CharCase, charCase, false)
KEL_COLUMN_SETTING(TCheckBoxKind, CheckBoxKind, checkBoxKind, false)
KEL_COLUMN_SETTING(TCheckBoxStyle, CheckBoxStyle, checkBoxStyle, false)
KEL_COLUMN_SETTING(TDialogOptions, DialogOptions, dialogOptions, false)
KEL_COLUMN_SETTING(bool, EditMemo, editMemo, false)
KEL_COLUMN_SETTING(bool, Ellipsis, ellipsis, false)
KEL_COLUMN_SETTING(TKelColumnExpandStyle, ExpandStyle, expandStyle, true)
KEL_COLUMN_SETTING(int, ImageOffsetX, imageOffsetX, false)
KEL_COLUMN_SETTING(int, ImageOffsetY, imageOffsetY, false)
KEL_COLUMN_SETTING(bool, QuickDraw, quickDraw, false)
KEL_COLUMN_SETTING(bool, ShowBlob, showBlob, false)
KEL_COLUMN_SETTING(bool, ShowEdit, showEdit, true)
KEL_COLUMN_SETTING(bool, SuppressRTL, suppressRTL, false)
KEL_COLUMN_SETTING(bool, ToolTips, toolTips, false)
KEL_COLUMN_SETTING(TToolTipsWidth, ToolTipsWidth, toolTipsWidth, false)
KEL_COLUMN_SETTING(bool, Transparent, transparent, false)
KEL_COLUMN_SETTING(tk::TColor, TransparentColor, transparentColor, false)
KEL_COLUMN_SETTING(TVAlignment, VAlignment, vAlignment, false)
KEL_COLUMN_SETTING(bool, Wallpaper, wallpaper, false)
KEL_COLUMN_SETTING(bool, WordWrap, wordWrap, false)

#undef KEL_COLUMN_SETTING

// The read-only settings the popups and the painter read, without a side
// effect on the grid.
#define KEL_COLUMN_FIELD(Type, Name, member)                                                                 \
    Type TKelColumn::Name() const                                                                            \
    {                                                                                                        \
        return d_->member;                                                                                   \
    }                                                                                                        \
    void TKelColumn::Set##Name(Type value)                                                                   \
    {                                                                                                        \
        d_->member = value;                                                                                  \
    }

KEL_COLUMN_FIELD(TCheckBoxToggle, CheckBoxToggle, checkBoxToggle)
KEL_COLUMN_FIELD(TKelListOptions, ListOptions, listOptions)

#undef KEL_COLUMN_FIELD

#define KEL_COLUMN_TEXT(Name, member)                                                                        \
    QString TKelColumn::Name() const                                                                         \
    {                                                                                                        \
        return d_->member;                                                                                   \
    }                                                                                                        \
    void TKelColumn::Set##Name(const QString& value)                                                         \
    {                                                                                                        \
        if (Change(d_->member, value))                                                                       \
            ReportChange(false);                                                                             \
    }

KEL_COLUMN_TEXT(EditorHint, editorHint)
KEL_COLUMN_TEXT(Hint, hint)
KEL_COLUMN_TEXT(LookupKeyField, lookupKeyField)
KEL_COLUMN_TEXT(LookupListFields, lookupListFields)
KEL_COLUMN_TEXT(LookupListTitles, lookupListTitles)
KEL_COLUMN_TEXT(LookupListWidths, lookupListWidths)

#undef KEL_COLUMN_TEXT

int TKelColumn::DropDownRows() const
{
    return d_->dropDownRows;
}

void TKelColumn::SetDropDownRows(int rows)
{
    if (Change(d_->dropDownRows, rows))
        ReportChange(false);
}

int TKelColumn::DropDownWidth() const
{
    return d_->dropDownWidth;
}

void TKelColumn::SetDropDownWidth(int width)
{
    if (Change(d_->dropDownWidth, width))
        ReportChange(false);
}

TImageDraw TKelColumn::ImageDraw() const
{
    return d_->imageDraw;
}

void TKelColumn::SetImageDraw(TImageDraw draw)
{
    // A check box is drawn where the image would go: no tiling or stretching.
    if (d_->checkBox && draw > idCenter)
        draw = idCenter;
    if (Change(d_->imageDraw, draw))
        ReportChange(false);
}

tk::TPopupMenu* TKelColumn::PopupMenu() const
{
    return d_->popupMenu;
}

void TKelColumn::SetPopupMenu(tk::TPopupMenu* menu)
{
    if (!Repoint(d_->popupMenu, menu, [this](QObject* old, QObject* now) { Observe(old, now); }))
        return;
}

tk::TPopupMenu* TKelColumn::DropDownMenu() const
{
    return d_->dropDownMenu;
}

void TKelColumn::SetDropDownMenu(tk::TPopupMenu* menu)
{
    if (!Repoint(d_->dropDownMenu, menu, [this](QObject* old, QObject* now) { Observe(old, now); }))
        return;
    if (menu && d_->buttonStyle == cbsAuto)
        d_->buttonStyle = cbsDropDownMenu;
    else if (!menu && d_->buttonStyle == cbsDropDownMenu)
        d_->buttonStyle = cbsAuto;
    ReportChange(false);
}

tk::TImageList* TKelColumn::Images() const
{
    return d_->images;
}

void TKelColumn::SetImages(tk::TImageList* images)
{
    if (!Repoint(d_->images, images, [this](QObject* old, QObject* now) { Observe(old, now); }))
        return;
    // A list without a background colour is meant to show through.
    TKelCustomDBGrid* grid = Grid();
    if (images && images->BkColor() == tk::clNone && grid &&
        grid->HasState(tk::TComponentStateFlag::csDesigning))
        d_->transparent = true;
    ReportChange(false);
}

tk::TDataSet* TKelColumn::LookupDataSet() const
{
    return d_->lookupDataSet;
}

void TKelColumn::SetLookupDataSet(tk::TDataSet* dataSet)
{
    if (!Repoint(d_->lookupDataSet, dataSet, [this](QObject* old, QObject* now) { Observe(old, now); }))
        return;
}

TKelColumnTitle* TKelColumn::Title() const
{
    return d_->title;
}

void TKelColumn::SetTitle(TKelColumnTitle* title)
{
    if (title && title != d_->title)
        d_->title->Assign(title);
}

bool TKelColumn::CanEditShow() const
{
    return d_->showEdit && !d_->checkBox && !d_->autoNumber;
}

bool TKelColumn::CanCellTrack() const
{
    return d_->checkBox;
}

}  // namespace kelgrid
