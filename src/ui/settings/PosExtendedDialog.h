#pragma once
#include <array>
#include <string>

#include "settings/PosRules.h"
#include "ui/common/FormDialog.h"

namespace Ui {
class PosExtendedDialog;
}
class QAbstractButton;
class QRadioButton;

namespace vem {

// What the POS extended dialog holds: its controls and the keyword shown, with its text and
// action (-1 for no action button selected).
struct PosExtendedValues {
    PosExtendedEntry entry;
    int keyword = 0;
    std::string keywordText;
    int keywordAction = -1;
};

// The POS extended dialog "POS Extended": how the device recognises the register's output,
// how it treats spaces, and the ten keywords with their actions.
class PosExtendedDialog : public FormDialog<Ui::PosExtendedDialog, PosExtendedValues, PosExtendedSettings> {
    Q_OBJECT
public:
    explicit PosExtendedDialog(QWidget* parent);

    // Shows the settings and makes keyword 1 current.
    void fill(const PosExtendedSettings& settings) override;
    PosExtendedValues values() const override;

    int currentKeyword() const { return currentKeyword_; }
    // The keywords as the project now holds them, keyword `current` shown.
    void showKeywords(const PosExtendedSettings& settings, int current);

signals:
    // A keyword button asks for `pressed` in place of the current keyword, whose text and action
    // are shown: the project commits them (they stay, however the dialog is closed) and the
    // dialog then shows what it holds (showKeywords).
    void keywordRequested(int pressed, const std::string& text, int action);

private:
    void showKeyword(int n);
    int selectedAction() const;
    void selectAction(int position);
    int keywordDown() const;

    PosExtendedSettings settings_;  // as filled, with the keywords the project committed since
    std::array<QAbstractButton*, KeywordCount> keywordButtons_{};
    std::array<QRadioButton*, KeywordActionCount> actionButtons_{};
    int currentKeyword_ = 0;
};

}  // namespace vem
