#include "ui/preview/PreviewWindow.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

#include "files/ImageBuild.h"
#include "files/ProjectFile.h"
#include "host/Encoding.h"
#include "picture/BackgroundImage.h"
#include "picture/PngFile.h"
#include "picture/PreviewPainter.h"
#include "session/Session.h"
#include "ui/common/MessagePresenter.h"
#include "ui_PreviewWindow.h"

namespace vem {

PreviewWindow::PreviewWindow(Session& session, MessagePresenter& presenter, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ui_(std::make_unique<Ui::PreviewWindow>()),
      session_(session),
      presenter_(presenter),
      frame_(PreviewPainter::testPicture()) {
    ui_->setupUi(this);
    setFixedSize(size());
    ui_->pictureView->setScaledContents(false);
    lineTimer_.setSingleShot(true);
    clockTimer_.setInterval(1000);
    connectControls();
    refresh();
}

PreviewWindow::~PreviewWindow() = default;

void PreviewWindow::connectControls() {
    const std::array buttons{ui_->dataSetButton1, ui_->dataSetButton2, ui_->dataSetButton3, ui_->dataSetButton4};
    for (int k = 0; k < DataSetCount; ++k)
        connect(buttons[k], &QPushButton::clicked, this, [this, k] { selectDataSet(k); });
    connect(ui_->openReceiptButton, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, {}, {}, fromCp1252(session_.messages().text(Msg::PreviewReceiptFilter)));
        if (!path.isEmpty()) openReceipt(path);
    });
    connect(ui_->nextLineButton, &QPushButton::clicked, this, &PreviewWindow::nextLine);
    connect(ui_->playButton, &QPushButton::clicked, this, [this] { play(!lineTimer_.isActive()); });
    connect(&lineTimer_, &QTimer::timeout, this, [this] {
        nextLine();
        play(played_ < receipt_.lines.size());
    });
    connect(ui_->photoButton, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(this, {}, {}, fromCp1252(session_.messages().text(Msg::PreviewPhotoFilter)));
        if (!path.isEmpty()) choosePhoto(path);
    });
    connect(ui_->testPictureButton, &QPushButton::clicked, this, [this] {
        frame_ = PreviewPainter::testPicture();
        refresh();
    });
    connect(ui_->savePngButton, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getSaveFileName(this, {}, "preview.png", fromCp1252(session_.messages().text(Msg::PreviewPngFilter)));
        if (!path.isEmpty()) savePng(path);
    });
    connect(&clockTimer_, &QTimer::timeout, this, [this] {
        if (isVisible()) refresh();
    });
}

void PreviewWindow::open() {
    show();
    raise();
    activateWindow();
    clockTimer_.start();
    refresh();
}

void PreviewWindow::refresh() {
    const Project& project = session_.document().project();
    // The preview shows the data set the editor switches to, until a button here chooses another.
    if (project.activeDataSet != followedActiveDataSet_) dataSet_ = followedActiveDataSet_ = project.activeDataSet;
    if (player_ && !(player_->rules() == project.posExtended)) replay(played_);
    const std::array buttons{ui_->dataSetButton1, ui_->dataSetButton2, ui_->dataSetButton3, ui_->dataSetButton4};
    for (int k = 0; k < DataSetCount; ++k) {
        buttons[k]->setEnabled(k == 0 || k == project.activeDataSet || project.dataSets[k].dataSetAvailable == 1);
        buttons[k]->setChecked(k == dataSet_);
    }
    picture_ = buildPreview(project, {dataSet_, currentLocalTime(), player_ ? &player_->rows() : nullptr});
    showTexts();
    const MessageTable& m = session_.messages();
    ui_->pictureView->setPixmap(QPixmap::fromImage(PreviewPainter::paint(picture_, frame_, fromCp1252(m.text(Msg::PreviewCaption)))));
    SlotMessage problems{Msg::PreviewProblems, {std::to_string(picture_.problems.size())}};
    ui_->problemsLabel->setText(picture_.problems.empty() ? QString() : fromCp1252(m.text(problems)));
    ui_->problemsLabel->setToolTip(fromCp1252(m.text(picture_.problems.empty() ? SlotMessage{} : picture_.problems.front())));
}

void PreviewWindow::showTexts() {
    const MessageTable& m = session_.messages();
    const auto text = [&m](int slot) { return fromCp1252(m.text(slot)); };
    setWindowTitle(text(Msg::PreviewTitle));
    ui_->dataSetLabel->setText(text(Msg::PreviewDataSet));
    ui_->openReceiptButton->setText(text(Msg::PreviewOpenReceipt));
    ui_->nextLineButton->setText(text(Msg::PreviewNextLine));
    ui_->playButton->setText(text(lineTimer_.isActive() ? Msg::PreviewStop : Msg::PreviewPlay));
    ui_->photoButton->setText(text(Msg::PreviewPhoto));
    ui_->testPictureButton->setText(text(Msg::PreviewTestPicture));
    ui_->savePngButton->setText(text(Msg::PreviewSavePng));
    ui_->previewNote->setText(text(Msg::PreviewCaption));
    showReceiptState();
}

void PreviewWindow::showReceiptState() {
    const MessageTable& m = session_.messages();
    ui_->nextLineButton->setEnabled(player_ && played_ < receipt_.lines.size());
    ui_->playButton->setEnabled(player_ && (played_ < receipt_.lines.size() || lineTimer_.isActive()));
    if (!player_) {
        ui_->receiptStatus->setText(fromCp1252(m.text(Msg::PreviewNoReceipt)));
        ui_->eventsLabel->clear();
        return;
    }
    const SlotMessage at{Msg::PreviewReceiptAt,
                         {toCp1252(receiptName_), std::to_string(played_), std::to_string(receipt_.lines.size())}};
    QString status = fromCp1252(m.text(at));
    for (const SlotMessage& note : receipt_.notes) status += "\n" + fromCp1252(m.text(note));
    if (picture_.posFirstRow < 0) status += "\n" + fromCp1252(m.text(Msg::PosAreaNone));
    ui_->receiptStatus->setText(status);
    QStringList events;
    for (const PosEvent& e : player_->events()) {
        const int slot = e.action == KeywordAction::Relay ? Msg::PreviewEventRelay : Msg::PreviewEventSend;
        events.prepend(fromCp1252(m.text(SlotMessage{slot, {std::to_string(e.line), std::to_string(e.keyword)}})));
    }
    ui_->eventsLabel->setText(events.mid(0, 6).join('\n'));
}

void PreviewWindow::selectDataSet(int dataSet) {
    dataSet_ = dataSet;
    refresh();
}

bool PreviewWindow::openReceipt(const QString& path) {
    ReceiptText receipt = readReceiptFile(QFile::encodeName(path).toStdString());
    if (!receipt.ok()) {
        showProblem(receipt.refusal);
        return false;
    }
    play(false);
    receipt_ = std::move(receipt);
    receiptName_ = QFileInfo(path).fileName();
    replay(0);
    refresh();
    return true;
}

void PreviewWindow::replay(std::size_t lines) {
    player_ = std::make_unique<ReceiptPlayer>(session_.document().project().posExtended);
    played_ = std::min(lines, receipt_.lines.size());
    for (std::size_t i = 0; i < played_; ++i) player_->feed(receipt_.lines[i]);
}

void PreviewWindow::nextLine() {
    if (!player_ || played_ >= receipt_.lines.size()) return;
    player_->feed(receipt_.lines[played_++]);
    refresh();
}

void PreviewWindow::play(bool running) {
    if (running && player_ && played_ < receipt_.lines.size())
        lineTimer_.start(lineMilliseconds(session_.document().project().device, receipt_.lines[played_].size()));
    else
        lineTimer_.stop();
    showTexts();
}

bool PreviewWindow::choosePhoto(const QString& path) {
    BackgroundImage background = loadBackground(path);
    if (background.problem.slot >= 0) {
        showProblem(background.problem);
        return false;
    }
    frame_ = background.frame;
    refresh();
    return true;
}

bool PreviewWindow::savePng(const QString& path) {
    const MessageTable& m = session_.messages();
    const QImage painted = PreviewPainter::paint(picture_, frame_, fromCp1252(m.text(Msg::PreviewCaption)));
    const FileWrite written = writePng(painted, QFile::encodeName(path).toStdString());
    if (written.ok()) return true;
    showProblem({Msg::PreviewSaveFailed, {written.file, SlotMessage{saveFailureReason(written.error), {}}}});
    return false;
}

void PreviewWindow::showProblem(const SlotMessage& message) { presenter_.showSlot(message, this); }

}  // namespace vem
