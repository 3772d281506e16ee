#include "kelgrid/editors/dbgridinplaceedit.h"

#include "kelgrid/controls/gradient.h"
#include "kelgrid/editors/editorpopup.h"
#include "kelgrid/editors/popupcalculator.h"
#include "kelgrid/editors/popupcalendar.h"
#include "kelgrid/editors/popupdatalist.h"
#include "kelgrid/editors/popupgridlist.h"
#include "kelgrid/editors/popuppicklist.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/core/application.h"
#include "toolkit/core/beep.h"
#include "toolkit/core/strings.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"

#include <QKeyEvent>

namespace kelgrid {

namespace {

bool Has(tk::TShiftState shift, tk::TShiftStateFlag flag)
{
    return shift.testFlag(flag);
}

bool IsStringType(tk::TFieldType type)
{
    return type == tk::ftString || type == tk::ftWideString || type == tk::ftFixedChar ||
           type == tk::ftFixedWideChar;
}

// Opens a closed dataset for the time of a scope and closes it again.
class TOpenForScope {
public:
    explicit TOpenForScope(tk::TDataSet* dataSet) : dataSet_(dataSet->Active() ? nullptr : dataSet)
    {
        if (dataSet_)
            dataSet_->Open();
    }
    ~TOpenForScope()
    {
        if (dataSet_)
            dataSet_->Close();
    }
    TOpenForScope(const TOpenForScope&) = delete;
    TOpenForScope& operator=(const TOpenForScope&) = delete;

private:
    tk::TDataSet* dataSet_;
};

// The popup of class P behind an editor popup slot (nullptr when empty).
template <class P>
P* PopupOf(const std::unique_ptr<TKelEditorPopup>& slot)
{
    return slot ? static_cast<TKelEditorPopupOf<P>*>(slot.get())->Popup() : nullptr;
}

}  // namespace

TKelDBGridInplaceEdit::TKelDBGridInplaceEdit(TKelCustomDBGrid* grid)
    : TKelInplaceEditList(grid), lookupSource_(std::make_unique<tk::TDataSource>())
{
}

TKelDBGridInplaceEdit::~TKelDBGridInplaceEdit()
{
    // Popups are children of the editor; their close-up handlers point here.
    for (auto* popup : {&calendar_, &calculator_, &pickList_, &dataList_, &gridList_})
        if (*popup)
            (*popup)->SetOnCloseUp({});
    // The lists outlive this body (children die with the widget); they let
    // go of the lookup source first, and a lookup opened for them closes.
    if (TKelPopupDataList* list = DataList())
        list->SetListSource(nullptr);
    if (TKelPopupGridList* list = GridList())
        list->SetDataSource(nullptr);
    tk::Guarded([this] { ReleaseLookup(); });
}

TKelColumn* TKelDBGridInplaceEdit::Column() const
{
    return DBGrid()->SelectedColumn();
}

bool TKelDBGridInplaceEdit::ColumnHas(TKelListOption option) const
{
    TKelColumn* column = Column();
    return column && column->ListOptions().testFlag(option);
}

TKelPopupCalendar* TKelDBGridInplaceEdit::Calendar() const
{
    return PopupOf<TKelPopupCalendar>(calendar_);
}

TKelPopupCalculator* TKelDBGridInplaceEdit::Calculator() const
{
    return PopupOf<TKelPopupCalculator>(calculator_);
}

TKelPopupPickList* TKelDBGridInplaceEdit::PickList() const
{
    return PopupOf<TKelPopupPickList>(pickList_);
}

TKelPopupDataList* TKelDBGridInplaceEdit::DataList() const
{
    return PopupOf<TKelPopupDataList>(dataList_);
}

TKelPopupGridList* TKelDBGridInplaceEdit::GridList() const
{
    return PopupOf<TKelPopupGridList>(gridList_);
}

// --- Showing for a cell ------------------------------------------------------------------

void TKelDBGridInplaceEdit::UpdateContents()
{
    TKelCustomDBGrid* grid = DBGrid();
    TKelColumn* column = Column();
    if (PopupVisible())
        CloseList(false);
    SetActiveList(nullptr);
    dataEditor_ = dePickList;
    SetEditStyle(grid->GetEditStyle(column, dataEditor_));
    if (EditStyle() == esPickList)
        MakePopup();
    TakeAppearance();
    tk::TInplaceEdit::UpdateContents();

    // Entering another cell may open its popup at once, unless the cell was
    // entered by a mouse press.
    const QPoint cell(grid->Col(), grid->Row());
    const bool suppressed = mouseNote_ == -1 || mouseNote_ == -2;
    const bool normalState = grid->GridState() == tk::gsNormal || grid->GridState() == tk::gsSelecting;
    if (cell != lastCell_ && !suppressed && normalState) {
        lastCell_ = cell;
        if (ColumnHas(loAutoDropDown) && EditStyle() != esSimple)
            PostKey(Qt::Key_F2);
    }
}

void TKelDBGridInplaceEdit::MakePopup()
{
    TKelCustomDBGrid* grid = DBGrid();
    TKelEditorPopup* active = nullptr;
    switch (dataEditor_) {
    case deCalendar:
        if (!calendar_)
            calendar_ = MakeEditorPopup(new TKelPopupCalendar(this));
        active = calendar_.get();
        break;
    case deCalculator:
        if (!calculator_)
            calculator_ = MakeEditorPopup(new TKelPopupCalculator(this));
        active = calculator_.get();
        break;
    case dePickList:
        // Only a pick-list style has a list of texts to drop; a column with
        // pick data but another button style has none.
        if (EditStyle() != esPickList)
            break;
        if (!pickList_) {
            auto* list = new TKelPopupPickList(this);
            list->SetGrid(grid);
            pickList_ = MakeEditorPopup(list);
        }
        active = pickList_.get();
        break;
    case deDataList:
        if (!dataList_) {
            auto* list = new TKelPopupDataList(this);
            list->SetGrid(grid);
            dataList_ = MakeEditorPopup(list);
        }
        active = dataList_.get();
        break;
    case deGridList:
        if (!gridList_)
            gridList_ = MakeEditorPopup(new TKelPopupGridList(this));
        active = gridList_.get();
        break;
    }
    SetActiveList(active);
}

void TKelDBGridInplaceEdit::TakeAppearance()
{
    TKelCustomDBGrid* grid = DBGrid();
    TKelColumn* column = Column();
    tk::TColor color = grid->EditorColor();
    if (color == tk::clDefault)
        color = grid->DefaultEditorColor();
    else if (color == tk::clNone)
        color = tk::clWindow;
    SetColor(color);
    if (column) {
        SetCharCase(column->CharCase());
        SetReadOnly(column->ReadOnly() || column->PickOptions().testFlag(poDropDownList));
        SetFont(column->Font());
        setLayoutDirection(grid->UseRightToLeftAlignment() ? Qt::RightToLeft : Qt::LeftToRight);
    }
    if (TKelPopupCalendar* calendar = Calendar(); calendar && dataEditor_ == deCalendar) {
        calendar->SetShowToday(ColumnHas(loShowToday));
        calendar->SetShowTodayCircle(ColumnHas(loShowTodayCircle));
        calendar->SetWeekNumbers(ColumnHas(loShowWeekNumbers));
        calendar->SetCloseOnToday(ColumnHas(loAutoTodayClose));
        calendar->SetColor(grid->EditorColor() == tk::clNone ? grid->FixedColor() : color);
        calendar->BoldDaysHandler = [grid] { return grid->OnCalcBoldDays; };
    }
    if (TKelPopupCalculator* calculator = Calculator(); calculator && dataEditor_ == deCalculator) {
        calculator->SetGradient(grid->Gradient());
        calculator->SetListBorder(grid->ListBorderStyle());
        calculator->SetColor(grid->EditorColor() == tk::clNone ? grid->FixedColor() : color);
        calculator->SetFont(column ? column->Font() : grid->Font());
    }
    TakeHint();
    if (TKelPopupPickList* list = PickList(); list && ActiveList() == pickList_.get())
        list->SetOwnerDrawn(grid->OptionsExt().testFlag(dgGridStyleLists));
    if (TKelPopupGridList* list = GridList(); list && dataEditor_ == deGridList)
        list->TakeAppearance(grid, column);
}

void TKelDBGridInplaceEdit::TakeHint()
{
    // The column's editor hint (the grid's handler may change it), or the
    // grid's main hint; shown while the grid shows hints, unless the grid
    // keeps editor hints for its cells only.
    TKelCustomDBGrid* grid = DBGrid();
    TKelColumn* column = Column();
    const TKelHintOptions options = grid->HintOptions();
    QString hint = grid->Hint();
    if (options.testFlag(hoEditorHints) && column) {
        hint = column->EditorHint();
        grid->CellHint(column, grid->Row(), hcEditor, hint);
    }
    SetHint(hint);
    SetShowHint(grid->ShowHint() && (options.testFlag(hoEditorHints) || !options.testFlag(hoShowEditorHints)));
}

// --- Opening and closing ----------------------------------------------------------------

TKelInplaceEditList::TListGeometry TKelDBGridInplaceEdit::PrepareList()
{
    TListGeometry geometry = TKelInplaceEditList::PrepareList();
    TKelColumn* column = Column();
    const TDropDownLimits limits{column ? column->DropDownRows() : 0, column ? column->DropDownWidth() : 0,
                                 width()};
    switch (dataEditor_) {
    case deCalendar:
        if (TKelPopupCalendar* calendar = Calendar()) {
            calendar->SetInitialText(Text());
            geometry.size = calendar->WantedSize();
        }
        break;
    case deCalculator:
        if (TKelPopupCalculator* calculator = Calculator()) {
            calculator->SetInitialText(Text());
            geometry.size = calculator->sizeHint();
        }
        break;
    case dePickList:
        if (TKelPopupPickList* list = PickList(); list && column) {
            list->SetColor(Color());
            list->SetFont(Font());
            list->Items()->Assign(column->PickData());
            geometry.rowHeight = list->Prepare(limits, Text());
            geometry.size = list->size();
            geometry.ownerDrawnList = list->OwnerDrawn();
        }
        break;
    case deDataList:
        if (TKelPopupDataList* list = DataList()) {
            const TLookup lookup = AttachLookup();
            list->SetKeyField(lookup.keyFields);
            list->SetListField(lookup.listFields);
            list->SetListSource(lookupSource_.get());
            geometry.rowHeight = list->Prepare(limits);
            list->SetKeyValue(lookup.keyValue);
            geometry.size = list->size();
        }
        break;
    case deGridList:
        if (TKelPopupGridList* list = GridList()) {
            const TLookup lookup = AttachLookup();
            list->SetListFields(lookup.listFields);
            list->SetListTitles(lookup.listTitles);
            list->SetListWidths(lookup.listWidths);
            list->SetKeyFields(lookup.keyFields);
            list->SetSearchField(lookup.searchField);
            list->TakeAppearance(DBGrid(), column);
            list->SetDataSource(lookupSource_.get());
            geometry.rowHeight = list->Prepare(limits);
            list->SetKeyValue(lookup.keyValue);
            geometry.size = list->size();
        }
        break;
    }
    return geometry;
}

TKelDBGridInplaceEdit::TLookup TKelDBGridInplaceEdit::AttachLookup()
{
    TLookup lookup;
    if (!FindLookup(lookup))
        return lookup;
    if (!lookup.dataSet->Active()) {
        lookup.dataSet->Open();
        openedLookup_ = lookup.dataSet;
    }
    lookupSource_->SetDataSet(lookup.dataSet);
    return lookup;
}

void TKelDBGridInplaceEdit::OpenList()
{
    if (PopupVisible())
        return;
    // A lookup popup needs its lookup dataset; without one nothing opens.
    TLookup lookup;
    if ((dataEditor_ == deDataList || dataEditor_ == deGridList) && !FindLookup(lookup)) {
        tk::Beep();
        return;
    }
    TKelInplaceEditList::OpenList();
}

void TKelDBGridInplaceEdit::CloseList(bool accept)
{
    if (!PopupVisible())
        return;
    const QPointer<TKelDBGridInplaceEdit> self(this);
    tk::Variant value;
    switch (dataEditor_) {
    case deCalendar:
        if (TKelPopupCalendar* calendar = Calendar())
            value = calendar->ResultText();
        break;
    case deCalculator:
        if (TKelPopupCalculator* calculator = Calculator(); calculator && accept) {
            QString text;
            if (calculator->ResultText(text))
                value = text;
            else
                accept = false;
        }
        break;
    case dePickList:
        if (TKelPopupPickList* list = PickList(); list && list->ItemIndex() >= 0)
            value = list->Items()->Strings(list->ItemIndex());
        else
            accept = false;
        break;
    case deDataList:
        if (TKelPopupDataList* list = DataList())
            value = list->KeyValue();
        break;
    case deGridList:
        if (TKelPopupGridList* list = GridList())
            value = list->KeyValue();
        break;
    }
    TKelEditorPopup* list = ActiveList();
    TKelInplaceEditList::CloseList(accept);
    DBGrid()->ListCloseUp(list ? list->Widget() : nullptr, value, accept);
    if (!self)
        return;
    DetachLists();
    ReleaseLookup();
    if (accept)
        ApplyValue(value);
}

void TKelDBGridInplaceEdit::DetachLists()
{
    if (TKelPopupGridList* list = GridList(); list && dataEditor_ == deGridList)
        if (TKelColumn* column = Column())
            list->WriteBack(column);
    if (TKelPopupDataList* list = DataList())
        list->SetListSource(nullptr);
    if (TKelPopupPickList* list = PickList())
        list->Items()->Clear();
}

void TKelDBGridInplaceEdit::ReleaseLookup()
{
    lookupSource_->SetDataSet(nullptr);
    if (tk::TDataSet* dataSet = openedLookup_) {
        openedLookup_ = nullptr;
        dataSet->Close();
    }
}

bool TKelDBGridInplaceEdit::AutoCloseEditor() const
{
    return !DBGrid()->Options().testFlag(dgAlwaysShowEditor) && ColumnHas(loAutoCloseEditor);
}

bool TKelDBGridInplaceEdit::F2ClosesAsChoice() const
{
    return ColumnHas(loAutoDropDown);
}

bool TKelDBGridInplaceEdit::ListTakesWheel() const
{
    return dataEditor_ == dePickList || dataEditor_ == deDataList || dataEditor_ == deGridList;
}

void TKelDBGridInplaceEdit::ButtonClick()
{
    TKelColumn* column = Column();
    if (OnButtonClick) {
        OnButtonClick(DBGrid());
        return;
    }
    if (column && column->ButtonStyle() == cbsDropDownMenu && DBGrid()->DropDownMenu(column, false))
        return;
    DBGrid()->EditButtonClick();
}

// --- Applying a value ----------------------------------------------------------------------

void TKelDBGridInplaceEdit::ApplyValue(const tk::Variant& value, bool textOnly)
{
    TKelCustomDBGrid* grid = DBGrid();
    TKelColumn* column = Column();
    tk::TField* field = column ? column->Field() : nullptr;
    if (!field)
        return;
    if (field->Lookup()) {
        tk::TDataSet* dataSet = field->DataSet();
        tk::TField* key = dataSet ? dataSet->FindField(field->KeyFields()) : nullptr;
        if (!key || !key->CanModify() || !grid->DataLink()->Edit())
            return;
        // An empty choice clears the key: Null, which every key type takes.
        if (value.IsString() && value.ToString().isEmpty())
            key->Clear();
        else if (value.IsString())
            key->SetText(value.ToString());
        else
            key->SetValue(value);
        grid->ReloadEditor();
        return;
    }
    const QString text = value.IsEmptyOrNull() ? QString() : value.ToString();
    if (textOnly) {
        SetText(text);
        SetModified(true);
        grid->SetEditText(grid->Col(), grid->Row(), text);
        return;
    }
    // A drop-down-only column keeps the editor read-only against typing;
    // a value chosen from its list is the way it changes, so the grid
    // alone decides.
    if (grid->CanEditModify()) {
        column->SetEditText(text);
        grid->ReloadEditor();
    }
}

// --- Lookups -----------------------------------------------------------------------------

bool TKelDBGridInplaceEdit::FindLookup(TLookup& lookup) const
{
    TKelColumn* column = Column();
    tk::TField* field = column ? column->Field() : nullptr;
    if (!field)
        return false;
    if (field->Lookup()) {
        lookup.dataSet = field->LookupDataSet();
        lookup.keyFields = field->LookupKeyFields();
        lookup.listFields = field->LookupResultField();
        lookup.searchField = field->LookupResultField();
        if (tk::TDataSet* dataSet = field->DataSet())
            lookup.keyValue = dataSet->FieldValues(field->KeyFields());
        return lookup.dataSet != nullptr;
    }
    if (!column->LookupDataSet() || column->LookupKeyField().isEmpty())
        return false;
    lookup.dataSet = column->LookupDataSet();
    lookup.keyFields = column->LookupKeyField();
    lookup.listFields = column->LookupListFields().isEmpty() ? lookup.keyFields : column->LookupListFields();
    lookup.listTitles = column->LookupListTitles();
    lookup.listWidths = column->LookupListWidths();
    lookup.searchField = lookup.keyFields;
    lookup.keyValue = field->Value();
    return true;
}

// --- Value stepping, clearing, auto-completion -----------------------------------------

bool TKelDBGridInplaceEdit::SelectNextValue(bool forward)
{
    TKelColumn* column = Column();
    if (!column || !ColumnHas(loSelectNextValue))
        return false;
    if (column->PickDataActive()) {
        tk::TStrings* items = column->PickData();
        const int count = items->Count();
        if (count == 0)
            return true;
        int index = items->IndexOf(Text());
        index = index < 0 ? (forward ? 0 : count - 1) : (index + (forward ? 1 : count - 1)) % count;
        ApplyValue(items->Strings(index));
        SelectAll();
        return true;
    }
    TLookup lookup;
    if (!FindLookup(lookup))
        return false;
    const TOpenForScope open(lookup.dataSet);
    tk::TDataSet& dataSet = *lookup.dataSet;
    if (dataSet.IsEmpty())
        return true;
    if (!lookup.keyValue.IsEmptyOrNull() && dataSet.Locate(lookup.keyFields, lookup.keyValue)) {
        forward ? dataSet.Next() : dataSet.Prior();
        if (forward ? dataSet.Eof() : dataSet.Bof())
            forward ? dataSet.First() : dataSet.Last();
    } else {
        forward ? dataSet.First() : dataSet.Last();
    }
    ApplyValue(dataSet.FieldValues(lookup.keyFields));
    SelectAll();
    return true;
}

bool TKelDBGridInplaceEdit::ClearValue()
{
    // Only a popup that lists choices knows the empty one: lookups, and
    // pick lists the user may only choose from.
    TKelColumn* column = Column();
    if (!column || !ColumnHas(loAllowClearValue) || !ActiveList() || !column->Field())
        return false;
    const bool pickOnly = dataEditor_ == dePickList && column->PickOptions().testFlag(poDropDownList);
    if (!column->Field()->Lookup() && !pickOnly)
        return false;
    if (!Text().isEmpty() && SelLength() == Text().size())
        ApplyValue(QString());
    return true;
}

bool TKelDBGridInplaceEdit::AutoComplete(QChar& key)
{
    TKelColumn* column = Column();
    if (!column || !ColumnHas(loAutoComplete))
        return false;
    const bool modifiable = CanModify();
    if (key == u'\b') {
        if (modifiable || SelStart() == 0)
            return false;
        // A read-only editor: Backspace widens the completed tail.
        const int end = SelStart() + SelLength();
        int start = SelStart() - 1;
        if (start > 0 && Text().at(start).isLowSurrogate())
            --start;
        setSelection(end, start - end);
        key = QChar();
        return true;
    }
    if (key.unicode() <= 31)
        return false;
    if (modifiable && SelLength() == 0 && SelStart() < Text().size())
        return false;
    const QString prefix = Text().left(SelStart()) + key;
    if (Text().startsWith(prefix, Qt::CaseInsensitive)) {
        setSelection(Text().size(), prefix.size() - Text().size());
        key = QChar();
        return true;
    }
    if (column->PickDataActive()) {
        tk::TStrings* items = column->PickData();
        for (int i = 0; i < items->Count(); ++i) {
            const QString item = items->Strings(i);
            if (!item.startsWith(prefix, Qt::CaseInsensitive))
                continue;
            ApplyValue(item, true);
            setSelection(item.size(), prefix.size() - item.size());
            key = QChar();
            return true;
        }
        return false;
    }
    TLookup lookup;
    if (!FindLookup(lookup))
        return false;
    const TOpenForScope open(lookup.dataSet);
    tk::TField* search = lookup.dataSet->FindField(lookup.searchField);
    if (!search || !IsStringType(search->DataType()) || search->Size() < prefix.size())
        return false;
    if (!lookup.dataSet->Locate(lookup.searchField, prefix, tk::TLocateOptions(tk::loCaseInsensitive | tk::loPartialKey)))
        return false;
    const QString found = search->AsString();
    const tk::Variant keyValue = lookup.dataSet->FieldValues(lookup.keyFields);
    if (column->Field()->Lookup()) {
        // The key goes into the key field; the cell shows the found name.
        ApplyValue(keyValue);
        setSelection(Text().size(), prefix.size() - Text().size());
    } else {
        ApplyValue(keyValue.ToString(), true);
        setSelection(found.size(), prefix.size() - found.size());
    }
    key = QChar();
    return true;
}

// --- Keys and mouse ------------------------------------------------------------------------

void TKelDBGridInplaceEdit::KeyDown(int& key, tk::TShiftState shift)
{
    const bool plain = !Has(shift, tk::ssAlt) && !Has(shift, tk::ssCtrl);
    if (plain && (key == tk::VK_ADD || key == tk::VK_SUBTRACT) && !PopupVisible() &&
        SelectNextValue(key == tk::VK_ADD)) {
        key = 0;
        return;
    }
    if (plain && key == tk::VK_DELETE && ClearValue()) {
        key = 0;
        return;
    }
    TKelInplaceEditList::KeyDown(key, shift);
}

void TKelDBGridInplaceEdit::KeyPress(QChar& key)
{
    const QPointer<TKelDBGridInplaceEdit> self(this);
    if (!AutoComplete(key) && self)
        TKelInplaceEditList::KeyPress(key);
    if (self && !DBGrid()->EditorMode())
        mouseNote_ = 0;
}

void TKelDBGridInplaceEdit::DblClick()
{
    if (SelectNextValue(true))
        return;
    TKelInplaceEditList::DblClick();
}

void TKelDBGridInplaceEdit::NoteMouse(int state, const QPoint& cell)
{
    if (state == -3) {
        if (mouseNote_ == -2)
            lastCell_ = cell;
        if (mouseNote_ == -2)
            mouseNote_ = 0;
        return;
    }
    mouseNote_ = state;
}

}  // namespace kelgrid
