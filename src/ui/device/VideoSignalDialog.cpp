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
    edits_ = {ui_->Edit1, ui_->Edit2, ui_->Edit3, ui_->Edit4};

    connect(ui_->SpeedButton1, &QPushButton::clicked, this, &VideoSignalDialog::SpeedButton1Click);
    connect(ui_->SpeedButton2, &QPushButton::clicked, this, &VideoSignalDialog::SpeedButton2Click);
    connect(ui_->SpeedButton3, &QPushButton::clicked, this, &VideoSignalDialog::SpeedButton3Click);
    const std::array<std::pair<QToolButton*, QToolButton*>, VideoEditCount> spins{{
        {ui_->CSpinButton1Up, ui_->CSpinButton1Down},
        {ui_->CSpinButton2Up, ui_->CSpinButton2Down},
        {ui_->CSpinButton3Up, ui_->CSpinButton3Down},
        {ui_->CSpinButton4Up, ui_->CSpinButton4Down},
    }};
    for (int i = 0; i < VideoEditCount; ++i) {
        const auto edit = static_cast<VideoEdit>(i);
        connect(spins[i].first, &QToolButton::clicked, this, [this, edit] { spinClick(edit, true); });
        connect(spins[i].second, &QToolButton::clicked, this, [this, edit] { spinClick(edit, false); });
    }
}

VideoSignalDialog::~VideoSignalDialog() = default;

VideoValues VideoSignalDialog::values() const {
    VideoValues v;
    for (int i = 0; i < VideoEditCount; ++i) v.texts[i] = editText(edits_[i]);
    v.videoOff = ui_->CheckBox1->isChecked();
    v.testPicture = ui_->CheckBox2->isChecked();
    v.colourOn = ui_->CheckBox3->isChecked();
    v.autoColour = ui_->CheckBox4->isChecked();
    v.autoPll = ui_->CheckBox5->isChecked();
    return v;
}

void VideoSignalDialog::fill(const VideoValues& v) {
    for (int i = 0; i < VideoEditCount; ++i) showInEdit(edits_[i], v.texts[i]);
    ui_->CheckBox1->setChecked(v.videoOff);
    ui_->CheckBox2->setChecked(v.testPicture);
    ui_->CheckBox3->setChecked(v.colourOn);
    ui_->CheckBox4->setChecked(v.autoColour);
    ui_->CheckBox5->setChecked(v.autoPll);
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

void VideoSignalDialog::spinClick(VideoEdit edit, bool up) {
    QLineEdit* field = edits_[static_cast<int>(edit)];
    const VideoStep step = stepVideoValue(edit, editText(field), up);
    if (!step.readable)
        presenter_.showDialogMessage(DialogId::Video, this);
    else if (step.written)
        showInEdit(field, step.text);
}

}  // namespace vem
