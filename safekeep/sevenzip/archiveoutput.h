#pragma once
// The files an archive is written to. Each volume goes to a temporary file
// beside its final name, and all of them get their final names only when the
// library wrote the whole archive; a failed or cancelled write removes the
// temporaries and leaves any earlier archive of that name untouched.

#include "safekeep/sevenzip/streamwriter.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <sys/types.h>
#include <vector>

namespace safekeep::sz {

class TArchiveOutput {
public:
    // volumeSize 0 writes the one file archive; otherwise volumes named
    // archive.001, archive.002, ... of volumeSize bytes each.
    TArchiveOutput(const QString& archive, uint64_t volumeSize);
    ~TArchiveOutput();
    TArchiveOutput(const TArchiveOutput&) = delete;
    TArchiveOutput& operator=(const TArchiveOutput&) = delete;

    // The name of volume index (from 0) of a split archive.
    static QString VolumeName(const QString& archive, int index);

    // Creates the first temporary file; with a prefix file (a self-extractor
    // module) its bytes come first and the archive follows them. False with
    // errno set.
    bool Start(const QString& prefixFile = QString());
    // The stream the library writes the archive to.
    TComPtr<TMyStreamWriter> Writer();
    // Flushes every volume to disk and gives it its final name; with
    // noReplace an existing file of that name makes it fail. False with
    // errno set; the temporaries are gone either way.
    bool Commit(bool noReplace);
    // Removes the temporaries.
    void Discard();
    // The final names of the volumes (after Commit).
    QStringList VolumeNames() const;

private:
    struct Volume {
        QByteArray name;  // final name within the folder
        QByteArray tempName;
        int fd = -1;
    };
    int OpenVolume(int index, mode_t mode = 0666);

    QString archive_;
    uint64_t volumeSize_;
    int dirfd_ = -1;
    uint64_t prefixSize_ = 0;
    std::vector<Volume> volumes_;
};

}  // namespace safekeep::sz
