// One suite over both INI-style stores: an INI file and registry keys. The
// layout a grid saves is the model: erase the section, write its lines, in a
// batch that either reaches the store whole or not at all.

#include "toolkit/core/custominifile.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/inifile.h"
#include "toolkit/core/registry.h"
#include "toolkit/core/registryinifile.h"
#include "toolkit/core/strings.h"

#include "tests/support/temp_folder.h"

#include <QFile>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <sys/resource.h>

namespace tk {
namespace {

const QString kSection = QStringLiteral("Form1.Grid1");
const QString kKeyPath = QStringLiteral("\\Software\\Maker\\Grid");

// A limit on the size of files this process writes, for the scope. Writes
// past it fail with EFBIG for every user, root included, so it stands for a
// full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
        savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // fail the write, do not kill the process
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, savedHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*savedHandler_)(int) = SIG_DFL;
};

struct StoreKind {
    const char* name;
    // A new object on the store of the test's folder.
    std::function<std::unique_ptr<TCustomIniFile>(const test::TempFolder&)> open;
    // The file the store lives in.
    QString (*file)(const test::TempFolder&);
};

QString IniPath(const test::TempFolder& folder)
{
    return folder.File(QStringLiteral("grid.ini"));
}

QString RegistryPath(const test::TempFolder& folder)
{
    return folder.File(QStringLiteral("registry.reg"));
}

class CustomIniFileTest : public ::testing::TestWithParam<StoreKind> {
protected:
    void SetUp() override { TRegistry::SetStorePath(RegistryPath(folder_)); }
    void TearDown() override { TRegistry::SetStorePath(QString()); }

    std::unique_ptr<TCustomIniFile> Open() const { return GetParam().open(folder_); }
    QByteArray StoreBytes() const
    {
        QFile file(GetParam().file(folder_));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The section as a fresh object reads it from the store.
    QStringList StoredSection() const
    {
        QStringList values;
        Open()->ReadSectionValues(kSection, values);
        return values;
    }
    // Erases the section and writes the lines, as a layout save does.
    static void SaveLines(TCustomIniFile& ini, const QStringList& lines)
    {
        ini.EraseSection(kSection);
        for (const QString& line : lines)
            ini.WriteString(kSection, line.section(QLatin1Char('='), 0, 0),
                            line.section(QLatin1Char('='), 1));
    }
    void SaveOldLayout() const
    {
        auto ini = Open();
        TIniBatch batch(*ini);
        SaveLines(*ini, kOld);
        ini->WriteString(QStringLiteral("Other"), QStringLiteral("Kept"), QStringLiteral("yes"));
        batch.Commit();
    }

    const QStringList kOld = {"Columns=2", "Column1=Name,120,1,0", "Column2=Amount,64,1,0"};
    test::TempFolder folder_;
};

// Many long lines: a store that already holds the old layout cannot take
// them under a limit set to its current size.
QStringList NewLayout()
{
    QStringList lines = {QStringLiteral("Columns=40")};
    for (int i = 1; i <= 40; ++i)
        lines << QStringLiteral("Column%1=Field%1 with a long name,%2,1,0").arg(i).arg(i * 10);
    return lines;
}

TEST_P(CustomIniFileTest, ABatchReachesTheStoreOnlyAtItsCommitAndReadsBackExactly)
{
    SaveOldLayout();
    const QByteArray before = StoreBytes();
    const QStringList lines = {"Columns=3", "Column1=CustName,120,1,0", "Column2=Total=Net+Tax,64,0,1",
                               "Column3=Año,48,1,0", "OrderFields=CustName DESC,Total"};
    auto ini = Open();
    ini->BeginBatch();
    SaveLines(*ini, lines);
    // The object sees its changes; the store has none of them yet.
    QStringList pending;
    ini->ReadSectionValues(kSection, pending);
    EXPECT_EQ(pending, lines);
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(StoredSection(), kOld);

    ini->CommitBatch();
    EXPECT_FALSE(ini->InBatch());
    EXPECT_EQ(StoredSection(), lines);  // the erased keys are gone, nothing doubled
    EXPECT_EQ(Open()->ReadString(QStringLiteral("OTHER"), QStringLiteral("kept"), QString()),
              QStringLiteral("yes"));
}

TEST_P(CustomIniFileTest, AFailingCommitKeepsTheOldSectionWhole)
{
    SaveOldLayout();
    const QByteArray before = StoreBytes();
    auto ini = Open();
    ini->BeginBatch();
    SaveLines(*ini, NewLayout());
    {
        const FileSizeLimit limit(before.size());
        EXPECT_THROW(ini->CommitBatch(), Exception);
    }
    EXPECT_FALSE(ini->InBatch());
    EXPECT_EQ(StoreBytes(), before);
    EXPECT_EQ(StoredSection(), kOld);
    // The object itself reads the store again, not the changes it failed to write.
    QStringList values;
    ini->ReadSectionValues(kSection, values);
    EXPECT_EQ(values, kOld);
    EXPECT_FALSE(ini->ValueExists(kSection, QStringLiteral("Column40")));
}

TEST_P(CustomIniFileTest, AnExceptionInsideTheBatchCancelsIt)
{
    SaveOldLayout();
    const QByteArray before = StoreBytes();
    auto ini = Open();
    try {
        TIniBatch batch(*ini);
        ini->EraseSection(kSection);
        ini->WriteString(kSection, QStringLiteral("Columns"), QStringLiteral("40"));
        throw EAbort(QStringLiteral("the layout could not be built"));
    } catch (const EAbort&) {
    }
    EXPECT_FALSE(ini->InBatch());
    EXPECT_EQ(StoreBytes(), before);
    QStringList values;
    ini->ReadSectionValues(kSection, values);
    EXPECT_EQ(values, kOld);
}

TEST_P(CustomIniFileTest, AFailingSingleWriteLeavesNoTraceInTheObject)
{
    SaveOldLayout();
    auto ini = Open();
    {
        const FileSizeLimit limit(StoreBytes().size());
        EXPECT_THROW(ini->WriteString(kSection, QStringLiteral("Columns"), QString(4000, QLatin1Char('9'))),
                     Exception);
    }
    EXPECT_EQ(ini->ReadString(kSection, QStringLiteral("Columns"), QString()), QStringLiteral("2"));
    // The next successful write does not carry the failed one along.
    ini->WriteString(kSection, QStringLiteral("LinesCount"), QStringLiteral("1"));
    EXPECT_EQ(StoredSection(), kOld + QStringList{"LinesCount=1"});
}

TEST_P(CustomIniFileTest, BatchesDoNotNestAndACommitNeedsABatch)
{
    auto ini = Open();
    EXPECT_THROW(ini->CommitBatch(), EInvalidOperation);
    ini->CancelBatch();  // harmless
    ini->BeginBatch();
    EXPECT_THROW(ini->BeginBatch(), EInvalidOperation);
    EXPECT_TRUE(ini->InBatch());
    ini->CommitBatch();  // nothing written, nothing to fail
    EXPECT_FALSE(ini->InBatch());
    EXPECT_TRUE(StoreBytes().isEmpty());
}

TEST_P(CustomIniFileTest, SectionValuesFillAStringListInOneUpdate)
{
    SaveOldLayout();
    class TCountingList : public TStringList {
    public:
        void SetUpdateState(bool updating) override
        {
            if (updating)
                ++batches;
            TStringList::SetUpdateState(updating);
        }
        int batches = 0;
    } list;
    list.Add(QStringLiteral("stale=1"));
    Open()->ReadSectionValues(kSection, list);
    EXPECT_EQ(list.ToStringList(), kOld);
    EXPECT_EQ(list.batches, 1);
    EXPECT_EQ(list.Values(QStringLiteral("Column1")), QStringLiteral("Name,120,1,0"));
    EXPECT_TRUE(Open()->SectionExists(kSection.toUpper()));
    EXPECT_FALSE(Open()->SectionExists(QStringLiteral("Missing")));
}

INSTANTIATE_TEST_SUITE_P(
    Stores, CustomIniFileTest,
    ::testing::Values(StoreKind{"IniFile",
                                [](const test::TempFolder& folder) -> std::unique_ptr<TCustomIniFile> {
                                    return std::make_unique<TIniFile>(IniPath(folder));
                                },
                                IniPath},
                      StoreKind{"RegistryIniFile",
                                [](const test::TempFolder&) -> std::unique_ptr<TCustomIniFile> {
                                    return std::make_unique<TRegistryIniFile>(kKeyPath);
                                },
                                RegistryPath}),
    [](const ::testing::TestParamInfo<StoreKind>& info) { return std::string(info.param.name); });

// --- What only the registry-backed file does ---------------------------------

class RegistryIniFileTest : public ::testing::Test {
protected:
    void SetUp() override { TRegistry::SetStorePath(folder_.File(QStringLiteral("registry.reg"))); }
    void TearDown() override { TRegistry::SetStorePath(QString()); }

    test::TempFolder folder_;
};

TEST_F(RegistryIniFileTest, SectionsAreSubKeysOfTheKeyPath)
{
    TRegistryIniFile ini(QStringLiteral("Software\\Maker\\Grid"));  // leading "\" optional
    ini.WriteString(kSection, QStringLiteral("Columns"), QStringLiteral("3"));
    ini.WriteInteger(QStringLiteral("Form2.Grid1"), QStringLiteral("LinesCount"), 2);
    ini.WriteBool(QStringLiteral("Form2.Grid1"), QStringLiteral("StretchMode"), true);

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKeyReadOnly(kKeyPath + QStringLiteral("\\form1.grid1")));
    EXPECT_EQ(reg.ReadString(QStringLiteral("Columns")), QStringLiteral("3"));
    ASSERT_TRUE(reg.OpenKeyReadOnly(kKeyPath + QStringLiteral("\\Form2.Grid1")));
    EXPECT_EQ(reg.GetDataType(QStringLiteral("LinesCount")), rdInteger);
    EXPECT_EQ(reg.ReadInteger(QStringLiteral("StretchMode")), 1);

    QStringList sections;
    ini.ReadSections(sections);
    EXPECT_EQ(sections, QStringList({"Form1.Grid1", "Form2.Grid1"}));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Form2.Grid1"), QStringLiteral("LinesCount"), QString()),
              QStringLiteral("2"));
    EXPECT_EQ(ini.ReadInteger(kSection, QStringLiteral("Columns"), 0), 3);  // a string value parsed
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Form2.Grid1"), QStringLiteral("StretchMode"), false));

    ini.EraseSection(QStringLiteral("Form2.Grid1"));
    EXPECT_FALSE(reg.KeyExists(kKeyPath + QStringLiteral("\\Form2.Grid1")));
    ini.EraseSection(QString());  // not the key path with all its sections
    EXPECT_TRUE(ini.SectionExists(kSection));
    ini.DeleteKey(kSection, QStringLiteral("Columns"));
    EXPECT_FALSE(ini.ValueExists(kSection, QStringLiteral("Columns")));
}

TEST_F(RegistryIniFileTest, ACommitKeepsWhatOthersWroteMeanwhile)
{
    TRegistryIniFile ini(kKeyPath);
    ini.BeginBatch();
    ini.WriteString(kSection, QStringLiteral("Columns"), QStringLiteral("1"));
    TRegistryIniFile other(kKeyPath);  // another program sharing the store
    other.WriteString(QStringLiteral("Form9.Grid1"), QStringLiteral("Columns"), QStringLiteral("9"));
    ini.CommitBatch();
    EXPECT_EQ(
        TRegistryIniFile(kKeyPath).ReadString(QStringLiteral("Form9.Grid1"), QStringLiteral("Columns"), {}),
        QStringLiteral("9"));
    EXPECT_EQ(TRegistryIniFile(kKeyPath).ReadString(kSection, QStringLiteral("Columns"), {}),
              QStringLiteral("1"));
}

}  // namespace
}  // namespace tk
