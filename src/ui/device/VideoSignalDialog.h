#pragma once
#include <array>

#include "settings/VideoRules.h"
#include "ui/common/FormDialog.h"

class QLineEdit;
class QShowEvent;

namespace Ui {
class VideoSignalDialog;
}

namespace vem {

class MessagePresenter;

// The service dialog "Videosignal": brightness, contrast, chroma, luma and five switches of the
// device's video output. The values live only here; the dialog hands the block out to be sent.
class VideoSignalDialog : public FormDialog<Ui::VideoSignalDialog, VideoValues> {
    Q_OBJECT
public:
    VideoSignalDialog(MessagePresenter& presenter, QWidget* parent);

signals:
    // "------>" after the values passed, and "R" after the reset. The dialog stays open.
    void sendRequested(vem::VideoBlock block);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void send();
    void reset();
    void stepValue(VideoEdit edit, bool up);

    MessagePresenter& presenter_;
    std::array<QLineEdit*, VideoEditCount> edits_{};
};

}  // namespace vem
