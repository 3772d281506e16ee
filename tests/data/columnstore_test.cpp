#include "toolkit/core/exceptions.h"
#include "toolkit/data/columnstore.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

struct KindCase {
    TFieldType type;
    Variant input;
    VariantKind kind;  // what Get gives back
    Variant expected;
};

class ColumnStoreKinds : public ::testing::TestWithParam<KindCase> {};

// Each type stores what it is given and returns it as the kind its fields
// expect, next to a Null slot that must stay Null.
TEST_P(ColumnStoreKinds, StoresAndReturnsTheColumnsKind)
{
    const KindCase& c = GetParam();
    TColumnStore store({c.type});
    const qint64 empty = store.AddSlot();
    const qint64 filled = store.AddSlot();
    store.Set(filled, 0, c.input);

    const Variant value = store.Get(filled, 0);
    EXPECT_EQ(value.Kind(), c.kind) << VariantKindName(value.Kind()).toStdString();
    EXPECT_TRUE(value == c.expected) << value.ToString().toStdString();
    EXPECT_FALSE(store.IsNull(filled, 0));
    EXPECT_TRUE(store.IsNull(empty, 0));
    EXPECT_TRUE(store.Get(empty, 0).IsNull());
}

INSTANTIATE_TEST_SUITE_P(
    EveryType, ColumnStoreKinds,
    ::testing::Values(KindCase{ftSmallint, Variant("-123"), VariantKind::Int16, Variant(qint16(-123))},
                      KindCase{ftWord, Variant(65535), VariantKind::UInt16, Variant(quint16(65535))},
                      KindCase{ftInteger, Variant(2.5), VariantKind::Int32, Variant(3)},
                      KindCase{ftAutoInc, Variant(7), VariantKind::Int32, Variant(7)},
                      KindCase{ftLargeint, Variant(qint64(1) << 40), VariantKind::Int64, Variant(qint64(1) << 40)},
                      KindCase{ftBoolean, Variant("true"), VariantKind::Boolean, Variant(true)},
                      KindCase{ftFloat, Variant("0.25"), VariantKind::Double, Variant(0.25)},
                      KindCase{ftCurrency, Variant(TCurrency::FromTicks(12345)), VariantKind::Double,
                               Variant(1.2345)},
                      KindCase{ftBCD, Variant(1.23456), VariantKind::Currency,
                               Variant(TCurrency::FromTicks(12346))},
                      KindCase{ftFMTBcd, Variant("12345678901234567890.12345678"), VariantKind::Bcd,
                               Variant(TBcd::FromString("12345678901234567890.12345678"))},
                      KindCase{ftDateTime, Variant(45000.5), VariantKind::Date, Variant::FromDate(45000.5)},
                      KindCase{ftDate, Variant::FromDate(45000), VariantKind::Date, Variant::FromDate(45000)},
                      KindCase{ftString, Variant(42), VariantKind::String, Variant("42")},
                      KindCase{ftBlob, Variant(QByteArray("\x00\xff\n", 3)), VariantKind::Bytes,
                               Variant(QByteArray("\x00\xff\n", 3))},
                      KindCase{ftVarBytes, Variant("é"), VariantKind::Bytes, Variant(QByteArray("\xc3\xa9"))},
                      KindCase{ftWideMemo, Variant("línea 1\nlínea 2 € 漢字"), VariantKind::String,
                               Variant("línea 1\nlínea 2 € 漢字")}));

struct BadCase {
    TFieldType type;
    Variant input;
    const char* typeName;
    Variant stored = Variant(1);  // a value the column takes
};

class ColumnStoreRefuses : public ::testing::TestWithParam<BadCase> {};

// A value that does not convert raises EConvertError naming the column's
// type and leaves the stored value alone.
TEST_P(ColumnStoreRefuses, RaisesAndKeepsTheOldValue)
{
    const BadCase& c = GetParam();
    TColumnStore store({ftString, c.type});
    const qint64 slot = store.AddSlot();
    store.Set(slot, 1, c.stored);
    const Variant before = store.Get(slot, 1);
    try {
        store.Set(slot, 1, c.input);
        FAIL() << "no exception";
    } catch (const EConvertError& error) {
        EXPECT_TRUE(error.Message().contains(QLatin1String(c.typeName))) << error.Message().toStdString();
    }
    EXPECT_TRUE(store.Get(slot, 1).SameAs(before));
}

INSTANTIATE_TEST_SUITE_P(Conversions, ColumnStoreRefuses,
                         ::testing::Values(BadCase{ftInteger, Variant("abc"), "ftInteger"},
                                           BadCase{ftSmallint, Variant(40000), "ftSmallint"},
                                           BadCase{ftWord, Variant(-1), "ftWord"},
                                           BadCase{ftInteger, Variant(qint64(1) << 33), "ftInteger"},
                                           BadCase{ftFloat, Variant(true), "ftFloat"},
                                           BadCase{ftBoolean, Variant("maybe"), "ftBoolean"},
                                           BadCase{ftDateTime, Variant("not a date"), "ftDateTime"},
                                           BadCase{ftBCD, Variant(1e20), "ftBCD"},
                                           BadCase{ftFMTBcd, Variant("1,2,3"), "ftFMTBcd"},
                                           BadCase{ftBlob, Variant(12), "ftBlob", Variant(QByteArray("x"))},
                                           BadCase{ftLargeint, Variant::FromArray({Variant(1)}), "ftLargeint"}));

TEST(ColumnStore, UnassignedAndNullClearAValue)
{
    TColumnStore store({ftInteger, ftString});
    const qint64 slot = store.AddSlot();
    store.Set(slot, 0, Variant(5));
    store.Set(slot, 1, Variant("x"));
    store.Set(slot, 0, Variant());
    store.Set(slot, 1, Variant::NullValue());
    EXPECT_TRUE(store.IsNull(slot, 0));
    EXPECT_TRUE(store.Get(slot, 1).IsNull());
    // An empty string is a value, not Null.
    store.Set(slot, 1, Variant(""));
    EXPECT_FALSE(store.IsNull(slot, 1));
    EXPECT_EQ(store.GetText(slot, 1), QString());
}

TEST(ColumnStore, BytesKeepEveryByte)
{
    TColumnStore store({ftBlob});
    const qint64 slot = store.AddSlot();
    const QByteArray bytes("\x00\xff\x01\n\r\x80", 6);
    store.SetBytes(slot, 0, bytes);
    EXPECT_EQ(store.GetBytes(slot, 0), bytes);
    store.SetBytes(slot, 0, QByteArray());
    EXPECT_FALSE(store.IsNull(slot, 0));
    EXPECT_TRUE(store.GetBytes(slot, 0).isEmpty());
}

// Replacing values leaves the old bytes behind; Compact drops them and every
// slot still reads its own value.
TEST(ColumnStore, CompactReclaimsReplacedText)
{
    TColumnStore store({ftString, ftInteger, ftBlob});
    const QString big(1000, QLatin1Char('a'));
    for (int i = 0; i < 100; ++i) {
        const qint64 slot = store.AddSlot();
        store.SetText(slot, 0, big + QString::number(i));
        store.SetInt64(slot, 1, i);
        store.SetBytes(slot, 2, QByteArray(500, char(i)));
    }
    const qint64 before = store.MemoryUsage();
    for (qint64 slot = 0; slot < 100; slot += 2) {
        store.SetText(slot, 0, QStringLiteral("short %1").arg(slot));
        store.SetNull(slot, 2);
    }
    EXPECT_GE(store.MemoryUsage(), before);
    store.Compact();
    EXPECT_LT(store.MemoryUsage(), before * 3 / 4);
    for (qint64 slot = 0; slot < 100; ++slot) {
        const bool replaced = slot % 2 == 0;
        EXPECT_EQ(store.GetText(slot, 0), replaced ? QStringLiteral("short %1").arg(slot) : big + QString::number(slot));
        EXPECT_EQ(store.GetInt64(slot, 1), slot);
        EXPECT_EQ(store.IsNull(slot, 2), replaced);
        if (!replaced) {
            EXPECT_EQ(store.GetBytes(slot, 2), QByteArray(500, char(slot)));
        }
    }
    // Values written after compaction land after the packed ones.
    store.SetText(1, 0, QStringLiteral("after"));
    EXPECT_EQ(store.GetText(1, 0), QStringLiteral("after"));
    EXPECT_EQ(store.GetText(3, 0), big + QStringLiteral("3"));
}

TEST(ColumnStore, ClearDropsEverySlot)
{
    TColumnStore store({ftString});
    store.SetText(store.AddSlot(), 0, QStringLiteral("x"));
    store.Clear();
    EXPECT_EQ(store.SlotCount(), 0);
    EXPECT_EQ(store.ColumnCount(), 1);
    EXPECT_EQ(store.AddSlot(), 0);
    EXPECT_TRUE(store.IsNull(0, 0));
}

TEST(ColumnStore, RefusesWrongAccessAndTypesWithoutValues)
{
    TColumnStore store({ftInteger});
    store.AddSlot();
    EXPECT_THROW(store.GetText(0, 0), EDatabaseError);
    EXPECT_THROW(store.Get(1, 0), EListError);
    EXPECT_THROW(store.Get(0, 1), EListError);
    EXPECT_THROW(TColumnStore({ftADT}), EDatabaseError);
}

}  // namespace
}  // namespace tk
