#pragma once
// INI files with Windows semantics, shared with programs on Windows:
// sections and keys compare without regard to case, values are taken
// verbatim (everything after the first "=", blanks around key and value
// trimmed), and a write changes only the lines it must: comments, blank
// lines, order and every other line stay byte for byte, in the encoding the
// file was read in (a new file gets the legacy code page), with CR LF breaks.
//
// Every write goes to disk at once through an atomic replace, and every call
// first re-reads the file when its content changed, so reads see what other
// programs wrote and writes do not undo it. A missing file reads as empty.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "toolkit/core/textfile.h"

namespace tk {

class TIniFile {
public:
    explicit TIniFile(const QString& fileName);

    const QString& FileName() const { return fileName_; }

    QString ReadString(const QString& section, const QString& key, const QString& defaultValue) const;
    // Updates the key's first line in place, or adds "key=value" after the
    // section's last key line, or adds the section at the end of the file.
    // Line breaks in the value cannot be kept in one line and become blanks.
    void WriteString(const QString& section, const QString& key, const QString& value);
    // Decimal, or hexadecimal with "0x" or "$"; the default when the value is
    // missing, not a number or out of range.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    void WriteInteger(const QString& section, const QString& key, int value);
    // ReadInteger(...) != 0; the default when the value is missing.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    // Writes "1" or "0".
    void WriteBool(const QString& section, const QString& key, bool value);

    // Fills the list with the section names, each once, in file order.
    void ReadSections(QStringList& sections) const;
    // Fills the list with the section's key names, each once, in file order.
    void ReadSection(const QString& section, QStringList& keys) const;
    // Fills the list with "key=value" for each key of the section.
    void ReadSectionValues(const QString& section, QStringList& values) const;
    // True when the section has at least one key (an empty section does not
    // count, as in the classic implementation).
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;
    // Removes the section (every occurrence) with all its lines.
    void EraseSection(const QString& section);
    // Removes the key's lines from the section.
    void DeleteKey(const QString& section, const QString& key);

private:
    // Lines [header, end) of a section: its header and everything up to the
    // next header.
    struct Span {
        qsizetype header;
        qsizetype end;
    };

    // Re-reads the file when its content changed; false when it exists but
    // cannot be read.
    bool Refresh() const;
    // Refresh before a change; a file that exists but cannot be read must not
    // be overwritten.
    void RefreshForWrite();
    void Save();
    [[noreturn]] void RaiseWriteError() const;

    std::optional<Span> FindSection(const QString& section) const;
    // Index of the first line of key inside span, or -1.
    qsizetype FindKey(const Span& span, const QString& key) const;

    QString fileName_;
    // The file as last read or written: its bytes, lines and encoding.
    mutable QByteArray loadedBytes_;
    mutable bool loaded_ = false;
    mutable QStringList lines_;
    mutable TTextEncoding encoding_ = teLegacy;
};

}  // namespace tk
