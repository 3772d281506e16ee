#include "toolkit/data/clientdatasetfile.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/core/format.h"

#include <QByteArrayList>
#include <QMetaEnum>
#include <QStringDecoder>
#include <algorithm>
#include <limits>

namespace tk {

namespace {

constexpr char kMagic[] = "#toolkit-clientdata";
// Version 2 holds nested tables (ftDataSet) as one value; files without
// them are still written as version 1, which older readers understand.
constexpr int kVersion = 2;
constexpr int kFlatVersion = 1;
constexpr int kMaxSize = 16 * 1024 * 1024;
// Object definitions nest; the limit keeps a hostile file from recursing deep.
constexpr qint64 kMaxDepth = 16;
const QByteArray kNull = QByteArrayLiteral("\\N");

// --- Writing ----------------------------------------------------------------

QByteArray Escape(const QByteArray& text)
{
    QByteArray result;
    result.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\': result += "\\\\"; break;
        case '\t': result += "\\t"; break;
        case '\n': result += "\\n"; break;
        case '\r': result += "\\r"; break;
        default: result += c;
        }
    }
    return result;
}

QByteArray EncodeValue(const TColumnStore& store, qint64 slot, int column)
{
    if (store.IsNull(slot, column))
        return kNull;
    const TFieldType type = store.ColumnType(column);
    switch (TColumnStore::StorageOf(type)) {
    case TColumnStore::Storage::Int64:
        if (type == ftBCD)
            return TBcd::FromCurrency(TCurrency::FromTicks(store.GetInt64(slot, column))).ToString().toUtf8();
        return QByteArray::number(store.GetInt64(slot, column));
    case TColumnStore::Storage::Double: return QByteArray::number(store.GetDouble(slot, column), 'g', 17);
    case TColumnStore::Storage::Text: return Escape(store.GetText(slot, column).toUtf8());
    case TColumnStore::Storage::Bytes:
        // A nested table is itself client data text: escaped, it stays readable.
        if (type == ftDataSet)
            return Escape(store.GetBytes(slot, column));
        return store.GetBytes(slot, column).toBase64();
    }
    return kNull;
}

bool HasNestedTables(const std::vector<TFieldDef>& columns)
{
    return std::any_of(columns.begin(), columns.end(), [](const TFieldDef& def) { return def.DataType == ftDataSet; });
}

// Version 1 spread a nested table's columns over the row as an ADT's are.
std::vector<TFieldDef> FlatLayoutDefs(std::vector<TFieldDef> defs)
{
    for (TFieldDef& def : defs) {
        if (def.DataType == ftDataSet)
            def.DataType = ftADT;
        def.ChildDefs = FlatLayoutDefs(std::move(def.ChildDefs));
    }
    return defs;
}

// Takes the values of defs from a version 1 row (starting at `at`) and
// appends them in today's layout: each nested table becomes one of a single
// row, or none when all its values are Null.
void ConvertFlatValues(const std::vector<TFieldDef>& defs, const std::vector<Variant>& flat, size_t& at,
                       std::vector<Variant>& out)
{
    for (const TFieldDef& def : defs) {
        if (def.DataType == ftDataSet) {
            std::vector<Variant> nestedRow;
            ConvertFlatValues(def.ChildDefs, flat, at, nestedRow);
            const bool empty = std::all_of(nestedRow.begin(), nestedRow.end(), [](const Variant& v) { return v.IsNull(); });
            if (empty) {
                out.push_back(Variant::NullValue());
                continue;
            }
            TMemoryRecordSource nested(def.ChildDefs);
            nested.AppendRow(nestedRow);
            out.push_back(Variant(EncodeClientData(nested)));
        } else if (IsObjectType(def.DataType)) {
            ConvertFlatValues(def.ChildDefs, flat, at, out);
        } else {
            out.push_back(flat[at++]);
        }
    }
}

void EncodeDefs(const std::vector<TFieldDef>& defs, int depth, QByteArrayList& lines)
{
    for (const TFieldDef& def : defs) {
        QByteArray flags;
        if (def.Required)
            flags += 'R';
        if (def.ReadOnly)
            flags += 'O';
        if (flags.isEmpty())
            flags = "-";
        lines << QByteArrayList{"FIELD", QByteArray::number(depth), Escape(def.Name.toUtf8()),
                                EnumName(def.DataType).toLatin1(), QByteArray::number(def.Size), flags}
                     .join('\t');
        EncodeDefs(def.ChildDefs, depth + 1, lines);
    }
}

// --- Reading ----------------------------------------------------------------

class Reader {
public:
    Reader(const QByteArray& bytes, QString name) : name_(std::move(name))
    {
        lines_ = bytes.split('\n');
        if (!lines_.isEmpty() && lines_.last().isEmpty())
            lines_.removeLast();  // the line feed after END
        for (QByteArray& line : lines_) {
            if (line.endsWith('\r'))
                line.chop(1);
        }
    }

    std::unique_ptr<TMemoryRecordSource> Read();

private:
    [[noreturn]] void Fail(const QString& reason) const
    {
        throw EDatabaseError(Format(QStringLiteral("%s: line %d: %s"), {name_, Variant(line_ + 1), reason}));
    }
    // The fields of the next line; fails at the end of the file.
    QByteArrayList NextLine(const char* expected);
    qint64 Count(const QByteArray& text, qint64 maximum, const char* what);
    int LinesLeft() const { return static_cast<int>(lines_.size()) - line_ - 1; }
    void ReadDefs(int count, std::vector<TFieldDef>& defs);
    std::unique_ptr<TMemoryRecordSource> MakeSource(std::vector<TFieldDef> defs, int fieldsLine);
    Variant DecodeNestedTable(const QByteArray& text, const TFieldDef& column);
    QByteArray Unescape(const QByteArray& text);
    Variant DecodeValue(const QByteArray& text, TFieldType type);

    QString name_;
    QByteArrayList lines_;
    int line_ = -1;  // index of the line being read
    int version_ = 0;
};

QByteArrayList Reader::NextLine(const char* expected)
{
    ++line_;
    if (line_ >= lines_.size())
        Fail(Format(QStringLiteral("the file ends where %s was expected"), {QString::fromLatin1(expected)}));
    return lines_[line_].split('\t');
}

bool IsPlainInteger(const QByteArray& text)
{
    const int start = text.startsWith('-') ? 1 : 0;
    if (text.size() == start || text.size() > 20)
        return false;
    for (int i = start; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
    }
    return true;
}

qint64 Reader::Count(const QByteArray& text, qint64 maximum, const char* what)
{
    bool ok = false;
    const qint64 value = IsPlainInteger(text) ? text.toLongLong(&ok) : 0;
    if (!ok || value < 0)
        Fail(Format(QStringLiteral("'%s' is not a valid %s"), {QString::fromUtf8(text), QString::fromLatin1(what)}));
    if (value > maximum)
        Fail(Format(QStringLiteral("%s %d is more than %d"), {QString::fromLatin1(what), Variant(value), Variant(maximum)}));
    return value;
}

QByteArray Reader::Unescape(const QByteArray& text)
{
    QByteArray result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            result += text[i];
            continue;
        }
        if (++i == text.size())
            Fail(QStringLiteral("a value ends with a lone \"\\\""));
        switch (text[i]) {
        case '\\': result += '\\'; break;
        case 't': result += '\t'; break;
        case 'n': result += '\n'; break;
        case 'r': result += '\r'; break;
        default: Fail(Format(QStringLiteral("unknown escape \"\\%s\""), {QString(QLatin1Char(text[i]))}));
        }
    }
    return result;
}

void Reader::ReadDefs(int count, std::vector<TFieldDef>& defs)
{
    // Each definition at depth d > 0 belongs to the last object definition
    // at depth d - 1; the path of those parents is kept here.
    std::vector<std::vector<TFieldDef>*> parents{&defs};
    const QMetaEnum types = QMetaEnum::fromType<TFieldType>();
    for (int i = 0; i < count; ++i) {
        const QByteArrayList parts = NextLine("FIELD");
        if (parts.size() != 6 || parts[0] != "FIELD")
            Fail(QStringLiteral("expected a FIELD line with 5 values"));
        const qint64 depth = Count(parts[1], qMin(static_cast<qint64>(parents.size()) - 1, kMaxDepth), "depth");
        TFieldDef def;
        def.Name = QString::fromUtf8(Unescape(parts[2]));
        bool known = false;
        const int type = types.keyToValue(parts[3].constData(), &known);
        if (!known)
            Fail(Format(QStringLiteral("unknown field type '%s'"), {QString::fromUtf8(parts[3])}));
        def.DataType = static_cast<TFieldType>(type);
        def.Size = static_cast<int>(Count(parts[4], kMaxSize, "size"));
        const QByteArray& flags = parts[5];
        if (flags != "-") {
            for (char flag : flags) {
                if (flag != 'R' && flag != 'O')
                    Fail(Format(QStringLiteral("unknown field flags '%s'"), {QString::fromUtf8(flags)}));
            }
            def.Required = flags.contains('R');
            def.ReadOnly = flags.contains('O');
        }
        parents.resize(depth + 1);
        std::vector<TFieldDef>& siblings = *parents.back();
        siblings.push_back(std::move(def));
        if (IsObjectType(siblings.back().DataType))
            parents.push_back(&siblings.back().ChildDefs);
    }
}

Variant Reader::DecodeValue(const QByteArray& text, TFieldType type)
{
    if (text == kNull)
        return Variant::NullValue();
    switch (TColumnStore::StorageOf(type)) {
    case TColumnStore::Storage::Int64: {
        if (type == ftBCD) {
            TBcd value;
            if (!TBcd::TryFromString(QString::fromLatin1(text), value) || text.contains(' '))
                break;
            return Variant(value);
        }
        bool ok = false;
        const qint64 value = IsPlainInteger(text) ? text.toLongLong(&ok) : 0;
        if (!ok || (type == ftBoolean && value != 0 && value != 1))
            break;
        return type == ftBoolean ? Variant(value == 1) : Variant(value);
    }
    case TColumnStore::Storage::Double: {
        bool ok = false;
        const double value = text.trimmed() == text ? text.toDouble(&ok) : 0;
        if (!ok)
            break;
        return type == ftFloat || type == ftCurrency ? Variant(value) : Variant::FromDate(value);
    }
    case TColumnStore::Storage::Text: {
        if (type != ftFMTBcd)
            return Variant(QString::fromUtf8(Unescape(text)));
        TBcd value;
        if (!TBcd::TryFromString(QString::fromLatin1(text), value) || text.contains(' '))
            break;
        return Variant(value);
    }
    case TColumnStore::Storage::Bytes: {
        Q_ASSERT(type != ftDataSet);  // DecodeNestedTable reads those
        const auto decoded = QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            break;
        return Variant(decoded.decoded);
    }
    }
    Fail(Format(QStringLiteral("'%s' is not a valid %s value"), {QString::fromUtf8(text.left(40)), EnumName(type)}));
}

// The nested rows are checked whole here, so a damaged nested part fails
// the file as any other damage does.
Variant Reader::DecodeNestedTable(const QByteArray& text, const TFieldDef& column)
{
    if (text == kNull)
        return Variant::NullValue();
    const QByteArray bytes = Unescape(text);
    std::unique_ptr<TMemoryRecordSource> nested;
    try {
        nested = DecodeClientData(bytes, Format(QStringLiteral("nested dataset %s"), {column.Name}));
    } catch (const EDatabaseError& error) {
        Fail(error.Message());
    }
    if (nested->FieldDefs() != column.ChildDefs)
        Fail(Format(QStringLiteral("the nested dataset %s does not have the columns its field defines"), {column.Name}));
    return Variant(bytes);
}

std::unique_ptr<TMemoryRecordSource> Reader::MakeSource(std::vector<TFieldDef> defs, int fieldsLine)
{
    try {
        return std::make_unique<TMemoryRecordSource>(std::move(defs));
    } catch (const EDatabaseError& error) {
        line_ = fieldsLine;
        Fail(error.Message());
    }
}

std::unique_ptr<TMemoryRecordSource> Reader::Read()
{
    const QByteArrayList magic = NextLine("the header");
    if (magic.size() != 1 || !magic[0].startsWith(kMagic))
        Fail(QStringLiteral("not a client dataset file"));
    for (int version : {kFlatVersion, kVersion}) {
        if (magic[0] == QByteArray(kMagic) + ' ' + QByteArray::number(version))
            version_ = version;
    }
    if (version_ == 0)
        Fail(Format(QStringLiteral("format '%s' is not supported (version %d or %d expected)"),
                    {QString::fromUtf8(magic[0]), Variant(kFlatVersion), Variant(kVersion)}));

    QByteArrayList parts = NextLine("FIELDS");
    if (parts.size() != 2 || parts[0] != "FIELDS")
        Fail(QStringLiteral("expected FIELDS and their number"));
    const int fieldsLine = line_;
    std::vector<TFieldDef> defs;
    ReadDefs(static_cast<int>(Count(parts[1], LinesLeft(), "number of fields")), defs);

    // A version 1 file with nested tables is read in its flat layout and
    // converted row by row.
    const bool flatNested = version_ == kFlatVersion && HasNestedTables(MakeSource(defs, fieldsLine)->ColumnDefs());
    std::unique_ptr<TMemoryRecordSource> flat = flatNested ? MakeSource(FlatLayoutDefs(defs), fieldsLine) : nullptr;
    std::unique_ptr<TMemoryRecordSource> source = MakeSource(defs, fieldsLine);
    const std::vector<TFieldDef>& columns = flat ? flat->ColumnDefs() : source->ColumnDefs();
    std::vector<Variant> converted;

    parts = NextLine("ROWS");
    if (parts.size() != 2 || parts[0] != "ROWS")
        Fail(QStringLiteral("expected ROWS and their number"));
    // The declared count is checked against the lines present, so a damaged
    // count cannot make us reserve memory for rows that are not there.
    const qint64 rowCount = Count(parts[1], std::numeric_limits<qint64>::max(), "number of rows");
    if (rowCount > LinesLeft())
        Fail(Format(QStringLiteral("%d rows declared, but the file ends before them (truncated)"), {Variant(rowCount)}));
    source->Reserve(rowCount);
    std::vector<Variant> values(columns.size());
    for (qint64 row = 0; row < rowCount; ++row) {
        parts = NextLine("a row");
        if (parts[0] != "R")
            Fail(QStringLiteral("expected a row (R)"));
        if (parts.size() - 1 != static_cast<qsizetype>(columns.size()))
            Fail(Format(QStringLiteral("a row needs %d values, it has %d"),
                        {Variant(static_cast<qint64>(columns.size())), Variant(static_cast<qint64>(parts.size() - 1))}));
        for (size_t column = 0; column < columns.size(); ++column) {
            const TFieldDef& def = columns[column];
            values[column] = def.DataType == ftDataSet ? DecodeNestedTable(parts[column + 1], def)
                                                       : DecodeValue(parts[column + 1], def.DataType);
        }
        try {
            if (flat) {
                converted.clear();
                size_t at = 0;
                ConvertFlatValues(source->FieldDefs(), values, at, converted);
                source->AppendRow(converted);
            } else {
                source->AppendRow(values);
            }
        } catch (const EConvertError& error) {
            Fail(error.Message());
        }
    }

    parts = NextLine("END");
    if (parts.size() != 1 || parts[0] != "END")
        Fail(QStringLiteral("expected END"));
    if (LinesLeft() > 0) {
        ++line_;
        Fail(QStringLiteral("unexpected data after END"));
    }
    return source;
}

// The line (1-based) of the first byte that is not valid UTF-8, 0 when all are.
int FirstBadUtf8Line(const QByteArray& bytes)
{
    QStringDecoder whole(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = whole.decode(bytes);  // decoding happens on conversion
    Q_UNUSED(text);
    if (!whole.hasError())
        return 0;
    const QByteArrayList lines = bytes.split('\n');
    for (int i = 0; i < lines.size(); ++i) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString line = decoder.decode(lines[i]);
        Q_UNUSED(line);
        if (decoder.hasError())
            return i + 1;
    }
    return 1;
}

}  // namespace

QByteArray EncodeClientData(const TMemoryRecordSource& source)
{
    QByteArrayList defLines;
    EncodeDefs(source.FieldDefs(), 0, defLines);
    const TColumnStore& store = source.Store();
    const std::vector<TRowId>& rows = source.NaturalOrder();

    QByteArray out;
    out += kMagic;
    out += ' ' + QByteArray::number(HasNestedTables(source.ColumnDefs()) ? kVersion : kFlatVersion) + '\n';
    out += "FIELDS\t" + QByteArray::number(defLines.size()) + '\n';
    for (const QByteArray& line : defLines)
        out += line + '\n';
    out += "ROWS\t" + QByteArray::number(static_cast<qint64>(rows.size())) + '\n';
    for (TRowId slot : rows) {
        out += 'R';
        for (int column = 0; column < store.ColumnCount(); ++column) {
            out += '\t';
            out += EncodeValue(store, slot, column);
        }
        out += '\n';
    }
    out += "END\n";
    return out;
}

std::unique_ptr<TMemoryRecordSource> DecodeClientData(const QByteArray& bytes, const QString& name)
{
    if (const int line = FirstBadUtf8Line(bytes))
        throw EDatabaseError(Format(QStringLiteral("%s: line %d: the text is not valid UTF-8"), {name, Variant(line)}));
    return Reader(bytes, name).Read();
}

void SaveClientDataFile(const TMemoryRecordSource& source, const QString& path)
{
    if (!WriteFileAtomic(path, EncodeClientData(source)))
        throw EDatabaseError(Format(QStringLiteral("Cannot write %s: %s"), {path, SysErrorMessage(LastFileError())}));
}

std::unique_ptr<TMemoryRecordSource> LoadClientDataFile(const QString& path)
{
    QByteArray bytes;
    if (!ReadFileBytes(path, bytes))
        throw EDatabaseError(Format(QStringLiteral("Cannot read %s: %s"), {path, SysErrorMessage(LastFileError())}));
    return DecodeClientData(bytes, path);
}

}  // namespace tk
