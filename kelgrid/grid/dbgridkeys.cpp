// TKelCustomDBGrid: the keyboard. Keys move through the records (through
// the data link, so the dataset's cursor moves and other controls follow)
// and the columns, extend or drop the multi-selection, append, insert,
// cancel and delete records.
//
// Rows selection by keys: Shift+Up/Down starts selecting at the current
// record (the anchor), selects every record the move reaches and
// unselects the record it leaves when it goes back towards the anchor; a
// move without Shift drops the selection (unless dgAutoUnselectOff).

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/data/dataset.h"

#include <QScopedValueRollback>

namespace kelgrid {

namespace {

bool Has(tk::TShiftState shift, tk::TShiftStateFlag flag)
{
    return shift.testFlag(flag);
}

}  // namespace

bool TKelCustomDBGrid::ExtendedSelect() const
{
    return d_->options.testFlag(dgMultiSelect) && d_->options.testFlag(dgExtendedSelect);
}

bool TKelCustomDBGrid::RowScroll() const
{
    return d_->options.testFlag(dgRowSelect) && d_->options.testFlag(dgRowScroll);
}

void TKelCustomDBGrid::UpdateActive()
{
    // The base's current row is the data link's active record.
    if (!LinkActiveNow())
        return;
    const int row = d_->titleOffset + d_->dataLink->ActiveRecord();
    if (row != Row() && row < RowCount() - d_->totalOffset)
        MoveColRow(Col(), row, false, false);
}

void TKelCustomDBGrid::AutoUnselect()
{
    if (d_->options.testFlag(dgMultiSelect) && !d_->optionsExt.testFlag(dgAutoUnselectOff))
        ClearSelection();
    d_->selecting = false;
}

bool TKelCustomDBGrid::CanAppend() const
{
    tk::TDataSet* dataSet = DataSet();
    return dataSet && !d_->optionsExt.testFlag(dgAllowInsertOff) && dataSet->CanModify() && !ReadOnly() &&
           d_->options.testFlag(dgEditing);
}

bool TKelCustomDBGrid::CancelUnchangedInsert()
{
    // A record the user inserted and nobody changed goes again.
    tk::TDataSet* dataSet = DataSet();
    if (dataSet->State() != tk::dsInsert || dataSet->Modified() || d_->dataLink->IsModified())
        return false;
    dataSet->Cancel();
    UpdateActive();
    return true;
}

void TKelCustomDBGrid::SelectionAwareMove(int distance, tk::TShiftState shift)
{
    const TSelectLock batch(*this);
    tk::TDataSet& dataSet = *DataSet();
    const bool shifted = Has(shift, tk::ssShift);
    const bool rowsWanted =
        RowsSelection() || (d_->multiSelectOptions.Has(msCells) && !d_->options.testFlag(dgRowSelect));
    if (d_->options.testFlag(dgMultiSelect) && LinkActiveNow() && rowsWanted) {
        if (!shifted) {
            if (d_->multiSelect != msCols)
                AutoUnselect();
        } else if (d_->selecting && !d_->selectionAnchor.isEmpty()) {
            const int side = dataSet.CompareBookmarks(dataSet.GetBookmark(), d_->selectionAnchor);
            if ((distance > 0 && side < 0) || (distance < 0 && side > 0))
                d_->selectedRows->SetCurrentRowSelected(false);
        } else {
            if (d_->multiSelectOptions.Has(msCells) && !d_->options.testFlag(dgRowSelect) &&
                d_->selectionBegCol < 0) {
                SetSelectionBegCol(RawToDataColumn(Col()));
                SetSelectionEndCol(RawToDataColumn(Col()));
            }
            if (d_->selectionAnchor.isEmpty() ||
                !d_->selectedRows->CurrentRowSelected())
                SetSelectionAnchor(dataSet.GetBookmark());
            d_->selectedRows->SetCurrentRowSelected(true);
            d_->selecting = true;
        }
    }
    d_->dataLink->MoveBy(distance);
    if (d_->selecting)
        d_->selectedRows->SetCurrentRowSelected(true);
    UpdateActive();
}

void TKelCustomDBGrid::MoveDown(tk::TShiftState shift)
{
    tk::TDataSet& dataSet = *DataSet();
    if (!CancelUnchangedInsert())
        SelectionAwareMove(+1, shift);
    if (CanAppend() && d_->dataLink->Eof() && dataSet.State() == tk::dsBrowse) {
        PerformDelayed();
        dataSet.Append();
        UpdateActive();
    }
}

void TKelCustomDBGrid::MoveUp(tk::TShiftState shift)
{
    if (!CancelUnchangedInsert())
        SelectionAwareMove(-1, shift);
}

int TKelCustomDBGrid::NextColumn(int raw, int step) const
{
    // The next showing raw column in that direction, raw itself at the end.
    for (int next = raw + step; next >= tk::TCustomGrid::FixedCols() && next < ColCount(); next += step)
        if (ColWidths(next) > 0)
            return next;
    return raw;
}

void TKelCustomDBGrid::MoveCol(int raw, int direction)
{
    d_->dataLink->UpdateRecord();
    raw = std::clamp(raw, tk::TCustomGrid::FixedCols(), ColCount() - 1);
    if (direction != 0 && ColWidths(raw) <= 0) {
        const int next = NextColumn(raw, direction);
        if (next == raw)
            return;
        raw = next;
    }
    if (raw == Col())
        return;
    // A handler of OnColExit that moves the column itself has the last word.
    if (!d_->inColExit) {
        const int before = Col();
        {
            const QScopedValueRollback<bool> exiting(d_->inColExit, true);
            ColExit();
        }
        if (Col() != before)
            return;
    }
    if (!d_->options.testFlag(dgAlwaysShowEditor))
        HideEditor();
    MoveColRow(raw, Row(), true, true);
    ColEnter();
}

void TKelCustomDBGrid::SelectionAwareColMove(int raw, int direction, tk::TShiftState shift)
{
    tk::TDataSet& dataSet = *DataSet();
    const bool cells = d_->multiSelectOptions.Has(msCells);
    if (dataSet.State() == tk::dsBrowse && d_->options.testFlag(dgMultiSelect) && LinkActiveNow() &&
        (d_->selectedRows->Count() == 0 || cells)) {
        const TSelectLock batch(*this);
        if (Has(shift, tk::ssShift)) {
            if (d_->selectionBegCol < 0) {
                SetSelectionColumn(d_->multiSelectOptions.Has(msCols) && d_->selectedRows->Count() == 0);
                SetSelectionBegCol(RawToDataColumn(Col()));
            }
            MoveCol(raw, direction);
            SetSelectionEndCol(RawToDataColumn(Col()));
            return;
        }
        if (d_->multiSelect != msRows)
            AutoUnselect();
    }
    MoveCol(raw, direction);
}

void TKelCustomDBGrid::ExtendSelectionBy(int distance, bool toEnd)
{
    // Shift with PgUp, PgDn or Ctrl: step by step, so every record passed
    // is selected as by Shift+Up/Down.
    const TSelectLock batch(*this);
    tk::TDataSet& dataSet = *DataSet();
    const int step = distance > 0 ? +1 : -1;
    for (int moved = 0; toEnd || moved < std::abs(distance); ++moved) {
        if (step > 0 ? d_->dataLink->Eof() : d_->dataLink->Bof())
            break;
        const tk::TBookmark before = dataSet.GetBookmark();
        SelectionAwareMove(step, tk::TShiftState(tk::ssShift));
        if (dataSet.GetBookmark() == before)
            break;
    }
}

int TKelCustomDBGrid::VisibleDataRows() const
{
    return std::max(1, d_->dataLink->RecordCount());
}

void TKelCustomDBGrid::KeyDown(int& key, tk::TShiftState shift)
{
    d_->lastShiftState = shift;
    ResetHintPause();
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
    if (key == 0 || !LinkActiveNow() || !CanGridAcceptKey(key, shift))
        return;
    if (UseRightToLeftAlignment()) {
        if (key == tk::VK_LEFT)
            key = tk::VK_RIGHT;
        else if (key == tk::VK_RIGHT)
            key = tk::VK_LEFT;
    }
    tk::TDataSet& dataSet = *DataSet();
    const bool shifted = Has(shift, tk::ssShift);
    const bool ctrl = Has(shift, tk::ssCtrl);
    const bool onlyCtrl = ctrl && !shifted && !Has(shift, tk::ssAlt);
    const int handled = key;
    key = 0;

    if (ExtendedSelect() && shifted && RowsSelection()) {
        switch (handled) {
        case tk::VK_PRIOR:
            ExtendSelectionBy(-VisibleDataRows(), false);
            return;
        case tk::VK_NEXT:
            ExtendSelectionBy(VisibleDataRows(), false);
            return;
        case tk::VK_END:
            if (ctrl) {
                ExtendSelectionBy(+1, true);
                return;
            }
            break;
        case tk::VK_HOME:
            if (ctrl) {
                ExtendSelectionBy(-1, true);
                return;
            }
            break;
        case tk::VK_UP:
            if (ctrl) {
                ExtendSelectionBy(-d_->dataLink->ActiveRecord(), false);
                return;
            }
            break;
        case tk::VK_DOWN:
            if (ctrl) {
                ExtendSelectionBy(d_->dataLink->RecordCount() - 1 - d_->dataLink->ActiveRecord(), false);
                return;
            }
            break;
        default:
            break;
        }
    }

    if (ctrl) {
        switch (handled) {
        case tk::VK_PRIOR:
        case tk::VK_UP:
            AutoUnselect();
            d_->dataLink->MoveBy(-d_->dataLink->ActiveRecord());
            break;
        case tk::VK_NEXT:
        case tk::VK_DOWN:
            AutoUnselect();
            d_->dataLink->MoveBy(d_->dataLink->RecordCount() - 1 - d_->dataLink->ActiveRecord());
            break;
        case tk::VK_END:
            AutoUnselect();
            dataSet.Last();
            break;
        case tk::VK_HOME:
            AutoUnselect();
            dataSet.First();
            break;
        case tk::VK_LEFT:
            if (ColsSelection())
                AutoUnselect();
            if (RowScroll())
                ScrollRowsHorizontally(tk::TScrollCode::PageUp);
            else
                MoveCol(tk::TCustomGrid::FixedCols(), +1);
            break;
        case tk::VK_RIGHT:
            if (ColsSelection())
                AutoUnselect();
            if (RowScroll())
                ScrollRowsHorizontally(tk::TScrollCode::PageDown);
            else
                MoveCol(ColCount() - 1, -1);
            break;
        case tk::VK_DELETE:
            if (!ColsSelection())
                DeleteSelectedRows();
            break;
        case 'A':
            if (ExtendedSelect() && onlyCtrl)
                SelectAll();
            break;
        case 'C':
        case tk::VK_INSERT:
            if (ExtendedSelect() && onlyCtrl)
                CopyToClipboard();
            break;
        default:
            key = handled;  // the base's (Ctrl+Tab and the like)
            return;
        }
        UpdateActive();
        return;
    }

    switch (handled) {
    case tk::VK_TAB:
        if (Has(shift, tk::ssAlt) || !d_->options.testFlag(dgTabs)) {
            key = handled;
            return;
        }
        if (ColsSelection())
            AutoUnselect();
        TabToColumn(shifted ? -1 : +1);
        break;
    case tk::VK_ESCAPE:
        // The editor's change first, then the record's (the link cancels
        // with the grid's change lock held).
        d_->dataLink->Reset();
        AutoUnselect();
        if (!d_->options.testFlag(dgAlwaysShowEditor))
            HideEditor();
        break;
    case tk::VK_F2:
        if (CanEditShow())
            ShowEditor();
        break;
    case tk::VK_PRIOR:
    case tk::VK_NEXT:
        if (RowsSelection())
            AutoUnselect();
        d_->dataLink->MoveBy(handled == tk::VK_NEXT ? VisibleDataRows() : -VisibleDataRows());
        break;
    case tk::VK_HOME:
    case tk::VK_END:
        if (RowScroll()) {
            ScrollRowsHorizontally(handled == tk::VK_END ? tk::TScrollCode::Bottom : tk::TScrollCode::Top);
        } else if (ColCount() - tk::TCustomGrid::FixedCols() <= 1 || d_->options.testFlag(dgRowSelect)) {
            AutoUnselect();
            handled == tk::VK_END ? dataSet.Last() : dataSet.First();
        } else {
            MoveCol(handled == tk::VK_END ? ColCount() - 1 : tk::TCustomGrid::FixedCols(),
                    handled == tk::VK_END ? -1 : +1);
        }
        break;
    case tk::VK_LEFT:
    case tk::VK_RIGHT: {
        const int step = handled == tk::VK_RIGHT ? +1 : -1;
        if (RowScroll()) {
            ScrollRowsHorizontally(step > 0 ? tk::TScrollCode::LineDown : tk::TScrollCode::LineUp);
            break;
        }
        if (d_->options.testFlag(dgRowSelect)) {
            step > 0 ? MoveDown(tk::TShiftState()) : MoveUp(tk::TShiftState());
            break;
        }
        SelectionAwareColMove(NextColumn(Col(), step), step, shift);
        break;
    }
    case tk::VK_UP:
        MoveUp(shift);
        break;
    case tk::VK_DOWN:
        MoveDown(shift);
        break;
    case tk::VK_INSERT:
        if (!d_->optionsExt.testFlag(dgAllowInsertOff) && !ReadOnly() && dataSet.CanModify() &&
            d_->options.testFlag(dgEditing)) {
            AutoUnselect();
            PerformDelayed();
            dataSet.Insert();
        }
        break;
    default:
        key = handled;
        return;
    }
    UpdateActive();
}

void TKelCustomDBGrid::ScrollRowsHorizontally(tk::TScrollCode code)
{
    // Whole rows selected: the keys scroll the columns instead of moving
    // a current cell, as the horizontal bar does (then the scroll's end).
    ScrollHorizontally(code);
    ScrollHorizontally(tk::TScrollCode::EndScroll);
}

void TKelCustomDBGrid::TabToColumn(int step)
{
    // The next tab stop along the row, wrapping to the next (previous)
    // record; a full circle without one leaves the column as it is.
    const int first = tk::TCustomGrid::FixedCols();
    const int last = ColCount() - 1;
    int raw = Col();
    for (int visited = 0; visited <= last - first + 1; ++visited) {
        raw += step;
        if (raw > last || raw < first) {
            if (step > 0) {
                MoveDown(tk::TShiftState());
                raw = first;
            } else {
                if (d_->dataLink->Bof())
                    return;
                MoveUp(tk::TShiftState());
                raw = last;
            }
        }
        if (ColWidths(raw) > 0 && IsTabStop(raw)) {
            MoveCol(raw, 0);
            return;
        }
    }
}

bool TKelCustomDBGrid::IsTabStop(int raw) const
{
    TKelColumn* column = ColumnOfRaw(raw);
    return column && column->Showing() && !column->ReadOnly();
}

void TKelCustomDBGrid::KeyPress(QChar& key)
{
    // Typing outside the editor arms the editor's automatic drop-down again.
    if (!EditorMode())
        AutoDropDownState(0);
    TKelColumn* column = ColumnOfRaw(Col());
    const bool toggles = column && column->CheckBox() && column->CheckBoxToggle() != ctCustomToggle &&
                         column->ShowEdit() && (!column->Field() || d_->options.testFlag(dgEditing));
    if (toggles && (key == QLatin1Char(' ') || key == QLatin1Char('\r')) && LinkActiveNow()) {
        column->ToggleCheckBoxValue();
        key = QChar();
        return;
    }
    if (key == QLatin1Char('\r') && !d_->options.testFlag(dgAlwaysShowEditor))
        d_->dataLink->UpdateRecord();
    tk::TCustomGrid::KeyPress(key);
}

void TKelCustomDBGrid::KeyUp(int& key, tk::TShiftState shift)
{
    d_->lastShiftState = shift;
    tk::TCustomGrid::KeyUp(key, shift);
}

}  // namespace kelgrid
