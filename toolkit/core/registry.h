#pragma once
// The per-user part of the registry (HKEY_CURRENT_USER), kept in one file:
// ${XDG_CONFIG_HOME:-$HOME/.config}/toolkit/registry.reg, mode 0600 in a
// 0700 folder. The file lists one "[Key\Path]" section per key with lines
// "Name"="text" (backslash, quote, CR and LF escaped), "Name"=dword:0000000a
// and @= for the default value; damaged lines are skipped when reading.
//
// Key paths starting with "\" are absolute, others relative to the open key;
// key and value names compare without regard to case and keep the spelling
// they were first written with. Every change re-reads the file under an
// advisory lock and replaces it atomically, so processes sharing the store do
// not lose each other's values.
//
// Between BeginBatch and CommitBatch changes are kept in the object (its
// reads see them) and the commit applies all of them to the store as it is
// then, under the lock, with one atomic write; CancelBatch, or a failing
// commit, drops them and leaves the file whole.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace tk {

using HKEY = quint32;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;

struct RegistryStore;

// What a value holds (rdUnknown: there is no such value).
enum TRegDataType { rdUnknown, rdString, rdInteger };

class TRegistry {
public:
    TRegistry();
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Only HKEY_CURRENT_USER is stored. Under any other root no key exists,
    // OpenKey fails and writes raise ERegistryException. Closes the open key.
    HKEY RootKey() const { return rootKey_; }
    void SetRootKey(HKEY rootKey);

    // Makes key the current key. A missing key is created when canCreate,
    // otherwise OpenKey returns false and the current key stays.
    bool OpenKey(const QString& key, bool canCreate);
    // Opens an existing key for reading only: writes to it raise.
    bool OpenKeyReadOnly(const QString& key);
    // Returns to the root.
    void CloseKey();
    // The open key's path without leading "\" ("" at the root).
    const QString& CurrentPath() const { return currentPath_; }

    bool KeyExists(const QString& key) const;
    // Creates the key and its missing parents; true when it exists afterwards.
    bool CreateKey(const QString& key);
    // Deletes the key with all keys below it; false when it did not exist.
    bool DeleteKey(const QString& key);

    // Values of the current key. ReadString gives "" for a missing value;
    // ReadInteger and ReadBool raise ERegistryException ("Invalid data type
    // for 'Name'") for a missing value, and every read raises it for a value
    // of the other type. Booleans are stored as integers.
    QString ReadString(const QString& name) const;
    void WriteString(const QString& name, const QString& value);
    int ReadInteger(const QString& name) const;
    void WriteInteger(const QString& name, int value);
    bool ReadBool(const QString& name) const;
    void WriteBool(const QString& name, bool value);
    bool ValueExists(const QString& name) const;
    TRegDataType GetDataType(const QString& name) const;
    bool DeleteValue(const QString& name);
    // Fill the list with the current key's value names (file order) or the
    // names of the keys right below it (sorted without regard to case).
    void GetValueNames(QStringList& names) const;
    void GetKeyNames(QStringList& names) const;

    // A batch of changes (see the top of this header); batches do not nest
    // (BeginBatch inside one raises ERegistryException). CommitBatch raises
    // ERegistryException when the store cannot be written, the batch being
    // dropped; it does nothing without a batch or without changes.
    void BeginBatch();
    void CommitBatch();
    void CancelBatch() noexcept;
    bool InBatch() const { return batch_ != nullptr; }

    // The store file. SetStorePath overrides it for the whole process (tests
    // point it into a temporary folder; an empty path removes the override);
    // without an override the environment variable KS_REGISTRY_FILE decides,
    // then the per-user default.
    static void SetStorePath(const QString& path);
    static QString StorePath();

private:
    bool IsStored() const { return rootKey_ == HKEY_CURRENT_USER; }
    // The absolute path (without leading "\") that key names.
    QString ResolvePath(const QString& key) const;
    // A change of the store; true when it changed something. Changes are
    // replayed at a batch's commit, so they capture what they need by value.
    using Change = std::function<bool(RegistryStore&)>;
    struct Batch;

    // The store as now on disk, re-parsed only when the file changed; inside
    // a batch, with the batch's changes.
    const RegistryStore& Load() const;
    // Applies change to the store as now on disk, under the store's lock, and
    // writes the result when change reports a change. Raises
    // ERegistryException with failureMessage when the store cannot be
    // locked, read or written. Inside a batch it only records the change.
    bool Modify(const Change& change, const QString& failureMessage);
    void CheckWritable(const QString& name) const;

    HKEY rootKey_ = HKEY_CURRENT_USER;
    QString currentPath_;
    bool readOnly_ = false;
    // The last store read, by the file's path and bytes.
    mutable std::unique_ptr<RegistryStore> store_;
    mutable QString loadedPath_;
    mutable QByteArray loadedBytes_;
    std::unique_ptr<Batch> batch_;
};

}  // namespace tk
