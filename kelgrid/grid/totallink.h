#pragma once
// TKelTotalDataLink: the link of the grid's totals to their own data source
// (Totals.DataSource). Its window holds the records the total-field rows of
// the band show; TotalRecNo counts in it from 1.

#include "kelgrid/kelgridexport.h"
#include "toolkit/data/datalink.h"

namespace kelgrid {

class TKelCustomDBGrid;

class KELGRID_EXPORT TKelTotalDataLink : public tk::TDataLink {
public:
    explicit TKelTotalDataLink(TKelCustomDBGrid* grid);
    ~TKelTotalDataLink() override;

    TKelCustomDBGrid* Grid() const { return grid_; }
    // Sizes the window (active link only): min(DataMaxRow, records) when
    // DataMaxRow > 0, else every record the dataset reports; at least one,
    // since a window cannot be empty (an empty or uncountable dataset).
    virtual void UpdateBufferCount();
    // The records the band's field rows show: the window's records while
    // active (0 for an empty dataset), else 0.
    int FieldRowCount() const;

protected:
    // Refuses a unidirectional dataset (EDatabaseError), sizes the window
    // and tells the grid (TotalsChanged kind 1).
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void RecordChanged(tk::TField* field) override;

private:
    TKelCustomDBGrid* grid_;
};

}  // namespace kelgrid
