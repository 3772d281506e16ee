// The total objects of columns: fall-backs, value and caption, the texts
// they show, their design-time names, defaults and copies.

#include "kelgrid/grid/columntotalvalue.h"
#include "tests/kelgrid/grid_fixture.h"
#include "toolkit/core/properties.h"

#include <QMetaProperty>

namespace kelgrid::test {
namespace {

class ColumnTotalTest : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->BeginLayout();
        for (const char* name : {"Id", "Owner", "Amount"})
            grid->Columns()->Add()->SetFieldName(QString::fromLatin1(name));
        grid->EndLayout();
        FillFees(sums);
        sumSource.SetDataSet(&sums);
    }
    TKelColumn* Amount() { return grid->Columns()->Items(2); }
    static bool Stored(const QObject* object, const char* name)
    {
        const QMetaObject* meta = object->metaObject();
        return tk::IsStoredProp(object, meta->property(meta->indexOfProperty(name)));
    }

    tk::TClientDataSet sums;
    tk::TDataSource sumSource;
};

TEST_F(ColumnTotalTest, LookFallsBackToTheColumnAndTheTotalsUntilSet)
{
    TKelColumnTotalValue* footer = Amount()->TotalFooter();
    // A float field aligns right, and so does its footer.
    EXPECT_EQ(footer->Alignment(), tk::taRightJustify);
    EXPECT_FALSE(Stored(footer, "Alignment"));
    footer->SetAlignment(tk::taRightJustify);  // set, but the default: not written
    EXPECT_TRUE(footer->AssignedValues().testFlag(cvTotalAlignment));
    EXPECT_FALSE(Stored(footer, "Alignment"));
    footer->SetAlignment(tk::taCenter);
    EXPECT_TRUE(Stored(footer, "Alignment"));

    grid->Totals()->SetColor(tk::clAqua);
    EXPECT_EQ(footer->Color(), tk::clAqua);
    footer->SetColor(tk::clTeal);
    grid->Totals()->SetColor(tk::clSilver);
    EXPECT_EQ(footer->Color(), tk::clTeal);
    EXPECT_TRUE(Stored(footer, "Color"));

    // The font follows the totals' font silently, until changed itself.
    grid->Totals()->Font()->SetSize(15);
    EXPECT_EQ(footer->Font()->Size(), 15);
    EXPECT_FALSE(footer->AssignedValues().testFlag(cvTotalFont));
    footer->Font()->SetSize(9);
    EXPECT_TRUE(footer->AssignedValues().testFlag(cvTotalFont));
    grid->Totals()->Font()->SetSize(20);
    EXPECT_EQ(footer->Font()->Size(), 9);
}

TEST_F(ColumnTotalTest, ValueAndCaptionReplaceEachOther)
{
    TKelColumnTotalValue* header = Amount()->TotalHeader();
    header->SetFormat(QStringLiteral("Total %d"));
    header->SetValue(tk::Variant(qint32(12)));
    EXPECT_EQ(header->Caption(), QStringLiteral("Total 12"));
    EXPECT_FALSE(Stored(header, "Caption"));
    EXPECT_TRUE(Stored(header, "Value"));
    header->SetFormat(QStringLiteral("Sum %d"));  // a stored value is formatted again
    EXPECT_EQ(header->Caption(), QStringLiteral("Sum 12"));

    header->SetCaption(QStringLiteral("Importe"));
    EXPECT_TRUE(header->Value().IsUnassigned());
    EXPECT_TRUE(Stored(header, "Caption"));
    EXPECT_FALSE(Stored(header, "Value"));
    EXPECT_EQ(header->DisplayText(), QStringLiteral("Importe"));

    // RestoreDefaults keeps the user's caption.
    header->SetColor(tk::clTeal);
    header->RestoreDefaults();
    EXPECT_EQ(header->Caption(), QStringLiteral("Importe"));
    EXPECT_FALSE(header->AssignedValues().testFlag(cvTotalColor));
}

TEST_F(ColumnTotalTest, ACaptionShowsItsSecondPartWhileTheTotalsCoverASelection)
{
    TKelColumnTotalValue* footer = Amount()->TotalFooter();
    footer->SetCaption(QStringLiteral("All rows|Selected rows"));
    EXPECT_EQ(footer->DisplayText(), QStringLiteral("All rows"));
    grid->Totals()->SetSelected(true, false);
    EXPECT_EQ(footer->DisplayText(), QStringLiteral("Selected rows"));
}

TEST_F(ColumnTotalTest, DataFieldTotalsShowTheCurrentRecord)
{
    TKelColumnTotalValue* footer = Amount()->TotalFooter();
    footer->SetTotalResult(trDataField);
    dataSet.Next();  // Bernardo Gil, 80
    EXPECT_EQ(footer->DisplayText(), Amount()->DisplayText());
    footer->SetFieldName(QStringLiteral("owner"));
    EXPECT_EQ(footer->DisplayText(), QStringLiteral("Bernardo Gil"));
    EXPECT_EQ(footer->Field()->FieldName(), QStringLiteral("Owner"));
    EXPECT_EQ(footer->FieldName(), QStringLiteral("Owner"));  // the field's full name
}

TEST_F(ColumnTotalTest, TotalFieldTotalsShowTheirRecordOfTheTotalsWindowOrNothing)
{
    grid->Totals()->SetDataSource(&sumSource);
    grid->Totals()->SetDataMaxRow(3);
    TKelColumnTotalValue* footer = Amount()->TotalFooter();
    footer->SetTotalResult(trTotalField);
    footer->SetFieldName(QStringLiteral("Owner"));
    footer->SetTotalRecNo(0);
    EXPECT_EQ(footer->TotalRecNo(), 1);
    EXPECT_EQ(footer->DisplayText(), QStringLiteral("Ana Ruiz"));
    footer->SetTotalRecNo(3);
    EXPECT_EQ(footer->DisplayText(), QStringLiteral("Carmen Peña"));
    EXPECT_EQ(grid->Totals()->DataLink()->ActiveRecord(), 0);  // put back
    // Beyond the three records the window holds there is nothing to show.
    footer->SetTotalRecNo(4);
    EXPECT_EQ(footer->DisplayText(), QString());
    // Without a totals source neither.
    grid->Totals()->SetDataSource(nullptr);
    footer->SetTotalRecNo(1);
    EXPECT_EQ(footer->DisplayText(), QString());
}

TEST_F(ColumnTotalTest, CalculationSettingsOfCalculatedTotalsAskForACalculation)
{
    TKelColumnTotalValue* value = Amount()->TotalValues()->Add();
    const QString before = grid->RequestCounts();
    value->SetCalcValue(cvAvg);  // not calculated yet: no request
    EXPECT_EQ(grid->RequestCounts(), before);
    value->SetTotalResult(trCalcValue);
    value->SetCalcValue(cvMax);
    value->SetNullValue(nvAsZero);
    value->SetCalcApply(caSelectedRows);
    value->SetFieldName(QStringLiteral("Id"));
    EXPECT_EQ(RequestsSince(before, grid->RequestCounts()), QStringLiteral("lists 0, sequence 0, totals 5"));
}

struct NameCase {
    const char* name;
    TTotalResult result;
    const char* fieldName;
    TCalcValue calc;
    QString expected;
};

class TotalDisplayNameTest : public ColumnTotalTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(TotalDisplayNameTest, NamesSayWhatTheTotalShows)
{
    const NameCase& c = GetParam();
    grid->Totals()->SetDataSource(&sumSource);
    TKelColumnTotalValue* value = Amount()->TotalValues()->Add();
    value->SetTotalResult(c.result);
    value->SetFieldName(QString::fromLatin1(c.fieldName));
    value->SetCalcValue(c.calc);
    EXPECT_EQ(value->DisplayName(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TotalDisplayNameTest,
    ::testing::Values(
        NameCase{"None", trNone, "", cvSum, QStringLiteral("<None>")},
        NameCase{"EmptyCaption", trCaption, "", cvSum, QStringLiteral("<Empty>")},
        NameCase{"ColumnData", trDataField, "", cvSum, QStringLiteral("ColumnData: Amount")},
        NameCase{"DataField", trDataField, "Id", cvSum, QStringLiteral("DataField: Id")},
        NameCase{"TotalField", trTotalField, "Owner", cvSum, QStringLiteral("TotalField: Owner[1]")},
        NameCase{"TotalFieldWithoutName", trTotalField, "", cvSum, QStringLiteral("TotalField: <Unknown>")},
        NameCase{"Average", trCalcValue, "", cvAvg, QStringLiteral("Avg(Amount)")},
        NameCase{"CustomOnAField", trCalcValue, "Id", cvCustom, QStringLiteral("Custom(Id)")}),
    [](const ::testing::TestParamInfo<NameCase>& info) { return std::string(info.param.name); });

TEST_F(ColumnTotalTest, AssignCopiesWhatWasSetAndTheValueSettings)
{
    TKelColumnTotalValue* source = Amount()->TotalFooter();
    source->SetTotalResult(trCalcValue);
    source->SetCalcValue(cvCount);
    source->SetFormat(QStringLiteral("%d rows"));
    source->SetColor(tk::clTeal);
    source->SetWordWrap(false);
    TKelColumnTotalValue* target = grid->Columns()->Items(0)->TotalFooter();
    target->Assign(source);
    EXPECT_EQ(target->TotalResult(), trCalcValue);
    EXPECT_EQ(target->CalcValue(), cvCount);
    EXPECT_EQ(target->Format(), QStringLiteral("%d rows"));
    EXPECT_EQ(target->Color(), tk::clTeal);
    EXPECT_FALSE(target->WordWrap());
    // The alignment was not set on the source: the target keeps its own
    // column's.
    EXPECT_FALSE(target->AssignedValues().testFlag(cvTotalAlignment));
}

TEST_F(ColumnTotalTest, ATotalLetsGoOfAFieldThatIsFreed)
{
    grid->Totals()->SetDataSource(&sumSource);
    TKelColumnTotalValue* footer = Amount()->TotalFooter();
    footer->SetTotalResult(trTotalField);
    footer->SetFieldName(QStringLiteral("Owner"));
    ASSERT_NE(footer->Field(), nullptr);
    sums.Close();  // default fields are freed with the closing
    EXPECT_EQ(footer->Field(), nullptr);
    EXPECT_EQ(footer->DisplayText(), QString());
}

}  // namespace
}  // namespace kelgrid::test
