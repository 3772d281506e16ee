#include "toolkit/data/sqlitesourcetypes.h"

#include "toolkit/core/dateutils.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/varianterrors.h"

#include <QDateTime>
#include <QRegularExpression>
#include <cmath>
#include <sqlite3.h>

namespace tk {

namespace {

// Days between the julian day epoch and TDateTime's 1899-12-30.
constexpr double kJulianDayOfZero = 2415018.5;
// SQLite's "auto" rule: numbers from 0 below this are julian day numbers
// (5373484.5 is 10000-01-01, the first day SQLite's dates cannot hold).
constexpr double kJulianDayLimit = 5373484.5;
// The Unix seconds of -4713-11-24 12:00 and 9999-12-31 23:59:59, the
// range SQLite's date functions read.
constexpr double kMinUnixSeconds = -210866760000.0;
constexpr double kMaxUnixSeconds = 253402300799.0;
// Size 0: a string field without a length limit.
constexpr int kDefaultStringSize = 0;
constexpr int kDefaultBcdScale = 4;
// ftBCD values are held as currency (4 decimals); more need ftFMTBcd.
constexpr int kMaxBcdScale = 4;

bool ContainsAny(const QString& text, std::initializer_list<const char*> words)
{
    for (const char* word : words)
        if (text.contains(QLatin1String(word)))
            return true;
    return false;
}

// The numbers in "(n)" or "(p, s)" after a type name; 0 when absent.
void SizeArguments(const QString& declaredType, int& first, int& second)
{
    static const QRegularExpression pattern(QStringLiteral("\\(\\s*(\\d+)\\s*(?:,\\s*(\\d+)\\s*)?\\)"));
    const QRegularExpressionMatch match = pattern.match(declaredType);
    first = match.hasMatch() ? match.captured(1).toInt() : 0;
    second = match.hasMatch() && match.hasCaptured(2) ? match.captured(2).toInt() : -1;
}

// Reads exactly count digits at pos; false when any is not a digit.
bool ReadDigits(const QString& text, int pos, int count, int& value)
{
    if (pos + count > text.size())
        return false;
    value = 0;
    for (int i = pos; i < pos + count; ++i) {
        const ushort c = text[i].unicode();
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// "HH:MM[:SS[.fff...]]" from pos to the end of the text.
bool ParseTimePart(const QString& text, int pos, TDateTime& value)
{
    int hour = 0, minute = 0, second = 0, msec = 0;
    if (!ReadDigits(text, pos, 2, hour) || pos + 2 >= text.size() || text[pos + 2] != QLatin1Char(':') ||
        !ReadDigits(text, pos + 3, 2, minute))
        return false;
    pos += 5;
    if (pos < text.size()) {
        if (text[pos] != QLatin1Char(':') || !ReadDigits(text, pos + 1, 2, second))
            return false;
        pos += 3;
        if (pos < text.size()) {
            if (text[pos] != QLatin1Char('.'))
                return false;
            ++pos;
            int digits = 0;
            while (pos < text.size() && text[pos].isDigit()) {
                if (digits < 3)
                    msec = msec * 10 + text[pos].digitValue();
                ++digits;
                ++pos;
            }
            if (digits == 0 || pos != text.size())
                return false;
            for (int d = digits; d < 3; ++d)
                msec *= 10;
        }
    }
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    value = EncodeTime(hour, minute, second, msec);
    return true;
}

[[noreturn]] void RaiseConvert(const QString& fieldName, const EVariantError& error)
{
    throw EConvertError(QStringLiteral("Invalid value for field '%1': %2").arg(fieldName, error.Message()));
}

void BindText(sqlite3_stmt* statement, int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), utf8.size(), SQLITE_TRANSIENT);
}

void BindBytes(sqlite3_stmt* statement, int index, const QByteArray& bytes)
{
    // An empty blob is a value, not NULL: bind zero bytes explicitly.
    if (bytes.isEmpty())
        sqlite3_bind_zeroblob(statement, index, 0);
    else
        sqlite3_bind_blob(statement, index, bytes.constData(), bytes.size(), SQLITE_TRANSIENT);
}

}  // namespace

TFieldDef FieldDefFromDeclaredType(const QString& name, const QString& declaredType, bool rowidAlias)
{
    TFieldDef def;
    def.Name = name;
    const QString type = declaredType.toUpper();
    int size = 0, scale = -1;
    SizeArguments(type, size, scale);
    const bool isBoolean = type.contains(QLatin1String("BOOL"));
    if (rowidAlias || (type.contains(QLatin1String("INT")) && !isBoolean)) {
        def.DataType = ftLargeint;
    } else if (isBoolean) {
        def.DataType = ftBoolean;
    } else if (ContainsAny(type, {"DATETIME", "TIMESTAMP"})) {
        def.DataType = ftDateTime;
    } else if (type.contains(QLatin1String("DATE"))) {
        def.DataType = ftDate;
    } else if (type.contains(QLatin1String("TIME"))) {
        def.DataType = ftTime;
    } else if (ContainsAny(type, {"CLOB", "MEMO", "LONGTEXT"})) {
        def.DataType = ftMemo;
    } else if (ContainsAny(type, {"CHAR", "TEXT"})) {
        def.DataType = ftString;
        def.Size = size > 0 ? size : kDefaultStringSize;
    } else if (ContainsAny(type, {"BLOB", "BINARY"})) {
        def.DataType = ftBlob;
    } else if (ContainsAny(type, {"REAL", "FLOA", "DOUB"})) {
        def.DataType = ftFloat;
    } else if (ContainsAny(type, {"NUMERIC", "DECIMAL", "MONEY", "CURRENCY"})) {
        def.Size = scale >= 0 ? scale : kDefaultBcdScale;
        def.DataType = def.Size > kMaxBcdScale ? ftFMTBcd : ftBCD;
    } else {
        def.DataType = ftString;
        def.Size = kDefaultStringSize;
    }
    return def;
}

TFieldType FieldTypeFromStorageClass(int storageClass)
{
    switch (storageClass) {
    case SQLITE_INTEGER: return ftLargeint;
    case SQLITE_FLOAT: return ftFloat;
    case SQLITE_BLOB: return ftBlob;
    default: return ftString;
    }
}

bool TryParseIsoDateTime(const QString& text, TDateTime& value)
{
    int year = 0, month = 0, day = 0;
    if (text.size() >= 10 && ReadDigits(text, 0, 4, year) && text[4] == QLatin1Char('-') &&
        ReadDigits(text, 5, 2, month) && text[7] == QLatin1Char('-') && ReadDigits(text, 8, 2, day)) {
        TDateTime date = 0;
        try {
            date = EncodeDate(year, month, day);
        } catch (const EConvertError&) {
            return false;
        }
        if (text.size() == 10) {
            value = date;
            return true;
        }
        if (text[10] != QLatin1Char(' ') && text[10] != QLatin1Char('T'))
            return false;
        TDateTime time = 0;
        if (!ParseTimePart(text, 11, time))
            return false;
        // Dates before the zero day count backwards while the time of day
        // still runs forwards.
        value = date < 0 ? date - time : date + time;
        return true;
    }
    return ParseTimePart(text, 0, value);
}

std::optional<TDateTime> DateTimeFromSqliteNumber(double number)
{
    if (number >= 0.0 && number < kJulianDayLimit)
        return number - kJulianDayOfZero;
    if (!(number >= kMinUnixSeconds && number <= kMaxUnixSeconds))
        return std::nullopt;
    const QDateTime utc =
        QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(number * 1000.0)), Qt::UTC);
    if (!utc.isValid())
        return std::nullopt;
    return DateTimeFromQDateTime(utc.toLocalTime());
}

QString IsoTextFromDateTime(TDateTime value, TFieldType type)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    const QString date = QStringLiteral("%1-%2-%3")
                             .arg(year, 4, 10, QLatin1Char('0'))
                             .arg(month, 2, 10, QLatin1Char('0'))
                             .arg(day, 2, 10, QLatin1Char('0'));
    QString time = QStringLiteral("%1:%2:%3")
                       .arg(hour, 2, 10, QLatin1Char('0'))
                       .arg(minute, 2, 10, QLatin1Char('0'))
                       .arg(second, 2, 10, QLatin1Char('0'));
    if (msec != 0)
        time += QStringLiteral(".%1").arg(msec, 3, 10, QLatin1Char('0'));
    if (type == ftDate)
        return date;
    if (type == ftTime)
        return time;
    return date + QLatin1Char(' ') + time;
}

void BindFieldValue(sqlite3_stmt* statement, int index, const Variant& value, TFieldType type,
                    const QString& fieldName)
{
    if (value.IsEmptyOrNull()) {
        sqlite3_bind_null(statement, index);
        return;
    }
    try {
        switch (type) {
        case ftSmallint:
        case ftInteger:
        case ftWord:
        case ftAutoInc:
        case ftLargeint: sqlite3_bind_int64(statement, index, value.ToInt64()); return;
        case ftBoolean: sqlite3_bind_int(statement, index, value.ToBoolean() ? 1 : 0); return;
        case ftFloat:
        case ftCurrency: sqlite3_bind_double(statement, index, value.ToDouble()); return;
        case ftBCD:
        case ftFMTBcd: BindText(statement, index, value.ToBcd().ToString()); return;
        case ftDate:
        case ftTime:
        case ftDateTime:
        case ftTimeStamp: {
            TDateTime when = 0;
            if (value.IsString() && TryParseIsoDateTime(value.ToString(), when))
                BindText(statement, index, IsoTextFromDateTime(when, type));
            else
                BindText(statement, index, IsoTextFromDateTime(value.ToDateTime(), type));
            return;
        }
        case ftBytes:
        case ftVarBytes:
        case ftBlob:
        case ftGraphic:
        case ftTypedBinary:
        case ftOraBlob: BindBytes(statement, index, value.ToBytes()); return;
        default: BindText(statement, index, value.ToString()); return;
        }
    } catch (const EVariantError& error) {
        RaiseConvert(fieldName, error);
    }
}

void BindParameterValue(sqlite3_stmt* statement, int index, const Variant& value)
{
    if (value.IsEmptyOrNull()) {
        sqlite3_bind_null(statement, index);
    } else if (value.IsOrdinal()) {
        sqlite3_bind_int64(statement, index, value.ToInt64());
    } else if (value.IsBcd()) {
        BindText(statement, index, value.ToBcd().ToString());
    } else if (value.IsFloat()) {
        sqlite3_bind_double(statement, index, value.ToDouble());
    } else if (value.IsDate()) {
        const TDateTime when = value.ToDateTime();
        BindText(statement, index, IsoTextFromDateTime(when, when == static_cast<qint64>(when) ? ftDate : ftDateTime));
    } else if (value.IsBoolean()) {
        sqlite3_bind_int(statement, index, value.ToBoolean() ? 1 : 0);
    } else if (value.IsBytes()) {
        BindBytes(statement, index, value.ToBytes());
    } else {
        BindText(statement, index, value.ToString());
    }
}

void BindNamedParameters(sqlite3_stmt* statement, const TSqlParameters& parameters)
{
    for (int i = 1; i <= sqlite3_bind_parameter_count(statement); ++i) {
        const char* rawName = sqlite3_bind_parameter_name(statement, i);
        if (!rawName || rawName[0] == '?')
            continue;
        const QString name = QString::fromUtf8(rawName + 1);
        const TSqlParameter* found = nullptr;
        for (const TSqlParameter& parameter : parameters)
            if (parameter.Name.compare(name, Qt::CaseInsensitive) == 0)
                found = &parameter;
        if (!found || found->Value.IsUnassigned())
            throw EDatabaseError(QStringLiteral("No value for parameter '%1'").arg(name));
        BindParameterValue(statement, i, found->Value);
    }
}

void CheckParametersNamed(sqlite3_stmt* statement)
{
    for (int i = 1; i <= sqlite3_bind_parameter_count(statement); ++i) {
        const char* name = sqlite3_bind_parameter_name(statement, i);
        if (!name || name[0] == '?')
            throw EDatabaseError(QStringLiteral("SQL parameters must be named (:name)"));
    }
}

namespace {

// Booleans written as text by other programs.
bool TextIsTrue(const QString& text)
{
    for (const char* word : {"true", "t", "yes", "y", "1"})
        if (text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool IsIntegerType(TFieldType type)
{
    return type == ftSmallint || type == ftInteger || type == ftWord || type == ftAutoInc || type == ftLargeint;
}

}  // namespace

QString SqliteColumnText(sqlite3_stmt* statement, int column)
{
    const char* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(statement, column));
}

void StoreSqliteValue(TColumnStore& store, qint64 slot, int column, sqlite3_stmt* statement, int statementColumn)
{
    const int storageClass = sqlite3_column_type(statement, statementColumn);
    if (storageClass == SQLITE_NULL) {
        store.SetNull(slot, column);
        return;
    }
    // SQLite's types are loose: a value stored in another class than the
    // column's is converted by SQLite's own rules (text "12" in an INTEGER
    // column reads 12); dates that do not parse read as Null.
    const TFieldType type = store.ColumnType(column);
    switch (TColumnStore::StorageOf(type)) {
    case TColumnStore::Storage::Text:
        if (type != ftFMTBcd) {
            store.SetText(slot, column, SqliteColumnText(statement, statementColumn));
            return;
        }
        break;
    case TColumnStore::Storage::Bytes: {
        const char* data = static_cast<const char*>(sqlite3_column_blob(statement, statementColumn));
        store.SetBytes(slot, column, QByteArray(data, sqlite3_column_bytes(statement, statementColumn)));
        return;
    }
    default: break;
    }
    if (type == ftLargeint) {
        store.SetInt64(slot, column, sqlite3_column_int64(statement, statementColumn));
    } else if (IsIntegerType(type)) {
        // Narrower integer fields check the range rather than cut the value.
        store.Set(slot, column,
                   Variant(static_cast<qint64>(sqlite3_column_int64(statement, statementColumn))));
    } else if (type == ftFloat || type == ftCurrency) {
        store.SetDouble(slot, column, sqlite3_column_double(statement, statementColumn));
    } else if (type == ftBoolean) {
        const bool value = storageClass == SQLITE_TEXT ? TextIsTrue(SqliteColumnText(statement, statementColumn))
                                                       : sqlite3_column_double(statement, statementColumn) != 0;
        store.Set(slot, column, Variant(value));
    } else if (type == ftDate || type == ftTime || type == ftDateTime || type == ftTimeStamp) {
        TDateTime value = 0;
        if (storageClass == SQLITE_TEXT) {
            if (!TryParseIsoDateTime(SqliteColumnText(statement, statementColumn), value)) {
                store.SetNull(slot, column);
                return;
            }
        } else {
            const std::optional<TDateTime> number =
                DateTimeFromSqliteNumber(sqlite3_column_double(statement, statementColumn));
            if (!number) {
                store.SetNull(slot, column);
                return;
            }
            value = *number;
        }
        if (type == ftDate)
            value = DateOf(value);
        else if (type == ftTime)
            value = TimeOf(value);
        store.Set(slot, column, Variant::FromDate(value));
    } else if (type == ftBCD || type == ftFMTBcd) {
        TBcd value;
        if (storageClass == SQLITE_INTEGER)
            value = TBcd::FromInt64(sqlite3_column_int64(statement, statementColumn));
        else if (storageClass == SQLITE_FLOAT || !TBcd::TryFromString(SqliteColumnText(statement, statementColumn), value))
            value = TBcd::FromDouble(sqlite3_column_double(statement, statementColumn));
        store.Set(slot, column, Variant(value));
    } else {
        store.Set(slot, column, Variant(SqliteColumnText(statement, statementColumn)));
    }
}


}  // namespace tk
