#pragma once
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <map>
#include <memory>
#include <vector>

#include "host/DeviceFolderWatch.h"
#include "host/ResultCommand.h"
#include "host/StationRecord.h"
#include "host/StationRun.h"
#include "session/Station.h"

namespace vem {

class PortRegistry;

struct StationOptions {
    QString projectPath;  // absolute
    QString watchFolder;
    QString match;        // a wildcard the device names must fit; empty: all
    int settleMs = 500;
    int count = 0;        // finished devices after which the station ends; 0: until stopped
    QString record;       // a file, or a postgresql:// address
    QString onResult;     // a shell command run after each device; empty: none
    int onResultTimeoutMs = 10000;
    int pollMs = 500;     // how often a folder that cannot be watched is looked at
};

// A production station: watches a folder of devices, and programs and verifies each device that
// appears (several at once, in this event loop), as the Station decides; writes one record row per
// attempt and runs the result command. Shared by vemctl and the window.
class ProductionStation : public QObject {
    Q_OBJECT
public:
    ProductionStation(const StationOptions& options, StationProject project, PortRegistry& ports,
                      QObject* parent = nullptr);
    ~ProductionStation() override;

    // Opens the record and reads the files the rows name; false and why (in the words of
    // `texts`) when it cannot.
    bool open(QString* error, const MessageTable& texts);
    // Starts watching, once open; the devices there now arrive.
    void start();
    // Takes no device any more and abandons the running ones (Ctrl+C, SIGTERM, a closed window).
    void stop();
    // Nothing runs, no port is closing, no command waits, and no device will be taken.
    bool finished() const;
    // The record could not be written: the station took no device since.
    bool recordFailed() const { return recordFailed_; }
    const Station& station() const { return station_; }
    // The running or last run on `device`; none before its first.
    const StationRun* run(const QString& device) const;

signals:
    // `port` is the path the device was found at.
    void event(const vem::StationEvent& event, const QString& port);
    void progressed(const QString& device);
    void recordNotWritten(const QString& reason);
    void commandFailed(const QString& device, int exitCode, bool timedOut);
    void folderPresence(bool present);
    void finishedAll();

private:
    void onAppeared(const QString& name, const QString& path);
    void onVanished(const QString& name);
    void onRunEnded(const QString& name, const StationRunEnd& end);
    // Starts what is due, reports the station's events and sets the timer to its next deadline.
    void pump();
    void startRun(const QString& name);
    void report(const StationEvent& event);
    StationAttempt attempt(const StationEvent& finished) const;
    void checkFinished();

    StationOptions options_;
    StationProject project_;
    PortRegistry& ports_;
    Station station_;
    DeviceFolderWatch watch_;
    ResultCommand command_;
    std::unique_ptr<StationRecord> record_;
    QTimer deadline_;
    std::map<QString, QString> paths_;  // device name -> where it was found
    std::map<QString, std::unique_ptr<StationRun>> runs_;
    std::map<QString, QDateTime> startedAt_;
    std::vector<std::unique_ptr<StationRun>> closing_;  // earlier runs whose ports still close
    std::string projectSha_, templateSha_;
    bool pumping_ = false;
    bool pumpAgain_ = false;
    bool recordFailed_ = false;
    bool finishedSaid_ = false;
};

}  // namespace vem
