#pragma once
// Dates as the components count them: TDateTime is days since 1899-12-30
// (the fraction is the time of day), in local time. FormatDateTime follows
// the classic format letters (dd/mm/yy, yy_mm_dd, ddddd for the short date,
// "/" and ":" standing for the locale's date and time separators).

#include <QChar>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

namespace tk {

using TDateTime = double;

// Locale-dependent texts used when formatting and parsing dates.
struct TFormatSettings {
    QString ShortDateFormat;  // classic letters with "/" for the separator, e.g. "dd/mm/yyyy"
    QString LongDateFormat;
    QChar DateSeparator;
    QString ShortTimeFormat;  // e.g. "hh:nn"
    QString LongTimeFormat;   // e.g. "hh:nn:ss"
    QChar TimeSeparator;
    QString TimeAMString;
    QString TimePMString;
    QStringList ShortMonthNames;  // 12 entries, January first
    QStringList LongMonthNames;
    QStringList ShortDayNames;  // 7 entries, Sunday first
    QStringList LongDayNames;
};

// Settings derived from a locale (its short date format and separator).
TFormatSettings FormatSettingsFromLocale(const QLocale& locale);
// The process-wide settings, taken from the system locale at first use.
TFormatSettings& FormatSettings();

TDateTime EncodeDate(int year, int month, int day);  // EConvertError for an invalid date
TDateTime EncodeTime(int hour, int minute, int second, int msec);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& msec);

TDateTime DateTimeFromQDateTime(const QDateTime& value);  // in local time
QDateTime QDateTimeFromDateTime(TDateTime value);        // local time
TDateTime DateFromQDate(const QDate& value);
QDate QDateFromDateTime(TDateTime value);

TDateTime Now();
TDateTime Date();  // today at midnight

QString FormatDateTime(const QString& format, TDateTime value,
                       const TFormatSettings& settings = FormatSettings());
QString DateToStr(TDateTime value, const TFormatSettings& settings = FormatSettings());
// Parses a date written in the short date format's order of day, month and
// year with any of the usual separators; two-digit years take the current
// century window (within 50 years of today). EConvertError when invalid.
TDateTime StrToDate(const QString& text, const TFormatSettings& settings = FormatSettings());
bool TryStrToDate(const QString& text, TDateTime& value, const TFormatSettings& settings = FormatSettings());

}  // namespace tk
