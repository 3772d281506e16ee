#include "toolkit/core/codepage.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSysInfo>
#include <cerrno>
#include <iconv.h>

namespace tk {

namespace {

constexpr const char* kNativeUtf16 = QSysInfo::ByteOrder == QSysInfo::LittleEndian ? "UTF-16LE" : "UTF-16BE";

QMutex codePageMutex;
QByteArray codePage = "WINDOWS-1252";
// Whether the code page reads bytes 0x00-0x7F as ASCII, as Windows-1252
// and the ISO sets do (some East Asian ones read 0x5C as the yen sign).
bool codePageKeepsAscii = true;

QByteArray CurrentCodePage()
{
    QMutexLocker lock(&codePageMutex);
    return codePage;
}

bool CurrentCodePageKeepsAscii()
{
    QMutexLocker lock(&codePageMutex);
    return codePageKeepsAscii;
}


// One iconv conversion descriptor, closed with its owner. Opened per call so
// that threads never share conversion state.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (IsValid())
            iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsValid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t Handle() const { return cd_; }

private:
    iconv_t cd_;
};

QString Decode(const QByteArray& bytes, const QByteArray& from)
{
    Converter converter(kNativeUtf16, from.constData());
    if (!converter.IsValid())
        return QString::fromLatin1(bytes);
    QString result;
    result.reserve(bytes.size());
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char16_t buffer[2048];
    while (inLeft > 0) {
        char* out = reinterpret_cast<char*>(buffer);
        size_t outLeft = sizeof(buffer);
        const size_t rc = iconv(converter.Handle(), &in, &inLeft, &out, &outLeft);
        const int error = errno;
        result.append(QStringView(buffer, (out - reinterpret_cast<char*>(buffer)) / 2));
        if (rc != static_cast<size_t>(-1) || error == E2BIG)
            continue;
        // EILSEQ: a byte the code page does not define; EINVAL: a multibyte
        // sequence cut short at the end. Either way one byte is skipped.
        const auto byte = static_cast<unsigned char>(*in);
        if (error == EILSEQ && byte >= 0x80 && byte <= 0x9f)
            result.append(QChar(byte));
        else
            result.append(QChar(QChar::ReplacementCharacter));
        ++in;
        --inLeft;
    }
    char* out = reinterpret_cast<char*>(buffer);
    size_t outLeft = sizeof(buffer);
    iconv(converter.Handle(), nullptr, nullptr, &out, &outLeft);
    result.append(QStringView(buffer, (out - reinterpret_cast<char*>(buffer)) / 2));
    return result;
}

// True when the control character c (U+0080-U+009F) stands for an undefined
// byte of the code page, which Decode maps to the same number.
bool IsUndefinedByteOf(char16_t c, const QByteArray& codePageName)
{
    return Decode(QByteArray(1, static_cast<char>(c)), codePageName) == QString(QChar(c));
}

QByteArray Encode(const QString& text, const QByteArray& to)
{
    Converter converter(to.constData(), kNativeUtf16);
    if (!converter.IsValid())
        return text.toLatin1();
    QByteArray result;
    result.reserve(text.size());
    const char16_t* units = reinterpret_cast<const char16_t*>(text.utf16());
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(units));
    size_t inLeft = static_cast<size_t>(text.size()) * 2;
    char buffer[4096];
    while (inLeft > 0) {
        char* out = buffer;
        size_t outLeft = sizeof(buffer);
        const size_t rc = iconv(converter.Handle(), &in, &inLeft, &out, &outLeft);
        const int error = errno;
        result.append(buffer, out - buffer);
        if (rc != static_cast<size_t>(-1) || error == E2BIG)
            continue;
        // A character the code page cannot hold (or a lone surrogate).
        const qsizetype index = reinterpret_cast<const char16_t*>(in) - units;
        const char16_t unit = units[index];
        qsizetype length = 1;
        if (QChar::isHighSurrogate(unit) && index + 1 < text.size() &&
            QChar::isLowSurrogate(units[index + 1]))
            length = 2;
        if (unit >= 0x80 && unit <= 0x9f && IsUndefinedByteOf(unit, to))
            result.append(static_cast<char>(unit));
        else
            result.append('?');
        in += length * 2;
        inLeft -= static_cast<size_t>(length) * 2;
    }
    // Stateful code pages end in their initial shift state.
    char* out = buffer;
    size_t outLeft = sizeof(buffer);
    iconv(converter.Handle(), nullptr, nullptr, &out, &outLeft);
    result.append(buffer, out - buffer);
    return result;
}

}  // namespace

bool IsAscii(const QByteArray& bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

QString LegacyCodePage()
{
    return QString::fromLatin1(CurrentCodePage());
}

bool SetLegacyCodePage(const QString& name)
{
    const QByteArray latin = name.trimmed().toUpper().toLatin1();
    if (latin.isEmpty())
        return false;
    Converter toText(kNativeUtf16, latin.constData());
    Converter fromText(latin.constData(), kNativeUtf16);
    if (!toText.IsValid() || !fromText.IsValid())
        return false;
    QByteArray ascii(128, '\0');
    for (int byte = 0; byte < 128; ++byte)
        ascii[byte] = char(byte);
    const bool keepsAscii = Decode(ascii, latin) == QString::fromLatin1(ascii);
    QMutexLocker lock(&codePageMutex);
    codePage = latin;
    codePageKeepsAscii = keepsAscii;
    return true;
}

QString DecodeLegacy(const QByteArray& bytes)
{
    // Most files exchanged with peers are plain ASCII; they need no iconv.
    if (CurrentCodePageKeepsAscii() && IsAscii(bytes))
        return QString::fromLatin1(bytes);
    return Decode(bytes, CurrentCodePage());
}

QByteArray EncodeLegacy(const QString& text)
{
    return Encode(text, CurrentCodePage());
}

}  // namespace tk
