// Creating a backup: the host's settings files, the community's year file
// and the report database are staged in the community's "Temp" folder with
// an information file, packed into a 7z archive at the chosen destination,
// verified, and the staged copies removed.
#include "safekeep/backupform/frmcopiaseguridad.h"

#include "safekeep/langman/languagemanager.h"
#include "toolkit/core/datetime.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/core/inifile.h"
#include "toolkit/core/textfile.h"

#include <QDir>

namespace safekeep {

namespace {

const QString kSettingsFiles[] = {QStringLiteral("Brivora.INI"), QStringLiteral("apppos.INI"),
                                  QStringLiteral("DACT.INI")};

// The folder of the last destination; the Windows default "c:\" (or any
// folder that does not exist here) reads as the user's home folder.
QString LastDestinationFolder(const THostLayout& layout)
{
    const tk::TIniFile ini(layout.hostIni);
    const QString folder = ini.ReadString(QStringLiteral("CopSeg"), QStringLiteral("ruta"), QStringLiteral("c:\\"));
    return tk::DirectoryExists(folder) ? folder : QDir::homePath();
}

}  // namespace

void TfrmCopiaSeguridad::JvXPButtonSeleccionarDestinoCopiaClick()
{
    const THostLayout layout = THostLayout::Read(HostExecutablePath());
    SaveDialog1->SetFileName(QStringLiteral("BKBrivora") + tk::FormatDateTime(QStringLiteral("yy_mm_dd"), tk::Date()));
    SaveDialog1->SetInitialDir(LastDestinationFolder(layout));
    if (!SaveDialog1->Execute())
        return;
    lblDestino->SetCaption(SaveDialog1->FileName());
    tk::TIniFile(layout.hostIni).WriteString(QStringLiteral("CopSeg"), QStringLiteral("ruta"),
                                             tk::ExtractFilePath(SaveDialog1->FileName()));
    JvXPButtonCrearCopiaSeguridad->SetEnabled(true);
}

void TfrmCopiaSeguridad::JvXPButtonCrearCopiaSeguridadClick()
{
    const THostLayout layout = THostLayout::Read(HostExecutablePath());
    const QString temp = layout.CommunityTemp();
    if (!tk::DirectoryExists(temp) && !tk::CreateDir(temp))
        ShowKeyedMessage(QStringLiteral("MIErrorAlActualizarNoTemporal"), QString(), true);
    ListBoxTareas->SetChecked(0, true);
    Step(AdvProgress1, 1);

    // The information file: the community, then today's date.
    const QString staged = temp + QLatin1Char('/');
    MemoComunidad->Lines()->Clear();
    MemoComunidad->Lines()->Add(layout.community);
    MemoComunidad->Lines()->Add(tk::FormatDateTime(QStringLiteral("dd/mm/yy"), tk::Date()));
    tk::WriteTextFile(staged + QStringLiteral("inf.txt"), MemoComunidad->Lines()->ToStringList(), tk::teLegacy);

    // Settings files: a copy that fails leaves the file out of the archive;
    // a stale copy of an earlier backup is removed first so it is never
    // packed in its place.
    int bar = 2;
    for (const QString& name : kSettingsFiles) {
        tk::DeleteFile(staged + name);
        tk::CopyFile(PeerFile(layout.exeFolder, name), staged + name, false);
        if (bar <= 3)
            Step(AdvProgress1, bar++);
    }
    if (layout.community.isEmpty() || layout.yearFile.isEmpty() ||
        !tk::CopyFile(layout.CommunityFolder(layout.community) + QLatin1Char('/') + layout.yearFile,
                      staged + layout.yearFile, false))
        ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" 4"), true);
    Step(AdvProgress1, 4);
    if (!tk::CopyFile(layout.ReportDatabase(), staged + QStringLiteral("Informes.mdb"), false))
        ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" 5"), true);
    Step(AdvProgress1, 5);
    Step(AdvProgress1, 6);
    ListBoxTareas->SetChecked(1, true);

    // The archive name is fixed once: what is written, checked and later
    // sent is the same file.
    archivePath_ = tk::ChangeFileExt(lblDestino->Caption(), QStringLiteral(".7z"));
    SevenZip1->SetSZFileName(archivePath_);
    SevenZip1->SetVolumeSize(0);
    SevenZip1->SetLZMACompressStrength(TSevenZip::MAXIMUM);
    // An empty box means no password, not the one of an earlier backup.
    SevenZip1->SetPassword(Edit5->Text());
    SevenZip1->Files()->Clear();
    SevenZip1->SetAddRootDir(layout.community + QStringLiteral("/Temp/"));
    const QStringList members{QStringLiteral("inf.txt"),     layout.yearFile,       QStringLiteral("Informes.mdb"),
                              QStringLiteral("Brivora.INI"), QStringLiteral("apppos.INI"), QStringLiteral("DACT.INI")};
    for (int i = 0; i < members.size(); ++i) {
        SevenZip1->Files()->AddString(staged + members[i]);
        if (i % 2 == 1)
            Step(AdvProgress1, 7 + i / 2);
    }

    int result = 0;
    {
        tk::TWaitCursor wait;
        result = SevenZip1->Add();
    }
    if (result != 0)
        ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" 7"), true);
    ListBoxTareas->SetChecked(2, true);
    ListBoxTareas->SetChecked(3, true);
    Step(AdvProgress1, 10);

    if (!tk::FileExists(archivePath_))
        ShowKeyedMessage(QStringLiteral("MINoCopiaSeguridad"), QStringLiteral(" 8"), true);
    Step(AdvProgress1, 12);
    ListBoxTareas->SetChecked(4, true);

    // "inf.txt" and "DACT.INI" stay, as does the folder.
    for (const QString& name : {layout.yearFile, QStringLiteral("Informes.mdb"), QStringLiteral("Brivora.INI"),
                                QStringLiteral("apppos.INI")})
        tk::DeleteFile(staged + name);
    ListBoxTareas->SetChecked(5, true);
    Step(AdvProgress1, 13);
    Step(AdvProgress1, 15);

    tk::TIniFile(layout.hostIni).WriteString(QStringLiteral("copseg"), QStringLiteral("Fecha"),
                                             tk::DateToStr(tk::Date()));
    img1->SetVisible(true);
    if (!lblDestino->Caption().isEmpty() && !Edit5->Text().isEmpty())
        JvGroupBox1->SetEnabled(true);
    lblb7->SetVisible(Edit5->Text() == lblb1->Caption() || Edit5->Text().isEmpty());
    ShowKeyedMessage(QStringLiteral("Correcto"), QString(), false);
}

}  // namespace safekeep
