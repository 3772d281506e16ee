#pragma once
// The private state of TKelCustomDBGrid. Only the grid's own files and its
// parts include this header.

#include "kelgrid/grid/columnlist.h"
#include "kelgrid/grid/dbgrid.h"
#include "toolkit/data/dataset.h"
#include "toolkit/ui/singleshottimer.h"

#include "toolkit/ui/flatscrollbar.h"

#include <QPointer>
#include <memory>

namespace kelgrid {

class TKelBookmarkList;
class TKelDBGridColumns;
class TKelGridDataLink;

// What the columns are being streamed for: a layout stream sets it while it
// reads or writes (columnsstream.cpp).
enum class TColumnsStream { None, Reading, Writing };

struct TKelCustomDBGridPrivate {
    // Owned parts; made by the factories in the constructor.
    std::unique_ptr<TKelGridDataLink> dataLink;
    TKelDBGridColumns* columns = nullptr;  // a QObject child of the grid
    std::unique_ptr<TKelBookmarkList> selectedRows;
    TKelDBGridTotals* totals = nullptr;  // a QObject child of the grid
    tk::TFont* titleFont = nullptr;      // QObject children of the grid
    tk::TFont* headerFont = nullptr;
    // Raised while the grid copies its parent's font into its own fonts.
    int fontRefreshLock = 0;

    TKelDBGridOptions options;
    TKelDBGridOptionsEx optionsEx;
    TKelDBGridOptionsExt optionsExt;
    bool readOnly = false;
    TColumnsStream columnsStream = TColumnsStream::None;

    // Matrix offsets: the indicator column and the title rows.
    int indicatorOffset = 1;
    int indicatorWidth = 20;
    int fixedCols = 0;  // data columns
    int titleLinesCount = 1;
    int headerLinesCount = 1;
    int titleOffset = 1;
    int totalOffset = 0;

    // Locks and counters (see dbgrid.h).
    int updateLock = 0;
    int layoutLock = 0;
    int orderUpdateLock = 0;
    int selectLock = 0;
    int changeLock = 0;
    bool layoutFromDataSet = false;
    bool updateFields = true;
    // Selection (dbgridselect.cpp): the mode and its options, the column
    // range, the anchor, what changed in the open batch, the timer that
    // delays the announcement, the selected columns.
    TMultiSelection multiSelect = msRows;
    TMultiSelectOptions multiSelectOptions{msRows};
    int selectionBegCol = -1;
    int selectionEndCol = -1;
    bool selectionColumn = false;
    tk::TBookmark selectionAnchor;
    bool rowsChanged = false;
    bool colsChanged = false;
    std::unique_ptr<tk::TSingleShotTimer> selectTimer;
    std::unique_ptr<TKelColumnList> selectedCols;
    // Position bracket (dbgridposition.cpp).
    int positionLock = 0;
    tk::TBookmark positionBookmark;
    int positionRow = 0;
    // The dataset whose controls the bracket disabled (nullptr: none).
    QPointer<tk::TDataSet> positionDataSet;

    // Sort order: the order at the outermost BeginOrderUpdate, the last
    // known order (kept while the dataset is closed), the key fields, and
    // whether the grid is reordering its dataset itself.
    QString lockOrderFields;
    QString lastOrderFields;
    QString keyFields;
    bool reordering = false;

    // Requests for the delayed updates, for the parts that run them later
    // (list items, sequence numbers, totals).
    int listItemsRequests = 0;
    int sequenceRequests = 0;
    int totalsRequests = 0;

    // --- Settings, style and scroll properties
    TKelDBGridSettings* settings = nullptr;  // QObject children of the grid
    TKelGridStyle* gridStyle = nullptr;
    TKelScrollProp* scrollProp = nullptr;
    // Facades of the grid's own bars, made with the grid.
    std::unique_ptr<tk::TFlatScrollBar> horizontalFlat;
    std::unique_ptr<tk::TFlatScrollBar> verticalFlat;
    int linesCount = 1;
    int linesCountMin = 1;
    int linesCountMax = -1;
    bool stretchMode = false;
    bool stretchApplied = false;  // the columns hold stretched widths
    bool stretching = false;
    int stretchWidthMin = -1;
    int stretchWidthMax = -1;
    TFixedStyle fixedStyle = fsDefault;
    TFixedTheme fixedTheme = ftDefault;
};

}  // namespace kelgrid
