#pragma once
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "i18n/MessageTable.h"
#include "session/Outcome.h"

class QWidget;

namespace vem {

// The one place every message box of the program goes through. Tests replace `present`
// to see which message was shown without a modal box.
class MessagePresenter {
public:
    struct Shown {
        bool isDialogMessage = false;
        int slot = -1;                         // MessageTable slot when !isDialogMessage
        std::vector<int> allSlots;             // every slot said in the box, `slot` first
        DialogId dialog = DialogId::IpAddress;  // when isDialogMessage
        QString text;
    };

    enum class Answer { Save, Discard, Cancel, Take, Yes };

    MessagePresenter(const MessageTable& messages, const DialogMessages& dialogMessages);
    virtual ~MessagePresenter() = default;

    // `detail` becomes one more line under the slot's text.
    void showSlot(int slot, QWidget* parent = nullptr, const std::string& detail = {});
    // One box saying what the slots say, in this order, with `detail` under them.
    void showSlots(const std::vector<int>& slotList, QWidget* parent = nullptr, const std::string& detail = {});
    void showSlot(const SlotMessage& message, QWidget* parent = nullptr);
    void showDialogMessage(DialogId dialog, QWidget* parent = nullptr);

    // Asks the slot's question with the buttons of slots AnswerSave, AnswerDiscard and
    // AnswerCancel; the close box or Escape answers Cancel.
    Answer ask(int slot, QWidget* parent = nullptr);
    // Asks an operation's question, its detail under it, with its yes and no buttons; the close
    // box or Escape answers no. True for yes.
    bool ask(const Question& question, QWidget* parent = nullptr);

    // The title of every box: the main window's caption.
    void setCaption(const QString& caption) { caption_ = caption; }

    // Sends every message to `sink` instead of a message box (for tests and scripted runs).
    void setSink(std::function<void(const Shown&)> sink) { sink_ = std::move(sink); }
    // Answers every question instead of a message box (for tests).
    void setAnswerer(std::function<Answer(const Shown&)> answerer) { answerer_ = std::move(answerer); }

protected:
    virtual void present(const Shown& message, QWidget* parent);

private:
    Shown slotMessage(int slot, const std::string& detail) const;
    Shown slotsMessage(const std::vector<int>& slotList, const std::string& detail) const;
    // A question with an accepting and a refusing button; the refusing one is the default.
    bool askAccept(const Shown& message, int acceptSlot, int refuseSlot, Answer accept, QWidget* parent);

    const MessageTable& messages_;
    const DialogMessages& dialogMessages_;
    std::function<void(const Shown&)> sink_;
    std::function<Answer(const Shown&)> answerer_;
    QString caption_;
};

}  // namespace vem
