#include "safekeep/ftpclient/curlsession.h"

#include "safekeep/ftpclient/ftperror.h"
#include "toolkit/core/application.h"

#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

namespace safekeep {

namespace {

// libcurl's own loop waits up to a second between checks, which shows as
// an occasional one-second stall before a data connection; ours wakes often.
constexpr int kPollMs = 20;

void InitializeCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

}  // namespace

TCurlSession::TCurlSession()
{
    InitializeCurlOnce();
}

TCurlSession::~TCurlSession()
{
    Close(false);
}

void TCurlSession::Open()
{
    if (!multi_)
        multi_ = curl_multi_init();
    if (!easy_)
        easy_ = curl_easy_init();
    if (!multi_ || !easy_)
        throw EFtpError(QStringLiteral("libcurl could not start a session"));
}

CURL* TCurlSession::NewRequest()
{
    Open();
    curl_easy_reset(easy_);
    errorBuffer_[0] = '\0';
    curl_easy_setopt(easy_, CURLOPT_ERRORBUFFER, errorBuffer_);
    curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy_, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy_, CURLOPT_XFERINFOFUNCTION, &TCurlSession::OnProgress);
    curl_easy_setopt(easy_, CURLOPT_XFERINFODATA, this);
    return easy_;
}

int TCurlSession::OnProgress(void* session, curl_off_t dltotal, curl_off_t dlnow, curl_off_t, curl_off_t ulnow)
{
    // Runs on the helper thread, also inside libcurl's blocking waits (about
    // once a second there), which makes it the one way to stop those.
    auto* self = static_cast<TCurlSession*>(session);
    self->uploaded_ = ulnow;
    self->downloaded_ = dlnow;
    if (dltotal > 0)
        self->downloadSize_ = dltotal;
    return self->cancel_ ? 1 : 0;
}

CURLcode TCurlSession::Perform(const std::function<void()>& betweenSlices)
{
    uploaded_ = 0;
    downloaded_ = 0;
    downloadSize_ = -1;
    CURLcode result = CURLE_FAILED_INIT;
    RunAside([this, &result] { result = DriveToEnd(); }, betweenSlices);
    return result;
}

CURLcode TCurlSession::DriveToEnd()
{
    if (curl_multi_add_handle(multi_, easy_) != CURLM_OK)
        return CURLE_FAILED_INIT;
    CURLcode result = CURLE_FAILED_INIT;
    int running = 1;
    while (running > 0 && !cancel_) {
        if (curl_multi_perform(multi_, &running) != CURLM_OK)
            break;
        if (running > 0)
            curl_multi_poll(multi_, nullptr, 0, kPollMs, nullptr);
    }
    if (cancel_ && running > 0) {
        result = CURLE_ABORTED_BY_CALLBACK;  // taken out unfinished: the connection is dropped
    } else {
        int queued = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
            if (message->msg == CURLMSG_DONE && message->easy_handle == easy_)
                result = message->data.result;
        }
    }
    curl_multi_remove_handle(multi_, easy_);
    return result;
}

void TCurlSession::RunAside(const std::function<void()>& work, const std::function<void()>& betweenSlices)
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    cancel_ = false;
    std::thread helper([&] {
        work();
        std::lock_guard<std::mutex> lock(mutex);
        done = true;
        finished.notify_one();
    });

    std::exception_ptr failure;
    for (;;) {
        {
            std::unique_lock<std::mutex> lock(mutex);
            if (finished.wait_for(lock, std::chrono::milliseconds(kPumpIntervalMs), [&] { return done; }))
                break;
        }
        if (betweenSlices && !failure) {
            try {
                betweenSlices();
            } catch (...) {
                failure = std::current_exception();
                cancel_ = true;
                if (multi_)
                    curl_multi_wakeup(multi_);
            }
        }
        tk::Application().ProcessMessages();
    }
    helper.join();
    cancel_ = false;
    if (failure)
        std::rethrow_exception(failure);
}

QString TCurlSession::ErrorText(CURLcode code) const
{
    // The buffer holds the details ("Access denied: 530"); the library's
    // message names the kind of failure ("Login denied"). Say both unless
    // the details already do.
    const QString summary = QString::fromUtf8(curl_easy_strerror(code));
    const QString details = QString::fromUtf8(errorBuffer_).trimmed();
    if (details.isEmpty() || details == summary)
        return summary;
    if (details.contains(summary))
        return details;
    return QStringLiteral("%1 (%2)").arg(summary, details);
}

long TCurlSession::ResponseCode() const
{
    long code = 0;
    if (easy_)
        curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
    return code;
}

void TCurlSession::Close(bool handleEvents)
{
    // The multi handle holds the connection cache: cleaning it up sends QUIT
    // on a healthy connection, waits for the answer and closes every socket.
    CURLM* multi = std::exchange(multi_, nullptr);
    CURL* easy = std::exchange(easy_, nullptr);
    const auto cleanup = [multi, easy] {
        if (multi)
            curl_multi_cleanup(multi);
        if (easy)
            curl_easy_cleanup(easy);
    };
    if (handleEvents && multi)
        RunAside(cleanup, nullptr);
    else
        cleanup();
}

}  // namespace safekeep
