// The host's receipts window on the sample installation's year database:
// the grid's columns and title tree, the owners' names looked up, the paid
// check box, the automatic columns, the totals band fed by the summary
// query, the main window's button and the screenshot.

#include "host/backup_library.h"
#include "host/dbgrid_demo.h"
#include "host/main_window.h"
#include "host/receipt_queries.h"
#include "host/sample_databases.h"
#include "host/sample_installation.h"

#include "kelgrid/editors/dbgridinplaceedit.h"
#include "kelgrid/editors/popupcalendar.h"
#include "kelgrid/grid/keldbgrids.h"
#include "tests/support/qt_printers.h"
#include "tests/support/sqlite_exec.h"
#include "tests/support/temp_folder.h"
#include "tests/support/widget_driver.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/numbers.h"
#include "toolkit/data/database.h"
#include "toolkit/data/query.h"

#include <QApplication>
#include <QDate>
#include <QImage>
#include <QPushButton>
#include <functional>
#include <gtest/gtest.h>

namespace host {
namespace {

using kelgrid::TKelColumn;

// The sample installation with its year database open, as the host has it.
class ReceiptsWindowTest : public ::testing::Test {
protected:
    ReceiptsWindowTest() : paths_(LayOutSampleInstallation(folder_.Path()))
    {
        year_.SetDatabaseName(paths_.yearFile);
        year_.SetActive(true);
    }

    // "Header/Caption" of each column, " | " between them.
    static QString Titles(const kelgrid::TKelDBGrid* grid)
    {
        QStringList titles;
        for (int i = 0; i < grid->Columns()->Count(); ++i) {
            const kelgrid::TKelColumnTitle* title = grid->Columns()->Items(i)->Title();
            titles << (title->Header().isEmpty() ? QString() : title->Header() + QLatin1Char('/')) +
                          title->Caption();
        }
        return titles.join(QStringLiteral(" | "));
    }

    // Walks every receipt, calling visit on each.
    static void ForEachReceipt(tk::TQuery* receipts, const std::function<void()>& visit)
    {
        for (receipts->First(); !receipts->Eof(); receipts->Next())
            visit();
        receipts->First();
    }

    static QString Money(double value) { return tk::FormatFloat(TReceiptQueries::MoneyFormat(), value); }

    tk::test::TempFolder folder_;
    THostPaths paths_;
    tk::TDatabase year_;
};

TEST_F(ReceiptsWindowTest, TheColumnsShowTheReceiptsUnderNestedTitles)
{
    TfrmRecibos window(&year_);
    window.show();
    QApplication::processEvents();
    kelgrid::TKelDBGrid* grid = window.Grid();
    ASSERT_TRUE(grid->LinkActiveNow());
    EXPECT_EQ(grid->Columns()->State(), kelgrid::csCustomized);
    EXPECT_EQ(Titles(grid), QStringLiteral("Nº | Sel. | Recibo/Número | Recibo/Fecha | Recibo/Concepto | "
                                           "Propietario/Nombre | Importe | Cobrado | Estado | Notas"));
    EXPECT_EQ(grid->Columns()->FieldNames(),
              (QStringList{QString(), QString(), "Numero", "Fecha", "Concepto", "NombrePropietario", "Importe",
                           "Cobrado", "Estado", "Notas"}));
    EXPECT_EQ(grid->ColCount(), 11) << "the indicator and ten columns";
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Recibos del ejercicio %1").arg(window.Queries().Year()));

    // "Recibo" heads the three receipt columns as one merged header row
    // above their captions; the owner's header stands alone.
    TKelColumn* number = grid->ColumnByName(QStringLiteral("Numero"));
    TKelColumn* date = grid->ColumnByName(QStringLiteral("Fecha"));
    TKelColumn* concepto = grid->ColumnByName(QStringLiteral("Concepto"));
    EXPECT_EQ(number->Title()->HeaderRowCount(), 1);
    EXPECT_EQ(number->Title()->HeaderRight(0), date);
    EXPECT_EQ(date->Title()->HeaderRight(0), concepto);
    EXPECT_EQ(concepto->Title()->HeaderRight(0), nullptr);

    // The automatic columns of the grid's options: the row's number and
    // the row's selection.
    EXPECT_TRUE(grid->OptionsExt().testFlag(kelgrid::dgAutoNumberColumn));
    EXPECT_TRUE(grid->OptionsExt().testFlag(kelgrid::dgAutoSelectColumn));
    TKelColumn* numbering = grid->Columns()->Items(0);
    TKelColumn* selecting = grid->Columns()->Items(1);
    EXPECT_TRUE(numbering->AutoNumber());
    EXPECT_TRUE(selecting->CheckBox());
    window.Queries().Receipts()->MoveBy(2);
    EXPECT_EQ(grid->ColGetText(numbering, QString(), kelgrid::tkDisplay), kelgrid::AutoNumberStr(3));
    EXPECT_EQ(selecting->CheckBoxState(), 0);
    grid->SelectRow();
    EXPECT_EQ(selecting->CheckBoxState(), 1) << "the selection column shows the selected row";
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(ReceiptsWindowTest, EachReceiptShowsItsOwnersNameAndWhetherItIsPaid)
{
    TfrmRecibos window(&year_);
    kelgrid::TKelDBGrid* grid = window.Grid();
    tk::TQuery* receipts = window.Queries().Receipts();
    TKelColumn* owner = grid->ColumnByName(QStringLiteral("NombrePropietario"));
    TKelColumn* date = grid->ColumnByName(QStringLiteral("Fecha"));
    TKelColumn* paid = grid->ColumnByName(QStringLiteral("Cobrado"));
    ASSERT_TRUE(owner->Field() && owner->Field()->Lookup());
    EXPECT_TRUE(paid->CheckBox());
    EXPECT_EQ(paid->Field(), receipts->FieldByName(QStringLiteral("Cobrado")));

    const QList<TSampleOwner>& owners = SampleCommunities().first().owners;
    int rows = 0;
    int unpaid = 0;
    ForEachReceipt(receipts, [&] {
        ++rows;
        const int code = int(receipts->FieldByName(QStringLiteral("Propietario"))->AsLargeInt());
        ASSERT_TRUE(code >= 1 && code <= owners.size()) << code;
        EXPECT_EQ(owner->DisplayText(), owners[code - 1].name) << "receipt " << rows;
        const bool isPaid = receipts->FieldByName(QStringLiteral("Cobrado"))->AsLargeInt() == 1;
        EXPECT_EQ(paid->CheckBoxState(), isPaid ? 1 : 0) << "receipt " << rows;
        unpaid += isPaid ? 0 : 1;
        // The ISO date of the file, as a Spanish reader writes it.
        const QDate stored =
            QDate::fromString(receipts->FieldByName(QStringLiteral("Fecha"))->AsString(), Qt::ISODate);
        EXPECT_EQ(date->DisplayText(), stored.toString(QStringLiteral("dd/MM/yyyy")));
    });
    EXPECT_EQ(rows, owners.size() * 3);
    EXPECT_GT(unpaid, 0) << "the sample has receipts still due";
}

TEST_F(ReceiptsWindowTest, TheTotalsBandShowsTheSumCountAndPendingAmountOfTheRows)
{
    TfrmRecibos window(&year_);
    window.show();
    QApplication::processEvents();
    kelgrid::TKelDBGrid* grid = window.Grid();
    tk::TQuery* receipts = window.Queries().Receipts();
    const kelgrid::TKelCustomDBGrid::TTotalBand band = grid->TotalBand();
    EXPECT_EQ(band.blank, 1);
    EXPECT_EQ(band.header, 1);
    EXPECT_EQ(band.values, 2);
    EXPECT_EQ(band.fields, 0);
    EXPECT_EQ(band.footer, 1);
    EXPECT_TRUE(grid->Totals()->DataLink()->Active());

    double sum = 0;
    double pending = 0;
    int count = 0;
    ForEachReceipt(receipts, [&] {
        const double amount = receipts->FieldByName(QStringLiteral("Importe"))->AsFloat();
        sum += amount;
        ++count;
        if (receipts->FieldByName(QStringLiteral("Cobrado"))->AsLargeInt() == 0)
            pending += amount;
    });
    const int year = paths_.yearFileName.chopped(4).toInt();  // "2026.mdb"
    EXPECT_EQ(window.Queries().Year(), year);

    TKelColumn* concepto = grid->ColumnByName(QStringLiteral("Concepto"));
    TKelColumn* labels = grid->ColumnByName(QStringLiteral("NombrePropietario"));
    TKelColumn* amounts = grid->ColumnByName(QStringLiteral("Importe"));
    struct Row {
        const char* name;
        int index;
        QString label;
        QString figure;
    } rows[] = {
        {"header", 0, QString(), QString()},
        {"sum", 1, QStringLiteral("Suma de importes"), Money(sum)},
        {"count", 2, QStringLiteral("Número de recibos"), QString::number(count)},
        {"footer", 3, QStringLiteral("Pendiente de cobro"), Money(pending)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_NE(labels->TotalRows(row.index), nullptr);
        EXPECT_EQ(labels->TotalRows(row.index)->DisplayText(), row.label);
        EXPECT_EQ(amounts->TotalRows(row.index)->DisplayText(), row.figure);
    }
    EXPECT_EQ(concepto->TotalRows(0)->DisplayText(), QStringLiteral("Totales del ejercicio %1").arg(year));
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(ReceiptsWindowTest, AReceiptMarkedPaidLeavesThePendingAmountAndIsWrittenToTheYearFile)
{
    TfrmRecibos window(&year_);
    kelgrid::TKelDBGrid* grid = window.Grid();
    tk::TQuery* receipts = window.Queries().Receipts();
    TKelColumn* amounts = grid->ColumnByName(QStringLiteral("Importe"));
    const QString sumBefore = amounts->TotalRows(1)->DisplayText();
    const double pendingBefore =
        window.Queries().Summary()->FieldByName(QStringLiteral("Pendiente"))->AsFloat();

    ASSERT_TRUE(receipts->Locate(QStringLiteral("Cobrado"), tk::Variant(0)));
    const qint64 receipt = receipts->FieldByName(QStringLiteral("Numero"))->AsLargeInt();
    const double amount = receipts->FieldByName(QStringLiteral("Importe"))->AsFloat();
    grid->ColumnByName(QStringLiteral("Cobrado"))->ToggleCheckBoxValue();
    receipts->Post();

    EXPECT_EQ(grid->ColumnByName(QStringLiteral("Cobrado"))->CheckBoxState(), 1);
    EXPECT_EQ(amounts->TotalRows(3)->DisplayText(), Money(pendingBefore - amount));
    EXPECT_EQ(amounts->TotalRows(1)->DisplayText(), sumBefore) << "the sum does not depend on payment";
    tk::TQuery check;
    check.SetDatabase(&year_);
    check.SQL()->SetText(QStringLiteral("SELECT Cobrado FROM Recibos WHERE Numero = %1").arg(receipt));
    check.Open();
    EXPECT_EQ(check.Fields()[0]->AsLargeInt(), 1);
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

// The window's editors, worked by keys on the shown window; what they
// write reaches the year file in the form the file keeps.
class ReceiptEditorsTest : public ReceiptsWindowTest {
protected:
    void SetUp() override
    {
        window = std::make_unique<TfrmRecibos>(&year_);
        window->show();
        window->Grid()->setFocus();
        QApplication::processEvents();
        keys = std::make_unique<tk::test::WidgetDriver>(window->Grid());
        receipts = window->Queries().Receipts();
        receipts->First();
    }
    void TearDown() override
    {
        keys.reset();
        window.reset();
    }
    // Opens the editor on the column and its popup, at full height.
    void OpenPopup(const char* column)
    {
        window->Grid()->SetSelectedColumn(window->Grid()->ColumnByName(QString::fromLatin1(column)));
        keys->Press(Qt::Key_F2);
        ASSERT_TRUE(window->Grid()->EditorMode());
        keys->Press(Qt::Key_Down, Qt::AltModifier);
    }
    void Enter() { keys->Press(Qt::Key_Return, {}, QStringLiteral("\r")); }
    // The value in the year file of the first receipt.
    QString Stored(const char* column)
    {
        tk::TQuery check;
        check.SetDatabase(&year_);
        check.SQL()->SetText(QStringLiteral("SELECT %1 FROM Recibos WHERE Numero = 1").arg(QString::fromLatin1(column)));
        check.Open();
        return check.Fields()[0]->AsString();
    }
    void PostByLeaving()
    {
        keys->Press(Qt::Key_Down);
        ASSERT_EQ(receipts->State(), tk::dsBrowse);
    }

    std::unique_ptr<TfrmRecibos> window;
    std::unique_ptr<tk::test::WidgetDriver> keys;
    tk::TQuery* receipts = nullptr;
};

TEST_F(ReceiptEditorsTest, TheCalendarMovesTheDateAndTheFileKeepsItInIso)
{
    const QDate before = QDate::fromString(Stored("Fecha"), Qt::ISODate);
    ASSERT_TRUE(before.isValid());
    OpenPopup("Fecha");
    auto* editor = qobject_cast<kelgrid::TKelDBGridInplaceEdit*>(window->Grid()->InplaceEditor());
    ASSERT_TRUE(editor && editor->Calendar() && editor->Calendar()->isVisible());
    EXPECT_EQ(editor->Calendar()->Date(), tk::DateFromQDate(before));
    keys->Press(Qt::Key_Down);  // a week later
    Enter();
    PostByLeaving();
    EXPECT_EQ(Stored("Fecha"), before.addDays(7).toString(Qt::ISODate));

    // Text that is no date is refused and the stored date stays.
    receipts->First();
    tk::TField* date = receipts->FieldByName(QStringLiteral("Fecha"));
    receipts->Edit();
    EXPECT_THROW(date->SetText(QStringLiteral("31/31/2026")), tk::EConvertError);
    EXPECT_THROW(date->SetText(QString()), tk::EConvertError);
    EXPECT_EQ(date->AsString(), before.addDays(7).toString(Qt::ISODate));
    receipts->Cancel();
}

TEST_F(ReceiptEditorsTest, TheCalculatorTheOwnersGridTheStatesAndTheNotesWriteTheirValues)
{
    const double amount = receipts->FieldByName(QStringLiteral("Importe"))->AsFloat();
    const qint64 owner = receipts->FieldByName(QStringLiteral("Propietario"))->AsLargeInt();

    OpenPopup("Importe");
    keys->Type(QStringLiteral("*2"));
    Enter();
    OpenPopup("NombrePropietario");
    keys->Press(Qt::Key_Down);
    Enter();
    OpenPopup("Estado");
    keys->Press(Qt::Key_Down);
    Enter();
    window->Grid()->SetSelectedColumn(window->Grid()->ColumnByName(QStringLiteral("Notas")));
    keys->Press(Qt::Key_F2);
    keys->Type(QStringLiteral("Pagará en mano"));
    PostByLeaving();

    EXPECT_DOUBLE_EQ(Stored("Importe").toDouble(), amount * 2);
    EXPECT_EQ(Stored("Propietario").toLongLong(), owner + 1);
    EXPECT_EQ(Stored("Estado"), QStringLiteral("devuelto")) << "the word after the paid receipt's";
    EXPECT_EQ(Stored("Notas"), QStringLiteral("Pagará en mano"));
    receipts->First();
    EXPECT_EQ(window->Grid()->ColumnByName(QStringLiteral("NombrePropietario"))->DisplayText(),
              SampleCommunities().first().owners[int(owner)].name);
}

// A year file of an older sample has no state and no notes: the window adds
// the columns and keeps every receipt.
TEST_F(ReceiptsWindowTest, AnOlderYearFileGetsTheNewColumnsAndKeepsItsReceipts)
{
    year_.SetActive(false);
    tk::test::ExecFile(paths_.yearFile, QStringLiteral("ALTER TABLE Recibos DROP COLUMN Notas;"
                                                       "ALTER TABLE Recibos DROP COLUMN Estado;"));
    year_.SetActive(true);
    TfrmRecibos window(&year_);
    tk::TQuery* receipts = window.Queries().Receipts();
    int rows = 0;
    ForEachReceipt(receipts, [&] {
        ++rows;
        EXPECT_EQ(receipts->FieldByName(QStringLiteral("Estado"))->AsString(), QStringLiteral("emitido"));
        EXPECT_TRUE(receipts->FieldByName(QStringLiteral("Notas"))->IsNull());
    });
    EXPECT_EQ(rows, SampleCommunities().first().owners.size() * 3);
}

TEST_F(ReceiptsWindowTest, ATitleClickOrdersTheReceiptsAndKeepsTheCurrentOne)
{
    TfrmRecibos window(&year_);
    window.show();
    QApplication::processEvents();
    kelgrid::TKelDBGrid* grid = window.Grid();
    tk::TQuery* receipts = window.Queries().Receipts();
    receipts->MoveBy(4);
    const qint64 current = receipts->FieldByName(QStringLiteral("Numero"))->AsLargeInt();
    TKelColumn* amounts = grid->ColumnByName(QStringLiteral("Importe"));
    const int raw = grid->DataToRawColumn(amounts->Index());
    tk::test::WidgetDriver mouse(grid->viewport());
    mouse.Click(grid->CellRect(raw, grid->TitleOffset() - 1).center());
    mouse.Click(grid->CellRect(raw, grid->TitleOffset() - 1).center());

    EXPECT_EQ(grid->OrderFields(), QStringLiteral("Importe DESC"));
    EXPECT_TRUE(receipts->SQL()->Text().contains(QStringLiteral("ORDER BY Importe DESC")))
        << receipts->SQL()->Text().toStdString();
    EXPECT_EQ(receipts->FieldByName(QStringLiteral("Numero"))->AsLargeInt(), current);
    double previous = 1e300;
    ForEachReceipt(window.Queries().Receipts(), [&] {
        const double amount = receipts->FieldByName(QStringLiteral("Importe"))->AsFloat();
        EXPECT_LE(amount, previous);
        previous = amount;
    });
    EXPECT_EQ(grid->CheckConsistency(), QString());
}

TEST_F(ReceiptsWindowTest, EveryColumnFitsTheWindowAndShowsItsTextsWhole)
{
    TfrmRecibos window(&year_);
    window.show();
    QApplication::processEvents();
    kelgrid::TKelDBGrid* grid = window.Grid();
    EXPECT_LE(window.width(), 1024);
    EXPECT_LE(window.height(), 640);
    int width = 0;
    for (int col = 0; col < grid->ColCount(); ++col)
        width += grid->ColWidths(col) + grid->GridLineWidth();
    EXPECT_LE(width, grid->viewport()->width());
    // The rows on the screen at the top and, scrolled, at the end.
    for (const bool atEnd : {false, true}) {
        SCOPED_TRACE(atEnd ? "last rows" : "first rows");
        if (atEnd)
            window.Queries().Receipts()->Last();
        ASSERT_GT(grid->DataLink()->RecordCount(), 10);
        for (int i = 0; i < grid->Columns()->Count(); ++i) {
            TKelColumn* column = grid->Columns()->Items(i);
            if (column->CheckBox())
                continue;  // a glyph, no text
            EXPECT_LE(column->OptimalWidth(), column->Width()) << qPrintable(column->Title()->Caption());
        }
    }
}

TEST_F(ReceiptsWindowTest, TheMainWindowsButtonOpensOneReceiptsWindow)
{
    TBackupLibrary library(folder_.File(QStringLiteral("libsafekeep.so")));
    const TBackupCall call{0, nullptr, &year_, nullptr};
    TfrmBrivora main(library, call, paths_);
    main.show();
    QApplication::processEvents();
    QPushButton* button = main.DataGridButton();
    for (int click = 0; click < 2; ++click)
        tk::test::WidgetDriver(button).Click(button->rect().center());
    const QList<TfrmRecibos*> windows = main.findChildren<TfrmRecibos*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_TRUE(windows.front()->isVisible());
    EXPECT_TRUE(windows.front()->Grid()->LinkActiveNow());
}

TEST_F(ReceiptsWindowTest, AYearFileWithoutReceiptsIsRefused)
{
    const QString empty = folder_.File(QStringLiteral("vacio.mdb"));
    tk::test::ExecFile(empty, QStringLiteral("CREATE TABLE Comunidad (Ejercicio INTEGER)"));
    tk::TDatabase database;
    database.SetDatabaseName(empty);
    EXPECT_THROW({ TfrmRecibos window(&database); }, tk::EDatabaseError);
    EXPECT_THROW({ TfrmRecibos window(nullptr); }, tk::EDatabaseError);
}

TEST_F(ReceiptsWindowTest, ScreenshotsRenderTheWindow)
{
    QString written;
    ASSERT_TRUE(RenderDataGridDemo(&year_, folder_.Path() + QLatin1Char('/'), written));
    EXPECT_TRUE(written.endsWith(QStringLiteral("/dbgrid-demo.png")));
    const QImage image(written);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(1000, 600));
    // Something was painted: not one colour over the whole window.
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    EXPECT_NE(pixels.pixel(5, 5), pixels.pixel(image.width() / 2, image.height() / 2));
}

}  // namespace
}  // namespace host
