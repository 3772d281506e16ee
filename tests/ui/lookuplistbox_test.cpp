#include "toolkit/ui/lookuplistbox.h"

#include "tests/support/field_def.h"
#include "tests/support/widget_driver.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace tk {
namespace {

// Ten towns ordered by id: Alpha, Beta, Bravo, Charlie, ... the names a
// search can tell apart by their second letter.
const char* const kTowns[] = {"Alpha", "Beta", "Bravo", "Charlie", "Delta",
                              "Echo",  "Foxtrot", "Golf", "Hotel", "India"};

class LookupListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dataSet.FieldDefs() = {test::Def(QStringLiteral("Id"), ftInteger),
                               test::Def(QStringLiteral("Name"), ftString, 20),
                               test::Def(QStringLiteral("Code"), ftInteger)};
        dataSet.CreateDataSet();
        int id = 1;
        for (const char* town : kTowns) {
            dataSet.Append();
            dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(id);
            dataSet.FieldByName(QStringLiteral("Name"))->SetAsString(QString::fromLatin1(town));
            dataSet.FieldByName(QStringLiteral("Code"))->SetAsInteger(100 + id);
            dataSet.Post();
            ++id;
        }
        dataSet.First();
        source.SetDataSet(&dataSet);
        list = std::make_unique<TDBLookupListBox>();
        list->SetKeyField(QStringLiteral("Id"));
        list->SetListField(QStringLiteral("Name;Code"));
        list->SetRowCount(4);
        list->SetListSource(&source);
        list->resize(200, list->height());
        list->SetSearchClock([this] { return now; });
        list->OnClick = [this](QObject*) { ++clicks; };
        list->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list.get()));
    }

    int Key() const { return list->KeyValue().IsEmptyOrNull() ? 0 : list->KeyValue().ToInt(); }
    QPoint RowCentre(int row) const
    {
        const int h = list->RowHeight();
        return list->viewport()->mapTo(list.get(), QPoint(20, row * h + h / 2));
    }
    void Type(const QString& text) { test::WidgetDriver(list.get()).Type(text); }
    void Press(int key) { test::WidgetDriver(list.get()).Press(key); }

    TClientDataSet dataSet;
    TDataSource source;
    std::unique_ptr<TDBLookupListBox> list;
    qint64 now = 1000;
    int clicks = 0;
};

TEST_F(LookupListBoxTest, TheHeightFollowsTheRowsAndTheFieldsAreItsColumns)
{
    EXPECT_EQ(list->height(), 4 * list->RowHeight() + 2 * list->FrameWidth());
    list->SetRowCount(6);
    EXPECT_EQ(list->height(), 6 * list->RowHeight() + 2 * list->FrameWidth());
    list->SetRowCount(0);
    EXPECT_EQ(list->RowCount(), 1);
    ASSERT_EQ(list->ListFields().size(), 2);
    EXPECT_EQ(list->ListFields()[0]->FieldName(), QStringLiteral("Name"));
    list->SetListField(QStringLiteral("Name;Missing"));
    EXPECT_EQ(list->ListFields().size(), 1);
}

TEST_F(LookupListBoxTest, SettingTheKeyLocatesTheRecordWithoutAClick)
{
    list->SetKeyValue(Variant(7));
    EXPECT_EQ(dataSet.FieldByName(QStringLiteral("Name"))->AsString(), QStringLiteral("Foxtrot"));
    EXPECT_GE(list->SelectedRow(), 0);
    EXPECT_EQ(clicks, 0);
    // A key no record has selects nothing.
    list->SetKeyValue(Variant(99));
    EXPECT_EQ(list->SelectedRow(), -1);
}

TEST_F(LookupListBoxTest, KeysMoveTheListDataSetAndSelectTheRecordReached)
{
    Press(Qt::Key_Down);  // nothing selected yet: the current record
    EXPECT_EQ(Key(), 1);
    Press(Qt::Key_Down);
    Press(Qt::Key_Down);
    EXPECT_EQ(Key(), 3);
    Press(Qt::Key_PageDown);  // a page less one
    EXPECT_EQ(Key(), 6);
    Press(Qt::Key_End);
    EXPECT_EQ(Key(), 10);
    EXPECT_EQ(list->SelectedRow(), 3);
    Press(Qt::Key_PageUp);
    EXPECT_EQ(Key(), 7);
    Press(Qt::Key_Home);
    EXPECT_EQ(Key(), 1);
    EXPECT_EQ(clicks, 7);
    Press(Qt::Key_Up);  // at the first record: no change, no click
    EXPECT_EQ(Key(), 1);
    EXPECT_EQ(clicks, 7);
}

TEST_F(LookupListBoxTest, AClickSelectsTheRowUnderTheMouseAndTheWheelMoves)
{
    test::WidgetDriver driver(list.get());
    driver.Click(RowCentre(2));
    EXPECT_EQ(Key(), 3);
    EXPECT_EQ(clicks, 1);
    // Below the last row of a short list nothing is hit.
    EXPECT_EQ(list->RowAt(QPoint(5, 4 * list->RowHeight() + 1)), -1);

    list->SetWheelRows(2);
    driver.Wheel(RowCentre(1), -1);  // towards the user: down the list
    EXPECT_EQ(Key(), 5);
    driver.Wheel(RowCentre(1), 1);
    EXPECT_EQ(Key(), 3);
    EXPECT_EQ(clicks, 3);
}

TEST_F(LookupListBoxTest, TypingSearchesTheFirstListFieldIncrementally)
{
    Type(QStringLiteral("b"));
    EXPECT_EQ(Key(), 2);  // Beta
    now += 100;
    Type(QStringLiteral("r"));
    EXPECT_EQ(Key(), 3);  // Bravo
    EXPECT_EQ(list->SearchText(), QStringLiteral("br"));

    // A character that finds nothing keeps the text and the record.
    now += 100;
    Type(QStringLiteral("x"));
    EXPECT_EQ(list->SearchText(), QStringLiteral("br"));
    EXPECT_EQ(Key(), 3);

    // After two seconds the search starts again.
    now += 2001;
    Type(QStringLiteral("h"));
    EXPECT_EQ(list->SearchText(), QStringLiteral("h"));
    EXPECT_EQ(Key(), 9);  // Hotel

    Press(Qt::Key_Backspace);
    EXPECT_EQ(list->SearchText(), QString());
    Type(QStringLiteral("E"));
    EXPECT_EQ(Key(), 6);  // Echo, in any case
    Press(Qt::Key_Escape);
    EXPECT_EQ(list->SearchText(), QString());
}

TEST_F(LookupListBoxTest, ExactlyTwoSecondsStillExtendsTheSearch)
{
    Type(QStringLiteral("b"));
    now += 2000;
    Type(QStringLiteral("r"));
    EXPECT_EQ(list->SearchText(), QStringLiteral("br"));
}

TEST_F(LookupListBoxTest, ANumberFieldFirstDoesNotSearch)
{
    list->SetListField(QStringLiteral("Code;Name"));
    Type(QStringLiteral("1"));
    EXPECT_EQ(list->SearchText(), QString());
    EXPECT_EQ(clicks, 0);
}

TEST_F(LookupListBoxTest, AClosedListDataSetShowsNothingAndIgnoresInput)
{
    dataSet.Close();
    EXPECT_EQ(list->ListDataSet(), nullptr);
    Press(Qt::Key_Down);
    Type(QStringLiteral("a"));
    test::WidgetDriver(list.get()).Click(RowCentre(0));
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(list->KeyValue().IsEmptyOrNull());
}

}  // namespace
}  // namespace tk
