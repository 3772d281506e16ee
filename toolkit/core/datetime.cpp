#include "toolkit/core/datetime.h"

#include "toolkit/core/exceptions.h"

#include <QTime>
#include <cmath>

namespace tk {

namespace {

const QDate kEpoch(1899, 12, 30);
constexpr double kMsecPerDay = 86400000.0;

// Qt writes "dd/MM/yyyy"; the classic letters are "dd/mm/yyyy" with "/"
// standing for the separator. Only day, month and year survive; anything
// else in the locale's pattern (era, weekday) is dropped.
QString ClassicDateFormat(const QString& qtFormat, QChar& separator)
{
    QString result;
    separator = QChar();
    bool pendingSeparator = false;
    for (qsizetype i = 0; i < qtFormat.size(); ++i) {
        const QChar c = qtFormat[i];
        if (c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) {
            if (pendingSeparator && !result.isEmpty())
                result += QLatin1Char('/');
            pendingSeparator = false;
            result += c.toLower();
        } else if (c == QLatin1Char('\'')) {
            const qsizetype end = qtFormat.indexOf(QLatin1Char('\''), i + 1);
            i = end < 0 ? qtFormat.size() : end;
        } else if (!c.isLetter()) {
            if (separator.isNull() && !c.isSpace())
                separator = c;
            pendingSeparator = true;
        }
    }
    if (separator.isNull())
        separator = QLatin1Char('/');
    // Qt's single "d"/"M" and "yy" mean the same as the classic letters.
    return result;
}

QString ClassicTimeFormat(const QString& qtFormat, QChar& separator)
{
    QString result;
    separator = QLatin1Char(':');
    for (qsizetype i = 0; i < qtFormat.size(); ++i) {
        const QChar c = qtFormat[i];
        if (c == QLatin1Char('h') || c == QLatin1Char('H'))
            result += QLatin1Char('h');
        else if (c == QLatin1Char('m'))
            result += QLatin1Char('n');
        else if (c == QLatin1Char('s'))
            result += QLatin1Char('s');
        else if (c == QLatin1Char('A') || c == QLatin1Char('a') || c == QLatin1Char('t') ||
                 c == QLatin1Char('z'))
            continue;  // AM/PM markers and zones are left to ampm formats
        else if (!c.isLetter() && !c.isSpace()) {
            separator = c;
            result += QLatin1Char(':');
        }
    }
    return result;
}

QString Pad(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

bool StartsWithCI(const QString& text, qsizetype at, QLatin1StringView what)
{
    return text.mid(at, what.size()).compare(what, Qt::CaseInsensitive) == 0;
}

// One formatting pass; nested formats (c, ddddd, t) recurse with depth so a
// hostile setting that refers to itself cannot loop forever.
void AppendFormatted(QString& out, const QString& format, TDateTime value, const TFormatSettings& fs,
                     int depth)
{
    if (depth > 2)
        return;
    int year, month, day, hour, minute, second, msec;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    // Sunday = 0; only day names need it.
    auto dayOfWeek = [&] { return QDate(year, month, day).dayOfWeek() % 7; };
    bool useAmPm = false;
    // Classic rule: "am/pm" anywhere switches the hour to 12-hour form.
    if (format.contains(QLatin1Char('a'), Qt::CaseInsensitive))
        for (const char* marker : {"am/pm", "a/p", "ampm"})
            if (format.contains(QLatin1StringView(marker), Qt::CaseInsensitive))
                useAmPm = true;
    bool lastWasHour = false;

    qsizetype i = 0;
    while (i < format.size()) {
        const QChar c = format[i];
        const QChar lower = c.toLower();
        auto runLength = [&](QChar letter) {
            qsizetype n = 0;
            while (i + n < format.size() && format[i + n].toLower() == letter)
                ++n;
            return n;
        };
        if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
            const qsizetype end = format.indexOf(c, i + 1);
            out += format.mid(i + 1, (end < 0 ? format.size() : end) - i - 1);
            i = end < 0 ? format.size() : end + 1;
            continue;
        }
        if (c == QLatin1Char('/')) {
            out += fs.DateSeparator;
            ++i;
            continue;
        }
        if (c == QLatin1Char(':')) {
            out += fs.TimeSeparator;
            ++i;
            continue;
        }
        if (lower == QLatin1Char('a')) {
            const bool pm = hour >= 12;
            if (StartsWithCI(format, i, QLatin1StringView("am/pm"))) {
                out += format.mid(i + (pm ? 3 : 0), 2);
                i += 5;
            } else if (StartsWithCI(format, i, QLatin1StringView("a/p"))) {
                out += format.mid(i + (pm ? 2 : 0), 1);
                i += 3;
            } else if (StartsWithCI(format, i, QLatin1StringView("ampm"))) {
                out += pm ? fs.TimePMString : fs.TimeAMString;
                i += 4;
            } else {
                out += c;
                ++i;
            }
            continue;
        }
        if (lower == QLatin1Char('c')) {
            AppendFormatted(out, fs.ShortDateFormat, value, fs, depth + 1);
            if (hour || minute || second || msec) {
                out += QLatin1Char(' ');
                AppendFormatted(out, fs.LongTimeFormat, value, fs, depth + 1);
            }
            ++i;
            continue;
        }
        if (lower == QLatin1Char('d')) {
            const qsizetype n = runLength(lower);
            i += n;
            if (n == 1) out += QString::number(day);
            else if (n == 2) out += Pad(day, 2);
            else if (n == 3) out += fs.ShortDayNames.value(dayOfWeek());
            else if (n == 4) out += fs.LongDayNames.value(dayOfWeek());
            else if (n == 5) AppendFormatted(out, fs.ShortDateFormat, value, fs, depth + 1);
            else AppendFormatted(out, fs.LongDateFormat, value, fs, depth + 1);
            lastWasHour = false;
            continue;
        }
        if (lower == QLatin1Char('m')) {
            const qsizetype n = runLength(lower);
            i += n;
            if (lastWasHour && n <= 2) {
                // "hh:mm" means minutes, as "nn" does.
                out += n == 1 ? QString::number(minute) : Pad(minute, 2);
            } else if (n == 1) out += QString::number(month);
            else if (n == 2) out += Pad(month, 2);
            else if (n == 3) out += fs.ShortMonthNames.value(month - 1);
            else out += fs.LongMonthNames.value(month - 1);
            lastWasHour = false;
            continue;
        }
        if (lower == QLatin1Char('y')) {
            const qsizetype n = runLength(lower);
            i += n;
            out += n <= 2 ? Pad(year % 100, 2) : Pad(year, 4);
            lastWasHour = false;
            continue;
        }
        if (lower == QLatin1Char('h')) {
            const qsizetype n = runLength(lower);
            i += n;
            int shown = hour;
            if (useAmPm) {
                shown = hour % 12;
                if (shown == 0)
                    shown = 12;
            }
            out += n == 1 ? QString::number(shown) : Pad(shown, 2);
            lastWasHour = true;
            continue;
        }
        if (lower == QLatin1Char('n')) {
            const qsizetype n = runLength(lower);
            i += n;
            out += n == 1 ? QString::number(minute) : Pad(minute, 2);
            lastWasHour = false;
            continue;
        }
        if (lower == QLatin1Char('s')) {
            const qsizetype n = runLength(lower);
            i += n;
            out += n == 1 ? QString::number(second) : Pad(second, 2);
            lastWasHour = false;
            continue;
        }
        if (lower == QLatin1Char('z')) {
            const qsizetype n = runLength(lower);
            i += n;
            out += n < 3 ? QString::number(msec) : Pad(msec, 3);
            continue;
        }
        if (lower == QLatin1Char('t')) {
            const qsizetype n = runLength(lower);
            i += n;
            AppendFormatted(out, n == 1 ? fs.ShortTimeFormat : fs.LongTimeFormat, value, fs, depth + 1);
            continue;
        }
        // Anything else is copied; separators between hour and minute keep
        // the "hh:mm" reading alive.
        if (c.isLetter())
            lastWasHour = false;
        out += c;
        ++i;
    }
}

}  // namespace

TFormatSettings FormatSettingsFromLocale(const QLocale& locale)
{
    TFormatSettings fs;
    fs.ShortDateFormat = ClassicDateFormat(locale.dateFormat(QLocale::ShortFormat), fs.DateSeparator);
    QChar longSeparator;
    fs.LongDateFormat = ClassicDateFormat(locale.dateFormat(QLocale::LongFormat), longSeparator);
    if (fs.LongDateFormat.isEmpty())
        fs.LongDateFormat = fs.ShortDateFormat;
    fs.ShortTimeFormat = ClassicTimeFormat(locale.timeFormat(QLocale::ShortFormat), fs.TimeSeparator);
    QChar longTimeSeparator;
    fs.LongTimeFormat = ClassicTimeFormat(locale.timeFormat(QLocale::LongFormat), longTimeSeparator);
    if (!fs.LongTimeFormat.contains(QLatin1Char('s')))
        fs.LongTimeFormat = fs.ShortTimeFormat + QStringLiteral(":ss");
    fs.TimeAMString = locale.amText();
    fs.TimePMString = locale.pmText();
    for (int m = 1; m <= 12; ++m) {
        fs.ShortMonthNames << locale.monthName(m, QLocale::ShortFormat);
        fs.LongMonthNames << locale.monthName(m, QLocale::LongFormat);
    }
    for (int d = 0; d < 7; ++d) {
        const int qtDay = d == 0 ? 7 : d;  // Qt counts Monday = 1 ... Sunday = 7
        fs.ShortDayNames << locale.dayName(qtDay, QLocale::ShortFormat);
        fs.LongDayNames << locale.dayName(qtDay, QLocale::LongFormat);
    }
    return fs;
}

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings = FormatSettingsFromLocale(QLocale::system());
    return settings;
}

TDateTime EncodeDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (!date.isValid() || year < 1 || year > 9999)
        throw EConvertError(QStringLiteral("Invalid argument to date encode"));
    return DateFromQDate(date);
}

TDateTime EncodeTime(int hour, int minute, int second, int msec)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || msec < 0 ||
        msec > 999)
        throw EConvertError(QStringLiteral("Invalid argument to time encode"));
    return ((hour * 60.0 + minute) * 60.0 * 1000.0 + second * 1000.0 + msec) / kMsecPerDay;
}

TDateTime DateFromQDate(const QDate& value)
{
    return static_cast<double>(kEpoch.daysTo(value));
}

QDate QDateFromDateTime(TDateTime value)
{
    int year, month, day;
    DecodeDate(value, year, month, day);
    return QDate(year, month, day);
}

namespace {

QDate DatePart(TDateTime value)
{
    return kEpoch.addDays(static_cast<qint64>(std::trunc(value)));
}

}  // namespace

// Negative values (before 1899-12-30) keep their fraction positive, as the
// classic encoding does: -1.25 is 1899-12-29 6:00.
void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    // Rounding to the millisecond may carry into the next day.
    const double fraction = std::fabs(value - std::trunc(value));
    QDate date = DatePart(value);
    if (std::llround(fraction * kMsecPerDay) >= 86400000)
        date = date.addDays(value < 0 ? -1 : 1);
    date.getDate(&year, &month, &day);
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec)
{
    const double fraction = std::fabs(value - std::trunc(value));
    qint64 ms = std::llround(fraction * kMsecPerDay);
    if (ms >= 86400000)
        ms = 0;
    hour = static_cast<int>(ms / 3600000);
    minute = static_cast<int>(ms / 60000 % 60);
    second = static_cast<int>(ms / 1000 % 60);
    msec = static_cast<int>(ms % 1000);
}

TDateTime DateTimeFromQDateTime(const QDateTime& value)
{
    const QDateTime local = value.toLocalTime();
    const double days = DateFromQDate(local.date());
    const double time = local.time().msecsSinceStartOfDay() / kMsecPerDay;
    return days < 0 ? days - time : days + time;
}

QDateTime QDateTimeFromDateTime(TDateTime value)
{
    int hour, minute, second, msec;
    DecodeTime(value, hour, minute, second, msec);
    return QDateTime(QDateFromDateTime(value), QTime(hour, minute, second, msec));
}

TDateTime Now()
{
    return DateTimeFromQDateTime(QDateTime::currentDateTime());
}

TDateTime Date()
{
    return DateFromQDate(QDate::currentDate());
}

QString FormatDateTime(const QString& format, TDateTime value, const TFormatSettings& settings)
{
    QString out;
    // An empty format means "c", as in the classic routine.
    AppendFormatted(out, format.isEmpty() ? QStringLiteral("c") : format, value, settings, 0);
    return out;
}

QString DateToStr(TDateTime value, const TFormatSettings& settings)
{
    return FormatDateTime(QStringLiteral("ddddd"), value, settings);
}

namespace {

// 1 to 12 for a long or short month name in any case, else 0.
int MonthFromName(const QString& name, const TFormatSettings& settings)
{
    for (const QStringList* names : {&settings.LongMonthNames, &settings.ShortMonthNames}) {
        for (qsizetype i = 0; i < names->size() && i < 12; ++i) {
            QString known = names->at(i);
            if (known.endsWith(QLatin1Char('.')))
                known.chop(1);
            if (!known.isEmpty() && known.compare(name, Qt::CaseInsensitive) == 0)
                return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

}  // namespace

bool TryStrToDate(const QString& text, TDateTime& value, const TFormatSettings& settings)
{
    // Order of day, month and year from the short date format.
    QString order;
    for (const QChar c : settings.ShortDateFormat) {
        const QChar l = c.toLower();
        if ((l == QLatin1Char('d') || l == QLatin1Char('m') || l == QLatin1Char('y')) && !order.contains(l))
            order += l;
    }
    if (order.size() != 3)
        order = QStringLiteral("dmy");

    // Numbers and at most one month name ("1/Mar/2026" is what a short
    // format with "mmm" writes, and must read back).
    QList<int> numbers;
    QList<int> digits;
    int namedMonth = 0;
    QString current;
    bool currentIsName = false;
    bool afterNameDot = false;
    const QString trimmed = text.trimmed();
    for (qsizetype i = 0; i <= trimmed.size(); ++i) {
        const QChar c = i < trimmed.size() ? trimmed[i] : QChar();
        const bool digit = !c.isNull() && c.isDigit() && c.unicode() < 128;
        const bool letter = !c.isNull() && c.isLetter();
        if ((digit || letter) && (current.isEmpty() || currentIsName == letter)) {
            currentIsName = letter;
            current += c;
            continue;
        }
        if (!c.isNull() && !digit && !letter && c != settings.DateSeparator && c != QLatin1Char('/') &&
            c != QLatin1Char('-') && c != QLatin1Char('.'))
            return false;
        if (current.isEmpty()) {
            // Only a name's abbreviation dot may stand before a separator
            // ("1-mar.-2026"); otherwise two separators leave a part empty.
            if (!afterNameDot)
                return false;
            afterNameDot = false;
            continue;
        }
        afterNameDot = currentIsName && c == QLatin1Char('.');
        if (currentIsName) {
            const int month = MonthFromName(current, settings);
            if (month == 0 || namedMonth != 0)
                return false;
            namedMonth = month;
        } else {
            if (current.size() > 4)
                return false;
            numbers << current.toInt();
            digits << static_cast<int>(current.size());
        }
        current.clear();
        if (digit || letter)
            --i;  // a number running into a name: read the character again
    }
    if (namedMonth)
        order.remove(QLatin1Char('m'));
    const int expected = static_cast<int>(order.size());
    if (numbers.size() < expected - 1 || numbers.size() > expected || numbers.isEmpty())
        return false;
    if (!namedMonth && numbers.size() < 2)
        return false;

    int day = 0, month = namedMonth, year = QDate::currentDate().year();
    int yearDigits = 4;
    int slot = 0;
    for (const QChar part : order) {
        if (part == QLatin1Char('y') && numbers.size() == expected - 1)
            continue;  // "dd/mm" means this year
        const int n = numbers[slot];
        if (part == QLatin1Char('d'))
            day = n;
        else if (part == QLatin1Char('m'))
            month = n;
        else {
            year = n;
            yearDigits = digits[slot];
        }
        ++slot;
    }
    if (yearDigits <= 2) {
        // Two-digit years fall within 50 years either side of today.
        const int thisYear = QDate::currentDate().year();
        const int century = thisYear - thisYear % 100;
        year += century;
        if (year > thisYear + 50)
            year -= 100;
        else if (year <= thisYear - 50)
            year += 100;
    }
    const QDate date(year, month, day);
    if (!date.isValid())
        return false;
    value = DateFromQDate(date);
    return true;
}

TDateTime StrToDate(const QString& text, const TFormatSettings& settings)
{
    TDateTime value = 0;
    if (!TryStrToDate(text, value, settings))
        throw EConvertError(QStringLiteral("'%1' is not a valid date").arg(text));
    return value;
}

}  // namespace tk
