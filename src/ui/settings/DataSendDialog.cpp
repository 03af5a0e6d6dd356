#include "ui/settings/DataSendDialog.h"

#include "ui/common/MessagePresenter.h"
#include "session/Session.h"
#include "ui/settings/SettingsWidgets.h"
#include "ui_DataSendDialog.h"

namespace vem {

DataSendDialog::DataSendDialog(Session& session, MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::DataSendDialog>()), session_(session), presenter_(presenter) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &DataSendDialog::SpeedButton1Click);
    connect(ui_->acceptButton, &QPushButton::clicked, this, &DataSendDialog::SpeedButton2Click);
}

DataSendDialog::~DataSendDialog() = default;

void DataSendDialog::fill(const DataSendEntry& e) {
    ui_->enabledBox->setChecked(e.enabled);
    selectEntry(ui_->baudBox, e.baudPosition);
    showInEdit(ui_->prefixEdit, e.prefix);
    showInEdit(ui_->suffixEdit, e.suffix);
}

DataSendEntry DataSendDialog::values() const {
    DataSendEntry e;
    e.enabled = ui_->enabledBox->isChecked();
    e.baudPosition = typedEntry(ui_->baudBox);
    e.prefix = editText(ui_->prefixEdit);
    e.suffix = editText(ui_->suffixEdit);
    return e;
}

void DataSendDialog::SpeedButton1Click() { reject(); }

void DataSendDialog::SpeedButton2Click() {
    const Outcome outcome = session_.acceptDataSend(values());
    if (outcome.ok)
        accept();
    else if (outcome.dialogMessage)
        presenter_.showDialogMessage(*outcome.dialogMessage, this);
}

}  // namespace vem
