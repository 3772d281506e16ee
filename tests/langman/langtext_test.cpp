#include "safekeep/langman/langtext.h"
#include "toolkit/core/masks.h"

#include <QRandomGenerator>
#include <algorithm>
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

// The pairing as it was first written, copying the strings at every step:
// quadratic in the number of wildcards, and the answer every input must
// keep.
namespace reference {

qsizetype LastWildcard(const QString& text)
{
    for (qsizetype i = text.size(); i > 0; --i) {
        const QChar c = text[i - 1];
        if (c == QLatin1Char('*') || c == QLatin1Char('?'))
            return i;
    }
    return 0;
}

QString From(const QString& text, qsizetype position)
{
    const qsizetype index = std::max<qsizetype>(position, 1) - 1;
    return index >= text.size() ? QString() : text.mid(index);
}

QString Head(const QString& text, qsizetype count)
{
    return text.left(std::clamp<qsizetype>(count, 0, text.size()));
}

QString DropTail(const QString& text, qsizetype count)
{
    return Head(text, text.size() - std::max<qsizetype>(count, 0));
}

qsizetype LastPos(const QString& what, const QString& text)
{
    if (what.isEmpty())
        return 0;
    return text.lastIndexOf(what, -1, Qt::CaseInsensitive) + 1;
}

QString ApplyMessageTemplate(const QString& message, const QString& pattern, const QString& translation)
{
    QString result;
    QString s = message;
    QString p = pattern;
    QString t = translation;
    qsizetype k = LastWildcard(t);
    while (k > 0) {
        result = From(t, k + 1) + result;
        t = Head(t, k - 1);
        qsizetype m = LastWildcard(p);
        s = DropTail(s, p.size() - m);
        p = Head(p, m - 1);
        k = LastWildcard(t);
        if (k == 0) {
            s = From(s, p.size() + 1);
            result = s + result;
        } else {
            m = LastWildcard(p);
            const QString literal = From(p, m + 1);
            const qsizetype q = LastPos(literal, s);
            result = From(s, q + literal.size()) + result;
            s = Head(s, q + literal.size() - 1);
        }
    }
    return t + result;
}

}  // namespace reference

QString RandomText(QRandomGenerator& random, const QStringList& pieces, int maxPieces)
{
    QString text;
    for (int i = 0, n = random.bounded(maxPieces + 1); i < n; ++i)
        text += pieces[random.bounded(static_cast<int>(pieces.size()))];
    return text;
}

TEST(LangText, TemplatesAgreeWithTheReferenceOnAnyTexts)
{
    // Unrelated texts: the pattern need not match the message, the literals
    // are often missing or found in another case, surrogate pairs get cut.
    const QStringList pieces{"*",  "?",  "**", "*?",  "a",        "A",        "b",
                             "ab", "AB", " ",  "[x]", "\xC3\xA9", "\xC3\x89", "\xF0\x9F\x98\x80",
                             ""};
    QRandomGenerator random(20261209);
    for (int round = 0; round < 50000; ++round) {
        const QString message = RandomText(random, pieces, 9);
        const QString pattern = RandomText(random, pieces, 9);
        const QString translation = RandomText(random, pieces, 9);
        ASSERT_EQ(ApplyMessageTemplate(message, pattern, translation),
                  reference::ApplyMessageTemplate(message, pattern, translation))
            << "message \"" << qPrintable(message) << "\" pattern \"" << qPrintable(pattern)
            << "\" template \"" << qPrintable(translation) << "\"";
    }
}

TEST(LangText, TemplatesAgreeWithTheReferenceOnMatchingMessages)
{
    // Messages made from their pattern, as LangMess passes them: wildcards
    // filled with texts that may repeat the literals around them.
    const QStringList patternPieces{"*", "?", " in ", "Error ", "x", "X", "*.*", " *", "[a]"};
    const QStringList fillers{"", "x", "in", " in ", "ERROR", "a.b", "\xF0\x9F\x98\x80"};
    const QStringList templatePieces{"*", "?", " en ", "Fallo ", "y", "* y *"};
    QRandomGenerator random(11);
    int translated = 0;
    for (int round = 0; round < 30000; ++round) {
        const QString pattern = RandomText(random, patternPieces, 8);
        QString message;
        for (const QChar c : pattern) {
            if (c == QLatin1Char('*'))
                message += RandomText(random, fillers, 2);
            else if (c == QLatin1Char('?'))
                message += QLatin1Char("xyz"[random.bounded(3)]);
            else
                message += c;
        }
        if (!tk::MatchesMask(message, pattern))
            continue;  // "[a]" stands for "a" in the mask
        ++translated;
        const QString translation = RandomText(random, templatePieces, 6);
        ASSERT_EQ(ApplyMessageTemplate(message, pattern, translation),
                  reference::ApplyMessageTemplate(message, pattern, translation))
            << "message \"" << qPrintable(message) << "\" pattern \"" << qPrintable(pattern)
            << "\" template \"" << qPrintable(translation) << "\"";
    }
    EXPECT_GT(translated, 10000);
}

TEST(LangText, TemplatesOfThousandsOfWildcardsAgreeWithTheReference)
{
    const QString pattern = QStringLiteral("*a?").repeated(2000);
    const QString message = QStringLiteral("xab").repeated(2000);
    ASSERT_TRUE(tk::MatchesMask(message, pattern));
    for (const QString& translation :
         {QStringLiteral("*b?").repeated(2000), QStringLiteral("<*>").repeated(1000),
          QStringLiteral("?").repeated(5000), QStringLiteral("Fallo *")}) {
        EXPECT_EQ(ApplyMessageTemplate(message, pattern, translation),
                  reference::ApplyMessageTemplate(message, pattern, translation));
    }
    // The literal between wildcards found in another case, many times.
    const QString upper = QStringLiteral("*-Ab-").repeated(1500);
    const QString text = QStringLiteral("1-aB-").repeated(1500);
    EXPECT_EQ(ApplyMessageTemplate(text, upper, QStringLiteral("[*]").repeated(1500)),
              reference::ApplyMessageTemplate(text, upper, QStringLiteral("[*]").repeated(1500)));
    EXPECT_EQ(ApplyMessageTemplate(text, upper, QStringLiteral("[*]").repeated(1500)),
              QStringLiteral("[1]").repeated(1500));
}

}  // namespace
}  // namespace safekeep
