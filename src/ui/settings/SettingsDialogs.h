#pragma once
#include <QPointer>

#include "session/Outcome.h"

class QDialog;
class QWidget;

namespace vem {

class MessagePresenter;
class Session;
class TForm4;
class TForm5;
class TForm8;
class TForm9;
class TForm11;
class TForm12;

// The device settings dialogs, created once, and the menu flows that fill them from the
// project, show them and hand what they return to the session.
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

    Session& session_;
    QPointer<TForm4> form4_;
    QPointer<TForm5> form5_;
    QPointer<TForm8> form8_;
    QPointer<TForm9> form9_;
    QPointer<TForm11> form11_;
    QPointer<TForm12> form12_;
};

}  // namespace vem
