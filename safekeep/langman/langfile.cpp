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

// "name = value" becomes "name=value"; other lines stay as they are.
QString NormalizeLine(const QString& trimmed)
{
    const qsizetype equals = trimmed.indexOf(QLatin1Char('='));
    if (equals < 0)
        return trimmed;
    return trimmed.left(equals).trimmed() + QLatin1Char('=') + trimmed.mid(equals + 1).trimmed();
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
    const QStringList lines = tk::SplitLines(text);
    for (int i = 0; i < lines.size(); ++i) {
        const QString& raw = lines[i];
        if (raw.size() > MaxLineLength)
            Malformed(fileName, QStringLiteral("line too long"), i + 1);
        if (raw.contains(QChar(0)))
            Malformed(fileName, QStringLiteral("binary data"), i + 1);
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            if (!line.endsWith(QLatin1Char(']')))
                Malformed(fileName, QStringLiteral("section name without \"]\""), i + 1);
            const QString name = line.mid(1, line.size() - 2);
            const Section* existing = file.Find(name);
            if (existing) {
                current = &file.sections_[existing - file.sections_.constData()];
            } else {
                file.sections_.append({name, {}});
                current = &file.sections_.last();
            }
            continue;
        }
        if (current)  // lines before the first section belong to none
            current->lines.append(NormalizeLine(line));
    }
    return file;
}

const TLangFile::Section* TLangFile::Find(const QString& section) const
{
    for (const Section& s : sections_)
        if (s.name.compare(section, Qt::CaseInsensitive) == 0)
            return &s;
    return nullptr;
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
    QList<TLangEntry> entries;
    if (const Section* s = Find(section)) {
        for (const QString& line : s->lines) {
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            if (equals >= 0)
                entries.append({line.left(equals), line.mid(equals + 1)});
        }
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
