#include "toolkit/core/inifile.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"

#include <cerrno>
#include <limits>

namespace tk {

namespace {

// What a line means to the reader; lines of other kinds (comments, blank
// lines, text without "=") are kept but never read.
struct IniLine {
    enum Kind { Other, Section, Key } kind = Other;
    QString name;           // section or key name, trimmed
    qsizetype equals = -1;  // position of the first "=" in a key line
};

IniLine Classify(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char('['))) {
        const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
        return {IniLine::Section, trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed(), -1};
    }
    if (trimmed.startsWith(QLatin1Char(';')))
        return {};
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0)
        return {};
    const QString key = line.left(equals).trimmed();
    if (key.isEmpty())
        return {};
    return {IniLine::Key, key, equals};
}

QString ValueOf(const QString& line, const IniLine& info)
{
    return line.mid(info.equals + 1).trimmed();
}

bool SameName(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

QString OneLine(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

bool IsBlank(const QString& line)
{
    return line.trimmed().isEmpty();
}

// Parses "[+-]digits", "[+-]$hex" or "[+-]0xhex" into a 32-bit integer;
// hexadecimal values up to FFFFFFFF wrap around as in the classic conversion.
std::optional<int> ParseInteger(const QString& text)
{
    QString digits = text;
    bool negative = false;
    if (digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+'))) {
        negative = digits.front() == QLatin1Char('-');
        digits.remove(0, 1);
    }
    int base = 10;
    if (digits.startsWith(QLatin1Char('$'))) {
        base = 16;
        digits.remove(0, 1);
    } else if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        base = 16;
        digits.remove(0, 2);
    }
    if (digits.isEmpty())
        return std::nullopt;
    for (QChar c : digits) {
        const char16_t u = c.unicode();
        const bool decimal = u >= u'0' && u <= u'9';
        const bool hex = (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
        if (!decimal && !(base == 16 && hex))
            return std::nullopt;
    }
    bool ok = false;
    const qulonglong magnitude = digits.toULongLong(&ok, base);
    if (!ok)
        return std::nullopt;
    if (base == 16) {
        if (magnitude > 0xFFFFFFFFULL)
            return std::nullopt;
        const auto bits = static_cast<quint32>(magnitude);
        return static_cast<qint32>(negative ? 0u - bits : bits);
    }
    const qulonglong limit =
        negative ? qulonglong(std::numeric_limits<int>::max()) + 1 : std::numeric_limits<int>::max();
    if (magnitude > limit)
        return std::nullopt;
    return static_cast<int>(negative ? -static_cast<qlonglong>(magnitude)
                                     : static_cast<qlonglong>(magnitude));
}

}  // namespace

TIniFile::TIniFile(const QString& fileName) : fileName_(fileName) {}

bool TIniFile::Refresh() const
{
    QByteArray bytes;
    if (!ReadFileBytes(fileName_, bytes)) {
        const int error = LastFileError();
        loadedBytes_.clear();
        loaded_ = false;
        lines_.clear();
        encoding_ = teLegacy;
        return error == ENOENT || error == ENOTDIR;
    }
    if (loaded_ && bytes == loadedBytes_)
        return true;
    const TDecodedText decoded = DecodeText(bytes);
    lines_ = SplitLines(decoded.text);
    encoding_ = decoded.encoding;
    loadedBytes_ = bytes;
    loaded_ = true;
    return true;
}

void TIniFile::RefreshForWrite()
{
    if (!Refresh())
        RaiseWriteError();
}

void TIniFile::Save()
{
    QString text;
    for (const QString& line : std::as_const(lines_))
        text += line + QLatin1String("\r\n");
    const QByteArray bytes = EncodeText(text, encoding_);
    if (!WriteFileAtomic(fileName_, bytes))
        RaiseWriteError();
    loadedBytes_ = bytes;
    loaded_ = true;
}

void TIniFile::RaiseWriteError() const
{
    throw EInOutError(QStringLiteral("Unable to write to %1").arg(fileName_));
}

std::optional<TIniFile::Span> TIniFile::FindSection(const QString& section) const
{
    const QString wanted = section.trimmed();
    std::optional<Span> span;
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const IniLine info = Classify(lines_[i]);
        if (info.kind != IniLine::Section)
            continue;
        if (span) {
            span->end = i;
            return span;
        }
        if (SameName(info.name, wanted))
            span = Span{i, lines_.size()};
    }
    return span;
}

qsizetype TIniFile::FindKey(const Span& span, const QString& key) const
{
    const QString wanted = key.trimmed();
    for (qsizetype i = span.header + 1; i < span.end; ++i) {
        const IniLine info = Classify(lines_[i]);
        if (info.kind == IniLine::Key && SameName(info.name, wanted))
            return i;
    }
    return -1;
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& defaultValue) const
{
    Refresh();
    const std::optional<Span> span = FindSection(section);
    if (!span)
        return defaultValue;
    const qsizetype index = FindKey(*span, key);
    return index < 0 ? defaultValue : ValueOf(lines_[index], Classify(lines_[index]));
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    RefreshForWrite();
    const QString cleanValue = OneLine(value);
    const QString newLine = OneLine(key.trimmed()) + QLatin1Char('=') + cleanValue;
    const std::optional<Span> span = FindSection(section);
    if (!span) {
        if (!lines_.isEmpty() && !IsBlank(lines_.last()))
            lines_.append(QString());
        lines_.append(QLatin1Char('[') + OneLine(section.trimmed()) + QLatin1Char(']'));
        lines_.append(newLine);
        Save();
        return;
    }
    const qsizetype index = FindKey(*span, key);
    if (index >= 0) {
        // Keeps the line's own spelling and spacing up to the value.
        QString& line = lines_[index];
        qsizetype valueStart = Classify(line).equals + 1;
        while (valueStart < line.size() &&
               (line[valueStart] == QLatin1Char(' ') || line[valueStart] == QLatin1Char('\t')))
            ++valueStart;
        line = line.left(valueStart) + cleanValue;
    } else {
        qsizetype insertAt = span->header + 1;
        for (qsizetype i = span->header + 1; i < span->end; ++i) {
            if (Classify(lines_[i]).kind == IniLine::Key)
                insertAt = i + 1;
        }
        lines_.insert(insertAt, newLine);
    }
    Save();
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    return ParseInteger(ReadString(section, key, QString())).value_or(defaultValue);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::ReadSections(QStringList& sections) const
{
    Refresh();
    sections.clear();
    for (const QString& line : std::as_const(lines_)) {
        const IniLine info = Classify(line);
        if (info.kind == IniLine::Section && !sections.contains(info.name, Qt::CaseInsensitive))
            sections.append(info.name);
    }
}

void TIniFile::ReadSection(const QString& section, QStringList& keys) const
{
    Refresh();
    keys.clear();
    const std::optional<Span> span = FindSection(section);
    if (!span)
        return;
    for (qsizetype i = span->header + 1; i < span->end; ++i) {
        const IniLine info = Classify(lines_[i]);
        if (info.kind == IniLine::Key && !keys.contains(info.name, Qt::CaseInsensitive))
            keys.append(info.name);
    }
}

void TIniFile::ReadSectionValues(const QString& section, QStringList& values) const
{
    Refresh();
    values.clear();
    const std::optional<Span> span = FindSection(section);
    if (!span)
        return;
    QStringList seen;
    for (qsizetype i = span->header + 1; i < span->end; ++i) {
        const IniLine info = Classify(lines_[i]);
        if (info.kind != IniLine::Key || seen.contains(info.name, Qt::CaseInsensitive))
            continue;
        seen.append(info.name);
        values.append(info.name + QLatin1Char('=') + ValueOf(lines_[i], info));
    }
}

bool TIniFile::SectionExists(const QString& section) const
{
    QStringList keys;
    ReadSection(section, keys);
    return !keys.isEmpty();
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const
{
    Refresh();
    const std::optional<Span> span = FindSection(section);
    return span && FindKey(*span, key) >= 0;
}

void TIniFile::EraseSection(const QString& section)
{
    RefreshForWrite();
    bool changed = false;
    while (const std::optional<Span> span = FindSection(section)) {
        const bool wasLast = span->end == lines_.size();
        lines_.remove(span->header, span->end - span->header);
        // The blank lines that separated a last section go with it.
        if (wasLast) {
            while (!lines_.isEmpty() && IsBlank(lines_.last()))
                lines_.removeLast();
        }
        changed = true;
    }
    if (changed)
        Save();
}

void TIniFile::DeleteKey(const QString& section, const QString& key)
{
    RefreshForWrite();
    const std::optional<Span> span = FindSection(section);
    if (!span)
        return;
    qsizetype removed = 0;
    for (qsizetype i = span->end - 1; i > span->header; --i) {
        const IniLine info = Classify(lines_[i]);
        if (info.kind == IniLine::Key && SameName(info.name, key.trimmed())) {
            lines_.removeAt(i);
            ++removed;
        }
    }
    if (removed > 0)
        Save();
}

}  // namespace tk
