#pragma once
// TKelGridDataLink: the grid's link to its DataSource. It forwards the
// dataset's activation, scrolling, editing and record changes to the grid.

#include "kelgrid/kelgridexport.h"
#include "toolkit/data/datalink.h"

namespace kelgrid {

class TKelCustomDBGrid;

class KELGRID_EXPORT TKelGridDataLink : public tk::TDataLink {
public:
    explicit TKelGridDataLink(TKelCustomDBGrid* grid);
    ~TKelGridDataLink() override;

    TKelCustomDBGrid* Grid() const { return grid_; }
    // The grid's editor holds a change not yet written to the record.
    void Modified() { modified_ = true; }
    bool IsModified() const { return modified_; }

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void EditingChanged() override;
    void FocusControl(tk::TField*& field) override;
    void LayoutChanged() override;
    void RecordChanged(tk::TField* field) override;
    void UpdateData() override;

private:
    TKelCustomDBGrid* grid_;
    bool modified_ = false;
    bool inUpdateData_ = false;
};

}  // namespace kelgrid
