#include "safekeep/sevenzip/extractcallback.h"

#include "safekeep/sevenzip/messages.h"
#include "safekeep/sevenzip/opencallback.h"
#include "safekeep/sevenzip/operation.h"
#include "safekeep/sevenzip/propvariant.h"
#include "safekeep/sevenzip/storednames.h"
#include "toolkit/core/fileutils.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace safekeep::sz {

TComPtr<TMyArchiveExtractCallback> TMyArchiveExtractCallback::Create(TOperation& operation,
                                                                     IInArchive* archive, TSettings settings)
{
    return TComPtr<TMyArchiveExtractCallback>::Adopt(
        new TMyArchiveExtractCallback(operation, archive, std::move(settings)));
}

TMyArchiveExtractCallback::TMyArchiveExtractCallback(TOperation& operation, IInArchive* archive,
                                                     TSettings settings)
    : operation_(operation), archive_(archive), settings_(std::move(settings))
{
}

HRESULT TMyArchiveExtractCallback::QueryInterface(const GUID& iid, void** out)
{
    if (iid == IID_IUnknown || iid == IID_IProgress || iid == IID_IArchiveExtractCallback) {
        *out = static_cast<IArchiveExtractCallback*>(this);
    } else if (iid == IID_ICryptoGetTextPassword) {
        *out = static_cast<ICryptoGetTextPassword*>(this);
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT TMyArchiveExtractCallback::SetTotal(uint64_t total)
{
    if (settings_.announceTotal && !operation_.PreProgress(total))
        return E_ABORT;
    return S_OK;
}

HRESULT TMyArchiveExtractCallback::SetCompleted(const uint64_t* completed)
{
    return operation_.Completed(completed);
}

HRESULT TMyArchiveExtractCallback::GetStream(uint32_t index, ISequentialOutStream** out, int32_t askMode)
{
    *out = nullptr;
    ResetItem();
    if (operation_.Stopped())
        return E_ABORT;
    item_.active = true;
    // Items the library passes over (others of a solid block) are none of
    // our business.
    if (askMode == kAskSkip) {
        item_.ignored = true;
        return S_OK;
    }
    TPropVariant path(operation_.Library());
    TPropVariant isDir(operation_.Library());
    TPropVariant size(operation_.Library());
    TPropVariant attributes(operation_.Library());
    TPropVariant modified(operation_.Library());
    archive_->GetProperty(index, kpidPath, path.Receive());
    archive_->GetProperty(index, kpidIsDir, isDir.Receive());
    archive_->GetProperty(index, kpidSize, size.Receive());
    archive_->GetProperty(index, kpidAttrib, attributes.Receive());
    archive_->GetProperty(index, kpidMTime, modified.Receive());
    const QString storedName = path.Text();
    const bool isFolder = isDir.Bool().value_or(false);
    item_.modified = modified.FileTime();

    if (settings_.testOnly) {
        item_.fileName = storedName;
        if (!isFolder && !operation_.StartFile(storedName, size.Number().value_or(0)))
            return E_ABORT;
        return S_OK;
    }
    item_.fileName = settings_.folder + NormalizedStoredName(storedName);
    // In extract mode the library asks for a test when it cannot produce the
    // item's data (a wrong password): nothing is written, and the result
    // that follows is reported.
    if (askMode != kAskExtract)
        return S_OK;
    return PrepareOutput(index, storedName, isFolder, size.Number().value_or(0), attributes.Number(), out);
}

HRESULT TMyArchiveExtractCallback::PrepareOutput(uint32_t index, const QString& storedName, bool isFolder,
                                                 uint64_t size, std::optional<uint64_t> attributes,
                                                 ISequentialOutStream** out)
{
    std::optional<QStringList> parts = SafeStoredNameParts(storedName);
    if (!parts)
        return FailItem(EINVAL);
    if (settings_.noPath) {
        // Without paths a folder item has nothing to create.
        if (isFolder) {
            item_.ignored = true;
            return S_OK;
        }
        *parts = QStringList{parts->last()};
    }
    const QString target = settings_.folder + parts->join(QLatin1Char('/'));
    QString fileName = target;
    TArchiveEvents& events = operation_.Events();
    if (!operation_.Deliver([&] { events.SetExtractName(index, fileName); }))
        return E_ABORT;
    item_.fileName = fileName;

    // The folders below the extraction folder come from the archive and are
    // walked without following links; a name the application chose is
    // trusted up to its own folder.
    QString base;
    QStringList folders;
    QString leaf;
    if (fileName == target) {
        base = settings_.folder;
        leaf = parts->takeLast();
        folders = *parts;
    } else {
        base = tk::ExtractFilePath(fileName);
        leaf = tk::ExtractFileName(fileName);
    }
    if (leaf.isEmpty())
        return FailItem(EINVAL);
    if (!base.isEmpty() && !tk::ForceDirectories(tk::ExcludeTrailingPathDelimiter(base)))
        return FailItem(tk::LastFileError());
    if (isFolder) {
        const int fd = OpenFolderChain(base, folders << leaf, true);
        if (fd < 0)
            return FailItem(errno);
        ::close(fd);
        return S_OK;
    }

    struct stat existing {};
    if (!settings_.overwrite && ::lstat(fileName.toLocal8Bit().constData(), &existing) == 0) {
        bool overwrite = false;
        if (!operation_.Deliver([&] { overwrite = events.ConfirmOverwrite(fileName); }))
            return E_ABORT;
        if (!overwrite) {
            item_.ignored = true;
            return S_OK;
        }
    }
    if (!item_.file.Create(base, folders, leaf, FileModeFromAttributes(attributes)))
        return FailItem(errno);
    const int fd = item_.file.Fd();
    item_.writer = TMyStreamWriter::Create([fd](int) { return fd; });
    if (!operation_.StartFile(fileName, size))
        return E_ABORT;
    TComPtr<TMyStreamWriter> handedOut = item_.writer;
    *out = handedOut.Detach();
    return S_OK;
}

HRESULT TMyArchiveExtractCallback::FailItem(int error)
{
    item_.failed = true;
    anyItemFailed_ = true;
    return operation_.Report(szCouldNotCreateFile, item_.fileName, error) ? S_OK : E_ABORT;
}

HRESULT TMyArchiveExtractCallback::PrepareOperation(int32_t)
{
    return S_OK;
}

HRESULT TMyArchiveExtractCallback::SetOperationResult(int32_t result)
{
    if (!item_.active || item_.ignored || item_.failed) {
        ResetItem();
        return S_OK;
    }
    int code = MessageCodeForItemResult(result);
    int error = 0;
    if (item_.file.IsOpen()) {
        const int writeError = item_.writer ? item_.writer->WriteError() : 0;
        if (code != szSuccess) {
            item_.file.Discard();
        } else if (writeError != 0) {
            item_.file.Discard();
            code = szCouldNotCreateFile;
            error = writeError;
        } else if (!item_.file.Commit(item_.modified)) {
            code = szCouldNotCreateFile;
            error = errno;
        }
    }
    if (code != szSuccess)
        anyItemFailed_ = true;
    const bool delivered = operation_.Report(code, item_.fileName, error);
    ResetItem();
    return delivered ? S_OK : E_ABORT;
}

HRESULT TMyArchiveExtractCallback::CryptoGetTextPassword(BSTR* password)
{
    return AnswerPasswordRequest(operation_.Library(), operation_.Password(), password);
}

void TMyArchiveExtractCallback::Finish()
{
    if (item_.active && !item_.ignored && !item_.failed && item_.file.IsOpen()) {
        const int writeError = item_.writer ? item_.writer->WriteError() : 0;
        item_.file.Discard();
        if (writeError != 0) {
            anyItemFailed_ = true;
            operation_.Report(szCouldNotCreateFile, item_.fileName, writeError);
        }
    }
    ResetItem();
}

void TMyArchiveExtractCallback::ResetItem()
{
    item_.file.Discard();
    item_.writer.Reset();
    item_.active = false;
    item_.ignored = false;
    item_.failed = false;
    item_.fileName.clear();
    item_.modified.reset();
}

}  // namespace safekeep::sz
