#include "host/dbgrid_demo.h"

#include "kelgrid/grid/keldbgrids.h"
#include "toolkit/data/clientdataset.h"
#include "toolkit/data/datasource.h"
#include "toolkit/data/field.h"
#include "toolkit/data/recordsource.h"

#include <QApplication>
#include <QVBoxLayout>

namespace host {

namespace {

struct Receipt {
    int number;
    const char* flat;
    const char* owner;
    const char* month;
    double amount;
    bool paid;
};

const Receipt receipts[] = {
    {1001, "1º A", "María López Vidal", "Octubre", 62.40, true},
    {1002, "1º B", "José Ruiz Campos", "Octubre", 62.40, false},
    {1003, "2º A", "Ana Belén Torres", "Octubre", 58.10, true},
    {1004, "2º B", "Luis García Sanz", "Octubre", 58.10, false},
    {1005, "3º A", "Carmen Núñez Roca", "Noviembre", 58.10, true},
    {1006, "4º B", "Antonio Pérez Lara", "Noviembre", 71.25, false},
    {1007, "Ático", "Elena Castro Prieto", "Noviembre", 96.00, true},
    {1008, "Local 2", "Café El Portal", "Noviembre", 120.00, false},
};

tk::TFieldDef Def(const char* name, tk::TFieldType type, int size = 0)
{
    tk::TFieldDef def;
    def.Name = QString::fromLatin1(name);
    def.DataType = type;
    def.Size = size;
    return def;
}

}  // namespace

TfrmRecibos::TfrmRecibos(QWidget* parent)
    : tk::TForm(parent),
      receipts_(std::make_unique<tk::TClientDataSet>()),
      source_(std::make_unique<tk::TDataSource>())
{
    setObjectName(QStringLiteral("frmRecibos"));
    SetCaption(QStringLiteral("Recibos de la comunidad"));
    receipts_->FieldDefs() = {Def("Recibo", tk::ftInteger), Def("Piso", tk::ftString, 10),
                              Def("Propietario", tk::ftString, 40), Def("Mes", tk::ftString, 12),
                              Def("Importe", tk::ftFloat), Def("Pagado", tk::ftBoolean)};
    receipts_->CreateDataSet();
    receipts_->FieldByName(QStringLiteral("Importe"))->setProperty("DisplayFormat", QStringLiteral("#,##0.00 €"));
    for (const Receipt& r : receipts) {
        receipts_->Append();
        receipts_->FieldByName(QStringLiteral("Recibo"))->SetAsInteger(r.number);
        receipts_->FieldByName(QStringLiteral("Piso"))->SetAsString(QString::fromUtf8(r.flat));
        receipts_->FieldByName(QStringLiteral("Propietario"))->SetAsString(QString::fromUtf8(r.owner));
        receipts_->FieldByName(QStringLiteral("Mes"))->SetAsString(QString::fromUtf8(r.month));
        receipts_->FieldByName(QStringLiteral("Importe"))->SetAsFloat(r.amount);
        receipts_->FieldByName(QStringLiteral("Pagado"))->SetAsBoolean(r.paid);
        receipts_->Post();
    }
    receipts_->First();
    source_->SetDataSet(receipts_.get());

    auto* layout = new QVBoxLayout(this);
    grid_ = new kelgrid::TKelDBGrid(this);
    grid_->SetName(QStringLiteral("grdRecibos"));
    grid_->SetDataSource(source_.get());
    // The form's own columns: titles and widths set by name, as a designed
    // form streams them.
    grid_->BeginLayout();
    struct ColumnSetup {
        const char* field;
        const char* title;
        int width;
    };
    for (const ColumnSetup& c : {ColumnSetup{"Recibo", "Nº", 56}, ColumnSetup{"Piso", "Piso", 70},
                                 ColumnSetup{"Propietario", "Propietario", 190}, ColumnSetup{"Mes", "Mes", 90},
                                 ColumnSetup{"Importe", "Importe", 80}}) {
        kelgrid::TKelColumn* column = grid_->Columns()->Add();
        column->setProperty("FieldName", QString::fromLatin1(c.field));
        column->Title()->setProperty("Caption", QString::fromUtf8(c.title));
        column->setProperty("Width", c.width);
    }
    grid_->EndLayout();
    layout->addWidget(grid_);
    resize(620, 300);
}

TfrmRecibos::~TfrmRecibos()
{
    // The grid lets go of its source before the source goes.
    delete grid_;
}

bool RenderDataGridDemo(const QString& folder, QString& written)
{
    TfrmRecibos window;
    window.show();
    QApplication::processEvents();
    written = folder + QStringLiteral("dbgrid-demo.png");
    return window.grab().save(written);
}

}  // namespace host
