#include "safekeep/langman/keyindex.h"

#include <gtest/gtest.h>

namespace safekeep {
namespace {

// Characters whose case rules trip simple folding up: sharp s, dotted and
// dotless i, the Kelvin sign, the three sigmas, a title-case digraph,
// letters beyond UTF-16 units in both cases, and unpaired surrogates.
const QStringList kTrickyCharacters{"a",
                                    "A",
                                    "k",
                                    "K",
                                    "\u212A",
                                    "s",
                                    "S",
                                    "\u017F",
                                    "\u00DF",
                                    "\u1E9E",
                                    "ss",
                                    "i",
                                    "I",
                                    "\u0130",
                                    "\u0131",
                                    "\u03A3",
                                    "\u03C3",
                                    "\u03C2",
                                    "\u01C4",
                                    "\u01C5",
                                    "\u01C6",
                                    "\U00010400",
                                    "\U00010428",
                                    "\U0001E900",
                                    "\U0001E922",
                                    QString(QChar(0xD801)),
                                    QString(QChar(0xDC00)),
                                    "\u00C9",
                                    "\u00E9",
                                    "-"};

TEST(KeyIndex, KeysAreEqualExactlyWhenTheCaseInsensitiveComparisonSaysSo)
{
    QStringList keys;
    for (const QString& a : kTrickyCharacters)
        for (const QString& b : kTrickyCharacters)
            keys << a + b;
    for (const QString& a : keys)
        for (const QString& b : keys)
            ASSERT_EQ(TKeyIndex::Folded(a) == TKeyIndex::Folded(b), a.compare(b, Qt::CaseInsensitive) == 0)
                << qPrintable(a) << " " << qPrintable(b);
}

TEST(KeyIndex, KeepsTheFirstRowOfEqualKeys)
{
    TKeyIndex index;
    EXPECT_EQ(index.Find(QStringLiteral("x")), -1);
    EXPECT_EQ(index.Add(QStringLiteral("Constants"), 3), 3);
    EXPECT_EQ(index.Add(QStringLiteral("CONSTANTS"), 7), 3);
    EXPECT_EQ(index.Add(QStringLiteral("Const"), 8), 8);
    EXPECT_EQ(index.Find(QStringLiteral("constants")), 3);
    EXPECT_EQ(index.Find(QStringLiteral("const")), 8);
    EXPECT_EQ(index.Find(QString()), -1);
    EXPECT_EQ(index.Count(), 2);
    index.Clear();
    EXPECT_EQ(index.Find(QStringLiteral("Constants")), -1);
}

}  // namespace
}  // namespace safekeep
