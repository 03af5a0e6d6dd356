#include "LineLog.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<speed_t, long>, 9> Speeds{{{B1200, 1200},
                                                        {B2400, 2400},
                                                        {B4800, 4800},
                                                        {B9600, 9600},
                                                        {B19200, 19200},
                                                        {B38400, 38400},
                                                        {B57600, 57600},
                                                        {B115200, 115200},
                                                        {B230400, 230400}}};

}  // namespace

long baudOf(speed_t speed) {
    for (const auto& [s, baud] : Speeds)
        if (s == speed) return baud;
    return 0;
}

speed_t speedOf(long baud) {
    for (const auto& [s, b] : Speeds)
        if (b == baud) return s;
    return B0;
}

LineLog::LineLog(const std::string& path, int baud, int terminal)
    : file_(std::fopen(path.c_str(), "w")),
      terminal_(terminal),
      byteTime_(baud > 0 ? Time(10'000'000'000LL / baud) : Time(0)) {}

LineLog::~LineLog() {
    if (file_) std::fclose(file_);
}

void LineLog::arrived(std::span<const std::uint8_t> bytes, Time now) {
    for (const std::uint8_t byte : bytes) {
        lineFree_ = std::max(lineFree_, now) + byteTime_;
        pending_.push_back({byte, lineFree_});
    }
}

void LineLog::record(Time now) {
    while (!pending_.empty() && pending_.front().at <= now) {
        termios t{};
        const long baud = ::tcgetattr(terminal_, &t) == 0 ? baudOf(::cfgetospeed(&t)) : 0;
        std::fprintf(file_, "%02X %ld\n", pending_.front().byte, baud);
        pending_.pop_front();
    }
    std::fflush(file_);
}

std::optional<LineLog::Time> LineLog::nextDue() const {
    if (pending_.empty()) return std::nullopt;
    return pending_.front().at;
}
