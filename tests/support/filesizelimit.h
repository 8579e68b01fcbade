#pragma once
// Simulates a full disk for the tests: while an instance lives, no file of this process
// can grow beyond the limit (writes past it fail with EFBIG instead of raising SIGXFSZ).
#include <sys/resource.h>

#include <csignal>

namespace oboro::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;
    bool active() const { return active_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = SIG_DFL;
    bool active_ = false;
};

} // namespace oboro::test
