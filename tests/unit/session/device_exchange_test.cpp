#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <tuple>

#include "DeviceHarness.h"
#include "files/ProjectFile.h"
#include "files/ReadBack.h"
#include "SessionChecks.h"

namespace vem::test {
namespace {

using Feed = SimulatedLink::Feed;

// A session with a loaded template of random bytes, so that every block is recognisable.
struct ExchangeTest : ::testing::TestWithParam<Feed> {
    Session session;
    DeviceImage before;

    void SetUp() override {
        std::mt19937 rng(7);
        DeviceImage image;
        for (auto& b : image.mainArea) b = static_cast<std::uint8_t>(rng());
        image.mainArea[MainAt::DataSetAvailable] = 1;
        image.imageTemplateLoaded = true;
        Project p;
        p.projectName = "LAGER1";
        session.document().takeProject(p, image);
        before = session.document().image();
    }
    static std::vector<std::uint8_t> block(const std::uint8_t* area, int k) {
        return {area + BlockSize * k, area + BlockSize * (k + 1)};
    }
    // Nothing runs after an exchange has ended.
    static void expectSettled(const SimulatedLink& link, const Session& s) {
        EXPECT_FALSE(s.device().exchangeRunning());
        EXPECT_FALSE(s.device().nextDeadline());
        EXPECT_FALSE(link.portOpen);
        EXPECT_FALSE(s.device().progress().visible);
        EXPECT_FALSE(link.busyCursor.value_or(false));
    }
};

TEST_P(ExchangeTest, ProgrammingSendsTheWholeImageInOrder) {
    SimulatedLink link(session);
    link.feed = GetParam();
    link.apply(session.device().startProgramming("pty", link.clock));
    link.run();
    const DeviceImage& sent = session.document().image();
    ASSERT_EQ(link.sent.size(), 271u);
    EXPECT_EQ(link.sent[0], commandWord(Command::Program));
    for (int k = 0; k < MainBlocks; ++k) ASSERT_EQ(link.sent[1 + k], block(sent.mainArea.data(), k)) << k;
    EXPECT_EQ(link.sent[257], commandWord(Command::ProgramHeader));
    EXPECT_EQ(link.sent[258], block(sent.headerArea.data(), 0));
    EXPECT_EQ(link.sent[260], commandWord(Command::ProgramScreen));
    EXPECT_EQ(link.sent[270], block(sent.screenArea.data(), 9));
    EXPECT_EQ(link.device.memory().mainArea, sent.mainArea);
    EXPECT_EQ(link.device.memory().headerArea, sent.headerArea);
    EXPECT_EQ(link.device.memory().screenArea, sent.screenArea);
    EXPECT_TRUE(link.messages.empty());
    EXPECT_EQ(link.opens, 1);
    EXPECT_EQ(link.closes, 1);
    EXPECT_EQ(session.device().progress().position, ProgramBlocks);
    expectSettled(link, session);
}

INSTANTIATE_TEST_SUITE_P(Feeds, ExchangeTest,
                         ::testing::Values(Feed::Whole, Feed::ByteByByte, Feed::WithTrailingByte));

// A block with a byte more is no block (RepliesThatAreNoResultFail...): the read-back's feeds
// bring the blocks whole or byte by byte.
using ExchangeReadBackTest = ExchangeTest;

TEST_P(ExchangeReadBackTest, ReadBackBringsTheDeviceImageIntoTheProject) {
    SimulatedLink link(session);
    link.feed = GetParam();
    std::mt19937 rng(11);
    DeviceMemory& m = link.device.memory();
    for (auto& b : m.mainArea) b = static_cast<std::uint8_t>(rng());
    m.mainArea[MainAt::DataSetAvailable + 1] = 1;
    for (auto& b : m.screenArea) b = static_cast<std::uint8_t>('A' + rng() % 26);
    const std::string name = "LAGER2";
    std::copy(name.begin(), name.end(), m.headerArea.begin() + HeaderAt::ProjectName);
    m.headerArea[HeaderAt::Marker] = 'N';

    link.apply(session.device().startReadBack("pty"));
    link.run();
    EXPECT_EQ(session.document().image().mainArea, m.mainArea);
    EXPECT_EQ(session.document().image().headerArea, m.headerArea);
    EXPECT_EQ(session.document().image().screenArea, m.screenArea);
    EXPECT_TRUE(session.document().image().imageTemplateLoaded);
    EXPECT_EQ(session.document().project().projectName, name);
    EXPECT_EQ(session.document().project().screenText[0], std::string(1, static_cast<char>(m.screenArea[0])));
    EXPECT_TRUE(session.document().project().writeReadoutOnSave);
    const auto acks = std::count(link.sent.begin(), link.sent.end(), escAck());
    EXPECT_EQ(acks, ReadBackBlocks - 1);  // the trailing block is not acknowledged
    EXPECT_EQ(link.sent[0], commandWord(Command::ReadMain));
    EXPECT_EQ(link.sent[257], commandWord(Command::ReadHeader));  // right after the 256th ESC ACK
    EXPECT_EQ(link.sent[260], commandWord(Command::ReadScreen));
    EXPECT_TRUE(link.messages.empty());
    EXPECT_EQ(brokenInvariant(session), "");
    expectSettled(link, session);
}

INSTANTIATE_TEST_SUITE_P(Feeds, ExchangeReadBackTest, ::testing::Values(Feed::Whole, Feed::ByteByByte));

TEST_F(ExchangeTest, InfoShowsTheProjectAndDateTheDeviceHoldsAndTheClockIsStored) {
    SimulatedLink link(session);
    DeviceMemory& m = link.device.memory();
    std::copy_n("LAGER1", 6, m.headerArea.begin() + HeaderAt::ProjectName);
    const std::uint8_t date[] = {1, 2, 8, 9, 30};
    std::copy(std::begin(date), std::end(date), m.headerArea.begin() + HeaderAt::ProgramDay);
    m.headerArea[HeaderAt::Marker] = 'N';
    link.apply(session.device().startReadInfo("pty"));
    link.run();
    EXPECT_EQ(session.device().deviceInfo().fileName, "LAGER1");
    EXPECT_EQ(session.device().deviceInfo().programmed, "01.02.08  09:30");
    EXPECT_TRUE(link.infoShown);
    EXPECT_EQ(std::count(link.sent.begin(), link.sent.end(), escAck()), 2);
    expectSettled(link, session);

    link.apply(session.device().startSetClock("pty"));
    link.run();
    std::vector<std::uint8_t> clock(BlockSize, 0);
    const std::string digits = "311209235958";
    std::copy(digits.begin(), digits.end(), clock.begin());
    EXPECT_EQ(link.sent.back(), clock);
    EXPECT_EQ(std::vector<std::uint8_t>(m.clockBlock.begin(), m.clockBlock.end()), clock);
    EXPECT_TRUE(link.portOpen);  // the clock leaves the port open
    EXPECT_FALSE(session.device().exchangeRunning());
    EXPECT_TRUE(link.messages.empty());
}

TEST_F(ExchangeTest, ServiceUploadsStoreEveryByteAndWrongSizesStartNothing) {
    SimulatedLink link(session);
    std::vector<std::uint8_t> font(FontSize);
    for (std::size_t i = 0; i < font.size(); ++i) font[i] = static_cast<std::uint8_t>(i * 7);
    link.apply(session.device().startFontUpload("pty", font));
    link.run();
    EXPECT_EQ(link.device.memory().font, font);

    const std::vector<std::uint8_t> firmware(100, 0xA5);  // two partly filled blocks, 510 zero blocks
    link.apply(session.device().startFirmwareUpload("pty", firmware));
    link.run();
    std::vector<std::uint8_t> expected(FirmwareSize, 0);
    std::copy(firmware.begin(), firmware.end(), expected.begin());
    EXPECT_EQ(link.device.memory().firmware, expected);
    EXPECT_EQ(link.sent.back(), std::vector<std::uint8_t>(BlockSize, 0));

    const std::array<std::uint8_t, VideoSettingsSize> video{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    link.apply(session.device().startVideoSettings("pty", video));
    link.run();
    std::array<std::uint8_t, BlockSize> block{};
    std::copy(video.begin(), video.end(), block.begin());
    EXPECT_EQ(link.device.memory().videoBlock, block);

    link.apply(session.device().sendFuses("pty"));
    link.run();
    EXPECT_EQ(link.device.memory().fuseCommands, 1);
    EXPECT_TRUE(link.messages.empty());
    EXPECT_FALSE(session.device().exchangeRunning());

    // Sizes that start nothing, and say why.
    for (std::size_t size : {FontSize - 1, FontSize + 1}) {
        const Outcome out = session.device().startFontUpload("pty", std::vector<std::uint8_t>(size));
        EXPECT_FALSE(out.link.openPort) << size;
        EXPECT_EQ(out.messages, std::vector<int>{Msg::FontFileWrongSize});
    }
    for (std::size_t size : {std::size_t{0}, FirmwareSize}) {
        const Outcome out = session.device().startFirmwareUpload("pty", std::vector<std::uint8_t>(size));
        EXPECT_FALSE(out.link.openPort) << size;
        EXPECT_EQ(out.messages, std::vector<int>{Msg::FirmwareFileWrongSize});
    }
    EXPECT_TRUE(session.device().startFirmwareUpload("pty", std::vector<std::uint8_t>(FirmwareSize - 1)).link.openPort);
}

TEST_F(ExchangeTest, UploadFailingPartWayAsksForARepeat) {
    for (bool font : {true, false}) {
        for (DeviceFaults faults : {DeviceFaults{.noReplyAt = 20}, DeviceFaults{.wrongReplyAt = 20}}) {
            SCOPED_TRACE(std::string(font ? "font" : "firmware") + (faults.noReplyAt > 0 ? ", silent" : ", refused"));
            Session s;
            SimulatedLink link(s, faults);
            link.apply(font ? s.device().startFontUpload("pty", std::vector<std::uint8_t>(FontSize, 1))
                            : s.device().startFirmwareUpload("pty", std::vector<std::uint8_t>(500, 1)));
            link.run();
            EXPECT_EQ(link.messages, (std::vector<int>{Msg::ReplyTimeOut, Msg::UploadIncomplete}));
            EXPECT_EQ(link.closes, 1);
            expectSettled(link, s);
        }
    }
    // The fuse command waits for nothing: a silent device shows nothing.
    SimulatedLink silent(session, {.noReplyAt = 0});
    silent.apply(session.device().sendFuses("pty"));
    silent.run();
    EXPECT_TRUE(silent.messages.empty());
    EXPECT_EQ(silent.sent, std::vector<std::vector<std::uint8_t>>{commandWord(Command::Fuses)});
}

// A device fault, and what a run with it must end with.
struct FaultCase {
    enum Op { Program, ReadBack, ReadInfo, ProgramVerified };
    const char* what;
    Op op;
    DeviceFaults faults;
    int slot;
    const char* detail;  // part of the line under the message: the operation or the step
    Feed feed = Feed::Whole;
    bool byteAfterLastBlock = false;  // one more byte comes once the device has sent all it had to
    bool marked = true;               // the device's header carries the mark of a built image
    bool incomplete = false;          // blocks went out: the device now holds an incomplete image
};

// Every fault ends with its message, the port closed, the progress window gone, nothing applied
// or shown and nothing left running. Programming that ends once blocks have gone out says that
// the device holds an incomplete image.
void expectEndsCleanly(const FaultCase& c, const Project& startProject, const DeviceImage& startImage) {
    SCOPED_TRACE(c.what);
    Session s;
    s.document().takeProject(startProject, startImage);
    const Project project = s.document().project();
    const DeviceImage image = s.document().image();
    SimulatedLink link(s, c.faults);
    link.feed = c.feed;
    if (c.marked) link.device.memory().headerArea[HeaderAt::Marker] = 'N';
    link.apply(c.op == FaultCase::Program    ? s.device().startProgramming("/dev/pts/9", link.clock)
               : c.op == FaultCase::ReadBack ? s.device().startReadBack("/dev/pts/9")
               : c.op == FaultCase::ReadInfo ? s.device().startReadInfo("/dev/pts/9")
                                             : s.device().startProgramming("/dev/pts/9", link.clock,
                                                                  DeviceOperations::AfterProgramming::Verify));
    if (c.byteAfterLastBlock) {
        const int blocks = c.op == FaultCase::ReadBack ? ReadBackBlocks : HeaderBlocks;
        link.run([&] { return link.device.requestsAnswered() == blocks && !link.device.nextOutputTime(); });
        ASSERT_TRUE(s.device().exchangeRunning());
        link.deliver({0xA5});
    }
    link.run();
    std::vector<int> expected{c.slot};
    if (c.incomplete) expected.push_back(Msg::ProgramIncomplete);
    EXPECT_EQ(link.messages, expected);
    ASSERT_EQ(link.details.size(), 1u);
    EXPECT_NE(link.details[0].find("/dev/pts/9"), std::string::npos) << link.details[0];
    EXPECT_NE(link.details[0].find(c.detail), std::string::npos) << link.details[0];
    EXPECT_EQ(link.closes, 1);
    EXPECT_EQ(link.infoShown, !c.marked);  // a blank device's window leads to the service menu
    EXPECT_FALSE(link.askedToTake);
    EXPECT_EQ(s.device().deviceInfo().fileName,
              c.marked ? DeviceOperations::DeviceInfo{}.fileName : s.messages().text(Msg::DeviceInfoNoProject));
    EXPECT_FALSE(s.device().receivedImage());
    ExchangeTest::expectSettled(link, s);
    EXPECT_FALSE(s.document().modified());
    EXPECT_FALSE(s.document().project().writeReadoutOnSave);
    EXPECT_EQ(s.device().statusLine(), "");
    if (c.op == FaultCase::ReadBack) {
        EXPECT_EQ(s.document().image().mainArea, image.mainArea);  // the template is back
        EXPECT_EQ(s.document().image().headerArea, image.headerArea);
        EXPECT_EQ(s.document().project().screenText, project.screenText);
    }
}

TEST_F(ExchangeTest, EachDeviceFaultIsSaidWithItsStepAndAppliesNothing) {
    const auto program = FaultCase::Program;
    const auto whole = Feed::Whole;
    const FaultCase cases[] = {
        {"refused command", program, {.wrongReplyAt = 0}, Msg::ProgramRefused, "Schritt 0 von 268"},
        {"refused block", program, {.wrongReplyAt = 5}, Msg::ProgramRefused, "Schritt 5 von 268", whole, false, true, true},
        {"silent device", program, {.noReplyAt = 40}, Msg::ReplyTimeOut, "Schritt 40 von 268", whole, false, true, true},
        {"silent header command", program, {.noReplyAt = 257}, Msg::ReplyTimeOut, "Schritt 256 von 268", whole, false,
         true, true},
        {"short read-back", FaultCase::ReadBack, {.shortReadBack = 268}, Msg::ReplyTimeOut, "Schritt 268 von 269"},
        {"merged blocks", FaultCase::ReadBack, {.mergeBlocks = true}, Msg::ReplyExtraBytes, "Aus QV einlesen"},
        {"silent info", FaultCase::ReadInfo, {.noReplyAt = 1}, Msg::ReplyTimeOut, "QV - Info"},
        // The device was programmed whole; its read-back for the verify fails as a read-back.
        {"silent verify", FaultCase::ProgramVerified, {.noReplyAt = 280}, Msg::ReplyTimeOut,
         "Pr\xFC""fung nach dem Programmieren, Schritt 9 von 269"},
    };
    for (const auto& c : cases) expectEndsCleanly(c, session.document().project(), before);
}

// A data reply is one block: a byte more, before it, after it or after the last block, is noise
// or another device, and the run fails at the step it came in. So does the information of a
// device whose header lacks the mark: its name and date are no project's.
TEST_F(ExchangeTest, RepliesThatAreNoResultFailAndNothingOfThemIsTaken) {
    const auto readBack = FaultCase::ReadBack, readInfo = FaultCase::ReadInfo;
    const int extra = Msg::ReplyExtraBytes;
    const FaultCase cases[] = {
        {"noise before every block", readBack, {.noiseBeforeBlocks = 10}, extra, "Schritt 0 von 269"},
        {"noise after every block", readBack, {.noiseAfterBlocks = 10}, extra, "Schritt 1 von 269"},
        {"a byte more with every block", readBack, {}, extra, "Schritt 0 von 269", Feed::WithTrailingByte},
        {"a byte after the trailing block", readBack, {}, extra, "Schritt 269 von 269", Feed::Whole, true},
        {"noise before the information", readInfo, {.noiseBeforeBlocks = 10}, extra, "Schritt 0 von 2"},
        {"noise after the first block", readInfo, {.noiseAfterBlocks = 1}, extra, "Schritt 1 von 2"},
        {"a byte after the information", readInfo, {}, extra, "Schritt 2 von 2", Feed::Whole, true},
        {"information without the mark", readInfo, {}, Msg::DeviceHoldsNoProject, "Schritt 2 von 2", Feed::Whole,
         false, false},
    };
    for (const auto& c : cases) expectEndsCleanly(c, session.document().project(), before);
}

TEST_F(ExchangeTest, PortThatDoesNotOpenIsSaidAtOnce) {
    const struct {
        OpenFailure problem;
        int reasonSlot;
    } cases[] = {{OpenFailure::Busy, Msg::PortBusy},
                 {OpenFailure::NoPermission, Msg::PortNoPermission},
                 {OpenFailure::Absent, Msg::PortAbsent}};
    for (const auto& c : cases) {
        SimulatedLink link(session);
        link.openFails = c.problem;
        link.apply(session.device().startReadBack("/dev/ttyUSB0"));
        link.run();
        EXPECT_EQ(link.messages, std::vector<int>{Msg::PortCannotOpen});
        ASSERT_EQ(link.details.size(), 1u);
        EXPECT_EQ(link.details[0], "/dev/ttyUSB0: " + session.messages().text(c.reasonSlot));
        EXPECT_TRUE(link.sent.empty());
        EXPECT_EQ(session.document().image().mainArea, before.mainArea);
        EXPECT_FALSE(session.document().modified());
        EXPECT_FALSE(session.document().project().writeReadoutOnSave);
        expectSettled(link, session);
    }
}

TEST_F(ExchangeTest, WithoutTemplateNothingIsSent) {
    Session fresh;
    SimulatedLink link(fresh);
    link.apply(fresh.device().startProgramming("pty", link.clock));
    link.run();
    EXPECT_EQ(link.messages, std::vector<int>{Msg::NoImageTemplate});
    EXPECT_TRUE(link.sent.empty());
    EXPECT_EQ(fresh.document().project().screenText[0], " ");  // the image was built: empty cells became spaces
}

TEST_F(ExchangeTest, OneExchangeAtATimeAndNoneCutOffByTheLastClose) {
    SimulatedLink link(session, {.latencyMs = 1});
    link.apply(session.device().startProgramming("pty", link.clock));
    EXPECT_TRUE(session.device().exchangeRunning());
    EXPECT_TRUE(session.device().startReadBack("pty").link.send.empty());  // refused while programming
    EXPECT_FALSE(session.device().startReadBack("pty").link.openPort);
    // Programming has ended, its port close is still pending.
    link.run([&] { return link.device.completedTransfers() == 3 && !session.device().exchangeRunning(); });
    ASSERT_TRUE(session.device().nextDeadline());
    link.apply(session.device().startReadInfo("pty"));
    link.run();
    EXPECT_TRUE(link.infoShown);
    EXPECT_TRUE(link.messages.empty());
    expectSettled(link, session);
}

TEST_F(ExchangeTest, DeviceGoneMidTransferIsSaidOnce) {
    SimulatedLink link(session);
    link.apply(session.device().startProgramming("pty", link.clock));
    link.run([&] { return link.device.requestsTaken() >= 50; });
    link.portOpen = false;  // the port closed itself
    link.apply(session.device().deviceGone());
    link.apply(session.device().deviceGone());
    link.apply(session.device().poll({link.now + ReplyTimeoutMs, link.clock}));
    EXPECT_EQ(link.messages, (std::vector<int>{Msg::DeviceGone, Msg::ProgramIncomplete}));
    expectSettled(link, session);
}

// Stopped from outside, a run ends at once wherever it stands: the port closed, nothing left waiting.
TEST_F(ExchangeTest, AnInterruptEndsTheRunWhereverItStands) {
    const struct {
        const char* when;
        int blocksTaken;  // the device has taken this many requests
        bool waitForClose;  // programming has completed, its port still open
        std::vector<int> messages;
        std::pair<int, int> step;
    } cases[] = {
        {"before the first block", 0, false, {Msg::Interrupted}, {0, ProgramBlocks}},
        {"midway", 121, false, {Msg::Interrupted, Msg::ProgramIncomplete}, {120, ProgramBlocks}},
        {"waiting to close", 0, true, {}, {ProgramBlocks, ProgramBlocks}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.when);
        Session s;
        s.document().takeProject(session.document().project(), before);
        SimulatedLink link(s);
        link.apply(s.device().startProgramming("pty", link.clock));
        link.run([&] {
            if (c.waitForClose) return !s.device().exchangeRunning();
            return link.device.requestsTaken() >= c.blocksTaken && !link.sent.empty();
        });
        ASSERT_TRUE(link.portOpen);
        link.apply(s.device().interrupt());
        EXPECT_EQ(link.messages, c.messages);
        EXPECT_EQ(s.device().exchangeStep(), c.step);
        expectSettled(link, s);
        link.apply(s.device().interrupt());  // once is enough
        EXPECT_EQ(link.messages, c.messages);
    }
}

// Every exchange that waits for the device, started on `s`.
enum class Op { Program, ReadBack, ReadInfo, SetClock, Video, Font, Firmware, Fuses };
constexpr Op AllWaitingOps[] = {Op::Program, Op::ReadBack, Op::ReadInfo, Op::SetClock, Op::Video, Op::Font, Op::Firmware};

Outcome start(Session& s, Op op, const LocalTime& now) {
    static const std::array<std::uint8_t, VideoSettingsSize> video{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    switch (op) {
    case Op::Program: return s.device().startProgramming("pty", now);
    case Op::ReadBack: return s.device().startReadBack("pty");
    case Op::ReadInfo: return s.device().startReadInfo("pty");
    case Op::SetClock: return s.device().startSetClock("pty");
    case Op::Video: return s.device().startVideoSettings("pty", video);
    case Op::Font: return s.device().startFontUpload("pty", std::vector<std::uint8_t>(FontSize, 0x3C));
    case Op::Firmware: return s.device().startFirmwareUpload("pty", std::vector<std::uint8_t>(700, 0xC3));
    case Op::Fuses: return s.device().sendFuses("pty");
    }
    return {};
}

TEST_F(ExchangeTest, EachReplyHasTheWholeTimeOutFromTheSendItBelongsTo) {
    for (Op op : AllWaitingOps) {
        for (int latency : {ReplyTimeoutMs - 1, ReplyTimeoutMs}) {
            SCOPED_TRACE("exchange " + std::to_string(static_cast<int>(op)) + ", latency " + std::to_string(latency));
            Session s;
            s.document().takeProject(session.document().project(), before);
            SimulatedLink link(s, {.latencyMs = latency});
            link.device.memory().headerArea[HeaderAt::Marker] = 'N';
            link.apply(start(s, op, link.clock));
            link.run([&] { return !link.sent.empty(); });  // the command is out
            const Millis due = link.sentAt.front() + ReplyTimeoutMs;
            EXPECT_EQ(s.device().nextDeadline(), due);
            link.apply(s.device().poll({due - 1, link.clock}));  // polled early, it does nothing
            link.run();
            if (latency < ReplyTimeoutMs) {
                EXPECT_TRUE(link.messages.empty());
                continue;
            }
            ASSERT_FALSE(link.messages.empty());
            EXPECT_EQ(link.messages.front(), Msg::ReplyTimeOut);
            ASSERT_EQ(link.sent.size(), 1u);  // the command, unanswered
            EXPECT_EQ(link.now, due);
        }
    }
}

// A host busy elsewhere may hand a reply over only after its deadline: it is late all the same.
TEST_F(ExchangeTest, AReplyHandedOverAfterItsDeadlineIsLate) {
    for (Op op : AllWaitingOps) {
        SCOPED_TRACE("exchange " + std::to_string(static_cast<int>(op)));
        Session s;
        s.document().takeProject(session.document().project(), before);
        SimulatedLink link(s, {.latencyMs = ReplyTimeoutMs + 500});
        link.apply(start(s, op, link.clock));
        link.run([&] { return !link.sent.empty(); });  // the command is out
        const std::optional<Millis> replyAt = link.device.nextOutputTime();
        ASSERT_TRUE(replyAt);
        ASSERT_GT(*replyAt, *s.device().nextDeadline());
        link.now = *replyAt;  // the deadline has passed unpolled
        link.deliver(link.device.takeOutput(link.now));
        ASSERT_FALSE(link.messages.empty());
        EXPECT_EQ(link.messages.front(), Msg::ReplyTimeOut);
        EXPECT_EQ(link.sent.size(), 1u);  // nothing follows the late reply
        link.run();
        expectSettled(link, s);
    }
}

// The progress window, the busy cursor, the wait before the first command and the port, for
// every exchange from its start to its end.
TEST_F(ExchangeTest, EachExchangeShowsItsProgressAndLeavesThePortAsItShould) {
    const struct {
        Op op;
        int progressMaximum;  // 0: no progress window
        Millis firstCommandAt;
        bool portStaysOpen;
    } cases[] = {{Op::Program, ProgramBlocks, FlushWaitMs, false}, {Op::ReadBack, ProgramBlocks, FlushWaitMs, false},
                 {Op::ReadInfo, 0, FlushWaitMs, false},        {Op::SetClock, 0, 0, true},
                 {Op::Video, 0, 0, true},                      {Op::Font, 56, FlushWaitMs, false},
                 {Op::Firmware, 512, FlushWaitMs, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE("exchange " + std::to_string(static_cast<int>(c.op)));
        Session s;
        s.document().takeProject(session.document().project(), before);
        SimulatedLink link(s);
        link.device.memory().headerArea[HeaderAt::Marker] = 'N';
        link.apply(start(s, c.op, link.clock));
        EXPECT_EQ(s.device().progress().visible, c.progressMaximum > 0);
        if (c.progressMaximum > 0) {
            EXPECT_EQ(s.device().progress().maximum, c.progressMaximum);
        }
        link.run();
        EXPECT_TRUE(link.messages.empty());
        ASSERT_FALSE(link.sentAt.empty());
        EXPECT_EQ(link.sentAt.front(), c.firstCommandAt);
        EXPECT_GE(link.progressRefreshes, c.progressMaximum);
        EXPECT_FALSE(s.device().progress().visible);
        EXPECT_FALSE(link.busyCursor.value_or(false));
        EXPECT_EQ(link.portOpen, c.portStaysOpen);
        EXPECT_FALSE(s.device().nextDeadline());
    }
}

// What an exchange sends and what it brings back are fixed when it starts: the same exchange
// run again while the project, the template and the image are replaced and edited at every
// turn sends the same bytes and ends with the same result.
TEST_F(ExchangeTest, NothingDoneWhileAnExchangeRunsChangesItsBytesOrItsResult) {
    Project other;
    other.projectName = "ANDERES";
    DeviceImage otherImage;
    otherImage.mainArea.fill(0x11);
    otherImage.headerArea.fill(0x22);
    otherImage.imageTemplateLoaded = true;
    std::mt19937 rng(3);
    for (Op op : AllWaitingOps) {
        SCOPED_TRACE("exchange " + std::to_string(static_cast<int>(op)));
        auto runOnce = [&](bool disturb) {
            auto s = std::make_unique<Session>();
            s->document().takeProject(session.document().project(), before);
            auto link = std::make_unique<SimulatedLink>(*s);
            link->device.memory().headerArea[HeaderAt::Marker] = 'N';
            link->device.memory().screenArea.fill('Q');
            link->apply(start(*s, op, link->clock));
            link->run([&] {
                if (!disturb || !s->device().exchangeRunning()) return false;
                switch (rng() % 4) {
                case 0: s->document().takeProject(other, otherImage); break;
                case 1: s->document().keyPress(static_cast<unsigned char>('A' + rng() % 26)); break;
                case 2: s->document().buildImage(LocalTime{1, 1, 2030, 1, 1, 1}); break;
                default: s->document().takeProject(session.document().project(), before); break;
                }
                return false;
            });
            const DeviceMemory& m = link->device.memory();
            const bool readBack = op == Op::ReadBack;
            return std::tuple{link->sent,
                              std::vector<std::uint8_t>(m.mainArea.begin(), m.mainArea.end()),
                              m.clockBlock,
                              m.firmware,
                              s->device().deviceInfo().fileName,
                              link->messages,
                              readBack ? s->document().image().mainArea : std::array<std::uint8_t, MainAreaSize>{},
                              readBack ? s->document().project().screenText : std::array<std::string, CellCount>{}};
        };
        EXPECT_TRUE(runOnce(false) == runOnce(true));
    }
}

TEST_F(ExchangeTest, AFailedReadBackLeavesTheProjectOpenedMeanwhile) {
    SimulatedLink link(session, {.noReplyAt = 100});
    link.apply(session.device().startReadBack("pty"));
    DeviceImage b = before;
    b.mainArea[0x2000] = 0xA5;
    Project projectB;
    projectB.projectName = "B";
    link.run([&] { return link.device.requestsTaken() >= 50; });
    session.document().takeProject(projectB, b);
    link.run();
    EXPECT_EQ(link.messages, std::vector<int>{Msg::ReplyTimeOut});
    EXPECT_EQ(session.document().project().projectName, "B");
    EXPECT_EQ(session.document().image().mainArea, b.mainArea);

    SimulatedLink programming(session);
    programming.apply(session.device().startProgramming("pty", programming.clock));
    programming.run();
    EXPECT_EQ(programming.device.memory().mainArea[0x2000], 0xA5);
}

// The mark every built image carries at 0x40 of its header: without it the read-back waits
// for the user, and nothing of it is taken unless the user says so.
TEST_F(ExchangeTest, AReadBackWithoutTheMarkIsTakenOnlyWhenTheUserSaysSo) {
    for (bool take : {false, true}) {
        Session s;
        s.document().takeProject(session.document().project(), before);
        const Project project = s.document().project();
        SimulatedLink link(s);
        DeviceMemory& m = link.device.memory();
        m.screenArea.fill('Z');
        m.mainArea.fill(0x77);
        link.apply(s.device().startReadBack("pty"));
        link.run();
        EXPECT_TRUE(link.askedToTake);
        EXPECT_TRUE(link.messages.empty());
        ASSERT_TRUE(s.device().receivedImage());
        EXPECT_EQ(s.device().receivedImage()->mainArea, m.mainArea);
        EXPECT_EQ(s.document().project().screenText, project.screenText);
        EXPECT_EQ(s.document().image().mainArea, before.mainArea);
        EXPECT_FALSE(s.document().modified());
        link.apply(s.answer(take));
        EXPECT_EQ(s.document().image().mainArea == m.mainArea, take);
        EXPECT_EQ(s.document().project().screenText[0] == "Z", take);
        EXPECT_EQ(s.document().project().writeReadoutOnSave, take);
        EXPECT_EQ(s.device().statusLine(), take ? s.messages().text(Msg::ReadBackDone) : "");
        EXPECT_FALSE(s.answer(true).ok);  // asked once
    }
}

// A device with no available data set: the working copy and the grid are the device's too.
TEST_F(ExchangeTest, AReadBackWithoutAvailableDataSetKeepsNothingOfTheOldWorkingCopy) {
    SimulatedLink link(session);
    DeviceMemory& m = link.device.memory();
    m.mainArea.fill(0xFF);  // no field records
    m.headerArea[HeaderAt::Marker] = 'N';
    const std::uint8_t placedField[] = {5, 0, 0, 0x00, 1, 1};  // "Daten", 5 cells at row 1, column 1
    std::copy(std::begin(placedField), std::end(placedField), m.mainArea.begin() + FieldRecordBase);
    m.mainArea[MainAt::DataSetAvailable] = 1;
    link.apply(session.device().startReadBack("pty"));
    link.run();
    ASSERT_EQ(session.document().project().fields[0].placed, 1);  // the working copy holds a placed field

    std::fill_n(m.mainArea.begin() + FieldRecordBase, sizeof placedField, 0xFF);
    m.mainArea[MainAt::DataSetAvailable] = 0;
    link.apply(session.device().startReadBack("pty"));
    link.run();
    EXPECT_TRUE(link.messages.empty());
    DeviceImage image;
    image.mainArea = m.mainArea;
    image.headerArea = m.headerArea;
    image.screenArea = m.screenArea;
    Project fromDevice;
    applyDeviceImage(fromDevice, image);
    const auto fieldOf = [](const FieldDefinition& f) {
        return std::tie(f.variableType, f.enabled, f.placed, f.length, f.conversion, f.offset, f.row, f.column);
    };
    EXPECT_EQ(fieldOf(session.document().project().fields[0]), fieldOf(fromDevice.dataSets[0].fields[0]));
    EXPECT_EQ(session.document().project().dataSets[0].cellTags, CellTags{});
    EXPECT_EQ(brokenInvariant(session), "");
}

// Programming with a verify reads the device back on the port it programmed through, shown in the
// progress window, and compares: nothing of it reaches the project, its history or its "*".
TEST_F(ExchangeTest, AVerifyComparesWhatTheDeviceHoldsAndLeavesTheProjectAsItWas) {
    const struct {
        int corruptByte;
        std::vector<int> messages;
        std::string said;  // the status line, or the message's detail
    } cases[] = {
        {-1, {}, "Programmiert und gepr\xFC" "ft"},
        {MainAreaSize + HeaderAt::Marker, {Msg::VerifyFailed},
         "Bereich header, Offset 64 (0x0040): erwartet 0x4E, gelesen 0xB1"},
        {MainAreaSize + HeaderAreaSize + 300, {Msg::VerifyFailed},
         "Bereich screen, Offset 300 (0x012c): erwartet 0x20, gelesen 0xDF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.said);
        Session s;
        s.document().takeProject(session.document().project(), before);
        s.document().keyPress('X');  // unsaved, one step to undo
        SimulatedLink link(s, {.corruptStoredByte = c.corruptByte});
        link.apply(s.device().startProgramming("pty", link.clock, DeviceOperations::AfterProgramming::Verify));
        const std::string text = writeProjectText(s.document().project());
        link.run([&] { return link.sent.size() > 271; });  // programmed; the read command is out
        EXPECT_EQ(link.sent.back(), commandWord(Command::ReadMain));
        EXPECT_EQ(s.device().progress().caption, s.messages().text(Msg::ReadBackCaption));
        link.run();
        EXPECT_EQ(link.messages, c.messages);
        EXPECT_EQ(c.messages.empty() ? s.device().statusLine() : link.details.at(0) + s.device().statusLine(), c.said);
        EXPECT_EQ(link.opens, 1);
        EXPECT_FALSE(link.askedToTake);
        EXPECT_EQ(writeProjectText(s.document().project()), text);
        EXPECT_EQ(s.document().undoSteps(), 1u);
        EXPECT_TRUE(s.document().modified());
        expectSettled(link, s);
    }
}

// An operation that ended well says so until the next device operation is asked for (even one
// refused), or a project is saved, opened or taken; editing leaves it.
TEST_F(ExchangeTest, EachOperationThatEndsWellSaysSoUntilTheNextOneOrAFile) {
    const std::pair<Op, int> cases[] = {{Op::ReadBack, Msg::ReadBackDone}, {Op::SetClock, Msg::ClockSet},
                                        {Op::Video, Msg::VideoSignalSent}, {Op::Font, Msg::FontLoaded},
                                        {Op::Firmware, Msg::FirmwareLoaded}, {Op::Fuses, Msg::FusesSent},
                                        {Op::ReadInfo, -1},                {Op::Program, -1}};
    const auto folder = std::filesystem::temp_directory_path() / ("vem-status-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "status.qor").string();
    const std::function<void(Session&)> clears[] = {
        [](Session& s) { s.device().startFontUpload("pty", std::vector<std::uint8_t>(1)); },
        [&](Session& s) { s.document().saveProjectAs(file); },
        [&](Session& s) { s.document().openProject(file); },
        [&](Session& s) { s.document().takeProject(s.document().project(), s.document().image()); },
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        Session s;
        s.document().takeProject(session.document().project(), before);
        SimulatedLink link(s);
        link.device.memory().headerArea[HeaderAt::Marker] = 'N';
        link.apply(start(s, cases[i].first, link.clock));
        link.run();
        s.document().keyPress('Q');
        EXPECT_EQ(s.device().statusLine(), s.messages().text(cases[i].second));
        clears[i % std::size(clears)](s);
        EXPECT_EQ(s.device().statusLine(), "");
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace vem::test
