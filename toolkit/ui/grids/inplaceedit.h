#pragma once
// TInplaceEdit, the grid's in-place editor base: a masked single-line edit
// owned by a grid, laid over the grid's current cell. Its content comes from
// the grid (UpdateContents: GetEditText, GetEditMask, GetEditLimit); every
// change goes back through the grid's SetEditText.
//
// Keys: KeyDown sees every key press first, Alt combinations included
// (descendants open their popups there). The base passes the grid's
// navigation keys to the grid's KeyDown: Up, Down, PgUp, PgDn, Esc, Tab,
// Ctrl combinations, and Left / Right / Home / End when the caret cannot go
// further; Enter goes to the grid's KeyPress. Typing, pasting and deleting
// only happen while the grid's CanEditModify agrees, and typed characters
// the grid's CanEditAcceptKey refuses are dropped.
//
// The text rectangle: BoundsChanged (after every move or resize) sets the
// margins the text keeps; descendants narrow it for a button, which they
// paint in PaintWindow before the edit paints its text.

#include "toolkit/ui/control.h"
#include "toolkit/ui/grids/editmask.h"
#include "toolkit/ui/uienums.h"

#include <QLineEdit>
#include <QMargins>

namespace tk {

class TCanvas;
class TCustomGrid;

class TInplaceEdit : public QLineEdit, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
public:
    explicit TInplaceEdit(TCustomGrid* grid);
    ~TInplaceEdit() override;

    TCustomGrid* Grid() const { return grid_; }
    // The text as the edit mask keeps it (without blanks, and without the
    // literals when the mask says so).
    QString Text() const;
    void SetText(const QString& text);
    QString EditMask() const { return editMask_; }
    // An edit mask of the toolkit's syntax (see editmask.h).
    void SetEditMask(const QString& mask);
    // 0 for no limit.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);
    int SelStart() const;
    void SetSelStart(int start);
    int SelLength() const;
    void SetSelLength(int length);
    void SelectAll() { selectAll(); }
    void Deselect() { deselect(); }
    bool Modified() const { return isModified(); }
    void SetModified(bool modified) { setModified(modified); }
    bool ReadOnly() const { return isReadOnly(); }
    void SetReadOnly(bool readOnly) { setReadOnly(readOnly); }
    TEditCharCase CharCase() const { return charCase_; }
    void SetCharCase(TEditCharCase charCase);

    // Moves the editor onto rect (the grid's viewport coordinates), shows
    // it, and focuses it when the grid has the focus.
    void Move(const QRect& rect);
    // Hides the editor, moving the focus back to the grid when it had it.
    void Hide();
    // Loads text, mask and limit from the grid's current cell.
    virtual void UpdateContents();
    // Whether the grid lets the text change.
    bool CanModify() const;
    // The margins of the text inside the editor.
    QMargins TextMargins() const { return textMarginsOf_; }

protected:
    // The text rectangle after a move or resize (the base: 2 pixels left
    // and right).
    virtual void BoundsChanged();
    void SetTextRect(const QMargins& margins);
    virtual void KeyDown(int& key, TShiftState shift);
    virtual void KeyPress(QChar& key);
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // Paints what lies outside the text (a button) before the edit paints.
    virtual void PaintWindow(TCanvas& canvas);

    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void SendToGrid(int& key, TShiftState shift);
    void TextEdited();

    TCustomGrid* grid_;
    QString editMask_;
    TEditMaskTranslation mask_;
    int maxLength_ = 0;
    TEditCharCase charCase_ = ecNormal;
    QMargins textMarginsOf_;
    bool loading_ = false;
};

}  // namespace tk
