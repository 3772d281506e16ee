// The host's string-grid window as its user works it: edit a fee in place,
// move the column, and the total follows; --screenshots renders it.

#include "host/grid_demo.h"

#include "tests/support/temp_folder.h"
#include "tests/support/widget_driver.h"
#include "toolkit/ui/grids/stringgrid.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <gtest/gtest.h>

namespace host {
namespace {

using tk::test::WidgetDriver;

QString Total(const TfrmRejilla& window)
{
    return window.findChild<QLabel*>(QStringLiteral("lblTotal"))->text();
}

TEST(GridDemoTest, AnEditedFeeAndAMovedColumnKeepTheTotalRight)
{
    TfrmRejilla window;
    window.show();
    QApplication::setActiveWindow(&window);
    tk::TStringGrid* grid = window.Grid();
    grid->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(Total(window), QStringLiteral("Total pendiente: 636,65 €"));

    WidgetDriver(grid->viewport()).Click(grid->CellRect(4, 1).center());
    WidgetDriver(grid).Type(QStringLiteral("10,00"));
    WidgetDriver(grid).Press(Qt::Key_Return, {}, QStringLiteral("\r"));
    EXPECT_EQ(grid->Cells(4, 1), QStringLiteral("10,00"));
    EXPECT_EQ(Total(window), QStringLiteral("Total pendiente: 646,65 €"));

    // The column dragged by its title to the second place.
    WidgetDriver mouse(grid->viewport());
    mouse.MouseDown(grid->CellRect(4, 0).center());
    mouse.MouseMove(grid->CellRect(2, 0).center());
    mouse.MouseMove(grid->CellRect(1, 0).center());
    mouse.MouseUp(grid->CellRect(1, 0).center());
    EXPECT_EQ(grid->Cells(1, 0), QStringLiteral("Pendiente"));
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("10,00"));
    EXPECT_EQ(Total(window), QStringLiteral("Total pendiente: 646,65 €"));
}

TEST(GridDemoTest, ScreenshotsRenderTheWindow)
{
    tk::test::TempFolder folder;
    QString written;
    ASSERT_TRUE(RenderGridDemo(folder.Path() + QLatin1Char('/'), written));
    const QImage image(written);
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 300);
}

}  // namespace
}  // namespace host
