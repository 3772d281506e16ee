#pragma once
// TCustomIniFile: what INI-style settings stores have in common, so that
// code saving settings (a grid's layout) works on an INI file (TIniFile) or
// on registry keys (TRegistryIniFile) alike. A store holds sections of
// "key=value" pairs; section and key names compare without regard to case.
//
// Batches. Every write outside a batch reaches the store at once. Between
// BeginBatch and CommitBatch writes only change the object's view (reads
// see them) and the commit puts all of them into the store with one atomic
// write; CancelBatch, or a commit whose write fails, drops them and the store
// keeps its previous content whole. "Erase the section, write its N values"
// in a batch thus never leaves a half-written section behind:
//
//     tk::TIniBatch batch(ini);
//     ini.EraseSection(section);
//     for (const QString& line : lines)
//         ini.WriteString(section, line.section('=', 0, 0), line.section('=', 1));
//     batch.Commit();  // an exception before this line cancels the batch
//
// A batch works on the store as it was when the batch began (TIniFile) or
// replays its changes on the store as it is at the commit (TRegistryIniFile,
// whose store other processes share).

#include <QString>
#include <QStringList>

namespace tk {

class TStrings;

class TCustomIniFile {
public:
    explicit TCustomIniFile(const QString& fileName);
    virtual ~TCustomIniFile();
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    // The file's path, or the registry key path.
    const QString& FileName() const { return fileName_; }

    virtual QString ReadString(const QString& section, const QString& key,
                               const QString& defaultValue) const = 0;
    virtual void WriteString(const QString& section, const QString& key, const QString& value) = 0;
    // Decimal, or hexadecimal with "0x" or "$"; the default when the value is
    // missing, not a number or out of range.
    virtual int ReadInteger(const QString& section, const QString& key, int defaultValue) const;
    virtual void WriteInteger(const QString& section, const QString& key, int value);
    // ReadInteger(...) != 0; the default when the value is missing.
    bool ReadBool(const QString& section, const QString& key, bool defaultValue) const;
    // WriteInteger with 1 or 0.
    void WriteBool(const QString& section, const QString& key, bool value);

    // Fills the list with the section names, each once.
    virtual void ReadSections(QStringList& sections) const = 0;
    // Fills the list with the section's key names, each once.
    virtual void ReadSection(const QString& section, QStringList& keys) const = 0;
    // Fills the list with "key=value" for each key of the section.
    virtual void ReadSectionValues(const QString& section, QStringList& values) const = 0;
    // The same into a string list, replaced as a whole inside one
    // BeginUpdate/EndUpdate of the list.
    void ReadSectionValues(const QString& section, TStrings& values) const;
    // True when the section has at least one key (an empty section does not
    // count).
    virtual bool SectionExists(const QString& section) const;
    virtual bool ValueExists(const QString& section, const QString& key) const;
    // Removes the section with all its keys; nothing when it is missing.
    virtual void EraseSection(const QString& section) = 0;
    virtual void DeleteKey(const QString& section, const QString& key) = 0;

    // Opens a batch (see the top of this header). Batches do not nest:
    // BeginBatch inside one raises EInvalidOperation. Raises as the store
    // does when it cannot be read.
    void BeginBatch();
    // Writes the batch's changes in one atomic write (nothing when there
    // were none) and closes the batch. When the write fails the batch is
    // dropped, the store keeps its old content, the object reads the store
    // again, and the store's error is raised. EInvalidOperation without a
    // batch.
    void CommitBatch();
    // Drops the batch's changes; nothing without a batch.
    void CancelBatch() noexcept;
    bool InBatch() const { return inBatch_; }

protected:
    // The store's side of a batch. StartBatch runs before InBatch turns
    // true; WriteBatch after it turned false (writes made there go to the
    // store), and on failure must leave the object as DiscardBatch would.
    virtual void StartBatch() = 0;
    virtual void WriteBatch() = 0;
    virtual void DiscardBatch() noexcept = 0;

    // The integer of a stored text, as ReadInteger reads it.
    static int IntegerFromText(const QString& text, int defaultValue);

private:
    QString fileName_;
    bool inBatch_ = false;
};

// A batch for the scope: begun when constructed, committed by Commit,
// cancelled when the scope ends without a commit (also by an exception).
class TIniBatch {
public:
    explicit TIniBatch(TCustomIniFile& ini);
    ~TIniBatch();
    TIniBatch(const TIniBatch&) = delete;
    TIniBatch& operator=(const TIniBatch&) = delete;

    // CommitBatch; once committed (or failed) the destructor does nothing.
    void Commit();

private:
    TCustomIniFile& ini_;
    bool open_ = true;
};

}  // namespace tk
