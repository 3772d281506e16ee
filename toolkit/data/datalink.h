#pragma once
// TDataLink: what a data-aware control holds to follow a dataset through a
// data source. A link sees a window of BufferCount consecutive records in
// the dataset's current order:
//   - RecordCount is the number of records in the window, BufferCount at
//     most; the window stays full whenever the dataset holds that many;
//   - ActiveRecord is the current record's row in the window (0 when empty);
//     setting it makes that row the record field reads see, without moving
//     the cursor or telling anyone, until the caller sets it back;
//   - relative moves (Next, Prior, MoveBy) move the window only when the
//     current record leaves it, by the least amount that puts it on the
//     edge, and then call DataSetScrolled(rows the window moved);
//   - absolute moves (First, Last, Locate, bookmarks, RecNo, Resync, edits
//     and posts) recompute the window and call DataSetChanged;
//   - a BufferCount change refills the window around the current record,
//     keeping its row where possible, and calls nothing.
// While the dataset's controls are disabled no callback runs at all.

#include "toolkit/data/dbtypes.h"

#include <QPointer>
#include <QtGlobal>

namespace tk {

class TDataSet;
class TDataSource;
class TField;

class TDataLink {
public:
    TDataLink();
    virtual ~TDataLink();
    TDataLink(const TDataLink&) = delete;
    TDataLink& operator=(const TDataLink&) = delete;

    TDataSource* DataSource() const { return dataSource_; }
    void SetDataSource(TDataSource* source);
    TDataSet* DataSet() const;
    // The source's dataset is open (and usable by a link: not
    // unidirectional, source enabled).
    bool Active() const { return active_; }
    // The dataset is in edit or insert state.
    bool Editing() const;
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    // Visual links get the dataset's events after the non-visual ones.
    bool VisualControl() const { return visualControl_; }
    void SetVisualControl(bool visual) { visualControl_ = visual; }

    int BufferCount() const { return bufferCount_; }
    void SetBufferCount(int count);
    int RecordCount() const;
    int ActiveRecord() const;
    void SetActiveRecord(int row);
    bool Bof() const;
    bool Eof() const;

    // Enters edit state when not ReadOnly, the source auto-edits and the
    // dataset can modify; returns Editing.
    bool Edit();
    // Moves the dataset by distance records; returns how far it moved.
    int MoveBy(int distance);
    // Writes pending control values: calls UpdateData.
    void UpdateRecord();
    virtual bool ExecuteAction(QObject* action);
    virtual bool UpdateAction(QObject* action);

    // The first row of the window as a view position, -1 while inactive.
    qint64 WindowTop() const { return top_; }

protected:
    virtual void ActiveChanged() {}
    virtual void CheckBrowseMode() {}
    virtual void DataSetChanged() { RecordChanged(nullptr); }
    virtual void DataSetScrolled(int distance);
    virtual void EditingChanged() {}
    // Set field to nullptr to tell the dataset the focus request was taken.
    virtual void FocusControl(TField*& field);
    virtual void LayoutChanged() { DataSetChanged(); }
    virtual void RecordChanged(TField* field);
    virtual void UpdateData() {}

private:
    friend class TDataSource;
    friend class TDataSet;
    void DataEvent(TDataEvent event, qintptr info);
    void UpdateState();
    void SetActive(bool active);
    void SetEditing(bool editing);

    QPointer<TDataSource> dataSource_;
    int bufferCount_ = 1;
    qint64 top_ = -1;
    // Set by the dataset: the row the current record should keep at the
    // next absolute move, and how far the last relative move scrolled.
    int preferredRow_ = 0;
    int pendingScroll_ = 0;
    int seenActivations_ = -1;
    bool active_ = false;
    bool editing_ = false;
    bool readOnly_ = false;
    bool visualControl_ = false;
    bool updating_ = false;
};

}  // namespace tk
