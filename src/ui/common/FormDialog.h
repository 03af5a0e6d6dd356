#pragma once
#include <QAbstractButton>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "ui/common/ControlValues.h"
#include "ui/common/DialogKeys.h"

namespace vem {

// A modal dialog of fixed size made from the Designer form `Form`: it shows a `Shown` and hands
// back the `Values` its controls hold. The form's "cancelButton" runs `cancelPressed` and its
// "acceptButton", where it has one, `acceptPressed`; unless overridden they reject, and accept
// what `ask` is told to take. Enter presses the accept button and Escape the cancel button.
template <class Form, class Values, class Shown = Values>
class FormDialog : public QDialog {
public:
    // By default the bound controls show their part of `shown`.
    virtual void fill(const Shown& shown) {
        if constexpr (std::is_same_v<Shown, Values>)
            for (const auto& show : shows_) show(shown);
    }
    // By default the parts the bound controls hold.
    virtual Values values() const {
        Values v{};
        for (const auto& read : reads_) read(v);
        return v;
    }

    // Fills the dialog and runs it: what it holds when accepted, nothing otherwise. Given `takes`,
    // the accept button hands it what the dialog holds and closes the dialog only once `takes`
    // says it was taken (a refusal is for `takes` to explain).
    std::optional<Values> ask(const Shown& shown, std::function<bool(const Values&)> takes = {}) {
        fill(shown);
        takes_ = std::move(takes);
        const bool accepted = exec() == QDialog::Accepted;
        takes_ = nullptr;
        if (!accepted) return std::nullopt;
        return values();
    }

protected:
    explicit FormDialog(QWidget* parent) : QDialog(parent), ui_(new Form, [](Form* form) { delete form; }) {
        ui_->setupUi(this);
        setFixedSize(size());
        setModal(true);
        connect(ui_->cancelButton, &QAbstractButton::clicked, this, [this] { cancelPressed(); });
        if constexpr (requires(Form& form) { form.acceptButton; }) {
            connect(ui_->acceptButton, &QAbstractButton::clicked, this, [this] { acceptPressed(); });
            useDialogKeys(this, ui_->acceptButton);
        } else {
            useDialogKeys(this, nullptr);
        }
    }

    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Cancel))
            cancelPressed();
        else
            QDialog::keyPressEvent(event);
    }

    virtual void acceptPressed() {
        if (!takes_ || takes_(values())) accept();
    }
    virtual void cancelPressed() { reject(); }

    // Binds an edit, list or button to the part of the values that `part` picks: a data
    // member, or a function from the values to a reference.
    template <class Control, class Part>
    void bind(Control* control, Part part) {
        shows_.push_back([control, part](const Values& v) { showValue(control, std::invoke(part, v)); });
        reads_.push_back([control, part](Values& v) { std::invoke(part, v) = valueOf(control); });
    }

    // The generated form; deleted where it is complete, so that headers need not include it.
    const std::unique_ptr<Form, void (*)(Form*)> ui_;

private:
    std::function<bool(const Values&)> takes_;
    std::vector<std::function<void(const Values&)>> shows_;
    std::vector<std::function<void(Values&)>> reads_;
};

}  // namespace vem
