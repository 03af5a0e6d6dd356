#include "ui/main/DeviceMenu.h"

#include <QFile>

#include "files/FileIo.h"
#include "files/ImageBuild.h"
#include "host/Encoding.h"
#include "serial/PortRegistry.h"
#include "serial/SerialPort.h"
#include "session/Session.h"
#include "ui/common/LanguageApply.h"
#include "ui/common/MessagePresenter.h"
#include "ui/device/DeviceInfoDialog.h"
#include "ui/device/ProgressWindow.h"
#include "ui/device/VideoSignalDialog.h"
#include "ui/main/ProjectFiles.h"
#include "ui/station/StationWindow.h"

namespace vem {

DeviceMenu::DeviceMenu(Session& session, MessagePresenter& presenter, SerialPort& serial, PortRegistry& ports,
                       ProjectFiles& files, QWidget* window, std::function<void(const Outcome&)> apply,
                       std::function<void()> systemMenuRequested)
    : session_(session),
      presenter_(presenter),
      serial_(serial),
      ports_(ports),
      files_(files),
      window_(window),
      apply_(std::move(apply)),
      portSettings_(ports, session.messages(), window),
      progress_(LanguageSection::Progress, [window] { return new ProgressWindow(window); }),
      deviceInfo_(LanguageSection::DeviceInfo,
                  [window, menu = std::move(systemMenuRequested)] {
                      auto* dialog = new DeviceInfoDialog(window);
                      QObject::connect(dialog, &DeviceInfoDialog::systemMenuRequested, window, menu);
                      return dialog;
                  }),
      videoSignal_(LanguageSection::Video, [this, &presenter, window] {
          auto* dialog = new VideoSignalDialog(presenter, window);
          QObject::connect(dialog, &VideoSignalDialog::sendRequested, window, [this](const VideoBlock& block) {
              apply_(session_.device().startVideoSettings(portName(), block));
          });
          return dialog;
      }),
      station_([this] { return new StationWindow(session_, ports_, window_); }) {}

ProgressWindow& DeviceMenu::progressWindow() { return progress_.get(); }

DeviceInfoDialog& DeviceMenu::deviceInfoDialog() { return deviceInfo_.get(); }

VideoSignalDialog& DeviceMenu::videoSignalDialog() { return videoSignal_.get(); }

void DeviceMenu::readBack() {
    if (files_.mayDiscardChanges()) apply_(session_.device().startReadBack(portName()));
}

void DeviceMenu::program() {
    apply_(session_.device().startProgramming(portName(), currentLocalTime(), DeviceOperations::AfterProgramming::Verify));
}

void DeviceMenu::setClock() { apply_(session_.device().startSetClock(portName())); }

void DeviceMenu::readInfo() { apply_(session_.device().startReadInfo(portName())); }

void DeviceMenu::uploadFont() {
    const QString path = files_.chooseFile(ProjectFiles::FileKind::Font);
    if (path.isEmpty()) return;
    // A file that cannot be read ends here without a word; a wrong size is the session's to say.
    if (const auto bytes = readFileBytes(QFile::encodeName(path).toStdString(), FontSize + 1))
        apply_(session_.device().startFontUpload(portName(), *bytes));
}

void DeviceMenu::uploadFirmware() {
    const QString path = files_.chooseFile(ProjectFiles::FileKind::Firmware);
    if (path.isEmpty()) return;
    if (const auto bytes = readFileBytes(QFile::encodeName(path).toStdString(), FirmwareSize))
        apply_(session_.device().startFirmwareUpload(portName(), *bytes));
}

void DeviceMenu::sendFuses() { apply_(session_.device().sendFuses(portName())); }

void DeviceMenu::editVideoSignal() { videoSignal_.get().exec(); }

void DeviceMenu::editPortSettings() {
    if (portSettings_.editAndReopen(serial_)) presenter_.showSlot(Msg::PortOpenAfterSettings, window_);
}

void DeviceMenu::openImageFile() {
    const QString path = files_.chooseFile(ProjectFiles::FileKind::Image);
    if (!path.isEmpty()) apply_(session_.document().openImageFile(QFile::encodeName(path).toStdString()));
}

void DeviceMenu::showDeviceInfo() {
    deviceInfo_.get().fill(session_.device().deviceInfo());
    deviceInfo_.get().exec();
}

void DeviceMenu::showProgress() {
    // A window that was never shown need not be built to be hidden.
    if (session_.device().progress().visible || progress_.built()) progress_.get().showProgress(session_.device().progress());
}

void DeviceMenu::openStation() {
    StationWindow& window = stationWindow();
    window.show();
    window.raise();
    window.activateWindow();
}

StationWindow& DeviceMenu::stationWindow() {
    StationWindow& window = station_.get();
    window.takeLanguage(language_);
    window.showTexts();
    return window;
}

void DeviceMenu::applyLanguage(const LanguageFile& file) {
    language_ = file;
    if (StationWindow* window = station_.built()) {
        window->takeLanguage(language_);
        window->showTexts();
    }
    progress_.takeLanguage(file);
    deviceInfo_.takeLanguage(file);
    videoSignal_.takeLanguage(file);
}

std::string DeviceMenu::portName() const {
    const QString location = ports_.locationOf(serial_.portNumber());
    return toCp1252(location.isEmpty() ? QString::number(serial_.portNumber()) : location);
}

}  // namespace vem
