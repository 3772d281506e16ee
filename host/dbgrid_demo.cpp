#include "host/dbgrid_demo.h"

#include "host/column_title_text.h"
#include "host/receipt_queries.h"
#include "kelgrid/grid/keldbgrids.h"
#include "toolkit/data/query.h"

#include <QApplication>
#include <QScopeGuard>
#include <QVBoxLayout>

namespace host {

namespace {

struct TColumnSetup {
    const char* field;
    // The title tree of the column: header rows and caption, "|" between.
    const char* title;
    int width;
};

// Widths fit the longest texts of the sample data (owners' names, monthly
// concepts) on a 1024 x 640 screen.
const TColumnSetup kColumns[] = {
    {"Numero", "Recibo|Número", 56},      {"Fecha", "Recibo|Fecha", 84},
    {"Concepto", "Recibo|Concepto", 172}, {"NombrePropietario", "Propietario|Nombre", 168},
    {"Importe", "Importe", 84},           {"Cobrado", "Cobrado", 60},
    {"Estado", "Estado", 80},             {"Notas", "Notas", 142},
};

// The states a receipt goes through, in order.
const char* const kStates[] = {"emitido", "domiciliado", "devuelto", "anulado"};
const int kAutoColumnWidth = 40;

void AddCaptionRow(kelgrid::TKelColumn* column, const QString& caption)
{
    kelgrid::TKelColumnTotalValue* total = column->TotalValues()->Add();
    total->SetCaption(caption);
    total->SetAlignment(tk::taRightJustify);
}

// A total that shows a field of the summary query (the totals' dataset).
void ShowSummaryField(kelgrid::TKelColumnTotalValue* total, const char* field)
{
    total->SetTotalResult(kelgrid::trTotalField);
    total->SetFieldName(QString::fromLatin1(field));
}

}  // namespace

TfrmRecibos::TfrmRecibos(tk::TDatabase* yearDatabase, QWidget* parent)
    : tk::TForm(parent), queries_(std::make_unique<TReceiptQueries>(yearDatabase))
{
    setObjectName(QStringLiteral("frmRecibos"));
    SetCaption(QStringLiteral("Recibos del ejercicio %1").arg(queries_->Year()));

    auto* layout = new QVBoxLayout(this);
    grid_ = new kelgrid::TKelDBGrid(this);
    grid_->SetName(QStringLiteral("grdRecibos"));
    {
        // One layout for the whole set-up, as a designed form is read. The
        // data source comes last: on an open dataset the grid would make its
        // default columns first, and those would shadow the form's own.
        grid_->BeginLayout();
        auto endLayout = qScopeGuard([this] { grid_->EndLayout(); });
        AddColumns();
        SetUpTotals();
        grid_->SetDataSource(queries_->ReceiptsSource());
    }
    layout->addWidget(grid_);
    resize(1000, 600);
}

TfrmRecibos::~TfrmRecibos()
{
    // The grid lets go of its sources before the sources go.
    delete grid_;
}

void TfrmRecibos::AddColumns()
{
    grid_->SetOptionsExt(grid_->OptionsExt() | kelgrid::dgAutoNumberColumn | kelgrid::dgAutoSelectColumn);
    // Receipts are picked with Ctrl and Shift, and a title click orders the
    // query by that column (ORDER BY), keeping the current receipt.
    grid_->SetOptions(grid_->Options() | kelgrid::dgMultiSelect);
    grid_->SetOptionsEx(grid_->OptionsEx() | kelgrid::dgAutoUpdateOrder);
    grid_->SetKeyFields(QStringLiteral("Numero"));
    kelgrid::TKelDBGridColumns* columns = grid_->Columns();
    for (const TColumnSetup& setup : kColumns) {
        kelgrid::TKelColumn* column = columns->Add();
        column->SetFieldName(QString::fromLatin1(setup.field));
        SetColumnTitle(column, QString::fromUtf8(setup.title));
        column->SetWidth(setup.width);
    }
    // Cobrado holds 1 for a paid receipt and 0 for one still due.
    kelgrid::TKelColumn* paid = grid_->ColumnByName(QStringLiteral("Cobrado"));
    paid->SetCheckBox(true);
    paid->SetCheckBoxValues(QStringLiteral("1;0"));
    paid->SetAlignment(tk::taCenter);
    paid->Title()->SetAlignment(tk::taCenter);

    AddEditors();

    // The automatic columns go in front: the number first, then the
    // selection, as the grid builds them from its options.
    kelgrid::TKelColumn* select = columns->AddAutoSelect();
    select->Title()->SetCaption(QStringLiteral("Sel."));
    select->SetWidth(kAutoColumnWidth);
    kelgrid::TKelColumn* number = columns->AddAutoNumber();
    number->Title()->SetCaption(QStringLiteral("Nº"));
    number->SetWidth(kAutoColumnWidth);
}

void TfrmRecibos::AddEditors()
{
    using namespace kelgrid;
    // The date is kept as text: the calendar is asked for by the column.
    TKelColumn* date = grid_->ColumnByName(QStringLiteral("Fecha"));
    date->SetButtonStyle(cbsCalendar);
    date->SetListOptions(date->ListOptions() | loShowToday | loShowTodayCircle | loShowWeekNumbers);
    grid_->ColumnByName(QStringLiteral("Importe"))->SetButtonStyle(cbsCalculator);

    // The owner's name is a lookup field: its lookup grid writes the owner's
    // code; typing completes a name, + and - step through the owners.
    TKelColumn* owner = grid_->ColumnByName(QStringLiteral("NombrePropietario"));
    owner->SetListOptions(owner->ListOptions() | loAutoComplete | loSelectNextValue);

    // The state is one of the listed words, chosen and never typed.
    TKelColumn* state = grid_->ColumnByName(QStringLiteral("Estado"));
    for (const char* word : kStates)
        state->PickList()->Add(QString::fromLatin1(word));
    state->SetPickOptions(state->PickOptions() | poDropDownList);
    state->SetListOptions(state->ListOptions() | loSelectNextValue | loAutoComplete);

    // Notes run over several lines; the cell edits them in place.
    grid_->ColumnByName(QStringLiteral("Notas"))->SetEditMemo(true);
}

void TfrmRecibos::SetUpTotals()
{
    grid_->SetOptionsEx(grid_->OptionsEx() | kelgrid::dgTotalHeader | kelgrid::dgTotalValues |
                        kelgrid::dgTotalFooter);
    grid_->Totals()->SetDataSource(queries_->SummarySource());

    grid_->ColumnByName(QStringLiteral("Concepto"))
        ->TotalHeader()
        ->SetCaption(QStringLiteral("Totales del ejercicio %1").arg(queries_->Year()));

    // The figures stand in the amount column, each with its caption in the
    // owner column beside it.
    kelgrid::TKelColumn* labels = grid_->ColumnByName(QStringLiteral("NombrePropietario"));
    kelgrid::TKelColumn* amounts = grid_->ColumnByName(QStringLiteral("Importe"));
    AddCaptionRow(labels, QStringLiteral("Suma de importes"));
    ShowSummaryField(amounts->TotalValues()->Add(), "Suma");
    AddCaptionRow(labels, QStringLiteral("Número de recibos"));
    ShowSummaryField(amounts->TotalValues()->Add(), "Recibos");

    labels->TotalFooter()->SetCaption(QStringLiteral("Pendiente de cobro"));
    labels->TotalFooter()->SetAlignment(tk::taRightJustify);
    ShowSummaryField(amounts->TotalFooter(), "Pendiente");
}

bool RenderDataGridDemo(tk::TDatabase* yearDatabase, const QString& folder, QString& written)
{
    TfrmRecibos window(yearDatabase);
    window.show();
    QApplication::processEvents();
    written = folder + QStringLiteral("dbgrid-demo.png");
    return window.grab().save(written);
}

}  // namespace host
