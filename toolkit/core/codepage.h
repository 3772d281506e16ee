#pragma once
// The "legacy code page": the one 8-bit character set in which text files
// without a byte-order mark are exchanged with Windows peers. One setting for
// the whole process, default Windows-1252; conversion goes through iconv.

#include <QByteArray>
#include <QString>

namespace tk {

// The name of the legacy code page as iconv knows it ("WINDOWS-1252").
QString LegacyCodePage();
// Sets the legacy code page by any name iconv accepts ("CP1252",
// "ISO-8859-15"). An unknown name leaves the setting as it was and returns false.
bool SetLegacyCodePage(const QString& name);

// True when every byte is below 0x80.
bool IsAscii(const QByteArray& bytes);

// Bytes in the legacy code page to text. A byte the code page leaves
// undefined in 0x80-0x9F becomes the control character of the same number,
// as Windows reads it, so such files survive a read and write unchanged;
// other bytes that cannot be decoded become U+FFFD.
QString DecodeLegacy(const QByteArray& bytes);
// Text to the legacy code page. Every character the code page cannot hold
// becomes one "?" (a surrogate pair is one character).
QByteArray EncodeLegacy(const QString& text);

}  // namespace tk
