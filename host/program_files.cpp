#include "host/program_files.h"

#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

namespace host {

namespace {

QStringList SharedLibraries(const QString& folder)
{
    return QDir(folder).entryList({QStringLiteral("lib*.so"), QStringLiteral("lib*.so.*")},
                                  QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

bool SameFile(const QString& a, const QString& b)
{
    const QFileInfo left(a);
    const QFileInfo right(b);
    return right.exists() && left.size() == right.size() && left.lastModified() == right.lastModified();
}

void CopyIfChanged(const QString& source, const QString& target)
{
    if (SameFile(source, target))
        return;
    // Through a temporary and a rename: a running copy of the program keeps
    // its old file, and a failed copy leaves the old one in place.
    if (!tk::CopyFile(source, target, false))
        throw tk::EInOutError(QStringLiteral("Cannot copy %1 to %2: %3")
                                  .arg(source, target, tk::SysErrorMessage(tk::LastFileError())));
}

// A library's link (libx.so -> libx.so.1 -> libx.so.1.0.0) is made again
// as the same link, so the installation holds each library once, as the
// build does. Through a temporary and a rename, as for copies.
void LinkIfChanged(const QString& source, const QString& target)
{
    namespace fs = std::filesystem;
    const auto raise = [&](const std::error_code& error) {
        throw tk::EInOutError(QStringLiteral("Cannot link %1 as %2: %3")
                                  .arg(target, source, QString::fromLocal8Bit(error.message())));
    };
    std::error_code error;
    const fs::path linked = fs::read_symlink(source.toStdString(), error);
    if (error)
        raise(error);
    const fs::path targetPath = target.toStdString();
    if (fs::is_symlink(targetPath, error) && fs::read_symlink(targetPath, error) == linked)
        return;
    fs::path temporary = targetPath;
    temporary += ".link";
    fs::remove(temporary, error);
    fs::create_symlink(linked, temporary, error);
    if (!error)
        fs::rename(temporary, targetPath, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        raise(error);
    }
}

}  // namespace

void InstallProgramFiles(const QString& executable, const QString& binFolder)
{
    const QString from = tk::ExtractFilePath(QFileInfo(executable).absoluteFilePath());
    const QString to = tk::IncludeTrailingPathDelimiter(binFolder);
    if (!tk::ForceDirectories(to))
        throw tk::EInOutError(QStringLiteral("Cannot create %1").arg(to));

    CopyIfChanged(executable, to + tk::ExtractFileName(executable));
    const QStringList libraries = SharedLibraries(from);
    for (const QString& library : libraries) {
        if (QFileInfo(from + library).isSymLink())
            LinkIfChanged(from + library, to + library);
        else
            CopyIfChanged(from + library, to + library);
    }
    for (const QString& installed : SharedLibraries(to))
        if (!libraries.contains(installed) && !tk::DeleteFile(to + installed))
            throw tk::EInOutError(QStringLiteral("Cannot remove %1: %2")
                                      .arg(to + installed, tk::SysErrorMessage(tk::LastFileError())));
}

}  // namespace host
