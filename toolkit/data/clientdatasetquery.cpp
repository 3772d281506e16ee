#include "toolkit/data/clientdatasetquery.h"

#include "toolkit/data/sqlitesource.h"

namespace tk {

namespace {

// The query's definitions made editable: the copy lives in memory, so
// expressions and rowids can change there too.
std::vector<TFieldDef> EditableDefs(std::vector<TFieldDef> defs)
{
    for (TFieldDef& def : defs) {
        def.ReadOnly = false;
        def.ChildDefs = EditableDefs(std::move(def.ChildDefs));
    }
    return defs;
}

}  // namespace

std::unique_ptr<TMemoryRecordSource> LoadQueryRows(TDatabase* database, const QString& sql)
{
    // Every row is copied once, in order: stepping reads them fastest.
    TSqliteRecordSource query(database, sql, {}, TRowFetching::Stepping);
    query.FetchAll();

    auto rows = std::make_unique<TMemoryRecordSource>(EditableDefs(query.FieldDefs()));
    const qint64 rowCount = query.FetchedRowCount();
    const int columnCount = static_cast<int>(query.ColumnNames().size());
    rows->Reserve(rowCount);
    std::vector<Variant> values(static_cast<size_t>(columnCount));
    for (qint64 row = 0; row < rowCount; ++row) {
        for (int column = 0; column < columnCount; ++column)
            values[static_cast<size_t>(column)] = query.Value(row, column);
        rows->AppendRow(values);
    }
    return rows;
}

}  // namespace tk
