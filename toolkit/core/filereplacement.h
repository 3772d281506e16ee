#pragma once
// Several files replaced as one change. Each Replace copies a new file over
// a target (atomically, as CopyFile does) and keeps the target's old file
// under a hidden name in the same folder: a second hard link to it, or the
// file itself renamed where the file system has no hard links, so keeping it
// costs no copy. Commit forgets the old files; Rollback puts every target
// back as it was, last replaced first (a target that did not exist before is
// removed again). A replacement set destroyed without Commit rolls back, so
// a failure anywhere in between never leaves a mix of old and new files.
//
// If the process dies before Commit or Rollback, the old files remain beside
// their targets as ".<name>.before-<random>", so nothing is lost.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace tk {

class TFileReplacement {
public:
    TFileReplacement() = default;
    ~TFileReplacement();
    TFileReplacement(const TFileReplacement&) = delete;
    TFileReplacement& operator=(const TFileReplacement&) = delete;

    // Copies source over target. False when it could not (LastError tells
    // the errno); target is then as it was. A target that exists must be a
    // file or a link, never a folder. Not allowed after Commit or Rollback.
    bool Replace(const QString& source, const QString& target);

    // Keeps the new files: deletes the old ones kept aside.
    void Commit();
    // Puts back every target replaced so far, last first. False when one
    // could not be put back; its old file then stays under the name that
    // KeptAside lists, and the others are still put back.
    bool Rollback();

    // The hidden names under which old files are kept right now.
    QStringList KeptAside() const;
    int Count() const { return int(entries_.size()); }
    // The errno of the last failure.
    int LastError() const { return lastError_; }

private:
    struct Entry {
        QByteArray target;
        QByteArray aside;  // empty when the target did not exist before
    };

    std::vector<Entry> entries_;
    bool finished_ = false;
    int lastError_ = 0;
};

}  // namespace tk
