#pragma once
// Small text helpers with the classic meanings. Trimming removes blanks and
// control characters (code points up to the space), not other Unicode
// spaces; case-insensitive comparison and upper-casing follow Unicode.

#include <QString>

namespace tk {

QString Trim(const QString& text);
QString TrimLeft(const QString& text);
QString TrimRight(const QString& text);

// Case-insensitive comparison: negative, zero or positive.
int CompareText(const QString& a, const QString& b);
bool SameText(const QString& a, const QString& b);

QString UpperCase(const QString& text);
QString LowerCase(const QString& text);

}  // namespace tk
