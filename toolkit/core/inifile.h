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
// A write that fails leaves the file as it was and the object reading it
// again. Inside a batch (TCustomIniFile) the file is read once when the
// batch begins and written once at the commit.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

#include "toolkit/core/custominifile.h"
#include "toolkit/core/textfile.h"

namespace tk {

class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const QString& fileName);

    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const override;
    // Updates the key's first line in place, or adds "key=value" after the
    // section's last key line, or adds the section at the end of the file.
    // Line breaks in the value cannot be kept in one line and become blanks.
    // Raises EInOutError when the file cannot be read or written.
    void WriteString(const QString& section, const QString& key, const QString& value) override;

    // Section and key names in file order.
    void ReadSections(QStringList& sections) const override;
    void ReadSection(const QString& section, QStringList& keys) const override;
    using TCustomIniFile::ReadSectionValues;
    void ReadSectionValues(const QString& section, QStringList& values) const override;
    bool ValueExists(const QString& section, const QString& key) const override;
    // Removes the section (every occurrence) with all its lines.
    void EraseSection(const QString& section) override;
    // Removes the key's lines from the section.
    void DeleteKey(const QString& section, const QString& key) override;

protected:
    void StartBatch() override;
    void WriteBatch() override;
    void DiscardBatch() noexcept override;

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
    // Writes the lines (inside a batch: only marks them for the commit).
    void Save();
    // Drops the view of the file, so the next call reads it again.
    void Forget() const;
    [[noreturn]] void RaiseWriteError() const;

    std::optional<Span> FindSection(const QString& section) const;
    // Index of the first line of key inside span, or -1.
    qsizetype FindKey(const Span& span, const QString& key) const;

    // The file as last read or written: its bytes, lines and encoding.
    mutable QByteArray loadedBytes_;
    mutable bool loaded_ = false;
    mutable QStringList lines_;
    mutable TTextEncoding encoding_ = teLegacy;
    // Lines changed inside the batch, to be written at its commit.
    bool batchChanged_ = false;
};

}  // namespace tk
