#pragma once
#include <string>

#include "model/DeviceSettings.h"

namespace vem {

// The value labels of the main window's interface box.
struct InterfaceSummary {
    std::string handshake;
    std::string dataFormat;
    std::string baudRate;
    std::string address;
    std::string port;
};

// A stored index outside its list (-1 from a typed text, or any value from a file or a
// read-back) shows an empty text.
InterfaceSummary interfaceSummary(const DeviceSettings& s);

// The hold time box shows holdTimesTexts (InterfaceRules.h).

}  // namespace vem
