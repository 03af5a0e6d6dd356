#include "ui/main/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
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
#include "ui/main/ScreenGrid.h"
#include "ui/port/PortMemory.h"
#include "ui/settings/SettingsDialogs.h"
#include "settings/SettingsSummary.h"
#include "ui/settings/DataSendDialog.h"
#include "ui/settings/PosExtendedDialog.h"
#include "ui/settings/HoldTimesDialog.h"
#include "ui/settings/DeviceSerialDialog.h"
#include "ui/settings/IpAddressDialog.h"
#include "ui/settings/PosDialog.h"
#include "serial/COMManager.h"
#include "serial/Serial.h"

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
}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QMainWindow(parent),
      presenter_(session_.messages(), session_.dialogMessages()),
      startFolder_(QDir::currentPath()) {
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
    gridBox->setObjectName("GroupBox1");
    gridBox->setGeometry(14, 16, 656, 508);
    grid_ = new ScreenGrid(session_.editor(), session_.project().screenText, gridBox);
    grid_->move(0, 0);

    keyboardSink_ = new KeyboardSink(client);
    connect(keyboardSink_, &KeyboardSink::keyPressed, this, &MainWindow::FormKeyDown);
    connect(grid_, &ScreenGrid::pressed, this, [this](int cell, MouseButton button) {
        focusGrid();
        applyOutcome(session_.mousePress(cell, button));
    });
    connect(grid_, &ScreenGrid::moved, this, [this](int x, int y) { applyOutcome(session_.mouseMove(x, y)); });
    connect(grid_, &ScreenGrid::released, this, [this] { applyOutcome(session_.mouseRelease()); });

    buildFieldList(client);
    buildSummaries(client);
    buildMenu();

    Serial1 = new TSerial(this);
    Serial1->Line() = serial1Line();
    restorePortSettings(*Serial1);
    COMManager().startWatching();
    link_ = new SessionLink(session_, *Serial1, this);
    link_->setPresenter([this](const Outcome& outcome) { showOutcome(outcome); });

    form2_ = new FieldDialog(this);
    settings_ = std::make_unique<SettingsDialogs>(session_, presenter_, this);
    form6_ = new ProgressWindow(this);
    form7_ = new DeviceInfoDialog(this);
    connect(form7_, &DeviceInfoDialog::systemMenuRequested, this, [this] { Expert1->menuAction()->setVisible(true); });
    form10_ = new VideoSignalDialog(presenter_, this);
    connect(form10_, &VideoSignalDialog::sendRequested, this,
            [this](const VideoBlock& block) { applyOutcome(session_.startVideoSettings(portName(), block)); });
    applyOutcome(session_.startUp());  // the summaries, then "default.qor" of the working folder

    showLabelsPlain(this);
    adjustSize();
    setFixedSize(sizeHint());
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    focusGrid();
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
        {form2_, S::FieldDialog},
        {&settings_->holdTimesForm(), S::HoldTimes},
        {&settings_->deviceSerialForm(), S::DeviceSerial},
        {form6_, S::Progress},
        {form7_, S::DeviceInfo},
        {&settings_->ipAddressForm(), S::IpAddress},
        {&settings_->posForm(), S::Pos},
        {form10_, S::Video},
        {&settings_->dataSendForm(), S::DataSend},
        {&settings_->posExtendedForm(), S::PosExtended},
    };
    for (const auto& [window, section] : windows) applyLanguageSection(window, section, file->section(section));
    const auto& main = file->section(S::MainWindow);
    constexpr std::size_t FirstFilter = 38;
    for (std::size_t i = 0; i < fileFilters_.size() && FirstFilter + i < main.size(); ++i)
        fileFilters_[i] = qtFileFilter(main[FirstFilter + i]);
    applyOutcome(session_.takeLanguage(*file));
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
    box->setObjectName("GroupBox2");
    box->setGeometry(680, 56, 201, 465);
    for (int n = 1; n <= DataFieldCount; ++n) {
        const int y = 26 + 16 * (n - 1);
        addLabel(box, "", QString("%1").arg(n, 2), 8, y - 1);
        auto* conf = new QToolButton(box);
        conf->setObjectName(QString("CONF%1").arg(n));
        conf->setGeometry(32, y, 12, 12);
        conf->setFocusPolicy(Qt::NoFocus);
        connect(conf, &QToolButton::clicked, this, [this, n] { CONFClick(n); });
        confButtons_[n - 1] = conf;
        auto* check = new QCheckBox(box);
        check->setObjectName(QString("FlatCheckBox%1").arg(n));
        check->setGeometry(56, y - 2, 121, 16);
        fieldBoxes_[n - 1] = check;
    }
    auto* line = new QFrame(box);
    line->setObjectName("Bevel1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(8, 304, 185, 2);
    auto addClockBox = [&](int n, const char* text, int y) {
        auto* check = new QCheckBox(text, box);
        check->setObjectName(QString("FlatCheckBox%1").arg(n));
        check->setGeometry(32, y, 121, 17);
        fieldBoxes_[n - 1] = check;
    };
    addClockBox(DateField, "Datum", 328);
    addClockBox(TimeField, "Uhrzeit", 352);
    FlatCheckBox19 = new WrapCheckBox(QString::fromUtf8("automatische Sommer- / Winterzeit"), box);
    FlatCheckBox19->setObjectName("FlatCheckBox19");
    FlatCheckBox19->setGeometry(32, 384, 145, 33);
    FlatCheckBox19->setFocusPolicy(Qt::NoFocus);
    connect(FlatCheckBox19, &QCheckBox::clicked, this, &MainWindow::FlatCheckBox19Click);

    for (int n = 1; n <= FieldCount; ++n) {
        // No control keeps the keyboard: every key belongs to the grid.
        fieldBoxes_[n - 1]->setFocusPolicy(Qt::NoFocus);
        connect(fieldBoxes_[n - 1], &QCheckBox::clicked, this, [this, n] { FlatCheckBoxClick(n); });
    }

    addLabel(client, "Label30", "Datensatz", 688, 32);
    dataSetGroup_ = new QButtonGroup(this);
    dataSetGroup_->setExclusive(true);
    for (int k = 0; k < DataSetCount; ++k) {
        auto* b = new QToolButton(client);
        b->setObjectName(QString("SpeedButton%1").arg(k + 1));
        b->setText(QString::number(k + 1));
        b->setCheckable(true);
        b->setGeometry(752 + 32 * k, 32, 23, 16);
        b->setFocusPolicy(Qt::NoFocus);
        dataSetGroup_->addButton(b, k);
        dataSetButtons_[k] = b;
        connect(b, &QToolButton::clicked, this, [this, k] { SpeedButtonClick(k); });
    }
}

void MainWindow::buildSummaries(QWidget* client) {
    GroupBox3 = new QGroupBox(" QV - Schnittstelle ", client);
    GroupBox3->setObjectName("GroupBox3");
    GroupBox3->setGeometry(14, 528, 656, 49);
    addLabel(GroupBox3, "Label18", "Handshake : ", 16, 22);
    handshakeValue_ = addLabel(GroupBox3, "Label19", "none", 96, 22, SummaryRed);
    addLabel(GroupBox3, "Label20", "Datenformat : ", 176, 22);
    formatValue_ = addLabel(GroupBox3, "Label21", "8 none", 264, 22, SummaryRed);
    addLabel(GroupBox3, "Label22", "Baudrate : ", 336, 22);
    baudValue_ = addLabel(GroupBox3, "Label23", "9600", 408, 22, SummaryRed);
    addLabel(GroupBox3, "Label31", "IP :", 472, 22);
    ipValue_ = addLabel(GroupBox3, "Label32", "0.0.0.0", 496, 22, SummaryGreen);
    addLabel(GroupBox3, "Label33", "Port :", 584, 22);
    portValue_ = addLabel(GroupBox3, "Label34", "0", 616, 22, SummaryGreen);

    auto* hold = new QGroupBox(" Haltezeiten ", client);
    hold->setObjectName("GroupBox4");
    hold->setGeometry(680, 528, 201, 49);
    addLabel(hold, "Label24", "Daten : ", 8, 22);
    dataHoldValue_ = addLabel(hold, "Label25", "3", 56, 22, SummaryBlue);
    addLabel(hold, "Label26", "s", 80, 22);
    addLabel(hold, "Label27", "Relais :", 104, 22);
    relayHoldValue_ = addLabel(hold, "Label28", "3", 152, 22, SummaryBlue);
    addLabel(hold, "Label29", "s", 176, 22);
}

void MainWindow::buildMenu() {
    QMenuBar* bar = menuBar();
    auto addItem = [this](QMenu* menu, const char* name, const QString& text) {
        QAction* a = menu->addAction(text);
        a->setObjectName(name);
        return a;
    };
    QMenu* datei = bar->addMenu("&Datei");
    datei->setObjectName("Datei");
    oeffnen1_ = addItem(datei, "oeffnen1", QString::fromUtf8("Ö&ffnen..."));
    connect(oeffnen1_, &QAction::triggered, this, &MainWindow::oeffnen1Click);
    connect(addItem(datei, "Speichernunter1", "Speichern &unter..."), &QAction::triggered, this,
            &MainWindow::Speichernunter1Click);
    connect(addItem(datei, "Beenden1", "B&eenden"), &QAction::triggered, this, &QWidget::close);

    QAction* comport = bar->addAction("&PC Comport");
    comport->setObjectName("RS2321");
    connect(comport, &QAction::triggered, this, &MainWindow::RS2321Click);

    QMenu* iface = bar->addMenu("&QOR Interface");
    iface->setObjectName("Netzwerk1");
    connect(addItem(iface, "Halte1", "Haltezeiten"), &QAction::triggered, this, &MainWindow::Halte1Click);
    connect(addItem(iface, "RS2322", "RS232"), &QAction::triggered, this, &MainWindow::RS2322Click);
    iface->addSeparator();
    connect(addItem(iface, "IPAdresse1", "&IP Adresse"), &QAction::triggered, this, &MainWindow::IPAdresse1Click);
    iface->addSeparator();
    connect(addItem(iface, "Datensenden1", "Daten senden"), &QAction::triggered, this,
            &MainWindow::Datensenden1Click);

    QAction* pos = bar->addAction("&POS         ");
    pos->setObjectName("POS1");
    connect(pos, &QAction::triggered, this, &MainWindow::POS1Click);

    QMenu* qv = bar->addMenu("&QV   ");
    qv->setObjectName("vem1");
    QAction* binFile = addItem(qv, "BINFile1", "BIN - File...");
    binFile->setVisible(false);
    binFile->setEnabled(false);
    connect(binFile, &QAction::triggered, this, &MainWindow::BINFile1Click);
    // Every item that starts an exchange with the device; they wait while one runs.
    auto deviceItem = [&](QMenu* menu, const char* name, const QString& text, void (MainWindow::*handler)()) {
        QAction* a = addItem(menu, name, text);
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    deviceActions_[0] = deviceItem(qv, "Einlesen1", "Aus QV einlesen", &MainWindow::Einlesen1Click);
    deviceActions_[1] = deviceItem(qv, "tt1", "Programmieren", &MainWindow::tt1Click);
    deviceActions_[2] = deviceItem(qv, "QORUhrsetzen1", "Datum/Uhrzeit setzen", &MainWindow::QORUhrsetzen1Click);
    deviceActions_[3] = deviceItem(qv, "VEMInfo1", "QV - Info", &MainWindow::VEMInfo1Click);

    Expert1 = bar->addMenu("&System");
    Expert1->setObjectName("Expert1");
    Expert1->menuAction()->setVisible(false);
    deviceActions_[4] = deviceItem(Expert1, "Zeichensatzladen1", "&Zeichensatz laden", &MainWindow::Zeichensatzladen1Click);
    Expert1->addSeparator();
    connect(addItem(Expert1, "Videosignal1", "&Videosignal"), &QAction::triggered, this, &MainWindow::Videosignal1Click);
    Expert1->addSeparator();
    deviceActions_[5] = deviceItem(Expert1, "Firmware1", "&Firmware", &MainWindow::Firmware1Click);
    deviceActions_[6] = deviceItem(Expert1, "SetAVRFuses1", "&Set AVR-Fuses", &MainWindow::SetAVRFuses1Click);
}

void MainWindow::showEditorState() {
    const MainControls& c = session_.editor().controls();
    for (int n = 1; n <= DataFieldCount; ++n) {
        confButtons_[n - 1]->setEnabled(c.fieldButtonEnabled[n - 1]);
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
        const QSignalBlocker block(FlatCheckBox19);
        FlatCheckBox19->setChecked(c.summerTimeTicked);
    }
    grid_->update();
}

void MainWindow::focusGrid() { keyboardSink_->setFocus(); }

std::string MainWindow::portName() const {
    const QString location = COMManager().LocationOf(Serial1->COMPort());
    return toCp1252(location.isEmpty() ? QString::number(Serial1->COMPort()) : location);
}

void MainWindow::applyOutcome(const Outcome& outcome) { link_->apply(outcome); }

void MainWindow::showOutcome(const Outcome& outcome) {
    const bool running = session_.exchangeRunning();
    for (QAction* a : deviceActions_) a->setEnabled(!running);
    // What an exchange was started with stays the project's until it ends ("BIN - File..." is
    // never enabled).
    oeffnen1_->setEnabled(!running);
    if (outcome.refreshProgress) form6_->showProgress(session_.progress());
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
    for (int slot : outcome.messages) presenter_.showSlot(slot, this, outcome.detail);
    if (outcome.dialogMessage) presenter_.showDialogMessage(*outcome.dialogMessage, this);
    if (outcome.askTakeReadBack)
        applyOutcome(presenter_.askTake(Msg::ReadBackUnmarked, this) ? session_.takeReadBack() : session_.dropReadBack());
    if (outcome.askOpenAnyway)
        applyOutcome(session_.answerOpenQuestion(
            presenter_.askYes(Msg::OpenDespiteProblems, Msg::AnswerOpen, this, outcome.detail)));
    if (outcome.showDeviceInfo) {
        form7_->fill(session_.deviceInfo());
        form7_->exec();
    }
}

void MainWindow::CONFClick(int n) {
    form2_->fill(session_.fieldDialog(n));
    form2_->exec();
    applyOutcome(session_.closeFieldDialog(n, form2_->closedBy(), form2_->values()));
    focusGrid();
}

void MainWindow::FlatCheckBoxClick(int n) {
    applyOutcome(session_.clickFieldCheckBox(n));
    focusGrid();
}

void MainWindow::SpeedButtonClick(int k) {
    applyOutcome(session_.switchDataSet(k));
    focusGrid();
}

void MainWindow::FlatCheckBox19Click() {
    applyOutcome(session_.clickSummerTimeCheckBox());
    focusGrid();
}

void MainWindow::FormKeyDown(QKeyEvent* event) {
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
    } else if (event->text().size() == 1) {
        // Only characters with a Windows-1252 code can reach a cell; the session refuses the rest.
        if (const auto byte = cp1252Byte(event->text().at(0))) applyOutcome(session_.keyPress(*byte));
    }
}

void MainWindow::keyPressEvent(QKeyEvent* event) { FormKeyDown(event); }

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!mayDiscardChanges()) {
        event->ignore();
        return;
    }
    Serial1->SetActive(false);
    event->accept();
}

void MainWindow::tt1Click() { applyOutcome(session_.startProgramming(portName(), currentLocalTime())); }

void MainWindow::Einlesen1Click() {
    if (mayDiscardChanges()) applyOutcome(session_.startReadBack(portName()));
}

void MainWindow::VEMInfo1Click() { applyOutcome(session_.startReadInfo(portName())); }

void MainWindow::QORUhrsetzen1Click() { applyOutcome(session_.startSetClock(portName())); }

void MainWindow::Zeichensatzladen1Click() {
    const QString path = chooseFile(false, fileFilters_[2]);
    if (path.isEmpty()) return;
    // A file that cannot be read ends here without a word; a wrong size is the session's to say.
    if (const auto bytes = readFileBytes(QFile::encodeName(path).toStdString(), FontSize + 1))
        applyOutcome(session_.startFontUpload(portName(), *bytes));
}

void MainWindow::Firmware1Click() {
    const QString path = chooseFile(false, fileFilters_[3]);
    if (path.isEmpty()) return;
    if (const auto bytes = readFileBytes(QFile::encodeName(path).toStdString(), FirmwareSize))
        applyOutcome(session_.startFirmwareUpload(portName(), *bytes));
}

void MainWindow::SetAVRFuses1Click() { Button2Click(); }

void MainWindow::Videosignal1Click() {
    form10_->exec();
    focusGrid();
}

void MainWindow::RS2321Click() {
    if (SerExtDlg1.RunAndReopen(*Serial1)) presenter_.showSlot(Msg::PortOpenAfterSettings, this);
    focusGrid();
}

void MainWindow::Button2Click() { applyOutcome(session_.sendFuses(portName())); }

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

void MainWindow::Halte1Click() { applyOutcome(settings_->runHoldTimes()); }

void MainWindow::RS2322Click() { applyOutcome(settings_->runDeviceSerial()); }

void MainWindow::IPAdresse1Click() { applyOutcome(settings_->runIpAddress()); }

void MainWindow::Datensenden1Click() { applyOutcome(settings_->runDataSend()); }

void MainWindow::POS1Click() { applyOutcome(settings_->runPos()); }

void MainWindow::showProjectName() {
    GroupBox3->setTitle(fromCp1252(session_.projectCaption()));
    captionModified_ = session_.modified();
}

QString MainWindow::chooseFile(bool save, const QString& filter) {
    QFileDialog dialog(this, QString(), startFolder_, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().first();
    QDir::setCurrent(QFileInfo(chosen).absolutePath());
    return chosen;
}

void MainWindow::oeffnen1Click() {
    if (!mayDiscardChanges()) return;
    const QString path = chooseFile(false, fileFilters_[0]);
    if (!path.isEmpty())
        applyOutcome(session_.openProject(QFile::encodeName(path).toStdString(), toCp1252(path)));
    focusGrid();
}

void MainWindow::Speichernunter1Click() {
    saveProjectAs();
    focusGrid();
}

bool MainWindow::saveProjectAs() {
    const QString path = chooseFile(true, fileFilters_[4]);
    if (path.isEmpty()) return false;
    const std::string file = QFile::encodeName(path).toStdString();
    Outcome outcome = session_.saveProjectAsTyped(file, toCp1252(path));
    if (outcome.askReplaceFile && presenter_.askYes(Msg::ReplaceFile, Msg::AnswerReplace, this, outcome.detail))
        outcome = session_.saveProjectAsTyped(file, toCp1252(path), true);
    applyOutcome(outcome);
    return outcome.ok;
}

bool MainWindow::mayDiscardChanges() {
    if (!session_.modified()) return true;
    switch (presenter_.ask(Msg::UnsavedChanges, this)) {
    case MessagePresenter::Answer::Save: return saveProjectAs();
    case MessagePresenter::Answer::Discard: return true;
    case MessagePresenter::Answer::Cancel:
    case MessagePresenter::Answer::Take:
    case MessagePresenter::Answer::Yes: break;  // no answers of this question
    }
    return false;
}

void MainWindow::BINFile1Click() {
    const QString path = chooseFile(false, fileFilters_[1]);
    if (!path.isEmpty()) applyOutcome(session_.openImageFile(QFile::encodeName(path).toStdString()));
    focusGrid();
}

}  // namespace vem
