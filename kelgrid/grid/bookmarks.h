#pragma once
// TKelBookmarkList: the grid's selected rows, the dataset's bookmarks of
// the selected records.
//
// Invariant: the list is sorted ascending by the dataset's bookmark order
// (TDataSet::CompareBookmarks) and holds no two equal bookmarks; it is
// empty while the grid's data link is inactive. CheckConsistency() tests
// the order.
//
// Find caches its last answer, keyed on the very bookmark value searched
// (the same shared QByteArray data, not merely equal bytes): the grid asks
// for the same row's bookmark over and over while it paints. Every change
// of the list drops the cache.
//
// Changes of the selection run inside the grid's select bracket and are
// reported through the grid's SelectionChanged (saSelect, saUnselect,
// saClear, saDelete, saRefresh), so a batch fires once.

#include "kelgrid/kelgridexport.h"
#include "toolkit/data/dataset.h"

#include <QList>

namespace kelgrid {

class TKelCustomDBGrid;

class KELGRID_EXPORT TKelBookmarkList {
public:
    explicit TKelBookmarkList(TKelCustomDBGrid* grid);
    virtual ~TKelBookmarkList();
    TKelBookmarkList(const TKelBookmarkList&) = delete;
    TKelBookmarkList& operator=(const TKelBookmarkList&) = delete;

    int Count() const { return static_cast<int>(list_.size()); }
    // The bookmark at position index (0..Count() - 1, asserted).
    const tk::TBookmark& Items(int index) const;

    // The bookmark of the dataset's current record (empty when there is
    // none). Raises EInvalidGridOperation SDataSetClosed while the grid's
    // link is inactive.
    tk::TBookmark CurrentRow() const;
    // Whether the current record is selected (raises as CurrentRow).
    bool CurrentRowSelected() const;
    // Selects or unselects the current record inside the grid's select
    // bracket: repaints its row and reports saSelect or saUnselect. Nothing
    // happens (and nothing is reported) when the record already is in that
    // state or there is no current record.
    void SetCurrentRowSelected(bool selected);

    // Binary search: returns whether bookmark is in the list and sets index
    // to its position, else to the position it would be inserted at (0 for
    // an empty list).
    bool Find(const tk::TBookmark& bookmark, int& index) const;
    // The bookmark's position, -1 when absent.
    int IndexOf(const tk::TBookmark& bookmark) const;
    // The dataset's order of two bookmarks: negative, 0 (same record),
    // positive; 0 without a dataset.
    int Compare(const tk::TBookmark& a, const tk::TBookmark& b) const;
    // index 0..Count(); else EListError SListIndexError. The caller keeps
    // the list sorted (index from Find).
    void InsertItem(int index, const tk::TBookmark& bookmark);
    // index 0..Count() - 1; else EListError SListIndexError.
    void DeleteItem(int index);

    // Empties the list: repaints the data rows and reports saClear (when it
    // held any).
    void Clear();
    // Deletes the selected records from the dataset, last to first, with
    // the dataset's controls disabled, removing each bookmark once its
    // record is deleted. When a deletion fails, the records deleted before
    // it stay deleted and their bookmarks removed, and the failure passes
    // on. When anything was deleted the selection reports saDelete and the
    // grid is asked for delayed updates of its list items, sequence numbers
    // and totals; otherwise the select bracket is cancelled.
    void Delete();
    // Drops the bookmarks of records that no longer exist (after posting or
    // cancelling a pending edit); reports saRefresh and returns true when
    // any were dropped. The dataset's errors pass on with the select
    // bracket closed.
    bool Refresh();
    // Clears, then follows the grid's link activity.
    void LinkActive(bool active);
    bool IsLinkActive() const { return linkActive_; }
    // The data changed: drops the search cache.
    void DataChanged();
    // Puts the list back into the dataset's order when the dataset's order
    // changed underneath it (a new sort order set by the application), so
    // that Find finds the selected rows again. Costs one comparison per
    // bookmark when the order holds.
    void KeepSorted();

    // Whether the list is strictly ascending in the dataset's order.
    bool CheckConsistency() const;

private:
    tk::TDataSet* DataSet() const;

    TKelCustomDBGrid* grid_;
    QList<tk::TBookmark> list_;
    // Find's last answer: the bookmark searched, its index (-1: none) and
    // whether it was found.
    mutable tk::TBookmark cache_;
    mutable int cacheIndex_ = -1;
    mutable bool cacheFind_ = false;
    bool linkActive_ = false;
};

}  // namespace kelgrid
