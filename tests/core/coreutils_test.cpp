// Text helpers, locale facts, the beep hook and the data messages.
#include "toolkit/core/beep.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/format.h"
#include "toolkit/core/localefacts.h"
#include "toolkit/core/textutils.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

TEST(TextUtils, TrimRemovesBlanksAndControlsOnly)
{
    const QString text = QStringLiteral(" \t a b \r\n\x01");
    EXPECT_EQ(Trim(text), QStringLiteral("a b"));
    EXPECT_EQ(TrimRight(text), QStringLiteral(" \t a b"));
    EXPECT_EQ(TrimLeft(text), QStringLiteral("a b \r\n\x01"));
    const QString nbsp = QStringLiteral("\u00A0x\u00A0");  // not a control: kept
    EXPECT_EQ(Trim(nbsp), nbsp);
    EXPECT_EQ(Trim(QStringLiteral("   ")), QString());
}

TEST(TextUtils, CaseInsensitiveComparisonAndUpperCase)
{
    EXPECT_TRUE(SameText(QStringLiteral("Ärger"), QStringLiteral("äRGER")));
    EXPECT_FALSE(SameText(QStringLiteral("a"), QStringLiteral("a ")));
    EXPECT_LT(CompareText(QStringLiteral("a"), QStringLiteral("B")), 0);  // by letters, not code points
    EXPECT_GT(CompareText(QStringLiteral("b"), QStringLiteral("A")), 0);
    EXPECT_EQ(UpperCase(QStringLiteral("ñandú b")), QStringLiteral("ÑANDÚ B"));
}

TEST(LocaleFacts, FollowTheLocaleLanguageAndScript)
{
    struct Row {
        QLocale locale;
        bool korean, farEast, rightToLeft;
    };
    const Row rows[] = {
        {QLocale(QLocale::Korean, QLocale::SouthKorea), true, true, false},
        {QLocale(QLocale::Japanese, QLocale::Japan), false, true, false},
        {QLocale(QLocale::Arabic, QLocale::Egypt), false, false, true},
        {QLocale(QLocale::Hebrew, QLocale::Israel), false, false, true},
        {QLocale(QLocale::Spanish, QLocale::Spain), false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.locale.name().toStdString());
        const TLocaleFacts facts = LocaleFactsFromLocale(row.locale);
        EXPECT_EQ(facts.PrimaryLanguageKorean, row.korean);
        EXPECT_EQ(facts.FarEast, row.farEast);
        EXPECT_EQ(facts.InputMethodPresent, row.farEast);
        EXPECT_EQ(facts.RightToLeft, row.rightToLeft);
        EXPECT_TRUE(facts.IsVista);
    }
}

TEST(LocaleFacts, ReadersFollowOverrides)
{
    const TLocaleFacts savedFacts = LocaleFacts();
    const TNumberSettings savedNumbers = NumberSettings();
    const TFormatSettings savedDates = FormatSettings();

    LocaleFacts().IsVista = false;
    LocaleFacts().PrimaryLanguageKorean = true;
    LocaleFacts().RightToLeft = true;
    NumberSettings().DecimalSeparator = QLatin1Char('#');
    FormatSettings().ShortDateFormat = QStringLiteral("yyyy-mm-dd");
    FormatSettings().LongMonthNames[0] = QStringLiteral("Primero");
    EXPECT_FALSE(IsVista());
    EXPECT_TRUE(PrimaryLanguageIsKorean());
    EXPECT_TRUE(RightToLeftLocale());
    EXPECT_EQ(DecimalSeparator(), QLatin1Char('#'));
    EXPECT_EQ(ShortDateFormat(), QStringLiteral("yyyy-mm-dd"));
    EXPECT_EQ(LongMonthNames().value(0), QStringLiteral("Primero"));

    LocaleFacts() = savedFacts;
    NumberSettings() = savedNumbers;
    FormatSettings() = savedDates;
    EXPECT_TRUE(IsVista());
}

TEST(Beep, HookCountsBeepsAndRestores)
{
    int beeps = 0;
    TBeepHook previous = SetBeepHook([&beeps] { ++beeps; });
    Beep();
    Beep();
    EXPECT_EQ(beeps, 2);

    int inner = 0;
    TBeepHook counting = SetBeepHook([&inner] { ++inner; });
    Beep();
    EXPECT_EQ(inner, 1);
    SetBeepHook(counting);  // the hook handed back still works
    Beep();
    EXPECT_EQ(beeps, 3);

    SetBeepHook(previous);
    EXPECT_TRUE(static_cast<bool>(SetBeepHook({})));  // empty restores a working default
    EXPECT_NO_THROW(Beep());
    EXPECT_EQ(beeps, 3);
}

TEST(DataMessages, FormatWithTheirArgumentsAndCanBeTranslated)
{
    EXPECT_EQ(Format(LoadResString(&SFieldNotFound), {Variant("Total")}),
              QStringLiteral("Field 'Total' not found"));
    const QString spanish = QStringLiteral("¿Borrar el registro?");
    SetResourceStringOverride(&SDeleteRecordQuestion, &spanish);
    EXPECT_EQ(LoadResString(&SDeleteRecordQuestion), spanish);
    SetResourceStringOverride(&SDeleteRecordQuestion, nullptr);
    EXPECT_EQ(LoadResString(&SDeleteRecordQuestion), QStringLiteral("Delete record?"));
}

}  // namespace
}  // namespace tk
