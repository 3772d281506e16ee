#include "toolkit/core/exceptions.h"
#include "toolkit/data/memorysource.h"

#include "tests/support/field_def.h"
#include "tests/support/expect_raises.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

using test::MessageOf;

using test::Def;

std::vector<TFieldDef> PeopleDefs()
{
    return {Def(QStringLiteral("Id"), ftInteger),
            Def(QStringLiteral("Name"), ftString, 20),
            Def(QStringLiteral("Born"), ftDate),
            Def(QStringLiteral("Score"), ftFloat)};
}

std::vector<Variant> Person(int id, const Variant& name, const Variant& born = Variant::NullValue(),
                            const Variant& score = Variant::NullValue())
{
    return {Variant(id), name, born, score};
}

// The Id column of every row, in the source's order.
std::vector<int> Ids(TMemoryRecordSource& source)
{
    std::vector<int> ids;
    for (qint64 position = 0; source.HasRow(position); ++position)
        ids.push_back(source.Value(position, 0).ToInt());
    return ids;
}

// Every row's id must map back to its position, and nothing else must.
void ExpectPositionsConsistent(TMemoryRecordSource& source, const std::vector<TRowId>& deleted = {})
{
    for (qint64 position = 0; position < source.FetchedRowCount(); ++position)
        EXPECT_EQ(source.PositionOf(source.RowIdAt(position)), position);
    for (TRowId id : deleted)
        EXPECT_EQ(source.PositionOf(id), -1);
}

TEST(MemorySource, FlattensObjectColumns)
{
    TFieldDef address = Def(QStringLiteral("Address"), ftADT);
    address.ChildDefs = {Def(QStringLiteral("Street"), ftString, 30),
                         Def(QStringLiteral("Zip"), ftInteger)};
    TMemoryRecordSource source({Def(QStringLiteral("Id"), ftInteger), address});
    EXPECT_EQ(source.ColumnNames(),
              QStringList({QStringLiteral("Id"), QStringLiteral("Address.Street"), QStringLiteral("Address.Zip")}));
    EXPECT_EQ(source.ColumnIndex(QStringLiteral("address.zip")), 2);
    EXPECT_EQ(source.FieldDefs().size(), 2u);
    EXPECT_EQ(source.ColumnDefs()[1].Size, 30);
    EXPECT_TRUE(source.IsComplete());
}

TEST(MemorySource, RefusesBadDefinitions)
{
    EXPECT_THROW(TMemoryRecordSource({Def(QStringLiteral("A"), ftInteger), Def(QStringLiteral("a"), ftString)}),
                 EDatabaseError);
    EXPECT_THROW(TMemoryRecordSource({Def(QStringLiteral("C"), ftCursor)}), EDatabaseError);
    EXPECT_THROW(TMemoryRecordSource({Def(QString(), ftInteger)}), EDatabaseError);
}

TEST(MemorySource, InsertUpdateDeleteKeepIdsAndPositions)
{
    TMemoryRecordSource source(PeopleDefs());
    source.AppendRows({Person(1, "a"), Person(2, "b"), Person(3, "c")});
    const TRowId idOf2 = source.RowIdAt(1);

    EXPECT_EQ(source.InsertRow(1, Person(4, "d")), 1);
    EXPECT_EQ(source.InsertRow(-1, Person(5, "e")), 4);
    EXPECT_EQ(Ids(source), (std::vector<int>{1, 4, 2, 3, 5}));
    EXPECT_EQ(source.PositionOf(idOf2), 2);

    source.UpdateRow(2, Person(2, "B", Variant::FromDate(100), Variant(1.5)), {false, true, false, true});
    EXPECT_EQ(source.Value(2, 1).ToString(), QStringLiteral("B"));
    EXPECT_TRUE(source.Value(2, 2).IsNull());  // not flagged as changed
    EXPECT_EQ(source.Value(2, 3).ToDouble(), 1.5);

    const TRowId idOf1 = source.RowIdAt(0);
    source.DeleteRow(0);
    EXPECT_EQ(Ids(source), (std::vector<int>{4, 2, 3, 5}));
    EXPECT_EQ(source.RowCount(), 4);
    EXPECT_EQ(source.PositionOf(idOf2), 1);
    ExpectPositionsConsistent(source, {idOf1});
    // A new row never takes the id of a deleted one.
    source.InsertRow(0, Person(6, "f"));
    EXPECT_NE(source.RowIdAt(0), idOf1);
    EXPECT_EQ(source.PositionOf(idOf1), -1);
    ExpectPositionsConsistent(source, {idOf1});
    EXPECT_EQ(source.PositionOf(12345), -1);
}

// Appends keep the inverse map without a rebuild; it must stay right
// through appends mixed with reads, and after a failed append.
TEST(MemorySource, PositionsFollowAppends)
{
    TMemoryRecordSource source(PeopleDefs());
    for (int i = 0; i < 5; ++i) {
        source.AppendRow(Person(i, "x"));
        ExpectPositionsConsistent(source);
    }
    EXPECT_THROW(source.AppendRow(Person(9, "x", Variant("bad date"))), EConvertError);
    source.InsertRow(-1, Person(5, "y"));
    ExpectPositionsConsistent(source);
    EXPECT_EQ(source.PositionOf(source.RowIdAt(5)), 5);
    EXPECT_EQ(Ids(source), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

// A writer that fails leaves every row as it was.
TEST(MemorySource, FailedWritesChangeNothing)
{
    TMemoryRecordSource source(PeopleDefs());
    source.AppendRows({Person(1, "a", Variant::FromDate(10)), Person(2, "b")});

    EXPECT_THROW(source.UpdateRow(0, Person(9, "z", Variant("no date")), {true, true, true, false}), EConvertError);
    EXPECT_EQ(source.Value(0, 0).ToInt(), 1);
    EXPECT_EQ(source.Value(0, 1).ToString(), QStringLiteral("a"));
    EXPECT_EQ(source.Value(0, 2).ToDateTime(), 10);

    EXPECT_THROW(source.InsertRow(0, Person(3, "c", Variant("no date"))), EConvertError);
    EXPECT_THROW(source.InsertRow(5, Person(3, "c")), EDatabaseError);
    EXPECT_THROW(source.InsertRow(0, {Variant(1)}), EDatabaseError);
    EXPECT_THROW(source.AppendRows({Person(3, "c"), Person(4, "d", Variant("bad"))}), EConvertError);
    EXPECT_EQ(Ids(source), (std::vector<int>{1, 2}));
    ExpectPositionsConsistent(source);

    source.SetReadOnly(true);
    EXPECT_FALSE(source.CanModify());
    EXPECT_THROW(source.DeleteRow(0), EDatabaseError);
    EXPECT_EQ(source.RowCount(), 2);
}

// Names sort without regard to case, Nulls first, ties keep their order;
// the second column decides among equal first columns, by date value.
TEST(MemorySource, StableMultiColumnSort)
{
    TMemoryRecordSource source(PeopleDefs());
    source.AppendRows({Person(1, "beta", Variant::FromDate(300)),
                       Person(2, "Alpha", Variant::FromDate(200)),
                       Person(3, Variant::NullValue(), Variant::FromDate(100)),
                       Person(4, "alpha", Variant::FromDate(100)),
                       Person(5, "ALPHA", Variant::FromDate(200)),
                       Person(6, "Beta", Variant::NullValue())});
    source.Sort(QStringLiteral("name; Born"), true);
    EXPECT_EQ(Ids(source), (std::vector<int>{3, 4, 2, 5, 6, 1}));
    ExpectPositionsConsistent(source);

    source.Sort(QStringLiteral("Name"), false);  // by code point: upper case first
    EXPECT_EQ(Ids(source), (std::vector<int>{3, 5, 2, 6, 4, 1}));

    source.Sort(QString(), false);
    EXPECT_EQ(Ids(source), (std::vector<int>{1, 2, 3, 4, 5, 6}));
    ExpectPositionsConsistent(source);
}

TEST(MemorySource, NumbersSortByValueNotText)
{
    TMemoryRecordSource source(PeopleDefs());
    source.AppendRows({Person(1, "x", Variant::NullValue(), Variant(10.0)), Person(2, "x", Variant::NullValue(), Variant(9.5)),
                       Person(3, "x", Variant::NullValue(), Variant(-100.0)), Person(4, "x")});
    source.Sort(QStringLiteral("Score"), true);
    EXPECT_EQ(Ids(source), (std::vector<int>{4, 3, 2, 1}));
}

TEST(MemorySource, SortedOrderIsKeptThroughChanges)
{
    TMemoryRecordSource source(PeopleDefs());
    source.AppendRows({Person(1, "c"), Person(2, "a"), Person(3, "e")});
    source.Sort(QStringLiteral("Name"), true);
    EXPECT_EQ(source.InsertRow(0, Person(4, "d")), 2);  // goes to its sorted place
    EXPECT_EQ(Ids(source), (std::vector<int>{2, 1, 4, 3}));

    const TRowId idOf2 = source.RowIdAt(0);
    source.UpdateRow(0, Person(2, "z"), {false, true, false, false});
    EXPECT_EQ(Ids(source), (std::vector<int>{1, 4, 3, 2}));
    EXPECT_EQ(source.PositionOf(idOf2), 3);
    source.DeleteRow(0);
    ExpectPositionsConsistent(source);

    // Back to the natural order: loaded rows, then inserted ones, without deleted.
    source.Sort(QString(), false);
    EXPECT_EQ(Ids(source), (std::vector<int>{2, 3, 4}));
}

TEST(MemorySource, UnknownSortFieldRaisesAndKeepsTheOrder)
{
    TMemoryRecordSource source(PeopleDefs());
    source.AppendRows({Person(2, "b"), Person(1, "a")});
    source.Sort(QStringLiteral("Name"), false);
    EXPECT_EQ(MessageOf<EDatabaseError>([&] { source.Sort(QStringLiteral("Id;Nope"), false); }),
              QStringLiteral("Field 'Nope' not found"));
    EXPECT_EQ(Ids(source), (std::vector<int>{1, 2}));
    EXPECT_EQ(source.SortFieldNames(), QStringLiteral("Name"));
}

}  // namespace
}  // namespace tk
