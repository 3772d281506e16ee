#include "host/backup_library.h"

#include "toolkit/core/exceptions.h"

#include <dlfcn.h>

namespace host {

QString BackupLibraryPath(const QString& binFolder)
{
    return binFolder + QStringLiteral("libsafekeep.so");
}

bool TBackupLibrary::Load()
{
    if (entry_)
        return true;
    error_ = leNone;
    errorDetail_.clear();
    if (!handle_) {
        // Always by full path: the program's own copy, never one the loader
        // might find elsewhere.
        handle_ = dlopen(path_.toUtf8().constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle_) {
            error_ = leLibraryNotLoaded;
            errorDetail_ = QString::fromLocal8Bit(dlerror());
            return false;
        }
    }
    dlerror();  // clear, so that a null symbol can be told from an error
    entry_ = reinterpret_cast<TCopiaSeguridad>(dlsym(handle_, "CopiaSeguridad"));
    if (!entry_) {
        error_ = leEntryNotFound;
        const char* detail = dlerror();
        errorDetail_ = detail ? QString::fromLocal8Bit(detail) : QStringLiteral("CopiaSeguridad is null");
        return false;
    }
    return true;
}

int TBackupLibrary::CopiaSeguridad(const TBackupCall& call) const
{
    if (!entry_)
        throw tk::EInvalidOperation(QStringLiteral("The backup library is not loaded"));
    return entry_(call.restricted, call.languageManager, call.database1, call.database2);
}

}  // namespace host
