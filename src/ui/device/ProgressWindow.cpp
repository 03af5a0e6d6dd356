#include "ui/device/ProgressWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "host/Encoding.h"
#include "ui/common/WindowPlacement.h"
#include "ui_ProgressWindow.h"

namespace vem {

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::ProgressWindow>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::showProgress(const DeviceOperations::Progress& p) {
    if (!p.visible) {
        closing_ = true;
        hide();
        closing_ = false;
        return;
    }
    setWindowTitle(fromCp1252(p.caption));
    ui_->progressBar->setMaximum(p.maximum);
    ui_->progressBar->setValue(std::min(p.position, p.maximum));
    if (!isVisible()) {
        show();
        centreOnScreen(this);
    }
}

int ProgressWindow::position() const { return ui_->progressBar->value(); }

void ProgressWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    if (!closing_) event->ignore();
}

}  // namespace vem
