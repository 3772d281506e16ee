// TKelCustomDBGrid: the position bracket. A walk over the dataset (select
// all, inverting, the cells of a selection) moves the cursor record by
// record with the dataset's controls disabled; the bracket brings the
// current record back to the screen row it had, with its end flags.

#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/data/dataset.h"

namespace kelgrid {

int TKelCustomDBGrid::Position() const
{
    return LinkActiveNow() ? d_->dataLink->ActiveRecord() : 0;
}

bool TKelCustomDBGrid::PositionDisabled() const
{
    return d_->positionLock > 0;
}

void TKelCustomDBGrid::DisablePosition()
{
    if (d_->positionLock++ > 0)
        return;
    d_->positionDataSet = nullptr;
    if (!LinkActiveNow())
        return;
    tk::TDataSet* dataSet = DataSet();
    d_->positionBookmark = dataSet->GetBookmark();
    d_->positionEnds = dataSet->CursorEnds();
    d_->positionRow = Position();
    d_->positionDataSet = dataSet;
    dataSet->DisableControls();
}

void TKelCustomDBGrid::EnablePosition(bool useCurrentRec)
{
    Q_ASSERT(d_->positionLock > 0);
    if (d_->positionLock == 0 || --d_->positionLock > 0)
        return;
    tk::TDataSet* dataSet = d_->positionDataSet;
    d_->positionDataSet = nullptr;
    if (!dataSet)
        return;
    // The controls come back on also when the way back fails.
    struct EnableControls {
        tk::TDataSet* dataSet;
        ~EnableControls() { dataSet->EnableControls(); }
    } enable{dataSet};
    // Back on the record it left, the cursor also reports the end it had
    // reached (a totals walk after Last must leave Eof on).
    if (dataSet->Active() && GotoPosition(d_->positionRow, useCurrentRec ? tk::TBookmark() : d_->positionBookmark) &&
        !useCurrentRec)
        dataSet->RestoreCursorEnds(d_->positionEnds);
    d_->lastActiveRecord = d_->dataLink->ActiveRecord();
}

bool TKelCustomDBGrid::GotoPosition(int position, const tk::TBookmark& bookmark)
{
    if (!LinkActiveNow())
        return false;
    tk::TDataSet* dataSet = DataSet();
    const tk::TBookmark target = bookmark.isEmpty() ? dataSet->GetBookmark() : bookmark;
    if (target.isEmpty() || !dataSet->BookmarkValid(target))
        return false;
    TKelGridDataLink* link = d_->dataLink.get();
    try {
        link->SetActiveRecord(qBound(0, position, qMax(0, link->RecordCount() - 1)));
        dataSet->SetCursorToBookmark(target);
        dataSet->Resync(tk::rmExact);
    } catch (const tk::EDatabaseError&) {
        return false;
    }
    return true;
}

}  // namespace kelgrid
