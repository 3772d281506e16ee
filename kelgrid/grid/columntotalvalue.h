#pragma once
// Value totals: a caption, a field of the grid's dataset or of the totals
// dataset, or a value calculated over the grid's records. The header and
// footer of a column are value totals too; its value rows are a collection
// of them (TKelColumnTotalValues).
//
// Value and caption: setting Value formats it into Caption (the caption is
// then no longer the user's); setting Caption makes Value unassigned and the
// caption the user's (cvTotalCaption, which RestoreDefaults keeps).

#include "kelgrid/grid/columntotal.h"
#include "toolkit/core/variant.h"

#include <QVariant>

namespace kelgrid {

class KELGRID_EXPORT TKelColumnTotalValue : public TKelColumnTotal {
    Q_OBJECT
    Q_PROPERTY(kelgrid::TKelColumnEnums::TCalcApply CalcApply READ CalcApply WRITE SetCalcApply)
    Q_PROPERTY(kelgrid::TKelColumnEnums::TCalcValue CalcValue READ CalcValue WRITE SetCalcValue)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(QString Format READ Format WRITE SetFormat)
    Q_PROPERTY(bool FormatAsFloat READ FormatAsFloat WRITE SetFormatAsFloat)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(kelgrid::TKelColumnEnums::TNullValue NullValue READ NullValue WRITE SetNullValue)
    Q_PROPERTY(int TotalRecNo READ TotalRecNo WRITE SetTotalRecNo)
    Q_PROPERTY(kelgrid::TKelColumnEnums::TTotalResult TotalResult READ TotalResult WRITE SetTotalResult)
    Q_PROPERTY(QVariant Value READ ValueAsQVariant WRITE SetValueFromQVariant)
    Q_CLASSINFO("Default:CalcApply", "caBoth")
    Q_CLASSINFO("Default:CalcValue", "cvSum")
    Q_CLASSINFO("Default:FormatAsFloat", "False")
    Q_CLASSINFO("Default:ImageIndex", "-1")
    Q_CLASSINFO("Default:NullValue", "nvExclude")
    Q_CLASSINFO("Default:TotalRecNo", "1")
    Q_CLASSINFO("Default:TotalResult", "trCaption")
public:
    Q_INVOKABLE explicit TKelColumnTotalValue(tk::TCollection* collection);
    TKelColumnTotalValue(TKelColumn* column, TTotalResult result);
    ~TKelColumnTotalValue() override;

    TCalcApply CalcApply() const;
    void SetCalcApply(TCalcApply apply);
    TCalcValue CalcValue() const;
    void SetCalcValue(TCalcValue value);
    QString Caption() const;
    Q_INVOKABLE bool IsCaptionStored() const;
    QString Format() const;
    void SetFormat(const QString& format);
    bool FormatAsFloat() const;
    void SetFormatAsFloat(bool on);
    TNullValue NullValue() const;
    void SetNullValue(TNullValue value);
    // 1-based record of the totals link's window; values below 1 become 1.
    int TotalRecNo() const;
    void SetTotalRecNo(int recNo);

    const tk::Variant& Value() const;
    void SetValue(const tk::Variant& value);
    QVariant ValueAsQVariant() const { return Value().ToQVariant(); }
    void SetValueFromQVariant(const QVariant& value) { SetValue(tk::Variant::FromQVariant(value)); }
    // Written while the caption is not the user's and the value is not
    // calculated.
    Q_INVOKABLE bool IsValueStored() const;
    // The running accumulator and the records counted of a calculation.
    tk::Variant& TempValue();
    int& Counter();

    // The text of value: FormatTotalValue with this total's format and the
    // totals' selection state.
    virtual QString FormatValue(const tk::Variant& value) const;
    // The name editors show: "Sum(Amount)", "DataField: Amount", ...
    QString DisplayName() const override;
    void Assign(const tk::TPersistent* source) override;

    // Also makes Value unassigned.
    void SetCaption(const QString& caption) override;

protected:
    QString GetDisplayText() const override;

private:
    void Reformat();
    // A change that a calculated total answers with a new calculation.
    void CalcSettingChanged();
    struct Private;
    std::unique_ptr<Private> d_;
};

class KELGRID_EXPORT TKelColumnTotalHeader : public TKelColumnTotalValue {
    Q_OBJECT
public:
    explicit TKelColumnTotalHeader(TKelColumn* column);
};

class KELGRID_EXPORT TKelColumnTotalFooter : public TKelColumnTotalValue {
    Q_OBJECT
public:
    explicit TKelColumnTotalFooter(TKelColumn* column);
};

// The value rows of a column, owned by it.
class KELGRID_EXPORT TKelColumnTotalValues : public tk::TCollection {
    Q_OBJECT
public:
    explicit TKelColumnTotalValues(TKelColumn* column,
                                   const QMetaObject* itemClass = &TKelColumnTotalValue::staticMetaObject);

    TKelColumn* Column() const { return column_; }
    // One added item, inside one collection update.
    TKelColumnTotalValue* Add();
    TKelColumnTotalValue* Items(int index) const;
    void RestoreDefaults();

protected:
    // A change of an item repaints it; of all re-lays out the grid.
    void Update(tk::TCollectionItem* item) override;

private:
    TKelColumn* column_;
};

}  // namespace kelgrid
