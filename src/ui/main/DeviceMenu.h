#pragma once
#include <functional>
#include <string>

#include "i18n/LanguageFile.h"
#include "session/Outcome.h"
#include "ui/common/LazyWindow.h"
#include "ui/port/PortSettingsFlow.h"

class QWidget;

namespace vem {

class DeviceInfoDialog;
class MessagePresenter;
class PortRegistry;
class ProgressWindow;
class ProjectFiles;
class SerialPort;
class Session;
class StationWindow;
class VideoSignalDialog;

// What the menus "PC Comport", "QV" and "System" do: the exchanges with the device on the PC's
// port, and the windows they show (progress, device information, video signal).
class DeviceMenu {
public:
    // `apply` carries out an outcome of the session.
    DeviceMenu(Session& session, MessagePresenter& presenter, SerialPort& serial, PortRegistry& ports,
               ProjectFiles& files, QWidget* window, std::function<void(const Outcome&)> apply);
    DeviceMenu(const DeviceMenu&) = delete;
    DeviceMenu& operator=(const DeviceMenu&) = delete;

    void readBack();
    void program();
    void setClock();
    void readInfo();
    void uploadFont();
    void uploadFirmware();
    void sendFuses();
    void editVideoSignal();
    void editPortSettings();
    // "BIN - File...": loads an image template.
    void openImageFile();
    // Fills "QV - Info" with what the device said and shows it.
    void showDeviceInfo();
    // "Serienprogrammierung...": shows the station window, built when first opened.
    void openStation();
    StationWindow& stationWindow();
    // Puts each window's texts of a language file on it.
    void applyLanguage(const LanguageFile& file);

    ProgressWindow& progressWindow() { return *progress_; }
    DeviceInfoDialog& deviceInfoDialog() { return *deviceInfo_; }

private:
    // The port as messages name it.
    std::string portName() const;

    Session& session_;
    MessagePresenter& presenter_;
    SerialPort& serial_;
    PortRegistry& ports_;
    ProjectFiles& files_;
    QWidget* window_;
    std::function<void(const Outcome&)> apply_;
    PortSettingsFlow portSettings_;
    ProgressWindow* progress_;
    DeviceInfoDialog* deviceInfo_;
    VideoSignalDialog* videoSignal_;
    std::optional<LanguageFile> language_;  // the last taken, for the station's runs
    LazyWindow<StationWindow> station_;
};

}  // namespace vem
