#include "ui/device/TForm6.h"

#include <QCloseEvent>
#include <QKeyEvent>

#include "host/Encoding.h"
#include "ui/common/WindowPlacement.h"
#include "ui_TForm6.h"

namespace vem {

TForm6::TForm6(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TForm6>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(false);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
}

TForm6::~TForm6() = default;

void TForm6::showProgress(const Session::Progress& p) {
    if (!p.visible) {
        closing_ = true;
        hide();
        closing_ = false;
        return;
    }
    setWindowTitle(fromCp1252(p.caption));
    ui_->ProgressBar1->setMaximum(p.maximum);
    ui_->ProgressBar1->setValue(std::min(p.position, p.maximum));
    if (!isVisible()) {
        show();
        centreOnScreen(this);
    }
}

int TForm6::position() const { return ui_->ProgressBar1->value(); }

void TForm6::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(event);
}

void TForm6::closeEvent(QCloseEvent* event) {
    if (!closing_) event->ignore();
}

}  // namespace vem
