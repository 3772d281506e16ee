// Copying the selected cells with Ctrl+C and Ctrl+Insert, on a shown grid
// over notes whose texts hold tabs, quotes and line breaks:
//
//   |  | Id | Name          | Note (memo)        | Amount |
//   |> |  1 | Ana Ruiz      | plain              |   10.5 |
//   |  |  2 | Tab<TAB>Name  | two<CR><LF>lines   |     20 |
//   |  |  3 | "Quoted"      | one<LF>two<LF>     |     30 |
//   |  |  4 | Bernardo Gil  | say "hi"<TAB>there |      0 |
//   |  |  5 | Carmen        | (empty)            |   1.25 |
//
// The clipboard text is read back with a small spreadsheet-style parser of
// tab-separated text (quoted cells, doubled quotes, CR LF rows) and compared
// with the cells' own texts.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/keldbgrids.h"
#include "tests/support/field_def.h"
#include "tests/support/widget_driver.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/clipboard.h"

#include <QApplication>
#include <gtest/gtest.h>
#include <memory>

namespace kelgrid::test {
namespace {

struct Note {
    int id;
    const char* name;
    const char* note;
    double amount;
};

const Note kNotes[] = {
    {1, "Ana Ruiz", "plain", 10.5},
    {2, "Tab\tName", "two\r\nlines", 20},
    {3, "\"Quoted\"", "one\ntwo\n", 30},
    {4, "Bernardo Gil", "say \"hi\"\tthere", 0},
    {5, "Carmen", "", 1.25},
};

const QString kUntouched = QStringLiteral("untouched");

// Reads tab-separated text as spreadsheets do: rows end in CR LF, cells are
// separated by tabs, a cell starting with a double quote runs to the
// closing quote (doubled quotes inside stand for one) and may hold tabs and
// line breaks. A malformed text gives a row {"<malformed>"}.
QList<QStringList> ParseTsv(const QString& text)
{
    QList<QStringList> rows;
    QStringList row;
    QString cell;
    int i = 0;
    const auto malformed = [] { return QList<QStringList>{{QStringLiteral("<malformed>")}}; };
    while (i < text.size()) {
        if (text[i] == u'"') {
            for (++i;; ++i) {
                if (i >= text.size())
                    return malformed();
                if (text[i] == u'"') {
                    if (i + 1 < text.size() && text[i + 1] == u'"') {
                        cell += u'"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += text[i];
            }
        }
        for (; i < text.size() && text[i] != u'\t' && text[i] != u'\r' && text[i] != u'\n'; ++i) {
            if (text[i] == u'"')
                return malformed();  // a quote inside an unquoted cell
            cell += text[i];
        }
        if (i >= text.size())
            return malformed();  // the last row lacks its CR LF
        if (text[i] == u'\t') {
            row << cell;
            cell.clear();
            ++i;
            continue;
        }
        if (text[i] != u'\r' || i + 1 >= text.size() || text[i + 1] != u'\n')
            return malformed();  // a bare line break outside quotes
        row << cell;
        rows << row;
        row.clear();
        cell.clear();
        i += 2;
    }
    return rows;
}

class GridClipboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        using tk::test::Def;
        dataSet.FieldDefs() = {
            Def(QStringLiteral("Id"), tk::ftInteger), Def(QStringLiteral("Name"), tk::ftString, 40),
            Def(QStringLiteral("Note"), tk::ftMemo), Def(QStringLiteral("Amount"), tk::ftFloat)};
        dataSet.CreateDataSet();
        for (const Note& note : kNotes) {
            dataSet.Append();
            dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(note.id);
            dataSet.FieldByName(QStringLiteral("Name"))->SetAsString(QString::fromUtf8(note.name));
            dataSet.FieldByName(QStringLiteral("Note"))->SetAsString(QString::fromUtf8(note.note));
            dataSet.FieldByName(QStringLiteral("Amount"))->SetAsFloat(note.amount);
            dataSet.Post();
        }
        dataSet.First();
        source.SetDataSet(&dataSet);
        grid = std::make_unique<TKelDBGrid>();
        grid->SetOptions(grid->Options() | dgMultiSelect);
        grid->SetMultiSelectOptions({msRows, msCols, msCells});
        grid->SetDataSource(&source);
        grid->resize(600, 260);
        grid->show();
        grid->setFocus();
        QApplication::processEvents();
        keys = std::make_unique<tk::test::WidgetDriver>(grid.get());
        mouse = std::make_unique<tk::test::WidgetDriver>(grid->viewport());
        tk::SetClipboardText(kUntouched);
    }
    void TearDown() override
    {
        mouse.reset();
        keys.reset();
        grid.reset();
    }

    TKelColumn* Column(const char* field) const { return grid->ColumnByName(QString::fromLatin1(field)); }
    QPoint CellCentre(const char* field, int recordRow) const
    {
        const int raw = grid->DataToRawColumn(Column(field)->Index());
        return grid->CellRect(raw, grid->TitleOffset() + recordRow).center();
    }
    int CurrentId() { return dataSet.FieldByName(QStringLiteral("Id"))->AsInteger(); }
    // The edit texts of the fields for the records of ids, one row each.
    QList<QStringList> Cells(const QList<int>& ids, const QStringList& fields)
    {
        QList<QStringList> rows;
        const tk::TBookmark here = dataSet.GetBookmark();
        for (int id : ids) {
            EXPECT_TRUE(dataSet.Locate(QStringLiteral("Id"), tk::Variant(id)));
            QStringList row;
            for (const QString& field : fields)
                row << dataSet.FieldByName(field)->Text();
            rows << row;
        }
        dataSet.GotoBookmark(here);
        return rows;
    }
    QList<QStringList> Copied() { return ParseTsv(tk::ClipboardText()); }

    tk::TClientDataSet dataSet;
    tk::TDataSource source;
    std::unique_ptr<TKelDBGrid> grid;
    std::unique_ptr<tk::test::WidgetDriver> keys;
    std::unique_ptr<tk::test::WidgetDriver> mouse;
};

TEST(TsvParserTest, ReadsQuotedCellsAndRejectsBrokenRows)
{
    EXPECT_EQ(ParseTsv(QStringLiteral("a\tb\r\n\"x\ty\"\t\"q\"\"\"\r\n")),
              (QList<QStringList>{{"a", "b"}, {"x\ty", "q\""}}));
    EXPECT_EQ(ParseTsv(QStringLiteral("\"two\r\nlines\"\t\r\n")), (QList<QStringList>{{"two\r\nlines", ""}}));
    const QList<QStringList> malformed{{QStringLiteral("<malformed>")}};
    EXPECT_EQ(ParseTsv(QStringLiteral("a\r\nb")), malformed);
    EXPECT_EQ(ParseTsv(QStringLiteral("one\ntwo\r\n")), malformed);
    EXPECT_EQ(ParseTsv(QStringLiteral("say \"hi\"\r\n")), malformed);
}

TEST_F(GridClipboardTest, CtrlCWithTwoSelectedRecordsOfThreeShownColumnsPutsTwoLines)
{
    Column("Note")->SetVisible(false);
    mouse->Click(CellCentre("Name", 0));
    mouse->Click(CellCentre("Name", 4), Qt::LeftButton, Qt::ControlModifier);
    ASSERT_EQ(grid->SelectedRows()->Count(), 2);
    keys->Press(Qt::Key_C, Qt::ControlModifier);
    // Plain cells are written as they are: no quotes, one tab between two
    // cells, every line ended by CR LF.
    EXPECT_EQ(tk::ClipboardText(), QStringLiteral("1\tAna Ruiz\t10.5\r\n5\tCarmen\t1.25\r\n"));
    EXPECT_EQ(CurrentId(), 5) << "the walk comes back to the current record";
    EXPECT_FALSE(dataSet.ControlsDisabled());

    tk::SetClipboardText(kUntouched);
    keys->Press(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(tk::ClipboardText(), QStringLiteral("1\tAna Ruiz\t10.5\r\n5\tCarmen\t1.25\r\n"));
    EXPECT_EQ(dataSet.State(), tk::dsBrowse) << "Ctrl+Insert copies, it inserts nothing";
}

TEST_F(GridClipboardTest, NothingIsCopiedWithoutASelectionOrWithoutTheExtendedSelection)
{
    grid->CopyToClipboard();
    keys->Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(tk::ClipboardText(), kUntouched) << "no record selected";

    mouse->Click(CellCentre("Name", 1));
    grid->SetOptions(grid->Options() & ~TKelDBGridOptions(dgExtendedSelect));
    keys->Press(Qt::Key_C, Qt::ControlModifier);
    keys->Press(Qt::Key_Insert, Qt::ControlModifier);
    EXPECT_EQ(tk::ClipboardText(), kUntouched) << "the keys copy only under dgExtendedSelect";
    grid->CopyToClipboard();
    EXPECT_EQ(Copied(), Cells({2}, {"Id", "Name", "Note", "Amount"}));
}

TEST_F(GridClipboardTest, TabsQuotesAndLineBreaksSurviveTheWayBack)
{
    keys->Press(Qt::Key_A, Qt::ControlModifier);
    keys->Press(Qt::Key_C, Qt::ControlModifier);
    const QList<QStringList> expected = Cells({1, 2, 3, 4, 5}, {"Id", "Name", "Note", "Amount"});
    EXPECT_EQ(Copied(), expected);
    // Only the cells that need them are quoted.
    EXPECT_TRUE(tk::ClipboardText().startsWith(QStringLiteral("1\tAna Ruiz\tplain\t10.5\r\n")));
    EXPECT_TRUE(
        tk::ClipboardText().contains(QStringLiteral("\r\n3\t\"\"\"Quoted\"\"\"\t\"one\ntwo\n\"\t30\r\n")));
    EXPECT_TRUE(tk::ClipboardText().endsWith(QStringLiteral("\r\n5\tCarmen\t\t1.25\r\n")));
}

TEST_F(GridClipboardTest, AColumnsSelectionCopiesThoseColumnsOfEveryRecord)
{
    // Dragging over the titles selects the columns while the left button
    // does not move them.
    grid->SetOptions(grid->Options() | dgRightMoving);
    const int row = 0;
    const QPoint name = grid->CellRect(grid->DataToRawColumn(Column("Name")->Index()), row).center();
    const QPoint note = grid->CellRect(grid->DataToRawColumn(Column("Note")->Index()), row).center();
    mouse->MouseDown(name);
    mouse->MouseMove(name + QPoint(10, 0));
    mouse->MouseMove(note);
    mouse->MouseUp(note);
    ASSERT_EQ(grid->MultiSelect(), msCols);
    grid->CopyToClipboard();
    EXPECT_EQ(Copied(), Cells({1, 2, 3, 4, 5}, {"Name", "Note"}));
}

TEST_F(GridClipboardTest, ABlockOfCellsCopiesItsRectangle)
{
    mouse->Click(CellCentre("Name", 1));
    keys->Press(Qt::Key_Down, Qt::ShiftModifier);
    keys->Press(Qt::Key_Down, Qt::ShiftModifier);
    keys->Press(Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_EQ(grid->MultiSelect(), msCells);
    keys->Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(Copied(), Cells({2, 3, 4}, {"Name", "Note"}));
}

TEST_F(GridClipboardTest, TheAutoNumberColumnCountsTheCopiedRowsAndHiddenColumnsAddNothing)
{
    grid->SetOptionsExt(grid->OptionsExt() | dgAutoNumberColumn);
    QApplication::processEvents();
    Column("Amount")->SetVisible(false);  // the last of the range
    mouse->Click(CellCentre("Name", 1));
    mouse->Click(CellCentre("Name", 3), Qt::LeftButton, Qt::ControlModifier);
    ASSERT_EQ(grid->SelectedRows()->Count(), 2);
    keys->Press(Qt::Key_C, Qt::ControlModifier);
    // The numbers are the copy's rows, not the records' places; the hidden
    // last column leaves no empty cell behind a tab.
    EXPECT_EQ(tk::ClipboardText(), QStringLiteral("1.\t2\t\"Tab\tName\"\t\"two\r\nlines\"\r\n"
                                                  "2.\t4\tBernardo Gil\t\"say \"\"hi\"\"\tthere\"\r\n"));
}

TEST_F(GridClipboardTest, CopyingAsksForNoUpdatesAndKeepsTheScreen)
{
    mouse->Click(CellCentre("Name", 2));
    keys->Press(Qt::Key_A, Qt::ControlModifier);
    const int row = grid->Position();
    const QString before = grid->RequestCounts();
    keys->Press(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(grid->RequestCounts(), before) << "the walk's return is no data change of someone else's";
    EXPECT_EQ(CurrentId(), 3);
    EXPECT_EQ(grid->Position(), row);
    EXPECT_EQ(Copied().size(), 5);
}

}  // namespace
}  // namespace kelgrid::test
