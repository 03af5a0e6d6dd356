#pragma once
#include <QDialog>
#include <array>
#include <memory>

#include "settings/PosRules.h"

namespace Ui {
class PosExtendedDialog;
}
class QAbstractButton;
class QRadioButton;

namespace vem {

class Session;

// The POS extended dialog "POS Extended": how the device recognises the register's output,
// how it treats spaces, and the ten keywords with their actions.
class PosExtendedDialog : public QDialog {
    Q_OBJECT
public:
    PosExtendedDialog(Session& session, QWidget* parent);
    ~PosExtendedDialog() override;

    // Shows the settings and makes keyword 1 current.
    void fill();
    PosExtendedEntry values() const;
    int currentKeyword() const { return currentKeyword_; }

private:
    void selectKeyword(int n);
    void SpeedButton1Click();
    void SpeedButton2Click();

    void showKeyword(int n);
    int selectedAction() const;
    void selectAction(int position);
    int keywordDown() const;

    std::unique_ptr<Ui::PosExtendedDialog> ui_;
    Session& session_;
    std::array<QAbstractButton*, KeywordCount> keywordButtons_{};
    std::array<QRadioButton*, KeywordActionCount> actionButtons_{};
    int currentKeyword_ = 0;
};

}  // namespace vem
