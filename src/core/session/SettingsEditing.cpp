#include "session/SettingsEditing.h"

#include "session/ProjectDocument.h"

namespace vem {

namespace {

Outcome refused(DialogId dialog) {
    Outcome out = Outcome::failed();
    out.dialogMessage = dialog;
    return out;
}

Outcome settingLabels() {
    Outcome out;
    out.refreshSettingLabels = true;
    return out;
}

}  // namespace

SettingsEditing::SettingsEditing(ProjectDocument& document, MessageTable& messages)
    : document_(document), messages_(messages) {}

bool SettingsEditing::posExtendedAvailable() const { return document_.image().posExtendedSupported(); }


Outcome SettingsEditing::acceptHoldTimes(const HoldTimesTexts& typed) {
    return document_.edit([&](Project& project, DeviceImage&) -> Outcome {
        if (!vem::acceptHoldTimes(project.device, typed)) return Outcome::failed(Msg::HoldTimeOutOfRange);
        return settingLabels();
    });
}

Outcome SettingsEditing::acceptDeviceSerial(const DeviceSerialPositions& chosen) {
    return document_.edit([&](Project& project, DeviceImage&) -> Outcome {
        vem::acceptDeviceSerial(project.device, chosen);
        return settingLabels();
    });
}

Outcome SettingsEditing::acceptIpAddress(const IpAddressTexts& typed) {
    return document_.edit([&](Project& project, DeviceImage& image) -> Outcome {
        if (!storeIpAddress(project.device, typed)) return refused(DialogId::IpAddress);
        image.storePortSplit(project.device.IpPort);
        Outcome out;
        out.typedAddress = std::pair{typedAddressLabel(typed), typed.port};
        return out;
    });
}

Outcome SettingsEditing::acceptDataSend(const DataSendEntry& typed) {
    return document_.edit([&](Project& project, DeviceImage&) -> Outcome {
        // The switch and the baud digit are stored even when a character code is refused.
        if (!vem::acceptDataSend(project.device, typed)) return refused(DialogId::DataSend);
        return {};
    });
}

Outcome SettingsEditing::acceptPos(const PosEntry& typed) {
    return document_.edit([&](Project& project, DeviceImage&) -> Outcome {
        switch (checkPosEntry(typed)) {
        case PosVerdict::Accept:
            storePosEntry(project.pos, typed);
            return {};
        case PosVerdict::LinesBeyond:
            return refused(DialogId::Pos);
        case PosVerdict::KeepOpen:
            break;
        }
        return Outcome::failed();
    });
}

Outcome SettingsEditing::switchKeyword(int& currentKeyword, int pressed, const std::string& shownText, int shownAction) {
    return document_.edit([&](Project& project, DeviceImage&) -> Outcome {
        Outcome out;
        out.ok = vem::switchKeyword(project.posExtended, currentKeyword, pressed, shownText, shownAction);
        return out;
    });
}

Outcome SettingsEditing::acceptPosExtended(const PosExtendedEntry& typed, int shownKeyword, const std::string& shownText,
                                   int shownAction) {
    return document_.edit([&](Project& project, DeviceImage&) -> Outcome {
        vem::acceptPosExtended(project.posExtended, typed, shownKeyword, shownText, shownAction);
        Outcome out;
        if (const auto limit = maxSpacesLimit(typed.maxSpaces)) say(out, messages_, *limit);
        return out;
    });
}

}  // namespace vem
