#include "toolkit/core/datetime.h"
#include "toolkit/core/exceptions.h"

#include "tests/support/expect_raises.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

using test::MessageOf;

TFormatSettings SpanishWithSeparator(QChar separator)
{
    TFormatSettings fs = FormatSettingsFromLocale(QLocale(QLocale::Spanish, QLocale::Spain));
    fs.DateSeparator = separator;
    return fs;
}

TEST(DateTime, SerialNumbersCountDaysFromTheClassicEpoch)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1899, 12, 29), -1.0);
    EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
    EXPECT_THROW(EncodeDate(2026, 2, 29), EConvertError);
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);

    // Before the epoch the fraction still counts forward from midnight.
    int y, m, d, h, n, s, z;
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, n, s, z);
    EXPECT_EQ(QDate(y, m, d), QDate(1899, 12, 29));
    EXPECT_EQ(h, 6);

    // A value a hair below midnight rounds into the next day consistently.
    const TDateTime almost = EncodeDate(2026, 12, 31) + (86400000.0 - 0.2) / 86400000.0;
    EXPECT_EQ(QDateTimeFromDateTime(almost), QDateTime(QDate(2027, 1, 1), QTime(0, 0)));
}

TEST(DateTime, QtConversionsRoundTripInLocalTime)
{
    const QDateTime when(QDate(2026, 12, 8), QTime(17, 45, 30, 250));
    const TDateTime value = DateTimeFromQDateTime(when);
    EXPECT_DOUBLE_EQ(value, EncodeDate(2026, 12, 8) + EncodeTime(17, 45, 30, 250));
    EXPECT_EQ(QDateTimeFromDateTime(value), when);
    EXPECT_EQ(QDateFromDateTime(value), QDate(2026, 12, 8));
}

TEST(DateTime, FixedFormatsUseTheLocaleSeparator)
{
    const TDateTime value = EncodeDate(2026, 3, 5) + EncodeTime(9, 7, 3, 45);
    const TFormatSettings slash = SpanishWithSeparator(QLatin1Char('/'));
    const TFormatSettings dash = SpanishWithSeparator(QLatin1Char('-'));
    EXPECT_EQ(FormatDateTime(QStringLiteral("dd/mm/yy"), value, slash), QStringLiteral("05/03/26"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("dd/mm/yy"), value, dash), QStringLiteral("05-03-26"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("yy_mm_dd"), value, dash), QStringLiteral("26_03_05"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("d/m/yyyy"), value, slash), QStringLiteral("5/3/2026"));
    // "mm" right after an hour means minutes; "nn" always does.
    EXPECT_EQ(FormatDateTime(QStringLiteral("hh:mm:ss.zzz"), value, slash), QStringLiteral("09:07:03.045"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("h:nn am/pm"), value + 0.5, slash), QStringLiteral("9:07 pm"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("'dd' dd \"yy\""), value, slash), QStringLiteral("dd 05 yy"));
}

TEST(DateTime, ShortDateFollowsTheLocale)
{
    const TDateTime value = EncodeDate(2026, 3, 5);
    const TFormatSettings german = FormatSettingsFromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.DateSeparator, QLatin1Char('.'));
    EXPECT_EQ(DateToStr(value, german), QStringLiteral("05.03.26"));
    const TFormatSettings american = FormatSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(DateToStr(value, american), QStringLiteral("3/5/26"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("mmmm"), value, american), QStringLiteral("March"));
    EXPECT_EQ(FormatDateTime(QStringLiteral("dddd"), value, american), QStringLiteral("Thursday"));
}

TEST(DateTime, ParsingFollowsTheShortDateOrder)
{
    const TFormatSettings spanish = SpanishWithSeparator(QLatin1Char('/'));
    const TFormatSettings american = FormatSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(StrToDate(QStringLiteral("05/03/2026"), spanish), EncodeDate(2026, 3, 5));
    EXPECT_EQ(StrToDate(QStringLiteral("3/5/2026"), american), EncodeDate(2026, 3, 5));
    EXPECT_EQ(StrToDate(QStringLiteral("5-3-26"), spanish), EncodeDate(2026, 3, 5));
    EXPECT_EQ(StrToDate(QStringLiteral("5/3/99"), spanish), EncodeDate(1999, 3, 5));
    TDateTime ignored = 0;
    for (const char* bad : {"", "31/02/2026", "5/3/2026/1", "a/b/c", "5 3 2026", "12345/1/1"})
        EXPECT_FALSE(TryStrToDate(QString::fromLatin1(bad), ignored, spanish)) << bad;
    EXPECT_EQ(MessageOf<EConvertError>([&] { StrToDate(QStringLiteral("32/01/2026"), spanish); }),
              QStringLiteral("'32/01/2026' is not a valid date"));
}

// A short format with month names writes text that must read back, in
// either name length and any case; a second name or an unknown one is no date.
TEST(DateTime, ParsingReadsMonthNamesBack)
{
    for (const QLocale& locale : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale(QLocale::Spanish, QLocale::Spain)}) {
        TFormatSettings named = FormatSettingsFromLocale(locale);
        named.ShortDateFormat = QStringLiteral("d/mmm/yyyy");
        named.DateSeparator = QLatin1Char('/');
        for (int month = 1; month <= 12; ++month) {
            const TDateTime value = EncodeDate(2026, month, 28);
            const QString text = DateToStr(value, named);
            TDateTime read = 0;
            EXPECT_TRUE(TryStrToDate(text, read, named)) << text.toStdString();
            EXPECT_EQ(read, value) << text.toStdString();
            EXPECT_EQ(StrToDate(FormatDateTime(QStringLiteral("d-mmmm-yyyy"), value, named).toUpper(), named), value);
        }
    }
    const TFormatSettings american = FormatSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(StrToDate(QStringLiteral("Mar/5/2026"), american), EncodeDate(2026, 3, 5));
    EXPECT_EQ(StrToDate(QStringLiteral("Mar/5"), american), EncodeDate(QDate::currentDate().year(), 3, 5));
    TDateTime ignored = 0;
    for (const char* bad : {"Mar/Apr/2026", "Mars/5/2026", "Mar//5/2026", "Mar/5/", "5Mar2026x"})
        EXPECT_FALSE(TryStrToDate(QString::fromLatin1(bad), ignored, american)) << bad;
}

}  // namespace
}  // namespace tk
