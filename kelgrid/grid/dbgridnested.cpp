// TKelCustomDBGrid: the grids of nested datasets. ShowPopupEditor opens the
// nested dataset of a dataset-field column in a grid of this grid's class,
// in a floating tool window owned by this grid; the platform has no docking,
// so the window only floats. A second call for the same nested dataset shows
// and focuses the grid already made.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/griderror.h"
#include "kelgrid/grid/gridstyle.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/fields.h"
#include "toolkit/ui/forms.h"
#include "toolkit/ui/sysinfo.h"

#include <QVBoxLayout>
#include <memory>

namespace kelgrid {

namespace {

// The nested dataset a column shows, nullptr for other fields.
tk::TDataSet* NestedDataSetOf(const TKelColumn* column)
{
    auto* field = column ? qobject_cast<tk::TDataSetField*>(column->Field()) : nullptr;
    return field ? field->NestedDataSet() : nullptr;
}

tk::TDataSet* DataSetOf(const TKelCustomDBGrid* grid)
{
    return grid->DataSource() ? grid->DataSource()->DataSet() : nullptr;
}

// A nested grid that can take the focus once its window shows: its own
// switches, not the window's visibility (the user may have closed it).
bool CanTakeFocus(const TKelCustomDBGrid* grid)
{
    return grid->Enabled() && !grid->isHidden();
}

// The appearance the nested grid takes from the grid that opens it.
void CopyAppearance(const TKelCustomDBGrid& from, TKelCustomDBGrid& to)
{
    to.SetBiDiMode(from.BiDiMode());
    to.SetColor(from.Color());
    to.SetCtl3D(from.Ctl3D());
    to.SetCursor(from.Cursor());
    to.SetDataColLineColor(from.DataColLineColor());
    to.SetDataRowLineColor(from.DataRowLineColor());
    to.SetEditorColor(from.EditorColor());
    to.SetEnabled(from.Enabled());
    to.SetFixedColor(from.FixedColor());
    to.SetFixedStyle(from.FixedStyle());
    to.SetFixedTheme(from.FixedTheme());
    to.SetFocusRect(from.FocusRect());
    to.SetFont(from.Font());
    to.SetGridStyle(from.GridStyle());
    to.SetGradient(from.Gradient());
    to.SetHelpContext(from.HelpContext());
    to.SetHighlightText(from.HighlightText());
    to.SetHotButtons(from.HotButtons());
    to.SetImeMode(from.ImeMode());
    to.SetImeName(from.ImeName());
    to.SetListBorder(from.ListBorder());
    to.SetMarkerStyle(from.MarkerStyle());
    to.SetMarkerTransparent(from.MarkerTransparent());
    to.SetMultiSelectOptions(from.MultiSelectOptions());
    // Sorting by title clicks would reorder the parent's nested rows only.
    TKelDBGridOptions options = from.Options();
    options.setFlag(dgTitleButtons, false);
    options.setFlag(dgMarkerAutoToggle, false);
    to.SetOptions(options);
    to.SetPopupMenu(from.GetPopupMenu());
    to.SetResizeOptions(from.ResizeOptions());
    to.SetSelectionColor(from.SelectionColor());
    to.SetSelectRowColor(from.SelectRowColor());
    to.SetSelectCellColor(from.SelectCellColor());
    to.SetStripeColor(from.StripeColor());
    to.SetTitleFont(from.TitleFont());
    to.SetFillerIndex(-1);
}

// The width of every column of the grid with its lines.
int FullColumnWidth(const TKelCustomDBGrid& grid)
{
    int width = 0;
    for (int col = 0; col < grid.ColCount(); ++col)
        width += grid.ColWidths(col) + grid.GridLineWidth();
    return width;
}

// Places and sizes the window: client width by the columns (a quarter of the
// screen when they need half of it or more), a quarter of the screen high.
void PlaceWindow(QWidget& window, const TKelCustomDBGrid& grid, const QPoint& position)
{
    const QRect screen = tk::ScreenRect();
    const int columns = FullColumnWidth(grid);
    const int width = columns < screen.width() / 2 ? columns : screen.width() / 4;
    window.resize(width, screen.height() / 4);
    window.move(position);
}

// Grids whose nested dataset is gone (its parent closed, which frees the
// dataset fields it made) can show nothing again: their windows are freed.
void FreeOrphanedNestedGrids(QList<QPointer<TKelCustomDBGrid>>& grids)
{
    for (const QPointer<TKelCustomDBGrid>& grid : std::as_const(grids)) {
        if (grid && !DataSetOf(grid))
            delete grid->window();
    }
    grids.removeAll(nullptr);
}

}  // namespace

TKelCustomDBGrid* TKelCustomDBGrid::CreateNestedGrid(QWidget* parent)
{
    QObject* made = metaObject()->newInstance(Q_ARG(QWidget*, parent));
    auto* grid = qobject_cast<TKelCustomDBGrid*>(made);
    if (!grid) {
        delete made;
        InvalidGridOperation(QStringLiteral("%1 cannot make a grid of its class: it has no invokable constructor")
                                 .arg(QString::fromLatin1(metaObject()->className())));
    }
    return grid;
}

void TKelCustomDBGrid::ShowPopupEditor(TKelColumn* column, int x, int y)
{
    tk::TDataSet* nested = NestedDataSetOf(column);
    if (!nested)
        return;
    for (const QPointer<TKelCustomDBGrid>& shown : std::as_const(d_->nestedGrids)) {
        if (!shown || DataSetOf(shown) != nested || !CanTakeFocus(shown))
            continue;
        QWidget* window = shown->window();
        window->show();
        window->raise();
        window->activateWindow();
        shown->SetFocus();
        return;
    }
    FreeOrphanedNestedGrids(d_->nestedGrids);

    // The window owns the grid and its data source: freeing it on a failure
    // frees everything made so far.
    auto window = std::make_unique<tk::TForm>(this);
    window->SetBorderStyle(tk::TFormBorderStyle::bsSizeToolWin);
    window->SetCaption(column->Field()->DisplayName());
    TKelCustomDBGrid* grid = CreateNestedGrid(window.get());
    Q_ASSERT(grid && grid->window() == window.get());
    auto* layout = new QVBoxLayout(window.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid);

    auto* source = new tk::TDataSource(grid);
    nested->CheckBrowseMode();
    source->SetDataSet(nested);
    CopyAppearance(*this, *grid);
    grid->SetDataSource(source);
    grid->Columns()->SetState(Columns()->State());
    if (grid->Columns()->Count() > 0)
        grid->Columns()->Items(0)->SetExpanded(true);

    const bool given = x != INT_MIN && y != INT_MIN;
    const QPoint position = given ? QPoint(x, y) : viewport()->mapToGlobal(CellRect(Col(), Row()).topLeft());
    PlaceWindow(*window, *grid, position);
    d_->nestedGrids.append(grid);
    window->show();
    window.release();
}

}  // namespace kelgrid
