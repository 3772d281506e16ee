// TKelCustomDBGrid: copying the selected cells to the clipboard as
// tab-separated text, the form spreadsheets paste: one line per record,
// ended by CR LF, the cells of a line separated by tabs. A cell whose text
// would break that shape (a line break, a tab or a double quote in it) is
// written in double quotes with its quotes doubled.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columnlist.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "toolkit/ui/clipboard.h"

#include <QScopeGuard>

namespace kelgrid {

namespace {

// A guess of the copy's size, so the text grows in few steps.
constexpr int kReservedCharsPerCell = 12;
constexpr int kMaxReservedRows = 1 << 18;
constexpr int kMaxReservedCols = 64;

bool NeedsQuotes(const QString& text)
{
    for (const QChar c : text)
        if (c == u'\r' || c == u'\n' || c == u'\t' || c == u'"')
            return true;
    return false;
}

void AppendCell(QString& out, const QString& text)
{
    if (!NeedsQuotes(text)) {
        out += text;
        return;
    }
    out += u'"';
    for (const QChar c : text) {
        if (c == u'"')
            out += u'"';
        out += c;
    }
    out += u'"';
}

}  // namespace

void TKelCustomDBGrid::CopyToClipboard()
{
    if (!LinkActiveNow() || !MultiSelected())
        return;
    // A columns selection covers every record, which a dataset may not
    // have counted: its text grows as it goes.
    if (d_->multiSelect != msCols) {
        const int cols = d_->multiSelect == msRows ? d_->columns->Count() : SelectedCols()->Count();
        copyText_.reserve(qMin(d_->selectedRows->Count(), kMaxReservedRows) *
                          qBound(1, cols, kMaxReservedCols) * kReservedCharsPerCell);
    }
    // The walk comes back to the current record with a data change of its
    // own: the change lock keeps it from asking for list items, sequence
    // numbers and totals. A walk that fails leaves nothing half-built.
    BeginChange();
    auto done = qScopeGuard([this] {
        EndChange();
        copyText_ = QString();
        copyRow_ = 0;
        copyLineStarted_ = false;
    });
    ForEachDataCell([this](TKelColumn* column, TForEachCellFlags flags) { DoCopyToClipboard(column, flags); },
                    fsSelectedOnly);
}

void TKelCustomDBGrid::DoCopyToClipboard(TKelColumn* column, TForEachCellFlags flags)
{
    Q_ASSERT(column);
    if (flags.testFlag(feFirstCol)) {
        if (flags.testFlag(feFirstRow)) {
            copyText_.resize(0);  // keeps what CopyToClipboard reserved
            copyRow_ = 0;
        }
        copyLineStarted_ = false;
        ++copyRow_;
    }
    if (column->Showing()) {
        // The tab goes between shown cells: a hidden last column of the
        // range adds no empty cell at the end of the line.
        if (copyLineStarted_)
            copyText_ += u'\t';
        copyLineStarted_ = true;
        AppendCell(copyText_, column->AutoNumber() ? AutoNumberStr(copyRow_) : column->EditText());
    }
    if (flags.testFlag(feLastCol)) {
        copyText_ += QStringLiteral("\r\n");
        if (flags.testFlag(feLastRow))
            tk::SetClipboardText(copyText_);
    }
}

}  // namespace kelgrid
