#include "tests/support/qt_printers.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/properties.h"
#include "toolkit/ui/forms.h"
#include "toolkit/ui/listbox.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace tk {
namespace {

constexpr int kRow = 20;

// A shown list of ten owner-drawn rows of 20 pixels in a client area 100
// pixels high (five rows) and 120 wide without the scroll bar.
class ListBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.SetBounds(0, 0, 300, 200);
        list = new TListBox(&form);
        list->SetStyle(lbOwnerDrawFixed);
        list->SetItemHeight(kRow);
        form.show();
        Fill(10);
        list->SetBounds(10, 10, 120, 100);
        list->SetClientHeight(100);
        // The scroll bar comes with the list's next layout, as on screen.
        QCoreApplication::processEvents();
        width = list->ClientWidth();
    }

    void Fill(int count)
    {
        list->Items()->Clear();
        for (int i = 0; i < count; ++i)
            list->Items()->Add(QStringLiteral("Item %1").arg(i));
    }

    TForm form;
    TListBox* list = nullptr;
    int width = 0;  // the client width, without the scroll bar
};

struct TPositionCase {
    const char* name;
    int items;
    int topIndex;
    QPoint pos;
    bool existing;
    int expected;
};

class ListBoxItemAtPosTest : public ListBoxTest, public ::testing::WithParamInterface<TPositionCase> {};

TEST_P(ListBoxItemAtPosTest, FindsTheRowUnderThePoint)
{
    const TPositionCase& c = GetParam();
    Fill(c.items);
    list->SetTopIndex(c.topIndex);
    ASSERT_EQ(list->TopIndex(), c.topIndex);
    EXPECT_EQ(list->ItemAtPos(c.pos, c.existing), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ListBoxItemAtPosTest,
    ::testing::Values(TPositionCase{"FirstPixelOfTheFirstRow", 10, 0, {0, 0}, true, 0},
                      TPositionCase{"LastPixelOfTheFirstRow", 10, 0, {100, 19}, true, 0},
                      TPositionCase{"TopOfTheSecondRow", 10, 0, {5, 20}, true, 1},
                      TPositionCase{"ScrolledByThree", 10, 3, {5, 25}, true, 4},
                      TPositionCase{"LastVisibleRowWhenScrolled", 10, 5, {5, 99}, true, 9},
                      TPositionCase{"BelowTheLastItemExisting", 3, 0, {5, 70}, true, -1},
                      TPositionCase{"BelowTheLastItemGivesCount", 3, 0, {5, 70}, false, 3},
                      TPositionCase{"EmptyListGivesCount", 0, 0, {5, 5}, false, 0},
                      TPositionCase{"LeftOfTheClientArea", 10, 0, {-1, 5}, false, -1},
                      TPositionCase{"BelowTheClientArea", 10, 0, {5, 100}, false, -1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListBoxTest, TopIndexStopsAtTheRowThatShowsTheLastItemAtTheBottom)
{
    list->SetTopIndex(9);
    EXPECT_EQ(list->TopIndex(), 5);
    list->SetTopIndex(-3);
    EXPECT_EQ(list->TopIndex(), 0);
}

TEST_F(ListBoxTest, ItemRectFollowsTheTopIndex)
{
    list->SetTopIndex(3);
    EXPECT_EQ(list->ItemRect(4), QRect(0, 20, width, kRow));
    EXPECT_EQ(list->ItemRect(0), QRect(0, -60, width, kRow)) << "scrolled out above";
    EXPECT_EQ(list->ItemRect(10), QRect(0, 140, width, kRow)) << "the row after the last item";
    EXPECT_TRUE(list->ItemRect(11).isEmpty());
    EXPECT_TRUE(list->ItemRect(-1).isEmpty());
}

TEST_F(ListBoxTest, AClickSelectsThePaintedRowAcrossTheWholeWidth)
{
    int clicks = 0;
    list->OnClick = [&](QObject*) { ++clicks; };
    list->SetTopIndex(2);
    test::WidgetDriver driver(list->viewport());
    driver.Click(QPoint(width - 2, list->ItemRect(4).center().y()));
    EXPECT_EQ(list->ItemIndex(), 4);
    driver.Click(QPoint(3, list->ItemRect(2).top()));
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ListBoxTest, ChangesByCodeNeverFireOnClick)
{
    int clicks = 0;
    list->OnClick = [&](QObject*) { ++clicks; };
    list->SetItemIndex(3);
    list->Items()->Delete(3);  // the current line goes: another becomes current
    list->Items()->Insert(0, QStringLiteral("New"));
    list->Items()->Move(0, 4);
    list->SetSelected(6, true);
    list->SetSorted(true);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(list->ItemIndex(), list->Items()->IndexOf(QStringLiteral("Item 6")));
}

TEST_F(ListBoxTest, ItemHeightFollowsTheFontUnlessOwnerDrawnWithAHeight)
{
    list->SetStyle(lbStandard);
    const int fontHeight = QFontMetrics(list->font()).height();
    EXPECT_EQ(list->ItemHeight(), fontHeight) << "the height set waits for owner drawing";
    list->Font()->SetSize(list->Font()->Size() * 2);
    EXPECT_GT(list->ItemHeight(), fontHeight);
    list->SetStyle(lbOwnerDrawFixed);
    EXPECT_EQ(list->ItemHeight(), kRow);
    EXPECT_EQ(GetPropText(list, QStringLiteral("Style")), QStringLiteral("lbOwnerDrawFixed"));
    EXPECT_THROW(list->SetItemHeight(-1), EInvalidOperation);

    // Qt's layout follows the new height: the scroll range and a click.
    list->SetItemHeight(25);
    list->SetTopIndex(9);
    EXPECT_EQ(list->TopIndex(), 6) << "four whole rows of 25 fit in 100 pixels";
    test::WidgetDriver(list->viewport()).Click(list->ItemRect(8).center());
    EXPECT_EQ(list->ItemIndex(), 8);
}

struct THeightCase {
    const char* name;
    int itemHeight;
    int clientHeight;
    int expectedClient;
};

class ListBoxIntegralHeightTest : public ListBoxTest, public ::testing::WithParamInterface<THeightCase> {};

TEST_P(ListBoxIntegralHeightTest, SnapsDownToWholeRows)
{
    const THeightCase& c = GetParam();
    list->SetItemHeight(c.itemHeight);
    list->SetIntegralHeight(true);
    list->SetClientHeight(c.clientHeight);
    EXPECT_EQ(list->ClientHeight(), c.expectedClient);
}

INSTANTIATE_TEST_SUITE_P(Heights, ListBoxIntegralHeightTest,
                         ::testing::Values(THeightCase{"WholeRowsStay", 20, 80, 80},
                                           THeightCase{"APartRowIsCut", 20, 95, 80},
                                           THeightCase{"AtLeastOneRow", 20, 5, 20},
                                           THeightCase{"TallerRows", 30, 100, 90}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ListBoxTest, ANewItemHeightSnapsAnIntegralList)
{
    list->SetIntegralHeight(true);
    list->SetClientHeight(100);
    list->SetItemHeight(30);
    EXPECT_EQ(list->ClientHeight(), 90);
}

TEST_F(ListBoxTest, OwnerDrawHandlerGetsEachVisibleRowWithItsState)
{
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    list->setFocus();
    list->SetTopIndex(2);
    list->SetItemIndex(3);
    QStringList log;
    list->OnDrawItem = [&](QObject* control, int index, const QRect& rect, TOwnerDrawState state) {
        EXPECT_EQ(control, list);
        // The canvas comes prepared: highlight colours for a selected row.
        const TColor brush = list->Canvas()->Brush()->Color();
        log << QStringLiteral("%1 y=%2 h=%3 w=%4%5%6%7")
                   .arg(index)
                   .arg(rect.top())
                   .arg(rect.height())
                   .arg(rect.width())
                   .arg(state.testFlag(odSelected) ? " selected" : "")
                   .arg(state.testFlag(odFocused) ? " focused" : "")
                   .arg(brush == clHighlight ? " highlight" : "");
    };
    list->viewport()->repaint();
    const QString w = QString::number(width);
    EXPECT_EQ(log, (QStringList{"2 y=0 h=20 w=" + w, "3 y=20 h=20 w=" + w + " selected focused highlight",
                                "4 y=40 h=20 w=" + w, "5 y=60 h=20 w=" + w, "6 y=80 h=20 w=" + w}));

    log.clear();
    list->SetStyle(lbStandard);
    list->viewport()->repaint();
    EXPECT_TRUE(log.isEmpty()) << "a standard list draws its items itself";
}

TEST_F(ListBoxTest, TheDefaultDrawingFillsTheRowInTheSelectionColours)
{
    list->SetItemIndex(1);
    const QImage image = list->viewport()->grab().toImage();
    const QPalette palette = list->palette();
    EXPECT_EQ(image.pixelColor(width - 3, 30), palette.color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(image.pixelColor(width - 3, 10), palette.color(QPalette::Base));
    Fill(2);
    EXPECT_EQ(list->viewport()->grab().toImage().pixelColor(width - 3, 90), palette.color(QPalette::Base))
        << "below the last row";
}

TEST_F(ListBoxTest, MultiSelectKeepsSeveralLines)
{
    list->SetMultiSelect(true);
    list->SetSelected(1, true);
    list->SetSelected(4, true);
    EXPECT_TRUE(list->Selected(1));
    EXPECT_TRUE(list->Selected(4));
    EXPECT_EQ(list->SelCount(), 2);
    list->SetSelected(1, false);
    EXPECT_EQ(list->SelCount(), 1);
    EXPECT_THROW(list->Selected(10), EStringListError);

    list->SetMultiSelect(false);
    list->SetSelected(2, true);
    EXPECT_EQ(list->ItemIndex(), 2);
    list->SetSelected(2, false);
    EXPECT_EQ(list->ItemIndex(), -1);
}

TEST_F(ListBoxTest, ASortedListSortsWhatItHasAndAddsInOrder)
{
    list->Items()->SetText(QStringLiteral("pear\r\nApple\r\nfig\r\napple\r\n"));
    list->Items()->PutObject(1, 11);
    list->SetItemIndex(0);
    list->SetSorted(true);
    EXPECT_EQ(list->Items()->CommaText(), QStringLiteral("Apple,apple,fig,pear"));
    EXPECT_EQ(list->Items()->Objects(0), QVariant(11));
    EXPECT_EQ(list->ItemIndex(), 3) << "the current line moves with its item";
    EXPECT_EQ(list->Items()->Add(QStringLiteral("banana")), 2);
    EXPECT_EQ(list->Items()->Add(QStringLiteral("APPLE")), 2) << "after the equal lines";
}

}  // namespace
}  // namespace tk
