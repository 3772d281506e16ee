#pragma once
// TKelPopupGridList: a lookup shown as a small grid with titles, several
// columns and an automatic row number (data editor deGridList, under the
// grid's dgGridStyleLists).
//
// The editor's interface is the pick list's (popuppicklist.h): SetAssociate,
// Popup, IsPopupVisible, CloseUp, ForwardKey (Enter accepts, Escape cancels),
// OnCloseUp, plus
//   TakeAppearance(owner, column)  the owning grid's look and the column's
//                                  list options, on each cell;
//   Prepare(limits)                sizes it by the limits (returns the row
//                                  height) before it opens;
//   WriteBack(column)              at each close: the first column's
//                                  expanded state, the list fields, titles
//                                  and widths back into the column; the
//                                  data source detached.
//
// List fields, titles and widths are ";"-separated texts (a trailing ";"
// is doubled, so it adds one more part): an empty field name makes a
// row-number column titled "No.". KeyValue reads the key fields (the grid's
// KeyFields) of the current record and locates by them (exact match).
//
// Mouse: only a release ending a plain click after a left press in this
// popup closes it: on the titles or totals nothing, elsewhere in the client
// area with acceptance, outside it without. A left press empties the search
// text. Keys, after the grid's own handling, search incrementally on the
// search field (a string data or internally calculated field): the extended
// text is kept only when a case-insensitive partial-key locate found a
// record. When the user sizes a column, the popup's width follows the
// columns.

#include "kelgrid/editors/dropdownlimits.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/variant.h"
#include "toolkit/ui/incrementalsearch.h"

#include <QPointer>
#include <functional>
#include <memory>

class QKeyEvent;

namespace tk {
class TPopupBehaviour;
}

namespace kelgrid {

class KELGRID_EXPORT TKelPopupGridList : public TKelCustomDBGrid {
    Q_OBJECT
public:
    explicit TKelPopupGridList(QWidget* owner = nullptr);
    ~TKelPopupGridList() override;

    TKelCustomDBGrid* Grid() const { return owner_; }
    QWidget* Associate() const;
    void SetAssociate(QWidget* editor);

    tk::Variant KeyValue() const;
    // False when no record has the key.
    bool SetKeyValue(const tk::Variant& value);
    QString ListFields() const;
    void SetListFields(const QString& fields);
    QString ListTitles() const;
    void SetListTitles(const QString& titles);
    QString ListWidths() const;
    void SetListWidths(const QString& widths);
    QString SearchField() const { return searchField_; }
    void SetSearchField(const QString& name);
    const QString& SearchText() const { return search_.Text(); }
    void SetSearchClock(tk::TIncrementalSearch::TClock clock) { search_.SetClock(std::move(clock)); }

    void TakeAppearance(TKelCustomDBGrid* owner, TKelColumn* column);
    int Prepare(const TDropDownLimits& limits);
    void WriteBack(TKelColumn* column);

    void Popup(const QPoint& screenPos);
    bool IsPopupVisible() const { return isVisible(); }
    void CloseUp(bool accept);
    bool ForwardKey(const QKeyEvent& event);
    void CancelMode() override;

    std::function<void(QObject* sender, bool accept)> OnCloseUp;

protected:
    void KeyPress(QChar& key) override;
    void MouseDown(tk::TMouseButton button, tk::TShiftState shift, int x, int y) override;
    void MouseUp(tk::TMouseButton button, tk::TShiftState shift, int x, int y) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // The sum of the shown columns' widths with their lines.
    int TotalColumnWidth() const;
    int NonClientWidth() const { return width() - viewport()->width(); }
    // The frame and, when rows do not show every record, the vertical
    // scroll bar: the width beside the viewport once the popup shows.
    int NonClientWidthFor(int rows) const;
    void FollowColumnWidths();
    bool SearchFieldUsable() const;
    void SearchFor(QChar ch);
    void ReleasedAt(int x, int y);

    QPointer<TKelCustomDBGrid> owner_;
    std::unique_ptr<tk::TPopupBehaviour> behaviour_;
    QString listFields_;
    QString listTitles_;
    QString listWidths_;
    QString searchField_;
    tk::TIncrementalSearch search_;
    bool leftPressed_ = false;
    // The first column's base width before Prepare raised it to cover the
    // editor, -1 when not raised.
    int firstBaseWidth_ = -1;
    int raisedFirstWidth_ = -1;
};

}  // namespace kelgrid
