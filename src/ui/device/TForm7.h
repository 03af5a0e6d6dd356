#pragma once
#include <QDialog>
#include <memory>

#include "session/Session.h"

namespace Ui {
class TForm7;
}

namespace vem {

// The device information window "QV - Info": the project name the device holds and when it was
// programmed. Its key `systemMenuKey` opens the hidden service menu.
class TForm7 : public QDialog {
    Q_OBJECT
public:
    static constexpr Qt::Key systemMenuKey = Qt::Key_S;

    explicit TForm7(QWidget* parent);
    ~TForm7() override;

    void fill(const Session::DeviceInfo& info);

signals:
    void systemMenuRequested();

protected:
    // A letter its button does not take reaches the window too.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Button1Click();

    std::unique_ptr<Ui::TForm7> ui_;
};

}  // namespace vem
