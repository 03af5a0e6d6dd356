#pragma once
#include <QDialog>
#include <QSpinBox>
#include <cstdint>
#include <memory>

#include "serialline/SerialLine.h"
#include "i18n/MessageTable.h"

namespace Ui {
class PortSettingsDialog;
}

namespace vem {

class PortRegistry;

// A queue size as a power of two: the arrows step the exponent (4..20), the edit shows the
// size in bytes and takes no typing.
class QueueSizeBox : public QSpinBox {
    Q_OBJECT
public:
    explicit QueueSizeBox(QWidget* parent = nullptr);
    // A size that is no power of two is shown as it is until the arrows move.
    void setSize(std::int32_t bytes);
    std::int32_t size() const;
    void stepBy(int steps) override;

protected:
    QString textFromValue(int value) const override;
    int valueFromText(const QString& text) const override;
    QValidator::State validate(QString& input, int& pos) const override;

private:
    std::int32_t odd_ = 0;
};

// What the dialog edits.
struct PortSettings {
    int port = 1;
    SerialLine line;  // rate, format and the three handshakes
    std::int32_t recSize = 2048;
    std::int32_t trmSize = 2048;
};

// The PC port dialog "Einstellungen". The port box lists the registry's ports, follows ports
// plugged in or pulled while it is open, and takes a typed device path. Its texts are message
// slots of the language file.
class PortSettingsDialog : public QDialog {
    Q_OBJECT
public:
    PortSettingsDialog(PortRegistry& ports, const MessageTable& messages, QWidget* parent);
    ~PortSettingsDialog() override;

    // Shows the form modally; true on "&Ok", with params holding the choice.
    bool choose(PortSettings& params);

    void fill(const PortSettings& params);
    const PortSettings& values() const { return working_; }

private:
    void takeChoice();
    void cancel();
    void refreshPorts();
    void listPorts();
    // A device path named to the program (VEM_PORT, a path typed before) that is not there, said.
    QString absentDevicePathNote() const;
    void selectPort(int number);
    // The port the box names: an entry, or a typed device path (then added to the list).
    // 0 with an empty problem when the box is empty.
    int chosenPort(QString& problem);
    // The line the controls show, and what this platform cannot do of it (empty when nothing).
    SerialLine chosenLine() const;
    QString refusedSetting(const SerialLine& line) const;
    QString text(int slot) const;
    void note(const QString& text);

    PortRegistry& ports_;
    const MessageTable& messages_;
    std::unique_ptr<Ui::PortSettingsDialog> ui_;
    PortSettings working_;
    PortSettings shown_;
};

}  // namespace vem
