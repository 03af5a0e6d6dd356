#include "ui/main/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QLabel>
#include <QScreen>
#include <QStatusBar>

#include "host/Encoding.h"
#include "host/SessionLink.h"
#include "serial/SerialPort.h"
#include "settings/SettingsSummary.h"
#include "ui/common/LanguageApply.h"
#include "ui/common/PlainText.h"
#include "ui/device/ProgressWindow.h"
#include "ui/fields/FieldDialog.h"
#include "ui/main/DeviceMenu.h"
#include "ui/main/FieldControls.h"
#include "ui/main/GridKeys.h"
#include "ui/main/KeyboardSink.h"
#include "ui/main/ScreenGrid.h"
#include "ui/main/StartupTimes.h"
#include "ui/port/PortMemory.h"
#include "ui/settings/SettingsDialogs.h"
#include "ui_MainWindow.h"

namespace vem {

namespace {

void setValue(QLabel* label, const std::string& text) {
    label->setText(fromCp1252(text));
    label->adjustSize();
}

}  // namespace

MainWindow::MainWindow(QWidget* parent, const QString& projectFile,
                       const std::function<void(MainWindow&)>& beforeProject)
    : QMainWindow(parent),
      ui_(std::make_unique<Ui::MainWindow>()),
      presenter_(session_.messages(), session_.dialogMessages()),
      fieldDialog_(LanguageSection::FieldDialog, [this] { return new FieldDialog(presenter_, this); }) {
    startup::endPart("port list");
    ui_->setupUi(this);
    presenter_.setCaption(windowCaption_);
    // The screen grid draws the session's cells; the keyboard sink takes every key for it.
    grid_ = new ScreenGrid(session_.document().editor(), session_.document().project().screenText, ui_->screenBox);
    keyboardSink_ = new KeyboardSink(ui_->Client);
    // A status tip of a menu item never hides a permanent widget.
    statusLine_ = new QLabel(statusBar());
    statusLine_->setObjectName("statusLine");
    statusLine_->setTextFormat(Qt::PlainText);
    statusBar()->addPermanentWidget(statusLine_, 1);
    // A label is as wide as its text, in whatever font the system gives.
    for (QLabel* label : ui_->Client->findChildren<QLabel*>()) label->adjustSize();
    connectControls();
    connectMenu();
    startup::endPart("window");

    serial_ = new SerialPort(ports_, this);
    serial_->line() = serial1Line();
    restorePortSettings(*serial_, ports_);
    ports_.startWatching();
    link_ = new SessionLink(session_, *serial_, this);
    link_->setPresenter([this](const Outcome& outcome) { showOutcome(outcome); });
    startup::endPart("settings");

    settings_ = std::make_unique<SettingsDialogs>(session_, presenter_, this);
    device_ = std::make_unique<DeviceMenu>(
        session_, presenter_, *serial_, ports_, *files_, this, [this](const Outcome& outcome) { applyOutcome(outcome); },
        [this] { ui_->systemMenu->menuAction()->setVisible(true); });
    startup::endPart("window");
    // The project's folder is the working folder before anything is looked for there.
    const QString path = projectFile.isEmpty() ? QString() : files_->enterFolderOf(projectFile);
    if (beforeProject) beforeProject(*this);
    if (path.isEmpty()) {
        applyOutcome(session_.document().startUp());  // the summaries, then "default.qor" of the working folder
    } else {
        applyOutcome(session_.document().startUp(QFile::encodeName(path).toStdString(), toCp1252(path)));
        files_->rememberProject();
    }
    setAcceptDrops(true);
    startup::endPart("project");

    showLabelsPlain(this);
    adjustSize();
    setFixedSize(sizeHint());
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    focusGrid();
    startup::endPart("window");
}

MainWindow::~MainWindow() = default;

FieldDialog& MainWindow::fieldDialog() { return fieldDialog_.get(); }

ProgressWindow& MainWindow::progressWindow() { return device_->progressWindow(); }

DeviceInfoDialog& MainWindow::deviceInfoDialog() { return device_->deviceInfoDialog(); }

VideoSignalDialog& MainWindow::videoSignalDialog() { return device_->videoSignalDialog(); }

void MainWindow::connectControls() {
    connect(keyboardSink_, &KeyboardSink::keyPressed, this, &MainWindow::sendKeyToGrid);
    connect(grid_, &ScreenGrid::pressed, this, [this](int cell, MouseButton button) {
        focusGrid();
        applyOutcome(session_.document().mousePress(cell, button));
    });
    connect(grid_, &ScreenGrid::moved, this, [this](int x, int y) { applyOutcome(session_.document().mouseMove(x, y)); });
    connect(grid_, &ScreenGrid::released, this, [this] { applyOutcome(session_.document().mouseRelease()); });
    fieldControls_ = std::make_unique<FieldControls>(
        ui_->Client, FieldControls::Handlers{[this](int n) { editField(n); }, [this](int n) { toggleField(n); },
                                             [this](int k) { selectDataSet(k); }, [this] { toggleSummerTime(); }});
}

void MainWindow::connectMenu() {
    Ui::MainWindow& ui = *ui_;
    // A form gives an item one shortcut.
    ui.redoItem->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // The service menu shows once "QV - Info" is asked for it.
    ui.systemMenu->menuAction()->setVisible(false);
    QAction* recentSeparator = ui.fileMenu->insertSeparator(ui.recentProjectItem1);
    const ProjectFiles::RecentItems recentItems{ui.recentProjectItem1, ui.recentProjectItem2, ui.recentProjectItem3,
                                               ui.recentProjectItem4};
    files_ = std::make_unique<ProjectFiles>(session_, presenter_, this,
                                            [this](const Outcome& outcome) { applyOutcome(outcome); },
                                            recentSeparator, recentItems);
    auto onTrigger = [this](QAction* item, auto handler) {
        connect(item, &QAction::triggered, this, [this, handler] {
            handler();
            focusGrid();
        });
    };
    onTrigger(ui.openProjectItem, [this] { files_->open(); });
    onTrigger(ui.saveProjectItem, [this] { files_->save(); });
    onTrigger(ui.saveProjectAsItem, [this] { files_->saveAs(); });
    for (QAction* item : recentItems) onTrigger(item, [this, item] { files_->openRecent(item->data().toString()); });
    connect(ui.exitItem, &QAction::triggered, this, &QWidget::close);
    onTrigger(ui.undoItem, [this] { applyOutcome(session_.document().undo()); });
    onTrigger(ui.redoItem, [this] { applyOutcome(session_.document().redo()); });
    connect(ui.portSettingsItem, &QAction::triggered, this, &MainWindow::editPortSettings);
    connect(ui.holdTimesItem, &QAction::triggered, this, &MainWindow::editHoldTimes);
    connect(ui.deviceSerialItem, &QAction::triggered, this, &MainWindow::editDeviceSerial);
    connect(ui.ipAddressItem, &QAction::triggered, this, &MainWindow::editIpAddress);
    connect(ui.dataSendItem, &QAction::triggered, this, &MainWindow::editDataSend);
    connect(ui.posItem, &QAction::triggered, this, &MainWindow::editPos);
    onTrigger(ui.imageFileItem, [this] { device_->openImageFile(); });
    for (const auto& [item, start] : exchangeItems())
        connect(item, &QAction::triggered, this, [this, start = start] { (*device_.*start)(); });
    connect(ui.videoSignalItem, &QAction::triggered, this, &MainWindow::editVideoSignal);
    connect(ui.previewItem, &QAction::triggered, this, [this] { preview_.get().open(); });
    connect(ui.stationItem, &QAction::triggered, this, [this] { device_->openStation(); });
    showMenuTexts();
    files_->showRecentProjects();
}

MainWindow::ExchangeItems MainWindow::exchangeItems() const {
    return {{{ui_->readBackItem, &DeviceMenu::readBack},
             {ui_->programItem, &DeviceMenu::program},
             {ui_->setClockItem, &DeviceMenu::setClock},
             {ui_->deviceInfoItem, &DeviceMenu::readInfo},
             {ui_->uploadFontItem, &DeviceMenu::uploadFont},
             {ui_->uploadFirmwareItem, &DeviceMenu::uploadFirmware},
             {ui_->sendFusesItem, &DeviceMenu::sendFuses}}};
}

bool MainWindow::loadLanguage(const QString& path) {
    LanguageFileFault fault{};
    return loadLanguage(path, fault);
}

bool MainWindow::loadLanguage(const QString& path, LanguageFileFault& fault) {
    const auto file = readLanguageFile(QFile::encodeName(path).toStdString(), fault);
    if (!file) return false;
    applyLanguageSection(this, LanguageSection::MainWindow, file->section(LanguageSection::MainWindow));
    fieldDialog_.takeLanguage(*file);
    settings_->applyLanguage(*file);
    device_->applyLanguage(*file);
    windowCaption_ = windowTitle();
    presenter_.setCaption(windowCaption_);
    files_->takeFilterTexts(file->section(LanguageSection::MainWindow));
    applyOutcome(session_.takeLanguage(*file));
    qtTranslation_.follow(languageCode(*file));
    showMenuTexts();
    return true;
}

void MainWindow::showMenuTexts() {
    const Ui::MainWindow& ui = *ui_;
    const std::pair<QAction*, int> items[] = {
        {ui.saveProjectItem, Msg::SaveItem}, {ui.editMenu->menuAction(), Msg::EditMenu}, {ui.undoItem, Msg::UndoItem},
        {ui.redoItem, Msg::RedoItem},        {ui.previewItem, Msg::PreviewItem},         {ui.stationItem, Msg::StationItem}};
    for (const auto& [item, slot] : items) item->setText(fromCp1252(session_.messages().text(slot)));
}

void MainWindow::showEditorState() {
    fieldControls_->show(session_.document().editor().controls(), session_.document().project().activeDataSet);
    grid_->update();
}

void MainWindow::focusGrid() { keyboardSink_->setFocus(); }

void MainWindow::applyOutcome(const Outcome& outcome) { link_->apply(outcome); }

void MainWindow::showOutcome(const Outcome& outcome) {
    const bool running = session_.device().exchangeRunning();
    for (const auto& [item, start] : exchangeItems()) item->setEnabled(!running);
    // What an exchange was started with stays the project's until it ends ("BIN - File..." is
    // never enabled).
    ui_->openProjectItem->setEnabled(!running);
    for (QAction* item : {ui_->recentProjectItem1, ui_->recentProjectItem2, ui_->recentProjectItem3,
                          ui_->recentProjectItem4})
        item->setEnabled(!running);
    ui_->undoItem->setEnabled(session_.document().canUndo());
    ui_->redoItem->setEnabled(session_.document().canRedo());
    statusLine_->setText(fromCp1252(session_.device().statusLine()));
    if (outcome.refreshProgress) device_->showProgress();
    if (outcome.busyCursor && *outcome.busyCursor != busyCursor_) {
        busyCursor_ = *outcome.busyCursor;
        busyCursor_ ? QApplication::setOverrideCursor(Qt::WaitCursor) : QApplication::restoreOverrideCursor();
    }
    if (outcome.refreshCaption || (!outcome.projectAsBefore && session_.document().modified() != captionModified_))
        showProjectName();
    if (outcome.refreshSettingLabels) {
        showInterfaceSummary();
        showHoldTimes();
    }
    if (outcome.typedAddress) {
        setValue(ui_->ipValue, outcome.typedAddress->first);
        setValue(ui_->portValue, outcome.typedAddress->second);
    }
    if (outcome.posExtendedEnabled) settings_->updateExtendedButton();
    if (outcome.refreshEditor) showEditorState();
    if (!outcome.showDeviceInfo) presenter_.showSlots(outcome.messages, this, outcome.detail);
    if (outcome.dialogMessage) presenter_.showDialogMessage(*outcome.dialogMessage, this);
    // The one place a question is answered: what the answer does is shown as any outcome.
    if (outcome.question) applyOutcome(session_.answer(presenter_.ask(*outcome.question, this)));
    if (outcome.showDeviceInfo) device_->showDeviceInfo();
    if (PreviewWindow* preview = preview_.built()) preview->refresh();
}

void MainWindow::editField(int n) {
    FieldDialog& dialog = fieldDialog_.get();
    const auto typed = dialog.ask(session_.document().fieldDialog(n));
    applyOutcome(session_.document().closeFieldDialog(n, dialog.closedBy(), typed.value_or(FieldDialogValues{})));
    focusGrid();
}

void MainWindow::toggleField(int n) {
    applyOutcome(session_.document().clickFieldCheckBox(n));
    focusGrid();
}

void MainWindow::selectDataSet(int k) {
    applyOutcome(session_.document().switchDataSet(k));
    focusGrid();
}

void MainWindow::toggleSummerTime() {
    applyOutcome(session_.document().clickSummerTimeCheckBox());
    focusGrid();
}

void MainWindow::sendKeyToGrid(QKeyEvent* event) {
    if (const auto outcome = pressGridKey(session_, *event)) applyOutcome(*outcome);
}

void MainWindow::keyPressEvent(QKeyEvent* event) { sendKeyToGrid(event); }

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!files_->mayDiscardChanges()) {
        event->ignore();
        return;
    }
    serial_->close();
    event->accept();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!ProjectFiles::droppedProject(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    const QString path = ProjectFiles::droppedProject(event->mimeData());
    // The question about unsaved changes must not run inside the drop of the file manager.
    QMetaObject::invokeMethod(
        this,
        [this, path] {
            files_->openFile(path);
            focusGrid();
        },
        Qt::QueuedConnection);
}

void MainWindow::editPortSettings() {
    device_->editPortSettings();
    focusGrid();
}

void MainWindow::editVideoSignal() {
    device_->editVideoSignal();
    focusGrid();
}

void MainWindow::showHoldTimes() {
    const HoldTimesTexts s = holdTimesTexts(session_.document().project().device);
    setValue(ui_->dataHoldValue, s.data);
    setValue(ui_->relayHoldValue, s.relay);
}

void MainWindow::showInterfaceSummary() {
    const InterfaceSummary s = interfaceSummary(session_.document().project().device);
    setValue(ui_->handshakeValue, s.handshake);
    setValue(ui_->formatValue, s.dataFormat);
    setValue(ui_->baudValue, s.baudRate);
    setValue(ui_->ipValue, s.address);
    setValue(ui_->portValue, s.port);
}

void MainWindow::editHoldTimes() { applyOutcome(settings_->runHoldTimes()); }

void MainWindow::editDeviceSerial() { applyOutcome(settings_->runDeviceSerial()); }

void MainWindow::editIpAddress() { applyOutcome(settings_->runIpAddress()); }

void MainWindow::editDataSend() { applyOutcome(settings_->runDataSend()); }

void MainWindow::editPos() { applyOutcome(settings_->runPos()); }

void MainWindow::showProjectName() {
    ui_->interfaceBox->setTitle(fromCp1252(session_.document().projectCaption()));
    captionModified_ = session_.document().modified();
    const std::string name = session_.document().shownProjectName();
    setWindowTitle(name.empty() ? windowCaption_
                                : fromCp1252(name) + (captionModified_ ? "*" : "") + " - " + windowCaption_);
}

void MainWindow::openProject() {
    files_->open();
    focusGrid();
}

}  // namespace vem
