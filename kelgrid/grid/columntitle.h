#pragma once
// TKelColumnTitle: the title of one column: caption, colour, alignment and
// font falling back to the field and the grid, the "|"-separated header
// rows above the caption, the sort marker and images. Its assigned-value
// flags live in the column's AssignedValues (cvTitleColor, cvTitleCaption,
// cvTitleAlignment, cvTitleFont).
//
// Sort markers: MarkerIndex encodes the direction in bit 0 (0 ascending)
// and OrderIndex = MarkerIndex / 2 (negative without a marker). Every marker
// change runs inside the grid's order bracket; without a grid markers do
// not change. The grid options dgMarkerAutoSwitch (one sort column),
// dgMarkerAutoToggle (a numbered order of several) and dgMarkerAscendOnly
// shape the numbering. The collection keeps the marked columns in sort
// order (TKelDBGridColumns::OrderList).
//
// Files: columntitle.cpp (properties, fall-backs, header rows),
// columnmarkers.cpp (markers and the order list).

#include "kelgrid/grid/columnenums.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/alignment.h"
#include "toolkit/core/component.h"
#include "toolkit/ui/colors.h"

#include <QString>
#include <memory>

namespace tk {
class TFont;
class TPopupMenu;
}  // namespace tk

namespace kelgrid {

class TKelColumn;
class TKelCustomDBGrid;
struct TKelColumnTitlePrivate;

class KELGRID_EXPORT TKelColumnTitle : public tk::TPersistent {
    Q_OBJECT
    // The property types, for the meta-object code only.
    Q_MOC_INCLUDE("toolkit/ui/graphics.h")
    Q_MOC_INCLUDE("toolkit/ui/popupmenu.h")
    Q_PROPERTY(tk::TAlignmentEnum::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoToggle READ AutoToggle WRITE SetAutoToggle)
    Q_PROPERTY(bool Button READ Button WRITE SetButton)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(tk::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(tk::TPopupMenu* DropDownMenu READ DropDownMenu WRITE SetDropDownMenu)
    Q_PROPERTY(bool Ellipsis READ Ellipsis WRITE SetEllipsis)
    Q_PROPERTY(tk::TFont* Font READ Font WRITE SetFont)
    Q_PROPERTY(QString Header READ Header WRITE SetHeader)
    Q_PROPERTY(QString HeaderHint READ HeaderHint WRITE SetHeaderHint)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
    Q_PROPERTY(kelgrid::TKelColumnEnums::TMarker Marker READ Marker WRITE SetMarker)
    Q_PROPERTY(int MarkerIndex READ MarkerIndex WRITE SetMarkerIndex)
    Q_PROPERTY(int OrderIndex READ OrderIndex WRITE SetOrderIndex STORED false)
    Q_PROPERTY(tk::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(kelgrid::TKelColumnEnums::TVAlignment VAlignment READ VAlignment WRITE SetVAlignment)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_CLASSINFO("Default:AutoToggle", "True")
    Q_CLASSINFO("Default:Button", "True")
    Q_CLASSINFO("Default:Ellipsis", "True")
    Q_CLASSINFO("Default:Header", "")
    Q_CLASSINFO("Default:HeaderHint", "")
    Q_CLASSINFO("Default:Hint", "")
    Q_CLASSINFO("Default:ImageIndex", "-1")
    Q_CLASSINFO("Default:Marker", "tmNone")
    Q_CLASSINFO("Default:MarkerIndex", "-1")
    Q_CLASSINFO("Default:VAlignment", "tvCenter")
    Q_CLASSINFO("Default:WordWrap", "True")

public:
    explicit TKelColumnTitle(TKelColumn* column);
    ~TKelColumnTitle() override;

    TKelColumn* Column() const;
    TKelCustomDBGrid* Grid() const;

    // --- Fall-backs ---------------------------------------------------------
    tk::TAlignment Alignment() const;
    void SetAlignment(tk::TAlignment alignment);
    tk::TAlignment DefaultAlignment() const { return tk::taLeftJustify; }
    Q_INVOKABLE bool IsAlignmentStored() const;
    // The field's display name; without a field the field name.
    QString Caption() const;
    // On a dataset-made column it writes the field's display label.
    virtual void SetCaption(const QString& caption);
    QString DefaultCaption() const;
    Q_INVOKABLE bool IsCaptionStored() const;
    // The grid's fixed colour, clBtnFace without a grid.
    tk::TColor Color() const;
    void SetColor(tk::TColor color);
    tk::TColor DefaultColor() const;
    Q_INVOKABLE bool IsColorStored() const;
    // The grid's title font (the column's font without a grid), copied in
    // while not assigned.
    tk::TFont* Font() const;
    void SetFont(tk::TFont* font);
    tk::TFont* DefaultFont() const;
    Q_INVOKABLE bool IsFontStored() const;
    // Copies the default font in when it differs (handle or colour); never
    // marks the font assigned.
    void RefreshDefaultFont() const;

    // --- Header rows ----------------------------------------------------------
    QString Header() const;
    // A full re-layout.
    void SetHeader(const QString& header);
    QString HeaderHint() const;
    void SetHeaderHint(const QString& hint);
    // 0 for an empty header, else the number of "|" + 1.
    int HeaderRowCount() const;
    // The index-th segment of Header (HeaderHint); empty beyond the last.
    QString HeaderRows(int index) const;
    QString HeaderHintRows(int index) const;
    // The neighbour (nearest visible column with the same parent, on the
    // same side of the fixed columns, with more than index header rows and
    // segments 0..index equal to this one's) with which header row index
    // merges; nullptr when there is none.
    TKelColumn* HeaderLeft(int index) const;
    TKelColumn* HeaderRight(int index) const;

    // --- Markers (columnmarkers.cpp) ------------------------------------------
    TMarker Marker() const;
    void SetMarker(TMarker marker);
    int MarkerIndex() const;
    void SetMarkerIndex(int index);
    int OrderIndex() const;
    void SetOrderIndex(int position);
    // A title click: see the rules in columnmarkers.cpp.
    void ToggleMarker(bool newOrder);

    // --- Plain settings ---------------------------------------------------------
    bool AutoToggle() const;
    void SetAutoToggle(bool on);
    bool Button() const;
    void SetButton(bool on);
    tk::TPopupMenu* DropDownMenu() const;
    // Couples with the column's ExpandStyle: cesAuto <-> cesDropDownMenu.
    void SetDropDownMenu(tk::TPopupMenu* menu);
    bool Ellipsis() const;
    void SetEllipsis(bool on);
    QString Hint() const;
    void SetHint(const QString& hint);
    int ImageIndex() const;
    void SetImageIndex(int index);
    tk::TPopupMenu* PopupMenu() const;
    void SetPopupMenu(tk::TPopupMenu* menu);
    TVAlignment VAlignment() const;
    void SetVAlignment(TVAlignment alignment);
    bool WordWrap() const;
    void SetWordWrap(bool on);

    virtual void RestoreDefaults();
    void Assign(const tk::TPersistent* source) override;

private:
    friend class TKelColumn;
    friend class TKelDBGridColumns;
    // A change that re-lays out the grid only while the column is expanded
    // (its title spans the group), else repaints the column.
    void ReportGroupChange();
    void ReportChange(bool allColumns);
    void FontChanged();
    // The stored marker index without the order rules (used by them).
    void StoreMarkerIndex(int index);
    void Observe(QObject* old, QObject* now);

    std::unique_ptr<TKelColumnTitlePrivate> d_;
};

}  // namespace kelgrid
