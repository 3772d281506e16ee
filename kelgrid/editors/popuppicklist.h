#pragma once
// TKelPopupPickList: the drop-down list of texts the in-place editor opens
// for a column's pick list (data editor dePickList).
//
// The editor drives it through the same small interface as the calculator
// and the calendar:
//   SetGrid(grid)             the owning grid: colours, wheel rows, border;
//   Items()                   the texts, filled before it opens;
//   Prepare(limits, text)     selects the item equal to the editor's text
//                             (none for an empty text) and sizes the list
//                             by the limits; returns the row height the
//                             opening animation steps by;
//   Popup(screen point)       shows it there without taking the focus;
//   ForwardKey(key event)     the keys the editor receives while it is open
//                             (Enter accepts, Escape cancels);
//   OnCloseUp(sender, accept) runs after the popup hid itself; the editor
//                             reads ItemIndex / the selected text.
//
// It is a top-level popup (TPopupBehaviour): a press outside it and the
// editor, the editor hiding or its window moving, and cancel mode close it
// without accepting. A left release closes it, accepting when the pointer is
// inside the client area; a release that ends a drag begun on the editor
// counts the same way. With ListMouseTracking, moving over it selects the
// item under the pointer. The wheel scrolls the top item by the grid's
// wheel rows. Typed characters search incrementally (TIncrementalSearch):
// the first item beginning with the search text, in any case, is selected.
//
// Grid-style lists (SetOwnerDrawn): rows of the grid's data row height in
// the grid's selection colours, with the grid's data line under each item
// and its fixed line at the side next to the scroll bar while one shows.

#include "kelgrid/editors/dropdownlimits.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/ui/incrementalsearch.h"
#include "toolkit/ui/listbox.h"

#include <QPointer>
#include <functional>
#include <memory>

class QKeyEvent;

namespace tk {
class TPopupBehaviour;
}

namespace kelgrid {

class TKelCustomDBGrid;

class KELGRID_EXPORT TKelPopupPickList : public tk::TListBox {
    Q_OBJECT
public:
    // owner: the editor; the popup is a window of its own, freed with it.
    explicit TKelPopupPickList(QWidget* owner = nullptr);
    ~TKelPopupPickList() override;

    TKelCustomDBGrid* Grid() const { return grid_; }
    void SetGrid(TKelCustomDBGrid* grid);
    QWidget* Associate() const;
    void SetAssociate(QWidget* editor);
    // Owner drawing in the grid's look (the grid's style lists).
    bool OwnerDrawn() const { return Style() == tk::lbOwnerDrawFixed; }
    void SetOwnerDrawn(bool on);

    int Prepare(const TDropDownLimits& limits, const QString& editorText);

    void Popup(const QPoint& screenPos);
    bool IsPopupVisible() const { return isVisible(); }
    // Hides the popup, then fires OnCloseUp; nothing when hidden.
    void CloseUp(bool accept);
    bool ForwardKey(const QKeyEvent& event);
    void CancelMode() override;

    const QString& SearchText() const { return search_.Text(); }
    void SetSearchClock(tk::TIncrementalSearch::TClock clock) { search_.SetClock(std::move(clock)); }

    std::function<void(QObject* sender, bool accept)> OnCloseUp;

protected:
    void DrawItem(int index, const QRect& rect, tk::TOwnerDrawState state) override;

    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void SearchFor(QChar ch);
    // The item under a screen point, for a drag begun on the editor.
    void AssociateDrag(const QPoint& globalPos, bool released);
    void ReleasedAt(const QPoint& pos);
    int RowsShown() const;

    QPointer<TKelCustomDBGrid> grid_;
    std::unique_ptr<tk::TPopupBehaviour> behaviour_;
    tk::TIncrementalSearch search_;
};

}  // namespace kelgrid
