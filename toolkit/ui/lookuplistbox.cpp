#include "toolkit/ui/lookuplistbox.h"

#include "toolkit/core/application.h"
#include "toolkit/data/datalink.h"
#include "toolkit/data/dataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"
#include "toolkit/ui/canvas.h"
#include "toolkit/ui/sysinfo.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <climits>

namespace tk {

namespace {

constexpr int kFrame = 1;         // the single border around the rows
constexpr int kColumnPadding = 6;  // pixels a column adds to its text width

// Sets the active record of link for a scope (field reads see that row).
class TActiveRecordScope {
public:
    TActiveRecordScope(TDataLink& link, int row) : link_(link), saved_(link.ActiveRecord())
    {
        link_.SetActiveRecord(row);
    }
    ~TActiveRecordScope() { link_.SetActiveRecord(saved_); }
    TActiveRecordScope(const TActiveRecordScope&) = delete;
    TActiveRecordScope& operator=(const TActiveRecordScope&) = delete;

private:
    TDataLink& link_;
    int saved_;
};

bool IsStringField(const TField* field)
{
    return field && (field->DataType() == ftString || field->DataType() == ftWideString);
}

}  // namespace

// The list's window of records: every change repaints, and the selection is
// by key, so nothing else needs to follow.
class TDBLookupListBox::TListDataLink : public TDataLink {
public:
    explicit TListDataLink(TDBLookupListBox* list) : list_(list) { SetVisualControl(true); }

protected:
    void ActiveChanged() override { list_->ListLinkChanged(); }
    void DataSetChanged() override { list_->ListLinkChanged(); }
    void DataSetScrolled(int) override { list_->ListLinkChanged(); }
    void LayoutChanged() override { list_->ListLinkChanged(); }
    void RecordChanged(TField*) override { list_->viewport()->update(); }

private:
    TDBLookupListBox* list_;
};

TDBLookupListBox::TDBLookupListBox(QWidget* parent)
    : QAbstractScrollArea(parent), TControl(this), link_(std::make_unique<TListDataLink>(this))
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(kFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            [this](int action) { Guarded([&] { ScrollBarAction(action); }); });
    link_->SetBufferCount(rowCount_);
    UpdateHeight();
}

TDBLookupListBox::~TDBLookupListBox()
{
    Destroying();
    link_->SetDataSource(nullptr);
}

// --- Properties -------------------------------------------------------------

TDataSource* TDBLookupListBox::ListSource() const
{
    return link_->DataSource();
}

void TDBLookupListBox::SetListSource(TDataSource* source)
{
    link_->SetDataSource(source);
    ListLinkChanged();
}

TDataSet* TDBLookupListBox::ListDataSet() const
{
    return link_->Active() ? link_->DataSet() : nullptr;
}

void TDBLookupListBox::SetKeyField(const QString& name)
{
    keyField_ = name;
    viewport()->update();
}

void TDBLookupListBox::SetListField(const QString& names)
{
    listField_ = names;
    search_.Clear();
    viewport()->update();
}

TField* TDBLookupListBox::KeyFieldObject() const
{
    const TDataSet* dataSet = ListDataSet();
    return dataSet && !keyField_.isEmpty() ? dataSet->FindField(keyField_) : nullptr;
}

QList<TField*> TDBLookupListBox::ListFields() const
{
    QList<TField*> fields;
    const TDataSet* dataSet = ListDataSet();
    if (!dataSet)
        return fields;
    const QString names = listField_.isEmpty() ? keyField_ : listField_;
    for (const QString& name : names.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        if (TField* field = dataSet->FindField(name.trimmed()))
            fields << field;
    return fields;
}

void TDBLookupListBox::SetKeyValue(const Variant& value)
{
    keyValue_ = value;
    TDataSet* dataSet = ListDataSet();
    if (dataSet && KeyFieldObject() && !value.IsEmptyOrNull() && !CurrentKeyEquals(value))
        dataSet->Locate(keyField_, value);
    viewport()->update();
}

void TDBLookupListBox::SetRowCount(int rows)
{
    rowCount_ = qMax(1, rows);
    link_->SetBufferCount(rowCount_);
    UpdateHeight();
    ListLinkChanged();
}

int TDBLookupListBox::RowHeight() const
{
    return fontMetrics().height() + 2;
}

int TDBLookupListBox::FrameWidth() const
{
    return frameWidth();
}

void TDBLookupListBox::UpdateHeight()
{
    setFixedHeight(rowCount_ * RowHeight() + 2 * frameWidth());
}

void TDBLookupListBox::FontChanged()
{
    TControl::FontChanged();
    UpdateHeight();
}

// --- Rows and selection -------------------------------------------------------

bool TDBLookupListBox::CurrentKeyEquals(const Variant& value) const
{
    const TField* key = KeyFieldObject();
    return key && !value.IsEmptyOrNull() && key->Value() == value;
}

int TDBLookupListBox::SelectedRow() const
{
    if (!KeyFieldObject() || keyValue_.IsEmptyOrNull())
        return -1;
    for (int row = 0; row < link_->RecordCount(); ++row) {
        const TActiveRecordScope scope(*link_, row);
        if (CurrentKeyEquals(keyValue_))
            return row;
    }
    return -1;
}

int TDBLookupListBox::RowAt(const QPoint& pos) const
{
    if (!viewport()->rect().contains(pos))
        return -1;
    const int row = pos.y() / RowHeight();
    return row < link_->RecordCount() ? row : -1;
}

void TDBLookupListBox::SelectCurrent()
{
    const TField* key = KeyFieldObject();
    if (!key)
        return;
    const Variant value = key->Value();
    const bool changed = !(value == keyValue_);
    keyValue_ = value;
    viewport()->update();
    if (changed)
        FireEvent(OnClick, this);
}

void TDBLookupListBox::MoveAndSelect(int distance)
{
    TDataSet* dataSet = ListDataSet();
    if (!dataSet)
        return;
    if (distance == INT_MIN)
        dataSet->First();
    else if (distance == INT_MAX)
        dataSet->Last();
    else if (distance != 0)
        dataSet->MoveBy(distance);
    SelectCurrent();
}

void TDBLookupListBox::SelectRow(int row)
{
    if (row < 0 || row >= link_->RecordCount())
        return;
    MoveAndSelect(row - link_->ActiveRecord());
}

void TDBLookupListBox::ListLinkChanged()
{
    UpdateScrollBar();
    viewport()->update();
}

void TDBLookupListBox::UpdateScrollBar()
{
    QScrollBar* bar = verticalScrollBar();
    const TDataSet* dataSet = ListDataSet();
    // The thumb shows the window's place where record numbers mean it.
    if (!dataSet || !dataSet->IsSequenced() || !dataSet->RecordCountKnown()) {
        bar->setRange(0, 0);
        return;
    }
    const int count = dataSet->RecordCount();
    const int top = qMax(0, dataSet->RecNo() - 1 - link_->ActiveRecord());
    bar->setRange(0, qMax(0, count - rowCount_));
    bar->setPageStep(rowCount_);
    bar->setValue(qMin(top, bar->maximum()));
}

void TDBLookupListBox::ScrollBarAction(int action)
{
    TDataSet* dataSet = ListDataSet();
    if (!dataSet)
        return;
    // Moving the cursor past the window's edge scrolls the window; the
    // selection is by key and stays.
    const int below = link_->RecordCount() - 1 - link_->ActiveRecord();
    const int above = link_->ActiveRecord();
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: dataSet->MoveBy(below + 1); break;
    case QAbstractSlider::SliderSingleStepSub: dataSet->MoveBy(-above - 1); break;
    case QAbstractSlider::SliderPageStepAdd: dataSet->MoveBy(below + rowCount_ - 1); break;
    case QAbstractSlider::SliderPageStepSub: dataSet->MoveBy(-above - rowCount_ + 1); break;
    case QAbstractSlider::SliderToMinimum: dataSet->First(); break;
    case QAbstractSlider::SliderToMaximum: dataSet->Last(); break;
    case QAbstractSlider::SliderMove: dataSet->SetRecNo(verticalScrollBar()->sliderPosition() + 1); break;
    default: break;
    }
    UpdateScrollBar();
}

// --- Painting -------------------------------------------------------------------

void TDBLookupListBox::DrawRow(TCanvas& canvas, const QRect& rect, bool)
{
    const QList<TField*> fields = ListFields();
    const int zeroWidth = canvas.TextWidth(QStringLiteral("0"));
    int left = rect.left();
    for (int i = 0; i < fields.size(); ++i) {
        const bool last = i == fields.size() - 1;
        const int right = last ? rect.right() + 1
                               : qMin(rect.right() + 1, left + fields[i]->DisplayWidth() * zeroWidth + kColumnPadding);
        const QRect cell(left, rect.top(), right - left, rect.height());
        canvas.TextRect(cell, cell.left() + 2, cell.top() + 1, fields[i]->DisplayText());
        if (!last) {
            canvas.Pen()->SetColor(clBtnFace);
            canvas.MoveTo(right - 1, rect.top());
            canvas.LineTo(right - 1, rect.bottom() + 1);
        }
        left = right;
        if (left > rect.right())
            break;
    }
    if (fields.isEmpty())
        canvas.FillRect(rect);
}

void TDBLookupListBox::paintEvent(QPaintEvent*)
{
    Guarded([this] {
        QPainter painter(viewport());
        TCanvas canvas(&painter);
        canvas.SetPalette(palette());
        const TColor back = Color() == clDefault ? clWindow : Color();
        const QRect client = viewport()->rect();
        const int height = RowHeight();
        const int selected = SelectedRow();
        int below = 0;
        for (int row = 0; row < link_->RecordCount(); ++row) {
            const QRect rect(0, row * height, client.width(), height);
            const TActiveRecordScope scope(*link_, row);
            canvas.Font()->Assign(Font());
            canvas.Brush()->SetColor(row == selected ? clHighlight : back);
            if (row == selected)
                canvas.Font()->SetColor(clHighlightText);
            DrawRow(canvas, rect, row == selected);
            below = rect.bottom() + 1;
        }
        if (below < client.height()) {
            canvas.Brush()->SetColor(back);
            canvas.FillRect(QRect(0, below, client.width(), client.height() - below));
        }
    });
}

// --- Keyboard and mouse ----------------------------------------------------------

void TDBLookupListBox::KeyDown(int key)
{
    const bool selected = SelectedRow() >= 0 || CurrentKeyEquals(keyValue_);
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Left: MoveAndSelect(selected ? -1 : 0); break;
    case Qt::Key_Down:
    case Qt::Key_Right: MoveAndSelect(selected ? 1 : 0); break;
    case Qt::Key_PageUp: MoveAndSelect(1 - rowCount_); break;
    case Qt::Key_PageDown: MoveAndSelect(rowCount_ - 1); break;
    case Qt::Key_Home: MoveAndSelect(INT_MIN); break;
    case Qt::Key_End: MoveAndSelect(INT_MAX); break;
    default: break;
    }
}

void TDBLookupListBox::KeyChar(QChar ch)
{
    if (ch == QChar(0x08) || ch == QChar(0x1B)) {
        search_.Clear();
        return;
    }
    const QList<TField*> fields = ListFields();
    TDataSet* dataSet = ListDataSet();
    if (!dataSet || fields.isEmpty() || !IsStringField(fields.first()))
        return;
    const std::optional<QString> text = search_.Extended(ch);
    if (!text)
        return;
    if (dataSet->Locate(fields.first()->FieldName(), Variant(*text), TLocateOptions(loCaseInsensitive | loPartialKey))) {
        search_.Accept(*text);
        SelectCurrent();
    }
}

void TDBLookupListBox::keyPressEvent(QKeyEvent* event)
{
    static const QList<int> navigation = {Qt::Key_Up,     Qt::Key_Down,     Qt::Key_Left, Qt::Key_Right,
                                          Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
    if (navigation.contains(event->key()) && !(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier))) {
        event->accept();
        Guarded([&] { KeyDown(event->key()); });
        return;
    }
    QChar ch;
    if (event->key() == Qt::Key_Backspace)
        ch = QChar(0x08);
    else if (event->key() == Qt::Key_Escape)
        ch = QChar(0x1B);
    else if (event->text().size() == 1 && TIncrementalSearch::IsSearchChar(event->text().front()))
        ch = event->text().front();
    if (ch.isNull()) {
        event->ignore();
        return;
    }
    event->accept();
    Guarded([&] { KeyChar(ch); });
}

void TDBLookupListBox::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    event->accept();
    Guarded([&] {
        search_.Clear();
        tracking_ = true;
        SelectRow(RowAt(viewport()->mapFrom(this, event->position().toPoint())));
    });
}

void TDBLookupListBox::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    if (tracking_ && (event->buttons() & Qt::LeftButton))
        Guarded([&] { SelectRow(RowAt(viewport()->mapFrom(this, event->position().toPoint()))); });
}

void TDBLookupListBox::mouseReleaseEvent(QMouseEvent* event)
{
    event->accept();
    if (event->button() == Qt::LeftButton)
        tracking_ = false;
}

void TDBLookupListBox::wheelEvent(QWheelEvent* event)
{
    event->accept();
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0)
        return;
    const int rows = wheelRows_ > 0 ? wheelRows_ : WheelScrollLines();
    // A notch away from the user goes up the list.
    Guarded([&] { MoveAndSelect(-notches * rows); });
}

void TDBLookupListBox::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    viewport()->update();
}

}  // namespace tk
