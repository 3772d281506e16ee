#include "tests/sevenzip/sevenzip_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>

namespace safekeep::test {

CliResult RunCli(const QStringList& arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // The command line reads non-ASCII arguments and names in the locale's
    // encoding.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("7z"), arguments);
    CliResult result;
    if (!process.waitForFinished(300000))
        return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = QString::fromUtf8(process.readAll());
    return result;
}

std::vector<QMap<QString, QString>> CliItems(const QString& archive, const QString& password)
{
    QStringList arguments{QStringLiteral("l"), QStringLiteral("-slt")};
    arguments << QStringLiteral("-p") + password << archive;
    const CliResult result = RunCli(arguments);
    std::vector<QMap<QString, QString>> items;
    // Items follow the "----------" line, separated by blank lines.
    const qsizetype start = result.output.indexOf(QStringLiteral("\n----------\n"));
    if (start < 0)
        return items;
    QMap<QString, QString> item;
    for (const QString& line : result.output.mid(start + 12).split(QLatin1Char('\n'))) {
        const qsizetype equals = line.indexOf(QStringLiteral(" = "));
        if (equals > 0) {
            item.insert(line.left(equals), line.mid(equals + 3));
        } else if (line.trimmed().isEmpty() && !item.isEmpty()) {
            items.push_back(item);
            item.clear();
        }
    }
    if (!item.isEmpty())
        items.push_back(item);
    return items;
}

QByteArray TextData(qsizetype size, quint32 seed)
{
    static const char* const words[] = {"copia",  "seguridad", "comunidad",   "año",
                                        "recibo", "cuota",     "propietario", "12,50",
                                        "2026",   "Informes",  "apppos",      "DACT"};
    QRandomGenerator random(seed);
    QByteArray data;
    data.reserve(size + 16);
    while (data.size() < size) {
        data += words[random.bounded(int(std::size(words)))];
        data += random.bounded(8) == 0 ? "\r\n" : " ";
    }
    data.truncate(size);
    return data;
}

QByteArray RandomData(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray data(size, Qt::Uninitialized);
    for (qsizetype index = 0; index < size; ++index)
        data[index] = char(random.bounded(256));
    return data;
}

SevenZipTest::SevenZipTest() : zip(std::make_unique<TSevenZip>())
{
    zip->OnMessage = [this](QObject* sender, int code, const QString& text, const QString& fileName) {
        EXPECT_EQ(sender, zip.get());
        messages.push_back({code, text, fileName});
    };
}

QString SevenZipTest::WriteFile(const QString& name, const QByteArray& bytes) const
{
    QDir().mkpath(QFileInfo(Path(name)).path());
    return folder.Write(name, bytes);
}

QByteArray SevenZipTest::ReadFile(const QString& name) const
{
    return folder.Read(name);
}

QStringList SevenZipTest::Entries(const QString& name) const
{
    return QDir(Path(name))
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace safekeep::test
