#include "safekeep/langman/languagemanager.h"

#include "safekeep/langman/langfile.h"
#include "safekeep/langman/langtext.h"
#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/core/masks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace safekeep {

TLanguageManager* LanguageManager = nullptr;

void CreateLanguageManager()
{
    if (!LanguageManager)
        LanguageManager = new TLanguageManager;
}

void FreeLanguageManager()
{
    delete LanguageManager;
    LanguageManager = nullptr;
}

namespace {

const QString kInfoSection = QStringLiteral("meridian language file");
const QString kConstantsSection = QStringLiteral("constants");
const QString kMessagesSection = QStringLiteral("messages");

tk::TStringList* NewTable(QObject* owner)
{
    auto* list = new tk::TStringList(owner);
    // Product files may define a key twice; both entries stay, and lookups
    // find the first of equal keys.
    list->SetDuplicates(tk::TStringList::dupAccept);
    return list;
}

// Appends the language files of code in folder (subfolders first when
// recursive) to the lists. visited guards against folder links that loop.
void FindLangFiles(const QString& folder, QStringList& pdkFiles, QStringList& usrFiles, bool recursive,
                   const QString& code, QSet<QString>& visited)
{
    const QString path = tk::IncludeTrailingPathDelimiter(folder);
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical))
        return;
    visited.insert(canonical);
    if (recursive) {
        const QStringList subfolders =
            QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                                 QDir::Name | QDir::IgnoreCase);
        for (const QString& subfolder : subfolders)
            FindLangFiles(path + subfolder, pdkFiles, usrFiles, recursive, code, visited);
    }
    const QString language = code.isEmpty() ? QStringLiteral("*") : code;
    for (const QString& name : tk::FindFiles(path, QStringLiteral("*.") + language + QStringLiteral(".lng")))
        pdkFiles << path + name;
    for (const QString& name : tk::FindFiles(path, QStringLiteral("*.") + language + QStringLiteral(".lngz")))
        pdkFiles << path + name;
    for (const QString& name : tk::FindFiles(path, QStringLiteral("*.") + language + QStringLiteral(".lngu")))
        usrFiles << path + name;
}

// Finds key in a sorted table, or adds it; user files replace the text of
// a key that is already there, product files always add.
void StoreText(tk::TStringList* table, const QString& key, const QString& text, bool isUser)
{
    int index = -1;
    if (isUser && table->Find(key, index)) {
        table->PutObject(index, text);
        return;
    }
    table->AddObject(key, text);
}

QString FindText(const tk::TStringList* table, const QString& key, bool& found)
{
    int index = -1;
    found = table->Find(key, index);
    return found ? table->Objects(index).toString() : QString();
}

}  // namespace

TLanguageManager::TLanguageManager()
    : fActiveFiles(new tk::TStringList(this)), fFileNames(new tk::TStringList(this)),
      fFolder(ProgramFolder() + QStringLiteral("Langs")), fLangProps(NewTable(this)),
      fLangConsts(NewTable(this)), fEMessList(new tk::TStringList(this)),
      fEMessConv(new tk::TStringList(this)), fLangResStr(NewTable(this))
{
}

TLanguageManager::~TLanguageManager()
{
    Clear(true, true, false);
}

QString TLanguageManager::ProgramFolder()
{
    QString folder;
    if (QCoreApplication::instance())
        folder = QCoreApplication::applicationDirPath();
    else
        folder = QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).path();
    return tk::IncludeTrailingPathDelimiter(folder);
}

void TLanguageManager::Clear(bool consts, bool props, bool messages)
{
    if (consts)
        fLangConsts->Clear();
    if (props)
        fLangProps->Clear();
    if (messages) {
        fEMessList->Clear();
        fEMessConv->Clear();
    }
    fLangResStr->Clear();
    fActiveFiles->Clear();
}

void TLanguageManager::FilterFileNames(QStringList& list) const
{
    if (fFileNames->Count() == 0)
        return;
    for (qsizetype i = list.size() - 1; i >= 0; --i) {
        const QString name = tk::ExtractFileName(list[i]);
        bool keep = false;
        for (int f = 0; f < fFileNames->Count() && !keep; ++f)
            keep = tk::MatchesMask(name, fFileNames->Strings(f) + QStringLiteral(".*.*"));
        if (!keep)
            list.removeAt(i);
    }
}

void TLanguageManager::FilterFileNames(tk::TStrings* list) const
{
    QStringList lines = list->ToStringList();
    FilterFileNames(lines);
    list->SetStrings(lines);
}

void TLanguageManager::CollectFiles(const QString& code, QStringList& pdkFiles, QStringList& usrFiles) const
{
    QSet<QString> visited;
    if (!fFolder.isEmpty() && tk::DirectoryExists(fFolder)) {
        FindLangFiles(fFolder, pdkFiles, usrFiles, fRecursiveFolder, code, visited);
        return;
    }
    const qsizetype before = pdkFiles.size() + usrFiles.size();
    FindLangFiles(ProgramFolder() + QStringLiteral("Langs"), pdkFiles, usrFiles, fRecursiveFolder, code, visited);
    if (pdkFiles.size() + usrFiles.size() == before)
        FindLangFiles(ProgramFolder(), pdkFiles, usrFiles, fRecursiveFolder, code, visited);
}

void TLanguageManager::GetLanguageFiles(const QString& code, QStringList& pdkFiles, QStringList& usrFiles) const
{
    CollectFiles(code, pdkFiles, usrFiles);
    FilterFileNames(pdkFiles);
    FilterFileNames(usrFiles);
}

bool TLanguageManager::GetAvailableLanguages(tk::TStrings* availableLanguages)
{
    fLastError.clear();
    try {
        availableLanguages->Clear();
        QStringList files;
        QStringList userFiles;
        CollectFiles(QStringLiteral("*"), files, userFiles);
        files += userFiles;
        FilterFileNames(files);
        for (const QString& file : files) {
            const QString code =
                tk::ExtractFileExt(tk::ChangeFileExt(tk::ExtractFileName(file), QString())).mid(1).toLower();
            if (availableLanguages->IndexOfName(code) >= 0)
                continue;
            QString name;
            if (tk::ExtractFileExt(file).toLower() != QLatin1String(".lngz")) {
                try {
                    name = TLangFile::Load(file).ReadString(kInfoSection, QStringLiteral("languagename"), QString());
                } catch (...) {
                    name.clear();  // an unreadable file names no language
                }
            }
            if (!name.isEmpty())
                availableLanguages->Add(code + QLatin1Char('=') + name);
        }
        return true;
    } catch (...) {
        fLastError = tk::ExceptionMessage(std::current_exception());
    }
    return false;
}

void TLanguageManager::SetTablesSorted(bool sorted)
{
    fLangConsts->SetSorted(sorted);
    fLangProps->SetSorted(sorted);
    fLangResStr->SetSorted(sorted);
}

void TLanguageManager::SetLanguageCode(const QString& value)
{
    fLastError.clear();
    if (value.isEmpty())
        return;
    QStringList pdkFiles;
    QStringList usrFiles;
    try {
        Clear(true, true, true);
        fLanguageCode = value;
        fLanguageName.clear();
        fBiDiMode = bdLeftToRight;
        // Product files are appended without lookups; sorting comes after.
        SetTablesSorted(false);
        GetLanguageFiles(value, pdkFiles, usrFiles);
        if (pdkFiles.isEmpty() && usrFiles.isEmpty()) {
            fLanguageCode.clear();
            throw tk::Exception(QStringLiteral("Language not found"));
        }
        // Each failing file adds one line; files that only count (".lngz")
        // add nothing, so they cannot turn a clean load into an error.
        QStringList errors;
        QString errorText;
        for (const QString& file : pdkFiles)
            if (!LoadLanguageFile(file, fLanguageName, errorText) && !errorText.isEmpty())
                errors << errorText;
        if (!usrFiles.isEmpty()) {
            // User files look up what the product files defined.
            SetTablesSorted(true);
            for (const QString& file : usrFiles)
                if (!LoadLanguageFile(file, fLanguageName, errorText) && !errorText.isEmpty())
                    errors << errorText;
        }
        fLastError = errors.join(QStringLiteral("\r\n"));
    } catch (...) {
        fLastError += tk::ExceptionMessage(std::current_exception());
    }
    SetTablesSorted(true);
    if (OnLanguageChanged && fLastError.isEmpty() && fLanguageCode == value)
        OnLanguageChanged(this);
}

bool TLanguageManager::LoadLanguageFile(const QString& fileName, QString& languageName, QString& errorText)
{
    errorText.clear();
    bool result = false;
    try {
        const QString extension = tk::ExtractFileExt(fileName).toLower();
        if (extension != QLatin1String(".lngz")) {
            const TLangFile file = TLangFile::Load(fileName);
            ReadLanguageData(file, extension == QLatin1String(".lngu"), languageName);
            result = true;
        }
        fActiveFiles->Add(fileName);
    } catch (...) {
        errorText = tk::ExceptionMessage(std::current_exception());
    }
    return result;
}

void TLanguageManager::ReadLanguageData(const TLangFile& file, bool isUser, QString& languageName)
{
    if (languageName.isEmpty())
        languageName = file.ReadString(kInfoSection, QStringLiteral("languagename"), QString());
    if (fBiDiMode != bdRightToLeft && file.ReadInteger(kInfoSection, QStringLiteral("rtl"), 0) != 0)
        fBiDiMode = bdRightToLeft;

    for (const TLangEntry& entry : file.Entries(kConstantsSection)) {
        const QString key = entry.name.toUpper();
        if (key.isEmpty())
            continue;
        tk::TStringList* table = key.startsWith(QLatin1Char('@')) ? fLangResStr : fLangConsts;
        StoreText(table, key, DecodeLangText(entry.value), isUser);
    }

    QStringList sections = file.SectionNames();
    std::sort(sections.begin(), sections.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    for (const QString& section : sections) {
        if (section.compare(kInfoSection, Qt::CaseInsensitive) == 0 ||
            section.compare(kConstantsSection, Qt::CaseInsensitive) == 0 ||
            section.compare(kMessagesSection, Qt::CaseInsensitive) == 0)
            continue;
        const QString prefix = section.toUpper() + QLatin1Char('.');
        for (const TLangEntry& entry : file.Entries(section))
            StoreText(fLangProps, prefix + entry.name.toUpper(), DecodeLangText(entry.value), isUser);
    }

    // Messages come in pairs of lines: the pattern, then its template.
    const QStringList lines = file.Lines(kMessagesSection);
    qsizetype i = 0;
    while (i < lines.size()) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || i + 1 >= lines.size()) {
            ++i;
            continue;
        }
        const QString pattern = DecodeLangText(line);
        const QString translation = DecodeLangText(lines[i + 1]);
        const int existing = isUser ? fEMessList->IndexOf(pattern) : -1;
        if (existing >= 0) {
            fEMessConv->Put(existing, translation);
        } else {
            fEMessList->Add(pattern);
            fEMessConv->Add(translation);
        }
        i += 2;
    }
}

QString TLanguageManager::LangText(const QString& id, const QString& defaultText) const
{
    if (id.isEmpty())
        return DecodeLangText(defaultText);
    const QString key = id.toUpper();
    bool found = false;
    if (key.startsWith(QLatin1Char('@'))) {
        const QString text = FindText(fLangResStr, key, found);
        return found ? text : DecodeLangText(defaultText);
    }
    QString text = FindText(fLangConsts, key, found);
    if (found)
        return text;
    text = FindText(fLangProps, key, found);
    return found ? text : DecodeLangText(defaultText);
}

QString TLanguageManager::LangMess(const QString& message) const
{
    for (int i = 0; i < fEMessList->Count(); ++i) {
        const QString pattern = fEMessList->Strings(i);
        if (tk::MatchesMask(message, pattern))
            return ApplyMessageTemplate(message, pattern, i < fEMessConv->Count() ? fEMessConv->Strings(i) : QString());
    }
    return message;
}

void TLanguageManager::LangResourceStr(const tk::TResourceString* rs, const QString* newStr)
{
    if (!rs)
        return;
    if (!newStr)
        throw tk::EAssertionFailed(QStringLiteral("newStr must not be nil"));
    tk::SetResourceStringOverride(rs, newStr);
}

}  // namespace safekeep
