#include "ui/port/PortMemory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "serialline/SerialConfig.h"
#include "serial/PortRegistry.h"
#include "serial/PortPath.h"
#include "serial/SerialPort.h"

namespace vem {

namespace {
const QString ConfigKey = QStringLiteral("Port/Config");
const QString LocationKey = QStringLiteral("Port/Location");

QSettings& store(QSettings& s) {
    s.setFallbacksEnabled(false);  // per user only
    return s;
}


bool environmentNamesAPort(const PortRegistry& ports) {
    const QStringList paths =
        qEnvironmentVariable("VEM_PORT").split(QDir::listSeparator(), Qt::SkipEmptyParts);
    return std::any_of(paths.begin(), paths.end(), [&](const QString& p) { return ports.numberAt(p) > 0; });
}

// A pseudo-terminal of an earlier run may be someone's terminal now.
bool shortLived(const QString& path) {
    return QFileInfo(path).canonicalFilePath().startsWith(QStringLiteral("/dev/pts/"));
}
}  // namespace

void savePortSettings(const SerialPort& serial, const PortRegistry& ports) {
    QSettings s(QStringLiteral("VEM"), QStringLiteral("VEM"));
    store(s);
    s.setValue(ConfigKey, QString::fromLatin1(ConfigToStr(GetConfig(serial.line(), serial.portNumber()))));
    s.setValue(LocationKey, ports.locationOf(serial.portNumber()));
}

void restorePortSettings(SerialPort& serial, PortRegistry& ports) {
    QSettings s(QStringLiteral("VEM"), QStringLiteral("VEM"));
    store(s);
    const QByteArray text = s.value(ConfigKey).toString().toLatin1();
    TSerialConfig c = StrToConfig(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                                  GetConfig(serial.line(), serial.portNumber()));
    if (!c.Valid) return;  // nothing half taken
    c.COMPort = serial.portNumber();
    const QString location = s.value(LocationKey).toString();
    if (!location.isEmpty() && !environmentNamesAPort(ports)) {
        int n = ports.numberAt(location);
        if (n == 0 && !shortLived(location) && portPathFault(location) == PortPathFault::None) {
            ports.addDevicePath(location);
            n = ports.numberAt(location);
        }
        if (n > 0) c.COMPort = n;
    }
    SetConfig(serial.line(), c, [&serial](int port) { serial.setPortNumber(port); });
}

}  // namespace vem
