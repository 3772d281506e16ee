#pragma once
// A temporary folder owned by one test, removed with it.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace tk::test {

class TempFolder {
public:
    TempFolder();
    QString Path() const { return dir_.path(); }
    // Absolute path of a name inside the folder.
    QString File(const QString& name) const { return dir_.filePath(name); }
    // Writes raw bytes to a file in the folder and returns its path.
    QString Write(const QString& name, const QByteArray& bytes) const;
    QByteArray Read(const QString& name) const;

private:
    QTemporaryDir dir_;
};

}  // namespace tk::test
