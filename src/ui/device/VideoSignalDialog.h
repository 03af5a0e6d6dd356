#pragma once
#include <QDialog>
#include <array>
#include <memory>

#include "settings/VideoRules.h"

class QLineEdit;
class QShowEvent;

namespace Ui {
class VideoSignalDialog;
}

namespace vem {

class MessagePresenter;

// The service dialog "Videosignal": brightness, contrast, chroma, luma and five switches of the
// device's video output. The values live only here; the dialog hands the block out to be sent.
class VideoSignalDialog : public QDialog {
    Q_OBJECT
public:
    VideoSignalDialog(MessagePresenter& presenter, QWidget* parent);
    ~VideoSignalDialog() override;

    VideoValues values() const;
    void fill(const VideoValues& v);

signals:
    // "------>" after the values passed, and "R" after the reset. The dialog stays open.
    void sendRequested(vem::VideoBlock block);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void stepValue(VideoEdit edit, bool up);

    std::unique_ptr<Ui::VideoSignalDialog> ui_;
    MessagePresenter& presenter_;
    std::array<QLineEdit*, VideoEditCount> edits_{};
};

}  // namespace vem
