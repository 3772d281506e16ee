// The grid's layouts from damaged sources: column layout streams, INI files
// and the registry store, each mutated thousands of times from a layout the
// grid saved. A stream that does not read raises EReadError and leaves the
// columns and the order byte for byte as they were; whatever reads (and
// every settings store reads leniently) leaves a consistent grid that
// paints, saves and reads back the same.

#include "kelgrid/grid/keldbgrids.h"
#include "kelgrid/grid/settings.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/registry.h"

#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/mutator.h"
#include "tests/support/temp_folder.h"

#include <QBuffer>
#include <QFile>
#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

// A grid whose user moved, sized, hid, titled and picked columns.
class HostileLayoutTest : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->setObjectName(QStringLiteral("FeesGrid"));
        TKelDBGridColumns* columns = grid->Columns();
        columns->SetState(csCustomized);
        columns->Items(1)->SetWidth(90);
        columns->Items(2)->SetWidth(55);
        columns->Items(2)->SetVisible(false);
        columns->Items(3)->MoveTo(0);
        columns->Items(1)->Title()->SetCaption(QStringLiteral("Número"));
        columns->Items(2)->PickList()->SetStrings({QStringLiteral("1"), QStringLiteral("2")});
        columns->Items(2)->PickText()->SetStrings({QStringLiteral("one"), QStringLiteral("two")});
        columns->Items(0)->SetColor(tk::clYellow);
        grid->SetOrderFields(QStringLiteral("Amount DESC,Owner"));
        grid->SetLinesCount(2);
    }

    QByteArray SavedColumns() const
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        grid->Columns()->SaveToStream(buffer);
        return buffer.data();
    }
    void LoadColumns(const QByteArray& bytes) const
    {
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        grid->Columns()->LoadFromStream(buffer);
    }
    // Everything a layout may change: the column stream (columns, their
    // properties and the order), the line count and stretch mode.
    QString State() const
    {
        return QString::fromUtf8(SavedColumns()) +
               QStringLiteral("lines %1, stretch %2").arg(grid->LinesCount()).arg(grid->StretchMode());
    }
    // A grid that read something is whole: its own checks pass and it paints.
    void ExpectSound(int iteration) const
    {
        ASSERT_EQ(grid->CheckConsistency(), QString());
        if (iteration % 8 == 0)
            (void)grid->grab();
    }
};

const QByteArrayList kLayoutTokens = {"item\n", "end\n", "end>", "Columns = <", "Width = ", "Visible = False\n",
                                      "FieldName = 'Nope'\n", "FieldName = 'Id'\n", "Index = 3\n",
                                      "OrderFields = 'Id; DROP TABLE fees'\n", "Expanded = True\n",
                                      "PickList.Strings = (\n'a'\n'')\n", "Title.Caption = #0#13#10\n",
                                      "2147483647", "-2147483648", "object X: TButton\nend\n", "(", "<", "'"};

TEST_F(HostileLayoutTest, MutatedColumnStreamsRaiseAndChangeNothingOrReadWhole)
{
    const QByteArray valid = SavedColumns();
    tk::test::TMutator mutator(valid, 2121, kLayoutTokens);
    int read = 0;
    for (int i = 0; i < 140; ++i) {
        const tk::test::TMutation mutation = mutator.Next();
        SCOPED_TRACE(mutator.Trace(i, mutation).toStdString());
        const QString before = State();
        try {
            LoadColumns(mutation.bytes);
        } catch (const tk::EReadError&) {
            ASSERT_EQ(State(), before);
            continue;
        }
        ++read;
        ExpectSound(i);
        // What was read saves and reads back as itself.
        const QString now = State();
        LoadColumns(SavedColumns());
        ASSERT_EQ(State(), now);
        LoadColumns(valid);
    }
    EXPECT_GT(read, 10);
    EXPECT_LT(read, 130);
}

TEST_F(HostileLayoutTest, EveryTruncatedColumnStreamRaises)
{
    const QByteArray valid = SavedColumns();
    const QString before = State();
    // Every few bytes, and at both sides of each line break.
    QList<int> lineBreaks;
    for (int at = int(valid.indexOf('\n')); at >= 0; at = int(valid.indexOf('\n', at + 1)))
        lineBreaks << at << at + 1;
    const QByteArrayList cuts = tk::test::Truncations(valid.chopped(1), 7, lineBreaks);
    for (int i = 0; i < cuts.size(); ++i) {
        SCOPED_TRACE(cuts[i].size());
        ASSERT_THROW(LoadColumns(cuts[i]), tk::EReadError);
        if (i % 16 == 0) {
            ASSERT_EQ(State(), before);
        }
    }
    EXPECT_EQ(State(), before);
}

TEST_F(HostileLayoutTest, HugeNumbersInAColumnStreamAreBounded)
{
    // Widths, indexes and counts at the ends of their range read without
    // overflowing anything the grid computes from them.
    for (const char* number : {"2147483647", "-2147483648", "0"}) {
        SCOPED_TRACE(number);
        const QByteArray text = QByteArray("object TKelColumnsWrapper\n  Columns = <\n    item\n"
                                           "      FieldName = 'Owner'\n      Width = ") +
                                number + "\n    end\n    item\n      FieldName = 'Id'\n      Index = " + number +
                                "\n    end>\nend\n";
        try {
            LoadColumns(text);
        } catch (const tk::EReadError&) {
            continue;
        }
        ExpectSound(0);
    }
}

// The settings in a real INI file or the registry store of the test's
// folder, saved by the grid itself.
class HostileSettingsTest : public HostileLayoutTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        HostileLayoutTest::SetUp();
        tk::TRegistry::SetStorePath(folder.File(QStringLiteral("config/registry.reg")));
        storePath = IniFile() ? folder.File(QStringLiteral("layouts.ini")) : tk::TRegistry::StorePath();
        TKelDBGridSettings* settings = grid->Settings();
        settings->SetOptions(
            TKelSettingsOptions(soLoadLayout | soSaveLayout | soOrderFields | soLinesCount | soStretchMode));
        settings->SetIniFile(IniFile());
        settings->SetFileName(IniFile() ? storePath : QStringLiteral("\\Software\\Test\\Layouts"));
        settings->SaveLayout();
        validColumns = SavedColumns();
        validState = State();
    }
    void TearDown() override
    {
        tk::TRegistry::SetStorePath(QString());
        HostileLayoutTest::TearDown();
    }
    bool IniFile() const { return GetParam(); }
    void WriteStore(const QByteArray& bytes) const
    {
        QFile file(storePath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    tk::test::TempFolder folder;
    QString storePath;
    QByteArray validColumns;
    QString validState;
};

const QByteArrayList kSettingsTokens = {"\n[FeesGrid]\n", "[", "]", "=", "Columns=4\n", "Columns=2147483647\n",
                                        "Column1=Owner,2147483647,1,1\n", "Column2=,,,\n", "Column3=Id,-5,7,x\n",
                                        "LinesCount=2147483647\n", "LinesCount=-2147483648\n", "StretchMode=1\n",
                                        "OrderFields=Id; DROP TABLE fees\n", "\"Columns\"=dword:ffffffff\n",
                                        "\"LinesCount\"=\"99999999999\"\n", "\\", "\"", ","};

TEST_P(HostileSettingsTest, MutatedStoresLoadLenientlyAndSaveBackWhole)
{
    QFile file(storePath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray valid = file.readAll();
    file.close();
    ASSERT_FALSE(valid.isEmpty());
    tk::test::TMutator mutator(valid, IniFile() ? 2131 : 2133, kSettingsTokens);
    TKelDBGridSettings* settings = grid->Settings();
    for (int i = 0; i < 60; ++i) {
        const tk::test::TMutation mutation = mutator.Next();
        SCOPED_TRACE(mutator.Trace(i, mutation).toStdString());
        WriteStore(mutation.bytes);
        const QString before = State();
        try {
            settings->LoadLayout();
        } catch (const tk::Exception& e) {
            // A store that cannot be read at all (not text) changes nothing.
            ASSERT_EQ(State(), before) << e.Message().toStdString();
            continue;
        }
        ExpectSound(i);
        // Applying the same lines again changes nothing more.
        const QString loaded = State();
        settings->LoadLayout();
        ASSERT_EQ(State(), loaded);
        // Saving over the damaged store gives a layout that reads back
        // (every third round: saving costs as much as the rest).
        if (i % 3 == 0) {
            settings->SaveLayout();
            settings->LoadLayout();
            ASSERT_EQ(State(), loaded);
        }
        // Back to the saved layout for the next round: through the column
        // stream, which also gives back which values were never set.
        WriteStore(valid);
        grid->SetStretchMode(false);
        LoadColumns(validColumns);
        grid->SetLinesCount(2);
        ASSERT_EQ(State(), validState);
    }
}

INSTANTIATE_TEST_SUITE_P(Stores, HostileSettingsTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "IniFile" : "Registry"; });

TEST_F(HostileLayoutTest, HugeSettingValuesAreBounded)
{
    tk::TStringList lines;
    lines.SetStrings({QStringLiteral("Columns=4"), QStringLiteral("Column1=Paid,2147483647,1,1"),
                      QStringLiteral("Column2=Id,-2147483648,1,0"), QStringLiteral("LinesCount=2147483647"),
                      QStringLiteral("StretchMode=2147483647")});
    TKelDBGridSettings* settings = grid->Settings();
    settings->SetOptions(TKelSettingsOptions(soLoadLayout | soLinesCount | soStretchMode));
    settings->ApplyLayout(&lines);
    ExpectSound(0);
    // A row of that many lines would overflow its height in pixels.
    EXPECT_LE(grid->LinesCount(), MaxLinesCount);
    EXPECT_GT(grid->DefaultRowHeight(), 0);
}

}  // namespace
}  // namespace kelgrid::test
