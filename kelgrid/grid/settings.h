#pragma once
// TKelDBGridSettings: the grid's Settings, which save the user's layout
// (column order, widths, visibility and expansion, and as the options say
// the sort order, the line count and stretch mode) into an INI file or the
// per-user registry, and restore it.
//
// Where: IniFile picks an INI file (tk::TIniFile) or registry keys
// (tk::TRegistryIniFile). The file or key path is FileName, else
// DefaultFileName(). The section (INI) or sub-key (registry) is Section,
// which reads the default section while none is set: the grid's name,
// prefixed by its form's name and "." when the grid sits on a named form.
//
// The layout is a list of "name=value" lines (settingslayout.h says which).
// Every operation that takes a store object (tk::TCustomIniFile) works on
// the one given, or, given none, on one made by CreateIniFile for the call.
// Errors of the store (tk::EInOutError, tk::ERegistryException) pass to the
// caller; SaveLayout writes the section in one atomic write, so a failing
// save leaves the previously saved layout whole. Reading never fails on
// the layout's content: missing or malformed values keep the grid's values.
//
// Automatic use: with Active set, the grid runs AutoLoadLayout at the first
// activation of its data link after it was loaded (LoadPending), and
// AutoSaveLayout when it is destroyed.

#include "kelgrid/grid/gridenums.h"
#include "kelgrid/kelgridexport.h"
#include "toolkit/core/component.h"

#include <memory>

namespace tk {
class TCustomIniFile;
class TStrings;
}  // namespace tk

namespace kelgrid {

class TKelCustomDBGrid;

class KELGRID_EXPORT TKelDBGridSettings : public tk::TPersistent {
    Q_OBJECT
    Q_MOC_INCLUDE("toolkit/core/strings.h")
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(bool IniFile READ IniFile WRITE SetIniFile)
    Q_PROPERTY(tk::TStrings* Layout READ Layout WRITE SetLayout STORED false)
    Q_PROPERTY(kelgrid::TKelGridEnums::TKelSettingsOptions Options READ Options WRITE SetOptions)
    Q_PROPERTY(QString Section READ Section WRITE SetSection)
    Q_CLASSINFO("Default:Active", "False")
    Q_CLASSINFO("Default:FileName", "")
    Q_CLASSINFO("Default:IniFile", "False")
    Q_CLASSINFO("Default:Options", "[soLoadLayout,soSaveLayout]")
public:
    // grid may be nullptr (a free-standing copy for Assign); then the
    // layout operations have nothing to build or apply.
    explicit TKelDBGridSettings(TKelCustomDBGrid* grid);
    ~TKelDBGridSettings() override;

    TKelCustomDBGrid* Grid() const;

    bool Active() const;
    void SetActive(bool active);
    QString FileName() const;
    void SetFileName(const QString& fileName);
    bool IniFile() const;
    void SetIniFile(bool iniFile);
    // Reading builds the grid's current layout into the scratch list (valid
    // until the next build, read or apply); writing applies the lines.
    tk::TStrings* Layout();
    void SetLayout(tk::TStrings* lines);
    TKelSettingsOptions Options() const;
    void SetOptions(TKelSettingsOptions options);
    // The own section, else DefaultSection(). Setting the default section
    // (any case) or an empty text clears the own section.
    QString Section() const;
    void SetSection(const QString& section);
    Q_INVOKABLE bool IsSectionStored() const;

    // The store's path when FileName is empty: with IniFile the global
    // DefaultIniFileName, or when that is empty the program's path with
    // the extension ".ini"; without it the global DefaultRegistryKey.
    QString DefaultFileName() const;
    // The grid's name, after "<form name>." when it sits on a named form.
    // The form's name is remembered once found, so the section stays the
    // same while the form is being taken apart.
    QString DefaultSection() const;

    // With soUserSettings: reads the stored layout, lets its AutoLoadLayout
    // and AutoSaveLayout values (1 or 0; the current bits when missing or
    // malformed) switch soLoadLayout and soSaveLayout, and applies it when
    // soLoadLayout is then set. Without: LoadLayout when soLoadLayout is set.
    virtual void AutoLoadLayout();
    // SaveLayout when soSaveLayout is set.
    virtual void AutoSaveLayout();
    // ReadLayout, then ApplyLayout.
    void LoadLayout(tk::TCustomIniFile* ini = nullptr);
    // Builds the layout (OnSettingsLayout may change it) and replaces the
    // section with its lines in one atomic write of the store. A line with
    // an empty name is not written.
    void SaveLayout(tk::TCustomIniFile* ini = nullptr);
    // The section's lines as "name=value" (empty when it does not exist).
    tk::TStrings* ReadLayout(tk::TCustomIniFile* ini = nullptr);
    // Applies lines (they replace the scratch list first) or, given none,
    // the scratch list as it is; then OnSettingsLayout with apply = true.
    void ApplyLayout(const tk::TStrings* lines = nullptr);
    // Erases the section (nothing when it does not exist).
    void EraseLayout(tk::TCustomIniFile* ini = nullptr);
    bool LayoutExists(tk::TCustomIniFile* ini = nullptr);
    // A new store object for FileName (or the default) as IniFile says.
    virtual std::unique_ptr<tk::TCustomIniFile> CreateIniFile() const;
    // Hands the layout to the grid's OnSettingsLayout: after building
    // (apply false) and after applying (apply true).
    virtual void DoLayout(tk::TStrings* layout, bool apply);

    // A load waits for the first activation of the grid's data link (set by
    // the grid when it finished loading, cleared at that activation).
    bool LoadPending() const;
    void SetLoadPending(bool pending);

    // Copies Active, FileName, IniFile, Options and the own section of
    // another TKelDBGridSettings (not its grid).
    void Assign(const tk::TPersistent* source) override;

private:
    struct Private;
    std::unique_ptr<Private> d_;
};

}  // namespace kelgrid
