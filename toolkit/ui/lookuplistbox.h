#pragma once
// TDBLookupListBox: a list of the records of a list dataset (ListSource),
// one row per record, the ListField fields side by side in columns.
//
// - KeyField names the field whose value identifies a record; KeyValue is
//   the selected record's key (null for none). Setting it locates the record
//   with that key (exact match), which becomes the list dataset's current
//   record. The selected row is the shown record whose key equals KeyValue.
// - ListField: ";"-separated field names (empty: the key field); the first
//   one is the search field. A column is DisplayWidth x the width of "0" + 6
//   pixels wide; the last takes the rest of the row.
// - RowCount rows are shown: the control's height is RowCount x RowHeight +
//   2 x the frame. Its own data link holds a window of RowCount records.
// - Keys: Up/Down (Left/Right too), PgUp/PgDn (a page less one), Home/End
//   move the list dataset and select the record reached; with no selection
//   the first arrow selects the current record. A left press selects the row
//   under the mouse (a held button follows it); the wheel moves the dataset
//   by WheelRows records (0: the system's lines) and selects the record
//   reached. Every selection made by the user fires OnClick when KeyValue
//   changed; KeyValue set by code fires nothing.
// - Incremental search on the first list field when it is a string field: a
//   typed character extends the search text (TIncrementalSearch) and a
//   case-insensitive partial-key Locate selects the first match; the text is
//   kept only when a record was found. Backspace and Escape empty it.

#include "toolkit/core/variant.h"
#include "toolkit/ui/control.h"
#include "toolkit/ui/incrementalsearch.h"

#include <QAbstractScrollArea>
#include <QList>
#include <QPointer>
#include <memory>

namespace tk {

class TCanvas;
class TDataSet;
class TDataSource;
class TField;

class TDBLookupListBox : public QAbstractScrollArea, public TControl {
    Q_OBJECT
    TK_CONTROL_PROPERTIES
public:
    explicit TDBLookupListBox(QWidget* parent = nullptr);
    ~TDBLookupListBox() override;

    TDataSource* ListSource() const;
    void SetListSource(TDataSource* source);
    // The open list dataset, else nullptr.
    TDataSet* ListDataSet() const;
    QString KeyField() const { return keyField_; }
    void SetKeyField(const QString& name);
    QString ListField() const { return listField_; }
    void SetListField(const QString& names);
    // The fields ListField names that the list dataset has (the key field
    // when ListField is empty); empty while the dataset is closed.
    QList<TField*> ListFields() const;

    Variant KeyValue() const { return keyValue_; }
    void SetKeyValue(const Variant& value);

    int RowCount() const { return rowCount_; }
    // At least 1.
    void SetRowCount(int rows);
    // The height of a row: the font's line height + 2.
    int RowHeight() const;
    // The frame on each side of the rows.
    int FrameWidth() const;
    // Records a wheel notch moves; 0 the system's wheel lines.
    int WheelRows() const { return wheelRows_; }
    void SetWheelRows(int rows) { wheelRows_ = rows; }

    const QString& SearchText() const { return search_.Text(); }
    void SetSearchClock(TIncrementalSearch::TClock clock) { search_.SetClock(std::move(clock)); }

    // The window row under pos (viewport coordinates), -1 for none.
    int RowAt(const QPoint& pos) const;
    // Whether a record is shown in the window and selected.
    int SelectedRow() const;

    TNotifyEvent OnClick;

protected:
    // Moves the list dataset by distance records and selects the record
    // reached (OnClick when the key changed).
    void MoveAndSelect(int distance);
    // Selects window row row (moving the dataset there).
    void SelectRow(int row);
    // Makes the current record's key the KeyValue; fires OnClick when it
    // changed.
    void SelectCurrent();
    // The canvas is prepared with the font and the row's colours.
    virtual void DrawRow(TCanvas& canvas, const QRect& rect, bool selected);

    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void FontChanged() override;

private:
    class TListDataLink;
    friend class TListDataLink;

    void ListLinkChanged();
    void UpdateHeight();
    void UpdateScrollBar();
    void ScrollBarAction(int action);
    void KeyDown(int key);
    void KeyChar(QChar ch);
    bool CurrentKeyEquals(const Variant& value) const;
    TField* KeyFieldObject() const;

    std::unique_ptr<TListDataLink> link_;
    QString keyField_;
    QString listField_;
    Variant keyValue_;
    int rowCount_ = 7;
    int wheelRows_ = 0;
    bool tracking_ = false;
    TIncrementalSearch search_;
};

}  // namespace tk
