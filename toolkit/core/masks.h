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
    // One character of the name: "?", a literal or a set. "*" is not a
    // token; it separates the runs of tokens.
    struct Token {
        enum Kind { Literal, AnyChar, Set } kind;
        bool negated = false;  // "[!...]"
        char32_t literal = 0;  // case-folded
        // The set's ranges in ranges_: sorted, merged, case-folded bounds.
        qsizetype firstRange = 0;
        qsizetype rangeCount = 0;
    };
    // Tokens [begin, end) between two "*" (or an end of the mask).
    struct Run {
        qsizetype begin;
        qsizetype end;
    };

    void AddSet(Token& token, QList<Range> ranges);
    bool MatchesToken(const Token& token, char32_t folded) const;
    bool MatchesRunAt(const Run& run, std::u32string_view folded, qsizetype at) const;

    QList<Token> tokens_;
    QList<Range> ranges_;
    // runs_ holds one run more than the mask has "*" (consecutive ones
    // counting once): the first is fixed to the name's start and, when
    // there is a "*", the last to its end.
    QList<Run> runs_;
};

// True when name matches mask (see TMask).
bool MatchesMask(const QString& name, const QString& mask);

}  // namespace tk
