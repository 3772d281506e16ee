#include "host/host_paths.h"

#include "toolkit/core/fileutils.h"
#include "toolkit/core/inifile.h"

#include <QFileInfo>
#include <algorithm>

namespace host {

QString HostIniOf(const QString& executable)
{
    return tk::ChangeFileExt(executable, QStringLiteral(".INI"));
}

QString DefaultDataRoot(const QString& binFolder)
{
    const QString withDelimiter = tk::IncludeTrailingPathDelimiter(binFolder);
    return tk::IncludeTrailingPathDelimiter(
               withDelimiter.chopped(std::min<qsizetype>(5, withDelimiter.size()))) +
           QStringLiteral("Datos");
}

THostPaths THostPaths::ForExecutable(const QString& executable)
{
    THostPaths paths;
    paths.executable = QFileInfo(executable).absoluteFilePath();
    paths.binFolder = tk::ExtractFilePath(paths.executable);
    paths.hostIni = HostIniOf(paths.executable);
    paths.langFolder = paths.binFolder + QStringLiteral("Langs");

    const tk::TIniFile ini(paths.hostIni);
    paths.community = ini.ReadString(QStringLiteral("anyo"), QStringLiteral("comunidad"), QString());
    paths.yearFileName = ini.ReadString(QStringLiteral("anyo"), QStringLiteral("anyo"), QString());
    const bool chosenRoot = ini.ReadBool(QStringLiteral("ruta"), QStringLiteral("esta_modificada"), false);
    paths.dataRoot = chosenRoot
                         ? ini.ReadString(QStringLiteral("ruta"), QStringLiteral("modificada"), QString())
                         : DefaultDataRoot(paths.binFolder);
    paths.dataRoot = tk::ExcludeTrailingPathDelimiter(paths.dataRoot);

    const QString root = tk::IncludeTrailingPathDelimiter(paths.dataRoot);
    paths.communityFolder =
        tk::ResolveCaseInsensitive(root + QStringLiteral("Comunidades/") + paths.community);
    paths.yearFile =
        tk::ResolveCaseInsensitive(paths.communityFolder + QLatin1Char('/') + paths.yearFileName);
    paths.reportDatabase = tk::ResolveCaseInsensitive(root + QStringLiteral("Informes/Informes.mdb"));
    return paths;
}

QString KelgridDemoIniOf(const THostPaths& paths)
{
    return paths.binFolder + QStringLiteral("KelgridDemo.ini");
}

}  // namespace host
