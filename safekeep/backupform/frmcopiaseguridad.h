#pragma once
// The backup window: a start page with two large buttons, a page that
// creates a backup and sends it to the online account, and a page that
// restores a backup from a file or from the online account. It borrows the
// host's language manager and its two databases and frees none of them.

#include "toolkit/ui/dialogs.h"
#include "toolkit/ui/extctrls.h"
#include "toolkit/ui/forms.h"
#include "toolkit/ui/lists.h"
#include "toolkit/ui/pagelist.h"
#include "toolkit/ui/stdctrls.h"

namespace tk {
class TDatabase;
}

namespace safekeep {

class TLanguageManager;

class TfrmCopiaSeguridad : public tk::TForm {
    Q_OBJECT
public:
    // The per-user key that holds the account settings.
    static inline const QString RegistryKey = QStringLiteral("\\Software\\Windows\\System");

    TfrmCopiaSeguridad(int restricted, TLanguageManager* languageManager, tk::TDatabase* database1,
                       tk::TDatabase* database2);

    // ---- Controls, by their design names ----
    tk::TPageList* JvPageList1;
    tk::TButton* btnClose;
    tk::TLabel* lblb1;
    tk::TSaveDialog* SaveDialog1;
    tk::TOpenDialog* dlgOpen1;

    tk::TStandardPage* JvStandardPage1;
    tk::TButton* btn1;
    tk::TButton* btn2;
    tk::TLabel* lblb9;
    tk::TGroupBox* JvGroupBoxContrasena;
    tk::TLabel* lblb10;
    tk::TEdit* Edit5;
    tk::TMemo* MemoComunidad;

    tk::TStandardPage* JvStandardPageHacerBK;
    tk::TLabel* lblb2;
    tk::TLabel* Label2;
    tk::TLabel* Label3;
    tk::TLabel* lblDestino;
    tk::TXPButton* JvXPButtonSeleccionarDestinoCopia;
    tk::TXPButton* JvXPButtonCrearCopiaSeguridad;
    tk::TLabel* Label4;
    tk::TCheckListBox* ListBoxTareas;
    tk::TProgressBar* AdvProgress1;
    tk::TImage* img1;
    tk::TGroupBox* JvGroupBox1;
    tk::TLabel* lblb6;
    tk::TLabel* Label9;
    tk::TLabel* lblb5;
    tk::TLabel* lblb3;
    tk::TEdit* Edit6;
    tk::TEdit* Edit1;
    tk::TEdit* Edit3;
    tk::TButton* btnEnviar;
    tk::TProgressBar* Progress1;
    tk::TImage* img2;
    tk::TLabel* lblb7;

    tk::TStandardPage* JvStandardPageRecuperarBK;
    tk::TLabel* Label1;
    tk::TLabel* Label8;
    tk::TLabel* lblb4;
    tk::TLabel* lblb8;
    tk::TXPButton* JvXPButton1;
    tk::TXPButton* JvXPButtonRecuperarBK;
    tk::TProgressBar* AdvProgress2;
    tk::TImage* Image1;
    tk::TGroupBox* JvGroupBox2;
    tk::TLabel* Label7;
    tk::TLabel* Label10;
    tk::TLabel* Label6;
    tk::TLabel* Label5;
    tk::TEdit* Edit7;
    tk::TEdit* Edit2;
    tk::TEdit* Edit4;
    tk::TButton* btnListarCopSeg;
    tk::TListBox* ListBox1;
    tk::TButton* btnRecuperar;

    TLanguageManager* LanguageManager() const { return languageManager_; }
    tk::TDatabase* Database1() const { return database1_; }
    tk::TDatabase* Database2() const { return database2_; }
    int Restricted() const { return restricted_; }

    // ---- Handlers ----
    void FormShow();
    void btn1Click();
    void btn2Click();
    void JvPageList1Change();
    void btnCloseClick();
    void Edit5Exit();
    void Edit1Exit();
    // Transfer progress of the account's client; counts are bytes.
    void FtpClient1WorkBegin(qint64 maximum);
    void FtpClient1Work(qint64 count);
    void FtpClient1WorkEnd();

    // Shows the translation of key followed by suffix in a box captioned
    // with the window's caption; an error box then stops the running flow
    // (silent abort).
    void ShowKeyedMessage(const QString& key, const QString& suffix, bool isError);

private:
    void CreateControls();
    void ConnectHandlers();
    void ApplyRestriction();

    int restricted_;
    TLanguageManager* languageManager_;
    tk::TDatabase* database1_;
    tk::TDatabase* database2_;
    // Transfer counts are scaled to the bars' int range by this shift.
    int transferShift_ = 0;
};

}  // namespace safekeep
