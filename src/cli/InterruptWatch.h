#pragma once
#include <QObject>
#include <csignal>
#include <iterator>

class QSocketNotifier;

namespace vem::cli {

// While it lives, SIGINT, SIGTERM and SIGHUP (a closed terminal) do not end the process: each arrives as `interrupted` in
// the event loop (through a pipe that the signal handler writes to). One at a time.
class InterruptWatch : public QObject {
    Q_OBJECT
public:
    InterruptWatch();
    ~InterruptWatch() override;  // the signals' former actions again

    // The first signal that came; 0 while none has.
    int signal() const { return signal_; }
    // What the process exits with after `signal`, as a shell reports it.
    static int exitCode(int signal) { return 128 + signal; }

signals:
    // Only for the first signal; later ones change nothing.
    void interrupted(int signal);

private:
    void onSignal();

    int pipe_[2] = {-1, -1};
    QSocketNotifier* notifier_ = nullptr;
    static constexpr int Watched[] = {SIGINT, SIGTERM, SIGHUP};
    struct sigaction former_[std::size(Watched)] {};
    int signal_ = 0;
};

}  // namespace vem::cli
