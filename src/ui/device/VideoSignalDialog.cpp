#include "ui/device/VideoSignalDialog.h"

#include "host/Encoding.h"
#include "ui/common/MessagePresenter.h"
#include "ui/common/WindowPlacement.h"
#include "ui_VideoSignalDialog.h"

namespace vem {

VideoSignalDialog::VideoSignalDialog(MessagePresenter& presenter, QWidget* parent)
    : FormDialog(parent), presenter_(presenter) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    edits_ = {ui_->brightnessEdit, ui_->contrastEdit, ui_->chromaEdit, ui_->lumaEdit};
    for (std::size_t i = 0; i < edits_.size(); ++i) bind(edits_[i], [i](auto& v) -> auto& { return v.texts[i]; });
    bind(ui_->videoOffBox, &VideoValues::videoOff);
    bind(ui_->testPictureBox, &VideoValues::testPicture);
    bind(ui_->colourOnBox, &VideoValues::colourOn);
    bind(ui_->autoColourBox, &VideoValues::autoColour);
    bind(ui_->autoPllBox, &VideoValues::autoPll);
    connect(ui_->sendButton, &QPushButton::clicked, this, &VideoSignalDialog::send);
    ui_->sendButton->setDefault(true);  // Enter sends, as the dialog has no accept button
    connect(ui_->resetButton, &QPushButton::clicked, this, &VideoSignalDialog::reset);
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

void VideoSignalDialog::showEvent(QShowEvent* event) {
    centreOnScreen(this);
    QDialog::showEvent(event);
}

void VideoSignalDialog::send() {
    const VideoValues v = values();
    if (!videoValuesAcceptable(v)) {
        presenter_.showDialogMessage(DialogId::Video, this);
        return;
    }
    emit sendRequested(videoSettingsBlock(v));
}

void VideoSignalDialog::reset() {
    VideoValues v = values();
    resetVideoValues(v);
    fill(v);
    emit sendRequested(videoSettingsBlock(v));
}

void VideoSignalDialog::stepValue(VideoEdit edit, bool up) {
    QLineEdit* field = edits_[static_cast<int>(edit)];
    const VideoStep step = stepVideoValue(edit, valueOf(field), up);
    if (!step.readable)
        presenter_.showDialogMessage(DialogId::Video, this);
    else if (step.written)
        showValue(field, step.text);
}

}  // namespace vem
