#pragma once
// The program part of an installation: the executable and the shared
// libraries beside it (the toolkit, the language manager, the backup
// library). The data part is laid out once and then belongs to the user;
// the program part is brought up to date from the build on every launch.

#include <QString>

namespace host {

// Copies the executable and every shared library of its folder ("lib*.so"
// and "lib*.so.*") into binFolder, skipping files whose size and time
// already match; a library's links (libx.so -> libx.so.1) are made there as
// the same links. Libraries in binFolder that the executable's folder no
// longer has are removed, so that a stale backup library built against
// other class definitions is never loaded. Raises tk::EInOutError when a
// file cannot be copied.
void InstallProgramFiles(const QString& executable, const QString& binFolder);

}  // namespace host
