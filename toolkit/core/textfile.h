#pragma once
// Text files as peers on Windows write them: with a byte-order mark
// (UTF-8, UTF-16), as plain UTF-8, or in the legacy code page.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace tk {

enum TTextEncoding { teLegacy, teUtf8, teUtf8Bom, teUtf16LE, teUtf16BE };

struct TDecodedText {
    QString text;
    TTextEncoding encoding = teLegacy;
};

// Detects the encoding and decodes: a byte-order mark decides first; without
// one, bytes that are strictly valid UTF-8 and not plain ASCII are UTF-8;
// everything else (plain ASCII included, so that such files stay in the
// legacy code page when written back) is the legacy code page.
TDecodedText DecodeText(const QByteArray& bytes);
// The bytes of text in encoding, with the byte-order mark for teUtf8Bom and
// both UTF-16 encodings.
QByteArray EncodeText(const QString& text, TTextEncoding encoding);

// Reads and decodes a file; raises EInOutError naming the file when it
// cannot be read.
TDecodedText ReadTextFile(const QString& path);
// Writes every line followed by lineBreak, atomically (WriteFileAtomic);
// raises EInOutError naming the file when it cannot be written.
void WriteTextFile(const QString& path, const QStringList& lines, TTextEncoding encoding,
                   const QString& lineBreak = QStringLiteral("\r\n"));

// Splits text at CR LF, LF and lone CR. A line break at the very end does not
// add an empty last line.
QStringList SplitLines(const QString& text);
// Joins lines with lineBreak after every line (also after the last one).
QString JoinLines(const QStringList& lines, const QString& lineBreak = QStringLiteral("\r\n"));

}  // namespace tk
