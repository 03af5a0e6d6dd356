#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <map>
#include <vector>

namespace vem {

struct PortEntry {
    int number = 0;
    QString displayName;     // COMn on Windows, else the system name or the given path
    QString systemLocation;  // what is opened
    QString description;
    QString serialNumber;
};

// The ports present on this machine, numbered for the whole run.
// Paths named in VEM_PORT (or added) come first; the first of them is a new port's default.
class PortRegistry : public QObject {
    Q_OBJECT
public:
    explicit PortRegistry(QObject* parent = nullptr);

    // Starts listing the system's ports on a thread of its own; the next registry made takes
    // that list instead of waiting for its own (a listing reads much of /sys for tens of
    // milliseconds). For a program's start, before its windows are built.
    static void listAhead();

    // Rebuilds the list and says what changed through portsArrived and portsRemoved.
    // Returns whether the list changed.
    bool recheck();
    bool contains(int number) const;

    int count() const { return static_cast<int>(ports_.size()); }
    const PortEntry& entry(int i) const { return ports_.at(static_cast<std::size_t>(i)); }
    // The device path of a port number, also of one that has left the list.
    QString locationOf(int number) const;
    // The number of the listed port opened at `location`; 0 when none is.
    int numberAt(const QString& location) const;
    // The same for `path` or any link that leads to the same device.
    int numberThrough(const QString& path) const;
    // The port a new serial port starts on; 0 when there is none.
    int defaultPort() const;

    // A device path to list besides the system's ports, as if named in VEM_PORT.
    void addDevicePath(const QString& path);
    // The paths of VEM_PORT, then those added.
    const QStringList& devicePaths() const { return devicePaths_; }

    // Re-checks every second from now on.
    void startWatching();

signals:
    void portsArrived();
    // A serial port whose port left the list closes at once.
    void portsRemoved();

private:
    std::vector<PortEntry> present();
    int numberFor(const QString& location);

    std::vector<PortEntry> ports_;
    QStringList devicePaths_;
    std::map<QString, int> numbers_;  // system location -> number, kept for the run
    int nextNumber_ = 1;
    QTimer watch_;
};

}  // namespace vem
