// Sizing by the user and the deferred layout: a column dragged wider keeps
// its width and is reported once, a data row dragged taller becomes more
// text lines for every row, ResizeOptions keeps its rule, and a deferred
// layout runs once from the event loop unless a layout ran first.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/widget_driver.h"

#include <QApplication>
#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

class GridSizingTest : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->resize(500, 300);
        grid->show();
        QApplication::processEvents();
    }
};

TEST_F(GridSizingTest, DraggingAColumnBorderSizesTheColumnAndReportsItOnce)
{
    TKelColumn* owner = grid->ColumnByName(QStringLiteral("Owner"));
    const int raw = grid->DataToRawColumn(owner->Index());
    const int before = owner->Width();
    int reports = 0;
    TKelColumn* reported = nullptr;
    grid->OnColumnResize = [&](TKelCustomDBGrid*, TKelColumn* column) {
        ++reports;
        reported = column;
    };
    const QRect title = grid->CellRect(raw, 0);
    const QPoint border(title.right() + 1, title.center().y());
    tk::test::WidgetDriver driver(grid->viewport());
    driver.MouseDown(border);
    driver.MouseMove(border + QPoint(15, 0));
    driver.MouseMove(border + QPoint(30, 0));
    driver.MouseUp(border + QPoint(30, 0));
    EXPECT_EQ(owner->Width(), before + 30);
    EXPECT_EQ(grid->ColWidths(raw), before + 30);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(reported, owner);
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridSizingTest, DraggingADataRowTallerGivesEveryRowMoreLines)
{
    int reports = 0;
    grid->OnRowResize = [&](TKelCustomDBGrid*) { ++reports; };
    const int lineHeight = grid->LineHeight();
    const QRect indicator = grid->CellRect(0, 1);
    const QPoint border(indicator.center().x(), indicator.bottom() + 1);
    tk::test::WidgetDriver driver(grid->viewport());
    driver.MouseDown(border);
    driver.MouseMove(border + QPoint(0, 2 * lineHeight));
    driver.MouseUp(border + QPoint(0, 2 * lineHeight));
    EXPECT_EQ(grid->LinesCount(), 3);
    EXPECT_EQ(grid->RowHeights(2), grid->RowHeights(1)) << "every data row follows";
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(GridSizingTest, WithoutColumnResizeTheWidthOptionsGoToo)
{
    grid->SetResizeOptions(TResizeOptions(roOptimalWidth | roDefaultWidth | roColumnMoving));
    EXPECT_EQ(grid->ResizeOptions(), TResizeOptions(roColumnMoving));
}

TEST_F(GridSizingTest, ADeferredLayoutRunsOnceFromTheEventLoopUnlessALayoutRanFirst)
{
    int layouts = 0;
    grid->OnLayout = [&](TKelCustomDBGrid*) { ++layouts; };
    grid->BeginLayout();
    grid->DeferLayout();
    grid->BeginLayout();
    grid->DeferLayout();
    EXPECT_EQ(layouts, 0);
    EXPECT_TRUE(grid->LayoutDeferred());
    QApplication::processEvents();
    EXPECT_EQ(layouts, 1);
    EXPECT_FALSE(grid->LayoutDeferred());

    grid->BeginLayout();
    grid->DeferLayout();
    grid->LayoutChanged();
    EXPECT_EQ(layouts, 2);
    QApplication::processEvents();
    EXPECT_EQ(layouts, 2) << "the queued layout was dropped";

    // Held locks put the deferred layout off again.
    grid->BeginUpdate();
    grid->BeginLayout();
    grid->DeferLayout();
    QApplication::processEvents();
    EXPECT_EQ(layouts, 2);
    EXPECT_TRUE(grid->LayoutDeferred());
    grid->EndUpdate();
    QApplication::processEvents();
    EXPECT_EQ(layouts, 3);
}

}  // namespace
}  // namespace kelgrid::test
