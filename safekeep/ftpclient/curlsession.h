#pragma once
// One libcurl session: an easy handle and the multi handle that drives it
// and keeps its connection between requests, so that one control connection
// serves a whole flow of requests.
//
// The anti-freeze lives here. libcurl blocks in places no option reaches
// (after the last byte of a transfer it waits for the server's final reply,
// and closing waits for the answer to QUIT), so requests run on a helper
// thread while the calling thread keeps handling the application's events,
// at most every kPumpIntervalMs. The handles are used by one thread at a
// time: the helper during Perform and Close, the caller in between.

#include <QByteArray>
#include <QString>
#include <atomic>
#include <curl/curl.h>
#include <functional>

namespace safekeep {

// Owns a curl_slist (QUOTE commands) for the duration of a request.
class TCurlList {
public:
    TCurlList() = default;
    ~TCurlList() { curl_slist_free_all(list_); }
    TCurlList(const TCurlList&) = delete;
    TCurlList& operator=(const TCurlList&) = delete;

    void Append(const QByteArray& line) { list_ = curl_slist_append(list_, line.constData()); }
    curl_slist* Get() const { return list_; }

private:
    curl_slist* list_ = nullptr;
};

class TCurlSession {
public:
    // How often the application's events run during a request, at most.
    static constexpr int kPumpIntervalMs = 20;

    TCurlSession();
    // Closes without handling events (see Close).
    ~TCurlSession();
    TCurlSession(const TCurlSession&) = delete;
    TCurlSession& operator=(const TCurlSession&) = delete;

    // Clears every option of the previous request (the open connection
    // stays) and returns the handle to set up the next one. The error
    // buffer, the no-signal option and the progress bookkeeping are set.
    CURL* NewRequest();
    // The handle of the last request (null before the first).
    CURL* Handle() const { return easy_; }

    // Runs the request to its end. Meanwhile, at most every
    // kPumpIntervalMs, calls betweenSlices and lets the application handle
    // its pending events. An exception from betweenSlices cancels the
    // request (its connection is dropped) and is raised once it stopped.
    CURLcode Perform(const std::function<void()>& betweenSlices);

    // Bytes moved so far by the running request, and the size the server
    // announced for a download (-1 until known); readable during Perform.
    qint64 Uploaded() const { return uploaded_; }
    qint64 Downloaded() const { return downloaded_; }
    qint64 DownloadSize() const { return downloadSize_; }

    // The text for a failed request: libcurl's message and the details it
    // wrote for this request.
    QString ErrorText(CURLcode code) const;
    // The last reply code of the server (530, 550...), 0 when none.
    long ResponseCode() const;

    // Closes the connection (QUIT when it is healthy) and frees the handles;
    // the next request opens a new connection. Handling events meanwhile,
    // unless told not to (in destructors).
    void Close(bool handleEvents = true);

private:
    void Open();
    // Runs work on a helper thread while this thread handles events.
    void RunAside(const std::function<void()>& work, const std::function<void()>& betweenSlices);
    CURLcode DriveToEnd();
    static int OnProgress(void* session, curl_off_t dltotal, curl_off_t dlnow, curl_off_t ultotal, curl_off_t ulnow);

    CURLM* multi_ = nullptr;
    CURL* easy_ = nullptr;
    char errorBuffer_[CURL_ERROR_SIZE] = {};
    std::atomic<bool> cancel_ = false;
    std::atomic<qint64> uploaded_ = 0;
    std::atomic<qint64> downloaded_ = 0;
    std::atomic<qint64> downloadSize_ = -1;
};

}  // namespace safekeep
