#pragma once
// TKelDBGridTotals: the grid-wide settings of the totals band (the grid's
// Totals property). Which bands show is the grid's OptionsEx (dgTotalHeader,
// dgTotalValues, dgTotalFields, dgTotalFooter); this object holds their
// font, colours, line count, images and the link to the dataset whose
// records the total-field rows show.
//
// Changes that alter the band's look re-lay out the grid only while a band
// is shown. The font follows the grid's font while the grid's ParentFont is
// on; changing it from outside turns the grid's ParentFont off.

#include "kelgrid/grid/columnenums.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/component.h"
#include "toolkit/data/datasource.h"
#include "toolkit/ui/colors.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/imagelist.h"

#include <memory>

namespace kelgrid {

class TKelCustomDBGrid;
class TKelTotalDataLink;

class KELGRID_EXPORT TKelDBGridTotals : public tk::TPersistent {
    Q_OBJECT
    Q_PROPERTY(kelgrid::TKelColumnEnums::TCheckBoxStyle BoxStyle READ BoxStyle WRITE SetBoxStyle)
    Q_PROPERTY(bool CalcValues READ CalcValues WRITE SetCalcValues)
    Q_PROPERTY(tk::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(int DataMaxRow READ DataMaxRow WRITE SetDataMaxRow)
    Q_PROPERTY(tk::TDataSource* DataSource READ DataSource WRITE SetDataSource)
    Q_PROPERTY(tk::TFont* Font READ Font WRITE SetFont)
    Q_PROPERTY(tk::TImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(int LinesCount READ LinesCount WRITE SetLinesCount)
    Q_PROPERTY(tk::TColor SelectedColor READ SelectedColor WRITE SetSelectedColor)
    Q_CLASSINFO("Default:BoxStyle", "cbAuto")
    Q_CLASSINFO("Default:CalcValues", "True")
    Q_CLASSINFO("Default:DataMaxRow", "5")
    Q_CLASSINFO("Default:LinesCount", "1")
    Q_CLASSINFO("Default:SelectedColor", "clDefault")
public:
    // grid may be nullptr (a free-standing copy for Assign).
    explicit TKelDBGridTotals(TKelCustomDBGrid* grid);
    ~TKelDBGridTotals() override;

    TKelCustomDBGrid* Grid() const;
    TKelTotalDataLink* DataLink() const;

    TCheckBoxStyle BoxStyle() const;
    void SetBoxStyle(TCheckBoxStyle style);
    bool CalcValues() const;
    // Switching it on asks the grid for a calculation even without
    // dgAutoUpdateTotals.
    void SetCalcValues(bool on);
    // clBtnFace until set.
    tk::TColor Color() const;
    void SetColor(tk::TColor color);
    Q_INVOKABLE bool IsColorStored() const;
    // The grid's FixedColor changed: the band takes it unless its colour
    // was set on its own.
    void FollowFixedColor(tk::TColor color);
    // Records of the totals dataset the field rows show; 0: all it reports.
    // Negative values become 0.
    int DataMaxRow() const;
    void SetDataMaxRow(int rows);
    tk::TDataSource* DataSource() const;
    // Raises EInvalidGridOperation (circular data link) for the grid's own
    // source (ignored while the grid loads) and EDatabaseError for a
    // unidirectional dataset; nothing changes then.
    void SetDataSource(tk::TDataSource* source);
    tk::TFont* Font() const;
    void SetFont(tk::TFont* font);
    // Written when the grid's ParentFont is off and the font differs from
    // the grid's font.
    Q_INVOKABLE bool IsFontStored() const;
    tk::TImageList* Images() const;
    void SetImages(tk::TImageList* images);
    // Text lines per total row, 1 .. MaxLinesCount.
    int LinesCount() const;
    void SetLinesCount(int count);
    tk::TColor SelectedColor() const;
    void SetSelectedColor(tk::TColor color);

    // A band is shown (any of the four total options).
    bool Visible() const;
    // The totals are computed over a selection of rows or columns (set by
    // the grid when a selection ends).
    bool Selected() const;
    bool SelectedRows() const;
    bool SelectedCols() const;
    void SetSelected(bool rows, bool cols);

    // Copies the settings of another TKelDBGridTotals (not its grid).
    void Assign(const tk::TPersistent* source) override;
    // The grid's font was copied into this one by the grid itself.
    void RefreshFont(const tk::TFont* gridFont);

private:
    // Re-lays out the grid when a band is shown.
    void VisibleChanged();
    void FontChanged();

    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace kelgrid
