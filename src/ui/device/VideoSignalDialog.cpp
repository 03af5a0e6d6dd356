#include "ui/device/VideoSignalDialog.h"

#include "host/Encoding.h"
#include "ui/common/MessagePresenter.h"
#include "ui/common/WindowPlacement.h"
#include "ui/settings/SettingsWidgets.h"
#include "ui_VideoSignalDialog.h"

namespace vem {

VideoSignalDialog::VideoSignalDialog(MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::VideoSignalDialog>()), presenter_(presenter) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    edits_ = {ui_->brightnessEdit, ui_->contrastEdit, ui_->chromaEdit, ui_->lumaEdit};

    connect(ui_->cancelButton, &QPushButton::clicked, this, &VideoSignalDialog::SpeedButton1Click);
    connect(ui_->sendButton, &QPushButton::clicked, this, &VideoSignalDialog::SpeedButton2Click);
    connect(ui_->resetButton, &QPushButton::clicked, this, &VideoSignalDialog::SpeedButton3Click);
    const std::array<std::pair<QToolButton*, QToolButton*>, VideoEditCount> spins{{
        {ui_->brightnessUp, ui_->brightnessDown},
        {ui_->contrastUp, ui_->contrastDown},
        {ui_->chromaUp, ui_->chromaDown},
        {ui_->lumaUp, ui_->lumaDown},
    }};
    for (int i = 0; i < VideoEditCount; ++i) {
        const auto edit = static_cast<VideoEdit>(i);
        connect(spins[i].first, &QToolButton::clicked, this, [this, edit] { stepValue(edit, true); });
        connect(spins[i].second, &QToolButton::clicked, this, [this, edit] { stepValue(edit, false); });
    }
}

VideoSignalDialog::~VideoSignalDialog() = default;

VideoValues VideoSignalDialog::values() const {
    VideoValues v;
    for (int i = 0; i < VideoEditCount; ++i) v.texts[i] = editText(edits_[i]);
    v.videoOff = ui_->videoOffBox->isChecked();
    v.testPicture = ui_->testPictureBox->isChecked();
    v.colourOn = ui_->colourOnBox->isChecked();
    v.autoColour = ui_->autoColourBox->isChecked();
    v.autoPll = ui_->autoPllBox->isChecked();
    return v;
}

void VideoSignalDialog::fill(const VideoValues& v) {
    for (int i = 0; i < VideoEditCount; ++i) showInEdit(edits_[i], v.texts[i]);
    ui_->videoOffBox->setChecked(v.videoOff);
    ui_->testPictureBox->setChecked(v.testPicture);
    ui_->colourOnBox->setChecked(v.colourOn);
    ui_->autoColourBox->setChecked(v.autoColour);
    ui_->autoPllBox->setChecked(v.autoPll);
}

void VideoSignalDialog::showEvent(QShowEvent* event) {
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void VideoSignalDialog::SpeedButton1Click() { reject(); }

void VideoSignalDialog::SpeedButton2Click() {
    const VideoValues v = values();
    if (!videoValuesAcceptable(v)) {
        presenter_.showDialogMessage(DialogId::Video, this);
        return;
    }
    emit sendRequested(videoSettingsBlock(v));
}

void VideoSignalDialog::SpeedButton3Click() {
    VideoValues v = values();
    resetVideoValues(v);
    fill(v);
    emit sendRequested(videoSettingsBlock(v));
}

void VideoSignalDialog::stepValue(VideoEdit edit, bool up) {
    QLineEdit* field = edits_[static_cast<int>(edit)];
    const VideoStep step = stepVideoValue(edit, editText(field), up);
    if (!step.readable)
        presenter_.showDialogMessage(DialogId::Video, this);
    else if (step.written)
        showInEdit(field, step.text);
}

}  // namespace vem
