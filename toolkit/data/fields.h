#pragma once
// The field classes, one per kind of value. Each fixes the Variant kind it
// stores (see TColumnStore::Get), converts what it is given to that kind
// (EConvertError when it cannot), and writes its values as text twice: the
// edit form (Text, AsString: "1234.5") and the display form (DisplayText,
// with DisplayFormat: "1,234.50").
//
// Every class here is registered for streaming and is the class
// CreateFieldForDef makes for its types (RegisterFieldClass replaces them).

#include "toolkit/data/field.h"
#include "toolkit/data/recordsource.h"

#include <QString>
#include <vector>

namespace tk {

class TClientDataSet;
class TNestedClientDataSet;

// --- Text ---------------------------------------------------------------------

// ftString, ftFixedChar (FixedChar), ftGuid. Values longer than Size are
// cut to Size (Size 0: no limit); fixed-width values are padded with blanks to Size when
// stored and read without the padding.
class TStringField : public TField {
    Q_OBJECT
    Q_PROPERTY(bool FixedChar READ FixedChar WRITE SetFixedChar)
    Q_PROPERTY(bool Transliterate READ Transliterate WRITE SetTransliterate)
    Q_CLASSINFO("Default:Size", "20")
    Q_CLASSINFO("Default:FixedChar", "False")
    Q_CLASSINFO("Default:Transliterate", "True")

public:
    Q_INVOKABLE explicit TStringField(QObject* owner = nullptr);
    bool FixedChar() const;
    void SetFixedChar(bool on);
    // Kept for layouts that set it; text is Unicode throughout, so it
    // changes nothing.
    bool Transliterate() const { return transliterate_; }
    void SetTransliterate(bool on) { transliterate_ = on; }

    QString AsString() const override;
    int AsInteger() const override;
    qint64 AsLargeInt() const override;
    double AsFloat() const override;
    bool AsBoolean() const override;
    TDateTime AsDateTime() const override;

protected:
    QString FormatText(const Variant& value, bool displayText) const override;
    Variant ConvertValue(const Variant& value) const override;
    // Size characters; 20 for strings of unlimited size.
    int DefaultWidth() const override { return Size() > 0 ? Size() : 20; }

private:
    bool transliterate_ = true;
};

class TWideStringField : public TStringField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TWideStringField(QObject* owner = nullptr);
};

// --- Numbers ------------------------------------------------------------------

// Numbers are right-justified; DisplayFormat and EditFormat are FormatFloat
// pictures for the display and the edit text (none: the plain number).
class TNumericField : public TField {
    Q_OBJECT
    Q_PROPERTY(QString DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)
    Q_PROPERTY(QString EditFormat READ EditFormat WRITE SetEditFormat)

public:
    explicit TNumericField(QObject* owner = nullptr);
    QString DisplayFormat() const { return displayFormat_; }
    void SetDisplayFormat(const QString& format);
    QString EditFormat() const { return editFormat_; }
    void SetEditFormat(const QString& format);
    bool IsValidChar(QChar ch) const override;

protected:
    TAlignment DefaultAlignment() const override { return TAlignment::taRightJustify; }
    // The picture for a text form, empty when there is none.
    QString PictureFor(bool displayText) const { return displayText ? displayFormat_ : editFormat_; }
    // For range errors: "'70000' is not a valid value for field 'Small'. The
    // allowed range is -32768 to 32767".
    [[noreturn]] void RaiseRangeError(const QString& value, const QString& min, const QString& max) const;

private:
    QString displayFormat_;
    QString editFormat_;
};

// ftInteger; the base of the other 32-bit and narrower integers. MinValue
// and MaxValue narrow the type's range when either is not zero.
class TIntegerField : public TNumericField {
    Q_OBJECT
    Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
    Q_CLASSINFO("Default:MinValue", "0")
    Q_CLASSINFO("Default:MaxValue", "0")

public:
    Q_INVOKABLE explicit TIntegerField(QObject* owner = nullptr);
    int MinValue() const { return minValue_; }
    void SetMinValue(int value) { minValue_ = value; }
    int MaxValue() const { return maxValue_; }
    void SetMaxValue(int value) { maxValue_ = value; }
    QString AsString() const override;

protected:
    QString FormatText(const Variant& value, bool displayText) const override;
    Variant ParseText(const QString& text) const override;
    Variant ConvertValue(const Variant& value) const override;
    int DefaultWidth() const override { return 11; }
    // The range the stored type holds.
    virtual qint64 TypeMin() const;
    virtual qint64 TypeMax() const;

private:
    int minValue_ = 0;
    int maxValue_ = 0;
};

class TSmallintField : public TIntegerField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TSmallintField(QObject* owner = nullptr);

protected:
    int DefaultWidth() const override { return 6; }
    qint64 TypeMin() const override { return -32768; }
    qint64 TypeMax() const override { return 32767; }
};

class TWordField : public TIntegerField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TWordField(QObject* owner = nullptr);

protected:
    int DefaultWidth() const override { return 5; }
    qint64 TypeMin() const override { return 0; }
    qint64 TypeMax() const override { return 65535; }
};

// The database numbers it; CreateFieldForDef never makes it Required.
class TAutoIncField : public TIntegerField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TAutoIncField(QObject* owner = nullptr);
};

class TLargeintField : public TNumericField {
    Q_OBJECT
    Q_PROPERTY(qint64 MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(qint64 MaxValue READ MaxValue WRITE SetMaxValue)
    Q_CLASSINFO("Default:MinValue", "0")
    Q_CLASSINFO("Default:MaxValue", "0")

public:
    Q_INVOKABLE explicit TLargeintField(QObject* owner = nullptr);
    qint64 MinValue() const { return minValue_; }
    void SetMinValue(qint64 value) { minValue_ = value; }
    qint64 MaxValue() const { return maxValue_; }
    void SetMaxValue(qint64 value) { maxValue_ = value; }
    QString AsString() const override;
    int AsInteger() const override;

protected:
    QString FormatText(const Variant& value, bool displayText) const override;
    Variant ParseText(const QString& text) const override;
    Variant ConvertValue(const Variant& value) const override;
    int DefaultWidth() const override { return 15; }

private:
    qint64 minValue_ = 0;
    qint64 maxValue_ = 0;
};

// ftFloat (and ftCurrency through TCurrencyField). Without pictures the
// display text has Precision significant digits, or the locale's currency
// form when Currency is set (the edit text then has the currency decimals
// and no symbol).
class TFloatField : public TNumericField {
    Q_OBJECT
    Q_PROPERTY(bool Currency READ Currency WRITE SetCurrency)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
    Q_PROPERTY(double MinValue READ MinValue WRITE SetMinValue)
    Q_PROPERTY(double MaxValue READ MaxValue WRITE SetMaxValue)
    Q_CLASSINFO("Default:Precision", "15")
    Q_CLASSINFO("Default:MinValue", "0")
    Q_CLASSINFO("Default:MaxValue", "0")

public:
    Q_INVOKABLE explicit TFloatField(QObject* owner = nullptr);
    bool Currency() const { return currency_; }
    void SetCurrency(bool on);
    int Precision() const { return precision_; }
    void SetPrecision(int digits);  // clamped to 1..15
    double MinValue() const { return minValue_; }
    void SetMinValue(double value) { minValue_ = value; }
    double MaxValue() const { return maxValue_; }
    void SetMaxValue(double value) { maxValue_ = value; }
    Q_INVOKABLE bool IsCurrencyStored() const { return currency_ != (DataType() == ftCurrency); }

    QString AsString() const override;
    bool IsValidChar(QChar ch) const override;

protected:
    QString FormatText(const Variant& value, bool displayText) const override;
    Variant ParseText(const QString& text) const override;
    Variant ConvertValue(const Variant& value) const override;

private:
    bool currency_ = false;
    int precision_ = 15;
    double minValue_ = 0;
    double maxValue_ = 0;
};

class TCurrencyField : public TFloatField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TCurrencyField(QObject* owner = nullptr);
};

// ftBCD: exact to four decimals, held as TCurrency. Size is the number of
// decimals kept (values are rounded to it, halves away from zero),
// Precision the total digits the column declares.
class TBCDField : public TNumericField {
    Q_OBJECT
    Q_PROPERTY(bool Currency READ Currency WRITE SetCurrency)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
    Q_CLASSINFO("Default:Size", "4")
    Q_CLASSINFO("Default:Currency", "False")
    Q_CLASSINFO("Default:Precision", "0")

public:
    Q_INVOKABLE explicit TBCDField(QObject* owner = nullptr);
    // Digits, sign and the decimal separator.
    bool IsValidChar(QChar ch) const override;
    bool Currency() const { return currency_; }
    void SetCurrency(bool on);
    int Precision() const { return precision_; }
    void SetPrecision(int digits) { precision_ = digits; }

    QString AsString() const override;
    TCurrency AsCurrency() const override;

protected:
    QString FormatText(const Variant& value, bool displayText) const override;
    Variant ParseText(const QString& text) const override;
    Variant ConvertValue(const Variant& value) const override;
    int DefaultWidth() const override { return Precision() > 0 ? Precision() + 2 : 20; }

private:
    bool currency_ = false;
    int precision_ = 0;
};

// ftFMTBcd: exact decimals as TBcd (22 integer digits, 8 decimals).
class TFMTBCDField : public TNumericField {
    Q_OBJECT
    Q_PROPERTY(bool Currency READ Currency WRITE SetCurrency)
    Q_PROPERTY(int Precision READ Precision WRITE SetPrecision)
    Q_CLASSINFO("Default:Size", "8")
    Q_CLASSINFO("Default:Currency", "False")
    Q_CLASSINFO("Default:Precision", "15")

public:
    Q_INVOKABLE explicit TFMTBCDField(QObject* owner = nullptr);
    // Digits, sign and the decimal separator.
    bool IsValidChar(QChar ch) const override;
    bool Currency() const { return currency_; }
    void SetCurrency(bool on);
    int Precision() const { return precision_; }
    void SetPrecision(int digits) { precision_ = digits; }
    TBcd AsBcd() const;

    QString AsString() const override;

protected:
    QString FormatText(const Variant& value, bool displayText) const override;
    Variant ParseText(const QString& text) const override;
    Variant ConvertValue(const Variant& value) const override;
    int DefaultWidth() const override { return Precision() + 2; }

private:
    bool currency_ = false;
    int precision_ = 15;
};

// --- Booleans and dates ---------------------------------------------------------

// DisplayValues "Yes;No" gives the texts for True and False (default: the
// STextTrue and STextFalse resource strings). Text reads either text, or a
// leading part of it ("Y"), case-insensitively, and also the default texts.
class TBooleanField : public TField {
    Q_OBJECT
    Q_PROPERTY(QString DisplayValues READ DisplayValues WRITE SetDisplayValues)

public:
    Q_INVOKABLE explicit TBooleanField(QObject* owner = nullptr);
    QString DisplayValues() const { return displayValues_; }
    void SetDisplayValues(const QString& values);
    QString AsString() const override;

protected:
    QString FormatText(const Variant& value, bool displayText) const override;
    Variant ParseText(const QString& text) const override;
    Variant ConvertValue(const Variant& value) const override;
    int DefaultWidth() const override;

private:
    QString TrueText() const;
    QString FalseText() const;
    QString displayValues_;
};

// ftDateTime and ftTimeStamp; the date and time classes below keep only
// their part of a value. Without DisplayFormat the text is the locale's
// short date with the long time, the time left out at midnight.
class TDateTimeField : public TField {
    Q_OBJECT
    Q_PROPERTY(QString DisplayFormat READ DisplayFormat WRITE SetDisplayFormat)

public:
    Q_INVOKABLE explicit TDateTimeField(QObject* owner = nullptr);
    QString DisplayFormat() const { return displayFormat_; }
    void SetDisplayFormat(const QString& format);
    QString AsString() const override;
    // A moment is not a truth value: EConvertError.
    bool AsBoolean() const override;

protected:
    QString FormatText(const Variant& value, bool displayText) const override;
    Variant ParseText(const QString& text) const override;
    Variant ConvertValue(const Variant& value) const override;
    int DefaultWidth() const override { return 18; }

private:
    QString displayFormat_;
};

class TDateField : public TDateTimeField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TDateField(QObject* owner = nullptr);

protected:
    int DefaultWidth() const override { return 10; }
};

class TTimeField : public TDateTimeField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TTimeField(QObject* owner = nullptr);

protected:
    int DefaultWidth() const override { return 10; }
};

// --- Binary values and blobs ------------------------------------------------------

// Bytes of a declared Size: ftBytes are padded with zero bytes to Size,
// ftVarBytes cut to it. The text is the type in parentheses.
class TBinaryField : public TField {
    Q_OBJECT
    Q_CLASSINFO("Default:Size", "16")

public:
    explicit TBinaryField(QObject* owner = nullptr);

protected:
    QString FormatText(const Variant& value, bool displayText) const override;
    Variant ConvertValue(const Variant& value) const override;
};

class TBytesField : public TBinaryField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TBytesField(QObject* owner = nullptr);
};

class TVarBytesField : public TBinaryField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TVarBytesField(QObject* owner = nullptr);
};

// Large binary values (BlobType any blob type). The text is "(BLOB)", or
// "(blob)" when the value is empty; strings are stored as UTF-8.
class TBlobField : public TField {
    Q_OBJECT
    Q_PROPERTY(tk::TDataEnums::TFieldType BlobType READ BlobType WRITE SetBlobType)

public:
    Q_INVOKABLE explicit TBlobField(QObject* owner = nullptr);
    TFieldType BlobType() const { return DataType(); }
    // EDatabaseError for a type that is not a blob type.
    void SetBlobType(TFieldType type);
    bool IsBlob() const override { return true; }
    int BlobSize() const { return static_cast<int>(AsBytes().size()); }

    // The rest of the device's bytes become the value.
    void LoadFromStream(QIODevice& device);
    // Writes the value; EInOutError when the device takes less.
    void SaveToStream(QIODevice& device) const;
    // EInOutError with the system's reason when the file cannot be read.
    void LoadFromFile(const QString& path);
    // Replaces the file atomically: it is either the old file or the whole
    // value. EInOutError with the system's reason on failure.
    void SaveToFile(const QString& path) const;

protected:
    QString FormatText(const Variant& value, bool displayText) const override;
    Variant ConvertValue(const Variant& value) const override;
    // The word the text shows: "BLOB", "MEMO", "GRAPHIC".
    virtual QString Description() const { return QStringLiteral("BLOB"); }
};

// ftMemo and ftFmtMemo: text. AsString and the edit text give the text;
// the display text is "(MEMO)" ("(memo)" when empty); streams carry UTF-8.
class TMemoField : public TBlobField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TMemoField(QObject* owner = nullptr);
    QString AsString() const override;

protected:
    QString FormatText(const Variant& value, bool displayText) const override;
    Variant ConvertValue(const Variant& value) const override;
    QString Description() const override { return QStringLiteral("MEMO"); }
};

class TWideMemoField : public TMemoField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TWideMemoField(QObject* owner = nullptr);

protected:
    QString Description() const override { return QStringLiteral("WIDEMEMO"); }
};

// A picture stored as a bitmap file image (see TPicture in ui/pictures.h).
class TGraphicField : public TBlobField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TGraphicField(QObject* owner = nullptr);

protected:
    QString Description() const override { return QStringLiteral("GRAPHIC"); }
};

// ftVariant: keeps whatever value it is given.
class TVariantField : public TField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TVariantField(QObject* owner = nullptr);
};

// --- Object fields ------------------------------------------------------------------

// A field made of sub-fields (its Fields, in order, named "Parent.Child" in
// the dataset's FieldList). Its value is the array of the children's values
// (Null when all are Null); setting an array of as many values sets each
// child. Freeing an object field frees its sub-fields first.
class TObjectField : public TField {
    Q_OBJECT
    Q_PROPERTY(QString ObjectType READ ObjectType WRITE SetObjectType)

public:
    explicit TObjectField(QObject* owner = nullptr);
    ~TObjectField() override;
    const TFields& Fields() const { return fields_; }
    const TFields* ChildFields() const override { return &fields_; }
    int FieldCount() const { return fields_.Count(); }
    QString ObjectType() const { return objectType_; }
    void SetObjectType(const QString& type) { objectType_ = type; }

    Variant AsVariant() const override;
    void SetAsVariant(const Variant& value) override;

protected:
    QString FormatText(const Variant& value, bool displayText) const override;
    // The word the text shows in parentheses: "ADT", "Array", "DataSet".
    virtual QString Description() const = 0;

private:
    friend class TField;
    TFields fields_;
    QString objectType_;
};

class TADTField : public TObjectField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TADTField(QObject* owner = nullptr);

protected:
    QString Description() const override { return QStringLiteral("ADT"); }
};

// The elements are sub-fields named as the source names its sub-columns.
class TArrayField : public TObjectField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TArrayField(QObject* owner = nullptr);

protected:
    QString Description() const override { return QStringLiteral("Array"); }
};

// A column holding a nested table: each record has its own rows, with the
// columns NestedFieldDefs gives (from the field definition's ChildDefs).
// In a TClientDataSet, NestedDataSet is a client dataset owned by the field
// (made when the dataset first opens) that shows the rows of the current
// record and follows the cursor; its edits, appends and deletes belong to
// that record: they put the dataset into edit, posting it keeps them and
// cancelling drops them (see nesteddataset.h). The field has no sub-fields;
// its value is the nested rows encoded as client data (Null without rows)
// and is set only through the nested dataset.
class TDataSetField : public TObjectField {
    Q_OBJECT
public:
    Q_INVOKABLE explicit TDataSetField(QObject* owner = nullptr);
    ~TDataSetField() override;

    // nullptr until the field's client dataset opened.
    TClientDataSet* NestedDataSet() const;
    const std::vector<TFieldDef>& NestedFieldDefs() const { return nestedDefs_; }
    // Raises EDatabaseError while the dataset is open.
    void SetNestedFieldDefs(std::vector<TFieldDef> defs);

    const TFields* ChildFields() const override { return nullptr; }
    Variant AsVariant() const override { return TField::AsVariant(); }
    // Raises EDatabaseError: the rows change through NestedDataSet.
    void SetAsVariant(const Variant& value) override;

    // Called by the client dataset around opening and closing, posting and
    // cancelling.
    void ParentOpened();
    void ParentClosing();
    void ParentPosting();
    void ParentCancelling();

protected:
    QString Description() const override { return QStringLiteral("DataSet"); }

private:
    friend class TNestedClientDataSet;
    // The nested dataset's changes: the encoded rows become the value.
    void StoreNestedRows(const QByteArray& rows);

    std::vector<TFieldDef> nestedDefs_;
    TNestedClientDataSet* nested_ = nullptr;  // a child of the field
    bool storing_ = false;
};

// A reference to a row of another table; it cannot be followed, as no
// source holds references.
class TReferenceField : public TObjectField {
    Q_OBJECT
    Q_PROPERTY(QString ReferenceTableName READ ReferenceTableName WRITE SetReferenceTableName)

public:
    Q_INVOKABLE explicit TReferenceField(QObject* owner = nullptr);
    QString ReferenceTableName() const { return referenceTableName_; }
    void SetReferenceTableName(const QString& name) { referenceTableName_ = name; }

protected:
    QString Description() const override { return QStringLiteral("Reference"); }

private:
    QString referenceTableName_;
};

}  // namespace tk
