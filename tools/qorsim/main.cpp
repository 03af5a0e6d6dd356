// qorsim: the simulated QOR device behind a pseudo-terminal. Prints the terminal's path as its
// first line; open that path (or the --link) as the device's serial port.
//
//   qorsim --link /tmp/qor --memory /tmp/qor-memory --baud 57600

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#if defined(__linux__)
#include <sys/prctl.h>
#endif

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "LineLog.h"
#include "sim/MemoryFiles.h"
#include "sim/SimulatedDevice.h"

namespace {

using vem::SimulatedDevice;
using Clock = std::chrono::steady_clock;

volatile std::sig_atomic_t stopRequested = 0;
void requestStop(int) { stopRequested = 1; }
// SIGUSR1: the device is pulled.
volatile std::sig_atomic_t pullRequested = 0;
void requestPull(int) { pullRequested = 1; }

const char* const usage =
    "usage: qorsim [options]\n"
    "Runs a simulated QOR device behind a pseudo-terminal and prints the terminal's path.\n"
    "  --link PATH           also make PATH a symbolic link to it (an existing link is replaced)\n"
    "  --memory DIR          load the device memory from DIR; save it there after every transfer and at exit\n"
    "  --baud N              pace both directions at N baud, 10 bits a byte (default: instant)\n"
    "  --latency-ms N        start every reply N ms after its request\n"
    "  --wrong-reply-at N    answer request N (from 0) wrongly\n"
    "  --no-reply-at N       ignore request N\n"
    "  --silent-at N         the same as --no-reply-at N\n"
    "  --split               deliver every reply in two pieces, 1 ms apart\n"
    "  --merge-blocks        read-back: send blocks two at a time\n"
    "  --short-readback N    read-back: stop after N blocks\n"
    "  --noise-before-block N\n"
    "                        read commands: N noise bytes (0xA5) 5 ms before every reply of blocks\n"
    "  --noise-after-block N\n"
    "                        the same 5 ms after every reply of blocks\n"
    "  --corrupt-byte N      store byte N of main, header and screen area (end to end) inverted\n"
    "  --idle-baud N         the terminal's speed before a host sets its own (default 57600)\n"
"  --appear-after MS     make the --link only MS ms after start, as a device plugged in then\n"
    "  --vanish-after N      be pulled once N requests of the host have arrived: the link goes and the\n"
    "                        terminal closes at once, the memory is saved and qorsim ends (SIGUSR1: now)\n"
    "  --line-log FILE       write each byte the host sends, and the terminal's speed when it has\n"
    "                        crossed the wire at the --baud rate, to FILE (\"1B 57600\")\n"
    "  --help                this text\n"
    "SIGINT or SIGTERM saves the memory, removes the link and ends.\n";

[[noreturn]] void fail(const std::string& what) {
    std::fprintf(stderr, "qorsim: %s\n", what.c_str());
    std::exit(2);
}

struct Options {
    vem::DeviceFaults faults;
    std::string link;
    std::string memory;
    long idleBaud = 57600;
    std::string lineLog;
    int appearAfterMs = 0;
    int vanishAfter = -1;
};

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) fail(arg + " needs a value");
            return argv[++i];
        };
        auto number = [&](int lo) {
            const std::string v = value();
            char* end = nullptr;
            errno = 0;
            const long n = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || errno != 0 || n < lo || n > 100'000'000)
                fail(arg + ": '" + v + "' is not a number from " + std::to_string(lo));
            return static_cast<int>(n);
        };
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            std::exit(0);
        } else if (arg == "--link") {
            o.link = value();
        } else if (arg == "--memory") {
            o.memory = value();
        } else if (arg == "--baud") {
            o.faults.baud = number(0);
        } else if (arg == "--latency-ms") {
            o.faults.latencyMs = number(0);
        } else if (arg == "--wrong-reply-at") {
            o.faults.wrongReplyAt = number(0);
        } else if (arg == "--no-reply-at" || arg == "--silent-at") {
            o.faults.noReplyAt = number(0);
        } else if (arg == "--split") {
            o.faults.splitReplies = true;
        } else if (arg == "--merge-blocks") {
            o.faults.mergeBlocks = true;
        } else if (arg == "--short-readback") {
            o.faults.shortReadBack = number(0);
        } else if (arg == "--noise-before-block") {
            o.faults.noiseBeforeBlocks = number(0);
        } else if (arg == "--noise-after-block") {
            o.faults.noiseAfterBlocks = number(0);
        } else if (arg == "--corrupt-byte") {
            o.faults.corruptStoredByte = number(0);
        } else if (arg == "--idle-baud") {
            o.idleBaud = number(1);
            if (speedOf(o.idleBaud) == B0) fail("--idle-baud: no terminal speed " + std::to_string(o.idleBaud));
        } else if (arg == "--appear-after") {
            o.appearAfterMs = number(0);
        } else if (arg == "--vanish-after") {
            o.vanishAfter = number(0);
        } else if (arg == "--line-log") {
            o.lineLog = value();
        } else {
            fail("unknown option " + arg + " (see --help)");
        }
    }
    return o;
}

// Makes `link` name `target`, replacing a link (never a file) that is there.
void makeLink(const std::string& link, const std::string& target) {
    struct stat st{};
    if (::lstat(link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) fail(link + " exists and is not a link");
    // A hidden name beside it, so that a watcher of the folder sees only the link itself appear.
    const std::size_t slash = link.rfind('/');
    const std::size_t nameAt = slash == std::string::npos ? 0 : slash + 1;
    const std::string temp = link.substr(0, nameAt) + "." + link.substr(nameAt) + ".qorsim" + std::to_string(::getpid());
    ::unlink(temp.c_str());
    if (::symlink(target.c_str(), temp.c_str()) != 0 || ::rename(temp.c_str(), link.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        ::unlink(temp.c_str());
        fail("cannot make the link " + link + ": " + why);
    }
}

// Removes `link` if it still names `target`; another run may have taken it over.
void removeLink(const std::string& link, const std::string& target) {
    std::vector<char> buffer(4096);
    const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
    if (n > 0 && std::string(buffer.data(), static_cast<std::size_t>(n)) == target) ::unlink(link.c_str());
}

struct Terminal {
    int master = -1;
    int slave = -1;  // held open so that the master never sees a hang-up while the host reopens
    std::string path;
};

Terminal openTerminal(long idleBaud) {
    Terminal t;
    t.master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (t.master < 0 || ::grantpt(t.master) != 0 || ::unlockpt(t.master) != 0)
        fail(std::string("no pseudo-terminal: ") + std::strerror(errno));
    const char* name = ::ptsname(t.master);
    if (name == nullptr) fail(std::string("no pseudo-terminal name: ") + std::strerror(errno));
    t.path = name;
    t.slave = ::open(t.path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (t.slave < 0) fail("cannot open " + t.path + ": " + std::strerror(errno));
    termios tio{};
    if (::tcgetattr(t.slave, &tio) != 0) fail(std::string("tcgetattr: ") + std::strerror(errno));
    ::cfmakeraw(&tio);
    ::cfsetspeed(&tio, speedOf(idleBaud));
    if (::tcsetattr(t.slave, TCSANOW, &tio) != 0) fail(std::string("tcsetattr: ") + std::strerror(errno));
    ::fcntl(t.master, F_SETFL, ::fcntl(t.master, F_GETFL) | O_NONBLOCK);
    return t;
}

class Simulator {
public:
    Simulator(const Options& options, Terminal terminal)
        : options_(options), terminal_(std::move(terminal)), device_(options.faults) {
        if (!options_.lineLog.empty()) lineLog_.emplace(options_.lineLog, options_.faults.baud, terminal_.master);
    }

    bool loadMemory() {
        return options_.memory.empty() || vem::loadMemory(device_.memory(), options_.memory);
    }
    bool lineLogOpen() const { return !lineLog_ || lineLog_->ok(); }

    void run(const sigset_t& waitMask) {
        while (!stopRequested) {
            if (!linked_ && now() >= appearAt()) {
                if (!options_.link.empty()) makeLink(options_.link, terminal_.path);
                linked_ = true;
            }
            if (pullRequested || (options_.vanishAfter >= 0 && device_.requestsTaken() >= options_.vanishAfter)) {
                pulled_ = true;
                return;
            }
            writeDue();
            saveIfChanged();
            if (lineLog_) lineLog_->record(now());
            pollfd p{terminal_.master, POLLIN, 0};
            if (!pending_.empty()) p.events |= POLLOUT;
            timespec timeout{};
            timespec* wait = nullptr;
            std::optional<SimulatedDevice::Time> next;
            if (pending_.empty()) next = device_.nextOutputAt();
            if (const auto logged = lineLog_ ? lineLog_->nextDue() : std::nullopt; logged && (!next || *logged < *next))
                next = logged;
            if (!linked_ && (!next || appearAt() < *next)) next = appearAt();
            if (next) {
                const auto left = std::max(*next - now(), SimulatedDevice::Time(0));
                timeout.tv_sec = static_cast<time_t>(left.count() / 1'000'000'000);
                timeout.tv_nsec = static_cast<long>(left.count() % 1'000'000'000);
                wait = &timeout;
            }
            const int ready = ::ppoll(&p, 1, wait, &waitMask);
            if (ready < 0) {
                if (errno == EINTR) continue;
                fail(std::string("poll: ") + std::strerror(errno));
            }
            if (p.revents & POLLIN) readInput();
            if ((p.revents & (POLLHUP | POLLERR)) && !(p.revents & POLLIN))
                std::this_thread::sleep_for(std::chrono::milliseconds(20));  // nobody on the line: wait
        }
    }

    // Pulled: the link goes and the line drops at once, with whatever the device holds by then.
    void pull() {
        if (linked_ && !options_.link.empty()) removeLink(options_.link, terminal_.path);
        ::close(terminal_.master);
        ::close(terminal_.slave);
        if (!options_.memory.empty() && !vem::saveMemory(device_.memory(), options_.memory))
            std::fprintf(stderr, "qorsim: cannot save the memory to %s\n", options_.memory.c_str());
    }
    bool pulled() const { return pulled_; }

    void shutDown() {
        while (lineLog_ && lineLog_->nextDue()) {
            std::this_thread::sleep_until(start_ + *lineLog_->nextDue());
            lineLog_->record(now());
        }
        // Give unsent replies a moment, then let the host read what was written last: closing
        // the master drops what the slave side has not read yet.
        const auto giveUp = now() + std::chrono::milliseconds(200);
        writeDue();
        while (!pending_.empty() && now() < giveUp) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            writeDue();
        }
        const auto quiet = lastWrite_ + std::chrono::milliseconds(100);
        if (lastWrite_.count() > 0 && now() < quiet) std::this_thread::sleep_for(quiet - now());
        if (!options_.memory.empty() && !vem::saveMemory(device_.memory(), options_.memory))
            std::fprintf(stderr, "qorsim: cannot save the memory to %s\n", options_.memory.c_str());
        if (linked_ && !options_.link.empty()) removeLink(options_.link, terminal_.path);
        ::close(terminal_.master);
        ::close(terminal_.slave);
    }

private:
    SimulatedDevice::Time appearAt() const { return std::chrono::milliseconds(options_.appearAfterMs); }
    SimulatedDevice::Time now() const {
        return std::chrono::duration_cast<SimulatedDevice::Time>(Clock::now() - start_);
    }

    void readInput() {
        std::uint8_t buffer[4096];
        for (;;) {
            const ssize_t n = ::read(terminal_.master, buffer, sizeof buffer);
            if (n > 0) {
                const std::span bytes(buffer, static_cast<std::size_t>(n));
                device_.receive(bytes, now());
                if (lineLog_) lineLog_->arrived(bytes, now());
                continue;
            }
            if (n < 0 && errno == EINTR) continue;
            return;  // EAGAIN, or EIO while no one holds the line
        }
    }

    void writeDue() {
        const auto due = device_.takeOutput(now());
        pending_.insert(pending_.end(), due.begin(), due.end());
        while (!pending_.empty()) {
            const ssize_t n = ::write(terminal_.master, pending_.data(), pending_.size());
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return;  // the line is full; poll says when it takes more
            pending_.erase(pending_.begin(), pending_.begin() + n);
            lastWrite_ = now();
        }
    }

    void saveIfChanged() {
        if (options_.memory.empty() || device_.completedTransfers() == saved_) return;
        saved_ = device_.completedTransfers();
        if (!vem::saveMemory(device_.memory(), options_.memory))
            std::fprintf(stderr, "qorsim: cannot save the memory to %s\n", options_.memory.c_str());
    }

    Options options_;
    Terminal terminal_;
    SimulatedDevice device_;
    std::optional<LineLog> lineLog_;
    Clock::time_point start_ = Clock::now();
    std::vector<std::uint8_t> pending_;
    SimulatedDevice::Time lastWrite_{0};
    int saved_ = 0;
    bool linked_ = options_.appearAfterMs == 0;  // made before the path is printed
    bool pulled_ = false;
};

}  // namespace

int main(int argc, char** argv) {
    const Options options = parse(argc, argv);

    // SIGINT and SIGTERM are taken only while waiting in ppoll, so a stop is never missed.
    sigset_t stops;
    sigemptyset(&stops);
    sigaddset(&stops, SIGINT);
    sigaddset(&stops, SIGTERM);
    sigaddset(&stops, SIGHUP);
    sigaddset(&stops, SIGUSR1);
    sigset_t waitMask;
    sigprocmask(SIG_BLOCK, &stops, &waitMask);
    struct sigaction action{};
    action.sa_handler = requestStop;
    sigemptyset(&action.sa_mask);
    for (const int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &action, nullptr);
    action.sa_handler = requestPull;
    sigaction(SIGUSR1, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
#if defined(__linux__)
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);  // wake on time: a byte at 57600 baud is 174 us
#endif

    Terminal terminal = openTerminal(options.idleBaud);
    const std::string path = terminal.path;
    Simulator simulator(options, std::move(terminal));
    if (!simulator.loadMemory()) fail("cannot load the memory from " + options.memory);
    if (!simulator.lineLogOpen()) fail("cannot write " + options.lineLog);
    if (!options.link.empty()) {
        struct stat st{};
        if (::lstat(options.link.c_str(), &st) == 0 && !S_ISLNK(st.st_mode)) fail(options.link + " exists and is not a link");
        if (options.appearAfterMs == 0) makeLink(options.link, path);
    }
    std::printf("%s\n", path.c_str());
    std::fflush(stdout);

    simulator.run(waitMask);
    if (simulator.pulled()) simulator.pull();
    else simulator.shutDown();
    return 0;
}
