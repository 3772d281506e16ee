#include "toolkit/data/fields.h"

#include "toolkit/core/datetime.h"
#include "toolkit/core/dateutils.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/core/numbers.h"
#include "toolkit/core/textutils.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/nesteddataset.h"

#include <QScopedValueRollback>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <limits>

namespace tk {

namespace {

[[noreturn]] void RaiseInvalidText(const QString& text, const char* what)
{
    throw EConvertError(QStringLiteral("'%1' is not a valid %2").arg(text, QLatin1String(what)));
}

// A 64-bit integer from text: optional sign, decimal digits, blanks around.
bool TryParseInt64(const QString& text, qint64& value)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return false;
    bool ok = false;
    value = QLocale::c().toLongLong(trimmed, &ok);
    return ok;
}

qint64 ParseInt64(const QString& text)
{
    qint64 value = 0;
    if (!TryParseInt64(text, value))
        RaiseInvalidText(text, "integer value");
    return value;
}

// The text the locale's currency layout gives, or the plain fixed form for
// editing.
QString CurrencyText(double value, bool displayText)
{
    const TNumberSettings& settings = NumberSettings();
    return FloatToStrF(value, displayText ? TFloatFormat::Currency : TFloatFormat::Fixed, 15,
                       settings.CurrencyDecimals, settings);
}

TCurrency RoundCurrency(TCurrency value, int decimals)
{
    if (decimals >= 4 || decimals < 0)
        return value;
    qint64 step = 1;
    for (int i = decimals; i < 4; ++i)
        step *= 10;
    const qint64 half = step / 2;
    const qint64 ticks = value.ticks >= 0 ? (value.ticks + half) / step * step : -((-value.ticks + half) / step * step);
    return TCurrency::FromTicks(ticks);
}

}  // namespace

// --- TStringField -----------------------------------------------------------------

TStringField::TStringField(QObject* owner) : TField(owner)
{
    SetDataType(ftString);
    SetSize(20);
}

bool TStringField::FixedChar() const
{
    return DataType() == ftFixedChar || DataType() == ftFixedWideChar;
}

void TStringField::SetFixedChar(bool on)
{
    const bool wide = DataType() == ftWideString || DataType() == ftFixedWideChar;
    if (on)
        SetDataType(wide ? ftFixedWideChar : ftFixedChar);
    else
        SetDataType(wide ? ftWideString : ftString);
}

Variant TStringField::ConvertValue(const Variant& value) const
{
    QString text = Converted([&] { return value.ToString(); });
    if (Size() > 0 && text.size() > Size())
        text.truncate(Size());
    if (FixedChar() && Size() > 0)
        text = text.leftJustified(Size(), QLatin1Char(' '));
    return Variant(text);
}

QString TStringField::FormatText(const Variant& value, bool) const
{
    const QString text = value.IsEmptyOrNull() ? QString() : Converted([&] { return value.ToString(); });
    return FixedChar() ? TrimRight(text) : text;
}

QString TStringField::AsString() const
{
    return FormatText(AsVariant(), false);
}

int TStringField::AsInteger() const
{
    const QString text = AsString();
    return text.isEmpty() ? 0 : StrToInt(text);
}

qint64 TStringField::AsLargeInt() const
{
    const QString text = AsString();
    return text.isEmpty() ? 0 : ParseInt64(text);
}

double TStringField::AsFloat() const
{
    const QString text = AsString();
    return text.isEmpty() ? 0.0 : StrToFloat(text);
}

bool TStringField::AsBoolean() const
{
    const QString text = Trim(AsString());
    if (text.isEmpty())
        return false;
    if (SameText(text, LoadResString(&STextTrue)))
        return true;
    if (SameText(text, LoadResString(&STextFalse)))
        return false;
    RaiseInvalidText(text, "boolean value");
}

TDateTime TStringField::AsDateTime() const
{
    const QString text = AsString();
    return text.isEmpty() ? 0.0 : StrToDateTime(text);
}

TWideStringField::TWideStringField(QObject* owner) : TStringField(owner)
{
    SetDataType(ftWideString);
}

// --- TNumericField ----------------------------------------------------------------

TNumericField::TNumericField(QObject* owner) : TField(owner)
{
    SetAlignment(TAlignment::taRightJustify);
}

void TNumericField::SetDisplayFormat(const QString& format)
{
    if (format == displayFormat_)
        return;
    displayFormat_ = format;
    PropertyChanged(false);
}

void TNumericField::SetEditFormat(const QString& format)
{
    editFormat_ = format;
}

bool TNumericField::IsValidChar(QChar ch) const
{
    return (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) || ch == QLatin1Char('+') || ch == QLatin1Char('-');
}

void TNumericField::RaiseRangeError(const QString& value, const QString& min, const QString& max) const
{
    throw EConvertError(QStringLiteral("'%1' is not a valid value for field '%2'. The allowed range is %3 to %4")
                            .arg(value, DisplayName(), min, max));
}

// --- TIntegerField and its narrower kinds -----------------------------------------

TIntegerField::TIntegerField(QObject* owner) : TNumericField(owner)
{
    SetDataType(ftInteger);
}

qint64 TIntegerField::TypeMin() const
{
    return std::numeric_limits<qint32>::min();
}

qint64 TIntegerField::TypeMax() const
{
    return std::numeric_limits<qint32>::max();
}

Variant TIntegerField::ParseText(const QString& text) const
{
    if (text.trimmed().isEmpty())
        return Variant::NullValue();
    return Variant(ParseInt64(text));
}

Variant TIntegerField::ConvertValue(const Variant& value) const
{
    if (value.IsString()) {
        const Variant parsed = ParseText(value.ToString());
        return parsed.IsNull() ? parsed : ConvertValue(parsed);
    }
    const qint64 number = Converted([&] { return value.ToInt64(); });
    const bool narrowed = minValue_ != 0 || maxValue_ != 0;
    const qint64 low = narrowed ? std::max<qint64>(minValue_, TypeMin()) : TypeMin();
    const qint64 high = narrowed ? std::min<qint64>(maxValue_, TypeMax()) : TypeMax();
    if (number < low || number > high)
        RaiseRangeError(IntToStr(number), IntToStr(low), IntToStr(high));
    switch (DataType()) {
    case ftSmallint: return Variant(static_cast<qint16>(number));
    case ftWord: return Variant(static_cast<quint16>(number));
    default: return Variant(static_cast<qint32>(number));
    }
}

QString TIntegerField::FormatText(const Variant& value, bool displayText) const
{
    if (value.IsEmptyOrNull())
        return QString();
    const qint64 number = Converted([&] { return value.ToInt64(); });
    const QString picture = PictureFor(displayText);
    return picture.isEmpty() ? IntToStr(number) : FormatFloat(picture, static_cast<double>(number));
}

QString TIntegerField::AsString() const
{
    const Variant value = AsVariant();
    return value.IsEmptyOrNull() ? QString() : IntToStr(Converted([&] { return value.ToInt64(); }));
}

TSmallintField::TSmallintField(QObject* owner) : TIntegerField(owner)
{
    SetDataType(ftSmallint);
}

TWordField::TWordField(QObject* owner) : TIntegerField(owner)
{
    SetDataType(ftWord);
}

TAutoIncField::TAutoIncField(QObject* owner) : TIntegerField(owner)
{
    SetDataType(ftAutoInc);
}

// --- TLargeintField -----------------------------------------------------------------

TLargeintField::TLargeintField(QObject* owner) : TNumericField(owner)
{
    SetDataType(ftLargeint);
}

Variant TLargeintField::ParseText(const QString& text) const
{
    if (text.trimmed().isEmpty())
        return Variant::NullValue();
    return Variant(ParseInt64(text));
}

Variant TLargeintField::ConvertValue(const Variant& value) const
{
    if (value.IsString()) {
        const Variant parsed = ParseText(value.ToString());
        return parsed.IsNull() ? parsed : ConvertValue(parsed);
    }
    const qint64 number = Converted([&] { return value.ToInt64(); });
    if ((minValue_ != 0 || maxValue_ != 0) && (number < minValue_ || number > maxValue_))
        RaiseRangeError(IntToStr(number), IntToStr(minValue_), IntToStr(maxValue_));
    return Variant(number);
}

QString TLargeintField::FormatText(const Variant& value, bool displayText) const
{
    if (value.IsEmptyOrNull())
        return QString();
    const qint64 number = Converted([&] { return value.ToInt64(); });
    const QString picture = PictureFor(displayText);
    return picture.isEmpty() ? IntToStr(number) : FormatFloat(picture, static_cast<double>(number));
}

QString TLargeintField::AsString() const
{
    return IsNull() ? QString() : IntToStr(AsLargeInt());
}

int TLargeintField::AsInteger() const
{
    const qint64 number = AsLargeInt();
    if (number < std::numeric_limits<qint32>::min() || number > std::numeric_limits<qint32>::max())
        RaiseConvertError(QStringLiteral("%1 does not fit in 32 bits").arg(number));
    return static_cast<int>(number);
}

// --- TFloatField ----------------------------------------------------------------------

TFloatField::TFloatField(QObject* owner) : TNumericField(owner)
{
    SetDataType(ftFloat);
}

void TFloatField::SetCurrency(bool on)
{
    if (on == currency_)
        return;
    currency_ = on;
    PropertyChanged(false);
}

void TFloatField::SetPrecision(int digits)
{
    digits = std::clamp(digits, 1, 15);
    if (digits == precision_)
        return;
    precision_ = digits;
    PropertyChanged(false);
}

bool TFloatField::IsValidChar(QChar ch) const
{
    return TNumericField::IsValidChar(ch) || ch == NumberSettings().DecimalSeparator || ch == QLatin1Char('E') ||
           ch == QLatin1Char('e');
}

Variant TFloatField::ParseText(const QString& text) const
{
    if (text.trimmed().isEmpty())
        return Variant::NullValue();
    return Variant(StrToFloat(text));
}

Variant TFloatField::ConvertValue(const Variant& value) const
{
    if (value.IsString()) {
        const Variant parsed = ParseText(value.ToString());
        return parsed.IsNull() ? parsed : ConvertValue(parsed);
    }
    const double number = Converted([&] { return value.ToDouble(); });
    if (!std::isfinite(number))
        RaiseConvertError(QStringLiteral("%1 is not a finite number").arg(FloatToStr(number)));
    if ((minValue_ != 0 || maxValue_ != 0) && (number < minValue_ || number > maxValue_))
        RaiseRangeError(FloatToStr(number), FloatToStr(minValue_), FloatToStr(maxValue_));
    return Variant(number);
}

QString TFloatField::FormatText(const Variant& value, bool displayText) const
{
    if (value.IsEmptyOrNull())
        return QString();
    const double number = Converted([&] { return value.ToDouble(); });
    const QString picture = PictureFor(displayText);
    if (!picture.isEmpty())
        return FormatFloat(picture, number);
    if (currency_)
        return CurrencyText(number, displayText);
    return FloatToStrF(number, TFloatFormat::General, precision_, 0);
}

QString TFloatField::AsString() const
{
    const Variant value = AsVariant();
    return value.IsEmptyOrNull() ? QString() : FloatToStr(Converted([&] { return value.ToDouble(); }));
}

TCurrencyField::TCurrencyField(QObject* owner) : TFloatField(owner)
{
    SetDataType(ftCurrency);
    SetCurrency(true);
}

// --- TBCDField --------------------------------------------------------------------------

TBCDField::TBCDField(QObject* owner) : TNumericField(owner)
{
    SetDataType(ftBCD);
    SetSize(4);
}

bool TBCDField::IsValidChar(QChar ch) const
{
    return TNumericField::IsValidChar(ch) || ch == NumberSettings().DecimalSeparator;
}

void TBCDField::SetCurrency(bool on)
{
    if (on == currency_)
        return;
    currency_ = on;
    PropertyChanged(false);
}

Variant TBCDField::ParseText(const QString& text) const
{
    if (text.trimmed().isEmpty())
        return Variant::NullValue();
    TBcd bcd;
    if (!TBcd::TryFromString(text, bcd, NumberSettings().DecimalSeparator))
        RaiseInvalidText(text, "BCD value");
    return Variant(Converted([&] { return bcd.ToCurrency(); }));
}

Variant TBCDField::ConvertValue(const Variant& value) const
{
    if (value.IsString()) {
        const Variant parsed = ParseText(value.ToString());
        return parsed.IsNull() ? parsed : ConvertValue(parsed);
    }
    return Variant(RoundCurrency(Converted([&] { return value.ToCurrency(); }), Size()));
}

TCurrency TBCDField::AsCurrency() const
{
    const Variant value = AsVariant();
    return value.IsEmptyOrNull() ? TCurrency() : Converted([&] { return value.ToCurrency(); });
}

QString TBCDField::AsString() const
{
    const Variant value = AsVariant();
    return value.IsEmptyOrNull() ? QString() : Variant(AsCurrency()).ToString();
}

QString TBCDField::FormatText(const Variant& value, bool displayText) const
{
    if (value.IsEmptyOrNull())
        return QString();
    const TCurrency amount = Converted([&] { return value.ToCurrency(); });
    const QString picture = PictureFor(displayText);
    if (!picture.isEmpty())
        return FormatFloat(picture, amount.ToDouble());
    if (currency_)
        return CurrencyText(amount.ToDouble(), displayText);
    return Variant(amount).ToString();
}

// --- TFMTBCDField -------------------------------------------------------------------------

TFMTBCDField::TFMTBCDField(QObject* owner) : TNumericField(owner)
{
    SetDataType(ftFMTBcd);
    SetSize(8);
}

bool TFMTBCDField::IsValidChar(QChar ch) const
{
    return TNumericField::IsValidChar(ch) || ch == NumberSettings().DecimalSeparator;
}

void TFMTBCDField::SetCurrency(bool on)
{
    if (on == currency_)
        return;
    currency_ = on;
    PropertyChanged(false);
}

Variant TFMTBCDField::ParseText(const QString& text) const
{
    if (text.trimmed().isEmpty())
        return Variant::NullValue();
    TBcd bcd;
    if (!TBcd::TryFromString(text, bcd, NumberSettings().DecimalSeparator))
        RaiseInvalidText(text, "BCD value");
    return Variant(bcd);
}

Variant TFMTBCDField::ConvertValue(const Variant& value) const
{
    if (value.IsString()) {
        const Variant parsed = ParseText(value.ToString());
        return parsed.IsNull() ? parsed : ConvertValue(parsed);
    }
    return Variant(Converted([&] { return value.ToBcd(); }));
}

TBcd TFMTBCDField::AsBcd() const
{
    const Variant value = AsVariant();
    return value.IsEmptyOrNull() ? TBcd() : Converted([&] { return value.ToBcd(); });
}

QString TFMTBCDField::AsString() const
{
    return IsNull() ? QString() : AsBcd().ToString(NumberSettings().DecimalSeparator);
}

QString TFMTBCDField::FormatText(const Variant& value, bool displayText) const
{
    if (value.IsEmptyOrNull())
        return QString();
    const TBcd number = Converted([&] { return value.ToBcd(); });
    const QString picture = PictureFor(displayText);
    if (!picture.isEmpty())
        return FormatFloat(picture, number.ToDouble());
    if (currency_)
        return CurrencyText(number.ToDouble(), displayText);
    return number.ToString(NumberSettings().DecimalSeparator);
}

// --- TBooleanField ------------------------------------------------------------------------

TBooleanField::TBooleanField(QObject* owner) : TField(owner)
{
    SetDataType(ftBoolean);
}

void TBooleanField::SetDisplayValues(const QString& values)
{
    if (values == displayValues_)
        return;
    displayValues_ = values;
    PropertyChanged(false);
}

QString TBooleanField::TrueText() const
{
    return displayValues_.isEmpty() ? LoadResString(&STextTrue) : displayValues_.section(QLatin1Char(';'), 0, 0);
}

QString TBooleanField::FalseText() const
{
    return displayValues_.isEmpty() ? LoadResString(&STextFalse) : displayValues_.section(QLatin1Char(';'), 1, 1);
}

Variant TBooleanField::ParseText(const QString& text) const
{
    const QString trimmed = Trim(text);
    if (trimmed.isEmpty())
        return Variant::NullValue();
    // A whole text or a leading part of one, the field's texts first.
    const auto matches = [&trimmed](const QString& candidate) {
        return !candidate.isEmpty() && SameText(candidate.left(trimmed.size()), trimmed);
    };
    if (matches(TrueText()))
        return Variant(true);
    if (matches(FalseText()))
        return Variant(false);
    if (SameText(trimmed, LoadResString(&STextTrue)))
        return Variant(true);
    if (SameText(trimmed, LoadResString(&STextFalse)))
        return Variant(false);
    throw EConvertError(QStringLiteral("'%1' is not a valid boolean value for field '%2'").arg(text, DisplayName()));
}

Variant TBooleanField::ConvertValue(const Variant& value) const
{
    if (value.IsBoolean())
        return value;
    if (value.IsString()) {
        const Variant parsed = ParseText(value.ToString());
        return parsed;
    }
    if (value.IsNumeric())
        return Variant(Converted([&] { return value.ToDouble(); }) != 0);
    RaiseConvertError(QStringLiteral("a %1 is not a boolean value").arg(VariantKindName(value.Kind())));
}

QString TBooleanField::FormatText(const Variant& value, bool) const
{
    if (value.IsEmptyOrNull())
        return QString();
    return Converted([&] { return value.ToBoolean(); }) ? TrueText() : FalseText();
}

QString TBooleanField::AsString() const
{
    return FormatText(AsVariant(), false);
}

int TBooleanField::DefaultWidth() const
{
    return static_cast<int>(std::max(TrueText().size(), FalseText().size()));
}

// --- Dates and times ---------------------------------------------------------------------

TDateTimeField::TDateTimeField(QObject* owner) : TField(owner)
{
    SetDataType(ftDateTime);
}

void TDateTimeField::SetDisplayFormat(const QString& format)
{
    if (format == displayFormat_)
        return;
    displayFormat_ = format;
    PropertyChanged(false);
}

Variant TDateTimeField::ParseText(const QString& text) const
{
    if (text.trimmed().isEmpty())
        return Variant::NullValue();
    switch (DataType()) {
    case ftDate: return Variant::FromDate(StrToDate(text));
    case ftTime: {
        TDateTime time = 0;
        if (!TryStrToTime(text, time))
            RaiseInvalidText(text, "time");
        return Variant::FromDate(time);
    }
    default: return Variant::FromDate(StrToDateTime(text));
    }
}

Variant TDateTimeField::ConvertValue(const Variant& value) const
{
    if (value.IsString()) {
        const Variant parsed = ParseText(value.ToString());
        return parsed.IsNull() ? parsed : ConvertValue(parsed);
    }
    const TDateTime moment = Converted([&] { return value.ToDateTime(); });
    if (!std::isfinite(moment))
        RaiseConvertError(QStringLiteral("not a date"));
    switch (DataType()) {
    case ftDate: return Variant::FromDate(DateOf(moment));
    case ftTime: return Variant::FromDate(TimeOf(moment));
    default: return Variant::FromDate(moment);
    }
}

QString TDateTimeField::FormatText(const Variant& value, bool displayText) const
{
    if (value.IsEmptyOrNull())
        return QString();
    const TDateTime moment = Converted([&] { return value.ToDateTime(); });
    if (displayText && !displayFormat_.isEmpty())
        return FormatDateTime(displayFormat_, moment);
    switch (DataType()) {
    case ftDate: return DateToStr(moment);
    case ftTime: return FormatDateTime(FormatSettings().LongTimeFormat, moment);
    default: return DateTimeToStr(moment);
    }
}

QString TDateTimeField::AsString() const
{
    return FormatText(AsVariant(), false);
}

bool TDateTimeField::AsBoolean() const
{
    RaiseConvertError(QStringLiteral("a date cannot be read as a Boolean"));
}

TDateField::TDateField(QObject* owner) : TDateTimeField(owner)
{
    SetDataType(ftDate);
}

TTimeField::TTimeField(QObject* owner) : TDateTimeField(owner)
{
    SetDataType(ftTime);
}

// --- Binary values ------------------------------------------------------------------------

TBinaryField::TBinaryField(QObject* owner) : TField(owner)
{
    SetSize(16);
}

Variant TBinaryField::ConvertValue(const Variant& value) const
{
    QByteArray bytes = Converted([&] { return value.ToBytes(); });
    if (Size() > 0 && bytes.size() > Size())
        bytes.truncate(Size());
    if (DataType() == ftBytes && Size() > 0)
        bytes = bytes.leftJustified(Size(), '\0');
    return Variant(bytes);
}

QString TBinaryField::FormatText(const Variant&, bool) const
{
    return DataType() == ftVarBytes ? QStringLiteral("(VarBytes)") : QStringLiteral("(Bytes)");
}

TBytesField::TBytesField(QObject* owner) : TBinaryField(owner)
{
    SetDataType(ftBytes);
}

TVarBytesField::TVarBytesField(QObject* owner) : TBinaryField(owner)
{
    SetDataType(ftVarBytes);
}

// --- Blobs ----------------------------------------------------------------------------------

TBlobField::TBlobField(QObject* owner) : TField(owner)
{
    SetDataType(ftBlob);
}

void TBlobField::SetBlobType(TFieldType type)
{
    if (!IsBlobType(type))
        throw EDatabaseError(QStringLiteral("%1 is not a blob type").arg(EnumName(type)));
    SetDataType(type);
}

Variant TBlobField::ConvertValue(const Variant& value) const
{
    return Variant(Converted([&] { return value.ToBytes(); }));
}

QString TBlobField::FormatText(const Variant& value, bool) const
{
    const bool empty = value.IsEmptyOrNull() || (value.IsBytes() && value.ToBytes().isEmpty()) ||
                       (value.IsString() && value.ToString().isEmpty());
    const QString word = Description();
    return QLatin1Char('(') + (empty ? word.toLower() : word) + QLatin1Char(')');
}

void TBlobField::LoadFromStream(QIODevice& device)
{
    SetAsVariant(Variant(device.readAll()));
}

void TBlobField::SaveToStream(QIODevice& device) const
{
    const QByteArray bytes = AsBytes();
    if (device.write(bytes) != bytes.size())
        throw EInOutError(QStringLiteral("Cannot write the value of field '%1': %2").arg(DisplayName(), device.errorString()));
}

void TBlobField::LoadFromFile(const QString& path)
{
    QByteArray bytes;
    if (!ReadFileBytes(path, bytes))
        throw EInOutError(QStringLiteral("Cannot read '%1': %2").arg(path, SysErrorMessage(LastFileError())));
    SetAsVariant(Variant(bytes));
}

void TBlobField::SaveToFile(const QString& path) const
{
    if (!WriteFileAtomic(path, AsBytes()))
        throw EInOutError(QStringLiteral("Cannot write '%1': %2").arg(path, SysErrorMessage(LastFileError())));
}

TMemoField::TMemoField(QObject* owner) : TBlobField(owner)
{
    SetDataType(ftMemo);
}

Variant TMemoField::ConvertValue(const Variant& value) const
{
    if (value.IsBytes())
        return Variant(QString::fromUtf8(value.ToBytes()));
    return Variant(Converted([&] { return value.ToString(); }));
}

QString TMemoField::AsString() const
{
    const Variant value = AsVariant();
    if (value.IsEmptyOrNull())
        return QString();
    return value.IsBytes() ? QString::fromUtf8(value.ToBytes()) : Converted([&] { return value.ToString(); });
}

QString TMemoField::FormatText(const Variant& value, bool displayText) const
{
    if (displayText)
        return TBlobField::FormatText(value, true);
    if (value.IsEmptyOrNull())
        return QString();
    return value.IsBytes() ? QString::fromUtf8(value.ToBytes()) : Converted([&] { return value.ToString(); });
}

TWideMemoField::TWideMemoField(QObject* owner) : TMemoField(owner)
{
    SetDataType(ftWideMemo);
}

TGraphicField::TGraphicField(QObject* owner) : TBlobField(owner)
{
    SetDataType(ftGraphic);
}

TVariantField::TVariantField(QObject* owner) : TField(owner)
{
    SetDataType(ftVariant);
}

// --- Object fields ------------------------------------------------------------------------

TObjectField::TObjectField(QObject* owner) : TField(owner) {}

TObjectField::~TObjectField()
{
    // Observers hear of the parent while its sub-fields still exist; each
    // sub-field then leaves the list (and its dataset) as it goes.
    Destroying();
    while (fields_.Count() > 0)
        delete fields_[fields_.Count() - 1];
}

Variant TObjectField::AsVariant() const
{
    VariantArray values;
    bool allNull = true;
    for (const TField* child : fields_) {
        values.push_back(child->AsVariant());
        allNull = allNull && values.back().IsEmptyOrNull();
    }
    return allNull ? Variant::NullValue() : Variant::FromArray(std::move(values));
}

void TObjectField::SetAsVariant(const Variant& value)
{
    if (value.IsEmptyOrNull()) {
        for (TField* child : fields_)
            child->Clear();
        return;
    }
    if (!value.IsArray() || static_cast<int>(value.Elements().size()) != fields_.Count())
        RaiseConvertError(QStringLiteral("%1 values are needed").arg(fields_.Count()));
    for (int i = 0; i < fields_.Count(); ++i)
        fields_[i]->SetAsVariant(value.Elements()[static_cast<size_t>(i)]);
}

QString TObjectField::FormatText(const Variant&, bool) const
{
    return QLatin1Char('(') + Description() + QLatin1Char(')');
}

TADTField::TADTField(QObject* owner) : TObjectField(owner)
{
    SetDataType(ftADT);
}

TArrayField::TArrayField(QObject* owner) : TObjectField(owner)
{
    SetDataType(ftArray);
}

TDataSetField::TDataSetField(QObject* owner) : TObjectField(owner)
{
    SetDataType(ftDataSet);
}

TDataSetField::~TDataSetField()
{
    // The nested dataset goes first: it watches the field's dataset.
    Destroying();
    delete nested_;
}

TClientDataSet* TDataSetField::NestedDataSet() const
{
    return nested_;
}

void TDataSetField::SetNestedFieldDefs(std::vector<TFieldDef> defs)
{
    if (DataSet() && DataSet()->Active())
        throw EDatabaseError(LoadResString(&SDataSetOpen));
    nestedDefs_ = std::move(defs);
}

void TDataSetField::SetAsVariant(const Variant& value)
{
    if (!storing_)
        throw EDatabaseError(QStringLiteral("Field '%1': its rows change through its nested dataset").arg(DisplayName()));
    TField::SetAsVariant(value);
}

void TDataSetField::StoreNestedRows(const QByteArray& rows)
{
    const QScopedValueRollback<bool> storing(storing_, true);
    SetAsVariant(rows.isEmpty() ? Variant::NullValue() : Variant(rows));
}

void TDataSetField::ParentOpened()
{
    if (!nested_)
        nested_ = new TNestedClientDataSet(this);
    nested_->FollowParent();
}

void TDataSetField::ParentClosing()
{
    if (nested_)
        nested_->Close();
}

void TDataSetField::ParentPosting()
{
    if (nested_)
        nested_->CheckBrowseMode();
}

void TDataSetField::ParentCancelling()
{
    if (nested_)
        nested_->Cancel();
}

TReferenceField::TReferenceField(QObject* owner) : TObjectField(owner)
{
    SetDataType(ftReference);
}

}  // namespace tk
