#include "toolkit/data/dataset.h"

#include "toolkit/core/dbconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/format.h"
#include "toolkit/data/datalink.h"
#include "toolkit/data/datasource.h"

#include <QHash>
#include <QScopedValueRollback>
#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <optional>

namespace tk {

namespace {

[[noreturn]] void RaiseDb(const TResourceString& message)
{
    throw EDatabaseError(LoadResString(&message));
}

[[noreturn]] void RaiseDb(const TResourceString& message, const QString& name)
{
    throw EDatabaseError(Format(LoadResString(&message), {Variant(name)}));
}

TBookmark BookmarkOf(TRowId id)
{
    TBookmark bookmark(sizeof(TRowId), Qt::Uninitialized);
    qToLittleEndian(id, bookmark.data());
    return bookmark;
}

bool RowIdOf(const TBookmark& bookmark, TRowId& id)
{
    if (bookmark.size() != static_cast<qsizetype>(sizeof(TRowId)))
        return false;
    id = qFromLittleEndian<TRowId>(bookmark.constData());
    return true;
}

QStringList SplitFieldNames(const QString& names)
{
    QStringList result;
    for (const QString& part : names.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = part.trimmed();
        if (!name.isEmpty())
            result << name;
    }
    return result;
}

bool IsEditState(TDataSetState state)
{
    return state == dsEdit || state == dsInsert;
}

}  // namespace

// What a field read sees: no record, a row of the source, or the record in
// the edit buffer.
struct ReadTarget {
    enum Kind { None, Row, Edit } kind = None;
    qint64 sourcePos = -1;
};

struct TDataSet::Impl {
    QList<TDataSource*> sources;

    // The filtered view: source positions that passed the filter, in order.
    std::vector<qint64> passed;
    qint64 scanned = 0;  // source positions the filter has looked at
    bool scanComplete = false;

    // The view position of the record being inserted, -1 when none.
    qint64 insertPos = -1;
    std::vector<Variant> editValues;
    std::vector<bool> editChanged;
    std::vector<Variant> editCalc;
    bool editCalcValid = false;

    // Calculated values per row, valid until the next absolute change.
    QHash<TRowId, std::vector<Variant>> calcCache;
    QHash<const TField*, int> calcIndex;
    std::vector<Variant>* calcBuilding = nullptr;

    std::optional<ReadTarget> readOverride;
    // The link whose ActiveRecord setter moved the active record off the
    // cursor; Resync and bookmark moves keep its row.
    TDataLink* activeLink = nullptr;

    bool activeAtDisable = false;
    TDataSetState stateAtDisable = dsInactive;

    QList<QPointer<TField>> defaultFields;
};

TDataSet::TDataSet(QObject* owner) : TComponent(owner), d_(std::make_unique<Impl>()) {}

TDataSet::~TDataSet()
{
    Destroying();
    if (Active()) {
        ++disableCount_;  // nobody listens any more
        try {
            SetActive(false);
        } catch (...) {
        }
    }
    for (TDataSource* source : QList<TDataSource*>(d_->sources))
        source->SetDataSet(nullptr);
    for (TField* field : fieldList_)
        field->dataSet_ = nullptr;
}

// --- Opening -----------------------------------------------------------------

void TDataSet::SetActive(bool active)
{
    if (HasState(TComponentStateFlag::csLoading)) {
        streamedActive_ = active;
        return;
    }
    if (active == Active())
        return;
    if (active) {
        if (BeforeOpen)
            BeforeOpen(this);
        std::unique_ptr<TRecordSource> source = CreateRecordSource();
        if (!source)
            throw EDatabaseError(QStringLiteral("%1: no records to open").arg(Name()));
        source_ = std::move(source);
        try {
            BindFields();
        } catch (...) {
            FreeDefaultFields();
            source_.reset();
            throw;
        }
        ResetView();
        cursor_ = HasViewRow(0) ? 0 : -1;
        activePos_ = cursor_;
        bof_ = true;
        eof_ = cursor_ < 0;
        modified_ = false;
        state_ = dsBrowse;
        ++activations_;
        ForEachLink([this](TDataLink* link) { PlaceWindow(link, 0); });
        DataEvent(deUpdateState);
        DoAfterOpen();
        if (AfterOpen)
            AfterOpen(this);
    } else {
        if (!HasState(TComponentStateFlag::csDestroying) && BeforeClose)
            BeforeClose(this);
        DoBeforeClose();
        DiscardEdits();
        state_ = dsInactive;
        ++activations_;
        DataEvent(deUpdateState);
        FreeDefaultFields();
        for (TField* field : fieldList_)
            field->fieldNo_ = 0;
        ResetView();
        source_.reset();
        cursor_ = activePos_ = -1;
        bof_ = eof_ = true;
        modified_ = false;
        if (!HasState(TComponentStateFlag::csDestroying) && AfterClose)
            AfterClose(this);
    }
}

void TDataSet::Loaded()
{
    TComponent::Loaded();
    if (streamedActive_) {
        streamedActive_ = false;
        SetActive(true);
    }
}

void TDataSet::BindFields()
{
    if (fields_.Count() == 0) {
        defaultFields_ = true;
        for (const TFieldDef& def : source_->FieldDefs()) {
            TField* field = CreateFieldForDef(def, this);
            d_->defaultFields << field;
            field->SetDataSet(this);
        }
    } else {
        defaultFields_ = false;  // fields present at opening are persistent
    }
    RebuildFieldList();
    for (TField* field : fieldList_) {
        field->fieldNo_ = 0;
        if (field->FieldKind() != fkData || field->ChildFields())
            continue;
        const int column = source_->ColumnIndex(field->FullName());
        if (column < 0)
            RaiseDb(SFieldNotFound, field->FullName());
        field->fieldNo_ = column + 1;
    }
}

void TDataSet::FreeDefaultFields()
{
    const QList<QPointer<TField>> fields = d_->defaultFields;
    d_->defaultFields.clear();
    for (auto it = fields.rbegin(); it != fields.rend(); ++it)
        delete it->data();
    if (!fields.isEmpty())
        defaultFields_ = true;
}

void TDataSet::RebuildFieldList()
{
    fieldList_.Clear();
    d_->calcIndex.clear();
    // Calculated values are stored by index: they must be made again.
    d_->calcCache.clear();
    d_->editCalcValid = false;
    std::function<void(const TFields&)> add = [&](const TFields& fields) {
        for (TField* field : fields) {
            fieldList_.Add(field);
            if (field->Calculated()) {
                const int index = static_cast<int>(d_->calcIndex.size());
                d_->calcIndex.insert(field, index);
            }
            if (const TFields* children = field->ChildFields())
                add(*children);
        }
    };
    add(fields_);
}

void TDataSet::Refresh()
{
    CheckActiveAndBrowse();
    const TBookmark bookmark = GetBookmark();
    const qint64 oldCursor = cursor_;
    CaptureRows();
    std::unique_ptr<TRecordSource> source = CreateRecordSource();
    if (!source)
        throw EDatabaseError(QStringLiteral("%1: no records to open").arg(Name()));
    if (source->ColumnNames() != source_->ColumnNames()) {
        // The structure changed underneath: open afresh.
        source.reset();
        Reopen();
        return;
    }
    source_ = std::move(source);
    ResetView();
    RestoreCursor(bookmark, oldCursor);
    ChangedAbsolutely(WindowRule::Keep);
}

void TDataSet::Reopen()
{
    if (!Active())
        return;
    const TBookmark bookmark = GetBookmark();
    const qint64 oldCursor = cursor_;
    Close();
    Open();
    if (cursor_ < 0)
        return;
    CaptureRows();
    RestoreCursor(bookmark, oldCursor);
    ChangedAbsolutely(WindowRule::Keep);
}

void TDataSet::SourceReordered()
{
    CheckActive();
    const TBookmark bookmark = GetBookmark();
    CaptureRows();
    ResetView();
    RestoreCursor(bookmark, cursor_);
    ChangedAbsolutely(WindowRule::Keep);
}

void TDataSet::RestoreCursor(const TBookmark& bookmark, qint64 oldCursor)
{
    qint64 position = -1;
    TRowId id = 0;
    if (RowIdOf(bookmark, id)) {
        // The record may lie beyond what the new source fetched so far.
        if (oldCursor >= 0)
            HasViewRow(oldCursor);
        position = SourceToView(source_->PositionOf(id));
    }
    if (position < 0 && oldCursor >= 0)
        position = HasViewRow(oldCursor) ? oldCursor : LastViewPosition();
    if (position < 0)
        position = HasViewRow(0) ? 0 : -1;
    cursor_ = position;
    bof_ = eof_ = cursor_ < 0;
}

void TDataSet::CheckActive() const
{
    if (!Active())
        RaiseDb(SDataSetClosed);
}

void TDataSet::CheckInactive() const
{
    if (Active())
        RaiseDb(SDataSetOpen);
}

void TDataSet::CheckActiveAndBrowse()
{
    CheckActive();
    CheckBrowseMode();
}

void TDataSet::CheckBiDirectional() const
{
    if (IsUnidirectional())
        RaiseDb(SDataSetUnidirectional);
}

// --- State -----------------------------------------------------------------------

bool TDataSet::CanModify() const
{
    return Active() && source_ && source_->CanModify();
}

bool TDataSet::IsSequenced() const
{
    return !filtered_;
}

// --- Fields ----------------------------------------------------------------------

TField* TDataSet::FindField(const QString& fullName) const
{
    return fieldList_.FindField(fullName);
}

TField* TDataSet::FieldByName(const QString& fullName) const
{
    TField* field = FindField(fullName);
    if (!field)
        RaiseDb(SFieldNotFound, fullName);
    return field;
}

bool TDataSet::HasPersistentFields() const
{
    for (TField* field : fields_)
        if (!d_->defaultFields.contains(field))
            return true;
    return false;
}

QList<TField*> TDataSet::GetFieldList(const QString& fieldNames) const
{
    QList<TField*> result;
    for (const QString& name : SplitFieldNames(fieldNames))
        result << FieldByName(name);
    return result;
}

Variant TDataSet::FieldValues(const QString& fieldNames) const
{
    const QList<TField*> fields = GetFieldList(fieldNames);
    if (fields.size() == 1)
        return fields.front()->AsVariant();
    VariantArray values;
    for (TField* field : fields)
        values.push_back(field->AsVariant());
    return Variant::FromArray(std::move(values));
}

void TDataSet::SetFieldValues(const QString& fieldNames, const Variant& values)
{
    const QList<TField*> fields = GetFieldList(fieldNames);
    if (fields.size() == 1 && !values.IsArray()) {
        fields.front()->SetAsVariant(values);
        return;
    }
    const VariantArray& elements = values.Elements();
    if (elements.size() != static_cast<size_t>(fields.size()))
        throw EDatabaseError(QStringLiteral("%1 values given for %2 fields").arg(elements.size()).arg(fields.size()));
    for (int i = 0; i < fields.size(); ++i)
        fields[i]->SetAsVariant(elements[static_cast<size_t>(i)]);
}

std::unique_ptr<TBlobStream> TDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode)
{
    CheckActive();
    if (!field || field->DataSet() != this)
        throw EDatabaseError(QStringLiteral("The field does not belong to this dataset"));
    return std::make_unique<TBlobStream>(field, mode);
}

void TDataSet::AttachField(TField* field)
{
    if (fieldList_.IndexOf(field) >= 0)
        return;
    if (!field->ParentField())
        fields_.Add(field);
    RebuildFieldList();
    if (!d_->defaultFields.contains(field))
        defaultFields_ = false;
    if (!HasState(TComponentStateFlag::csDestroying))
        DataEvent(deFieldListChange);
}

void TDataSet::DetachField(TField* field)
{
    fields_.Remove(field);
    d_->defaultFields.removeAll(field);
    d_->calcCache.clear();
    RebuildFieldList();
    if (fields_.Count() == 0 || d_->defaultFields.size() == fields_.Count())
        defaultFields_ = true;
    if (!HasState(TComponentStateFlag::csDestroying))
        DataEvent(deFieldListChange);
}

void TDataSet::MoveField(TField* field, int newIndex)
{
    const int from = fields_.IndexOf(field);
    if (from < 0)
        return;
    newIndex = std::clamp(newIndex, 0, fields_.Count() - 1);
    if (newIndex == from)
        return;
    fields_.Move(from, newIndex);
    RebuildFieldList();
    d_->calcCache.clear();
    if (Active())
        DataEvent(deLayoutChange);
}

void TDataSet::FieldPropertyChanged(TField*, bool layout)
{
    // A sub-field moved within its parent changes the flat order too.
    if (layout)
        RebuildFieldList();
    if (Active())
        DataEvent(layout ? deLayoutChange : deDataSetChange);
}

// --- Field values --------------------------------------------------------------------

ReadTarget TDataSet::CurrentTarget() const
{
    if (d_->readOverride)
        return *d_->readOverride;
    if (!Active() || activePos_ < 0)
        return {};
    if (activePos_ == d_->insertPos || (activePos_ == cursor_ && state_ == dsEdit))
        return {ReadTarget::Edit, -1};
    if (!HasViewRow(activePos_))
        return {};
    return {ReadTarget::Row, ViewToSource(activePos_)};
}

Variant TDataSet::GetFieldValue(const TField* field) const
{
    const ReadTarget target = CurrentTarget();
    if (target.kind == ReadTarget::None)
        return Variant::NullValue();
    switch (field->FieldKind()) {
    case fkData: {
        const int column = field->FieldNo() - 1;
        if (column < 0)
            return ObjectFieldValue(field);
        if (target.kind == ReadTarget::Edit) {
            const Variant& value = d_->editValues[static_cast<size_t>(column)];
            return value.IsUnassigned() ? Variant::NullValue() : value;
        }
        return source_->Value(target.sourcePos, column);
    }
    case fkCalculated:
    case fkInternalCalc: {
        const auto index = d_->calcIndex.find(field);
        if (index == d_->calcIndex.end())
            return Variant::NullValue();
        if (d_->calcBuilding)
            return (*d_->calcBuilding)[static_cast<size_t>(*index)];
        const std::vector<Variant>& values = const_cast<TDataSet*>(this)->CalcValues(target);
        return values[static_cast<size_t>(*index)];
    }
    case fkLookup: {
        TField* lookup = const_cast<TField*>(field);
        if (!lookup->LookupDataSet() || lookup->KeyFields().isEmpty())
            return Variant::NullValue();
        return lookup->LookupValueFor(FieldValues(lookup->KeyFields()));
    }
    case fkAggregate: break;
    }
    return Variant::NullValue();
}

Variant TDataSet::ObjectFieldValue(const TField* field) const
{
    const TFields* children = field->ChildFields();
    if (!children)
        return Variant::NullValue();
    VariantArray values;
    for (TField* child : *children)
        values.push_back(child->AsVariant());
    return Variant::FromArray(std::move(values));
}

const std::vector<Variant>& TDataSet::CalcValues(const ReadTarget& target)
{
    const size_t count = static_cast<size_t>(d_->calcIndex.size());
    if (target.kind == ReadTarget::Edit) {
        if (!d_->editCalcValid) {
            d_->editCalc.assign(count, Variant::NullValue());
            RunCalcFields(target, d_->editCalc);
            d_->editCalcValid = true;
        }
        return d_->editCalc;
    }
    const TRowId id = source_->RowIdAt(target.sourcePos);
    auto cached = d_->calcCache.find(id);
    if (cached == d_->calcCache.end()) {
        std::vector<Variant> values(count, Variant::NullValue());
        RunCalcFields(target, values);
        cached = d_->calcCache.insert(id, std::move(values));
    }
    return *cached;
}

void TDataSet::RunCalcFields(const ReadTarget& target, std::vector<Variant>& values)
{
    if (!OnCalcFields || values.empty())
        return;
    QScopedValueRollback<std::optional<ReadTarget>> reading(d_->readOverride, target);
    QScopedValueRollback<std::vector<Variant>*> building(d_->calcBuilding, &values);
    QScopedValueRollback<TDataSetState> state(state_, dsCalcFields);
    OnCalcFields(this);
}

void TDataSet::SetFieldValue(TField* field, const Variant& value)
{
    CheckActive();
    if (field->Calculated()) {
        const auto index = d_->calcIndex.find(field);
        if (state_ == dsCalcFields && d_->calcBuilding && index != d_->calcIndex.end()) {
            (*d_->calcBuilding)[static_cast<size_t>(*index)] = value;
            return;
        }
        RaiseDb(SNotCalculating, field->DisplayName());
    }
    if (state_ == dsCalcFields || state_ == dsFilter)
        RaiseDb(SFieldReadOnly, field->DisplayName());
    if (!IsEditState(state_))
        RaiseDb(SNotEditing);
    if (field->FieldKind() == fkLookup) {
        // A lookup value is set through its key fields: the key of the
        // lookup record whose result equals the value.
        TDataSet* lookup = field->LookupDataSet();
        if (!lookup || field->KeyFields().isEmpty())
            RaiseDb(SFieldReadOnly, field->DisplayName());
        const Variant keys = value.IsEmptyOrNull()
                                 ? Variant::NullValue()
                                 : lookup->Lookup(field->LookupResultField(), value, field->LookupKeyFields());
        if (!value.IsEmptyOrNull() && keys.IsNull())
            RaiseDb(SRecordNotFound);
        const QList<TField*> keyFields = GetFieldList(field->KeyFields());
        if (keys.IsArray())
            SetFieldValues(field->KeyFields(), keys);
        else
            for (TField* key : keyFields)
                key->SetAsVariant(keys);
        return;
    }
    const int column = field->FieldNo() - 1;
    if (column < 0)
        RaiseDb(SFieldReadOnly, field->DisplayName());
    d_->editValues[static_cast<size_t>(column)] = value;
    d_->editChanged[static_cast<size_t>(column)] = true;
    d_->editCalcValid = false;
    modified_ = true;
    DataEvent(deFieldChange, reinterpret_cast<qintptr>(field));
}

// --- The view --------------------------------------------------------------------

void TDataSet::ResetView()
{
    d_->passed.clear();
    d_->scanned = 0;
    d_->scanComplete = false;
    d_->calcCache.clear();
}

bool TDataSet::Accepts(qint64 sourcePos)
{
    if (!OnFilterRecord)
        return true;
    QScopedValueRollback<std::optional<ReadTarget>> reading(d_->readOverride,
                                                            ReadTarget{ReadTarget::Row, sourcePos});
    QScopedValueRollback<TDataSetState> state(state_, dsFilter);
    QScopedValueRollback<std::vector<Variant>*> noCalc(d_->calcBuilding, nullptr);
    bool accept = true;
    OnFilterRecord(this, accept);
    return accept;
}

bool TDataSet::BaseHasRow(qint64 position) const
{
    if (position < 0 || !source_)
        return false;
    if (!filtered_)
        return source_->HasRow(position);
    Impl& d = *d_;
    TDataSet* self = const_cast<TDataSet*>(this);
    while (static_cast<qint64>(d.passed.size()) <= position && !d.scanComplete) {
        if (!source_->HasRow(d.scanned)) {
            d.scanComplete = true;
            break;
        }
        if (self->Accepts(d.scanned))
            d.passed.push_back(d.scanned);
        ++d.scanned;
    }
    return position < static_cast<qint64>(d.passed.size());
}

qint64 TDataSet::BaseCount() const
{
    if (!source_)
        return 0;
    if (!filtered_)
        return source_->RowCount();
    BaseHasRow(std::numeric_limits<qint64>::max() - 1);
    return static_cast<qint64>(d_->passed.size());
}

bool TDataSet::HasViewRow(qint64 position) const
{
    if (position < 0)
        return false;
    const qint64 insertPos = d_->insertPos;
    if (insertPos >= 0) {
        if (position == insertPos)
            return true;
        if (position > insertPos)
            return BaseHasRow(position - 1);
    }
    return BaseHasRow(position);
}

qint64 TDataSet::LastViewPosition() const
{
    // Reading on to the source's end (not just to its counted last row) also
    // ends its read, so an SQLite file is no longer locked against writers.
    if (source_ && !filtered_)
        source_->FetchAll();
    const qint64 count = BaseCount() + (d_->insertPos >= 0 ? 1 : 0);
    if (count > 0)
        HasViewRow(count - 1);  // fetch up to it
    return count - 1;
}

qint64 TDataSet::ViewToSource(qint64 position) const
{
    const qint64 insertPos = d_->insertPos;
    if (insertPos >= 0) {
        if (position == insertPos)
            return -1;
        if (position > insertPos)
            --position;
    }
    return filtered_ ? d_->passed[static_cast<size_t>(position)] : position;
}

qint64 TDataSet::SourceToView(qint64 sourcePos) const
{
    if (sourcePos < 0)
        return -1;
    qint64 position = sourcePos;
    if (filtered_) {
        BaseHasRow(std::numeric_limits<qint64>::max() - 1);
        const auto it = std::lower_bound(d_->passed.begin(), d_->passed.end(), sourcePos);
        if (it == d_->passed.end() || *it != sourcePos)
            return -1;
        position = it - d_->passed.begin();
    }
    if (d_->insertPos >= 0 && position >= d_->insertPos)
        ++position;
    return position;
}

// The filter's list after the source inserted or deleted a row.
void TDataSet::SourceRowInserted(qint64 sourcePos)
{
    if (!filtered_)
        return;
    for (qint64& p : d_->passed)
        if (p >= sourcePos)
            ++p;
    if (sourcePos < d_->scanned || d_->scanComplete) {
        d_->passed.insert(std::lower_bound(d_->passed.begin(), d_->passed.end(), sourcePos), sourcePos);
        ++d_->scanned;
    }
}

void TDataSet::SourceRowDeleted(qint64 sourcePos)
{
    if (!filtered_)
        return;
    d_->passed.erase(std::remove(d_->passed.begin(), d_->passed.end(), sourcePos), d_->passed.end());
    for (qint64& p : d_->passed)
        if (p > sourcePos)
            --p;
    if (sourcePos < d_->scanned)
        --d_->scanned;
}

// --- Navigation ------------------------------------------------------------------

bool TDataSet::IsEmpty() const
{
    return !Active() || (cursor_ < 0 && d_->insertPos < 0);
}

void TDataSet::First()
{
    CheckActiveAndBrowse();
    if (cursor_ > 0)
        CheckBiDirectional();
    const qint64 position = HasViewRow(0) ? 0 : -1;
    JumpTo(position, WindowRule::Top, true, position < 0);
}

void TDataSet::Last()
{
    CheckActiveAndBrowse();
    const qint64 position = LastViewPosition();
    JumpTo(position, WindowRule::Bottom, position < 0, true);
}

// An absolute move: the scroll events around it, the end flags set before
// the links hear of it (navigators read them), the windows placed by rule.
void TDataSet::JumpTo(qint64 position, WindowRule rule, bool bof, bool eof)
{
    if (BeforeScroll)
        BeforeScroll(this);
    CaptureRows();
    cursor_ = position;
    bof_ = bof;
    eof_ = eof;
    ChangedAbsolutely(rule);
    if (AfterScroll)
        AfterScroll(this);
}

// Searches and bookmark moves center the record, unless a link chose its
// row by setting ActiveRecord: then the record lands on that row.
TDataSet::WindowRule TDataSet::SearchRule() const
{
    return d_->activeLink ? WindowRule::Keep : WindowRule::Center;
}

int TDataSet::MoveBy(int distance)
{
    CheckActiveAndBrowse();
    if (distance == 0)
        return 0;
    if (distance < 0)
        CheckBiDirectional();
    if (BeforeScroll)
        BeforeScroll(this);
    bof_ = eof_ = false;
    qint64 target = cursor_;
    if (cursor_ < 0) {
        bof_ = eof_ = true;
    } else if (distance > 0) {
        // Fetches only up to the record it lands on (or to the end); a huge
        // distance stops at the last record without counting beyond it.
        const qint64 wanted = cursor_ + distance;
        if (HasViewRow(wanted)) {
            target = wanted;
        } else {
            target = LastViewPosition();
            eof_ = true;
        }
    } else {
        target = cursor_ + distance;
        if (target < 0) {
            target = 0;
            bof_ = true;
        }
    }
    const int moved = static_cast<int>(target - cursor_);
    cursor_ = target;
    activePos_ = cursor_;
    d_->activeLink = nullptr;
    ForEachLink([this](TDataLink* link) { link->pendingScroll_ = ScrollWindow(link); });
    DataEvent(deDataSetScroll);
    if (AfterScroll)
        AfterScroll(this);
    return moved;
}

bool TDataSet::FindFirst()
{
    First();
    return cursor_ >= 0;
}

bool TDataSet::FindLast()
{
    Last();
    return cursor_ >= 0;
}

bool TDataSet::FindNext()
{
    return MoveBy(1) != 0;
}

bool TDataSet::FindPrior()
{
    return MoveBy(-1) != 0;
}

int TDataSet::RecNo() const
{
    if (!Active() || cursor_ < 0 || cursor_ == d_->insertPos)
        return 0;
    qint64 position = cursor_;
    if (d_->insertPos >= 0 && cursor_ > d_->insertPos)
        --position;
    return static_cast<int>(std::min<qint64>(position + 1, std::numeric_limits<int>::max()));
}

void TDataSet::SetRecNo(int recNo)
{
    CheckActiveAndBrowse();
    CheckBiDirectional();
    if (cursor_ < 0)
        return;
    qint64 position = std::max(recNo, 1) - 1;
    if (!HasViewRow(position))
        position = LastViewPosition();
    if (position != cursor_)
        JumpTo(position, SearchRule(), false, false);
}

int TDataSet::RecordCount() const
{
    if (!Active())
        return 0;
    return static_cast<int>(std::min<qint64>(BaseCount(), std::numeric_limits<int>::max()));
}

bool TDataSet::RecordCountKnown() const
{
    if (!Active() || !source_)
        return true;
    return filtered_ ? source_->IsComplete() : source_->RowCountKnown();
}

// --- Searching -------------------------------------------------------------------

bool TDataSet::RecordMatches(const QList<TField*>& fields, const VariantArray& keys, TLocateOptions options) const
{
    for (int i = 0; i < fields.size(); ++i) {
        const Variant& key = keys[static_cast<size_t>(i)];
        const Variant value = fields[i]->AsVariant();
        if (key.IsEmptyOrNull() || value.IsEmptyOrNull()) {
            if (key.IsEmptyOrNull() != value.IsEmptyOrNull())
                return false;
            continue;
        }
        if (options & (loCaseInsensitive | loPartialKey) && (value.IsString() || key.IsString())) {
            const QString text = fields[i]->AsString();
            const QString wanted = key.ToString();
            const Qt::CaseSensitivity cs = options & loCaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
            if (options & loPartialKey ? !text.startsWith(wanted, cs) : text.compare(wanted, cs) != 0)
                return false;
            continue;
        }
        try {
            if (!(value == key))
                return false;
        } catch (const EVariantError&) {
            return false;  // values of kinds that cannot be compared do not match
        }
    }
    return true;
}

qint64 TDataSet::FindRecord(const QString& keyFields, const Variant& keyValues, TLocateOptions options)
{
    CheckActive();
    const QList<TField*> fields = GetFieldList(keyFields);
    if (fields.isEmpty())
        return -1;
    VariantArray keys;
    if (fields.size() == 1 && !keyValues.IsArray())
        keys.push_back(keyValues);
    else
        keys = keyValues.Elements();
    if (keys.size() != static_cast<size_t>(fields.size()))
        throw EDatabaseError(QStringLiteral("%1 values given for %2 fields").arg(keys.size()).arg(fields.size()));
    QScopedValueRollback<std::vector<Variant>*> noCalc(d_->calcBuilding, nullptr);
    for (qint64 position = 0; HasViewRow(position); ++position) {
        const qint64 sourcePos = ViewToSource(position);
        if (sourcePos < 0)
            continue;  // the unposted insert is not searched
        QScopedValueRollback<std::optional<ReadTarget>> reading(d_->readOverride,
                                                                ReadTarget{ReadTarget::Row, sourcePos});
        if (RecordMatches(fields, keys, options))
            return position;
    }
    return -1;
}

bool TDataSet::Locate(const QString& keyFields, const Variant& keyValues, TLocateOptions options)
{
    CheckActiveAndBrowse();
    CheckBiDirectional();
    const qint64 position = FindRecord(keyFields, keyValues, options);
    if (position < 0)
        return false;
    JumpTo(position, SearchRule(), false, false);
    return true;
}

Variant TDataSet::Lookup(const QString& keyFields, const Variant& keyValues, const QString& resultFields)
{
    CheckActive();
    const qint64 position = FindRecord(keyFields, keyValues, {});
    if (position < 0)
        return Variant::NullValue();
    QScopedValueRollback<std::optional<ReadTarget>> reading(
        d_->readOverride, ReadTarget{ReadTarget::Row, ViewToSource(position)});
    return FieldValues(resultFields);
}

// --- Bookmarks -------------------------------------------------------------------

TBookmark TDataSet::GetBookmark() const
{
    // The record field reads see: a link that moved the active record to
    // one of its rows (a grid painting it) asks for that record's bookmark.
    const qint64 position = activePos_ >= 0 ? activePos_ : cursor_;
    if (!Active() || position < 0 || position == d_->insertPos || !HasViewRow(position))
        return {};
    return BookmarkOf(source_->RowIdAt(ViewToSource(position)));
}

qint64 TDataSet::BookmarkPosition(const TBookmark& bookmark) const
{
    TRowId id = 0;
    if (!Active() || !RowIdOf(bookmark, id))
        return -1;
    return SourceToView(source_->PositionOf(id));
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) const
{
    return BookmarkPosition(bookmark) >= 0;
}

int TDataSet::CompareBookmarks(const TBookmark& a, const TBookmark& b) const
{
    if (a.isEmpty() || b.isEmpty())
        return a.isEmpty() == b.isEmpty() ? 0 : (a.isEmpty() ? -1 : 1);
    if (a == b)
        return 0;
    const qint64 x = BookmarkPosition(a), y = BookmarkPosition(b);
    if (x != y)
        return x < y ? -1 : 1;
    // Both gone: order by identity so that sorted lists stay consistent.
    TRowId ia = 0, ib = 0;
    RowIdOf(a, ia);
    RowIdOf(b, ib);
    return ia < ib ? -1 : (ia > ib ? 1 : 0);
}

void TDataSet::GotoBookmark(const TBookmark& bookmark)
{
    CheckActiveAndBrowse();
    CheckBiDirectional();
    const qint64 position = BookmarkPosition(bookmark);
    if (position < 0)
        RaiseDb(SRecordNotFound);
    JumpTo(position, SearchRule(), false, false);
}

void TDataSet::SetCursorToBookmark(const TBookmark& bookmark)
{
    CheckActive();
    const qint64 position = BookmarkPosition(bookmark);
    if (position < 0)
        RaiseDb(SRecordNotFound);
    cursor_ = position;
    bof_ = eof_ = false;
}

void TDataSet::RestoreCursorEnds(const TCursorEnds& ends)
{
    if (!Active() || IsEditState(state_))
        return;
    if (cursor_ < 0) {
        bof_ = eof_ = true;
        return;
    }
    bof_ = ends.bof && cursor_ == 0;
    // Asks for one row past the cursor only, never for the rest.
    eof_ = ends.eof && !HasViewRow(cursor_ + 1);
}

// --- Editing ---------------------------------------------------------------------

void TDataSet::CheckBrowseMode()
{
    CheckActive();
    DataEvent(deCheckBrowseMode);
    if (IsEditState(state_)) {
        UpdateRecord();
        if (modified_)
            Post();
        else
            Cancel();
    }
}

void TDataSet::UpdateRecord()
{
    if (!IsEditState(state_))
        RaiseDb(SNotEditing);
    DataEvent(deUpdateRecord);
}

void TDataSet::Edit()
{
    if (IsEditState(state_))
        return;
    CheckActive();
    if (cursor_ < 0) {
        Insert();
        return;
    }
    if (!CanModify())
        RaiseDb(SDataSetReadOnly);
    DoBeforeModify();
    if (BeforeEdit)
        BeforeEdit(this);
    const qint64 sourcePos = ViewToSource(cursor_);
    const int columns = static_cast<int>(source_->ColumnNames().size());
    d_->editValues.clear();
    for (int column = 0; column < columns; ++column)
        d_->editValues.push_back(source_->Value(sourcePos, column));
    d_->editChanged.assign(static_cast<size_t>(columns), false);
    d_->editCalcValid = false;
    modified_ = false;
    activePos_ = cursor_;
    state_ = dsEdit;
    DataEvent(deUpdateState);
    DataEvent(deRecordChange);
    if (AfterEdit)
        AfterEdit(this);
}

void TDataSet::Insert()
{
    BeginInsert(false);
}

void TDataSet::Append()
{
    BeginInsert(true);
}

void TDataSet::BeginInsert(bool append)
{
    CheckActiveAndBrowse();
    if (!CanModify())
        RaiseDb(SDataSetReadOnly);
    DoBeforeModify();
    if (BeforeInsert)
        BeforeInsert(this);
    CaptureRows();
    const qint64 position = append ? LastViewPosition() + 1 : std::max<qint64>(cursor_, 0);
    const size_t columns = static_cast<size_t>(source_->ColumnNames().size());
    // Unassigned until set: the source may apply its defaults to those.
    d_->editValues.assign(columns, Variant());
    d_->editChanged.assign(columns, false);
    d_->editCalcValid = false;
    d_->insertPos = position;
    cursor_ = position;
    bof_ = false;
    eof_ = append;
    state_ = dsInsert;
    activePos_ = cursor_;
    DataEvent(deUpdateState);
    if (OnNewRecord)
        OnNewRecord(this);
    modified_ = false;
    ChangedAbsolutely(append ? WindowRule::Bottom : WindowRule::Keep);
    if (AfterInsert)
        AfterInsert(this);
}

void TDataSet::CheckRequiredFields()
{
    for (TField* field : fieldList_) {
        if (field->Required() && field->FieldKind() == fkData && field->FieldNo() > 0 &&
            d_->editValues[static_cast<size_t>(field->FieldNo() - 1)].IsEmptyOrNull()) {
            field->FocusControl();
            RaiseDb(SFieldRequired, field->DisplayName());
        }
    }
}

void TDataSet::Post()
{
    CheckActive();
    UpdateRecord();
    DoBeforePost();
    if (BeforePost)
        BeforePost(this);
    // A handler may have cancelled.
    if (!IsEditState(state_))
        RaiseDb(SNotEditing);
    {
        QScopedValueRollback<qint64> reading(activePos_, cursor_);
        CheckRequiredFields();
    }
    CaptureRows();
    qint64 sourcePos = -1;
    if (state_ == dsInsert) {
        // Where the record goes in the source: before the row that now
        // follows it in the view, or at the end.
        const qint64 following = HasViewRow(d_->insertPos + 1) ? ViewToSource(d_->insertPos + 1) : -1;
        sourcePos = source_->InsertRow(following, d_->editValues);
        d_->insertPos = -1;
        SourceRowInserted(sourcePos);
    } else {
        sourcePos = ViewToSource(cursor_);
        source_->UpdateRow(sourcePos, d_->editValues, d_->editChanged);
    }
    const qint64 position = SourceToView(sourcePos);
    cursor_ = position >= 0 ? position : std::min(cursor_, LastViewPosition());
    FinishEditing();
    DoAfterModify();
    if (AfterPost)
        AfterPost(this);
}

void TDataSet::Cancel()
{
    if (!IsEditState(state_))
        return;
    DoBeforeCancel();
    if (BeforeCancel)
        BeforeCancel(this);
    CaptureRows();
    if (state_ == dsInsert) {
        d_->insertPos = -1;
        if (!HasViewRow(cursor_))
            cursor_ = LastViewPosition();
        bof_ = eof_ = cursor_ < 0;
    }
    FinishEditing();
    if (AfterCancel)
        AfterCancel(this);
}

void TDataSet::FinishEditing()
{
    d_->editValues.clear();
    d_->editChanged.clear();
    d_->editCalcValid = false;
    modified_ = false;
    state_ = dsBrowse;
    DataEvent(deUpdateState);
    ChangedAbsolutely(WindowRule::Keep);
}

void TDataSet::DiscardEdits()
{
    d_->insertPos = -1;
    d_->editValues.clear();
    d_->editChanged.clear();
    d_->editCalcValid = false;
    modified_ = false;
}

void TDataSet::Delete()
{
    CheckActive();
    if (state_ == dsInsert) {
        Cancel();
        return;
    }
    if (cursor_ < 0)
        RaiseDb(SDataSetEmpty);
    DataEvent(deCheckBrowseMode);
    if (state_ == dsEdit)
        Cancel();
    if (!CanModify())
        RaiseDb(SDataSetReadOnly);
    DoBeforeModify();
    if (BeforeDelete)
        BeforeDelete(this);
    if (BeforeScroll)
        BeforeScroll(this);
    CaptureRows();
    const qint64 sourcePos = ViewToSource(cursor_);
    source_->DeleteRow(sourcePos);
    SourceRowDeleted(sourcePos);
    d_->calcCache.clear();
    if (!HasViewRow(cursor_)) {
        cursor_ = LastViewPosition();
        eof_ = true;
    }
    bof_ = cursor_ < 0;
    if (cursor_ < 0)
        eof_ = true;
    ChangedAbsolutely(WindowRule::Keep);
    DoAfterModify();
    if (AfterDelete)
        AfterDelete(this);
    if (AfterScroll)
        AfterScroll(this);
}

// --- Windows and notifications -------------------------------------------------------

void TDataSet::ForEachLink(const std::function<void(TDataLink*)>& action) const
{
    for (TDataSource* source : d_->sources)
        for (TDataLink* link : source->DataLinks())
            action(link);
}

void TDataSet::CaptureRows()
{
    ForEachLink([this](TDataLink* link) {
        qint64 row = 0;
        if (link == d_->activeLink && activePos_ >= 0)
            row = activePos_ - link->top_;
        else if (cursor_ >= 0 && link->top_ >= 0)
            row = cursor_ - link->top_;
        link->preferredRow_ = static_cast<int>(std::clamp<qint64>(row, 0, link->bufferCount_ - 1));
    });
}

void TDataSet::PlaceWindow(TDataLink* link, int preferredRow) const
{
    const int buffer = link->bufferCount_;
    const qint64 row = std::clamp(preferredRow, 0, buffer - 1);
    qint64 top = cursor_ < 0 ? 0 : std::max<qint64>(cursor_ - row, 0);
    if (!HasViewRow(top + buffer - 1))
        top = std::max<qint64>(LastViewPosition() - buffer + 1, 0);
    link->top_ = top;
}

int TDataSet::ScrollWindow(TDataLink* link) const
{
    const qint64 old = link->top_;
    if (old < 0 || cursor_ < 0) {
        PlaceWindow(link, 0);
        return 0;
    }
    if (cursor_ < old)
        link->top_ = cursor_;
    else if (cursor_ >= old + link->bufferCount_)
        link->top_ = cursor_ - link->bufferCount_ + 1;
    return static_cast<int>(link->top_ - old);
}

void TDataSet::ChangedAbsolutely(WindowRule rule)
{
    activePos_ = cursor_;
    d_->calcCache.clear();
    ForEachLink([this, rule](TDataLink* link) {
        switch (rule) {
        case WindowRule::Top: PlaceWindow(link, 0); break;
        case WindowRule::Bottom: PlaceWindow(link, link->bufferCount_ - 1); break;
        case WindowRule::Center: PlaceWindow(link, (link->bufferCount_ - 1) / 2); break;
        case WindowRule::Keep: PlaceWindow(link, link->preferredRow_); break;
        }
    });
    d_->activeLink = nullptr;
    DataEvent(deDataSetChange);
}

void TDataSet::Resync(TResyncMode mode)
{
    CheckActive();
    // The rows captured here are where the records land: the row a link's
    // ActiveRecord set for that link (exact), the cursor's row for others.
    CaptureRows();
    if (!HasViewRow(cursor_))
        cursor_ = LastViewPosition();
    ChangedAbsolutely(mode & rmCenter ? WindowRule::Center : WindowRule::Keep);
}

void TDataSet::UpdateCursorPos()
{
    if (Active() && activePos_ >= 0 && HasViewRow(activePos_))
        cursor_ = activePos_;
}

void TDataSet::SetActiveRecordPosition(qint64 position, TDataLink* link)
{
    activePos_ = position;
    d_->activeLink = link;
}

void TDataSet::PlaceNewLinkWindow(TDataLink* link) const
{
    if (Active())
        PlaceWindow(link, 0);
}

void TDataSet::ChangeBufferCount(TDataLink* link, int count)
{
    int row = 0;
    if (Active() && cursor_ >= 0 && link->top_ >= 0)
        row = static_cast<int>(std::clamp<qint64>(cursor_ - link->top_, 0, count - 1));
    link->bufferCount_ = count;
    if (Active())
        PlaceWindow(link, row);
}

int TDataSet::WindowRecordCount(const TDataLink* link) const
{
    if (!Active() || link->top_ < 0)
        return 0;
    const int buffer = link->bufferCount_;
    if (HasViewRow(link->top_ + buffer - 1))
        return buffer;
    return static_cast<int>(std::clamp<qint64>(LastViewPosition() - link->top_ + 1, 0, buffer));
}

void TDataSet::DataEvent(TDataEvent event, qintptr info)
{
    if (disableCount_ > 0)
        return;
    for (TDataSource* source : QList<TDataSource*>(d_->sources))
        source->DataEvent(event, info);
}

void TDataSet::DisableControls()
{
    if (disableCount_++ == 0) {
        d_->activeAtDisable = Active();
        d_->stateAtDisable = state_;
    }
}

void TDataSet::EnableControls()
{
    if (disableCount_ == 0)
        return;
    if (--disableCount_ > 0)
        return;
    // Links compare with what they last heard: ActiveChanged when the dataset
    // opened or closed meanwhile, otherwise EditingChanged when the state
    // changed; then every active link re-reads its window.
    DataEvent(deUpdateState);
    if (Active())
        DataEvent(deDataSetChange);
}

void TDataSet::RegisterDataSource(TDataSource* source)
{
    if (!d_->sources.contains(source))
        d_->sources << source;
}

void TDataSet::UnregisterDataSource(TDataSource* source)
{
    d_->sources.removeAll(source);
}

void TDataSet::SetFiltered(bool on)
{
    if (filtered_ == on)
        return;
    if (!Active()) {
        filtered_ = on;
        return;
    }
    CheckBrowseMode();
    const TBookmark bookmark = GetBookmark();
    const qint64 oldCursor = cursor_;
    CaptureRows();
    filtered_ = on;
    ResetView();
    RestoreCursor(bookmark, -1);
    if (cursor_ < 0 && oldCursor >= 0 && HasViewRow(0))
        cursor_ = 0;
    bof_ = cursor_ <= 0;
    eof_ = cursor_ < 0;
    ChangedAbsolutely(WindowRule::Keep);
}

void TDataSet::RefilterRecords()
{
    if (!Active() || !filtered_)
        return;
    const bool was = filtered_;
    filtered_ = false;
    SetFiltered(was);
}

}  // namespace tk
