#pragma once
// What the callbacks of one Add or Extract share: the way back to the
// component's events (always run on the component's thread, through the
// runner), the password taken when the operation started, the progress of
// the current file and the cancel state.

#include "safekeep/sevenzip/abi.h"

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>

namespace safekeep::sz {

class TCallerThreadRunner;
class TSevenZipLibrary;

// The component's side of an operation. Called on the component's thread.
class TArchiveEvents {
public:
    // Sets ErrCode (and LastError when error is not 0) and raises OnMessage
    // unless code is 0.
    virtual void Report(int code, const QString& fileName, int error) = 0;
    virtual void PreProgress(uint64_t total) = 0;
    // OnAddfile or OnExtractfile.
    virtual void FileStarted(bool adding, const QString& fileName, uint64_t size) = 0;
    virtual void Progress(const QString& fileName, uint64_t archivePosition, uint64_t filePosition) = 0;
    virtual void SetExtractName(uint32_t index, QString& fileName) = 0;
    // OnExtractOverwrite's answer (false without a handler).
    virtual bool ConfirmOverwrite(const QString& fileName) = 0;
    // Records an errno in LastError without a message. Any thread.
    virtual void RecordError(int error) = 0;
    // The cancel flag. Any thread.
    virtual bool CancelRequested() const = 0;

protected:
    ~TArchiveEvents() = default;
};

class TOperation {
public:
    TOperation(TArchiveEvents& events, TCallerThreadRunner& runner, const TSevenZipLibrary& library,
               const QString& password, bool adding);

    const TSevenZipLibrary& Library() const { return library_; }
    const QString& Password() const { return password_; }
    TArchiveEvents& Events() const { return events_; }

    // Runs event on the component's thread. False when it raised; the
    // operation is stopped then.
    bool Deliver(const std::function<void()>& event);
    bool Report(int code, const QString& fileName, int error = 0);
    bool PreProgress(uint64_t total);

    // A file starts: OnAddfile or OnExtractfile, and its progress restarts.
    bool StartFile(const QString& fileName, uint64_t size);
    // A progress report of the library (bytes done so far, may be null):
    // OnProgress with the current file's position grown by as much. Once
    // cancelled, reports code 6 (once) and answers E_ABORT, which stops the
    // library.
    HRESULT Completed(const uint64_t* completed);
    // True once the operation was cancelled or a handler raised.
    bool Stopped() const { return stopped_; }

private:
    HRESULT StopForCancel();

    TArchiveEvents& events_;
    TCallerThreadRunner& runner_;
    const TSevenZipLibrary& library_;
    const QString password_;
    const bool adding_;
    std::atomic<bool> stopped_{false};
    std::mutex mutex_;  // guards the progress state below
    QString currentFile_;
    uint64_t lastCompleted_ = 0;
    uint64_t filePosition_ = 0;
};

}  // namespace safekeep::sz
