#include "kelgrid/designer/widgetcollection.h"

#include "kelgrid/controls/keldbctrls.h"
#include "kelgrid/controls/keldblists.h"
#include "kelgrid/designer/widgeticons.h"
#include "kelgrid/designer/widgetplugin.h"
#include "kelgrid/grid/keldbgrids.h"

namespace kelgrid::designer {

namespace {

TWidgetDescription GridDescription()
{
    return {QStringLiteral("kelgrid::TKelDBGrid"),
            QStringLiteral("kelgrid/grid/keldbgrids.h"),
            QStringLiteral("Data-aware grid"),
            QStringLiteral("Shows and edits the records of a dataset's data source, with nested column titles, "
                           "totals, sorting by title clicks, multi-selection and in-place editors."),
            QStringLiteral("kelDBGrid"),
            QSize(320, 200),
            GridIcon(),
            [](QWidget* parent) -> QWidget* { return new TKelDBGrid(parent); }};
}

TWidgetDescription NavigatorDescription()
{
    return {QStringLiteral("kelgrid::TKelDBNavigator"),
            QStringLiteral("kelgrid/controls/keldbctrls.h"),
            QStringLiteral("Record navigator"),
            QStringLiteral("Buttons that move through, insert, delete, edit, post and cancel the records of a "
                           "data source, with captions and a gradient."),
            QStringLiteral("kelDBNavigator"),
            QSize(240, 25),
            NavigatorIcon(),
            [](QWidget* parent) -> QWidget* { return new TKelDBNavigator(parent); }};
}

TWidgetDescription ColumnsDialogDescription()
{
    return {QStringLiteral("kelgrid::TKelDBColumnsDialogHolder"),
            QStringLiteral("kelgrid/controls/keldblists.h"),
            QStringLiteral("Columns dialog"),
            QStringLiteral("Holds the dialog in which the user chooses and orders the visible columns of a grid. "
                           "Hidden at run time; set its grid in code with Dialog()->SetDBGrid() and open it "
                           "with Dialog()->Execute()."),
            QStringLiteral("kelDBColumnsDialog"),
            QSize(28, 28),
            ColumnsDialogIcon(),
            [](QWidget* parent) -> QWidget* {
                auto* holder = new TKelDBColumnsDialogHolder(parent);
                // The holder hides itself for running forms; on Designer's
                // form it stands for the dialog.
                if (parent != nullptr)
                    holder->setVisible(true);
                return holder;
            }};
}

}  // namespace

TWidgetCollection::TWidgetCollection(QObject* parent) : QObject(parent)
{
    for (TWidgetDescription description : {GridDescription(), NavigatorDescription(), ColumnsDialogDescription()})
        widgets_.append(new TWidgetPlugin(std::move(description), this));
}

}  // namespace kelgrid::designer
