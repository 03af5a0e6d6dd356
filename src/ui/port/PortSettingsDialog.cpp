#include "ui/port/PortSettingsDialog.h"

#include <algorithm>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>

#include "ui/common/DialogKeys.h"
#include "ui/common/PlainText.h"
#include "ui/common/WindowPlacement.h"
#include "host/Encoding.h"
#include "serial/PortRegistry.h"
#include "serial/PortPath.h"
#include "serial/SerialPort.h"
#include "ui_PortSettingsDialog.h"

namespace vem {

namespace {
constexpr int LowestExponent = 4;
constexpr int HighestExponent = 20;

int exponentOf(qint64 bytes) {
    int e = 0;
    while (e < 62 && (qint64(1) << (e + 1)) <= bytes) ++e;
    return std::clamp(e, LowestExponent, HighestExponent);
}
}  // namespace

// ---- QueueSizeBox ----

QueueSizeBox::QueueSizeBox(QWidget* parent) : QSpinBox(parent) {
    setRange(LowestExponent, HighestExponent);
    setValue(11);
    setWrapping(false);
    lineEdit()->setReadOnly(true);
}

void QueueSizeBox::setSize(std::int32_t bytes) {
    const int e = exponentOf(bytes);
    odd_ = bytes == (1 << e) ? 0 : bytes;
    setValue(e);
    lineEdit()->setText(textFromValue(e));  // also when the exponent stays
}

std::int32_t QueueSizeBox::size() const { return odd_ ? odd_ : 1 << value(); }

void QueueSizeBox::stepBy(int steps) {
    odd_ = 0;
    QSpinBox::stepBy(steps);
    lineEdit()->setText(textFromValue(value()));
}

QString QueueSizeBox::textFromValue(int value) const {
    return QString::number(odd_ ? odd_ : 1 << value);
}

int QueueSizeBox::valueFromText(const QString& text) const {
    return exponentOf(text.toLongLong());
}

QValidator::State QueueSizeBox::validate(QString& input, int&) const {
    bool ok = false;
    return input.toLongLong(&ok) > 0 && ok ? QValidator::Acceptable : QValidator::Invalid;
}

// ---- PortSettingsDialog ----

PortSettingsDialog::PortSettingsDialog(PortRegistry& ports, const MessageTable& messages, QWidget* parent)
    : QDialog(parent), ports_(ports), messages_(messages), ui_(std::make_unique<Ui::PortSettingsDialog>()) {
    ui_->setupUi(this);
    showLabelsPlain(this);
    setWindowTitle(text(Msg::PortDialogCaption));
    const std::pair<QWidget*, int> captions[] = {
        {ui_->LabelPort, Msg::PortDialogPort},         {ui_->GroupBoxFormat, Msg::PortDialogFormat},
        {ui_->LabelBaudrate, Msg::PortDialogBaudrate}, {ui_->LabelDatabit, Msg::PortDialogDatabits},
        {ui_->LabelParity, Msg::PortDialogParity},     {ui_->LabelStop, Msg::PortDialogStopbits},
        {ui_->GroupBoxHandshake, Msg::PortDialogHandshake}, {ui_->CheckBoxRTSCTS, Msg::PortDialogRtsCts},
        {ui_->CheckBoxDTRDSR, Msg::PortDialogDtrDsr},  {ui_->CheckBoxSoft, Msg::PortDialogXOnXOff},
        {ui_->GroupBoxBuffer, Msg::PortDialogBuffers}, {ui_->LabelBufR, Msg::PortDialogReceive},
        {ui_->LabelBufT, Msg::PortDialogTransmit},     {ui_->ButtonAbort, Msg::PortDialogCancel},
        {ui_->ButtonOk, Msg::PortDialogOk},
    };
    for (const auto& [control, slot] : captions) control->setProperty(
        qobject_cast<QGroupBox*>(control) ? "title" : "text", text(slot));
    setFixedSize(size());
    setModal(true);
    for (std::uint32_t rate : Baudrates) ui_->ComboBoxBaudrate->addItem(QString::number(rate));
    for (int bits = 4; bits <= 8; ++bits) ui_->ComboBoxDatabit->addItem(QString::number(bits));
    for (std::string_view name : ParityNames)
        ui_->ComboBoxParity->addItem(QString::fromLatin1(name.data(), name.size()));
    for (std::string_view name : StopbitsNames)
        ui_->ComboBoxStop->addItem(QString::fromLatin1(name.data(), name.size()));
    connect(ui_->ButtonOk, &QPushButton::clicked, this, &PortSettingsDialog::takeChoice);
    connect(ui_->ButtonAbort, &QPushButton::clicked, this, &PortSettingsDialog::cancel);
    useDialogKeys(this, ui_->ButtonOk);

    // Follow ports that come and go while the form exists.
    connect(&ports_, &PortRegistry::portsArrived, this, &PortSettingsDialog::refreshPorts);
    connect(&ports_, &PortRegistry::portsRemoved, this, &PortSettingsDialog::refreshPorts);
    ports_.startWatching();
}

PortSettingsDialog::~PortSettingsDialog() = default;

bool PortSettingsDialog::choose(PortSettings& params) {
    fill(params);
    centreOnScreen(this);
    if (exec() != QDialog::Accepted) return false;
    params = working_;
    return true;
}

void PortSettingsDialog::fill(const PortSettings& p) {
    shown_ = working_ = p;
    listPorts();
    selectPort(p.port);
    note(ui_->ComboBoxPort->count() == 0 ? text(Msg::PortNoteNoPorts) : absentDevicePathNote());
    ui_->ComboBoxBaudrate->setCurrentIndex(static_cast<int>(p.line.Baudrate));
    ui_->ComboBoxDatabit->setCurrentIndex(static_cast<int>(p.line.DataBits));
    ui_->ComboBoxParity->setCurrentIndex(static_cast<int>(p.line.ParityBit));
    ui_->ComboBoxStop->setCurrentIndex(static_cast<int>(p.line.StopBits));
    ui_->CheckBoxRTSCTS->setChecked(p.line.HandshakeRtsCts);
    ui_->CheckBoxDTRDSR->setChecked(p.line.HandshakeDtrDsr);
    ui_->CheckBoxSoft->setChecked(p.line.HandshakeXOnXOff);
    ui_->UpDown1->setSize(p.recSize);
    ui_->UpDown2->setSize(p.trmSize);
}

QString PortSettingsDialog::absentDevicePathNote() const {
    for (const QString& path : ports_.devicePaths())
        if (!QFileInfo::exists(path)) return text(Msg::PortNoteAbsent).arg(path);
    return {};
}

void PortSettingsDialog::listPorts() {
    QComboBox* box = ui_->ComboBoxPort;
    box->clear();
    for (int i = 0; i < ports_.count(); ++i) {
        const PortEntry& e = ports_.entry(i);
        box->addItem(e.displayName, e.number);
        box->setItemData(i, plainToolTip(e.description.isEmpty() ? e.systemLocation : e.description),
                         Qt::ToolTipRole);
    }
}

void PortSettingsDialog::selectPort(int number) {
    QComboBox* box = ui_->ComboBoxPort;
    box->setCurrentIndex(number > 0 ? box->findData(number) : -1);  // none when not listed
}

void PortSettingsDialog::refreshPorts() {
    QComboBox* box = ui_->ComboBoxPort;
    const QString text = box->currentText();
    const int i = box->currentIndex();
    const bool picked = i >= 0 && box->itemText(i) == text;
    const int number = picked ? box->itemData(i).toInt() : 0;
    listPorts();
    if (picked) {
        selectPort(number);
        if (box->currentIndex() < 0)
            note(this->text(Msg::PortNoteRemoved).arg(text));
        else if (box->count() == 0)
            note(this->text(Msg::PortNoteNoPorts));
        else
            note({});
    } else if (!text.isEmpty()) {
        box->setCurrentIndex(-1);
        box->setEditText(text);  // a typed path stays
        if (box->count() > 0) note({});
    } else if (box->count() > 0) {
        note({});
    }
}

int PortSettingsDialog::chosenPort(QString& problem) {
    problem.clear();
    QComboBox* box = ui_->ComboBoxPort;
    const QString text = box->currentText().trimmed();
    if (text.isEmpty()) return 0;
    const int i = box->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (i >= 0) return box->itemData(i).toInt();
    if (const int n = ports_.numberThrough(text)) return n;
    switch (portPathFault(text)) {
    case PortPathFault::Absent: problem = this->text(Msg::PortNoteAbsent).arg(text); return 0;
    case PortPathFault::NotADevice: problem = this->text(Msg::PortNoteNoDevice).arg(text); return 0;
    case PortPathFault::NotATerminal: problem = this->text(Msg::PortNoteNotSerial).arg(text); return 0;
    case PortPathFault::None: break;
    }
    ports_.addDevicePath(text);
    const int n = ports_.numberThrough(text);
    if (n == 0) problem = this->text(Msg::PortNoteNotSerial).arg(text);
    return n;
}

SerialLine PortSettingsDialog::chosenLine() const {
    SerialLine l = working_.line;
    l.Baudrate = static_cast<TBaudrate>(ui_->ComboBoxBaudrate->currentIndex());
    l.DataBits = static_cast<TDataBits>(ui_->ComboBoxDatabit->currentIndex());
    l.SetParityBit(static_cast<TParityBit>(ui_->ComboBoxParity->currentIndex()));
    l.StopBits = static_cast<TStopBits>(ui_->ComboBoxStop->currentIndex());
    l.HandshakeRtsCts = ui_->CheckBoxRTSCTS->isChecked();
    l.HandshakeDtrDsr = ui_->CheckBoxDTRDSR->isChecked();
    l.HandshakeXOnXOff = ui_->CheckBoxSoft->isChecked();
    return l;
}

QString PortSettingsDialog::refusedSetting(const SerialLine& line) const {
    auto caption = [](const QAbstractButton* b) { return QString(b->text()).remove('&'); };
    switch (lineRefusal(line)) {
    case LineRefusal::FourDataBits:
        return QString(ui_->LabelDatabit->text()).remove('&') + ' ' + ui_->ComboBoxDatabit->currentText();
    case LineRefusal::DtrDsrHandshake: return caption(ui_->CheckBoxDTRDSR);
    case LineRefusal::RtsCtsWithXOnXOff: return caption(ui_->CheckBoxRTSCTS) + " + " + caption(ui_->CheckBoxSoft);
    case LineRefusal::None: break;
    }
    return {};
}

QString PortSettingsDialog::text(int slot) const { return fromCp1252(messages_.text(slot)); }

void PortSettingsDialog::note(const QString& text) {
    QLabel* label = ui_->LabelNote;
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideMiddle, label->width()));
    label->setToolTip(plainToolTip(text));
}

void PortSettingsDialog::takeChoice() {
    if (ui_->ComboBoxPort->count() == 0 && ui_->ComboBoxPort->currentText().trimmed().isEmpty()) {
        reject();  // no port at all: nothing is taken
        return;
    }
    QString problem;
    int port = chosenPort(problem);
    if (port == 0 && problem.isEmpty()) {  // nothing chosen: the old port stays
        port = working_.port;
        if (port == 0) problem = text(Msg::PortNoteChoose);
    }
    const SerialLine line = chosenLine();
    if (problem.isEmpty() && lineRefusal(line) != LineRefusal::None)
        problem = text(Msg::PortNoteRefused).arg(refusedSetting(line));
    if (!problem.isEmpty()) {
        note(problem);
        ui_->ComboBoxPort->setFocus();
        return;
    }
    listPorts();  // a typed path is an entry now
    selectPort(port);
    working_.port = port;
    working_.line = line;
    working_.recSize = ui_->UpDown1->size();
    working_.trmSize = ui_->UpDown2->size();
    accept();
}

void PortSettingsDialog::cancel() {
    fill(shown_);
    reject();
}

}  // namespace vem
