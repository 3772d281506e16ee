// Pick lists: PickList holds the stored values, PickText the texts shown
// for them (same positions), and a cache holds the formatted entries
// ("text - value" by PickTextFormat). PickDataList is what the drop-down
// offers, PickData what a cell shows. LoadPickList and LoadPickText fill
// the lists from a dataset's records.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/column_p.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/format.h"
#include "toolkit/core/strings.h"
#include "toolkit/core/variant.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"

#include <QScopeGuard>
#include <algorithm>
#include <unordered_set>

namespace kelgrid {

namespace {

// Makes a pick list whose edits tell the column.
std::unique_ptr<tk::TStringList> NewPickList(std::function<void()> onChange)
{
    auto list = std::make_unique<tk::TStringList>();
    list->OnChange = [onChange = std::move(onChange)](tk::TStrings*) { onChange(); };
    return list;
}

// Reads every record of dataSet from first to last with the dataset muted:
// its controls are disabled, it is opened when closed and closed again,
// and the current record comes back; also when reading fails.
void ForEachRecord(tk::TDataSet* dataSet, const std::function<void()>& visit)
{
    dataSet->DisableControls();
    auto enable = qScopeGuard([dataSet] { dataSet->EnableControls(); });
    const bool wasOpen = dataSet->Active();
    if (!wasOpen)
        dataSet->Open();
    const tk::TBookmark position = wasOpen ? dataSet->GetBookmark() : tk::TBookmark();
    auto restore = qScopeGuard([&] {
        if (!wasOpen)
            dataSet->Close();
        else if (!position.isEmpty() && dataSet->BookmarkValid(position))
            dataSet->GotoBookmark(position);
    });
    for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
        visit();
}

// The texts met so far, compared as the pick lists compare them (any
// case), found in constant time: a walk over many records stays linear in
// the records, however many distinct texts they hold.
class TSeenTexts {
public:
    // True the first time text is met.
    bool Insert(const QString& text) { return seen_.insert(text.toCaseFolded()).second; }

private:
    std::unordered_set<QString> seen_;
};

}  // namespace

tk::TStrings* TKelColumn::PickList() const
{
    if (!d_->pickList)
        d_->pickList = NewPickList([this] { const_cast<TKelColumn*>(this)->DropPickCache(); });
    return d_->pickList.get();
}

tk::TStrings* TKelColumn::PickText() const
{
    if (!d_->pickText)
        d_->pickText = NewPickList([this] { const_cast<TKelColumn*>(this)->DropPickCache(); });
    return d_->pickText.get();
}

void TKelColumn::PickListChanged()
{
    DropPickCache();
    if (d_->pickOptions & (poListItemsOnly | poSelectPickText | poStoreItemIndex))
        ReportChange(false);
}

void TKelColumn::SetPickList(tk::TStrings* list)
{
    if (!list) {
        d_->pickList.reset();
        DropPickCache();
        return;
    }
    if (list != d_->pickList.get())
        PickList()->Assign(list);
    PickListChanged();
}

void TKelColumn::SetPickText(tk::TStrings* list)
{
    if (!list) {
        d_->pickText.reset();
        DropPickCache();
        return;
    }
    if (list != d_->pickText.get())
        PickText()->Assign(list);
    PickListChanged();
}

bool TKelColumn::IsPickListStored() const
{
    return d_->pickList && d_->pickList->Count() > 0;
}

bool TKelColumn::IsPickTextStored() const
{
    return d_->pickText && d_->pickText->Count() > 0;
}

void TKelColumn::ClearPickLists()
{
    d_->pickList.reset();
    d_->pickText.reset();
    d_->pickData.reset();
}

void TKelColumn::DropPickCache()
{
    d_->pickData.reset();
}

TKelPickOptions TKelColumn::PickOptions() const
{
    return d_->pickOptions;
}

void TKelColumn::SetPickOptions(TKelPickOptions options)
{
    // A list loaded from the data has no texts of its own to select.
    if (options.testFlag(poSelectPickText) && options.testFlag(poAutoLoadList))
        options &= ~TKelPickOptions(poSelectPickText);
    if (options == d_->pickOptions)
        return;
    d_->pickOptions = options;
    DropPickCache();
    ReportChange(false);
}

QString TKelColumn::PickTextFormat() const
{
    return d_->pickTextFormat;
}

void TKelColumn::SetPickTextFormat(const QString& format)
{
    if (format == d_->pickTextFormat)
        return;
    d_->pickTextFormat = format;
    DropPickCache();
    // Cells show the formatted texts only in this combination.
    const TKelPickOptions shown = d_->pickOptions & (poSelectPickText | poFormatPickText | poFormatListOnly);
    if (shown == TKelPickOptions(poSelectPickText | poFormatPickText))
        ReportChange(false);
}

bool TKelColumn::PickListActive() const
{
    return d_->pickList && d_->pickList->Count() > 0;
}

bool TKelColumn::PickTextActive() const
{
    return d_->pickOptions.testFlag(poSelectPickText) && d_->pickText && d_->pickText->Count() > 0;
}

bool TKelColumn::PickDataActive() const
{
    return PickListActive() || PickTextActive();
}

tk::TStrings* TKelColumn::PickDataList() const
{
    if (!PickTextActive())
        return PickList();
    if (!d_->pickOptions.testFlag(poFormatPickText))
        return PickText();
    UpdatePickData();
    return d_->pickData.get();
}

tk::TStrings* TKelColumn::PickData() const
{
    if (PickTextActive() && d_->pickOptions.testFlag(poFormatPickText) &&
        d_->pickOptions.testFlag(poFormatListOnly))
        return PickText();
    return PickDataList();
}

QString TKelColumn::FormatPickText(int index) const
{
    if (index < 0)
        return {};
    const QString text =
        d_->pickText && index < d_->pickText->Count() ? d_->pickText->Strings(index) : QString();
    const QString value =
        d_->pickList && index < d_->pickList->Count() ? d_->pickList->Strings(index) : QString();
    const QString format = d_->pickTextFormat.isEmpty() ? DefPickTextFormat : d_->pickTextFormat;
    try {
        return tk::Format(format, {tk::Variant(text), tk::Variant(value), tk::Variant(index + 1)});
    } catch (const tk::Exception&) {
        // A format the arguments do not fit shows the plain text.
        return text;
    }
}

void TKelColumn::UpdatePickData() const
{
    if (d_->pickData)
        return;
    auto data = std::make_unique<tk::TStringList>();
    const int count = d_->pickText ? d_->pickText->Count() : 0;
    for (int i = 0; i < count; ++i)
        data->Add(FormatPickText(i));
    d_->pickData = std::move(data);
}

void TKelColumn::LoadPickList(tk::TField* field, bool sorted)
{
    if (!field)
        field = Field();
    tk::TDataSet* dataSet = field ? field->DataSet() : nullptr;
    if (!dataSet) {
        ClearPickLists();
        ReportChange(false);
        return;
    }
    tk::TStringList values;
    TSeenTexts seen;
    if (d_->pickOptions.testFlag(poAppendToList) && d_->pickList) {
        values.AddStrings(d_->pickList.get());
        for (int i = 0; i < values.Count(); ++i)
            seen.Insert(values.Strings(i));
    }
    ForEachRecord(dataSet, [&] {
        const QString text = field->Text();
        if (!text.isEmpty() && seen.Insert(text))
            values.Add(text);
    });
    if (sorted)
        values.Sort();
    d_->pickText.reset();
    PickList()->Assign(&values);
    PickListChanged();
}

void TKelColumn::LoadPickText(tk::TField* listField, tk::TField* textField, bool sorted)
{
    tk::TDataSet* dataSet = listField ? listField->DataSet() : nullptr;
    if (!dataSet || !textField || textField->DataSet() != dataSet) {
        ClearPickLists();
        ReportChange(false);
        return;
    }
    struct Pair {
        QString value;
        QString text;
    };
    QList<Pair> pairs;
    TSeenTexts seen;
    if (d_->pickOptions.testFlag(poAppendToList) && d_->pickList) {
        for (int i = 0; i < d_->pickList->Count(); ++i) {
            const QString value = d_->pickList->Strings(i);
            const QString text =
                d_->pickText && i < d_->pickText->Count() ? d_->pickText->Strings(i) : QString();
            pairs.append({value, text});
            seen.Insert(value);
        }
    }
    ForEachRecord(dataSet, [&] {
        const QString value = listField->Text();
        const QString text = textField->Text();
        if ((value.isEmpty() && text.isEmpty()) || !seen.Insert(value))
            return;
        pairs.append({value, text});
    });
    if (sorted) {
        const bool byText = d_->pickOptions.testFlag(poSortedByText);
        std::stable_sort(pairs.begin(), pairs.end(), [byText](const Pair& a, const Pair& b) {
            return (byText ? a.text.compare(b.text, Qt::CaseInsensitive)
                           : a.value.compare(b.value, Qt::CaseInsensitive)) < 0;
        });
    }
    QStringList values, texts;
    for (const Pair& pair : pairs) {
        values << pair.value;
        texts << pair.text;
    }
    PickList()->SetStrings(values);
    PickText()->SetStrings(texts);
    PickListChanged();
}

}  // namespace kelgrid
