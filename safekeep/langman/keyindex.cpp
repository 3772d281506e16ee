#include "safekeep/langman/keyindex.h"

#include <QChar>

namespace safekeep {

QString TKeyIndex::Folded(const QString& key)
{
    // Code point by code point, as the case-insensitive comparison folds;
    // an unpaired surrogate stays as it is. ASCII, most of any language
    // file, is folded here without asking the Unicode tables.
    const qsizetype size = key.size();
    QString folded(size, Qt::Uninitialized);
    const QChar* in = key.constData();
    QChar* out = folded.data();
    qsizetype length = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = in[i].unicode();
        if (c < 0x80) {
            out[length++] = QChar(c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < size && in[i + 1].isLowSurrogate()) {
            const char32_t code = QChar::toCaseFolded(QChar::surrogateToUcs4(c, in[i + 1].unicode()));
            if (QChar::requiresSurrogates(code)) {
                out[length++] = QChar(QChar::highSurrogate(code));
                out[length++] = QChar(QChar::lowSurrogate(code));
            } else {
                out[length++] = QChar(char16_t(code));
            }
            ++i;
        } else {
            out[length++] = in[i].toCaseFolded();
        }
    }
    folded.truncate(length);
    return folded;
}

qsizetype TKeyIndex::Find(const QString& key) const
{
    return rows_.value(Folded(key), -1);
}

qsizetype TKeyIndex::Add(const QString& key, qsizetype row)
{
    // One lookup: operator[] adds the key when it is new, which the count
    // tells.
    const qsizetype count = rows_.size();
    qsizetype& kept = rows_[Folded(key)];
    if (rows_.size() != count)
        kept = row;
    return kept;
}

}  // namespace safekeep
