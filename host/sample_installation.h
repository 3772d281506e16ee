#pragma once
// A sample installation of the host, laid out as the real one is:
//
//   <root>/App/Bin/Brivora.INI        the host's settings (CR LF, Windows-1252)
//   <root>/App/Bin/apppos.INI         window positions
//   <root>/App/Bin/DACT.INI           update and licence data
//   <root>/App/Bin/Langs/*.lng        language files of the backup window and the host
//   <root>/App/Datos/Comunidades/<community>/<year file>   SQLite, one per community
//   <root>/App/Datos/Informes/Informes.mdb                 SQLite report database
//   <root>/Copias/                    the folder the backup dialog starts in
//
// The program itself (App/Bin/Brivora and its libraries) is put there by
// InstallProgramFiles.

#include "host/host_paths.h"

#include <QString>

namespace host {

// The executable's name in an installation: its settings file is
// "Brivora.INI".
inline constexpr const char* kExecutableName = "Brivora";

// The executable's path in the sample installation under root.
QString SampleExecutable(const QString& root);

// Lays out the sample installation under root and returns its paths (as the
// program will see them when it runs from there). Data files (settings and
// databases) are written only when missing, so that what the user or a
// restore changed is kept; language files are program files and are
// brought up to date. Raises tk::EInOutError when something cannot be
// written.
THostPaths LayOutSampleInstallation(const QString& root);

// The names of the language files the program ships ("backup.es.lng", ...).
QStringList ShippedLanguageFiles();

}  // namespace host
