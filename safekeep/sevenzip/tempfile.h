#pragma once
// Unique temporary files beside the file they will replace. Written data
// reach the final name only by a rename, so readers and a failed write never
// see a partial file under that name.

#include <QByteArray>
#include <sys/types.h>

namespace safekeep::sz {

// Creates a new file with a unique hidden name in the folder dirfd, with
// mode less the umask. Returns the descriptor (and the name in name), or -1
// with errno set.
int CreateTemporaryIn(int dirfd, QByteArray& name, mode_t mode = 0666);

// Renames from over to in dirfd; with noReplace an existing to makes it fail
// with EEXIST. False with errno set.
bool RenameIn(int dirfd, const QByteArray& from, const QByteArray& to, bool noReplace);

}  // namespace safekeep::sz
