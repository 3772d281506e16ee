#pragma once
// A column's title tree written as one text, as the host's windows lay
// their columns out: "Recibo|Número" puts the header "Recibo" over the
// caption "Número"; the last segment is the caption and the ones before it
// are the header rows ("Delivery|Address|Street": two header rows).

#include <QString>

namespace kelgrid {
class TKelColumn;
}

namespace host {

void SetColumnTitle(kelgrid::TKelColumn* column, const QString& title);

}  // namespace host
