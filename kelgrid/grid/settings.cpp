// TKelDBGridSettings: where the layout is stored, and loading, saving and
// erasing it there. What the layout holds is settingslayout.cpp's.

#include "kelgrid/grid/settings.h"

#include "kelgrid/grid/dbgrid.h"
#include "kelgrid/grid/settingslayout.h"
#include "kelgrid/grid/tuning.h"
#include "toolkit/core/inifile.h"
#include "toolkit/core/registryinifile.h"
#include "toolkit/core/strings.h"
#include "toolkit/ui/forms.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace kelgrid {

namespace {

constexpr TKelSettingsOptions DefaultOptions = TKelSettingsOptions(soLoadLayout | soSaveLayout);

// The program's path with its extension changed to ".ini".
QString ProgramIniFileName()
{
    const QFileInfo program(QCoreApplication::applicationFilePath());
    return program.dir().filePath(program.completeBaseName() + QStringLiteral(".ini"));
}

}  // namespace

struct TKelDBGridSettings::Private {
    TKelCustomDBGrid* grid = nullptr;
    // The scratch list: built on every read of Layout and every save.
    std::unique_ptr<tk::TStringList> layout = std::make_unique<tk::TStringList>();
    TKelSettingsOptions options = DefaultOptions;
    bool active = false;
    bool loadPending = false;
    bool iniFile = false;
    QString fileName;
    mutable QString formName;
    QString section;
};

TKelDBGridSettings::TKelDBGridSettings(TKelCustomDBGrid* grid)
    : tk::TPersistent(grid), d_(std::make_unique<Private>())
{
    d_->grid = grid;
}

TKelDBGridSettings::~TKelDBGridSettings() = default;

TKelCustomDBGrid* TKelDBGridSettings::Grid() const
{
    return d_->grid;
}

bool TKelDBGridSettings::Active() const
{
    return d_->active;
}

void TKelDBGridSettings::SetActive(bool active)
{
    d_->active = active;
}

QString TKelDBGridSettings::FileName() const
{
    return d_->fileName;
}

void TKelDBGridSettings::SetFileName(const QString& fileName)
{
    d_->fileName = fileName;
}

bool TKelDBGridSettings::IniFile() const
{
    return d_->iniFile;
}

void TKelDBGridSettings::SetIniFile(bool iniFile)
{
    d_->iniFile = iniFile;
}

TKelSettingsOptions TKelDBGridSettings::Options() const
{
    return d_->options;
}

void TKelDBGridSettings::SetOptions(TKelSettingsOptions options)
{
    d_->options = options;
}

bool TKelDBGridSettings::LoadPending() const
{
    return d_->loadPending;
}

void TKelDBGridSettings::SetLoadPending(bool pending)
{
    d_->loadPending = pending;
}

// --- Where -----------------------------------------------------------------------

QString TKelDBGridSettings::Section() const
{
    return d_->section.isEmpty() ? DefaultSection() : d_->section;
}

void TKelDBGridSettings::SetSection(const QString& section)
{
    d_->section = section.compare(DefaultSection(), Qt::CaseInsensitive) == 0 ? QString() : section;
}

bool TKelDBGridSettings::IsSectionStored() const
{
    return !d_->section.isEmpty();
}

QString TKelDBGridSettings::DefaultSection() const
{
    if (!d_->grid)
        return {};
    if (d_->formName.isEmpty())
        if (const tk::TForm* form = d_->grid->GetParentForm())
            d_->formName = form->objectName();
    const QString gridName = d_->grid->objectName();
    return d_->formName.isEmpty() ? gridName : d_->formName + QLatin1Char('.') + gridName;
}

QString TKelDBGridSettings::DefaultFileName() const
{
    if (!d_->iniFile)
        return DefaultRegistryKey;
    return DefaultIniFileName.isEmpty() ? ProgramIniFileName() : DefaultIniFileName;
}

std::unique_ptr<tk::TCustomIniFile> TKelDBGridSettings::CreateIniFile() const
{
    const QString name = d_->fileName.isEmpty() ? DefaultFileName() : d_->fileName;
    if (d_->iniFile)
        return std::make_unique<tk::TIniFile>(name);
    return std::make_unique<tk::TRegistryIniFile>(name);
}

// --- Load and save -----------------------------------------------------------------

namespace {

// The store given by the caller, or one made for the call and freed after it.
class TStoreRef {
public:
    TStoreRef(tk::TCustomIniFile* given, const TKelDBGridSettings& settings)
    {
        if (!given) {
            made_ = settings.CreateIniFile();
            given = made_.get();
        }
        ini_ = given;
    }
    tk::TCustomIniFile& operator*() const { return *ini_; }
    tk::TCustomIniFile* operator->() const { return ini_; }

private:
    std::unique_ptr<tk::TCustomIniFile> made_;
    tk::TCustomIniFile* ini_ = nullptr;
};

}  // namespace

tk::TStrings* TKelDBGridSettings::Layout()
{
    d_->layout->Clear();
    if (!d_->grid)
        return d_->layout.get();
    d_->layout->SetStrings(BuildGridLayout(*d_->grid, d_->options));
    DoLayout(d_->layout.get(), false);
    return d_->layout.get();
}

void TKelDBGridSettings::SetLayout(tk::TStrings* lines)
{
    ApplyLayout(lines);
}

void TKelDBGridSettings::ApplyLayout(const tk::TStrings* lines)
{
    if (lines && lines != d_->layout.get())
        d_->layout->Assign(lines);
    if (!d_->grid)
        return;
    ApplyGridLayout(*d_->grid, *d_->layout, d_->options);
    DoLayout(d_->layout.get(), true);
}

void TKelDBGridSettings::DoLayout(tk::TStrings* layout, bool apply)
{
    if (d_->grid && d_->grid->OnSettingsLayout)
        d_->grid->OnSettingsLayout(d_->grid, layout, apply);
}

tk::TStrings* TKelDBGridSettings::ReadLayout(tk::TCustomIniFile* ini)
{
    const TStoreRef store(ini, *this);
    const QString section = Section();
    QStringList lines;
    if (store->SectionExists(section))
        store->ReadSectionValues(section, lines);
    d_->layout->SetStrings(lines);
    return d_->layout.get();
}

void TKelDBGridSettings::LoadLayout(tk::TCustomIniFile* ini)
{
    ReadLayout(ini);
    ApplyLayout();
}

void TKelDBGridSettings::SaveLayout(tk::TCustomIniFile* ini)
{
    const QStringList lines = Layout()->ToStringList();
    const TStoreRef store(ini, *this);
    const QString section = Section();
    // Erasing and writing is one atomic write of the store: a save that
    // fails leaves the layout saved before as it was.
    tk::TIniBatch batch(*store);
    store->EraseSection(section);
    for (const QString& line : lines) {
        const qsizetype at = line.indexOf(QLatin1Char('='));
        const QString name = at < 0 ? line : line.left(at);
        // A nameless value could not be read back under any name.
        if (!name.trimmed().isEmpty())
            store->WriteString(section, name, at < 0 ? QString() : line.mid(at + 1));
    }
    batch.Commit();
}

void TKelDBGridSettings::EraseLayout(tk::TCustomIniFile* ini)
{
    const TStoreRef store(ini, *this);
    const QString section = Section();
    if (store->SectionExists(section))
        store->EraseSection(section);
}

bool TKelDBGridSettings::LayoutExists(tk::TCustomIniFile* ini)
{
    const TStoreRef store(ini, *this);
    return store->SectionExists(Section());
}

void TKelDBGridSettings::AutoLoadLayout()
{
    if (!d_->options.testFlag(soUserSettings)) {
        if (d_->options.testFlag(soLoadLayout))
            LoadLayout();
        return;
    }
    const tk::TStrings& lines = *ReadLayout();
    d_->options.setFlag(soLoadLayout, LayoutFlag(lines, QStringLiteral("AutoLoadLayout"),
                                                 d_->options.testFlag(soLoadLayout)));
    d_->options.setFlag(soSaveLayout, LayoutFlag(lines, QStringLiteral("AutoSaveLayout"),
                                                 d_->options.testFlag(soSaveLayout)));
    if (d_->options.testFlag(soLoadLayout))
        ApplyLayout();
}

void TKelDBGridSettings::AutoSaveLayout()
{
    if (d_->options.testFlag(soSaveLayout))
        SaveLayout();
}

void TKelDBGridSettings::Assign(const tk::TPersistent* source)
{
    const auto* other = qobject_cast<const TKelDBGridSettings*>(source);
    if (!other) {
        tk::TPersistent::Assign(source);
        return;
    }
    d_->active = other->d_->active;
    d_->fileName = other->d_->fileName;
    d_->iniFile = other->d_->iniFile;
    d_->options = other->d_->options;
    SetSection(other->d_->section);
}

}  // namespace kelgrid
