#pragma once
// A backup window on a sample installation of the host laid out in a
// temporary folder, with the host's two databases open and their switches
// logged, and the ways a user drives it.

#include "host/sample_installation.h"
#include "safekeep/backupform/frmcopiaseguridad.h"
#include "tests/support/file_dialog_answerer.h"
#include "tests/support/temp_folder.h"
#include "toolkit/core/registry.h"
#include "toolkit/data/database.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace safekeep {

inline QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Runs the 7z command line; returns its standard output.
inline QString SevenZipCommand(const QStringList& arguments, int* exitCode = nullptr)
{
    QProcess process;
    process.start(QStringLiteral("7z"), arguments);
    process.waitForFinished(60000);
    if (exitCode)
        *exitCode = process.exitCode();
    return QString::fromUtf8(process.readAllStandardOutput());
}

class BackupFlowTest : public ::testing::Test {
protected:
    BackupFlowTest()
    {
        tk::TRegistry::SetStorePath(folder.File(QStringLiteral("registry.reg")));
        paths = host::LayOutSampleInstallation(folder.File(QStringLiteral("install")));
        SetHostExecutablePath(paths.executable);
        year.SetDatabaseName(paths.yearFile);
        report.SetDatabaseName(paths.reportDatabase);
        year.SetActive(true);
        report.SetActive(true);
        year.OnAfterConnect = [this](QObject*) { switches << QStringLiteral("year on"); };
        year.OnAfterDisconnect = [this](QObject*) { switches << QStringLiteral("year off"); };
        report.OnAfterConnect = [this](QObject*) { switches << QStringLiteral("report on"); };
        report.OnAfterDisconnect = [this](QObject*) { switches << QStringLiteral("report off"); };
        window = std::make_unique<TfrmCopiaSeguridad>(0, nullptr, &year, &report);
        window->show();
        QCoreApplication::processEvents();
    }
    ~BackupFlowTest() override
    {
        window.reset();
        SetHostExecutablePath(QString());
        tk::TRegistry::SetStorePath(QString());
    }

    // Chooses the destination in the save dialog and creates the backup.
    void CreateBackup(const QString& destination, const QString& password)
    {
        window->btn1Click();
        window->Edit5->SetText(password);
        tk::test::AnswerNextFileDialog(destination);
        QTest::mouseClick(window->JvXPButtonSeleccionarDestinoCopia, Qt::LeftButton);
        ASSERT_EQ(window->lblDestino->Caption(), destination);
        QTest::mouseClick(window->JvXPButtonCrearCopiaSeguridad, Qt::LeftButton);
    }
    // Chooses the archive in the open dialog and restores it.
    void RestoreBackup(const QString& archive, const QString& password)
    {
        window->btn2Click();
        window->Edit5->SetText(password);
        tk::test::AnswerNextFileDialog(archive);
        QTest::mouseClick(window->JvXPButton1, Qt::LeftButton);
        ASSERT_EQ(window->lblb8->Caption(), archive) << qPrintable(window->lblb8->Caption());
        QTest::mouseClick(window->JvXPButtonRecuperarBK, Qt::LeftButton);
    }
    QStringList HostFiles() const
    {
        return {paths.hostIni, paths.binFolder + QStringLiteral("apppos.INI"),
                paths.binFolder + QStringLiteral("DACT.INI"), paths.yearFile, paths.reportDatabase};
    }
    QString Backups() const { return folder.File(QStringLiteral("install/Copias/")); }

    tk::test::TempFolder folder;
    host::THostPaths paths;
    tk::TDatabase year;
    tk::TDatabase report;
    QStringList switches;
    std::unique_ptr<TfrmCopiaSeguridad> window;
};

}  // namespace safekeep
