#pragma once
// Where the host keeps its data, as its settings file says. The settings
// file (HostIni) is the host executable's path with ".INI" as extension;
// the data root is either the folder the user chose ("ruta"/"modificada"
// with "esta_modificada" on) or the "Datos" folder beside the executable's
// own folder (an executable in /x/App/Bin/ has its data in /x/App/Datos/).

#include <QString>

namespace safekeep {

struct THostLayout {
    QString exeFolder;  // with a trailing "/"
    QString hostIni;
    QString yearFile;   // "anyo"/"anyo": the current year's data file name
    QString community;  // "anyo"/"comunidad": the current community's folder name
    QString dataRoot;   // always with a trailing "/"

    // Reads the layout of the host whose executable is hostExecutable.
    static THostLayout Read(const QString& hostExecutable);

    QString CommunityFolder(const QString& communityName) const;
    // True when name is one of the installation's communities: a plain name
    // (not ".", "..", nor anything with a separator) whose folder exists as
    // a direct child of "Comunidades", not reached through a link that
    // leads elsewhere.
    bool IsCommunity(const QString& name) const;
    // The community's staging folder for backups: "<community>/Temp".
    QString CommunityTemp() const;
    QString ReportDatabase() const;  // <data root>Informes/Informes.mdb
    // The restore's staging folder: "<executable's folder>Temp".
    QString RestoreTemp() const;
};

// The running host's executable; a test or an automation run may name
// another one (an installation laid out elsewhere).
QString HostExecutablePath();
void SetHostExecutablePath(const QString& path);

// A file that a Windows peer may have written in another letter case: the
// name as given when it exists, else the one entry of the folder that
// matches it without regard to case.
QString PeerFile(const QString& folder, const QString& name);

}  // namespace safekeep
