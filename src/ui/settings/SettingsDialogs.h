#pragma once
#include <QPointer>
#include <QString>
#include <optional>
#include <utility>

class QDialog;
class QWidget;

namespace vem {

struct DeviceImage;
class MessagePresenter;
struct Project;
class TForm4;
class TForm5;
class TForm8;
class TForm9;
class TForm11;
class TForm12;

// The device settings dialogs, created once, and the menu flows that fill them from the
// project, show them and store what they return.
class SettingsDialogs {
public:
    SettingsDialogs(Project& project, DeviceImage& image, MessagePresenter& presenter, QWidget* parent);
    ~SettingsDialogs();
    SettingsDialogs(const SettingsDialogs&) = delete;
    SettingsDialogs& operator=(const SettingsDialogs&) = delete;

    // "Haltezeiten"; the caller refreshes the hold times afterwards, accepted or not.
    void runHoldTimes();
    // "RS232"; the caller refreshes the interface summary afterwards.
    void runDeviceSerial();
    // "IP Adresse". When accepted: the address as typed (the four texts joined by ".") and the
    // port as typed, for the summary labels until their next refresh.
    std::optional<std::pair<QString, QString>> runIpAddress();
    // "Daten senden".
    void runDataSend();
    // "POS"; its "Extended" button runs runPosExtended.
    void runPos();
    void runPosExtended();
    // Enables "Extended" exactly when the loaded image declares the extended settings.
    void updateExtendedButton();

    TForm4& holdTimesForm();
    TForm5& deviceSerialForm();
    TForm8& ipAddressForm();
    TForm11& dataSendForm();
    TForm9& posForm();
    TForm12& posExtendedForm();

private:
    static int execCentred(QDialog& dialog);

    Project& project_;
    DeviceImage& image_;
    QPointer<TForm4> form4_;
    QPointer<TForm5> form5_;
    QPointer<TForm8> form8_;
    QPointer<TForm9> form9_;
    QPointer<TForm11> form11_;
    QPointer<TForm12> form12_;
};

}  // namespace vem
