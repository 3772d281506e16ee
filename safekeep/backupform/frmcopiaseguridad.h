#pragma once
// The backup window: a start page with two large buttons, a page that
// creates a backup and sends it to the online account, and a page that
// restores a backup from a file or from the online account. It borrows the
// host's language manager and its two databases and frees none of them.

#include "safekeep/backupform/hostlayout.h"
#include "safekeep/ftpclient/ftpclient.h"
#include "safekeep/sevenzip/sevenzip.h"
#include "toolkit/ui/dialogs.h"
#include "toolkit/ui/extctrls.h"
#include "toolkit/ui/forms.h"
#include "toolkit/ui/lists.h"
#include "toolkit/ui/pagelist.h"
#include "toolkit/ui/stdctrls.h"

namespace tk {
class TDatabase;
class TFileReplacement;
}

namespace safekeep {

class TLanguageManager;
class TStagedBackup;

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
    TSevenZip* SevenZip1;
    TFtpClient* FtpClient1;

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

    void SevenZip1Message(int errCode, const QString& message, const QString& fileName);

    // ---- Backup creation ----
    void JvXPButtonSeleccionarDestinoCopiaClick();
    void JvXPButtonCrearCopiaSeguridadClick();
    // The archive the last backup of this window wrote (the chosen
    // destination with ".7z" as extension); empty before one was made.
    QString ArchivePath() const { return archivePath_; }

    // ---- Restore ----
    void JvXPButton1Click();
    void JvXPButtonRecuperarBKClick();
    // Puts the files extracted into the restore's staging folder back over
    // the host's; called after the staged archive was extracted.
    void RestoreStagedBackup(const QString& stagedArchive);
    // Deletes the ordinary files of folder that match mask.
    static void EmptyFolderFiles(const QString& folder, const QString& mask);

    // ---- Online account ----
    void btnEnviarClick();
    void btnListarCopSegClick();
    void ListBox1Click();
    void btnRecuperarClick();

    // True while a backup, restore or transfer runs.
    bool FlowRunning() const { return flowRunning_; }

    // Shows the translation of key followed by suffix in a box captioned
    // with the window's caption; an error box then stops the running flow
    // (silent abort).
    void ShowKeyedMessage(const QString& key, const QString& suffix, bool isError);

protected:
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    // Runs one flow: other flows' buttons are ignored while it runs, and a
    // request to close the window waits until it ends.
    void RunFlow(const std::function<void()>& flow);
    // Creates and empties the restore's staging folder; returns the staged
    // archive's path there.
    QString PrepareRestoreTemp();
    // Extracts the staged archive (when there is one) and puts its files
    // back with the host's databases switched off.
    void ExtractAndRestore(const QString& stagedArchive);
    // Replaces the host's files with the staged backup's, all or nothing:
    // checks every member first, switches each database off around its file
    // and opens it again on the new one; on a failure every file is put
    // back and the databases are on again before the step is reported.
    void ReplaceHostFiles(const THostLayout& layout, const QString& community, const TStagedBackup& staged);
    // Switches a database on; false when it did not open.
    static bool OpenAgain(tk::TDatabase* database);
    void PutBackHostFiles(tk::TFileReplacement& replacement);
    // Moves a progress bar and lets the window repaint.
    void Step(tk::TProgressBar* bar, int position);
    void CreateControls();
    void ConnectHandlers();
    void ApplyRestriction();

    int restricted_;
    TLanguageManager* languageManager_;
    tk::TDatabase* database1_;
    tk::TDatabase* database2_;
    // Transfer counts are scaled to the bars' int range by this shift.
    int transferShift_ = 0;
    QString archivePath_;
    bool flowRunning_ = false;
    bool closeRequested_ = false;
};

}  // namespace safekeep
