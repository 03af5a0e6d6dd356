#include "serial/PortPath.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/sysmacros.h>
#endif

namespace vem {

namespace {

#ifdef Q_OS_LINUX
// The device number of this process's controlling terminal (field 7 of /proc/self/stat); 0
// without one.
dev_t controllingTerminal() {
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly)) return 0;
    const QByteArray line = stat.readAll();
    // The command name in parentheses may hold spaces: the fields count from its end.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 5) return 0;
    const unsigned number = fields[4].toUInt();
    return ::makedev((number >> 8) & 0xFFF, (number & 0xFF) | ((number >> 12) & 0xFFF00));
}

// Asked of the kernel's device list, so that no device is opened to find out: opening some
// (a watchdog) has effects of its own.
bool serialLine(dev_t device) {
    const unsigned major = ::major(device), minor = ::minor(device);
    constexpr unsigned VirtualConsoles = 4, TerminalAliases = 5;  // tty1..tty63; tty, console, ptmx
    constexpr unsigned FirstPtySlave = 136, LastPtySlave = 143;
    if (major == TerminalAliases || (major == VirtualConsoles && minor < 64)) return false;
    if (device == controllingTerminal()) return false;  // the terminal vemctl or VEM was started from
    if (major >= FirstPtySlave && major <= LastPtySlave) return true;  // not in the kernel's list
    const QString subsystem =
        QFileInfo(QStringLiteral("/sys/dev/char/%1:%2/subsystem").arg(major).arg(minor)).symLinkTarget();
    return subsystem.endsWith(QStringLiteral("/tty"));
}
#elif defined(Q_OS_UNIX)
bool serialLine(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return true;  // opening proper tells why
    const bool terminal = ::isatty(fd);
    ::close(fd);
    return terminal && QFileInfo(path).canonicalFilePath() != QStringLiteral("/dev/tty");
}
#endif

}  // namespace

QString portDevice(const QString& path) {
    const QString target = QFileInfo(path).canonicalFilePath();
    return target.isEmpty() ? path : target;
}

PortPathFault portPathFault(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0) return PortPathFault::Absent;
    if (!S_ISCHR(st.st_mode)) return PortPathFault::NotADevice;
#ifdef Q_OS_LINUX
    if (!serialLine(st.st_rdev)) return PortPathFault::NotATerminal;
#else
    if (!serialLine(path)) return PortPathFault::NotATerminal;
#endif
    return PortPathFault::None;
#else
    return path.isEmpty() ? PortPathFault::Absent : PortPathFault::None;
#endif
}

}  // namespace vem
