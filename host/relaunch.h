#pragma once
// Running the program from its installation. The settings file and the data
// root are worked out from the executable's own path, so a program started
// from the build folder lays out (or refreshes) an installation and then
// replaces itself with the copy inside it.

#include <QString>
#include <QStringList>

namespace host {

// The command line for the copy in the installation: the same arguments
// without the one that chose the installation ("--sample DIR" or
// "--sample=DIR"); the program name becomes executable.
QStringList RelaunchArguments(const QStringList& arguments, const QString& executable);

// Replaces this process with executable run with arguments (arguments[0]
// is its name). Returns only when that failed, with the reason.
QString Relaunch(const QString& executable, const QStringList& arguments);

// True when both paths name the same existing folder.
bool SameFolder(const QString& a, const QString& b);

}  // namespace host
