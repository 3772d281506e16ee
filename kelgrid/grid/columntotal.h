#pragma once
// The total objects of a column: what a cell of the totals band shows and
// how it looks. Each column owns a TotalHeader, a collection of TotalValues
// (one item per value row), a TotalFields object (repeated over the records
// of the totals dataset) and a TotalFooter (columntotalvalue.h).
//
// TKelColumnTotal is the base of all of them. Its Alignment, Color and Font
// fall back, until set, to the column's alignment, Totals.Color and
// Totals.Font (clBtnFace and the column's font without a grid); the
// TKelColumnValues set records which were set. Every visual setter asks the
// column to repaint the cells showing this total (TKelColumn::TotalChanged).
//
// The bound field (Field) is looked up on first use: for trDataField and
// trCalcValue in the grid's dataset by FieldName (or the column's
// FieldName when empty), for trTotalField in the totals dataset.

#include "kelgrid/grid/columnenums.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/alignment.h"
#include "toolkit/core/collection.h"
#include "toolkit/ui/colors.h"
#include "toolkit/ui/graphics.h"
#include "toolkit/ui/popupmenu.h"

#include <memory>

namespace tk {
class TField;
}

namespace kelgrid {

class TKelColumn;
class TKelCustomDBGrid;

class KELGRID_EXPORT TKelColumnTotal : public tk::TCollectionItem {
    Q_OBJECT
    Q_PROPERTY(tk::TAlignmentEnum::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(tk::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(bool Ellipsis READ Ellipsis WRITE SetEllipsis)
    Q_PROPERTY(tk::TFont* Font READ Font WRITE SetFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(tk::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool ToolTips READ ToolTips WRITE SetToolTips)
    Q_PROPERTY(
        kelgrid::TKelColumnEnums::TToolTipsWidth ToolTipsWidth READ ToolTipsWidth WRITE SetToolTipsWidth)
    Q_PROPERTY(kelgrid::TKelColumnEnums::TTotalBox TotalBox READ TotalBox WRITE SetTotalBox)
    Q_PROPERTY(kelgrid::TKelColumnEnums::TVAlignment VAlignment READ VAlignment WRITE SetVAlignment)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_CLASSINFO("Default:Ellipsis", "True")
    Q_CLASSINFO("Default:ToolTips", "True")
    Q_CLASSINFO("Default:ToolTipsWidth", "ttAutoWidth")
    Q_CLASSINFO("Default:TotalBox", "tbAuto")
    Q_CLASSINFO("Default:VAlignment", "tvCenter")
    Q_CLASSINFO("Default:Visible", "True")
    Q_CLASSINFO("Default:WordWrap", "True")
public:
    // In a collection (value rows), the column is the collection's owner;
    // header, footer and fields objects are made by their column outside
    // any collection and get it here.
    Q_INVOKABLE explicit TKelColumnTotal(tk::TCollection* collection);
    TKelColumnTotal(TKelColumn* column, TTotalResult result);
    ~TKelColumnTotal() override;

    TKelColumn* Column() const;
    TKelCustomDBGrid* Grid() const;

    tk::TAlignment Alignment() const;
    void SetAlignment(tk::TAlignment alignment);
    Q_INVOKABLE bool IsAlignmentStored() const;
    tk::TColor Color() const;
    void SetColor(tk::TColor color);
    Q_INVOKABLE bool IsColorStored() const;
    // The own font while set, else the totals' font (refreshed silently).
    tk::TFont* Font() const;
    void SetFont(tk::TFont* font);
    Q_INVOKABLE bool IsFontStored() const;
    bool Ellipsis() const;
    void SetEllipsis(bool on);
    QString Hint() const;
    void SetHint(const QString& hint);
    tk::TPopupMenu* PopupMenu() const;
    void SetPopupMenu(tk::TPopupMenu* menu);
    bool ToolTips() const;
    void SetToolTips(bool on);
    TToolTipsWidth ToolTipsWidth() const;
    void SetToolTipsWidth(TToolTipsWidth width);
    TTotalBox TotalBox() const;
    void SetTotalBox(TTotalBox box);
    TVAlignment VAlignment() const;
    void SetVAlignment(TVAlignment alignment);
    bool Visible() const;
    void SetVisible(bool on);
    bool WordWrap() const;
    void SetWordWrap(bool on);
    int ImageIndex() const;
    void SetImageIndex(int index);

    TKelColumnValues AssignedValues() const;
    TTotalResult TotalResult() const;
    void SetTotalResult(TTotalResult result);
    QString FieldName() const;
    void SetFieldName(const QString& name);
    // The bound field, looked up on first use (see the header); nullptr
    // when there is none.
    tk::TField* Field() const;
    virtual void SetField(tk::TField* field);

    // The text the cell shows, before the grid's OnTotalGetText.
    QString DisplayText() const;
    // Clears the set colour, alignment and font (the caption stays), resets
    // the look; a relayout when a font had been set, else a repaint.
    virtual void RestoreDefaults();
    // Copies the totals' font into the own one while it is not set.
    void RefreshDefaultFont() const;
    void Assign(const tk::TPersistent* source) override;

    // The caption text: what trCaption totals show (value totals also hold
    // their formatted value in it); setting it makes it the user's.
    virtual void SetCaption(const QString& caption);
    QString CaptionText() const;

protected:
    virtual QString GetDisplayText() const;
    // Asks the column to repaint the cells of this total.
    void TotalChanged();
    void SetAssigned(TKelColumnValue value, bool on);
    // The totals' font or, without a grid, the column's.
    const tk::TFont* DefaultFont() const;

private:
    void Init(TKelColumn* column, TTotalResult result);
    void FontChanged();
    struct Private;
    std::unique_ptr<Private> d_;
};

// A total that shows a field of the totals dataset, over the band's field
// rows: TotalResult is trTotalField and not published.
class KELGRID_EXPORT TKelColumnTotalFields : public TKelColumnTotal {
    Q_OBJECT
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
public:
    explicit TKelColumnTotalFields(TKelColumn* column);
};

}  // namespace kelgrid
