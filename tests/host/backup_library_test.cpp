#include "host/backup_library.h"
#include "host/backup_screenshots.h"
#include "host/main_window.h"
#include "host/sample_installation.h"

#include "safekeep/langman/languagemanager.h"
#include "tests/host/fakelib/fake_safekeep.h"
#include "tests/support/temp_folder.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/data/database.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <dlfcn.h>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace host {
namespace {

// What the stand-in library recorded; it is loaded once per process, like
// the host loads the real one.
TFakeBackupCall& FakeCalls()
{
    void* handle = dlopen(FAKE_SAFEKEEP, RTLD_NOW | RTLD_LOCAL);
    if (!handle)
        throw std::runtime_error(dlerror());
    return *static_cast<TFakeBackupCall*>(dlsym(handle, "FakeLastCall"));
}

// Answers the next modal box with its default button after reading its text.
void AnswerNextMessageBox(QString& text)
{
    QTimer::singleShot(0, [&text] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            QTimer::singleShot(20, [&text] { AnswerNextMessageBox(text); });
            return;
        }
        text = box->text() + QLatin1Char('|') + box->informativeText();
        box->accept();
    });
}

// A sample installation with both databases open and a language loaded, as
// the program has them when its window shows.
class HostCallTest : public ::testing::Test {
protected:
    HostCallTest() : paths_(LayOutSampleInstallation(folder_.Path()))
    {
        manager_.SetFolder(paths_.langFolder);
        manager_.SetLanguageCode(QStringLiteral("es"));
        database1_.SetDatabaseName(paths_.yearFile);
        database1_.SetActive(true);
        database2_.SetDatabaseName(paths_.reportDatabase);
        database2_.SetActive(true);
        call_ = {1, &manager_, &database1_, &database2_};
    }

    tk::test::TempFolder folder_;
    THostPaths paths_;
    safekeep::TLanguageManager manager_;
    tk::TDatabase database1_;
    tk::TDatabase database2_;
    TBackupCall call_;
};

TEST_F(HostCallTest, AMissingLibraryOrEntryIsReportedAndTheWindowStaysUsable)
{
    struct Case {
        QString library;
        TBackupLibrary::TLoadError error;
        QString message;
    } cases[] = {
        {BackupLibraryPath(paths_.binFolder), TBackupLibrary::leLibraryNotLoaded,
         QStringLiteral("No se puede cargar la biblioteca de copias de seguridad.")},
        // A real library without the entry: the language manager's.
        {tk::IncludeTrailingPathDelimiter(QCoreApplication::applicationDirPath()) +
             QStringLiteral("liblangman.so"),
         TBackupLibrary::leEntryNotFound,
         QStringLiteral("La biblioteca de copias de seguridad no contiene la función CopiaSeguridad.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(qPrintable(c.library));
        TBackupLibrary library(c.library);
        EXPECT_FALSE(library.Load());
        EXPECT_EQ(library.Error(), c.error);
        EXPECT_FALSE(library.ErrorDetail().isEmpty());
        EXPECT_THROW(library.CopiaSeguridad(call_), tk::EInvalidOperation);

        TfrmBrivora window(library, call_, paths_);
        window.show();
        QString shown;
        AnswerNextMessageBox(shown);
        EXPECT_EQ(window.OpenBackupWindow(), -1);
        EXPECT_TRUE(shown.startsWith(c.message)) << qPrintable(shown);
        EXPECT_TRUE(shown.contains(library.ErrorDetail())) << qPrintable(shown);
        EXPECT_TRUE(window.isVisible());
        EXPECT_TRUE(database1_.Active()) << "the host's databases are not touched";
    }
}

TEST_F(HostCallTest, TheButtonHandsTheHostsOwnObjectsToTheEntry)
{
    TBackupLibrary library(QStringLiteral(FAKE_SAFEKEEP));
    TfrmBrivora window(library, call_, paths_);
    manager_.LangVCL(&window);
    window.show();
    TFakeBackupCall& fake = FakeCalls();
    const int callsBefore = fake.calls;
    int reconnections = 0;
    database1_.OnAfterConnect = [&](QObject*) { ++reconnections; };

    // The user clicks the button; the backup window opens and is closed.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer.start(20);
    ClickAsUser(window.BackupButton());
    closer.stop();

    EXPECT_EQ(fake.calls, callsBefore + 1);
    EXPECT_EQ(fake.restricted, 1);
    EXPECT_EQ(fake.languageManager, &manager_);
    EXPECT_EQ(fake.database1, &database1_);
    EXPECT_EQ(fake.database2, &database2_);
    // The library reconnected the year file; the window shows where it ended.
    EXPECT_TRUE(database1_.Active());
    EXPECT_EQ(reconnections, 1);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("lblDatabase1"))->text(), QStringLiteral("abierta"));
    EXPECT_EQ(window.statusBar()->currentMessage(),
              QStringLiteral("La ventana de copia de seguridad devolvió 0"));
}

TEST_F(HostCallTest, ScreenshotsShowEachPageReachedThroughItsButton)
{
    TBackupLibrary library(QStringLiteral(FAKE_SAFEKEEP));
    TFakeBackupCall& fake = FakeCalls();
    fake.pagesShown.clear();
    const int callsBefore = fake.calls;
    const QString shots = folder_.File(QStringLiteral("shots"));

    TBackupScreenshots screenshots(library, call_, shots);
    ASSERT_EQ(screenshots.Run(), 0);

    // One window for start and create, a second one for restore.
    EXPECT_EQ(fake.calls, callsBefore + 2);
    EXPECT_EQ(fake.pagesShown, (std::vector<int>{1, 2}));
    const QStringList names{"backup-start.png", "backup-create.png", "backup-restore.png"};
    QList<QImage> images;
    for (const QString& name : names) {
        const QImage image(shots + QLatin1Char('/') + name);
        ASSERT_FALSE(image.isNull()) << qPrintable(name);
        EXPECT_EQ(image.size(), QSize(657, 481)) << qPrintable(name);
        images << image;
    }
    EXPECT_NE(images[0], images[1]);
    EXPECT_NE(images[1], images[2]);
}

}  // namespace
}  // namespace host
