#include "tests/support/open_files.h"

#include <QDir>
#include <QFileInfo>

namespace tk::test {

int DescriptorsOn(const QString& path)
{
    const QString target = QFileInfo(path).canonicalFilePath();
    int count = 0;
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QString& fd : fds.entryList(QDir::Files | QDir::System | QDir::NoDotAndDotDot))
        if (QFileInfo(fds.filePath(fd)).symLinkTarget() == target)
            ++count;
    return count;
}

}  // namespace tk::test
