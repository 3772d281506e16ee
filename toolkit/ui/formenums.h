#pragma once
// The enumerations of windows, in one gadget so that properties of these
// types read and write by key name ("bsSizeable", "poScreenCenter"), and the
// modal results.
//
// The window border style shares bsNone and bsSingle with a control's
// TBorderStyle, so it stays scoped: TFormBorderStyle::bsSizeable. The
// position's names are unique and lifted into namespace tk.

#include <QObject>

namespace tk {

struct TFormEnums {
    Q_GADGET

public:
    // The frame of a window: bsSizeable and bsSizeToolWin let the user
    // resize it (within Constraints), the others keep its size; bsDialog
    // has no minimise or maximise buttons; the tool styles are tool
    // windows; bsNone has no frame at all.
    enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
    Q_ENUM(TFormBorderStyle)
    // Where a window appears when shown. The default placements (poDefault,
    // poDefaultPosOnly, poDefaultSizeOnly) leave it to the system, as
    // poDesigned does.
    enum TPosition {
        poDesigned,
        poDefault,
        poDefaultPosOnly,
        poDefaultSizeOnly,
        poScreenCenter,
        poDesktopCenter,
        poMainFormCenter,
        poOwnerFormCenter
    };
    Q_ENUM(TPosition)
};

using TFormBorderStyle = TFormEnums::TFormBorderStyle;
using TPosition = TFormEnums::TPosition;
using enum TFormEnums::TPosition;

// The results of a modal window; ModalResult properties are integers, so
// other values are allowed too.
enum TModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
    mrAll = 8,
    mrNoToAll = 9,
    mrYesToAll = 10
};

}  // namespace tk
