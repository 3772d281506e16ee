#include "toolkit/core/registryinifile.h"

#include <QScopeGuard>

namespace tk {

namespace {

QString AbsoluteKeyPath(const QString& keyPath)
{
    return keyPath.startsWith(QLatin1Char('\\')) ? keyPath : QLatin1Char('\\') + keyPath;
}

}  // namespace

TRegistryIniFile::TRegistryIniFile(const QString& keyPath) : TCustomIniFile(AbsoluteKeyPath(keyPath))
{
    registry_.SetRootKey(HKEY_CURRENT_USER);
}

QString TRegistryIniFile::SectionPath(const QString& section) const
{
    return FileName() + QLatin1Char('\\') + section.trimmed();
}

bool TRegistryIniFile::OpenSection(const QString& section) const
{
    return registry_.OpenKeyReadOnly(SectionPath(section));
}

void TRegistryIniFile::Change(const std::function<void()>& change)
{
    if (InBatch()) {
        change();
        return;
    }
    // Opening a missing key creates it: with the value written after it,
    // that is two changes, which must reach the store as one.
    registry_.BeginBatch();
    auto cancel = qScopeGuard([this] { registry_.CancelBatch(); });
    change();
    cancel.dismiss();
    registry_.CommitBatch();
}

QString TRegistryIniFile::ReadString(const QString& section, const QString& key,
                                     const QString& defaultValue) const
{
    if (!OpenSection(section))
        return defaultValue;
    switch (registry_.GetDataType(key)) {
    case rdString:
        return registry_.ReadString(key);
    case rdInteger:
        return QString::number(registry_.ReadInteger(key));
    case rdUnknown:
        break;
    }
    return defaultValue;
}

void TRegistryIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    Change([&] {
        registry_.OpenKey(SectionPath(section), true);
        registry_.WriteString(key, value);
    });
}

int TRegistryIniFile::ReadInteger(const QString& section, const QString& key, int defaultValue) const
{
    if (!OpenSection(section))
        return defaultValue;
    switch (registry_.GetDataType(key)) {
    case rdInteger:
        return registry_.ReadInteger(key);
    case rdString:
        return IntegerFromText(registry_.ReadString(key), defaultValue);
    case rdUnknown:
        break;
    }
    return defaultValue;
}

void TRegistryIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    Change([&] {
        registry_.OpenKey(SectionPath(section), true);
        registry_.WriteInteger(key, value);
    });
}

void TRegistryIniFile::ReadSections(QStringList& sections) const
{
    sections.clear();
    if (registry_.OpenKeyReadOnly(FileName()))
        registry_.GetKeyNames(sections);
}

void TRegistryIniFile::ReadSection(const QString& section, QStringList& keys) const
{
    keys.clear();
    if (!OpenSection(section))
        return;
    registry_.GetValueNames(keys);
    keys.removeAll(QString());
}

void TRegistryIniFile::ReadSectionValues(const QString& section, QStringList& values) const
{
    QStringList keys;
    ReadSection(section, keys);
    values.clear();
    for (const QString& key : std::as_const(keys))
        values.append(key + QLatin1Char('=') + ReadString(section, key, QString()));
}

bool TRegistryIniFile::ValueExists(const QString& section, const QString& key) const
{
    return OpenSection(section) && !key.isEmpty() && registry_.ValueExists(key);
}

void TRegistryIniFile::EraseSection(const QString& section)
{
    // An empty name would name the key path itself, with every section.
    if (section.trimmed().isEmpty())
        return;
    Change([&] { registry_.DeleteKey(SectionPath(section)); });
}

void TRegistryIniFile::DeleteKey(const QString& section, const QString& key)
{
    Change([&] {
        if (registry_.OpenKey(SectionPath(section), false))
            registry_.DeleteValue(key);
    });
}

void TRegistryIniFile::StartBatch()
{
    registry_.BeginBatch();
}

void TRegistryIniFile::WriteBatch()
{
    registry_.CommitBatch();
}

void TRegistryIniFile::DiscardBatch() noexcept
{
    registry_.CancelBatch();
}

}  // namespace tk
