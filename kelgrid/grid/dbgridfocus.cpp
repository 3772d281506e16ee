// TKelCustomDBGrid: focus, the IME and the current column.
//
// Leaving the grid writes the editor's pending change into the record, or
// cancels a freshly inserted record nobody changed (dgCancelOnExit). When
// writing fails the grid takes the focus back and the error passes on to
// the application's handler: the user stays where the bad value is.
//
// The IME follows the current column: a column's stored IME name and mode
// replace the grid's own while the grid has the focus; leaving the grid
// hands the screen's default back.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/core/application.h"
#include "toolkit/data/dataset.h"
#include "toolkit/ui/grids/inplaceedit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputMethod>

#include <QFocusEvent>
#include <QInputMethodEvent>

namespace kelgrid {

// --- Leaving and entering -------------------------------------------------------------

void TKelCustomDBGrid::DoExit()
{
    if (LinkActiveNow()) {
        tk::TDataSet& dataSet = *DataSet();
        try {
            if (d_->options.testFlag(dgCancelOnExit) && dataSet.State() == tk::dsInsert && !dataSet.Modified() &&
                !d_->dataLink->IsModified())
                dataSet.Cancel();
            else
                d_->dataLink->UpdateRecord();
        } catch (...) {
            SetFocus();
            throw;
        }
    }
    tk::TCustomGrid::DoExit();
}

void TKelCustomDBGrid::focusInEvent(QFocusEvent* event)
{
    tk::TCustomGrid::focusInEvent(event);
    if (!d_)
        return;
    // Coming back from the grid's own editor applies the same settings
    // again, which changes nothing.
    tk::Guarded([&] {
        d_->needRestoreIme = false;
        SetIme();
        UpdateIme();
    });
}

void TKelCustomDBGrid::focusOutEvent(QFocusEvent* event)
{
    if (!d_) {
        tk::TCustomGrid::focusOutEvent(event);
        return;
    }
    tk::Guarded([&] {
        SaveOwnIme();
        SetImeName(QString());
        SetImeMode(tk::imDontCare);
    });
    tk::TCustomGrid::focusOutEvent(event);
    tk::Guarded([&] {
        QWidget* now = QApplication::focusWidget();
        // The focus went elsewhere while a press was held (a handler,
        // another window): the press can no longer end here. A move into
        // the grid's own editor keeps the tracking.
        if (!now || !isAncestorOf(now))
            StopMouseTracking();
        if (d_->needRestoreIme && (!now || now != static_cast<QWidget*>(InplaceEditor()))) {
            // The screen's default layout comes back: the column's IME
            // stays with the column.
            d_->needRestoreIme = false;
            setAttribute(Qt::WA_InputMethodEnabled, true);
            setInputMethodHints(Qt::ImhNone);
        }
    });
}

void TKelCustomDBGrid::inputMethodEvent(QInputMethodEvent* event)
{
    // A composition that starts on the grid goes on in the editor.
    tk::Guarded([&] {
        if (!event->preeditString().isEmpty() && !EditorMode() && CanEditShow())
            ShowEditor();
    });
    tk::TCustomGrid::inputMethodEvent(event);
}

// --- IME -------------------------------------------------------------------------------

void TKelCustomDBGrid::SaveOwnIme()
{
    if (d_->imeSaved)
        return;
    d_->imeSaved = true;
    d_->originalImeName = ImeName();
    d_->originalImeMode = ImeMode();
}

void TKelCustomDBGrid::SetIme()
{
    SaveOwnIme();
    QString name = d_->originalImeName;
    tk::TImeMode mode = d_->originalImeMode;
    if (TKelColumn* column = ColumnOfRaw(Col())) {
        if (column->IsImeNameStored())
            name = column->ImeName();
        if (column->IsImeModeStored())
            mode = column->ImeMode();
    }
    d_->needRestoreIme = !name.isEmpty();
    SetImeName(name);
    SetImeMode(mode);
    if (tk::TInplaceEdit* editor = InplaceEditor()) {
        editor->SetImeName(name);
        editor->SetImeMode(mode);
    }
}

void TKelCustomDBGrid::UpdateIme()
{
    // The platform's share of an IME mode: whether the window takes input
    // methods at all, and the hint an on-screen keyboard follows.
    const tk::TImeMode mode = ImeMode();
    setAttribute(Qt::WA_InputMethodEnabled, mode != tk::imDisable && mode != tk::imClose);
    Qt::InputMethodHints hints = Qt::ImhNone;
    if (mode == tk::imAlpha || mode == tk::imSAlpha)
        hints = Qt::ImhLatinOnly;
    setInputMethodHints(hints);
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
}

// --- The current column ------------------------------------------------------------------

void TKelCustomDBGrid::ColEnter()
{
    if (hasFocus()) {
        SetIme();
        UpdateIme();
    }
    if (OnColEnter)
        OnColEnter(this);
}

void TKelCustomDBGrid::ColExit()
{
    if (OnColExit)
        OnColExit(this);
}

int TKelCustomDBGrid::SelectedIndex() const
{
    return RawToDataColumn(Col());
}

void TKelCustomDBGrid::SetSelectedIndex(int index)
{
    MoveCol(DataToRawColumn(index), 0);
}

TKelColumn* TKelCustomDBGrid::SelectedColumn() const
{
    const int index = SelectedIndex();
    return index >= 0 && index < d_->columns->Count() ? d_->columns->Items(index) : nullptr;
}

void TKelCustomDBGrid::SetSelectedColumn(TKelColumn* column)
{
    if (column && column->Collection() == static_cast<tk::TCollection*>(d_->columns))
        SetSelectedIndex(column->Index());
}

}  // namespace kelgrid
