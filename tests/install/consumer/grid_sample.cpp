// Shows the table "orders" of an SQLite file (the first argument, else
// orders.db) in a data grid and prints what the grid shows: its rows and
// the cells of the first one.
#include "kelgrid/grid/keldbgrids.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/field.h"
#include "toolkit/data/table.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    try {
        tk::TDatabase database;
        database.SetDatabaseName(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("orders.db"));
        tk::TTable orders;
        orders.SetDatabase(&database);
        orders.SetTableName(QStringLiteral("orders"));
        tk::TDataSource source;
        source.SetDataSet(&orders);
        orders.Open();

        kelgrid::TKelDBGrid grid;  // made last, so it goes first
        grid.SetDataSource(&source);
        grid.resize(480, 320);
        grid.show();

        QStringList cells;  // the current record: the first row
        for (int i = 0; i < grid.Columns()->Count(); ++i)
            cells.append(grid.Columns()->Items(i)->Field()->DisplayText());
        const int rows = grid.DataLink()->RecordCount();
        std::printf("%d rows; first: %s\n", rows, qPrintable(cells.join(QStringLiteral(" | "))));
        return rows > 0 ? 0 : 1;
    } catch (const tk::Exception& error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.Message()));
        return 1;
    }
}
