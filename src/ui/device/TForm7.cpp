#include "ui/device/TForm7.h"

#include <QKeyEvent>

#include "host/Encoding.h"
#include "ui_TForm7.h"

namespace vem {

TForm7::TForm7(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TForm7>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    connect(ui_->Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
}

TForm7::~TForm7() = default;

void TForm7::fill(const Session::DeviceInfo& info) {
    ui_->Label2->setText(fromCp1252(info.fileName));
    ui_->Label4->setText(fromCp1252(info.programmed));
}

void TForm7::keyPressEvent(QKeyEvent* event) {
    if (event->key() == systemMenuKey) emit systemMenuRequested();
    QDialog::keyPressEvent(event);
}

void TForm7::Button1Click() { accept(); }

}  // namespace vem
