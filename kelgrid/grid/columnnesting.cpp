// Nested columns: a column groups the columns of its object field's
// sub-fields, or the ExpandCols columns after it. Expanded groups show
// their children (the parent's title spans them); collapsed ones show the
// parent alone. Moving a column moves its whole group.

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/column_p.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "toolkit/data/field.h"
#include "toolkit/data/fields.h"

#include <QScopeGuard>

namespace kelgrid {

namespace {

bool IsObjectType(const tk::TField* field)
{
    return field && (field->DataType() == tk::ftADT || field->DataType() == tk::ftArray);
}

int ColumnLineWidth(const TKelCustomDBGrid* grid)
{
    return grid && grid->Options().testFlag(dgColLines) ? grid->GridLineWidth() : 0;
}

bool IsDescendantOf(const TKelColumn* column, const TKelColumn* ancestor)
{
    for (TKelColumn* parent = column->ParentColumn(); parent; parent = parent->ParentColumn())
        if (parent == ancestor)
            return true;
    return false;
}

}  // namespace

bool TKelColumn::Expandable() const
{
    return d_->expandCols > 0 || IsObjectType(Field());
}

bool TKelColumn::Expanded() const
{
    return d_->expanded && Expandable();
}

void TKelColumn::SetExpanded(bool expanded)
{
    if (expanded == d_->expanded)
        return;
    TKelCustomDBGrid* grid = Grid();
    d_->expanded = expanded;
    if (!grid || grid->HasState(tk::TComponentStateFlag::csLoading)) {
        ReportChange(true);
        return;
    }
    ReportChange(true);
    // The current cell stays on a showing column: the group's first one
    // when the current column went into the group.
    TKelColumn* current = grid->ColumnOfRaw(grid->Col());
    if (current && !current->Showing() && Showing() && Index() >= 0)
        grid->SetCol(grid->DataToRawColumn(Index()));
}

int TKelColumn::ExpandCols() const
{
    return d_->expandCols;
}

void TKelColumn::SetExpandCols(int count)
{
    count = qMax(0, count);
    if (count == d_->expandCols)
        return;
    d_->expandCols = count;
    ReportChange(true);
}

TKelColumn* TKelColumn::ParentColumn() const
{
    TKelDBGridColumns* columns = Columns();
    const int index = Index();
    if (!columns || index <= 0)
        return nullptr;
    if (tk::TField* field = Field(); field && field->ParentField()) {
        const tk::TField* parentField = field->ParentField();
        for (int i = index - 1; i >= 0; --i)
            if (columns->Items(i)->d_->field == parentField)
                return columns->Items(i);
    }
    for (int distance = 1; distance <= index; ++distance) {
        TKelColumn* candidate = columns->Items(index - distance);
        if (candidate->d_->expandCols >= distance)
            return candidate;
    }
    return nullptr;
}

int TKelColumn::Depth() const
{
    int depth = 0;
    for (TKelColumn* parent = ParentColumn(); parent; parent = parent->ParentColumn())
        ++depth;
    return depth;
}

bool TKelColumn::Visible() const
{
    if (!d_->visible)
        return false;
    TKelColumn* parent = ParentColumn();
    return !parent || parent->Visible();
}

void TKelColumn::SetVisible(bool visible)
{
    if (visible == d_->visible)
        return;
    d_->visible = visible;
    ReportChange(true);
}

bool TKelColumn::Visibility() const
{
    return d_->visible;
}

bool TKelColumn::Showing() const
{
    if (!Visible() || Expanded())
        return false;
    for (TKelColumn* parent = ParentColumn(); parent; parent = parent->ParentColumn())
        if (!parent->Expanded())
            return false;
    return true;
}

int TKelColumn::ExpandIndex() const
{
    TKelDBGridColumns* columns = Columns();
    int last = Index();
    if (!columns || last < 0)
        return last;
    while (last + 1 < columns->Count() && IsDescendantOf(columns->Items(last + 1), this))
        ++last;
    return last;
}

int TKelColumn::ExpandWidth() const
{
    if (!Visible())
        return 0;
    if (!Expanded())
        return TrueWidth() + ColumnLineWidth(Grid());
    TKelDBGridColumns* columns = Columns();
    int width = 0;
    for (int i = Index() + 1; i <= ExpandIndex(); ++i)
        if (columns->Items(i)->ParentColumn() == this)
            width += columns->Items(i)->ExpandWidth();
    return width;
}

void TKelColumn::SetIndex(int index)
{
    const int current = Index();
    TKelDBGridColumns* columns = Columns();
    if (index < 0 || index == current || current < 0 || !columns)
        return;
    TKelCustomDBGrid* grid = Grid();
    if (!d_->stored && grid && grid->LinkActiveNow() && grid->AcquireLayoutLock()) {
        // A dataset-made column follows its field: move the field, then
        // the column with it.
        auto endLayout = qScopeGuard([grid] { grid->EndLayout(); });
        if (index >= columns->Count())
            return;
        TKelColumn* target = grid->ColumnAtDepth(columns->Items(index), Depth());
        tk::TField* field = Field();
        tk::TField* targetField = target ? target->Field() : nullptr;
        if (!field || !targetField)
            return;
        field->SetIndex(targetField->Index());
        tk::TCollectionItem::SetIndex(index);
        return;
    }
    index = qMin(index, columns->Count() - 1);
    const int last = ExpandIndex();
    if (index >= current && index <= last)
        return;
    // The group moves as one block, keeping its order.
    QList<TKelColumn*> group;
    for (int i = current; i <= last; ++i)
        group << columns->Items(i);
    columns->BeginUpdate();
    auto endUpdate = qScopeGuard([columns] { columns->EndUpdate(); });
    if (index < current) {
        for (int k = 0; k < group.size(); ++k)
            group[k]->tk::TCollectionItem::SetIndex(index + k);
    } else {
        for (TKelColumn* column : group)
            column->tk::TCollectionItem::SetIndex(index);
    }
}

void TKelColumn::MoveTo(int toIndex)
{
    SetIndex(toIndex);
}

}  // namespace kelgrid
