#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>

#include "device/Exchange.h"
#include "device/Protocol.h"
#include "i18n/MessageTable.h"
#include "model/DeviceImage.h"
#include "model/LocalTime.h"
#include "serialline/SerialLine.h"
#include "session/Outcome.h"

namespace vem {

// What the device operations need of the project they work for.
class DeviceProject {
public:
    // The image to program, built from the project; a project without its template, or one the
    // project checks refuse (unless `despiteProblems`), is refused (not ok) with what is wrong.
    virtual Outcome buildForProgramming(const LocalTime& now, bool despiteProblems) = 0;
    virtual const DeviceImage& image() const = 0;
    // A complete image read back from the device becomes the project.
    virtual Outcome applyReadBack(const DeviceImage& readBack) = 0;
    // Counts the project's opens, takes and saves.
    virtual std::uint64_t fileChanges() const = 0;

protected:
    ~DeviceProject() = default;
};

// Program, read back, information, clock, uploads, video, fuses: each operation asks for the port
// to be opened first (`port` names it in messages) and starts an exchange with a copy of what it
// sends; the host feeds what arrives to `receive`, polls at nextDeadline() and closes the port when
// an outcome asks, once its output drained. It owns the running Exchange; no I/O here.
class DeviceOperations {
public:
    DeviceOperations(DeviceProject& project, MessageTable& messages);
    DeviceOperations(const DeviceOperations&) = delete;
    DeviceOperations& operator=(const DeviceOperations&) = delete;

    // Each operation asks for the port to be opened first (`port` names it in messages) and
    // starts an exchange with a copy of what it sends; the host feeds what arrives to `receive`,
    // polls at nextDeadline() and closes the port when an outcome asks, once its output drained.
    struct Progress {
        bool visible = false;
        std::string caption;
        int maximum = ProgramBlocks;
        int position = 0;
    };
    struct DeviceInfo {
        std::string fileName = "----------------------";
        std::string programmed = "----------------------";
    };

    // What follows a programming run that ended well.
    enum class AfterProgramming { Close, Verify };
    // "Programmieren": builds the image and programs it. A project without its template, or one
    // the project checks refuse (unless `despiteProblems`), is refused with what is wrong. With
    // Verify the device is then read back on the open port and compared with what was sent: the
    // read-back is never taken into the project; a difference fails with VerifyFailed and the
    // first difference as detail.
    Outcome startProgramming(const std::string& port, const LocalTime& now,
                             AfterProgramming after = AfterProgramming::Close, bool despiteProblems = false);
    // "Aus QV einlesen": reads the device's image back into the project.
    Outcome startReadBack(const std::string& port);
    // "QV - Info": reads the project name and programming date the device holds. Every device
    // that answers gets the information window; a header without the mark this program puts into
    // every image it builds shows as no project there, and fails (DeviceHoldsNoProject).
    Outcome startReadInfo(const std::string& port);
    // "Datum/Uhrzeit setzen": sets the device clock to the local time at the device's answer.
    Outcome startSetClock(const std::string& port);
    // Service uploads: a character set of exactly 3584 bytes; a firmware of 1 to 32767 bytes,
    // sent as 32768 bytes with zeros after it. Any other size starts nothing and says so.
    Outcome startFontUpload(const std::string& port, std::span<const std::uint8_t> font);
    Outcome startFirmwareUpload(const std::string& port, std::span<const std::uint8_t> firmware);
    // The video signal settings block (11 bytes; zeros after them).
    Outcome startVideoSettings(const std::string& port, std::span<const std::uint8_t, VideoSettingsSize> settings);
    // The fuse command: sent, nothing waited for.
    Outcome sendFuses(const std::string& port);
    // Bytes arrived from the device.
    Outcome receive(std::span<const std::uint8_t> bytes, const Instant& now);
    // Runs what is due at `now` (a reply time-out, the flush wait, the wait before closing, the
    // quiet wait after a read's last block); nothing before its deadline.
    Outcome poll(const Instant& now);
    // When poll() wants to run next; none while nothing waits.
    std::optional<Millis> nextDeadline() const;
    // The port an outcome asked for did not open.
    Outcome portOpenFailed(OpenFailure problem);
    // The port vanished while open (an adapter pulled, the device side closed).
    Outcome deviceGone();
    // The program is being stopped: a running exchange is abandoned, the port closed, and
    // nothing waits any more.
    Outcome interrupt();
    // The step the last exchange reached or failed at, and the steps it has; 0 of 0 before any.
    std::pair<int, int> exchangeStep() const;
    // The message slot naming the last exchange's operation (Msg::OperationProgram, ...); 0 before any.
    int exchangeOperation() const { return running_ ? running_->operationSlot : 0; }
    // The three areas of the last completed read-back as the device sent them.
    const std::optional<DeviceImage>& receivedImage() const { return receivedImage_; }

    // Milliseconds the device has to answer, for the exchanges started from now on; the
    // time-out message says it.
    void setReplyTimeout(int ms);

    // True while an exchange waits for the device; no other device operation starts then.
    bool exchangeRunning() const;
    const Progress& progress() const { return progress_; }
    const DeviceInfo& deviceInfo() const { return deviceInfo_; }
    // The status bar's line: how the last device operation ended well; empty once the next one
    // is asked for, or a project is opened, taken or saved.
    const std::string& statusLine() const;

    // A read-back image without the mark this program puts into every image it builds waits for
    // the answer to the question TakeReadBack: taken as the project, or dropped with the project
    // left as it was.
    bool readBackWaiting() const { return readBackWaits_; }
    Outcome takeReadBack();
    Outcome dropReadBack();


private:
    // The exchange that runs, with what its messages name.
    struct RunningExchange {
        Exchange exchange;
        std::string port;
        int operationSlot = 0;
        // Programming: the device is read back afterwards and compared with this image, what it
        // was sent. The read-back that follows compares with it instead of taking what it read.
        std::optional<DeviceImage> verifyAgainst;
    };

    Outcome startExchange(const std::string& port, int operationSlot, Exchange exchange);
    // The programming run ended well: the read-back that checks it starts on the open port.
    void startVerify(Outcome& out);
    // The verify's read-back is complete: what the device holds against what was sent.
    void compareVerified(Outcome& out);
    // No exchange waits for the device: one may start, and the last one's status line goes.
    bool readyForExchange();
    // What the exchange asked, and what its end means for the project, in the outcome.
    Outcome linked(const Exchange::Output& output);
    void showProgress(Outcome& out);
    void hideProgress(Outcome& out);
    void completed(Outcome& out);
    void failed(Outcome& out, int slot);
    // Ends the running exchange from outside with message `slot`.
    Outcome abandoned(int slot);
    std::string stepDetail() const;


    DeviceProject& project_;
    MessageTable& messages_;
    std::optional<RunningExchange> running_;
    int replyTimeoutMs_ = ReplyTimeoutMs;
    std::optional<DeviceImage> receivedImage_;
    bool readBackWaits_ = false;  // receivedImage_ waits for takeReadBack or dropReadBack
    Progress progress_;
    DeviceInfo deviceInfo_;
    int statusSlot_ = -1;  // the message slot of statusLine(), -1 for none
    std::uint64_t statusFileChanges_ = 0;  // the project's file changes when it was said
    void showStatus(int slot);
};

}  // namespace vem
