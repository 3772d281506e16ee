#pragma once
// File and folder helpers with the classic platform's semantics, on POSIX
// calls. Paths use "/" as the delimiter. Functions that report success with
// a bool leave the errno of a failure in LastFileError() for callers that
// show or log it.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <sys/types.h>

namespace tk {

// The errno of the last failed call of this module on the calling thread
// (0 when none failed yet). Successful calls and the pure queries
// (FileExists, DirectoryExists, FileAge) leave it unchanged.
int LastFileError();
// The system's text for an errno value ("No such file or directory").
QString SysErrorMessage(int errorCode);

// --- Whole-file reading and writing ---

// Reads the whole of an ordinary file. False (and bytes empty) on failure.
bool ReadFileBytes(const QString& path, QByteArray& bytes);

// Replaces path's content atomically: the bytes go to a temporary file in the
// same folder, are synced and the temporary is renamed over path, so readers
// see either the old or the new file and a failure leaves the old one
// intact (the temporary is removed). An existing file keeps its permission
// bits; a new one gets 0666 less the umask, or newFileMode in the overload.
// A symbolic link at path is replaced by the new file, not followed.
bool WriteFileAtomic(const QString& path, const QByteArray& bytes);
bool WriteFileAtomic(const QString& path, const QByteArray& bytes, mode_t newFileMode);

// Copies source to target through a temporary in target's folder, so a
// failed copy leaves no partial target and an existing target intact. With
// failIfExists an existing target makes the copy fail (EEXIST). The copy gets
// the source's permission bits and modification time.
bool CopyFile(const QString& source, const QString& target, bool failIfExists);

// --- Files and folders ---

// True for an existing ordinary file (a link to one counts), not a folder.
bool FileExists(const QString& path);
bool DirectoryExists(const QString& path);
// Creates one folder; fails when it exists or its parent is missing.
bool CreateDir(const QString& path);
// Creates the folder with every missing parent; true when it already exists.
bool ForceDirectories(const QString& path);
// The same, creating missing folders with the given mode (less the umask).
bool ForceDirectories(const QString& path, mode_t mode);
// Deletes a file (not a folder).
bool DeleteFile(const QString& path);
// Removes an empty folder.
bool RemoveDir(const QString& path);

// Names (without folder) of the ordinary files in folder whose names match
// mask (see MatchesMask), sorted without regard to case. "*.*" matches every
// name, with or without a dot, as in Windows file searches.
QStringList FindFiles(const QString& folder, const QString& mask);

// path as written when it exists; otherwise, when its folder holds exactly
// one entry whose name equals the file name without regard to case, that
// entry's path (files from Windows peers: "2026.DAT" for "2026.dat");
// otherwise path unchanged. Only the last component is looked up.
QString ResolveCaseInsensitive(const QString& path);

// True for a name of one path component, as a file or folder name that
// comes from outside (an archive, a server, a settings file) must be before
// it is joined to a folder: not empty, no "/" or "\", no NUL, not "." or
// "..". Such a name cannot climb out of the folder it is joined to.
bool IsBareFileName(const QString& name);

// --- Times ---

// Modification time of an ordinary file in local time; invalid when the file
// is missing or a folder.
QDateTime FileAge(const QString& path);
// Sets the modification time (millisecond precision).
bool SetFileAge(const QString& path, const QDateTime& time);
// FILETIME: 100-nanosecond ticks since 1601-01-01 00:00 UTC. Invalid times
// and times before 1601 give 0.
quint64 DateTimeToFileTime(const QDateTime& time);
QDateTime FileTimeToDateTime(quint64 fileTime);

// --- Path strings ---

// Replaces the extension (from the last "." of the name on) or appends ext
// when there is none; ext includes its dot.
QString ChangeFileExt(const QString& path, const QString& ext);
// The folder part with its trailing "/" ("" when there is none).
QString ExtractFilePath(const QString& path);
// The part after the last "/".
QString ExtractFileName(const QString& path);
// The extension with its dot ("" when the name has none).
QString ExtractFileExt(const QString& path);
QString IncludeTrailingPathDelimiter(const QString& path);
// Removes one trailing "/".
QString ExcludeTrailingPathDelimiter(const QString& path);

}  // namespace tk
