#include "toolkit/core/dateutils.h"

#include "toolkit/core/exceptions.h"

#include <QStringList>
#include <cmath>

namespace tk {

namespace {

// Before the epoch the time still counts forward from midnight, so it is
// subtracted from a negative day number.
TDateTime Combine(TDateTime date, TDateTime time)
{
    return date < 0 ? date - time : date + time;
}

bool ParseNumber(const QString& text, int maxDigits, int& value)
{
    if (text.isEmpty() || text.size() > maxDigits)
        return false;
    for (const QChar c : text)
        if (!(c.isDigit() && c.unicode() < 128))
            return false;
    value = text.toInt();
    return true;
}

// Removes a trailing AM/PM marker; returns 0 without one, 1 for AM, 2 for PM.
int TakeAmPm(QString& text, const TFormatSettings& settings)
{
    const QString candidates[][2] = {{settings.TimeAMString, settings.TimePMString},
                                     {QStringLiteral("AM"), QStringLiteral("PM")},
                                     {QStringLiteral("A"), QStringLiteral("P")}};
    for (const auto& pair : candidates)
        for (int i = 0; i < 2; ++i)
            if (!pair[i].isEmpty() && text.endsWith(pair[i], Qt::CaseInsensitive)) {
                text.chop(pair[i].size());
                text = text.trimmed();
                return i + 1;
            }
    return 0;
}

}  // namespace

TDateTime DateOf(TDateTime value)
{
    return std::trunc(value);
}

TDateTime TimeOf(TDateTime value)
{
    return std::fabs(value - std::trunc(value));
}

TDateTime RecodeYear(TDateTime value, int year)
{
    int oldYear, month, day;
    DecodeDate(value, oldYear, month, day);
    return Combine(EncodeDate(year, month, day), TimeOf(value));
}

QString DateTimeToStr(TDateTime value, const TFormatSettings& settings)
{
    // "c" is the short date plus the long time when the time is not midnight.
    return FormatDateTime(QStringLiteral("c"), value, settings);
}

bool TryStrToTime(const QString& text, TDateTime& value, const TFormatSettings& settings)
{
    QString s = text.trimmed();
    const int ampm = TakeAmPm(s, settings);
    QString separators = QStringLiteral(":");
    if (!settings.TimeSeparator.isNull())
        separators += settings.TimeSeparator;
    QStringList parts;
    QString current;
    for (const QChar c : s) {
        if (separators.contains(c)) {
            parts << current;
            current.clear();
        } else {
            current += c;
        }
    }
    parts << current;
    if (parts.size() > 3)
        return false;
    int msec = 0;
    if (parts.size() == 3 && parts[2].contains(QLatin1Char('.'))) {
        const qsizetype dot = parts[2].indexOf(QLatin1Char('.'));
        if (!ParseNumber(parts[2].mid(dot + 1), 3, msec))
            return false;
        parts[2].truncate(dot);
    }
    int hour = 0, minute = 0, second = 0;
    if (!ParseNumber(parts[0], 2, hour))
        return false;
    if (parts.size() == 1 && ampm == 0)
        return false;  // a bare number is not a time
    if (parts.size() > 1 && !ParseNumber(parts[1], 2, minute))
        return false;
    if (parts.size() > 2 && !ParseNumber(parts[2], 2, second))
        return false;
    if (ampm != 0) {
        if (hour < 1 || hour > 12)
            return false;
        hour = hour % 12 + (ampm == 2 ? 12 : 0);
    }
    if (hour > 23 || minute > 59 || second > 59)
        return false;
    value = EncodeTime(hour, minute, second, msec);
    return true;
}

bool TryStrToDateTime(const QString& text, TDateTime& value, const TFormatSettings& settings)
{
    const QString s = text.trimmed();
    if (TryStrToTime(s, value, settings))
        return true;
    const qsizetype blank = s.indexOf(QLatin1Char(' '));
    TDateTime date = 0;
    if (blank < 0) {
        if (!TryStrToDate(s, date, settings))
            return false;
        value = date;
        return true;
    }
    TDateTime time = 0;
    if (!TryStrToDate(s.left(blank), date, settings) || !TryStrToTime(s.mid(blank + 1), time, settings))
        return false;
    value = Combine(date, time);
    return true;
}

TDateTime StrToDateTime(const QString& text, const TFormatSettings& settings)
{
    TDateTime value = 0;
    if (!TryStrToDateTime(text, value, settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid date and time").arg(text));
    return value;
}

}  // namespace tk
