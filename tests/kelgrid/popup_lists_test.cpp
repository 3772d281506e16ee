#include "kelgrid/editors/listborder.h"
#include "kelgrid/editors/popupdatalist.h"
#include "kelgrid/editors/popupgridlist.h"
#include "kelgrid/editors/popuppicklist.h"

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/keldbgrids.h"
#include "kelgrid/grid/paintstyles.h"
#include "kelgrid/grid/tuning.h"
#include "tests/support/field_def.h"
#include "tests/support/widget_driver.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"

#include "toolkit/ui/colors.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace kelgrid {
namespace {

// The three lists as the in-place editor uses them: a focused line edit
// plays the editor (the associate), with another edit beside it for presses
// outside; keys reach the lists only through ForwardKey; the search clock is
// the test's.
class PopupListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        window.setGeometry(40, 40, 400, 300);
        editor = new QLineEdit(&window);
        editor->setGeometry(10, 10, 120, 22);
        other = new QLineEdit(&window);
        other->setGeometry(10, 200, 120, 22);
        grid = std::make_unique<TKelDBGrid>();
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        editor->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), editor);
    }

    QPoint BelowEditor() const { return editor->mapToGlobal(QPoint(0, editor->height())); }

    // Forwards a key as the editor does (the text for characters).
    static bool Forward(QWidget* list, int key, const QString& text = QString())
    {
        const QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, text);
        if (auto* pick = qobject_cast<TKelPopupPickList*>(list))
            return pick->ForwardKey(event);
        if (auto* data = qobject_cast<TKelPopupDataList*>(list))
            return data->ForwardKey(event);
        return qobject_cast<TKelPopupGridList*>(list)->ForwardKey(event);
    }
    static void ForwardText(QWidget* list, const QString& text)
    {
        for (const QChar ch : text)
            Forward(list, ch.toUpper().unicode(), QString(ch));
    }
    // A press on the editor dragged into list and released there (list
    // coordinates of the release).
    void DragFromEditorInto(QWidget* list, const QPoint& at)
    {
        tk::test::WidgetDriver driver(&window);
        driver.MouseDown(editor->geometry().center());
        const QPoint inWindow = window.mapFromGlobal(list->mapToGlobal(at));
        driver.MouseMove(inWindow);
        driver.MouseUp(inWindow);
    }

    QString CloseUps() const { return closeUps.join(QLatin1Char('|')); }

    QStringList closeUps;
    qint64 now = 5000;
    QWidget window;
    QLineEdit* editor = nullptr;
    QLineEdit* other = nullptr;
    std::unique_ptr<TKelDBGrid> grid;
};

// --- The pick list ------------------------------------------------------------

class PickListTest : public PopupListTest {
protected:
    void SetUp() override
    {
        PopupListTest::SetUp();
        list = new TKelPopupPickList(editor);
        list->SetGrid(grid.get());
        list->SetAssociate(editor);
        list->SetSearchClock([this] { return now; });
        list->OnCloseUp = [this](QObject* sender, bool accept) {
            EXPECT_EQ(sender, list.data());
            closeUps << QStringLiteral("%1 %2").arg(accept ? "accept" : "cancel").arg(list->ItemIndex());
        };
    }

    void Fill(const QStringList& items)
    {
        list->Items()->Clear();
        for (const QString& item : items)
            list->Items()->Add(item);
    }

    void Open(const QString& editorText, int dropDownRows = 0)
    {
        list->Prepare(TDropDownLimits{dropDownRows, 0, editor->width()}, editorText);
        list->Popup(BelowEditor());
        QCoreApplication::processEvents();
        ASSERT_TRUE(list->IsPopupVisible());
    }

    QPoint ItemCentre(int index) const
    {
        return list->viewport()->mapTo(list.data(), list->ItemRect(index).center());
    }

    QPointer<TKelPopupPickList> list;
};

TEST_F(PickListTest, TypingSearchesTheItemsAndRestartsAfterTwoSeconds)
{
    Fill({QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Bravo")});
    Open(QString());
    EXPECT_EQ(list->ItemIndex(), -1);  // an empty text selects nothing
    ForwardText(list, QStringLiteral("b"));
    EXPECT_EQ(list->ItemIndex(), 1);
    now += 300;
    ForwardText(list, QStringLiteral("r"));
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->SearchText(), QStringLiteral("br"));

    Forward(list, Qt::Key_Backspace);
    EXPECT_EQ(list->SearchText(), QString());
    ForwardText(list, QStringLiteral("b"));
    EXPECT_EQ(list->ItemIndex(), 1);
    now += 2001;
    ForwardText(list, QStringLiteral("r"));  // a new search for "r": nothing
    EXPECT_EQ(list->SearchText(), QStringLiteral("r"));
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_EQ(CloseUps(), QString());
}

TEST_F(PickListTest, TheThirtyThirdSearchCharacterIsIgnored)
{
    Fill({QString(40, QLatin1Char('a')), QString(32, QLatin1Char('a')) + QStringLiteral("b")});
    Open(QString());
    ForwardText(list, QString(32, QLatin1Char('a')));
    EXPECT_EQ(list->SearchText().size(), 32);
    EXPECT_EQ(list->ItemIndex(), 0);
    ForwardText(list, QStringLiteral("b"));  // would find the second item
    EXPECT_EQ(list->SearchText().size(), 32);
    EXPECT_EQ(list->ItemIndex(), 0);
}

TEST_F(PickListTest, TheEditorTextSelectsItsItemAndTheLimitsSizeTheList)
{
    QStringList items;
    for (int i = 1; i <= 35; ++i)
        items << QStringLiteral("Item %1").arg(i);
    Fill(items);
    struct Case {
        int dropDownRows;
        int rows;
    };
    for (const Case c : {Case{0, 20}, Case{-1, 35}, Case{5, 5}}) {
        const int rowHeight = list->Prepare(TDropDownLimits{c.dropDownRows, 0, editor->width()}, "item 30");
        EXPECT_EQ(rowHeight, list->ItemHeight());
        EXPECT_EQ(list->height(), c.rows * list->ItemHeight() + 2) << c.dropDownRows;
        EXPECT_GE(list->width(), editor->width() + 2);
        EXPECT_EQ(list->ItemIndex(), 29);
    }
    list->Prepare(TDropDownLimits{0, 0, 40}, QStringLiteral("Item 35 and more"));
    EXPECT_EQ(list->ItemIndex(), -1);
    // Wide enough for the widest text.
    EXPECT_GT(list->viewport()->width(), list->Canvas()->TextWidth(QStringLiteral("Item 35")));
}

TEST_F(PickListTest, AClickOnAnItemAcceptsIt)
{
    Fill({QStringLiteral("Lyon"), QStringLiteral("Nice"), QStringLiteral("Paris")});
    Open(QStringLiteral("Lyon"));
    tk::test::WidgetDriver(list).Click(ItemCentre(2));
    EXPECT_EQ(CloseUps(), QStringLiteral("accept 2"));
    EXPECT_FALSE(list->IsPopupVisible());
    EXPECT_EQ(QApplication::focusWidget(), editor);
}

TEST_F(PickListTest, AReleaseOutsideTheListClosesItWithoutAccepting)
{
    Fill({QStringLiteral("Lyon"), QStringLiteral("Nice"), QStringLiteral("Paris")});
    Open(QStringLiteral("Lyon"));
    tk::test::WidgetDriver driver(list);
    driver.MouseDown(ItemCentre(1));
    driver.MouseMove(QPoint(list->width() + 30, 5));
    driver.MouseUp(QPoint(list->width() + 30, 5));
    EXPECT_EQ(CloseUps(), QStringLiteral("cancel 1"));
}

TEST_F(PickListTest, ADragFromTheEditorEndsOnTheItemReleased)
{
    Fill({QStringLiteral("Lyon"), QStringLiteral("Nice"), QStringLiteral("Paris")});
    Open(QStringLiteral("Lyon"));
    DragFromEditorInto(list, ItemCentre(2));
    EXPECT_EQ(CloseUps(), QStringLiteral("accept 2"));
}

TEST_F(PickListTest, APlainClickOnTheEditorLeavesItOpen)
{
    Fill({QStringLiteral("Lyon"), QStringLiteral("Nice")});
    Open(QStringLiteral("Nice"));
    tk::test::WidgetDriver(editor).Click(QPoint(5, 5));
    EXPECT_TRUE(list->IsPopupVisible());
    EXPECT_EQ(CloseUps(), QString());
}

TEST_F(PickListTest, APressOutsideOrTheEditorHidingCancels)
{
    Fill({QStringLiteral("Lyon"), QStringLiteral("Nice")});
    Open(QStringLiteral("Nice"));
    EXPECT_EQ(QApplication::focusWidget(), editor);
    EXPECT_EQ(list->focusPolicy(), Qt::NoFocus);
    tk::test::WidgetDriver(other).Click(QPoint(5, 5));
    EXPECT_EQ(CloseUps(), QStringLiteral("cancel 1"));

    Open(QStringLiteral("Lyon"));
    editor->hide();
    EXPECT_EQ(CloseUps(), QStringLiteral("cancel 1|cancel 0"));
}

TEST_F(PickListTest, EnterAcceptsEscapeCancelsAndArrowsMove)
{
    Fill({QStringLiteral("Lyon"), QStringLiteral("Nice"), QStringLiteral("Paris")});
    Open(QStringLiteral("Lyon"));
    EXPECT_TRUE(Forward(list, Qt::Key_Down));
    EXPECT_EQ(list->ItemIndex(), 1);
    EXPECT_TRUE(Forward(list, Qt::Key_Return));
    Open(QStringLiteral("Paris"));
    EXPECT_TRUE(Forward(list, Qt::Key_Escape));
    EXPECT_EQ(CloseUps(), QStringLiteral("accept 1|cancel 2"));
}

TEST_F(PickListTest, TheWheelScrollsByTheGridsRowsNotAboveTheFirst)
{
    QStringList items;
    for (int i = 1; i <= 35; ++i)
        items << QStringLiteral("Item %1").arg(i);
    Fill(items);
    grid->SetWheelScrollRows(2);
    Open(QString(), 5);
    tk::test::WidgetDriver driver(list);
    driver.Wheel(ItemCentre(0), -1);
    EXPECT_EQ(list->TopIndex(), 2);
    driver.Wheel(ItemCentre(2), 3);
    EXPECT_EQ(list->TopIndex(), 0);
    EXPECT_TRUE(list->IsPopupVisible());
}

TEST_F(PickListTest, MouseTrackingSelectsTheItemUnderThePointer)
{
    Fill({QStringLiteral("Lyon"), QStringLiteral("Nice"), QStringLiteral("Paris")});
    Open(QStringLiteral("Lyon"));
    const bool saved = ListMouseTracking;
    ListMouseTracking = true;
    tk::test::WidgetDriver(list).MouseMove(ItemCentre(2));
    EXPECT_EQ(list->ItemIndex(), 2);
    ListMouseTracking = false;
    tk::test::WidgetDriver(list).MouseMove(ItemCentre(1));
    EXPECT_EQ(list->ItemIndex(), 2);
    ListMouseTracking = saved;
}

TEST_F(PickListTest, TheGridStyleListDrawsTheGridsLinesAndSelection)
{
    // Whole-row selection: the grid's select-cell colours.
    grid->SetOptions(grid->Options() | dgRowSelect);
    list->SetOwnerDrawn(true);
    EXPECT_EQ(list->ItemHeight(), grid->DefaultRowHeight());
    Fill({QStringLiteral("Lyon"), QStringLiteral("Nice"), QStringLiteral("Paris")});
    Open(QStringLiteral("Nice"));
    const QImage image = list->viewport()->grab().toImage();
    const QRect selected = list->ItemRect(1);
    const QRect plain = list->ItemRect(0);
    const QColor lineColor = tk::ColorToQColor(grid->DefaultDataLineColor(), list->palette());
    const QColor selectColor = tk::ColorToQColor(
        ResolveColor(grid->SelectCellColor(), grid->DefaultSelectCellColor()), list->palette());
    EXPECT_EQ(image.pixelColor(plain.left() + 1, plain.bottom()), lineColor);
    EXPECT_EQ(image.pixelColor(selected.right() - 3, selected.top() + 2), selectColor);
}

// --- The data list --------------------------------------------------------------

// Towns: Id, Name, with a key a test can read back.
void FillTowns(tk::TClientDataSet& dataSet, int count)
{
    dataSet.FieldDefs() = {tk::test::Def(QStringLiteral("Id"), tk::ftInteger),
                           tk::test::Def(QStringLiteral("Name"), tk::ftString, 20),
                           tk::test::Def(QStringLiteral("City"), tk::ftString, 20)};
    dataSet.CreateDataSet();
    const char* const names[] = {"Alpha", "Beta", "Bravo", "Charlie", "Delta"};
    for (int id = 1; id <= count; ++id) {
        dataSet.Append();
        dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(id);
        dataSet.FieldByName(QStringLiteral("Name"))
            ->SetAsString(id <= 5 ? QString::fromLatin1(names[id - 1]) : QStringLiteral("Town %1").arg(id));
        dataSet.FieldByName(QStringLiteral("City"))->SetAsString(QStringLiteral("City %1").arg(id));
        dataSet.Post();
    }
    dataSet.First();
}

class DataListTest : public PopupListTest {
protected:
    void SetUp() override
    {
        PopupListTest::SetUp();
        FillTowns(dataSet, 30);
        source.SetDataSet(&dataSet);
        list = new TKelPopupDataList(editor);
        list->SetGrid(grid.get());
        list->SetAssociate(editor);
        list->SetKeyField(QStringLiteral("Id"));
        list->SetListField(QStringLiteral("Name;City"));
        list->SetListSource(&source);
        list->OnCloseUp = [this](QObject*, bool accept) {
            closeUps << QStringLiteral("%1 %2").arg(accept ? "accept" : "cancel").arg(Key());
        };
    }

    int Key() const { return list->KeyValue().IsEmptyOrNull() ? 0 : list->KeyValue().ToInt(); }
    void Open(int dropDownRows)
    {
        list->Prepare(TDropDownLimits{dropDownRows, 0, editor->width()});
        list->Popup(BelowEditor());
        QCoreApplication::processEvents();
        ASSERT_TRUE(list->IsPopupVisible());
    }
    QPoint RowCentre(int row) const
    {
        const int h = list->RowHeight();
        return list->viewport()->mapTo(list.data(), QPoint(10, row * h + h / 2));
    }

    tk::TClientDataSet dataSet;
    tk::TDataSource source;
    QPointer<TKelPopupDataList> list;
};

TEST_F(DataListTest, PrepareCountsTheRecordsAndKeepsThePosition)
{
    dataSet.MoveBy(6);
    int rowHeight = list->Prepare(TDropDownLimits{0, 0, editor->width()});
    EXPECT_EQ(list->RowCount(), 20);
    EXPECT_EQ(rowHeight, list->RowHeight());
    EXPECT_EQ(dataSet.FieldByName(QStringLiteral("Id"))->AsInteger(), 7);
    list->Prepare(TDropDownLimits{-1, 0, editor->width()});
    EXPECT_EQ(list->RowCount(), 30);
    list->Prepare(TDropDownLimits{5, 0, editor->width()});
    EXPECT_EQ(list->RowCount(), 5);
    EXPECT_GE(list->width(), editor->width() + 2);
}

TEST_F(DataListTest, AClickAcceptsTheRowAndTheWheelMovesTheDataSet)
{
    grid->SetWheelScrollRows(3);
    list->SetGrid(grid.get());
    list->SetKeyValue(tk::Variant(1));
    Open(5);
    tk::test::WidgetDriver driver(list);
    driver.Wheel(RowCentre(0), -1);
    EXPECT_EQ(Key(), 4);
    driver.Click(RowCentre(0));
    EXPECT_EQ(closeUps.size(), 1);
    EXPECT_TRUE(closeUps.value(0).startsWith(QStringLiteral("accept")));
    EXPECT_EQ(QApplication::focusWidget(), editor);
}

TEST_F(DataListTest, KeysAndTheSearchArriveThroughTheEditor)
{
    Open(5);
    Forward(list, Qt::Key_Down);
    Forward(list, Qt::Key_Down);
    EXPECT_EQ(Key(), 2);
    ForwardText(list, QStringLiteral("ch"));
    EXPECT_EQ(Key(), 4);
    Forward(list, Qt::Key_Return);
    EXPECT_EQ(CloseUps(), QStringLiteral("accept 4"));
}

TEST_F(DataListTest, ADragFromTheEditorAndAPressOutside)
{
    Open(5);
    DragFromEditorInto(list, RowCentre(2));
    EXPECT_EQ(CloseUps(), QStringLiteral("accept 3"));
    Open(5);
    tk::test::WidgetDriver(other).Click(QPoint(3, 3));
    EXPECT_EQ(CloseUps(), QStringLiteral("accept 3|cancel 3"));
}

// --- The lookup grid ------------------------------------------------------------

class GridListTest : public PopupListTest {
protected:
    void SetUp() override
    {
        PopupListTest::SetUp();
        FillTowns(dataSet, 30);
        source.SetDataSet(&dataSet);
        grid->SetDataSource(&source);
        column = grid->Columns()->Add();
        column->SetFieldName(QStringLiteral("Id"));
        list = new TKelPopupGridList(editor);
        list->SetAssociate(editor);
        list->SetSearchClock([this] { return now; });
        list->OnCloseUp = [this](QObject*, bool accept) {
            closeUps << QStringLiteral("%1 %2").arg(accept ? "accept" : "cancel").arg(Key());
        };
    }

    int Key() const { return list->KeyValue().IsEmptyOrNull() ? 0 : list->KeyValue().ToInt(); }
    void Open(int dropDownRows = 5)
    {
        list->SetListFields(QStringLiteral("Name;City;"));
        list->SetKeyFields(QStringLiteral("Id"));
        list->TakeAppearance(grid.get(), column);
        list->SetDataSource(&source);
        list->Prepare(TDropDownLimits{dropDownRows, 0, editor->width()});
        list->Popup(BelowEditor());
        QCoreApplication::processEvents();
        ASSERT_TRUE(list->IsPopupVisible());
    }
    tk::TClientDataSet dataSet;
    tk::TDataSource source;
    TKelColumn* column = nullptr;
    QPointer<TKelPopupGridList> list;
};

// Measured while hidden, the popup still makes room for the scroll bar its
// rows will need: every column shows from the first, none scrolled away.
TEST_F(GridListTest, TheColumnsFitBesideTheScrollBarOfManyRecords)
{
    Open(5);
    ASSERT_TRUE(list->verticalScrollBar()->isVisible());
    EXPECT_EQ(list->LeftCol(), list->FixedCols());
    EXPECT_FALSE(list->horizontalScrollBar()->isVisible());
    const int last = list->ColCount() - 1;
    EXPECT_LE(list->CellRect(last, list->Row()).right(), list->viewport()->width());
}

// A mild (silver) border frames the list while the names in it keep the
// text colour: neither the border's colour nor the popup's never being the
// active window greys them.
TEST_F(GridListTest, TheBorderHasItsColourAndTheTextKeepsItsOwn)
{
    grid->SetListBorder(lbMild);
    Open(5);
    ASSERT_FALSE(list->isActiveWindow());
    EXPECT_EQ(ListBorderShown(*list), tk::ColorToQColor(tk::clSilver));
    const QImage shot = list->grab().toImage();
    EXPECT_EQ(QColor(shot.pixel(0, shot.height() / 2)), tk::ColorToQColor(tk::clSilver));
    EXPECT_EQ(QColor(shot.pixel(shot.width() / 2, 0)), tk::ColorToQColor(tk::clSilver));
    // The darkest pixel of the second row's text is the window text colour.
    const QRect row = list->CellRect(list->FixedCols(), list->Row() + 1);
    int darkest = 255;
    for (int y = row.top(); y <= row.bottom(); ++y)
        for (int x = row.left() + 2; x < row.right() - 2; ++x)
            darkest = qMin(darkest, qGray(shot.pixel(list->viewport()->mapTo(list.data(), QPoint(x, y)))));
    EXPECT_LT(darkest, 64) << "the text is drawn dark, not grey";
    EXPECT_EQ(tk::ColorToQColor(tk::clWindowText, list->palette()),
              QApplication::palette().color(QPalette::Active, QPalette::WindowText));
    // What the style draws from the popup's own group looks active too.
    EXPECT_EQ(list->palette().color(QPalette::Inactive, QPalette::Highlight),
              list->palette().color(QPalette::Active, QPalette::Highlight));
}

TEST_F(GridListTest, ListFieldsWithATrailingSeparatorAddARowNumberColumn)
{
    list->SetListFields(QStringLiteral("Name;City;"));
    ASSERT_EQ(list->Columns()->Count(), 3);
    EXPECT_EQ(list->Columns()->Items(0)->FieldName(), QStringLiteral("Name"));
    EXPECT_EQ(list->Columns()->Items(1)->FieldName(), QStringLiteral("City"));
    TKelColumn* number = list->Columns()->Items(2);
    EXPECT_TRUE(number->AutoNumber());
    EXPECT_EQ(number->Alignment(), tk::taRightJustify);
    EXPECT_TRUE(number->SuppressRTL());
    EXPECT_EQ(number->Title()->Caption(), QStringLiteral("No."));
    EXPECT_EQ(list->Columns()->Items(0)->Title()->Alignment(), tk::taCenter);
    EXPECT_EQ(list->ListFields(), QStringLiteral("Name;City;"));

    list->SetListFields(QStringLiteral(";Name"));
    ASSERT_EQ(list->Columns()->Count(), 2);
    EXPECT_TRUE(list->Columns()->Items(0)->AutoNumber());
}

TEST_F(GridListTest, TitlesAndWidthsGoToTheColumnsInOrder)
{
    list->SetListFields(QStringLiteral("Name;City;"));
    const int cityWidth = list->Columns()->Items(1)->WidthBase();
    list->SetListWidths(QStringLiteral("80;x;60"));
    EXPECT_EQ(list->Columns()->Items(0)->WidthBase(), 80);
    EXPECT_EQ(list->Columns()->Items(1)->WidthBase(), cityWidth);
    EXPECT_EQ(list->Columns()->Items(2)->WidthBase(), 60);
    EXPECT_EQ(list->ListWidths(), QStringLiteral("80;%1;60").arg(cityWidth));

    list->SetListTitles(QStringLiteral("Town;Place"));
    EXPECT_EQ(list->ListTitles(), QStringLiteral("Town;Place;No."));
    // New fields forget the titles: the captions are the fields' again.
    list->SetListFields(QStringLiteral("City"));
    EXPECT_EQ(list->ListTitles(), QStringLiteral("City"));
    list->SetListTitles(QStringLiteral("Town;Place"));
    EXPECT_EQ(list->ListTitles(), QStringLiteral("Town"));
}

TEST_F(GridListTest, TheKeyValueLocatesExactly)
{
    list->SetListFields(QStringLiteral("Name"));
    list->SetKeyFields(QStringLiteral("Id"));
    list->SetDataSource(&source);
    EXPECT_TRUE(list->SetKeyValue(tk::Variant(12)));
    EXPECT_EQ(Key(), 12);
    EXPECT_FALSE(list->SetKeyValue(tk::Variant(99)));
    EXPECT_EQ(Key(), 12);
}

TEST_F(GridListTest, TheListOptionsShapeTheGrid)
{
    column->SetListOptions(TKelListOptions(loShowLookupListTitles | loAllowColumnMoving));
    Open();
    EXPECT_TRUE(list->Options().testFlag(dgTitles));
    EXPECT_FALSE(list->Options().testFlag(dgTitleButtons));
    EXPECT_FALSE(list->Options().testFlag(dgEditing));
    EXPECT_FALSE(list->Options().testFlag(dgIndicator));
    EXPECT_TRUE(list->Options().testFlag(dgForceSequence));
    EXPECT_TRUE(list->ResizeOptions().testFlag(roColumnMoving));
    EXPECT_FALSE(list->ResizeOptions().testFlag(roColumnResize));
    EXPECT_EQ(list->FocusRect(), frNone);

    list->CloseUp(false);
    column->SetListOptions(TKelListOptions(loAllowChangeOrder | loAllowColumnResize));
    Open();
    EXPECT_FALSE(list->Options().testFlag(dgTitles));
    EXPECT_TRUE(list->Options().testFlag(dgTitleButtons));
    EXPECT_TRUE(list->OptionsEx().testFlag(dgAutoUpdateOrder));
    EXPECT_TRUE(list->ResizeOptions().testFlag(roOptimalWidth));
}

TEST_F(GridListTest, TheLimitsSizeTheGrid)
{
    column->SetListOptions(TKelListOptions(loShowLookupListTitles));
    for (const int rows : {5, 0}) {
        Open(rows);
        const int shown = rows == 0 ? 20 : rows;
        EXPECT_EQ(list->height(), shown * list->DefaultRowHeight() + list->TitleHeight() + list->TotalHeight() + 1);
        EXPECT_GE(list->width(), editor->width() + 2);
        EXPECT_EQ(list->minimumHeight(), list->TitleHeight() + list->TotalHeight() + list->DefaultRowHeight());
        list->CloseUp(false);
    }
}

TEST_F(GridListTest, ATitleClickKeepsItOpenADataRowClickAccepts)
{
    column->SetListOptions(TKelListOptions(loShowLookupListTitles));
    Open();
    ASSERT_EQ(list->TitleOffset(), 1);
    tk::test::WidgetDriver driver(list->viewport());
    driver.Click(QPoint(10, list->TitleHeight() / 2));
    EXPECT_TRUE(list->IsPopupVisible());
    EXPECT_EQ(CloseUps(), QString());
    driver.Click(QPoint(10, list->TitleHeight() + 2 * list->DefaultRowHeight() + list->DefaultRowHeight() / 2));
    EXPECT_EQ(CloseUps(), QStringLiteral("accept 3"));
    EXPECT_EQ(QApplication::focusWidget(), editor);
}

TEST_F(GridListTest, APressOutsideCancels)
{
    Open();
    tk::test::WidgetDriver(other).Click(QPoint(3, 3));
    EXPECT_EQ(CloseUps(), QStringLiteral("cancel 1"));
}

TEST_F(GridListTest, TheSearchKeepsOnlyTextsThatFindARecord)
{
    Open();
    list->SetSearchField(QStringLiteral("Name"));
    ForwardText(list, QStringLiteral("b"));
    EXPECT_EQ(Key(), 2);
    now += 100;
    ForwardText(list, QStringLiteral("rx"));
    EXPECT_EQ(list->SearchText(), QStringLiteral("br"));
    EXPECT_EQ(Key(), 3);
    now += 2001;
    ForwardText(list, QStringLiteral("d"));
    EXPECT_EQ(list->SearchText(), QStringLiteral("d"));
    EXPECT_EQ(Key(), 5);
    // A number field does not search.
    list->SetSearchField(QStringLiteral("Id"));
    ForwardText(list, QStringLiteral("1"));
    EXPECT_EQ(list->SearchText(), QString());
    EXPECT_EQ(Key(), 5);
}

TEST_F(GridListTest, CloseUpWritesTheListBackIntoTheColumn)
{
    column->SetListOptions(TKelListOptions(loShowLookupListTitles | loExpandFirstColumn));
    Open();
    TKelColumn* first = list->Columns()->Items(0);
    EXPECT_EQ(first->ExpandCols(), 2);
    EXPECT_FALSE(first->Expanded());
    first->SetExpanded(true);
    list->SetListTitles(QStringLiteral("Town;Place"));
    list->CloseUp(true);
    list->WriteBack(column);
    EXPECT_TRUE(column->ListOptions().testFlag(loFirstColumnExpanded));
    EXPECT_EQ(column->LookupListFields(), QStringLiteral("Name;City;"));
    EXPECT_EQ(column->LookupListTitles(), QStringLiteral("Town;Place;No."));
    EXPECT_EQ(column->LookupListWidths().count(QLatin1Char(';')), 2);
    EXPECT_EQ(list->DataSource(), nullptr);
}

}  // namespace
}  // namespace kelgrid
