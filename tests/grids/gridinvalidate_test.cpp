// Invalidation of the grid base as Qt's own paints show it: every area asked
// for is painted by the next paint, also when it was asked for again before
// that paint, after more areas than the grid remembers, or while the grid
// was hidden; a request made after a paint is painted again.

#include "toolkit/ui/grids/stringgrid.h"

#include <QApplication>
#include <QStringList>
#include <gtest/gtest.h>
#include <set>

namespace tk {
namespace {

// Notes the rows whose cells a paint draws.
class TPaintLogGrid : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    std::set<int> paintedRows;

protected:
    void DrawCell(int col, int row, const QRect& rect, TGridDrawState state) override
    {
        paintedRows.insert(row);
        TStringGrid::DrawCell(col, row, rect, state);
    }
};

struct InvalidateCase {
    const char* name;
    // Steps: "rowN", "colN", "cellC:R", "grid" (the Invalidate functions),
    // "hide", "show", "paint" (Qt's pending paints run).
    const char* steps;
    // The rows each "paint" drew, "|" between paints, "-" for none.
    const char* painted;
};

class GridInvalidateTest : public ::testing::TestWithParam<InvalidateCase> {
protected:
    // Five columns of 40 and eight rows of 24 pixels (41 and 25 with their
    // lines), the first of each fixed; rows 0 to 5 show.
    void SetUp() override
    {
        grid.SetColCount(5);
        grid.SetRowCount(8);
        grid.SetDefaultColWidth(40);
        grid.SetDefaultRowHeight(24);
        grid.SetScrollBars(ssNone);
        grid.resize(220, 140);
        grid.show();
        QApplication::processEvents();
        grid.paintedRows.clear();
    }

    QString Run(const QString& steps)
    {
        QStringList paints;
        for (const QString& step : steps.split(QLatin1Char(' '))) {
            if (step == QLatin1String("paint")) {
                QApplication::processEvents();
                QStringList rows;
                for (int row : grid.paintedRows)
                    rows << QString::number(row);
                paints << (rows.isEmpty() ? QStringLiteral("-") : rows.join(QLatin1Char(' ')));
                grid.paintedRows.clear();
            } else if (step == QLatin1String("grid")) {
                grid.InvalidateGrid();
            } else if (step == QLatin1String("hide")) {
                grid.hide();
            } else if (step == QLatin1String("show")) {
                grid.show();
            } else if (step.startsWith(QLatin1String("row"))) {
                grid.InvalidateRow(step.mid(3).toInt());
            } else if (step.startsWith(QLatin1String("col"))) {
                grid.InvalidateCol(step.mid(3).toInt());
            } else if (step.startsWith(QLatin1String("cell"))) {
                const QStringList cell = step.mid(4).split(QLatin1Char(':'));
                grid.InvalidateCell(cell[0].toInt(), cell[1].toInt());
            } else {
                ADD_FAILURE() << "unknown step " << step.toStdString();
            }
        }
        return paints.join(QStringLiteral(" | "));
    }

    TPaintLogGrid grid;
};

TEST_P(GridInvalidateTest, EveryAreaAskedForIsPaintedByTheNextPaint)
{
    EXPECT_EQ(Run(QString::fromLatin1(GetParam().steps)), QString::fromLatin1(GetParam().painted));
}

const InvalidateCase kInvalidateCases[] = {
    {"NothingAskedNothingPainted", "paint", "-"},
    {"ARowAskedTwiceIsPaintedOnceAndAgainAfterThePaint", "row3 row3 paint row3 paint", "3 | 3"},
    {"NeighbourRowsBetweenRepeats", "row3 row4 row3 row4 paint row4 paint", "3 4 | 4"},
    {"MoreRowsThanRememberedThenTheFirstAgain", "row1 row2 row3 row4 row5 row1 paint row1 paint",
     "1 2 3 4 5 | 1"},
    {"AColumnAskedTwiceAndAgainAfterThePaint", "col2 col2 paint col2 paint", "0 1 2 3 4 5 | 0 1 2 3 4 5"},
    {"ACellInsideTheWholeGridThenAloneAfterThePaint", "grid cell2:3 paint cell2:3 paint", "0 1 2 3 4 5 | 3"},
    {"ARowAskedWhileHiddenThenAgainAfterShowing", "hide row3 show paint row3 paint", "0 1 2 3 4 5 | 3"},
    {"ACellOutsideTheShownRowsPaintsNothing", "cell2:7 paint row2 paint", "- | 2"},
};

INSTANTIATE_TEST_SUITE_P(Steps, GridInvalidateTest, ::testing::ValuesIn(kInvalidateCases),
                         [](const ::testing::TestParamInfo<InvalidateCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace tk
