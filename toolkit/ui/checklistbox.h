#pragma once
// TCheckListBox: a list box with a check box before every item.
//
// The user toggles an item's box with a left press (or a double click) on
// the box, or with Space on the current item: unchecked becomes checked (or
// grayed with AllowGrayed), checked becomes unchecked, grayed becomes
// checked; then OnClickCheck fires. An item with ItemEnabled false cannot be
// toggled by the user and draws its box and text greyed; code may still set
// its state. Setting Checked or State from code never fires OnClickCheck.
//
// The check state, ItemEnabled and the object travel with the item when
// Items.Move or Items.Exchange reorders the list.

#include "toolkit/ui/listbox.h"

namespace tk {

class TCheckListBox : public TListBox {
    Q_OBJECT
    Q_PROPERTY(bool AllowGrayed READ AllowGrayed WRITE SetAllowGrayed)
    Q_CLASSINFO("Default:AllowGrayed", "False")
public:
    explicit TCheckListBox(QWidget* parent = nullptr);

    // Every accessor below raises EStringListError for an index out of
    // range.
    // True for cbChecked only.
    bool Checked(int index) const;
    // cbChecked or cbUnchecked.
    void SetChecked(int index, bool checked);
    TCheckBoxState State(int index) const;
    void SetState(int index, TCheckBoxState state);
    bool ItemEnabled(int index) const;
    void SetItemEnabled(int index, bool enabled);

    // Whether the user's toggling passes through cbGrayed.
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool on) { allowGrayed_ = on; }

    TNotifyEvent OnClickCheck;

protected:
    // The user's toggle of item index; nothing for a disabled item or an
    // index out of range.
    void ToggleClickCheck(int index);
    // Fires OnClickCheck.
    virtual void ClickCheck();
    // The width of the check box column at the start of every row.
    int CheckWidth() const;

    QRect ItemContentRect(const QRect& row) const override;
    int StandardItemHeight() const override;
    void DrawItem(int index, const QRect& rect, TOwnerDrawState state) override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The box column of a row, on the right in right-to-left alignment.
    QRect CheckColumn(const QRect& row) const;
    // The item whose box lies under pos; -1 for none.
    int CheckAtPos(const QPoint& pos) const;

    bool allowGrayed_ = false;
};

}  // namespace tk
