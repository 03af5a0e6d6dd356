#include "common/MessagePresenter.h"

#include <QMessageBox>

#include "common/Encoding.h"

namespace vem {

MessagePresenter::MessagePresenter(const MessageTable& messages, const DialogMessages& dialogMessages)
    : messages_(messages), dialogMessages_(dialogMessages) {}

void MessagePresenter::showSlot(int slot, QWidget* parent) {
    Shown m;
    m.slot = slot;
    m.text = fromCp1252(messages_.text(slot));
    present(m, parent);
}

void MessagePresenter::showDialogMessage(DialogId dialog, QWidget* parent) {
    Shown m;
    m.isDialogMessage = true;
    m.dialog = dialog;
    m.text = fromCp1252(dialogMessages_.text(dialog));
    present(m, parent);
}

void MessagePresenter::present(const Shown& message, QWidget* parent) {
    if (sink_) {
        sink_(message);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, QString(), message.text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace vem
