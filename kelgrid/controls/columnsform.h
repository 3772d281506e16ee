#pragma once
// TKelDBColumnsForm: the modal form of the columns dialog, built in code.
// A check list of the grid's columns (TKelColumnsListBox), an optional
// custom panel for descendants, and the buttons OK, Cancel, Apply and Help.
//
// Every list item keeps the ID of its column, never its position: applying
// finds the columns again by ID, so columns that vanished while the form
// was open are skipped and the rest land where the list puts them. All
// columns are found before any is changed.
//
// Moving (coAllowMoving): a column moves with every column expanded under
// it, and only among its siblings (the same parent column); fixed columns
// neither move nor let others pass them.
//
// With coAutoUpdate every tick and every move applies at once, and closing
// in any way counts as OK.

#include "kelgrid/controls/columnsoptions.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/ui/checklistbox.h"
#include "toolkit/ui/forms.h"

#include <QPointer>

namespace tk {
class TButton;
class TGroupBox;
}  // namespace tk

namespace kelgrid {

class TKelColumn;
class TKelDBGrid;

// The list of the form: Shift+Up and Shift+Down ask OnMoveKey to move the
// current item (step -1 or 1); the key is consumed either way.
class KELGRID_EXPORT TKelColumnsListBox : public tk::TCheckListBox {
    Q_OBJECT
public:
    explicit TKelColumnsListBox(QWidget* parent = nullptr);

    bool MoveKeysEnabled = false;
    std::function<void(int step)> OnMoveKey;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

class KELGRID_EXPORT TKelDBColumnsForm : public tk::TForm {
    Q_OBJECT
public:
    explicit TKelDBColumnsForm(QWidget* parent = nullptr);
    ~TKelDBColumnsForm() override;

    TKelDBGrid* DBGrid() const { return grid_; }
    void SetDBGrid(TKelDBGrid* grid) { grid_ = grid; }
    TKelDBColumnsOptions Options() const { return options_; }
    void SetOptions(TKelDBColumnsOptions options) { options_ = options; }
    int DefaultCount() const { return defaultCount_; }
    void SetDefaultCount(int count) { defaultCount_ = count; }
    int MinimumCount() const { return minimumCount_; }
    void SetMinimumCount(int count) { minimumCount_ = count; }
    int DefaultWidth() const { return defaultWidth_; }
    void SetDefaultWidth(int width) { defaultWidth_ = width; }
    int MinimumWidth() const { return minimumWidth_; }
    void SetMinimumWidth(int width) { minimumWidth_ = width; }

    TKelColumnsListBox* ColumnsList() const { return list_; }
    tk::TGroupBox* ColumnsGroup() const { return group_; }
    // Descendants place their own controls here; an empty panel is hidden.
    QWidget* CustomPanel() const { return panel_; }
    tk::TButton* OkButton() const { return ok_; }
    tk::TButton* CancelButton() const { return cancel_; }
    tk::TButton* ApplyButton() const { return apply_; }
    tk::TButton* HelpButton() const { return help_; }

    // Arranges the buttons by the options, loads the list, shows the form
    // modally and applies on OK; returns whether it closed with OK.
    bool Execute();
    // Fills the list from the grid (empty without one).
    void LoadSettings();
    // Puts the list's order and ticks on the grid's columns.
    void SaveSettings();
    // SaveSettings, then OnApply.
    void ApplySettings();
    // Moves the item at from to to with its expanded block (see the header
    // comment); the moved item becomes the current one.
    void MoveItem(int from, int to);

    // The column of item index, nullptr when it is gone.
    TKelColumn* ItemColumn(int index) const;

    tk::TNotifyEvent OnApply;
    tk::TNotifyEvent OnClose;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void BuildControls();
    // Sizes the client area and places the controls in it at once (a
    // hidden window gets its resize event only when shown).
    void Resize(int clientWidth, int clientHeight);
    void LayOutControls();
    void ArrangeButtons();
    void UpdateSizeLimits();
    // The list's height for rows rows.
    int ListHeightFor(int rows) const;
    bool IsFixed(const TKelColumn* column) const;
    // Whether items a and b may trade places: both columns there, neither
    // fixed, the same parent.
    bool AreSiblings(int a, int b) const;
    void MoveBySteps(int step);
    void ListDragOver(int x, int y, bool& accept);
    void ListDragDrop(int x, int y);
    void ItemChecked();
    void ShowHelpTopic();
    // Runs an entry from Qt, reporting what it raises to the application.
    void Guarded(const std::function<void()>& action);

    QPointer<TKelDBGrid> grid_;
    TKelDBColumnsOptions options_ = DefaultColumnsOptions;
    int defaultCount_ = 20;
    int minimumCount_ = 4;
    int defaultWidth_ = 0;
    int minimumWidth_ = 0;
    bool closingAsOk_ = false;

    tk::TGroupBox* group_;
    TKelColumnsListBox* list_;
    QWidget* panel_;
    QWidget* buttonRow_;
    tk::TButton* ok_;
    tk::TButton* cancel_;
    tk::TButton* apply_;
    tk::TButton* help_;
};

}  // namespace kelgrid
