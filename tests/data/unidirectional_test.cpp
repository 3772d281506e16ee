// A forward-only query: it walks forward, refuses every move back, and data
// links (grids, navigators) refuse to show it.

#include "toolkit/core/exceptions.h"
#include "toolkit/data/datalink.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"
#include "toolkit/data/query.h"

#include "tests/data/sqlitesource_fixture.h"
#include "tests/support/expect_raises.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

using test::MessageOf;

class Unidirectional : public test::SqliteFixture {
protected:
    Unidirectional()
    {
        MakePeople(5);
        query_.SetDatabase(&OpenDatabase());
        query_.SQL()->SetText(QStringLiteral("SELECT id FROM people"));
        query_.SetUniDirectional(true);
    }
    TQuery query_;
};

TEST_F(Unidirectional, WalksForwardAndRefusesToGoBack)
{
    query_.Open();
    EXPECT_TRUE(query_.IsUnidirectional());
    query_.First();  // already there: allowed
    int sum = 0;
    for (; !query_.Eof(); query_.Next())
        sum += query_.FieldByName(QStringLiteral("id"))->AsInteger();
    EXPECT_EQ(sum, 15);
    EXPECT_THROW(query_.Prior(), EDatabaseError);
    EXPECT_THROW(query_.First(), EDatabaseError);
    EXPECT_THROW(query_.Locate(QStringLiteral("id"), Variant(2)), EDatabaseError);
    EXPECT_THROW(query_.SetRecNo(1), EDatabaseError);
    EXPECT_EQ(query_.FieldByName(QStringLiteral("id"))->AsInteger(), 5);
    EXPECT_THROW(query_.SetUniDirectional(false), EDatabaseError);  // only while closed
}

TEST_F(Unidirectional, DataLinksRefuseIt)
{
    query_.Open();
    TDataSource source;
    source.SetDataSet(&query_);
    TDataLink link;
    EXPECT_EQ(MessageOf<EDatabaseError>([&] { link.SetDataSource(&source); }),
              "Operation not allowed on a unidirectional dataset");
    EXPECT_FALSE(link.Active());
    EXPECT_EQ(link.RecordCount(), 0);
}

}  // namespace
}  // namespace tk
