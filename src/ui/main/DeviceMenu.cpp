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
                       ProjectFiles& files, QWidget* window, std::function<void(const Outcome&)> apply)
    : session_(session),
      presenter_(presenter),
      serial_(serial),
      ports_(ports),
      files_(files),
      window_(window),
      apply_(std::move(apply)),
      portSettings_(ports, session.messages(), window),
      progress_(new ProgressWindow(window)),
      deviceInfo_(new DeviceInfoDialog(window)),
      videoSignal_(new VideoSignalDialog(presenter, window)),
      station_([this] { return new StationWindow(session_, ports_, window_); }) {
    QObject::connect(videoSignal_, &VideoSignalDialog::sendRequested, window,
                     [this](const VideoBlock& block) { apply_(session_.device().startVideoSettings(portName(), block)); });
}

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

void DeviceMenu::editVideoSignal() { videoSignal_->exec(); }

void DeviceMenu::editPortSettings() {
    if (portSettings_.editAndReopen(serial_)) presenter_.showSlot(Msg::PortOpenAfterSettings, window_);
}

void DeviceMenu::openImageFile() {
    const QString path = files_.chooseFile(ProjectFiles::FileKind::Image);
    if (!path.isEmpty()) apply_(session_.document().openImageFile(QFile::encodeName(path).toStdString()));
}

void DeviceMenu::showDeviceInfo() {
    deviceInfo_->fill(session_.device().deviceInfo());
    deviceInfo_->exec();
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
    using S = LanguageSection;
    const std::pair<QWidget*, S> windows[] = {
        {progress_, S::Progress}, {deviceInfo_, S::DeviceInfo}, {videoSignal_, S::Video}};
    for (const auto& [window, section] : windows) applyLanguageSection(window, section, file.section(section));
}

std::string DeviceMenu::portName() const {
    const QString location = ports_.locationOf(serial_.portNumber());
    return toCp1252(location.isEmpty() ? QString::number(serial_.portNumber()) : location);
}

}  // namespace vem
