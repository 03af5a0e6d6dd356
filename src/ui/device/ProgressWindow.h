#pragma once
#include <QDialog>
#include <memory>

#include "session/Session.h"

namespace Ui {
class ProgressWindow;
}

namespace vem {

// The progress window of device transfers: a caption and one bar, no buttons, not modal.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent);
    ~ProgressWindow() override;

    // Shows, moves or hides the window as the session's progress says.
    void showProgress(const DeviceOperations::Progress& progress);
    int position() const;

protected:
    void keyPressEvent(QKeyEvent* event) override;  // Escape does not close it
    void closeEvent(QCloseEvent* event) override;   // neither does the window system

private:
    std::unique_ptr<Ui::ProgressWindow> ui_;
    bool closing_ = false;
};

}  // namespace vem
