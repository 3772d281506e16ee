#pragma once
// Fields: the typed view of one column of a dataset's active record, with
// the display settings grids and editors read (label, width, alignment,
// visibility) and the conversions between values and text.
//
// Kinds: data fields read the dataset's record source; calculated fields
// (fkCalculated, fkInternalCalc) take the values OnCalcFields assigns;
// lookup fields find their value in another dataset by key. Object fields
// (ADT, array, reference, dataset) hold sub-fields; their children appear in
// the dataset's FieldList under full names "Parent.Child".
//
// Default fields are made by TDataSet::Open from the source's definitions
// and freed by Close; persistent fields are made in code (or streamed) with
// the dataset as DataSet and survive Close.

#include "toolkit/core/alignment.h"
#include "toolkit/core/component.h"
#include "toolkit/core/variant.h"
#include "toolkit/data/dbtypes.h"
#include "toolkit/data/recordsource.h"

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

namespace tk {

class TDataSet;
class TField;
class TObjectField;
class TFieldsList;

using TFieldNotifyEvent = std::function<void(TField* sender)>;
using TFieldGetTextEvent = std::function<void(TField* sender, QString& text, bool displayText)>;
using TFieldSetTextEvent = std::function<void(TField* sender, const QString& text)>;

// An ordered list of fields that does not own them.
class TFields {
public:
    int Count() const { return static_cast<int>(list_.size()); }
    TField* operator[](int index) const { return list_.at(index); }
    TField* Field(int index) const { return list_.at(index); }
    // Case-insensitive by FieldName (full name for FieldList); none: nullptr.
    TField* FindField(const QString& name) const;
    // As FindField; raises EDatabaseError SFieldNotFound when absent.
    TField* FieldByName(const QString& name) const;
    int IndexOf(const TField* field) const { return list_.indexOf(const_cast<TField*>(field)); }
    QList<TField*>::const_iterator begin() const { return list_.begin(); }
    QList<TField*>::const_iterator end() const { return list_.end(); }

    // For datasets and object fields keeping their lists.
    void Add(TField* field) { list_.append(field); }
    void Insert(int index, TField* field) { list_.insert(index, field); }
    void Remove(TField* field) { list_.removeAll(field); }
    void Move(int from, int to) { list_.move(from, to); }
    void Clear() { list_.clear(); }

private:
    QList<TField*> list_;
};

class TField : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(tk::TDataEnums::TFieldKind FieldKind READ FieldKind WRITE SetFieldKind)
    Q_PROPERTY(QString DisplayLabel READ DisplayLabel WRITE SetDisplayLabel)
    Q_PROPERTY(int DisplayWidth READ DisplayWidth WRITE SetDisplayWidth)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool Required READ Required WRITE SetRequired)
    Q_PROPERTY(int Index READ Index WRITE SetIndex STORED false)
    Q_PROPERTY(tk::TAlignmentEnum::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)
    Q_PROPERTY(int Size READ Size WRITE SetSize)
    Q_PROPERTY(tk::TDataSet* DataSet READ DataSet WRITE SetDataSet STORED false)
    Q_PROPERTY(QString KeyFields READ KeyFields WRITE SetKeyFields)
    Q_PROPERTY(tk::TDataSet* LookupDataSet READ LookupDataSet WRITE SetLookupDataSet)
    Q_PROPERTY(QString LookupKeyFields READ LookupKeyFields WRITE SetLookupKeyFields)
    Q_PROPERTY(QString LookupResultField READ LookupResultField WRITE SetLookupResultField)
    Q_PROPERTY(bool LookupCache READ LookupCache WRITE SetLookupCache)
    Q_CLASSINFO("Default:Visible", "True")
    Q_CLASSINFO("Default:ReadOnly", "False")
    Q_CLASSINFO("Default:Required", "False")
    Q_CLASSINFO("Default:LookupCache", "False")
    Q_CLASSINFO("Default:Size", "0")
    Q_MOC_INCLUDE("toolkit/data/dataset.h")

public:
    explicit TField(QObject* owner = nullptr);
    ~TField() override;

    // --- Identity ---------------------------------------------------------
    QString FieldName() const { return fieldName_; }
    void SetFieldName(const QString& name);
    // "Parent.Child" for sub-fields, FieldName otherwise.
    QString FullName() const;
    // DisplayLabel when set, else FullName.
    QString DisplayName() const;
    QString DisplayLabel() const;
    void SetDisplayLabel(const QString& label);
    // Label, width and alignment are written only when they differ from
    // what the field would show by itself.
    Q_INVOKABLE bool IsDisplayLabelStored() const { return !displayLabel_.isEmpty(); }
    Q_INVOKABLE bool IsDisplayWidthStored() const { return displayWidth_ > 0; }
    Q_INVOKABLE bool IsAlignmentStored() const { return alignment_ != DefaultAlignment(); }
    TFieldType DataType() const { return dataType_; }
    TFieldKind FieldKind() const { return fieldKind_; }
    void SetFieldKind(TFieldKind kind);
    bool Calculated() const { return fieldKind_ == fkCalculated || fieldKind_ == fkInternalCalc; }
    bool Lookup() const { return fieldKind_ == fkLookup; }
    // The 1-based column number in the dataset's source, 0 for fields that
    // are not data fields.
    int FieldNo() const { return fieldNo_; }
    virtual bool IsBlob() const { return false; }
    // The sub-fields of an object field, nullptr for other fields.
    virtual const TFields* ChildFields() const { return nullptr; }

    // --- Owner structure --------------------------------------------------
    TDataSet* DataSet() const { return dataSet_; }
    // Attaches the field to a closed dataset (EDatabaseError when open);
    // nullptr detaches it.
    void SetDataSet(TDataSet* dataSet);
    TObjectField* ParentField() const { return parentField_; }
    void SetParentField(TObjectField* parent);
    // Position in the dataset's Fields (or the parent's Fields); setting it
    // moves the field and tells the dataset's links LayoutChanged.
    int Index() const;
    void SetIndex(int index);

    // --- Display settings (changes tell the links) ------------------------
    int DisplayWidth() const;
    void SetDisplayWidth(int width);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);
    bool Required() const { return required_; }
    void SetRequired(bool required) { required_ = required; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    QString EditMask() const { return editMask_; }
    void SetEditMask(const QString& mask) { editMask_ = mask; }
    int Size() const { return size_; }
    void SetSize(int size);

    // --- Values of the active record --------------------------------------
    Variant Value() const { return AsVariant(); }
    void SetValue(const Variant& value) { SetAsVariant(value); }
    virtual Variant AsVariant() const;
    virtual void SetAsVariant(const Variant& value);
    virtual QString AsString() const;
    virtual void SetAsString(const QString& text);
    virtual qint64 AsLargeInt() const;
    virtual int AsInteger() const;
    virtual void SetAsInteger(int value);
    virtual double AsFloat() const;
    virtual void SetAsFloat(double value);
    virtual TCurrency AsCurrency() const;
    virtual bool AsBoolean() const;
    virtual void SetAsBoolean(bool value);
    virtual TDateTime AsDateTime() const;
    virtual void SetAsDateTime(TDateTime value);
    virtual QByteArray AsBytes() const;
    bool IsNull() const;
    void Clear() { SetAsVariant(Variant::NullValue()); }
    // Raises EDatabaseError "Field '<name>' must have a value" when the
    // field is Required, a data field and Null; the dataset calls it on Post.
    void CheckRequired() const;
    // The display form (OnGetText with displayText true, else the type's
    // display format) and the edit form (displayText false).
    QString DisplayText() const;
    QString Text() const;
    // Sets from edit text: OnSetText when assigned, else the type's parse.
    void SetText(const QString& text);

    // --- Editing support --------------------------------------------------
    // Not read-only, a data (or lookup with writable key) field, and the
    // dataset can modify.
    virtual bool CanModify() const;
    // Whether ch may be typed into this field (digits for integers...).
    virtual bool IsValidChar(QChar ch) const;
    // Raises EDatabaseError when the field has no dataset.
    void CheckDataSet() const;
    // The dataset is in a state that fills calculated fields.
    bool InCalcState() const;
    // Asks the dataset's links to focus the control showing this field.
    void FocusControl();

    // --- Lookup definition ------------------------------------------------
    QString KeyFields() const { return keyFields_; }
    void SetKeyFields(const QString& names);
    TDataSet* LookupDataSet() const;
    void SetLookupDataSet(TDataSet* dataSet);
    QString LookupKeyFields() const { return lookupKeyFields_; }
    void SetLookupKeyFields(const QString& names);
    QString LookupResultField() const { return lookupResultField_; }
    void SetLookupResultField(const QString& name);
    bool LookupCache() const { return lookupCache_; }
    void SetLookupCache(bool on);
    // Forgets cached lookup results (the lookup dataset changed).
    void RefreshLookupList();
    // The lookup result for key (a value, or an array for several key
    // fields); Null when not found.
    Variant LookupValueFor(const Variant& key);

    TFieldNotifyEvent OnChange;
    TFieldNotifyEvent OnValidate;
    TFieldGetTextEvent OnGetText;
    TFieldSetTextEvent OnSetText;

protected:
    // For subclasses: the type is fixed by the class.
    void SetDataType(TFieldType type) { dataType_ = type; }
    // The text of a value in display or edit form, without OnGetText.
    virtual QString FormatText(const Variant& value, bool displayText) const;
    // The value for a text in edit form; raises EConvertError when invalid.
    virtual Variant ParseText(const QString& text) const;
    // The value converted to what the field stores; raises EConvertError.
    virtual Variant ConvertValue(const Variant& value) const;
    // The default display width in characters.
    virtual int DefaultWidth() const;
    // Numbers right-justified, everything else left.
    virtual TAlignment DefaultAlignment() const { return TAlignment::taLeftJustify; }
    // The stored value of the active record as the dataset gives it (the
    // value being validated while OnValidate runs).
    Variant RawValue() const;
    // Runs a conversion, turning variant errors into EConvertError naming
    // the field.
    template <typename Conversion>
    auto Converted(Conversion conversion) const -> decltype(conversion());
    [[noreturn]] void RaiseConvertError(const QString& reason) const;
    // Tells the dataset a display property changed (layout: index or
    // visibility).
    void PropertyChanged(bool layout);
    void Notification(TComponentCore* component, TOperation operation) override;

private:
    friend class TDataSet;
    friend class TObjectField;
    friend TField* CreateFieldForDef(const TFieldDef& def, QObject* owner);
    QString GetText(bool displayText) const;
    // Checks that the value may be set now (read-only, calculated outside
    // the calculation state).
    void CheckCanSet() const;
    // Setting a lookup field outside the calculation state writes the key
    // fields of the record whose result matches.
    void SetLookupValue(const Variant& value);
    void AttachTo(TDataSet* dataSet);
    QString fieldName_;
    QString displayLabel_;
    TFieldType dataType_ = ftUnknown;
    TFieldKind fieldKind_ = fkData;
    int fieldNo_ = 0;
    int displayWidth_ = 0;  // 0: DefaultWidth()
    int size_ = 0;
    bool visible_ = true;
    bool readOnly_ = false;
    bool required_ = false;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    QString editMask_;
    TDataSet* dataSet_ = nullptr;
    TObjectField* parentField_ = nullptr;
    QString keyFields_;
    QPointer<TDataSet> lookupDataSet_;
    QString lookupKeyFields_;
    QString lookupResultField_;
    bool lookupCache_ = false;
    struct LookupCacheEntry {
        Variant key;
        Variant value;
    };
    std::vector<LookupCacheEntry> lookupEntries_;
    const Variant* validating_ = nullptr;
};

// Conversions of variant values raise EConvertError naming the field.
template <typename Conversion>
auto TField::Converted(Conversion conversion) const -> decltype(conversion())
{
    try {
        return conversion();
    } catch (const EVariantError& error) {
        RaiseConvertError(error.Message());
    }
}

// The field class the dataset makes for a column definition: the class
// registered for def.DataType, with FieldName, Size, Required (never for
// auto-increment columns) and ReadOnly from the definition; object columns
// get their sub-fields from def.ChildDefs, owned by the parent field, with
// ParentField set. The caller attaches the field to its dataset. Raises
// EDatabaseError for types no field class handles (ftCursor, ftInterface,
// ftIDispatch, ftUnknown).
TField* CreateFieldForDef(const TFieldDef& def, QObject* owner);
// Makes fieldClass (a TField subclass with an invokable constructor taking
// the owner) the class CreateFieldForDef uses for type, and registers it for
// streaming so persistent fields of that class read back by class name.
void RegisterFieldClass(TFieldType type, const QMetaObject* fieldClass);
// The class CreateFieldForDef makes for type; nullptr when none.
const QMetaObject* FieldClassFor(TFieldType type);

// A stream over a blob field's value in the active record. A read stream
// sees the value at creation; a write stream starts empty (bmWrite) or with
// the value (bmReadWrite) and stores its bytes into the field when closed or
// destroyed.
//
// A write stream on a field that cannot be written now (dataset not
// editing, read-only field) raises EDatabaseError when created, so bytes are
// never lost silently; close() raises when the dataset refuses the value,
// and the destructor hands such a failure to the application's handler.
// Memo fields stream their text as UTF-8.
class TBlobStream : public QIODevice {
public:
    TBlobStream(TField* field, TBlobStreamMode mode);
    ~TBlobStream() override;
    qint64 Size() const { return buffer_.size(); }
    qint64 Position() const { return pos(); }
    bool Seek(qint64 position) { return seek(position); }
    qint64 Read(char* data, qint64 count) { return read(data, count); }
    qint64 Write(const char* data, qint64 count) { return write(data, count); }
    bool isSequential() const override { return false; }
    qint64 size() const override { return buffer_.size(); }
    void close() override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    void Flush();
    QPointer<TField> field_;
    TBlobStreamMode mode_;
    QByteArray buffer_;
    bool modified_ = false;
};

}  // namespace tk
