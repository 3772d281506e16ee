// Value totals: value and caption, formatting, the calculation settings,
// the design-time name; the header, footer and the value rows' collection.

#include "kelgrid/grid/columntotalvalue.h"

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/totalformat.h"
#include "kelgrid/grid/totallink.h"
#include "kelgrid/grid/totals.h"
#include "toolkit/data/field.h"

#include <QScopeGuard>

namespace kelgrid {

struct TKelColumnTotalValue::Private {
    QString format;
    bool formatAsFloat = false;
    tk::Variant value;
    int totalRecNo = 1;
    TCalcApply calcApply = caBoth;
    TCalcValue calcValue = cvSum;
    TNullValue nullValue = nvExclude;
    tk::Variant tempValue;
    int counter = 0;
};

TKelColumnTotalValue::TKelColumnTotalValue(tk::TCollection* collection)
    : TKelColumnTotal(collection), d_(std::make_unique<Private>())
{
}

TKelColumnTotalValue::TKelColumnTotalValue(TKelColumn* column, TTotalResult result)
    : TKelColumnTotal(column, result), d_(std::make_unique<Private>())
{
}

TKelColumnTotalValue::~TKelColumnTotalValue() = default;

void TKelColumnTotalValue::CalcSettingChanged()
{
    if (TotalResult() != trCalcValue)
        return;
    if (TKelCustomDBGrid* grid = Grid())
        grid->UpdateTotals(true);
}

TCalcApply TKelColumnTotalValue::CalcApply() const
{
    return d_->calcApply;
}

void TKelColumnTotalValue::SetCalcApply(TCalcApply apply)
{
    if (apply == d_->calcApply)
        return;
    d_->calcApply = apply;
    CalcSettingChanged();
}

TCalcValue TKelColumnTotalValue::CalcValue() const
{
    return d_->calcValue;
}

void TKelColumnTotalValue::SetCalcValue(TCalcValue value)
{
    if (value == d_->calcValue)
        return;
    d_->calcValue = value;
    CalcSettingChanged();
}

TNullValue TKelColumnTotalValue::NullValue() const
{
    return d_->nullValue;
}

void TKelColumnTotalValue::SetNullValue(TNullValue value)
{
    if (value == d_->nullValue)
        return;
    d_->nullValue = value;
    CalcSettingChanged();
}

int TKelColumnTotalValue::TotalRecNo() const
{
    return d_->totalRecNo;
}

void TKelColumnTotalValue::SetTotalRecNo(int recNo)
{
    recNo = std::max(1, recNo);
    if (recNo == d_->totalRecNo)
        return;
    d_->totalRecNo = recNo;
    TotalChanged();
}

// --- Value, caption, format ---------------------------------------------------------

QString TKelColumnTotalValue::Caption() const
{
    return CaptionText();
}

void TKelColumnTotalValue::SetCaption(const QString& caption)
{
    d_->value = tk::Variant();
    TKelColumnTotal::SetCaption(caption);
}

bool TKelColumnTotalValue::IsCaptionStored() const
{
    return AssignedValues().testFlag(cvTotalCaption);
}

const tk::Variant& TKelColumnTotalValue::Value() const
{
    return d_->value;
}

void TKelColumnTotalValue::SetValue(const tk::Variant& value)
{
    d_->value = value;
    // The caption now shows the value: it is no longer the user's.
    SetAssigned(cvTotalCaption, false);
    TKelColumnTotal::SetCaption(FormatValue(value));
    SetAssigned(cvTotalCaption, false);
}

bool TKelColumnTotalValue::IsValueStored() const
{
    return !AssignedValues().testFlag(cvTotalCaption) && TotalResult() != trCalcValue &&
           !d_->value.IsUnassigned();
}

tk::Variant& TKelColumnTotalValue::TempValue()
{
    return d_->tempValue;
}

int& TKelColumnTotalValue::Counter()
{
    return d_->counter;
}

QString TKelColumnTotalValue::Format() const
{
    return d_->format;
}

void TKelColumnTotalValue::SetFormat(const QString& format)
{
    if (format == d_->format)
        return;
    d_->format = format;
    Reformat();
}

bool TKelColumnTotalValue::FormatAsFloat() const
{
    return d_->formatAsFloat;
}

void TKelColumnTotalValue::SetFormatAsFloat(bool on)
{
    if (on == d_->formatAsFloat)
        return;
    d_->formatAsFloat = on;
    Reformat();
}

void TKelColumnTotalValue::Reformat()
{
    // A value stored or calculated shows again in the new format.
    const bool calculated = TotalResult() == trCalcValue;
    if (!d_->value.IsEmptyOrNull() && (calculated || IsValueStored()))
        SetValue(d_->value);
}

QString TKelColumnTotalValue::FormatValue(const tk::Variant& value) const
{
    TKelCustomDBGrid* grid = Grid();
    return FormatTotalValue(value, d_->format, d_->formatAsFloat, grid && grid->Totals()->Selected());
}

QString TKelColumnTotalValue::GetDisplayText() const
{
    if (TotalResult() != trTotalField)
        return TKelColumnTotal::GetDisplayText();
    // A field of the totals dataset in record TotalRecNo of the totals
    // link's window. A record beyond the window shows nothing: the link
    // has no such row to show.
    TKelCustomDBGrid* grid = Grid();
    TKelTotalDataLink* link = grid ? grid->Totals()->DataLink() : nullptr;
    tk::TField* field = Field();
    if (!link || !link->Active() || !field || d_->totalRecNo > link->RecordCount())
        return {};
    const int active = link->ActiveRecord();
    auto restore = qScopeGuard([&] { link->SetActiveRecord(active); });
    link->SetActiveRecord(d_->totalRecNo - 1);
    return field->DisplayText();
}

QString TKelColumnTotalValue::DisplayName() const
{
    TKelColumn* column = Column();
    QString name;
    if (tk::TField* field = Field())
        name = field->FieldName();
    else if (!FieldName().isEmpty())
        name = FieldName();
    else if (column && !column->FieldName().isEmpty())
        name = column->FieldName();
    else if (TotalResult() == trDataField && column)
        name = QStringLiteral("(") + column->Title()->Caption() + QStringLiteral(")");
    else
        name = QStringLiteral("<Unknown>");

    switch (TotalResult()) {
    case trNone:
        return QStringLiteral("<None>");
    case trCaption:
        if (!Caption().isEmpty())
            return Caption();
        return d_->value.IsNull() ? QStringLiteral("<Null>") : QStringLiteral("<Empty>");
    case trDataField:
        return (FieldName().isEmpty() ? QStringLiteral("ColumnData: ") : QStringLiteral("DataField: ")) +
               name;
    case trTotalField:
        if (FieldName().isEmpty())
            return QStringLiteral("TotalField: <Unknown>");
        return QStringLiteral("TotalField: %1[%2]").arg(name).arg(d_->totalRecNo);
    case trCalcValue: {
        static const char* const kFunctions[] = {"Sum",   "Avg",  "Count",  "Max",   "Min",
                                                 "First", "Last", "Unique", "Custom"};
        return QStringLiteral("%1(%2)").arg(QLatin1String(kFunctions[d_->calcValue]), name);
    }
    }
    return name;
}

void TKelColumnTotalValue::Assign(const tk::TPersistent* source)
{
    TKelColumnTotal::Assign(source);
    const auto* other = qobject_cast<const TKelColumnTotalValue*>(source);
    if (!other)
        return;
    SetCalcApply(other->CalcApply());
    SetCalcValue(other->CalcValue());
    SetFormat(other->Format());
    SetFormatAsFloat(other->FormatAsFloat());
    SetNullValue(other->NullValue());
    SetTotalRecNo(other->TotalRecNo());
    if (other->IsValueStored())
        SetValue(other->Value());
}

TKelColumnTotalHeader::TKelColumnTotalHeader(TKelColumn* column) : TKelColumnTotalValue(column, trCaption) {}

TKelColumnTotalFooter::TKelColumnTotalFooter(TKelColumn* column) : TKelColumnTotalValue(column, trCaption) {}

// --- The value rows ----------------------------------------------------------------

TKelColumnTotalValues::TKelColumnTotalValues(TKelColumn* column, const QMetaObject* itemClass)
    : tk::TCollection(itemClass, column), column_(column)
{
}

TKelColumnTotalValue* TKelColumnTotalValues::Add()
{
    BeginUpdate();
    auto end = qScopeGuard([this] { EndUpdate(); });
    return static_cast<TKelColumnTotalValue*>(tk::TCollection::Add());
}

TKelColumnTotalValue* TKelColumnTotalValues::Items(int index) const
{
    return static_cast<TKelColumnTotalValue*>(tk::TCollection::Items(index));
}

void TKelColumnTotalValues::RestoreDefaults()
{
    BeginUpdate();
    auto end = qScopeGuard([this] { EndUpdate(); });
    for (int i = 0; i < Count(); ++i)
        Items(i)->RestoreDefaults();
}

void TKelColumnTotalValues::Update(tk::TCollectionItem* item)
{
    if (column_)
        column_->TotalChanged(static_cast<TKelColumnTotal*>(item));
}

}  // namespace kelgrid
