#include "toolkit/core/masks.h"

#include <QChar>

namespace tk {

namespace {

QList<char32_t> FoldedCharacters(const QString& text)
{
    QList<char32_t> result;
    for (char32_t c : text.toUcs4())
        result.append(QChar::toCaseFolded(c));
    return result;
}

}  // namespace

TMask::TMask(const QString& mask)
{
    const QList<char32_t> chars = FoldedCharacters(mask);
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const char32_t c = chars[i];
        Token token{Token::Literal, c, false, {}};
        if (c == U'*') {
            token.kind = Token::AnyRun;
        } else if (c == U'?') {
            token.kind = Token::AnyChar;
        } else if (c == U'[') {
            const qsizetype close = chars.indexOf(U']', i + 1);
            if (close >= 0) {
                token.kind = Token::Set;
                qsizetype j = i + 1;
                if (j < close && chars[j] == U'!') {
                    token.negated = true;
                    ++j;
                }
                // "a-z" is a range; a "-" first or last in the set is itself.
                for (; j < close; ++j) {
                    if (j + 2 < close && chars[j + 1] == U'-') {
                        token.ranges.append({chars[j], chars[j + 2]});
                        j += 2;
                    } else {
                        token.ranges.append({chars[j], chars[j]});
                    }
                }
                i = close;
            }
        }
        // Consecutive "*" behave as one.
        if (token.kind == Token::AnyRun && !tokens_.isEmpty() && tokens_.last().kind == Token::AnyRun)
            continue;
        tokens_.append(token);
    }
}

bool TMask::MatchesToken(const Token& token, char32_t folded) const
{
    switch (token.kind) {
    case Token::Literal:
        return token.literal == folded;
    case Token::AnyChar:
        return true;
    case Token::Set: {
        bool inSet = false;
        for (const Range& range : token.ranges) {
            if (folded >= range.first && folded <= range.last) {
                inSet = true;
                break;
            }
        }
        return inSet != token.negated;
    }
    case Token::AnyRun:
        break;
    }
    return false;
}

bool TMask::Matches(const QString& name) const
{
    const QList<char32_t> chars = FoldedCharacters(name);
    // Every token but "*" consumes exactly one character, so remembering the
    // last "*" and letting it absorb one more character on a mismatch finds
    // a match whenever one exists.
    qsizetype t = 0;
    qsizetype c = 0;
    qsizetype starToken = -1;
    qsizetype starChar = 0;
    while (c < chars.size()) {
        if (t < tokens_.size() && tokens_[t].kind == Token::AnyRun) {
            starToken = t++;
            starChar = c;
        } else if (t < tokens_.size() && MatchesToken(tokens_[t], chars[c])) {
            ++t;
            ++c;
        } else if (starToken >= 0) {
            t = starToken + 1;
            c = ++starChar;
        } else {
            return false;
        }
    }
    while (t < tokens_.size() && tokens_[t].kind == Token::AnyRun)
        ++t;
    return t == tokens_.size();
}

bool MatchesMask(const QString& name, const QString& mask)
{
    return TMask(mask).Matches(name);
}

}  // namespace tk
