// How column changes reach the grid: a change of one column repaints it and
// re-applies its width, a change of the layout re-lays out the grid, and
// nothing is reported while the grid is loading. Also: a dataset-made
// column whose field is freed, cell images, and access by Qt's own
// property functions.

#include "tests/kelgrid/grid_fixture.h"
#include "toolkit/data/fields.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/pictures.h"

namespace kelgrid::test {
namespace {

struct ChangeRow {
    const char* name;
    void (*prepare)(TKelColumn*);
    void (*change)(TKelColumn*);
    bool relayout;
};

class ColumnChangeTest : public GridFixture, public ::testing::WithParamInterface<ChangeRow> {};

TEST_P(ColumnChangeTest, AChangeRepaintsTheColumnOrReLaysOutTheGrid)
{
    grid->BeginLayout();
    for (const char* name : {"Id", "Owner", "Amount"})
        grid->Columns()->Add()->SetFieldName(QString::fromLatin1(name));
    grid->EndLayout();
    TKelColumn* column = grid->Columns()->Items(0);
    if (GetParam().prepare)
        GetParam().prepare(column);
    int layouts = 0;
    grid->OnLayout = [&](TKelCustomDBGrid*) { ++layouts; };
    GetParam().change(column);
    EXPECT_EQ(layouts, GetParam().relayout ? 1 : 0);
}

void Group(TKelColumn* column)
{
    column->SetExpandCols(1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColumnChangeTest,
    ::testing::Values(
        ChangeRow{"Visible", nullptr, [](TKelColumn* c) { c->SetVisible(false); }, true},
        ChangeRow{"AutoNumber", nullptr, [](TKelColumn* c) { c->SetAutoNumber(true); }, true},
        ChangeRow{"CheckBox", nullptr, [](TKelColumn* c) { c->SetCheckBox(true); }, true},
        ChangeRow{"ShowEdit", nullptr, [](TKelColumn* c) { c->SetShowEdit(false); }, true},
        ChangeRow{"ExpandCols", nullptr, [](TKelColumn* c) { c->SetExpandCols(1); }, true},
        ChangeRow{"ExpandStyle", nullptr, [](TKelColumn* c) { c->SetExpandStyle(cesNone); }, true},
        ChangeRow{"Expanded", Group, [](TKelColumn* c) { c->SetExpanded(false); }, true},
        ChangeRow{"TitleHeader", nullptr, [](TKelColumn* c) { c->Title()->SetHeader(QStringLiteral("A|B")); },
                  true},
        ChangeRow{"TitleFont", nullptr, [](TKelColumn* c) { c->Title()->Font()->SetSize(15); }, true},
        ChangeRow{"TitleCaptionOfAGroup", Group,
                  [](TKelColumn* c) { c->Title()->SetCaption(QStringLiteral("Grupo")); }, true},
        ChangeRow{"TitleCaption", nullptr,
                  [](TKelColumn* c) { c->Title()->SetCaption(QStringLiteral("Núm")); }, false},
        ChangeRow{"TitleColor", nullptr, [](TKelColumn* c) { c->Title()->SetColor(tk::clRed); }, false},
        ChangeRow{"Color", nullptr, [](TKelColumn* c) { c->SetColor(tk::clRed); }, false},
        ChangeRow{"Font", nullptr, [](TKelColumn* c) { c->Font()->SetSize(15); }, false},
        ChangeRow{"Width", nullptr, [](TKelColumn* c) { c->SetWidth(90); }, false},
        ChangeRow{"Alignment", nullptr, [](TKelColumn* c) { c->SetAlignment(tk::taCenter); }, false},
        ChangeRow{"UnchangedVisible", nullptr, [](TKelColumn* c) { c->SetVisible(true); }, false}),
    [](const ::testing::TestParamInfo<ChangeRow>& info) { return std::string(info.param.name); });

using ColumnRoutingTest = GridFixture;

TEST_F(ColumnRoutingTest, AColumnsWidthReachesTheGridAndNothingIsReportedWhileLoading)
{
    TKelColumn* owner = grid->Columns()->Add();
    owner->SetFieldName(QStringLiteral("Owner"));
    const int raw = grid->DataToRawColumn(owner->Index());
    owner->SetWidth(90);
    EXPECT_EQ(grid->ColWidths(raw), 90);

    int layouts = 0;
    grid->OnLayout = [&](TKelCustomDBGrid*) { ++layouts; };
    grid->SetState(tk::TComponentStateFlag::csLoading);
    owner->SetVisible(false);
    owner->SetWidth(120);
    owner->Title()->SetHeader(QStringLiteral("A|B"));
    EXPECT_EQ(layouts, 0);
    EXPECT_EQ(grid->ColWidths(raw), 90);
    grid->SetState(tk::TComponentStateFlag::csLoading, false);
    grid->LayoutChanged();
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(owner->TrueWidth(), 120);
}

TEST_F(ColumnRoutingTest, ADatasetMadeColumnWhoseFieldIsFreedGoesWithIt)
{
    TKelColumn* amount = grid->Columns()->Items(2);
    ASSERT_EQ(amount->FieldName(), QStringLiteral("Amount"));
    amount->SetColor(tk::clRed);
    delete dataSet.FieldByName(QStringLiteral("Amount"));
    QStringList names;
    for (int i = 0; i < grid->Columns()->Count(); ++i)
        names << grid->Columns()->Items(i)->FieldName();
    EXPECT_EQ(names.join(QLatin1Char(' ')), QStringLiteral("Id Owner Paid"));
    EXPECT_EQ(grid->ColCount(), 4);
}

TEST(ColumnFieldRemoval, AFieldFreedOutsideAGridUnbindsAndResetsADatasetMadeColumn)
{
    TKelDBGridColumns columns(nullptr);
    TKelColumn* stored = columns.Add();
    TKelColumn* made = columns.InternalAdd();
    auto field = std::make_unique<tk::TStringField>();
    field->SetFieldName(QStringLiteral("Name"));
    stored->SetField(field.get());
    made->SetField(field.get());
    made->SetHint(QStringLiteral("kept until the field goes"));
    EXPECT_EQ(made->FieldName(), QStringLiteral("Name"));
    field.reset();
    EXPECT_EQ(stored->Field(), nullptr);
    EXPECT_EQ(stored->FieldName(), QStringLiteral("Name"));
    EXPECT_EQ(made->Field(), nullptr);
    EXPECT_EQ(made->FieldName(), QString());
    EXPECT_EQ(made->Hint(), QString());
}

TEST_F(ColumnRoutingTest, ImagesAreCopiedAndBlendedWhileTheGridIsDisabled)
{
    TKelColumn* column = grid->Columns()->Add();
    tk::TImageList images(4, 4);
    tk::TBitmap red;
    red.SetSize(4, 4);
    red.Canvas()->Brush()->SetColor(tk::clRed);
    red.Canvas()->FillRect(QRect(0, 0, 4, 4));
    images.Add(red);
    column->SetImages(&images);
    EXPECT_EQ(column->Image(1), nullptr);
    EXPECT_EQ(column->Image(-1), nullptr);
    EXPECT_EQ(column->Image(0)->Image().pixelColor(1, 1), QColor(Qt::red));

    grid->SetEnabled(false);
    const QColor blended = column->Image(0)->Image().pixelColor(1, 1);
    EXPECT_NE(blended, QColor(Qt::red));
    EXPECT_GT(blended.green(), 0);  // halfway towards the grey fixed colour

    // Cell image indexes: a Boolean's 0 or 1, a number's value, else -1.
    TKelColumn* paid = grid->Columns()->Add();
    paid->SetFieldName(QStringLiteral("Paid"));
    EXPECT_EQ(paid->ImageIndex(), 1);
    TKelColumn* id = grid->Columns()->Add();
    id->SetFieldName(QStringLiteral("Id"));
    EXPECT_EQ(id->ImageIndex(), 1);
    TKelColumn* owner = grid->Columns()->Add();
    owner->SetFieldName(QStringLiteral("Owner"));
    EXPECT_EQ(owner->ImageIndex(), -1);
    EXPECT_EQ(column->ImageIndex(), -1);
}

TEST(ColumnByName, QtsOwnPropertyFunctionsTakeEnumerationAndSetNames)
{
    TKelDBGrid grid;
    TKelColumn* column = grid.Columns()->Add();
    EXPECT_TRUE(column->setProperty("ButtonStyle", QStringLiteral("cbsEllipsis")));
    EXPECT_EQ(column->ButtonStyle(), cbsEllipsis);
    EXPECT_TRUE(column->setProperty("PickOptions", QStringLiteral("poListItemsOnly|poStoreItemIndex")));
    EXPECT_EQ(column->PickOptions(), TKelPickOptions(poListItemsOnly | poStoreItemIndex));
    EXPECT_TRUE(column->Title()->setProperty("VAlignment", QStringLiteral("tvBottomJustify")));
    EXPECT_EQ(column->Title()->VAlignment(), tvBottomJustify);
    EXPECT_EQ(column->property("Title").value<TKelColumnTitle*>(), column->Title());
    EXPECT_EQ(column->property("WidthMin").toInt(), -1);
}

}  // namespace
}  // namespace kelgrid::test
