#pragma once
// Where an installation keeps its files, worked out from the executable's
// path the way the backup library works it out: the settings file is the
// executable's path with ".INI", and the data lives in "Datos" beside the
// executable's three-letter folder (App/Bin/Brivora -> App/Datos) unless the
// settings name another data root.

#include <QString>

namespace host {

struct THostPaths {
    QString executable;       // full path of the program
    QString binFolder;        // its folder, with a trailing "/"
    QString hostIni;          // executable with ".INI"
    QString dataRoot;         // without a trailing "/"
    QString community;        // "anyo"/"comunidad"
    QString yearFileName;     // "anyo"/"anyo"
    QString communityFolder;  // dataRoot/Comunidades/<community>
    QString yearFile;         // communityFolder/<yearFileName>
    QString reportDatabase;   // dataRoot/Informes/Informes.mdb
    QString langFolder;       // binFolder + "Langs"

    // Reads the settings file (a missing one reads as empty). Files that a
    // Windows peer wrote in another letter case are found by their names.
    static THostPaths ForExecutable(const QString& executable);
};

// The settings file of an executable: its path with ".INI" as extension.
QString HostIniOf(const QString& executable);

// The file the grid demonstration window keeps its layout in, beside the
// program's own settings file in the executable's folder.
QString KelgridDemoIniOf(const THostPaths& paths);

// The data root for an executable folder (with its trailing "/") when the
// settings do not choose one: five characters ("/Bin/") off, then "/Datos".
QString DefaultDataRoot(const QString& binFolder);

}  // namespace host
