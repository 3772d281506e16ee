// The grid style: presets, the switch to vsCustom, stored rules, and the
// data row height that follows it.

#include "kelgrid/grid/gridstyle.h"

#include "tests/kelgrid/grid_fixture.h"
#include "toolkit/core/properties.h"
#include "toolkit/ui/themes.h"

#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

class GridStyleTest : public GridFixture {
protected:
    QString Values() const
    {
        const TKelGridStyle& s = *grid->GridStyle();
        return QStringLiteral("%1 %2 %3 %4 %5 %6")
            .arg(s.DataRowSpace())
            .arg(s.HeaderRowSpace())
            .arg(s.TitleColMargin())
            .arg(s.TitleRowSpace())
            .arg(s.TotalColMargin())
            .arg(s.TotalRowSpace());
    }
    QStringList StoredNames() const
    {
        QStringList names;
        for (const QMetaProperty& property : tk::PublishedProperties(grid->GridStyle()))
            if (tk::IsStoredProp(grid->GridStyle(), property))
                names << QString::fromLatin1(property.name());
        return names;
    }
};

TEST_F(GridStyleTest, PresetsLoadTheirValuesAndASingleChangeMakesTheStyleCustom)
{
    TKelGridStyle& style = *grid->GridStyle();
    EXPECT_EQ(Values(), QStringLiteral("4 8 1 8 0 8"));
    EXPECT_EQ(StoredNames(), QStringList{QStringLiteral("VisualStyle")});
    style.SetVisualStyle(vsStandard);
    EXPECT_EQ(Values(), QStringLiteral("3 4 0 4 0 4"));
    style.SetTitleRowSpace(6);
    EXPECT_EQ(style.VisualStyle(), vsCustom);
    EXPECT_EQ(StoredNames().size(), 7);
    style.SetVisualStyle(vsXPStyle);
    EXPECT_EQ(Values(), QStringLiteral("4 8 1 8 0 8"));
    EXPECT_EQ(StoredNames(), QStringList{QStringLiteral("VisualStyle")});
    // vsCustom keeps the values it finds.
    style.SetVisualStyle(vsCustom);
    EXPECT_EQ(Values(), QStringLiteral("4 8 1 8 0 8"));
}

TEST_F(GridStyleTest, TheDefaultStyleFollowsTheGridsThemeAndIsAppliedAgain)
{
    TKelGridStyle& style = *grid->GridStyle();
    style.SetVisualStyle(vsDefault);
    EXPECT_EQ(Values(), QStringLiteral("4 8 1 8 0 8"));
    // Without the theme the fixed cells are plain: the standard preset.
    grid->SetFixedTheme(ftNone);
    EXPECT_EQ(Values(), QStringLiteral("3 4 0 4 0 4"));
    EXPECT_EQ(style.VisualStyle(), vsDefault);
    grid->SetFixedTheme(ftButtons);
    EXPECT_EQ(Values(), QStringLiteral("4 8 1 8 0 8"));
    tk::SetThemesEnabled(false);
    style.SetVisualStyle(vsDefault);
    tk::SetThemesEnabled(true);
    EXPECT_EQ(Values(), QStringLiteral("3 4 0 4 0 4"));
}

TEST_F(GridStyleTest, AssignCopiesValuesAndStyle)
{
    TKelGridStyle custom(nullptr);
    custom.SetDataRowSpace(10);
    ASSERT_EQ(custom.VisualStyle(), vsCustom);
    tk::SetPropValue(grid.get(), QStringLiteral("GridStyle"), QVariant::fromValue(&custom));
    EXPECT_EQ(Values(), QStringLiteral("10 8 1 8 0 8"));
    EXPECT_EQ(grid->GridStyle()->VisualStyle(), vsCustom);
    EXPECT_TRUE(tk::SetPropertyPath(grid.get(), QStringLiteral("GridStyle.VisualStyle"),
                                    QStringLiteral("vsStandard")));
    EXPECT_EQ(Values(), QStringLiteral("3 4 0 4 0 4"));
}

// The data rows are the font's line height times LinesCount plus the row
// space and the row line; more rows fit when they are lower.
TEST_F(GridStyleTest, TheDataRowHeightFollowsSpaceAndLinesCount)
{
    grid->resize(400, 120);
    grid->show();
    const int line = grid->LineHeight();
    ASSERT_GT(line, 0);
    EXPECT_EQ(grid->DefaultRowHeight(), 1 + line + 4);
    grid->GridStyle()->SetDataRowSpace(20);
    EXPECT_EQ(grid->DefaultRowHeight(), 1 + line + 20);
    grid->SetLinesCount(2);
    EXPECT_EQ(grid->DefaultRowHeight(), 1 + 2 * line + 20);
    const int rowsTall = grid->RowCount();
    grid->SetLinesCount(1);
    grid->GridStyle()->SetDataRowSpace(0);
    EXPECT_GT(grid->RowCount(), rowsTall);
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

struct LinesCase {
    const char* name;
    int min, max, set, expected;
};

const LinesCase kLines[] = {
    {"NegativeIgnored", 1, -1, -3, 1}, {"ZeroBecomesOne", 1, -1, 0, 1}, {"BelowMinRises", 3, -1, 2, 3},
    {"AboveMaxFalls", 1, 4, 9, 4},     {"NoUpperLimit", 1, -1, 50, 50},
};

class GridStyleLinesTest : public GridFixture, public ::testing::WithParamInterface<LinesCase> {};

TEST_P(GridStyleLinesTest, LinesCountIsClamped)
{
    grid->SetLinesCountMax(GetParam().max);
    grid->SetLinesCountMin(GetParam().min);
    grid->SetLinesCount(GetParam().set);
    EXPECT_EQ(grid->LinesCount(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, GridStyleLinesTest, ::testing::ValuesIn(kLines),
                         [](const auto& info) { return info.param.name; });

TEST_F(GridStyleTest, LimitsPushTheLinesCount)
{
    grid->SetLinesCount(5);
    grid->SetLinesCountMax(3);
    EXPECT_EQ(grid->LinesCount(), 3);
    grid->SetLinesCountMin(4);  // limited to the maximum
    EXPECT_EQ(grid->LinesCountMin(), 3);
    grid->SetLinesCountMax(2);  // at least the minimum
    EXPECT_EQ(grid->LinesCountMax(), 3);
    grid->SetLinesCountMax(-1);
    grid->SetLinesCountMin(6);
    EXPECT_EQ(grid->LinesCount(), 6);
}

}  // namespace
}  // namespace kelgrid::test
