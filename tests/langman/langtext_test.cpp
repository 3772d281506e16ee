#include "safekeep/langman/langtext.h"
#include "toolkit/core/masks.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace safekeep {
namespace {

TEST(LangText, EscapesDecodeAndEncodeBack)
{
    EXPECT_EQ(DecodeLangText(QStringLiteral("Hola\\nMundo\\tfin")), QStringLiteral("Hola\r\nMundo\tfin"));
    EXPECT_EQ(DecodeLangText(QStringLiteral("\\N \\T \\\\")), QStringLiteral("\\N \\T \\\\"));
    EXPECT_EQ(_ECodeText(QStringLiteral("a\r\nb\tc\nd")), QStringLiteral("a\\nb\\tc\nd"));
    EXPECT_EQ(DecodeLangText(_ECodeText(QStringLiteral("x\r\ny\tz"))), QStringLiteral("x\r\ny\tz"));
}

struct TemplateCase {
    const char* message;
    const char* pattern;
    const char* translation;
    const char* expected;
};

class MessageTemplate : public ::testing::TestWithParam<TemplateCase> {};

TEST_P(MessageTemplate, CarriesWildcardTextsFromTheRight)
{
    const TemplateCase& c = GetParam();
    const QString message = QString::fromUtf8(c.message);
    const QString pattern = QString::fromUtf8(c.pattern);
    ASSERT_TRUE(tk::MatchesMask(message, pattern));
    EXPECT_EQ(ApplyMessageTemplate(message, pattern, QString::fromUtf8(c.translation)), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    LangMess, MessageTemplate,
    ::testing::Values(
        TemplateCase{"Error 5 in file a.txt", "Error * in file *", "Fallo * en el fichero *",
                     "Fallo 5 en el fichero a.txt"},
        TemplateCase{"Disk full", "Disk full", "Disco lleno", "Disco lleno"},
        TemplateCase{"Copy of x.dat done", "Copy of * done", "Copia de * hecha", "Copia de x.dat hecha"},
        // With fewer wildcards in the template, its first one takes the
        // message minus as many leading characters as the pattern's head has
        // ("File * line " is 12 characters).
        TemplateCase{"File a.txt line 7", "File * line *", "Fichero *", "Fichero ine 7"},
        // Wildcards at the very start and end, and "?".
        TemplateCase{"5 files", "* files", "* ficheros", "5 ficheros"},
        TemplateCase{"Drive C: missing", "Drive ?: missing", "Falta la unidad ?:", "Falta la unidad C:"},
        // The literal between wildcards is found in any letter case.
        TemplateCase{"ERROR 5 IN FILE a.txt", "Error * in file *", "Fallo * en el fichero *",
                     "Fallo 5 en el fichero a.txt"},
        // A wildcard that matched nothing carries nothing.
        TemplateCase{"Error  in file ", "Error * in file *", "[*] [*]", "[] []"}));

TEST(LangText, OddPatternsNeverReadOutsideTheirTexts)
{
    // Templates with more wildcards than patterns, doubled wildcards, empty
    // texts: the result is some text, never a crash or an assertion.
    const char* const pieces[] = {"*", "?", "**", "a", "ab", " ", "[x]", "\\n", "", "é"};
    QRandomGenerator random(20261208);
    for (int round = 0; round < 20000; ++round) {
        QString message, pattern, translation;
        for (int i = 0, n = random.bounded(6); i < n; ++i)
            message += QString::fromUtf8(pieces[random.bounded(10)]);
        for (int i = 0, n = random.bounded(6); i < n; ++i)
            pattern += QString::fromUtf8(pieces[random.bounded(10)]);
        for (int i = 0, n = random.bounded(6); i < n; ++i)
            translation += QString::fromUtf8(pieces[random.bounded(10)]);
        const QString result = ApplyMessageTemplate(message, pattern, translation);
        // Nothing is invented: the result is made of the template's and the
        // message's characters only.
        ASSERT_LE(result.size(), message.size() + translation.size()) << round;
    }
}

}  // namespace
}  // namespace safekeep
