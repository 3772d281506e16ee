#pragma once
// File-name masks as users type them: "*" matches any run of characters
// (also none), "?" exactly one character, "[set]" one character of a set
// with ranges ("[a-z]") or outside it ("[!a-z]"). Matching ignores case and
// counts characters, not UTF-16 units. A "[" without a closing "]" stands
// for itself, so a mistyped mask still matches the literal name.
//
// Parsing takes time linear in the mask, and matching stays fast on masks
// made to be slow (message patterns come from language files): a mask
// needs at least as many characters as it has tokens other than "*", its
// head and tail are fixed to the name's ends, and each run between two
// "*" takes its leftmost place.

#include <QList>
#include <QString>
#include <string_view>

namespace tk {

// A mask parsed once and matched against many names (file searches).
class TMask {
public:
    explicit TMask(const QString& mask);

    bool Matches(const QString& name) const;
    // name as Matches compares it: one case-folded value per character. A
    // name matched against many masks is folded once.
    static QList<char32_t> Fold(const QString& name);
    bool MatchesFolded(std::u32string_view folded) const;

private:
    struct Range {
        char32_t first;
        char32_t last;
    };
    struct Set {
        bool negated;  // "[!...]"
        // The set's ranges in ranges_: sorted, merged, case-folded bounds.
        qsizetype firstRange;
        qsizetype rangeCount;
    };
    // Tokens [begin, end) between two "*" (or an end of the mask).
    struct Run {
        qsizetype begin;
        qsizetype end;
    };
    // A token takes one character of the name: below AnyChar it is a
    // case-folded literal, AnyChar is "?", and FirstSet + i is sets_[i].
    // "*" is no token; it separates the runs. Four bytes a token keep the
    // masks of a large language file small.
    static constexpr char32_t AnyChar = 0x110000;
    static constexpr char32_t FirstSet = AnyChar + 1;

    char32_t AddSet(bool negated, QList<Range> ranges);
    bool MatchesToken(char32_t token, char32_t folded) const;
    bool MatchesRunAt(const Run& run, std::u32string_view folded, qsizetype at) const;

    QList<char32_t> tokens_;
    QList<Set> sets_;
    QList<Range> ranges_;
    // runs_ holds one run more than the mask has "*" (consecutive ones
    // counting once): the first is fixed to the name's start and, when
    // there is a "*", the last to its end.
    QList<Run> runs_;
};

// True when name matches mask (see TMask).
bool MatchesMask(const QString& name, const QString& mask);

}  // namespace tk
