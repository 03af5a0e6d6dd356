#include "ui/common/MessagePresenter.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QShowEvent>

#include "host/Encoding.h"
#include "ui/common/WindowPlacement.h"

namespace vem {

namespace {

// A box without a visible owner (one shown before the main window, say) would be placed by
// the hidden owner or by the platform; it goes to the middle of the primary screen instead.
class MessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    void showEvent(QShowEvent* event) override {
        QMessageBox::showEvent(event);  // gives the box its final size
        const QWidget* owner = parentWidget();
        if (!event->spontaneous() && (!owner || !owner->isVisible()))
            centreOnScreen(this, QGuiApplication::primaryScreen());
    }
};

}  // namespace

MessagePresenter::MessagePresenter(const MessageTable& messages, const DialogMessages& dialogMessages)
    : messages_(messages), dialogMessages_(dialogMessages) {}

MessagePresenter::Shown MessagePresenter::slotMessage(int slot, const std::string& detail) const {
    return slotsMessage({slot}, detail);
}

MessagePresenter::Shown MessagePresenter::slotsMessage(const std::vector<int>& slotList, const std::string& detail) const {
    Shown m;
    m.slot = slotList.empty() ? -1 : slotList.front();
    m.allSlots = slotList;
    QStringList lines;
    for (int slot : slotList) lines << fromCp1252(messages_.text(slot));
    if (!detail.empty()) lines << fromCp1252(detail);
    lines.removeAll(QString());
    m.text = lines.join('\n');
    return m;
}

void MessagePresenter::showSlot(int slot, QWidget* parent, const std::string& detail) {
    present(slotMessage(slot, detail), parent);
}

void MessagePresenter::showSlots(const std::vector<int>& slotList, QWidget* parent, const std::string& detail) {
    if (!slotList.empty()) present(slotsMessage(slotList, detail), parent);
}

void MessagePresenter::showSlot(const SlotMessage& message, QWidget* parent) {
    Shown m = slotMessage(message.slot, {});
    m.text = fromCp1252(messages_.text(message));
    present(m, parent);
}

void MessagePresenter::showDialogMessage(DialogId dialog, QWidget* parent) {
    Shown m;
    m.isDialogMessage = true;
    m.dialog = dialog;
    m.text = fromCp1252(dialogMessages_.text(dialog));
    present(m, parent);
}

MessagePresenter::Answer MessagePresenter::ask(int slot, QWidget* parent) {
    const Shown m = slotMessage(slot, {});
    if (answerer_) return answerer_(m);
    MessageBox box(QMessageBox::Question, caption_, m.text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton* save = box.addButton(fromCp1252(messages_.text(Msg::AnswerSave)), QMessageBox::AcceptRole);
    QPushButton* discard =
        box.addButton(fromCp1252(messages_.text(Msg::AnswerDiscard)), QMessageBox::DestructiveRole);
    QPushButton* cancel = box.addButton(fromCp1252(messages_.text(Msg::AnswerCancel)), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save) return Answer::Save;
    if (box.clickedButton() == discard) return Answer::Discard;
    return Answer::Cancel;
}

bool MessagePresenter::ask(const Question& question, QWidget* parent) {
    const Answer yes = question.kind == Question::Kind::TakeReadBack ? Answer::Take : Answer::Yes;
    return askAccept(slotMessage(question.slot(), question.detail), question.yesSlot(), question.noSlot(), yes, parent);
}

bool MessagePresenter::askAccept(const Shown& m, int acceptSlot, int refuseSlot, Answer accept, QWidget* parent) {
    if (answerer_) return answerer_(m) == accept;
    MessageBox box(QMessageBox::Question, caption_, m.text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    QPushButton* yes = box.addButton(fromCp1252(messages_.text(acceptSlot)), QMessageBox::AcceptRole);
    QPushButton* no = box.addButton(fromCp1252(messages_.text(refuseSlot)), QMessageBox::RejectRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void MessagePresenter::present(const Shown& message, QWidget* parent) {
    if (sink_) {
        sink_(message);
        return;
    }
    MessageBox box(QMessageBox::NoIcon, caption_, message.text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);  // a detail may carry a device's or a file's bytes
    box.exec();
}

}  // namespace vem
