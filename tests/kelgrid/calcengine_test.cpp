// The calculator's arithmetic fed key by key: sequences and the display
// they leave, refused keys and their beeps, memory, and the result handed
// back to the cell, under a comma and a point locale.

#include "kelgrid/editors/calcengine.h"

#include "toolkit/core/beep.h"
#include "toolkit/core/numbers.h"

#include <gtest/gtest.h>

namespace kelgrid {
namespace {

using namespace calckeys;

// Keys written as one letter each: B Back, E CE, A C (clear all), c MC,
// p M+, m MR, s MS; every other character is its own code.
void Feed(TKelCalcEngine& engine, const char* keys)
{
    for (const char* k = keys; *k; ++k) {
        switch (*k) {
        case 'B': engine.Key(QChar(kcBack)); break;
        case 'E': engine.Key(QChar(kcClearEntry)); break;
        case 'A': engine.Key(QChar(kcClear)); break;
        case 'c': engine.Key(QChar(kcMemoryClear)); break;
        case 'p': engine.Key(QChar(kcMemoryAdd)); break;
        case 'm': engine.Key(QChar(kcMemoryRecall)); break;
        case 's': engine.Key(QChar(kcMemoryStore)); break;
        default: engine.Key(QChar(char16_t(*k))); break;
        }
    }
}

// Number settings and a beep counter for one test.
class CalcEngineTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = tk::NumberSettings();
        UseSeparator(u',');
        previousHook_ = tk::SetBeepHook([this] { ++beeps_; });
    }
    void TearDown() override
    {
        tk::SetBeepHook(previousHook_);
        tk::NumberSettings() = saved_;
    }
    static void UseSeparator(QChar decimal)
    {
        tk::NumberSettings().DecimalSeparator = decimal;
        tk::NumberSettings().ThousandSeparator = decimal == u',' ? QChar(u'.') : QChar(u',');
    }

    int beeps_ = 0;

private:
    tk::TNumberSettings saved_;
    tk::TBeepHook previousHook_;
};

struct SequenceRow {
    const char* name;
    const char* start;  // the cell's text
    const char* keys;
    const char* display;
    int beeps;
};

void PrintTo(const SequenceRow& row, std::ostream* out)
{
    *out << row.name;
}

class CalcSequenceTest : public CalcEngineTest, public ::testing::WithParamInterface<SequenceRow> {};

TEST_P(CalcSequenceTest, LeavesTheDisplay)
{
    const SequenceRow& row = GetParam();
    TKelCalcEngine engine;
    engine.Start(QString::fromLatin1(row.start));
    Feed(engine, row.keys);
    EXPECT_EQ(engine.Text(), QString::fromLatin1(row.display));
    EXPECT_EQ(beeps_, row.beeps);
}

INSTANTIATE_TEST_SUITE_P(
    Entry, CalcSequenceTest,
    ::testing::Values(SequenceRow{"OpensOnTheCellsNumber", "12,5", "", "12,5", 0},
                      SequenceRow{"OpensTrimmed", " 3 ", "", "3", 0},
                      SequenceRow{"NoNumberOpensAtZero", "abc", "", "0", 1},
                      SequenceRow{"TypingReplacesTheOpeningText", "12,5", "7", "7", 0},
                      SequenceRow{"LeadingZerosAreReplaced", "", "007", "7", 0},
                      SequenceRow{"ZeroBeforeTheSeparatorStays", "", "0,07", "0,07", 0},
                      SequenceRow{"PointTypesTheLocalesSeparator", "", "1.5", "1,5", 0},
                      SequenceRow{"SecondSeparatorIsRefused", "", "1,2,3", "1,23", 1},
                      SequenceRow{"BackOnOneDigit", "", "5B", "0", 0},
                      SequenceRow{"BackOnANegativeDigit", "", "5_B", "0", 0},
                      SequenceRow{"BackOnThreeDigits", "", "123B", "12", 0},
                      SequenceRow{"BackOnMinusZeroSeparator", "", "0,5_BB", "0", 0},
                      SequenceRow{"BackAfterAResultBeeps", "", "2+3=B", "5", 1},
                      SequenceRow{"SignOfZeroStaysZero", "", "0_", "0", 0},
                      SequenceRow{"SignTwiceIsTheNumber", "", "5__", "5", 0},
                      SequenceRow{"SignOfAResult", "", "2+3=_", "-5", 0}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, CalcSequenceTest,
    ::testing::Values(SequenceRow{"AddsToTheCellsNumber", "12,5", "+2=", "14,5", 0},
                      SequenceRow{"OperatorShowsTheRunningTotal", "", "2+3+", "5", 0},
                      SequenceRow{"EqualsAfterAnOperatorUsesTheTotal", "", "2+3+=", "10", 0},
                      SequenceRow{"EqualsRepeatsTheLastOperation", "", "5+3==", "11", 0},
                      SequenceRow{"ResultStartsTheNextChain", "", "2+3=*4=", "20", 0},
                      SequenceRow{"NewNumberAfterAResultStartsAfresh", "", "2+3=4+1=", "5", 0},
                      SequenceRow{"SecondOperatorReplacesTheFirst", "", "6+-2=", "4", 0},
                      SequenceRow{"PrecedenceIsLeftToRight", "", "2+3*4=", "20", 0},
                      SequenceRow{"SquareRootFeedsTheNextOperation", "", "9@*2=", "6", 0},
                      SequenceRow{"PercentOfTheTotal", "", "200+10%", "20", 0},
                      SequenceRow{"PercentThenEquals", "", "200+10%=", "220", 0},
                      SequenceRow{"PercentWithoutTotalIsZero", "", "50%", "0", 0},
                      SequenceRow{"Reciprocal", "", "4R", "0,25", 0},
                      SequenceRow{"ReciprocalLowerCase", "", "8r", "0,125", 0},
                      SequenceRow{"FifteenDigits", "", "1/3=", "0,333333333333333", 0},
                      SequenceRow{"LargeResultInExponentForm", "", "99999999*99999999=", "9,9999998E15", 0},
                      SequenceRow{"VerySmallResult", "", "1/1000000000=*=", "1E-18", 0},
                      SequenceRow{"UnderflowGivesZero", "1E-300", "*=", "0", 0}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Failures, CalcSequenceTest,
    ::testing::Values(SequenceRow{"DivisionByZeroKeepsTheDisplay", "", "7/0=", "0", 1},
                      SequenceRow{"DivisionByZeroThenANewNumber", "", "7/0=3", "3", 1},
                      SequenceRow{"OperatorAfterAFailedDivisionIsAbandoned", "", "7/0+2=", "3,5", 1},
                      SequenceRow{"ZeroByZero", "", "0/0=", "0", 1},
                      SequenceRow{"ReciprocalOfZero", "", "0R", "0", 1},
                      SequenceRow{"SquareRootOfANegative", "", "4_@", "-4", 1},
                      SequenceRow{"Overflow", "1E300", "*=", "1E300", 1},
                      SequenceRow{"OverflowBeyondTheLargestDouble", "1E308", "*10=", "10", 1}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Clearing, CalcSequenceTest,
    ::testing::Values(SequenceRow{"ClearEntryWhileTypingKeepsTheOperation", "", "2+35E4=", "6", 0},
                      SequenceRow{"ClearEntryAfterEqualsUndoesIt", "", "2+3=E=", "2", 0},
                      SequenceRow{"ClearAllForgetsTheOperation", "", "2+3A4=", "4", 0},
                      SequenceRow{"MemoryStoreAndRecall", "", "5sA9m", "5", 0},
                      SequenceRow{"MemoryAdd", "", "5s2pm", "7", 0},
                      SequenceRow{"MemoryClear", "", "5scm", "0", 0},
                      SequenceRow{"RecallStartsANewNumber", "", "5s9m1", "1", 0},
                      SequenceRow{"RecallFeedsAnOperation", "", "5s9+m=", "14", 0},
                      SequenceRow{"OverflowingMemoryAddIsRefused", "1E308", "spm", "1E308", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CalcEngineTest, FailedDivisionKeepsTheTotal)
{
    TKelCalcEngine engine;
    engine.Start(QString());
    Feed(engine, "7/0=");
    EXPECT_EQ(engine.Total(), 7);
    Feed(engine, "1=");  // the pending division goes on with a sound operand
    EXPECT_EQ(engine.Text(), QStringLiteral("7"));
}

TEST_F(CalcEngineTest, ClearEntryRestoresTheTotalBeforeTheCalculation)
{
    TKelCalcEngine engine;
    engine.Start(QString());
    Feed(engine, "2+3=");
    EXPECT_EQ(engine.Total(), 5);
    Feed(engine, "E");
    EXPECT_EQ(engine.Total(), 2);
    EXPECT_EQ(engine.Text(), QStringLiteral("0"));
}

TEST_F(CalcEngineTest, ResultFinishesThePendingCalculation)
{
    TKelCalcEngine engine;
    QString text;
    engine.Start(QStringLiteral("12,5"));
    ASSERT_TRUE(engine.Result(text));
    EXPECT_EQ(text, QStringLiteral("12,5"));  // the cell's text comes back as it was

    engine.Start(QString());
    Feed(engine, "4+4");
    ASSERT_TRUE(engine.Result(text));
    EXPECT_EQ(text, QStringLiteral("8"));
    ASSERT_TRUE(engine.Result(text));  // asking again does not repeat the addition
    EXPECT_EQ(text, QStringLiteral("8"));

    engine.Start(QString());
    Feed(engine, "4+");
    ASSERT_TRUE(engine.Result(text));
    EXPECT_EQ(text, QStringLiteral("8"));
}

TEST_F(CalcEngineTest, ResultOfAFailingCalculationIsNoResult)
{
    TKelCalcEngine engine;
    engine.Start(QString());
    Feed(engine, "7/0");
    QString text = QStringLiteral("untouched");
    EXPECT_FALSE(engine.Result(text));
    EXPECT_EQ(text, QStringLiteral("untouched"));
    EXPECT_EQ(beeps_, 1);
}

TEST_F(CalcEngineTest, PointLocaleReadsAndWritesPoints)
{
    UseSeparator(u'.');
    TKelCalcEngine engine;
    engine.Start(QStringLiteral("12.5"));
    Feed(engine, "+2,5=");  // the comma key types the locale's point
    EXPECT_EQ(engine.Text(), QStringLiteral("15"));
    Feed(engine, "/4=");
    EXPECT_EQ(engine.Text(), QStringLiteral("3.75"));
    EXPECT_EQ(beeps_, 0);

    engine.Start(QStringLiteral("12,5"));  // a comma is no decimal here
    EXPECT_EQ(engine.Text(), QStringLiteral("0"));
    EXPECT_EQ(beeps_, 1);
}

TEST_F(CalcEngineTest, MemorySurvivesClearAll)
{
    TKelCalcEngine engine;
    engine.Start(QString());
    Feed(engine, "42sA");
    EXPECT_EQ(engine.Memory(), 42);
    engine.Start(QStringLiteral("1"));  // a new opening clears all too
    EXPECT_EQ(engine.Memory(), 42);
}

}  // namespace
}  // namespace kelgrid
