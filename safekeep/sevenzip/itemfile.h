#pragma once
// Writing one extracted item without trusting the archive. The folders on
// the way are opened (and created when missing) one by one below a base
// folder the caller trusts, never following a symbolic link, so an archive
// cannot write through a link planted on the way. The data go to a
// temporary file in the final folder, which replaces the target only on
// Commit; until then, and after a failure, the target is untouched.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <sys/types.h>

namespace safekeep::sz {

// Opens the folder chain below base ("" is the current folder), creating the
// missing folders when create is set. Returns a descriptor of the last
// folder, or -1 with errno set (ELOOP or ENOTDIR when a link or a file is in
// the way).
int OpenFolderChain(const QString& base, const QStringList& folders, bool create);

class TItemFile {
public:
    TItemFile() = default;
    ~TItemFile();
    TItemFile(const TItemFile&) = delete;
    TItemFile& operator=(const TItemFile&) = delete;

    // Prepares the temporary file for base/folders.../name with mode (less
    // the umask). False with errno set.
    bool Create(const QString& base, const QStringList& folders, const QString& name, mode_t mode);
    int Fd() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // Dates the data (FILETIME ticks, when known) and renames them over the
    // target. An existing target is only replaced after the new data are on
    // disk. False with errno set; the temporary file is removed then.
    bool Commit(std::optional<uint64_t> modified);
    // Removes the temporary file.
    void Discard();

private:
    int dirfd_ = -1;
    int fd_ = -1;
    QByteArray name_;
    QByteArray tempName_;
};

// The mode of an extracted file: the permission bits the archive stored for
// a regular Unix file (never set-id bits), else read-write or, with the
// read-only attribute, read-only.
mode_t FileModeFromAttributes(std::optional<uint64_t> attributes);

}  // namespace safekeep::sz
