#include "kelgrid/controls/columnsform.h"

#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "toolkit/core/application.h"
#include "toolkit/ui/stdctrls.h"

#include <QKeyEvent>
#include <QScopeGuard>
#include <algorithm>

namespace kelgrid {

QString IndentChars = QStringLiteral("\u00BB   ");
QString HeaderBreak = QStringLiteral(" \u00BB ");
QString LineBreak = QStringLiteral("\u00A0");

namespace {

constexpr int kClientWidth = 331;
constexpr int kClientHeight = 247;
constexpr int kMargin = 8;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonSlot = 80;
constexpr int kButtonSlots = 4;
constexpr int kPanelHeight = 41;

// The list text of a column: indented by its depth, header before caption
// with coShowHeaders, line breaks flattened.
QString ColumnItemText(const TKelColumn& column, TKelDBColumnsOptions options)
{
    QString text = column.Title()->Caption();
    const QString header = column.Title()->Header();
    if ((options & coShowHeaders) && !header.isEmpty())
        text = header + HeaderBreak + text;
    text.replace(QStringLiteral("\r\n"), LineBreak);
    text.replace(QLatin1Char('\r'), LineBreak);
    text.replace(QLatin1Char('\n'), LineBreak);
    return IndentChars.repeated(column.Depth()) + text;
}

}  // namespace

TKelColumnsListBox::TKelColumnsListBox(QWidget* parent) : tk::TCheckListBox(parent) {}

void TKelColumnsListBox::keyPressEvent(QKeyEvent* event)
{
    const bool shifted = event->modifiers() == Qt::ShiftModifier;
    const bool vertical = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    if (!MoveKeysEnabled || !shifted || !vertical) {
        tk::TCheckListBox::keyPressEvent(event);
        return;
    }
    event->accept();
    try {
        if (OnMoveKey)
            OnMoveKey(event->key() == Qt::Key_Up ? -1 : 1);
    } catch (...) {
        tk::Application().HandleException(std::current_exception());
    }
}

TKelDBColumnsForm::TKelDBColumnsForm(QWidget* parent) : tk::TForm(parent)
{
    SetBorderStyle(tk::TFormBorderStyle::bsSizeable);
    SetPosition(tk::poScreenCenter);
    SetCaption(QStringLiteral("Show Columns"));
    BuildControls();
    Resize(kClientWidth, kClientHeight);
}

TKelDBColumnsForm::~TKelDBColumnsForm() = default;

void TKelDBColumnsForm::BuildControls()
{
    group_ = new tk::TGroupBox(this);
    group_->SetCaption(QStringLiteral(" &Visible Columns "));
    list_ = new TKelColumnsListBox(group_);
    list_->OnClickCheck = [this](QObject*) { Guarded([this] { ItemChecked(); }); };
    list_->OnMoveKey = [this](int step) { MoveBySteps(step); };
    list_->OnDragOver = [this](QObject*, QObject* source, int x, int y, tk::TDragState, bool& accept) {
        accept = false;
        if (source == list_)
            Guarded([&] { ListDragOver(x, y, accept); });
    };
    list_->OnDragDrop = [this](QObject*, QObject* source, int x, int y) {
        if (source == list_)
            Guarded([&] { ListDragDrop(x, y); });
    };

    panel_ = new QWidget(this);
    buttonRow_ = new QWidget(this);
    buttonRow_->resize(kButtonSlots * kButtonSlot - (kButtonSlot - kButtonWidth), kButtonHeight);
    const auto makeButton = [this](const QString& caption, int slot) {
        auto* button = new tk::TButton(buttonRow_);
        button->SetCaption(caption);
        button->setGeometry(slot * kButtonSlot, 0, kButtonWidth, kButtonHeight);
        return button;
    };
    ok_ = makeButton(QStringLiteral("OK"), 0);
    ok_->SetDefault(true);
    ok_->SetModalResult(tk::mrOk);
    cancel_ = makeButton(QStringLiteral("Cancel"), 1);
    cancel_->SetCancel(true);
    cancel_->SetModalResult(tk::mrCancel);
    apply_ = makeButton(QStringLiteral("&Apply"), 2);
    apply_->OnClick = [this](QObject*) { ApplySettings(); };
    help_ = makeButton(QStringLiteral("&Help"), 3);
    help_->OnClick = [this](QObject*) { ShowHelpTopic(); };
    SetActiveControl(list_);
}

void TKelDBColumnsForm::resizeEvent(QResizeEvent* event)
{
    tk::TForm::resizeEvent(event);
    LayOutControls();
}

void TKelDBColumnsForm::Resize(int clientWidth, int clientHeight)
{
    SetClientSize(clientWidth, clientHeight);
    LayOutControls();
}

void TKelDBColumnsForm::LayOutControls()
{
    const int w = width();
    const int h = height();
    const int buttonsTop = h - kMargin - kButtonHeight;
    buttonRow_->move(w - kMargin - buttonRow_->width(), buttonsTop);
    int groupBottom = buttonsTop - kMargin;
    if (!panel_->isHidden()) {
        panel_->setGeometry(kMargin, groupBottom - kPanelHeight, w - 2 * kMargin, kPanelHeight);
        groupBottom -= kPanelHeight + kMargin;
    }
    group_->setGeometry(kMargin, kMargin, w - 2 * kMargin, std::max(0, groupBottom - kMargin));
    const int titleSpace = group_->fontMetrics().height() + 4;
    list_->setGeometry(kMargin, titleSpace, std::max(0, group_->width() - 2 * kMargin),
                       std::max(0, group_->height() - titleSpace - kMargin));
}

void TKelDBColumnsForm::ArrangeButtons()
{
    if (options_ & coAutoUpdate)
        options_ &= ~TKelDBColumnsOptions(coCancelButton | coApplyButton);
    // The buttons keep to the right edge: each hidden one on the right
    // shifts the others right by a slot and the form narrows by a slot.
    QList<tk::TButton*> shown{ok_};
    if (options_ & coCancelButton)
        shown << cancel_;
    else
        ok_->SetCancel(true);
    int narrowed = 0;
    for (auto [button, option] : {std::pair{apply_, coApplyButton}, std::pair{help_, coHelpButton}}) {
        if (options_ & option)
            shown << button;
        else
            narrowed += kButtonSlot;
    }
    for (tk::TButton* button : {ok_, cancel_, apply_, help_})
        button->setVisible(shown.contains(button));
    for (int i = 0; i < shown.size(); ++i)
        shown[i]->move(i * kButtonSlot, 0);
    buttonRow_->resize(static_cast<int>(shown.size()) * kButtonSlot - (kButtonSlot - kButtonWidth),
                       kButtonHeight);
    if (narrowed > 0)
        Resize(width() - narrowed, height());
}

int TKelDBColumnsForm::ListHeightFor(int rows) const
{
    return rows * list_->ItemHeight() + 2 * list_->frameWidth();
}

void TKelDBColumnsForm::UpdateSizeLimits()
{
    const int rest = height() - list_->height();
    const int maxRows = std::max(minimumCount_, list_->Items()->Count());
    tk::TSizeConstraints limits;
    limits.SetMinWidth(std::max(buttonRow_->width() + 2 * kMargin, minimumWidth_));
    limits.SetMinHeight(rest + ListHeightFor(minimumCount_));
    limits.SetMaxHeight(rest + ListHeightFor(maxRows));
    SetConstraints(&limits);
}

bool TKelDBColumnsForm::Execute()
{
    ArrangeButtons();
    const bool moving = options_.testFlag(coAllowMoving);
    list_->SetDragMode(moving ? tk::dmAutomatic : tk::dmManual);
    list_->MoveKeysEnabled = moving;
    if (panel_->children().isEmpty()) {
        panel_->hide();
        Resize(width(), height() - kPanelHeight - kMargin);
    }
    if (defaultWidth_ > 0)
        Resize(defaultWidth_, height());
    LoadSettings();
    const int result = ShowModal();
    // Every way of closing ends here, so OnClose fires once per showing.
    if (OnClose)
        OnClose(this);
    const bool autoUpdate = options_.testFlag(coAutoUpdate);
    if (result == tk::mrOk && !autoUpdate)
        ApplySettings();
    return autoUpdate || result == tk::mrOk;
}

TKelColumn* TKelDBColumnsForm::ItemColumn(int index) const
{
    if (!grid_ || index < 0 || index >= list_->Items()->Count())
        return nullptr;
    const QVariant id = list_->Items()->Objects(index);
    return static_cast<TKelColumn*>(grid_->Columns()->FindItemID(id.toInt()));
}

bool TKelDBColumnsForm::IsFixed(const TKelColumn* column) const
{
    return grid_ && column->Index() < grid_->FixedCols();
}

void TKelDBColumnsForm::LoadSettings()
{
    tk::TStrings* items = list_->Items();
    items->Clear();
    if (grid_) {
        TKelDBGridColumns* columns = grid_->Columns();
        const int first = (options_ & coShowFixedCols) ? 0 : std::min(grid_->FixedCols(), columns->Count());
        for (int i = first; i < columns->Count(); ++i) {
            const TKelColumn* column = columns->Items(i);
            if (!column->Field() && !(options_ & coShowEmptyCols))
                continue;
            if (!(options_ & coAllowMoving) && !(column->DialogOptions() & doShowColumn))
                continue;
            const int index = items->AddObject(ColumnItemText(*column, options_), column->ID());
            if (options_ & coMarkVisibleCols) {
                list_->SetChecked(index, column->Visibility());
                list_->SetItemEnabled(index, column->DialogOptions().testFlag(doItemEnabled));
            }
        }
    }
    list_->SetItemIndex(items->Count() > 0 ? 0 : -1);
    // The rows to show first, within what resizing allows.
    const int maxRows = std::max(minimumCount_, items->Count());
    const int rows = std::clamp(std::min(defaultCount_, items->Count()), minimumCount_, maxRows);
    const int rest = height() - list_->height();
    UpdateSizeLimits();
    Resize(width(), rest + ListHeightFor(rows));
}

void TKelDBColumnsForm::SaveSettings()
{
    if (!grid_)
        return;
    // Find every listed column first: the grid may have lost or rebuilt
    // columns while the form was open, and nothing is changed until all
    // that remain are known.
    struct Entry {
        TKelColumn* column;
        bool checked;
    };
    QList<Entry> entries;
    for (int i = 0; i < list_->Items()->Count(); ++i)
        if (TKelColumn* column = ItemColumn(i))
            entries << Entry{column, list_->Checked(i)};

    grid_->BeginLayout();
    const auto endLayout = qScopeGuard([this] { grid_->EndLayout(); });
    if (options_ & coMarkVisibleCols)
        for (const Entry& entry : entries)
            if (entry.column->Visibility() != entry.checked)
                entry.column->SetVisible(entry.checked);
    if (options_ & coAllowMoving) {
        // Every column before next has its place; the one placed now sits
        // at next or after, so it only ever moves towards the front.
        int next = grid_->FixedCols();
        for (const Entry& entry : entries) {
            if (IsFixed(entry.column))
                continue;
            if (entry.column->Index() != next)
                entry.column->SetIndex(next);
            ++next;
        }
    }
}

void TKelDBColumnsForm::ApplySettings()
{
    SaveSettings();
    if (OnApply)
        OnApply(this);
}

void TKelDBColumnsForm::MoveItem(int from, int to)
{
    tk::TStrings* items = list_->Items();
    const int count = items->Count();
    if (from < 0 || from >= count || to < 0 || to >= count || from == to)
        return;
    const TKelColumn* column = ItemColumn(from);
    const int block = column ? column->ExpandIndex() - column->Index() + 1 : 1;
    int landed = to;
    if (to > from) {
        // Past the whole block of the target, as the moved block goes after it.
        if (const TKelColumn* target = ItemColumn(to))
            to = std::min(count - 1, to + target->ExpandIndex() - target->Index());
        for (int i = 0; i < block; ++i)
            items->Move(from, to);
        landed = to - (block - 1);
    } else {
        for (int i = 0; i < block && from + i < count; ++i)
            items->Move(from + i, to + i);
    }
    list_->SetItemIndex(landed);
    if (options_ & coAutoUpdate)
        ApplySettings();
}

bool TKelDBColumnsForm::AreSiblings(int a, int b) const
{
    const TKelColumn* first = ItemColumn(a);
    const TKelColumn* second = ItemColumn(b);
    return first && second && !IsFixed(first) && !IsFixed(second) &&
           first->ParentColumn() == second->ParentColumn();
}

void TKelDBColumnsForm::MoveBySteps(int step)
{
    Q_ASSERT(step == -1 || step == 1);
    const int from = list_->ItemIndex();
    const TKelColumn* column = ItemColumn(from);
    if (!column || IsFixed(column))
        return;
    for (int to = from + step; to >= 0 && to < list_->Items()->Count(); to += step) {
        const TKelColumn* other = ItemColumn(to);
        if (!other)
            continue;
        if (IsFixed(other))
            return;
        if (other->ParentColumn() == column->ParentColumn()) {
            MoveItem(from, to);
            return;
        }
    }
}

void TKelDBColumnsForm::ListDragOver(int x, int y, bool& accept)
{
    const int target = list_->ItemAtPos(QPoint(x, y), true);
    const int dragged = list_->ItemIndex();
    accept = target >= 0 && target != dragged && AreSiblings(dragged, target);
}

void TKelDBColumnsForm::ListDragDrop(int x, int y)
{
    const int target = list_->ItemAtPos(QPoint(x, y), true);
    const int dragged = list_->ItemIndex();
    if (target >= 0 && target != dragged && AreSiblings(dragged, target))
        MoveItem(dragged, target);
}

void TKelDBColumnsForm::ItemChecked()
{
    if (options_ & coAutoUpdate)
        ApplySettings();
}

void TKelDBColumnsForm::ShowHelpTopic()
{
    if (HelpContext() != 0)
        tk::Application().HelpContext(HelpContext());
}

void TKelDBColumnsForm::Guarded(const std::function<void()>& action)
{
    try {
        action();
    } catch (...) {
        tk::Application().HandleException(std::current_exception());
    }
}

}  // namespace kelgrid
