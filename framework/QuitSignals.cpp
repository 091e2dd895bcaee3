#include "framework/QuitSignals.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};
int pipe_[2] = {-1, -1};
struct sigaction earlier_[kSignals.size()];

// Only what may be done inside a signal handler: one write, errno left as it was.
void Handler(int signal)
{
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(pipe_[1], &number, 1);
    errno = saved;
}

} // namespace

TQuitSignals::TQuitSignals(QObject* parent) : QObject(parent)
{
    if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0)
        return;  // the system's own handling stays
    notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &TQuitSignals::Read);
    struct sigaction action {};
    action.sa_handler = Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &action, &earlier_[i]);
}

TQuitSignals::~TQuitSignals()
{
    if (!notifier_)
        return;
    for (std::size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &earlier_[i], nullptr);
    notifier_.reset();
    close(pipe_[0]);
    close(pipe_[1]);
    pipe_[0] = pipe_[1] = -1;
}

void TQuitSignals::Read()
{
    unsigned char numbers[16];
    for (ssize_t count; (count = read(pipe_[0], numbers, sizeof numbers)) > 0 || (count < 0 && errno == EINTR);)
        for (ssize_t i = 0; i < count; ++i)
            emit Received(numbers[i]);
}
