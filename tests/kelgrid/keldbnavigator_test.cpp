#include "kelgrid/controls/keldbctrls.h"

#include "tests/kelgrid/grid_fixture.h"
#include "tests/support/modal_answerer.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/resourcestring.h"
#include "toolkit/ui/pictures.h"
#include "toolkit/ui/themes.h"

#include <QScopeGuard>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace kelgrid {
namespace {

using tk::TNavigateBtn;

class KelDBNavigatorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::FillFees(dataSet);
        source.SetDataSet(&dataSet);
        window.resize(420, 260);
        navigator = new TKelDBNavigator(&window);
        navigator->setGeometry(0, 0, 250, 25);
        navigator->SetDataSource(&source);
    }
    void Show()
    {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    int CurrentId() { return dataSet.FieldByName(QStringLiteral("Id"))->AsInteger(); }
    TKelDBNavButton* Button(TNavigateBtn button) const { return navigator->KelButton(button); }
    void ClickButton(TNavigateBtn button)
    {
        tk::TNavButton* b = navigator->Button(button);
        tk::test::WidgetDriver(b).Click(b->rect().center());
    }

    tk::TClientDataSet dataSet;
    tk::TDataSource source;
    QWidget window;
    TKelDBNavigator* navigator = nullptr;
};

TEST_F(KelDBNavigatorTest, ButtonsAreReplacedKeepingGlyphsHintsAndPositions)
{
    for (int i = 0; i < tk::NavigatorButtonCount; ++i) {
        const auto kind = static_cast<TNavigateBtn>(i);
        TKelDBNavButton* button = Button(kind);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Index(), kind);
        EXPECT_EQ(button->geometry(), QRect(20 * i, 0, 20, 18));
        EXPECT_EQ(button->NumGlyphs(), 2);
        EXPECT_EQ(button->Glyph()->Width(), 32);
        EXPECT_EQ(button->Hint(), tk::TDBNavigator::DefaultHint(kind));
    }
    EXPECT_EQ(navigator->findChildren<tk::TNavButton*>().size(), tk::NavigatorButtonCount);
    // The inherited resize lays them out at equal widths.
    navigator->SetVisibleButtons(tk::AllNavButtons & ~tk::NavButtonBit(tk::nbDelete));
    Show();
    navigator->resize(180, 24);
    EXPECT_FALSE(Button(tk::nbDelete)->isVisible());
    EXPECT_EQ(Button(tk::nbFirst)->geometry(), QRect(0, 0, 20, 24));
    EXPECT_EQ(Button(tk::nbEdit)->geometry(), QRect(100, 0, 20, 24));
    EXPECT_EQ(Button(tk::nbRefresh)->geometry(), QRect(160, 0, 20, 24));
    // The replaced buttons still run the navigator's actions and enabling.
    EXPECT_FALSE(Button(tk::nbFirst)->Enabled());
    ClickButton(tk::nbLast);
    EXPECT_EQ(CurrentId(), 5);
    EXPECT_TRUE(Button(tk::nbFirst)->Enabled());
    EXPECT_FALSE(Button(tk::nbLast)->Enabled());
}

TEST_F(KelDBNavigatorTest, CaptionsTakeDefaultsForEmptyOrMissingLines)
{
    for (int i = 0; i < tk::NavigatorButtonCount; ++i)
        EXPECT_TRUE(Button(static_cast<TNavigateBtn>(i))->Caption().isEmpty());
    navigator->Captions()->SetText(QStringLiteral("Start\n"));
    EXPECT_TRUE(Button(tk::nbFirst)->Caption().isEmpty());
    navigator->SetShowCaptions(true);
    EXPECT_EQ(Button(tk::nbFirst)->Caption(), QStringLiteral("Start"));
    EXPECT_EQ(Button(tk::nbPrior)->Caption(), QStringLiteral("Prior"));
    EXPECT_EQ(Button(tk::nbRefresh)->Caption(), QStringLiteral("Refresh"));
    navigator->SetShowCaptions(false);
    EXPECT_TRUE(Button(tk::nbFirst)->Caption().isEmpty());

    // The defaults' text leaves the list empty; while designed it reads
    // back the defaults.
    tk::TStringList defaults;
    for (int i = 0; i < tk::NavigatorButtonCount; ++i)
        defaults.Add(TKelDBNavigator::DefaultCaption(static_cast<TNavigateBtn>(i)));
    navigator->SetCaptions(&defaults);
    EXPECT_EQ(navigator->Captions()->Count(), 0);
    navigator->SetState(tk::TComponentStateFlag::csDesigning);
    EXPECT_EQ(navigator->Captions()->Text(), defaults.Text());
    navigator->SetState(tk::TComponentStateFlag::csDesigning, false);
    tk::TStringList other;
    other.Add(QStringLiteral("Begin"));
    navigator->SetCaptions(&other);
    EXPECT_EQ(navigator->Captions()->Text(), other.Text());
}

TEST_F(KelDBNavigatorTest, SettingsPassToEveryButton)
{
    navigator->SetFine(true);
    navigator->SetFineTheme(ftUnderline);
    navigator->SetLayout(tk::blGlyphTop);
    navigator->SetMargin(2);
    navigator->SetSpacing(1);
    navigator->SetFlat(true);
    for (int i = 0; i < tk::NavigatorButtonCount; ++i) {
        TKelDBNavButton* button = Button(static_cast<TNavigateBtn>(i));
        EXPECT_TRUE(button->Fine());
        EXPECT_EQ(button->FineTheme(), ftUnderline);
        EXPECT_EQ(button->Layout(), tk::blGlyphTop);
        EXPECT_EQ(button->Margin(), 2);
        EXPECT_EQ(button->Spacing(), 1);
        EXPECT_TRUE(button->Flat());
        EXPECT_FALSE(button->Transparent());
    }
    // Flat buttons on a parent background are transparent.
    navigator->SetParentBackground(true);
    EXPECT_TRUE(Button(tk::nbNext)->Transparent());
    navigator->SetFlat(false);
    EXPECT_FALSE(Button(tk::nbNext)->Transparent());
    navigator->SetFlat(true);
    EXPECT_TRUE(Button(tk::nbNext)->Transparent());
    navigator->SetParentBackground(false);
    EXPECT_FALSE(Button(tk::nbNext)->Transparent());

    // The gradient's settings reach the buttons.
    navigator->Gradient()->SetStartColor(tk::clRed);
    EXPECT_EQ(Button(tk::nbPost)->Gradient()->StartColor(), tk::clRed);
    navigator->Gradient()->SetActive(false);
    EXPECT_FALSE(Button(tk::nbPost)->Gradient()->Active());
}

TEST_F(KelDBNavigatorTest, FlatTransparentButtonsShowTheParent)
{
    tk::SetThemesEnabled(false);
    const auto restore = qScopeGuard([] { tk::SetThemesEnabled(true); });
    window.setAutoFillBackground(true);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, Qt::green);
    window.setPalette(palette);
    navigator->SetFlat(true);
    navigator->SetParentBackground(true);
    Show();
    const QImage image = window.grab(navigator->geometry()).toImage();
    // A corner of the third button (at rest, no frame) shows the window.
    const QRect third = Button(tk::nbNext)->geometry();
    EXPECT_EQ(image.pixelColor(third.left() + 1, third.bottom() - 1), QColor(Qt::green));
    navigator->SetParentBackground(false);
    const QImage opaque = window.grab(navigator->geometry()).toImage();
    EXPECT_NE(opaque.pixelColor(third.left() + 1, third.bottom() - 1), QColor(Qt::green));
}

TEST_F(KelDBNavigatorTest, WithoutGradientButtonsPaintLikeThePlainOnes)
{
    tk::SetThemesEnabled(false);
    const auto restore = qScopeGuard([] { tk::SetThemesEnabled(true); });
    Show();
    tk::TDBNavigator plain(&window);
    plain.setGeometry(0, 100, 250, 25);
    plain.SetDataSource(&source);
    plain.show();
    // Same glyphs on the plain buttons, so that only the painting differs.
    for (int i = 0; i < tk::NavigatorButtonCount; ++i) {
        const auto kind = static_cast<TNavigateBtn>(i);
        plain.Button(kind)->SetGlyph(Button(kind)->Glyph());
        plain.Button(kind)->SetNumGlyphs(2);
        plain.Button(kind)->setGeometry(Button(kind)->geometry());
    }
    const TNavigateBtn sample = tk::nbNext;  // enabled at the first record
    const QImage withGradient = Button(sample)->grab().toImage();
    navigator->Gradient()->SetActive(false);
    const QImage kel = Button(sample)->grab().toImage();
    const QImage reference = plain.Button(sample)->grab().toImage();
    EXPECT_EQ(kel.convertToFormat(QImage::Format_RGB32), reference.convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(withGradient.convertToFormat(QImage::Format_RGB32), reference.convertToFormat(QImage::Format_RGB32));
    // The pressed look too.
    const QPoint centre = Button(sample)->rect().center();
    tk::test::WidgetDriver(Button(sample)).MouseDown(centre);
    tk::test::WidgetDriver(plain.Button(sample)).MouseDown(centre);
    const QImage kelPressed = Button(sample)->grab().toImage();
    const QImage plainPressed = plain.Button(sample)->grab().toImage();
    tk::test::WidgetDriver(Button(sample)).MouseUp(QPoint(-50, -50));
    tk::test::WidgetDriver(plain.Button(sample)).MouseUp(QPoint(-50, -50));
    EXPECT_EQ(kelPressed.convertToFormat(QImage::Format_RGB32), plainPressed.convertToFormat(QImage::Format_RGB32));
    EXPECT_NE(kelPressed.convertToFormat(QImage::Format_RGB32), kel.convertToFormat(QImage::Format_RGB32));
}

TEST_F(KelDBNavigatorTest, PlainButtonsShowTheHotGradientAndTheBarItsBackground)
{
    tk::SetThemesEnabled(false);
    const auto restore = qScopeGuard([] { tk::SetThemesEnabled(true); });
    navigator->Gradient()->SetStartColor(tk::clRed);
    navigator->Gradient()->SetHotColor(tk::clLime);
    navigator->Gradient()->SetOptions(navigator->Gradient()->Options() | goHotColor);
    navigator->SetVisibleButtons(tk::NavButtonBit(tk::nbNext));
    navigator->resize(100, 30);
    Show();
    // Buttons fill the bar; a narrower one leaves room for the bar's face.
    TKelDBNavButton* button = Button(tk::nbNext);
    button->setGeometry(0, 0, 40, 30);
    const QImage bar = navigator->grab().toImage();
    EXPECT_NE(bar.pixelColor(70, 2), tk::ColorToQColor(tk::clBtnFace));
    navigator->Gradient()->SetActive(false);
    EXPECT_EQ(navigator->grab().toImage().pixelColor(70, 2), tk::ColorToQColor(tk::clBtnFace));
    navigator->Gradient()->SetActive(true);

    tk::test::WidgetDriver(button).Leave();
    const QImage atRest = button->grab().toImage();
    tk::test::WidgetDriver(button).MouseMove(QPoint(20, 15));
    ASSERT_TRUE(button->MouseInControl());
    const QImage hot = button->grab().toImage();
    EXPECT_NE(hot, atRest);
    // The frame stays the plain button's frame.
    EXPECT_EQ(hot.pixelColor(0, 0), atRest.pixelColor(0, 0));
    tk::test::WidgetDriver(button).Leave();
    EXPECT_EQ(button->grab().toImage(), atRest);
}

TEST_F(KelDBNavigatorTest, ThemedFineButtonsMarkOnlyTheHotButton)
{
    ASSERT_TRUE(tk::ThemesEnabled());
    navigator->SetFlat(true);
    navigator->SetFine(true);
    navigator->SetShowCaptions(true);
    navigator->resize(400, 25);
    Show();
    TKelDBNavButton* button = Button(tk::nbNext);
    for (TFineTheme theme : {ftBorder, ftUnderline}) {
        navigator->SetFineTheme(theme);
        tk::test::WidgetDriver(button).Leave();
        const QImage atRest = button->grab().toImage();
        tk::test::WidgetDriver(button).MouseMove(button->rect().center());
        ASSERT_TRUE(button->MouseInControl());
        const QImage hot = button->grab().toImage();
        EXPECT_NE(hot, atRest) << theme;
        tk::test::WidgetDriver(button).Leave();
        EXPECT_EQ(button->grab().toImage(), atRest) << theme;
    }
}

TEST_F(KelDBNavigatorTest, DeleteWithSeveralSelectedRowsDeletesExactlyThose)
{
    auto* grid = new TKelDBGrid(&window);
    grid->setGeometry(0, 30, 400, 200);
    grid->SetOptions(grid->Options() | dgMultiSelect);
    grid->SetOptionsEx(grid->OptionsEx() & ~TKelDBGridOptionsEx(dgDelaySelectedRows));
    grid->SetDataSource(&source);
    Show();
    // Select Bernardo (2) and Diego (4); the current record is Elena (5).
    dataSet.Locate(QStringLiteral("Id"), tk::Variant(2));
    grid->SelectedRows()->SetCurrentRowSelected(true);
    dataSet.Locate(QStringLiteral("Id"), tk::Variant(4));
    grid->SelectedRows()->SetCurrentRowSelected(true);
    dataSet.Last();
    ASSERT_EQ(grid->SelectedRows()->Count(), 2);

    tk::test::ModalAnswerer answerer;
    answerer.Answer = QMessageBox::No;
    ClickButton(tk::nbDelete);
    ASSERT_EQ(answerer.Boxes().size(), 1);
    EXPECT_EQ(answerer.Boxes()[0].text, tk::LoadResString(&tk::SDeleteMultipleRecordsQuestion));
    EXPECT_EQ(dataSet.RecordCount(), 5);
    EXPECT_EQ(grid->SelectedRows()->Count(), 2);

    answerer.Answer = QMessageBox::Yes;
    ClickButton(tk::nbDelete);
    EXPECT_EQ(answerer.Boxes().size(), 2);
    EXPECT_EQ(grid->SelectedRows()->Count(), 0);
    QList<int> ids;
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        ids << CurrentId();
    EXPECT_EQ(ids, QList<int>({1, 3, 5}));
    dataSet.Last();
    EXPECT_EQ(CurrentId(), 5);

    // One selected row: the plain question and the current record only.
    dataSet.First();
    grid->SelectedRows()->SetCurrentRowSelected(true);
    dataSet.Last();
    ClickButton(tk::nbDelete);
    ASSERT_EQ(answerer.Boxes().size(), 3);
    EXPECT_EQ(answerer.Boxes()[2].text, tk::LoadResString(&tk::SDeleteRecordQuestion));
    EXPECT_EQ(dataSet.RecordCount(), 2);
    dataSet.First();
    EXPECT_EQ(CurrentId(), 1);
}

}  // namespace
}  // namespace kelgrid
