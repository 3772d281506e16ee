#pragma once
// TKelPopupDataList: the drop-down lookup list the in-place editor opens for
// a lookup column (data editor deDataList), on the toolkit's lookup list box
// (KeyField, ListField, ListSource, KeyValue, RowCount).
//
// The editor's interface is the pick list's (popuppicklist.h): SetGrid,
// SetAssociate, Prepare(limits) before it opens (returns the row height),
// Popup, IsPopupVisible, CloseUp, ForwardKey (Enter accepts, Escape
// cancels), OnCloseUp. A left release closes it, accepting inside the client
// area (also one ending a drag begun on the editor); the wheel moves the list
// dataset by the grid's wheel rows and selects the record reached. Outside
// presses, the editor going away and cancel mode close it without accepting.

#include "kelgrid/editors/dropdownlimits.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/ui/lookuplistbox.h"

#include <QPointer>
#include <functional>
#include <memory>

class QKeyEvent;

namespace tk {
class TPopupBehaviour;
}

namespace kelgrid {

class TKelCustomDBGrid;

class KELGRID_EXPORT TKelPopupDataList : public tk::TDBLookupListBox {
    Q_OBJECT
public:
    explicit TKelPopupDataList(QWidget* owner = nullptr);
    ~TKelPopupDataList() override;

    TKelCustomDBGrid* Grid() const { return grid_; }
    void SetGrid(TKelCustomDBGrid* grid);
    QWidget* Associate() const;
    void SetAssociate(QWidget* editor);

    // Rows: the limits' rows for the records of the list dataset (counted by
    // a walk from the first to the last, controls disabled, the position
    // restored); width: the limits' width for the list fields' columns and
    // the scroll bar. Returns the row height (client height div rows).
    int Prepare(const TDropDownLimits& limits);

    void Popup(const QPoint& screenPos);
    bool IsPopupVisible() const { return isVisible(); }
    void CloseUp(bool accept);
    bool ForwardKey(const QKeyEvent& event);
    void CancelMode() override;

    std::function<void(QObject* sender, bool accept)> OnCloseUp;

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int CountRecords() const;
    void AssociateDrag(const QPoint& globalPos, bool released);

    QPointer<TKelCustomDBGrid> grid_;
    std::unique_ptr<tk::TPopupBehaviour> behaviour_;
};

}  // namespace kelgrid
