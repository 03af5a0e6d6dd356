#pragma once
#include <string>

#include "i18n/MessageTable.h"
#include "session/Outcome.h"
#include "settings/InterfaceRules.h"
#include "settings/PosRules.h"

namespace vem {

class ProjectDocument;

// What each settings dialog's accept does to the project: each is one step of its history; a
// value refused keeps the dialog open with its message.
class SettingsEditing {
public:
    SettingsEditing(ProjectDocument& document, MessageTable& messages);

    Outcome acceptHoldTimes(const HoldTimesTexts& typed);
    Outcome acceptDeviceSerial(const DeviceSerialPositions& chosen);
    Outcome acceptIpAddress(const IpAddressTexts& typed);
    Outcome acceptDataSend(const DataSendEntry& typed);
    Outcome acceptPos(const PosEntry& typed);
    // A keyword button of the POS extended dialog: commits the shown keyword; not ok when
    // `pressed` is already current.
    Outcome switchKeyword(int& currentKeyword, int pressed, const std::string& shownText, int shownAction);
    Outcome acceptPosExtended(const PosExtendedEntry& typed, int shownKeyword, const std::string& shownText,
                              int shownAction);
    // The template has the POS extended block.
    bool posExtendedAvailable() const;

private:
    ProjectDocument& document_;
    MessageTable& messages_;
};

}  // namespace vem
