#pragma once
// The language manager: finds the language files of one language in the
// language folder, merges them into lookup tables and answers with the
// translations of named texts (LangText), of free-form messages by wildcard
// pattern (LangMess), of resource strings, and of every published property
// of a window and its components (LangVCL).
//
// File names are base.code.ext: ".lng" files ship with the program, ".lngu"
// files hold the user's additions and override them, ".lngz" files are
// found and listed but never read.

#include "safekeep/langman/messagetable.h"
#include "toolkit/core/resourcestring.h"
#include "toolkit/core/strings.h"

#include <QObject>
#include <QString>
#include <functional>

namespace safekeep {

class ComponentIndex;

class TLanguageManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(tk::TStrings* ActiveFiles READ ActiveFiles)
    Q_PROPERTY(tk::TStrings* FileNames READ FileNames)
    Q_PROPERTY(QString Folder READ Folder WRITE SetFolder)
    Q_PROPERTY(bool RecursiveFolder READ RecursiveFolder WRITE SetRecursiveFolder)
    Q_PROPERTY(QString LanguageName READ LanguageName)
    Q_PROPERTY(QString LanguageCode READ LanguageCode WRITE SetLanguageCode)
    Q_PROPERTY(TBiDiMode BiDiMode READ BiDiMode)
    Q_PROPERTY(tk::TStrings* Properties READ Properties)
    Q_PROPERTY(tk::TStrings* Constants READ Constants)
    Q_PROPERTY(bool AllowSpecialProps READ AllowSpecialProps WRITE SetAllowSpecialProps)
    Q_PROPERTY(QString LastError READ LastError)
    Q_CLASSINFO("Default:RecursiveFolder", "False")

public:
    enum TBiDiMode { bdLeftToRight, bdRightToLeft };
    Q_ENUM(TBiDiMode)

    TLanguageManager();
    ~TLanguageManager() override;

    tk::TStrings* ActiveFiles() const { return fActiveFiles; }
    tk::TStrings* FileNames() const { return fFileNames; }
    QString Folder() const { return fFolder; }
    void SetFolder(const QString& folder) { fFolder = folder; }
    bool RecursiveFolder() const { return fRecursiveFolder; }
    void SetRecursiveFolder(bool recursive) { fRecursiveFolder = recursive; }
    QString LanguageName() const { return fLanguageName; }
    QString LanguageCode() const { return fLanguageCode; }
    // Loads the language: rebuilds every table from its files. An empty code
    // only clears LastError.
    void SetLanguageCode(const QString& value);
    TBiDiMode BiDiMode() const { return fBiDiMode; }
    tk::TStrings* Properties() const { return fLangProps; }
    tk::TStrings* Constants() const { return fLangConsts; }
    bool AllowSpecialProps() const { return fAllowSpecialProps; }
    void SetAllowSpecialProps(bool allow) { fAllowSpecialProps = allow; }
    // Errors of the last operation, several separated by CR LF; empty after
    // success.
    QString LastError() const { return fLastError; }
    // Fired after a language loaded without error (also on Refresh).
    tk::TNotifyEvent OnLanguageChanged;

    // Empties the constant table (consts), the property table (props) and
    // the message patterns (messages); the resource-string table and
    // ActiveFiles are always emptied.
    void Clear(bool consts, bool props, bool messages);
    // Keeps only paths whose file name matches a FileNames entry + ".*.*";
    // an empty FileNames keeps all.
    void FilterFileNames(tk::TStrings* list) const;
    void FilterFileNames(QStringList& list) const;
    // Appends the product and user files of language code to the lists.
    void GetLanguageFiles(const QString& code, QStringList& pdkFiles, QStringList& usrFiles) const;
    // Fills the list with "code=name" for every language whose files name it.
    bool GetAvailableLanguages(tk::TStrings* availableLanguages);
    // Loads the current language again.
    void Refresh() { SetLanguageCode(fLanguageCode); }

    // The translation of a named text: "@name" in the resource-string table,
    // other names in the constants, then the properties; else the decoded
    // default.
    QString LangText(const QString& id, const QString& defaultText = QString()) const;
    // The translation of a message by the first pattern that matches it; the
    // message itself when none does.
    QString LangMess(const QString& message) const;
    // Redirects a resource string to newStr, which the caller keeps alive.
    // A null rs does nothing; a null newStr raises EAssertionFailed.
    void LangResourceStr(const tk::TResourceString* rs, const QString* newStr);
    // Sets the translated published properties of owner and the components
    // it owns (keys of class asClassName, or owner's class when empty), or
    // only those of onlyComponent. True when no key failed.
    bool LangVCL(QObject* owner, const QString& asClassName = QString(), QObject* onlyComponent = nullptr);

    // The folder of the running program, with a trailing "/".
    static QString ProgramFolder();

private:
    struct TLoadTables;
    bool LoadLanguageFile(const QString& fileName, TLoadTables& tables, QString& languageName,
                          QString& errorText);
    void ReadLanguageData(const class TLangFile& file, bool isUser, TLoadTables& tables,
                          QString& languageName);
    void CollectFiles(const QString& code, QStringList& pdkFiles, QStringList& usrFiles) const;
    void SetTablesSorted(bool sorted);
    void ApplyPropertyKey(const ComponentIndex& components, QObject* onlyComponent, const QString& prefix,
                          int index);

    bool fAllowSpecialProps = false;
    bool fRecursiveFolder = false;
    tk::TStringList* fActiveFiles;
    tk::TStringList* fFileNames;
    QString fFolder;
    QString fLanguageCode;
    QString fLanguageName;
    TBiDiMode fBiDiMode = bdLeftToRight;
    // Keys with their texts as the lines' objects.
    tk::TStringList* fLangProps;
    tk::TStringList* fLangConsts;
    tk::TStringList* fLangResStr;
    // The message patterns, compiled, with their templates.
    TMessageTable fMessages;
    QString fLastError;
};

// The program's manager: a program creates it at start-up
// (CreateLanguageManager) and frees it at the end; a library never does and
// uses the manager its caller hands over.
extern TLanguageManager* LanguageManager;
void CreateLanguageManager();
void FreeLanguageManager();

}  // namespace safekeep
