#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "device/Exchange.h"
#include "sim/SimulatedDevice.h"

namespace vem::test {
namespace {

// The engine alone, bound to a simulated device on a simulated clock: what arrives is handed to
// receive(), and the clock goes from one deadline or reply to the next.
struct Wire {
    SimulatedDevice device;
    Millis now = 0;
    std::vector<std::vector<std::uint8_t>> sent;
    Millis closedAt = -1;

    explicit Wire(DeviceFaults faults = {}) : device(faults) {}

    void take(const Exchange::Output& out) {
        for (const auto& bytes : out.send) {
            sent.push_back(bytes);
            device.receive(bytes, now);
        }
        if (out.closePort) closedAt = now;
    }
    void run(Exchange& x) {
        while (true) {
            const auto deadline = x.nextDeadline();
            const auto reply = device.nextOutputTime();
            if (!deadline && !reply) return;
            if (reply && (!deadline || *reply < *deadline)) {
                now = std::max(now, *reply);
                take(x.receive(device.takeOutput(now), {now, {}}));
            } else {
                now = std::max(now, *deadline);
                take(x.poll({now, {}}));
            }
        }
    }
};

DeviceImage patterned() {
    DeviceImage image;
    for (std::size_t i = 0; i < image.mainArea.size(); ++i) image.mainArea[i] = static_cast<std::uint8_t>(i * 7);
    image.headerArea[HeaderAt::Marker] = 'N';
    image.screenArea[5] = 'Q';
    return image;
}

// A whole run against a device that answers: the device holds what was sent, even when the
// image given was changed during the run, and the port closes a second after the last reply.
TEST(Exchange, ProgrammingCarriesItsOwnCopyToTheDeviceAndClosesASecondAfterTheLastReply) {
    DeviceImage image = patterned();
    Exchange x = Exchange::program(image);
    image.mainArea.fill(0xEE);  // what the user does meanwhile
    Wire wire;
    wire.run(x);
    EXPECT_EQ(x.status(), Exchange::Status::Completed);
    EXPECT_EQ(x.step(), x.steps());
    EXPECT_EQ(wire.device.memory().mainArea, patterned().mainArea);
    EXPECT_EQ(wire.device.memory().screenArea, patterned().screenArea);
    EXPECT_EQ(wire.sent.size(), std::size_t(ProgramBlocks + 3));  // three command words
    EXPECT_GE(wire.closedAt, 1000);
    EXPECT_FALSE(x.nextDeadline());
}

// A read-back takes what the device holds; replies that are no result fail at their step.
TEST(Exchange, EndsAsTheDeviceAnswers) {
    const auto readBack = [] { return Exchange::readBack(); };
    const auto program = [] { return Exchange::program(patterned()); };
    const struct {
        const char* what;
        std::function<Exchange()> start;
        DeviceFaults faults;
        Exchange::Failure failure;
        int step;
    } cases[] = {
        {"whole", readBack, {}, Exchange::Failure::None, ReadBackBlocks},
        {"split replies", readBack, {.splitReplies = true}, Exchange::Failure::None, ReadBackBlocks},
        {"silent at block 3", readBack, {.noReplyAt = 3}, Exchange::Failure::TimedOut, 3},
        {"noise after the blocks", readBack, {.noiseAfterBlocks = 4}, Exchange::Failure::ExtraBytes, 1},
        {"block 2 refused", program, {.wrongReplyAt = 2}, Exchange::Failure::Refused, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Wire wire(c.faults);
        wire.device.memory().mainArea = patterned().mainArea;
        Exchange x = c.start();
        wire.run(x);
        EXPECT_EQ(x.failure(), c.failure);
        EXPECT_EQ(x.step(), c.step);
        EXPECT_EQ(x.status() == Exchange::Status::Completed, c.failure == Exchange::Failure::None);
        if (x.kind() == Exchange::Kind::ReadBack && x.status() == Exchange::Status::Completed) {
            EXPECT_EQ(x.receivedImage().mainArea, patterned().mainArea);
        }
        EXPECT_GE(wire.closedAt, 0);
    }
}

// Nothing runs before its deadline; the reply time-out is measured from the send.
TEST(Exchange, WaitsForItsDeadlineAndNoLonger) {
    Exchange x = Exchange::readInfo();
    x.setReplyTimeout(300);
    Wire wire;
    Millis sentAt = 0;
    while (wire.sent.empty()) {
        sentAt = *x.nextDeadline();
        wire.take(x.poll({sentAt, {}}));
    }
    const Millis timeout = *x.nextDeadline();
    EXPECT_EQ(timeout, sentAt + 300);
    EXPECT_FALSE(x.poll({timeout - 1, {}}).ended);
    EXPECT_EQ(x.status(), Exchange::Status::Running);
    EXPECT_TRUE(x.poll({timeout, {}}).ended);
    EXPECT_EQ(x.failure(), Exchange::Failure::TimedOut);
    const Exchange::Output abandoned = Exchange::readInfo().abandon();
    EXPECT_TRUE(abandoned.ended && abandoned.closePort);
}

}  // namespace
}  // namespace vem::test
