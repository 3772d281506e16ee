#include "toolkit/core/exceptions.h"
#include "toolkit/core/strings.h"

#include "tests/support/expect_raises.h"

#include <gtest/gtest.h>
#include <random>

namespace tk {
namespace {

QStringList Lines(std::initializer_list<const char*> lines)
{
    QStringList result;
    for (const char* line : lines)
        result << QString::fromUtf8(line);
    return result;
}

// A list kept outside the string-list classes, the way a control keeps its
// lines in a widget: only the storage functions are implemented, so the
// algorithms of TStrings itself are what runs.
class TWidgetLines : public TStrings {
public:
    QString Get(int index) const override { return lines.at(index); }
    int GetCount() const override { return static_cast<int>(lines.size()); }
    void Insert(int index, const QString& s) override { lines.insert(index, s); }
    void Delete(int index) override { lines.removeAt(index); }
    void Clear() override { lines.clear(); }
    void SetUpdateState(bool updating) override { updateStates << updating; }
    QStringList lines;
    QList<bool> updateStates;
};

using test::MessageOf;

// --- Text -----------------------------------------------------------------

struct TextCase {
    const char* text;
    QStringList lines;
};

class StringsText : public testing::TestWithParam<TextCase> {};

TEST_P(StringsText, SplitsAtEveryKindOfLineBreak)
{
    TStringList list;
    list.SetText(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(list.ToStringList(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringsText,
    testing::Values(TextCase{"", {}}, TextCase{"a", Lines({"a"})}, TextCase{"a\r\nb\r\n", Lines({"a", "b"})},
                    TextCase{"a\nb\rc", Lines({"a", "b", "c"})}, TextCase{"\r\n", Lines({""})},
                    TextCase{"a\r\n\r\nb", Lines({"a", "", "b"})}, TextCase{"a\n\r", Lines({"a", ""})},
                    TextCase{"a\n\nb", Lines({"a", "", "b"})}));

TEST(Strings, TextEndsEveryLineWithTheLineBreak)
{
    TStringList list;
    list.SetStrings(Lines({"a", ""}));
    EXPECT_EQ(list.Text(), QStringLiteral("a\r\n\r\n"));
    list.SetLineBreak(QStringLiteral("\n"));
    EXPECT_EQ(list.Text(), QStringLiteral("a\n\n"));
    list.Clear();
    EXPECT_EQ(list.Text(), QString());
}

// --- Delimited text ---------------------------------------------------------

struct DelimitedCase {
    QStringList lines;
    const char* text;
};

class StringsCommaText : public testing::TestWithParam<DelimitedCase> {};

TEST_P(StringsCommaText, QuotesOnlyWhatNeedsQuotingAndReadsItBack)
{
    TStringList list;
    list.SetStrings(GetParam().lines);
    EXPECT_EQ(list.CommaText(), QString::fromUtf8(GetParam().text));
    TStringList back;
    back.SetCommaText(list.CommaText());
    EXPECT_EQ(back.ToStringList(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Cases, StringsCommaText,
                         testing::Values(DelimitedCase{{}, ""}, DelimitedCase{Lines({""}), "\"\""},
                                         DelimitedCase{Lines({"a", "b"}), "a,b"},
                                         DelimitedCase{Lines({"a b", "c"}), "\"a b\",c"},
                                         DelimitedCase{Lines({"x,y"}), "\"x,y\""},
                                         DelimitedCase{Lines({"say \"hi\""}), "\"say \"\"hi\"\"\""},
                                         DelimitedCase{Lines({"a", "", "b"}), "a,\"\",b"},
                                         DelimitedCase{Lines({"", "a"}), "\"\",a"},
                                         DelimitedCase{Lines({"tab\there"}), "\"tab\there\""}));

struct ParseCase {
    const char* text;
    QStringList lines;
};

class StringsCommaTextParsing : public testing::TestWithParam<ParseCase> {};

TEST_P(StringsCommaTextParsing, SplitsAtCommasAndBlanks)
{
    TStringList list;
    list.Add(QStringLiteral("old"));
    list.SetCommaText(QString::fromUtf8(GetParam().text));
    EXPECT_EQ(list.ToStringList(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StringsCommaTextParsing,
    testing::Values(ParseCase{"", {}}, ParseCase{"   ", {}}, ParseCase{" a , b ,c", Lines({"a", "b", "c"})},
                    ParseCase{"a b", Lines({"a", "b"})}, ParseCase{"a,,b", Lines({"a", "", "b"})},
                    ParseCase{"a,", Lines({"a", ""})}, ParseCase{"a, ", Lines({"a"})},
                    ParseCase{"\"x\"\"y\",z", Lines({"x\"y", "z"})}, ParseCase{"\"open", Lines({"open"})}));

TEST(Strings, StrictDelimiterKeepsBlanksInsideItems)
{
    TStringList list;
    list.SetDelimiter(QLatin1Char(';'));
    list.SetQuoteChar(QLatin1Char('\''));
    list.SetStrictDelimiter(true);
    list.SetDelimitedText(QStringLiteral(" a b ;'c;d';'it''s'"));
    EXPECT_EQ(list.ToStringList(), Lines({" a b ", "c;d", "it's"}));
    EXPECT_EQ(list.DelimitedText(), QStringLiteral(" a b ;'c;d';'it''s'"));

    list.SetStrictDelimiter(false);
    EXPECT_EQ(list.DelimitedText(), QStringLiteral("' a b ';'c;d';'it''s'"));
    // CommaText keeps its own fixed format whatever the list's settings.
    EXPECT_EQ(list.CommaText(), QStringLiteral("\" a b \",c;d,it's"));
}

// --- Names and values -------------------------------------------------------

TEST(Strings, ValuesFindNamesCaseInsensitivelyAndEditLines)
{
    TStringList list;
    list.SetText(QStringLiteral("Host=example\r\nplain\r\nPath=a=b\r\n"));
    EXPECT_EQ(list.Values(QStringLiteral("HOST")), QStringLiteral("example"));
    EXPECT_EQ(list.Values(QStringLiteral("path")), QStringLiteral("a=b"));
    EXPECT_EQ(list.Values(QStringLiteral("plain")), QString());
    EXPECT_EQ(list.Names(1), QString());
    EXPECT_EQ(list.ValueFromIndex(1), QString());
    EXPECT_EQ(list.Names(2), QStringLiteral("Path"));

    list.SetValues(QStringLiteral("host"), QStringLiteral("other"));
    list.SetValues(QStringLiteral("Port"), QStringLiteral("80"));
    list.SetValues(QStringLiteral("PATH"), QString());
    EXPECT_EQ(list.ToStringList(), Lines({"host=other", "plain", "Port=80"}));

    list.SetNameValueSeparator(QLatin1Char(':'));
    list.Add(QStringLiteral("Key:v"));
    EXPECT_EQ(list.IndexOfName(QStringLiteral("key")), 3);
    EXPECT_EQ(list.IndexOfName(QStringLiteral("Port")), -1);
}

// --- Errors -------------------------------------------------------------------

TEST(Strings, BadIndexesRaiseStringListErrorsNamingTheIndex)
{
    TStringList list;
    list.SetStrings(Lines({"a", "b"}));
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Get(2); }),
              QStringLiteral("List index out of bounds (2)"));
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Delete(-1); }),
              QStringLiteral("List index out of bounds (-1)"));
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Insert(3, QStringLiteral("x")); }),
              QStringLiteral("List index out of bounds (3)"));
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Move(0, 2); }),
              QStringLiteral("List index out of bounds (2)"));
    EXPECT_EQ(list.ToStringList(), Lines({"a", "b"}));
}

// --- Sorting, finding, duplicates -----------------------------------------

TEST(StringList, SortedListInsertsInOrderAndRefusesPositionalEdits)
{
    TStringList list;
    list.SetStrings(Lines({"pear", "Apple", "fig"}));
    list.SetSorted(true);
    EXPECT_EQ(list.ToStringList(), Lines({"Apple", "fig", "pear"}));
    EXPECT_EQ(list.Add(QStringLiteral("banana")), 1);
    int index = -1;
    EXPECT_FALSE(list.Find(QStringLiteral("cherry"), index));
    EXPECT_EQ(index, 2);
    EXPECT_TRUE(list.Find(QStringLiteral("APPLE"), index));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(list.IndexOf(QStringLiteral("PEAR")), 3);

    const QString sortedError = QStringLiteral("Operation not allowed on sorted list");
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Insert(0, QStringLiteral("z")); }), sortedError);
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Put(0, QStringLiteral("z")); }), sortedError);
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Move(0, 1); }), sortedError);
    EXPECT_EQ(list.Count(), 4);
}

TEST(StringList, DuplicatesModesOnSortedLists)
{
    TStringList list;
    list.SetSorted(true);
    list.SetText(QStringLiteral("b\r\nd\r\n"));
    EXPECT_EQ(list.Add(QStringLiteral("D")), 1);  // dupIgnore: the existing line's index
    EXPECT_EQ(list.Count(), 2);

    list.SetDuplicates(TStringList::dupError);
    EXPECT_EQ(MessageOf<EStringListError>([&] { list.Add(QStringLiteral("B")); }),
              QStringLiteral("String list does not allow duplicates"));

    list.SetDuplicates(TStringList::dupAccept);
    list.Add(QStringLiteral("d"));
    list.Add(QStringLiteral("d"));
    list.Add(QStringLiteral("e"));
    int index = -1;
    EXPECT_TRUE(list.Find(QStringLiteral("d"), index));
    EXPECT_EQ(index, 1);  // the first of the run of three
    EXPECT_EQ(list.ToStringList(), Lines({"b", "d", "d", "d", "e"}));
}

TEST(StringList, CaseSensitivityGovernsSearchOrderAndDuplicates)
{
    TStringList list;
    list.SetStrings(Lines({"b", "B", "a"}));
    EXPECT_EQ(list.IndexOf(QStringLiteral("B")), 0);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf(QStringLiteral("B")), 1);
    EXPECT_EQ(list.IndexOf(QStringLiteral("A")), -1);

    list.SetSorted(true);
    EXPECT_EQ(list.ToStringList(), Lines({"a", "b", "B"}));
    EXPECT_EQ(list.Add(QStringLiteral("A")), 1);  // a different line when case counts
    list.SetCaseSensitive(false);
    EXPECT_EQ(list.Add(QStringLiteral("b")), list.IndexOf(QStringLiteral("B")));
    EXPECT_EQ(list.Count(), 4);
}

TEST(StringList, SortsWithoutCaseExactlyAsUnicodeComparisonDoes)
{
    // Punctuation between "Z" and "a", prefixes, and lines with letters
    // outside ASCII anywhere, with and without equal heads.
    QStringList lines = {"a_b", "A[", "ab", "AB", "a", "", "Z", "z_", "^", "`x", "ä", "Äb", "aä", "AÄ", "ß", "SS",
                         "\u0130", "i", "I", "x\u00ffy", "X\u0178Y", "a1", "A~", "~"};
    std::mt19937 random(20261209);
    const QString alphabet = QStringLiteral("aAzZ_[]^`{|}~ 09äÄ");
    for (int i = 0; i < 400; ++i) {
        QString line;
        for (int length = int(random() % 6); length > 0; --length)
            line += alphabet[int(random() % alphabet.size())];
        lines << line;
    }
    TStringList list;
    list.SetDuplicates(TStringList::dupAccept);
    list.SetStrings(lines);
    list.Sort();
    QStringList expected = lines;
    std::stable_sort(expected.begin(), expected.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    EXPECT_EQ(list.ToStringList(), expected);
}

TEST(StringList, CustomSortUsesTheCallersOrder)
{
    TStringList list;
    list.SetStrings(Lines({"ccc", "a", "bb", "dd"}));
    list.AddObject(QStringLiteral("eeee"), 5);
    list.CustomSort([](const TStringList& l, int i, int j) {
        return static_cast<int>(l.Get(j).size() - l.Get(i).size());
    });
    EXPECT_EQ(list.ToStringList(), Lines({"eeee", "ccc", "bb", "dd", "a"}));
    EXPECT_EQ(list.Objects(0).toInt(), 5);
}

// --- Change events ----------------------------------------------------------

TEST(StringList, ChangeEventsOncePerBatchAndOnlyForRealChanges)
{
    TStringList list;
    QStringList events;
    list.OnChanging = [&](TStrings* s) { events << QStringLiteral("changing %1").arg(s->Count()); };
    list.OnChange = [&](TStrings* s) { events << QStringLiteral("change %1").arg(s->Count()); };

    list.Add(QStringLiteral("a"));
    EXPECT_EQ(events, Lines({"changing 0", "change 1"}));

    events.clear();
    list.BeginUpdate();
    list.Add(QStringLiteral("b"));
    list.BeginUpdate();
    list.SetCommaText(QStringLiteral("x,y,z"));
    list.EndUpdate();
    EXPECT_EQ(events, Lines({"changing 1"}));
    list.EndUpdate();
    EXPECT_EQ(events, Lines({"changing 1", "change 3"}));

    events.clear();
    list.BeginUpdate();
    list.IndexOf(QStringLiteral("x"));
    list.EndUpdate();
    list.Clear();
    list.Clear();  // already empty: nothing to report
    EXPECT_EQ(events, Lines({"changing 3", "change 0"}));
}

// --- Whole-list operations ----------------------------------------------------

TEST(Strings, MoveExchangeAndAssignCarryObjects)
{
    TStringList list;
    list.AddObject(QStringLiteral("a"), 1);
    list.AddObject(QStringLiteral("b"), 2);
    list.AddObject(QStringLiteral("c"), 3);
    list.Move(0, 2);
    list.Exchange(0, 1);
    EXPECT_EQ(list.ToStringList(), Lines({"c", "b", "a"}));
    EXPECT_EQ(list.Objects(2).toInt(), 1);
    EXPECT_EQ(list.IndexOfObject(3), 0);

    list.SetDelimiter(QLatin1Char(';'));
    list.SetStrictDelimiter(true);
    TStringList copy;
    copy.Add(QStringLiteral("gone"));
    copy.Assign(&list);
    EXPECT_TRUE(copy.Equals(&list));
    EXPECT_EQ(copy.Objects(1).toInt(), 2);
    EXPECT_EQ(copy.DelimitedText(), QStringLiteral("c;b;a"));
    EXPECT_TRUE(copy.StrictDelimiter());
    copy.Put(0, QStringLiteral("C"));
    EXPECT_FALSE(copy.Equals(&list));

    TStringList* none = nullptr;
    EXPECT_FALSE(list.Equals(none));
    EXPECT_THROW(copy.Assign(nullptr), EConvertError);
}

TEST(Strings, BaseAlgorithmsWorkOverAnyStorage)
{
    TWidgetLines lines;
    lines.SetText(QStringLiteral("one\ntwo\nthree"));
    lines.Put(0, QStringLiteral("ONE"));
    lines.Move(2, 0);
    lines.Exchange(1, 2);
    EXPECT_EQ(lines.lines, Lines({"three", "two", "ONE"}));
    EXPECT_EQ(lines.IndexOf(QStringLiteral("one")), 2);
    EXPECT_EQ(lines.Add(QStringLiteral("four")), 3);

    // One update bracket per outer operation, none for nested ones.
    lines.updateStates.clear();
    lines.BeginUpdate();
    lines.AddStrings(Lines({"x", "y"}));
    lines.EndUpdate();
    EXPECT_EQ(lines.updateStates, (QList<bool>{true, false}));

    TStringList copy;
    copy.Assign(&lines);
    EXPECT_EQ(copy.ToStringList(), lines.lines);
}

}  // namespace
}  // namespace tk
