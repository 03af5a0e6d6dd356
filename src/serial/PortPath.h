#pragma once
#include <QString>

namespace vem {

// Why a device path is no serial port to open, told without opening it.
enum class PortPathFault {
    None,
    Absent,
    NotADevice,    // a regular file, a folder, a pipe
    NotATerminal,  // a character device that is no serial line (/dev/null, /dev/zero), or the
                   // console and controlling terminal (/dev/tty, /dev/console, /dev/tty1, and the terminal this process was started from)
};

PortPathFault portPathFault(const QString& path);

// The device a path leads to: a link's target, else the path as given.
QString portDevice(const QString& path);

}  // namespace vem
