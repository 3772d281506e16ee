#include "safekeep/backupform/frmcopiaseguridad.h"
#include "safekeep/langman/languagemanager.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/temp_folder.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/registry.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <memory>

namespace safekeep {
namespace {

const char* const kEnglish =
    "[Meridian Language File]\r\nLanguageName=English\r\n"
    "[TfrmCopiaSeguridad]\r\n"
    "self.Caption=Brivora BackUp (EN)\r\n"
    "btn1.Caption=CREATE BACKUP\r\n"
    "btn2.Caption=RESTORE BACKUP\r\n"
    "JvGroupBoxContraseña.Caption=Backup access password\r\n"
    "ListBoxTareas.Items.Text=Make temporary folder.\\nCopy files.\\nCompress.\\nCopy to folder.\\nChecked.\\n"
    "Delete temporary.\r\n"
    // A translation must not unlock a restricted window.
    "Edit1.PasswordChar=\r\n"
    "Edit1.ReadOnly=False\r\n"
    "[Constants]\r\n"
    "MINoCopiaSeguridad=Backup failed at step\r\n"
    "Correcto=Done\r\n";

class BackupWindowTest : public ::testing::Test {
protected:
    BackupWindowTest()
    {
        tk::TRegistry::SetStorePath(folder.File(QStringLiteral("registry.reg")));
        QDir(folder.Path()).mkdir(QStringLiteral("Langs"));
        folder.Write(QStringLiteral("Langs/backup.en.lng"), QByteArray(kEnglish));
        manager.SetFolder(folder.File(QStringLiteral("Langs")));
    }
    ~BackupWindowTest() override { tk::TRegistry::SetStorePath(QString()); }

    std::unique_ptr<TfrmCopiaSeguridad> Open(int restricted, TLanguageManager* languageManager)
    {
        auto window = std::make_unique<TfrmCopiaSeguridad>(restricted, languageManager, nullptr, nullptr);
        window->show();
        QApplication::setActiveWindow(window.get());
        QCoreApplication::processEvents();
        return window;
    }
    void StoreValue(const QString& name, const QString& value)
    {
        tk::TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(TfrmCopiaSeguridad::RegistryKey, true));
        registry.WriteString(name, value);
    }
    QString StoredValue(const QString& name)
    {
        tk::TRegistry registry;
        return registry.OpenKey(TfrmCopiaSeguridad::RegistryKey, false) ? registry.ReadString(name) : QString();
    }
    // Focuses box, types text and moves on to next, as the Tab key would.
    static void TypeAndLeave(tk::TEdit* box, const QString& text, QWidget* next)
    {
        box->setFocus(Qt::MouseFocusReason);
        QTest::keyClicks(box, text);
        next->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
    }

    tk::test::TempFolder folder;
    TLanguageManager manager;
};

TEST_F(BackupWindowTest, RestrictionDecidesWhetherTheAccountCanBeSeenAndChanged)
{
    manager.SetLanguageCode(QStringLiteral("en"));
    auto open = Open(0, &manager);
    EXPECT_TRUE(open->JvGroupBoxContrasena->Visible());
    for (tk::TEdit* box : {open->Edit1, open->Edit3, open->Edit2, open->Edit4, open->Edit6, open->Edit7}) {
        EXPECT_FALSE(box->ReadOnly()) << qPrintable(box->objectName());
        EXPECT_EQ(box->echoMode(), QLineEdit::Normal) << qPrintable(box->objectName());
    }
    auto restricted = Open(1, &manager);
    EXPECT_FALSE(restricted->JvGroupBoxContrasena->Visible());
    for (tk::TEdit* box : {restricted->Edit1, restricted->Edit3, restricted->Edit2, restricted->Edit4})
        EXPECT_EQ(box->echoMode(), QLineEdit::Password) << qPrintable(box->objectName());
    for (tk::TEdit* box :
         {restricted->Edit1, restricted->Edit3, restricted->Edit2, restricted->Edit4, restricted->Edit6, restricted->Edit7})
        EXPECT_TRUE(box->ReadOnly()) << qPrintable(box->objectName());
}

TEST_F(BackupWindowTest, StartsOnTheStartPageAndNavigates)
{
    auto window = Open(0, nullptr);
    EXPECT_EQ(window->JvPageList1->ActivePage(), window->JvStandardPage1);
    EXPECT_EQ(window->Caption(), QStringLiteral("Brivora BackUp"));
    EXPECT_EQ(window->lblb1->Caption(), QStringLiteral("No me borres"));
    EXPECT_FALSE(window->lblb1->Visible());
    EXPECT_EQ(window->ListBoxTareas->Items()->Count(), 6);
    EXPECT_FALSE(window->JvXPButtonCrearCopiaSeguridad->Enabled());
    EXPECT_FALSE(window->btnRecuperar->Enabled());

    window->JvGroupBox1->SetEnabled(true);
    QTest::mouseClick(window->btn1, Qt::LeftButton);
    EXPECT_EQ(window->JvPageList1->ActivePage(), window->JvStandardPageHacerBK);
    EXPECT_FALSE(window->JvGroupBox1->Enabled());  // every page change closes the send group
    window->JvGroupBox1->SetEnabled(true);
    window->btn2Click();
    EXPECT_EQ(window->JvPageList1->ActivePage(), window->JvStandardPageRecuperarBK);
    EXPECT_FALSE(window->JvGroupBox1->Enabled());
}

TEST_F(BackupWindowTest, AccountSettingsComeFromTheUsersStore)
{
    {
        auto empty = Open(0, nullptr);
        for (tk::TEdit* box : {empty->Edit5, empty->Edit1, empty->Edit2, empty->Edit3, empty->Edit6})
            EXPECT_EQ(box->Text(), QString());
        EXPECT_TRUE(empty->lblb7->Visible());
    }
    StoreValue(QStringLiteral("PasoBK"), QStringLiteral("No me borres"));
    StoreValue(QStringLiteral("CuentaBK"), QStringLiteral("usuario"));
    StoreValue(QStringLiteral("PassBK"), QStringLiteral("clave"));
    StoreValue(QStringLiteral("HostBK"), QStringLiteral("ftp.example.org"));
    {
        auto filled = Open(0, nullptr);
        EXPECT_EQ(filled->Edit5->Text(), QStringLiteral("No me borres"));
        EXPECT_TRUE(filled->lblb7->Visible());
        EXPECT_EQ(filled->Edit1->Text(), QStringLiteral("usuario"));
        EXPECT_EQ(filled->Edit2->Text(), QStringLiteral("usuario"));
        EXPECT_EQ(filled->Edit4->Text(), QStringLiteral("clave"));
        EXPECT_EQ(filled->Edit7->Text(), QStringLiteral("ftp.example.org"));
    }
    StoreValue(QStringLiteral("PasoBK"), QStringLiteral("secreto"));
    {
        tk::TRegistry registry;
        ASSERT_TRUE(registry.OpenKey(TfrmCopiaSeguridad::RegistryKey, false));
        registry.WriteInteger(QStringLiteral("PassBK"), 7);  // a value of another type
    }
    auto partial = Open(0, nullptr);
    EXPECT_FALSE(partial->lblb7->Visible());
    EXPECT_EQ(partial->Edit1->Text(), QStringLiteral("usuario"));  // read before the bad value
    EXPECT_EQ(partial->Edit3->Text(), QString());                  // reading stopped there
    EXPECT_EQ(partial->Edit6->Text(), QString());
}

TEST_F(BackupWindowTest, LeavingBoxesStoresTheSendGroupsValues)
{
    StoreValue(QStringLiteral("CuentaBK"), QStringLiteral("usuario"));
    auto window = Open(0, nullptr);
    window->btn2Click();
    TypeAndLeave(window->Edit2, QStringLiteral("-otro"), window->Edit4);
    EXPECT_EQ(window->Edit2->Text(), QStringLiteral("usuario-otro"));
    EXPECT_EQ(StoredValue(QStringLiteral("CuentaBK")), QStringLiteral("usuario"));

    window->btn1Click();
    window->JvGroupBox1->SetEnabled(true);  // as after a backup was made
    TypeAndLeave(window->Edit1, QStringLiteral("-nuevo"), window->Edit3);
    EXPECT_EQ(StoredValue(QStringLiteral("CuentaBK")), QStringLiteral("usuario-nuevo"));

    window->JvPageList1->SetActivePage(window->JvStandardPage1);
    TypeAndLeave(window->Edit5, QStringLiteral("mi clave"), window->btn1);
    EXPECT_EQ(StoredValue(QStringLiteral("PasoBK")), QStringLiteral("mi clave"));
}

TEST_F(BackupWindowTest, KeyedMessagesUseTheTranslationAndStopFlowsOnErrors)
{
    manager.SetLanguageCode(QStringLiteral("en"));
    auto window = Open(0, &manager);
    tk::test::ModalAnswerer answerer;
    EXPECT_THROW(window->ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" 7"), true),
                 tk::EAbort);
    window->ShowKeyedMessage(QStringLiteral("Correcto"), QString(), false);
    EXPECT_THROW(window->ShowKeyedMessage(QStringLiteral("ComunidadNoExiste"), QStringLiteral(" : 24"), true),
                 tk::EAbort);
    auto untranslated = Open(0, nullptr);
    EXPECT_THROW(untranslated->ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" 5"), true),
                 tk::EAbort);

    ASSERT_EQ(answerer.Boxes().size(), 4);
    EXPECT_EQ(answerer.Boxes()[0].text, QStringLiteral("Backup failed at step 7"));
    EXPECT_EQ(answerer.Boxes()[0].caption, QStringLiteral("Brivora BackUp (EN)"));
    EXPECT_EQ(answerer.Boxes()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(answerer.Boxes()[1].text, QStringLiteral("Done"));
    EXPECT_EQ(answerer.Boxes()[1].icon, QMessageBox::Information);
    EXPECT_EQ(answerer.Boxes()[2].text, QStringLiteral(" : 24"));  // no translation: the suffix alone
    EXPECT_EQ(answerer.Boxes()[3].text, QStringLiteral(" 5"));
    EXPECT_EQ(answerer.Boxes()[3].caption, QStringLiteral("Brivora BackUp"));
}

TEST_F(BackupWindowTest, TranslatedIntoEnglish)
{
    manager.SetLanguageCode(QStringLiteral("en"));
    auto window = Open(0, &manager);
    EXPECT_EQ(window->Caption(), QStringLiteral("Brivora BackUp (EN)"));
    EXPECT_EQ(window->btn1->Caption(), QStringLiteral("CREATE BACKUP"));
    EXPECT_EQ(window->JvGroupBoxContrasena->Caption(), QStringLiteral("Backup access password"));
    EXPECT_EQ(window->ListBoxTareas->Items()->Strings(5), QStringLiteral("Delete temporary."));
    EXPECT_EQ(window->btnEnviar->Caption(), QStringLiteral("Enviar la copia a la cuenta Brivora BackUp"));
}

TEST_F(BackupWindowTest, TransferProgressReachesFullForAnySize)
{
    auto window = Open(0, nullptr);
    window->FtpClient1WorkBegin(1000);
    window->FtpClient1Work(250);
    EXPECT_EQ(window->Progress1->Max(), 1000);
    EXPECT_EQ(window->AdvProgress2->Position(), 250);

    const qint64 fiveGigabytes = 5LL * 1024 * 1024 * 1024;
    window->FtpClient1WorkBegin(fiveGigabytes);
    window->FtpClient1Work(fiveGigabytes / 2);
    const double half = double(window->Progress1->Position()) / window->Progress1->Max();
    EXPECT_NEAR(half, 0.5, 0.001);
    window->FtpClient1Work(fiveGigabytes);
    EXPECT_EQ(window->AdvProgress2->Position(), window->AdvProgress2->Max());
    window->FtpClient1WorkEnd();
    EXPECT_EQ(window->Progress1->Position(), 0);
    EXPECT_EQ(window->AdvProgress2->Position(), 0);
}

using CopiaSeguridadFunction = int (*)(int, TLanguageManager*, tk::TDatabase*, tk::TDatabase*);

TEST_F(BackupWindowTest, TheLibrarysEntryReturnsZeroForEveryWayOfClosing)
{
    const QString path = QCoreApplication::applicationDirPath() + QStringLiteral("/libsafekeep.so");
    void* library = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto entry = reinterpret_cast<CopiaSeguridadFunction>(dlsym(library, "CopiaSeguridad"));
    ASSERT_NE(entry, nullptr);

    const QList<std::function<void(QDialog*)>> ways{
        [](QDialog* window) { window->findChild<tk::TButton*>(QStringLiteral("btnClose"))->click(); },
        [](QDialog* window) { window->close(); },  // the title bar's close
        [](QDialog* window) { QTest::keyClick(window, Qt::Key_Escape); },
    };
    for (const auto& close : ways) {
        bool sawWindow = false;
        QTimer::singleShot(50, [&] {
            auto* window = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            sawWindow = window && window->objectName() == QStringLiteral("frmCopiaSeguridad");
            if (window)
                close(window);
        });
        EXPECT_EQ(entry(0, &manager, nullptr, nullptr), 0);
        EXPECT_TRUE(sawWindow);
    }

    // Without the 7-Zip library the window cannot be made: the call raises
    // the component's exception for the host's standard handling.
    qputenv("KS_SEVENZIP_LIBRARY", folder.File(QStringLiteral("missing/7z.so")).toLocal8Bit());
    try {
        entry(0, &manager, nullptr, nullptr);
        ADD_FAILURE() << "the call should fail";
    } catch (const tk::Exception& e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("Could not load CreateObject function from 7za.dll\r\nPerhaps 7za.dll not found"));
    }
    qunsetenv("KS_SEVENZIP_LIBRARY");
    dlclose(library);
}

}  // namespace
}  // namespace safekeep
