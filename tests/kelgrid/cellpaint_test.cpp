// The grid's painting, checked by grabbing the viewport offscreen and
// testing pixels at cell positions: backgrounds by stripe and selection,
// images in the indicator, check boxes and sort markers, merged titles,
// the totals band, and painting that neither moves the dataset nor raises.

#include "kelgrid/controls/gradient.h"
#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/columntotal.h"
#include "tests/kelgrid/grid_fixture.h"
#include "toolkit/core/application.h"
#include "toolkit/core/localefacts.h"
#include "toolkit/data/datalink.h"
#include "toolkit/ui/colors.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/pictures.h"
#include "toolkit/ui/themes.h"

#include <QApplication>
#include <QImage>
#include <QPalette>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <algorithm>
#include <gtest/gtest.h>

namespace kelgrid::test {
namespace {

// Plain fills: no theme, no gradient, so the colours can be read back.
class CellPaintTest : public GridFixture {
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        grid->SetFixedTheme(ftNone);
        grid->Gradient()->SetActive(false);
        grid->resize(500, 260);
        grid->show();
        tk::Application().OnException = [this](const QString& message) { reported += message; };
    }
    void TearDown() override
    {
        tk::Application().OnException = nullptr;
        GridFixture::TearDown();
    }

    QImage Grab() const { return grid->viewport()->grab().toImage(); }
    // The colour just inside a cell's top-left corner, where no text goes.
    QColor Background(const QImage& image, int col, int row) const
    {
        const QRect rect = grid->CellRect(col, row);
        return image.pixelColor(rect.left() + 1, rect.top() + 1);
    }
    QColor Color(tk::TColor color) const { return tk::ColorToQColor(color, grid->palette()); }
    // Pixels of rect darker than half grey.
    static int DarkPixels(const QImage& image, const QRect& rect)
    {
        int dark = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                dark += image.pixelColor(x, y).lightness() < 128 ? 1 : 0;
        return dark;
    }
    int Raw(const char* field) const
    {
        return grid->DataToRawColumn(grid->ColumnByName(QString::fromLatin1(field))->Index());
    }

    QString reported;
};

// Rows: 0 titles, 1 .. 5 the fees; the first fee is current.
TEST_F(CellPaintTest, StripesAndSelectionColoursMarkRowsCellsAndTheMultiSelection)
{
    grid->SetStripeColor(tk::clYellow);
    grid->SetSelectRowColor(tk::clLime);
    grid->SetSelectCellColor(tk::clRed);
    grid->SetSelectionColor(tk::clBlue);
    grid->SetOptions(grid->Options() | dgAlwaysShowSelection | dgMultiSelect);
    dataSet.MoveBy(3);
    grid->SelectedRows()->SetCurrentRowSelected(true);  // the fourth fee
    dataSet.First();
    const QImage image = Grab();
    const int owner = Raw("Owner");
    const int current = grid->Col();
    EXPECT_EQ(Background(image, current, 1), Color(tk::clRed)) << "the current cell";
    EXPECT_EQ(Background(image, owner == current ? owner + 1 : owner, 1), Color(tk::clLime)) << "its record";
    EXPECT_EQ(Background(image, owner, 2), Color(tk::clYellow)) << "an odd record";
    EXPECT_EQ(Background(image, owner, 3), Color(grid->Color())) << "an even record";
    EXPECT_EQ(Background(image, owner, 4), Color(tk::clBlue)) << "a selected record";
    EXPECT_TRUE(reported.isEmpty()) << reported.toStdString();
}

TEST_F(CellPaintTest, SilverStripesLightenAndTheDefaultLinesDarkenOnASilverGrid)
{
    grid->SetColor(0xC0C0C0);
    grid->SetStripeColor(0xC0C0C0);
    const QImage image = Grab();
    EXPECT_EQ(Background(image, Raw("Owner"), 2), QColor(0xE8, 0xE8, 0xE8));
    const QRect cell = grid->CellRect(Raw("Owner"), 3);
    EXPECT_EQ(image.pixelColor(cell.center().x(), cell.bottom() + 1), QColor(0x80, 0x80, 0x80))
        << "the line below a data cell";
}

TEST_F(CellPaintTest, DataLineColoursPaintTheLinesOrLeaveThemInTheCellsColour)
{
    grid->SetDataRowLineColor(tk::clRed);
    grid->SetDataColLineColor(tk::clNone);
    const QImage image = Grab();
    const QRect cell = grid->CellRect(Raw("Id"), 3);
    EXPECT_EQ(image.pixelColor(cell.center().x(), cell.bottom() + 1), Color(tk::clRed));
    EXPECT_EQ(image.pixelColor(cell.right() + 1, cell.center().y()), Background(image, Raw("Id"), 3));
}

TEST_F(CellPaintTest, TheIndicatorShowsTheCurrentAndTheSelectedRowsAndNothingElse)
{
    grid->SetOptions(grid->Options() | dgMultiSelect);
    dataSet.MoveBy(2);
    grid->SelectedRows()->SetCurrentRowSelected(true);  // the third fee
    dataSet.First();
    const QImage image = Grab();
    auto marks = [&](int row) { return DarkPixels(image, grid->CellRect(0, row).adjusted(2, 2, -2, -2)); };
    EXPECT_GT(marks(1), 10) << "the arrow";
    EXPECT_GT(marks(3), 4) << "the dot";
    EXPECT_EQ(marks(2), 0);
    grid->SetOptions(grid->Options() | dgIndicatorMarkOff);
    EXPECT_EQ(DarkPixels(Grab(), grid->CellRect(0, 1).adjusted(2, 2, -2, -2)), 0);

    dataSet.Edit();
    grid->SetOptions(grid->Options() & ~TKelDBGridOptions(dgIndicatorMarkOff));
    const QImage editing = Grab();
    EXPECT_NE(editing.copy(grid->CellRect(0, 1)), image.copy(grid->CellRect(0, 1))) << "the I-beam";
    dataSet.Cancel();
}

TEST_F(CellPaintTest, AFailingImageIndexHandlerDrawsNoImageAndIsNotPassedOn)
{
    grid->OnCalcImageIndex = [](TKelCustomDBGrid*, TKelColumn*, int&) {
        throw tk::Exception(QStringLiteral("broken handler"));
    };
    const QImage image = Grab();
    EXPECT_EQ(DarkPixels(image, grid->CellRect(0, 1).adjusted(2, 2, -2, -2)), 0);
    EXPECT_TRUE(reported.isEmpty()) << reported.toStdString();
}

TEST_F(CellPaintTest, CheckBoxColumnsShowTheirStateAsImages)
{
    grid->ColumnByName(QStringLiteral("Paid"))->SetCheckBox(true);
    const QImage image = Grab();
    const int paid = Raw("Paid");
    auto centre = [&](int row) {
        const QRect cell = grid->CellRect(paid, row);
        return QRect(cell.center().x() - 5, cell.center().y() - 5, 11, 11);
    };
    // Fees 1 and 3 are paid, 2 and 4 not.
    EXPECT_GT(DarkPixels(image, centre(1)), DarkPixels(image, centre(2)));
    EXPECT_EQ(image.copy(centre(1)), image.copy(centre(3)));
    EXPECT_EQ(image.copy(centre(2)), image.copy(centre(4)));
    EXPECT_GT(DarkPixels(image, centre(2)), 0) << "an unchecked box still has its frame";
}

TEST_F(CellPaintTest, ASortMarkerFollowsTheCaptionOfASortedColumn)
{
    const int amount = Raw("Amount");
    const QRect title = grid->CellRect(amount, 0);
    const int before = DarkPixels(Grab(), title.adjusted(2, 2, -2, -2));
    grid->SetOrderFields(QStringLiteral("Amount"));
    const QImage image = Grab();
    EXPECT_GT(DarkPixels(image, title.adjusted(2, 2, -2, -2)), before);
    EXPECT_GE(grid->ColumnByName(QStringLiteral("Amount"))->Title()->MarkerIndex(), 0);
}

// Columns: Id, Fee (a group over Owner and Amount), Owner, Amount, Paid.
TEST_F(CellPaintTest, AGroupTitleSpansItsColumnsWithoutALineBetweenThem)
{
    grid->Columns()->RebuildColumns();
    TKelColumn* fee = grid->Columns()->Add();
    fee->SetIndex(1);
    fee->Title()->SetCaption(QStringLiteral("Fee"));
    fee->SetExpandCols(2);
    ASSERT_EQ(grid->TitleOffset(), 2);
    const int owner = Raw("Owner");
    TKelColumn* group = nullptr;
    const QRect span = grid->CalcTitleRect(grid->ColumnOfRaw(owner), 0, &group);
    ASSERT_EQ(group, fee);
    EXPECT_EQ(span.left(), grid->CellRect(owner, 0).left());
    EXPECT_EQ(span.right(), grid->CellRect(Raw("Amount"), 0).right());
    // A leaf title outside the group reaches down through both title rows.
    const QRect id = grid->CalcTitleRect(grid->ColumnOfRaw(Raw("Id")), 0);
    EXPECT_EQ(id.bottom(), grid->CellRect(Raw("Id"), 1).bottom());

    const QImage image = Grab();
    const int between = grid->CellRect(owner, 0).right() + 1;
    EXPECT_EQ(image.pixelColor(between, grid->CellRect(owner, 0).center().y()),
              image.pixelColor(between - 4, grid->CellRect(owner, 0).top() + 2))
        << "no line inside the group's title";
    EXPECT_EQ(image.pixelColor(between, grid->CellRect(owner, 1).center().y()), Color(grid->FixedLineColor()))
        << "the line between the captions below it";
    EXPECT_EQ(image.pixelColor(grid->CellRect(Raw("Id"), 0).center().x(), grid->CellRect(Raw("Id"), 0).bottom() + 1),
              image.pixelColor(grid->CellRect(Raw("Id"), 0).center().x(), grid->CellRect(Raw("Id"), 0).top() + 2))
        << "no line across a leaf title that spans both rows";
}

TEST_F(CellPaintTest, NeighboursWithTheSameHeaderShareOneHeaderRow)
{
    grid->Columns()->RebuildColumns();
    grid->ColumnByName(QStringLiteral("Owner"))->Title()->SetHeader(QStringLiteral("Fee"));
    grid->ColumnByName(QStringLiteral("Amount"))->Title()->SetHeader(QStringLiteral("Fee"));
    const int owner = Raw("Owner");
    TKelColumn* column = grid->ColumnOfRaw(owner);
    const QRect title = grid->FullTitleRect(column, 0);
    const QRect header = grid->HeaderRect(column, 0, title);
    EXPECT_EQ(header.right(), grid->CellRect(Raw("Amount"), 0).right());
    EXPECT_EQ(grid->HeaderRow(header.center().y(), column), 0);
    EXPECT_EQ(grid->HeaderRow(title.bottom() - 1, column), -1) << "the caption below the header";

    const QImage image = Grab();
    const int between = grid->CellRect(owner, 0).right() + 1;
    EXPECT_NE(image.pixelColor(between, header.center().y()), Color(grid->FixedLineColor())) << "shared header";
    EXPECT_EQ(image.pixelColor(between, title.bottom() - 2), Color(grid->FixedLineColor())) << "own captions";
}

TEST_F(CellPaintTest, TheTotalsBandShowsItsTextsAtTheBottomWithTheBlankRowAbove)
{
    grid->Columns()->RebuildColumns();
    grid->ColumnByName(QStringLiteral("Owner"))->TotalFooter()->SetCaption(QStringLiteral("Total"));
    grid->SetOptionsEx(grid->OptionsEx() | dgTotalFooter);
    grid->Totals()->SetColor(tk::clAqua);
    ASSERT_EQ(grid->TotalOffset(), 2);
    const int footer = grid->RowCount() - 1;
    const QRect cell = grid->CellRect(Raw("Owner"), footer);
    EXPECT_EQ(cell.bottom() + 1 + grid->GridLineWidth(), grid->viewport()->height()) << "at the bottom edge";
    const QImage image = Grab();
    EXPECT_EQ(Background(image, Raw("Id"), footer), Color(tk::clAqua));
    EXPECT_GT(DarkPixels(image, cell), 10) << "the caption";
    const int blank = footer - 1;
    EXPECT_GE(grid->RowHeights(blank), 0);
}

TEST_F(CellPaintTest, AHiddenColumnAndAnEmptyBlankRowTakeNoPixelsAndNoLine)
{
    grid->Columns()->RebuildColumns();
    grid->SetOptionsEx(grid->OptionsEx() | dgTotalFooter);
    const QRect owner = grid->CellRect(Raw("Owner"), 2);
    grid->ColumnByName(QStringLiteral("Amount"))->SetVisible(false);
    EXPECT_LT(grid->ColWidths(Raw("Amount")), 0) << "hidden by a negative width";
    EXPECT_TRUE(grid->CellRect(Raw("Amount"), 2).isEmpty());
    const QRect paid = grid->CellRect(Raw("Paid"), 2);
    EXPECT_EQ(paid.left(), owner.right() + 1 + grid->GridLineWidth()) << "Paid follows Owner with one line";
    const QImage image = Grab();
    EXPECT_EQ(image.pixelColor(paid.left() + 1, paid.top() + 1), Color(grid->Color()));

    // Rows enough to fill the grid leave the blank row without height.
    dataSet.Last();
    for (int i = 0; i < 20; ++i) {
        dataSet.Append();
        dataSet.FieldByName(QStringLiteral("Owner"))->SetAsString(QStringLiteral("More %1").arg(i));
        dataSet.Post();
    }
    const int blank = grid->RowCount() - grid->TotalOffset();
    EXPECT_GE(grid->RowHeights(blank), -grid->GridLineWidth());
    EXPECT_EQ(grid->CheckConsistency(), QString());
    Grab();
    EXPECT_TRUE(reported.isEmpty()) << reported.toStdString();
}

TEST_F(CellPaintTest, ADisabledGridPaintsItsTextGrey)
{
    const QRect cell = grid->CellRect(Raw("Owner"), 2);
    auto darkest = [&](const QImage& image) {
        int lightness = 255;
        for (int x = cell.left(); x <= cell.right(); ++x)
            for (int y = cell.top(); y <= cell.bottom(); ++y)
                lightness = std::min(lightness, image.pixelColor(x, y).lightness());
        return lightness;
    };
    const int enabled = darkest(Grab());
    // The offscreen platform's grey text is almost black: make it grey.
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    grid->setPalette(palette);
    grid->setEnabled(false);
    const int disabled = darkest(Grab());
    EXPECT_LT(enabled, disabled);
    EXPECT_GE(disabled, Color(tk::clGrayText).lightness() - 8) << "no text darker than the grey";
}

// Counts what a data link hears, so painting can be shown to tell it nothing.
class CountingLink : public tk::TDataLink {
public:
    int events = 0;

protected:
    void ActiveChanged() override { ++events; }
    void DataSetChanged() override { ++events; }
    void DataSetScrolled(int) override { ++events; }
    void EditingChanged() override { ++events; }
    void LayoutChanged() override { ++events; }
    void RecordChanged(tk::TField*) override { ++events; }
};

TEST_F(CellPaintTest, PaintingNeitherMovesTheDatasetNorTellsItsLinks)
{
    CountingLink link;
    link.SetDataSource(&source);
    dataSet.MoveBy(2);
    const int recNo = dataSet.RecNo();
    const int before = link.events;
    grid->SetStripeColor(tk::clYellow);
    grid->SetOptions(grid->Options() | dgMultiSelect);
    Grab();
    EXPECT_EQ(dataSet.RecNo(), recNo);
    EXPECT_EQ(link.events, before);
    link.SetDataSource(nullptr);
}

TEST_F(CellPaintTest, EmptyClosedAndSingleRowDatasetsPaintWithoutRaising)
{
    while (!dataSet.IsEmpty())
        dataSet.Delete();
    Grab();
    dataSet.Append();
    dataSet.FieldByName(QStringLiteral("Owner"))->SetAsString(QStringLiteral("Sola"));
    dataSet.Post();
    const QImage one = Grab();
    EXPECT_GT(DarkPixels(one, grid->CellRect(Raw("Owner"), 1)), 10);
    grid->SetOptionsEx(grid->OptionsEx() | dgTotalFooter);
    dataSet.Close();
    const QImage closed = Grab();
    EXPECT_EQ(grid->TitleOffset(), 1) << "titles still shown";
    EXPECT_TRUE(reported.isEmpty()) << reported.toStdString();
}

TEST_F(CellPaintTest, OnPaintColumnCellMayRecolourACellAndDrawingEventsFirePerCell)
{
    int columnCells = 0;
    int dataCells = 0;
    grid->OnPaintColumnCell = [](TKelCustomDBGrid*, const QRect&, int, TKelColumn* column, bool, TSelection,
                                 tk::TColor& color, tk::TFont*, QImage&) {
        if (column->FieldName() == QLatin1String("Amount"))
            color = tk::clFuchsia;
    };
    grid->OnDrawColumnCell = [&](TKelCustomDBGrid*, const QRect&, int, TKelColumn*, tk::TGridDrawState) {
        ++columnCells;
    };
    grid->OnDrawDataCell = [&](TKelCustomDBGrid*, const QRect&, tk::TField*, tk::TGridDrawState) { ++dataCells; };
    const QImage image = Grab();
    EXPECT_EQ(Background(image, Raw("Amount"), 3), Color(tk::clFuchsia));
    EXPECT_EQ(columnCells, 5 * 4);
    EXPECT_EQ(dataCells, 5 * 4) << "default columns";
    grid->Columns()->RebuildColumns();
    columnCells = dataCells = 0;
    Grab();
    EXPECT_EQ(columnCells, 5 * 4);
    EXPECT_EQ(dataCells, 0) << "customised columns";
}

TEST_F(CellPaintTest, FixedColorReachesTheCornerHeadersAndTotalsUnlessTheyWereSetThemselves)
{
    grid->SetHeaderColor(tk::clGreen);
    grid->SetFixedColor(tk::clTeal);
    EXPECT_EQ(grid->FillerColor(), tk::clTeal);
    EXPECT_EQ(grid->HeaderColor(), tk::clGreen);
    EXPECT_EQ(grid->Totals()->Color(), tk::clTeal);
    const QImage image = Grab();
    EXPECT_EQ(Background(image, 0, 2), Color(tk::clTeal)) << "an indicator cell";
}

// Image k of the list is a plain square in colour k; the Id column shows
// image Id (fees 1 .. 5).
TEST_F(CellPaintTest, AnImageColumnShowsItsImageAndAWallpaperKeepsTheTextOverIt)
{
    const tk::TColor colours[] = {tk::clBlack, tk::clRed, tk::clLime, tk::clBlue, tk::clFuchsia, tk::clAqua};
    tk::TImageList images(16, 16);
    for (tk::TColor colour : colours) {
        tk::TBitmap square;
        square.SetSize(16, 16);
        square.Canvas()->Brush()->SetColor(colour);
        square.Canvas()->FillRect(QRect(0, 0, 16, 16));
        images.Add(square);
    }
    grid->Columns()->RebuildColumns();
    TKelColumn* id = grid->ColumnByName(QStringLiteral("Id"));
    id->SetImages(&images);
    const int raw = Raw("Id");
    const QImage image = Grab();
    for (int row = 1; row <= 3; ++row)
        EXPECT_EQ(image.pixelColor(grid->CellRect(raw, row).center()), Color(colours[row])) << "fee " << row;
    EXPECT_EQ(DarkPixels(image, grid->CellRect(raw, 2)), 0) << "no text beside an image";

    id->SetWallpaper(true);
    id->SetImageDraw(idStretch);
    id->Font()->SetColor(tk::clWhite);
    const QImage wallpaper = Grab();
    const QRect cell = grid->CellRect(raw, 3);
    EXPECT_EQ(wallpaper.pixelColor(cell.left() + 1, cell.top() + 1), Color(tk::clBlue)) << "stretched to the cell";
    int white = 0;
    for (int x = cell.left(); x <= cell.right(); ++x)
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            white += wallpaper.pixelColor(x, y).lightness() > 200 ? 1 : 0;
    EXPECT_GT(white, 3) << "the text over the wallpaper";
    id->SetImages(nullptr);
}

TEST_F(CellPaintTest, ARightToLeftGridAlignsItsTextsFromTheRightUnlessAColumnSuppressesIt)
{
    const QScopedValueRollback rightToLeft(tk::LocaleFacts().RightToLeft, true);
    grid->SetBiDiMode(tk::bdRightToLeft);
    ASSERT_TRUE(grid->UseRightToLeftAlignment());
    auto inkAt = [&](const QImage& image, const QRect& cell, bool rightHalf) {
        const int half = cell.width() / 2;
        return DarkPixels(image, QRect(rightHalf ? cell.left() + half : cell.left(), cell.top(), half, cell.height()));
    };
    const QRect owner = grid->CellRect(Raw("Owner"), 2);
    const QImage image = Grab();
    EXPECT_GT(inkAt(image, owner, true), 0);
    EXPECT_EQ(inkAt(image, owner, false), 0) << "a left-aligned text reads from the right";
    grid->ColumnByName(QStringLiteral("Owner"))->SetSuppressRTL(true);
    const QImage suppressed = Grab();
    EXPECT_EQ(inkAt(suppressed, owner, true), 0);
    EXPECT_GT(inkAt(suppressed, owner, false), 0);
}

}  // namespace
}  // namespace kelgrid::test
