#pragma once
// The host's data-grid window: the receipts of the current community's
// year database (TReceiptQueries) in a TKelDBGrid.
//
// Columns, left to right: the row number and the row selection (the grid's
// automatic columns), "Recibo|Número", "Recibo|Fecha", "Recibo|Concepto"
// (one "Recibo" header over three captions), "Propietario|Nombre" (the
// owner's name, a lookup field), "Importe", "Cobrado" (a check box on
// the 1/0 of the table), "Estado" and "Notas". Cells edit in place: the
// date with a calendar, the amount with a calculator, the owner with a
// lookup grid of the owners, the state from a pick list of its words, the
// notes as a memo. Below the receipts the totals band: a header with
// the year, the sum and the count of the amounts, and a footer with the
// amount still unpaid, read from the summary query through the totals' own
// data link.
//
// Opened from the main window and by --recibos; --screenshots renders it.

#include "toolkit/ui/forms.h"

#include <memory>

namespace tk {
class TDatabase;
}

namespace kelgrid {
class TKelDBGrid;
}

namespace host {

class TReceiptQueries;

class TfrmRecibos : public tk::TForm {
    Q_OBJECT
public:
    // Opens the receipts of yearDatabase (switched on when it is off).
    // Raises tk::EDatabaseError when there is no database or it holds no
    // receipts table.
    explicit TfrmRecibos(tk::TDatabase* yearDatabase, QWidget* parent = nullptr);
    ~TfrmRecibos() override;

    kelgrid::TKelDBGrid* Grid() const { return grid_; }
    const TReceiptQueries& Queries() const { return *queries_; }

private:
    void AddColumns();
    // The in-place editors of the columns.
    void AddEditors();
    void SetUpTotals();

    std::unique_ptr<TReceiptQueries> queries_;
    kelgrid::TKelDBGrid* grid_ = nullptr;
};

// Renders the window on yearDatabase into folder (ending in "/") as
// dbgrid-demo.png. False when the file cannot be written; the database's
// errors raise as for the window.
bool RenderDataGridDemo(tk::TDatabase* yearDatabase, const QString& folder, QString& written);

}  // namespace host
