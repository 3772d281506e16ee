#include "toolkit/core/masks.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

struct MaskCase {
    const char* name;
    const char* mask;
    bool matches;
};

class MaskTest : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskTest, MatchesAsExpected)
{
    const MaskCase& c = GetParam();
    EXPECT_EQ(MatchesMask(QString::fromUtf8(c.name), QString::fromUtf8(c.mask)), c.matches)
        << "name \"" << c.name << "\" mask \"" << c.mask << "\"";
}

INSTANTIATE_TEST_SUITE_P(
    Masks, MaskTest,
    ::testing::Values(
        // "*" and literal text, without regard to case
        MaskCase{"readme.txt", "*.txt", true}, MaskCase{"README.TXT", "*.txt", true},
        MaskCase{"readme.txt", "*.TXT", true}, MaskCase{"readme.txt.bak", "*.txt", false},
        MaskCase{"spanish.lng", "*.lng", true}, MaskCase{"spanish.lngx", "*.lng", false},
        MaskCase{"", "*", true}, MaskCase{"", "", true}, MaskCase{"a", "", false},
        MaskCase{"ac", "a*c", true}, MaskCase{"abc", "a**c", true},
        // "*" has to give characters back to let the rest match
        MaskCase{"abcbcd", "*bcd", true}, MaskCase{"mississippi", "m*iss*ppi", true},
        MaskCase{"mississippi", "m*iss*x", false}, MaskCase{"abcb", "*b*b", true},
        MaskCase{"ab", "*b*b", false},
        // "?" is exactly one character, also outside ASCII and beyond UTF-16 units
        MaskCase{"a", "?", true}, MaskCase{"", "?", false}, MaskCase{"ab", "?", false},
        MaskCase{"ñ.lng", "?.lng", true}, MaskCase{"\xF0\x9F\x98\x80.txt", "?.txt", true},
        MaskCase{"Ñ", "ñ", true},
        // sets, ranges and negation
        MaskCase{"b.lng", "[a-c].lng", true}, MaskCase{"d.lng", "[a-c].lng", false},
        MaskCase{"B.lng", "[a-c].lng", true}, MaskCase{"d.lng", "[!a-c].lng", true},
        MaskCase{"b.lng", "[!a-c].lng", false}, MaskCase{"y", "[xyz]", true},
        MaskCase{"x5", "[a-z][0-9]", true}, MaskCase{"x", "[a-ex-z]", true}, MaskCase{"m", "[a-ex-z]", false},
        MaskCase{"-", "[a-]", true}, MaskCase{"a*b", "a[*]b", true}, MaskCase{"axb", "a[*]b", false},
        MaskCase{"!", "[!]", true},
        // an unclosed "[" is literal text
        MaskCase{"[a", "[a", true}, MaskCase{"a", "[a", false}, MaskCase{"x[1", "x[*", true},
        // the dot is a literal character here; file searches treat "*.*" specially
        MaskCase{"file.", "*.*", true}, MaskCase{"file", "*.*", false}));

TEST(Mask, ParsedMaskMatchesManyNames)
{
    const TMask mask(QStringLiteral("*.lng"));
    EXPECT_TRUE(mask.Matches(QStringLiteral("english.LNG")));
    EXPECT_TRUE(mask.Matches(QStringLiteral("catalan.lng")));
    EXPECT_FALSE(mask.Matches(QStringLiteral("catalan.ini")));
}

}  // namespace
}  // namespace tk
