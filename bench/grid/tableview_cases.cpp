// The peers of the data grid's cases: QTableView on QSqlQueryModel over the
// same table file (opened and painted; repainted with alternating row
// colours, an image column and a header of three text lines), and a
// QTableView whose 200-column model resets.

#include "bench/grid/bigtable.h"
#include "bench/grid/qtconnection.h"
#include "bench/grid/screen.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QPixmap>
#include <QSqlQuery>
#include <QSqlQueryModel>
#include <QTableView>
#include <benchmark/benchmark.h>

namespace gridbench {
namespace {

constexpr int kWideColumns = 200;
const QString kConnection = QStringLiteral("gridbench");

// The flag column shows one of two images (the same indicator images our
// grid's column gets) and every title three lines, as ours has three title
// levels.
class DecoratedModel : public QIdentityProxyModel {
public:
    DecoratedModel()
    {
        const QImage strip(QStringLiteral(":/toolkit/bitmaps/KELDBINDICATORS.png"));
        const int side = strip.height();
        for (int index = 0; index < 2; ++index)
            images_[index] = QPixmap::fromImage(strip.copy(index * side, 0, side, side));
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role == Qt::DecorationRole && index.column() == kFlagColumn)
            return images_[QIdentityProxyModel::data(index, Qt::DisplayRole).toInt() != 0 ? 1 : 0];
        return QIdentityProxyModel::data(index, role);
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
            return QStringLiteral("Group\nPart\n%1")
                .arg(QIdentityProxyModel::headerData(section, orientation, role).toString());
        return QIdentityProxyModel::headerData(section, orientation, role);
    }

private:
    QPixmap images_[2];
};

// 200 columns over a million rows, each title three lines; Reset is what a
// new column layout is to a model.
class WideModel : public QAbstractTableModel {
public:
    int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kBigTableRows; }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : kWideColumns; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole)
            return {};
        return QStringLiteral("R%1C%2").arg(index.row()).arg(index.column());
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        return QStringLiteral("Group %1\nPart %2\nColumn %3").arg(section / 20).arg(section / 5).arg(section);
    }
    void Reset()
    {
        beginResetModel();
        endResetModel();
    }
};

// As many rows as our grid shows, each one line high.
void ShowLikeOurGrid(QTableView& view)
{
    view.verticalHeader()->setMinimumSectionSize(1);
    view.verticalHeader()->setDefaultSectionSize(DataRowPitch());
    ShowAtScreenSize(view);
}

void BM_QTableViewSql_OpenFirstPaint(benchmark::State& state)
{
    QtConnection connection(kConnection);
    QSqlQueryModel model;
    QTableView view;
    view.setModel(&model);
    ShowLikeOurGrid(view);
    QImage image = ScreenImage();
    for (auto _ : state) {
        model.setQuery(connection.Select(QString::fromLatin1(kSelectAll)));
        Paint(view, image);
        state.PauseTiming();
        SettleEvents();
        model.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_QTableViewSql_OpenFirstPaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QTableViewSql_DecoratedRepaint(benchmark::State& state)
{
    QtConnection connection(kConnection);
    QSqlQueryModel model;
    model.setQuery(connection.Select(QString::fromLatin1(kSelectAll)));
    DecoratedModel decorated;
    decorated.setSourceModel(&model);
    QTableView view;
    view.setModel(&decorated);
    view.setAlternatingRowColors(true);
    ShowLikeOurGrid(view);
    QImage image = ScreenImage();
    SettleEvents();
    Paint(view, image);
    for (auto _ : state)
        view.render(&image);
}
BENCHMARK(BM_QTableViewSql_DecoratedRepaint)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_QTableView_Layout200Columns(benchmark::State& state)
{
    WideModel model;
    QTableView view;
    view.setModel(&model);
    ShowLikeOurGrid(view);
    for (auto _ : state) {
        model.Reset();
        // What the view would do before its next paint: sections, header
        // sizes, bars.
        view.doItemsLayout();
        benchmark::DoNotOptimize(view.horizontalHeader()->length());
        state.PauseTiming();
        SettleEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_QTableView_Layout200Columns)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace gridbench
