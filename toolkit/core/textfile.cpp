#include "toolkit/core/textfile.h"

#include "toolkit/core/codepage.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"

namespace tk {

namespace {

const QByteArray kUtf8Bom("\xEF\xBB\xBF");
const QByteArray kUtf16LEBom("\xFF\xFE");
const QByteArray kUtf16BEBom("\xFE\xFF");

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF,
// no truncated sequences.
bool IsValidUtf8(const QByteArray& bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char lead = *p;
        int continuation = 0;
        unsigned char low = 0x80;  // allowed range of the second byte
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            ++p;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            continuation = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            continuation = 2;
            if (lead == 0xE0)
                low = 0xA0;  // overlong
            if (lead == 0xED)
                high = 0x9F;  // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            continuation = 3;
            if (lead == 0xF0)
                low = 0x90;  // overlong
            if (lead == 0xF4)
                high = 0x8F;  // above U+10FFFF
        } else {
            return false;
        }
        if (end - p <= continuation)
            return false;
        if (p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i <= continuation; ++i) {
            if (p[i] < 0x80 || p[i] > 0xBF)
                return false;
        }
        p += continuation + 1;
    }
    return true;
}

QString DecodeUtf16(const QByteArray& bytes, qsizetype start, bool bigEndian)
{
    QString text;
    text.reserve((bytes.size() - start) / 2 + 1);
    qsizetype i = start;
    for (; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        text.append(QChar(bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first)));
    }
    if (i < bytes.size())
        text.append(QChar(QChar::ReplacementCharacter));  // odd trailing byte
    return text;
}

QByteArray EncodeUtf16(const QString& text, bool bigEndian)
{
    QByteArray bytes = bigEndian ? kUtf16BEBom : kUtf16LEBom;
    bytes.reserve(bytes.size() + text.size() * 2);
    for (QChar c : text) {
        const char high = static_cast<char>(c.unicode() >> 8);
        const char low = static_cast<char>(c.unicode() & 0xFF);
        bytes.append(bigEndian ? high : low);
        bytes.append(bigEndian ? low : high);
    }
    return bytes;
}

}  // namespace

TDecodedText DecodeText(const QByteArray& bytes)
{
    if (bytes.startsWith(kUtf8Bom))
        return {QString::fromUtf8(bytes.constData() + 3, bytes.size() - 3), teUtf8Bom};
    if (bytes.startsWith(kUtf16LEBom))
        return {DecodeUtf16(bytes, 2, false), teUtf16LE};
    if (bytes.startsWith(kUtf16BEBom))
        return {DecodeUtf16(bytes, 2, true), teUtf16BE};
    if (!IsAscii(bytes) && IsValidUtf8(bytes))
        return {QString::fromUtf8(bytes), teUtf8};
    return {DecodeLegacy(bytes), teLegacy};
}

QByteArray EncodeText(const QString& text, TTextEncoding encoding)
{
    switch (encoding) {
    case teLegacy:
        return EncodeLegacy(text);
    case teUtf8:
        return text.toUtf8();
    case teUtf8Bom:
        return kUtf8Bom + text.toUtf8();
    case teUtf16LE:
        return EncodeUtf16(text, false);
    case teUtf16BE:
        return EncodeUtf16(text, true);
    }
    return EncodeLegacy(text);
}

TDecodedText ReadTextFile(const QString& path)
{
    QByteArray bytes;
    if (!ReadFileBytes(path, bytes))
        throw EInOutError(
            QStringLiteral("Cannot open file \"%1\". %2").arg(path, SysErrorMessage(LastFileError())));
    return DecodeText(bytes);
}

void WriteTextFile(const QString& path, const QStringList& lines, TTextEncoding encoding,
                   const QString& lineBreak)
{
    QString text;
    for (const QString& line : lines)
        text += line + lineBreak;
    if (!WriteFileAtomic(path, EncodeText(text, encoding)))
        throw EInOutError(
            QStringLiteral("Cannot create file \"%1\". %2").arg(path, SysErrorMessage(LastFileError())));
}

QStringList SplitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines.append(text.mid(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < size && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

QString JoinLines(const QStringList& lines, const QString& lineBreak)
{
    QString text;
    for (const QString& line : lines)
        text += line + lineBreak;
    return text;
}

}  // namespace tk
