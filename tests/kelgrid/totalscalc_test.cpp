// The totals calculation: the arithmetic of each kind and its failures,
// totals against SQLite's own aggregates over all rows and over selected
// rows, null handling, the handlers, the delayed run, walks that keep the
// current record and its screen row, sequence numbers.

#include "kelgrid/grid/columntotalvalue.h"
#include "kelgrid/grid/keldbgrids.h"
#include "kelgrid/grid/totalaccumulate.h"
#include "kelgrid/grid/totallink.h"
#include "kelgrid/grid/tuning.h"
#include "tests/data/sqlitesource_fixture.h"
#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/field_def.h"
#include "tests/support/manual_timer_driver.h"
#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"
#include "toolkit/data/query.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <optional>
#include <vector>

namespace kelgrid::test {
namespace {

// "Int32 6", "Null", "Unassigned": a value's kind and text.
QString Describe(const tk::Variant& value)
{
    if (value.IsEmptyOrNull())
        return tk::VariantKindName(value.Kind());
    return tk::VariantKindName(value.Kind()) + u' ' + value.ToString();
}

// --- The arithmetic ----------------------------------------------------------------

struct AccumulateCase {
    const char* name;
    TCalcValue kind;
    std::vector<tk::Variant> values;
    const char* expected;
};

tk::Variant Money(qint64 units)
{
    return tk::Variant(tk::TCurrency::FromInt64(units));
}

class AccumulateTest : public ::testing::TestWithParam<AccumulateCase> {};

TEST_P(AccumulateTest, GivesTheKindsValueOrNothingWhenAnyStepFails)
{
    const AccumulateCase& c = GetParam();
    tk::Variant accumulator;
    int counter = 0;
    bool failed = false;
    for (const tk::Variant& value : c.values)
        AccumulateTotal(c.kind, value, {accumulator, counter, failed});
    EXPECT_EQ(counter, static_cast<int>(c.values.size()));
    EXPECT_EQ(Describe(FinalTotal(c.kind, accumulator, counter, failed)), QString::fromLatin1(c.expected));
}

const qint64 kInt64Max = std::numeric_limits<qint64>::max();

INSTANTIATE_TEST_SUITE_P(
    Table, AccumulateTest,
    ::testing::Values(
        AccumulateCase{"SumOfIntegers", cvSum, {1, 2, 3}, "Int32 6"},
        AccumulateCase{"SumSkipsTextButCountsIt", cvSum, {1, "a", 2}, "Int32 3"},
        AccumulateCase{"SumOfATextColumnIsNothing", cvSum, {"a", "b"}, "Unassigned"},
        AccumulateCase{"SumOfMoneyStaysMoney", cvSum, {Money(2), Money(3)}, "Currency 5"},
        AccumulateCase{"SumBeyondTheCurrencyRangeIsNothingForGood",
                       cvSum,
                       {Money(900000000000000), Money(900000000000000), Money(-900000000000000)},
                       "Unassigned"},
        AccumulateCase{"SumBeyondSixtyFourBitsIsNothingForGood",
                       cvSum,
                       {kInt64Max, qint64(1), qint64(-5)},
                       "Unassigned"},
        AccumulateCase{"AvgOfIntegersIsAFloat", cvAvg, {1, 2}, "Double 1.5"},
        AccumulateCase{"AvgDividesByEveryCountedValue", cvAvg, {2, "x", 4}, "Double 2"},
        AccumulateCase{"AvgOfTextIsNothing", cvAvg, {"x"}, "Unassigned"},
        AccumulateCase{"AvgOfMoneyIsMoney", cvAvg, {Money(3), Money(4)}, "Currency 3.5"},
        AccumulateCase{"CountOfNoValuesIsNothing", cvCount, {}, "Unassigned"},
        AccumulateCase{"CountCountsValuesOfAnyKind", cvCount, {"a", 2, tk::Variant::NullValue()}, "Int32 3"},
        AccumulateCase{"MaxOfNumbers", cvMax, {3, 7.5, 5}, "Double 7.5"},
        AccumulateCase{"MinOfTexts", cvMin, {"b", "a", "c"}, "String a"},
        AccumulateCase{"MaxOverANumberAndATextIsNothingForGood", cvMax, {1, "x", 5}, "Unassigned"},
        AccumulateCase{"MinOverABooleanAndANumberIsNothing", cvMin, {true, 1}, "Unassigned"},
        AccumulateCase{"FirstValue", cvFirst, {4, 5, 6}, "Int32 4"},
        AccumulateCase{"LastValue", cvLast, {4, 5, 6}, "Int32 6"},
        AccumulateCase{"UniqueOfEqualValues", cvUnique, {"A", "A"}, "String A"},
        AccumulateCase{"UniqueOfDifferentValuesIsNull", cvUnique, {"A", "A", "B"}, "Null"},
        AccumulateCase{"UniqueStaysNullWhenTheFirstValueComesBack", cvUnique, {"A", "B", "A"}, "Null"},
        AccumulateCase{"UniqueOverATextAndANumberIsNothing", cvUnique, {"A", 1}, "Unassigned"},
        AccumulateCase{"CustomLeavesTheWorkToTheHandler", cvCustom, {1, 2}, "Unassigned"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- A grid on a client dataset ------------------------------------------------------

// Rows: Id (1..n), Amount (Null where not given), Name, Price (ftBCD).
class TotalsCalcGridTest : public ::testing::Test {
protected:
    void Open(const std::vector<std::optional<double>>& amounts)
    {
        using tk::test::Def;
        dataSet.FieldDefs() = {
            Def(QStringLiteral("Id"), tk::ftInteger), Def(QStringLiteral("Amount"), tk::ftFloat),
            Def(QStringLiteral("Name"), tk::ftString, 20), Def(QStringLiteral("Price"), tk::ftBCD, 4)};
        dataSet.CreateDataSet();
        int id = 0;
        for (const std::optional<double>& amount : amounts) {
            dataSet.Append();
            dataSet.FieldByName(QStringLiteral("Id"))->SetAsInteger(++id);
            if (amount)
                dataSet.FieldByName(QStringLiteral("Amount"))->SetAsFloat(*amount);
            dataSet.FieldByName(QStringLiteral("Name"))->SetAsString(QStringLiteral("N%1").arg(id));
            dataSet.FieldByName(QStringLiteral("Price"))->SetAsVariant(Money(900000000000000));
            dataSet.Post();
        }
        dataSet.First();
        source.SetDataSet(&dataSet);
        grid = std::make_unique<TKelDBGrid>();
        grid->resize(400, 200);
        grid->SetOptionsEx(grid->OptionsEx() | dgTotalValues);
        grid->SetDataSource(&source);
        grid->BeginLayout();
        for (const char* name : {"Id", "Amount", "Name", "Price"})
            grid->Columns()->Add()->SetFieldName(QString::fromLatin1(name));
        grid->EndLayout();
        grid->OnTotalsUpdated = [this](TKelCustomDBGrid*) { ++updated; };
    }
    void OpenRows(int count)
    {
        std::vector<std::optional<double>> amounts;
        for (int i = 1; i <= count; ++i)
            amounts.push_back(i * 10.0);
        Open(amounts);
    }
    void TearDown() override { grid.reset(); }

    // A calculated value row of the field's column.
    TKelColumnTotalValue* AddTotal(const char* field, TCalcValue kind, TNullValue nulls = nvExclude)
    {
        TKelColumnTotalValue* total = grid->ColumnByName(QString::fromLatin1(field))->TotalValues()->Add();
        total->SetTotalResult(trCalcValue);
        total->SetCalcValue(kind);
        total->SetNullValue(nulls);
        return total;
    }
    QString TextOf(TKelColumnTotalValue* total)
    {
        return grid->GetTotalText(total->Column(), total->Index(), tkDisplay);
    }

    // First: grids' timers are made from it and must go before it.
    tk::test::ManualTimerDriver timers;
    tk::TClientDataSet dataSet;
    tk::TDataSource source;
    std::unique_ptr<TKelDBGrid> grid;
    int updated = 0;
};

struct NullCase {
    const char* name;
    TCalcValue kind;
    TNullValue nulls;
    const char* expected;
};

class TotalsNullTest : public TotalsCalcGridTest, public ::testing::WithParamInterface<NullCase> {};

TEST_P(TotalsNullTest, NullsAreLeftOutCountedOrTakenAsZero)
{
    const NullCase& c = GetParam();
    Open({2.0, std::nullopt, 4.0});
    TKelColumnTotalValue* total = AddTotal("Amount", c.kind, c.nulls);
    grid->UpdateCalcValues(false);
    EXPECT_EQ(Describe(total->Value()), QString::fromLatin1(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Table, TotalsNullTest,
    ::testing::Values(NullCase{"AvgExcludingNulls", cvAvg, nvExclude, "Double 3"},
                      NullCase{"AvgWithNullsAsZero", cvAvg, nvAsZero, "Double 2"},
                      NullCase{"AvgIncludingNullsCountsThem", cvAvg, nvInclude, "Double 2"},
                      NullCase{"CountExcludingNulls", cvCount, nvExclude, "Int32 2"},
                      NullCase{"CountIncludingNulls", cvCount, nvInclude, "Int32 3"},
                      NullCase{"MinWithNullsAsZero", cvMin, nvAsZero, "Int32 0"},
                      NullCase{"LastExcludingNulls", cvLast, nvExclude, "Double 4"},
                      NullCase{"SumIncludingNullsAddsNothing", cvSum, nvInclude, "Double 6"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TotalsCalcGridTest, AFailedCalculationShowsNoTextNeverANumber)
{
    Open({1.0, 2.0, 3.0});
    TKelColumnTotalValue* textSum = AddTotal("Name", cvSum);
    TKelColumnTotalValue* moneySum = AddTotal("Price", cvSum);
    TKelColumnTotalValue* mixedMax = AddTotal("Amount", cvMax);
    TKelColumnTotalValue* amountSum = AddTotal("Amount", cvSum);
    // The second record's amount reaches the maximum as a text.
    grid->OnTotalCalcValue = [&](TKelColumnTotalValue* total, TCalcPass pass, tk::Variant& value) {
        if (total == mixedMax && pass == cpCalcRec && dataSet.RecNo() == 2)
            value = tk::Variant(QStringLiteral("two"));
    };
    grid->UpdateCalcValues(false);
    for (TKelColumnTotalValue* failed : {textSum, moneySum, mixedMax}) {
        EXPECT_EQ(Describe(failed->Value()), QStringLiteral("Unassigned"))
            << failed->DisplayName().toStdString();
        EXPECT_EQ(TextOf(failed), QString()) << failed->DisplayName().toStdString();
    }
    // A failure is the one total's: the others are whole.
    EXPECT_EQ(TextOf(amountSum), QStringLiteral("6"));
}

TEST_F(TotalsCalcGridTest, RejectingEveryRecordStillResetsFinishesAndReports)
{
    OpenRows(4);
    TKelColumnTotalValue* sum = AddTotal("Amount", cvSum);
    QStringList passes;
    grid->OnTotalCalcQuery = [](TKelCustomDBGrid*, tk::TDataSet*, bool& accept) { accept = false; };
    grid->OnTotalCalcValue = [&](TKelColumnTotalValue*, TCalcPass pass, tk::Variant&) {
        passes << QString::number(int(pass));
    };
    grid->UpdateCalcValues(false);
    EXPECT_EQ(passes.join(u' '), QStringLiteral("0 2"));  // cpReset, cpFinal
    EXPECT_EQ(Describe(sum->Value()), QStringLiteral("Unassigned"));
    EXPECT_EQ(updated, 1);
}

TEST_F(TotalsCalcGridTest, HandlersChooseRecordsSeedAndReplaceValuesAndTexts)
{
    OpenRows(5);  // amounts 10 .. 50
    TKelColumnTotalValue* sum = AddTotal("Amount", cvSum);
    TKelColumnTotalValue* custom = AddTotal("Id", cvCustom);
    grid->OnTotalCalcQuery = [](TKelCustomDBGrid*, tk::TDataSet* records, bool& accept) {
        accept = records->FieldByName(QStringLiteral("Id"))->AsInteger() % 2 == 1;
    };
    grid->OnTotalCalcValue = [&](TKelColumnTotalValue* total, TCalcPass pass, tk::Variant& value) {
        if (total == sum && pass == cpReset)
            value = tk::Variant(1000);
        // A product of the ids, kept in the total's own accumulator.
        if (total == custom && pass == cpCalcRec)
            total->TempValue() =
                (total->TempValue().IsUnassigned() ? tk::Variant(1) : total->TempValue()) * value;
        if (total == custom && pass == cpFinal)
            value = total->TempValue();
    };
    QString seen;
    grid->OnTotalGetText = [&](TKelColumn* column, int index, QString& text, TTextKind kind) {
        seen = QStringLiteral("%1 %2 %3").arg(column->FieldName()).arg(index).arg(int(kind));
        text += QStringLiteral(" €");
    };
    grid->UpdateCalcValues(false);
    EXPECT_EQ(Describe(sum->Value()), QStringLiteral("Double 1090"));  // 1000 + 10 + 30 + 50
    EXPECT_EQ(TextOf(custom), QStringLiteral("15 €"));                 // 1 * 3 * 5
    EXPECT_EQ(seen, QStringLiteral("Id 0 1"));
}

TEST_F(TotalsCalcGridTest, TotalsOfTheSelectedRowsWhileAnyIsSelected)
{
    OpenRows(6);
    TKelColumnTotalValue* sum = AddTotal("Amount", cvSum);
    TKelColumnTotalValue* wholeOnly = AddTotal("Amount", cvCount);
    wholeOnly->SetCalcApply(caWholeDataSet);
    grid->UpdateCalcValues(false);
    EXPECT_EQ(TextOf(sum), QStringLiteral("210"));
    EXPECT_EQ(TextOf(wholeOnly), QStringLiteral("6"));

    for (int recNo : {2, 5}) {
        dataSet.SetRecNo(recNo);
        grid->SelectedRows()->SetCurrentRowSelected(true);
    }
    // The selection's announcement asks for the totals: both run now.
    grid->PerformDelayed();
    EXPECT_TRUE(grid->Totals()->SelectedRows());
    EXPECT_EQ(TextOf(sum), QStringLiteral("70"));
    // Meant for the whole dataset only: not counted over a selection.
    EXPECT_EQ(TextOf(wholeOnly), QString());
    EXPECT_EQ(updated, 2);

    grid->SelectedRows()->Clear();
    grid->PerformDelayed();
    EXPECT_EQ(TextOf(sum), QStringLiteral("210"));
}

TEST_F(TotalsCalcGridTest, ABurstOfRequestsCalculatesOnceAfterTheDelay)
{
    OpenRows(3);
    AddTotal("Amount", cvSum);
    timers.Advance(DelayInterval);  // the requests of the set-up
    updated = 0;
    ASSERT_TRUE(grid->OptionsEx().testFlag(dgDelayUpdateTotals));
    for (int i = 0; i < 10; ++i) {
        grid->UpdateTotals(true);
        timers.Advance(10);
    }
    EXPECT_EQ(updated, 0);
    EXPECT_TRUE(grid->TotalsPending());
    timers.Advance(DelayInterval - 11);
    EXPECT_EQ(updated, 0);
    timers.Advance(1);
    EXPECT_EQ(updated, 1);
    EXPECT_FALSE(grid->TotalsPending());

    // PerformDelayed runs a pending request now, and only once.
    grid->UpdateTotals(true);
    grid->PerformDelayed();
    EXPECT_EQ(updated, 2);
    timers.Advance(DelayInterval * 2);
    EXPECT_EQ(updated, 2);

    // Nothing is asked for without automatic updates or calculated values.
    grid->SetOptionsEx(grid->OptionsEx() & ~TKelDBGridOptionsEx(dgAutoUpdateTotals));
    grid->UpdateTotals(true);
    EXPECT_FALSE(grid->TotalsPending());
    grid->Totals()->SetCalcValues(false);
    grid->UpdateTotals(false);
    EXPECT_FALSE(grid->TotalsPending());
}

TEST_F(TotalsCalcGridTest, AnEditInProgressIsNotWalkedOver)
{
    OpenRows(3);
    TKelColumnTotalValue* sum = AddTotal("Amount", cvSum);
    dataSet.Edit();
    dataSet.FieldByName(QStringLiteral("Amount"))->SetAsFloat(1000);
    grid->UpdateCalcValues(false);
    EXPECT_EQ(updated, 0);
    EXPECT_EQ(dataSet.State(), tk::dsEdit);
    EXPECT_EQ(Describe(sum->Value()), QStringLiteral("Unassigned"));
}

// --- Cell texts -------------------------------------------------------------------------

TEST_F(TotalsCalcGridTest, EachFieldRowShowsItsOwnRecordOfTheTotalsDataSet)
{
    OpenRows(2);
    tk::TClientDataSet sums;
    FillFees(sums);
    QStringList expected;
    for (sums.First(); !sums.Eof(); sums.Next())
        expected << sums.FieldByName(QStringLiteral("Owner"))->DisplayText();
    sums.First();
    tk::TDataSource sumSource;
    sumSource.SetDataSet(&sums);
    grid->Totals()->SetDataSource(&sumSource);
    grid->Totals()->SetDataMaxRow(3);
    grid->SetOptionsEx(grid->OptionsEx() | dgTotalFields);
    TKelColumn* name = grid->ColumnByName(QStringLiteral("Name"));
    name->TotalFields()->SetFieldName(QStringLiteral("Owner"));
    const TKelCustomDBGrid::TTotalBand band = grid->TotalBand();
    ASSERT_EQ(band.fields, 3);
    const int active = grid->Totals()->DataLink()->ActiveRecord();
    QStringList shown;
    for (int i = 0; i < band.fields; ++i)
        shown << grid->GetTotalText(name, band.header + band.values + i, tkDisplay);
    EXPECT_EQ(shown, expected.mid(0, 3));
    EXPECT_EQ(grid->Totals()->DataLink()->ActiveRecord(), active);
    // An invisible total and a row without a total show nothing.
    name->TotalFields()->SetVisible(false);
    EXPECT_EQ(grid->GetTotalText(name, band.header + band.values, tkDisplay), QString());
    EXPECT_EQ(grid->GetTotalText(name, band.Count() + 5, tkDisplay), QString());
    grid->Totals()->SetDataSource(nullptr);
}

// --- Walks keep the current record and its screen row ----------------------------------

struct WalkCase {
    const char* name;
    int raiseAtId;  // 0: no handler raises
    bool selected;  // some rows are selected: the walk visits their bookmarks
};

class TotalsWalkTest : public TotalsCalcGridTest, public ::testing::WithParamInterface<WalkCase> {};

TEST_P(TotalsWalkTest, TheCurrentRecordAndScreenRowComeBack)
{
    const WalkCase& c = GetParam();
    OpenRows(40);
    AddTotal("Amount", cvSum);
    if (c.selected)
        for (int recNo : {3, 30, 38}) {
            dataSet.SetRecNo(recNo);
            grid->SelectedRows()->SetCurrentRowSelected(true);
        }
    dataSet.SetRecNo(25);
    dataSet.MoveBy(-2);  // the current record is not at the window's edge
    const int recNo = dataSet.RecNo();
    const int row = grid->Position();
    ASSERT_GT(row, 0);
    grid->OnTotalCalcValue = [&](TKelColumnTotalValue*, TCalcPass pass, tk::Variant&) {
        if (pass == cpCalcRec && dataSet.FieldByName(QStringLiteral("Id"))->AsInteger() == c.raiseAtId)
            throw tk::Exception(QStringLiteral("refused"));
    };
    if (c.raiseAtId)
        EXPECT_THROW(grid->UpdateCalcValues(false), tk::Exception);
    else
        grid->UpdateCalcValues(false);
    EXPECT_EQ(dataSet.RecNo(), recNo);
    EXPECT_EQ(grid->Position(), row);
    EXPECT_FALSE(dataSet.ControlsDisabled());
    EXPECT_FALSE(grid->PositionDisabled());
    EXPECT_EQ(grid->CheckConsistency(), QString());
    // The guard is down again: the next calculation runs.
    grid->OnTotalCalcValue = nullptr;
    updated = 0;
    grid->UpdateCalcValues(false);
    EXPECT_EQ(updated, 1);
}

INSTANTIATE_TEST_SUITE_P(Table, TotalsWalkTest,
                         ::testing::Values(WalkCase{"AWholeWalk", 0, false},
                                           WalkCase{"AHandlerRaisingMidWalk", 31, false},
                                           WalkCase{"ASelectedWalk", 0, true},
                                           WalkCase{"AHandlerRaisingOnASelectedRow", 30, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A navigator reads Bof and Eof after the move that started the walk: the
// walk must not clear them.
TEST_F(TotalsCalcGridTest, AWalkAtEitherEndLeavesTheEndReported)
{
    OpenRows(30);
    AddTotal("Amount", cvSum);
    dataSet.Last();
    grid->UpdateCalcValues(false);
    EXPECT_TRUE(dataSet.Eof());
    EXPECT_EQ(dataSet.RecNo(), 30);
    dataSet.First();
    grid->UpdateCalcValues(false);
    EXPECT_TRUE(dataSet.Bof());
    EXPECT_EQ(TextOf(grid->ColumnByName(QStringLiteral("Amount"))->TotalValues()->Items(0)), QStringLiteral("4650"));
}

TEST_F(TotalsCalcGridTest, AHandlerRaisingInTheTimerReachesTheApplication)
{
    OpenRows(5);
    AddTotal("Amount", cvSum);
    timers.Advance(DelayInterval);
    QStringList messages;
    tk::Application().OnException = [&](const QString& message) { messages << message; };
    grid->OnTotalCalcQuery = [](TKelCustomDBGrid*, tk::TDataSet*, bool&) {
        throw tk::Exception(QStringLiteral("refused"));
    };
    dataSet.SetRecNo(3);
    grid->UpdateTotals(true);
    timers.Advance(DelayInterval);
    tk::Application().OnException = nullptr;
    EXPECT_EQ(messages.join(u'|'), QStringLiteral("refused"));
    EXPECT_EQ(dataSet.RecNo(), 3);
    EXPECT_FALSE(dataSet.ControlsDisabled());
}

// --- Sequence numbers -------------------------------------------------------------------

TEST_F(TotalsCalcGridTest, AForcedSequenceCountsFromTheEndsOfTheDataSet)
{
    OpenRows(7);
    int sequenced = 0;
    grid->OnSequenceUpdated = [&](TKelCustomDBGrid*) { ++sequenced; };
    // Without dgForceSequence the dataset's own numbers count.
    dataSet.SetRecNo(4);
    grid->UpdateSequence(false);
    timers.Advance(DelayInterval);
    EXPECT_EQ(sequenced, 0);
    EXPECT_EQ(grid->RecNumber(), 4);
    EXPECT_EQ(grid->RecCount(), 7);

    grid->SetOptions(grid->Options() | dgForceSequence);
    ASSERT_TRUE(grid->ForcedSequence());
    const int row = grid->Position();
    grid->UpdateSequence(true);
    EXPECT_TRUE(grid->SequencePending());
    timers.Advance(DelayInterval);
    EXPECT_EQ(sequenced, 1);
    EXPECT_EQ(grid->RecNumber(), 4);
    EXPECT_EQ(grid->RecCount(), 7);
    EXPECT_EQ(dataSet.RecNo(), 4);
    EXPECT_EQ(grid->Position(), row);

    TKelColumn* numbers = grid->Columns()->Add();
    numbers->SetAutoNumber(true);
    EXPECT_EQ(grid->ColGetText(numbers, QString(), tkDisplay), QStringLiteral("4."));

    // At once without the delay.
    grid->SetOptionsEx(grid->OptionsEx() & ~TKelDBGridOptionsEx(dgDelayUpdateSequence));
    // Going to the end resynchronises the window, a data change that
    // renumbers on its own; an explicit request walks once more.
    dataSet.Last();
    EXPECT_EQ(sequenced, 2);
    EXPECT_EQ(grid->RecNumber(), 7);
    grid->UpdateSequence(true);
    EXPECT_EQ(sequenced, 3);
    EXPECT_EQ(grid->RecNumber(), 7);
    EXPECT_EQ(dataSet.RecNo(), 7);
}

// --- Against SQLite's own aggregates ---------------------------------------------------

struct AggregateCase {
    const char* name;
    TCalcValue kind;
    const char* sql;  // the aggregate function
};

class TotalsSqliteTest : public tk::test::SqliteFixture, public ::testing::WithParamInterface<AggregateCase> {
protected:
    TotalsSqliteTest()
    {
        // Amounts with Nulls, whole quantities of both signs.
        Exec(QStringLiteral("CREATE TABLE t(id INTEGER PRIMARY KEY, amount REAL, qty INTEGER);"
                            "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                            "INSERT INTO t SELECT i, CASE WHEN i % 7 = 0 THEN NULL ELSE (i * 37 % 101) * "
                            "1.25 END, i % 13 - 6 "
                            "FROM n"));
        query_.SetDatabase(&OpenDatabase());
        query_.SQL()->SetText(QStringLiteral("SELECT id, amount, qty FROM t"));
        query_.Open();
        source_.SetDataSet(&query_);
        grid_ = std::make_unique<TKelDBGrid>();
        grid_->resize(400, 200);
        grid_->SetOptionsEx(grid_->OptionsEx() | dgTotalFooter);
        grid_->SetDataSource(&source_);
        grid_->BeginLayout();
        for (const char* name : {"id", "amount", "qty"})
            grid_->Columns()->Add()->SetFieldName(QString::fromLatin1(name));
        grid_->EndLayout();
    }
    ~TotalsSqliteTest() override { grid_.reset(); }

    TKelColumnTotalValue* Footer(const char* field)
    {
        TKelColumnTotalValue* footer = grid_->ColumnByName(QString::fromLatin1(field))->TotalFooter();
        footer->SetTotalResult(trCalcValue);
        footer->SetCalcValue(GetParam().kind);
        return footer;
    }
    void ExpectSqlite(TKelColumnTotalValue* total, const char* column, const QString& where)
    {
        const QString expected =
            Scalar(QStringLiteral("SELECT %1(%2) FROM t %3")
                       .arg(QString::fromLatin1(GetParam().sql), QString::fromLatin1(column), where));
        const double value = total->Value().ToDouble();
        EXPECT_NEAR(value, expected.toDouble(), 1e-9 * std::max(1.0, std::fabs(expected.toDouble())))
            << column << " " << where.toStdString();
    }

    tk::test::ManualTimerDriver timers_;
    tk::TQuery query_;
    tk::TDataSource source_;
    std::unique_ptr<TKelDBGrid> grid_;
};

TEST_P(TotalsSqliteTest, AllRowsAndTheSelectedRowsGiveSqlitesAggregates)
{
    TKelColumnTotalValue* amount = Footer("amount");
    TKelColumnTotalValue* qty = Footer("qty");
    grid_->UpdateCalcValues(false);
    ExpectSqlite(amount, "amount", QString());
    ExpectSqlite(qty, "qty", QString());

    // Selected rows, one with a Null amount, in no particular order.
    for (int id : {250, 3, 14, 77, 78, 299}) {
        query_.Locate(QStringLiteral("id"), tk::Variant(id));
        grid_->SelectedRows()->SetCurrentRowSelected(true);
    }
    grid_->PerformDelayed();
    const QString where = QStringLiteral("WHERE id IN (250, 3, 14, 77, 78, 299)");
    ExpectSqlite(amount, "amount", where);
    ExpectSqlite(qty, "qty", where);
}

INSTANTIATE_TEST_SUITE_P(Table, TotalsSqliteTest,
                         ::testing::Values(AggregateCase{"Sum", cvSum, "SUM"},
                                           AggregateCase{"Avg", cvAvg, "AVG"},
                                           AggregateCase{"Count", cvCount, "COUNT"},
                                           AggregateCase{"Min", cvMin, "MIN"},
                                           AggregateCase{"Max", cvMax, "MAX"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kelgrid::test
