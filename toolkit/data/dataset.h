#pragma once
// TDataSet: a cursor over the records of a record source, with fields,
// states (browse, edit, insert...), filters, bookmarks, key searches and the
// notifications that keep data-aware controls in step through TDataSource
// and TDataLink.
//
// Subclasses make the source (CreateRecordSource) and publish the
// properties that say where the records come from; everything else lives
// here.
//
// Positions. The records a dataset shows are its "view": the source's rows
// in the source's order, without the rows the filter rejects, plus the
// record being inserted. The cursor is a view position; so is the first row
// of every link's window (see datalink.h for the window rules).
//
// Notifications go out through DataEvent to every data source and from
// there to the links, except while DisableControls is in force.

#include "toolkit/core/component.h"
#include "toolkit/core/variant.h"
#include "toolkit/data/dbtypes.h"
#include "toolkit/data/field.h"
#include "toolkit/data/recordsource.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace tk {

class TDataSource;
class TDataLink;
struct ReadTarget;

using TBookmark = QByteArray;
using TDataSetNotifyEvent = std::function<void(TDataSet* dataSet)>;
using TFilterRecordEvent = std::function<void(TDataSet* dataSet, bool& accept)>;

class TDataSet : public TComponent {
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(bool Filtered READ Filtered WRITE SetFiltered)
    Q_PROPERTY(bool AutoCalcFields READ AutoCalcFields WRITE SetAutoCalcFields)
    Q_CLASSINFO("Default:Active", "False")
    Q_CLASSINFO("Default:Filtered", "False")
    Q_CLASSINFO("Default:AutoCalcFields", "True")

public:
    explicit TDataSet(QObject* owner = nullptr);
    ~TDataSet() override;

    // --- Opening ----------------------------------------------------------
    bool Active() const { return state_ != dsInactive; }
    // While streaming in, the value is applied in Loaded.
    void SetActive(bool active);
    void Open() { SetActive(true); }
    // Cancels a pending edit or insert, frees default fields, closes.
    void Close() { SetActive(false); }
    // Re-reads the source: closes it and opens it again, keeping the cursor
    // on the same record when it still exists (else at the nearest position).
    void Refresh();
    void Loaded() override;

    // --- State ------------------------------------------------------------
    TDataSetState State() const { return state_; }
    // True once a field of the record in edit or insert state was set.
    bool Modified() const { return modified_; }
    virtual bool CanModify() const;
    // Unidirectional datasets move forward only; links refuse them.
    virtual bool IsUnidirectional() const { return false; }
    // Record numbers are meaningful (RecNo and RecordCount are exact).
    virtual bool IsSequenced() const;
    // No persistent fields: the fields were made by Open from the source.
    bool DefaultFields() const { return defaultFields_; }

    // --- Fields -----------------------------------------------------------
    // Top-level fields in order.
    const TFields& Fields() const { return fields_; }
    // Every field including sub-fields of object fields, depth first,
    // addressed by full name.
    const TFields& FieldList() const { return fieldList_; }
    int FieldCount() const { return fields_.Count(); }
    TField* FindField(const QString& fullName) const;
    TField* FieldByName(const QString& fullName) const;  // raises SFieldNotFound
    // True when the dataset has persistent fields (readable while closed).
    bool HasPersistentFields() const;
    // The values of ";"-separated fields of the active record: one field
    // gives its value, several give an array.
    Variant FieldValues(const QString& fieldNames) const;
    void SetFieldValues(const QString& fieldNames, const Variant& values);
    // The fields named by a ";"-separated list; raises SFieldNotFound.
    QList<TField*> GetFieldList(const QString& fieldNames) const;
    std::unique_ptr<TBlobStream> CreateBlobStream(TField* field, TBlobStreamMode mode);

    // --- Navigation -------------------------------------------------------
    void First();
    void Last();
    void Next() { MoveBy(1); }
    void Prior() { MoveBy(-1); }
    // Moves by up to distance records and returns how far it moved; stops
    // at either end (setting Bof or Eof). Cost is proportional to the
    // distance actually moved only for filtered datasets.
    int MoveBy(int distance);
    bool Bof() const { return bof_; }
    bool Eof() const { return eof_; }
    bool IsEmpty() const;
    // Next/previous record (honouring the filter); false at the end.
    bool FindFirst();
    bool FindLast();
    bool FindNext();
    bool FindPrior();
    // 1-based number of the current record; 0 when there is none (empty,
    // or an unposted insert). Setting it moves there (clamped).
    int RecNo() const;
    void SetRecNo(int recNo);
    // The number of records; exact for sequenced datasets (an SQLite
    // dataset asks the database instead of fetching every row).
    int RecordCount() const;
    // Whether RecordCount answers at once, from what the dataset already
    // knows; otherwise it reads (a count query, or every row to filter).
    bool RecordCountKnown() const;
    // Moves to the first record whose key fields match; returns whether it
    // found one (and moved only then).
    bool Locate(const QString& keyFields, const Variant& keyValues, TLocateOptions options = {});
    // The result fields' values of the first matching record without moving
    // the cursor; Null when none matches.
    Variant Lookup(const QString& keyFields, const Variant& keyValues, const QString& resultFields);

    // --- Bookmarks --------------------------------------------------------
    // The active record's (the current one unless a data link moved the
    // active record to one of its rows); empty when there is none.
    TBookmark GetBookmark() const;
    // Raises EDatabaseError when the record is gone.
    void GotoBookmark(const TBookmark& bookmark);
    bool BookmarkValid(const TBookmark& bookmark) const;
    // Orders two bookmarks by the records' positions in the current order:
    // negative, 0 (same record), positive. Empty bookmarks sort first.
    int CompareBookmarks(const TBookmark& a, const TBookmark& b) const;
    void FreeBookmark(const TBookmark&) {}
    TBookmark Bookmark() const { return GetBookmark(); }
    void SetBookmark(const TBookmark& bookmark) { GotoBookmark(bookmark); }

    // --- Editing ----------------------------------------------------------
    void Edit();
    void Insert();
    void Append();
    void Post();
    void Cancel();
    void Delete();
    // In edit or insert: asks the links to write pending values
    // (UpdateData), then posts when modified, else cancels.
    void CheckBrowseMode();
    // Raises EDatabaseError SDataSetClosed when inactive.
    void CheckActive() const;
    // Asks the links to write pending control values (UpdateData); raises
    // outside edit and insert.
    void UpdateRecord();
    // Runs the filter again over every record (its conditions changed).
    void RefilterRecords();

    // --- Buffers and resynchronisation ------------------------------------
    // Re-reads the window rows; rmExact keeps the current record on its
    // active window row (the row a link's ActiveRecord last set), rmCenter
    // puts it in the middle of each window.
    void Resync(TResyncMode mode);
    // Puts the cursor on the active record (the one a link's ActiveRecord
    // set), without notifications.
    void UpdateCursorPos();
    // Moves the cursor to the bookmark's record without touching windows or
    // telling the links; Resync(rmExact) afterwards keeps the active row.
    void SetCursorToBookmark(const TBookmark& bookmark);
    // The end flags navigation left (Bof, Eof), for a walk that moves the
    // cursor and puts it back with SetCursorToBookmark: restoring them
    // keeps "at the end" true for navigators. Each flag comes back only
    // where it still holds (Bof on the first record, Eof on the last).
    struct TCursorEnds {
        bool bof = false;
        bool eof = false;
    };
    TCursorEnds CursorEnds() const { return {bof_, eof_}; }
    void RestoreCursorEnds(const TCursorEnds& ends);

    // --- Controls ---------------------------------------------------------
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const { return disableCount_ > 0; }

    // --- Column scans (datasetscan.cpp) -------------------------------------
    // Visits the value of one data field in every record, in the order
    // First/Next would visit them, straight from the record source: the
    // cursor does not move and no link, scroll or calculation handler runs.
    // Only where the source's rows are exactly the records and the values
    // are what the field reads: active, in browse state, not filtered, and
    // the field a data field of this dataset with a source column (not
    // calculated, lookup or object). Returns false, visiting nothing,
    // otherwise. A source that fetches on demand fetches every row.
    bool ScanFieldValues(const TField* field, const std::function<void(const Variant&)>& visit);

    // --- Filters and calculated fields ------------------------------------
    bool Filtered() const { return filtered_; }
    void SetFiltered(bool on);
    bool AutoCalcFields() const { return autoCalcFields_; }
    void SetAutoCalcFields(bool on) { autoCalcFields_ = on; }

    TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
    TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
    TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
    TDataSetNotifyEvent BeforeDelete, AfterDelete, BeforeScroll, AfterScroll;
    TDataSetNotifyEvent OnNewRecord, OnCalcFields;
    TFilterRecordEvent OnFilterRecord;

    // --- For fields, sources and links ------------------------------------
    // The value of a field in the active record.
    Variant GetFieldValue(const TField* field) const;
    // Sets a field in the record being edited (or, in dsCalcFields, a
    // calculated field); raises EDatabaseError outside those states.
    void SetFieldValue(TField* field, const Variant& value);
    // A field's display property changed: LayoutChanged for index and
    // visibility, DataSetChanged for the others.
    void FieldPropertyChanged(TField* field, bool layout);
    void AttachField(TField* field);
    void DetachField(TField* field);
    void MoveField(TField* field, int newIndex);
    // Sends an event to every data source (non-visual links first), unless
    // controls are disabled.
    void DataEvent(TDataEvent event, qintptr info = 0);
    void RegisterDataSource(TDataSource* source);
    void UnregisterDataSource(TDataSource* source);
    // Window bookkeeping for links: the view position of the active record
    // (what field reads see) and the cursor.
    qint64 ActiveRecordPosition() const { return activePos_; }
    qint64 CursorPosition() const { return cursor_; }
    // Counts openings and closings, so that a link that missed both (while
    // controls were disabled) still learns that the dataset was reopened.
    int ActivationCount() const { return activations_; }
    // Makes sure view positions up to position exist; returns whether
    // position is a record (fetching on demand).
    bool HasViewRow(qint64 position) const;
    // The view position of the last record (fetching the rest), -1 when empty.
    qint64 LastViewPosition() const;

protected:
    // The source for Open; raises EDatabaseError with the reason when the
    // dataset cannot open. The dataset owns it until Close.
    virtual std::unique_ptr<TRecordSource> CreateRecordSource() = 0;
    TRecordSource* Source() const { return source_.get(); }
    // Hooks for subclasses around opening and closing.
    virtual void DoAfterOpen() {}
    virtual void DoBeforeClose() {}
    // Hooks for subclasses around changes of rows: DoBeforeModify runs before
    // Edit, Insert/Append and Delete change anything (it raises to refuse);
    // DoAfterModify after Post and Delete wrote to the source.
    virtual void DoBeforeModify() {}
    virtual void DoAfterModify() {}
    // Before Post checks and writes the record (after the links gave their
    // values), and before Cancel drops it; both run also while the
    // controls are disabled.
    virtual void DoBeforePost() {}
    virtual void DoBeforeCancel() {}
    // Raises EDatabaseError while active, for settings that cannot change.
    void CheckInactive() const;
    // Reopens keeping the current record when the dataset is active (a
    // changed SQL text or sort order).
    void Reopen();
    // The source changed its order (a new sort): keeps the current record
    // and tells the links DataSetChanged.
    void SourceReordered();

private:
    enum class WindowRule { Top, Bottom, Center, Keep };

    void CheckActiveAndBrowse();
    // Raises SDataSetUnidirectional for moves a forward-only dataset refuses.
    void CheckBiDirectional() const;
    void JumpTo(qint64 position, WindowRule rule, bool bof, bool eof);
    WindowRule SearchRule() const;
    void BindFields();
    void FreeDefaultFields();
    void RebuildFieldList();
    void RestoreCursor(const TBookmark& bookmark, qint64 oldCursor);

    ReadTarget CurrentTarget() const;
    Variant ObjectFieldValue(const TField* field) const;
    const std::vector<Variant>& CalcValues(const ReadTarget& target);
    void RunCalcFields(const ReadTarget& target, std::vector<Variant>& values);

    void ResetView();
    bool Accepts(qint64 sourcePos);
    bool BaseHasRow(qint64 position) const;
    qint64 BaseCount() const;
    qint64 ViewToSource(qint64 position) const;
    qint64 SourceToView(qint64 sourcePos) const;
    void SourceRowInserted(qint64 sourcePos);
    void SourceRowDeleted(qint64 sourcePos);

    bool RecordMatches(const QList<TField*>& fields, const VariantArray& keys, TLocateOptions options) const;
    qint64 FindRecord(const QString& keyFields, const Variant& keyValues, TLocateOptions options);
    qint64 BookmarkPosition(const TBookmark& bookmark) const;

    void BeginInsert(bool append);
    void CheckRequiredFields();
    void FinishEditing();
    void DiscardEdits();

    // Windows: every link of every data source keeps its own.
    void ForEachLink(const std::function<void(TDataLink*)>& action) const;
    void CaptureRows();
    void PlaceWindow(TDataLink* link, int preferredRow) const;
    int ScrollWindow(TDataLink* link) const;
    void ChangedAbsolutely(WindowRule rule);
    void SetActiveRecordPosition(qint64 position, TDataLink* link);
    void PlaceNewLinkWindow(TDataLink* link) const;
    void ChangeBufferCount(TDataLink* link, int count);
    int WindowRecordCount(const TDataLink* link) const;

    friend class TDataLink;
    friend class TDataSource;
    struct Impl;
    std::unique_ptr<Impl> d_;
    std::unique_ptr<TRecordSource> source_;
    TFields fields_;
    TFields fieldList_;
    TDataSetState state_ = dsInactive;
    bool modified_ = false;
    bool defaultFields_ = true;
    bool bof_ = true;
    bool eof_ = true;
    bool filtered_ = false;
    bool autoCalcFields_ = true;
    bool streamedActive_ = false;
    int disableCount_ = 0;
    int activations_ = 0;
    qint64 cursor_ = -1;
    qint64 activePos_ = -1;
};

}  // namespace tk
