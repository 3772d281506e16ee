#pragma once
// TRegistryIniFile: INI-style settings kept in the per-user registry
// (registry.h). The object names a key path ("\Software\Maker\Program");
// each section is a sub-key of it and each "key=value" a value of that
// sub-key, so "[Form1.Grid1] Columns=3" is the value "Columns" of the key
// "\Software\Maker\Program\Form1.Grid1". A section name containing "\"
// names a deeper key.
//
// Strings are stored as strings; WriteInteger and WriteBool store integers,
// which ReadString reads as their decimal text. Every write outside a batch
// is one atomic write of the store; a batch is the registry's own batch.
// Errors of the store raise ERegistryException.

#include "toolkit/core/custominifile.h"
#include "toolkit/core/registry.h"

namespace tk {

class TRegistryIniFile : public TCustomIniFile {
public:
    // keyPath is taken from the root of the current user's keys, with or
    // without a leading "\".
    explicit TRegistryIniFile(const QString& keyPath);

    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue) const override;
    void WriteString(const QString& section, const QString& key, const QString& value) override;
    // An integer value as it is, a string value parsed as TCustomIniFile
    // does.
    int ReadInteger(const QString& section, const QString& key, int defaultValue) const override;
    void WriteInteger(const QString& section, const QString& key, int value) override;

    // The sub-keys of the key path, sorted without regard to case.
    void ReadSections(QStringList& sections) const override;
    // The section's value names (its default value, which INI files cannot
    // express, is left out).
    void ReadSection(const QString& section, QStringList& keys) const override;
    using TCustomIniFile::ReadSectionValues;
    void ReadSectionValues(const QString& section, QStringList& values) const override;
    bool ValueExists(const QString& section, const QString& key) const override;
    // Deletes the section's key with every key below it.
    void EraseSection(const QString& section) override;
    void DeleteKey(const QString& section, const QString& key) override;

protected:
    void StartBatch() override;
    void WriteBatch() override;
    void DiscardBatch() noexcept override;

private:
    QString SectionPath(const QString& section) const;
    // Opens the section's key for reading; false when it does not exist.
    bool OpenSection(const QString& section) const;
    // Runs a change of the store as one write: inside the caller's batch, or
    // in a batch of its own.
    void Change(const std::function<void()>& change);

    mutable TRegistry registry_;
};

}  // namespace tk
