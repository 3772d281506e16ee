// The host's data-grid window: the receipts in a TKelDBGrid, built through
// the grid package's exported classes; --screenshots renders it.

#include "host/dbgrid_demo.h"

#include "kelgrid/grid/keldbgrids.h"
#include "tests/support/temp_folder.h"
#include "toolkit/data/clientdataset.h"

#include <QApplication>
#include <QImage>
#include <gtest/gtest.h>

namespace host {
namespace {

TEST(DataGridDemoTest, TheFormsColumnsShowTheReceipts)
{
    TfrmRecibos window;
    window.show();
    QApplication::processEvents();
    kelgrid::TKelDBGrid* grid = window.Grid();
    ASSERT_TRUE(grid->LinkActiveNow());
    EXPECT_EQ(grid->Columns()->State(), kelgrid::csCustomized);
    EXPECT_EQ(grid->Columns()->Count(), 5);  // the form's, not one per field
    EXPECT_EQ(grid->ColCount(), 6);           // with the indicator
    EXPECT_EQ(grid->Columns()->Items(0)->Title()->Caption(), QStringLiteral("Nº"));
    EXPECT_EQ(grid->Columns()->Items(2)->Width(), 190);
    window.Receipts()->Last();
    EXPECT_EQ(grid->Columns()->Items(2)->DisplayText(), QStringLiteral("Café El Portal"));
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST(DataGridDemoTest, ScreenshotsRenderTheWindow)
{
    tk::test::TempFolder folder;
    QString written;
    ASSERT_TRUE(RenderDataGridDemo(folder.Path() + QLatin1Char('/'), written));
    const QImage image(written);
    ASSERT_FALSE(image.isNull());
    EXPECT_GT(image.width(), 300);
}

}  // namespace
}  // namespace host
