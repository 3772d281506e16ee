#include "toolkit/core/variant.h"

#include "toolkit/core/dateutils.h"
#include "toolkit/core/numbers.h"

#include <QDateTime>
#include <QMetaType>
#include <QVariantList>
#include <cmath>
#include <limits>

namespace tk {

namespace {

[[noreturn]] void RaiseCast(VariantKind from, const char* to)
{
    throw EVariantTypeCastError(QStringLiteral("Could not convert variant of type (%1) into type (%2)")
                                    .arg(VariantKindName(from), QLatin1String(to)));
}

[[noreturn]] void RaiseOverflow()
{
    throw EVariantOverflowError(QStringLiteral("Variant overflow"));
}

// Reads a string as a number with the locale's separator, else with ".".
bool TryTextToDouble(const QString& text, double& value)
{
    if (TryStrToFloat(text, value))
        return true;
    TNumberSettings c = NumberSettings();
    c.DecimalSeparator = QLatin1Char('.');
    return TryStrToFloat(text, value, c);
}

qint64 RoundToInt64(double value)
{
    const double rounded = std::round(value);  // halves away from zero
    if (!(rounded >= -9223372036854775808.0 && rounded < 9223372036854775808.0))
        RaiseOverflow();
    return static_cast<qint64>(rounded);
}

}  // namespace

QString VariantKindName(VariantKind kind)
{
    static const char* const names[] = {"Unassigned", "Null",   "Int8",     "Int16", "Int32",   "UInt8",
                                        "UInt16",     "UInt32", "Int64",    "Single", "Double", "Currency",
                                        "Date",       "Boolean", "Bcd",     "String", "Array",  "Bytes"};
    return QLatin1String(names[static_cast<int>(kind)]);
}

Variant Variant::NullValue()
{
    Variant v;
    v.value_ = NullTag{};
    return v;
}

Variant Variant::FromDate(TDateTime value)
{
    Variant v;
    v.value_ = DateValue{value};
    return v;
}

Variant Variant::FromArray(VariantArray values)
{
    Variant v;
    v.value_ = std::make_shared<const VariantArray>(std::move(values));
    return v;
}

bool Variant::IsOrdinal() const
{
    switch (Kind()) {
    case VariantKind::Int8:
    case VariantKind::Int16:
    case VariantKind::Int32:
    case VariantKind::UInt8:
    case VariantKind::UInt16:
    case VariantKind::UInt32:
    case VariantKind::Int64:
        return true;
    default:
        return false;
    }
}

bool Variant::IsFloat() const
{
    const VariantKind k = Kind();
    return k == VariantKind::Single || k == VariantKind::Double || k == VariantKind::Currency;
}

bool Variant::IsNumeric() const
{
    return IsOrdinal() || IsFloat() || IsBcd();
}

double Variant::ToDouble() const
{
    switch (Kind()) {
    case VariantKind::Unassigned: return 0;
    case VariantKind::Single: return std::get<float>(value_);
    case VariantKind::Double: return std::get<double>(value_);
    case VariantKind::Currency: return std::get<TCurrency>(value_).ToDouble();
    case VariantKind::Date: return std::get<DateValue>(value_).value;
    case VariantKind::Bcd: return std::get<TBcd>(value_).ToDouble();
    case VariantKind::String: {
        double value = 0;
        if (!TryTextToDouble(std::get<QString>(value_), value))
            RaiseCast(Kind(), "Double");
        return value;
    }
    default:
        if (IsOrdinal())
            return static_cast<double>(ToInt64());
        RaiseCast(Kind(), "Double");
    }
}

qint64 Variant::ToInt64() const
{
    return std::visit(
        [this](const auto& v) -> qint64 {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return 0;
            else if constexpr (std::is_same_v<T, bool> || std::is_same_v<T, NullTag> ||
                               std::is_same_v<T, ArrayPtr> || std::is_same_v<T, QByteArray>)
                RaiseCast(Kind(), "Int64");
            else if constexpr (std::is_integral_v<T>)
                return static_cast<qint64>(v);
            else if constexpr (std::is_same_v<T, TCurrency>)
                return TBcd::FromCurrency(v).ToInt64();
            else if constexpr (std::is_same_v<T, TBcd>)
                return v.ToInt64();
            else if constexpr (std::is_same_v<T, QString>) {
                bool ok = false;
                const qint64 whole = v.trimmed().toLongLong(&ok);
                return ok ? whole : RoundToInt64(ToDouble());
            } else
                return RoundToInt64(ToDouble());
        },
        value_);
}

int Variant::ToInt() const
{
    const qint64 value = ToInt64();
    if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        RaiseOverflow();
    return static_cast<int>(value);
}

TCurrency Variant::ToCurrency() const
{
    if (Kind() == VariantKind::Currency)
        return std::get<TCurrency>(value_);
    return ToBcd().ToCurrency();
}

TBcd Variant::ToBcd() const
{
    switch (Kind()) {
    case VariantKind::Bcd: return std::get<TBcd>(value_);
    case VariantKind::Currency: return TBcd::FromCurrency(std::get<TCurrency>(value_));
    case VariantKind::Single:
    case VariantKind::Double:
    case VariantKind::Date: return TBcd::FromDouble(ToDouble());
    case VariantKind::String: {
        TBcd value;
        if (!TBcd::TryFromString(std::get<QString>(value_), value, NumberSettings().DecimalSeparator))
            RaiseCast(Kind(), "Bcd");
        return value;
    }
    default: return TBcd::FromInt64(ToInt64());  // raises for the non-numbers
    }
}

TDateTime Variant::ToDateTime() const
{
    if (Kind() == VariantKind::Date)
        return std::get<DateValue>(value_).value;
    if (IsString()) {
        TDateTime value = 0;
        if (!TryStrToDateTime(std::get<QString>(value_), value))
            RaiseCast(Kind(), "Date");
        return value;
    }
    return ToDouble();
}

bool Variant::ToBoolean() const
{
    switch (Kind()) {
    case VariantKind::Boolean: return std::get<bool>(value_);
    case VariantKind::Unassigned: return false;
    case VariantKind::String: {
        const QString text = std::get<QString>(value_).trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
        double value = 0;
        if (!TryTextToDouble(text, value))
            RaiseCast(Kind(), "Boolean");
        return value != 0;
    }
    default:
        if (IsNumeric() || IsDate())
            return ToDouble() != 0;
        RaiseCast(Kind(), "Boolean");
    }
}

QString Variant::ToString() const
{
    const QChar separator = NumberSettings().DecimalSeparator;
    switch (Kind()) {
    case VariantKind::Unassigned:
    case VariantKind::Null: return QString();
    case VariantKind::Single: return FloatToStrF(std::get<float>(value_), TFloatFormat::General, 7, 0);
    case VariantKind::Double: return FloatToStr(std::get<double>(value_));
    case VariantKind::Currency: return TBcd::FromCurrency(std::get<TCurrency>(value_)).ToString(separator);
    case VariantKind::Bcd: return std::get<TBcd>(value_).ToString(separator);
    case VariantKind::Date: return DateTimeToStr(std::get<DateValue>(value_).value);
    case VariantKind::Boolean: return std::get<bool>(value_) ? QStringLiteral("True") : QStringLiteral("False");
    case VariantKind::String: return std::get<QString>(value_);
    case VariantKind::Array: RaiseCast(Kind(), "String");
    case VariantKind::Bytes: return QString::fromLatin1(std::get<QByteArray>(value_));
    default: return QString::number(ToInt64());
    }
}

QByteArray Variant::ToBytes() const
{
    switch (Kind()) {
    case VariantKind::Unassigned:
    case VariantKind::Null: return QByteArray();
    case VariantKind::Bytes: return std::get<QByteArray>(value_);
    case VariantKind::String: return std::get<QString>(value_).toUtf8();
    default: RaiseCast(Kind(), "Bytes");
    }
}

const VariantArray& Variant::Elements() const
{
    if (!IsArray())
        throw EVariantError(QStringLiteral("Variant is not an array"));
    return *std::get<ArrayPtr>(value_);
}

QVariant Variant::ToQVariant() const
{
    return std::visit(
        [](const auto& v) -> QVariant {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                return QVariant();
            else if constexpr (std::is_same_v<T, NullTag>)
                return QVariant::fromValue(nullptr);
            else if constexpr (std::is_same_v<T, DateValue>)
                return QDateTimeFromDateTime(v.value);
            else if constexpr (std::is_same_v<T, ArrayPtr>) {
                QVariantList list;
                for (const Variant& element : *v)
                    list << element.ToQVariant();
                return list;
            } else
                return QVariant::fromValue(v);
        },
        value_);
}

Variant Variant::FromQVariant(const QVariant& value)
{
    if (!value.isValid())
        return Variant();
    if (value.isNull())
        return NullValue();
    switch (value.typeId()) {
    case QMetaType::Bool: return Variant(value.toBool());
    case QMetaType::SChar:
    case QMetaType::Char: return Variant(static_cast<qint8>(value.toInt()));
    case QMetaType::Short: return Variant(static_cast<qint16>(value.toInt()));
    case QMetaType::Int: return Variant(static_cast<qint32>(value.toInt()));
    case QMetaType::Long:
    case QMetaType::LongLong:
        return Variant(static_cast<qint64>(value.toLongLong()));
    case QMetaType::UChar: return Variant(static_cast<quint8>(value.toUInt()));
    case QMetaType::UShort: return Variant(static_cast<quint16>(value.toUInt()));
    case QMetaType::UInt: return Variant(static_cast<quint32>(value.toUInt()));
    case QMetaType::ULong:
    case QMetaType::ULongLong: {
        const qulonglong u = value.toULongLong();
        if (u > static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
            return Variant(static_cast<double>(u));
        return Variant(static_cast<qint64>(u));
    }
    case QMetaType::Float: return Variant(value.toFloat());
    case QMetaType::Double: return Variant(value.toDouble());
    case QMetaType::QString: return Variant(value.toString());
    case QMetaType::QByteArray: return Variant(value.toByteArray());
    case QMetaType::QDate: return FromDate(DateFromQDate(value.toDate()));
    case QMetaType::QDateTime: return FromDate(DateTimeFromQDateTime(value.toDateTime()));
    case QMetaType::QTime: return FromDate(value.toTime().msecsSinceStartOfDay() / 86400000.0);
    case QMetaType::QVariantList: {
        VariantArray elements;
        for (const QVariant& element : value.toList())
            elements.push_back(FromQVariant(element));
        return FromArray(std::move(elements));
    }
    default: break;
    }
    if (value.metaType() == QMetaType::fromType<TCurrency>())
        return Variant(value.value<TCurrency>());
    if (value.metaType() == QMetaType::fromType<TBcd>())
        return Variant(value.value<TBcd>());
    if (value.canConvert<QString>())
        return Variant(value.toString());
    throw EVariantTypeCastError(
        QStringLiteral("Could not convert a value of type %1 into a variant").arg(QLatin1String(value.typeName())));
}

bool Variant::SameAs(const Variant& other) const
{
    if (value_.index() != other.value_.index())
        return false;
    if (IsArray()) {
        const VariantArray& a = Elements();
        const VariantArray& b = other.Elements();
        if (a.size() != b.size())
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (!a[i].SameAs(b[i]))
                return false;
        return true;
    }
    return value_ == other.value_;
}

}  // namespace tk
