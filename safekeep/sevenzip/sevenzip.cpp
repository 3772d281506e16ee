#include "safekeep/sevenzip/sevenzip.h"

#include "safekeep/sevenzip/archiveoutput.h"
#include "safekeep/sevenzip/extractcallback.h"
#include "safekeep/sevenzip/filecollector.h"
#include "safekeep/sevenzip/library.h"
#include "safekeep/sevenzip/messages.h"
#include "safekeep/sevenzip/opencallback.h"
#include "safekeep/sevenzip/propvariant.h"
#include "safekeep/sevenzip/sfx.h"
#include "safekeep/sevenzip/storednames.h"
#include "safekeep/sevenzip/streamreader.h"
#include "safekeep/sevenzip/updatecallback.h"
#include "toolkit/core/exceptions.h"
#include "toolkit/core/fileutils.h"

#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace safekeep {

using namespace sz;

namespace {

// Marks the component busy for the length of one operation.
class TBusyGuard {
public:
    explicit TBusyGuard(bool& busy) : busy_(busy) { busy_ = true; }
    ~TBusyGuard() { busy_ = false; }
    TBusyGuard(const TBusyGuard&) = delete;
    TBusyGuard& operator=(const TBusyGuard&) = delete;

private:
    bool& busy_;
};

// The attribute bit the library sets for items whose data are compressed;
// listed attributes leave it out.
constexpr uint64_t kAttributeCompressed = 0x2000;

bool PathExists(const QString& path)
{
    struct stat info {};
    return ::lstat(path.toLocal8Bit().constData(), &info) == 0;
}

// Copies file from offset on into output. False with errno set.
bool AppendFileTo(const QString& file, uint64_t offset, TArchiveOutput& output)
{
    TComPtr<TMyStreamReader> reader = TMyStreamReader::Open({file}, offset);
    if (!reader)
        return false;
    TComPtr<TMyStreamWriter> writer = output.Writer();
    std::vector<char> buffer(1 << 20);
    for (;;) {
        uint32_t count = 0;
        if (reader->Read(buffer.data(), uint32_t(buffer.size()), &count) != S_OK) {
            errno = EIO;
            return false;
        }
        if (count == 0)
            return true;
        for (uint32_t done = 0; done < count;) {
            uint32_t written = 0;
            if (writer->Write(buffer.data() + done, count - done, &written) != S_OK) {
                errno = writer->WriteError();
                return false;
            }
            done += written;
        }
    }
}

}  // namespace

// Closes the archive an operation opened, on every way out.
class TSevenZip::TArchiveSession {
public:
    explicit TArchiveSession(TSevenZip& owner) : owner_(owner) {}
    ~TArchiveSession()
    {
        if (owner_.archiveOpen_) {
            owner_.inArchive_->Close();
            owner_.archiveOpen_ = false;
        }
    }
    TArchiveSession(const TArchiveSession&) = delete;
    TArchiveSession& operator=(const TArchiveSession&) = delete;

private:
    TSevenZip& owner_;
};

TSevenZip::TSevenZip(QObject* owner) : tk::TComponent(owner), fFiles(new TWideStringList(this))
{
    library_ = TSevenZipLibrary::Load();
    const bool created = library_->CreateObject(CLSID_Format7z, IID_IInArchive,
                                                reinterpret_cast<void**>(inArchive_.Receive())) == S_OK &&
                         library_->CreateObject(CLSID_Format7z, IID_IOutArchive,
                                                reinterpret_cast<void**>(outArchive_.Receive())) == S_OK &&
                         outArchive_->QueryInterface(
                             IID_ISetProperties, reinterpret_cast<void**>(setProperties_.Receive())) == S_OK;
    if (!created)
        throw tk::Exception(TSevenZipLibrary::MissingLibraryText());
}

TSevenZip::~TSevenZip()
{
    Destroying();
    fNamesOfVolumesWritten.clear();
    if (archiveOpen_)
        inArchive_->Close();
    setProperties_.Reset();
    outArchive_.Reset();
    inArchive_.Reset();
    library_.reset();
    fFiles->Clear();
}

QString TSevenZip::LibraryFileName() const
{
    return library_->FileName();
}

uint32_t TSevenZip::CompressionLevel(TCompressStrength strength)
{
    switch (strength) {
    case SAVE:
        return 0;
    case FAST:
        return 3;
    case NORMAL:
        return 5;
    case MAXIMUM:
        return 7;
    case ULTRA:
        return 9;
    }
    return 5;
}

// --- Add ------------------------------------------------------------------

int TSevenZip::Add()
{
    if (busy_)
        return -1;
    TBusyGuard busy(busy_);
    cancel_ = false;
    fNamesOfVolumesWritten.clear();
    fAddRootDir = fAddRootDir.toUpper();
    const QString rootPrefix = AddRootPrefix(fAddRootDir);

    const std::vector<TAddItem> items =
        CollectAddItems(fFiles->ToStringList(), fAddOptions.testFlag(AddRecurseDirs));
    uint64_t total = 0;
    for (const TAddItem& item : items)
        total += item.size;
    DoPreProgress(qint64(total));
    // Checked before any file is created: an empty archive must not replace
    // an existing one.
    if (items.empty()) {
        Report(szNoFilesToAdd, QString(), 0);
        return -1;
    }

    QString module;
    uint64_t volumeSize = fVolumeSize > 0 ? uint64_t(fVolumeSize) : 0;
    if (fSFXCreate) {
        module = FindSfxModule();
        if (module.isEmpty()) {
            // Without its module the archive is written as a plain one.
            Report(szSFXModuleNotFound, fSFXModule, ENOENT);
        } else {
            fSZFileName = tk::ChangeFileExt(fSZFileName, QStringLiteral(".exe"));
            volumeSize = 0;  // a self-extractor is one file
            if (PathExists(fSZFileName)) {
                Report(szCouldNotCreateSFX, fSZFileName, EEXIST);
                return -1;
            }
        }
    }
    TArchiveOutput output(fSZFileName, volumeSize);
    if (!output.Start(module)) {
        const int error = errno;
        if (!module.isEmpty()) {
            Report(szCouldNotCreateSFX, fSZFileName, error);
            return -1;
        }
        fLastError = error;
        tk::Abort();
    }

    HRESULT result = ApplyCompressionSettings();
    if (result == S_OK) {
        QStringList storedNames;
        for (size_t index = 0; index < items.size(); ++index) {
            QString name = RemoveAddRoot(items[index].path, rootPrefix);
            DoSetAddName(quint32(index), name);
            storedNames << FinishStoredName(name, fAddOptions.testFlag(AddIncludeDriveLetter),
                                            fAddOptions.testFlag(AddStoreOnlyFilename));
        }
        TOperation operation(*this, runner_, *library_, fPassword, true);
        TComPtr<TMyArchiveUpdateCallback> callback =
            TMyArchiveUpdateCallback::Create(operation, items, storedNames);
        TComPtr<TMyStreamWriter> writer = output.Writer();
        result = runner_.Run(
            [&] { return outArchive_->UpdateItems(writer.Get(), uint32_t(items.size()), callback.Get()); });
    }
    if (result == S_OK) {
        if (output.Commit(!module.isEmpty())) {
            fNamesOfVolumesWritten = output.VolumeNames();
        } else {
            const int error = errno;
            result = HResultFromErrno(error);
            if (!module.isEmpty())
                Report(szCouldNotCreateSFX, fSZFileName, error);
            else
                fLastError = error;
        }
    } else {
        output.Discard();
    }
    cancel_ = false;
    return result;
}

HRESULT TSevenZip::ApplyCompressionSettings()
{
    std::vector<std::wstring> names;
    std::vector<PROPVARIANT> values;
    auto addNumber = [&](const char* name, uint32_t number) {
        names.push_back(std::wstring(name, name + std::strlen(name)));
        values.emplace_back();
        SetUInt32(&values.back(), number);
    };
    auto addText = [&](const char* name, const char* text) {
        names.push_back(std::wstring(name, name + std::strlen(name)));
        values.emplace_back();
        SetText(&values.back(), *library_, QString::fromLatin1(text));
    };
    const uint32_t level = CompressionLevel(fLZMACompressStrength);
    if (fLZMACompressType == PPMD) {
        addText("0", "PPMd");
        addNumber("X", level);
        if (fLPPMDsize != 0)
            addNumber("o", fLPPMDsize);
        if (fLPPMDmem != 0)
            addNumber("mem", fLPPMDmem);
    } else {
        addNumber("X", level);
        addText("s", fAddOptions.testFlag(AddSolid) ? "on" : "off");
        if (fLZMAStrength != 0)
            addNumber("d", fLZMAStrength);
    }
    if (!fPassword.isEmpty() && fAddOptions.testFlag(AddEncryptFilename))
        addText("he", "on");

    std::vector<const wchar_t*> namePointers;
    for (const std::wstring& name : names)
        namePointers.push_back(name.c_str());
    const HRESULT result =
        setProperties_->SetProperties(namePointers.data(), values.data(), uint32_t(values.size()));
    for (PROPVARIANT& value : values) {
        if (value.vt == VT_BSTR)
            library_->FreeString(value.bstrVal);
    }
    return result;
}

QString TSevenZip::FindSfxModule() const
{
    if (fSFXModule.isEmpty())
        return QString();
    if (QFileInfo(fSFXModule).isAbsolute())
        return tk::FileExists(fSFXModule) ? fSFXModule : QString();
    // A bare name is looked for beside the library, then beside the program.
    const QStringList folders{
        QFileInfo(library_->FileName()).absolutePath(),
        QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).absolutePath()};
    for (const QString& folder : folders) {
        const QString candidate = folder + QLatin1Char('/') + fSFXModule;
        if (tk::FileExists(candidate))
            return candidate;
    }
    return QString();
}

// --- Opening archives -----------------------------------------------------

std::optional<uint64_t> TSevenZip::ArchiveStart()
{
    if (tk::ExtractFileExt(fSZFileName).toUpper() != QLatin1String(".EXE"))
        return 0;
    if (SFXCheck(fSZFileName))
        return uint64_t(fSFXOffset);
    Report(szNotSFXArchive, fSZFileName, 0);
    return std::nullopt;
}

QStringList TSevenZip::ArchiveVolumes()
{
    QStringList volumes{fSZFileName};
    const QString extension = tk::ExtractFileExt(fSZFileName);
    const QString digits = extension.mid(1);
    bool numbered = digits.size() >= 3;
    for (const QChar c : digits)
        numbered = numbered && c.isDigit();
    if (!numbered)
        return volumes;
    const QString base = fSZFileName.left(fSZFileName.size() - extension.size());
    for (int number = digits.toInt() + 1;; ++number) {
        const QString next =
            base + QLatin1Char('.') + QString::number(number).rightJustified(digits.size(), QLatin1Char('0'));
        if (!tk::FileExists(next))
            break;
        bool cancel = false;
        DoOpenVolume(next, false, cancel);
        if (cancel)
            break;
        volumes << next;
    }
    return volumes;
}

bool TSevenZip::OpenArchive(uint64_t start, bool report)
{
    TComPtr<TMyStreamReader> reader = TMyStreamReader::Open(ArchiveVolumes(), start);
    if (!reader) {
        const int error = errno;
        if (report)
            Report(szFileNotFound, fSZFileName, error);
        return false;
    }
    TComPtr<TMyArchiveOpenCallback> callback = TMyArchiveOpenCallback::Create(*library_, fPassword);
    if (inArchive_->Open(static_cast<IInStream*>(reader.Get()), nullptr, callback.Get()) == S_OK) {
        archiveOpen_ = true;
        return true;
    }
    // A 7z archive the library recognised but could not read (damaged
    // headers, or names encrypted with another password) is a data error;
    // "File not found" is kept for files that are no archive at all.
    bool damaged = callback->PasswordAsked();
    if (!damaged) {
        TPropVariant flags(*library_);
        if (inArchive_->GetArchiveProperty(kpidErrorFlags, flags.Receive()) == S_OK) {
            const uint64_t value = flags.Number().value_or(0);
            damaged = value != 0 && !(value & kErrorFlagIsNotArc);
        }
    }
    inArchive_->Close();
    if (report)
        Report(damaged ? szDataError : szFileNotFound, fSZFileName, 0);
    return false;
}

int TSevenZip::FindItemIndex(const QString& name)
{
    const QString wanted = NormalizedStoredName(name);
    uint32_t count = 0;
    inArchive_->GetNumberOfItems(&count);
    int caseless = -1;
    int caselessMatches = 0;
    for (uint32_t index = 0; index < count; ++index) {
        TPropVariant path(*library_);
        inArchive_->GetProperty(index, kpidPath, path.Receive());
        const QString stored = NormalizedStoredName(path.Text());
        if (stored == wanted)
            return int(index);
        if (stored.compare(wanted, Qt::CaseInsensitive) == 0) {
            caseless = int(index);
            ++caselessMatches;
        }
    }
    return caselessMatches == 1 ? caseless : -1;
}

int TSevenZip::GetIndexByFilename(const QString& name)
{
    if (busy_)
        return -1;
    TBusyGuard busy(busy_);
    uint64_t start = 0;
    if (tk::ExtractFileExt(fSZFileName).toUpper() == QLatin1String(".EXE")) {
        const std::optional<uint64_t> offset = FindSfxArchiveOffset(fSZFileName);
        if (!offset)
            return -1;
        start = *offset;
    }
    TArchiveSession session(*this);
    if (!OpenArchive(start, false))
        return -1;
    return FindItemIndex(name);
}

// --- Extract --------------------------------------------------------------

int TSevenZip::Extract(bool testArchive)
{
    if (busy_)
        return -1;
    TBusyGuard busy(busy_);
    cancel_ = false;
    const std::optional<uint64_t> start = ArchiveStart();
    if (!start)
        return -1;
    TArchiveSession session(*this);
    if (!OpenArchive(*start, true))
        return -1;

    uint32_t count = 0;
    inArchive_->GetNumberOfItems(&count);
    const bool all = fFiles->Count() == 0;
    std::vector<uint32_t> indices;
    if (!all) {
        for (const QString& entry : fFiles->ToStringList()) {
            bool isNumber = false;
            int index = entry.toInt(&isNumber);
            if (!isNumber)
                index = FindItemIndex(entry);
            if (index < 0 || uint32_t(index) >= count) {
                Report(szIndexOutOfRange, QString(), 0);
                return -1;
            }
            indices.push_back(uint32_t(index));
        }
        // The library wants the indices ascending, each once.
        std::sort(indices.begin(), indices.end());
        indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
        uint64_t total = 0;
        for (const uint32_t index : indices) {
            TPropVariant size(*library_);
            inArchive_->GetProperty(index, kpidSize, size.Receive());
            total += size.Number().value_or(0);
        }
        if (total > 0)
            DoPreProgress(qint64(total));
    }

    TMyArchiveExtractCallback::TSettings settings;
    settings.folder = fExtrBaseDir.isEmpty() ? QString() : tk::IncludeTrailingPathDelimiter(fExtrBaseDir);
    settings.noPath = fExtractOptions.testFlag(ExtractNoPath);
    settings.overwrite = fExtractOptions.testFlag(ExtractOverwrite);
    settings.testOnly = testArchive;
    settings.announceTotal = all;
    TOperation operation(*this, runner_, *library_, fPassword, false);
    TComPtr<TMyArchiveExtractCallback> callback =
        TMyArchiveExtractCallback::Create(operation, inArchive_.Get(), settings);
    HRESULT result = runner_.Run([&] {
        return inArchive_->Extract(all ? nullptr : indices.data(),
                                   all ? 0xFFFFFFFFu : uint32_t(indices.size()), testArchive ? 1 : 0,
                                   callback.Get());
    });
    callback->Finish();
    // The library reports item failures per item and still succeeds; the
    // caller must not read that as a sound extraction.
    if (result == S_OK && callback->AnyItemFailed())
        result = E_FAIL;
    cancel_ = false;
    return result;
}

// --- List -----------------------------------------------------------------

int TSevenZip::List()
{
    if (busy_)
        return -1;
    TBusyGuard busy(busy_);
    fFiles->Clear();
    fNumberOfFiles = -1;
    const std::optional<uint64_t> start = ArchiveStart();
    if (!start)
        return -1;
    TArchiveSession session(*this);
    if (!OpenArchive(*start, true))
        return -1;
    uint32_t count = 0;
    inArchive_->GetNumberOfItems(&count);
    fNumberOfFiles = int(count);
    for (uint32_t index = 0; index < count; ++index) {
        try {
            TPropVariant path(*library_), isDir(*library_), size(*library_), packed(*library_);
            TPropVariant attributes(*library_), crc(*library_), method(*library_), modified(*library_);
            inArchive_->GetProperty(index, kpidPath, path.Receive());
            inArchive_->GetProperty(index, kpidIsDir, isDir.Receive());
            inArchive_->GetProperty(index, kpidSize, size.Receive());
            inArchive_->GetProperty(index, kpidPackSize, packed.Receive());
            inArchive_->GetProperty(index, kpidAttrib, attributes.Receive());
            inArchive_->GetProperty(index, kpidCRC, crc.Receive());
            inArchive_->GetProperty(index, kpidMethod, method.Receive());
            inArchive_->GetProperty(index, kpidMTime, modified.Receive());
            const bool isFolder = isDir.Bool().value_or(false);
            // Items after the first of a solid block have no packed size of
            // their own; that is not "stored without data".
            const std::optional<uint64_t> packedSize = packed.Number();
            const QString methodText =
                isFolder || packedSize == uint64_t(0) ? QStringLiteral("None") : method.Text();
            const QString name = path.Text();
            fFiles->Add(isFolder ? NormalizedStoredName(name) + QLatin1Char('/') : name);
            const std::optional<uint64_t> ticks = modified.FileTime();
            const tk::TDateTime time =
                ticks ? tk::DateTimeFromQDateTime(tk::FileTimeToDateTime(*ticks)) : 0.0;
            DoListFile(name, qint64(index), qint64(size.Number().value_or(0)), qint64(packedSize.value_or(0)),
                       qint64(attributes.Number().value_or(0) & ~kAttributeCompressed),
                       qint64(crc.Number().value_or(0)), methodText, time);
        } catch (...) {
            // An error while handling one item does not stop the listing.
        }
    }
    return fNumberOfFiles;
}

// --- Self-extractors ------------------------------------------------------

bool TSevenZip::SFXCheck(const QString& file)
{
    const std::optional<uint64_t> offset = FindSfxArchiveOffset(file);
    fIsSFX = offset.has_value();
    fSFXOffset = qint64(offset.value_or(0));
    return fIsSFX;
}

bool TSevenZip::ConvertSFXto7z(const QString& file)
{
    if (!SFXCheck(file)) {
        Report(szNotSFXArchive, file, 0);
        return false;
    }
    const QString target = tk::ChangeFileExt(file, QStringLiteral(".7z"));
    TArchiveOutput output(target, 0);
    if (!output.Start() || !AppendFileTo(file, uint64_t(fSFXOffset), output) || !output.Commit(false)) {
        Report(szCouldNotCreateFile, target, errno);
        return false;
    }
    return true;
}

bool TSevenZip::Convert7ztoSFX(const QString& file)
{
    const QString module = FindSfxModule();
    if (module.isEmpty()) {
        Report(szSFXModuleNotFound, fSFXModule, ENOENT);
        return false;
    }
    const QString target = tk::ChangeFileExt(file, QStringLiteral(".exe"));
    if (PathExists(target)) {
        Report(szCouldNotCreateSFX, target, EEXIST);
        return false;
    }
    TArchiveOutput output(target, 0);
    if (!output.Start(module) || !AppendFileTo(file, 0, output) || !output.Commit(true)) {
        Report(szCouldNotCreateSFX, target, errno);
        return false;
    }
    return true;
}

// --- Events ---------------------------------------------------------------

void TSevenZip::Report(int code, const QString& fileName, int error)
{
    if (error != 0)
        fLastError = error;
    fErrCode = code;
    // Success is recorded, never shown.
    if (code != szSuccess)
        DoMessage(code, SevenZipMessageText(code), fileName);
}

void TSevenZip::PreProgress(uint64_t total)
{
    DoPreProgress(qint64(total));
}

void TSevenZip::FileStarted(bool adding, const QString& fileName, uint64_t size)
{
    if (adding)
        DoAddFile(fileName, qint64(size));
    else
        DoExtractFile(fileName, qint64(size));
}

void TSevenZip::Progress(const QString& fileName, uint64_t archivePosition, uint64_t filePosition)
{
    DoProgress(fileName, qint64(archivePosition), qint64(filePosition));
}

void TSevenZip::SetExtractName(uint32_t index, QString& fileName)
{
    DoSetExtractName(index, fileName);
}

bool TSevenZip::ConfirmOverwrite(const QString& fileName)
{
    bool overwrite = false;
    DoExtractOverwrite(fileName, overwrite);
    return overwrite;
}

void TSevenZip::DoMessage(int errCode, const QString& message, const QString& filename)
{
    if (OnMessage)
        OnMessage(this, errCode, message, filename);
}

void TSevenZip::DoPreProgress(qint64 maxProgress)
{
    if (OnPreProgress)
        OnPreProgress(this, maxProgress);
}

void TSevenZip::DoProgress(const QString& filename, qint64 filePosArc, qint64 filePosFile)
{
    if (OnProgress)
        OnProgress(this, filename, filePosArc, filePosFile);
}

void TSevenZip::DoAddFile(const QString& filename, qint64 filesize)
{
    if (OnAddfile)
        OnAddfile(this, filename, filesize);
}

void TSevenZip::DoExtractFile(const QString& filename, qint64 filesize)
{
    if (OnExtractfile)
        OnExtractfile(this, filename, filesize);
}

void TSevenZip::DoListFile(const QString& filename, qint64 fileindex, qint64 fileSizeU, qint64 fileSizeP,
                           qint64 fileattr, qint64 filecrc, const QString& filemethod, tk::TDateTime fileTime)
{
    if (OnListfile)
        OnListfile(this, filename, fileindex, fileSizeU, fileSizeP, fileattr, filecrc, filemethod, fileTime);
}

void TSevenZip::DoSetAddName(quint32 fileIndex, QString& oldFileName)
{
    if (OnSetAddName)
        OnSetAddName(this, fileIndex, oldFileName);
}

void TSevenZip::DoSetExtractName(quint32 fileIndex, QString& oldFileName)
{
    if (OnSetExtractName)
        OnSetExtractName(this, fileIndex, oldFileName);
}

void TSevenZip::DoExtractOverwrite(const QString& fileName, bool& doOverwrite)
{
    if (OnExtractOverwrite)
        OnExtractOverwrite(this, fileName, doOverwrite);
}

void TSevenZip::DoOpenVolume(const QString& arcFileName, bool removable, bool& cancel)
{
    if (OnOpenVolume)
        OnOpenVolume(this, arcFileName, removable, cancel);
}

}  // namespace safekeep
