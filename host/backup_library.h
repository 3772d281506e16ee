#pragma once
// The backup library as the host uses it: loaded at run time from the
// program's folder, its entry CopiaSeguridad looked up by name and called
// with the host's own language manager and database components. The host is
// not linked against the library, so a missing or broken library is a
// failure the host reports, not one that stops it from starting.

#include <QString>

namespace safekeep {
class TLanguageManager;
}
namespace tk {
class TDatabase;
}

namespace host {

// What the host hands over on every call; the library borrows the objects
// for the call and frees none of them.
struct TBackupCall {
    int restricted = 0;
    safekeep::TLanguageManager* languageManager = nullptr;
    tk::TDatabase* database1 = nullptr;  // the year file
    tk::TDatabase* database2 = nullptr;  // the report database
};

class TBackupLibrary {
public:
    using TCopiaSeguridad = int (*)(int Restricted, safekeep::TLanguageManager* languageManager,
                                    tk::TDatabase* Database1, tk::TDatabase* Database2);
    enum TLoadError { leNone, leLibraryNotLoaded, leEntryNotFound };

    explicit TBackupLibrary(const QString& path) : path_(path) {}

    const QString& Path() const { return path_; }
    // Loads the library and looks up its entry; true when both worked. A
    // loaded library stays loaded for the life of the process: its Qt
    // classes and registrations must outlive every object it made. A failed
    // load is tried again on the next call (the file may have been put in
    // place meanwhile).
    bool Load();
    TLoadError Error() const { return error_; }
    // The loader's own explanation of the last failure.
    const QString& ErrorDetail() const { return errorDetail_; }

    // Opens the backup window through the entry; Load must have succeeded.
    // Exceptions the library raises come through unchanged.
    int CopiaSeguridad(const TBackupCall& call) const;

private:
    QString path_;
    void* handle_ = nullptr;
    TCopiaSeguridad entry_ = nullptr;
    TLoadError error_ = leNone;
    QString errorDetail_;
};

// The library's path in a program folder (with its trailing "/").
QString BackupLibraryPath(const QString& binFolder);

}  // namespace host
