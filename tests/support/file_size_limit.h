#pragma once
// FileSizeLimit: while it lives, files this process writes cannot grow past
// a number of bytes (RLIMIT_FSIZE, with SIGXFSZ ignored so the write fails
// instead of killing the test). It makes a save fail also for root, whom
// folder permissions do not stop.

#include <csignal>
#include <sys/resource.h>

namespace tk::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    sighandler_t previousHandler_ = nullptr;
};

}  // namespace tk::test
