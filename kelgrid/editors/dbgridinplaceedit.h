#pragma once
// TKelDBGridInplaceEdit: the data grid's cell editor. It binds the button
// and popup of TKelInplaceEditList to the selected column and its field:
// each time it is shown for a cell (UpdateContents) it takes the column's
// edit style and popup from the grid (GetEditStyle), its colours, font,
// character case and read-only state, and creates the popup it needs once
// (a pick list, a lookup list, a lookup grid, a calendar or a calculator).
//
// Opening a popup gives it the cell's value (the calendar's date, the
// calculator's number, the list's current item or key); an accepted close
// writes the chosen value back (ApplyValue): through the column's edit
// text, or, for a lookup field, into its key field, so that the lookup
// follows. Clearing a lookup makes its key Null.
//
// Beyond the popups: value stepping (numeric keypad + and -, double-click)
// through the pick list or the lookup dataset under loSelectNextValue;
// Delete clearing the value under loAllowClearValue; auto-completion of
// typed text from the pick list or the lookup dataset under
// loAutoComplete; automatic opening on entering a cell under
// loAutoDropDown (not right after a mouse press in the grid).

#include "kelgrid/editors/inplaceeditlist.h"
#include "kelgrid/grid/columnenums.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/variant.h"

#include <QPoint>
#include <QPointer>
#include <memory>

namespace tk {
class TDataSet;
class TDataSource;
class TField;
}  // namespace tk

namespace kelgrid {

class TKelColumn;
class TKelPopupCalculator;
class TKelPopupCalendar;
class TKelPopupDataList;
class TKelPopupGridList;
class TKelPopupPickList;

class KELGRID_EXPORT TKelDBGridInplaceEdit : public TKelInplaceEditList {
    Q_OBJECT
public:
    explicit TKelDBGridInplaceEdit(TKelCustomDBGrid* grid);
    ~TKelDBGridInplaceEdit() override;

    TKelDataEditor DataEditor() const { return dataEditor_; }
    // The popups made so far (nullptr before their first use).
    TKelPopupCalendar* Calendar() const;
    TKelPopupCalculator* Calculator() const;
    TKelPopupPickList* PickList() const;
    TKelPopupDataList* DataList() const;
    TKelPopupGridList* GridList() const;

    void UpdateContents() override;
    void OpenList() override;
    void CloseList(bool accept) override;
    void ButtonClick() override;

    // Writes value into the cell: a lookup field's key field takes it
    // (an empty text makes it Null); textOnly puts it into the editor's
    // text as typed text; otherwise it becomes the column's edit text.
    void ApplyValue(const tk::Variant& value, bool textOnly = false);
    // Steps to the next (forward) or previous pick item or lookup record;
    // false when stepping does not apply to the cell.
    bool SelectNextValue(bool forward);

    // The grid's mouse note (AutoDropDownState): -2 a press began, -1 it
    // selected a cell, -3 released (a press still at -2 marks cell as the
    // one already handled), 0 re-armed.
    void NoteMouse(int state, const QPoint& cell);

protected:
    TListGeometry PrepareList() override;
    bool AutoCloseEditor() const override;
    bool F2ClosesAsChoice() const override;
    bool ListTakesWheel() const override;
    void KeyDown(int& key, tk::TShiftState shift) override;
    void KeyPress(QChar& key) override;
    void DblClick() override;

private:
    struct TLookup {
        tk::TDataSet* dataSet = nullptr;
        QString keyFields;     // in the lookup dataset
        QString listFields;    // shown by the list
        QString listTitles;    // the lookup grid's titles and widths
        QString listWidths;
        QString searchField;   // searched by auto-completion and the lists
        tk::Variant keyValue;  // the cell's current key
    };

    TKelColumn* Column() const;
    // The lookup behind the cell: the lookup field's definition, else the
    // column's LookupDataSet; false when the cell has none.
    bool FindLookup(TLookup& lookup) const;
    // Finds the lookup, opens its dataset when closed (closed again by
    // ReleaseLookup) and puts it behind lookupSource_.
    TLookup AttachLookup();
    void ReleaseLookup();
    // At each close: the lookup grid writes its layout back into the
    // column, the lists let go of their data.
    void DetachLists();
    void MakePopup();
    void TakeAppearance();
    void TakeHint();
    bool AutoComplete(QChar& key);
    bool ClearValue();
    bool ColumnHas(TKelListOption option) const;

    TKelDataEditor dataEditor_ = dePickList;
    std::unique_ptr<TKelEditorPopup> calendar_;
    std::unique_ptr<TKelEditorPopup> calculator_;
    std::unique_ptr<TKelEditorPopup> pickList_;
    std::unique_ptr<TKelEditorPopup> dataList_;
    std::unique_ptr<TKelEditorPopup> gridList_;
    // A lookup dataset the editor opened for the popup, closed again at
    // close-up.
    QPointer<tk::TDataSet> openedLookup_;
    // The lookup dataset's source for the lists while one is open.
    std::unique_ptr<tk::TDataSource> lookupSource_;
    // The cell the automatic opening last handled, and the mouse note.
    QPoint lastCell_{-1, -1};
    int mouseNote_ = 0;
};

}  // namespace kelgrid
