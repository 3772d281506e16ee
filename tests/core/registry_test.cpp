#include "toolkit/core/exceptions.h"
#include "toolkit/core/registry.h"

#include "tests/support/temp_folder.h"

#include <QDir>
#include <QFile>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace tk {
namespace {

const QString kSystemKey = QStringLiteral("\\Software\\Windows\\System");

// Points the store into the test's own folder and back out afterwards.
class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        storePath_ = folder_.File(QStringLiteral("config/toolkit/registry.reg"));
        TRegistry::SetStorePath(storePath_);
    }
    void TearDown() override { TRegistry::SetStorePath(QString()); }

    QString StoreText() const
    {
        QFile file(storePath_);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    void WriteStore(const QByteArray& bytes) const
    {
        QDir().mkpath(QFileInfo(storePath_).path());
        QFile file(storePath_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static mode_t ModeOf(const QString& path)
    {
        struct stat info {};
        ::stat(QFile::encodeName(path).constData(), &info);
        return info.st_mode & 07777;
    }

    test::TempFolder folder_;
    QString storePath_;
};

TEST_F(RegistryTest, StoresPrivatelyInARegistryStyleFile)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kSystemKey, true));
    reg.WriteString("PasoBK", "a\\b\"c");
    reg.WriteInteger("Count", 10);
    reg.WriteString("", "default");
    EXPECT_EQ(ModeOf(storePath_), 0600u);
    EXPECT_EQ(ModeOf(folder_.File("config")), 0700u);
    EXPECT_EQ(ModeOf(folder_.File("config/toolkit")), 0700u);
    const QString text = StoreText();
    EXPECT_TRUE(text.contains("\n[Software\\Windows\\System]\n\"PasoBK\"=\"a\\\\b\\\"c\"\n"
                              "\"Count\"=dword:0000000a\n@=\"default\"\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("\n[Software]\n")) << text.toStdString();
}

TEST_F(RegistryTest, ValuesRoundTripThroughTheFile)
{
    const QStringList texts = {"quote \" and backslash \\ and \\\\",
                               "line1\nline2\r\nline3\r",
                               "",
                               "Año € 漢 \xF0\x9F\x98\x80",
                               "\\n is not a newline",
                               "  spaces  ",
                               "=;[x]"};
    {
        TRegistry writer;
        ASSERT_TRUE(writer.OpenKey(kSystemKey, true));
        for (int i = 0; i < texts.size(); ++i)
            writer.WriteString(QStringLiteral("v\"%1\\").arg(i), texts[i]);
        writer.WriteInteger("min", -2147483647 - 1);
        writer.WriteBool("flag", true);
    }
    TRegistry reader;
    ASSERT_TRUE(reader.OpenKeyReadOnly(kSystemKey));
    for (int i = 0; i < texts.size(); ++i)
        EXPECT_EQ(reader.ReadString(QStringLiteral("V\"%1\\").arg(i)), texts[i]) << i;
    EXPECT_EQ(reader.ReadInteger("MIN"), -2147483647 - 1);
    EXPECT_TRUE(reader.ReadBool("Flag"));
}

TEST_F(RegistryTest, RelativeAndAbsoluteKeyPaths)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Software", true));
    EXPECT_EQ(reg.CurrentPath(), QStringLiteral("Software"));
    ASSERT_TRUE(reg.OpenKey("Tarnwell\\KelDBGrid", true));
    EXPECT_EQ(reg.CurrentPath(), QStringLiteral("Software\\Tarnwell\\KelDBGrid"));
    EXPECT_FALSE(reg.OpenKey("\\Missing", false));
    EXPECT_FALSE(reg.OpenKey("Missing", false));
    EXPECT_EQ(reg.CurrentPath(), QStringLiteral("Software\\Tarnwell\\KelDBGrid"));
    EXPECT_FALSE(reg.KeyExists("Tarnwell"));  // relative to the open key
    EXPECT_TRUE(reg.KeyExists("\\software\\TARNWELL"));
    ASSERT_TRUE(reg.OpenKey("\\Software\\", false));
    QStringList names;
    reg.GetKeyNames(names);
    EXPECT_EQ(names, QStringList{"Tarnwell"});
    reg.CloseKey();
    EXPECT_EQ(reg.CurrentPath(), QString());
    reg.GetKeyNames(names);
    EXPECT_EQ(names, QStringList{"Software"});
}

TEST_F(RegistryTest, NamesIgnoreCaseAndKeepTheirFirstSpelling)
{
    TRegistry reg;
    ASSERT_TRUE(reg.CreateKey("\\Software\\MyApp"));
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\MYAPP\\Sub", true));
    reg.WriteString("Value", "1");
    reg.WriteString("VALUE", "2");
    QStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(names, QStringList{"Value"});
    EXPECT_EQ(reg.ReadString("value"), QStringLiteral("2"));
    EXPECT_TRUE(StoreText().contains("[Software\\MyApp\\Sub]"));
    EXPECT_FALSE(StoreText().contains("MYAPP"));
}

TEST_F(RegistryTest, ReadingTheWrongTypeRaises)
{
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kSystemKey, true));
    reg.WriteInteger("Number", 1);
    reg.WriteString("Text", "x");
    try {
        reg.ReadString("Number");
        FAIL() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid data type for 'Number'"));
    }
    EXPECT_THROW(reg.ReadInteger("Text"), ERegistryException);
    EXPECT_THROW(reg.ReadBool("Text"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("Missing"), ERegistryException);
    EXPECT_EQ(reg.ReadString("Missing"), QString());
    // Writing another type replaces the value.
    reg.WriteString("Number", "now text");
    EXPECT_EQ(reg.ReadString("Number"), QStringLiteral("now text"));
}

TEST_F(RegistryTest, TwoObjectsDoNotLoseEachOthersWrites)
{
    TRegistry first;
    TRegistry second;
    ASSERT_TRUE(first.OpenKey(kSystemKey, true));
    ASSERT_TRUE(second.OpenKey(kSystemKey, false));
    EXPECT_EQ(second.ReadString("HostBK"), QString());
    first.WriteString("HostBK", "ftp.example.org");
    second.WriteString("CuentaBK", "cuenta");
    EXPECT_EQ(second.ReadString("HostBK"), QStringLiteral("ftp.example.org"));
    EXPECT_EQ(first.ReadString("CuentaBK"), QStringLiteral("cuenta"));
    first.WriteString("HostBK", "ftp.example.net");  // same size as before
    EXPECT_EQ(second.ReadString("HostBK"), QStringLiteral("ftp.example.net"));
}

TEST_F(RegistryTest, ConcurrentWritersAllSucceed)
{
    auto writeMany = [](const QString& prefix) {
        TRegistry reg;
        reg.OpenKey(kSystemKey, true);
        for (int i = 0; i < 30; ++i)
            reg.WriteInteger(prefix + QString::number(i), i);
    };
    std::thread a(writeMany, QStringLiteral("a"));
    std::thread b(writeMany, QStringLiteral("b"));
    a.join();
    b.join();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(kSystemKey, false));
    QStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(names.size(), 60);
}

TEST_F(RegistryTest, DamagedStoreReadsWhatItCan)
{
    WriteStore("\"Orphan\"=\"before any key\"\n"
               "[Good]\n"
               "\"A\"=\"ok\"\n"
               "\"B\"=\"unterminated\n"
               "\"C\"=dword:xyz\n"
               "\"D\"=dword:123456789\n"
               "garbage line\n"
               "\"E\"=hex:01,02\n"
               "\"F\"  =  dword:FF\n"
               "[Broken\n"
               "\"G\"=\"lost\"\n"
               "[good]\n"
               "\"H\"=\"merged\"\n"
               "\xFF\xFE binary junk\n");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey("\\Good", false));
    QStringList names;
    reg.GetValueNames(names);
    EXPECT_EQ(names, (QStringList{"A", "F", "H"}));
    EXPECT_EQ(reg.ReadInteger("F"), 255);
    reg.WriteString("I", "new");
    TRegistry fresh;
    ASSERT_TRUE(fresh.OpenKey("\\Good", false));
    fresh.GetValueNames(names);
    EXPECT_EQ(names, (QStringList{"A", "F", "H", "I"}));
}

TEST_F(RegistryTest, DeletingKeysAndValues)
{
    TRegistry reg;
    ASSERT_TRUE(reg.CreateKey("\\Software\\App\\Grid\\Columns"));
    ASSERT_TRUE(reg.CreateKey("\\Software\\Application"));
    ASSERT_TRUE(reg.OpenKey("\\Software\\App", false));
    reg.WriteString("x", "1");
    EXPECT_TRUE(reg.DeleteValue("X"));
    EXPECT_FALSE(reg.DeleteValue("x"));
    EXPECT_FALSE(reg.ValueExists("x"));
    EXPECT_TRUE(reg.DeleteKey("grid"));
    EXPECT_FALSE(reg.KeyExists("\\Software\\App\\Grid\\Columns"));
    EXPECT_TRUE(reg.KeyExists("\\Software\\App"));
    EXPECT_TRUE(reg.DeleteKey("\\software\\app"));
    EXPECT_TRUE(reg.KeyExists("\\Software\\Application"));
    EXPECT_FALSE(reg.DeleteKey("\\Software\\App"));
    EXPECT_FALSE(reg.DeleteKey("\\"));
}

TEST_F(RegistryTest, ReadOnlyKeysAndOtherRootsRefuseWrites)
{
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKeyReadOnly(kSystemKey));
    ASSERT_TRUE(reg.OpenKey(kSystemKey, true));
    reg.WriteString("PassBK", "secret");
    ASSERT_TRUE(reg.OpenKeyReadOnly(kSystemKey));
    EXPECT_EQ(reg.ReadString("PassBK"), QStringLiteral("secret"));
    EXPECT_THROW(reg.WriteString("PassBK", "other"), ERegistryException);
    EXPECT_FALSE(reg.DeleteValue("PassBK"));
    EXPECT_EQ(reg.ReadString("PassBK"), QStringLiteral("secret"));

    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.RootKey(), HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.KeyExists(kSystemKey));
    EXPECT_FALSE(reg.OpenKey(kSystemKey, true));
    EXPECT_THROW(reg.CreateKey(kSystemKey), ERegistryException);
    EXPECT_THROW(reg.WriteString("x", "y"), ERegistryException);
}

TEST_F(RegistryTest, UnwritableStoreRaisesWithTheFileName)
{
    // A file where the store's folder should be.
    folder_.Write("blocked", "x");
    const QString blocked = folder_.File("blocked/registry.reg");
    TRegistry::SetStorePath(blocked);
    TRegistry reg;
    try {
        reg.OpenKey(kSystemKey, true);
        FAIL() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_TRUE(e.Message().startsWith("Failed to create key")) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(blocked)) << e.Message().toStdString();
    }
    // A folder in the store's place cannot be read and is never replaced.
    ASSERT_TRUE(QDir().mkpath(storePath_));
    TRegistry::SetStorePath(storePath_);
    EXPECT_FALSE(reg.KeyExists(kSystemKey));
    EXPECT_THROW(reg.CreateKey(kSystemKey), ERegistryException);
    EXPECT_TRUE(QFileInfo(storePath_).isDir());
}

TEST(RegistryStorePath, FollowsOverrideEnvironmentAndConfigFolder)
{
    test::TempFolder folder;
    const QByteArray savedHome = qgetenv("HOME");
    const QByteArray savedConfig = qgetenv("XDG_CONFIG_HOME");
    const QByteArray savedFile = qgetenv("KS_REGISTRY_FILE");
    qputenv("HOME", QFile::encodeName(folder.Path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder.File("cfg")));
    qputenv("KS_REGISTRY_FILE", QFile::encodeName(folder.File("env.reg")));
    TRegistry::SetStorePath(folder.File("override.reg"));
    EXPECT_EQ(TRegistry::StorePath(), folder.File("override.reg"));
    TRegistry::SetStorePath(QString());
    EXPECT_EQ(TRegistry::StorePath(), folder.File("env.reg"));
    qunsetenv("KS_REGISTRY_FILE");
    EXPECT_EQ(TRegistry::StorePath(), folder.File("cfg/toolkit/registry.reg"));
    qputenv("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(TRegistry::StorePath(), folder.File(".config/toolkit/registry.reg"));
    savedHome.isNull() ? qunsetenv("HOME") : qputenv("HOME", savedHome);
    savedConfig.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", savedConfig);
    if (!savedFile.isNull())
        qputenv("KS_REGISTRY_FILE", savedFile);
}

}  // namespace
}  // namespace tk
