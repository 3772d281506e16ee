#pragma once
// File-name masks as users type them: "*" matches any run of characters
// (also none), "?" exactly one character, "[set]" one character of a set
// with ranges ("[a-z]") or outside it ("[!a-z]"). Matching ignores case and
// counts characters, not UTF-16 units. A "[" without a closing "]" stands
// for itself, so a mistyped mask still matches the literal name.

#include <QList>
#include <QString>

namespace tk {

// A mask parsed once and matched against many names (file searches).
class TMask {
public:
    explicit TMask(const QString& mask);

    bool Matches(const QString& name) const;

private:
    struct Range {
        char32_t first;
        char32_t last;
    };
    struct Token {
        enum Kind { Literal, AnyChar, AnyRun, Set } kind;
        char32_t literal = 0;  // case-folded
        bool negated = false;  // "[!...]"
        QList<Range> ranges;   // case-folded bounds
    };

    bool MatchesToken(const Token& token, char32_t folded) const;

    QList<Token> tokens_;
};

// True when name matches mask (see TMask).
bool MatchesMask(const QString& name, const QString& mask);

}  // namespace tk
