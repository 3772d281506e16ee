#pragma once
// TNestedClientDataSet: the dataset a TDataSetField of a client dataset
// gives as NestedDataSet. It holds the nested rows of the parent's current
// record, decoded from the field's value, and follows the parent through a
// data link of its own: when the parent's current record or that record's
// nested value differs from what it shows, it shows the new rows (first
// record current, DataSetChanged for its links).
//
// Its changes belong to the parent's record: before an edit, insert or
// delete the parent goes into edit; after a post or delete the rows are
// encoded into the field's value in the parent's edit buffer. Posting the
// parent first posts a pending nested edit; cancelling the parent cancels
// it and shows the record's rows as they were. A read-only field or parent
// makes the nested rows read-only.

#include "toolkit/data/clientdataset.h"

#include <QByteArray>
#include <memory>

namespace tk {

class TDataSetField;
class TDataSource;

class TNestedClientDataSet : public TClientDataSet {
    Q_OBJECT

public:
    // A child of field; the field frees it.
    explicit TNestedClientDataSet(TDataSetField* field);
    ~TNestedClientDataSet() override;

    TDataSetField* DataSetField() const { return field_; }
    // Shows the rows of the parent's current record unless they are the ones
    // shown; closes while the parent is closed. Raises EDatabaseError when
    // the field's value is not a nested table of its columns.
    void FollowParent();

protected:
    void DoBeforeModify() override;
    void DoAfterModify() override;

private:
    class ParentLink;
    // What identifies the parent's record: a new record has no bookmark.
    struct RecordKey {
        bool inserting = false;
        QByteArray bookmark;
        bool operator==(const RecordKey&) const = default;
    };
    RecordKey ParentRecord() const;
    void ShowParentRows(const QByteArray& rows);
    // Runs change with the link's following suspended (the parent's own
    // events then describe a change made from here).
    template <typename Change>
    void WithoutFollowing(Change change);
    void MakeParentEditable();

    TDataSetField* field_;
    TDataSource* parentSource_;  // a child of this dataset
    std::unique_ptr<ParentLink> parentLink_;
    RecordKey shownRecord_;
    QByteArray shownRows_;
    bool following_ = true;
};

}  // namespace tk
