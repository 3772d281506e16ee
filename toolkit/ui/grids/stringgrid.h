#pragma once
// TStringGrid: a grid of text cells on the grid base, editable in place.
// Cells keep their text when columns or rows move (the cells move along)
// and when the grid grows; shrinking drops the cells outside.
//
// Drawing: with DefaultDrawing the grid fills each cell (fixed cells in
// FixedColor, selected ones in the highlight colour, others in Color),
// writes its text 2 pixels in and marks the focused cell; OnDrawCell then
// paints over it (or alone, without DefaultDrawing).

#include "toolkit/ui/grids/grid.h"

#include <QVector>

namespace tk {

class TStringGrid : public TCustomGrid {
    Q_OBJECT
    Q_PROPERTY(bool DefaultDrawing READ DefaultDrawing WRITE SetDefaultDrawing)
    Q_CLASSINFO("Default:DefaultDrawing", "True")
public:
    explicit TStringGrid(QWidget* parent = nullptr);

    // EInvalidGridOperation "Grid index out of range" outside the matrix.
    QString Cells(int col, int row) const;
    void SetCells(int col, int row, const QString& text);

    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool on);

    std::function<void(QObject* sender, int col, int row, const QRect& rect, TGridDrawState state)>
        OnDrawCell;
    std::function<void(QObject* sender, int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void(QObject* sender, int col, int row, QString& value)> OnGetEditText;
    std::function<void(QObject* sender, int col, int row, const QString& value)> OnSetEditText;
    // Asked before the cells follow a moved column; refusing moves the
    // column back.
    std::function<void(QObject* sender, int from, int to, bool& accept)> OnColumnMoving;
    std::function<void(QObject* sender, int from, int to)> OnColumnMoved;
    std::function<void(QObject* sender, int from, int to)> OnRowMoved;

protected:
    void DrawCell(int col, int row, const QRect& rect, TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    QString GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const QString& value) override;
    void ColumnMoved(int from, int to) override;
    void RowMoved(int from, int to) override;
    void SizeChanged(int oldColCount, int oldRowCount) override;

private:
    void CheckCell(int col, int row) const;

    // cells_[row][col]
    QVector<QVector<QString>> cells_;
    bool defaultDrawing_ = true;
};

}  // namespace tk
