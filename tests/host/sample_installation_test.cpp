#include "host/sample_databases.h"
#include "host/sample_installation.h"

#include "tests/support/temp_folder.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/core/inifile.h"
#include "toolkit/data/database.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <stdexcept>

namespace host {
namespace {

// Every row of a query's first column, as text. Fails the test on bad SQL.
QStringList Column(sqlite3* db, const QString& sql)
{
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &statement, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    QStringList values;
    while (sqlite3_step(statement) == SQLITE_ROW)
        values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    sqlite3_finalize(statement);
    return values;
}

int Count(sqlite3* db, const QString& table)
{
    return Column(db, QStringLiteral("SELECT count(*) FROM ") + table).value(0).toInt();
}

class SampleInstallationTest : public ::testing::Test {
protected:
    QString Root() const { return folder_.File(QStringLiteral("Muestra")); }
    QByteArray Bytes(const QString& path) const
    {
        QByteArray bytes;
        tk::ReadFileBytes(path, bytes);
        return bytes;
    }

    tk::test::TempFolder folder_;
};

TEST_F(SampleInstallationTest, LaysOutWhatTheProgramLooksForBesideItself)
{
    const THostPaths paths = LayOutSampleInstallation(Root());

    // The program will run from App/Bin and find its data in App/Datos.
    EXPECT_EQ(SampleExecutable(Root()), Root() + QStringLiteral("/App/Bin/Brivora"));
    EXPECT_EQ(paths.binFolder, Root() + QStringLiteral("/App/Bin/"));
    EXPECT_EQ(paths.dataRoot, Root() + QStringLiteral("/App/Datos"));
    for (const char* name :
         {"Brivora.INI", "apppos.INI", "DACT.INI", "Langs/backup.es.lng", "Langs/backup.en.lng"})
        EXPECT_TRUE(tk::FileExists(paths.binFolder + QString::fromLatin1(name))) << name;

    const tk::TIniFile ini(paths.hostIni);
    EXPECT_EQ(ini.ReadString("anyo", "comunidad", ""), SampleCommunities().first().name);
    EXPECT_TRUE(ini.ReadString("anyo", "anyo", "").endsWith(QStringLiteral(".mdb")));
    EXPECT_FALSE(ini.ReadBool("ruta", "esta_modificada", true));
    EXPECT_TRUE(ini.ValueExists("ruta", "modificada"));
    // The backup dialog starts in a folder that exists.
    const QString backups = ini.ReadString("CopSeg", "ruta", "");
    EXPECT_TRUE(backups.endsWith(QLatin1Char('/'))) << qPrintable(backups);
    EXPECT_TRUE(tk::DirectoryExists(backups)) << qPrintable(backups);
    EXPECT_FALSE(ini.ValueExists("copseg", "Fecha")) << "no backup was made yet";

    EXPECT_EQ(paths.yearFile, paths.dataRoot + QStringLiteral("/Comunidades/") + paths.community +
                                  QLatin1Char('/') + paths.yearFileName);
    EXPECT_TRUE(tk::FileExists(paths.yearFile));
    EXPECT_TRUE(tk::FileExists(paths.reportDatabase));
    EXPECT_FALSE(tk::DirectoryExists(paths.communityFolder + QStringLiteral("/Temp")))
        << "the backup makes its staging folder itself";
    for (const TSampleCommunity& community : SampleCommunities())
        EXPECT_TRUE(tk::FileExists(paths.dataRoot + QStringLiteral("/Comunidades/") + community.name +
                                   QLatin1Char('/') + paths.yearFileName))
            << qPrintable(community.name);
    EXPECT_TRUE(QDir(paths.dataRoot + QStringLiteral("/Informes")).entryList(QDir::Files) ==
                QStringList{QStringLiteral("Informes.mdb")})
        << "no temporary file left behind";
}

TEST_F(SampleInstallationTest, FilesAreWrittenAsAWindowsInstallHasThem)
{
    const THostPaths paths = LayOutSampleInstallation(Root());
    const QStringList files{paths.hostIni, paths.binFolder + QStringLiteral("apppos.INI"),
                            paths.binFolder + QStringLiteral("DACT.INI"),
                            paths.langFolder + QStringLiteral("/backup.es.lng"),
                            paths.langFolder + QStringLiteral("/backup.en.lng")};
    for (const QString& file : files) {
        const QByteArray bytes = Bytes(file);
        ASSERT_FALSE(bytes.isEmpty()) << qPrintable(file);
        EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n")) << "CR LF line breaks in " << qPrintable(file);
        EXPECT_TRUE(bytes.endsWith("\r\n")) << qPrintable(file);
        EXPECT_FALSE(bytes.contains('?')) << "a character lost to the code page in " << qPrintable(file);
        EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF")) << qPrintable(file);
    }
    // Windows-1252: one byte per accented letter, no UTF-8 sequences.
    const QByteArray ini = Bytes(paths.hostIni);
    EXPECT_TRUE(ini.contains("comunidad=Edificio Pe\xF1"
                             "alara\r\n"));
    EXPECT_FALSE(ini.contains("\xC3"));
    EXPECT_TRUE(Bytes(paths.langFolder + QStringLiteral("/backup.es.lng"))
                    .contains("Contrase\xF1"
                              "a"));
}

TEST_F(SampleInstallationTest, DatabasesOpenAsTheHostOpensThemAndHoldConsistentData)
{
    const THostPaths paths = LayOutSampleInstallation(Root());
    tk::TDatabase reports;
    reports.SetDatabaseName(paths.reportDatabase);
    reports.SetActive(true);
    const QStringList queries = Column(reports.Handle(), QStringLiteral("SELECT Consulta FROM Informes"));
    EXPECT_GE(queries.size(), 3);
    EXPECT_GE(Count(reports.Handle(), QStringLiteral("Parametros")), 1);

    for (const TSampleCommunity& community : SampleCommunities()) {
        SCOPED_TRACE(qPrintable(community.name));
        tk::TDatabase year;
        year.SetDatabaseName(paths.dataRoot + QStringLiteral("/Comunidades/") + community.name +
                             QLatin1Char('/') + paths.yearFileName);
        year.SetActive(true);
        sqlite3* db = year.Handle();
        EXPECT_EQ(Column(db, QStringLiteral("SELECT Nombre FROM Comunidad")), QStringList{community.name});
        EXPECT_EQ(Column(db, QStringLiteral("SELECT Ejercicio FROM Comunidad")).value(0) +
                      QStringLiteral(".mdb"),
                  paths.yearFileName);
        EXPECT_EQ(Count(db, QStringLiteral("Propietarios")), community.owners.size());
        EXPECT_EQ(Count(db, QStringLiteral("Recibos")), community.owners.size() * 3);
        EXPECT_GE(Count(db, QStringLiteral("Gastos")), 1);
        EXPECT_TRUE(Column(db, QStringLiteral("PRAGMA foreign_key_check")).isEmpty())
            << "receipts of no owner";
        EXPECT_TRUE(Column(db, QStringLiteral("PRAGMA integrity_check")) ==
                    QStringList{QStringLiteral("ok")});
        // The shares make up the whole community.
        EXPECT_DOUBLE_EQ(Column(db, QStringLiteral("SELECT round(sum(Coeficiente), 6) FROM Propietarios"))
                             .value(0)
                             .toDouble(),
                         100.0);
        // Every report of the report database runs on a year file.
        for (const QString& query : queries)
            EXPECT_NO_THROW(Column(db, query)) << qPrintable(query);
        EXPECT_FALSE(Column(db, QStringLiteral("SELECT Numero FROM Recibos WHERE Cobrado = 0")).isEmpty())
            << "the pending-receipts report has something to show";
    }
}

TEST_F(SampleInstallationTest, LayingOutAgainKeepsTheUsersDataAndRepairsTheRest)
{
    THostPaths paths = LayOutSampleInstallation(Root());
    const QString shipped = paths.langFolder + QStringLiteral("/backup.en.lng");
    const QByteArray shippedBytes = Bytes(shipped);

    // What the user and the backup window change.
    tk::TIniFile(paths.hostIni).WriteString("copseg", "Fecha", "07/12/2026");
    {
        tk::TDatabase year;
        year.SetDatabaseName(paths.yearFile);
        year.SetActive(true);
        ASSERT_EQ(sqlite3_exec(year.Handle(), "INSERT INTO Gastos VALUES (99, '2026-04-01', 'X', 'Y', 1.0)",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }
    const QByteArray userIni = Bytes(paths.hostIni);
    // What went missing or was damaged.
    ASSERT_TRUE(QFile::remove(paths.reportDatabase));
    QFile damaged(shipped);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("[Constants\r\n");
    damaged.close();

    paths = LayOutSampleInstallation(Root());
    EXPECT_EQ(Bytes(paths.hostIni), userIni);
    tk::TDatabase year;
    year.SetDatabaseName(paths.yearFile);
    year.SetActive(true);
    EXPECT_EQ(Column(year.Handle(), QStringLiteral("SELECT Proveedor FROM Gastos WHERE Numero = 99")),
              QStringList{QStringLiteral("X")});
    EXPECT_TRUE(tk::FileExists(paths.reportDatabase));
    EXPECT_EQ(Bytes(shipped), shippedBytes);
}

TEST_F(SampleInstallationTest, AFolderThatCannotBeMadeIsAnErrorNotASilentSuccess)
{
    folder_.Write(QStringLiteral("Muestra"), "a file where the installation should go");
    EXPECT_THROW(LayOutSampleInstallation(Root()), tk::EInOutError);
    EXPECT_THROW(CreateReportDatabase(Root() + QStringLiteral("/Informes/Informes.mdb")), tk::EInOutError);
}

}  // namespace
}  // namespace host
