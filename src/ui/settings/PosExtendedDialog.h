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

signals:
    // A keyword button made `pressed` current in place of `shown`, whose text and action were
    // committed: they stay, however the dialog is closed.
    void keywordSwitched(int shown, int pressed, const std::string& text, int action);

private:
    void selectKeyword(int n);
    void showKeyword(int n);
    int selectedAction() const;
    void selectAction(int position);
    int keywordDown() const;

    PosExtendedSettings settings_;  // as filled, with the keywords committed since
    std::array<QAbstractButton*, KeywordCount> keywordButtons_{};
    std::array<QRadioButton*, KeywordActionCount> actionButtons_{};
    int currentKeyword_ = 0;
};

}  // namespace vem
