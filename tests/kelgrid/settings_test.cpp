// The grid's settings: layouts saved to and restored from real INI files and
// the registry store in the test's own folder.

#include "kelgrid/grid/settings.h"

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/settingslayout.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/file_size_limit.h"
#include "tests/support/temp_folder.h"
#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/inifile.h"
#include "toolkit/core/properties.h"
#include "toolkit/core/registry.h"
#include "toolkit/core/registryinifile.h"
#include "toolkit/core/strings.h"
#include "toolkit/ui/forms.h"

#include <QDir>
#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

constexpr TKelSettingsOptions kAllValues =
    TKelSettingsOptions(soLoadLayout | soSaveLayout | soOrderFields | soLinesCount | soStretchMode);

// Grids with the user's own columns Id, Owner, Amount, Paid on the fees;
// the registry store lives in the test's folder.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FillFees(dataSet);
        source.SetDataSet(&dataSet);
        tk::TRegistry::SetStorePath(folder.File(QStringLiteral("config/registry.reg")));
        iniPath = folder.File(QStringLiteral("layouts.ini"));
    }
    void TearDown() override { tk::TRegistry::SetStorePath(QString()); }

    std::unique_ptr<TKelDBGrid> MakeGrid(QWidget* parent = nullptr)
    {
        auto grid = std::make_unique<TKelDBGrid>(parent);
        grid->setObjectName(QStringLiteral("FeesGrid"));
        grid->resize(400, 200);
        for (const char* name : {"Id", "Owner", "Amount", "Paid"})
            grid->Columns()->Add()->SetFieldName(QString::fromLatin1(name));
        grid->SetDataSource(&source);
        grid->Settings()->SetOptions(kAllValues);
        grid->Settings()->SetIniFile(true);
        grid->Settings()->SetFileName(iniPath);
        return grid;
    }

    // "Field:width[:hidden][:collapsed] ..." in column order, then the
    // order fields, lines count and stretch mode.
    static QString Snapshot(const TKelCustomDBGrid& grid)
    {
        QStringList parts;
        for (int i = 0; i < grid.Columns()->Count(); ++i) {
            const TKelColumn* column = grid.Columns()->Items(i);
            QString part = column->FieldName() + QLatin1Char(':') + QString::number(column->WidthBase());
            if (!column->Visibility())
                part += QStringLiteral(":hidden");
            parts << part;
        }
        return parts.join(QLatin1Char(' ')) + QStringLiteral(" | ") + grid.OrderFields() +
               QStringLiteral(" | lines %1 | stretch %2").arg(grid.LinesCount()).arg(grid.StretchMode());
    }

    static void Rearrange(TKelCustomDBGrid& grid)
    {
        grid.Columns()->Items(2)->SetIndex(0);  // Amount Id Owner Paid
        grid.Columns()->Items(1)->SetWidthBase(77);
        grid.Columns()->Items(3)->SetVisible(false);
        grid.SetOrderFields(QStringLiteral("Owner DESC,Id"));
        grid.SetLinesCount(2);
        grid.SetStretchMode(true);
    }

    tk::test::TempFolder folder;
    QString iniPath;
    tk::TClientDataSet dataSet;
    tk::TDataSource source;
};

class SettingsStoreTest : public SettingsTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SettingsStoreTest, ALayoutSavedByOneGridComesBackInAnother)
{
    auto saving = MakeGrid();
    saving->Settings()->SetIniFile(GetParam());
    if (!GetParam())
        saving->Settings()->SetFileName(QStringLiteral("\\Software\\Test\\Layouts"));
    Rearrange(*saving);
    const QString saved = Snapshot(*saving);
    saving->Settings()->SaveLayout();
    EXPECT_TRUE(saving->Settings()->LayoutExists());

    auto loading = MakeGrid();
    loading->Settings()->Assign(saving->Settings());
    ASSERT_NE(Snapshot(*loading), saved);
    loading->Settings()->LoadLayout();
    EXPECT_EQ(Snapshot(*loading), saved);
    EXPECT_EQ(loading->CheckConsistency(), QString());

    loading->Settings()->EraseLayout();
    EXPECT_FALSE(loading->Settings()->LayoutExists());
}

INSTANTIATE_TEST_SUITE_P(Stores, SettingsStoreTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "IniFile" : "Registry"; });

TEST_F(SettingsTest, TheSavedLinesNameEveryColumnAndTheChosenValues)
{
    auto grid = MakeGrid();
    Rearrange(*grid);
    grid->Settings()->SetOptions(grid->Settings()->Options() | soUserSettings);
    grid->Settings()->SaveLayout();
    tk::TIniFile ini(iniPath);
    QStringList lines;
    ini.ReadSectionValues(QStringLiteral("FeesGrid"), lines);
    EXPECT_EQ(lines.join(QLatin1Char('\n')).toStdString(),
              "AutoLoadLayout=1\nAutoSaveLayout=1\nColumns=4\nColumn1=Amount,74,1,0\nColumn2=Id,77,1,0\n"
              "Column3=Owner,284,1,0\nColumn4=Paid,39,0,0\nOrderFields=Owner DESC,Id\nLinesCount=2\n"
              "StretchMode=1");
}

// A save that cannot be written leaves the layout saved before byte for
// byte, and tells the caller.
TEST_F(SettingsTest, AFailingSaveKeepsThePreviousLayoutWhole)
{
    auto grid = MakeGrid();
    folder.Write(QStringLiteral("layouts.ini"), "[Other]\r\nKey=1\r\n");
    grid->Settings()->SaveLayout();
    const QByteArray before = folder.Read(QStringLiteral("layouts.ini"));
    Rearrange(*grid);
    {
        // Room for the file without the layout, not for the new layout.
        const tk::test::FileSizeLimit limit(20);
        EXPECT_THROW(grid->Settings()->SaveLayout(), tk::EInOutError);
    }
    EXPECT_EQ(folder.Read(QStringLiteral("layouts.ini")), before);

    QDir().mkpath(folder.File(QStringLiteral("adir.ini")));
    grid->Settings()->SetFileName(folder.File(QStringLiteral("adir.ini")));
    EXPECT_THROW(grid->Settings()->SaveLayout(), tk::Exception);
    EXPECT_TRUE(QFileInfo(folder.File(QStringLiteral("adir.ini"))).isDir());
}

struct HandWrittenCase {
    const char* name;
    const char* section;  // the lines after "[FeesGrid]", LF-separated
    const char* expected;
};

// Files from another machine or edited by hand: CR LF, other letter case,
// blanks, damaged values. Nothing half-applies or fails.
const HandWrittenCase kHandWritten[] = {
    {"OtherCaseAndBlanks",
     "columns = 4\ncolumn1 = Paid , 50 ,1,1\nCOLUMN2=owner,90\nOrderFields=amount "
     "desc\nlinescount=3\nstretchmode=1",
     "Paid:50 Owner:90 Id:81 Amount:74 | Amount DESC | lines 3 | stretch 1"},
    {"ColumnCountDiffersSoColumnLinesAreSkipped",
     "Columns=5\nColumn1=Paid,50,1,1\nLinesCount=2\nOrderFields=Id",
     "Id:81 Owner:284 Amount:74 Paid:39 | Id | lines 2 | stretch 0"},
    {"MissingColumnsValueSkipsColumnLines", "Column1=Paid,50,1,1",
     "Id:81 Owner:284 Amount:74 Paid:39 |  | lines 1 | stretch 0"},
    {"MalformedItemsKeepTheColumnsValues", "Columns=4\nColumn1=Amount,abc\nColumn2=Id,,0",
     "Amount:74 Id:81:hidden Owner:284 Paid:39 |  | lines 1 | stretch 0"},
    {"UnknownFieldsAreSkipped", "Columns=4\nColumn1=Nope,10,0,0\nColumn2=Paid,40,1,0",
     "Id:81 Paid:40 Owner:284 Amount:74 |  | lines 1 | stretch 0"},
    {"OrderNamingNoColumnIsDropped", "Columns=4\nOrderFields=Nope DESC,Owner;DROP TABLE x",
     "Id:81 Owner:284 Amount:74 Paid:39 |  | lines 1 | stretch 0"},
    {"NonNumbersKeepLinesAndStretch", "LinesCount=two\nStretchMode=yes\nColumns=x",
     "Id:81 Owner:284 Amount:74 Paid:39 |  | lines 1 | stretch 0"},
    {"LinesCountIsClamped", "LinesCount=0", "Id:81 Owner:284 Amount:74 Paid:39 |  | lines 1 | stretch 0"},
};

class SettingsHandWrittenTest : public SettingsTest, public ::testing::WithParamInterface<HandWrittenCase> {};

TEST_P(SettingsHandWrittenTest, AppliesWhatItCanAndKeepsTheRest)
{
    QByteArray text = "[feesgrid]\n" + QByteArray(GetParam().section) + "\n";
    text.replace("\n", "\r\n");
    folder.Write(QStringLiteral("layouts.ini"), text);
    auto grid = MakeGrid();
    grid->Settings()->LoadLayout();
    EXPECT_EQ(Snapshot(*grid).toStdString(), GetParam().expected);
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsHandWrittenTest, ::testing::ValuesIn(kHandWritten),
                         [](const auto& info) { return info.param.name; });

TEST_F(SettingsTest, AStoredAutoLoadOfZeroReadsButDoesNotApply)
{
    folder.Write(QStringLiteral("layouts.ini"),
                 "[FeesGrid]\r\nAutoLoadLayout=0\r\nAutoSaveLayout=1\r\nLinesCount=4\r\n");
    auto grid = MakeGrid();
    grid->Settings()->SetOptions(kAllValues | soUserSettings);
    grid->Settings()->AutoLoadLayout();
    EXPECT_EQ(grid->LinesCount(), 1);
    EXPECT_FALSE(grid->Settings()->Options().testFlag(soLoadLayout));
    EXPECT_EQ(grid->Settings()->Layout()->Values(QStringLiteral("AutoLoadLayout")), QStringLiteral("0"));
}

// A streamed grid loads its layout when its dataset opens, at the first
// record, and saves it when it goes.
TEST_F(SettingsTest, AnActiveGridLoadsAtActivationAndSavesAtDestruction)
{
    {
        auto grid = MakeGrid();
        grid->Settings()->SetActive(true);
        Rearrange(*grid);
    }
    ASSERT_TRUE(QFileInfo::exists(iniPath));
    source.SetDataSet(nullptr);
    auto grid = MakeGrid();
    grid->SetState(tk::TComponentStateFlag::csLoading);
    grid->Settings()->SetActive(true);
    static_cast<tk::TComponentCore*>(grid.get())->Loaded();
    EXPECT_EQ(grid->LinesCount(), 1);
    dataSet.Last();
    source.SetDataSet(&dataSet);
    EXPECT_EQ(grid->LinesCount(), 2);
    EXPECT_EQ(grid->Columns()->Items(0)->FieldName(), QStringLiteral("Amount"));
    EXPECT_EQ(dataSet.RecNo(), 1);
    // Only the first activation loads.
    grid->SetLinesCount(1);
    source.SetDataSet(nullptr);
    source.SetDataSet(&dataSet);
    EXPECT_EQ(grid->LinesCount(), 1);
}

TEST_F(SettingsTest, AFailingSaveAtDestructionGoesToTheApplication)
{
    QString reported;
    tk::Application().OnException = [&](const QString& message) { reported = message; };
    QDir().mkpath(iniPath);
    {
        auto grid = MakeGrid();
        grid->Settings()->SetActive(true);
    }
    tk::Application().OnException = nullptr;
    EXPECT_FALSE(reported.isEmpty());
}

TEST_F(SettingsTest, TheSectionDefaultsToFormAndGridNameAndIsStoredOnlyWhenItDiffers)
{
    tk::TForm form;
    form.setObjectName(QStringLiteral("FeesForm"));
    auto grid = MakeGrid(&form);
    TKelDBGridSettings* settings = grid->Settings();
    EXPECT_EQ(settings->Section(), QStringLiteral("FeesForm.FeesGrid"));
    const QMetaProperty section = tk::FindPublishedProperty(settings, QStringLiteral("Section"));
    EXPECT_FALSE(tk::IsStoredProp(settings, section));
    settings->SetSection(QStringLiteral("Mine"));
    EXPECT_TRUE(tk::IsStoredProp(settings, section));
    settings->SetSection(QStringLiteral("feesform.feesgrid"));
    EXPECT_FALSE(tk::IsStoredProp(settings, section));
    EXPECT_EQ(settings->Section(), QStringLiteral("FeesForm.FeesGrid"));
    EXPECT_FALSE(tk::IsStoredProp(settings, tk::FindPublishedProperty(settings, QStringLiteral("Layout"))));
}

TEST_F(SettingsTest, PropertiesAreSetByNameWithSetNames)
{
    auto grid = MakeGrid();
    EXPECT_TRUE(tk::SetPropertyPath(grid.get(), QStringLiteral("Settings.Options"),
                                    QStringLiteral("[soSaveLayout,soLinesCount]")));
    EXPECT_EQ(grid->Settings()->Options(), TKelSettingsOptions(soSaveLayout | soLinesCount));
    tk::SetPropText(grid.get(), QStringLiteral("LinesCount"), QStringLiteral("3"));
    tk::SetPropText(grid.get(), QStringLiteral("StretchMode"), QStringLiteral("True"));
    tk::SetPropText(grid.get(), QStringLiteral("FixedTheme"), QStringLiteral("ftNone"));
    EXPECT_EQ(grid->LinesCount(), 3);
    EXPECT_TRUE(grid->StretchMode());
    EXPECT_EQ(grid->FixedTheme(), ftNone);
    EXPECT_FALSE(grid->IsGridThemed());
    EXPECT_EQ(tk::GetPropText(grid->Settings(), QStringLiteral("Layout")).split(QStringLiteral("\r\n"))[1],
              QStringLiteral("Column1=Id,81,1,0"));
}

}  // namespace
}  // namespace kelgrid::test
