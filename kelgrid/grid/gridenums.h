#pragma once
// The grid's option sets and small enumerations, in one gadget so that
// properties of these types read and write by name
// ("[dgEditing,dgTitles]"). The member names are lifted into namespace
// kelgrid, so code writes dgTitles.

#include "kelgrid/kelgridexport.h"

#include <QFlags>
#include <QObject>
#include <initializer_list>

namespace kelgrid {

struct KELGRID_EXPORT TKelGridEnums {
    Q_GADGET

public:
    // Options: the look and the behaviour of the grid. The first thirteen
    // are the classic data grid's; the inherited grid options follow some of
    // them (dgColLines: vertical lines, dgColumnResize: column sizing and
    // moving, ...).
    enum TKelDBGridOption : unsigned {
        dgEditing = 1u << 0,
        dgAlwaysShowEditor = 1u << 1,
        dgTitles = 1u << 2,
        dgIndicator = 1u << 3,
        dgColumnResize = 1u << 4,
        dgColLines = 1u << 5,
        dgRowLines = 1u << 6,
        dgTabs = 1u << 7,
        dgRowSelect = 1u << 8,
        dgAlwaysShowSelection = 1u << 9,
        dgConfirmDelete = 1u << 10,
        dgCancelOnExit = 1u << 11,
        dgMultiSelect = 1u << 12,
        dgExtendedSelect = 1u << 13,
        dgInternalSelect = 1u << 14,
        dgRowResize = 1u << 15,
        dgRowScroll = 1u << 16,
        dgThumbTracking = 1u << 17,
        dgHotButtons = 1u << 18,
        dgTitleButtons = 1u << 19,
        dgTitleHeaders = 1u << 20,
        dgTitleWidthOff = 1u << 21,
        dgIndicatorMarkOff = 1u << 22,
        dgMarkerAutoAlign = 1u << 23,
        dgMarkerAutoSwitch = 1u << 24,
        dgMarkerAutoToggle = 1u << 25,
        dgMarkerAscendOnly = 1u << 26,
        dgForceSequence = 1u << 27,
        dgRightMoving = 1u << 28,
        dgMouseTracking = 1u << 29,
    };
    Q_DECLARE_FLAGS(TKelDBGridOptions, TKelDBGridOption)
    Q_FLAG(TKelDBGridOptions)

    // OptionsEx: the totals band, ordering, sequence numbers and the
    // calculation of totals. The first eleven shape the band.
    enum TKelDBGridOptionEx : unsigned {
        dgBlankRow = 1u << 0,
        dgTotalHeader = 1u << 1,
        dgTotalValues = 1u << 2,
        dgTotalFields = 1u << 3,
        dgTotalFooter = 1u << 4,
        dgTotalColLines = 1u << 5,
        dgTotalHeaderBox = 1u << 6,
        dgTotalValuesBox = 1u << 7,
        dgTotalFieldsBox = 1u << 8,
        dgTotalFooterBox = 1u << 9,
        dgTotalDataBoxOnly = 1u << 10,
        dgLoadCurrentOrder = 1u << 11,
        dgAutoUpdateOrder = 1u << 12,
        dgAutoAscendOrder = 1u << 13,
        dgAutoUpdateSequence = 1u << 14,
        dgDelayUpdateSequence = 1u << 15,
        dgAutoUpdateTotals = 1u << 16,
        dgDelayUpdateTotals = 1u << 17,
        dgCalcInvisibleRows = 1u << 18,
        dgCalcWholeDataSet = 1u << 19,
        dgCalcSelectedRows = 1u << 20,
        dgDelaySelectedRows = 1u << 21,
        dgTotalHeaderSelected = 1u << 22,
        dgTotalValuesSelected = 1u << 23,
        dgTotalFooterSelected = 1u << 24,
        dgSelectedAutoHidden = 1u << 25,
    };
    Q_DECLARE_FLAGS(TKelDBGridOptionsEx, TKelDBGridOptionEx)
    Q_FLAG(TKelDBGridOptionsEx)

    // OptionsExt: list items, popup lists, automatic columns and what the
    // user may do with clicks and keys.
    enum TKelDBGridOptionExt : unsigned {
        dgAutoUpdateListItems = 1u << 0,
        dgDelayUpdateListItems = 1u << 1,
        dgGridStyleLists = 1u << 2,
        dgMouseScrolling = 1u << 3,
        dgAutoNumberColumn = 1u << 4,
        dgAutoSelectColumn = 1u << 5,
        dgClickSelectOff = 1u << 6,
        dgAutoUnselectOff = 1u << 7,
        dgAllowInsertOff = 1u << 8,
        dgAllowDeleteOff = 1u << 9,
    };
    Q_DECLARE_FLAGS(TKelDBGridOptionsExt, TKelDBGridOptionExt)
    Q_FLAG(TKelDBGridOptionsExt)

    // What happened to the selected rows (SelectionChanged).
    enum TSelectAction { saUnselect, saSelect, saClear, saDelete, saRefresh };
    Q_ENUM(TSelectAction)

    // Which text a column's text hook is asked for: the editor's, the
    // cell's, or a report's (the clipboard: no auto-number text).
    enum TTextKind { tkEdit, tkDisplay, tkReport };
    Q_ENUM(TTextKind)

    // The selection mode (MultiSelect) and, as a set over msRows .. msFixed,
    // the modes allowed (MultiSelectOptions); msFixed is no mode: it lets
    // the fixed columns take part in a column selection.
    enum TMultiSelection { msNone, msRows, msCols, msCells, msFixed };
    Q_ENUM(TMultiSelection)

    // ForEachDataCell: which cells, and where a cell stands in the range.
    enum TForEachCellScope { fsAutoSelect, fsWholeDataSet, fsSelectedOnly };
    Q_ENUM(TForEachCellScope)
    enum TForEachCellFlag { feFirstCol = 0x1, feLastCol = 0x2, feFirstRow = 0x4, feLastRow = 0x8 };
    Q_DECLARE_FLAGS(TForEachCellFlags, TForEachCellFlag)
    Q_FLAG(TForEachCellFlags)

    // Settings.Options: when the saved layout loads and saves
    // (soLoadLayout, soSaveLayout), whether the saved layout itself may
    // switch those two (soUserSettings), and which grid values it carries
    // besides the columns.
    enum TKelSettingsOption : unsigned {
        soLoadLayout = 1u << 0,
        soSaveLayout = 1u << 1,
        soUserSettings = 1u << 2,
        soOrderFields = 1u << 3,
        soLinesCount = 1u << 4,
        soStretchMode = 1u << 5,
    };
    Q_DECLARE_FLAGS(TKelSettingsOptions, TKelSettingsOption)
    Q_FLAG(TKelSettingsOptions)

    // GridStyle.VisualStyle: hand-set spacings (vsCustom), the preset that
    // follows the theme (vsDefault), or one of the two presets.
    enum TVisualStyle { vsCustom, vsDefault, vsStandard, vsXPStyle };
    Q_ENUM(TVisualStyle)

    // The look of the fixed cells without a theme (FixedStyle).
    enum TFixedStyle { fsDefault, fsSoft, fsNice, fsFlat, fsGreat, fsGray, fsFine, fsMild };
    Q_ENUM(TFixedStyle)

    // Which theme element paints the fixed cells (FixedTheme); ftNone draws
    // them without the theme.
    enum TFixedTheme { ftDefault, ftButtons, ftTabs, ftNone };
    Q_ENUM(TFixedTheme)

    // The painting styles. The automatic values (hbAuto, msAuto,
    // msAutoGray, frAuto, lbAuto) resolve by FixedStyle and the theme when
    // a cell is painted; the marker styles up to msMild are the ones a
    // marker image list is built for.
    enum THotButtonsStyle { hbAuto, hbBump, hbTile, hbLowered, hbRaised };
    Q_ENUM(THotButtonsStyle)
    enum TMarkerStyle {
        msDefault,
        msSoft,
        msRaisedDark,
        msRaisedGray,
        msRaisedMild,
        msLoweredDark,
        msLoweredGray,
        msLoweredMild,
        msFlat,
        msGray,
        msMild,
        msAuto,
        msAutoGray
    };
    Q_ENUM(TMarkerStyle)
    enum TMarkerTransparent { mtAuto, mtTrue, mtFalse };
    Q_ENUM(TMarkerTransparent)
    enum TFocusRectStyle { frAuto, frDefault, frGray, frMild, frNone };
    Q_ENUM(TFocusRectStyle)
    enum TListBorderStyle { lbAuto, lbDefault, lbGray, lbMild };
    Q_ENUM(TListBorderStyle)

    // What the user may do to columns with the mouse (ResizeOptions):
    // size them, size one to its content by a double click on its border,
    // give it back its default width, move it.
    enum TResizeOption : unsigned {
        roColumnResize = 1u << 0,
        roOptimalWidth = 1u << 1,
        roDefaultWidth = 1u << 2,
        roColumnMoving = 1u << 3,
    };
    Q_DECLARE_FLAGS(TResizeOptions, TResizeOption)
    Q_FLAG(TResizeOptions)

    // How a data cell being painted stands (OnPaintColumnCell): the current
    // cell, the current record, in the multi-selection, a fixed column, an
    // odd (striped) row.
    enum TSelectionFlag : unsigned {
        slCellSelected = 1u << 0,
        slRowSelected = 1u << 1,
        slMultiSelected = 1u << 2,
        slCellFixed = 1u << 3,
        slRowStriped = 1u << 4,
    };
    Q_DECLARE_FLAGS(TSelection, TSelectionFlag)
    Q_FLAG(TSelection)

    // Which hints and tooltips the grid gives (HintOptions): titles,
    // editor, data cells and totals each have a "hint" option (the text is
    // worked out) and a "show" option (the window appears); tooltips show a
    // cell's whole text over a cell too narrow for it.
    enum TKelHintOption : unsigned {
        hoTitleHints = 1u << 0,
        hoShowTitleHints = 1u << 1,
        hoEditorHints = 1u << 2,
        hoShowEditorHints = 1u << 3,
        hoShowToolTips = 1u << 4,
        hoKeepShowToolTips = 1u << 5,
        hoAlwaysShowToolTips = 1u << 6,
        hoDataHints = 1u << 7,
        hoShowDataHints = 1u << 8,
        hoAllowForGraphics = 1u << 9,
        hoTotalHints = 1u << 10,
        hoShowTotalHints = 1u << 11,
        hoShowTotalToolTips = 1u << 12,
    };
    Q_DECLARE_FLAGS(TKelHintOptions, TKelHintOption)
    Q_FLAG(TKelHintOptions)

    // The part of the grid a hint text is for (OnCellHint).
    enum THintCell { hcTitle, hcHeader, hcFiller, hcEditor, hcData, hcIndicator, hcTotal };
    Q_ENUM(THintCell)

    // The in-place editor's button: none, an ellipsis (a click is the
    // grid's EditButtonClick), a drop-down arrow opening the cell's popup,
    // a drop-down arrow whose click is a button click.
    enum TKelEditStyle { esSimple, esEllipsis, esPickList, esDropDown };
    Q_ENUM(TKelEditStyle)

    // The popup an esPickList editor opens.
    enum TKelDataEditor { dePickList, deDataList, deGridList, deCalendar, deCalculator };
    Q_ENUM(TKelDataEditor)
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TKelGridEnums::TKelDBGridOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(TKelGridEnums::TKelDBGridOptionsEx)
Q_DECLARE_OPERATORS_FOR_FLAGS(TKelGridEnums::TKelDBGridOptionsExt)
Q_DECLARE_OPERATORS_FOR_FLAGS(TKelGridEnums::TForEachCellFlags)
Q_DECLARE_OPERATORS_FOR_FLAGS(TKelGridEnums::TKelSettingsOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(TKelGridEnums::TResizeOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(TKelGridEnums::TSelection)
Q_DECLARE_OPERATORS_FOR_FLAGS(TKelGridEnums::TKelHintOptions)

using TKelDBGridOption = TKelGridEnums::TKelDBGridOption;
using TKelDBGridOptions = TKelGridEnums::TKelDBGridOptions;
using TKelDBGridOptionEx = TKelGridEnums::TKelDBGridOptionEx;
using TKelDBGridOptionsEx = TKelGridEnums::TKelDBGridOptionsEx;
using TKelDBGridOptionExt = TKelGridEnums::TKelDBGridOptionExt;
using TKelDBGridOptionsExt = TKelGridEnums::TKelDBGridOptionsExt;
using TSelectAction = TKelGridEnums::TSelectAction;
using TTextKind = TKelGridEnums::TTextKind;
using TMultiSelection = TKelGridEnums::TMultiSelection;
using TKelSettingsOption = TKelGridEnums::TKelSettingsOption;
using TKelSettingsOptions = TKelGridEnums::TKelSettingsOptions;
using TVisualStyle = TKelGridEnums::TVisualStyle;
using TFixedStyle = TKelGridEnums::TFixedStyle;
using TFixedTheme = TKelGridEnums::TFixedTheme;
using enum TKelGridEnums::TKelDBGridOption;
using enum TKelGridEnums::TKelDBGridOptionEx;
using enum TKelGridEnums::TKelDBGridOptionExt;
using enum TKelGridEnums::TSelectAction;
using enum TKelGridEnums::TTextKind;
using enum TKelGridEnums::TMultiSelection;
using enum TKelGridEnums::TKelSettingsOption;
using enum TKelGridEnums::TVisualStyle;
using enum TKelGridEnums::TFixedStyle;
using enum TKelGridEnums::TFixedTheme;
using THotButtonsStyle = TKelGridEnums::THotButtonsStyle;
using TMarkerStyle = TKelGridEnums::TMarkerStyle;
using TMarkerTransparent = TKelGridEnums::TMarkerTransparent;
using TFocusRectStyle = TKelGridEnums::TFocusRectStyle;
using TListBorderStyle = TKelGridEnums::TListBorderStyle;
using TResizeOption = TKelGridEnums::TResizeOption;
using TResizeOptions = TKelGridEnums::TResizeOptions;
using TSelectionFlag = TKelGridEnums::TSelectionFlag;
using TSelection = TKelGridEnums::TSelection;
using enum TKelGridEnums::THotButtonsStyle;
using enum TKelGridEnums::TMarkerStyle;
using enum TKelGridEnums::TMarkerTransparent;
using enum TKelGridEnums::TFocusRectStyle;
using enum TKelGridEnums::TListBorderStyle;
using enum TKelGridEnums::TResizeOption;
using enum TKelGridEnums::TSelectionFlag;
using TForEachCellScope = TKelGridEnums::TForEachCellScope;
using TForEachCellFlag = TKelGridEnums::TForEachCellFlag;
using TForEachCellFlags = TKelGridEnums::TForEachCellFlags;
using enum TKelGridEnums::TForEachCellScope;
using enum TKelGridEnums::TForEachCellFlag;
using TKelHintOption = TKelGridEnums::TKelHintOption;
using TKelHintOptions = TKelGridEnums::TKelHintOptions;
using THintCell = TKelGridEnums::THintCell;
using TKelEditStyle = TKelGridEnums::TKelEditStyle;
using TKelDataEditor = TKelGridEnums::TKelDataEditor;
using enum TKelGridEnums::TKelHintOption;
using enum TKelGridEnums::THintCell;
using enum TKelGridEnums::TKelEditStyle;
using enum TKelGridEnums::TKelDataEditor;

// The selection modes allowed (MultiSelectOptions): a set over msRows ..
// msFixed.
class TMultiSelectOptions {
public:
    constexpr TMultiSelectOptions() = default;
    constexpr TMultiSelectOptions(std::initializer_list<TMultiSelection> modes)
    {
        for (TMultiSelection mode : modes)
            bits_ |= Bit(mode);
    }
    constexpr bool Has(TMultiSelection mode) const { return (bits_ & Bit(mode)) != 0; }
    constexpr bool operator==(const TMultiSelectOptions&) const = default;

private:
    static constexpr unsigned Bit(TMultiSelection mode) { return mode == msNone ? 0u : 1u << unsigned(mode); }
    unsigned bits_ = 0;
};

}  // namespace kelgrid
