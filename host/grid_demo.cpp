#include "host/grid_demo.h"

#include "toolkit/ui/grids/inplaceedit.h"
#include "toolkit/ui/grids/stringgrid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

namespace host {

namespace {

struct Flat {
    const char* flat;
    const char* owner;
    double fee;
    double due;
};

const Flat flats[] = {
    {"1º A", "María López Vidal", 62.40, 0.00},     {"1º B", "José Ruiz Campos", 62.40, 124.80},
    {"2º A", "Ana Belén Torres", 58.10, 0.00},      {"2º B", "Luis García Sanz", 58.10, 58.10},
    {"3º A", "Carmen Núñez Roca", 58.10, 0.00},     {"3º B", "Pedro Martín Gil", 58.10, 0.00},
    {"4º A", "Lucía Fernández Ortiz", 71.25, 0.00}, {"4º B", "Antonio Pérez Lara", 71.25, 213.75},
    {"Ático", "Elena Castro Prieto", 96.00, 0.00},  {"Local 1", "Ferretería Hnos. Díaz", 120.00, 0.00},
    {"Local 2", "Café El Portal", 120.00, 240.00},  {"Garaje", "Comunidad", 0.00, 0.00},
};

QString Money(double value)
{
    return QLocale(QLocale::Spanish).toString(value, 'f', 2);
}

}  // namespace

TfrmRejilla::TfrmRejilla(QWidget* parent) : tk::TForm(parent)
{
    setObjectName(QStringLiteral("frmRejilla"));
    SetCaption(QStringLiteral("Cuotas de la comunidad"));
    auto* layout = new QVBoxLayout(this);
    grid_ = new tk::TStringGrid(this);
    grid_->SetName(QStringLiteral("grdCuotas"));
    grid_->SetColCount(5);
    grid_->SetRowCount(int(std::size(flats)) + 1);
    grid_->SetOptions(grid_->Options() | tk::goEditing | tk::goColSizing | tk::goColMoving | tk::goTabs);
    grid_->SetColWidths(0, 24);
    grid_->SetColWidths(1, 70);
    grid_->SetColWidths(2, 190);
    const QStringList titles = {QString(), QStringLiteral("Piso"), QStringLiteral("Propietario"),
                                QStringLiteral("Cuota"), QStringLiteral("Pendiente")};
    for (int col = 0; col < titles.size(); ++col)
        grid_->SetCells(col, 0, titles[col]);
    for (int i = 0; i < int(std::size(flats)); ++i) {
        grid_->SetCells(0, i + 1, QString::number(i + 1));
        grid_->SetCells(1, i + 1, QString::fromUtf8(flats[i].flat));
        grid_->SetCells(2, i + 1, QString::fromUtf8(flats[i].owner));
        grid_->SetCells(3, i + 1, Money(flats[i].fee));
        grid_->SetCells(4, i + 1, Money(flats[i].due));
    }
    grid_->OnSetEditText = [this](QObject*, int, int, const QString&) { ShowTotal(); };
    grid_->OnColumnMoved = [this](QObject*, int, int) { ShowTotal(); };
    layout->addWidget(grid_);
    lblTotal_ = new QLabel(this);
    lblTotal_->setObjectName(QStringLiteral("lblTotal"));
    layout->addWidget(lblTotal_);
    resize(560, 360);
    ShowTotal();
}

// The sum of the column titled "Pendiente", wherever the user moved it.
void TfrmRejilla::ShowTotal()
{
    const QLocale spanish(QLocale::Spanish);
    for (int col = 0; col < grid_->ColCount(); ++col) {
        if (grid_->Cells(col, 0) != QStringLiteral("Pendiente"))
            continue;
        double total = 0;
        for (int row = 1; row < grid_->RowCount(); ++row)
            total += spanish.toDouble(grid_->Cells(col, row));
        lblTotal_->setText(QStringLiteral("Total pendiente: %1 €").arg(Money(total)));
    }
}

bool RenderGridDemo(const QString& folder, QString& written)
{
    TfrmRejilla window;
    window.show();
    QApplication::setActiveWindow(&window);
    tk::TStringGrid* grid = window.Grid();
    grid->setFocus();
    QApplication::processEvents();
    // Row 2's due amount, edited as a user types it, then the next cell.
    grid->MoveColRow(4, 2, true, true);
    QKeyEvent f2(QEvent::KeyPress, Qt::Key_F2, Qt::NoModifier);
    QApplication::sendEvent(grid, &f2);
    if (tk::TInplaceEdit* editor = grid->InplaceEditor()) {
        editor->SelectAll();
        for (QChar c : QStringLiteral("0,00")) {
            QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(editor, &key);
        }
    }
    QApplication::processEvents();
    written = folder + QStringLiteral("grid-demo.png");
    return window.grab().save(written);
}

}  // namespace host
