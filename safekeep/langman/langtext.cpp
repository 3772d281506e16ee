#include "safekeep/langman/langtext.h"

#include <QList>
#include <QStringView>
#include <algorithm>

namespace safekeep {

QString DecodeLangText(const QString& text)
{
    if (!text.contains(QLatin1Char('\\')))
        return text;  // most texts: no escape, and no copy
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

// Index of the last "*" or "?" among the first length characters of text,
// plus one (the position as text operations count them); 0 when there is
// none.
qsizetype LastWildcard(QStringView text, qsizetype length)
{
    for (qsizetype i = length; i > 0; --i) {
        const QChar c = text[i - 1];
        if (c == QLatin1Char('*') || c == QLatin1Char('?'))
            return i;
    }
    return 0;
}

// text from index on, nothing when index is at or past its end.
QStringView From(QStringView text, qsizetype index)
{
    return index >= text.size() ? QStringView() : text.sliced(index);
}

}  // namespace

QString ApplyMessageTemplate(const QString& message, const QString& pattern, const QString& translation)
{
    // The pairing works from the right and only ever cuts the ends off the
    // message, the pattern and the template, so each is kept as the length
    // of what is left of it; the pieces of the result are collected from the
    // right and joined once. Cutting copies instead would make a pattern of
    // thousands of wildcards take time quadratic in its length.
    const QStringView s(message);
    const QStringView p(pattern);
    const QStringView t(translation);
    qsizetype sLength = s.size();
    qsizetype pLength = p.size();
    qsizetype tLength = t.size();
    QList<QStringView> pieces;  // right to left
    qsizetype k = LastWildcard(t, tLength);
    while (k > 0) {
        // The template's text after its last wildcard goes to the result.
        pieces.append(From(t.first(tLength), k));
        tLength = k - 1;
        // The pattern's text after its last wildcard is the end of the
        // message: drop it from both.
        qsizetype m = LastWildcard(p, pLength);
        sLength = std::max<qsizetype>(sLength - (pLength - m), 0);
        pLength = std::max<qsizetype>(m - 1, 0);
        k = LastWildcard(t, tLength);
        if (k == 0) {
            // The template's first wildcard takes what is left after the
            // pattern's head.
            pieces.append(From(s.first(sLength), pLength));
        } else {
            // This wildcard takes the message's text after the last
            // occurrence of the pattern's literal before its wildcard, found
            // in any letter case as the pattern matched. A literal that is
            // not there still cuts the message by its length.
            m = LastWildcard(p, pLength);
            const QStringView literal = p.sliced(m, pLength - m);
            const qsizetype found =
                literal.isEmpty() ? -1 : s.first(sLength).lastIndexOf(literal, -1, Qt::CaseInsensitive);
            const qsizetype end = found + 1 + literal.size();  // 1-based position after it
            pieces.append(From(s.first(sLength), std::max<qsizetype>(end, 1) - 1));
            sLength = std::clamp<qsizetype>(end - 1, 0, sLength);
        }
    }
    qsizetype size = tLength;
    for (const QStringView piece : pieces)
        size += piece.size();
    QString result;
    result.reserve(size);
    result += t.first(tLength);
    for (qsizetype i = pieces.size() - 1; i >= 0; --i)
        result += pieces[i];
    return result;
}

}  // namespace safekeep
