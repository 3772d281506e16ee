// Datasets read and written by property name, as layout code and sort
// strategies do: the class name, the published texts, enumerations by key
// name, string lists, and paths through a data source.

#include "toolkit/core/properties.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"
#include "toolkit/data/query.h"
#include "toolkit/data/table.h"

#include "tests/data/sqlitesource_fixture.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

class DataSetProperties : public test::SqliteFixture {
protected:
    DataSetProperties()
    {
        Exec(QStringLiteral("CREATE TABLE people(id INTEGER PRIMARY KEY, name TEXT, city TEXT)"));
        Exec(QStringLiteral("INSERT INTO people VALUES (1, 'Ruiz', 'Vigo'), (2, 'Abad', 'Lugo'), (3, 'Mora', 'Ourense')"));
    }
    static QString Names(TDataSet& dataSet)
    {
        QStringList names;
        for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
            names << dataSet.FieldByName(QStringLiteral("name"))->AsString();
        return names.join(QLatin1Char(','));
    }
};

TEST_F(DataSetProperties, ClientDataSetPublishesWhereItsRowsComeFromAndItsOrder)
{
    TClientDataSet clients;
    EXPECT_EQ(clients.ClassName(), "TClientDataSet");
    clients.SetDatabase(&OpenDatabase());
    SetPropText(&clients, QStringLiteral("commandtext"), QStringLiteral("SELECT * FROM people"));
    clients.Open();
    EXPECT_EQ(Names(clients), "Ruiz,Abad,Mora");
    SetPropText(&clients, QStringLiteral("IndexFieldNames"), QStringLiteral("name"));
    EXPECT_EQ(GetPropText(&clients, QStringLiteral("INDEXFIELDNAMES")), "name");
    EXPECT_EQ(Names(clients), "Abad,Mora,Ruiz");

    // Through the data source, as a grid sees it.
    TDataSource source;
    source.SetDataSet(&clients);
    EXPECT_EQ(GetPropertyPath(&source, QStringLiteral("DataSet.CommandText")), "SELECT * FROM people");
    EXPECT_EQ(GetPropertyPath(&source, QStringLiteral("DataSet.CommandType")), "cmdText");
    EXPECT_EQ(GetPropertyPath(&source, QStringLiteral("DataSet.CursorLocation")), "clUseClient");
    EXPECT_EQ(GetPropertyPath(&source, QStringLiteral("DataSet.FileName")), "");
    EXPECT_EQ(GetPropText(&source, QStringLiteral("AutoEdit")), "True");
}

TEST_F(DataSetProperties, QuerySqlIsAStringListWhoseChangeReopensTheQuery)
{
    TQuery query;
    EXPECT_EQ(query.ClassName(), "TQuery");
    query.SetDatabase(&OpenDatabase());
    SetPropText(&query, QStringLiteral("SQL"), QStringLiteral("SELECT * FROM people\r\nORDER BY city"));
    query.Open();
    EXPECT_EQ(Names(query), "Abad,Mora,Ruiz");
    EXPECT_EQ(GetPropText(&query, QStringLiteral("SQL")), "SELECT * FROM people\r\nORDER BY city\r\n");
    query.Locate(QStringLiteral("name"), Variant("Mora"));
    SetPropText(&query, QStringLiteral("sql"), QStringLiteral("SELECT * FROM people ORDER BY name DESC"));
    EXPECT_TRUE(query.Active());
    EXPECT_EQ(query.FieldByName(QStringLiteral("name"))->AsString(), "Mora");  // kept across the reopening
    EXPECT_EQ(Names(query), "Ruiz,Mora,Abad");
}

TEST_F(DataSetProperties, TableOrderFollowsIndexFieldNamesSetByName)
{
    TTable table;
    EXPECT_EQ(table.ClassName(), "TTable");
    table.SetDatabase(&OpenDatabase());
    SetPropText(&table, QStringLiteral("TableName"), QStringLiteral("people"));
    table.Open();
    SetPropText(&table, QStringLiteral("IndexFieldNames"), QStringLiteral("city"));
    EXPECT_EQ(Names(table), "Abad,Mora,Ruiz");
    EXPECT_THROW(SetPropText(&table, QStringLiteral("IndexFieldNames"), QStringLiteral("nowhere")), EDatabaseError);
    EXPECT_EQ(GetPropText(&table, QStringLiteral("IndexFieldNames")), "city");
    EXPECT_EQ(Names(table), "Abad,Mora,Ruiz");
}

}  // namespace
}  // namespace tk
