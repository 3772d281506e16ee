#pragma once
// TKelGridStyle: the grid's GridStyle, the extra pixels of its cell bands:
// the vertical space added to data, header, title and total rows, and the
// horizontal margins of title and total cells.
//
// VisualStyle picks a preset of the six values:
//
//   preset      DataRow HeaderRow TitleColMargin TitleRow TotalColMargin TotalRow
//   vsStandard     3        4           0            4          0           4
//   vsXPStyle      4        8           1            8          0           8
//
// vsDefault takes vsXPStyle while the grid is themed (IsGridThemed) and
// vsStandard otherwise, and stays vsDefault; vsCustom changes no value.
// The initial values are vsXPStyle's, with VisualStyle vsDefault.
// Setting any of the six to a new value switches VisualStyle to vsCustom;
// the six are stored only then, VisualStyle always.
//
// Effects on the grid: a preset re-lays it out and refreshes its editor; a
// changed row space does both, a changed column margin only re-lays out.

#include "kelgrid/grid/gridenums.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/component.h"

#include <memory>

namespace kelgrid {

class TKelCustomDBGrid;

class KELGRID_EXPORT TKelGridStyle : public tk::TPersistent {
    Q_OBJECT
    Q_PROPERTY(int DataRowSpace READ DataRowSpace WRITE SetDataRowSpace)
    Q_PROPERTY(int HeaderRowSpace READ HeaderRowSpace WRITE SetHeaderRowSpace)
    Q_PROPERTY(int TitleColMargin READ TitleColMargin WRITE SetTitleColMargin)
    Q_PROPERTY(int TitleRowSpace READ TitleRowSpace WRITE SetTitleRowSpace)
    Q_PROPERTY(int TotalColMargin READ TotalColMargin WRITE SetTotalColMargin)
    Q_PROPERTY(int TotalRowSpace READ TotalRowSpace WRITE SetTotalRowSpace)
    Q_PROPERTY(kelgrid::TKelGridEnums::TVisualStyle VisualStyle READ VisualStyle WRITE SetVisualStyle)
public:
    // grid may be nullptr (a free-standing copy for Assign).
    explicit TKelGridStyle(TKelCustomDBGrid* grid);
    ~TKelGridStyle() override;

    TKelCustomDBGrid* Grid() const;

    int DataRowSpace() const;
    void SetDataRowSpace(int space);
    int HeaderRowSpace() const;
    void SetHeaderRowSpace(int space);
    int TitleColMargin() const;
    void SetTitleColMargin(int margin);
    int TitleRowSpace() const;
    void SetTitleRowSpace(int space);
    int TotalColMargin() const;
    void SetTotalColMargin(int margin);
    int TotalRowSpace() const;
    void SetTotalRowSpace(int space);
    // The same value does nothing, except vsDefault, which is applied again
    // (the grid's theme may have changed).
    TVisualStyle VisualStyle() const;
    void SetVisualStyle(TVisualStyle style);

    Q_INVOKABLE bool IsDataRowSpaceStored() const;
    Q_INVOKABLE bool IsHeaderRowSpaceStored() const;
    Q_INVOKABLE bool IsTitleColMarginStored() const;
    Q_INVOKABLE bool IsTitleRowSpaceStored() const;
    Q_INVOKABLE bool IsTotalColMarginStored() const;
    Q_INVOKABLE bool IsTotalRowSpaceStored() const;

    // Copies the six values, then sets the source's VisualStyle through
    // SetVisualStyle.
    void Assign(const tk::TPersistent* source) override;

    // The six values together (defined in gridstyle.cpp).
    struct Values;

private:
    void ApplyPreset(const Values& values);
    // Sets one of the six: a new value switches to vsCustom and re-lays out
    // the grid (refreshing its editor when refreshEditor).
    void SetValue(int Values::*member, int value, bool refreshEditor);
    void Changed(bool refreshEditor);

    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace kelgrid
