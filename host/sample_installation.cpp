#include "host/sample_installation.h"

#include "host/sample_databases.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/core/textfile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace host {

namespace {

// Where the build puts the language files of host/langs.
const QString kLanguageResources = QStringLiteral(":/brivora/langs/");

void ForceFolder(const QString& folder)
{
    if (!tk::ForceDirectories(folder))
        throw tk::EInOutError(
            QStringLiteral("Cannot create %1: %2").arg(folder, tk::SysErrorMessage(tk::LastFileError())));
}

// Settings files are the user's once written: never overwritten. They are
// written as a Windows install has them, in the legacy code page with CR LF.
void WriteSettingsWhenMissing(const QString& path, const QStringList& lines)
{
    if (!tk::FileExists(path))
        tk::WriteTextFile(path, lines, tk::teLegacy);
}

QStringList HostIniLines(const QString& backupFolder, const TSampleCommunity& community, int year)
{
    return {
        QStringLiteral("; Brivora: configuración del programa"),
        QStringLiteral("[General]"),
        QStringLiteral("Empresa=Administración de Fincas Sierra Norte, S.L."),
        QStringLiteral("Usuario=ADMINISTRADOR"),
        QStringLiteral("Version=%1.1").arg(year),
        QString(),
        QStringLiteral("[anyo]"),
        QStringLiteral("anyo=%1.mdb").arg(year),
        QStringLiteral("comunidad=%1").arg(community.name),
        QString(),
        QStringLiteral("[ruta]"),
        QStringLiteral("modificada="),
        QStringLiteral("esta_modificada=0"),
        QString(),
        QStringLiteral("[CopSeg]"),
        QStringLiteral("ruta=%1").arg(backupFolder),
    };
}

QStringList WindowPositionLines()
{
    return {
        QStringLiteral("; Posiciones de las ventanas"),
        QStringLiteral("[frmPrincipal]"),
        QStringLiteral("Left=96"),
        QStringLiteral("Top=64"),
        QStringLiteral("Width=1024"),
        QStringLiteral("Height=720"),
        QStringLiteral("Maximizada=0"),
        QString(),
        QStringLiteral("[frmPropietarios]"),
        QStringLiteral("Left=140"),
        QStringLiteral("Top=110"),
        QStringLiteral("Width=820"),
        QStringLiteral("Height=560"),
        QString(),
        QStringLiteral("[frmRecibos]"),
        QStringLiteral("Left=160"),
        QStringLiteral("Top=120"),
        QStringLiteral("Width=900"),
        QStringLiteral("Height=600"),
        QStringLiteral("Columnas=Numero,Propietario,Fecha,Concepto,Importe,Cobrado"),
    };
}

QStringList UpdateDataLines(int year)
{
    return {
        QStringLiteral("; Datos de actualización y licencia"),
        QStringLiteral("[Actualizacion]"),
        QStringLiteral("Version=%1.1.0").arg(year),
        QStringLiteral("Fecha=15/01/%1").arg(year),
        QStringLiteral("Servidor=actualizaciones.example.com"),
        QString(),
        QStringLiteral("[Licencia]"),
        QStringLiteral("Cliente=000347"),
        QStringLiteral("Puestos=2"),
        QStringLiteral("Titular=Administración de Fincas Sierra Norte, S.L."),
    };
}

// The shipped language files, in the form they have on Windows installs
// (legacy code page, CR LF). Rewritten only when their content changed.
void InstallLanguageFiles(const QString& folder)
{
    ForceFolder(folder);
    for (const QString& name : ShippedLanguageFiles()) {
        QFile resource(kLanguageResources + name);
        if (!resource.open(QIODevice::ReadOnly))
            throw tk::EInOutError(QStringLiteral("Cannot read %1").arg(resource.fileName()));
        const QStringList lines = tk::SplitLines(QString::fromUtf8(resource.readAll()));
        const QString target = folder + name;
        QByteArray installed;
        if (tk::ReadFileBytes(target, installed) &&
            installed == tk::EncodeText(tk::JoinLines(lines), tk::teLegacy))
            continue;
        tk::WriteTextFile(target, lines, tk::teLegacy);
    }
}

// The year a year file is for: its name ("2026.mdb"), else this year.
int YearOf(const QString& yearFileName)
{
    bool isNumber = false;
    const int year = QFileInfo(yearFileName).completeBaseName().toInt(&isNumber);
    return isNumber ? year : QDate::currentDate().year();
}

}  // namespace

QString SampleExecutable(const QString& root)
{
    return tk::IncludeTrailingPathDelimiter(QFileInfo(root).absoluteFilePath()) + QStringLiteral("App/Bin/") +
           QString::fromLatin1(kExecutableName);
}

QStringList ShippedLanguageFiles()
{
    return QDir(kLanguageResources).entryList(QDir::Files, QDir::Name);
}

THostPaths LayOutSampleInstallation(const QString& root)
{
    const QString executable = SampleExecutable(root);
    const QString bin = tk::ExtractFilePath(executable);
    const QString backups =
        tk::IncludeTrailingPathDelimiter(QFileInfo(root).absoluteFilePath()) + QStringLiteral("Copias/");
    ForceFolder(bin);
    ForceFolder(backups);

    const QList<TSampleCommunity>& communities = SampleCommunities();
    const int thisYear = QDate::currentDate().year();
    WriteSettingsWhenMissing(HostIniOf(executable), HostIniLines(backups, communities.first(), thisYear));
    WriteSettingsWhenMissing(bin + QStringLiteral("apppos.INI"), WindowPositionLines());
    WriteSettingsWhenMissing(bin + QStringLiteral("DACT.INI"), UpdateDataLines(thisYear));
    InstallLanguageFiles(bin + QStringLiteral("Langs/"));

    // The databases go where the settings say, which a restore may have
    // changed since the first lay-out.
    const THostPaths paths = THostPaths::ForExecutable(executable);
    const QString dataRoot = tk::IncludeTrailingPathDelimiter(paths.dataRoot);
    if (!paths.yearFileName.isEmpty()) {
        for (const TSampleCommunity& community : communities) {
            const QString yearFile = dataRoot + QStringLiteral("Comunidades/") + community.name +
                                     QLatin1Char('/') + paths.yearFileName;
            if (!tk::FileExists(tk::ResolveCaseInsensitive(yearFile)))
                CreateYearDatabase(yearFile, community, YearOf(paths.yearFileName));
        }
    }
    if (!tk::FileExists(paths.reportDatabase))
        CreateReportDatabase(dataRoot + QStringLiteral("Informes/Informes.mdb"));
    // Again, now that every file is there to be found by name.
    return THostPaths::ForExecutable(executable);
}

}  // namespace host
