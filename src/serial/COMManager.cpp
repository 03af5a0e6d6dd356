#include "serial/COMManager.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <algorithm>
#include <utility>

#include "serial/Serial.h"

namespace vem {

namespace {
TCOMManager* instance = nullptr;

void dropInstance() {
    delete instance;
    instance = nullptr;
}

std::vector<int> numbersOf(const std::vector<PortEntry>& list) {
    std::vector<int> n;
    for (const PortEntry& e : list) n.push_back(e.number);
    std::sort(n.begin(), n.end());
    return n;
}

// ttyS2 before ttyS10: the name without its trailing digits, then their value.
std::pair<QString, qulonglong> nameOrder(const QString& name) {
    qsizetype digits = name.size();
    while (digits > 0 && name[digits - 1].isDigit()) --digits;
    return {name.left(digits), name.mid(digits).toULongLong()};
}

QString canonical(const QString& path) {
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}
}  // namespace

TCOMManager& COMManager() {
    if (!instance) {
        instance = new TCOMManager;
        qAddPostRoutine(dropInstance);
    }
    return *instance;
}

TCOMManager* existingCOMManager() { return instance; }

TCOMManager::TCOMManager() {
    devicePaths_ =
        qEnvironmentVariable("VEM_PORT").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    watch_.setInterval(1000);
    connect(&watch_, &QTimer::timeout, this, &TCOMManager::watchTick);
    ports_ = present();
}

TCOMManager::~TCOMManager() = default;

int TCOMManager::numberFor(const QString& location) {
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

std::vector<PortEntry> TCOMManager::present() {
    QList<QSerialPortInfo> system = QSerialPortInfo::availablePorts();
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
        const QString target = canonical(path);
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

void TCOMManager::CheckPorts() {
    for (PortEntry& e : present())
        if (!PortExists(e.number)) ports_.push_back(std::move(e));
}

bool TCOMManager::RecheckPorts() {
    std::vector<PortEntry> fresh = present();
    bool changed = numbersOf(fresh) != numbersOf(ports_);
    std::vector<QPointer<TCustomSerial>> lost;
    for (const PortEntry& old : ports_) {
        const auto it = std::find_if(fresh.begin(), fresh.end(),
                                     [&](const PortEntry& e) { return e.number == old.number; });
        if (it != fresh.end())
            it->serial = old.serial;
        else if (old.serial)
            lost.emplace_back(old.serial);
    }
    ports_ = std::move(fresh);
    for (const QPointer<TCustomSerial>& s : lost) {
        changed = true;
        if (s) s->PanicClose();
    }
    return changed;
}

int TCOMManager::Port2Index(int port) const {
    for (std::size_t i = 0; i < ports_.size(); ++i)
        if (ports_[i].number == port) return static_cast<int>(i);
    return -1;
}

void TCOMManager::AssignCOM(TCustomSerial& serial) {
    Forget(serial);
    const int i = serial.Active() ? Port2Index(serial.COMPort()) : -1;
    if (i >= 0) ports_[static_cast<std::size_t>(i)].serial = &serial;
}

void TCOMManager::Forget(TCustomSerial& serial) {
    for (PortEntry& e : ports_)
        if (e.serial == &serial) e.serial = nullptr;
}

int TCOMManager::NumberAt(const QString& location) const {
    for (const PortEntry& e : ports_)
        if (e.systemLocation == location) return e.number;
    return 0;
}

int TCOMManager::NumberThrough(const QString& path) const {
    const QString target = canonical(path);
    for (const PortEntry& e : ports_)
        if (e.systemLocation == path || canonical(e.systemLocation) == target) return e.number;
    return 0;
}

QString TCOMManager::LocationOf(int port) const {
    for (const auto& [location, number] : numbers_)
        if (number == port) return location;
    return {};
}

int TCOMManager::DefaultPort() const { return ports_.empty() ? 0 : ports_.front().number; }

void TCOMManager::AddDevicePath(const QString& path) {
    if (!devicePaths_.contains(path)) devicePaths_.append(path);
    RecheckPorts();
}

void TCOMManager::startWatching() { watch_.start(); }
void TCOMManager::stopWatching() { watch_.stop(); }

void TCOMManager::watchTick() {
    const std::vector<int> before = numbersOf(ports_);
    if (!RecheckPorts()) return;
    const std::vector<int> after = numbersOf(ports_);
    const bool arrived = std::any_of(after.begin(), after.end(), [&](int n) {
        return !std::binary_search(before.begin(), before.end(), n);
    });
    const bool removed = std::any_of(before.begin(), before.end(), [&](int n) {
        return !std::binary_search(after.begin(), after.end(), n);
    });
    // A handler that throws is dropped.
    auto raise = [this](std::function<void(TCOMManager&)>& handler) {
        if (!handler) return;
        try {
            auto h = handler;
            h(*this);
        } catch (...) {
            handler = nullptr;
        }
    };
    if (arrived) raise(OnCOMArrival);
    if (removed) raise(OnCOMRemoval);
}

}  // namespace vem
