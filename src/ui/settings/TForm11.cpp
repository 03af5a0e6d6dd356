#include "ui/settings/TForm11.h"

#include "ui/common/MessagePresenter.h"
#include "session/Session.h"
#include "ui/settings/SettingsWidgets.h"
#include "ui_TForm11.h"

namespace vem {

TForm11::TForm11(Session& session, MessagePresenter& presenter, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TForm11>()), session_(session), presenter_(presenter) {
    ui_->setupUi(this);
    setFixedSize(size());
    setModal(true);
    connect(ui_->SpeedButton1, &QPushButton::clicked, this, &TForm11::SpeedButton1Click);
    connect(ui_->SpeedButton2, &QPushButton::clicked, this, &TForm11::SpeedButton2Click);
}

TForm11::~TForm11() = default;

void TForm11::fill(const DataSendEntry& e) {
    ui_->FlatCheckBox1->setChecked(e.enabled);
    selectEntry(ui_->FlatComboBox3, e.baudPosition);
    showInEdit(ui_->FlatEdit1, e.prefix);
    showInEdit(ui_->FlatEdit2, e.suffix);
}

DataSendEntry TForm11::values() const {
    DataSendEntry e;
    e.enabled = ui_->FlatCheckBox1->isChecked();
    e.baudPosition = typedEntry(ui_->FlatComboBox3);
    e.prefix = editText(ui_->FlatEdit1);
    e.suffix = editText(ui_->FlatEdit2);
    return e;
}

void TForm11::SpeedButton1Click() { reject(); }

void TForm11::SpeedButton2Click() {
    const Outcome outcome = session_.acceptDataSend(values());
    if (outcome.ok)
        accept();
    else if (outcome.dialogMessage)
        presenter_.showDialogMessage(*outcome.dialogMessage, this);
}

}  // namespace vem
