#pragma once
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <map>
#include <vector>

namespace vem {

class TCustomSerial;

struct PortEntry {
    int number = 0;
    QString displayName;     // COMn on Windows, else the system name or the given path
    QString systemLocation;  // what is opened
    QString description;
    QString serialNumber;
    TCustomSerial* serial = nullptr;  // the component that has the port open
};

// The ports present on this machine, numbered for the whole run.
// Paths named in VEM_PORT (or added) come first; the first of them is a new port's default.
class TCOMManager : public QObject {
    Q_OBJECT
public:
    TCOMManager();
    ~TCOMManager() override;

    // Adds ports that appeared since the last look; never removes any.
    void CheckPorts();
    // Rebuilds the list; a vanished port a component has open is panic-closed.
    // Returns whether the list changed.
    bool RecheckPorts();
    bool PortExists(int port) const { return Port2Index(port) >= 0; }
    int Port2Index(int port) const;
    // Links the entry of serial's port to it while it is open; unlinks it otherwise.
    void AssignCOM(TCustomSerial& serial);
    void Forget(TCustomSerial& serial);

    int count() const { return static_cast<int>(ports_.size()); }
    const PortEntry& entry(int i) const { return ports_.at(static_cast<std::size_t>(i)); }
    // The device path of a port number, also of one that has left the list.
    QString LocationOf(int port) const;
    // The number of the listed port opened at `location`; 0 when none is.
    int NumberAt(const QString& location) const;
    // The same for `path` or any link that leads to the same device.
    int NumberThrough(const QString& path) const;
    // The port a new component starts on; 0 when there is none.
    int DefaultPort() const;

    // A device path to list besides the system's ports, as if named in VEM_PORT.
    void AddDevicePath(const QString& path);
    // The paths of VEM_PORT, then those added.
    const QStringList& devicePaths() const { return devicePaths_; }

    // Re-checks every second from now on.
    void startWatching();
    void stopWatching();

    std::function<void(TCOMManager&)> OnCOMArrival;
    std::function<void(TCOMManager&)> OnCOMRemoval;

private:
    std::vector<PortEntry> present();
    int numberFor(const QString& location);
    void watchTick();

    std::vector<PortEntry> ports_;
    QStringList devicePaths_;
    std::map<QString, int> numbers_;  // system location -> number, kept for the run
    int nextNumber_ = 1;
    QTimer watch_;
};

TCOMManager& COMManager();
// The instance if one was made, for code that must not create it (destructors).
TCOMManager* existingCOMManager();

}  // namespace vem
