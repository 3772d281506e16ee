#include "host/main_window.h"

#include "host/dbgrid_demo.h"
#include "host/grid_demo.h"
#include "host/kelgrid_demo.h"

#include "safekeep/langman/languagemanager.h"
#include "toolkit/core/application.h"
#include "toolkit/data/database.h"

#include <QFont>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace host {

namespace {

QLabel* AddRow(QFormLayout* form, const QString& name, const QString& caption, const QString& value)
{
    auto* title = new QLabel(caption);
    title->setObjectName(name + QStringLiteral("Titulo"));
    auto* label = new QLabel(value);
    label->setObjectName(name);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(title, label);
    return label;
}

}  // namespace

TfrmBrivora::TfrmBrivora(TBackupLibrary& library, const TBackupCall& call, const THostPaths& paths)
    : library_(library), call_(call), kelgridDemoIni_(KelgridDemoIniOf(paths))
{
    setObjectName(QStringLiteral("frmBrivora"));
    setWindowTitle(QStringLiteral("Brivora"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);

    auto* title = new QLabel(QStringLiteral("Administración de comunidades"), central);
    title->setObjectName(QStringLiteral("lblTitulo"));
    QFont big = title->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    title->setFont(big);
    layout->addWidget(title);

    auto* form = new QFormLayout;
    AddRow(form, QStringLiteral("lblComunidad"), QStringLiteral("Comunidad:"), paths.community);
    AddRow(form, QStringLiteral("lblAnyo"), QStringLiteral("Fichero del año:"), paths.yearFileName);
    AddRow(form, QStringLiteral("lblDatos"), QStringLiteral("Carpeta de datos:"), paths.dataRoot);
    lblDatabase1 =
        AddRow(form, QStringLiteral("lblDatabase1"), QStringLiteral("Base de datos del año:"), QString());
    lblDatabase2 =
        AddRow(form, QStringLiteral("lblDatabase2"), QStringLiteral("Base de datos de informes:"), QString());
    layout->addLayout(form);
    layout->addStretch();

    btnCopiaSeguridad = new QPushButton(QStringLiteral("Copia de seguridad"), central);
    btnCopiaSeguridad->setObjectName(QStringLiteral("btnCopiaSeguridad"));
    btnCopiaSeguridad->setMinimumHeight(40);
    layout->addWidget(btnCopiaSeguridad);
    connect(btnCopiaSeguridad, &QPushButton::clicked, this,
            [this] { tk::Guarded([this] { OpenBackupWindow(); }); });

    btnRejilla = new QPushButton(QStringLiteral("Cuotas (rejilla)"), central);
    btnRejilla->setObjectName(QStringLiteral("btnRejilla"));
    layout->addWidget(btnRejilla);
    connect(btnRejilla, &QPushButton::clicked, this, [this] { tk::Guarded([this] { OpenGridDemo(); }); });

    btnRecibos = new QPushButton(QStringLiteral("Recibos (rejilla de datos)"), central);
    btnRecibos->setObjectName(QStringLiteral("btnRecibos"));
    layout->addWidget(btnRecibos);
    connect(btnRecibos, &QPushButton::clicked, this, [this] { tk::Guarded([this] { OpenDataGridDemo(); }); });

    btnDemostracion = new QPushButton(QStringLiteral("Rejilla: demostración"), central);
    btnDemostracion->setObjectName(QStringLiteral("btnDemostracion"));
    layout->addWidget(btnDemostracion);
    connect(btnDemostracion, &QPushButton::clicked, this,
            [this] { tk::Guarded([this] { OpenKelgridDemo(); }); });

    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("sbEstado"));
    resize(560, 320);
    ShowDatabaseStates();
}

void TfrmBrivora::OpenGridDemo()
{
    if (!gridDemo_)
        gridDemo_ = new TfrmRejilla(this);
    gridDemo_->show();
    gridDemo_->raise();
}

void TfrmBrivora::OpenDataGridDemo()
{
    if (!dataGridDemo_)
        dataGridDemo_ = new TfrmRecibos(call_.database1, this);
    dataGridDemo_->show();
    dataGridDemo_->raise();
}

void TfrmBrivora::OpenKelgridDemo()
{
    if (!kelgridDemo_)
        kelgridDemo_ = new TfrmKelgridDemo(kelgridDemoIni_, this);
    kelgridDemo_->show();
    kelgridDemo_->raise();
}

QString TfrmBrivora::Text(const char* key, const QString& spanish) const
{
    return call_.languageManager ? call_.languageManager->LangText(QString::fromLatin1(key), spanish)
                                 : spanish;
}

void TfrmBrivora::ShowDatabaseStates()
{
    const auto state = [this](const tk::TDatabase* database) {
        return database && database->Active() ? Text("BrivoraAbierta", QStringLiteral("abierta"))
                                              : Text("BrivoraCerrada", QStringLiteral("cerrada"));
    };
    lblDatabase1->setText(state(call_.database1));
    lblDatabase2->setText(state(call_.database2));
}

int TfrmBrivora::OpenBackupWindow()
{
    if (!library_.Load()) {
        const QString reason =
            library_.Error() == TBackupLibrary::leEntryNotFound
                ? Text("BrivoraSinFuncion",
                       QStringLiteral("La biblioteca de copias de seguridad no contiene la "
                                      "función CopiaSeguridad."))
                : Text("BrivoraSinBiblioteca",
                       QStringLiteral("No se puede cargar la biblioteca de copias de seguridad."));
        QMessageBox::critical(this, windowTitle(), reason + QStringLiteral("\n\n") + library_.ErrorDetail());
        return -1;
    }
    // A restore switches the connections off and on again; show where they
    // ended, also when the window ended with an exception.
    int result = 0;
    try {
        result = library_.CopiaSeguridad(call_);
    } catch (...) {
        ShowDatabaseStates();
        throw;
    }
    ShowDatabaseStates();
    statusBar()->showMessage(
        Text("BrivoraResultado", QStringLiteral("La ventana de copia de seguridad devolvió %1")).arg(result));
    return result;
}

}  // namespace host
