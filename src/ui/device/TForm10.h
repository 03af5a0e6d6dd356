#pragma once
#include <QDialog>
#include <array>
#include <memory>

#include "settings/VideoRules.h"

class QLineEdit;
class QShowEvent;

namespace Ui {
class TForm10;
}

namespace vem {

class MessagePresenter;

// The service dialog "Videosignal": brightness, contrast, chroma, luma and five switches of the
// device's video output. The values live only here; the dialog hands the block out to be sent.
class TForm10 : public QDialog {
    Q_OBJECT
public:
    TForm10(MessagePresenter& presenter, QWidget* parent);
    ~TForm10() override;

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
    void spinClick(VideoEdit edit, bool up);

    std::unique_ptr<Ui::TForm10> ui_;
    MessagePresenter& presenter_;
    std::array<QLineEdit*, VideoEditCount> edits_{};
};

}  // namespace vem
