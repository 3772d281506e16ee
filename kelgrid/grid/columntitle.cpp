// TKelColumnTitle: construction, the plain settings, header rows, change
// reporting, RestoreDefaults and Assign. The fall-backs are in
// columnfallbacks.cpp, the markers in columnmarkers.cpp.

#include "kelgrid/grid/columntitle.h"

#include "kelgrid/grid/column_p.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/popupmenu.h"

namespace kelgrid {

TKelColumnTitle::TKelColumnTitle(TKelColumn* column)
    : tk::TPersistent(column), d_(std::make_unique<TKelColumnTitlePrivate>())
{
    Q_ASSERT(column);
    d_->column = column;
    d_->font = new tk::TFont(this);
    if (tk::TFont* defaultFont = DefaultFont())
        d_->font->Assign(defaultFont);
    d_->font->OnChange = [this] { FontChanged(); };
}

TKelColumnTitle::~TKelColumnTitle()
{
    for (QObject* menu :
         {static_cast<QObject*>(d_->popupMenu.data()), static_cast<QObject*>(d_->dropDownMenu.data())})
        if (tk::TComponentCore* core = menu ? tk::CoreOf(menu) : nullptr)
            core->RemoveFreeNotification(this);
    d_->font->OnChange = nullptr;
}

TKelColumn* TKelColumnTitle::Column() const
{
    return d_->column;
}

TKelCustomDBGrid* TKelColumnTitle::Grid() const
{
    return d_->column->Grid();
}

void TKelColumnTitle::ReportChange(bool allColumns)
{
    d_->column->ReportChange(allColumns);
}

void TKelColumnTitle::ReportGroupChange()
{
    // An expanded column's title spans its group's titles.
    ReportChange(d_->column->Expanded());
}

void TKelColumnTitle::Observe(QObject* old, QObject* now)
{
    const bool stillUsed = old && (old == d_->popupMenu || old == d_->dropDownMenu);
    ObserveComponent(this, stillUsed ? nullptr : old, now, [this](QObject* going) {
        if (going == d_->popupMenu)
            SetPopupMenu(nullptr);
        if (going == d_->dropDownMenu)
            SetDropDownMenu(nullptr);
    });
}

// --- Plain settings ----------------------------------------------------------------

bool TKelColumnTitle::AutoToggle() const
{
    return d_->autoToggle;
}

void TKelColumnTitle::SetAutoToggle(bool on)
{
    d_->autoToggle = on;
}

bool TKelColumnTitle::Button() const
{
    return d_->button;
}

void TKelColumnTitle::SetButton(bool on)
{
    if (on == d_->button)
        return;
    d_->button = on;
    ReportChange(false);
}

bool TKelColumnTitle::Ellipsis() const
{
    return d_->ellipsis;
}

void TKelColumnTitle::SetEllipsis(bool on)
{
    if (on == d_->ellipsis)
        return;
    d_->ellipsis = on;
    ReportGroupChange();
}

QString TKelColumnTitle::Hint() const
{
    return d_->hint;
}

void TKelColumnTitle::SetHint(const QString& hint)
{
    d_->hint = hint;
}

int TKelColumnTitle::ImageIndex() const
{
    return d_->imageIndex;
}

void TKelColumnTitle::SetImageIndex(int index)
{
    if (index == d_->imageIndex)
        return;
    d_->imageIndex = index;
    ReportGroupChange();
}

TVAlignment TKelColumnTitle::VAlignment() const
{
    return d_->vAlignment;
}

void TKelColumnTitle::SetVAlignment(TVAlignment alignment)
{
    if (alignment == d_->vAlignment)
        return;
    d_->vAlignment = alignment;
    ReportGroupChange();
}

bool TKelColumnTitle::WordWrap() const
{
    return d_->wordWrap;
}

void TKelColumnTitle::SetWordWrap(bool on)
{
    if (on == d_->wordWrap)
        return;
    d_->wordWrap = on;
    ReportGroupChange();
}

tk::TPopupMenu* TKelColumnTitle::PopupMenu() const
{
    return d_->popupMenu;
}

void TKelColumnTitle::SetPopupMenu(tk::TPopupMenu* menu)
{
    if (!Repoint(d_->popupMenu, menu, [this](QObject* old, QObject* now) { Observe(old, now); }))
        return;
}

tk::TPopupMenu* TKelColumnTitle::DropDownMenu() const
{
    return d_->dropDownMenu;
}

void TKelColumnTitle::SetDropDownMenu(tk::TPopupMenu* menu)
{
    if (!Repoint(d_->dropDownMenu, menu, [this](QObject* old, QObject* now) { Observe(old, now); }))
        return;
    TKelColumnExpandStyle style = d_->column->ExpandStyle();
    if (menu && style == cesAuto)
        d_->column->SetExpandStyle(cesDropDownMenu);
    else if (!menu && style == cesDropDownMenu)
        d_->column->SetExpandStyle(cesAuto);
    ReportChange(false);
}

// --- Header rows ---------------------------------------------------------------------

QString TKelColumnTitle::Header() const
{
    return d_->header;
}

void TKelColumnTitle::SetHeader(const QString& header)
{
    if (header == d_->header)
        return;
    d_->header = header;
    ReportChange(true);
}

QString TKelColumnTitle::HeaderHint() const
{
    return d_->headerHint;
}

void TKelColumnTitle::SetHeaderHint(const QString& hint)
{
    d_->headerHint = hint;
}

int TKelColumnTitle::HeaderRowCount() const
{
    return d_->header.isEmpty() ? 0 : int(d_->header.count(QLatin1Char('|'))) + 1;
}

QString TKelColumnTitle::HeaderRows(int index) const
{
    return index < 0 ? QString() : d_->header.section(QLatin1Char('|'), index, index);
}

QString TKelColumnTitle::HeaderHintRows(int index) const
{
    return index < 0 ? QString() : d_->headerHint.section(QLatin1Char('|'), index, index);
}

namespace {

// The neighbour of column in direction step (-1 left, +1 right) whose
// header rows 0..index merge with column's.
TKelColumn* HeaderNeighbour(const TKelColumn* column, int index, int step)
{
    TKelDBGridColumns* columns = column->Columns();
    if (!columns || index < 0 || index >= column->Title()->HeaderRowCount())
        return nullptr;
    TKelColumn* parent = column->ParentColumn();
    TKelColumn* found = nullptr;
    for (int i = column->Index() + step; i >= 0 && i < columns->Count(); i += step) {
        TKelColumn* other = columns->Items(i);
        if (other->Visible() && other->ParentColumn() == parent) {
            found = other;
            break;
        }
    }
    if (!found || found->Title()->HeaderRowCount() <= index)
        return nullptr;
    // The fixed columns scroll apart from the others: no merging across.
    if (TKelCustomDBGrid* grid = column->Grid()) {
        const int fixed = grid->FixedCols();
        if ((column->Index() < fixed) != (found->Index() < fixed))
            return nullptr;
    }
    for (int row = 0; row <= index; ++row)
        if (found->Title()->HeaderRows(row) != column->Title()->HeaderRows(row))
            return nullptr;
    return found;
}

}  // namespace

TKelColumn* TKelColumnTitle::HeaderLeft(int index) const
{
    return HeaderNeighbour(d_->column, index, -1);
}

TKelColumn* TKelColumnTitle::HeaderRight(int index) const
{
    return HeaderNeighbour(d_->column, index, +1);
}

// --- Defaults and copying ------------------------------------------------------------------

void TKelColumnTitle::RestoreDefaults()
{
    TKelColumnValues& assigned = d_->column->d()->assignedValues;
    const bool hadFont = assigned.testFlag(cvTitleFont);
    assigned &= ~TKelColumnValues(cvTitleColor | cvTitleCaption | cvTitleAlignment | cvTitleFont);
    RefreshDefaultFont();
    d_->caption.clear();
    d_->header.clear();
    d_->hint.clear();
    d_->headerHint.clear();
    d_->button = true;
    d_->ellipsis = true;
    d_->wordWrap = true;
    d_->vAlignment = tvCenter;
    d_->imageIndex = -1;
    SetMarkerIndex(-1);
    d_->autoToggle = true;
    SetPopupMenu(nullptr);
    SetMarker(tmNone);
    ReportChange(hadFont);
}

void TKelColumnTitle::Assign(const tk::TPersistent* source)
{
    auto* title = qobject_cast<const TKelColumnTitle*>(source);
    if (!title) {
        tk::TPersistent::Assign(source);
        return;
    }
    const TKelColumnValues from = title->d_->column->d()->assignedValues;
    if (from.testFlag(cvTitleAlignment))
        SetAlignment(title->Alignment());
    if (from.testFlag(cvTitleColor))
        SetColor(title->Color());
    if (from.testFlag(cvTitleCaption))
        SetCaption(title->Caption());
    if (from.testFlag(cvTitleFont))
        SetFont(title->Font());
    SetButton(title->Button());
    SetEllipsis(title->Ellipsis());
    SetMarker(title->Marker());
    SetHeader(title->Header());
    SetWordWrap(title->WordWrap());
    SetVAlignment(title->VAlignment());
    SetHint(title->Hint());
    SetHeaderHint(title->HeaderHint());
    SetImageIndex(title->ImageIndex());
    SetMarkerIndex(title->MarkerIndex());
    SetAutoToggle(title->AutoToggle());
    SetPopupMenu(title->PopupMenu());
    SetDropDownMenu(title->DropDownMenu());
}

}  // namespace kelgrid
