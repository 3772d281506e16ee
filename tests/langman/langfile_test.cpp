#include "safekeep/langman/langfile.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace safekeep {
namespace {

TEST(LangFile, RepeatedSectionsContinueTheFirstInAnyCase)
{
    const TLangFile file =
        TLangFile::Parse(QStringLiteral("orphan=line\r\n[Main]\r\na = 1\r\n[Other]\r\nb=2\r\n"
                                        "[MAIN]\r\nc=3\r\nloose line\r\n[main]\r\n; note\r\na=4\r\n"),
                         QStringLiteral("x.lng"));
    // Named as first written, in the order of first appearance.
    EXPECT_EQ(file.SectionNames(), (QStringList{"Main", "Other"}));
    EXPECT_EQ(file.Lines(QStringLiteral("mAiN")), (QStringList{"a=1", "c=3", "loose line", "a=4"}));
    const QList<TLangEntry> entries = file.Entries(QStringLiteral("main"));
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[1].name, QStringLiteral("c"));
    EXPECT_EQ(file.ReadString(QStringLiteral("MAIN"), QStringLiteral("A"), QString()), QStringLiteral("1"));
    EXPECT_EQ(file.ReadString(QStringLiteral("Missing"), QStringLiteral("a"), QStringLiteral("d")),
              QStringLiteral("d"));
    EXPECT_TRUE(file.Lines(QStringLiteral("Missing")).isEmpty());
}

TEST(LangFile, SectionsAreFoundAsALinearSearchFindsThem)
{
    // Names that differ in case only, also outside ASCII and beyond UTF-16
    // units, and names that only look alike ("ß" and "ss", "K" and the
    // Kelvin sign fold alike, "İ" and "i" do not).
    const QStringList pieces{"a", "A",      "ss",         "\u00DF",     "k", "\u212A",
                             "i", "\u0130", "\U00010400", "\U00010428", "."};
    QRandomGenerator random(5150);
    QString text;
    QList<QPair<QString, QStringList>> expected;  // sections in first-appearance order
    for (int i = 0; i < 2000; ++i) {
        QString name;
        for (int n = random.bounded(1, 4); n > 0; --n)
            name += pieces[random.bounded(static_cast<int>(pieces.size()))];
        const QString line = QStringLiteral("k%1=v").arg(i);
        text += QLatin1Char('[') + name + QStringLiteral("]\n") + line + QLatin1Char('\n');
        qsizetype row = 0;
        while (row < expected.size() && expected[row].first.compare(name, Qt::CaseInsensitive) != 0)
            ++row;
        if (row == expected.size())
            expected.append({name, {}});
        expected[row].second << line;
    }
    const TLangFile file = TLangFile::Parse(text, QStringLiteral("x.lng"));
    QStringList names;
    for (const auto& section : expected)
        names << section.first;
    ASSERT_EQ(file.SectionNames(), names);
    // Upper-casing turns "ß" into "SS", which is another section or none.
    for (const auto& section : expected) {
        for (const QString& query : {section.first, section.first.toUpper(), section.first.toLower()}) {
            QStringList lines;
            for (const auto& other : expected)
                if (other.first.compare(query, Qt::CaseInsensitive) == 0)
                    lines = other.second;
            EXPECT_EQ(file.Lines(query), lines) << qPrintable(query);
        }
    }
}

}  // namespace
}  // namespace safekeep
