#include "toolkit/core/registry.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/core/textfile.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QMutex>
#include <QMutexLocker>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <unistd.h>

namespace tk {

// The parsed store: keys in file order, each with its values in file order.
struct RegistryStore {
    struct Value {
        QString name;  // "" is the default value, written as @
        bool isInteger = false;
        QString text;
        quint32 number = 0;
    };
    struct Key {
        QString path;  // without leading "\"; "" is the root
        QList<Value> values;
    };
    QList<Key> keys;
};

namespace {

using Store = RegistryStore;

QMutex storePathMutex;
QString storePathOverride;

bool SameName(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) == 0;
}

bool IsBelow(const QString& path, const QString& ancestor)
{
    return ancestor.isEmpty() ? !path.isEmpty()
                              : path.size() > ancestor.size() && path[ancestor.size()] == QLatin1Char('\\') &&
                                    path.startsWith(ancestor, Qt::CaseInsensitive);
}

QString NormalizedPath(const QString& path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\'));
}

qsizetype IndexOfKey(const Store& store, const QString& path)
{
    for (qsizetype i = 0; i < store.keys.size(); ++i) {
        if (SameName(store.keys[i].path, path))
            return i;
    }
    return -1;
}

// A key exists when it has a section or a key below it has one (files edited
// by hand need not list every parent); the root always exists.
bool KeyExistsIn(const Store& store, const QString& path)
{
    if (path.isEmpty() || IndexOfKey(store, path) >= 0)
        return true;
    return std::any_of(store.keys.begin(), store.keys.end(),
                       [&](const Store::Key& key) { return IsBelow(key.path, path); });
}

// path spelled as the store already spells it, as far as it does.
QString ExistingSpelling(const Store& store, const QString& path)
{
    for (const Store::Key& key : store.keys) {
        if (SameName(key.path, path) || IsBelow(key.path, path))
            return key.path.left(path.size());
    }
    return path;
}

// Creates the key at path and its missing parents; returns whether anything
// was created and the key's index.
bool EnsureKey(Store& store, const QString& path, qsizetype& index)
{
    bool created = false;
    QString spelled;
    const QStringList parts = path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        spelled = ExistingSpelling(store, spelled.isEmpty() ? part : spelled + QLatin1Char('\\') + part);
        if (IndexOfKey(store, spelled) < 0) {
            store.keys.append({spelled, {}});
            created = true;
        }
    }
    if (parts.isEmpty() && IndexOfKey(store, QString()) < 0) {
        store.keys.append({QString(), {}});
        created = true;
    }
    index = IndexOfKey(store, spelled);
    return created;
}

const Store::Value* FindValue(const Store& store, const QString& keyPath, const QString& name)
{
    const qsizetype index = IndexOfKey(store, keyPath);
    if (index < 0)
        return nullptr;
    for (const Store::Value& value : store.keys[index].values) {
        if (SameName(value.name, name))
            return &value;
    }
    return nullptr;
}

// Sets a value, keeping the spelling of an existing name.
void SetValue(Store::Key& key, Store::Value value)
{
    for (Store::Value& existing : key.values) {
        if (SameName(existing.name, value.name)) {
            value.name = existing.name;
            existing = value;
            return;
        }
    }
    key.values.append(value);
}

// --- The file format ---

QString Quoted(const QString& text)
{
    QString result = QStringLiteral("\"");
    for (QChar c : text) {
        if (c == QLatin1Char('\\'))
            result += QLatin1String("\\\\");
        else if (c == QLatin1Char('"'))
            result += QLatin1String("\\\"");
        else if (c == QLatin1Char('\n'))
            result += QLatin1String("\\n");
        else if (c == QLatin1Char('\r'))
            result += QLatin1String("\\r");
        else
            result += c;
    }
    return result + QLatin1Char('"');
}

// Reads a quoted, escaped string starting at line[pos] == '"' and moves pos
// past its closing quote. An unknown escape keeps its backslash.
std::optional<QString> ParseQuoted(const QString& line, qsizetype& pos)
{
    if (pos >= line.size() || line[pos] != QLatin1Char('"'))
        return std::nullopt;
    QString text;
    for (++pos; pos < line.size(); ++pos) {
        const QChar c = line[pos];
        if (c == QLatin1Char('"')) {
            ++pos;
            return text;
        }
        if (c != QLatin1Char('\\') || pos + 1 >= line.size()) {
            text += c;
            continue;
        }
        const QChar next = line[++pos];
        if (next == QLatin1Char('n'))
            text += QLatin1Char('\n');
        else if (next == QLatin1Char('r'))
            text += QLatin1Char('\r');
        else if (next == QLatin1Char('\\') || next == QLatin1Char('"'))
            text += next;
        else
            text += QLatin1Char('\\') + QString(next);
    }
    return std::nullopt;
}

void SkipBlanks(const QString& line, qsizetype& pos)
{
    while (pos < line.size() && (line[pos] == QLatin1Char(' ') || line[pos] == QLatin1Char('\t')))
        ++pos;
}

// One value line: ("Name" or @) = ("text" or dword:hex).
std::optional<Store::Value> ParseValueLine(const QString& line)
{
    Store::Value value;
    qsizetype pos = 0;
    if (line.startsWith(QLatin1Char('@'))) {
        pos = 1;
    } else {
        const std::optional<QString> name = ParseQuoted(line, pos);
        if (!name)
            return std::nullopt;
        value.name = *name;
    }
    SkipBlanks(line, pos);
    if (pos >= line.size() || line[pos] != QLatin1Char('='))
        return std::nullopt;
    ++pos;
    SkipBlanks(line, pos);
    if (line.mid(pos, 6).compare(QLatin1String("dword:"), Qt::CaseInsensitive) == 0) {
        const QString digits = line.mid(pos + 6).trimmed();
        bool ok = false;
        const uint number = digits.toUInt(&ok, 16);
        if (!ok || digits.isEmpty() || digits.size() > 8 || digits.startsWith(QLatin1Char('+')) ||
            digits.startsWith(QLatin1Char('-')))
            return std::nullopt;
        value.isInteger = true;
        value.number = number;
        return value;
    }
    const std::optional<QString> text = ParseQuoted(line, pos);
    SkipBlanks(line, pos);
    if (!text || pos != line.size())
        return std::nullopt;
    value.text = *text;
    return value;
}

Store Parse(const QString& text)
{
    Store store;
    qsizetype current = -1;
    for (const QString& rawLine : SplitLines(text)) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            // A damaged header also drops the values below it: they would
            // otherwise land in the wrong key.
            current = -1;
            if (!line.endsWith(QLatin1Char(']')))
                continue;
            const QString path = NormalizedPath(line.mid(1, line.size() - 2));
            current = IndexOfKey(store, path);
            if (current < 0) {
                store.keys.append({path, {}});
                current = store.keys.size() - 1;
            }
            continue;
        }
        if (current < 0)
            continue;
        if (const std::optional<Store::Value> value = ParseValueLine(line))
            SetValue(store.keys[current], *value);
    }
    return store;
}

QByteArray Serialize(const Store& store)
{
    QString text = QStringLiteral("; Per-user values of the toolkit's programs, one [key] section each.\n");
    for (const Store::Key& key : store.keys) {
        text += QLatin1String("\n[") + key.path + QLatin1String("]\n");
        for (const Store::Value& value : key.values) {
            text += value.name.isEmpty() ? QStringLiteral("@") : Quoted(value.name);
            text += QLatin1Char('=');
            if (value.isInteger)
                text += QStringLiteral("dword:%1").arg(value.number, 8, 16, QLatin1Char('0'));
            else
                text += Quoted(value.text);
            text += QLatin1Char('\n');
        }
    }
    return text.toUtf8();
}

// Holds an exclusive advisory lock on "<store>.lock" for a read-modify-write
// of the store. The store itself cannot carry the lock: it is replaced by
// rename on every write.
class StoreLock {
public:
    explicit StoreLock(const QString& storePath)
        : fd_(::open(QFile::encodeName(storePath + QLatin1String(".lock")).constData(),
                     O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
        while (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                error_ = errno;
                ::close(fd_);
                fd_ = -1;
                return;
            }
        }
        if (fd_ < 0 && error_ == 0)
            error_ = errno;
    }
    ~StoreLock()
    {
        if (fd_ >= 0)
            ::close(fd_);  // releases the lock
    }
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    bool IsLocked() const { return fd_ >= 0; }
    int Error() const { return error_; }

private:
    int fd_;
    int error_ = 0;
};

[[noreturn]] void RaiseStoreError(const QString& failureMessage, const QString& storePath, int error)
{
    throw ERegistryException(QStringLiteral("%1: cannot update \"%2\" (%3)")
                                 .arg(failureMessage, storePath, SysErrorMessage(error)));
}

[[noreturn]] void RaiseInvalidType(const QString& name)
{
    throw ERegistryException(QStringLiteral("Invalid data type for '%1'").arg(name));
}

}  // namespace

// The batch's view of the store and the changes that made it.
struct TRegistry::Batch {
    RegistryStore store;
    QList<Change> changes;
};

TRegistry::TRegistry() : store_(std::make_unique<RegistryStore>()) {}

TRegistry::~TRegistry() = default;

void TRegistry::SetRootKey(HKEY rootKey)
{
    CloseKey();
    rootKey_ = rootKey;
}

void TRegistry::SetStorePath(const QString& path)
{
    QMutexLocker lock(&storePathMutex);
    storePathOverride = path;
}

QString TRegistry::StorePath()
{
    {
        QMutexLocker lock(&storePathMutex);
        if (!storePathOverride.isEmpty())
            return storePathOverride;
    }
    const QString fromEnvironment = qEnvironmentVariable("KS_REGISTRY_FILE");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    QString configFolder = qEnvironmentVariable("XDG_CONFIG_HOME");
    // Only an absolute XDG_CONFIG_HOME counts, as the convention says.
    if (!configFolder.startsWith(QLatin1Char('/')))
        configFolder = QDir::homePath() + QLatin1String("/.config");
    return configFolder + QLatin1String("/toolkit/registry.reg");
}

QString TRegistry::ResolvePath(const QString& key) const
{
    if (key.startsWith(QLatin1Char('\\')) || currentPath_.isEmpty())
        return NormalizedPath(key);
    return NormalizedPath(currentPath_ + QLatin1Char('\\') + key);
}

const RegistryStore& TRegistry::Load() const
{
    if (batch_)
        return batch_->store;
    const QString path = StorePath();
    QByteArray bytes;
    // An unreadable store reads as empty; only writes must not go ahead.
    ReadFileBytes(path, bytes);
    if (path != loadedPath_ || bytes != loadedBytes_) {
        *store_ = Parse(DecodeText(bytes).text);
        loadedPath_ = path;
        loadedBytes_ = bytes;
    }
    return *store_;
}

bool TRegistry::Modify(const Change& change, const QString& failureMessage)
{
    if (batch_) {
        if (!change(batch_->store))
            return false;
        batch_->changes.append(change);
        return true;
    }
    const QString path = StorePath();
    const QString folder = ExtractFilePath(path);
    if (!folder.isEmpty() && !ForceDirectories(folder, 0700))
        RaiseStoreError(failureMessage, path, LastFileError());
    const StoreLock lock(path);
    if (!lock.IsLocked())
        RaiseStoreError(failureMessage, path, lock.Error());
    QByteArray bytes;
    if (!ReadFileBytes(path, bytes) && LastFileError() != ENOENT)
        RaiseStoreError(failureMessage, path, LastFileError());
    Store store = Parse(DecodeText(bytes).text);
    if (!change(store))
        return false;
    const QByteArray written = Serialize(store);
    if (!WriteFileAtomic(path, written, 0600))
        RaiseStoreError(failureMessage, path, LastFileError());
    *store_ = std::move(store);
    loadedPath_ = path;
    loadedBytes_ = written;
    return true;
}

void TRegistry::BeginBatch()
{
    if (batch_)
        throw ERegistryException(QStringLiteral("A registry batch is already open"));
    auto batch = std::make_unique<Batch>();
    batch->store = Load();
    batch_ = std::move(batch);
}

void TRegistry::CommitBatch()
{
    const std::unique_ptr<Batch> batch = std::move(batch_);
    if (!batch || batch->changes.isEmpty())
        return;
    // Replayed on the store as it is now, so values other processes wrote
    // since the batch began are kept.
    Modify(
        [&batch](Store& store) {
            bool changed = false;
            for (const Change& change : std::as_const(batch->changes))
                changed = change(store) || changed;
            return changed;
        },
        QStringLiteral("Failed to write the batched changes"));
}

void TRegistry::CancelBatch() noexcept
{
    batch_.reset();
}

void TRegistry::CheckWritable(const QString& name) const
{
    if (!IsStored() || readOnly_)
        throw ERegistryException(QStringLiteral("Failed to set data for '%1'").arg(name));
}

bool TRegistry::OpenKey(const QString& key, bool canCreate)
{
    if (!IsStored())
        return false;
    const QString path = ResolvePath(key);
    if (!KeyExistsIn(Load(), path)) {
        if (!canCreate)
            return false;
        CreateKey(QLatin1Char('\\') + path);
    }
    currentPath_ = path;
    readOnly_ = false;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const QString& key)
{
    if (!IsStored())
        return false;
    const QString path = ResolvePath(key);
    if (!KeyExistsIn(Load(), path))
        return false;
    currentPath_ = path;
    readOnly_ = true;
    return true;
}

void TRegistry::CloseKey()
{
    currentPath_.clear();
    readOnly_ = false;
}

bool TRegistry::KeyExists(const QString& key) const
{
    return IsStored() && KeyExistsIn(Load(), ResolvePath(key));
}

bool TRegistry::CreateKey(const QString& key)
{
    const QString path = ResolvePath(key);
    const QString failure = QStringLiteral("Failed to create key %1").arg(key);
    if (!IsStored())
        throw ERegistryException(failure);
    Modify(
        [path](Store& store) {
            qsizetype index = -1;
            return EnsureKey(store, path, index);
        },
        failure);
    return true;
}

bool TRegistry::DeleteKey(const QString& key)
{
    const QString path = ResolvePath(key);
    if (!IsStored() || path.isEmpty() || !KeyExistsIn(Load(), path))
        return false;
    return Modify(
        [path](Store& store) {
            const qsizetype before = store.keys.size();
            store.keys.removeIf(
                [&](const Store::Key& k) { return SameName(k.path, path) || IsBelow(k.path, path); });
            return store.keys.size() != before;
        },
        QStringLiteral("Failed to delete key %1").arg(key));
}

QString TRegistry::ReadString(const QString& name) const
{
    if (!IsStored())
        return QString();
    const Store::Value* value = FindValue(Load(), currentPath_, name);
    if (!value)
        return QString();
    if (value->isInteger)
        RaiseInvalidType(name);
    return value->text;
}

void TRegistry::WriteString(const QString& name, const QString& value)
{
    CheckWritable(name);
    Modify(
        [path = currentPath_, name, value](Store& store) {
            qsizetype index = -1;
            EnsureKey(store, path, index);
            Store::Value stored;
            stored.name = name;
            stored.text = value;
            SetValue(store.keys[index], stored);
            return true;
        },
        QStringLiteral("Failed to set data for '%1'").arg(name));
}

int TRegistry::ReadInteger(const QString& name) const
{
    const Store::Value* value = IsStored() ? FindValue(Load(), currentPath_, name) : nullptr;
    if (!value || !value->isInteger)
        RaiseInvalidType(name);
    return static_cast<qint32>(value->number);
}

void TRegistry::WriteInteger(const QString& name, int value)
{
    CheckWritable(name);
    Modify(
        [path = currentPath_, name, value](Store& store) {
            qsizetype index = -1;
            EnsureKey(store, path, index);
            Store::Value stored;
            stored.name = name;
            stored.isInteger = true;
            stored.number = static_cast<quint32>(value);
            SetValue(store.keys[index], stored);
            return true;
        },
        QStringLiteral("Failed to set data for '%1'").arg(name));
}

bool TRegistry::ReadBool(const QString& name) const
{
    return ReadInteger(name) != 0;
}

void TRegistry::WriteBool(const QString& name, bool value)
{
    WriteInteger(name, value ? 1 : 0);
}

bool TRegistry::ValueExists(const QString& name) const
{
    return IsStored() && FindValue(Load(), currentPath_, name) != nullptr;
}

bool TRegistry::DeleteValue(const QString& name)
{
    if (!IsStored() || readOnly_ || !ValueExists(name))
        return false;
    return Modify(
        [path = currentPath_, name](Store& store) {
            const qsizetype index = IndexOfKey(store, path);
            return index >= 0 && store.keys[index].values.removeIf(
                                     [&](const Store::Value& v) { return SameName(v.name, name); }) > 0;
        },
        QStringLiteral("Failed to delete value '%1'").arg(name));
}

TRegDataType TRegistry::GetDataType(const QString& name) const
{
    const Store::Value* value = IsStored() ? FindValue(Load(), currentPath_, name) : nullptr;
    if (!value)
        return rdUnknown;
    return value->isInteger ? rdInteger : rdString;
}

void TRegistry::GetValueNames(QStringList& names) const
{
    names.clear();
    if (!IsStored())
        return;
    const Store& store = Load();
    const qsizetype index = IndexOfKey(store, currentPath_);
    if (index < 0)
        return;
    for (const Store::Value& value : store.keys[index].values)
        names.append(value.name);
}

void TRegistry::GetKeyNames(QStringList& names) const
{
    names.clear();
    if (!IsStored())
        return;
    for (const Store::Key& key : Load().keys) {
        if (!IsBelow(key.path, currentPath_))
            continue;
        const qsizetype start = currentPath_.isEmpty() ? 0 : currentPath_.size() + 1;
        const QString child = key.path.mid(start).section(QLatin1Char('\\'), 0, 0);
        if (!child.isEmpty() && !names.contains(child, Qt::CaseInsensitive))
            names.append(child);
    }
    names.sort(Qt::CaseInsensitive);
}

}  // namespace tk
