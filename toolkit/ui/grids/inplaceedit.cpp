#include "toolkit/ui/grids/inplaceedit.h"

#include "toolkit/ui/canvas.h"
#include "toolkit/ui/grids/grid.h"

#include "toolkit/core/application.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace tk {

TInplaceEdit::TInplaceEdit(TCustomGrid* grid) : QLineEdit(grid->viewport()), TControl(this), grid_(grid)
{
    Q_ASSERT(grid);
    setObjectName(QStringLiteral("InplaceEdit"));
    setFrame(false);
    hide();
    connect(this, &QLineEdit::textEdited, this, [this] { Guarded([&] { TextEdited(); }); });
}

TInplaceEdit::~TInplaceEdit() = default;

QString TInplaceEdit::Text() const
{
    if (mask_.inputMask.isEmpty())
        return text();
    return MaskedText(mask_, displayText());
}

void TInplaceEdit::SetText(const QString& text)
{
    setText(text);
}

void TInplaceEdit::SetEditMask(const QString& mask)
{
    if (mask == editMask_)
        return;
    editMask_ = mask;
    mask_ = TranslateEditMask(mask);
    setInputMask(mask_.inputMask);
}

void TInplaceEdit::SetMaxLength(int length)
{
    maxLength_ = std::max(length, 0);
    setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

int TInplaceEdit::SelStart() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

void TInplaceEdit::SetSelStart(int start)
{
    setCursorPosition(start);
}

int TInplaceEdit::SelLength() const
{
    return selectionLength();
}

void TInplaceEdit::SetSelLength(int length)
{
    setSelection(SelStart(), length);
}

void TInplaceEdit::SetCharCase(TEditCharCase charCase)
{
    charCase_ = charCase;
    if (charCase_ != ecNormal)
        setText(charCase_ == ecUpperCase ? text().toUpper() : text().toLower());
}

void TInplaceEdit::UpdateContents()
{
    loading_ = true;
    const int col = grid_->Col();
    const int row = grid_->Row();
    setText(QString());
    SetEditMask(grid_->GetEditMask(col, row));
    SetMaxLength(grid_->GetEditLimit());
    setText(grid_->GetEditText(col, row));
    setModified(false);
    loading_ = false;
}

bool TInplaceEdit::CanModify() const
{
    return !isReadOnly() && grid_->CanEditModify();
}

void TInplaceEdit::Move(const QRect& rect)
{
    const bool gridFocused = grid_->hasFocus() || hasFocus();
    if (geometry() != rect)
        setGeometry(rect);
    if (isHidden())
        show();
    if (gridFocused && !hasFocus())
        setFocus(Qt::OtherFocusReason);
}

void TInplaceEdit::Hide()
{
    if (isHidden())
        return;
    const bool hadFocus = hasFocus();
    hide();
    if (hadFocus)
        grid_->setFocus(Qt::OtherFocusReason);
}

void TInplaceEdit::BoundsChanged()
{
    SetTextRect(QMargins(2, 0, 2, 0));
}

void TInplaceEdit::SetTextRect(const QMargins& margins)
{
    textMarginsOf_ = margins;
    setTextMargins(margins);
}

void TInplaceEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    Guarded([&] { BoundsChanged(); });
}

// --- Keys ------------------------------------------------------------------------

void TInplaceEdit::SendToGrid(int& key, TShiftState shift)
{
    grid_->KeyDown(key, shift);
    key = 0;
}

bool TInplaceEdit::event(QEvent* event)
{
    // Tab reaches the editor (and through it the grid) instead of moving
    // the focus when the grid tabs between cells.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && (grid_->Options() & goTabs)) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QLineEdit::event(event);
}

void TInplaceEdit::keyPressEvent(QKeyEvent* event)
{
    bool pass = false;
    Guarded([&] {
        int key = VirtualKeyFromQt(event->key(), event->modifiers() & Qt::KeypadModifier);
        const TShiftState shift = ShiftStateFrom(event->modifiers());
        if (key != 0) {
            KeyDown(key, shift);
            if (key == 0)
                return;
        }
        QString typed = event->text();
        if (!typed.isEmpty()) {
            QChar c = typed[0];
            KeyPress(c);
            if (c.isNull())
                return;
        }
        pass = true;
    });
    if (!pass)
        return;
    if (charCase_ != ecNormal && !event->text().isEmpty() && event->text()[0].isLetter()) {
        const QString text = charCase_ == ecUpperCase ? event->text().toUpper() : event->text().toLower();
        QKeyEvent converted(event->type(), event->key(), event->modifiers(), text);
        QLineEdit::keyPressEvent(&converted);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TInplaceEdit::KeyDown(int& key, TShiftState shift)
{
    switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_ESCAPE:
        SendToGrid(key, shift);
        return;
    case VK_TAB:
        if (!(shift & ssAlt))
            SendToGrid(key, shift);
        return;
    case VK_INSERT:
        if (!shift)
            SendToGrid(key, shift);
        else if (shift == TShiftState(ssShift) && !CanModify())
            key = 0;
        return;
    case VK_LEFT:
    case VK_HOME:
        // The caret at the start (nothing selected) leaves the cell.
        if ((shift & ssCtrl) || (!hasSelectedText() && cursorPosition() == 0) ||
            (hasSelectedText() && selectedText().size() == text().size()))
            SendToGrid(key, shift);
        return;
    case VK_RIGHT:
    case VK_END:
        if ((shift & ssCtrl) || (!hasSelectedText() && cursorPosition() == text().size()) ||
            (hasSelectedText() && selectedText().size() == text().size()))
            SendToGrid(key, shift);
        return;
    case VK_DELETE:
        if (shift & ssCtrl)
            SendToGrid(key, shift);
        else if (!CanModify())
            key = 0;
        return;
    default:
        if (shift & ssCtrl) {
            // Ctrl combinations the edit itself has no use for go to the grid.
            if (key != 'C' && key != 'V' && key != 'X' && key != 'Z' && key != 'A' && key != 'Y')
                SendToGrid(key, shift);
            else if ((key == 'V' || key == 'X' || key == 'Z' || key == 'Y') && !CanModify())
                key = 0;
        }
        return;
    }
}

void TInplaceEdit::KeyPress(QChar& key)
{
    if (key == u'\r') {
        // Enter goes to the grid (it leaves or enters editing there).
        grid_->KeyPress(key);
        key = QChar();
        return;
    }
    if (key >= u' ' && !grid_->CanEditAcceptKey(key)) {
        key = QChar();
        return;
    }
    if (key == u'\t' || key == QChar(27)) {
        key = QChar();
        return;
    }
    if ((key == u'\b' || key >= u' ') && !CanModify())
        key = QChar();
}

void TInplaceEdit::TextEdited()
{
    if (loading_)
        return;
    grid_->EditorChanged();
}

// --- Mouse and painting ----------------------------------------------------------

void TInplaceEdit::DblClick() {}

void TInplaceEdit::MouseDown(TMouseButton, TShiftState, int, int) {}

void TInplaceEdit::MouseMove(TShiftState, int, int) {}

void TInplaceEdit::MouseUp(TMouseButton, TShiftState, int, int) {}

void TInplaceEdit::mousePressEvent(QMouseEvent* event)
{
    Guarded([&] {
        if (const std::optional<TMouseButton> button = MouseButtonFrom(event->button()))
            MouseDown(*button, ShiftStateFrom(event->modifiers(), event->buttons()),
                      event->position().toPoint().x(), event->position().toPoint().y());
    });
    QLineEdit::mousePressEvent(event);
}

void TInplaceEdit::mouseMoveEvent(QMouseEvent* event)
{
    Guarded([&] {
        MouseMove(ShiftStateFrom(event->modifiers(), event->buttons()), event->position().toPoint().x(),
                  event->position().toPoint().y());
    });
    QLineEdit::mouseMoveEvent(event);
}

void TInplaceEdit::mouseReleaseEvent(QMouseEvent* event)
{
    Guarded([&] {
        if (const std::optional<TMouseButton> button = MouseButtonFrom(event->button()))
            MouseUp(*button, ShiftStateFrom(event->modifiers(), event->buttons()),
                    event->position().toPoint().x(), event->position().toPoint().y());
    });
    QLineEdit::mouseReleaseEvent(event);
}

void TInplaceEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    Guarded([&] { DblClick(); });
    QLineEdit::mouseDoubleClickEvent(event);
}

void TInplaceEdit::PaintWindow(TCanvas&) {}

void TInplaceEdit::paintEvent(QPaintEvent* event)
{
    {
        QPainter painter(this);
        TCanvas canvas(&painter);
        canvas.SetPalette(palette());
        Guarded([&] { PaintWindow(canvas); });
    }
    QLineEdit::paintEvent(event);
}

}  // namespace tk
