#pragma once
// While alive, no file the process writes may grow beyond `bytes`: a write past it fails as on a
// full disk, even for a privileged user (the signal such a write raises is ignored).

#include <csignal>
#include <sys/resource.h>

class ScopedWriteLimit {
public:
    explicit ScopedWriteLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedWriteLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

private:
    rlimit saved_{};
};
