#include "host/program_files.h"

#include "tests/support/temp_folder.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace host {
namespace {

class ProgramFilesTest : public ::testing::Test {
protected:
    ProgramFilesTest()
    {
        QDir(folder_.Path()).mkpath(QStringLiteral("build/bin"));
        QDir(folder_.Path()).mkpath(QStringLiteral("App/Bin"));
    }
    QString Build(const char* name, const QByteArray& bytes)
    {
        return folder_.Write(QStringLiteral("build/bin/") + QString::fromLatin1(name), bytes);
    }
    QString Bin() const { return folder_.File(QStringLiteral("App/Bin")); }
    QByteArray Installed(const char* name) const
    {
        return folder_.Read(QStringLiteral("App/Bin/") + QString::fromLatin1(name));
    }

    tk::test::TempFolder folder_;
};

TEST_F(ProgramFilesTest, TheInstallationGetsTheBuildsProgramAndNoStaleLibrary)
{
    const QString executable = Build("Brivora", "program 1");
    QFile::setPermissions(executable, QFile::permissions(executable) | QFile::ExeOwner);
    Build("libtoolkit.so", "toolkit 1");
    Build("liblangman.so", "langman 1");
    Build("core_tests", "not part of the program");
    // Left from an earlier build that had the backup library.
    folder_.Write(QStringLiteral("App/Bin/libsafekeep.so"), "old backup library");
    folder_.Write(QStringLiteral("App/Bin/Brivora.INI"), "[anyo]\r\n");

    InstallProgramFiles(executable, Bin());
    EXPECT_EQ(Installed("Brivora"), QByteArray("program 1"));
    EXPECT_EQ(Installed("libtoolkit.so"), QByteArray("toolkit 1"));
    EXPECT_EQ(Installed("liblangman.so"), QByteArray("langman 1"));
    EXPECT_FALSE(tk::FileExists(Bin() + QStringLiteral("/core_tests")));
    EXPECT_FALSE(tk::FileExists(Bin() + QStringLiteral("/libsafekeep.so")))
        << "a library the build no longer has must not be loaded";
    EXPECT_EQ(Installed("Brivora.INI"), QByteArray("[anyo]\r\n")) << "data files are not the program's";
    EXPECT_TRUE(QFileInfo(Bin() + QStringLiteral("/Brivora")).isExecutable());

    // A rebuilt library replaces the installed one; the new backup library
    // comes along.
    Build("libtoolkit.so", "toolkit 2, longer");
    Build("libsafekeep.so", "backup library");
    InstallProgramFiles(executable, Bin());
    EXPECT_EQ(Installed("libtoolkit.so"), QByteArray("toolkit 2, longer"));
    EXPECT_EQ(Installed("libsafekeep.so"), QByteArray("backup library"));
}

TEST_F(ProgramFilesTest, LibraryLinksStayLinksSoEachLibraryIsCopiedOnce)
{
    const QString executable = Build("Brivora", "program");
    Build("libkelgrid.so.1.0.0", "grid 1");
    const QString bin = folder_.File(QStringLiteral("build/bin/"));
    ASSERT_TRUE(QFile::link(QStringLiteral("libkelgrid.so.1.0.0"), bin + QStringLiteral("libkelgrid.so.1")));
    ASSERT_TRUE(QFile::link(QStringLiteral("libkelgrid.so.1"), bin + QStringLiteral("libkelgrid.so")));
    // Left as a plain copy by an installation made before the links.
    folder_.Write(QStringLiteral("App/Bin/libkelgrid.so"), "grid 0, copied");

    InstallProgramFiles(executable, Bin());
    const QFileInfo name(Bin() + QStringLiteral("/libkelgrid.so"));
    const QFileInfo soname(Bin() + QStringLiteral("/libkelgrid.so.1"));
    ASSERT_TRUE(name.isSymLink());
    ASSERT_TRUE(soname.isSymLink());
    EXPECT_EQ(name.symLinkTarget(), soname.absoluteFilePath()) << "the link points into the installation";
    EXPECT_FALSE(QFileInfo(Bin() + QStringLiteral("/libkelgrid.so.1.0.0")).isSymLink());
    EXPECT_EQ(Installed("libkelgrid.so"), QByteArray("grid 1"));

    // Installing again keeps the links; a rebuilt library reaches them.
    Build("libkelgrid.so.1.0.0", "grid 2, rebuilt");
    InstallProgramFiles(executable, Bin());
    EXPECT_TRUE(QFileInfo(Bin() + QStringLiteral("/libkelgrid.so")).isSymLink());
    EXPECT_EQ(Installed("libkelgrid.so"), QByteArray("grid 2, rebuilt"));
    EXPECT_EQ(QDir(Bin()).entryList({QStringLiteral("*.link")}, QDir::System | QDir::Files), QStringList())
        << "no temporary link is left";
}

TEST_F(ProgramFilesTest, AProgramThatCannotBeCopiedIsAnError)
{
    EXPECT_THROW(InstallProgramFiles(folder_.File(QStringLiteral("build/bin/Brivora")), Bin()),
                 tk::EInOutError);
}

}  // namespace
}  // namespace host
