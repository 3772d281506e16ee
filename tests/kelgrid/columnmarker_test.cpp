// Sort markers in the three option modes: a numbered order of several
// columns, one sort column at a time, and ascending only.

#include "tests/kelgrid/grid_fixture.h"
#include "toolkit/core/properties.h"

namespace kelgrid::test {
namespace {

// "Id:2 Owner:4": every marked column with its marker index, in the order
// list's order.
QString Markers(const TKelDBGridColumns* columns)
{
    QStringList parts;
    for (const TKelColumn* column : columns->OrderList())
        parts << column->FieldName() + QLatin1Char(':') + QString::number(column->Title()->MarkerIndex());
    return parts.join(QLatin1Char(' '));
}

struct MarkerRow {
    const char* name;
    TKelDBGridOptions options;
    const char* clicks;  // title clicks, by field name
    const char* expected;
};

class ColumnMarkerModeTest : public GridFixture, public ::testing::WithParamInterface<MarkerRow> {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->Columns()->RebuildColumns();
        const TKelDBGridOptions markerOptions(dgMarkerAutoSwitch | dgMarkerAutoToggle | dgMarkerAscendOnly);
        grid->SetOptions((grid->Options() & ~markerOptions) | GetParam().options);
    }
};

TEST_P(ColumnMarkerModeTest, TitleClicksBuildTheOrder)
{
    int batches = 0;
    for (const QString& name : QString::fromLatin1(GetParam().clicks).split(QLatin1Char(' '))) {
        grid->FindColumn(name)->Title()->ToggleMarker(false);
        ++batches;
    }
    EXPECT_EQ(Markers(grid->Columns()), QString::fromLatin1(GetParam().expected));
    for (int i = 0; i < grid->Columns()->Count(); ++i) {
        const TKelColumnTitle* title = grid->Columns()->Items(i)->Title();
        const bool listed = grid->Columns()->OrderList().contains(grid->Columns()->Items(i));
        EXPECT_EQ(title->Marker() != tmNone, listed) << i;
        EXPECT_EQ(title->OrderIndex(), listed ? title->MarkerIndex() / 2 : -1);
    }
    EXPECT_EQ(grid->OrderUpdateLock(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColumnMarkerModeTest,
    ::testing::Values(
        MarkerRow{"ToggleNumbersTheColumnsInClickOrder", dgMarkerAutoToggle, "Id Owner Amount",
                  "Id:2 Owner:4 Amount:6"},
        MarkerRow{"ToggleSecondClickDescends", dgMarkerAutoToggle, "Id Owner Owner", "Id:2 Owner:5"},
        MarkerRow{"ToggleThirdClickOnTheLastRemovesIt", dgMarkerAutoToggle, "Id Owner Owner Owner", "Id:2"},
        MarkerRow{"ToggleThirdClickOnTheFirstAscendsAgain", dgMarkerAutoToggle, "Id Owner Id Id",
                  "Id:2 Owner:4"},
        MarkerRow{"SwitchKeepsOneColumn", dgMarkerAutoSwitch, "Id Owner", "Owner:0"},
        MarkerRow{"SwitchSecondClickDescends", dgMarkerAutoSwitch, "Id Owner Owner", "Owner:1"},
        MarkerRow{"SwitchThirdClickAscendsAgain", dgMarkerAutoSwitch, "Owner Owner Owner", "Owner:0"},
        MarkerRow{"AscendOnlyNeverDescends", dgMarkerAscendOnly, "Id Owner Id", "Id:0 Owner:0"},
        MarkerRow{"AscendOnlyLastOfSeveralGoes", dgMarkerAscendOnly, "Id Owner Owner", "Id:0"},
        MarkerRow{"SwitchAscendOnlyStaysAscending",
                  TKelDBGridOptions(dgMarkerAutoSwitch | dgMarkerAscendOnly), "Id Id", "Id:0"}),
    [](const ::testing::TestParamInfo<MarkerRow>& info) { return std::string(info.param.name); });

using ColumnMarkerTest = GridFixture;

TEST_F(ColumnMarkerTest, ANumberedOrderTakesNineColumnsAtMost)
{
    grid->SetOptions(grid->Options() & ~TKelDBGridOptions(dgMarkerAutoSwitch | dgMarkerAscendOnly));
    for (int i = 1; i <= 10; ++i)
        grid->Columns()->Add()->SetFieldName(QStringLiteral("F%1").arg(i));
    for (int i = 0; i < 10; ++i)
        grid->Columns()->Items(i)->Title()->ToggleMarker(false);
    EXPECT_EQ(grid->Columns()->OrderList().size(), 9);
    EXPECT_EQ(grid->Columns()->Items(8)->Title()->OrderIndex(), 9);
    EXPECT_EQ(grid->Columns()->Items(9)->Title()->Marker(), tmNone);

    // A new order starts over; a column without a field name takes no
    // marker.
    grid->Columns()->Items(9)->Title()->ToggleMarker(true);
    EXPECT_EQ(Markers(grid->Columns()), QStringLiteral("F10:2"));
    TKelColumn* unnamed = grid->Columns()->Add();
    unnamed->Title()->ToggleMarker(false);
    EXPECT_EQ(unnamed->Title()->Marker(), tmNone);
}

TEST_F(ColumnMarkerTest, OrderIndexMovesAColumnInTheNumberedOrder)
{
    grid->Columns()->RebuildColumns();
    for (const char* name : {"Id", "Owner", "Amount"})
        grid->FindColumn(QString::fromLatin1(name))->Title()->SetMarker(tmAscend);
    EXPECT_EQ(Markers(grid->Columns()), QStringLiteral("Id:2 Owner:4 Amount:6"));
    grid->FindColumn(QStringLiteral("Amount"))->Title()->SetOrderIndex(1);
    EXPECT_EQ(Markers(grid->Columns()), QStringLiteral("Amount:2 Id:4 Owner:6"));
    grid->FindColumn(QStringLiteral("Id"))->Title()->SetMarker(tmDescend);
    grid->FindColumn(QStringLiteral("Amount"))->Title()->SetMarker(tmNone);
    EXPECT_EQ(Markers(grid->Columns()), QStringLiteral("Id:3 Owner:4"));

    // By name, as layouts set them; a freed column leaves the order.
    tk::SetPropText(grid->FindColumn(QStringLiteral("Paid"))->Title(), QStringLiteral("Marker"),
                    QStringLiteral("tmDescend"));
    EXPECT_EQ(Markers(grid->Columns()), QStringLiteral("Id:3 Owner:4 Paid:7"));
    grid->Columns()->Delete(grid->FindColumn(QStringLiteral("Owner"))->Index());
    EXPECT_EQ(Markers(grid->Columns()), QStringLiteral("Id:3 Paid:7"));
    grid->Columns()->UpdateMarkers();
    EXPECT_EQ(Markers(grid->Columns()), QStringLiteral("Id:3 Paid:5"));
    grid->Columns()->RemoveMarkers();
    EXPECT_EQ(Markers(grid->Columns()), QString());

    // Without a grid markers do not change.
    TKelDBGridColumns loose(nullptr);
    TKelColumn* column = loose.Add();
    column->Title()->SetMarker(tmAscend);
    EXPECT_EQ(column->Title()->Marker(), tmNone);
}

}  // namespace
}  // namespace kelgrid::test
