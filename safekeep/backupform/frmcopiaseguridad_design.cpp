// The backup window's design: every control with its name, caption,
// position and initial state. Behaviour is in frmcopiaseguridad.cpp.
#include "safekeep/backupform/frmcopiaseguridad.h"

namespace safekeep {

namespace {

template <class T>
T* Make(QWidget* parent, const char* name, int left, int top, int width, int height)
{
    auto* control = new T(parent);
    control->setObjectName(QString::fromUtf8(name));
    control->SetBounds(left, top, width, height);
    return control;
}

tk::TLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top, int width,
                      int height = 16)
{
    auto* label = Make<tk::TLabel>(parent, name, left, top, width, height);
    label->SetCaption(caption);
    return label;
}

// "16 px" titles of the design.
void MakeTitle(tk::TLabel* label)
{
    label->Font()->SetSize(12);
}

void MakeBold(tk::TLabel* label)
{
    label->Font()->SetStyle(tk::TFont::fsBold);
}

template <class T>
T* MakeButton(QWidget* parent, const char* name, const QString& caption, int left, int top, int width, int height)
{
    auto* button = Make<T>(parent, name, left, top, width, height);
    button->SetCaption(caption);
    return button;
}

tk::TImage* MakeCheckMark(QWidget* parent, const char* name, int left, int top, int size)
{
    auto* image = Make<tk::TImage>(parent, name, left, top, size, size);
    image->SetPicture(tk::CheckMarkPicture(size));
    image->SetVisible(false);
    return image;
}

// The three account boxes of a group: host, user name, password.
void MakeAccountBoxes(QWidget* group, const char* hostLabel, const char* userLabel, const char* passwordLabel,
                      const char* hostEdit, const char* userEdit, const char* passwordEdit, tk::TEdit*& host,
                      tk::TEdit*& user, tk::TEdit*& password, tk::TLabel** labels, int width)
{
    labels[0] = MakeLabel(group, hostLabel, QStringLiteral("Host"), 10, 48, 60);
    labels[1] = MakeLabel(group, userLabel, QStringLiteral("Cuenta"), 10, 76, 60);
    labels[2] = MakeLabel(group, passwordLabel, QStringLiteral("Password"), 10, 104, 60);
    host = Make<tk::TEdit>(group, hostEdit, 75, 45, width, 22);
    user = Make<tk::TEdit>(group, userEdit, 75, 73, width, 22);
    password = Make<tk::TEdit>(group, passwordEdit, 75, 101, width, 22);
    for (tk::TEdit* edit : {host, user, password})
        edit->SetReadOnly(true);
    user->SetPasswordChar(QLatin1Char('*'));
    password->SetPasswordChar(QLatin1Char('*'));
}

}  // namespace

void TfrmCopiaSeguridad::CreateControls()
{
    setObjectName(QStringLiteral("frmCopiaSeguridad"));
    SetCaption(QStringLiteral("Brivora BackUp"));
    SetBorderStyle(tk::TFormBorderStyle::bsSingle);
    SetPosition(tk::poMainFormCenter);
    SetClientSize(657, 481);
    SetColor(16575982);  // red 238, green 237, blue 252
    Font()->SetName(QStringLiteral("Tahoma"));
    Font()->SetSize(8);

    JvPageList1 = Make<tk::TPageList>(this, "JvPageList1", 0, 0, 657, 407);
    btnClose = MakeButton<tk::TButton>(this, "btnClose", QStringLiteral("Cerrar"), 552, 440, 90, 28);
    lblb1 = MakeLabel(this, "lblb1", QStringLiteral("No me borres"), 16, 446, 120);
    lblb1->SetVisible(false);
    SaveDialog1 = new tk::TSaveDialog(this);
    SaveDialog1->SetName(QStringLiteral("SaveDialog1"));
    SaveDialog1->SetDefaultExt(QStringLiteral("7z"));
    SaveDialog1->SetFilter(QStringLiteral("Archivos de seguridad (*.7z)|*.7z"));
    SaveDialog1->SetTitle(QStringLiteral("Seleccione el destino de la copia de seguridad"));
    SaveDialog1->SetOverwritePrompt(true);
    dlgOpen1 = new tk::TOpenDialog(this);
    dlgOpen1->SetName(QStringLiteral("dlgOpen1"));
    dlgOpen1->SetDefaultExt(QStringLiteral("7z"));
    dlgOpen1->SetFileName(QStringLiteral("CopiaSeguridadBrivora"));
    dlgOpen1->SetFilter(QStringLiteral("Archivos de seguridad (*.7z)|*.7z"));
    FtpClient1 = new TFtpClient(this);
    FtpClient1->SetName(QStringLiteral("FtpClient1"));
    // Loads the 7-Zip library; without it the window cannot be made.
    SevenZip1 = new TSevenZip(this);
    SevenZip1->SetName(QStringLiteral("SevenZip1"));
    SevenZip1->SetAddOptions(TSevenZip::AddStoreOnlyFilename);
    SevenZip1->SetExtractOptions(TSevenZip::ExtractOverwrite);
    SevenZip1->SetLZMACompressStrength(TSevenZip::NORMAL);

    // Start page.
    JvStandardPage1 = JvPageList1->AddPage(QStringLiteral("JvStandardPage1"));
    btn1 = MakeButton<tk::TButton>(JvStandardPage1, "btn1", QStringLiteral("CREAR COPIA DE SEGURIDAD"), 40, 30,
                                   270, 80);
    btn2 = MakeButton<tk::TButton>(JvStandardPage1, "btn2", QStringLiteral("RECUPERAR COPIA DE SEGURIDAD"), 347,
                                   30, 270, 80);
    for (tk::TButton* large : {btn1, btn2}) {
        large->Font()->SetSize(10);
        large->Font()->SetStyle(tk::TFont::fsBold);
    }
    lblb9 = MakeLabel(JvStandardPage1, "lblb9",
                      QStringLiteral("Si usted dispone de cuenta de mantenimiento solicite su cuenta Lodgeline "
                                     "BackUp para copias de seguridad encriptadas\r\nen nuestros servidores."),
                      40, 130, 577, 40);
    lblb9->SetWordWrap(true);
    JvGroupBoxContrasena = Make<tk::TGroupBox>(JvStandardPage1, "JvGroupBoxContraseña", 40, 190, 577, 110);
    JvGroupBoxContrasena->SetCaption(QStringLiteral("Contraseña de acceso a la copia de seguridad"));
    lblb10 = MakeLabel(JvGroupBoxContrasena, "lblb10",
                       QStringLiteral("Debe poner una contraseña de seguridad para poder realizar copias de "
                                      "seguridad por internet"),
                       15, 25, 547, 32);
    lblb10->SetWordWrap(true);
    Edit5 = Make<tk::TEdit>(JvGroupBoxContrasena, "Edit5", 15, 65, 250, 22);
    MemoComunidad = Make<tk::TMemo>(JvStandardPage1, "MemoComunidad", 40, 320, 200, 60);
    MemoComunidad->SetVisible(false);

    // Create page.
    JvStandardPageHacerBK = JvPageList1->AddPage(QStringLiteral("JvStandardPageHacerBK"));
    QWidget* create = JvStandardPageHacerBK;
    lblb2 = MakeLabel(create, "lblb2", QStringLiteral("Realizar una copia de seguridad del programa Lodgeline"), 20,
                      10, 617, 24);
    MakeTitle(lblb2);
    Label2 = MakeLabel(create, "Label2", QStringLiteral("Seleccione el destino de la copia de seguridad"), 20, 45,
                       400);
    Label3 = MakeLabel(create, "Label3", QStringLiteral("Destino : "), 20, 70, 60);
    lblDestino = MakeLabel(create, "lblDestino", QString(), 85, 70, 550);
    JvXPButtonSeleccionarDestinoCopia = MakeButton<tk::TXPButton>(
        create, "JvXPButtonSeleccionarDestinoCopia", QStringLiteral("Seleccionar Destino de Copia"), 20, 95, 200, 26);
    JvXPButtonCrearCopiaSeguridad = MakeButton<tk::TXPButton>(
        create, "JvXPButtonCrearCopiaSeguridad", QStringLiteral("Crear Copia de Seguridad"), 230, 95, 200, 26);
    JvXPButtonCrearCopiaSeguridad->SetEnabled(false);
    Label4 = MakeLabel(create, "Label4", QStringLiteral("Progreso"), 20, 132, 100);
    ListBoxTareas = Make<tk::TCheckListBox>(create, "ListBoxTareas", 20, 150, 300, 112);
    ListBoxTareas->Items()->SetStrings({QStringLiteral("Generar directorio para temporales."),
                                        QStringLiteral("Generar copia en temporal de los archivos."),
                                        QStringLiteral("Comprimir los archivos en temporal."),
                                        QStringLiteral("Copiar los archivos a la carpeta seleccionada."),
                                        QStringLiteral("Copia comprobada y correcta."),
                                        QStringLiteral("Borrar temporal.")});
    AdvProgress1 = Make<tk::TProgressBar>(create, "AdvProgress1", 20, 268, 300, 16);
    AdvProgress1->SetMax(15);
    img1 = MakeCheckMark(create, "img1", 326, 150, 48);
    JvGroupBox1 = Make<tk::TGroupBox>(create, "JvGroupBox1", 385, 130, 255, 235);
    JvGroupBox1->SetCaption(QStringLiteral("Encriptar y enviar a Brivora BackUp "));
    lblb6 = MakeLabel(JvGroupBox1, "lblb6", QStringLiteral("Configuración cuenta Brivora BackUp"), 10, 22, 235);
    MakeBold(lblb6);
    tk::TLabel* sendLabels[3];
    MakeAccountBoxes(JvGroupBox1, "Label9", "lblb5", "lblb3", "Edit6", "Edit1", "Edit3", Edit6, Edit1, Edit3,
                     sendLabels, 170);
    Label9 = sendLabels[0];
    lblb5 = sendLabels[1];
    lblb3 = sendLabels[2];
    btnEnviar = MakeButton<tk::TButton>(JvGroupBox1, "btnEnviar",
                                        QStringLiteral("Enviar la copia a la cuenta Brivora BackUp"), 10, 132, 235, 36);
    Progress1 = Make<tk::TProgressBar>(JvGroupBox1, "Progress1", 10, 176, 235, 16);
    img2 = MakeCheckMark(JvGroupBox1, "img2", 10, 198, 28);
    lblb7 = MakeLabel(create, "lblb7", QStringLiteral("No hay pasword para la copia"), 20, 300, 360, 24);
    MakeTitle(lblb7);
    MakeBold(lblb7);
    lblb7->Font()->SetColor(tk::clRed);

    // Restore page.
    JvStandardPageRecuperarBK = JvPageList1->AddPage(QStringLiteral("JvStandardPageRecuperarBK"));
    QWidget* restore = JvStandardPageRecuperarBK;
    Label1 = MakeLabel(restore, "Label1", QStringLiteral("Recuperar una copia de seguridad del programa Lodgeline"),
                       20, 10, 617, 24);
    MakeTitle(Label1);
    Label8 = MakeLabel(restore, "Label8", QStringLiteral("Seleccione la copia de seguridad"), 20, 45, 400);
    lblb4 = MakeLabel(restore, "lblb4", QStringLiteral("Origen : "), 20, 70, 60);
    lblb8 = MakeLabel(restore, "lblb8", QString(), 85, 70, 550);
    JvXPButton1 = MakeButton<tk::TXPButton>(restore, "JvXPButton1", QStringLiteral("Seleccionar  Copia"), 20, 95,
                                            200, 26);
    JvXPButtonRecuperarBK = MakeButton<tk::TXPButton>(restore, "JvXPButtonRecuperarBK",
                                                      QStringLiteral("Recuperar Copia de Seguridad"), 230, 95, 200, 26);
    JvXPButtonRecuperarBK->SetEnabled(false);
    AdvProgress2 = Make<tk::TProgressBar>(restore, "AdvProgress2", 20, 135, 360, 16);
    AdvProgress2->SetMax(25);
    Image1 = MakeCheckMark(restore, "Image1", 390, 118, 44);
    JvGroupBox2 = Make<tk::TGroupBox>(restore, "JvGroupBox2", 20, 168, 617, 230);
    JvGroupBox2->SetCaption(QStringLiteral("Recuperar desde Brivora BackUp"));
    Label7 = MakeLabel(JvGroupBox2, "Label7", QStringLiteral("Configuración cuenta Brivora BackUp"), 10, 22, 260);
    MakeBold(Label7);
    tk::TLabel* restoreLabels[3];
    MakeAccountBoxes(JvGroupBox2, "Label10", "Label6", "Label5", "Edit7", "Edit2", "Edit4", Edit7, Edit2, Edit4,
                     restoreLabels, 195);
    Label10 = restoreLabels[0];
    Label6 = restoreLabels[1];
    Label5 = restoreLabels[2];
    btnListarCopSeg = MakeButton<tk::TButton>(JvGroupBox2, "btnListarCopSeg",
                                              QStringLiteral("Listar copias de Brivora BackUp"), 10, 135, 260, 28);
    ListBox1 = Make<tk::TListBox>(JvGroupBox2, "ListBox1", 285, 20, 320, 160);
    btnRecuperar = MakeButton<tk::TButton>(JvGroupBox2, "btnRecuperar",
                                           QStringLiteral("Recuperar la copia de seguridad de Brivora BackUp"), 285,
                                           188, 320, 30);
    btnRecuperar->SetEnabled(false);

    // The window owns every control of its design, wherever it sits, so
    // FindComponent and translation reach them by name (the non-visual
    // components were made with the window as owner).
    for (QWidget* control : findChildren<QWidget*>())
        InsertComponent(tk::CoreOf(control));
}

}  // namespace safekeep
