// Check-box columns: every value against the checked and unchecked texts,
// the image index by kind and image count, and the toggle, which does
// nothing (and raises nothing) while the dataset is closed.

#include "tests/kelgrid/grid_fixture.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/pictures.h"

namespace kelgrid::test {
namespace {

struct StateRow {
    const char* name;
    const char* values;  // CheckBoxValues ("" for the default)
    const char* value;   // the Owner field's value
    int state;           // 1 checked, 0 unchecked, 2 neither
};

class ColumnCheckBoxStateTest : public GridFixture, public ::testing::WithParamInterface<StateRow> {};

TEST_P(ColumnCheckBoxStateTest, TheValueIsComparedWithBothTextsInAnyCase)
{
    const StateRow& row = GetParam();
    TKelColumn* column = grid->Columns()->Add();
    column->SetFieldName(QStringLiteral("Owner"));
    column->SetCheckBox(true);
    column->SetCheckBoxValues(QString::fromUtf8(row.values));
    dataSet.Edit();
    dataSet.FieldByName(QStringLiteral("Owner"))->SetAsString(QString::fromUtf8(row.value));
    EXPECT_EQ(column->CheckBoxState(), row.state);
    EXPECT_EQ(column->IsCheckBoxValue(true), row.state == 1);
    EXPECT_EQ(column->IsCheckBoxValue(false), row.state == 0);
    EXPECT_EQ(column->ImageIndex(), row.state);  // ckCheck, the grid's own glyphs
}

INSTANTIATE_TEST_SUITE_P(
    Table, ColumnCheckBoxStateTest,
    ::testing::Values(StateRow{"CheckedTextInOtherCase", "Si;No", "SI", 1},
                      StateRow{"UncheckedText", "Si;No", "no", 0},
                      StateRow{"NeitherText", "Si;No", "Quizá", 2},
                      StateRow{"EmptyValueIsNeitherWithTwoTexts", "Si;No", "", 2},
                      StateRow{"SingleWordIsTheCheckedText", "Hecho", "hecho", 1},
                      StateRow{"SingleWordLeavesEmptyAsUnchecked", "Hecho", "", 0},
                      StateRow{"SingleWordAnythingElseIsNeither", "Hecho", "Pendiente", 2},
                      StateRow{"DefaultTextsAreTheBooleanOnes", "", "true", 1},
                      StateRow{"DefaultUnchecked", "", "FALSE", 0}),
    [](const ::testing::TestParamInfo<StateRow>& info) { return std::string(info.param.name); });

struct ImageRow {
    const char* name;
    TCheckBoxKind kind;
    int images;  // -1: no image list of its own
    int expected;
};

class ColumnCheckBoxImageTest : public GridFixture, public ::testing::WithParamInterface<ImageRow> {};

TEST_P(ColumnCheckBoxImageTest, TheKindPicksTheGlyphWhenTheImagesHoldIt)
{
    const ImageRow& row = GetParam();
    TKelColumn* column = grid->Columns()->Add();
    column->SetFieldName(QStringLiteral("Paid"));  // Ana Ruiz has paid: checked
    column->SetCheckBox(true);
    column->SetCheckBoxKind(row.kind);
    tk::TImageList images(13, 13);
    if (row.images >= 0) {
        tk::TBitmap strip;
        strip.SetSize(13 * row.images, 13);
        images.Add(strip);
        column->SetImages(&images);
    }
    EXPECT_EQ(column->CheckBoxImageIndex(), row.expected);
    column->SetImages(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Table, ColumnCheckBoxImageTest,
                         ::testing::Values(ImageRow{"CheckWithTheGridsGlyphs", ckCheck, -1, 1},
                                           ImageRow{"CrossWithTheGridsGlyphs", ckCross, -1, 4},
                                           ImageRow{"BoxWithTheGridsGlyphs", cbBox, -1, 7},
                                           ImageRow{"CrossWithEnoughImages", ckCross, 6, 4},
                                           ImageRow{"CrossWithTooFewImagesFallsBackToCheck", ckCross, 4, 1},
                                           ImageRow{"BoxWithTooFewImages", cbBox, 7, 1}),
                         [](const ::testing::TestParamInfo<ImageRow>& info) {
                             return std::string(info.param.name);
                         });

using ColumnCheckBoxTest = GridFixture;

TEST_F(ColumnCheckBoxTest, ToggleFlipsTheFieldBetweenTheTwoTexts)
{
    TKelColumn* column = grid->Columns()->Add();
    column->SetFieldName(QStringLiteral("Owner"));
    column->SetCheckBoxValues(QStringLiteral("Ana Ruiz;Nadie"));
    column->ToggleCheckBoxValue();  // not a check box yet: nothing
    tk::TField* owner = dataSet.FieldByName(QStringLiteral("Owner"));
    EXPECT_EQ(owner->AsString(), QStringLiteral("Ana Ruiz"));

    column->SetCheckBox(true);
    column->ToggleCheckBoxValue();
    EXPECT_EQ(owner->AsString(), QStringLiteral("Nadie"));
    column->ToggleCheckBoxValue();
    EXPECT_EQ(owner->AsString(), QStringLiteral("Ana Ruiz"));
    // Any other value becomes the checked text; ColSetText sees it first.
    owner->SetAsString(QStringLiteral("Otro"));
    grid->OnColSetText = [](TKelCustomDBGrid*, TKelColumn*, QString& text) { text = text.toUpper(); };
    column->ToggleCheckBoxValue();
    EXPECT_EQ(owner->AsString(), QStringLiteral("ANA RUIZ"));

    // A read-only grid is left alone.
    grid->OnColSetText = nullptr;
    grid->SetReadOnly(true);
    column->ToggleCheckBoxValue();
    EXPECT_EQ(owner->AsString(), QStringLiteral("ANA RUIZ"));
}

TEST_F(ColumnCheckBoxTest, AFieldLessCheckBoxSelectsTheCurrentRow)
{
    grid->SetOptionsExt(grid->OptionsExt() | dgAutoSelectColumn);
    TKelColumn* select = grid->Columns()->Items(0);
    ASSERT_TRUE(select->CheckBox());
    EXPECT_EQ(select->CheckBoxState(), 0);
    select->ToggleCheckBoxValue();
    EXPECT_EQ(grid->SelectedRows()->Count(), 1);
    EXPECT_EQ(select->CheckBoxState(), 1);
    dataSet.Next();
    EXPECT_EQ(select->CheckBoxState(), 0);
    select->ToggleCheckBoxValue();
    EXPECT_EQ(grid->SelectedRows()->Count(), 2);
    select->ToggleCheckBoxValue();
    EXPECT_EQ(grid->SelectedRows()->Count(), 1);
    EXPECT_EQ(select->CheckBoxState(), 0);
}

TEST_F(ColumnCheckBoxTest, TogglingOnAClosedDatasetDoesNothing)
{
    TKelColumn* paid = grid->Columns()->Add();
    paid->SetFieldName(QStringLiteral("Paid"));
    paid->SetCheckBox(true);
    grid->SetOptionsExt(grid->OptionsExt() | dgAutoSelectColumn);
    grid->Columns()->RebuildColumns();
    TKelColumn* select = grid->Columns()->Items(0);
    ASSERT_TRUE(select->CheckBox());
    ASSERT_EQ(select->FieldName(), QString());

    dataSet.Close();
    EXPECT_NO_THROW(select->ToggleCheckBoxValue());
    EXPECT_NO_THROW(grid->Columns()->Items(grid->Columns()->Count() - 1)->ToggleCheckBoxValue());
    // A field-less check box shows the row unselected while closed.
    EXPECT_TRUE(select->IsCheckBoxValue(false));
    EXPECT_EQ(select->CheckBoxState(), 0);
    EXPECT_FALSE(dataSet.Active());
}

}  // namespace
}  // namespace kelgrid::test
