// The grid base's hosting of its in-place editor: when it may show, loading
// it for the current cell, keeping it over that cell, handing its text back.

#include "toolkit/ui/grids/grid.h"

#include "toolkit/ui/grids/inplaceedit.h"

namespace tk {

TInplaceEdit* TCustomGrid::InplaceEditor() const
{
    return editor_;
}

TInplaceEdit* TCustomGrid::CreateEditor()
{
    return new TInplaceEdit(this);
}

QString TCustomGrid::GetEditText(int, int)
{
    return {};
}

void TCustomGrid::SetEditText(int, int, const QString&) {}

QString TCustomGrid::GetEditMask(int, int)
{
    return {};
}

int TCustomGrid::GetEditLimit()
{
    return 0;
}

bool TCustomGrid::CanEditAcceptKey(QChar)
{
    return true;
}

bool TCustomGrid::CanEditModify()
{
    return true;
}

bool TCustomGrid::CanEditShow()
{
    const bool focused = hasFocus() || (editor_ && editor_->hasFocus());
    return (options_ & (goRowSelect | goEditing)) == goEditing && HandleAllocated() &&
           ((options_ & goAlwaysShowEditor) || focused);
}

void TCustomGrid::ShowEditor()
{
    if (!CanEditShow())
        return;
    editorMode_ = true;
    UpdateEditorText();
    UpdateEditorPlacement();
}

void TCustomGrid::HideEditor()
{
    if (!editorMode_)
        return;
    editorMode_ = false;
    if (!editor_)
        return;
    // The last text goes to the cell before the editor leaves it.
    if (editorCell_.X >= 0)
        SetEditText(editorCell_.X, editorCell_.Y, editor_->Text());
    editorCell_ = {};
    editor_->Hide();
    InvalidateCell(Col(), Row());
}

void TCustomGrid::SetEditorMode(bool on)
{
    if (!on) {
        HideEditor();
        return;
    }
    ShowEditor();
    if (editor_ && editorMode_)
        editor_->Deselect();
}

void TCustomGrid::UpdateEditorText()
{
    if (!editorMode_)
        return;
    if (!editor_) {
        editor_ = CreateEditor();
        Q_ASSERT(editor_ && editor_->Grid() == this);
    }
    if (editorCell_ == current_)
        return;
    editorCell_ = current_;
    editor_->UpdateContents();
    editOriginal_ = editor_->Text();
    editor_->SelectAll();
}

void TCustomGrid::ReloadEditor()
{
    if (!editorMode_ || !editor_)
        return;
    editorCell_ = {};
    UpdateEditorText();
}

void TCustomGrid::UpdateEditorPlacement()
{
    if (!editorMode_ || !editor_)
        return;
    if (editorCell_ != current_)
        UpdateEditorText();
    const QRect rect = CellRect(Col(), Row());
    if (rect.isEmpty()) {
        editor_->Hide();
        return;
    }
    editor_->Move(rect);
}

void TCustomGrid::EditorChanged()
{
    if (editorMode_ && editorCell_.X >= 0)
        SetEditText(editorCell_.X, editorCell_.Y, editor_->Text());
}

void TCustomGrid::CreateWnd()
{
    TControl::CreateWnd();
    AxesChanged();
    ClampInView(current_);
    if ((options_ & goAlwaysShowEditor) && CanEditShow())
        ShowEditor();
}

}  // namespace tk
