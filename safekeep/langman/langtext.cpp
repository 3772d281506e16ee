#include "safekeep/langman/langtext.h"

#include <algorithm>

namespace safekeep {

QString DecodeLangText(const QString& text)
{
    QString result = text;
    result.replace(QLatin1String("\\n"), QLatin1String("\r\n"));
    result.replace(QLatin1String("\\t"), QLatin1String("\t"));
    return result;
}

QString _ECodeText(const QString& text)
{
    QString result = text;
    result.replace(QLatin1String("\r\n"), QLatin1String("\\n"));
    result.replace(QLatin1String("\t"), QLatin1String("\\t"));
    return result;
}

namespace {

// The pairing below is written with 1-based positions, as text operations
// count them; these helpers clamp like those operations do: a copy that
// starts beyond the end gives nothing, a negative count gives nothing.

// 1-based position of the last "*" or "?" in text; 0 when there is none.
qsizetype LastWildcard(const QString& text)
{
    for (qsizetype i = text.size(); i > 0; --i) {
        const QChar c = text[i - 1];
        if (c == QLatin1Char('*') || c == QLatin1Char('?'))
            return i;
    }
    return 0;
}

// The text from 1-based position onwards.
QString From(const QString& text, qsizetype position)
{
    const qsizetype index = std::max<qsizetype>(position, 1) - 1;
    return index >= text.size() ? QString() : text.mid(index);
}

// The first count characters.
QString Head(const QString& text, qsizetype count)
{
    return text.left(std::clamp<qsizetype>(count, 0, text.size()));
}

// Without its last count characters.
QString DropTail(const QString& text, qsizetype count)
{
    return Head(text, text.size() - std::max<qsizetype>(count, 0));
}

// 1-based position of the last occurrence of what in text; 0 when what is
// empty or absent. The pattern matched case-insensitively, so its literal
// parts are found the same way.
qsizetype LastPos(const QString& what, const QString& text)
{
    if (what.isEmpty())
        return 0;
    return text.lastIndexOf(what, -1, Qt::CaseInsensitive) + 1;
}

}  // namespace

QString ApplyMessageTemplate(const QString& message, const QString& pattern, const QString& translation)
{
    QString result;
    QString s = message;
    QString p = pattern;
    QString t = translation;
    qsizetype k = LastWildcard(t);
    while (k > 0) {
        // The template's text after its last wildcard goes to the result.
        result = From(t, k + 1) + result;
        t = Head(t, k - 1);
        // The pattern's text after its last wildcard is the end of the
        // message: drop it from both.
        qsizetype m = LastWildcard(p);
        s = DropTail(s, p.size() - m);
        p = Head(p, m - 1);
        k = LastWildcard(t);
        if (k == 0) {
            // The template's first wildcard takes what is left after the
            // pattern's head.
            s = From(s, p.size() + 1);
            result = s + result;
        } else {
            // This wildcard takes the message's text after the last
            // occurrence of the pattern's literal before its wildcard.
            m = LastWildcard(p);
            const QString literal = From(p, m + 1);
            const qsizetype q = LastPos(literal, s);
            result = From(s, q + literal.size()) + result;
            s = Head(s, q + literal.size() - 1);
        }
    }
    return t + result;
}

}  // namespace safekeep
