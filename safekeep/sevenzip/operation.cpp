#include "safekeep/sevenzip/operation.h"

#include "safekeep/sevenzip/messages.h"
#include "safekeep/sevenzip/runner.h"

namespace safekeep::sz {

TOperation::TOperation(TArchiveEvents& events, TCallerThreadRunner& runner, const TSevenZipLibrary& library,
                       const QString& password, bool adding)
    : events_(events), runner_(runner), library_(library), password_(password), adding_(adding)
{
}

bool TOperation::Deliver(const std::function<void()>& event)
{
    if (runner_.Deliver(event))
        return true;
    stopped_ = true;
    return false;
}

bool TOperation::Report(int code, const QString& fileName, int error)
{
    return Deliver([&] { events_.Report(code, fileName, error); });
}

bool TOperation::PreProgress(uint64_t total)
{
    return Deliver([&] { events_.PreProgress(total); });
}

bool TOperation::StartFile(const QString& fileName, uint64_t size)
{
    {
        std::lock_guard lock(mutex_);
        currentFile_ = fileName;
        filePosition_ = 0;
    }
    return Deliver([&] { events_.FileStarted(adding_, fileName, size); });
}

HRESULT TOperation::Completed(const uint64_t* completed)
{
    if (stopped_)
        return E_ABORT;
    if (events_.CancelRequested())
        return StopForCancel();
    QString fileName;
    uint64_t archivePosition;
    uint64_t filePosition;
    {
        std::lock_guard lock(mutex_);
        if (completed && *completed >= lastCompleted_) {
            filePosition_ += *completed - lastCompleted_;
            lastCompleted_ = *completed;
        }
        fileName = currentFile_;
        archivePosition = lastCompleted_;
        filePosition = filePosition_;
    }
    if (!Deliver([&] { events_.Progress(fileName, archivePosition, filePosition); }))
        return E_ABORT;
    // A Cancel from the progress handler takes effect at once.
    return events_.CancelRequested() ? StopForCancel() : S_OK;
}

HRESULT TOperation::StopForCancel()
{
    if (stopped_.exchange(true))
        return E_ABORT;
    QString fileName;
    {
        std::lock_guard lock(mutex_);
        fileName = currentFile_;
    }
    Report(szUserCanceled, fileName);
    return E_ABORT;
}

}  // namespace safekeep::sz
