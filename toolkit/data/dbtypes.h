#pragma once
// The enumerations of the data layer. They live in one gadget so that
// properties of these types read and write by key name ("ftString",
// "dsBrowse"), and are lifted into namespace tk so code writes ftString.

#include <QFlags>
#include <QMetaEnum>
#include <QObject>
#include <QString>

namespace tk {

struct TDataEnums {
    Q_GADGET

public:
    // The kinds of values a field holds.
    enum TFieldType {
        ftUnknown,
        ftString,
        ftSmallint,
        ftInteger,
        ftWord,
        ftBoolean,
        ftFloat,
        ftCurrency,
        ftBCD,
        ftDate,
        ftTime,
        ftDateTime,
        ftBytes,
        ftVarBytes,
        ftAutoInc,
        ftBlob,
        ftMemo,
        ftGraphic,
        ftFmtMemo,
        ftParadoxOle,
        ftDBaseOle,
        ftTypedBinary,
        ftCursor,
        ftFixedChar,
        ftWideString,
        ftLargeint,
        ftADT,
        ftArray,
        ftReference,
        ftDataSet,
        ftOraBlob,
        ftOraClob,
        ftVariant,
        ftInterface,
        ftIDispatch,
        ftGuid,
        ftTimeStamp,
        ftFMTBcd,
        ftFixedWideChar,
        ftWideMemo,
    };
    Q_ENUM(TFieldType)

    // Where a field's value comes from.
    enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
    Q_ENUM(TFieldKind)

    enum TDataSetState {
        dsInactive,
        dsBrowse,
        dsEdit,
        dsInsert,
        dsSetKey,
        dsCalcFields,
        dsFilter,
        dsNewValue,
        dsOldValue,
        dsCurValue,
        dsBlockRead,
        dsInternalCalc,
        dsOpening,
    };
    Q_ENUM(TDataSetState)

    // What a data source tells its links (TDataLink::DataEvent).
    enum TDataEvent {
        deFieldChange,
        deRecordChange,
        deDataSetChange,
        deDataSetScroll,
        deLayoutChange,
        deUpdateRecord,
        deUpdateState,
        deCheckBrowseMode,
        dePropertyChange,
        deFieldListChange,
        deFocusControl,
        deParentScroll,
        deConnectChange,
        deReconcileError,
        deDisabledStateChange,
    };
    Q_ENUM(TDataEvent)

    enum TLocateOption { loCaseInsensitive = 0x1, loPartialKey = 0x2 };
    Q_DECLARE_FLAGS(TLocateOptions, TLocateOption)
    Q_FLAG(TLocateOptions)

    enum TResyncModeFlag { rmExact = 0x1, rmCenter = 0x2 };
    Q_DECLARE_FLAGS(TResyncMode, TResyncModeFlag)
    Q_FLAG(TResyncMode)

    enum TBlobStreamMode { bmRead, bmWrite, bmReadWrite };
    Q_ENUM(TBlobStreamMode)

    // Kept for properties that peers read by name (CursorLocation,
    // CommandType); our datasets publish the values that describe them.
    enum TCursorLocation { clUseServer, clUseClient };
    Q_ENUM(TCursorLocation)
    enum TCommandType { cmdUnknown, cmdText, cmdTable, cmdStoredProc, cmdFile, cmdTableDirect };
    Q_ENUM(TCommandType)
};

using TFieldType = TDataEnums::TFieldType;
using TFieldKind = TDataEnums::TFieldKind;
using TDataSetState = TDataEnums::TDataSetState;
using TDataEvent = TDataEnums::TDataEvent;
using TLocateOption = TDataEnums::TLocateOption;
using TLocateOptions = TDataEnums::TLocateOptions;
using TResyncModeFlag = TDataEnums::TResyncModeFlag;
using TResyncMode = TDataEnums::TResyncMode;
using TBlobStreamMode = TDataEnums::TBlobStreamMode;
using TCursorLocation = TDataEnums::TCursorLocation;
using TCommandType = TDataEnums::TCommandType;
using enum TDataEnums::TFieldType;
using enum TDataEnums::TFieldKind;
using enum TDataEnums::TDataSetState;
using enum TDataEnums::TDataEvent;
using enum TDataEnums::TLocateOption;
using enum TDataEnums::TResyncModeFlag;
using enum TDataEnums::TBlobStreamMode;
using enum TDataEnums::TCursorLocation;
using enum TDataEnums::TCommandType;

// The key name of a value ("ftString"), for messages and layouts.
template <typename Enum>
QString EnumName(Enum value)
{
    return QString::fromLatin1(QMetaEnum::fromType<Enum>().valueToKey(static_cast<int>(value)));
}

// Field types whose values are large objects read through blob streams.
bool IsBlobType(TFieldType type);
// Field types that hold sub-fields (ADT, array, reference, dataset).
bool IsObjectType(TFieldType type);

}  // namespace tk

Q_DECLARE_OPERATORS_FOR_FLAGS(tk::TDataEnums::TLocateOptions)
Q_DECLARE_OPERATORS_FOR_FLAGS(tk::TDataEnums::TResyncMode)
