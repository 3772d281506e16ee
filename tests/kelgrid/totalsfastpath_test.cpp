// The totals' fast path: over an SQLite query and a client dataset, sum,
// average, count, minimum and maximum of integer, float and currency
// columns with NULLs (left out, counted, taken as zero) come out of the
// source scan exactly as out of the record walk (a float sum whose value
// depends on the order of its additions included), without moving the
// cursor; and where the records or their values are not the source's (a
// filter, a calculated field, a descendant grid that picks records), the
// grid walks and the totals show what the walk gives.

#include "kelgrid/grid/columntotalvalue.h"
#include "kelgrid/grid/keldbgrids.h"
#include "tests/data/sqlitesource_fixture.h"
#include "tests/support/field_def.h"
#include "tests/support/manual_timer_driver.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/fields.h"
#include "toolkit/data/query.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace kelgrid::test {
namespace {

// "Double 0.2 [3fc999999999999a]": kind, text and, for floats, the bits, so
// that two results are equal only when they are the same number.
QString Describe(const tk::Variant& value)
{
    if (value.IsEmptyOrNull())
        return tk::VariantKindName(value.Kind());
    QString text = tk::VariantKindName(value.Kind()) + u' ' + value.ToString();
    if (value.Kind() == tk::VariantKind::Double) {
        const double number = value.ToDouble();
        quint64 bits = 0;
        std::memcpy(&bits, &number, sizeof bits);
        text += QStringLiteral(" [%1]").arg(bits, 16, 16, QLatin1Char('0'));
    }
    return text;
}

constexpr TCalcValue kKinds[] = {cvSum, cvAvg, cvCount, cvMin, cvMax};
constexpr TNullValue kNulls[] = {nvExclude, nvInclude, nvAsZero};

// The rows both datasets hold, in this order: the float column's sum is
// 0.2 added in this order (0.1 is lost against 1e16) and something else in
// any other; the large integer is exact only when integers add as integers.
struct Row {
    int id;
    std::optional<qint64> qty;
    std::optional<double> amount;
    std::optional<double> price;
};
const Row kRows[] = {
    {1, 4, 0.1, 2.5},
    {2, std::nullopt, 1e16, std::nullopt},
    {3, -7, std::nullopt, 0.0001},
    {4, 9007199254740993, -1e16, 12},
    {5, 2, 0.2, 3},
};

QString Sql(const std::optional<qint64>& value)
{
    return value ? QString::number(*value) : QStringLiteral("NULL");
}

QString Sql(const std::optional<double>& value)
{
    return value ? QString::number(*value, 'g', 17) : QStringLiteral("NULL");
}

// A grid over one dataset with every kind and NULL rule on every numeric
// column; the totals run only when asked.
class TotalsGrid {
public:
    TotalsGrid(tk::TDataSet& dataSet, std::unique_ptr<TKelDBGrid> grid) : dataSet_(dataSet), grid_(std::move(grid))
    {
        source_.SetDataSet(&dataSet);
        grid_->resize(400, 200);
        grid_->SetOptionsEx((grid_->OptionsEx() | dgTotalValues) & ~TKelDBGridOptionsEx(dgAutoUpdateTotals));
        grid_->SetDataSource(&source_);
        grid_->BeginLayout();
        for (tk::TField* field : dataSet.Fields())
            grid_->Columns()->Add()->SetFieldName(field->FieldName());
        grid_->EndLayout();
        dataSet.AfterScroll = [this](tk::TDataSet*) { ++scrolls; };
    }
    ~TotalsGrid()
    {
        dataSet_.AfterScroll = nullptr;
        grid_.reset();
    }
    void AddTotals(const QString& field)
    {
        TKelColumnTotalValues* totals = grid_->ColumnByName(field)->TotalValues();
        for (TCalcValue kind : kKinds)
            for (TNullValue nulls : kNulls) {
                TKelColumnTotalValue* total = totals->Add();
                total->SetTotalResult(trCalcValue);
                total->SetCalcValue(kind);
                total->SetNullValue(nulls);
            }
    }
    // Every total, "field kind nulls: value", one a line.
    QStringList Calculate()
    {
        scrolls = 0;
        grid_->UpdateCalcValues(false);
        QStringList lines;
        for (int c = 0; c < grid_->Columns()->Count(); ++c) {
            TKelColumn* column = grid_->Columns()->Items(c);
            for (int i = 0; i < column->TotalValues()->Count(); ++i) {
                TKelColumnTotalValue* total = column->TotalValues()->Items(i);
                lines << QStringLiteral("%1 %2 %3: %4")
                             .arg(column->FieldName())
                             .arg(int(total->CalcValue()))
                             .arg(int(total->NullValue()))
                             .arg(Describe(total->Value()));
            }
        }
        return lines;
    }
    // The first total of the field's column.
    tk::Variant First(const QString& field) const
    {
        return grid_->ColumnByName(field)->TotalValues()->Items(0)->Value();
    }
    TKelDBGrid& Grid() { return *grid_; }
    int scrolls = 0;

private:
    tk::TDataSet& dataSet_;
    tk::TDataSource source_;
    std::unique_ptr<TKelDBGrid> grid_;
};

// The walk's results: a handler that accepts every record makes the grid
// visit them one by one.
QStringList Walked(TotalsGrid& grid)
{
    grid.Grid().OnTotalCalcQuery = [](TKelCustomDBGrid*, tk::TDataSet*, bool& accept) { accept = true; };
    QStringList lines = grid.Calculate();
    grid.Grid().OnTotalCalcQuery = nullptr;
    return lines;
}

class TotalsFastPathTest : public tk::test::SqliteFixture {
protected:
    TotalsFastPathTest()
    {
        Exec(QStringLiteral("CREATE TABLE t(id INTEGER PRIMARY KEY, qty INTEGER, amount REAL, price MONEY)"));
        for (const Row& row : kRows)
            Exec(QStringLiteral("INSERT INTO t VALUES (%1, %2, %3, %4)")
                     .arg(row.id)
                     .arg(Sql(row.qty), Sql(row.amount), Sql(row.price)));
    }
    // Id, Qty (integer), Amount (float), Cost (currency float), Price (BCD).
    void FillClient()
    {
        using tk::test::Def;
        client.FieldDefs() = {Def(QStringLiteral("Id"), tk::ftInteger), Def(QStringLiteral("Qty"), tk::ftInteger),
                              Def(QStringLiteral("Amount"), tk::ftFloat), Def(QStringLiteral("Cost"), tk::ftCurrency),
                              Def(QStringLiteral("Price"), tk::ftBCD, 4)};
        client.CreateDataSet();
        for (const Row& row : kRows) {
            client.Append();
            client.FieldByName(QStringLiteral("Id"))->SetAsInteger(row.id);
            if (row.qty)
                client.FieldByName(QStringLiteral("Qty"))->SetAsInteger(int(*row.qty % 1000));
            if (row.amount)
                client.FieldByName(QStringLiteral("Amount"))->SetAsFloat(*row.amount);
            if (row.price) {
                client.FieldByName(QStringLiteral("Cost"))->SetAsFloat(*row.price / 3);
                client.FieldByName(QStringLiteral("Price"))->SetAsFloat(*row.price);
            }
            client.Post();
        }
        client.First();
    }

    tk::test::ManualTimerDriver timers;
    tk::TQuery query;
    tk::TClientDataSet client;
};

TEST_F(TotalsFastPathTest, AQuerysTotalsFromTheSourceAreTheWalksWithoutMovingTheCursor)
{
    query.SetDatabase(&OpenDatabase());
    query.SQL()->SetText(QStringLiteral("SELECT * FROM t"));
    query.Open();
    TotalsGrid grid(query, std::make_unique<TKelDBGrid>());
    for (const char* field : {"qty", "amount", "price"})
        grid.AddTotals(QString::fromLatin1(field));
    query.SetRecNo(3);

    const QStringList fast = grid.Calculate();
    EXPECT_EQ(grid.scrolls, 0);
    EXPECT_EQ(query.RecNo(), 3);
    const QStringList walked = Walked(grid);
    EXPECT_GT(grid.scrolls, 0);
    EXPECT_EQ(fast.join(u'\n'), walked.join(u'\n'));
    // The values themselves: the float sum in record order, the integer sum exact.
    EXPECT_EQ(Describe(grid.First(QStringLiteral("amount"))), Describe(tk::Variant(0.2)));
    EXPECT_EQ(Describe(grid.First(QStringLiteral("qty"))), QStringLiteral("Int64 9007199254740992"));
}

TEST_F(TotalsFastPathTest, AClientDataSetsTotalsFromTheSourceAreTheWalksInItsIndexOrder)
{
    FillClient();
    TotalsGrid grid(client, std::make_unique<TKelDBGrid>());
    for (const char* field : {"Qty", "Amount", "Cost", "Price"})
        grid.AddTotals(QString::fromLatin1(field));

    const QStringList fast = grid.Calculate();
    EXPECT_EQ(grid.scrolls, 0);
    EXPECT_EQ(fast.join(u'\n'), Walked(grid).join(u'\n'));
    // Another order is another float sum: still the walk's.
    client.SetIndexFieldNames(QStringLiteral("Amount"));
    const QStringList sorted = grid.Calculate();
    EXPECT_EQ(grid.scrolls, 0);
    EXPECT_EQ(sorted.join(u'\n'), Walked(grid).join(u'\n'));
    // The currency float's sum is currency, as the walk makes it.
    EXPECT_EQ(tk::VariantKindName(grid.First(QStringLiteral("Cost")).Kind()),
              tk::VariantKindName(tk::VariantKind::Currency));
}

TEST_F(TotalsFastPathTest, AFilteredDataSetIsWalkedAndItsTotalsLeaveTheRejectedRowsOut)
{
    FillClient();
    TotalsGrid grid(client, std::make_unique<TKelDBGrid>());
    grid.AddTotals(QStringLiteral("Qty"));
    client.OnFilterRecord = [](tk::TDataSet* dataSet, bool& accept) {
        accept = dataSet->FieldByName(QStringLiteral("Id"))->AsInteger() != 4;
    };
    client.SetFiltered(true);
    grid.Calculate();
    EXPECT_GT(grid.scrolls, 0);
    EXPECT_EQ(grid.First(QStringLiteral("Qty")).ToString(), QStringLiteral("-1"));  // 4 - 7 + 2
}

TEST_F(TotalsFastPathTest, ACalculatedFieldsTotalIsWalked)
{
    query.SetDatabase(&OpenDatabase());
    query.SQL()->SetText(QStringLiteral("SELECT id, qty FROM t"));
    for (const char* name : {"id", "qty"}) {
        auto* field = new tk::TLargeintField(&query);
        field->SetFieldName(QString::fromLatin1(name));
        field->SetDataSet(&query);
    }
    auto* twice = new tk::TLargeintField(&query);
    twice->SetFieldName(QStringLiteral("twice"));
    twice->SetFieldKind(tk::fkCalculated);
    twice->SetDataSet(&query);
    query.OnCalcFields = [](tk::TDataSet* dataSet) {
        const tk::Variant qty = dataSet->FieldByName(QStringLiteral("qty"))->AsVariant();
        dataSet->FieldByName(QStringLiteral("twice"))
            ->SetAsVariant(qty.IsNull() ? qty : tk::Variant(qty.ToInt64() % 1000 * 2));
    };
    query.Open();
    TotalsGrid grid(query, std::make_unique<TKelDBGrid>());
    grid.AddTotals(QStringLiteral("twice"));
    grid.Calculate();
    EXPECT_GT(grid.scrolls, 0);
    EXPECT_EQ(grid.First(QStringLiteral("twice")).ToString(), QStringLiteral("1984"));  // 2 * (4 - 7 + 993 + 2)
}

// A descendant that counts only even ids by overriding the dispatcher.
class EvenIdsGrid : public TKelDBGrid {
public:
    bool TotalCalcQuery(tk::TDataSet* dataSet) override
    {
        return dataSet->FieldByName(QStringLiteral("Id"))->AsInteger() % 2 == 0;
    }
};

TEST_F(TotalsFastPathTest, ADescendantGridThatPicksRecordsIsWalked)
{
    FillClient();
    TotalsGrid grid(client, std::make_unique<EvenIdsGrid>());
    grid.AddTotals(QStringLiteral("Qty"));
    grid.Calculate();
    EXPECT_EQ(grid.First(QStringLiteral("Qty")).ToString(), QStringLiteral("993"));  // ids 2 (NULL) and 4
}

}  // namespace
}  // namespace kelgrid::test
