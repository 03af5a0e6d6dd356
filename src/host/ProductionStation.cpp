#include "host/ProductionStation.h"

#include <QCryptographicHash>
#include <QFile>
#include <QProcessEnvironment>
#include <QSysInfo>
#include <algorithm>

#include "host/Encoding.h"

namespace vem {
namespace {

Millis steadyNow() { return SessionLink::now().ms; }

std::string iso(const QDateTime& utc) { return utc.toString(Qt::ISODateWithMs).toStdString(); }

// The file's SHA-256 in lower-case hex; empty when it cannot be read.
std::string fileSha256(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) return {};
    return hash.result().toHex().toStdString();
}

// The three areas of `image` one after another, as the device holds them.
std::string imageSha256(const DeviceImage& image) {
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const auto area : {std::span<const std::uint8_t>(image.mainArea), std::span<const std::uint8_t>(image.headerArea),
                            std::span<const std::uint8_t>(image.screenArea)})
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(area.data()), static_cast<qsizetype>(area.size())));
    return hash.result().toHex().toStdString();
}

}  // namespace

ProductionStation::ProductionStation(const StationOptions& options, StationProject project, PortRegistry& ports,
                                     QObject* parent)
    : QObject(parent),
      options_(options),
      project_(std::move(project)),
      ports_(ports),
      station_(options.settleMs, options.count),
      watch_(options.watchFolder, options.match, options.pollMs),
      command_(options.onResult, options.onResultTimeoutMs) {
    deadline_.setSingleShot(true);
    deadline_.setTimerType(Qt::PreciseTimer);
    connect(&deadline_, &QTimer::timeout, this, &ProductionStation::pump);
    connect(&watch_, &DeviceFolderWatch::appeared, this, &ProductionStation::onAppeared);
    connect(&watch_, &DeviceFolderWatch::vanished, this, &ProductionStation::onVanished);
    connect(&watch_, &DeviceFolderWatch::folderPresence, this, &ProductionStation::folderPresence);
    connect(&command_, &ResultCommand::failed, this, &ProductionStation::commandFailed);
    connect(&command_, &ResultCommand::allEnded, this, &ProductionStation::checkFinished);
}

ProductionStation::~ProductionStation() = default;

bool ProductionStation::open(QString* error, const MessageTable& texts) {
    projectSha_ = fileSha256(options_.projectPath);
    templateSha_ = fileSha256(QString::fromStdString(project_.project.templatePath));
    record_ = StationRecord::open(options_.record, error, texts);
    return record_ != nullptr;
}

void ProductionStation::start() {
    watch_.start();
    pump();
}

void ProductionStation::stop() {
    station_.stop();
    for (auto& [name, run] : runs_) run->interrupt();
    pump();
}

bool ProductionStation::finished() const {
    const auto closed = [](const auto& run) { return run->hasEnded() && run->portClosed(); };
    return station_.done() && command_.idle() &&
           std::all_of(runs_.begin(), runs_.end(), [&](const auto& entry) { return closed(entry.second); }) &&
           std::all_of(closing_.begin(), closing_.end(), closed);
}

const StationRun* ProductionStation::run(const QString& device) const {
    const auto it = runs_.find(device);
    return it == runs_.end() ? nullptr : it->second.get();
}

void ProductionStation::onAppeared(const QString& name, const QString& path) {
    paths_[name] = path;
    station_.appeared(name.toStdString(), steadyNow());
    pump();
}

void ProductionStation::onVanished(const QString& name) {
    station_.vanished(name.toStdString(), steadyNow());
    pump();
}

void ProductionStation::onRunEnded(const QString& name, const StationRunEnd& end) {
    station_.runEnded(name.toStdString(), end, steadyNow());
    pump();
}

void ProductionStation::pump() {
    if (pumping_) {
        pumpAgain_ = true;  // a run that ended as it started
        return;
    }
    pumping_ = true;
    do {
        pumpAgain_ = false;
        // A run's end is recorded before its device, back already, runs again.
        for (const StationEvent& event : station_.takeEvents()) report(event);
        for (const std::string& name : station_.due(steadyNow())) startRun(QString::fromStdString(name));
        for (const StationEvent& event : station_.takeEvents()) report(event);
    } while (pumpAgain_);
    pumping_ = false;
    if (const auto next = station_.nextDeadline())
        deadline_.start(static_cast<int>(std::clamp<Millis>(*next - steadyNow(), 0, 24 * 3600 * 1000)));
    else
        deadline_.stop();
    checkFinished();
}

void ProductionStation::startRun(const QString& name) {
    if (auto previous = runs_.find(name); previous != runs_.end()) {
        closing_.push_back(std::move(previous->second));
        runs_.erase(previous);
    }
    std::erase_if(closing_, [](const auto& run) { return run->portClosed(); });
    auto run = std::make_unique<StationRun>(project_, paths_[name], ports_);
    StationRun* started = run.get();
    runs_[name] = std::move(run);
    startedAt_[name] = QDateTime::currentDateTimeUtc();
    connect(started, &StationRun::progressed, this, [this, name] { emit progressed(name); });
    connect(started, &StationRun::ended, this, [this, name](const StationRunEnd& end) { onRunEnded(name, end); });
    started->start();
}

void ProductionStation::report(const StationEvent& event) {
    const QString name = QString::fromStdString(event.device);
    emit this->event(event, paths_[name]);
    if (event.kind != StationEvent::Kind::Finished) return;
    const StationAttempt row = attempt(event);
    QString why;
    if (!recordFailed_ && !record_->append(row, &why)) {
        recordFailed_ = true;
        station_.stop();
        emit recordNotWritten(why);
    }
    if (options_.onResult.isEmpty()) return;
    QProcessEnvironment variables;
    variables.insert("VEM_STATION_RESULT", stationResultKey(row.result));
    variables.insert("VEM_STATION_DEVICE", name);
    variables.insert("VEM_STATION_PORT", paths_[name]);
    variables.insert("VEM_STATION_PROJECT", options_.projectPath);
    variables.insert("VEM_STATION_STEP", QString::fromStdString(row.failedStep));
    variables.insert("VEM_STATION_MESSAGE", QString::fromStdString(row.message));
    command_.run(name, variables);
}

StationAttempt ProductionStation::attempt(const StationEvent& finished) const {
    const QString name = QString::fromStdString(finished.device);
    StationAttempt a;
    const QDateTime ended = QDateTime::currentDateTimeUtc();
    const auto started = startedAt_.find(name);
    a.started = iso(started != startedAt_.end() ? started->second : ended);
    a.ended = iso(ended);
    a.station = QSysInfo::machineHostName().toStdString();
    a.port = paths_.at(name).toStdString();
    a.device = finished.device;
    a.projectPath = options_.projectPath.toStdString();
    a.projectSha256 = projectSha_;
    a.templateSha256 = templateSha_;
    const auto run = runs_.find(name);
    a.imageSha256 = imageSha256(run != runs_.end() ? run->second->resultImage() : project_.expected);
    a.result = finished.result;
    a.failedStep = finished.failedStep;
    a.message = fromCp1252(finished.message).toStdString();
    a.durationMs = finished.at - finished.startedAt;
    return a;
}

void ProductionStation::checkFinished() {
    if (finishedSaid_ || !station_.done()) return;
    if (!finished()) {
        // The serial component lets a port go on a timer of its own, and says nothing then.
        QTimer::singleShot(20, this, &ProductionStation::checkFinished);
        return;
    }
    finishedSaid_ = true;
    emit finishedAll();
}

}  // namespace vem
