#include "kelgrid/controls/columnsdialog.h"

#include "kelgrid/controls/columnsform.h"
#include "kelgrid/grid/columns.h"
#include "kelgrid/grid/dbgrid.h"
#include "toolkit/core/application.h"
#include "toolkit/ui/stdctrls.h"

#include <QEvent>
#include <QScopeGuard>
#include <QTimer>
#include <algorithm>

namespace kelgrid {

namespace {

constexpr int kLeastCount = 4;

// The grid's editor mode is published, not public: set it as a form does.
void SetGridEditorMode(TKelDBGrid& grid, bool on)
{
    [[maybe_unused]] const bool written = grid.setProperty("EditorMode", on);
    Q_ASSERT(written);
}

// The editor shows only in a focused grid, and the focus comes back to the
// grid's window from the event loop once the form is gone. Until then this
// one-shot watcher waits for the grid's next focus-in.
class EditorModeRestorer : public QObject {
public:
    explicit EditorModeRestorer(TKelDBGrid* grid) : QObject(grid), grid_(grid)
    {
        grid->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == grid_ && event->type() == QEvent::FocusIn) {
            grid_->removeEventFilter(this);
            // After the focus change is complete, as the grid's own
            // focus handling runs after this filter.
            QTimer::singleShot(0, grid_, [grid = grid_] {
                try {
                    if (grid->AcquireFocus())
                        SetGridEditorMode(*grid, true);
                } catch (...) {
                    tk::Application().HandleException(std::current_exception());
                }
            });
            deleteLater();
        }
        return false;
    }

private:
    TKelDBGrid* grid_;
};

void RestoreEditorMode(TKelDBGrid* grid)
{
    if (grid->AcquireFocus()) {
        SetGridEditorMode(*grid, true);
        return;
    }
    new EditorModeRestorer(grid);
    if (grid->isVisible() && !grid->isActiveWindow())
        grid->activateWindow();
}

}  // namespace

TKelDBColumnsDialog::TKelDBColumnsDialog(QObject* owner)
    : tk::TComponent(owner), buttonsTitles_(DefaultButtonsTitles()), columnsTitle_(DefaultColumnsTitle()),
      title_(DefaultTitle())
{
}

TKelDBColumnsDialog::~TKelDBColumnsDialog()
{
    SetDBGrid(nullptr);
}

QString TKelDBColumnsDialog::DefaultButtonsTitles()
{
    return QStringLiteral("OK;Cancel;&Apply;&Help");
}

QString TKelDBColumnsDialog::DefaultColumnsTitle()
{
    return QStringLiteral(" &Visible Columns ");
}

QString TKelDBColumnsDialog::DefaultTitle()
{
    return QStringLiteral("Show Columns");
}

void TKelDBColumnsDialog::SetButtonsTitles(const QString& titles)
{
    buttonsTitles_ = titles.isEmpty() ? DefaultButtonsTitles() : titles;
}

void TKelDBColumnsDialog::SetColumnsTitle(const QString& title)
{
    columnsTitle_ = title.isEmpty() ? DefaultColumnsTitle() : title;
}

void TKelDBColumnsDialog::SetTitle(const QString& title)
{
    title_ = title.isEmpty() ? DefaultTitle() : title;
}

void TKelDBColumnsDialog::SetDBGrid(TKelDBGrid* grid)
{
    if (grid == grid_)
        return;
    if (grid_)
        grid_->RemoveFreeNotification(this);
    grid_ = grid;
    if (grid_)
        grid_->FreeNotification(static_cast<tk::TComponentCore*>(this));
}

void TKelDBColumnsDialog::Notification(tk::TComponentCore* component, tk::TOperation operation)
{
    tk::TComponent::Notification(component, operation);
    if (operation == tk::TOperation::opRemove && grid_ &&
        component == static_cast<tk::TComponentCore*>(grid_.data()))
        grid_ = nullptr;
}

void TKelDBColumnsDialog::SetDefaultCount(int count)
{
    defaultCount_ = std::max(count, minimumCount_);
}

void TKelDBColumnsDialog::SetMinimumCount(int count)
{
    minimumCount_ = std::clamp(count, kLeastCount, std::max(kLeastCount, defaultCount_));
}

void TKelDBColumnsDialog::SetDefaultWidth(int width)
{
    defaultWidth_ = width <= 0 ? 0 : std::max(width, minimumWidth_);
}

void TKelDBColumnsDialog::SetMinimumWidth(int width)
{
    minimumWidth_ = std::max(0, width);
    if (defaultWidth_ > 0)
        minimumWidth_ = std::min(minimumWidth_, defaultWidth_);
}

void TKelDBColumnsDialog::SetOptions(TKelDBColumnsOptions options)
{
    if (options & coAllowMoving)
        options |= coShowEmptyCols;
    if (options & coAutoUpdate)
        options &= ~TKelDBColumnsOptions(coCancelButton | coApplyButton);
    options_ = options;
}

void TKelDBColumnsDialog::SetUpForm(TKelDBColumnsForm& form)
{
    form.SetCaption(title_);
    form.SetDBGrid(grid_);
    form.SetOptions(options_);
    form.SetHelpContext(helpContext_);
    form.ColumnsGroup()->SetCaption(columnsTitle_);
    form.ColumnsList()->SetBorderStyle(borderStyle_);
    const QStringList titles = buttonsTitles_.split(QLatin1Char(';'));
    const QStringList defaults = DefaultButtonsTitles().split(QLatin1Char(';'));
    const QList<tk::TButton*> buttons{form.OkButton(), form.CancelButton(), form.ApplyButton(),
                                      form.HelpButton()};
    Q_ASSERT(defaults.size() == buttons.size());
    for (int i = 0; i < buttons.size(); ++i)
        buttons[i]->SetCaption(i < titles.size() && !titles[i].isEmpty() ? titles[i] : defaults[i]);
    form.SetMinimumCount(minimumCount_);
    form.SetDefaultCount(defaultCount_);
    form.SetMinimumWidth(minimumWidth_);
    form.SetDefaultWidth(defaultWidth_);
}

bool TKelDBColumnsDialog::Execute()
{
    Q_ASSERT(!form_);
    TKelDBColumnsForm form;
    SetUpForm(form);
    form.OnApply = [this](QObject*) { DoApply(); };
    const tk::TNotifyEvent formClose = form.OnClose;
    const tk::TNotifyEvent formShow = form.OnShow;
    form.OnClose = [this, formClose](QObject* sender) {
        DoClose();
        if (formClose)
            formClose(sender);
    };
    form.OnShow = [this, formShow](QObject* sender) {
        DoShow();
        if (formShow)
            formShow(sender);
    };

    // The selected column by identity: the dialog may reorder the columns.
    QPointer<TKelColumn> selected;
    bool selectedShowing = false;
    bool editing = false;
    if (grid_) {
        selected = grid_->SelectedColumn();
        selectedShowing = selected && selected->Showing();
        editing = grid_->EditorMode();
        if (editing)
            SetGridEditorMode(*grid_, false);
    }
    form_ = &form;
    const auto restore = qScopeGuard([&] {
        form.OnClose = formClose;
        form.OnShow = formShow;
        form.OnApply = nullptr;
        form_ = nullptr;
    });

    DoCreate();
    AdjustColumnsForm(&form);
    const bool ok = form.Execute();

    if (grid_ && selectedShowing && selected && !selected->Showing())
        SelectFirstShowingColumn();
    if (grid_ && editing)
        RestoreEditorMode(grid_);
    return ok;
}

void TKelDBColumnsDialog::SelectFirstShowingColumn()
{
    const TKelDBGridColumns* columns = grid_->Columns();
    for (int i = grid_->FixedCols(); i < columns->Count(); ++i) {
        if (columns->Items(i)->Showing()) {
            grid_->SetSelectedColumn(columns->Items(i));
            return;
        }
    }
}

void TKelDBColumnsDialog::DoApply()
{
    if (OnApply)
        OnApply(this);
}

void TKelDBColumnsDialog::DoClose()
{
    if (OnClose)
        OnClose(this);
}

void TKelDBColumnsDialog::DoCreate()
{
    if (OnCreate)
        OnCreate(this);
}

void TKelDBColumnsDialog::DoShow()
{
    if (OnShow)
        OnShow(this);
}

void TKelDBColumnsDialog::AdjustColumnsForm(TKelDBColumnsForm*) {}

}  // namespace kelgrid
