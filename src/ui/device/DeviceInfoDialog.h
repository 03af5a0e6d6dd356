#pragma once
#include <QDialog>
#include <memory>

#include "session/Session.h"

namespace Ui {
class DeviceInfoDialog;
}

namespace vem {

// The device information window "QV - Info": the project name the device holds and when it was
// programmed. Its key `systemMenuKey` opens the hidden service menu.
class DeviceInfoDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr Qt::Key systemMenuKey = Qt::Key_S;

    explicit DeviceInfoDialog(QWidget* parent);
    ~DeviceInfoDialog() override;

    void fill(const DeviceOperations::DeviceInfo& info);

signals:
    void systemMenuRequested();

protected:
    // A letter its button does not take reaches the window too.
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<Ui::DeviceInfoDialog> ui_;
};

}  // namespace vem
