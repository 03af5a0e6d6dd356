#include "ui/station/StationWindow.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "files/ImageBuild.h"
#include "host/Encoding.h"
#include "host/MessageText.h"
#include "host/ProductionStation.h"
#include "host/StationRecord.h"
#include "session/Session.h"
#include "ui/station/StationTile.h"

namespace vem {
namespace {

constexpr int TileColumns = 3, RecordsShown = 8;
const char* const DefaultFolder = "/dev/serial/by-id";

StationTile::Tone resultTone(StationResult result) {
    switch (result) {
    case StationResult::Verified: return StationTile::Tone::Good;
    case StationResult::AlreadyHeld: return StationTile::Tone::Held;
    case StationResult::Failed: return StationTile::Tone::Bad;
    case StationResult::Pulled: return StationTile::Tone::Warning;
    }
    return StationTile::Tone::Bad;
}

}  // namespace

StationWindow::StationWindow(Session& session, PortRegistry& ports, QWidget* parent)
    : QWidget(parent, Qt::Window),
      session_(session),
      ports_(ports),
      folderLabel_(new QLabel(this)),
      folderEdit_(new QLineEdit(DefaultFolder, this)),
      startButton_(new QPushButton(this)),
      problem_(new QLabel(this)),
      tilesArea_(new QWidget),
      tiles_(new QGridLayout(tilesArea_)),
      counters_(new QLabel(this)),
      recordsLabel_(new QLabel(this)),
      records_(new QListWidget(this)) {
    setObjectName("stationWindow");
    folderEdit_->setObjectName("folderEdit");
    startButton_->setObjectName("startButton");
    auto* top = new QHBoxLayout;
    top->addWidget(folderLabel_);
    top->addWidget(folderEdit_, 1);
    top->addWidget(startButton_);
    problem_->setStyleSheet("color: #b00000;");
    problem_->setWordWrap(true);
    problem_->setTextFormat(Qt::PlainText);
    problem_->hide();
    tiles_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(tilesArea_);
    scroll->setWidgetResizable(true);
    records_->setFixedHeight(RecordsShown * records_->fontMetrics().height() + 12);
    records_->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(problem_);
    layout->addWidget(scroll, 1);
    layout->addWidget(counters_);
    layout->addWidget(recordsLabel_);
    layout->addWidget(records_);
    resize(760, 600);
    connect(startButton_, &QPushButton::clicked, this, [this] { running() ? stop() : void(start()); });
    showTexts();
}

StationWindow::~StationWindow() = default;

void StationWindow::showTexts() {
    setWindowTitle(say(Msg::StationWindowTitle));
    folderLabel_->setText(say(Msg::StationFolderLabel));
    showButton();
    showCounters();
    recordsLabel_->setText(say(Msg::StationLastRecords, {recordTarget_}));
}

void StationWindow::setFolder(const QString& folder) { folderEdit_->setText(folder); }

bool StationWindow::running() const { return station_ && !station_->finished(); }

const StationTile* StationWindow::tile(const QString& device) const {
    const auto found = tileOf_.find(device);
    return found == tileOf_.end() ? nullptr : found->second;
}

QString StationWindow::problem() const { return problem_->isVisible() ? problem_->text() : QString(); }

QStringList StationWindow::lastRecords() const {
    QStringList lines;
    for (int i = 0; i < records_->count(); ++i) lines << records_->item(i)->text();
    return lines;
}

bool StationWindow::start() {
    if (running()) return true;
    showProblem({});
    const std::string file = session_.document().projectFile();
    // The record names the file and its checksum: what is programmed is what the file holds.
    if (file.empty() || session_.document().modified()) {
        showProblem(say(Msg::StationNoProjectFile));
        return false;
    }
    const Outcome built = session_.document().buildForProgramming(currentLocalTime(), false);
    if (!built.ok) {
        QStringList lines;
        for (int slot : built.messages) lines << say(slot);
        showProblem(lines.join('\n') + '\n' + fromCp1252(built.detail));
        return false;
    }
    const ProjectDocument& document = session_.document();
    StationOptions options;
    options.projectPath = QFileInfo(QFile::decodeName(file.c_str())).absoluteFilePath();
    options.watchFolder = folderEdit_->text();
    options.record = recordTarget_ = StationRecord::defaultTarget(options.projectPath);
    StationProject project{document.project(), document.image(), document.image(), language_};
    station_ = std::make_unique<ProductionStation>(options, std::move(project), ports_);
    QString why;
    if (!station_->open(&why, session_.messages())) {
        station_.reset();
        showProblem(why);
        return false;
    }
    reader_ = StationRecord::open(options.record, &why, session_.messages(), StationRecord::Access::Read);
    connect(station_.get(), &ProductionStation::event, this, [this](const StationEvent& e) { onEvent(e); });
    connect(station_.get(), &ProductionStation::progressed, this, &StationWindow::showProgress);
    connect(station_.get(), &ProductionStation::recordNotWritten, this,
            [this](const QString& reason) { showProblem(say(Msg::StationRecordNotWritten, {reason})); });
    connect(station_.get(), &ProductionStation::folderPresence, this, [this, folder = options.watchFolder](bool present) {
        showProblem(present ? QString() : say(Msg::StationFolderAbsent, {folder}));
    });
    connect(station_.get(), &ProductionStation::finishedAll, this, &StationWindow::showButton);
    for (auto& [name, tile] : tileOf_) delete tile;
    tileOf_.clear();
    startedAt_ = QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
    station_->start();
    showTexts();
    showRecords();
    return true;
}

void StationWindow::stop() {
    if (station_) station_->stop();
    showButton();
}

void StationWindow::closeEvent(QCloseEvent* event) {
    stop();
    event->accept();
}

void StationWindow::onEvent(const StationEvent& event) {
    StationTile* tile = tileFor(QString::fromStdString(event.device));
    switch (event.kind) {
    case StationEvent::Kind::Arrived:
        tile->showProgress(0, 1);
        tile->showState(say(Msg::StationTileSettling), StationTile::Tone::Neutral);
        break;
    case StationEvent::Kind::Started: tile->showState(say(Msg::StationTileRunning), StationTile::Tone::Neutral); break;
    case StationEvent::Kind::Finished:
        tile->showState(resultText(event.result, event.failedStep, {}), resultTone(event.result),
                        resultText(event.result, event.failedStep, fromCp1252(event.message).toStdString()));
        showCounters();
        // The station writes the row once everyone has heard of the result.
        QMetaObject::invokeMethod(this, &StationWindow::showRecords, Qt::QueuedConnection);
        break;
    case StationEvent::Kind::Left:
        if (tile->tone() == StationTile::Tone::Good || tile->tone() == StationTile::Tone::Held)
            tile->showState(say(Msg::StationTileLeft), tile->tone());
        break;
    }
}

void StationWindow::showProgress(const QString& device) {
    if (const StationRun* run = station_->run(device))
        tileFor(device)->showProgress(run->progress().position, run->progress().maximum);
}

void StationWindow::showCounters() {
    const StationTally tally = station_ ? station_->station().tally() : StationTally{};
    counters_->setText(say(Msg::StationCounters, {QString::number(tally.verified),
                                                  QString::number(tally.failed + tally.pulled),
                                                  QString::number(tally.alreadyHeld)}));
}

// This run's rows as the record holds them, the newest first.
void StationWindow::showRecords() {
    records_->clear();
    if (!reader_) return;
    QString error;
    const std::vector<StationAttempt> rows = reader_->since(startedAt_, &error);
    if (!error.isEmpty()) showProblem(error);
    for (auto row = rows.rbegin(); row != rows.rend() && records_->count() < RecordsShown; ++row) {
        const QString time = QString::fromStdString(row->started).mid(11, 8);
        records_->addItem(time + "  " + QString::fromStdString(row->device) + "  " +
                          resultText(row->result, row->failedStep, row->message));
    }
}

void StationWindow::showProblem(const QString& text) {
    problem_->setText(text);
    problem_->setVisible(!text.isEmpty());
}

void StationWindow::showButton() { startButton_->setText(say(running() ? Msg::StationStop : Msg::StationStart)); }

StationTile* StationWindow::tileFor(const QString& device) {
    StationTile*& tile = tileOf_[device];
    if (!tile) {
        const int index = static_cast<int>(tileOf_.size()) - 1;
        tile = new StationTile(device, tilesArea_);
        tiles_->addWidget(tile, index / TileColumns, index % TileColumns);
    }
    return tile;
}

QString StationWindow::say(int slot, const QStringList& values) const {
    return messageText(session_.messages(), slot, values);
}

// The result in words; a failure's step and message after it. `message` is UTF-8.
QString StationWindow::resultText(StationResult result, const std::string& step, const std::string& message) const {
    QString text = say(stationResultSlot(result));
    if (!step.empty()) text += ": " + fromCp1252(stationStepText(step, session_.messages()));
    if (!message.empty()) text += ": " + QString::fromStdString(message);
    return text;
}

}  // namespace vem
