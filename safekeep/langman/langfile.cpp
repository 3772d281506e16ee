#include "safekeep/langman/langfile.h"

#include "toolkit/core/fileutils.h"
#include "toolkit/core/textfile.h"

#include <QFileInfo>

namespace safekeep {

namespace {

[[noreturn]] void Malformed(const QString& fileName, const QString& reason, int line)
{
    throw ELanguageFileError(
        QStringLiteral("Invalid language file %1: %2 at line %3").arg(fileName, reason).arg(line));
}

// "name = value" becomes "name=value"; other lines stay as they are. Views
// keep it to one copy per line.
QString NormalizeLine(QStringView trimmed)
{
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    if (equals < 0)
        return trimmed.toString();
    const QStringView name = trimmed.first(equals).trimmed();
    const QStringView value = trimmed.sliced(equals + 1).trimmed();
    QString line;
    line.reserve(name.size() + 1 + value.size());
    line.append(name).append(QLatin1Char('=')).append(value);
    return line;
}

}  // namespace

TLangFile TLangFile::Load(const QString& path)
{
    const QFileInfo info(path);
    if (info.exists() && info.size() > MaxFileSize)
        throw ELanguageFileError(QStringLiteral("Invalid language file %1: the file is too large").arg(path));
    return Parse(tk::ReadTextFile(path).text, path);
}

TLangFile TLangFile::Parse(const QString& text, const QString& fileName)
{
    TLangFile file;
    Section* current = nullptr;
    // Lines end at CR LF, LF or CR, as tk::SplitLines splits them; they are
    // looked at in place and only the kept ones copied.
    const QStringView all(text);
    int number = 0;
    for (qsizetype start = 0; start < all.size();) {
        qsizetype end = start;
        while (end < all.size() && all[end] != QLatin1Char('\r') && all[end] != QLatin1Char('\n'))
            ++end;
        const QStringView raw = all.sliced(start, end - start);
        const bool crLf =
            end + 1 < all.size() && all[end] == QLatin1Char('\r') && all[end + 1] == QLatin1Char('\n');
        start = end + (crLf ? 2 : 1);
        ++number;
        if (raw.size() > MaxLineLength)
            Malformed(fileName, QStringLiteral("line too long"), number);
        if (raw.contains(QChar(0)))
            Malformed(fileName, QStringLiteral("binary data"), number);
        const QStringView line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                Malformed(fileName, QStringLiteral("section name without \"]\""), number);
            const QString name = line.sliced(1, line.size() - 2).toString();
            const qsizetype row = file.index_.Add(name, file.sections_.size());
            if (row == file.sections_.size())
                file.sections_.append({name, {}});
            current = &file.sections_[row];
            continue;
        }
        if (current)  // lines before the first section belong to none
            current->lines.append(NormalizeLine(line));
    }
    return file;
}

const TLangFile::Section* TLangFile::Find(const QString& section) const
{
    const qsizetype row = index_.Find(section);
    return row < 0 ? nullptr : &sections_[row];
}

QStringList TLangFile::SectionNames() const
{
    QStringList names;
    for (const Section& s : sections_)
        names << s.name;
    return names;
}

QList<TLangEntry> TLangFile::Entries(const QString& section) const
{
    const Section* s = Find(section);
    return s ? SectionEntries(s - sections_.constData()) : QList<TLangEntry>();
}

QList<TLangEntry> TLangFile::SectionEntries(qsizetype index) const
{
    QList<TLangEntry> entries;
    for (const QString& line : sections_[index].lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals >= 0)
            entries.append({line.left(equals), line.mid(equals + 1)});
    }
    return entries;
}

QStringList TLangFile::Lines(const QString& section) const
{
    const Section* s = Find(section);
    return s ? s->lines : QStringList();
}

QString TLangFile::ReadString(const QString& section, const QString& key, const QString& def) const
{
    for (const TLangEntry& entry : Entries(section))
        if (entry.name.compare(key, Qt::CaseInsensitive) == 0)
            return entry.value;
    return def;
}

int TLangFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const QString text = ReadString(section, key, QString());
    bool ok = false;
    int value = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toInt(&ok, 16);
    else
        value = text.toInt(&ok, 10);
    return ok ? value : def;
}

}  // namespace safekeep
