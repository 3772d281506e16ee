// TKelCustomDBGrid: hints and tooltips. The hint engine asks the grid
// (CMHintShow) whenever the mouse rests outside the cursor rectangle of the
// hint shown last; the grid finds the cell under the mouse and tries its
// sources in this order, each deciding when it applies to that cell and
// letting the next one try only as the options allow:
//
//   1. total tooltips   (totals shown, hoShowTotalToolTips)
//   2. total hints      (totals shown, hoTotalHints)
//   3. title hints      (dgTitles, hoTitleHints): filler, header rows, titles
//   4. data tooltips    (hoShowToolTips)
//   5. the main hint    (without hoDataHints)
//   6. data hints       (hoDataHints): data cells and the indicator
//
// A source that does not apply may also stop the search with the main hint
// (the grid's own Hint) over the part of the grid where it stays valid, or
// cancel it where nothing may show. Hint texts go through CellHint
// (OnCellHint); the "show" options decide whether their window appears.
// Tooltips repeat a cell's text in a TKelHintWindow laid over the cell when
// the text does not fit it (always with hoAlwaysShowToolTips).
//
// The kind of source that decided chooses the next pause (CMHintShowPause):
// short after a tooltip, so a row of cells can be read one after another,
// normal after a hint. A key or a mouse press resets it (ResetHintPause,
// from KeyDown and MouseDown).

#include "kelgrid/grid/column.h"
#include "kelgrid/grid/columntitle.h"
#include "kelgrid/grid/columntotal.h"
#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/dbgrid_p.h"
#include "kelgrid/grid/gridlink.h"
#include "kelgrid/grid/gridstyle.h"
#include "kelgrid/grid/hintwindow.h"
#include "kelgrid/grid/totals.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/hintengine.h"
#include "toolkit/ui/hintinfo.h"
#include "toolkit/ui/imagelist.h"
#include "toolkit/ui/sysinfo.h"

#include <QScopeGuard>
#include <algorithm>

namespace kelgrid {

namespace {

// What the pause state holds (d_->hintPause).
constexpr int kNoPause = 0;
constexpr int kToolTipPause = 1;
constexpr int kHintPause = 2;

// The platform window's border and text insets: a hint window is this much
// wider than its text, and ActivateHint makes it this much higher than
// CalcHintRect says.
constexpr int kHintWindowExtraWidth = 6;
constexpr int kHintWindowExtraHeight = 2;
constexpr int kActivateExtraHeight = 4;

bool IsMemo(const tk::TField* field)
{
    const tk::TFieldType type = field->DataType();
    return type == tk::ftMemo || type == tk::ftFmtMemo || type == tk::ftWideMemo;
}

// A cell that shows a picture (its image, its check box, its graphic blob)
// rather than its text: only a wallpaper lets the text show too.
bool ShowsPicture(const TKelColumn& column)
{
    if (column.Wallpaper())
        return false;
    const tk::TField* field = column.Field();
    return column.Images() || column.CheckBox() ||
           (column.ShowBlob() && field && field->DataType() == tk::ftGraphic);
}

// The alignment as seen: a mirrored cell swaps left and right.
tk::TAlignment ScreenAlignment(tk::TAlignment alignment, bool mirrored)
{
    if (!mirrored || alignment == tk::taCenter)
        return alignment;
    return alignment == tk::taLeftJustify ? tk::taRightJustify : tk::taLeftJustify;
}

// The text's distance from the cell's edge, as the data cells paint it.
int AlignmentMargin(tk::TAlignment alignment)
{
    switch (alignment) {
    case tk::taRightJustify:
        return 3;
    case tk::taCenter:
        return 0;
    default:
        return 2;
    }
}

}  // namespace

// The engine's information for this query and the cell under the mouse.
struct TKelCustomDBGrid::THintQuery {
    tk::THintInfo& info;
    THit hit;
};

enum class TKelCustomDBGrid::THintStep {
    Shown,      // info holds the hint to show
    Cancelled,  // nothing shows
    Stopped,    // the main hint shows, over the cursor rectangle as narrowed
    Onward,     // the next source is tried
};

// Where and how a tooltip repeats a cell's text.
struct TKelCustomDBGrid::TToolTipLayout {
    QRect cell;    // the window is laid over it (viewport)
    QRect cursor;  // the cursor rectangle
    tk::TFont* font = nullptr;
    tk::TAlignment alignment = tk::taLeftJustify;  // as seen on the screen
    TVAlignment vAlignment = tvCenter;
    int margin = 2;           // the text's distance from the cell's edge
    bool fixedWidth = false;  // the text wraps in the cell's width
    bool wraps = false;       // the cell wraps its text over several lines
};

// --- Properties ---------------------------------------------------------------------

TKelHintOptions TKelCustomDBGrid::HintOptions() const
{
    return d_->hintOptions;
}

void TKelCustomDBGrid::SetHintOptions(TKelHintOptions options)
{
    d_->hintOptions = options;
}

QString TKelCustomDBGrid::FillerHint() const
{
    return d_->fillerHint;
}

void TKelCustomDBGrid::SetFillerHint(const QString& hint)
{
    d_->fillerHint = hint;
}

QString TKelCustomDBGrid::IndicatorHint() const
{
    return d_->indicatorHint;
}

void TKelCustomDBGrid::SetIndicatorHint(const QString& hint)
{
    d_->indicatorHint = hint;
}

void TKelCustomDBGrid::CellHint(TKelColumn* column, int index, THintCell cell, QString& hint)
{
    if (!OnCellHint)
        return;
    // A failing handler must not break the hint engine: no hint then.
    try {
        OnCellHint(this, column, index, cell, hint);
    } catch (const std::exception&) {
        hint.clear();
    }
}

// --- The pause ------------------------------------------------------------------------

void TKelCustomDBGrid::CMHintShowPause(bool hintWasActive, int& pause)
{
    tk::TCustomGrid::CMHintShowPause(hintWasActive, pause);
    if (d_->hintPause == kToolTipPause)
        pause = tk::HintEngine().HintShortPause();
    else if (d_->hintPause == kHintPause)
        pause = tk::HintEngine().HintPause();
}

void TKelCustomDBGrid::ResetHintPause()
{
    d_->hintPause = kNoPause;
}

// --- The query ------------------------------------------------------------------------

int TKelCustomDBGrid::CMHintShow(tk::THintInfo& info)
{
    const int inherited = tk::TCustomGrid::CMHintShow(info);
    if (inherited != 0)
        return inherited;
    d_->hintPause = kNoPause;
    // Worked on in a copy, written back only when something shows.
    tk::THintInfo work = info;
    THintQuery query{work, HitAt(work.CursorPos.x(), work.CursorPos.y())};
    THintStep step = THintStep::Onward;
    for (auto source : {&TKelCustomDBGrid::TotalToolTipSource, &TKelCustomDBGrid::TotalHintSource,
                        &TKelCustomDBGrid::TitleHintSource, &TKelCustomDBGrid::DataToolTipSource,
                        &TKelCustomDBGrid::DataHintSource}) {
        step = (this->*source)(query);
        if (step != THintStep::Onward)
            break;
    }
    Q_ASSERT(step != THintStep::Onward);  // the data hints always decide
    if (step == THintStep::Cancelled)
        return 1;
    if (step == THintStep::Stopped)
        work.HintStr = info.HintStr;  // the main hint
    info = work;
    return 0;
}

TKelCustomDBGrid::THintStep TKelCustomDBGrid::BeyondTotals(THintQuery& query, bool onward)
{
    if (query.hit.area == THitArea::Total)
        return onward ? THintStep::Onward : THintStep::Cancelled;
    const QRect totals = TotalsRect();
    if (!totals.isEmpty() && query.info.CursorPos.y() >= totals.top())
        return THintStep::Cancelled;  // the blank row, or past the columns
    if (onward)
        return THintStep::Onward;
    if (!totals.isEmpty())
        query.info.CursorRect.setBottom(totals.top() - 1);
    return THintStep::Stopped;
}

TKelCustomDBGrid::THintStep TKelCustomDBGrid::TotalToolTipSource(THintQuery& query)
{
    if (d_->totalOffset == 0 || !d_->hintOptions.testFlag(hoShowTotalToolTips))
        return THintStep::Onward;
    const THit& hit = query.hit;
    if (hit.area == THitArea::Total && hit.column) {
        const TKelColumnTotal* part = hit.column->TotalRows(hit.totalRow);
        if (part && part->ToolTips())
            return TotalToolTip(query);
    }
    return BeyondTotals(
        query, d_->hintOptions.testAnyFlags(hoTitleHints | hoShowToolTips | hoDataHints | hoTotalHints));
}

TKelCustomDBGrid::THintStep TKelCustomDBGrid::TotalHintSource(THintQuery& query)
{
    if (d_->totalOffset == 0 || !d_->hintOptions.testFlag(hoTotalHints))
        return THintStep::Onward;
    const THit& hit = query.hit;
    if (hit.area == THitArea::Total) {
        QString text;
        if (!hit.column) {
            text = d_->indicatorHint;
        } else {
            const TKelColumnTotal* part = hit.column->TotalRows(hit.totalRow);
            text = part && !part->Hint().isEmpty() ? part->Hint()
                                                   : GetTotalText(hit.column, hit.totalRow, tkDisplay);
        }
        return CellHintStep(query, hit.column, hit.totalRow, hcTotal, text,
                            WithLines(CellRect(hit.col, hit.row)),
                            d_->hintOptions.testFlag(hoShowTotalHints));
    }
    return BeyondTotals(query, d_->hintOptions.testAnyFlags(hoTitleHints | hoShowToolTips | hoDataHints));
}

TKelCustomDBGrid::THintStep TKelCustomDBGrid::TitleHintSource(THintQuery& query)
{
    if (!d_->options.testFlag(dgTitles) || !d_->hintOptions.testFlag(hoTitleHints))
        return THintStep::Onward;
    const THit& hit = query.hit;
    const bool show = d_->hintOptions.testFlag(hoShowTitleHints);
    const int titleHeight = TitleHeight();
    if (hit.area == THitArea::Filler) {
        const QRect cell = CellRect(hit.col, hit.row);
        const QRect corner(cell.left(), 0, cell.width() + ColLineWidth(), titleHeight);
        return CellHintStep(query, nullptr, 0, hcFiller, d_->fillerHint, corner, show);
    }
    if (hit.area == THitArea::Title) {
        TKelColumn* column = hit.column;
        const TKelColumnTitle* title = column->Title();
        const QRect titleRect = CalcTitleRect(column, column->Depth());
        if (hit.headerRow >= 0) {
            QString text = title->HeaderHintRows(hit.headerRow);
            if (text.isEmpty())
                text = title->HeaderRows(hit.headerRow);
            return CellHintStep(query, column, hit.headerRow, hcHeader, text,
                                WithLines(HeaderRect(column, hit.headerRow, titleRect)), show);
        }
        QRect caption = titleRect;
        if (d_->options.testFlag(dgTitleHeaders))
            caption.setTop(caption.top() + title->HeaderRowCount() * HeaderRowHeight());
        const QString text = title->Hint().isEmpty() ? title->Caption() : title->Hint();
        return CellHintStep(query, column, hit.row, hcTitle, text, WithLines(caption), show);
    }
    if (query.info.CursorPos.y() < titleHeight)
        return THintStep::Cancelled;  // past the last title
    if (d_->hintOptions.testAnyFlags(hoShowToolTips | hoDataHints))
        return THintStep::Onward;
    query.info.CursorRect.setTop(titleHeight);
    return THintStep::Stopped;
}

TKelCustomDBGrid::THintStep TKelCustomDBGrid::DataToolTipSource(THintQuery& query)
{
    if (!d_->hintOptions.testFlag(hoShowToolTips))
        return THintStep::Onward;
    const THit& hit = query.hit;
    const bool dataHints = d_->hintOptions.testFlag(hoDataHints);
    if (hit.area == THitArea::Data) {
        if (hit.column->ToolTips())
            return DataToolTip(query);
        if (dataHints)
            return THintStep::Onward;
        // The main hint over this cell only: the next cell may have a tooltip.
        query.info.CursorRect = WithLines(CellRect(hit.col, hit.row));
        return THintStep::Stopped;
    }
    if (dataHints)
        return THintStep::Onward;
    const int titleHeight = TitleHeight();
    if (query.info.CursorPos.y() >= titleHeight)
        return THintStep::Cancelled;
    query.info.CursorRect.setBottom(titleHeight - 1);
    return THintStep::Stopped;
}

TKelCustomDBGrid::THintStep TKelCustomDBGrid::DataHintSource(THintQuery& query)
{
    if (!d_->hintOptions.testFlag(hoDataHints))
        return THintStep::Stopped;  // no cell hints: the main hint
    const THit& hit = query.hit;
    const bool show = d_->hintOptions.testFlag(hoShowDataHints);
    const int dataRow = hit.row - d_->titleOffset;
    if (hit.area == THitArea::Indicator)
        return CellHintStep(query, nullptr, dataRow, hcIndicator, d_->indicatorHint,
                            WithLines(CellRect(hit.col, hit.row)), show);
    if (hit.area == THitArea::Data) {
        const QString text = DataCellText(hit.column, dataRow, d_->hintOptions.testFlag(hoAllowForGraphics));
        return CellHintStep(query, hit.column, dataRow, hcData, text, WithLines(CellRect(hit.col, hit.row)),
                            show);
    }
    const int titleHeight = TitleHeight();
    if (query.info.CursorPos.y() < titleHeight)
        return THintStep::Cancelled;
    query.info.CursorRect.setTop(titleHeight);
    return THintStep::Stopped;
}

// --- Hints and tooltips of one cell -------------------------------------------------------

TKelCustomDBGrid::THintStep TKelCustomDBGrid::CellHintStep(THintQuery& query, TKelColumn* column, int index,
                                                           THintCell cell, QString text,
                                                           const QRect& cursorRect, bool show)
{
    d_->hintPause = kHintPause;
    CellHint(column, index, cell, text);
    if (!show || text.isEmpty())
        return THintStep::Cancelled;
    query.info.HintStr = text;
    query.info.CursorRect = cursorRect;
    return THintStep::Shown;
}

TKelCustomDBGrid::THintStep TKelCustomDBGrid::DataToolTip(THintQuery& query)
{
    const THit& hit = query.hit;
    TKelColumn* column = hit.column;
    const tk::TField* field = column->Field();
    TToolTipLayout layout;
    layout.cell = CellRect(hit.col, hit.row);
    layout.cursor = WithLines(layout.cell);
    layout.font = column->Font();
    layout.alignment =
        ScreenAlignment(column->Alignment(), UseRightToLeftAlignment() && !column->SuppressRTL());
    layout.vAlignment = column->VAlignment();
    layout.margin = AlignmentMargin(layout.alignment);
    // A memo shows its text only through ShowBlob or its field's handler:
    // such long texts wrap in the cell's width.
    const bool memoText = field && IsMemo(field) && (column->ShowBlob() || field->OnGetText);
    layout.fixedWidth = column->ToolTipsWidth() == ttFixedWidth || memoText;
    layout.wraps = column->WordWrap() && d_->linesCount > 1;
    const QString text =
        DataCellText(column, hit.row - d_->titleOffset, d_->hintOptions.testFlag(hoAllowForGraphics));
    return ToolTipStep(query, text, layout);
}

TKelCustomDBGrid::THintStep TKelCustomDBGrid::TotalToolTip(THintQuery& query)
{
    const THit& hit = query.hit;
    TKelColumnTotal* part = hit.column->TotalRows(hit.totalRow);
    Q_ASSERT(part);
    const QRect cell = CellRect(hit.col, hit.row);
    TToolTipLayout layout;
    layout.cursor = WithLines(cell);
    // The text of a total sits between the band's vertical spacing, after
    // its image.
    const int inset = (GridStyle()->TotalRowSpace() - 4) / 2;
    layout.cell = cell.adjusted(0, inset, 0, -inset);
    const tk::TImageList* images = d_->totals->Images();
    if (images && part->ImageIndex() >= 0 && part->ImageIndex() < images->Count())
        layout.cell.setLeft(layout.cell.left() + images->Width() + 2);
    layout.font = part->Font();
    layout.alignment =
        ScreenAlignment(part->Alignment(), UseRightToLeftAlignment() && !hit.column->SuppressRTL());
    layout.vAlignment = part->VAlignment();
    const bool throughLines = d_->options.testFlag(dgColLines) && d_->optionsEx.testFlag(dgTotalColLines);
    layout.margin = GridStyle()->TotalColMargin() + (throughLines ? 0 : 1);
    layout.fixedWidth = part->ToolTipsWidth() == ttFixedWidth;
    layout.wraps = part->WordWrap() && d_->totals->LinesCount() > 1;
    return ToolTipStep(query, GetTotalText(hit.column, hit.totalRow, tkDisplay), layout);
}

TKelCustomDBGrid::THintStep TKelCustomDBGrid::ToolTipStep(THintQuery& query, const QString& text,
                                                          const TToolTipLayout& layout)
{
    d_->hintPause = kToolTipPause;
    if (text.isEmpty())
        return THintStep::Cancelled;
    const int maxWidth = layout.fixedWidth || layout.wraps
                             ? std::max(layout.cell.width() - layout.margin - (layout.fixedWidth ? 2 : 0), 1)
                             : tk::ScreenRect().width() - kHintWindowExtraWidth;
    TKelHintData data;
    data.font = layout.font;
    data.alignment = layout.alignment;
    data.fixedWidth = layout.fixedWidth;
    data.rightToLeft = UseRightToLeftReading();
    // Measured as the engine's window will measure it (never shown).
    TKelHintWindow measure;
    measure.SetBiDiMode(BiDiMode());
    if (!d_->hintOptions.testFlag(hoAlwaysShowToolTips)) {
        // The text's own extent: a fixed width would widen a short text.
        TKelHintData freeWidth = data;
        freeWidth.fixedWidth = false;
        const QRect needed = measure.CalcHintRect(maxWidth, text, QVariant::fromValue(freeWidth));
        const int textWidth = needed.width() - kHintWindowExtraWidth;
        const int textHeight = needed.height() - kHintWindowExtraHeight;
        if (textWidth + layout.margin <= layout.cell.width() - 6 && textHeight <= layout.cell.height())
            return THintStep::Cancelled;  // the cell shows it whole
    }
    const QRect window = measure.CalcHintRect(maxWidth, text, QVariant::fromValue(data));
    const int shownHeight = window.height() + kActivateExtraHeight;
    int x = layout.cell.left();
    if (layout.alignment == tk::taRightJustify)
        x = layout.cell.right() + 1 - window.width();
    else if (layout.alignment == tk::taCenter)
        x = layout.cell.left() + (layout.cell.width() - window.width()) / 2;
    int y = layout.cell.top();
    if (layout.vAlignment == tvBottomJustify)
        y = layout.cell.bottom() + 1 - shownHeight;
    else if (layout.vAlignment == tvCenter)
        y = layout.cell.top() + (layout.cell.height() - shownHeight) / 2;
    // One pixel up and left: the window's border goes round the cell's text.
    QPoint position = viewport()->mapToGlobal(QPoint(x - 1, y - 1));
    // The engine ends a right-to-left control's hint where HintPos is.
    if (UseRightToLeftAlignment())
        position.rx() += window.width();

    tk::THintInfo& info = query.info;
    info.HintStr = text;
    info.HintPos = position;
    info.HintMaxWidth = maxWidth;
    info.HintWindowClass = tk::HintWindowClassOf<TKelHintWindow>();
    info.HintData = QVariant::fromValue(data);
    info.CursorRect = layout.cursor;
    info.HideTimeout =
        d_->hintOptions.testFlag(hoKeepShowToolTips) ? -1 : 2 * tk::HintEngine().HintHidePause();
    return THintStep::Shown;
}

QString TKelCustomDBGrid::DataCellText(TKelColumn* column, int dataRow, bool withGraphics)
{
    TKelGridDataLink& link = *d_->dataLink;
    if (!column || !link.Active() || dataRow < 0 || dataRow >= link.RecordCount())
        return {};
    if (!withGraphics && ShowsPicture(*column))
        return {};
    // As painting does: the link's active record moves to the row and back,
    // the dataset's cursor stays, auto-numbers follow the row.
    const int active = link.ActiveRecord();
    auto restore = qScopeGuard([&] {
        link.SetActiveRecord(active);
        d_->rowNumber = 0;
    });
    link.SetActiveRecord(dataRow);
    d_->rowNumber = dataRow - active;
    return column->DisplayText();
}

QRect TKelCustomDBGrid::WithLines(const QRect& rect) const
{
    return rect.adjusted(0, 0, ColLineWidth(), RowLineWidth());
}

}  // namespace kelgrid
