// TKelCustomDBGrid: deleting the selected records (or the current one) after
// the user confirmed it.

#include "kelgrid/grid/bookmarks.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "toolkit/core/dbconsts.h"
#include "toolkit/core/resourcestring.h"
#include "toolkit/data/dataset.h"
#include "toolkit/ui/dialogs.h"
#include "toolkit/ui/formenums.h"

namespace kelgrid {

bool TKelCustomDBGrid::DeleteSelectedRows()
{
    tk::TDataSet* dataSet = LinkActiveNow() ? DataSet() : nullptr;
    if (!dataSet || dataSet->IsEmpty() || !dataSet->CanModify() || ReadOnly() ||
        d_->optionsExt.testFlag(dgAllowDeleteOff))
        return false;
    TKelBookmarkList* rows = d_->selectedRows.get();
    if (d_->options.testFlag(dgConfirmDelete)) {
        const QString question = tk::LoadResString(rows->Count() < 2 ? &tk::SDeleteRecordQuestion
                                                                     : &tk::SDeleteMultipleRecordsQuestion);
        if (tk::MessageDlg(question, tk::TMsgDlgType::mtConfirmation, tk::mbOKCancel) != tk::mrOk)
            return false;
    }
    if (rows->Count() > 0)
        rows->Delete();
    else
        dataSet->Delete();
    return true;
}

}  // namespace kelgrid
