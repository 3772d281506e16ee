#pragma once
// TDataSource: the connector between one dataset and the data links of
// controls. It mirrors the dataset's state and passes the dataset's events
// to its links, the non-visual links first and the visual ones after.

#include "toolkit/core/component.h"
#include "toolkit/data/dbtypes.h"

#include <QList>
#include <QPointer>
#include <functional>

namespace tk {

class TDataSet;
class TDataLink;
class TField;

class TDataSource : public TComponent {
    Q_OBJECT
    Q_PROPERTY(tk::TDataSet* DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(bool AutoEdit READ AutoEdit WRITE SetAutoEdit)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_CLASSINFO("Default:AutoEdit", "True")
    Q_CLASSINFO("Default:Enabled", "True")
    Q_MOC_INCLUDE("toolkit/data/dataset.h")

public:
    explicit TDataSource(QObject* owner = nullptr);
    ~TDataSource() override;

    TDataSet* DataSet() const { return dataSet_; }
    // Swapping the dataset tells every link ActiveChanged.
    void SetDataSet(TDataSet* dataSet);
    TDataSetState State() const;
    bool AutoEdit() const { return autoEdit_; }
    void SetAutoEdit(bool on) { autoEdit_ = on; }
    // A disabled source looks inactive to its links.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    // Puts the dataset into edit state when AutoEdit allows it.
    void Edit();
    // True when field belongs to the dataset behind this source.
    bool IsLinkedTo(const TDataSet* dataSet) const;

    std::function<void(TDataSource*)> OnStateChange;
    std::function<void(TDataSource*, TField*)> OnDataChange;
    std::function<void(TDataSource*)> OnUpdateData;

    // For TDataSet and TDataLink.
    void DataEvent(TDataEvent event, qintptr info);
    void AddDataLink(TDataLink* link);
    void RemoveDataLink(TDataLink* link);
    const QList<TDataLink*>& DataLinks() const { return links_; }

protected:
    void Notification(TComponentCore* component, TOperation operation) override;

private:
    void NotifyLinks(TDataEvent event, qintptr info);
    TDataSet* dataSet_ = nullptr;
    QList<TDataLink*> links_;
    TDataSetState lastState_ = dsInactive;
    bool autoEdit_ = true;
    bool enabled_ = true;
};

}  // namespace tk
