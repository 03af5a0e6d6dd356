#include "ui/device/DeviceInfoDialog.h"

#include <QKeyEvent>

#include "host/Encoding.h"
#include "ui/common/DialogKeys.h"
#include "ui_DeviceInfoDialog.h"

namespace vem {

DeviceInfoDialog::DeviceInfoDialog(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::DeviceInfoDialog>()) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    connect(ui_->acceptButton, &QPushButton::clicked, this, &QDialog::accept);
    useDialogKeys(this, ui_->acceptButton);
}

DeviceInfoDialog::~DeviceInfoDialog() = default;

void DeviceInfoDialog::fill(const DeviceOperations::DeviceInfo& info) {
    ui_->fileNameValue->setText(fromCp1252(info.fileName));
    ui_->programmedValue->setText(fromCp1252(info.programmed));
}

void DeviceInfoDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == systemMenuKey) emit systemMenuRequested();
    QDialog::keyPressEvent(event);
}

}  // namespace vem
