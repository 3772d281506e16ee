#include "toolkit/data/datasource.h"

#include "toolkit/data/datalink.h"
#include "toolkit/data/dataset.h"

namespace tk {

TDataSource::TDataSource(QObject* owner) : TComponent(owner) {}

TDataSource::~TDataSource()
{
    Destroying();
    SetDataSet(nullptr);
    for (TDataLink* link : QList<TDataLink*>(links_))
        link->SetDataSource(nullptr);
}

void TDataSource::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == dataSet_)
        return;
    // Links see the old dataset go and the new one come: ActiveChanged each
    // time their active state flips.
    if (dataSet_) {
        dataSet_->UnregisterDataSource(this);
        dataSet_->RemoveFreeNotification(this);
        dataSet_ = nullptr;
        NotifyLinks(deUpdateState, 0);
    }
    dataSet_ = dataSet;
    if (dataSet) {
        dataSet->RegisterDataSource(this);
        dataSet->FreeNotification(this);
        NotifyLinks(deUpdateState, 0);
    }
    lastState_ = State();
}

TDataSetState TDataSource::State() const
{
    return dataSet_ && enabled_ ? dataSet_->State() : dsInactive;
}

void TDataSource::SetEnabled(bool on)
{
    if (enabled_ == on)
        return;
    enabled_ = on;
    NotifyLinks(deUpdateState, 0);
}

void TDataSource::Edit()
{
    if (autoEdit_ && dataSet_ && State() == dsBrowse)
        dataSet_->Edit();
}

bool TDataSource::IsLinkedTo(const TDataSet* dataSet) const
{
    return dataSet && dataSet_ == dataSet;
}

void TDataSource::Notification(TComponentCore* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == dataSet_)
        SetDataSet(nullptr);
}

void TDataSource::AddDataLink(TDataLink* link)
{
    if (!links_.contains(link))
        links_ << link;
}

void TDataSource::RemoveDataLink(TDataLink* link)
{
    links_.removeAll(link);
}

void TDataSource::DataEvent(TDataEvent event, qintptr info)
{
    if (event == deUpdateState) {
        const TDataSetState state = State();
        if (state != lastState_) {
            lastState_ = state;
            if (OnStateChange)
                OnStateChange(this);
        }
    }
    if (!enabled_)
        return;
    NotifyLinks(event, info);
    if ((event == deDataSetChange || event == deFieldChange || event == deRecordChange || event == deDataSetScroll) &&
        OnDataChange)
        OnDataChange(this, event == deFieldChange ? reinterpret_cast<TField*>(info) : nullptr);
    if (event == deUpdateRecord && OnUpdateData)
        OnUpdateData(this);
}

// Non-visual links first (totals, lookups), then the visual ones, each group
// in the order the links joined. A focus request stops at the link that
// takes it.
void TDataSource::NotifyLinks(TDataEvent event, qintptr info)
{
    const QList<TDataLink*> links = links_;
    for (int pass = 0; pass < 2; ++pass) {
        const bool visual = pass == 1;
        for (TDataLink* link : links) {
            if (link->VisualControl() != visual || !links_.contains(link))
                continue;
            link->DataEvent(event, info);
            if (event == deFocusControl && *reinterpret_cast<TField**>(info) == nullptr)
                return;
        }
    }
}

}  // namespace tk
