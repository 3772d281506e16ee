// Linked grids: grids that share a master show their columns alike, a
// change in any of them reaches the others, a circular chain is refused
// and a destroyed master leaves its ring whole.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/expect_raises.h"
#include "toolkit/core/exceptions.h"

#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

using tk::test::MessageOf;

class MasterGridTest : public GridFixture {
protected:
    std::unique_ptr<TKelDBGrid> MakeGrid()
    {
        auto made = std::make_unique<TKelDBGrid>();
        made->resize(400, 200);
        made->SetDataSource(&source);
        return made;
    }
    static int WidthOf(TKelDBGrid& on, const char* field)
    {
        return on.ColumnByName(QString::fromLatin1(field))->Width();
    }
};

TEST_F(MasterGridTest, ManagedGridsFollowWhicheverGridOfTheRingChanges)
{
    auto second = MakeGrid();
    auto third = MakeGrid();
    grid->ColumnByName(QStringLiteral("Owner"))->SetWidth(150);
    second->SetMasterGrid(grid.get());
    third->SetMasterGrid(grid.get());
    EXPECT_EQ(grid->Columns()->State(), csCustomized);
    // A dataset-made column keeps its width as the field's display width,
    // in characters: what the master shows is what the others take.
    const int shown = WidthOf(*grid, "Owner");
    EXPECT_NEAR(shown, 150, 8);
    EXPECT_EQ(WidthOf(*second, "Owner"), shown) << "a new member takes the master's layout";
    EXPECT_EQ(WidthOf(*third, "Owner"), shown);

    grid->ColumnByName(QStringLiteral("Amount"))->SetWidth(90);
    EXPECT_EQ(WidthOf(*second, "Amount"), 90);
    EXPECT_EQ(WidthOf(*third, "Amount"), 90);

    third->SetFixedCols(1);
    third->SetIndicatorWidth(30);
    third->ColumnByName(QStringLiteral("Paid"))->SetVisible(false);
    for (TKelDBGrid* each : {grid.get(), second.get()}) {
        EXPECT_EQ(each->FixedCols(), 1);
        EXPECT_EQ(each->IndicatorWidth(), 30);
        EXPECT_FALSE(each->ColumnByName(QStringLiteral("Paid"))->Visible());
        EXPECT_EQ(each->CheckConsistency(), QString());
    }
}

TEST_F(MasterGridTest, AChainBackToTheGridIsRefusedAndChangesNothing)
{
    auto second = MakeGrid();
    second->SetMasterGrid(grid.get());
    EXPECT_EQ(MessageOf<tk::EInvalidGridOperation>([&] { grid->SetMasterGrid(second.get()); }),
              QStringLiteral("Circular datalinks are not allowed"));
    EXPECT_EQ(grid->MasterGrid(), nullptr);
    EXPECT_EQ(second->MasterGrid(), grid.get());
    EXPECT_THROW(grid->SetMasterGrid(grid.get()), tk::EInvalidGridOperation);
}

TEST_F(MasterGridTest, AGridWithAMasterDoesNotStretch)
{
    auto second = MakeGrid();
    second->SetStretchMode(true);
    second->SetMasterGrid(grid.get());
    EXPECT_FALSE(second->StretchMode());
    second->SetStretchMode(true);
    EXPECT_FALSE(second->StretchActive());
}

TEST_F(MasterGridTest, GridsLeaveTheRingWhenTheyOrTheirMasterGo)
{
    auto second = MakeGrid();
    auto third = MakeGrid();
    second->SetMasterGrid(grid.get());
    third->SetMasterGrid(grid.get());
    third.reset();
    grid->ColumnByName(QStringLiteral("Owner"))->SetWidth(140);
    EXPECT_EQ(WidthOf(*second, "Owner"), 140) << "the ring still runs without the third";

    grid.reset();
    EXPECT_EQ(second->MasterGrid(), nullptr);
    EXPECT_EQ(second->ManagedGrid(), nullptr);
    second->ColumnByName(QStringLiteral("Owner"))->SetWidth(120);  // nothing left to reach
    EXPECT_EQ(second->CheckConsistency(), QString());

    second->SetMasterGrid(nullptr);
    EXPECT_EQ(second->ManagedGrid(), nullptr);
}

}  // namespace
}  // namespace kelgrid::test
