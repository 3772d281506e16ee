#include "host/host_paths.h"

#include "tests/support/temp_folder.h"
#include "toolkit/core/fileutils.h"

#include <QDir>
#include <gtest/gtest.h>

namespace host {
namespace {

// An installation folder App/Bin with the given settings file.
class HostPathsTest : public ::testing::Test {
protected:
    QString Bin() const { return folder_.Path() + QStringLiteral("/App/Bin/"); }
    QString Executable() const { return Bin() + QStringLiteral("Brivora"); }
    void WriteIni(const QByteArray& text)
    {
        QDir().mkpath(Bin());
        folder_.Write(QStringLiteral("App/Bin/Brivora.INI"), text);
    }
    void Touch(const QString& relative)
    {
        QDir().mkpath(tk::ExtractFilePath(folder_.File(relative)));
        folder_.Write(relative, "x");
    }

    tk::test::TempFolder folder_;
};

TEST_F(HostPathsTest, DataLivesBesideTheProgramsFolder)
{
    WriteIni("[ANYO]\r\nAnyo=2026.mdb\r\nComunidad=Edificio Pe\xF1"
             "alara\r\n[ruta]\r\nmodificada=/otra/\r\n"
             "esta_modificada=0\r\n");
    const THostPaths paths = THostPaths::ForExecutable(Executable());

    EXPECT_EQ(paths.hostIni, Bin() + QStringLiteral("Brivora.INI"));
    EXPECT_EQ(paths.binFolder, Bin());
    EXPECT_EQ(paths.langFolder, Bin() + QStringLiteral("Langs"));
    // "modificada" counts only when "esta_modificada" says so.
    EXPECT_EQ(paths.dataRoot, folder_.Path() + QStringLiteral("/App/Datos"));
    EXPECT_EQ(paths.community, QStringLiteral("Edificio Peñalara"));
    EXPECT_EQ(paths.yearFile, paths.dataRoot + QStringLiteral("/Comunidades/Edificio Peñalara/2026.mdb"));
    EXPECT_EQ(paths.reportDatabase, paths.dataRoot + QStringLiteral("/Informes/Informes.mdb"));
}

TEST_F(HostPathsTest, SettingsMayChooseAnotherDataRoot)
{
    WriteIni("[anyo]\r\nanyo=2025.mdb\r\ncomunidad=Centro\r\n[ruta]\r\nmodificada=/srv/fincas/"
             "\r\nesta_modificada=1\r\n");
    const THostPaths paths = THostPaths::ForExecutable(Executable());
    EXPECT_EQ(paths.dataRoot, QStringLiteral("/srv/fincas"));
    EXPECT_EQ(paths.yearFile, QStringLiteral("/srv/fincas/Comunidades/Centro/2025.mdb"));
    EXPECT_EQ(paths.reportDatabase, QStringLiteral("/srv/fincas/Informes/Informes.mdb"));
}

TEST_F(HostPathsTest, FilesCopiedFromWindowsAreFoundInAnotherLetterCase)
{
    WriteIni("[anyo]\r\nanyo=2026.mdb\r\ncomunidad=centro\r\n");
    Touch(QStringLiteral("App/Datos/Comunidades/CENTRO/2026.MDB"));
    Touch(QStringLiteral("App/Datos/Informes/INFORMES.MDB"));
    const THostPaths paths = THostPaths::ForExecutable(Executable());
    EXPECT_TRUE(tk::FileExists(paths.yearFile)) << qPrintable(paths.yearFile);
    EXPECT_TRUE(tk::FileExists(paths.reportDatabase)) << qPrintable(paths.reportDatabase);
}

}  // namespace
}  // namespace host
