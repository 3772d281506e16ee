#include "toolkit/data/field.h"

#include "toolkit/core/application.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/textutils.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/fields.h"

#include <QScopeGuard>
#include <QScopedValueRollback>
#include <algorithm>

namespace tk {

TK_RESOURCESTRING(SDataSetMissing, "Field '%s' has no dataset");
TK_RESOURCESTRING(SLookupValueNotFound, "'%1' is not a valid value for field '%2'");

namespace {

QString Message(const TResourceString& resource, const QString& arg)
{
    return LoadResString(&resource).replace(QLatin1String("%s"), arg);
}

}  // namespace

// --- TFields ---------------------------------------------------------------

TField* TFields::FindField(const QString& name) const
{
    for (TField* field : list_) {
        if (SameText(field->FullName(), name))
            return field;
    }
    // An object field's own list also answers to its sub-fields' short
    // names; a dataset's FieldList (top-level fields first) does not.
    const TObjectField* parent = list_.isEmpty() ? nullptr : list_.first()->ParentField();
    for (TField* field : list_) {
        if (parent && field->ParentField() == parent && SameText(field->FieldName(), name))
            return field;
    }
    return nullptr;
}

TField* TFields::FieldByName(const QString& name) const
{
    TField* field = FindField(name);
    if (!field)
        throw EDatabaseError(LoadResString(&SFieldNotFound).replace(QLatin1String("%s"), name));
    return field;
}

// --- TField ----------------------------------------------------------------

TField::TField(QObject* owner) : TComponent(owner)
{
    // Streams do not store DataSet: a field read as a child of a dataset
    // being read joins it (before the dataset's Loaded may open it).
    if (auto* dataSet = qobject_cast<TDataSet*>(owner); dataSet && dataSet->HasState(TComponentStateFlag::csLoading))
        AttachTo(dataSet);
}

TField::~TField()
{
    // Observers (grids, the dataset) see the field whole, flagged
    // csDestroying, before it leaves its lists.
    Destroying();
    if (lookupDataSet_)
        lookupDataSet_->RemoveFreeNotification(this);
    if (parentField_)
        parentField_->fields_.Remove(this);
    if (dataSet_) {
        TDataSet* dataSet = dataSet_;
        dataSet_ = nullptr;
        dataSet->DetachField(this);
    }
}

void TField::SetFieldName(const QString& name)
{
    if (dataSet_ && dataSet_->Active())
        throw EDatabaseError(LoadResString(&SDataSetOpen));
    fieldName_ = name;
}

QString TField::FullName() const
{
    return parentField_ ? parentField_->FullName() + QLatin1Char('.') + fieldName_ : fieldName_;
}

QString TField::DisplayName() const
{
    return displayLabel_.isEmpty() ? FullName() : displayLabel_;
}

QString TField::DisplayLabel() const
{
    return DisplayName();
}

void TField::SetDisplayLabel(const QString& label)
{
    const QString stored = label == FullName() ? QString() : label;
    if (stored == displayLabel_)
        return;
    displayLabel_ = stored;
    PropertyChanged(false);
}

void TField::SetFieldKind(TFieldKind kind)
{
    if (dataSet_ && dataSet_->Active())
        throw EDatabaseError(LoadResString(&SDataSetOpen));
    fieldKind_ = kind;
}

// --- Owner structure --------------------------------------------------------

void TField::AttachTo(TDataSet* dataSet)
{
    if (dataSet_) {
        TDataSet* old = dataSet_;
        dataSet_ = nullptr;
        old->DetachField(this);
    }
    if (dataSet) {
        dataSet_ = dataSet;
        auto detach = qScopeGuard([this] { dataSet_ = nullptr; });
        dataSet->AttachField(this);
        detach.dismiss();
    }
}

void TField::SetDataSet(TDataSet* dataSet)
{
    if (dataSet == dataSet_)
        return;
    const auto open = [](const TDataSet* ds) { return ds && ds->Active() && ds->State() != dsOpening; };
    if (open(dataSet) || open(dataSet_))
        throw EDatabaseError(LoadResString(&SDataSetOpen));
    AttachTo(dataSet);
    // Sub-fields follow their parent, after it, so the dataset lists them
    // depth first.
    if (const TFields* children = ChildFields()) {
        const QList<TField*> copy(children->begin(), children->end());
        for (TField* child : copy)
            child->SetDataSet(dataSet);
    }
}

void TField::SetParentField(TObjectField* parent)
{
    if (parent == parentField_)
        return;
    TDataSet* dataSet = parent ? parent->DataSet() : dataSet_;
    AttachTo(nullptr);
    if (parentField_)
        parentField_->fields_.Remove(this);
    parentField_ = parent;
    if (parent)
        parent->fields_.Add(this);
    AttachTo(dataSet);
}

int TField::Index() const
{
    if (parentField_)
        return parentField_->Fields().IndexOf(this);
    return dataSet_ ? dataSet_->Fields().IndexOf(this) : -1;
}

void TField::SetIndex(int index)
{
    if (parentField_) {
        const TFields& siblings = parentField_->Fields();
        const int from = siblings.IndexOf(this);
        const int to = std::clamp(index, 0, siblings.Count() - 1);
        if (from == to)
            return;
        parentField_->fields_.Move(from, to);
        PropertyChanged(true);
    } else if (dataSet_) {
        // The dataset reorders its lists and tells the links LayoutChanged.
        dataSet_->MoveField(this, index);
    }
}

// --- Display settings -------------------------------------------------------

int TField::DisplayWidth() const
{
    return displayWidth_ > 0 ? displayWidth_ : DefaultWidth();
}

void TField::SetDisplayWidth(int width)
{
    const int before = DisplayWidth();
    displayWidth_ = std::max(width, 0);  // 0 goes back to the default
    if (DisplayWidth() != before)
        PropertyChanged(false);
}

void TField::SetVisible(bool visible)
{
    if (visible == visible_)
        return;
    visible_ = visible;
    PropertyChanged(true);
}

void TField::SetReadOnly(bool readOnly)
{
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    PropertyChanged(false);
}

void TField::SetAlignment(TAlignment alignment)
{
    if (alignment == alignment_)
        return;
    alignment_ = alignment;
    PropertyChanged(false);
}

void TField::SetSize(int size)
{
    if (dataSet_ && dataSet_->Active())
        throw EDatabaseError(LoadResString(&SDataSetOpen));
    size_ = std::max(size, 0);
}

int TField::DefaultWidth() const
{
    return 10;
}

void TField::PropertyChanged(bool layout)
{
    if (dataSet_ && dataSet_->Active())
        dataSet_->FieldPropertyChanged(this, layout);
}

// --- Values -----------------------------------------------------------------

void TField::CheckDataSet() const
{
    if (!dataSet_)
        throw EDatabaseError(Message(SDataSetMissing, DisplayName()));
}

bool TField::InCalcState() const
{
    return dataSet_ && (dataSet_->State() == dsCalcFields || dataSet_->State() == dsInternalCalc);
}

Variant TField::RawValue() const
{
    if (validating_)
        return *validating_;
    CheckDataSet();
    return dataSet_->GetFieldValue(this);
}

void TField::RaiseConvertError(const QString& reason) const
{
    throw EConvertError(QStringLiteral("Field '%1': %2").arg(DisplayName(), reason));
}

Variant TField::AsVariant() const
{
    return RawValue();
}

bool TField::IsNull() const
{
    return AsVariant().IsEmptyOrNull();
}

QString TField::AsString() const
{
    const Variant value = AsVariant();
    return value.IsEmptyOrNull() ? QString() : Converted([&] { return value.ToString(); });
}

qint64 TField::AsLargeInt() const
{
    const Variant value = AsVariant();
    return value.IsEmptyOrNull() ? 0 : Converted([&] { return value.ToInt64(); });
}

int TField::AsInteger() const
{
    const Variant value = AsVariant();
    return value.IsEmptyOrNull() ? 0 : Converted([&] { return value.ToInt(); });
}

double TField::AsFloat() const
{
    const Variant value = AsVariant();
    return value.IsEmptyOrNull() ? 0.0 : Converted([&] { return value.ToDouble(); });
}

TCurrency TField::AsCurrency() const
{
    const Variant value = AsVariant();
    return value.IsEmptyOrNull() ? TCurrency() : Converted([&] { return value.ToCurrency(); });
}

bool TField::AsBoolean() const
{
    const Variant value = AsVariant();
    return value.IsEmptyOrNull() ? false : Converted([&] { return value.ToBoolean(); });
}

TDateTime TField::AsDateTime() const
{
    const Variant value = AsVariant();
    return value.IsEmptyOrNull() ? 0.0 : Converted([&] { return value.ToDateTime(); });
}

QByteArray TField::AsBytes() const
{
    const Variant value = AsVariant();
    return value.IsEmptyOrNull() ? QByteArray() : Converted([&] { return value.ToBytes(); });
}

void TField::SetAsString(const QString& text)
{
    SetAsVariant(ParseText(text));
}

void TField::SetAsInteger(int value)
{
    SetAsVariant(Variant(static_cast<qint32>(value)));
}

void TField::SetAsFloat(double value)
{
    SetAsVariant(Variant(value));
}

void TField::SetAsBoolean(bool value)
{
    SetAsVariant(Variant(value));
}

void TField::SetAsDateTime(TDateTime value)
{
    SetAsVariant(Variant::FromDate(value));
}

void TField::CheckCanSet() const
{
    CheckDataSet();
    if (InCalcState())
        return;  // OnCalcFields fills calculated and lookup fields
    if (ReadOnly() || Calculated())
        throw EDatabaseError(Message(SFieldReadOnly, DisplayName()));
}

void TField::SetAsVariant(const Variant& value)
{
    CheckCanSet();
    if (Lookup() && !InCalcState()) {
        SetLookupValue(value);
        return;
    }
    const Variant stored = value.IsEmptyOrNull() ? Variant::NullValue() : ConvertValue(value);
    if (OnValidate) {
        // While the handler runs the field reads the value it validates.
        const QScopedValueRollback<const Variant*> validating(validating_, &stored);
        OnValidate(this);
    }
    dataSet_->SetFieldValue(this, stored);
    if (OnChange)
        OnChange(this);
}

void TField::SetLookupValue(const Variant& value)
{
    if (!lookupDataSet_ || keyFields_.isEmpty())
        throw EDatabaseError(Message(SFieldReadOnly, DisplayName()));
    Variant keys = Variant::NullValue();
    if (!value.IsEmptyOrNull()) {
        keys = lookupDataSet_->Lookup(lookupResultField_, value, lookupKeyFields_);
        if (keys.IsEmptyOrNull())
            throw EDatabaseError(LoadResString(&SLookupValueNotFound).arg(value.ToString(), DisplayName()));
    }
    dataSet_->SetFieldValues(keyFields_, keys);
    if (OnChange)
        OnChange(this);
}

void TField::CheckRequired() const
{
    if (required_ && fieldKind_ == fkData && IsNull())
        throw EDatabaseError(Message(SFieldRequired, DisplayName()));
}

Variant TField::ConvertValue(const Variant& value) const
{
    return value;
}

QString TField::FormatText(const Variant& value, bool) const
{
    return value.IsEmptyOrNull() ? QString() : Converted([&] { return value.ToString(); });
}

Variant TField::ParseText(const QString& text) const
{
    return Variant(text);
}

QString TField::GetText(bool displayText) const
{
    if (OnGetText) {
        QString text;
        OnGetText(const_cast<TField*>(this), text, displayText);
        return text;
    }
    return FormatText(AsVariant(), displayText);
}

QString TField::DisplayText() const
{
    return GetText(true);
}

QString TField::Text() const
{
    return GetText(false);
}

void TField::SetText(const QString& text)
{
    if (OnSetText)
        OnSetText(this, text);
    else
        SetAsVariant(ParseText(text));
}

// --- Editing support ----------------------------------------------------------

bool TField::CanModify() const
{
    if (readOnly_ || Calculated() || !dataSet_ || !dataSet_->Active() || !dataSet_->CanModify())
        return false;
    if (fieldKind_ == fkData)
        return true;
    if (fieldKind_ != fkLookup || keyFields_.isEmpty())
        return false;
    try {
        const QList<TField*> keys = dataSet_->GetFieldList(keyFields_);
        return std::all_of(keys.begin(), keys.end(), [](const TField* key) { return key->CanModify(); });
    } catch (const EDatabaseError&) {
        return false;  // a key field that does not exist cannot be written
    }
}

bool TField::IsValidChar(QChar ch) const
{
    return !ch.isNull();
}

void TField::FocusControl()
{
    if (!dataSet_ || !dataSet_->Active())
        return;
    TField* field = this;
    dataSet_->DataEvent(deFocusControl, reinterpret_cast<qintptr>(&field));
}

// --- Lookup -------------------------------------------------------------------

void TField::SetKeyFields(const QString& names)
{
    keyFields_ = names;
    RefreshLookupList();
}

TDataSet* TField::LookupDataSet() const
{
    return lookupDataSet_;
}

void TField::SetLookupDataSet(TDataSet* dataSet)
{
    if (dataSet == lookupDataSet_)
        return;
    if (lookupDataSet_)
        lookupDataSet_->RemoveFreeNotification(this);
    lookupDataSet_ = dataSet;
    if (dataSet)
        dataSet->FreeNotification(this);
    RefreshLookupList();
}

void TField::SetLookupKeyFields(const QString& names)
{
    lookupKeyFields_ = names;
    RefreshLookupList();
}

void TField::SetLookupResultField(const QString& name)
{
    lookupResultField_ = name;
    RefreshLookupList();
}

void TField::SetLookupCache(bool on)
{
    lookupCache_ = on;
    RefreshLookupList();
}

void TField::RefreshLookupList()
{
    lookupEntries_.clear();
}

Variant TField::LookupValueFor(const Variant& key)
{
    if (key.IsEmptyOrNull() || !lookupDataSet_ || !lookupDataSet_->Active() || lookupKeyFields_.isEmpty() ||
        lookupResultField_.isEmpty())
        return Variant::NullValue();
    if (lookupCache_) {
        // Results are cached per key as they are first asked for, until
        // RefreshLookupList; the lookup dataset's cursor never moves.
        for (const LookupCacheEntry& entry : lookupEntries_) {
            if (entry.key.SameAs(key))
                return entry.value;
        }
    }
    const Variant value = lookupDataSet_->Lookup(lookupKeyFields_, key, lookupResultField_);
    if (lookupCache_)
        lookupEntries_.push_back({key, value});
    return value;
}

void TField::Notification(TComponentCore* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == TOperation::opRemove && component == lookupDataSet_) {
        lookupDataSet_ = nullptr;
        lookupEntries_.clear();
    }
}

// --- TBlobStream --------------------------------------------------------------

namespace {

bool IsTextField(const TField* field)
{
    return qobject_cast<const TMemoField*>(field) != nullptr;
}

}  // namespace

TBlobStream::TBlobStream(TField* field, TBlobStreamMode mode) : field_(field), mode_(mode)
{
    if (!field)
        throw EDatabaseError(QStringLiteral("A blob stream needs a field"));
    if (mode != bmRead) {
        // Refuse now rather than lose the bytes when the stream closes.
        field->CheckDataSet();
        const TDataSetState state = field->DataSet()->State();
        if (state != dsEdit && state != dsInsert && !field->InCalcState())
            throw EDatabaseError(LoadResString(&SNotEditing));
        if (field->ReadOnly() && !field->InCalcState())
            throw EDatabaseError(Message(SFieldReadOnly, field->DisplayName()));
    }
    if (mode != bmWrite)
        buffer_ = IsTextField(field) ? field->AsString().toUtf8() : field->AsBytes();
    const OpenMode openMode = mode == bmRead ? ReadOnly : mode == bmWrite ? WriteOnly : ReadWrite;
    QIODevice::open(openMode);
    // A write stream replaces the value even when nothing is written.
    modified_ = mode == bmWrite;
}

TBlobStream::~TBlobStream()
{
    if (isOpen())
        Guarded([this] { close(); });
}

void TBlobStream::close()
{
    if (!isOpen())
        return;
    const bool flush = modified_ && mode_ != bmRead;
    modified_ = false;
    QIODevice::close();
    if (flush)
        Flush();
}

void TBlobStream::Flush()
{
    if (!field_)
        return;
    if (IsTextField(field_))
        field_->SetAsVariant(Variant(QString::fromUtf8(buffer_)));
    else
        field_->SetAsVariant(Variant(buffer_));
}

qint64 TBlobStream::readData(char* data, qint64 maxSize)
{
    const qint64 available = std::max<qint64>(0, buffer_.size() - pos());
    const qint64 count = std::min(maxSize, available);
    if (count > 0)
        std::copy_n(buffer_.constData() + pos(), count, data);
    return count;
}

qint64 TBlobStream::writeData(const char* data, qint64 maxSize)
{
    // Writes at the position, overwriting and then extending the bytes.
    const qint64 at = pos();
    if (at + maxSize > buffer_.size())
        buffer_.resize(at + maxSize);
    std::copy_n(data, maxSize, buffer_.data() + at);
    modified_ = true;
    return maxSize;
}

}  // namespace tk
