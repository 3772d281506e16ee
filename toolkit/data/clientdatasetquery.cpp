#include "toolkit/data/clientdatasetquery.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/core/format.h"

#include <QDateTime>
#include <QRegularExpression>
#include <optional>
#include <sqlite3.h>

namespace tk {

namespace {

// Finalizes the statement however the load ends.
struct StatementGuard {
    sqlite3_stmt* statement = nullptr;
    ~StatementGuard() { sqlite3_finalize(statement); }
};

[[noreturn]] void RaiseSqlite(sqlite3* db, const QString& sql)
{
    throw EDatabaseError(Format(QStringLiteral("%s\n(in: %s)"), {QString::fromUtf8(sqlite3_errmsg(db)), sql}));
}

// The definition a declared column type gives; nullopt when the name says
// nothing and the values must decide.
std::optional<TFieldDef> DefFromDeclaredType(const QString& declared)
{
    static const QRegularExpression sizePattern(QStringLiteral(R"(\(\s*(\d+)\s*(?:,\s*(\d+)\s*)?\))"));
    const QString upper = declared.toUpper();
    const QString base = upper.section(QLatin1Char('('), 0, 0).trimmed();
    const QRegularExpressionMatch size = sizePattern.match(upper);
    const bool hasScale = size.hasMatch() && !size.captured(2).isEmpty();
    const int first = size.hasMatch() ? qMin(size.captured(1).toInt(), 1 << 24) : 0;
    const int scale = hasScale ? size.captured(2).toInt() : 0;

    TFieldDef def;
    const auto is = [&base](std::initializer_list<const char*> names) {
        for (const char* name : names) {
            if (base == QLatin1String(name))
                return true;
        }
        return false;
    };
    if (base.isEmpty())
        return std::nullopt;
    if (is({"INTEGER", "BIGINT", "INT8", "INT64", "UNSIGNED BIG INT"}))
        def.DataType = ftLargeint;
    else if (is({"SMALLINT", "TINYINT", "INT2"}))
        def.DataType = ftSmallint;
    else if (base.contains(QLatin1String("INT")))
        def.DataType = ftInteger;
    else if (is({"BOOL", "BOOLEAN"}))
        def.DataType = ftBoolean;
    else if (is({"MONEY", "SMALLMONEY", "CURRENCY"})) {
        def.DataType = ftBCD;
        def.Size = 4;
    } else if (is({"NUMERIC", "DECIMAL"})) {
        if (!size.hasMatch()) {
            def.DataType = ftFloat;
        } else {
            def.DataType = scale <= 4 ? ftBCD : ftFMTBcd;
            def.Size = scale;
        }
    } else if (is({"DATETIME", "TIMESTAMP", "DATE"}))
        def.DataType = ftDateTime;
    else if (is({"TIME"}))
        def.DataType = ftTime;
    else if (base.contains(QLatin1String("CHAR")) || base.contains(QLatin1String("CLOB")) ||
             base.contains(QLatin1String("TEXT"))) {
        def.DataType = ftString;
        def.Size = first;
    } else if (base.contains(QLatin1String("BLOB")))
        def.DataType = ftBlob;
    else if (base.contains(QLatin1String("REAL")) || base.contains(QLatin1String("FLOA")) ||
             base.contains(QLatin1String("DOUB")))
        def.DataType = ftFloat;
    else
        return std::nullopt;
    return def;
}

TFieldType TypeFromValue(const Variant& value)
{
    switch (value.Kind()) {
    case VariantKind::Int64: return ftLargeint;
    case VariantKind::Double: return ftFloat;
    case VariantKind::Bytes: return ftBlob;
    default: return ftString;
    }
}

// Text dates in the ISO forms SQLite's date functions write.
std::optional<TDateTime> IsoDate(const QString& text, TFieldType type)
{
    const QString trimmed = text.trimmed();
    if (type == ftTime) {
        for (Qt::DateFormat format : {Qt::ISODateWithMs, Qt::ISODate}) {
            const QTime time = QTime::fromString(trimmed, format);
            if (time.isValid())
                return EncodeTime(time.hour(), time.minute(), time.second(), time.msec());
        }
        return std::nullopt;
    }
    if (trimmed.size() == 10) {
        const QDate date = QDate::fromString(trimmed, Qt::ISODate);
        return date.isValid() ? std::optional<TDateTime>(DateFromQDate(date)) : std::nullopt;
    }
    QString iso = trimmed;
    if (iso.size() > 10 && iso[10] == QLatin1Char(' '))
        iso[10] = QLatin1Char('T');
    const QDateTime value = QDateTime::fromString(iso, Qt::ISODateWithMs);
    if (!value.isValid())
        return std::nullopt;
    return DateTimeFromQDateTime(value.toLocalTime());
}

// A date column's value in the convention its storage class says.
Variant DateValue(sqlite3_stmt* statement, int column, TFieldType type)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return Variant::FromDate(
            DateTimeFromQDateTime(QDateTime::fromSecsSinceEpoch(sqlite3_column_int64(statement, column)).toLocalTime()));
    case SQLITE_FLOAT: {
        constexpr double kJulianDayOfZero = 2415018.5;  // 1899-12-30 00:00
        return Variant::FromDate(sqlite3_column_double(statement, column) - kJulianDayOfZero);
    }
    default: break;
    }
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                           sqlite3_column_bytes(statement, column));
    if (const std::optional<TDateTime> date = IsoDate(text, type))
        return Variant::FromDate(*date);
    return Variant(text);  // the column store tries the locale's date forms
}

Variant RawValue(sqlite3_stmt* statement, int column)
{
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL: return Variant::NullValue();
    case SQLITE_INTEGER: return Variant(static_cast<qint64>(sqlite3_column_int64(statement, column)));
    case SQLITE_FLOAT: return Variant(sqlite3_column_double(statement, column));
    case SQLITE_BLOB: {
        const void* data = sqlite3_column_blob(statement, column);
        return Variant(QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(statement, column)));
    }
    default:
        return Variant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                                         sqlite3_column_bytes(statement, column)));
    }
}

bool IsDateType(TFieldType type)
{
    return type == ftDateTime || type == ftDate || type == ftTime;
}

// Names as the statement gives them; repeated ones get "_1", "_2"...
QString UniqueName(const QString& name, const QStringList& taken)
{
    QString candidate = name.isEmpty() ? QStringLiteral("Column") : name;
    for (int n = 1; taken.contains(candidate, Qt::CaseInsensitive); ++n)
        candidate = name + QLatin1Char('_') + QString::number(n);
    return candidate;
}

// Names the column whose value in the row does not fit its type.
[[noreturn]] void RaiseValueError(const std::vector<TFieldDef>& defs, const std::vector<Variant>& row, qint64 rowIndex)
{
    for (size_t column = 0; column < defs.size(); ++column) {
        TColumnStore probe({defs[column].DataType});
        probe.AddSlot();
        try {
            probe.Set(0, 0, row[column]);
        } catch (const EConvertError& error) {
            throw EDatabaseError(Format(QStringLiteral("Column '%s', row %d of the query: %s"),
                                        {defs[column].Name, Variant(rowIndex + 1), error.Message()}));
        }
    }
    throw EDatabaseError(Format(QStringLiteral("Row %d of the query does not convert"), {Variant(rowIndex + 1)}));
}

}  // namespace

std::unique_ptr<TMemoryRecordSource> LoadQueryRows(sqlite3* db, const QString& sql)
{
    if (!db)
        throw EDatabaseError(QStringLiteral("The database is not connected"));
    const QByteArray text = sql.toUtf8();
    StatementGuard guard;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, text.constData(), static_cast<int>(text.size()), &guard.statement, &tail) != SQLITE_OK)
        RaiseSqlite(db, sql);
    if (!guard.statement)
        throw EDatabaseError(QStringLiteral("The command text holds no SQL statement"));
    if (!QByteArray(tail).replace(';', ' ').trimmed().isEmpty())
        throw EDatabaseError(Format(QStringLiteral("The command text holds more than one statement: %s"), {sql}));
    const int columnCount = sqlite3_column_count(guard.statement);
    if (columnCount == 0)
        throw EDatabaseError(Format(QStringLiteral("The command does not return rows: %s"), {sql}));

    std::vector<std::optional<TFieldDef>> declared(columnCount);
    QStringList names;
    for (int column = 0; column < columnCount; ++column) {
        const char* declaredType = sqlite3_column_decltype(guard.statement, column);
        declared[column] = DefFromDeclaredType(QString::fromUtf8(declaredType ? declaredType : ""));
        names << UniqueName(QString::fromUtf8(sqlite3_column_name(guard.statement, column)), names);
    }

    std::vector<std::vector<Variant>> rows;
    for (;;) {
        const int step = sqlite3_step(guard.statement);
        if (step == SQLITE_DONE)
            break;
        if (step != SQLITE_ROW)
            RaiseSqlite(db, sql);
        std::vector<Variant> row(columnCount);
        for (int column = 0; column < columnCount; ++column) {
            const bool isDate = declared[column] && IsDateType(declared[column]->DataType);
            if (isDate && sqlite3_column_type(guard.statement, column) != SQLITE_NULL)
                row[column] = DateValue(guard.statement, column, declared[column]->DataType);
            else
                row[column] = RawValue(guard.statement, column);
        }
        rows.push_back(std::move(row));
    }

    std::vector<TFieldDef> defs(columnCount);
    for (int column = 0; column < columnCount; ++column) {
        TFieldDef& def = defs[column];
        if (declared[column]) {
            def = *declared[column];
        } else {
            def.DataType = ftString;
            for (const std::vector<Variant>& row : rows) {
                if (!row[column].IsNull()) {
                    def.DataType = TypeFromValue(row[column]);
                    break;
                }
            }
        }
        def.Name = names[column];
        // Text without a declared length is as wide as its longest value.
        if (def.DataType == ftString && def.Size == 0) {
            def.Size = 1;
            for (const std::vector<Variant>& row : rows) {
                if (!row[column].IsNull())
                    def.Size = qMax<qsizetype>(def.Size, row[column].ToString().size());
            }
        }
    }

    auto source = std::make_unique<TMemoryRecordSource>(defs);
    source->Reserve(static_cast<qint64>(rows.size()));
    for (size_t row = 0; row < rows.size(); ++row) {
        try {
            source->AppendRow(rows[row]);
        } catch (const EConvertError&) {
            RaiseValueError(defs, rows[row], static_cast<qint64>(row));
        }
    }
    return source;
}

}  // namespace tk
