#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string_view>

#include "sim/MemoryFiles.h"
#include "sim/SimulatedDevice.h"

namespace vem::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes cmd(std::string_view word) {
    Bytes b{0x1B};
    b.insert(b.end(), word.begin(), word.end());
    return b;
}
const Bytes Ack{0x1B, 0x06};
const Bytes Nak{0x1B, 0x15};

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
Bytes blockOf(std::span<const std::uint8_t> area, int k) {
    return {area.begin() + 64 * k, area.begin() + 64 * (k + 1)};
}
Bytes filled(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    Bytes b(size);
    for (auto& x : b) x = static_cast<std::uint8_t>(random());
    return b;
}
// Every area, in the order of the write transfers.
std::vector<std::span<std::uint8_t>> areas(DeviceMemory& m) {
    return {m.mainArea, m.headerArea, m.screenArea, m.clockBlock, m.videoBlock, m.font, m.firmware};
}
// Every area end to end, and the fuse count.
Bytes everything(DeviceMemory m) {
    Bytes all;
    for (const auto area : areas(m)) all.insert(all.end(), area.begin(), area.end());
    all.push_back(static_cast<std::uint8_t>(m.fuseCommands));
    return all;
}
DeviceMemory randomMemory() {
    DeviceMemory m;
    m.font.resize(3584);
    m.firmware.resize(32768);
    for (const auto area : areas(m)) std::ranges::copy(filled(area.size(), static_cast<unsigned>(area.size())), area.begin());
    m.fuseCommands = 3;
    return m;
}

struct Piece {
    std::int64_t after;  // ms after the request was written
    Bytes bytes;
    bool operator==(const Piece&) const = default;
};
void PrintTo(const Piece& p, std::ostream* os) { *os << "{+" << p.after << "ms, " << p.bytes.size() << " bytes}"; }

// Plays the host: writes a request, then reads every reply at the moment it becomes readable.
struct Host {
    SimulatedDevice dev;
    std::int64_t now = 0;

    std::vector<Piece> send(const Bytes& request) {
        dev.receive(request, now);
        const std::int64_t sent = now;
        std::vector<Piece> pieces;
        while (const auto t = dev.nextOutputTime()) {
            EXPECT_TRUE(dev.takeOutput(*t - 1).empty());
            now = std::max(now, *t);
            pieces.push_back({now - sent, dev.takeOutput(now)});
        }
        return pieces;
    }
    Bytes exchange(const Bytes& request) {
        Bytes all;
        for (const auto& p : send(request)) all = all + p.bytes;
        return all;
    }
    // The host's read-back: one ESC ACK a block, the header and screen commands after
    // blocks 256 and 258, no acknowledgement of the 269th. Every reply counts as one block.
    std::vector<Bytes> readBack() {
        std::vector<Bytes> replies;
        Bytes request = cmd("PROMREADqorxxx");
        for (;;) {
            Bytes reply = exchange(request);
            if (reply.empty()) return replies;
            replies.push_back(std::move(reply));
            if (replies.size() == 269) return replies;
            request = Ack;
            if (replies.size() == 256) request = request + cmd("EEPROMREADxxxx");
            if (replies.size() == 258) request = request + cmd("FLASHREADqorxx");
        }
    }
};

// Every write transfer, in the order of `everything`.
const std::vector<std::pair<const char*, int>> writeTransfers{
    {"QORZETAPROMxxx", 256}, {"QORZETAEEPRxxx", 2}, {"QORMASKxxxxxxx", 10}, {"TIMEQORxxxxxxx", 1},
    {"QORFLASHVIDEOx", 1},   {"QORFLASHFONTxx", 56}, {"QORFLASHFIRMxx", 512}};

// Runs the first `count` write transfers; returns what was sent.
Bytes write(Host& host, std::size_t count) {
    Bytes sent;
    for (std::size_t t = 0; t < count; ++t) {
        const auto [word, blocks] = writeTransfers[t];
        const Bytes data = filled(64 * blocks, blocks);
        EXPECT_EQ(host.exchange(cmd(word)), Ack) << word;
        for (int k = 0; k < blocks; ++k) EXPECT_EQ(host.exchange(blockOf(data, k)), Ack) << word << k;
        EXPECT_TRUE(host.dev.idle());
        sent = sent + data;
    }
    return sent;
}

TEST(SimulatedDevice, StoresEveryWriteTransfer) {
    Host host;
    const Bytes sent = write(host, writeTransfers.size());
    EXPECT_EQ(host.exchange(cmd("FUSESETQORxxxx")), Ack);
    EXPECT_EQ(everything(host.dev.memory()), sent + Bytes{1});
    EXPECT_EQ(host.dev.completedTransfers(), 8);
    EXPECT_EQ(host.dev.requestsAnswered(), 7 + 256 + 2 + 10 + 1 + 1 + 56 + 512 + 1);
}

TEST(SimulatedDevice, ReadBackSendsEveryAreaAndOneTrailingBlock) {
    Host host;
    const auto& m = host.dev.memory() = randomMemory();
    const auto replies = host.readBack();
    ASSERT_EQ(replies.size(), 269u);
    for (int k = 0; k < 269; ++k) {
        const Bytes expected = k < 256   ? blockOf(m.mainArea, k)
                               : k < 258 ? blockOf(m.headerArea, k - 256)
                               : k < 268 ? blockOf(m.screenArea, k - 258)
                                         : Bytes(64, 0);
        ASSERT_EQ(replies[k], expected) << k;
    }
    EXPECT_TRUE(host.dev.idle());
    EXPECT_TRUE(host.exchange(Ack).empty());

    // Device information: the header area alone, nothing after the second acknowledgement.
    EXPECT_EQ(host.exchange(cmd("EEPROMREADxxxx")), blockOf(m.headerArea, 0));
    EXPECT_EQ(host.exchange(Ack), blockOf(m.headerArea, 1));
    EXPECT_TRUE(host.exchange(Ack).empty());
}

TEST(SimulatedDevice, ReadBackStopsMergesOrSpoilsBlocksExactlyWhereTold) {
    struct Case {
        DeviceFaults faults;
        std::size_t replies;           // what the host's read-back receives
        std::size_t bytesOfFirst;
        std::optional<int> wrongBlock;  // the reply that holds 0x55 bytes
    };
    for (const auto& c : std::vector<Case>{
             {{.shortReadBack = 268}, 268, 64, {}},
             {{.shortReadBack = 0}, 0, 0, {}},
             {{.shortReadBack = 257}, 257, 64, {}},
             {{.mergeBlocks = true}, 128, 128, {}},
             {{.wrongReplyAt = 0}, 269, 64, 0},
             {{.wrongReplyAt = 260}, 269, 64, 260},
         }) {
        SCOPED_TRACE(testing::Message() << "short " << c.faults.shortReadBack << " wrong " << c.faults.wrongReplyAt);
        Host host{SimulatedDevice(c.faults)};
        host.dev.memory() = randomMemory();
        const auto replies = host.readBack();
        ASSERT_EQ(replies.size(), c.replies);
        if (!replies.empty()) {
            EXPECT_EQ(replies[0].size(), c.bytesOfFirst);
        }
        if (c.faults.mergeBlocks) {
            const auto& main = host.dev.memory().mainArea;
            EXPECT_EQ(replies[5], blockOf(main, 10) + blockOf(main, 11));
        }
        for (std::size_t k = 0; k < replies.size(); ++k) {
            EXPECT_EQ(replies[k] == Bytes(64, 0x55), c.wrongBlock == static_cast<int>(k)) << k;
        }
    }
}

// Scripts of requests and the replies each gets, piece by piece.
TEST(SimulatedDevice, RefusedOrIgnoredRequestsStoreNothingAndRepliesComeSplitLateOrPacedAsTold) {
    const Bytes a = filled(64, 10), b = filled(64, 11);
    const Bytes fuses = cmd("FUSESETQORxxxx"), program = cmd("QORZETAPROMxxx"), read = cmd("PROMREADqorxxx");
    struct Step {
        Bytes request;
        std::vector<Piece> replies;
    };
    struct Case {
        const char* name;
        DeviceFaults faults;
        std::vector<Step> steps;
        Bytes mainBlock0;  // what block 0 of the main area holds at the end
    };
    const Bytes main0(64, 0);
    for (const auto& c : std::vector<Case>{
             {"refused command stays idle", {.wrongReplyAt = 0},
              {{program, {{0, Nak}}}, {Bytes(64, 0x11), {}}, {program, {{0, Ack}}}, {a, {{0, Ack}}}}, a},
             {"refused block is not stored", {.wrongReplyAt = 1},
              {{program, {{0, Ack}}}, {a, {{0, Nak}}}, {b, {{0, Ack}}}}, b},
             {"ignored block is not stored", {.noReplyAt = 1},
              {{program, {{0, Ack}}}, {a, {}}, {b, {{0, Ack}}}}, b},
             {"ignored acknowledgement sends nothing", {.noReplyAt = 1},
              {{read, {{0, Bytes(64, 0)}}}, {Ack, {}}, {Ack, {{0, Bytes(64, 0)}}}}, main0},
             {"ignored command", {.noReplyAt = 0}, {{fuses, {}}, {fuses, {{0, Ack}}}}, main0},
             {"split", {.splitReplies = true},
              {{fuses, {{0, {0x1B}}, {1, {0x06}}}}, {read, {{0, Bytes(32, 0)}, {1, Bytes(32, 0)}}}}, main0},
             {"latency", {.latencyMs = 25}, {{fuses, {{25, Ack}}}, {read, {{25, Bytes(64, 0)}}}}, main0},
             // 10 ms a byte: 15 bytes in, 2 out
             {"paced", {.baud = 1000}, {{fuses, {{170, Ack}}}, {read, {{790, Bytes(64, 0)}}}}, main0},
             {"paced, late, split", {.splitReplies = true, .latencyMs = 5, .baud = 1000},
              {{fuses, {{165, {0x1B}}, {176, {0x06}}}}}, main0},
             // Acknowledgements come as they are; blocks with noise 5 ms before and after them.
             {"noise", {.noiseBeforeBlocks = 2, .noiseAfterBlocks = 1},
              {{fuses, {{0, Ack}}}, {read, {{0, Bytes(2, 0xA5)}, {5, Bytes(64, 0)}, {10, Bytes(1, 0xA5)}}}}, main0},
         }) {
        SCOPED_TRACE(c.name);
        Host host{SimulatedDevice(c.faults)};
        for (std::size_t i = 0; i < c.steps.size(); ++i)
            EXPECT_EQ(host.send(c.steps[i].request), c.steps[i].replies) << "step " << i;
        EXPECT_EQ(blockOf(host.dev.memory().mainArea, 0), c.mainBlock0);
    }
}

TEST(SimulatedDevice, PacingHoldsRepliesUntilTheyHaveCrossedTheWire) {
    SimulatedDevice dev({.baud = 1000});  // 10 ms a byte
    // Two words written at once arrive one after the other; so do their replies.
    dev.receive(cmd("FUSESETQORxxxx") + cmd("FUSESETQORxxxx"), 0);
    EXPECT_EQ(dev.nextOutputTime(), 170);
    EXPECT_TRUE(dev.takeOutput(169).empty());
    EXPECT_EQ(dev.takeOutput(170), Ack);
    EXPECT_EQ(dev.nextOutputTime(), 320);
    EXPECT_EQ(dev.takeOutput(1000), Ack);
    EXPECT_EQ(dev.nextOutputTime(), std::nullopt);

    // At 57600 baud a command and its reply take 17 byte times, about 2.95 ms.
    SimulatedDevice fast({.baud = 57600});
    fast.receive(cmd("FUSESETQORxxxx"), SimulatedDevice::Time(0));
    const auto at = fast.nextOutputAt();
    ASSERT_TRUE(at);
    EXPECT_NEAR(static_cast<double>(at->count()), 17 * 1e10 / 57600, 1000);
    EXPECT_EQ(fast.nextOutputTime(), 3);
}

TEST(SimulatedDevice, CorruptsTheStoredByteItIsTold) {
    for (const int offset : {0, 16383, 16384, 16511, 16512, 17151}) {
        SCOPED_TRACE(offset);
        Host host{SimulatedDevice({.corruptStoredByte = offset})};
        Bytes sent = write(host, 3);
        sent[offset] ^= 0xFF;
        const Bytes stored = everything(host.dev.memory());
        EXPECT_EQ(Bytes(stored.begin(), stored.begin() + 17152), sent);
    }
}

TEST(SimulatedDevice, FindsTheNextCommandAfterStrayInput) {
    const Bytes fuses = cmd("FUSESETQORxxxx");
    for (const auto& [name, stray] : std::vector<std::pair<const char*, Bytes>>{
             {"garbage", {'x', 'y', 0x00, 0xFF}},
             {"partial word", cmd("QORZE")},
             {"partial word ending in ESC", cmd("QORZETAPROMxx") + Bytes{0x1B}},
             {"ESC ACK while idle", Ack},
             {"escapes", {0x1B, 0x1B, 0x1B}},
             {"wrong case", cmd("fusesetqorxxxx")},
             {"unknown word", cmd("QORZETAPROMxxy")},
         }) {
        SCOPED_TRACE(name);
        Host host;
        EXPECT_TRUE(host.exchange(stray).empty());
        EXPECT_EQ(host.exchange(fuses), Ack);
        EXPECT_EQ(host.exchange(stray + fuses), Ack);
        for (const std::uint8_t byte : stray + fuses) host.dev.receive(Bytes{byte}, host.now);
        EXPECT_EQ(host.dev.takeOutput(host.now), Ack);
        EXPECT_EQ(host.dev.memory().fuseCommands, 3);
    }
}

TEST(SimulatedDevice, LeavesATransferForANewCommandAndOutlastsANoiseFlood) {
    const Bytes fuses = cmd("FUSESETQORxxxx");
    Host host;
    // During a read a command is heard at once.
    EXPECT_EQ(host.exchange(cmd("PROMREADqorxxx")).size(), 64u);
    EXPECT_EQ(host.exchange(fuses), Ack);
    // Within a block it is data, until the host has been silent for a while.
    EXPECT_EQ(host.exchange(cmd("QORZETAPROMxxx")), Ack);
    EXPECT_TRUE(host.exchange(Bytes(10, 0x22)).empty());
    EXPECT_TRUE(host.exchange(fuses).empty());
    host.now += 2000;
    EXPECT_EQ(host.exchange(fuses), Ack);
    EXPECT_EQ(host.dev.memory().fuseCommands, 2);

    // A flood of noise neither breaks it nor piles up output.
    std::mt19937 random(7);
    Bytes noise(1 << 16);
    for (auto& x : noise) x = static_cast<std::uint8_t>(random() % 3 == 0 ? 0x1B : random());
    host.dev.receive(noise, host.now);
    host.now += 2000;
    EXPECT_TRUE(host.dev.takeOutput(host.now).empty());
    EXPECT_EQ(host.exchange(fuses), Ack);
}

TEST(MemoryFiles, EveryAreaSurvivesSaveAndLoadAndAWrongSizeIsRefused) {
    const fs::path dir = fs::temp_directory_path() / ("vem-device-" + std::to_string(std::random_device{}()));
    DeviceMemory m = randomMemory();
    ASSERT_TRUE(saveMemory(m, dir / "sub"));
    DeviceMemory back;
    ASSERT_TRUE(loadMemory(back, dir / "sub"));
    EXPECT_EQ(everything(back), everything(m));

    // A file of the wrong size is refused and its area kept.
    std::ofstream(dir / "sub" / "header.bin", std::ios::binary) << "short";
    DeviceMemory kept;
    EXPECT_FALSE(loadMemory(kept, dir / "sub"));
    m.headerArea = {};
    EXPECT_EQ(everything(kept), everything(m));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vem::test
