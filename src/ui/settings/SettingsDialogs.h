#pragma once
#include "i18n/LanguageFile.h"
#include "session/Outcome.h"
#include "ui/common/LazyWindow.h"

class QWidget;

namespace vem {

class MessagePresenter;
class Session;
class HoldTimesDialog;
class DeviceSerialDialog;
class IpAddressDialog;
class PosDialog;
class DataSendDialog;
class PosExtendedDialog;

// The device settings dialogs, each built when first needed, and the menu flows that fill them
// from the project and show them. Their "übernehmen" hands what they hold to the session, and a dialog
// closes once the session took it; what the session refuses is said over the dialog.
class SettingsDialogs {
public:
    SettingsDialogs(Session& session, MessagePresenter& presenter, QWidget* parent);
    ~SettingsDialogs();
    SettingsDialogs(const SettingsDialogs&) = delete;
    SettingsDialogs& operator=(const SettingsDialogs&) = delete;

    // "Haltezeiten"; the hold time labels are refreshed afterwards, accepted or not.
    Outcome runHoldTimes();
    // "RS232"; the interface labels are refreshed afterwards.
    Outcome runDeviceSerial();
    // "IP Adresse". When accepted, the labels show the address and port as typed.
    Outcome runIpAddress();
    // "Daten senden".
    Outcome runDataSend();
    // "POS"; its "Extended" button runs runPosExtended.
    Outcome runPos();
    void runPosExtended();
    // Enables "Extended" exactly when the loaded image declares the extended settings (on a POS
    // dialog already built; one built later does it itself).
    void updateExtendedButton();
    // Puts each dialog's texts of a language file on it.
    void applyLanguage(const LanguageFile& file);

    HoldTimesDialog& holdTimesDialog();
    DeviceSerialDialog& deviceSerialDialog();
    IpAddressDialog& ipAddressDialog();
    DataSendDialog& dataSendDialog();
    PosDialog& posDialog();
    PosExtendedDialog& posExtendedDialog();

private:
    Session& session_;
    MessagePresenter& presenter_;
    LazyWindow<HoldTimesDialog> holdTimes_;
    LazyWindow<DeviceSerialDialog> deviceSerial_;
    LazyWindow<IpAddressDialog> ipAddress_;
    LazyWindow<PosDialog> pos_;
    LazyWindow<DataSendDialog> dataSend_;
    LazyWindow<PosExtendedDialog> posExtended_;
};

}  // namespace vem
