#pragma once
#include <functional>
#include <memory>

#include "CommandTable.h"
#include "DeviceTasks.h"

namespace vem::cli {

using TaskMaker = std::function<std::unique_ptr<DeviceTask>(const Request&)>;

// Runs a device command on every port of the request at once: each device has its own session,
// serial component and link, and one event loop serves them all, so a slow or failing device
// neither stops nor slows the others. With several ports every line names its port and one
// closing line per device says port, result, time and what the device holds. The exit code is
// the highest of the devices'.
int runOnDevices(const char* command, const Request& request, Context& context, const TaskMaker& makeTask);

}  // namespace vem::cli
