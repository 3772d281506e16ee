// The column model: fall-backs and their stored-ness, properties by name,
// widths and their write-through, the default columns following the
// dataset, the field map and what a column lets go of when it is freed.

#include "tests/kelgrid/grid_fixture.h"
#include "toolkit/core/properties.h"
#include "toolkit/data/dataset.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/popupmenu.h"

#include <QMetaProperty>

namespace kelgrid::test {
namespace {

using ColumnTest = GridFixture;

// "Id Owner Amount Paid": the columns' field names.
QString Names(const TKelDBGridColumns* columns)
{
    QStringList names;
    for (int i = 0; i < columns->Count(); ++i) {
        const TKelColumn* column = columns->Items(i);
        names << (column->FieldName().isEmpty()
                      ? QLatin1Char('(') + column->Title()->Caption() + QLatin1Char(')')
                      : column->FieldName());
    }
    return names.join(QLatin1Char(' '));
}

bool Stored(const QObject* object, const char* name)
{
    const QMetaProperty property = tk::FindPublishedProperty(object, QString::fromLatin1(name));
    EXPECT_TRUE(property.isValid()) << name;
    return tk::IsStoredProp(object, property);
}

// --- Fall-backs --------------------------------------------------------------------

struct FallbackRow {
    const char* name;
    bool onTitle;          // the property is the title's
    const char* property;  // published name
    const char* fallback;  // what it reads while not assigned
    const char* assigned;  // a value of its own
    TKelColumnValue bit;
};

class ColumnFallbackTest : public GridFixture, public ::testing::WithParamInterface<FallbackRow> {};

TEST_P(ColumnFallbackTest, ReadsTheFallBackUntilAssignedAndIsStoredOnlyWhenItDiffers)
{
    const FallbackRow& row = GetParam();
    TKelColumn* column = grid->Columns()->Add();
    column->SetFieldName(QStringLiteral("Amount"));
    QObject* object = row.onTitle ? static_cast<QObject*>(column->Title()) : column;
    const QString name = QString::fromLatin1(row.property);

    EXPECT_EQ(tk::GetPropText(object, name), QString::fromUtf8(row.fallback));
    EXPECT_FALSE(column->AssignedValues().testFlag(row.bit));
    EXPECT_FALSE(Stored(object, row.property));

    tk::SetPropText(object, name, QString::fromUtf8(row.assigned));
    EXPECT_EQ(tk::GetPropText(object, name), QString::fromUtf8(row.assigned));
    EXPECT_TRUE(column->AssignedValues().testFlag(row.bit));
    EXPECT_TRUE(Stored(object, row.property));

    // Assigned back to the fall-back value: kept as its own, not stored.
    tk::SetPropText(object, name, QString::fromUtf8(row.fallback));
    EXPECT_TRUE(column->AssignedValues().testFlag(row.bit));
    EXPECT_FALSE(Stored(object, row.property));

    column->RestoreDefaults();
    EXPECT_FALSE(column->AssignedValues().testFlag(row.bit));
    EXPECT_EQ(tk::GetPropText(object, name), QString::fromUtf8(row.fallback));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColumnFallbackTest,
    ::testing::Values(
        FallbackRow{"Color", false, "Color", "clWindow", "clRed", cvColor},
        FallbackRow{"AlignmentOfTheField", false, "Alignment", "taRightJustify", "taCenter", cvAlignment},
        FallbackRow{"ReadOnly", false, "ReadOnly", "False", "True", cvReadOnly},
        FallbackRow{"ImeMode", false, "ImeMode", "imDontCare", "imClose", cvImeMode},
        FallbackRow{"TitleCaptionIsTheFieldName", true, "Caption", "Amount", "Importe", cvTitleCaption},
        FallbackRow{"TitleColorIsTheFixedColor", true, "Color", "clBtnFace", "clYellow", cvTitleColor},
        FallbackRow{"TitleAlignment", true, "Alignment", "taLeftJustify", "taCenter", cvTitleAlignment}),
    [](const ::testing::TestParamInfo<FallbackRow>& info) { return std::string(info.param.name); });

TEST_F(ColumnTest, FallBacksFollowTheGridAndTheFieldWhileNotAssigned)
{
    TKelColumn* column = grid->Columns()->Add();
    column->SetFieldName(QStringLiteral("Owner"));
    grid->SetColor(tk::clAqua);
    grid->SetFixedColor(tk::clGray);
    EXPECT_EQ(column->Color(), tk::clAqua);
    EXPECT_EQ(column->Title()->Color(), tk::clGray);
    dataSet.FieldByName(QStringLiteral("Owner"))->SetDisplayLabel(QStringLiteral("Propietario"));
    EXPECT_EQ(column->Title()->Caption(), QStringLiteral("Propietario"));
    grid->SetReadOnly(true);
    EXPECT_TRUE(column->ReadOnly());
    grid->SetReadOnly(false);
    dataSet.FieldByName(QStringLiteral("Owner"))->SetReadOnly(true);
    EXPECT_TRUE(column->ReadOnly());

    // Input method: setting the grid's value on a column without its own
    // keeps it following the grid.
    grid->SetImeName(QStringLiteral("Pinyin"));
    column->SetImeName(QStringLiteral("Pinyin"));
    EXPECT_FALSE(column->AssignedValues().testFlag(cvImeName));
    grid->SetImeName(QStringLiteral("Kana"));
    EXPECT_EQ(column->ImeName(), QStringLiteral("Kana"));

    // A field name the dataset lacks leaves the column unbound, titled by
    // the name.
    TKelColumn* unbound = grid->Columns()->Add();
    unbound->SetFieldName(QStringLiteral("Missing"));
    EXPECT_EQ(unbound->Field(), nullptr);
    EXPECT_EQ(unbound->Title()->Caption(), QStringLiteral("Missing"));
    EXPECT_EQ(unbound->Alignment(), tk::taLeftJustify);
}

TEST_F(ColumnTest, FontsFollowTheGridWithoutCountingAsAssigned)
{
    TKelColumn* column = grid->Columns()->Add();
    grid->Font()->SetSize(14);
    EXPECT_EQ(column->Font()->Size(), 14);
    EXPECT_FALSE(column->AssignedValues().testFlag(cvFont));
    EXPECT_FALSE(Stored(column, "Font"));

    // The title follows the grid's title font, its colour too.
    grid->TitleFont()->SetColor(tk::clRed);
    EXPECT_EQ(column->Title()->Font()->Color(), tk::clRed);
    EXPECT_FALSE(column->AssignedValues().testFlag(cvTitleFont));

    column->Font()->SetStyle(tk::TFont::fsBold);
    EXPECT_TRUE(column->AssignedValues().testFlag(cvFont));
    EXPECT_TRUE(Stored(column, "Font"));
    grid->Font()->SetSize(9);
    EXPECT_EQ(column->Font()->Size(), 14);  // its own now

    column->Title()->Font()->SetName(QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(column->AssignedValues().testFlag(cvTitleFont));
    grid->TitleFont()->SetColor(tk::clBlue);
    EXPECT_EQ(column->Title()->Font()->Color(), tk::clRed);

    column->RestoreDefaults();
    EXPECT_EQ(column->AssignedValues(), TKelColumnValues());
    EXPECT_EQ(column->Font()->Size(), 9);
    EXPECT_EQ(column->Title()->Font()->Color(), tk::clBlue);
}

TEST_F(ColumnTest, PropertiesReadAndWriteByNameWithEnumerationAndSetNames)
{
    TKelColumn* column = grid->Columns()->Add();
    EXPECT_EQ(
        tk::GetPropText(column, QStringLiteral("ListOptions")),
        QStringLiteral("[loAutoComplete,loAutoCloseEditor,loSelectNextValue,loAllowClearValue,loShowToday,"
                       "loAllowChangeOrder,loAllowColumnResize]"));
    EXPECT_EQ(tk::GetPropText(column, QStringLiteral("PickOptions")),
              QStringLiteral("[poSelectPickText,poAcceptPickList]"));
    EXPECT_EQ(tk::GetPropText(column, QStringLiteral("DialogOptions")),
              QStringLiteral("[doShowColumn,doItemEnabled]"));
    EXPECT_EQ(tk::GetPropText(column, QStringLiteral("CheckBoxValues")), QStringLiteral("True;False"));

    tk::SetPropText(column, QStringLiteral("buttonstyle"), QStringLiteral("cbsCalculator"));
    tk::SetPropText(column, QStringLiteral("CheckBoxKind"), QStringLiteral("ckCross"));
    tk::SetPropText(column, QStringLiteral("ImageDraw"), QStringLiteral("idTileRow"));
    EXPECT_TRUE(tk::SetPropertyPath(column, QStringLiteral("Title.Header"), QStringLiteral("Pagos|2024")));
    tk::SetPropText(column, QStringLiteral("CharCase"), QStringLiteral("ecUpperCase"));
    EXPECT_EQ(column->ButtonStyle(), cbsCalculator);
    EXPECT_EQ(column->CheckBoxKind(), ckCross);
    EXPECT_EQ(column->CharCase(), tk::TUiEnums::ecUpperCase);
    EXPECT_EQ(column->Title()->HeaderRowCount(), 2);
    EXPECT_TRUE(column->setProperty("DropDownRows", -4));
    EXPECT_EQ(column->property("DropDownRows").toInt(), -4);  // negative: no limit, kept as stored

    // A check box draws no tiles or stretched images.
    EXPECT_EQ(column->ImageDraw(), idTileRow);
    column->SetCheckBox(true);
    EXPECT_EQ(tk::GetPropText(column, QStringLiteral("ImageDraw")), QStringLiteral("idCenter"));
    column->SetImageDraw(idStretch);
    EXPECT_EQ(column->ImageDraw(), idCenter);

    // Button styles couple with drop-down menus, the title's with the
    // expand style.
    tk::TPopupMenu menu;
    column->SetButtonStyle(cbsAuto);
    column->SetDropDownMenu(&menu);
    EXPECT_EQ(column->ButtonStyle(), cbsDropDownMenu);
    column->Title()->SetDropDownMenu(&menu);
    EXPECT_EQ(column->ExpandStyle(), cesDropDownMenu);
    column->SetDropDownMenu(nullptr);
    EXPECT_EQ(column->ButtonStyle(), cbsAuto);
    column->Title()->SetDropDownMenu(nullptr);
    EXPECT_EQ(column->ExpandStyle(), cesAuto);
}

// --- Widths ------------------------------------------------------------------------------

int MeasuredWidth(const tk::TFont* font, int characters)
{
    tk::TCanvas canvas;
    canvas.Font()->Assign(font);
    return canvas.TextWidth(QStringLiteral("0")) * characters + 4;
}

TEST_F(ColumnTest, DefaultWidthIsMeasuredAndAWidthEqualToItStoresNothing)
{
    grid->SetOptions(grid->Options() | dgTitleWidthOff);
    TKelColumn* column = grid->Columns()->Add();
    column->SetFieldName(QStringLiteral("Owner"));
    const int expected = MeasuredWidth(column->Font(), 40);
    EXPECT_EQ(column->DefaultWidth(), expected);
    EXPECT_EQ(column->Width(), expected);
    column->SetWidth(expected);
    EXPECT_FALSE(column->AssignedValues().testFlag(cvWidth));
    EXPECT_FALSE(Stored(column, "Width"));

    // A wide caption widens the column while titles size columns.
    TKelColumn* id = grid->Columns()->Add();
    id->SetFieldName(QStringLiteral("Id"));
    id->Title()->SetCaption(QStringLiteral("A caption far wider than ten digits"));
    const int byField = id->DefaultWidth();
    grid->SetOptions(grid->Options() & ~TKelDBGridOptions(dgTitleWidthOff));
    EXPECT_GT(id->DefaultWidth(), byField);

    // Without a field: the grid's default column width; without a grid 64.
    EXPECT_EQ(grid->Columns()->Add()->DefaultWidth(), grid->DefaultColWidth());
    TKelDBGridColumns loose(nullptr);
    EXPECT_EQ(loose.Add()->DefaultWidth(), 64);

    column->SetWidth(120);
    EXPECT_TRUE(Stored(column, "Width"));
    EXPECT_EQ(column->Width(), 120);
    // A hidden column reads as minus the column line width.
    grid->SetGridLineWidth(2);
    column->SetVisible(false);
    EXPECT_EQ(column->Width(), -2);
    EXPECT_EQ(column->TrueWidth(), 120);
}

TEST_F(ColumnTest, OptimalWidthFitsTheWidestBufferedText)
{
    TKelColumn* owner = grid->Columns()->Add();
    owner->SetFieldName(QStringLiteral("Owner"));
    owner->SetWidth(30);
    grid->DataLink()->SetBufferCount(5);
    tk::TCanvas canvas;
    canvas.Font()->Assign(owner->Font());
    int widest = 0;
    for (const FeeRow& row : kFees)
        widest = qMax(widest, canvas.TextWidth(QString::fromUtf8(row.owner)) + 4);
    dataSet.Next();
    EXPECT_EQ(owner->OptimalWidth(), widest);
    EXPECT_EQ(grid->DataLink()->ActiveRecord(), 1);  // back on its record
    dataSet.Close();
    EXPECT_EQ(owner->OptimalWidth(), 30);
}

struct LimitsRow {
    const char* name;
    bool minFirst;
    int expectedMin;
    int expectedMax;
};

class ColumnWidthLimitsTest : public GridFixture, public ::testing::WithParamInterface<LimitsRow> {};

TEST_P(ColumnWidthLimitsTest, TheSecondLimitCannotCrossTheFirst)
{
    TKelColumn* column = grid->Columns()->Add();
    column->SetWidth(40);
    if (GetParam().minFirst) {
        column->SetWidthMin(50);
        column->SetWidthMax(30);
    } else {
        column->SetWidthMax(30);
        column->SetWidthMin(50);
    }
    EXPECT_EQ(column->WidthMin(), GetParam().expectedMin);
    EXPECT_EQ(column->WidthMax(), GetParam().expectedMax);
    // The true width follows the limits; widths set later are clamped.
    EXPECT_EQ(column->TrueWidth(), GetParam().expectedMin);
    column->SetWidth(500);
    EXPECT_EQ(column->TrueWidth(), GetParam().expectedMax);
    column->SetWidthMin(-7);  // below -1: ignored
    EXPECT_EQ(column->WidthMin(), GetParam().expectedMin);
}

INSTANTIATE_TEST_SUITE_P(Table, ColumnWidthLimitsTest,
                         ::testing::Values(LimitsRow{"MinimumThenMaximum", true, 50, 50},
                                           LimitsRow{"MaximumThenMinimum", false, 30, 30}),
                         [](const ::testing::TestParamInfo<LimitsRow>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(ColumnTest, DatasetMadeColumnsWriteThroughToTheirFields)
{
    grid->SetOptions(grid->Options() | dgTitleWidthOff);
    ASSERT_EQ(Names(grid->Columns()), QStringLiteral("Id Owner Amount Paid"));
    ASSERT_EQ(grid->Columns()->State(), csDefault);
    TKelColumn* owner = grid->Columns()->Items(1);
    tk::TField* field = dataSet.FieldByName(QStringLiteral("Owner"));
    const int digit = MeasuredWidth(owner->Font(), 1) - 4;

    owner->SetWidth(digit * 12 + 4);
    EXPECT_EQ(field->DisplayWidth(), 12);
    EXPECT_EQ(owner->Width(), digit * 12 + 4);
    EXPECT_FALSE(owner->AssignedValues().testFlag(cvWidth));

    owner->SetAlignment(tk::taCenter);
    EXPECT_EQ(field->Alignment(), tk::taCenter);
    EXPECT_FALSE(owner->AssignedValues().testFlag(cvAlignment));
    EXPECT_EQ(owner->Alignment(), tk::taCenter);
    owner->Title()->SetCaption(QStringLiteral("Propietario"));
    EXPECT_EQ(field->DisplayLabel(), QStringLiteral("Propietario"));
    owner->SetReadOnly(true);
    EXPECT_TRUE(field->ReadOnly());

    // Moving a dataset-made column moves its field.
    grid->Columns()->Items(2)->SetIndex(0);
    EXPECT_EQ(dataSet.Fields()[0]->FieldName(), QStringLiteral("Amount"));
    EXPECT_EQ(Names(grid->Columns()), QStringLiteral("Amount Id Owner Paid"));
}

// --- The default columns and the field map ----------------------------------------------------------

TEST_F(ColumnTest, DefaultColumnsFollowTheDatasetsVisibleFields)
{
    EXPECT_EQ(Names(grid->Columns()), QStringLiteral("Id Owner Amount Paid"));
    dataSet.FieldByName(QStringLiteral("Amount"))->SetVisible(false);
    grid->LayoutChanged();
    EXPECT_EQ(Names(grid->Columns()), QStringLiteral("Id Owner Paid"));
    dataSet.FieldByName(QStringLiteral("Paid"))->SetIndex(0);
    grid->LayoutChanged();
    EXPECT_EQ(Names(grid->Columns()), QStringLiteral("Paid Id Owner"));

    // The number and select columns lead the default columns.
    grid->SetOptionsExt(grid->OptionsExt() | dgAutoNumberColumn | dgAutoSelectColumn);
    EXPECT_EQ(Names(grid->Columns()), QStringLiteral("(No.) (Select) Paid Id Owner"));
    EXPECT_EQ(grid->Columns()->State(), csDefault);
    EXPECT_TRUE(grid->Columns()->Items(0)->AutoNumber());
    EXPECT_EQ(grid->Columns()->Items(0)->Width(), DefAutoNumberWidth);
    EXPECT_TRUE(grid->Columns()->Items(1)->CheckBox());
    grid->SetOptionsExt(grid->OptionsExt() & ~TKelDBGridOptionsExt(dgAutoNumberColumn | dgAutoSelectColumn));
    EXPECT_EQ(Names(grid->Columns()), QStringLiteral("Paid Id Owner"));

    // Closed, the grid keeps one empty column; made anew, the new fields
    // in the dataset's order.
    dataSet.Close();
    EXPECT_EQ(grid->Columns()->Count(), 1);
    EXPECT_EQ(grid->Columns()->Items(0)->FieldName(), QString());
    FillFees(dataSet);
    EXPECT_EQ(Names(grid->Columns()), QStringLiteral("Id Owner Amount Paid"));
    EXPECT_EQ(grid->Columns()->Items(1)->Field(), dataSet.FieldByName(QStringLiteral("Owner")));
}

TEST_F(ColumnTest, CustomisedColumnsAndTheirState)
{
    grid->SetOptionsExt(grid->OptionsExt() | dgAutoNumberColumn | dgAutoSelectColumn);
    grid->Columns()->RebuildColumns();
    EXPECT_EQ(Names(grid->Columns()), QStringLiteral("(No.) (Select) Id Owner Amount Paid"));
    EXPECT_EQ(grid->Columns()->State(), csCustomized);
    EXPECT_EQ(grid->Columns()->Items(0)->Alignment(), tk::taRightJustify);
    EXPECT_EQ(grid->Columns()->Items(1)->Title()->Alignment(), tk::taCenter);

    // Customised columns keep their place when the dataset's fields move.
    dataSet.FieldByName(QStringLiteral("Paid"))->SetIndex(0);
    grid->LayoutChanged();
    EXPECT_EQ(Names(grid->Columns()), QStringLiteral("(No.) (Select) Id Owner Amount Paid"));
    EXPECT_EQ(grid->Columns()->FieldNames().join(QLatin1Char(',')), QStringLiteral(",,Id,Owner,Amount,Paid"));

    // A dataset-made column placed before a stored one is dropped.
    grid->BeginLayout();
    grid->Columns()->InternalAdd()->SetFieldName(QStringLiteral("Id"));
    grid->Columns()->Items(grid->Columns()->Count() - 1)->SetIndex(0);
    grid->EndLayout();
    EXPECT_EQ(Names(grid->Columns()), QStringLiteral("(No.) (Select) Id Owner Amount Paid"));

    grid->Columns()->SetState(csDefault);
    EXPECT_EQ(grid->Columns()->State(), csDefault);
    EXPECT_EQ(Names(grid->Columns()), QStringLiteral("(No.) (Select) Paid Id Owner Amount"));
    grid->Columns()->SetState(csCustomized);
    EXPECT_EQ(grid->Columns()->State(), csCustomized);
    EXPECT_EQ(Names(grid->Columns()), QStringLiteral("(No.) (Select) Paid Id Owner Amount"));
}

TEST_F(ColumnTest, AFreedFieldUnbindsItsColumnsAndTheFieldMapFollows)
{
    TKelColumn* owner = grid->Columns()->Add();
    owner->SetFieldName(QStringLiteral("Owner"));
    TKelColumn* again = grid->Columns()->Add();
    again->SetFieldName(QStringLiteral("owner"));
    tk::TField* field = dataSet.FieldByName(QStringLiteral("Owner"));
    EXPECT_EQ(again->FieldName(), QStringLiteral("Owner"));  // the field's own name
    EXPECT_EQ(grid->Columns()->ColumnsOfField(field).size(), 2);

    // Closing frees the default fields: the columns let go of them at once
    // and keep their names for the dataset's next fields.
    dataSet.Close();
    EXPECT_TRUE(grid->Columns()->ColumnsOfField(field).isEmpty());
    EXPECT_EQ(owner->Field(), nullptr);
    EXPECT_EQ(owner->FieldName(), QStringLiteral("Owner"));
    FillFees(dataSet);
    tk::TField* reopened = dataSet.FieldByName(QStringLiteral("Owner"));
    EXPECT_EQ(owner->Field(), reopened);
    EXPECT_EQ(grid->Columns()->ColumnsOfField(reopened).size(), 2);
    EXPECT_EQ(owner->DisplayText(), QStringLiteral("Ana Ruiz"));
}

TEST(ColumnReferences, ComponentsAColumnRefersToAreForgottenWhenFreed)
{
    TKelDBGrid grid;
    TKelColumn* column = grid.Columns()->Add();
    auto menu = std::make_unique<tk::TPopupMenu>();
    auto images = std::make_unique<tk::TImageList>();
    auto lookup = std::make_unique<tk::TClientDataSet>();
    column->SetPopupMenu(menu.get());
    column->SetDropDownMenu(menu.get());
    column->Title()->SetPopupMenu(menu.get());
    column->SetImages(images.get());
    column->SetLookupDataSet(lookup.get());

    // Letting go of one use keeps the other's notification.
    column->SetPopupMenu(nullptr);
    menu.reset();
    EXPECT_EQ(column->DropDownMenu(), nullptr);
    EXPECT_EQ(column->ButtonStyle(), cbsAuto);
    EXPECT_EQ(column->Title()->PopupMenu(), nullptr);
    images.reset();
    EXPECT_EQ(column->Images(), nullptr);
    lookup.reset();
    EXPECT_EQ(column->LookupDataSet(), nullptr);
}

TEST_F(ColumnTest, AssignCopiesTheAssignedValuesOnly)
{
    TKelColumn* source = grid->Columns()->Add();
    source->SetFieldName(QStringLiteral("Amount"));
    source->SetColor(tk::clLime);
    source->SetWidth(77);
    source->Title()->SetCaption(QStringLiteral("Importe"));
    source->SetPickOptions(TKelPickOptions(poListItemsOnly));
    source->PickList()->SetStrings({QStringLiteral("1"), QStringLiteral("2")});
    source->SetExpandCols(1);
    source->SetHint(QStringLiteral("euros"));

    TKelColumn* copy = grid->Columns()->Add();
    copy->SetReadOnly(true);  // RestoreDefaults drops what the source lacks
    copy->Assign(source);
    EXPECT_EQ(copy->FieldName(), QStringLiteral("Amount"));
    EXPECT_EQ(copy->AssignedValues(), TKelColumnValues(cvColor | cvWidth | cvTitleCaption));
    EXPECT_EQ(copy->Color(), tk::clLime);
    EXPECT_EQ(copy->TrueWidth(), 77);
    EXPECT_FALSE(copy->ReadOnly());
    EXPECT_EQ(copy->Title()->Caption(), QStringLiteral("Importe"));
    EXPECT_EQ(copy->PickList()->Count(), 2);
    EXPECT_EQ(copy->PickOptions(), TKelPickOptions(poListItemsOnly));
    EXPECT_EQ(copy->ExpandCols(), 1);
    EXPECT_EQ(copy->Hint(), QStringLiteral("euros"));

    // Display names for collection editors.
    EXPECT_EQ(copy->DisplayName(), QStringLiteral("Amount"));
    TKelColumn* captioned = grid->Columns()->Add();
    captioned->Title()->SetCaption(QStringLiteral("A caption of more than twenty"));
    EXPECT_EQ(captioned->DisplayName(), QStringLiteral("(A caption of more th...)"));
}

}  // namespace
}  // namespace kelgrid::test
