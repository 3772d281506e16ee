#include "host/column_title_text.h"

#include "kelgrid/grid/keldbgrids.h"

namespace host {

void SetColumnTitle(kelgrid::TKelColumn* column, const QString& title)
{
    const qsizetype split = title.lastIndexOf(QLatin1Char('|'));
    column->Title()->SetHeader(split < 0 ? QString() : title.left(split));
    column->Title()->SetCaption(title.mid(split + 1));
}

}  // namespace host
