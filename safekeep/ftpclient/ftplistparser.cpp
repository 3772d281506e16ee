#include "safekeep/ftpclient/ftplistparser.h"

#include <QDate>
#include <QRegularExpression>
#include <QStringList>
#include <QTime>
#include <cstdlib>

namespace safekeep {

namespace {

// The first character of a Unix listing line: "-" a file, "d" a folder, "l"
// a link; devices, pipes and sockets are something else.
TFtpItemType UnixItemType(QChar type)
{
    switch (type.unicode()) {
    case '-':
        return TFtpItemType::File;
    case 'd':
        return TFtpItemType::Directory;
    case 'l':
        return TFtpItemType::Link;
    default:
        return TFtpItemType::Other;
    }
}

// An MLSD "type" fact in lower case ("file", "dir", or a server's own such
// as "os.unix=slink:/target").
TFtpItemType MlsdItemType(const QString& type)
{
    if (type == QLatin1String("file"))
        return TFtpItemType::File;
    if (type == QLatin1String("dir"))
        return TFtpItemType::Directory;
    if (type.startsWith(QLatin1String("os.unix=slink")) || type.startsWith(QLatin1String("os.unix=symlink")))
        return TFtpItemType::Link;
    return TFtpItemType::Other;
}

// "20261208155904" or "20261208155904.123", always UTC.
QDateTime ParseMlsdTime(const QString& value)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^(\d{4})(\d{2})(\d{2})(\d{2})(\d{2})(\d{2})(?:\.(\d{1,3})\d*)?$)"));
    const QRegularExpressionMatch m = pattern.match(value);
    if (!m.hasMatch())
        return QDateTime();
    const QDate date(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    const int msec = m.captured(7).isEmpty() ? 0 : m.captured(7).leftJustified(3, QLatin1Char('0')).toInt();
    const QTime time(m.captured(4).toInt(), m.captured(5).toInt(), m.captured(6).toInt(), msec);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time, Qt::UTC).toLocalTime();
}

int MonthNumber(QStringView token)
{
    static const char* const names[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
    for (int i = 0; i < 12; ++i) {
        if (token.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0)
            return i + 1;
    }
    return 0;
}

bool AllDigits(QStringView token)
{
    if (token.isEmpty())
        return false;
    for (QChar c : token) {
        if (!c.isDigit())
            return false;
    }
    return true;
}

// Of the years around now, the one that puts month/day nearest to now:
// servers drop the year for recent dates, and a server clock or zone ahead
// of ours may show a date a little in the future.
QDateTime NearestYear(int month, int day, const QTime& time, const QDateTime& now)
{
    QDateTime best;
    qint64 bestDistance = 0;
    for (int year = now.date().year() - 1; year <= now.date().year() + 1; ++year) {
        const QDate date(year, month, day);
        if (!date.isValid())
            continue;  // 29 February outside a leap year
        const QDateTime candidate(date, time);
        const qint64 distance = std::llabs(candidate.secsTo(now));
        if (!best.isValid() || distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

struct TToken {
    qsizetype start;
    qsizetype length;
};

QList<TToken> Tokens(const QString& line)
{
    QList<TToken> tokens;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i].isSpace())
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !line[i].isSpace())
            ++i;
        if (i > start)
            tokens.append({start, i - start});
    }
    return tokens;
}

// "-rw-r--r--   1 owner group  20971520 Dec 08 15:59 name", also without
// the group or without owner and group; the day may be padded with a zero
// or a blank, and the last date field is a time or a year.
std::optional<TFtpListItem> ParseUnixLine(const QString& line, const QDateTime& now)
{
    static const QRegularExpression modePattern(QStringLiteral("^[-dlbcps][-rwxsStTlL]{9}"));
    if (!modePattern.match(line).hasMatch())
        return std::nullopt;
    const QList<TToken> tokens = Tokens(line);
    const auto text = [&](int index) { return QStringView(line).mid(tokens[index].start, tokens[index].length); };

    // The month sits after the size; try the full form first so that an
    // owner named like a month does not mislead.
    for (int month = 5; month >= 3; --month) {
        if (tokens.size() < month + 4)
            continue;
        const int monthNumber = MonthNumber(text(month));
        const QStringView day = text(month + 1);
        const QStringView timeOrYear = text(month + 2);
        if (monthNumber == 0 || !AllDigits(text(month - 1)) || !AllDigits(day) || day.size() > 2)
            continue;

        QDateTime modified;
        static const QRegularExpression clock(QStringLiteral(R"(^(\d{1,2}):(\d{2})$)"));
        const QRegularExpressionMatch clockMatch = clock.match(timeOrYear);
        if (clockMatch.hasMatch()) {
            const QTime time(clockMatch.captured(1).toInt(), clockMatch.captured(2).toInt());
            if (!time.isValid())
                continue;
            modified = NearestYear(monthNumber, day.toInt(), time, now);
        } else if (AllDigits(timeOrYear) && timeOrYear.size() == 4) {
            modified = QDateTime(QDate(timeOrYear.toInt(), monthNumber, day.toInt()), QTime(0, 0));
        }
        if (!modified.isValid())
            continue;

        // The name is everything after the one blank that follows the date.
        const qsizetype nameStart = tokens[month + 2].start + tokens[month + 2].length + 1;
        QString name = line.mid(nameStart);
        const bool isLink = line.startsWith(QLatin1Char('l'));
        if (isLink && name.contains(QLatin1String(" -> ")))
            name = name.left(name.indexOf(QLatin1String(" -> ")));
        if (name.isEmpty())
            return std::nullopt;

        TFtpListItem item;
        item.FileName = name;
        item.Size = text(month - 1).toLongLong();
        item.ModifiedDate = modified;
        item.ItemType = UnixItemType(line.at(0));
        return item;
    }
    return std::nullopt;
}

// "12-08-26  03:59PM       <DIR>          folder" and
// "12-08-26  03:59PM             20971520 backup.bin"; the year may have
// four digits and the time may be on a 24-hour clock.
std::optional<TFtpListItem> ParseDosLine(const QString& line)
{
    static const QRegularExpression pattern(QStringLiteral(
        R"(^(\d{2})-(\d{2})-(\d{2}|\d{4})\s+(\d{1,2}):(\d{2})\s*([AaPp][Mm])?\s+(<DIR>|\d+)\s+(.+)$)"));
    const QRegularExpressionMatch m = pattern.match(line);
    if (!m.hasMatch())
        return std::nullopt;
    int year = m.captured(3).toInt();
    if (m.captured(3).size() == 2)
        year += year < 70 ? 2000 : 1900;
    int hour = m.captured(4).toInt();
    const QString half = m.captured(6).toUpper();
    if (!half.isEmpty()) {
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (half == QLatin1String("PM") ? 12 : 0);
    }
    const QDate date(year, m.captured(1).toInt(), m.captured(2).toInt());
    const QTime time(hour, m.captured(5).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;

    TFtpListItem item;
    item.FileName = m.captured(8);
    item.ItemType = m.captured(7) == QLatin1String("<DIR>") ? TFtpItemType::Directory : TFtpItemType::File;
    item.Size = item.IsDirectory() ? 0 : m.captured(7).toLongLong();
    item.ModifiedDate = QDateTime(date, time);
    return item;
}

}  // namespace

std::optional<TFtpListItem> ParseMlsdLine(const QString& line)
{
    // Facts end at the first blank; the name is everything after it.
    const qsizetype blank = line.indexOf(QLatin1Char(' '));
    if (blank <= 0 || blank + 1 >= line.size())
        return std::nullopt;
    TFtpListItem item;
    item.FileName = line.mid(blank + 1);
    bool typed = false;
    const QStringList facts = line.left(blank).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (const QString& fact : facts) {
        const qsizetype equals = fact.indexOf(QLatin1Char('='));
        if (equals <= 0)
            continue;
        const QString name = fact.left(equals).toLower();
        const QString value = fact.mid(equals + 1);
        if (name == QLatin1String("type")) {
            const QString type = value.toLower();
            if (type == QLatin1String("cdir") || type == QLatin1String("pdir"))
                return std::nullopt;
            item.ItemType = MlsdItemType(type);
            typed = true;
        } else if (name == QLatin1String("size") || name == QLatin1String("sizd")) {
            bool ok = false;
            const qint64 size = value.toLongLong(&ok);
            if (ok)
                item.Size = size;
        } else if (name == QLatin1String("modify")) {
            item.ModifiedDate = ParseMlsdTime(value);
        }
    }
    if (!typed)
        return std::nullopt;
    return item;
}

std::optional<TFtpListItem> ParseListLine(const QString& line, const QDateTime& now)
{
    if (std::optional<TFtpListItem> item = ParseUnixLine(line, now))
        return item;
    return ParseDosLine(line);
}

QList<TFtpListItem> ParseListing(const QByteArray& body, TListingFormat format, const QDateTime& now)
{
    QList<TFtpListItem> items;
    const QStringList lines = QString::fromUtf8(body).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.isEmpty())
            continue;
        std::optional<TFtpListItem> item;
        switch (format) {
        case TListingFormat::Mlsd:
            item = ParseMlsdLine(line);
            break;
        case TListingFormat::List:
            item = ParseListLine(line, now);
            break;
        case TListingFormat::NamesOnly:
            item = TFtpListItem{line, -1, QDateTime(), TFtpItemType::Unknown};
            break;
        }
        if (item)
            items.append(*item);
    }
    return items;
}

}  // namespace safekeep
