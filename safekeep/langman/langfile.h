#pragma once
// One language file (".lng", ".lngu"): INI text with its own rules. Every
// line is trimmed and spaces around the first "=" removed; empty lines and
// lines starting with ";" are dropped; "[name]" opens a section (names
// compared case-insensitively, a repeated section continues the first);
// lines without "=" are kept, since the "messages" section is made of them.
//
// A file that is not text (NUL characters), has a section line without its
// closing "]", or a line longer than MaxLineLength is refused with an
// ELanguageFileError naming the file and the line.

#include "safekeep/langman/keyindex.h"
#include "toolkit/core/exceptions.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace safekeep {

TK_DECLARE_EXCEPTION(ELanguageFileError, tk::Exception)

struct TLangEntry {
    QString name;
    QString value;
};

class TLangFile {
public:
    static constexpr qsizetype MaxLineLength = 65536;
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    // Reads path (BOM, else UTF-8, else the legacy code page) and parses it.
    // Raises tk::EInOutError when it cannot be read, ELanguageFileError when
    // it is malformed.
    static TLangFile Load(const QString& path);
    static TLangFile Parse(const QString& text, const QString& fileName);

    // Section names in the order they first appear.
    QStringList SectionNames() const;
    // The "name=value" lines of a section, in file order.
    QList<TLangEntry> Entries(const QString& section) const;
    // The same of the section at position index of SectionNames(), for
    // walking every section without looking each up by name.
    QList<TLangEntry> SectionEntries(qsizetype index) const;
    // Every kept line of a section, in file order.
    QStringList Lines(const QString& section) const;

    // The first value of key in section (case-insensitive); def when absent.
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // The value as a decimal or "0x" hexadecimal integer; def when absent or
    // not a number.
    int ReadInteger(const QString& section, const QString& key, int def) const;

private:
    struct Section {
        QString name;
        QStringList lines;
    };
    const Section* Find(const QString& section) const;

    QList<Section> sections_;
    // Rows of sections_ by name: files of tens of thousands of sections are
    // read without searching the sections once per line.
    TKeyIndex index_;
};

}  // namespace safekeep
