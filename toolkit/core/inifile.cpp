#include "toolkit/core/inifile.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"

#include <cerrno>

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

}  // namespace

TIniFile::TIniFile(const QString& fileName) : TCustomIniFile(fileName) {}

bool TIniFile::Refresh() const
{
    // A batch keeps its own view of the file until it ends.
    if (InBatch())
        return true;
    QByteArray bytes;
    if (!ReadFileBytes(FileName(), bytes)) {
        const int error = LastFileError();
        Forget();
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

void TIniFile::Forget() const
{
    loadedBytes_.clear();
    loaded_ = false;
    lines_.clear();
    encoding_ = teLegacy;
}

void TIniFile::Save()
{
    if (InBatch()) {
        batchChanged_ = true;
        return;
    }
    QString text;
    for (const QString& line : std::as_const(lines_))
        text += line + QLatin1String("\r\n");
    const QByteArray bytes = EncodeText(text, encoding_);
    if (!WriteFileAtomic(FileName(), bytes)) {
        // The lines hold a change the file does not: reading them would
        // report it, and the next write would slip it in.
        Forget();
        RaiseWriteError();
    }
    loadedBytes_ = bytes;
    loaded_ = true;
}

void TIniFile::StartBatch()
{
    RefreshForWrite();
    batchChanged_ = false;
}

void TIniFile::WriteBatch()
{
    if (std::exchange(batchChanged_, false))
        Save();
}

void TIniFile::DiscardBatch() noexcept
{
    batchChanged_ = false;
    Forget();
}

void TIniFile::RaiseWriteError() const
{
    throw EInOutError(QStringLiteral("Unable to write to %1").arg(FileName()));
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
