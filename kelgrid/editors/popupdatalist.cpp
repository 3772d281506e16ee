#include "kelgrid/editors/popupdatalist.h"

#include "kelgrid/editors/listborder.h"
#include "kelgrid/grid/dbgrid.h"
#include "toolkit/core/application.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/popupbehaviour.h"
#include "toolkit/ui/sysinfo.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace kelgrid {

namespace {

constexpr int kColumnPadding = 6;

// Disables the dataset's controls and brings the current record back.
class TRecordWalk {
public:
    explicit TRecordWalk(tk::TDataSet& dataSet) : dataSet_(dataSet), bookmark_(dataSet.GetBookmark())
    {
        dataSet_.DisableControls();
    }
    ~TRecordWalk()
    {
        tk::Guarded([this] {
            if (!bookmark_.isEmpty())
                dataSet_.GotoBookmark(bookmark_);
        });
        dataSet_.EnableControls();
    }
    TRecordWalk(const TRecordWalk&) = delete;
    TRecordWalk& operator=(const TRecordWalk&) = delete;

private:
    tk::TDataSet& dataSet_;
    tk::TBookmark bookmark_;
};

}  // namespace

TKelPopupDataList::TKelPopupDataList(QWidget* owner)
    : tk::TDBLookupListBox(owner), behaviour_(std::make_unique<tk::TPopupBehaviour>(this))
{
    ApplyListBorder(*this, nullptr);
    behaviour_->OnOutsidePress = [this](QWidget*) { CloseUp(false); };
    behaviour_->OnAssociateLost = [this] { CloseUp(false); };
    behaviour_->OnAssociateDrag = [this](const QPoint& at, bool released) { AssociateDrag(at, released); };
}

TKelPopupDataList::~TKelPopupDataList()
{
    Destroying();
}

void TKelPopupDataList::SetGrid(TKelCustomDBGrid* grid)
{
    grid_ = grid;
    ApplyListBorder(*this, grid);
    if (grid) {
        setLayoutDirection(grid->layoutDirection());
        SetWheelRows(grid->MouseWheelScrollRows());
    }
}

QWidget* TKelPopupDataList::Associate() const
{
    return behaviour_->Associate();
}

void TKelPopupDataList::SetAssociate(QWidget* editor)
{
    behaviour_->SetAssociate(editor);
}

int TKelPopupDataList::CountRecords() const
{
    tk::TDataSet* dataSet = ListDataSet();
    if (!dataSet)
        return 0;
    const TRecordWalk walk(*dataSet);
    int count = 0;
    for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
        ++count;
    return count;
}

int TKelPopupDataList::Prepare(const TDropDownLimits& limits)
{
    const int rows = limits.ListRows(CountRecords());
    SetRowCount(rows);
    tk::TCanvas canvas;
    canvas.Font()->Assign(Font());
    // Qt's fonts report no overhang, so a column is its digits + padding.
    const int zeroWidth = canvas.TextWidth(QStringLiteral("0"));
    int width = tk::ScrollBarExtent() - 2;
    for (const tk::TField* field : ListFields())
        width += field->DisplayWidth() * zeroWidth + kColumnPadding;
    resize(limits.ListWidth(width), height());
    // The viewport is laid out only when shown; the client area is the
    // control less its frame.
    return (height() - 2 * FrameWidth()) / rows;
}

void TKelPopupDataList::Popup(const QPoint& screenPos)
{
    behaviour_->Popup(screenPos);
}

void TKelPopupDataList::CloseUp(bool accept)
{
    behaviour_->CloseUp(accept, OnCloseUp);
}

bool TKelPopupDataList::ForwardKey(const QKeyEvent& event)
{
    return behaviour_->ForwardListKey(event, [this](bool accept) { CloseUp(accept); });
}

void TKelPopupDataList::CancelMode()
{
    tk::TDBLookupListBox::CancelMode();
    CloseUp(false);
}

void TKelPopupDataList::mouseReleaseEvent(QMouseEvent* event)
{
    tk::TDBLookupListBox::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = viewport()->mapFrom(this, event->position().toPoint());
    tk::Guarded([&] { CloseUp(viewport()->rect().contains(pos)); });
}

void TKelPopupDataList::AssociateDrag(const QPoint& globalPos, bool released)
{
    const QPoint pos = viewport()->mapFromGlobal(globalPos);
    if (!viewport()->rect().contains(pos))
        return;
    SelectRow(RowAt(pos));
    if (released)
        CloseUp(true);
}

void TKelPopupDataList::showEvent(QShowEvent* event)
{
    tk::TDBLookupListBox::showEvent(event);
    tk::Guarded([this] { behaviour_->Shown(); });
}

void TKelPopupDataList::hideEvent(QHideEvent* event)
{
    tk::Guarded([this] { behaviour_->Hidden(); });
    tk::TDBLookupListBox::hideEvent(event);
}

}  // namespace kelgrid
