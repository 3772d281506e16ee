#include "toolkit/core/textutils.h"

namespace tk {

namespace {

bool IsTrimmed(QChar c)
{
    return c.unicode() <= ' ';
}

}  // namespace

QString Trim(const QString& text)
{
    return TrimLeft(TrimRight(text));
}

QString TrimLeft(const QString& text)
{
    qsizetype start = 0;
    while (start < text.size() && IsTrimmed(text[start]))
        ++start;
    return text.mid(start);
}

QString TrimRight(const QString& text)
{
    qsizetype end = text.size();
    while (end > 0 && IsTrimmed(text[end - 1]))
        --end;
    return text.left(end);
}

int CompareText(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive);
}

bool SameText(const QString& a, const QString& b)
{
    return CompareText(a, b) == 0;
}

QString UpperCase(const QString& text)
{
    return text.toUpper();
}

QString LowerCase(const QString& text)
{
    return text.toLower();
}

}  // namespace tk
