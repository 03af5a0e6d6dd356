#include "serial/PortRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>
#include <future>
#include <utility>

#include "serial/PortPath.h"

namespace vem {

namespace {

std::vector<int> numbersOf(const std::vector<PortEntry>& list) {
    std::vector<int> n;
    for (const PortEntry& e : list) n.push_back(e.number);
    std::sort(n.begin(), n.end());
    return n;
}

// Whether `some` holds a number that `others` lacks; both sorted.
bool anyMissingFrom(const std::vector<int>& some, const std::vector<int>& others) {
    return std::any_of(some.begin(), some.end(), [&](int n) { return !std::binary_search(others.begin(), others.end(), n); });
}

// ttyS2 before ttyS10: the name without its trailing digits, then their value.
std::pair<QString, qulonglong> nameOrder(const QString& name) {
    qsizetype digits = name.size();
    while (digits > 0 && name[digits - 1].isDigit()) --digits;
    return {name.left(digits), name.mid(digits).toULongLong()};
}

std::future<QList<QSerialPortInfo>>& listedAhead() {
    static std::future<QList<QSerialPortInfo>> listing;
    return listing;
}
}  // namespace

PortRegistry::PortRegistry(QObject* parent) : QObject(parent) {
    devicePaths_ =
        qEnvironmentVariable("VEM_PORT").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    watch_.setInterval(1000);
    connect(&watch_, &QTimer::timeout, this, &PortRegistry::recheck);
    ports_ = present();
}

int PortRegistry::numberFor(const QString& location) {
    const auto known = numbers_.find(location);
    if (known != numbers_.end()) return known->second;
    int n = 0;
#ifdef Q_OS_WIN
    static const QRegularExpression com(QStringLiteral("^(?:\\\\\\\\\\.\\\\)?COM(\\d+)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const auto m = com.match(location);
    n = m.hasMatch() ? m.captured(1).toInt() : 100 + nextNumber_++;
#else
    n = nextNumber_++;
#endif
    numbers_.emplace(location, n);
    return n;
}

void PortRegistry::listAhead() { listedAhead() = std::async(std::launch::async, &QSerialPortInfo::availablePorts); }

std::vector<PortEntry> PortRegistry::present() {
    QList<QSerialPortInfo> system =
        listedAhead().valid() ? listedAhead().get() : QSerialPortInfo::availablePorts();
    std::sort(system.begin(), system.end(), [](const QSerialPortInfo& a, const QSerialPortInfo& b) {
        return nameOrder(a.portName()) < nameOrder(b.portName());
    });
    std::vector<bool> taken(static_cast<std::size_t>(system.size()), false);
    auto describe = [](PortEntry& e, const QSerialPortInfo& info) {
        e.description = info.description();
        e.serialNumber = info.serialNumber();
    };

    std::vector<PortEntry> list;
    for (const QString& path : devicePaths_) {
        PortEntry e;
        e.systemLocation = e.displayName = path;
        bool found = QFileInfo::exists(path);
        const QString target = portDevice(path);
        for (qsizetype i = 0; i < system.size(); ++i) {
            const QSerialPortInfo& info = system[i];
            if (taken[i]) continue;
            if (info.systemLocation() == target || info.systemLocation() == path ||
                info.portName() == path) {
                taken[i] = found = true;
                describe(e, info);
            }
        }
        if (!found) continue;
        if (std::any_of(list.begin(), list.end(), [&](const PortEntry& o) {
                return o.systemLocation == path;
            }))
            continue;
        e.number = numberFor(path);
        list.push_back(e);
    }
    for (qsizetype i = 0; i < system.size(); ++i) {
        if (taken[i]) continue;
        PortEntry e;
        e.systemLocation = system[i].systemLocation();
        e.displayName = system[i].portName();
        describe(e, system[i]);
        e.number = numberFor(e.systemLocation);
        list.push_back(e);
    }
    return list;
}

bool PortRegistry::recheck() {
    std::vector<PortEntry> fresh = present();
    const std::vector<int> before = numbersOf(ports_), after = numbersOf(fresh);
    ports_ = std::move(fresh);
    const bool arrived = anyMissingFrom(after, before), removed = anyMissingFrom(before, after);
    if (arrived) emit portsArrived();
    if (removed) emit portsRemoved();
    return arrived || removed;
}

bool PortRegistry::contains(int number) const {
    return std::any_of(ports_.begin(), ports_.end(), [&](const PortEntry& e) { return e.number == number; });
}

int PortRegistry::numberAt(const QString& location) const {
    for (const PortEntry& e : ports_)
        if (e.systemLocation == location) return e.number;
    return 0;
}

int PortRegistry::numberThrough(const QString& path) const {
    const QString target = portDevice(path);
    for (const PortEntry& e : ports_)
        if (e.systemLocation == path || portDevice(e.systemLocation) == target) return e.number;
    return 0;
}

QString PortRegistry::locationOf(int port) const {
    for (const auto& [location, number] : numbers_)
        if (number == port) return location;
    return {};
}

int PortRegistry::defaultPort() const { return ports_.empty() ? 0 : ports_.front().number; }

void PortRegistry::addDevicePath(const QString& path) {
    if (!devicePaths_.contains(path)) devicePaths_.append(path);
    recheck();
}

void PortRegistry::startWatching() { watch_.start(); }

}  // namespace vem
