#include "toolkit/core/dateutils.h"
#include "toolkit/core/exceptions.h"

#include <gtest/gtest.h>
#include <ostream>

namespace tk {
namespace {

TFormatSettings DayMonthYear()
{
    TFormatSettings fs = FormatSettingsFromLocale(QLocale(QLocale::Spanish, QLocale::Spain));
    fs.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    fs.DateSeparator = QLatin1Char('/');
    fs.LongTimeFormat = QStringLiteral("hh:nn:ss");
    fs.TimeSeparator = QLatin1Char(':');
    fs.TimeAMString = QStringLiteral("a. m.");
    fs.TimePMString = QStringLiteral("p. m.");
    return fs;
}

TEST(DateUtils, DateTimeTextOmitsTheTimeAtMidnight)
{
    const TFormatSettings fs = DayMonthYear();
    const TDateTime day = EncodeDate(2026, 3, 5);
    EXPECT_EQ(DateTimeToStr(day, fs), QStringLiteral("05/03/2026"));
    EXPECT_EQ(DateTimeToStr(day + EncodeTime(9, 7, 3, 0), fs), QStringLiteral("05/03/2026 09:07:03"));
    EXPECT_EQ(DateTimeToStr(day + EncodeTime(0, 0, 1, 0), fs), QStringLiteral("05/03/2026 00:00:01"));
}

struct ParseCase {
    const char* text;
    bool ok;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
};

void PrintTo(const ParseCase& c, std::ostream* os)
{
    *os << '"' << c.text << '"';
}

class StrToDateTimeText : public ::testing::TestWithParam<ParseCase> {};

TEST_P(StrToDateTimeText, ReadsDateTimeOrTimeAndRefusesTheRest)
{
    const ParseCase& c = GetParam();
    const TFormatSettings fs = DayMonthYear();
    TDateTime value = -7;
    ASSERT_EQ(TryStrToDateTime(QString::fromUtf8(c.text), value, fs), c.ok);
    if (!c.ok) {
        EXPECT_EQ(value, -7);
        EXPECT_THROW(StrToDateTime(QString::fromUtf8(c.text), fs), EConvertError);
        return;
    }
    const TDateTime date = c.year ? EncodeDate(c.year, c.month, c.day) : 0;
    EXPECT_DOUBLE_EQ(value, date + EncodeTime(c.hour, c.minute, c.second, c.msec));
}

INSTANTIATE_TEST_SUITE_P(
    DateUtils, StrToDateTimeText,
    ::testing::Values(ParseCase{"05/03/2026", true, 2026, 3, 5, 0, 0, 0, 0},
                      ParseCase{" 5-3-2026 14:30 ", true, 2026, 3, 5, 14, 30, 0, 0},
                      ParseCase{"05/03/2026 9:07:03.250", true, 2026, 3, 5, 9, 7, 3, 250},
                      ParseCase{"05/03/2026 9:07 p. m.", true, 2026, 3, 5, 21, 7, 0, 0},
                      ParseCase{"9:30 PM", true, 0, 0, 0, 21, 30, 0, 0},
                      ParseCase{"12:00 AM", true, 0, 0, 0, 0, 0, 0, 0},
                      ParseCase{"12:15 pm", true, 0, 0, 0, 12, 15, 0, 0},
                      ParseCase{"23:59:59", true, 0, 0, 0, 23, 59, 59, 0},
                      ParseCase{"05/03/2026 25:00", false}, ParseCase{"05/03/2026 13:00 PM", false},
                      ParseCase{"31/02/2026", false}, ParseCase{"05/03/2026 x", false},
                      ParseCase{"12", false}, ParseCase{"abc", false}, ParseCase{"", false},
                      ParseCase{"10:60", false}));

TEST(DateUtils, DateTimeTextReadsBack)
{
    const TFormatSettings fs = DayMonthYear();
    for (const TDateTime value : {EncodeDate(2026, 12, 31) + EncodeTime(23, 59, 58, 0), EncodeDate(1999, 1, 1)})
        EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(value, fs), fs), value);
}

TEST(DateUtils, PartsAndYearReplacementKeepTheTimeOfDay)
{
    EXPECT_EQ(DateOf(100.75), 100);
    EXPECT_EQ(TimeOf(100.75), 0.75);
    EXPECT_EQ(DateOf(-1.25), -1);    // 1899-12-29
    EXPECT_EQ(TimeOf(-1.25), 0.25);  // 06:00, counted forward from midnight

    const TDateTime leapNoon = EncodeDate(2024, 2, 29) + 0.5;
    EXPECT_DOUBLE_EQ(RecodeYear(leapNoon, 2028), EncodeDate(2028, 2, 29) + 0.5);
    EXPECT_THROW(RecodeYear(leapNoon, 2026), EConvertError);
    EXPECT_DOUBLE_EQ(RecodeYear(-1.25, 1900), EncodeDate(1900, 12, 29) + 0.25);
    EXPECT_DOUBLE_EQ(RecodeYear(EncodeDate(2000, 6, 1) + 0.25, 1899), EncodeDate(1899, 6, 1) - 0.25);
}

}  // namespace
}  // namespace tk
