#include "safekeep/backupform/frmcopiaseguridad.h"

#include "safekeep/langman/languagemanager.h"
#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/registry.h"

#include <QCloseEvent>
#include <QMetaObject>
#include <algorithm>
#include <bit>

namespace safekeep {

TfrmCopiaSeguridad::TfrmCopiaSeguridad(int restricted, TLanguageManager* languageManager, tk::TDatabase* database1,
                                       tk::TDatabase* database2)
    : tk::TForm(nullptr), restricted_(restricted), languageManager_(languageManager), database1_(database1),
      database2_(database2)
{
    CreateControls();
    // Every caption in the user's language; without a manager the design's
    // Spanish stays.
    if (languageManager_)
        languageManager_->LangVCL(this, QString(), nullptr);
    ApplyRestriction();
    JvPageList1->SetActivePage(JvStandardPage1);
    ConnectHandlers();
}

void TfrmCopiaSeguridad::ApplyRestriction()
{
    const QList<tk::TEdit*> accountBoxes{Edit1, Edit3, Edit2, Edit4, Edit6, Edit7};
    JvGroupBoxContrasena->SetVisible(restricted_ == 0);
    if (restricted_ == 0) {
        for (tk::TEdit* edit : accountBoxes)
            edit->SetReadOnly(false);
        for (tk::TEdit* edit : {Edit1, Edit3, Edit2, Edit4})
            edit->SetPasswordChar(QChar());
        return;
    }
    // Restricted users may not see or change the account: the design's
    // locked state is applied after translation, so a language file that
    // sets ReadOnly or PasswordChar cannot open it.
    for (tk::TEdit* edit : accountBoxes)
        edit->SetReadOnly(true);
    for (tk::TEdit* edit : {Edit1, Edit3, Edit2, Edit4})
        edit->SetPasswordChar(QLatin1Char('*'));
}

void TfrmCopiaSeguridad::ConnectHandlers()
{
    OnShow = [this](QObject*) { FormShow(); };
    btn1->OnClick = [this](QObject*) { btn1Click(); };
    btn2->OnClick = [this](QObject*) { btn2Click(); };
    JvPageList1->OnChange = [this](QObject*) { JvPageList1Change(); };
    btnClose->OnClick = [this](QObject*) { btnCloseClick(); };
    Edit5->OnExit = [this](QObject*) { Edit5Exit(); };
    for (tk::TEdit* edit : {Edit1, Edit3, Edit6, Edit2, Edit4, Edit7})
        edit->OnExit = [this](QObject*) { Edit1Exit(); };
    SevenZip1->OnMessage = [this](QObject*, int code, const QString& message, const QString& fileName) {
        SevenZip1Message(code, message, fileName);
    };
    JvXPButtonSeleccionarDestinoCopia->OnClick = [this](QObject*) {
        RunFlow([this] { JvXPButtonSeleccionarDestinoCopiaClick(); });
    };
    JvXPButtonCrearCopiaSeguridad->OnClick = [this](QObject*) {
        RunFlow([this] { JvXPButtonCrearCopiaSeguridadClick(); });
    };
    JvXPButton1->OnClick = [this](QObject*) { RunFlow([this] { JvXPButton1Click(); }); };
    btnEnviar->OnClick = [this](QObject*) { RunFlow([this] { btnEnviarClick(); }); };
    btnListarCopSeg->OnClick = [this](QObject*) { RunFlow([this] { btnListarCopSegClick(); }); };
    btnRecuperar->OnClick = [this](QObject*) { RunFlow([this] { btnRecuperarClick(); }); };
    ListBox1->OnClick = [this](QObject*) { ListBox1Click(); };
    FtpClient1->OnWorkBegin = [this](QObject*, TFtpClient::TWorkMode, qint64 maximum) { FtpClient1WorkBegin(maximum); };
    FtpClient1->OnWork = [this](QObject*, TFtpClient::TWorkMode, qint64 count) { FtpClient1Work(count); };
    FtpClient1->OnWorkEnd = [this](QObject*, TFtpClient::TWorkMode) { FtpClient1WorkEnd(); };
    JvXPButtonRecuperarBK->OnClick = [this](QObject*) { RunFlow([this] { JvXPButtonRecuperarBKClick(); }); };
}

void TfrmCopiaSeguridad::RunFlow(const std::function<void()>& flow)
{
    if (flowRunning_)
        return;  // the window repaints during a flow; a second one must not start
    flowRunning_ = true;
    struct EndFlow {
        TfrmCopiaSeguridad* window;
        ~EndFlow()
        {
            window->flowRunning_ = false;
            if (window->closeRequested_) {
                window->closeRequested_ = false;
                QMetaObject::invokeMethod(window, "close", Qt::QueuedConnection);
            }
        }
    } endFlow{this};
    flow();
}

void TfrmCopiaSeguridad::Step(tk::TProgressBar* bar, int position)
{
    bar->SetPosition(position);
    tk::Application().ProcessMessages();
}

void TfrmCopiaSeguridad::closeEvent(QCloseEvent* event)
{
    if (flowRunning_) {
        // Closing waits for the running flow to end.
        closeRequested_ = true;
        event->ignore();
        return;
    }
    tk::TForm::closeEvent(event);
}

void TfrmCopiaSeguridad::done(int result)
{
    if (flowRunning_) {
        closeRequested_ = true;
        return;
    }
    tk::TForm::done(result);
}

void TfrmCopiaSeguridad::SevenZip1Message(int, const QString& message, const QString&)
{
    tk::ShowMessage(message);
}

void TfrmCopiaSeguridad::FormShow()
{
    tk::TRegistry registry;
    try {
        if (registry.OpenKey(RegistryKey, true)) {
            Edit5->SetText(registry.ReadString(QStringLiteral("PasoBK")));
            const QString user = registry.ReadString(QStringLiteral("CuentaBK"));
            Edit1->SetText(user);
            Edit2->SetText(user);
            const QString password = registry.ReadString(QStringLiteral("PassBK"));
            Edit3->SetText(password);
            Edit4->SetText(password);
            const QString host = registry.ReadString(QStringLiteral("HostBK"));
            Edit6->SetText(host);
            Edit7->SetText(host);
        }
    } catch (const tk::Exception&) {
        // A value that cannot be read ends the reading; the boxes filled so
        // far keep their values.
    }
    registry.CloseKey();
    const QString password = Edit5->Text();
    lblb7->SetVisible(password == lblb1->Caption() || password.isEmpty());
}

void TfrmCopiaSeguridad::btn1Click()
{
    JvPageList1->SetActivePage(JvStandardPageHacerBK);
}

void TfrmCopiaSeguridad::btn2Click()
{
    JvPageList1->SetActivePage(JvStandardPageRecuperarBK);
}

void TfrmCopiaSeguridad::JvPageList1Change()
{
    // Only a backup made on the create page opens the send group again.
    JvGroupBox1->SetEnabled(false);
}

void TfrmCopiaSeguridad::btnCloseClick()
{
    close();
}

void TfrmCopiaSeguridad::Edit5Exit()
{
    tk::TRegistry registry;
    try {
        if (registry.OpenKey(RegistryKey, true))
            registry.WriteString(QStringLiteral("PasoBK"), Edit5->Text());
    } catch (const tk::Exception&) {
        // The password stays in the box; storing it is best effort.
    }
    registry.CloseKey();
}

void TfrmCopiaSeguridad::Edit1Exit()
{
    // Whichever box was left, the send group's boxes are what is stored.
    tk::TRegistry registry;
    try {
        if (registry.OpenKey(RegistryKey, true)) {
            registry.WriteString(QStringLiteral("CuentaBK"), Edit1->Text());
            registry.WriteString(QStringLiteral("PassBK"), Edit3->Text());
            registry.WriteString(QStringLiteral("HostBK"), Edit6->Text());
        }
    } catch (const tk::Exception&) {
    }
    registry.CloseKey();
}

void TfrmCopiaSeguridad::FtpClient1WorkBegin(qint64 maximum)
{
    // Bars count in int: a transfer of several gigabytes is drawn in units
    // of 2^shift bytes so that it still goes from empty to full.
    const quint64 bytes = static_cast<quint64>(std::max<qint64>(maximum, 0));
    transferShift_ = std::max(0, static_cast<int>(std::bit_width(bytes)) - 31);
    const int scaled = static_cast<int>(bytes >> transferShift_);
    Progress1->SetMax(scaled);
    AdvProgress2->SetMax(scaled);
}

void TfrmCopiaSeguridad::FtpClient1Work(qint64 count)
{
    const int scaled = static_cast<int>(static_cast<quint64>(std::max<qint64>(count, 0)) >> transferShift_);
    Progress1->SetPosition(scaled);
    AdvProgress2->SetPosition(scaled);
}

void TfrmCopiaSeguridad::FtpClient1WorkEnd()
{
    Progress1->SetPosition(0);
    AdvProgress2->SetPosition(0);
}

void TfrmCopiaSeguridad::ShowKeyedMessage(const QString& key, const QString& suffix, bool isError)
{
    const QString text = (languageManager_ ? languageManager_->LangText(key, QString()) : QString()) + suffix;
    tk::MessageBox(this, text, Caption(), isError ? tk::TMessageIcon::Error : tk::TMessageIcon::Information);
    if (isError)
        tk::Abort();
}

}  // namespace safekeep
