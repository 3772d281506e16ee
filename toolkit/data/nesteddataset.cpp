#include "toolkit/data/nesteddataset.h"

#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/format.h"
#include "toolkit/data/clientdatasetfile.h"
#include "toolkit/data/datalink.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/fields.h"
#include "toolkit/data/memorysource.h"

#include <QScopedValueRollback>

namespace tk {

namespace {

bool IsEditing(const TDataSet* dataSet)
{
    return dataSet && (dataSet->State() == dsEdit || dataSet->State() == dsInsert);
}

}  // namespace

// Hears the parent's events for the nested dataset. Non-visual, so it
// hears them before the controls do.
class TNestedClientDataSet::ParentLink : public TDataLink {
public:
    explicit ParentLink(TNestedClientDataSet* nested) : nested_(nested) {}

protected:
    void ActiveChanged() override { nested_->FollowParent(); }
    void DataSetChanged() override { nested_->FollowParent(); }
    void DataSetScrolled(int) override { nested_->FollowParent(); }
    void RecordChanged(TField* field) override
    {
        if (!field || field == nested_->field_)
            nested_->FollowParent();
    }

private:
    TNestedClientDataSet* nested_;
};

TNestedClientDataSet::TNestedClientDataSet(TDataSetField* field)
    : TClientDataSet(field), field_(field), parentSource_(new TDataSource(this)),
      parentLink_(std::make_unique<ParentLink>(this))
{
    Q_ASSERT(field);
    SetName(field->FieldName());
    // The link starts following once the data source is set, below.
    const QScopedValueRollback<bool> quiet(following_, false);
    parentLink_->SetDataSource(parentSource_);
    parentSource_->SetDataSet(field->DataSet());
}

TNestedClientDataSet::~TNestedClientDataSet()
{
    Destroying();
    parentLink_->SetDataSource(nullptr);
    Guarded([this] { Close(); });
}

TNestedClientDataSet::RecordKey TNestedClientDataSet::ParentRecord() const
{
    const TDataSet* parent = field_->DataSet();
    return {parent->State() == dsInsert, parent->GetBookmark()};
}

void TNestedClientDataSet::FollowParent()
{
    if (!following_)
        return;
    const TDataSet* parent = field_->DataSet();
    if (!parent || !parent->Active()) {
        Close();
        return;
    }
    const RecordKey record = ParentRecord();
    const QByteArray rows = field_->AsBytes();
    if (Active() && record == shownRecord_ && rows == shownRows_)
        return;
    ShowParentRows(rows);
    shownRecord_ = record;
}

void TNestedClientDataSet::ShowParentRows(const QByteArray& rows)
{
    std::unique_ptr<TMemoryRecordSource> source;
    if (rows.isEmpty()) {
        source = std::make_unique<TMemoryRecordSource>(field_->NestedFieldDefs());
    } else {
        source = DecodeClientData(rows, field_->DisplayName());
        if (source->FieldDefs() != field_->NestedFieldDefs())
            throw EDatabaseError(Format(QStringLiteral("Field '%s': the nested rows do not have the field's columns"),
                                        {field_->DisplayName()}));
    }
    const TDataSet* parent = field_->DataSet();
    source->SetReadOnly(field_->ReadOnly() || !parent->CanModify());
    // Until the rows are shown, nothing counts as shown.
    shownRows_.clear();
    shownRecord_ = {};
    ShowRows(std::move(source));
    shownRows_ = rows;
}

template <typename Change>
void TNestedClientDataSet::WithoutFollowing(Change change)
{
    const QScopedValueRollback<bool> quiet(following_, false);
    change();
}

void TNestedClientDataSet::MakeParentEditable()
{
    TDataSet* parent = field_->DataSet();
    if (!parent || !parent->Active())
        throw EDatabaseError(Format(QStringLiteral("Field '%s': the dataset is closed"), {field_->DisplayName()}));
    if (!IsEditing(parent))
        WithoutFollowing([parent] { parent->Edit(); });
    shownRecord_ = ParentRecord();
}

void TNestedClientDataSet::DoBeforeModify()
{
    TClientDataSet::DoBeforeModify();
    MakeParentEditable();
}

void TNestedClientDataSet::DoAfterModify()
{
    TClientDataSet::DoAfterModify();
    const QByteArray rows = Rows()->NaturalOrder().empty() ? QByteArray() : EncodeClientData(*Rows());
    try {
        MakeParentEditable();
        WithoutFollowing([this, &rows] { field_->StoreNestedRows(rows); });
    } catch (...) {
        // The record refused the rows (a handler, a lost edit): show what
        // it holds, so the nested rows never differ from the record's.
        ShowParentRows(field_->AsBytes());
        shownRecord_ = ParentRecord();
        throw;
    }
    shownRows_ = rows;
}


}  // namespace tk
