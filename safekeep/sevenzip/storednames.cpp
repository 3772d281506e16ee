#include "safekeep/sevenzip/storednames.h"

namespace safekeep::sz {

namespace {

bool HasDrivePrefix(const QString& name)
{
    if (name.size() < 2 || name[1] != QLatin1Char(':'))
        return false;
    const char16_t letter = name[0].unicode();
    return (letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z');
}

QString ForwardSlashes(QString name)
{
    return name.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

}  // namespace

QString AddRootPrefix(const QString& root)
{
    if (root.isEmpty())
        return root;
    QString prefix = ForwardSlashes(root.toUpper());
    if (!prefix.endsWith(QLatin1Char('/')))
        prefix += QLatin1Char('/');
    return prefix;
}

QString RemoveAddRoot(const QString& path, const QString& rootPrefix)
{
    if (rootPrefix.isEmpty())
        return path;
    if (ForwardSlashes(path.left(rootPrefix.size()).toUpper()) != rootPrefix)
        return path;
    return path.mid(rootPrefix.size());
}

QString FinishStoredName(const QString& name, bool includeDriveLetter, bool onlyFileName)
{
    QString result = name;
    if (HasDrivePrefix(result)) {
        if (includeDriveLetter)
            result.remove(1, 1);
        else
            result.remove(0, 3);
    }
    result = ForwardSlashes(result);
    if (onlyFileName)
        result = result.mid(result.lastIndexOf(QLatin1Char('/')) + 1);
    QStringList parts;
    for (const QString& part : result.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part != QLatin1String(".") && part != QLatin1String(".."))
            parts << part;
    }
    return parts.join(QLatin1Char('/'));
}

std::optional<QStringList> SafeStoredNameParts(const QString& storedName)
{
    const QString name = ForwardSlashes(storedName);
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || HasDrivePrefix(name) ||
        name.contains(QChar(0)))
        return std::nullopt;
    QStringList parts;
    for (const QString& part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (part == QLatin1String(".."))
            return std::nullopt;
        if (part != QLatin1String("."))
            parts << part;
    }
    if (parts.isEmpty())
        return std::nullopt;
    return parts;
}

QString NormalizedStoredName(const QString& name)
{
    QString result = ForwardSlashes(name);
    while (result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result;
}

}  // namespace safekeep::sz
