#pragma once
// Item names inside an archive. Names are stored with "/" between folders;
// "\" counts as a separator too, as archives from Windows use it.
//
// Adding: the stored name of a file is its path less the root folder,
// possibly changed by OnSetAddName, less a drive prefix, possibly cut to the
// bare file name. A stored name is always relative and has no "." or ".."
// parts, so that no archive we write points outside its extraction folder.
//
// Extracting: a stored name that is absolute, carries a drive prefix or has
// a ".." part would leave the extraction folder and is refused.

#include <QString>
#include <QStringList>
#include <optional>

namespace safekeep::sz {

// The root as compared with paths: upper case, "/" separators and a trailing
// "/" (an empty root stays empty).
QString AddRootPrefix(const QString& root);
// path less the root when its first characters equal the root without
// regard to case (rootPrefix as AddRootPrefix makes it).
QString RemoveAddRoot(const QString& path, const QString& rootPrefix);
// The stored form of a name: a drive prefix "X:" loses its colon when
// includeDriveLetter is set, else the prefix and the separator after it go;
// only the part after the last separator stays with onlyFileName; leading
// separators, empty, "." and ".." parts are dropped and "\" becomes "/".
QString FinishStoredName(const QString& name, bool includeDriveLetter, bool onlyFileName);

// The parts of a stored name below the extraction folder (folders, then the
// item's own name), or nothing when the name is empty, absolute, has a drive
// prefix or a ".." part.
std::optional<QStringList> SafeStoredNameParts(const QString& storedName);

// A stored name for comparisons: "/" separators, no trailing separator.
QString NormalizedStoredName(const QString& name);

}  // namespace safekeep::sz
