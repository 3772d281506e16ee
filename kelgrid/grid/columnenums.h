#pragma once
// The enumerations and sets of columns, titles and totals, in gadgets so that
// their properties read and write by name ("cbsEllipsis",
// "[poSelectPickText,poAcceptPickList]"). The member names are lifted into
// namespace kelgrid.

#include "kelgrid/kelgridexport.h"

#include <QFlags>
#include <QObject>

namespace kelgrid {

struct KELGRID_EXPORT TKelColumnEnums {
    Q_GADGET

public:
    // Which fall-back values a column, its title or a total holds itself
    // (the rest come from the field or the grid).
    enum TKelColumnValue : unsigned {
        cvColor = 1u << 0,
        cvWidth = 1u << 1,
        cvFont = 1u << 2,
        cvAlignment = 1u << 3,
        cvReadOnly = 1u << 4,
        cvTitleColor = 1u << 5,
        cvTitleCaption = 1u << 6,
        cvTitleAlignment = 1u << 7,
        cvTitleFont = 1u << 8,
        cvImeMode = 1u << 9,
        cvImeName = 1u << 10,
        cvTotalColor = 1u << 11,
        cvTotalCaption = 1u << 12,
        cvTotalAlignment = 1u << 13,
        cvTotalFont = 1u << 14,
    };
    Q_DECLARE_FLAGS(TKelColumnValues, TKelColumnValue)
    Q_FLAG(TKelColumnValues)

    enum TKelColumnButtonStyle {
        cbsAuto,
        cbsEllipsis,
        cbsNone,
        cbsDropDown,
        cbsDropDownMenu,
        cbsCalendar,
        cbsCalculator
    };
    Q_ENUM(TKelColumnButtonStyle)
    enum TKelColumnExpandStyle { cesAuto, cesNone, cesDropDown, cesDropDownMenu };
    Q_ENUM(TKelColumnExpandStyle)
    enum TVAlignment { tvTopJustify, tvBottomJustify, tvCenter };
    Q_ENUM(TVAlignment)
    enum TImageDraw {
        idAlignment,
        idOpposite,
        idCenter,
        idScaled,
        idStretch,
        idTileCell,
        idTileGrid,
        idTileCol,
        idTileRow
    };
    Q_ENUM(TImageDraw)
    enum TCheckBoxToggle { ctCustomToggle, ctKeyPressOnly, ctOnCellClick, ctSelectClick };
    Q_ENUM(TCheckBoxToggle)
    enum TCheckBoxStyle {
        cbAuto,
        cbAutoGray,
        cbAutoLowered,
        cbDefault,
        cbSoft,
        cbLoweredDark,
        cbLoweredGray,
        cbLoweredMild,
        cbFlat,
        cbGray,
        cbMild
    };
    Q_ENUM(TCheckBoxStyle)
    enum TCheckBoxKind { ckCheck, ckCross, cbBox };
    Q_ENUM(TCheckBoxKind)
    enum TToolTipsWidth { ttAutoWidth, ttFixedWidth };
    Q_ENUM(TToolTipsWidth)
    enum TDialogOption : unsigned { doShowColumn = 1u << 0, doItemEnabled = 1u << 1 };
    Q_DECLARE_FLAGS(TDialogOptions, TDialogOption)
    Q_FLAG(TDialogOptions)
    enum TMarker { tmNone, tmAscend, tmDescend };
    Q_ENUM(TMarker)
    enum TKelPickOption : unsigned {
        poDropDownList = 1u << 0,
        poListItemsOnly = 1u << 1,
        poSelectPickText = 1u << 2,
        poStoreItemIndex = 1u << 3,
        poAcceptPickList = 1u << 4,
        poAcceptItemIndex = 1u << 5,
        poAutoLoadList = 1u << 6,
        poAppendToList = 1u << 7,
        poSortedByText = 1u << 8,
        poFormatPickText = 1u << 9,
        poFormatListOnly = 1u << 10,
    };
    Q_DECLARE_FLAGS(TKelPickOptions, TKelPickOption)
    Q_FLAG(TKelPickOptions)
    enum TKelListOption : unsigned {
        loAutoComplete = 1u << 0,
        loAutoDropDown = 1u << 1,
        loAutoCloseEditor = 1u << 2,
        loSelectNextValue = 1u << 3,
        loAllowClearValue = 1u << 4,
        loShowToday = 1u << 5,
        loShowTodayCircle = 1u << 6,
        loShowWeekNumbers = 1u << 7,
        loAutoTodayClose = 1u << 8,
        loShowLookupListTitles = 1u << 9,
        loAllowChangeOrder = 1u << 10,
        loAllowColumnResize = 1u << 11,
        loAllowColumnMoving = 1u << 12,
        loExpandFirstColumn = 1u << 13,
        loFirstColumnExpanded = 1u << 14,
    };
    Q_DECLARE_FLAGS(TKelListOptions, TKelListOption)
    Q_FLAG(TKelListOptions)
    // Whether the columns were made from the dataset's fields or by the user.
    enum TDBGridColumnsState { csDefault, csCustomized };
    Q_ENUM(TDBGridColumnsState)

    // Totals: what a total cell shows, how a calculated value is made, in
    // which calculation run it takes part, how Null values count, the pass
    // of a calculation and whether the cell is drawn as a box.
    enum TTotalResult { trNone, trCaption, trDataField, trTotalField, trCalcValue };
    Q_ENUM(TTotalResult)
    enum TCalcValue { cvSum, cvAvg, cvCount, cvMax, cvMin, cvFirst, cvLast, cvUnique, cvCustom };
    Q_ENUM(TCalcValue)
    enum TCalcApply { caWholeDataSet, caSelectedRows, caBoth };
    Q_ENUM(TCalcApply)
    enum TNullValue { nvExclude, nvInclude, nvAsZero };
    Q_ENUM(TNullValue)
    enum TCalcPass { cpReset, cpCalcRec, cpFinal };
    Q_ENUM(TCalcPass)
    enum TTotalBox { tbFalse, tbTrue, tbAuto };
    Q_ENUM(TTotalBox)
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TKelColumnEnums::TKelColumnValues)
Q_DECLARE_OPERATORS_FOR_FLAGS(TKelColumnEnums::TDialogOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(TKelColumnEnums::TKelPickOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(TKelColumnEnums::TKelListOptions)

using TKelColumnValue = TKelColumnEnums::TKelColumnValue;
using TKelColumnValues = TKelColumnEnums::TKelColumnValues;
using TKelColumnButtonStyle = TKelColumnEnums::TKelColumnButtonStyle;
using TKelColumnExpandStyle = TKelColumnEnums::TKelColumnExpandStyle;
using TVAlignment = TKelColumnEnums::TVAlignment;
using TImageDraw = TKelColumnEnums::TImageDraw;
using TCheckBoxToggle = TKelColumnEnums::TCheckBoxToggle;
using TCheckBoxStyle = TKelColumnEnums::TCheckBoxStyle;
using TCheckBoxKind = TKelColumnEnums::TCheckBoxKind;
using TToolTipsWidth = TKelColumnEnums::TToolTipsWidth;
using TDialogOption = TKelColumnEnums::TDialogOption;
using TDialogOptions = TKelColumnEnums::TDialogOptions;
using TMarker = TKelColumnEnums::TMarker;
using TKelPickOption = TKelColumnEnums::TKelPickOption;
using TKelPickOptions = TKelColumnEnums::TKelPickOptions;
using TKelListOption = TKelColumnEnums::TKelListOption;
using TKelListOptions = TKelColumnEnums::TKelListOptions;
using TDBGridColumnsState = TKelColumnEnums::TDBGridColumnsState;
using TTotalResult = TKelColumnEnums::TTotalResult;
using TCalcValue = TKelColumnEnums::TCalcValue;
using TCalcApply = TKelColumnEnums::TCalcApply;
using TNullValue = TKelColumnEnums::TNullValue;
using TCalcPass = TKelColumnEnums::TCalcPass;
using TTotalBox = TKelColumnEnums::TTotalBox;
using enum TKelColumnEnums::TKelColumnValue;
using enum TKelColumnEnums::TKelColumnButtonStyle;
using enum TKelColumnEnums::TKelColumnExpandStyle;
using enum TKelColumnEnums::TVAlignment;
using enum TKelColumnEnums::TImageDraw;
using enum TKelColumnEnums::TCheckBoxToggle;
using enum TKelColumnEnums::TCheckBoxStyle;
using enum TKelColumnEnums::TCheckBoxKind;
using enum TKelColumnEnums::TToolTipsWidth;
using enum TKelColumnEnums::TDialogOption;
using enum TKelColumnEnums::TMarker;
using enum TKelColumnEnums::TKelPickOption;
using enum TKelColumnEnums::TKelListOption;
using enum TKelColumnEnums::TDBGridColumnsState;
using enum TKelColumnEnums::TTotalResult;
using enum TKelColumnEnums::TCalcValue;
using enum TKelColumnEnums::TCalcApply;
using enum TKelColumnEnums::TNullValue;
using enum TKelColumnEnums::TCalcPass;
using enum TKelColumnEnums::TTotalBox;

}  // namespace kelgrid
