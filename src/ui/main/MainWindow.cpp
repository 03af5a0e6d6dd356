#include "ui/main/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QToolButton>

#include "ui/common/PlainText.h"
#include "host/Encoding.h"
#include "host/SessionLink.h"
#include "ui/common/LanguageApply.h"
#include "ui/common/WrapCheckBox.h"
#include "ui/device/ProgressWindow.h"
#include "ui/device/DeviceInfoDialog.h"
#include "ui/device/VideoSignalDialog.h"
#include "files/FileIo.h"
#include "files/ImageBuild.h"
#include "ui/fields/FieldDialog.h"
#include "ui/main/KeyboardSink.h"
#include "ui/main/ProjectFiles.h"
#include "ui/main/ScreenGrid.h"
#include "ui/main/StartupTimes.h"
#include "ui/port/PortMemory.h"
#include "ui/settings/SettingsDialogs.h"
#include "settings/SettingsSummary.h"
#include "ui/settings/DataSendDialog.h"
#include "ui/settings/PosExtendedDialog.h"
#include "ui/settings/HoldTimesDialog.h"
#include "ui/settings/DeviceSerialDialog.h"
#include "ui/settings/IpAddressDialog.h"
#include "ui/settings/PosDialog.h"
#include "serial/SerialPort.h"

namespace vem {

namespace {
constexpr int ClientWidth = 897;
constexpr int ClientHeight = 589;
const QColor SummaryRed(255, 0, 0);
const QColor SummaryGreen(0, 128, 0);
const QColor SummaryBlue(0, 0, 255);

void setValue(QLabel* label, const QString& text) {
    label->setText(text);
    label->adjustSize();
}
void setValue(QLabel* label, const std::string& text) { setValue(label, fromCp1252(text)); }

// A key held with Alt, Ctrl or Meta is a command (an access key, a shortcut), never a character.
// Windows reports AltGr as Ctrl+Alt: that still types.
bool isCommandKey(Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers held = modifiers & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier);
#ifdef Q_OS_WIN
    if (held == (Qt::AltModifier | Qt::ControlModifier)) return false;
#endif
    return held != Qt::NoModifier;
}
}  // namespace

MainWindow::MainWindow(QWidget* parent, const QString& projectFile,
                       const std::function<void(MainWindow&)>& beforeProject)
    : QMainWindow(parent),
      presenter_(session_.messages(), session_.dialogMessages()) {
    startup::endPart("port list");
    presenter_.setCaption(windowCaption_);
    setObjectName("MainWindow");
    setWindowTitle("VEM Setup V1.13");
    QFont smallFont = font();
    smallFont.setPointSize(8);
    setFont(smallFont);

    auto* client = new QWidget(this);
    client->setObjectName("Client");
    client->setFixedSize(ClientWidth, ClientHeight);
    setCentralWidget(client);

    auto* gridBox = new QGroupBox(client);
    gridBox->setObjectName("screenBox");
    gridBox->setGeometry(14, 16, 656, 508);
    grid_ = new ScreenGrid(session_.editor(), session_.project().screenText, gridBox);
    grid_->move(0, 0);

    keyboardSink_ = new KeyboardSink(client);
    connect(keyboardSink_, &KeyboardSink::keyPressed, this, &MainWindow::sendKeyToGrid);
    connect(grid_, &ScreenGrid::pressed, this, [this](int cell, MouseButton button) {
        focusGrid();
        applyOutcome(session_.mousePress(cell, button));
    });
    connect(grid_, &ScreenGrid::moved, this, [this](int x, int y) { applyOutcome(session_.mouseMove(x, y)); });
    connect(grid_, &ScreenGrid::released, this, [this] { applyOutcome(session_.mouseRelease()); });

    buildFieldList(client);
    buildSummaries(client);
    buildMenu();
    buildStatusBar();
    startup::endPart("window");

    serial_ = new SerialPort(ports_, this);
    serial_->line() = serial1Line();
    restorePortSettings(*serial_, ports_);
    ports_.startWatching();
    link_ = new SessionLink(session_, *serial_, this);
    link_->setPresenter([this](const Outcome& outcome) { showOutcome(outcome); });
    startup::endPart("settings");

    fieldDialog_ = new FieldDialog(presenter_, this);
    settings_ = std::make_unique<SettingsDialogs>(session_, presenter_, this);
    progress_ = new ProgressWindow(this);
    deviceInfo_ = new DeviceInfoDialog(this);
    connect(deviceInfo_, &DeviceInfoDialog::systemMenuRequested, this, [this] { systemMenu_->menuAction()->setVisible(true); });
    videoSignal_ = new VideoSignalDialog(presenter_, this);
    connect(videoSignal_, &VideoSignalDialog::sendRequested, this,
            [this](const VideoBlock& block) { applyOutcome(session_.startVideoSettings(portName(), block)); });
    startup::endPart("window");
    // The project's folder is the working folder before anything is looked for there.
    const QString path = projectFile.isEmpty() ? QString() : files_->enterFolderOf(projectFile);
    if (beforeProject) beforeProject(*this);
    if (path.isEmpty()) {
        applyOutcome(session_.startUp());  // the summaries, then "default.qor" of the working folder
    } else {
        applyOutcome(session_.startUp(QFile::encodeName(path).toStdString(), toCp1252(path)));
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

bool MainWindow::loadLanguage(const QString& path) {
    LanguageFileFault fault{};
    return loadLanguage(path, fault);
}

bool MainWindow::loadLanguage(const QString& path, LanguageFileFault& fault) {
    const auto file = readLanguageFile(QFile::encodeName(path).toStdString(), fault);
    if (!file) return false;
    using S = LanguageSection;
    const std::pair<QWidget*, S> windows[] = {
        {this, S::MainWindow},
        {fieldDialog_, S::FieldDialog},
        {&settings_->holdTimesDialog(), S::HoldTimes},
        {&settings_->deviceSerialDialog(), S::DeviceSerial},
        {progress_, S::Progress},
        {deviceInfo_, S::DeviceInfo},
        {&settings_->ipAddressDialog(), S::IpAddress},
        {&settings_->posDialog(), S::Pos},
        {videoSignal_, S::Video},
        {&settings_->dataSendDialog(), S::DataSend},
        {&settings_->posExtendedDialog(), S::PosExtended},
    };
    for (const auto& [window, section] : windows) applyLanguageSection(window, section, file->section(section));
    windowCaption_ = windowTitle();
    presenter_.setCaption(windowCaption_);
    files_->takeFilterTexts(file->section(S::MainWindow));
    applyOutcome(session_.takeLanguage(*file));
    qtTranslation_.follow(languageCode(*file));
    showMenuTexts();
    return true;
}

QLabel* MainWindow::addLabel(QWidget* parent, const char* name, const QString& text, int x, int y,
                         const QColor& colour) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(x, y);
    if (colour.isValid()) label->setStyleSheet(QString("color: %1").arg(colour.name()));
    label->adjustSize();
    return label;
}

void MainWindow::buildFieldList(QWidget* client) {
    auto* box = new QGroupBox(client);
    box->setObjectName("fieldListBox");
    box->setGeometry(680, 56, 201, 465);
    for (int n = 1; n <= DataFieldCount; ++n) {
        const int y = 26 + 16 * (n - 1);
        addLabel(box, "", QString("%1").arg(n, 2), 8, y - 1);
        auto* button = new QToolButton(box);
        button->setObjectName(QString("fieldButton%1").arg(n));
        button->setGeometry(32, y, 12, 12);
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QToolButton::clicked, this, [this, n] { editField(n); });
        fieldButtons_[n - 1] = button;
        auto* check = new QCheckBox(box);
        check->setObjectName(QString("fieldBox%1").arg(n));
        check->setGeometry(56, y - 2, 121, 16);
        fieldBoxes_[n - 1] = check;
    }
    auto* line = new QFrame(box);
    line->setObjectName("clockSeparator");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(8, 304, 185, 2);
    auto addClockBox = [&](int n, const char* name, const char* text, int y) {
        auto* check = new QCheckBox(text, box);
        check->setObjectName(name);
        check->setGeometry(32, y, 121, 17);
        fieldBoxes_[n - 1] = check;
    };
    addClockBox(DateField, "dateBox", "Datum", 328);
    addClockBox(TimeField, "timeBox", "Uhrzeit", 352);
    summerTimeBox_ = new WrapCheckBox(QString::fromUtf8("automatische Sommer- / Winterzeit"), box);
    summerTimeBox_->setObjectName("summerTimeBox");
    summerTimeBox_->setGeometry(32, 384, 145, 33);
    summerTimeBox_->setFocusPolicy(Qt::NoFocus);
    connect(summerTimeBox_, &QCheckBox::clicked, this, &MainWindow::toggleSummerTime);

    for (int n = 1; n <= FieldCount; ++n) {
        // No control keeps the keyboard: every key belongs to the grid.
        fieldBoxes_[n - 1]->setFocusPolicy(Qt::NoFocus);
        connect(fieldBoxes_[n - 1], &QCheckBox::clicked, this, [this, n] { toggleField(n); });
    }

    addLabel(client, "dataSetLabel", "Datensatz", 688, 32);
    dataSetGroup_ = new QButtonGroup(this);
    dataSetGroup_->setExclusive(true);
    for (int k = 0; k < DataSetCount; ++k) {
        auto* b = new QToolButton(client);
        b->setObjectName(QString("dataSetButton%1").arg(k + 1));
        b->setText(QString::number(k + 1));
        b->setCheckable(true);
        b->setGeometry(752 + 32 * k, 32, 23, 16);
        b->setFocusPolicy(Qt::NoFocus);
        dataSetGroup_->addButton(b, k);
        dataSetButtons_[k] = b;
        connect(b, &QToolButton::clicked, this, [this, k] { selectDataSet(k); });
    }
}

void MainWindow::buildSummaries(QWidget* client) {
    interfaceBox_ = new QGroupBox(" QV - Schnittstelle ", client);
    interfaceBox_->setObjectName("interfaceBox");
    interfaceBox_->setGeometry(14, 528, 656, 49);
    addLabel(interfaceBox_, "handshakeLabel", "Handshake : ", 16, 22);
    handshakeValue_ = addLabel(interfaceBox_, "handshakeValue", "none", 96, 22, SummaryRed);
    addLabel(interfaceBox_, "formatLabel", "Datenformat : ", 176, 22);
    formatValue_ = addLabel(interfaceBox_, "formatValue", "8 none", 264, 22, SummaryRed);
    addLabel(interfaceBox_, "baudLabel", "Baudrate : ", 336, 22);
    baudValue_ = addLabel(interfaceBox_, "baudValue", "9600", 408, 22, SummaryRed);
    addLabel(interfaceBox_, "ipLabel", "IP :", 472, 22);
    ipValue_ = addLabel(interfaceBox_, "ipValue", "0.0.0.0", 496, 22, SummaryGreen);
    addLabel(interfaceBox_, "portLabel", "Port :", 584, 22);
    portValue_ = addLabel(interfaceBox_, "portValue", "0", 616, 22, SummaryGreen);

    auto* hold = new QGroupBox(" Haltezeiten ", client);
    hold->setObjectName("holdTimesBox");
    hold->setGeometry(680, 528, 201, 49);
    addLabel(hold, "dataHoldLabel", "Daten : ", 8, 22);
    dataHoldValue_ = addLabel(hold, "dataHoldValue", "3", 56, 22, SummaryBlue);
    addLabel(hold, "dataHoldUnit", "s", 80, 22);
    addLabel(hold, "relayHoldLabel", "Relais :", 104, 22);
    relayHoldValue_ = addLabel(hold, "relayHoldValue", "3", 152, 22, SummaryBlue);
    addLabel(hold, "relayHoldUnit", "s", 176, 22);
}

void MainWindow::buildMenu() {
    QMenuBar* bar = menuBar();
    auto addItem = [this](QMenu* menu, const char* name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        return a;
    };
    QMenu* fileMenu = bar->addMenu("&Datei");
    fileMenu_ = fileMenu;
    fileMenu->setObjectName("fileMenu");
    openProjectItem_ = addItem(fileMenu, "openProjectItem", QString::fromUtf8("Ö&ffnen..."));
    openProjectItem_->setShortcut(QKeySequence::Open);
    connect(openProjectItem_, &QAction::triggered, this, &MainWindow::openProject);
    saveProjectItem_ = addItem(fileMenu, "saveProjectItem", QString());
    saveProjectItem_->setShortcut(QKeySequence::Save);
    connect(saveProjectItem_, &QAction::triggered, this, &MainWindow::saveProject);
    connect(addItem(fileMenu, "saveProjectAsItem", "Speichern &unter..."), &QAction::triggered, this,
            &MainWindow::saveProjectAs);
    recentSeparator_ = fileMenu->addSeparator();
    for (int i = 0; i < RecentProjects::Count; ++i) {
        recentItems_[i] = addItem(fileMenu, qPrintable(QString("recentProjectItem%1").arg(i + 1)), QString());
        connect(recentItems_[i], &QAction::triggered, this,
                [this, i] {
                    files_->openRecent(recentItems_[i]->data().toString());
                    focusGrid();
                });
    }
    fileMenu->addSeparator();
    QAction* exitItem = addItem(fileMenu, "exitItem", "B&eenden");
    exitItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(exitItem, &QAction::triggered, this, &QWidget::close);

    editMenu_ = bar->addMenu(QString());
    editMenu_->setObjectName("editMenu");
    undoItem_ = addItem(editMenu_, "undoItem", QString());
    undoItem_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undoItem_, &QAction::triggered, this, &MainWindow::undo);
    redoItem_ = addItem(editMenu_, "redoItem", QString());
    redoItem_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    connect(redoItem_, &QAction::triggered, this, &MainWindow::redo);
    showMenuTexts();
    files_ = std::make_unique<ProjectFiles>(session_, presenter_, this, [this](const Outcome& o) { applyOutcome(o); },
                                            recentSeparator_, recentItems_);
    files_->showRecentProjects();

    QAction* portSettingsItem = bar->addAction("&PC Comport");
    portSettingsItem->setObjectName("portSettingsItem");
    connect(portSettingsItem, &QAction::triggered, this, &MainWindow::editPortSettings);

    QMenu* interfaceMenu = bar->addMenu("&QOR Interface");
    interfaceMenu->setObjectName("interfaceMenu");
    connect(addItem(interfaceMenu, "holdTimesItem", "Haltezeiten"), &QAction::triggered, this, &MainWindow::editHoldTimes);
    connect(addItem(interfaceMenu, "deviceSerialItem", "RS232"), &QAction::triggered, this, &MainWindow::editDeviceSerial);
    interfaceMenu->addSeparator();
    connect(addItem(interfaceMenu, "ipAddressItem", "&IP Adresse"), &QAction::triggered, this, &MainWindow::editIpAddress);
    interfaceMenu->addSeparator();
    connect(addItem(interfaceMenu, "dataSendItem", "Daten senden"), &QAction::triggered, this,
            &MainWindow::editDataSend);

    QAction* posItem = bar->addAction("P&OS         ");
    posItem->setObjectName("posItem");
    connect(posItem, &QAction::triggered, this, &MainWindow::editPos);

    QMenu* deviceMenu = bar->addMenu("Q&V   ");
    deviceMenu->setObjectName("deviceMenu");
    QAction* imageFileItem = addItem(deviceMenu, "imageFileItem", "BIN - File...");
    imageFileItem->setVisible(false);
    imageFileItem->setEnabled(false);
    connect(imageFileItem, &QAction::triggered, this, &MainWindow::openImageFile);
    // Every item that starts an exchange with the device; they wait while one runs.
    auto deviceItem = [&](QMenu* menu, const char* name, const QString& text, void (MainWindow::*handler)()) {
        QAction* a = addItem(menu, name, text);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    deviceActions_[0] = deviceItem(deviceMenu, "readBackItem", "Aus QV einlesen", &MainWindow::readBack);
    deviceActions_[1] = deviceItem(deviceMenu, "programItem", "Programmieren", &MainWindow::programDevice);
    deviceActions_[2] = deviceItem(deviceMenu, "setClockItem", "Datum/Uhrzeit setzen", &MainWindow::setDeviceClock);
    deviceActions_[3] = deviceItem(deviceMenu, "deviceInfoItem", "QV - Info", &MainWindow::readDeviceInfo);

    systemMenu_ = bar->addMenu("&System");
    systemMenu_->setObjectName("systemMenu");
    systemMenu_->menuAction()->setVisible(false);
    deviceActions_[4] = deviceItem(systemMenu_, "uploadFontItem", "&Zeichensatz laden", &MainWindow::uploadFont);
    systemMenu_->addSeparator();
    connect(addItem(systemMenu_, "videoSignalItem", "&Videosignal"), &QAction::triggered, this, &MainWindow::editVideoSignal);
    systemMenu_->addSeparator();
    deviceActions_[5] = deviceItem(systemMenu_, "uploadFirmwareItem", "&Firmware", &MainWindow::uploadFirmware);
    deviceActions_[6] = deviceItem(systemMenu_, "sendFusesItem", "&Set AVR-Fuses", &MainWindow::sendFuses);
}

void MainWindow::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);
    statusLine_ = new QLabel(bar);
    statusLine_->setObjectName("statusLine");
    statusLine_->setTextFormat(Qt::PlainText);
    // A permanent widget: the status tips of menu items never hide it.
    bar->addPermanentWidget(statusLine_, 1);
}

void MainWindow::showMenuTexts() {
    const MessageTable& m = session_.messages();
    saveProjectItem_->setText(fromCp1252(m.text(Msg::SaveItem)));
    editMenu_->setTitle(fromCp1252(m.text(Msg::EditMenu)));
    undoItem_->setText(fromCp1252(m.text(Msg::UndoItem)));
    redoItem_->setText(fromCp1252(m.text(Msg::RedoItem)));
}

void MainWindow::showEditorState() {
    const MainControls& c = session_.editor().controls();
    for (int n = 1; n <= DataFieldCount; ++n) {
        fieldButtons_[n - 1]->setEnabled(c.fieldButtonEnabled[n - 1]);
        fieldBoxes_[n - 1]->setText(fromCp1252(c.fieldBoxCaption[n - 1]));
    }
    for (int n = 1; n <= FieldCount; ++n) {
        QCheckBox* box = fieldBoxes_[n - 1];
        const QSignalBlocker block(box);
        box->setChecked(c.fieldBoxTicked[n - 1]);
        box->setEnabled(c.fieldBoxEnabled[n - 1]);
    }
    for (int k = 0; k < DataSetCount; ++k) {
        dataSetButtons_[k]->setEnabled(c.dataSetButtonEnabled[k]);
        dataSetButtons_[k]->setChecked(k == session_.project().activeDataSet);
    }
    {
        const QSignalBlocker block(summerTimeBox_);
        summerTimeBox_->setChecked(c.summerTimeTicked);
    }
    grid_->update();
}

void MainWindow::focusGrid() { keyboardSink_->setFocus(); }

std::string MainWindow::portName() const {
    const QString location = ports_.locationOf(serial_->portNumber());
    return toCp1252(location.isEmpty() ? QString::number(serial_->portNumber()) : location);
}

void MainWindow::applyOutcome(const Outcome& outcome) { link_->apply(outcome); }

void MainWindow::showOutcome(const Outcome& outcome) {
    const bool running = session_.exchangeRunning();
    for (QAction* a : deviceActions_) a->setEnabled(!running);
    // What an exchange was started with stays the project's until it ends ("BIN - File..." is
    // never enabled).
    openProjectItem_->setEnabled(!running);
    for (QAction* item : recentItems_) item->setEnabled(!running);
    undoItem_->setEnabled(session_.canUndo());
    redoItem_->setEnabled(session_.canRedo());
    statusLine_->setText(fromCp1252(session_.statusLine()));
    if (outcome.refreshProgress) progress_->showProgress(session_.progress());
    if (outcome.busyCursor && *outcome.busyCursor != busyCursor_) {
        busyCursor_ = *outcome.busyCursor;
        if (busyCursor_)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
    if (outcome.refreshCaption || (!outcome.projectAsBefore && session_.modified() != captionModified_))
        showProjectName();
    if (outcome.refreshSettingLabels) {
        showInterfaceSummary();
        showHoldTimes();
    }
    if (outcome.typedAddress) {
        setValue(ipValue_, outcome.typedAddress->first);
        setValue(portValue_, outcome.typedAddress->second);
    }
    if (outcome.posExtendedEnabled) settings_->updateExtendedButton();
    if (outcome.refreshEditor) showEditorState();
    if (!outcome.showDeviceInfo) presenter_.showSlots(outcome.messages, this, outcome.detail);
    if (outcome.dialogMessage) presenter_.showDialogMessage(*outcome.dialogMessage, this);
    if (outcome.askTakeReadBack)
        applyOutcome(presenter_.askTake(Msg::ReadBackUnmarked, this) ? session_.takeReadBack() : session_.dropReadBack());
    if (outcome.askOpenAnyway)
        applyOutcome(session_.answerOpenQuestion(
            presenter_.askYes(Msg::OpenDespiteProblems, Msg::AnswerOpen, this, outcome.detail)));
    if (outcome.showDeviceInfo) {
        deviceInfo_->fill(session_.deviceInfo());
        deviceInfo_->exec();
    }
}

void MainWindow::editField(int n) {
    const auto typed = fieldDialog_->ask(session_.fieldDialog(n));
    applyOutcome(session_.closeFieldDialog(n, fieldDialog_->closedBy(), typed.value_or(FieldDialogValues{})));
    focusGrid();
}

void MainWindow::toggleField(int n) {
    applyOutcome(session_.clickFieldCheckBox(n));
    focusGrid();
}

void MainWindow::selectDataSet(int k) {
    applyOutcome(session_.switchDataSet(k));
    focusGrid();
}

void MainWindow::toggleSummerTime() {
    applyOutcome(session_.clickSummerTimeCheckBox());
    focusGrid();
}

void MainWindow::sendKeyToGrid(QKeyEvent* event) {
    EditorKey key = EditorKey::Other;
    switch (event->key()) {
    case Qt::Key_Up: key = EditorKey::Up; break;
    case Qt::Key_Down: key = EditorKey::Down; break;
    case Qt::Key_Left: key = EditorKey::Left; break;
    case Qt::Key_Right: key = EditorKey::Right; break;
    case Qt::Key_Backspace: key = EditorKey::Backspace; break;
    default: break;
    }
    if (key != EditorKey::Other) {
        applyOutcome(session_.keyDown(key));
    } else if (event->text().size() == 1 && !isCommandKey(event->modifiers())) {
        // Only characters with a Windows-1252 code can reach a cell; the session refuses the rest.
        if (const auto byte = cp1252Byte(event->text().at(0))) applyOutcome(session_.keyPress(*byte));
    }
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

void MainWindow::programDevice() {
    applyOutcome(session_.startProgramming(portName(), currentLocalTime(), Session::AfterProgramming::Verify));
}

void MainWindow::readBack() {
    if (files_->mayDiscardChanges()) applyOutcome(session_.startReadBack(portName()));
}

void MainWindow::readDeviceInfo() { applyOutcome(session_.startReadInfo(portName())); }

void MainWindow::setDeviceClock() { applyOutcome(session_.startSetClock(portName())); }

void MainWindow::uploadFont() {
    const QString path = files_->chooseFile(ProjectFiles::FileKind::Font);
    if (path.isEmpty()) return;
    // A file that cannot be read ends here without a word; a wrong size is the session's to say.
    if (const auto bytes = readFileBytes(QFile::encodeName(path).toStdString(), FontSize + 1))
        applyOutcome(session_.startFontUpload(portName(), *bytes));
}

void MainWindow::uploadFirmware() {
    const QString path = files_->chooseFile(ProjectFiles::FileKind::Firmware);
    if (path.isEmpty()) return;
    if (const auto bytes = readFileBytes(QFile::encodeName(path).toStdString(), FirmwareSize))
        applyOutcome(session_.startFirmwareUpload(portName(), *bytes));
}

void MainWindow::sendFuses() { applyOutcome(session_.sendFuses(portName())); }

void MainWindow::editVideoSignal() {
    videoSignal_->exec();
    focusGrid();
}

void MainWindow::editPortSettings() {
    if (portSettings_.editAndReopen(*serial_)) presenter_.showSlot(Msg::PortOpenAfterSettings, this);
    focusGrid();
}

void MainWindow::showHoldTimes() {
    const HoldTimesTexts s = holdTimesTexts(session_.project().device);
    setValue(dataHoldValue_, s.data);
    setValue(relayHoldValue_, s.relay);
}

void MainWindow::showInterfaceSummary() {
    const InterfaceSummary s = interfaceSummary(session_.project().device);
    setValue(handshakeValue_, s.handshake);
    setValue(formatValue_, s.dataFormat);
    setValue(baudValue_, s.baudRate);
    setValue(ipValue_, s.address);
    setValue(portValue_, s.port);
}

void MainWindow::editHoldTimes() { applyOutcome(settings_->runHoldTimes()); }

void MainWindow::editDeviceSerial() { applyOutcome(settings_->runDeviceSerial()); }

void MainWindow::editIpAddress() { applyOutcome(settings_->runIpAddress()); }

void MainWindow::editDataSend() { applyOutcome(settings_->runDataSend()); }

void MainWindow::editPos() { applyOutcome(settings_->runPos()); }

void MainWindow::showProjectName() {
    interfaceBox_->setTitle(fromCp1252(session_.projectCaption()));
    captionModified_ = session_.modified();
    showProjectInTitle();
}

void MainWindow::showProjectInTitle() {
    const std::string name = session_.shownProjectName();
    if (name.empty()) {
        setWindowTitle(windowCaption_);
        return;
    }
    setWindowTitle(fromCp1252(name) + (captionModified_ ? "*" : "") + " - " + windowCaption_);
}

void MainWindow::undo() {
    applyOutcome(session_.undo());
    focusGrid();
}

void MainWindow::redo() {
    applyOutcome(session_.redo());
    focusGrid();
}

void MainWindow::openProject() {
    files_->open();
    focusGrid();
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

void MainWindow::saveProject() {
    files_->save();
    focusGrid();
}

void MainWindow::saveProjectAs() {
    files_->saveAs();
    focusGrid();
}

void MainWindow::openImageFile() {
    const QString path = files_->chooseFile(ProjectFiles::FileKind::Image);
    if (!path.isEmpty()) applyOutcome(session_.openImageFile(QFile::encodeName(path).toStdString()));
    focusGrid();
}

}  // namespace vem
