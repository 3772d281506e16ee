// The menus of the grid's areas: a right click pops up the menu of the
// area under the mouse (corner, indicator, total part, column, title, the
// grid's own outside the cells), at the mouse and for the grid; the
// titles never fall back to the grid's menu; a click on the corner drops
// its menu under it. Menus without visible items show nothing and return
// at once, so the one that popped is told by its OnPopup.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/columntotal.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/widget_driver.h"
#include "toolkit/ui/popupmenu.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTimer>
#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

using tk::test::WidgetDriver;

class GridMenusTest : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->resize(500, 300);
        grid->SetOptionsEx(grid->OptionsEx() | dgTotalFooter);
        grid->show();
        grid->setFocus();
        QApplication::processEvents();
        mouse = std::make_unique<WidgetDriver>(grid->viewport());
        for (const char* name : {"grid", "filler", "indicator", "footer", "column", "title"}) {
            auto* menu = new tk::TPopupMenu(grid.get());
            menu->setObjectName(QString::fromLatin1(name));
            menu->OnPopup = [this, menu](QObject*) {
                popped << menu->objectName();
                EXPECT_EQ(menu->PopupComponent(), grid.get()) << menu->objectName().toStdString();
            };
            menus[name] = menu;
        }
        grid->SetPopupMenu(menus["grid"]);
        grid->SetFillerPopupMenu(menus["filler"]);
        grid->SetIndicatorPopupMenu(menus["indicator"]);
        owner()->TotalFooter()->SetPopupMenu(menus["footer"]);
        owner()->SetPopupMenu(menus["column"]);
        owner()->Title()->SetPopupMenu(menus["title"]);
    }
    void TearDown() override
    {
        mouse.reset();
        GridFixture::TearDown();
    }

    TKelColumn* owner() const { return grid->ColumnByName(QStringLiteral("Owner")); }
    int Raw() const { return grid->DataToRawColumn(owner()->Index()); }
    // Right-clicks at and returns the menus that popped.
    QStringList RightClick(QPoint at)
    {
        popped.clear();
        mouse->ContextClick(at);
        return popped;
    }

    std::unique_ptr<WidgetDriver> mouse;
    std::map<std::string, tk::TPopupMenu*> menus;
    QStringList popped;
};

TEST_F(GridMenusTest, EachAreaPopsUpItsOwnMenuAtTheMouse)
{
    const int data = grid->TitleOffset() + 1;
    const int footer = grid->RowCount() - 1;
    EXPECT_EQ(RightClick(grid->CellRect(Raw(), data).center()), QStringList{"column"});
    EXPECT_EQ(menus["column"]->PopupPoint(),
              grid->viewport()->mapToGlobal(grid->CellRect(Raw(), data).center()));
    EXPECT_EQ(RightClick(grid->CellRect(Raw(), 0).center()), QStringList{"title"});
    EXPECT_EQ(RightClick(grid->CellRect(0, 0).center()), QStringList{"filler"});
    EXPECT_EQ(RightClick(grid->CellRect(0, data).center()), QStringList{"indicator"});
    EXPECT_EQ(RightClick(grid->CellRect(Raw(), footer).center()), QStringList{"footer"});
    const QRect lastRow = grid->CellRect(Raw(), grid->TitleOffset() + 4);
    const QRect footerRect = grid->CellRect(Raw(), footer);
    ASSERT_GT(footerRect.top() - lastRow.bottom(), 4) << "room below the five records";
    EXPECT_EQ(RightClick(QPoint(lastRow.center().x(), lastRow.bottom() + 3)), QStringList{"grid"})
        << "outside the cells";

    // Areas without a menu of their own: a data cell falls back to the
    // grid's menu, a title to none.
    const int amount = grid->DataToRawColumn(grid->ColumnByName(QStringLiteral("Amount"))->Index());
    EXPECT_EQ(RightClick(grid->CellRect(amount, data).center()), QStringList{"grid"});
    EXPECT_EQ(RightClick(grid->CellRect(amount, 0).center()), QStringList());
    // A menu that does not pop up by itself is no menu here.
    menus["column"]->SetAutoPopup(false);
    EXPECT_EQ(RightClick(grid->CellRect(Raw(), data).center()), QStringList{"grid"});
    // With right-button moving a right press on a scrollable title moves it.
    grid->SetOptions(grid->Options() | dgRightMoving);
    EXPECT_EQ(RightClick(grid->CellRect(Raw(), 0).center()), QStringList());
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridMenusTest, AShownMenuEndsThePressesAndRunsTheChosenItem)
{
    auto* item = new tk::TMenuItem(menus["column"]);
    item->SetCaption(QStringLiteral("&Copy"));
    int chosen = 0;
    item->OnClick = [&](QObject*) { ++chosen; };
    menus["column"]->Items()->Add(item);
    bool opened = false;
    // The user picks the entry once the menu is open.
    QTimer::singleShot(0, [&] {
        auto* shown = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        opened = shown != nullptr;
        if (shown && !shown->actions().isEmpty()) {
            shown->setActiveAction(shown->actions().first());
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(shown, &enter);
        }
        while (QWidget* open = QApplication::activePopupWidget())
            open->close();
    });
    EXPECT_EQ(RightClick(grid->CellRect(Raw(), grid->TitleOffset()).center()), QStringList{"column"});
    EXPECT_TRUE(opened);
    EXPECT_EQ(chosen, 1);
    EXPECT_FALSE(grid->ScrollTracking());
}

TEST_F(GridMenusTest, TheCornerDropsItsMenuOnAClickAndFreedMenusAreForgotten)
{
    int fillerClicks = 0;
    grid->OnFillerClick = [&](TKelCustomDBGrid*) { ++fillerClicks; };
    popped.clear();
    mouse->Click(grid->CellRect(0, 0).center());
    EXPECT_EQ(popped, QStringList{"filler"});
    EXPECT_EQ(menus["filler"]->PopupPoint(),
              grid->viewport()->mapToGlobal(grid->CellRect(0, 0).bottomLeft() + QPoint(0, 1)));
    EXPECT_EQ(fillerClicks, 0);
    grid->SetFillerIndex(3);
    popped.clear();
    mouse->Click(grid->CellRect(0, 0).center());
    EXPECT_EQ(popped, QStringList());
    EXPECT_EQ(fillerClicks, 1);

    delete menus["filler"];
    delete menus["indicator"];
    EXPECT_EQ(grid->FillerPopupMenu(), nullptr);
    EXPECT_EQ(grid->IndicatorPopupMenu(), nullptr);
    EXPECT_EQ(RightClick(grid->CellRect(0, 0).center()), QStringList());
    EXPECT_EQ(RightClick(grid->CellRect(0, grid->TitleOffset()).center()), QStringList{"grid"});
    EXPECT_EQ(grid->property("FillerPopupMenu").value<tk::TPopupMenu*>(), nullptr);
}

}  // namespace
}  // namespace kelgrid::test
