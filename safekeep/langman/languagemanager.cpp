#include "safekeep/langman/languagemanager.h"

#include "safekeep/langman/keyindex.h"
#include "safekeep/langman/langfile.h"
#include "safekeep/langman/langtext.h"
#include "safekeep/langman/tablefiller.h"
#include "toolkit/core/application.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"
#include "toolkit/core/masks.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <utility>

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

// The positions of the file's sections in the order of their names sorted
// without regard to case. Sorting on the folded names compares far faster
// than the case-insensitive comparison; that comparison still decides,
// checking the order in one pass and sorting itself should the two ever
// disagree. Names are unique in a file, so that order is the only one.
QList<qsizetype> SectionsByName(const QStringList& names)
{
    // Folded names are unique too, so the name alone orders them.
    QList<std::pair<QString, qsizetype>> folded;
    folded.reserve(names.size());
    for (qsizetype i = 0; i < names.size(); ++i)
        folded.append({TKeyIndex::Folded(names[i]), i});
    std::sort(folded.begin(), folded.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<qsizetype> order;
    order.reserve(names.size());
    for (const auto& [name, index] : folded)
        order.append(index);
    const auto caseInsensitiveLess = [&names](qsizetype a, qsizetype b) {
        return names[a].compare(names[b], Qt::CaseInsensitive) < 0;
    };
    if (!std::is_sorted(order.begin(), order.end(), caseInsensitiveLess))
        std::sort(order.begin(), order.end(), caseInsensitiveLess);
    return order;
}

// prefix followed by name in upper case. ASCII names, nearly all of them,
// are upper-cased here while they are copied.
QString PrefixedUpper(const QString& prefix, const QString& name)
{
    QString key(prefix.size() + name.size(), Qt::Uninitialized);
    QChar* out = std::copy(prefix.cbegin(), prefix.cend(), key.data());
    for (const QChar c : name) {
        const char16_t unit = c.unicode();
        if (unit >= 0x80)
            return prefix + name.toUpper();
        *out++ = QChar(unit >= u'a' && unit <= u'z' ? char16_t(unit - (u'a' - u'A')) : unit);
    }
    return key;
}

QString FindText(const tk::TStringList* table, const QString& key, bool& found)
{
    int index = -1;
    found = table->Find(key, index);
    return found ? table->Objects(index).toString() : QString();
}

}  // namespace

// The tables that the files of one load fill.
struct TLanguageManager::TLoadTables {
    TTableFiller consts;
    TTableFiller props;
    TTableFiller resStr;
};

TLanguageManager::TLanguageManager()
    : fActiveFiles(new tk::TStringList(this)), fFileNames(new tk::TStringList(this)),
      fFolder(ProgramFolder() + QStringLiteral("Langs")), fLangProps(NewTable(this)),
      fLangConsts(NewTable(this)), fLangResStr(NewTable(this))
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
    if (messages)
        fMessages.Clear();
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
        // The files fill unsorted tables, which are sorted once at the end.
        SetTablesSorted(false);
        TLoadTables tables{TTableFiller(fLangConsts), TTableFiller(fLangProps), TTableFiller(fLangResStr)};
        GetLanguageFiles(value, pdkFiles, usrFiles);
        if (pdkFiles.isEmpty() && usrFiles.isEmpty()) {
            fLanguageCode.clear();
            throw tk::Exception(QStringLiteral("Language not found"));
        }
        // Each failing file adds one line; files that only count (".lngz")
        // add nothing, so they cannot turn a clean load into an error.
        QStringList errors;
        QString errorText;
        // User files come last: they look up what the product files defined.
        for (const QString& file : pdkFiles + usrFiles)
            if (!LoadLanguageFile(file, tables, fLanguageName, errorText) && !errorText.isEmpty())
                errors << errorText;
        fLastError = errors.join(QStringLiteral("\r\n"));
    } catch (...) {
        fLastError += tk::ExceptionMessage(std::current_exception());
    }
    SetTablesSorted(true);
    if (OnLanguageChanged && fLastError.isEmpty() && fLanguageCode == value)
        OnLanguageChanged(this);
}

bool TLanguageManager::LoadLanguageFile(const QString& fileName, TLoadTables& tables, QString& languageName,
                                        QString& errorText)
{
    errorText.clear();
    bool result = false;
    try {
        const QString extension = tk::ExtractFileExt(fileName).toLower();
        if (extension != QLatin1String(".lngz")) {
            const TLangFile file = TLangFile::Load(fileName);
            ReadLanguageData(file, extension == QLatin1String(".lngu"), tables, languageName);
            result = true;
        }
        fActiveFiles->Add(fileName);
    } catch (...) {
        errorText = tk::ExceptionMessage(std::current_exception());
    }
    return result;
}

void TLanguageManager::ReadLanguageData(const TLangFile& file, bool isUser, TLoadTables& tables,
                                        QString& languageName)
{
    if (languageName.isEmpty())
        languageName = file.ReadString(kInfoSection, QStringLiteral("languagename"), QString());
    if (fBiDiMode != bdRightToLeft && file.ReadInteger(kInfoSection, QStringLiteral("rtl"), 0) != 0)
        fBiDiMode = bdRightToLeft;

    for (const TLangEntry& entry : file.Entries(kConstantsSection)) {
        const QString key = PrefixedUpper(QString(), entry.name);
        if (key.isEmpty())
            continue;
        TTableFiller& table = key.startsWith(QLatin1Char('@')) ? tables.resStr : tables.consts;
        table.Store(key, DecodeLangText(entry.value), isUser);
    }

    const QStringList sections = file.SectionNames();
    for (const qsizetype index : SectionsByName(sections)) {
        const QString& section = sections[index];
        if (section.compare(kInfoSection, Qt::CaseInsensitive) == 0 ||
            section.compare(kConstantsSection, Qt::CaseInsensitive) == 0 ||
            section.compare(kMessagesSection, Qt::CaseInsensitive) == 0)
            continue;
        const QString prefix = PrefixedUpper(QString(), section) + QLatin1Char('.');
        for (const TLangEntry& entry : file.SectionEntries(index))
            tables.props.Store(PrefixedUpper(prefix, entry.name), DecodeLangText(entry.value), isUser);
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
        fMessages.Add(DecodeLangText(line), DecodeLangText(lines[i + 1]), isUser);
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
    return fMessages.Translate(message);
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
