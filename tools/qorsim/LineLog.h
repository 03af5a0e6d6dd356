#pragma once
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <optional>
#include <span>
#include <string>

#include <termios.h>

// Records, for every byte the host sends, the line speed its terminal is set to at the moment
// the byte has crossed the wire at the simulated rate: a host that restores its settings or
// closes while its last bytes are still on the way shows another speed for them.
// One line a byte: its value in hex and the speed, "1B 57600".
class LineLog {
public:
    using Time = std::chrono::nanoseconds;

    // `terminal` is the pseudo-terminal's master side (its settings are the host's side's).
    LineLog(const std::string& path, int baud, int terminal);
    ~LineLog();
    LineLog(const LineLog&) = delete;
    LineLog& operator=(const LineLog&) = delete;

    bool ok() const { return file_ != nullptr; }
    void arrived(std::span<const std::uint8_t> bytes, Time now);
    // Writes every byte that has crossed the wire by `now`.
    void record(Time now);
    std::optional<Time> nextDue() const;

private:
    struct Pending {
        std::uint8_t byte;
        Time at;
    };

    std::FILE* file_ = nullptr;
    int terminal_;
    Time byteTime_;
    Time lineFree_{0};
    std::deque<Pending> pending_;
};

// A terminal speed as a number of baud, and back; 0 for one not in the table.
long baudOf(speed_t speed);
speed_t speedOf(long baud);
