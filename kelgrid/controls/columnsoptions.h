#pragma once
// The options of the columns dialog (columnsdialog.h) and the texts its list
// builds column names from.

#include "kelgrid/kelgridexport.h"

#include <QFlags>
#include <QObject>
#include <QString>

namespace kelgrid {

class KELGRID_EXPORT TKelDBColumnsEnums {
    Q_GADGET
public:
    enum TKelDBColumnsOption : unsigned {
        coAllowMoving = 1u << 0,
        coAutoUpdate = 1u << 1,
        coCancelButton = 1u << 2,
        coApplyButton = 1u << 3,
        coHelpButton = 1u << 4,
        coMarkPrintedCols = 1u << 5,
        coMarkVisibleCols = 1u << 6,
        coShowEmptyCols = 1u << 7,
        coShowFixedCols = 1u << 8,
        coShowHeaders = 1u << 9,
    };
    Q_DECLARE_FLAGS(TKelDBColumnsOptions, TKelDBColumnsOption)
    Q_FLAG(TKelDBColumnsOptions)
};
Q_DECLARE_OPERATORS_FOR_FLAGS(TKelDBColumnsEnums::TKelDBColumnsOptions)

using TKelDBColumnsOption = TKelDBColumnsEnums::TKelDBColumnsOption;
using TKelDBColumnsOptions = TKelDBColumnsEnums::TKelDBColumnsOptions;
using enum TKelDBColumnsEnums::TKelDBColumnsOption;

inline constexpr TKelDBColumnsOptions DefaultColumnsOptions =
    TKelDBColumnsOptions(coCancelButton | coHelpButton | coMarkVisibleCols | coShowEmptyCols);

// Put before a column's name once per level it is nested under a
// multi-level title.
KELGRID_EXPORT extern QString IndentChars;
// Between a title's header and its caption (coShowHeaders).
KELGRID_EXPORT extern QString HeaderBreak;
// Stands for the line breaks of a caption.
KELGRID_EXPORT extern QString LineBreak;

}  // namespace kelgrid
