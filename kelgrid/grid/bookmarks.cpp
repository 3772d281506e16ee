#include "kelgrid/grid/bookmarks.h"

#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/griderror.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/resourcestring.h"
#include "toolkit/core/updatelock.h"

#include <algorithm>
#include <exception>
#include <functional>

#include <QScopeGuard>

namespace kelgrid {

namespace {

// The grid's select bracket around one operation of the list. When the
// operation changed the selection (Changed), the bracket ends with its
// report and then runs AfterEnd; otherwise it is cancelled, so nothing is
// reported. This happens on every path out, also when the operation fails
// part-way; while a failure unwinds, an exception of the report is dropped
// so that the first one carries on.
class SelectBatch {
public:
    explicit SelectBatch(TKelCustomDBGrid& grid) : grid_(grid) { grid_.BeginSelect(); }
    ~SelectBatch() noexcept(false)
    {
        if (!open_)
            return;
        if (std::uncaught_exceptions() > exceptionsAtOpen_) {
            try {
                Close();
            } catch (...) {
                // The failure that is unwinding the operation is the one to report.
            }
        } else {
            Close();
        }
    }
    SelectBatch(const SelectBatch&) = delete;
    SelectBatch& operator=(const SelectBatch&) = delete;

    void Changed(TSelectAction action)
    {
        action_ = action;
        changed_ = true;
    }
    bool HasChanged() const { return changed_; }
    std::function<void()> AfterEnd;

private:
    void Close()
    {
        open_ = false;
        if (!changed_) {
            grid_.CancelSelect();
            return;
        }
        try {
            grid_.SelectionChanged(action_);
        } catch (...) {
            grid_.CancelSelect();
            throw;
        }
        grid_.EndSelect();
        if (AfterEnd)
            AfterEnd();
    }

    TKelCustomDBGrid& grid_;
    const int exceptionsAtOpen_ = std::uncaught_exceptions();
    TSelectAction action_ = saUnselect;
    bool changed_ = false;
    bool open_ = true;
};

// The same bookmark value: the same shared bytes, not merely equal ones.
bool SameBookmarkValue(const tk::TBookmark& a, const tk::TBookmark& b)
{
    return a.constData() == b.constData() && a.size() == b.size();
}

}  // namespace

TKelBookmarkList::TKelBookmarkList(TKelCustomDBGrid* grid) : grid_(grid)
{
    Q_ASSERT(grid);
}

TKelBookmarkList::~TKelBookmarkList() = default;

tk::TDataSet* TKelBookmarkList::DataSet() const
{
    return grid_->DataLink()->DataSet();
}

const tk::TBookmark& TKelBookmarkList::Items(int index) const
{
    Q_ASSERT(index >= 0 && index < Count());
    return list_.at(index);
}

// --- The current record ----------------------------------------------------------------

tk::TBookmark TKelBookmarkList::CurrentRow() const
{
    if (!linkActive_ || !DataSet())
        InvalidGridOperation(tk::LoadResString(&tk::SDataSetClosed));
    return DataSet()->GetBookmark();
}

bool TKelBookmarkList::CurrentRowSelected() const
{
    int index = 0;
    return Find(CurrentRow(), index);
}

void TKelBookmarkList::SetCurrentRowSelected(bool selected)
{
    const tk::TBookmark current = CurrentRow();
    int index = 0;
    if (current.isEmpty() || Find(current, index) == selected)
        return;
    SelectBatch batch(*grid_);
    if (selected)
        InsertItem(index, current);
    else
        DeleteItem(index);
    grid_->InvalidateGridRow(grid_->Row());
    batch.Changed(selected ? saSelect : saUnselect);
}

// --- Search -------------------------------------------------------------------------------

bool TKelBookmarkList::Find(const tk::TBookmark& bookmark, int& index) const
{
    if (cacheIndex_ >= 0 && SameBookmarkValue(bookmark, cache_)) {
        index = cacheIndex_;
        return cacheFind_;
    }
    int lo = 0;
    int hi = Count() - 1;
    bool found = false;
    while (hi >= lo) {
        const int mid = (lo + hi) / 2;
        const int order = Compare(list_.at(mid), bookmark);
        if (order < 0) {
            lo = mid + 1;
        } else {
            hi = mid - 1;
            if (order == 0) {
                lo = mid;
                found = true;
            }
        }
    }
    index = lo;
    cache_ = bookmark;
    cacheIndex_ = lo;
    cacheFind_ = found;
    return found;
}

int TKelBookmarkList::IndexOf(const tk::TBookmark& bookmark) const
{
    int index = -1;
    return Find(bookmark, index) ? index : -1;
}

int TKelBookmarkList::Compare(const tk::TBookmark& a, const tk::TBookmark& b) const
{
    tk::TDataSet* dataSet = DataSet();
    return dataSet ? dataSet->CompareBookmarks(a, b) : 0;
}

// --- Items ----------------------------------------------------------------------------------

void TKelBookmarkList::InsertItem(int index, const tk::TBookmark& bookmark)
{
    if (index < 0 || index > Count())
        tk::RaiseListIndexError(index);
    list_.insert(index, bookmark);
    DataChanged();
}

void TKelBookmarkList::DeleteItem(int index)
{
    if (index < 0 || index >= Count())
        tk::RaiseListIndexError(index);
    list_.removeAt(index);
    DataChanged();
}

void TKelBookmarkList::DataChanged()
{
    cache_.clear();
    cacheIndex_ = -1;
    cacheFind_ = false;
}

// --- Bulk operations ------------------------------------------------------------------------

void TKelBookmarkList::Clear()
{
    // A Find answered before the list emptied must not be answered again.
    DataChanged();
    if (list_.isEmpty())
        return;
    SelectBatch batch(*grid_);
    list_.clear();
    grid_->InvalidateData();
    batch.Changed(saClear);
}

void TKelBookmarkList::Delete()
{
    tk::TDataSet* dataSet = DataSet();
    if (!dataSet || list_.isEmpty())
        return;
    SelectBatch batch(*grid_);
    batch.AfterEnd = [this] {
        grid_->UpdateListItems(true);
        grid_->UpdateSequence(true);
        grid_->UpdateTotals(true);
    };
    // The controls come back before the bracket closes, so the grid sees
    // the dataset's change while the batch still holds the selection's; the
    // change lock keeps that change from asking for the updates the batch
    // asks for once when it ends.
    grid_->BeginChange();
    auto endChange = qScopeGuard([this] { grid_->EndChange(); });
    tk::TDisabledControlsLock controls(*dataSet);
    for (int i = Count() - 1; i >= 0; --i) {
        dataSet->GotoBookmark(list_.at(i));
        dataSet->Delete();
        DeleteItem(i);
        batch.Changed(saDelete);
    }
}

bool TKelBookmarkList::Refresh()
{
    tk::TDataSet* dataSet = DataSet();
    if (!linkActive_ || !dataSet)
        return false;
    SelectBatch batch(*grid_);
    dataSet->CheckBrowseMode();
    for (int i = Count() - 1; i >= 0; --i) {
        if (!dataSet->BookmarkValid(list_.at(i))) {
            DeleteItem(i);
            batch.Changed(saRefresh);
        }
    }
    dataSet->UpdateCursorPos();
    if (batch.HasChanged())
        grid_->InvalidateData();
    return batch.HasChanged();
}

void TKelBookmarkList::LinkActive(bool active)
{
    Clear();
    linkActive_ = active;
}

void TKelBookmarkList::KeepSorted()
{
    if (CheckConsistency())
        return;
    std::stable_sort(list_.begin(), list_.end(),
                     [this](const tk::TBookmark& a, const tk::TBookmark& b) { return Compare(a, b) < 0; });
    list_.erase(
        std::unique(list_.begin(), list_.end(),
                    [this](const tk::TBookmark& a, const tk::TBookmark& b) { return Compare(a, b) == 0; }),
        list_.end());
    DataChanged();
}

bool TKelBookmarkList::CheckConsistency() const
{
    for (int i = 1; i < Count(); ++i)
        if (Compare(list_.at(i - 1), list_.at(i)) >= 0)
            return false;
    return true;
}

}  // namespace kelgrid
