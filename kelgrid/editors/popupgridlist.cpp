#include "kelgrid/editors/popupgridlist.h"

#include "kelgrid/editors/listborder.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/gridstyle.h"
#include "kelgrid/grid/orderfields.h"
#include "kelgrid/grid/scrollprop.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/core/application.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/popupbehaviour.h"
#include "toolkit/ui/sysinfo.h"

#include <QKeyEvent>
#include <QScopeGuard>
#include <QStringList>

namespace kelgrid {

namespace {

const QString kSeparator = QStringLiteral(";");

// A trailing separator gets one more, so that it makes one more part.
QString WithTrailingPart(const QString& text)
{
    return text.endsWith(kSeparator) ? text + kSeparator : text;
}

}  // namespace

TKelPopupGridList::TKelPopupGridList(QWidget* owner)
    : TKelCustomDBGrid(owner), behaviour_(std::make_unique<tk::TPopupBehaviour>(this))
{
    ApplyListBorder(*this, nullptr);
    SetScrollBars(tk::ssVertical);
    SetReadOnly(true);
    behaviour_->OnOutsidePress = [this](QWidget*) { CloseUp(false); };
    behaviour_->OnAssociateLost = [this] { CloseUp(false); };
}

TKelPopupGridList::~TKelPopupGridList()
{
    Destroying();
}

QWidget* TKelPopupGridList::Associate() const
{
    return behaviour_->Associate();
}

void TKelPopupGridList::SetAssociate(QWidget* editor)
{
    behaviour_->SetAssociate(editor);
}

// --- Key value and list texts -----------------------------------------------

tk::Variant TKelPopupGridList::KeyValue() const
{
    const tk::TDataSet* dataSet = DataSet();
    if (!dataSet || KeyFields().isEmpty())
        return tk::Variant::NullValue();
    return dataSet->FieldValues(KeyFields());
}

bool TKelPopupGridList::SetKeyValue(const tk::Variant& value)
{
    tk::TDataSet* dataSet = DataSet();
    return dataSet && !KeyFields().isEmpty() && dataSet->Locate(KeyFields(), value);
}

QString TKelPopupGridList::ListFields() const
{
    QStringList names;
    for (int i = 0; i < Columns()->Count(); ++i)
        names << Columns()->Items(i)->FieldName();
    return names.join(kSeparator);
}

void TKelPopupGridList::SetListFields(const QString& fields)
{
    if (fields == listFields_)
        return;
    listFields_ = fields;
    listTitles_.clear();
    listWidths_.clear();
    BeginLayout();
    auto endLayout = qScopeGuard([this] { EndLayout(); });
    Columns()->Clear();
    QString rest = WithTrailingPart(fields);
    while (!rest.isEmpty()) {
        const QString name = ScanStr(rest, kSeparator).trimmed();
        TKelColumn* column = Columns()->Add();
        column->Title()->SetAlignment(tk::taCenter);
        if (name.isEmpty()) {
            column->SetAutoNumber(true);
            column->SetAlignment(tk::taRightJustify);
            column->SetSuppressRTL(true);
            column->Title()->SetCaption(DefAutoNumberTitle);
        } else {
            column->SetFieldName(name);
        }
    }
}

QString TKelPopupGridList::ListTitles() const
{
    QStringList captions;
    for (int i = 0; i < Columns()->Count(); ++i)
        captions << Columns()->Items(i)->Title()->Caption();
    return captions.join(kSeparator);
}

void TKelPopupGridList::SetListTitles(const QString& titles)
{
    if (titles == listTitles_)
        return;
    listTitles_ = titles;
    QString rest = WithTrailingPart(titles);
    for (int i = 0; i < Columns()->Count() && !rest.isEmpty(); ++i)
        Columns()->Items(i)->Title()->SetCaption(ScanStr(rest, kSeparator));
}

QString TKelPopupGridList::ListWidths() const
{
    QStringList widths;
    for (int i = 0; i < Columns()->Count(); ++i)
        widths << QString::number(Columns()->Items(i)->WidthBase());
    return widths.join(kSeparator);
}

void TKelPopupGridList::SetListWidths(const QString& widths)
{
    if (widths == listWidths_)
        return;
    listWidths_ = widths;
    QString rest = widths;
    for (int i = 0; i < Columns()->Count() && !rest.isEmpty(); ++i) {
        TKelColumn* column = Columns()->Items(i);
        column->SetWidthBase(ScanInt(rest, column->WidthBase(), kSeparator));
    }
}

void TKelPopupGridList::SetSearchField(const QString& name)
{
    if (name == searchField_)
        return;
    searchField_ = name;
    search_.Clear();
}

// --- Appearance -------------------------------------------------------------

void TKelPopupGridList::TakeAppearance(TKelCustomDBGrid* owner, TKelColumn* column)
{
    Q_ASSERT(owner && column);
    owner_ = owner;
    BeginLayout();
    auto endLayout = qScopeGuard([this] { EndLayout(); });

    SetDataColLineColor(tk::clNone);
    SetDataRowLineColor(tk::clDefault);
    SetGradient(owner->Gradient());
    GridStyle()->Assign(owner->GridStyle());
    GridStyle()->SetTitleRowSpace(GridStyle()->DataRowSpace() + 1);
    SetFixedColor(owner->FixedColor());
    SetFixedStyle(owner->FixedStyle());
    SetFixedTheme(owner->FixedTheme());
    SetHighlightText(owner->HighlightText());
    SetHotButtons(owner->HotButtons());
    SetImeMode(owner->ImeMode());
    SetListBorder(owner->ListBorder());
    SetMarkerStyle(owner->MarkerStyle());
    SetMarkerTransparent(owner->MarkerTransparent());
    ScrollProp()->Assign(owner->ScrollProp());
    SetSelectRowColor(owner->SelectRowColor());
    SetSelectCellColor(owner->SelectCellColor() == tk::clNone ? tk::clDefault : owner->SelectCellColor());
    SetSelectionColor(owner->SelectionColor());
    SetShowHint(owner->ShowHint());
    SetStretchWidthMin(owner->StretchWidthMin());
    SetStretchWidthMax(owner->StretchWidthMax());
    SetTitleFont(owner->TitleFont());
    SetFont(owner->Font());
    setLayoutDirection(owner->layoutDirection());
    SetFocusRect(frNone);
    ApplyListBorder(*this, this);

    const TKelListOptions list = column->ListOptions();
    TKelDBGridOptions options = Options();
    options &= ~TKelDBGridOptions(dgEditing | dgIndicator | dgTitles | dgTitleButtons | dgMarkerAutoToggle |
                                  dgColumnResize | dgRowSelect | dgAlwaysShowSelection | dgMouseTracking);
    options |= TKelDBGridOptions(dgForceSequence | dgThumbTracking);
    if (ListMouseTracking)
        options |= dgMouseTracking;
    // Whole rows show selected as the owning grid's rows do.
    if (owner->Options().testFlag(dgRowSelect) || owner->SelectRowColor() == tk::clNone)
        options |= TKelDBGridOptions(dgRowSelect | dgAlwaysShowSelection);
    if (list.testFlag(loShowLookupListTitles))
        options |= dgTitles;
    if (list.testFlag(loAllowChangeOrder))
        options |= TKelDBGridOptions(dgTitleButtons | dgMarkerAutoToggle);
    if (list.testFlag(loAllowColumnResize))
        options |= dgColumnResize;
    SetOptions(options);

    TKelDBGridOptionsEx optionsEx = OptionsEx();
    optionsEx |= dgAutoUpdateSequence;
    optionsEx &= ~TKelDBGridOptionsEx(dgDelayUpdateSequence | dgLoadCurrentOrder | dgAutoUpdateOrder);
    if (list.testFlag(loAllowChangeOrder))
        optionsEx |= TKelDBGridOptionsEx(dgLoadCurrentOrder | dgAutoUpdateOrder);
    SetOptionsEx(optionsEx);

    TResizeOptions resize;
    if (list.testFlag(loAllowColumnResize))
        resize |= TResizeOptions(roColumnResize | roOptimalWidth | roDefaultWidth);
    if (list.testFlag(loAllowColumnMoving))
        resize |= roColumnMoving;
    SetResizeOptions(resize);
    SetOrderFields(QString());

    if (list.testFlag(loExpandFirstColumn) && Columns()->Count() > 1) {
        TKelColumn* first = Columns()->Items(0);
        first->SetExpandCols(Columns()->Count() - 1);
        first->SetExpanded(list.testFlag(loFirstColumnExpanded));
    }
}

// --- Sizes ------------------------------------------------------------------

int TKelPopupGridList::TotalColumnWidth() const
{
    int total = 0;
    for (int raw = 0; raw < ColCount(); ++raw)
        if (ColWidths(raw) >= 0)
            total += ColWidths(raw) + ColLineWidth();
    return total;
}

int TKelPopupGridList::Prepare(const TDropDownLimits& limits)
{
    UpdateSequence(false);
    PerformDelayed();
    const int rows = limits.ListRows(RecCount());
    // The vertical scroll bar a hidden popup has not made yet counts as it
    // will when the rows do not all show; measured without it, the
    // columns would not fit and the first would scroll out of sight.
    const int nonClient = NonClientWidthFor(rows);
    const int rowHeight = DefaultRowHeight();
    int height = rows * rowHeight + TitleHeight() + TotalHeight() + 1;
    if (TotalHeight() > 0)
        ++height;

    SetStretchMode(false);
    firstBaseWidth_ = raisedFirstWidth_ = -1;
    TKelColumn* first = Columns()->Count() > 0 ? Columns()->Items(0) : nullptr;
    int width = 0;
    if (first && first->ExpandCols() > 0) {
        // The collapsed group must still cover the editor.
        firstBaseWidth_ = first->WidthBase();
        raisedFirstWidth_ = qMax(firstBaseWidth_, limits.editorWidth - nonClient + 1);
        first->SetWidthBase(raisedFirstWidth_);
        width = first->Expanded() ? limits.ListWidth(TotalColumnWidth() + nonClient)
                                  : TotalColumnWidth() + nonClient;
    } else {
        const int wanted = TotalColumnWidth() + nonClient;
        width = limits.ListWidth(wanted);
        const bool ownWidth = limits.dropDownWidth > 0;
        SetStretchMode(ownWidth || wanted > MaxDropDownWidth || wanted < width);
    }
    setMinimumHeight(TitleHeight() + TotalHeight() + rowHeight);
    resize(width, height);
    // The columns start from the first again: a narrower size before may
    // have scrolled it away.
    SetLeftCol(FixedCols());
    return rowHeight;
}

int TKelPopupGridList::NonClientWidthFor(int rows) const
{
    const bool scrolls = rows < RecCount();
    return 2 * frameWidth() + (scrolls ? tk::ScrollBarExtent() : 0);
}

void TKelPopupGridList::FollowColumnWidths()
{
    if (ScrollLock() > 0 || StretchMode() || !DataSource())
        return;
    resize(TotalColumnWidth() + NonClientWidth(), height());
}

// --- Close-up ---------------------------------------------------------------

void TKelPopupGridList::WriteBack(TKelColumn* column)
{
    Q_ASSERT(column);
    if (column->ListOptions().testFlag(loExpandFirstColumn) && Columns()->Count() > 1) {
        TKelColumn* first = Columns()->Items(0);
        TKelListOptions options = column->ListOptions();
        options.setFlag(loFirstColumnExpanded, first->Expanded());
        column->SetListOptions(options);
        // A width the user did not change goes back to what it was.
        if (firstBaseWidth_ >= 0 && first->WidthBase() == raisedFirstWidth_)
            first->SetWidthBase(firstBaseWidth_);
    }
    firstBaseWidth_ = raisedFirstWidth_ = -1;
    column->SetLookupListFields(ListFields());
    column->SetLookupListTitles(ListTitles());
    column->SetLookupListWidths(ListWidths());
    SetDataSource(nullptr);
}

// --- Opening and closing ----------------------------------------------------

void TKelPopupGridList::Popup(const QPoint& screenPos)
{
    behaviour_->Popup(screenPos);
}

void TKelPopupGridList::CloseUp(bool accept)
{
    leftPressed_ = false;
    search_.Clear();
    behaviour_->CloseUp(accept, OnCloseUp);
}

bool TKelPopupGridList::ForwardKey(const QKeyEvent& event)
{
    return behaviour_->ForwardListKey(event, [this](bool accept) { CloseUp(accept); });
}

void TKelPopupGridList::CancelMode()
{
    TKelCustomDBGrid::CancelMode();
    CloseUp(false);
}

void TKelPopupGridList::showEvent(QShowEvent* event)
{
    TKelCustomDBGrid::showEvent(event);
    tk::Guarded([this] { behaviour_->Shown(); });
}

void TKelPopupGridList::hideEvent(QHideEvent* event)
{
    tk::Guarded([this] { behaviour_->Hidden(); });
    TKelCustomDBGrid::hideEvent(event);
}

// --- Keys -------------------------------------------------------------------

bool TKelPopupGridList::SearchFieldUsable() const
{
    const tk::TDataSet* dataSet = DataSet();
    const tk::TField* field = dataSet && !searchField_.isEmpty() ? dataSet->FindField(searchField_) : nullptr;
    if (!field)
        return false;
    const bool stored = field->FieldKind() == tk::fkData || field->FieldKind() == tk::fkInternalCalc;
    const bool text = field->DataType() == tk::ftString || field->DataType() == tk::ftWideString;
    return stored && text;
}

void TKelPopupGridList::SearchFor(QChar ch)
{
    const std::optional<QString> text = search_.Extended(ch);
    if (!text)
        return;
    if (DataSet()->Locate(searchField_, tk::Variant(*text), tk::TLocateOptions(tk::loCaseInsensitive | tk::loPartialKey)))
        search_.Accept(*text);
}

void TKelPopupGridList::KeyPress(QChar& key)
{
    TKelCustomDBGrid::KeyPress(key);
    if (key.isNull() || !SearchFieldUsable())
        return;
    if (key == QChar(0x08) || key == QChar(0x1B))
        search_.Clear();
    else if (tk::TIncrementalSearch::IsSearchChar(key))
        SearchFor(key);
}

// --- Mouse ------------------------------------------------------------------

void TKelPopupGridList::MouseDown(tk::TMouseButton button, tk::TShiftState shift, int x, int y)
{
    if (button == tk::mbLeft) {
        search_.Clear();
        leftPressed_ = true;
    }
    TKelCustomDBGrid::MouseDown(button, shift, x, y);
}

void TKelPopupGridList::ReleasedAt(int x, int y)
{
    const QPoint at(x, y);
    if (!viewport()->rect().contains(at)) {
        CloseUp(false);
        return;
    }
    if (TitlesRect().contains(at) || TotalsRect().contains(at))
        return;
    CloseUp(true);
}

void TKelPopupGridList::MouseUp(tk::TMouseButton button, tk::TShiftState shift, int x, int y)
{
    const bool sizingColumns = GridState() == tk::gsColSizing;
    const tk::TGridState state = GridState();
    // Not the end of a sizing or a move (the press-and-drag scrolling every
    // data press starts ends with a plain click too).
    const bool plainClick = state == tk::gsNormal || state == tk::gsSelecting;
    const bool ownPress = leftPressed_ && button == tk::mbLeft;
    if (button == tk::mbLeft)
        leftPressed_ = false;
    TKelCustomDBGrid::MouseUp(button, shift, x, y);
    if (sizingColumns)
        FollowColumnWidths();
    else if (ownPress && plainClick)
        ReleasedAt(x, y);
}

}  // namespace kelgrid
