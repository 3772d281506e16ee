#include "host/relaunch.h"

#include "toolkit/core/fileutils.h"

#include <QByteArray>
#include <QFileInfo>
#include <cerrno>
#include <unistd.h>
#include <vector>

namespace host {

QStringList RelaunchArguments(const QStringList& arguments, const QString& executable)
{
    QStringList result{executable};
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {
            result += arguments.mid(i);  // after "--" nothing is an option
            break;
        }
        if (argument == QLatin1String("--sample")) {
            ++i;  // and its value
            continue;
        }
        if (argument.startsWith(QLatin1String("--sample=")))
            continue;
        result << argument;
    }
    return result;
}

QString Relaunch(const QString& executable, const QStringList& arguments)
{
    std::vector<QByteArray> bytes;
    bytes.reserve(arguments.size());
    for (const QString& argument : arguments)
        bytes.push_back(argument.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv(executable.toLocal8Bit().constData(), argv.data());
    return tk::SysErrorMessage(errno);
}

bool SameFolder(const QString& a, const QString& b)
{
    const QString left = QFileInfo(a).canonicalFilePath();
    return !left.isEmpty() && left == QFileInfo(b).canonicalFilePath();
}

}  // namespace host
