#include "host/kelgrid_demo_screenshots.h"

#include "host/demo_orders.h"
#include "host/kelgrid_demo.h"
#include "kelgrid/controls/columnsform.h"
#include "kelgrid/controls/keldbctrls.h"
#include "kelgrid/controls/keldblists.h"
#include "kelgrid/editors/editorpopup.h"
#include "kelgrid/editors/inplaceeditlist.h"
#include "kelgrid/grid/keldbgrids.h"
#include "kelgrid/grid/tuning.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScopedValueRollback>
#include <QTimer>

namespace host {

namespace {

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// The window with a top-level popup drawn where it shows on the screen.
QImage WindowWithPopup(QWidget* window, QWidget* popup)
{
    QImage image = window->grab().toImage();
    if (popup && popup->isVisible()) {
        QPainter painter(&image);
        painter.drawPixmap(popup->mapToGlobal(QPoint()) - window->mapToGlobal(QPoint()), popup->grab());
    }
    return image;
}

// Sends a key press and its release to a widget.
void PressKey(QWidget* widget, int key, Qt::KeyboardModifiers modifiers = {})
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(widget, &release);
}

// Opens the editor on the first order's cell of a column with F2 and the
// popup of its button with Alt+Down; the popup, or nullptr when the column
// opens none.
QWidget* OpenEditorPopup(kelgrid::TKelDBGrid* grid, const QString& field)
{
    kelgrid::TKelColumn* column = grid->ColumnByName(field);
    if (!column)
        return nullptr;
    grid->DataSource()->DataSet()->First();
    grid->setFocus();
    grid->SetSelectedIndex(column->Index());
    PressKey(grid, Qt::Key_F2);
    auto* editor = qobject_cast<kelgrid::TKelInplaceEditList*>(grid->InplaceEditor());
    if (!editor || !grid->EditorMode())
        return nullptr;
    PressKey(editor, Qt::Key_Down, Qt::AltModifier);
    Settle();
    return editor->PopupVisible() && editor->ActiveList() ? editor->ActiveList()->Widget() : nullptr;
}

// Esc closes the popup without a choice, a second Esc the editor.
void CloseEditor(kelgrid::TKelDBGrid* grid)
{
    if (QWidget* editor = grid->InplaceEditor()) {
        PressKey(editor, Qt::Key_Escape);
        PressKey(editor, Qt::Key_Escape);
    }
    Settle();
}

// The columns dialog's form as it opens on the grid; closed unchanged.
QImage ColumnsDialogPicture(TfrmKelgridDemo& window)
{
    QImage image;
    QTimer::singleShot(0, &window, [&window, &image] {
        if (kelgrid::TKelDBColumnsForm* form = window.ColumnsDialog()->Form()) {
            Settle();
            image = form->grab().toImage();
            form->SetModalResult(tk::mrCancel);
        }
    });
    window.ColumnsDialog()->Execute();
    return image;
}

}  // namespace

bool RenderKelgridScreenshots(const QString& settingsFile, const QString& folder, QStringList& written,
                              QString& failed, qint64* buildMs)
{
    // Popups show at their full height at once, not growing row by row.
    const QScopedValueRollback noAnimation(kelgrid::ListDropDownDelay, 0);
    TfrmKelgridDemo window(settingsFile);
    if (buildMs)
        *buildMs = window.Orders().OrdersBuildMs();
    window.show();
    window.activateWindow();
    Settle();

    const auto save = [&](const QImage& image, const char* name) {
        const QString file = folder + QLatin1String(name);
        if (image.isNull() || !image.save(file)) {
            failed = file;
            return false;
        }
        written << file;
        return true;
    };
    if (!save(window.grab().toImage(), "kelgrid-demo.png"))
        return false;

    kelgrid::TKelDBGrid* grid = window.Grid();
    QWidget* lookup = OpenEditorPopup(grid, QStringLiteral("CustomerNo"));
    const QImage lookupPicture = WindowWithPopup(&window, lookup);
    CloseEditor(grid);
    if (!save(lookup ? lookupPicture : QImage(), "kelgrid-lookup.png"))
        return false;

    QWidget* calendar = OpenEditorPopup(grid, QStringLiteral("OrderDate"));
    const QImage calendarPicture = WindowWithPopup(&window, calendar);
    CloseEditor(grid);
    if (!save(calendar ? calendarPicture : QImage(), "kelgrid-calendar.png"))
        return false;

    if (!save(ColumnsDialogPicture(window), "kelgrid-columns.png"))
        return false;
    return save(window.Navigator()->grab().toImage(), "kelgrid-navigator.png");
}

}  // namespace host
