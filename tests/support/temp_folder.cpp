#include "tests/support/temp_folder.h"

#include <QFile>
#include <stdexcept>

namespace tk::test {

TempFolder::TempFolder()
{
    if (!dir_.isValid())
        throw std::runtime_error("cannot create a temporary folder");
}

QString TempFolder::Write(const QString& name, const QByteArray& bytes) const
{
    const QString path = File(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
    return path;
}

QByteArray TempFolder::Read(const QString& name) const
{
    QFile file(File(name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

}  // namespace tk::test
