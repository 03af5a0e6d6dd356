#include "DeviceTasks.h"

#include <functional>

#include <QJsonArray>

#include "ProjectOpen.h"
#include "compare/ImageCompare.h"
#include "files/ImageBuild.h"
#include "files/ReadBack.h"
#include "host/Encoding.h"

namespace vem::cli {
namespace {

// The image the last read-back received, as the device sent it.
const DeviceImage& receivedImage(const Session& session) { return session.device().receivedImage().value(); }

QString heldName(const DeviceImage& image) { return fromCp1252(headerProjectName(image)); }

QString areaLine(const AreaDifference& a, const Session& session) {
    return fromCp1252(differenceLine(a, session.messages()));
}

// Says per area how many bytes differ and where the first is; the facts for --json.
QJsonArray reportAreas(const std::vector<AreaDifference>& areas, const Session& session, Console& console, int lane) {
    QJsonArray facts;
    for (const AreaDifference& a : areas) {
        console.error("  " + areaLine(a, session) + QString("; %1 byte(s) of this area differ").arg(a.differing), lane);
        facts.append(QJsonObject{{"area", a.area},
                                 {"differing", static_cast<qint64>(a.differing)},
                                 {"firstOffset", static_cast<qint64>(a.firstOffset)},
                                 {"expected", a.expected},
                                 {"found", a.found}});
    }
    return facts;
}

// What the device read back against `expected`: the project it holds, and per area what differs,
// after `sayDifferent` has said that it does. The summary of a device that differs is `different`
// and the first difference.
DeviceReport comparedWithDevice(const DeviceImage& expected, bool ignoreProjectIdentity, const Session& session,
                                Console& console, int lane, const QString& different,
                                const std::function<void()>& sayDifferent) {
    DeviceReport report;
    const DeviceImage& found = receivedImage(session);
    report.summary = heldName(found);
    report.facts["project"] = report.summary;
    const auto differences = compareImages(expected, found, ignoreProjectIdentity);
    if (differences.empty()) return report;
    sayDifferent();
    report.facts["areas"] = reportAreas(differences, session, console, lane);
    report.summary = different + ": " + areaLine(differences.front(), session);
    report.exit = DeviceFailure;
    return report;
}

class ProgramTask : public DeviceTask {
public:
    explicit ProgramTask(const Request& request)
        : file_(request.file), verify_(request.verify), force_(request.force) {}
    bool prepare(Session& session, Console& console) override { return openProjectIn(session, console, file_); }
    std::optional<Outcome> step(Session& session, const std::string& port, int done) override {
        if (done == 0)
            return session.device().startProgramming(port, currentLocalTime(), DeviceOperations::AfterProgramming::Close, force_);
        if (done > 1 || !verify_) return std::nullopt;
        sent_ = session.document().image();
        return session.device().startReadBack(port);
    }
    DeviceReport finish(const Session& session, Console& console, int lane) override {
        DeviceReport report;
        report.facts["verified"] = verify_;
        if (!verify_) {
            report.summary = heldName(session.document().image());
            report.note = "programmed " + file_;
            report.facts["project"] = report.summary;
            return report;
        }
        const QString different = fromCp1252(session.messages().text(Msg::VerifyFailed));
        report = comparedWithDevice(sent_, false, session, console, lane, different,
                                    [&] { console.message(session.messages(), Msg::VerifyFailed, {}, lane); });
        report.facts["verified"] = true;
        if (report.exit == Success) report.note = "programmed and verified " + file_;
        return report;
    }

private:
    QString file_;
    bool verify_;
    bool force_;  // the checks' problems were said, and the user programs all the same
    DeviceImage sent_;
};

class VerifyTask : public DeviceTask {
public:
    explicit VerifyTask(const Request& request) : file_(request.file) {}
    bool prepare(Session& session, Console& console) override {
        if (!openProjectIn(session, console, file_)) return false;
        session.document().buildImage(currentLocalTime());
        expected_ = session.document().image();
        return true;
    }
    std::optional<Outcome> step(Session& session, const std::string& port, int done) override {
        if (done > 0) return std::nullopt;
        return session.device().startReadBack(port);
    }
    DeviceReport finish(const Session& session, Console& console, int lane) override {
        const QString different = "the device does not hold " + file_;
        DeviceReport report = comparedWithDevice(expected_, true, session, console, lane, different,
                                                 [&] { console.error(different, lane); });
        report.facts["holds"] = report.exit == Success;
        const QString expectedName = heldName(expected_);
        if (report.exit == Success && report.facts["project"].toString() != expectedName) {
            const QString note = "note: the device names its project " + report.facts["project"].toString() +
                                 ", the project file " + expectedName;
            console.note(note, lane);
            report.facts["notes"] = QJsonArray{note};
        }
        if (report.exit == Success) report.note = "the device holds " + file_;
        return report;
    }

private:
    QString file_;
    DeviceImage expected_;
};

class InfoTask : public DeviceTask {
public:
    std::optional<Outcome> step(Session& session, const std::string& port, int done) override {
        if (done > 0) return std::nullopt;
        return session.device().startReadInfo(port);
    }
    DeviceReport finish(const Session& session, Console&, int) override {
        const DeviceOperations::DeviceInfo& device = session.device().deviceInfo();
        DeviceReport report;
        const QString name = fromCp1252(device.fileName), programmed = fromCp1252(device.programmed);
        report.results = {"project: " + name, "programmed: " + programmed};
        report.summary = name + ", programmed " + programmed;
        report.facts = {{"project", name}, {"programmed", programmed}};
        return report;
    }
};

class ClockTask : public DeviceTask {
public:
    std::optional<Outcome> step(Session& session, const std::string& port, int done) override {
        if (done > 0) return std::nullopt;
        return session.device().startSetClock(port);
    }
    DeviceReport finish(const Session&, Console&, int) override {
        DeviceReport report;
        report.note = report.summary = "clock set";
        return report;
    }
};

}  // namespace

std::unique_ptr<DeviceTask> programTask(const Request& request) { return std::make_unique<ProgramTask>(request); }
std::unique_ptr<DeviceTask> verifyTask(const Request& request) { return std::make_unique<VerifyTask>(request); }
std::unique_ptr<DeviceTask> infoTask(const Request&) { return std::make_unique<InfoTask>(); }
std::unique_ptr<DeviceTask> clockTask(const Request&) { return std::make_unique<ClockTask>(); }

}  // namespace vem::cli
