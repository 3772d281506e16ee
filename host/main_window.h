#pragma once
// The host's main window: what the installation holds (community, year
// file, the state of its two database connections) and the button that
// opens the backup window through the backup library; two more open the
// string-grid window and the receipts window.

#include "host/backup_library.h"
#include "host/host_paths.h"

#include <QMainWindow>
#include <QPointer>

class QLabel;
class QPushButton;

namespace host {

class TfrmBrivora : public QMainWindow {
    Q_OBJECT
public:
    TfrmBrivora(TBackupLibrary& library, const TBackupCall& call, const THostPaths& paths);

    QPushButton* BackupButton() const { return btnCopiaSeguridad; }
    QPushButton* GridButton() const { return btnRejilla; }
    // Shows the string-grid window (one per main window).
    void OpenGridDemo();
    // Shows the receipts window on the year database (one per main window);
    // a year file that cannot be read raises tk::EDatabaseError.
    void OpenDataGridDemo();
    QPushButton* DataGridButton() const { return btnRecibos; }
    // Shows the grid demonstration window (one per main window).
    void OpenKelgridDemo();
    QPushButton* KelgridDemoButton() const { return btnDemostracion; }
    // Shows the current state of the two database components.
    void ShowDatabaseStates();

    // Loads the library when needed and opens the backup window; a library
    // that cannot be loaded is reported in a message box. Returns the
    // window's result, or -1 when it could not be opened.
    int OpenBackupWindow();

private:
    QString Text(const char* key, const QString& spanish) const;

    TBackupLibrary& library_;
    TBackupCall call_;
    QLabel* lblDatabase1;
    QLabel* lblDatabase2;
    QPushButton* btnCopiaSeguridad;
    QPushButton* btnRejilla;
    QPushButton* btnRecibos;
    QPushButton* btnDemostracion;
    QString kelgridDemoIni_;
    QPointer<QWidget> gridDemo_;
    QPointer<QWidget> dataGridDemo_;
    QPointer<QWidget> kelgridDemo_;
};

}  // namespace host
