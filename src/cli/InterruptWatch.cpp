#include "InterruptWatch.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace vem::cli {
namespace {

// The pipe's writing end, for the handler; -1 while no watch lives.
volatile std::sig_atomic_t writeEnd = -1;

// Only what is safe in a signal handler: one write, errno as it was.
void onSignalArrived(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    if (writeEnd >= 0) {
        const ssize_t written = ::write(writeEnd, &number, 1);
        (void)written;  // a full pipe holds a signal already
    }
    errno = saved;
}

}  // namespace

InterruptWatch::InterruptWatch() {
    if (writeEnd >= 0 || ::pipe2(pipe_, O_NONBLOCK | O_CLOEXEC) != 0) return;
    writeEnd = pipe_[1];
    notifier_ = new QSocketNotifier(pipe_[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &InterruptWatch::onSignal);
    struct sigaction action {};
    action.sa_handler = onSignalArrived;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(Watched); ++i) ::sigaction(Watched[i], &action, &former_[i]);
}

InterruptWatch::~InterruptWatch() {
    if (pipe_[0] < 0) return;
    for (std::size_t i = 0; i < std::size(Watched); ++i) ::sigaction(Watched[i], &former_[i], nullptr);
    writeEnd = -1;
    ::close(pipe_[0]);
    ::close(pipe_[1]);
}

void InterruptWatch::onSignal() {
    unsigned char number = 0;
    while (::read(pipe_[0], &number, 1) == 1) {
        if (signal_ != 0) continue;
        signal_ = number;
        emit interrupted(signal_);
    }
}

}  // namespace vem::cli
