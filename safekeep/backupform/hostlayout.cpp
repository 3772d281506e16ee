#include "safekeep/backupform/hostlayout.h"

#include "toolkit/core/fileutils.h"
#include "toolkit/core/inifile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace safekeep {

namespace {

QString& ExecutableOverride()
{
    static QString path;
    return path;
}

}  // namespace

QString HostExecutablePath()
{
    if (!ExecutableOverride().isEmpty())
        return ExecutableOverride();
    return QCoreApplication::applicationFilePath();
}

void SetHostExecutablePath(const QString& path)
{
    ExecutableOverride() = path;
}

THostLayout THostLayout::Read(const QString& hostExecutable)
{
    THostLayout layout;
    layout.exeFolder = tk::ExtractFilePath(hostExecutable);
    layout.hostIni = tk::ChangeFileExt(hostExecutable, QStringLiteral(".INI"));
    // Settings written by a Windows install may differ in letter case.
    const tk::TIniFile ini(PeerFile(layout.exeFolder, tk::ExtractFileName(layout.hostIni)));
    layout.yearFile = ini.ReadString(QStringLiteral("anyo"), QStringLiteral("anyo"), QString());
    layout.community = ini.ReadString(QStringLiteral("anyo"), QStringLiteral("comunidad"), QString());
    if (ini.ReadBool(QStringLiteral("ruta"), QStringLiteral("esta_modificada"), false)) {
        layout.dataRoot = ini.ReadString(QStringLiteral("ruta"), QStringLiteral("modificada"), QString());
    } else {
        // The executable lives in a folder with a three-letter name ("Bin/")
        // beside the data: drop it and its separators, add "Datos".
        layout.dataRoot = tk::IncludeTrailingPathDelimiter(layout.exeFolder.left(layout.exeFolder.size() - 5)) +
                          QStringLiteral("Datos");
    }
    layout.dataRoot = tk::IncludeTrailingPathDelimiter(layout.dataRoot);
    return layout;
}

QString THostLayout::CommunityFolder(const QString& communityName) const
{
    return dataRoot + QStringLiteral("Comunidades/") + communityName;
}

bool THostLayout::IsCommunity(const QString& name) const
{
    if (!tk::IsBareFileName(name))
        return false;
    const QFileInfo folder(CommunityFolder(name));
    if (folder.isSymLink() || !folder.isDir())
        return false;
    const QString communities = QFileInfo(dataRoot + QStringLiteral("Comunidades")).canonicalFilePath();
    return !communities.isEmpty() && QFileInfo(folder.canonicalFilePath()).path() == communities;
}

QString THostLayout::CommunityTemp() const
{
    return CommunityFolder(community) + QStringLiteral("/Temp");
}

QString THostLayout::ReportDatabase() const
{
    return dataRoot + QStringLiteral("Informes/Informes.mdb");
}

QString THostLayout::RestoreTemp() const
{
    return exeFolder + QStringLiteral("Temp");
}

QString PeerFile(const QString& folder, const QString& name)
{
    return tk::ResolveCaseInsensitive(tk::IncludeTrailingPathDelimiter(folder) + name);
}

}  // namespace safekeep
