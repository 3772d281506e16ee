// TKelCustomDBGrid: the text hooks between stored values and the texts
// columns show and take.

#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/core/format.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/variant.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"

namespace kelgrid {

QString AutoNumberStr(int number)
{
    if (number < 1)
        return {};
    return tk::Format(DefAutoNumberFormat, {tk::Variant(number)});
}

namespace {

bool IsStringField(const tk::TField* field)
{
    const tk::TFieldType type = field->DataType();
    return type == tk::ftString || type == tk::ftWideString || type == tk::ftFixedChar;
}

// The 0-based pick position a 1-based number text gives ("3" -> 2); -1
// for a text that is no number or no position (0, negative). Any number a
// cell may hold is safe, INT_MIN too.
int PickPosition(const QString& text)
{
    bool number = false;
    const int position = text.trimmed().toInt(&number);
    return number && position >= 1 ? position - 1 : -1;
}

// The stored value of a pick text's position: the position itself
// (1-based; right-aligned to a string field's size) under poStoreItemIndex,
// else the value of that position, or the text when the column has no
// values. Empty when index fits no list.
QString PickValue(const TKelColumn* column, int index, bool& valid)
{
    const TKelPickOptions options = column->PickOptions();
    valid = index >= 0 && index < column->PickText()->Count();
    if (!valid)
        return {};
    if (options.testFlag(poStoreItemIndex)) {
        tk::TField* field = column->Field();
        if (field && IsStringField(field) && field->Size() > 0)
            return tk::Format(QStringLiteral("%%1d").arg(field->Size()), {tk::Variant(index + 1)});
        return QString::number(index + 1);
    }
    if (column->PickListActive()) {
        valid = index < column->PickList()->Count();
        return valid ? column->PickList()->Strings(index) : QString();
    }
    return column->PickText()->Strings(index);
}

}  // namespace

QString TKelCustomDBGrid::ColGetText(TKelColumn* column, const QString& text, TTextKind kind)
{
    QString result = text;
    if (column && column->AutoNumber() && kind != tkReport) {
        result = AutoNumberStr(RecNumber());
    } else if (column && column->PickTextActive()) {
        const TKelPickOptions options = column->PickOptions();
        int index = -1;
        if (options.testFlag(poStoreItemIndex))
            index = PickPosition(text);
        else if (column->PickListActive())
            index = column->PickList()->IndexOf(text);
        else
            index = column->PickText()->IndexOf(text);
        const bool valid = index >= 0 && index < column->PickText()->Count();
        if (valid && options.testFlag(poFormatPickText) && !options.testFlag(poFormatListOnly))
            result = column->FormatPickText(index);
        else if (valid)
            result = column->PickText()->Strings(index);
        else if (options.testFlag(poListItemsOnly))
            result.clear();
    } else if (column && column->PickListActive() && column->PickOptions().testFlag(poListItemsOnly) &&
               column->PickList()->IndexOf(text) < 0) {
        result.clear();
    }
    if (OnColGetText)
        OnColGetText(this, column, result, kind);
    return result;
}

QString TKelCustomDBGrid::ColSetText(TKelColumn* column, const QString& text)
{
    QString result = text;
    if (OnColSetText)
        OnColSetText(this, column, result);
    if (!column)
        return result;
    const TKelPickOptions options = column->PickOptions();
    if (column->PickTextActive()) {
        int index = -1;
        if (options.testFlag(poFormatPickText))
            index = column->PickDataList()->IndexOf(result);
        if (index < 0)
            index = column->PickText()->IndexOf(result);
        if (index < 0 && options.testFlag(poAcceptPickList))
            index = column->PickList()->IndexOf(result);
        if (index < 0 && options.testFlag(poAcceptItemIndex))
            index = PickPosition(result);
        bool valid = false;
        const QString value = PickValue(column, index, valid);
        if (valid)
            result = value;
        else if (options.testFlag(poListItemsOnly))
            result.clear();
    } else if (column->PickListActive()) {
        tk::TStrings* list = column->PickList();
        int index = list->IndexOf(result);
        if (index < 0 && options.testFlag(poAcceptItemIndex)) {
            const int position = PickPosition(result);
            if (position < list->Count())
                index = position;
        }
        if (index >= 0)
            result = list->Strings(index);
        else if (options.testFlag(poListItemsOnly))
            result.clear();
    }
    return result;
}

int TKelCustomDBGrid::RecNumber() const
{
    // The active record's place in the dataset's order: the current one,
    // or the row a painting grid moved the data link to.
    tk::TDataSet* dataSet = DataSet();
    if (!LinkActiveNow() || !dataSet)
        return -1;
    if (ForcedSequence()) {
        // The sequence walk's number of the current record, offset by the
        // painting row's distance from it. While a record is inserted its
        // row has no number and the rows around it keep theirs.
        const int base = d_->totalsCalc ? d_->totalsCalc->RecNumber() : 0;
        const int row = d_->rowNumber;
        if (dataSet->State() != tk::dsInsert)
            return base + row;
        const int insertBase = dataSet->Eof() ? base + 1 : base;
        if (row == 0)
            return -1;
        return row > 0 ? insertBase + row - 1 : insertBase + row;
    }
    if (dataSet->ActiveRecordPosition() < 0)
        return -1;
    return static_cast<int>(dataSet->ActiveRecordPosition()) + 1;
}

}  // namespace kelgrid
