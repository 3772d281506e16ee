// The grid base's keyboard handling: key presses become KeyDown (the
// virtual-key code) and KeyPress (each character), the default navigation
// moves the current cell, and typing on the grid opens the editor with the
// typed character.

#include "toolkit/ui/grids/grid.h"

#include "toolkit/core/application.h"

#include "toolkit/ui/grids/gridaxis.h"
#include "toolkit/ui/grids/inplaceedit.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>

namespace tk {

bool TCustomGrid::event(QEvent* event)
{
    // With goTabs, Tab and Shift+Tab move between cells instead of between
    // controls.
    if (event->type() == QEvent::KeyPress && (options_ & goTabs)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void TCustomGrid::keyPressEvent(QKeyEvent* event)
{
    Guarded([&] {
        int key = VirtualKeyFromQt(event->key(), event->modifiers() & Qt::KeypadModifier);
        const TShiftState shift = ShiftStateFrom(event->modifiers());
        if (key != 0)
            KeyDown(key, shift);
        for (QChar c : event->text()) {
            KeyPress(c);
            if (c.isNull())
                continue;
            if ((options_ & goEditing) && (c == u'\b' || c >= u' ') && !(shift & ssCtrl) &&
                !(shift & ssAlt)) {
                ShowEditorChar(event);
                break;
            }
        }
    });
}

void TCustomGrid::keyReleaseEvent(QKeyEvent* event)
{
    Guarded([&] {
        int key = VirtualKeyFromQt(event->key(), event->modifiers() & Qt::KeypadModifier);
        if (key != 0)
            KeyUp(key, ShiftStateFrom(event->modifiers()));
    });
}

void TCustomGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    Guarded([&] {
        InvalidateCell(Col(), Row());
        if ((options_ & goAlwaysShowEditor) && CanEditShow())
            ShowEditor();
    });
}

void TCustomGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    Guarded([&] { InvalidateCell(Col(), Row()); });
}

bool TCustomGrid::CanGridAcceptKey(int, TShiftState)
{
    return true;
}

// The next column from `from` in direction step (+1, -1) that is not
// hidden; `from` itself when there is none before the end.
int TCustomGrid::NextShownCol(int from, int step) const
{
    for (int col = from + step; col >= FixedCols() && col < ColCount(); col += step)
        if (!cols_->IsHidden(col))
            return col;
    return from;
}

void TCustomGrid::KeyDown(int& key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
    if (key == 0 || !CanGridAcceptKey(key, shift))
        return;
    const bool rowSelect = options_ & goRowSelect;
    const int pageWidth = VisibleColCount();
    const int pageHeight = VisibleRowCount();
    TGridCoord top{LeftCol(), TopRow()};
    TGridCoord cell = current_;
    const int firstShown = NextShownCol(FixedCols() - 1, +1);
    const int lastShown = NextShownCol(ColCount(), -1);
    if (shift & ssCtrl) {
        switch (key) {
        case VK_UP:
            --top.Y;
            break;
        case VK_DOWN:
            ++top.Y;
            break;
        case VK_LEFT:
            if (!rowSelect) {
                cell.X -= pageWidth;
                top.X -= pageWidth;
            }
            break;
        case VK_RIGHT:
            if (!rowSelect) {
                cell.X += pageWidth;
                top.X += pageWidth;
            }
            break;
        case VK_PRIOR:
            cell.Y = TopRow();
            break;
        case VK_NEXT:
            cell.Y = rows_->LastFullyVisible(ClientExtentY());
            break;
        case VK_HOME:
            cell = {firstShown, FixedRows()};
            break;
        case VK_END:
            cell = {lastShown, RowCount() - 1};
            break;
        default:
            return;
        }
    } else {
        switch (key) {
        case VK_UP:
            --cell.Y;
            break;
        case VK_DOWN:
            ++cell.Y;
            break;
        case VK_LEFT:
            if (rowSelect)
                --top.X;
            else
                cell.X = NextShownCol(cell.X, -1);
            break;
        case VK_RIGHT:
            if (rowSelect)
                ++top.X;
            else
                cell.X = NextShownCol(cell.X, +1);
            break;
        case VK_NEXT:
            cell.Y += pageHeight;
            top.Y += pageHeight;
            break;
        case VK_PRIOR:
            cell.Y -= pageHeight;
            top.Y -= pageHeight;
            break;
        case VK_HOME:
            if (rowSelect)
                cell.Y = FixedRows();
            else
                cell.X = firstShown;
            break;
        case VK_END:
            if (rowSelect)
                cell.Y = RowCount() - 1;
            else
                cell.X = lastShown;
            break;
        case VK_TAB:
            if ((options_ & goTabs) && !(shift & ssAlt)) {
                // Along the row, wrapping to the next (previous) row and
                // from the last cell to the first.
                const int step = (shift & ssShift) ? -1 : +1;
                const int next = NextShownCol(cell.X, step);
                if (next != cell.X) {
                    cell.X = next;
                } else {
                    cell.X = step > 0 ? firstShown : lastShown;
                    cell.Y += step;
                    if (cell.Y >= RowCount())
                        cell.Y = FixedRows();
                    else if (cell.Y < FixedRows())
                        cell.Y = RowCount() - 1;
                }
                shift &= ~TShiftState(ssShift);
            }
            break;
        case VK_F2:
            SetEditorMode(true);
            return;
        case VK_ESCAPE:
            if (editorMode_ && editor_ && editorCell_.X >= 0) {
                // The cell gets back the text it had when the editor was
                // loaded; the editor shows it, and leaves unless it always
                // shows.
                if (editor_->Modified())
                    SetEditText(editorCell_.X, editorCell_.Y, editOriginal_);
                editorCell_ = {};
                UpdateEditorText();
                if (!(options_ & goAlwaysShowEditor))
                    HideEditor();
            }
            return;
        default:
            return;
        }
    }
    top.X = std::clamp(top.X, FixedCols(), cols_->MaxFirst(ClientExtentX()));
    top.Y = std::clamp(top.Y, FixedRows(), rows_->MaxFirst(ClientExtentY()));
    if (top.X != LeftCol() || top.Y != TopRow())
        SetTopLeft(top.X, top.Y);
    cell.X = std::clamp(cell.X, FixedCols(), ColCount() - 1);
    cell.Y = std::clamp(cell.Y, FixedRows(), RowCount() - 1);
    if (cell != current_)
        FocusCell(cell.X, cell.Y, !(shift & ssShift));
}

void TCustomGrid::KeyPress(QChar& key)
{
    if (OnKeyPress)
        OnKeyPress(this, key);
    if (key == u'\r' && !(options_ & goAlwaysShowEditor)) {
        if (editorMode_)
            HideEditor();
        else
            ShowEditor();
        key = QChar();
    }
}

void TCustomGrid::KeyUp(int& key, TShiftState shift)
{
    if (OnKeyUp)
        OnKeyUp(this, key, shift);
}

// The editor takes the character as if it had been typed there: it replaces
// the cell's text, which ShowEditor selected.
void TCustomGrid::ShowEditorChar(QKeyEvent* event)
{
    ShowEditor();
    if (!editor_ || !editorMode_ || editor_->isHidden())
        return;
    QKeyEvent copy(QEvent::KeyPress, event->key(), event->modifiers(), event->text());
    QCoreApplication::sendEvent(editor_, &copy);
}

}  // namespace tk
