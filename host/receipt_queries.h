#pragma once
// The queries behind the receipts window, all on the year database of the
// current community (the host's Database1):
//
//   Owners()    the owners' codes and names, in code order: the lookup
//               dataset of the owner's name.
//   Receipts()  the Recibos table in receipt order, with persistent fields:
//               the table's columns plus "NombrePropietario", a lookup field
//               (KeyFields "Propietario" -> Owners' "Codigo", result
//               "Nombre"). Fecha is stored as ISO text and shown as
//               dd/MM/yyyy; it is edited in the toolkit's short date
//               format (what the calendar writes), and only a date is
//               taken back. Importe shows as money. Estado is the
//               receipt's state word, Notas a memo. A year file of an
//               older sample gets the last two columns added.
//   Summary()   one row over the receipts: Ejercicio (the community's year),
//               Suma (the sum of the amounts), Recibos (the count of the
//               amounts) and Pendiente (the amount of unpaid receipts).
//
// The summary is read again after every post and delete of a receipt, so
// its figures never lag behind the rows the grid shows.
//
// The queries are opened by the constructor (owners first, as the lookup
// field reads them) and closed with the object; the data sources outlive
// nothing that links to them, so a window must let go of them first.

#include <QString>
#include <memory>

namespace tk {
class TDataSource;
class TDatabase;
class TQuery;
}  // namespace tk

namespace host {

class TReceiptQueries {
public:
    // Raises tk::EDatabaseError when database is nullptr or a query cannot
    // open (a year file without the tables); nothing stays open then.
    explicit TReceiptQueries(tk::TDatabase* database);
    ~TReceiptQueries();
    TReceiptQueries(const TReceiptQueries&) = delete;
    TReceiptQueries& operator=(const TReceiptQueries&) = delete;

    tk::TQuery* Owners() const { return owners_.get(); }
    tk::TQuery* Receipts() const { return receipts_.get(); }
    tk::TQuery* Summary() const { return summary_.get(); }
    tk::TDataSource* ReceiptsSource() const { return receiptsSource_.get(); }
    tk::TDataSource* SummarySource() const { return summarySource_.get(); }

    // The community's year as the summary read it; 0 when the year file
    // does not say.
    int Year() const;

    // How amounts show, in the receipts and in the summary.
    static QString MoneyFormat();

private:
    void AddReceiptFields();
    void AddSummaryFields();

    // Declared in the order the objects depend on each other: the sources
    // go before the datasets, the receipts (whose lookup field reads the
    // owners) before the owners.
    std::unique_ptr<tk::TQuery> owners_;
    std::unique_ptr<tk::TQuery> summary_;
    std::unique_ptr<tk::TQuery> receipts_;
    std::unique_ptr<tk::TDataSource> receiptsSource_;
    std::unique_ptr<tk::TDataSource> summarySource_;
};

}  // namespace host
