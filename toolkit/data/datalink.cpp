#include "toolkit/data/datalink.h"

#include "toolkit/core/dbconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/datasource.h"

#include <QScopedValueRollback>

namespace tk {

TDataLink::TDataLink() = default;

TDataLink::~TDataLink()
{
    if (dataSource_)
        dataSource_->RemoveDataLink(this);
}

void TDataLink::SetDataSource(TDataSource* source)
{
    if (source == dataSource_)
        return;
    if (dataSource_)
        dataSource_->RemoveDataLink(this);
    dataSource_ = source;
    if (source)
        source->AddDataLink(this);
    UpdateState();
}

TDataSet* TDataLink::DataSet() const
{
    return dataSource_ ? dataSource_->DataSet() : nullptr;
}

bool TDataLink::Editing() const
{
    TDataSet* dataSet = DataSet();
    return active_ && dataSet && (dataSet->State() == dsEdit || dataSet->State() == dsInsert);
}

void TDataLink::SetReadOnly(bool readOnly)
{
    if (readOnly_ == readOnly)
        return;
    readOnly_ = readOnly;
    UpdateState();
}

void TDataLink::SetBufferCount(int count)
{
    count = std::max(count, 1);
    if (count == bufferCount_)
        return;
    if (TDataSet* dataSet = active_ ? DataSet() : nullptr)
        dataSet->ChangeBufferCount(this, count);
    else
        bufferCount_ = count;
}

int TDataLink::RecordCount() const
{
    TDataSet* dataSet = active_ ? DataSet() : nullptr;
    return dataSet ? dataSet->WindowRecordCount(this) : 0;
}

int TDataLink::ActiveRecord() const
{
    TDataSet* dataSet = active_ ? DataSet() : nullptr;
    if (!dataSet || top_ < 0 || dataSet->ActiveRecordPosition() < 0)
        return 0;
    return static_cast<int>(dataSet->ActiveRecordPosition() - top_);
}

void TDataLink::SetActiveRecord(int row)
{
    TDataSet* dataSet = active_ ? DataSet() : nullptr;
    if (dataSet && top_ >= 0 && dataSet->CursorPosition() >= 0)
        dataSet->SetActiveRecordPosition(top_ + row, this);
}

bool TDataLink::Bof() const
{
    TDataSet* dataSet = DataSet();
    return !dataSet || dataSet->Bof();
}

bool TDataLink::Eof() const
{
    TDataSet* dataSet = DataSet();
    return !dataSet || dataSet->Eof();
}

bool TDataLink::Edit()
{
    TDataSet* dataSet = active_ ? DataSet() : nullptr;
    if (!readOnly_ && dataSet && dataSource_->AutoEdit() && dataSet->CanModify())
        dataSource_->Edit();
    return Editing();
}

int TDataLink::MoveBy(int distance)
{
    TDataSet* dataSet = active_ ? DataSet() : nullptr;
    return dataSet ? dataSet->MoveBy(distance) : 0;
}

void TDataLink::UpdateRecord()
{
    const QScopedValueRollback updating(updating_, true);
    UpdateData();
}

// There is no action framework to serve: links handle no actions.
bool TDataLink::ExecuteAction(QObject*)
{
    return false;
}

bool TDataLink::UpdateAction(QObject*)
{
    return false;
}

void TDataLink::DataSetScrolled(int)
{
    DataSetChanged();
}

void TDataLink::FocusControl(TField*&) {}

void TDataLink::RecordChanged(TField*) {}

void TDataLink::UpdateState()
{
    TDataSet* dataSet = DataSet();
    const bool active = dataSource_ && dataSource_->Enabled() && dataSet && dataSet->Active();
    const bool reopened = active && dataSet->ActivationCount() != seenActivations_;
    if (active != active_ || reopened) {
        SetActive(active);
    } else if (active) {
        const bool editing = Editing();
        if (editing != editing_)
            SetEditing(editing);
    }
}

void TDataLink::SetActive(bool active)
{
    TDataSet* dataSet = DataSet();
    if (active && dataSet && dataSet->IsUnidirectional())
        throw EDatabaseError(LoadResString(&SDataSetUnidirectional));
    active_ = active;
    seenActivations_ = active ? dataSet->ActivationCount() : -1;
    editing_ = active && Editing();
    if (active)
        dataSet->PlaceNewLinkWindow(this);
    else
        top_ = -1;
    ActiveChanged();
}

void TDataLink::SetEditing(bool editing)
{
    editing_ = editing;
    EditingChanged();
}

void TDataLink::DataEvent(TDataEvent event, qintptr info)
{
    if (event == deUpdateState) {
        UpdateState();
        return;
    }
    if (!active_)
        return;
    switch (event) {
    case deFieldChange:
    case deRecordChange:
        if (!updating_)
            RecordChanged(reinterpret_cast<TField*>(info));
        break;
    case deDataSetChange: DataSetChanged(); break;
    case deDataSetScroll: DataSetScrolled(pendingScroll_); break;
    case deLayoutChange:
    case deFieldListChange: LayoutChanged(); break;
    case deUpdateRecord: UpdateRecord(); break;
    case deCheckBrowseMode: CheckBrowseMode(); break;
    case deFocusControl: FocusControl(*reinterpret_cast<TField**>(info)); break;
    default: break;
    }
}

}  // namespace tk
