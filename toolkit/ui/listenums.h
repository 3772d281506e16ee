#pragma once
// The enumerations of the list controls, in one gadget so that properties of
// these types read and write by key name ("lbOwnerDrawFixed"), lifted into
// namespace tk so code writes lbOwnerDrawFixed.

#include <QObject>

namespace tk {

struct TListEnums {
    Q_GADGET

public:
    // lbStandard: the list draws its items and their height follows the
    // font; lbOwnerDrawFixed: the items are drawn by OnDrawItem (or the
    // default drawing) in rows of ItemHeight.
    enum TListBoxStyle { lbStandard, lbOwnerDrawFixed };
    Q_ENUM(TListBoxStyle)
    // The state of a check box; cbGrayed only where grayed is allowed.
    enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
    Q_ENUM(TCheckBoxState)
    // Where a drag is relative to the control asked to accept it.
    enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };
    Q_ENUM(TDragState)
};

using TListBoxStyle = TListEnums::TListBoxStyle;
using TCheckBoxState = TListEnums::TCheckBoxState;
using TDragState = TListEnums::TDragState;
using enum TListEnums::TListBoxStyle;
using enum TListEnums::TCheckBoxState;
using enum TListEnums::TDragState;

}  // namespace tk
