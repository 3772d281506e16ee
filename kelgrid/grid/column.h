#pragma once
// TKelColumn: one visual column of the grid, an item of the grid's column
// collection (columns.h). It binds one dataset field by name, carries the
// column's presentation and editing settings and owns its title
// (columntitle.h).
//
// Fall-backs: Color, Width, Font, Alignment, ReadOnly, ImeMode and ImeName
// (and the title's Color, Caption, Alignment and Font) hold their own value
// only while their member of AssignedValues() is set; otherwise they read
// the field's or the grid's value. Such a property is stored only while its
// member is set and the value differs from the computed default (a font
// whenever its member is set).
//
// Stored versus dataset-made columns: the grid makes unstored columns from
// the dataset's fields while the user has not customised the columns.
// Their setters write through to the field (Alignment, ReadOnly, the
// title's Caption as display label, Width as display width, Index as the
// field's index) instead of keeping a value; a dataset-made column whose
// field is freed forgets its field name and restores its defaults.
//
// Changes travel in two grades: the column itself (the grid repaints it
// and re-applies its width) or a full re-layout; nothing is reported while
// the grid is loading.
//
// Files: column.cpp (construction, plain properties, field binding, change
// reporting), columntotals.cpp (the four total objects), columnwidth.cpp, columnfallbacks.cpp,
// columnpicks.cpp, columncheckbox.cpp, columnnesting.cpp, columnassign.cpp; state in column_p.h.

#include "kelgrid/grid/columnenums.h"
#include "kelgrid/grid/columntotalvalue.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/alignment.h"
#include "toolkit/core/collection.h"
// Forms fill pick lists through the column.
#include "toolkit/core/strings.h"
#include "toolkit/ui/colors.h"
#include "toolkit/ui/controlenums.h"
#include "toolkit/ui/uienums.h"

#include <QString>
#include <memory>

namespace tk {
class TBitmap;
class TDataSet;
class TField;
class TFont;
class TImageList;
class TPicture;
class TPopupMenu;
}  // namespace tk

namespace kelgrid {

class TKelColumnTitle;
class TKelColumnTotal;
class TKelColumnTotalFields;
class TKelColumnTotalFooter;
class TKelColumnTotalHeader;
class TKelColumnTotalValue;
class TKelColumnTotalValues;
class TKelCustomDBGrid;
class TKelDBGridColumns;
struct TKelColumnPrivate;

class KELGRID_EXPORT TKelColumn : public tk::TCollectionItem {
    Q_OBJECT
    // The property types, for the meta-object code only.
    Q_MOC_INCLUDE("kelgrid/grid/columntitle.h")
    Q_MOC_INCLUDE("toolkit/data/dataset.h")
    Q_MOC_INCLUDE("toolkit/ui/graphics.h")
    Q_MOC_INCLUDE("toolkit/ui/imagelist.h")
    Q_MOC_INCLUDE("toolkit/ui/popupmenu.h")
    Q_PROPERTY(tk::TAlignmentEnum::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoNumber READ AutoNumber WRITE SetAutoNumber)
    Q_PROPERTY(
        kelgrid::TKelColumnEnums::TKelColumnButtonStyle ButtonStyle READ ButtonStyle WRITE SetButtonStyle)
    Q_PROPERTY(tk::TUiEnums::TEditCharCase CharCase READ CharCase WRITE SetCharCase)
    Q_PROPERTY(bool CheckBox READ CheckBox WRITE SetCheckBox)
    Q_PROPERTY(kelgrid::TKelColumnEnums::TCheckBoxKind CheckBoxKind READ CheckBoxKind WRITE SetCheckBoxKind)
    Q_PROPERTY(
        kelgrid::TKelColumnEnums::TCheckBoxStyle CheckBoxStyle READ CheckBoxStyle WRITE SetCheckBoxStyle)
    Q_PROPERTY(
        kelgrid::TKelColumnEnums::TCheckBoxToggle CheckBoxToggle READ CheckBoxToggle WRITE SetCheckBoxToggle)
    Q_PROPERTY(QString CheckBoxValues READ CheckBoxValues WRITE SetCheckBoxValues)
    Q_PROPERTY(
        kelgrid::TKelColumnEnums::TDialogOptions DialogOptions READ DialogOptions WRITE SetDialogOptions)
    Q_PROPERTY(tk::TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(tk::TPopupMenu* DropDownMenu READ DropDownMenu WRITE SetDropDownMenu)
    Q_PROPERTY(int DropDownRows READ DropDownRows WRITE SetDropDownRows)
    Q_PROPERTY(int DropDownWidth READ DropDownWidth WRITE SetDropDownWidth)
    Q_PROPERTY(bool EditMemo READ EditMemo WRITE SetEditMemo)
    Q_PROPERTY(QString EditorHint READ EditorHint WRITE SetEditorHint)
    Q_PROPERTY(bool Ellipsis READ Ellipsis WRITE SetEllipsis)
    Q_PROPERTY(int ExpandCols READ ExpandCols WRITE SetExpandCols)
    Q_PROPERTY(bool Expanded READ Expanded WRITE SetExpanded)
    Q_PROPERTY(
        kelgrid::TKelColumnEnums::TKelColumnExpandStyle ExpandStyle READ ExpandStyle WRITE SetExpandStyle)
    Q_PROPERTY(QString FieldName READ FieldName WRITE SetFieldName)
    Q_PROPERTY(tk::TFont* Font READ Font WRITE SetFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(kelgrid::TKelColumnEnums::TImageDraw ImageDraw READ ImageDraw WRITE SetImageDraw)
    Q_PROPERTY(int ImageOffsetX READ ImageOffsetX WRITE SetImageOffsetX)
    Q_PROPERTY(int ImageOffsetY READ ImageOffsetY WRITE SetImageOffsetY)
    Q_PROPERTY(tk::TImageList* Images READ Images WRITE SetImages)
    Q_PROPERTY(tk::TControlEnums::TImeMode ImeMode READ ImeMode WRITE SetImeMode)
    Q_PROPERTY(QString ImeName READ ImeName WRITE SetImeName)
    Q_PROPERTY(kelgrid::TKelColumnEnums::TKelListOptions ListOptions READ ListOptions WRITE SetListOptions)
    Q_PROPERTY(tk::TDataSet* LookupDataSet READ LookupDataSet WRITE SetLookupDataSet)
    Q_PROPERTY(QString LookupKeyField READ LookupKeyField WRITE SetLookupKeyField)
    Q_PROPERTY(QString LookupListFields READ LookupListFields WRITE SetLookupListFields)
    Q_PROPERTY(QString LookupListTitles READ LookupListTitles WRITE SetLookupListTitles)
    Q_PROPERTY(QString LookupListWidths READ LookupListWidths WRITE SetLookupListWidths)
    Q_PROPERTY(tk::TStrings* PickList READ PickList WRITE SetPickList)
    Q_PROPERTY(kelgrid::TKelColumnEnums::TKelPickOptions PickOptions READ PickOptions WRITE SetPickOptions)
    Q_PROPERTY(tk::TStrings* PickText READ PickText WRITE SetPickText)
    Q_PROPERTY(QString PickTextFormat READ PickTextFormat WRITE SetPickTextFormat)
    Q_PROPERTY(tk::TPopupMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(bool QuickDraw READ QuickDraw WRITE SetQuickDraw)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool ShowBlob READ ShowBlob WRITE SetShowBlob)
    Q_PROPERTY(bool ShowEdit READ ShowEdit WRITE SetShowEdit)
    Q_PROPERTY(bool SuppressRTL READ SuppressRTL WRITE SetSuppressRTL)
    Q_PROPERTY(kelgrid::TKelColumnTitle* Title READ Title WRITE SetTitle)
    Q_PROPERTY(bool ToolTips READ ToolTips WRITE SetToolTips)
    Q_PROPERTY(
        kelgrid::TKelColumnEnums::TToolTipsWidth ToolTipsWidth READ ToolTipsWidth WRITE SetToolTipsWidth)
    Q_PROPERTY(kelgrid::TKelColumnTotalFields* TotalFields READ TotalFields WRITE SetTotalFields)
    Q_PROPERTY(kelgrid::TKelColumnTotalFooter* TotalFooter READ TotalFooter WRITE SetTotalFooter)
    Q_PROPERTY(kelgrid::TKelColumnTotalHeader* TotalHeader READ TotalHeader WRITE SetTotalHeader)
    Q_PROPERTY(kelgrid::TKelColumnTotalValues* TotalValues READ TotalValues WRITE SetTotalValues)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(tk::TColor TransparentColor READ TransparentColor WRITE SetTransparentColor)
    Q_PROPERTY(kelgrid::TKelColumnEnums::TVAlignment VAlignment READ VAlignment WRITE SetVAlignment)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(bool Wallpaper READ Wallpaper WRITE SetWallpaper)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int WidthBase READ WidthBase WRITE SetWidthBase STORED false)
    Q_PROPERTY(int WidthMax READ WidthMax WRITE SetWidthMax)
    Q_PROPERTY(int WidthMin READ WidthMin WRITE SetWidthMin)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_CLASSINFO("Default:AutoNumber", "False")
    Q_CLASSINFO("Default:ButtonStyle", "cbsAuto")
    Q_CLASSINFO("Default:CharCase", "ecNormal")
    Q_CLASSINFO("Default:CheckBox", "False")
    Q_CLASSINFO("Default:CheckBoxKind", "ckCheck")
    Q_CLASSINFO("Default:CheckBoxStyle", "cbAuto")
    Q_CLASSINFO("Default:CheckBoxToggle", "ctOnCellClick")
    Q_CLASSINFO("Default:DialogOptions", "[doShowColumn,doItemEnabled]")
    Q_CLASSINFO("Default:DropDownRows", "0")
    Q_CLASSINFO("Default:DropDownWidth", "0")
    Q_CLASSINFO("Default:EditMemo", "False")
    Q_CLASSINFO("Default:EditorHint", "")
    Q_CLASSINFO("Default:Ellipsis", "True")
    Q_CLASSINFO("Default:ExpandCols", "0")
    Q_CLASSINFO("Default:Expanded", "True")
    Q_CLASSINFO("Default:ExpandStyle", "cesAuto")
    Q_CLASSINFO("Default:FieldName", "")
    Q_CLASSINFO("Default:Hint", "")
    Q_CLASSINFO("Default:ImageDraw", "idCenter")
    Q_CLASSINFO("Default:ImageOffsetX", "0")
    Q_CLASSINFO("Default:ImageOffsetY", "0")
    Q_CLASSINFO("Default:ListOptions",
                "[loAutoComplete,loAutoCloseEditor,loSelectNextValue,loAllowClearValue,"
                "loShowToday,loAllowChangeOrder,loAllowColumnResize]")
    Q_CLASSINFO("Default:LookupKeyField", "")
    Q_CLASSINFO("Default:LookupListFields", "")
    Q_CLASSINFO("Default:LookupListTitles", "")
    Q_CLASSINFO("Default:LookupListWidths", "")
    Q_CLASSINFO("Default:PickOptions", "[poSelectPickText,poAcceptPickList]")
    Q_CLASSINFO("Default:PickTextFormat", "")
    Q_CLASSINFO("Default:QuickDraw", "True")
    Q_CLASSINFO("Default:ShowBlob", "True")
    Q_CLASSINFO("Default:ShowEdit", "True")
    Q_CLASSINFO("Default:SuppressRTL", "False")
    Q_CLASSINFO("Default:ToolTips", "True")
    Q_CLASSINFO("Default:ToolTipsWidth", "ttAutoWidth")
    Q_CLASSINFO("Default:Transparent", "False")
    Q_CLASSINFO("Default:TransparentColor", "clNone")
    Q_CLASSINFO("Default:VAlignment", "tvCenter")
    Q_CLASSINFO("Default:Wallpaper", "False")
    Q_CLASSINFO("Default:WidthMax", "-1")
    Q_CLASSINFO("Default:WidthMin", "-1")
    Q_CLASSINFO("Default:WordWrap", "True")

public:
    // Holds the grid's layout around its construction when the collection
    // is a grid's.
    Q_INVOKABLE explicit TKelColumn(tk::TCollection* collection);
    // Leaves the collection's order list and lets go of what it observes.
    ~TKelColumn() override;

    // The collection's grid, nullptr outside a grid's columns.
    TKelCustomDBGrid* Grid() const;
    TKelDBGridColumns* Columns() const;
    // False for the columns the grid makes from the dataset's fields.
    bool Stored() const;
    // Which fall-back values the column and its title hold themselves.
    TKelColumnValues AssignedValues() const;

    // --- Field binding (column.cpp) -------------------------------------------
    QString FieldName() const;
    // Stores the name and binds the field of that name (none when the grid
    // has no dataset, is loading or the dataset lacks it); a change.
    void SetFieldName(const QString& name);
    // The bound field; binds lazily by name while the grid's dataset is
    // open or has persistent fields. nullptr when there is none.
    tk::TField* Field() const;
    // Binds field (a field being destroyed counts as none) and takes its
    // full name; nullptr unbinds and keeps the name. When the bound field
    // is freed the column unbinds; a dataset-made one also forgets the
    // name and restores its defaults, and the grid re-lays out.
    virtual void SetField(tk::TField* field);

    // --- Fall-backs (columnfallbacks.cpp) -------------------------------------
    tk::TAlignment Alignment() const;
    virtual void SetAlignment(tk::TAlignment alignment);
    tk::TAlignment DefaultAlignment() const;
    Q_INVOKABLE bool IsAlignmentStored() const;
    tk::TColor Color() const;
    void SetColor(tk::TColor color);
    tk::TColor DefaultColor() const;
    Q_INVOKABLE bool IsColorStored() const;
    // The column's font, refreshed from the grid's while not assigned (the
    // refresh never marks it assigned).
    tk::TFont* Font() const;
    void SetFont(tk::TFont* font);
    tk::TFont* DefaultFont() const;
    Q_INVOKABLE bool IsFontStored() const;
    bool ReadOnly() const;
    virtual void SetReadOnly(bool readOnly);
    bool DefaultReadOnly() const;
    Q_INVOKABLE bool IsReadOnlyStored() const;
    tk::TImeMode ImeMode() const;
    virtual void SetImeMode(tk::TImeMode mode);
    tk::TImeMode DefaultImeMode() const;
    Q_INVOKABLE bool IsImeModeStored() const;
    QString ImeName() const;
    virtual void SetImeName(const QString& name);
    QString DefaultImeName() const;
    Q_INVOKABLE bool IsImeNameStored() const;

    // --- Width (columnwidth.cpp) ----------------------------------------------
    // Showing: DefaultWidth unless assigned, else the own width. Not
    // showing: minus the grid's line width (-1 without a grid).
    int Width() const;
    // Clamped into WidthMin..WidthMax; taken when assigned already, when it
    // differs from DefaultWidth or while the grid reads its columns, and
    // only above -1 (with column lines) or 0 (without).
    virtual void SetWidth(int width);
    // 64 without a grid, the grid's default column width without a field,
    // else measured from the field's display width with the column font
    // (and the title caption with the title font when the grid sizes
    // columns by titles).
    int DefaultWidth() const;
    Q_INVOKABLE bool IsWidthStored() const;
    // The own width when assigned, else DefaultWidth.
    int TrueWidth() const;
    int WidthBase() const;
    void SetWidthBase(int width);
    // The width that shows every buffered record's display text whole
    // (widest line + margin); WidthBase without an active link.
    int OptimalWidth() const;
    int WidthMax() const;
    // Values below -1 are ignored; a limit below WidthMin becomes WidthMin;
    // a wider true width is cut to it.
    void SetWidthMax(int width);
    int WidthMin() const;
    void SetWidthMin(int width);

    // --- Nesting (columnnesting.cpp) ------------------------------------------
    // An ADT or array field, or ExpandCols above 0.
    bool Expandable() const;
    // Own flag and expandable.
    bool Expanded() const;
    void SetExpanded(bool expanded);
    int ExpandCols() const;
    void SetExpandCols(int count);
    // The column whose group holds this one: by the field's parent field,
    // else the nearest preceding column whose ExpandCols reaches it.
    TKelColumn* ParentColumn() const;
    int Depth() const;
    // Own flag and every ancestor's.
    bool Visible() const;
    void SetVisible(bool visible);
    // The own visible flag.
    bool Visibility() const;
    // Visible, not expanded itself, every ancestor expanded.
    bool Showing() const;
    // The last collection index of the column's group.
    int ExpandIndex() const;
    // 0 invisible; width + line width collapsed; the children's sum expanded.
    int ExpandWidth() const;
    // Moves the column with its group (a dataset-made column moves its
    // field). Negative and unchanged indexes do nothing.
    void SetIndex(int index) override;
    // Moves the column as the user does (by dragging its title or through a
    // saved layout); SetIndex with its rules.
    void MoveTo(int toIndex);

    // --- Texts and images (columnassign.cpp) ----------------------------------
    QString DisplayName() const override;
    // The field's display text (a memo's string with ShowBlob) through the
    // grid's ColGetText(tkDisplay); empty without a field, except for an
    // auto-number column (the row's number).
    QString DisplayText() const;
    // The field's edit text (a memo's string with EditMemo) through
    // ColGetText(tkEdit).
    QString EditText() const;
    // Unchanged text does nothing; else ColSetText, then written.
    void SetEditText(const QString& text);
    // The check-box image for check-box columns; -1 without a field; 0/1
    // for a Boolean field; else the field's value as an integer or -1.
    int ImageIndex() const;
    // A copy of image index of Images (blended with the grid's fixed
    // colour while the grid is disabled); nullptr outside the list.
    std::unique_ptr<tk::TBitmap> Image(int index) const;
    // The picture of a graphic field (TKelGraphicField) whose value is not
    // a plain bitmap (JPEG, icon, metafile), loaded from the current
    // record; nullptr for other fields, bitmaps, unknown or damaged values.
    std::unique_ptr<tk::TPicture> GraphicImage() const;
    // False without ShowEdit and for check-box and auto-number columns.
    virtual bool CanEditShow() const;
    virtual bool CanCellTrack() const;
    // Title, values and settings back to the constructor's.
    virtual void RestoreDefaults();
    void Assign(const tk::TPersistent* source) override;

    // --- Check boxes (columncheckbox.cpp) -------------------------------------
    bool CheckBox() const;
    // Turning it on clamps ImageDraw to idCenter; a full re-layout.
    void SetCheckBox(bool on);
    QString CheckBoxValues() const;
    // Empty restores the default (the Boolean display texts "True;False").
    void SetCheckBoxValues(const QString& values);
    QString DefaultCheckBoxValues() const;
    Q_INVOKABLE bool IsCheckBoxValuesStored() const;
    // Whether the current value is the checked (unchecked) text, any case;
    // without a field: whether the current row is selected.
    bool IsCheckBoxValue(bool checked) const;
    // 1 checked, 0 unchecked, 2 neither.
    int CheckBoxState() const;
    // State + 3 x CheckBoxKind, reduced modulo 3 when the images lack it.
    int CheckBoxImageIndex() const;
    // Flips the value (a field's between the two texts, else the row's
    // selection). Only for check-box columns with an active link on a
    // dataset that is not empty.
    void ToggleCheckBoxValue();

    // --- Pick lists (columnpicks.cpp) -----------------------------------------
    // Made on first read.
    tk::TStrings* PickList() const;
    // Copies the lines; nullptr frees the list and the formatted cache.
    void SetPickList(tk::TStrings* list);
    tk::TStrings* PickText() const;
    void SetPickText(tk::TStrings* list);
    Q_INVOKABLE bool IsPickListStored() const;
    Q_INVOKABLE bool IsPickTextStored() const;
    TKelPickOptions PickOptions() const;
    // poAutoLoadList drops poSelectPickText.
    void SetPickOptions(TKelPickOptions options);
    QString PickTextFormat() const;
    void SetPickTextFormat(const QString& format);
    bool PickListActive() const;
    bool PickTextActive() const;
    bool PickDataActive() const;
    // What the drop-down offers and what a cell shows.
    tk::TStrings* PickDataList() const;
    tk::TStrings* PickData() const;
    // PickTextFormat (or DefPickTextFormat) with the text, value and i + 1;
    // empty for i < 0.
    QString FormatPickText(int index) const;
    // Rebuilds the formatted cache.
    void UpdatePickData() const;
    // Fills PickList with every record's distinct, non-empty edit text of
    // field (the column's by default). Without a field or dataset the
    // lists are freed. The dataset is muted and left open or closed as it
    // was, also when reading fails.
    void LoadPickList(tk::TField* field = nullptr, bool sorted = false);
    // Value/text pairs of two fields of one dataset.
    void LoadPickText(tk::TField* listField, tk::TField* textField, bool sorted = false);

    // --- Title --------------------------------------------------------------
    TKelColumnTitle* Title() const;
    void SetTitle(TKelColumnTitle* title);

    // --- Totals (columntotals.cpp) ---------------------------------------------
    // The four total objects; assigning copies into the column's own.
    TKelColumnTotalHeader* TotalHeader() const;
    void SetTotalHeader(TKelColumnTotalHeader* total);
    TKelColumnTotalValues* TotalValues() const;
    void SetTotalValues(TKelColumnTotalValues* totals);
    Q_INVOKABLE bool IsTotalValuesStored() const;
    TKelColumnTotalFields* TotalFields() const;
    void SetTotalFields(TKelColumnTotalFields* total);
    TKelColumnTotalFooter* TotalFooter() const;
    void SetTotalFooter(TKelColumnTotalFooter* total);
    // The total shown in total row index of the band (0 = the first row
    // after the blank row): the header, the value rows, the field rows,
    // the footer, by the bands the grid shows; nullptr outside or where
    // this column has no such value row.
    TKelColumnTotal* TotalRows(int index) const;
    // The same, only for value totals (not the field rows).
    TKelColumnTotalValue* TotalValueRows(int index) const;
    // A total of this column changed: its cells are repainted; nullptr
    // re-lays out the grid. Nothing without a grid or while it loads.
    virtual void TotalChanged(TKelColumnTotal* total);
    // Every total part lets go of its bound field, to be looked up again.
    void DropTotalFields();

    // --- Plain settings (column.cpp) ------------------------------------------
    bool AutoNumber() const;
    void SetAutoNumber(bool on);
    TKelColumnButtonStyle ButtonStyle() const;
    void SetButtonStyle(TKelColumnButtonStyle style);
    tk::TEditCharCase CharCase() const;
    void SetCharCase(tk::TEditCharCase charCase);
    TCheckBoxKind CheckBoxKind() const;
    void SetCheckBoxKind(TCheckBoxKind kind);
    TCheckBoxStyle CheckBoxStyle() const;
    void SetCheckBoxStyle(TCheckBoxStyle style);
    TCheckBoxToggle CheckBoxToggle() const;
    void SetCheckBoxToggle(TCheckBoxToggle toggle);
    TDialogOptions DialogOptions() const;
    void SetDialogOptions(TDialogOptions options);
    tk::TPopupMenu* DropDownMenu() const;
    // Couples with ButtonStyle: cbsAuto <-> cbsDropDownMenu.
    void SetDropDownMenu(tk::TPopupMenu* menu);
    // The rows and width of the cell's drop-down list: 0 is the unit's
    // limit (MaxDropDownRows, MaxDropDownWidth), a positive value its own
    // limit, a negative one no limit at all.
    int DropDownRows() const;
    void SetDropDownRows(int rows);
    int DropDownWidth() const;
    void SetDropDownWidth(int width);
    bool EditMemo() const;
    void SetEditMemo(bool on);
    QString EditorHint() const;
    void SetEditorHint(const QString& hint);
    bool Ellipsis() const;
    void SetEllipsis(bool on);
    TKelColumnExpandStyle ExpandStyle() const;
    void SetExpandStyle(TKelColumnExpandStyle style);
    QString Hint() const;
    void SetHint(const QString& hint);
    TImageDraw ImageDraw() const;
    void SetImageDraw(TImageDraw draw);
    int ImageOffsetX() const;
    void SetImageOffsetX(int offset);
    int ImageOffsetY() const;
    void SetImageOffsetY(int offset);
    tk::TImageList* Images() const;
    void SetImages(tk::TImageList* images);
    TKelListOptions ListOptions() const;
    void SetListOptions(TKelListOptions options);
    tk::TDataSet* LookupDataSet() const;
    void SetLookupDataSet(tk::TDataSet* dataSet);
    QString LookupKeyField() const;
    void SetLookupKeyField(const QString& name);
    QString LookupListFields() const;
    void SetLookupListFields(const QString& names);
    QString LookupListTitles() const;
    void SetLookupListTitles(const QString& titles);
    QString LookupListWidths() const;
    void SetLookupListWidths(const QString& widths);
    tk::TPopupMenu* PopupMenu() const;
    void SetPopupMenu(tk::TPopupMenu* menu);
    bool QuickDraw() const;
    void SetQuickDraw(bool on);
    bool ShowBlob() const;
    void SetShowBlob(bool on);
    bool ShowEdit() const;
    void SetShowEdit(bool on);
    bool SuppressRTL() const;
    void SetSuppressRTL(bool on);
    bool ToolTips() const;
    void SetToolTips(bool on);
    TToolTipsWidth ToolTipsWidth() const;
    void SetToolTipsWidth(TToolTipsWidth width);
    bool Transparent() const;
    void SetTransparent(bool on);
    tk::TColor TransparentColor() const;
    void SetTransparentColor(tk::TColor color);
    TVAlignment VAlignment() const;
    void SetVAlignment(TVAlignment alignment);
    bool Wallpaper() const;
    void SetWallpaper(bool on);
    bool WordWrap() const;
    void SetWordWrap(bool on);

    // Reports a change of this column (allColumns false: it is repainted)
    // or a full re-layout; nothing while the grid is loading.
    void ReportChange(bool allColumns);

protected:
    // The title's class; descendants substitute their own.
    virtual TKelColumnTitle* CreateTitle();
    // The total objects' classes, likewise.
    virtual TKelColumnTotalFields* CreateTotalFields();
    virtual TKelColumnTotalFooter* CreateTotalFooter();
    virtual TKelColumnTotalHeader* CreateTotalHeader();
    virtual TKelColumnTotalValues* CreateTotalValues();

private:
    friend class TKelColumnTitle;
    friend class TKelDBGridColumns;
    friend class TKelCustomDBGrid;
    TKelColumnPrivate* d() const { return d_.get(); }
    void SetStored(bool stored);
    // Brings the own font in line with the default while not assigned.
    void RefreshDefaultFont() const;
    void FontChanged();
    void RestoreTotalDefaults();
    void AssignTotals(const TKelColumn* column);
    void RefreshTotalFonts();
    void ClearPickLists();
    void DropPickCache();
    void PickListChanged();
    // Observes component (for free notification) in place of old.
    void Observe(QObject* old, QObject* now);
    void Forget(QObject* component);
    // Writes the width as the field's display width (dataset-made columns).
    void WriteFieldDisplayWidth(int width);

    std::unique_ptr<TKelColumnPrivate> d_;
};

}  // namespace kelgrid
