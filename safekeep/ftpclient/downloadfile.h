#pragma once
// A file being downloaded: written under a temporary name beside its target
// and moved over the target only when complete, so a broken transfer never
// leaves a partial file under the real name and never harms the old one.

#include <QByteArray>
#include <QString>
#include <cstddef>

namespace safekeep {

class TDownloadFile {
public:
    // Creates the temporary file; EFtpError when the folder refuses it.
    explicit TDownloadFile(const QString& target);
    // Removes the temporary file unless Commit succeeded.
    ~TDownloadFile();
    TDownloadFile(const TDownloadFile&) = delete;
    TDownloadFile& operator=(const TDownloadFile&) = delete;

    // False on a write error; WriteError() then tells why.
    bool Write(const char* data, std::size_t size);
    QString WriteError() const;

    // Moves the finished file to the target; without overwrite an existing
    // target is left alone and the commit fails. EFtpError on failure.
    void Commit(bool overwrite);

    QString TemporaryPath() const { return QString::fromLocal8Bit(tempPath_); }

private:
    QByteArray target_;
    QByteArray tempPath_;
    int fd_ = -1;
    int writeErrno_ = 0;
    bool committed_ = false;
};

}  // namespace safekeep
