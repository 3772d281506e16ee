#pragma once
// The private state of TKelCustomDBGrid. Only the grid's own files and its
// parts include this header.

#include "kelgrid/grid/columnlist.h"
#include "kelgrid/grid/scratchbitmap.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/totalscalc.h"
#include "toolkit/data/dataset.h"
#include "toolkit/ui/singleshottimer.h"

#include "toolkit/ui/flatscrollbar.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/popupmenu.h"

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
    tk::TDataSet::TCursorEnds positionEnds;
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
    // --- Totals calculation (dbgridtotals.cpp): the calculation, the
    // sequence values and their timers; made on first use.
    std::unique_ptr<TKelTotalsCalc> totalsCalc;
    // --- Data link reactions and focus (dbgridlinks.cpp, dbgridfocus.cpp):
    // the active record's buffer row when the link last reported (the
    // forced sequence counts the scroll from it); the grid's own IME
    // settings and whether a column's IME name must be undone on leaving.
    int lastActiveRecord = 0;
    QString originalImeName;
    tk::TImeMode originalImeMode = tk::imDontCare;
    bool imeSaved = false;
    bool needRestoreIme = false;
    bool inColExit = false;  // OnColExit runs: a move from it does not exit again
    bool countDeferred = false;  // CountLater's call is queued

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

    // --- Appearance (dbgridcolors.cpp)
    tk::TColor headerColor = tk::clBtnFace;
    tk::TColor fillerColor = tk::clBtnFace;
    bool headerColorSet = false;  // set on its own: FixedColor leaves it
    bool fillerColorSet = false;
    tk::TColor selectionColor = tk::clDefault;
    tk::TColor selectRowColor = tk::clDefault;
    tk::TColor selectCellColor = tk::clDefault;
    tk::TColor stripeColor = tk::clNone;
    tk::TColor editorColor = tk::clNone;
    tk::TColor highlightText = tk::clDefault;
    tk::TColor dataColLineColor = tk::clDefault;
    tk::TColor dataRowLineColor = tk::clDefault;
    int fillerIndex = -7;
    bool fillerButton = true;
    THotButtonsStyle hotButtons = hbAuto;
    TListBorderStyle listBorder = lbAuto;
    TFocusRectStyle focusRect = frAuto;
    TMarkerStyle markerStyle = msAuto;
    TMarkerTransparent markerTransparent = mtAuto;
    TResizeOptions resizeOptions{roColumnResize | roOptimalWidth | roDefaultWidth | roColumnMoving};
    TOrvGradientButton* gradient = nullptr;  // a QObject child of the grid
    // Assigned image lists (watched) and the built-in ones.
    QPointer<tk::TImageList> indicatorImages;
    QPointer<tk::TImageList> titleImages;
    QPointer<tk::TImageList> titleMarkers;
    tk::TImageList indicatorList;
    tk::TImageList checkBoxList;
    tk::TImageList markerList;
    int loadedMarkerKey = -1;  // the marker style the built-in list has
    // The grids share one scratch image while any of them lives.
    TScratchBitmapUser scratchUser;

    // --- Painting (dbgridpaint.cpp)
    bool defaultDrawing = true;
    QPoint paintCell{-1, -1};
    int invalidateLock = 0;
    // What the mouse handling marks and the painters show: the corner
    // pressed or hot, the title cell (raw column and row) under the mouse
    // and the one being pressed, whether only its expand button is tracked.
    bool fillerPressed = false;
    bool fillerHot = false;
    QPoint hotCell{-1, -1};
    QPoint pressedCell{-1, -1};
    bool expandTracked = false;
    QPointer<TKelColumn> pressedColumn;  // the title pressed as a button
    bool pressTracked = false;           // the mouse is still on it
    QPoint pressPoint;
    // Column moving: the title dragged, and the column the drop moves.
    QPointer<TKelColumn> dragColumn;
    QPointer<TKelColumn> moveColumn;
    // Keyboard and mouse: the last shift state; Shift+moves are selecting.
    tk::TShiftState lastShiftState;
    bool selecting = false;
    // The grid row of the current record as last painted; while a data
    // cell paints, its row's distance from the current record and its
    // background colour.
    int selRow = -1;
    int rowNumber = 0;
    tk::TColor paintColor = tk::clNone;
    // --- Sizing and deferred layout (dbgridlayout.cpp)
    bool layoutDeferred = false;  // a deferred-layout event is queued
    int ownSizing = 0;            // the grid sizes rows and columns itself
    // Linked grids (dbgridmaster.cpp): the master, the next grid of the
    // ring this grid is in, and whether the ring is being synchronised.
    QPointer<TKelCustomDBGrid> masterGrid;
    QPointer<TKelCustomDBGrid> manageGrid;
    bool management = false;
    int lastResizedCol = -1;
    int lastDefaultRowHeight = -1;  // at the last OnRowResize
    // --- Scrolling and positioning (dbgridscroll.cpp)
    int wheelScrollRows = 0;
    int scrollLock = 0;
    int lastLeftCol = -1;           // the data column OnColumnScroll last told
    QPoint lastScrollCell{-1, -1};  // ScrollToCellAt's last point
    // --- Mouse tracking (dbgridmouse.cpp, dbgridhot.cpp, dbgridmousescroll.cpp)
    // A data cell of a column whose CanCellTrack is true pressed (raw
    // column, grid row), whether the mouse is still on it; the data cell of
    // such a column under the mouse.
    bool cellTracking = false;
    QPoint trackCell{-1, -1};
    bool cellPressed = false;
    QPoint hotDataCell{-1, -1};
    // Mouse scrolling: the left and top edges of the scrolling area, the
    // last mouse point and the timer of the steps beyond the edges.
    bool scrollTracking = false;
    QPoint scrollStartPos;
    QPoint scrollMousePos;
    std::unique_ptr<tk::TSingleShotTimer> scrollTimer;
    // The last left press hit the cell that was already selected.
    bool selectedCell = false;
    // The sizing column: its right border is under the mouse.
    QPointer<TKelColumn> sizingCol;
    // A press on the data rows may start dragging the records.
    bool dragRows = false;
    // Menus of the corner and of the indicator cells (watched).
    QPointer<tk::TPopupMenu> fillerPopupMenu;
    QPointer<tk::TPopupMenu> indicatorPopupMenu;
    // --- Hints and tooltips (dbgridhints.cpp)
    TKelHintOptions hintOptions{hoTitleHints | hoShowTitleHints | hoEditorHints | hoShowToolTips |
                                hoShowTotalToolTips};
    QString fillerHint;
    QString indicatorHint;
    // The kind of source that decided the last query, which chooses the
    // next pause: 0 none, 1 a tooltip, 2 a hint.
    int hintPause = 0;

    // --- Pick list loading (dbgridlistitems.cpp): the loader timer (made
    // on demand, freed when it runs) and whether a load runs.
    std::unique_ptr<tk::TSingleShotTimer> listItemsTimer;
    bool loadingListItems = false;

    // --- Nested datasets (dbgridnested.cpp)
    // The grids ShowPopupEditor made, each in its tool window (a child of
    // this grid); a grid freed with its window drops out by itself.
    QList<QPointer<TKelCustomDBGrid>> nestedGrids;

    // --- Editor hosting (dbgrideditor.cpp)
    // The editor's text (each change) and the column it was loaded for:
    // UpdateData writes it only into that column, and only while it is the
    // selected one, so a stale text never lands in another field.
    QString editText;
    QPointer<TKelColumn> editTextColumn;

};

// Raises ownSizing for a scope: the grid sets widths and heights itself.
class TOwnSizing {
public:
    explicit TOwnSizing(TKelCustomDBGridPrivate& d);
    ~TOwnSizing();
    TOwnSizing(const TOwnSizing&) = delete;
    TOwnSizing& operator=(const TOwnSizing&) = delete;

private:
    TKelCustomDBGridPrivate& d_;
};

}  // namespace kelgrid
