#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

#include "Pty.h"
#include "UiHelpers.h"
#include "ui/device/DeviceInfoDialog.h"
#include "ui/device/VideoSignalDialog.h"
#include "ui/fields/FieldDialog.h"
#include "ui/main/MainWindow.h"
#include "ui/port/PortSettingsDialog.h"
#include "ui/settings/DataSendDialog.h"
#include "ui/settings/DeviceSerialDialog.h"
#include "ui/settings/HoldTimesDialog.h"
#include "ui/settings/IpAddressDialog.h"
#include "ui/settings/PosDialog.h"
#include "ui/settings/PosExtendedDialog.h"
#include "ui/settings/SettingsDialogs.h"

namespace vem {
namespace {

// The window's own widget with the keyboard focus, once the dialog is the active window.
QWidget* keyboardFocus(QWidget* dialog) {
    EXPECT_TRUE(QTest::qWaitFor([dialog] {
        const QWidget* focus = QApplication::focusWidget();
        return focus && focus->window() == dialog;
    }));
    return QApplication::focusWidget();
}

// Where a control takes typed text: an edit, or an editable list's edit; nullptr otherwise.
QLineEdit* textEdit(QWidget* w) {
    if (auto* box = qobject_cast<QComboBox*>(w)) return box->lineEdit();
    return qobject_cast<QLineEdit*>(w);
}

// Every dialog of the program, opened as its menu or button opens it.
class DialogKeys : public test::SampleFolder {
protected:
    struct Case {
        QDialog* dialog;
        const char* firstField;           // where the focus starts
        std::function<void()> open;       // returns once the dialog closed
        std::function<bool()> accepted;   // what Enter did
    };

    void SetUp() override {
        watch(window.presenter());
        Project p = window.project();
        DeviceImage image = window.image();
        image.imageTemplateLoaded = true;
        for (int i = 0; i < 2; ++i) {
            p.dataSets[0].fields[i].variableType = i == 0 ? 0 : 2;  // "Daten", then "DD/MM/YY"
            p.dataSets[0].fields[i].length = 4;
            image.fieldRecord(0, i).length() = 10;
        }
        test::showTaken(window, p, image);
        ports.addDevicePath(pty.slave());
        // What the video dialog sends is counted here, not sent to a device.
        QObject::disconnect(video(), &VideoSignalDialog::sendRequested, &window, nullptr);
        QObject::connect(video(), &VideoSignalDialog::sendRequested, [this] { ++videoSent; });
    }

    FieldDialog* field() { return &window.fieldDialog(); }
    VideoSignalDialog* video() { return &window.videoSignalDialog(); }

    std::vector<Case> cases() {
        SettingsDialogs& s = window.settingsDialogs();
        auto closedAccepted = [](QDialog* d) { return [d] { return d->result() == QDialog::Accepted; }; };
        auto dialogCase = [&](QDialog* d, const char* first, std::function<void()> open) {
            return Case{d, first, std::move(open), closedAccepted(d)};
        };
        return {
            dialogCase(field(), "lengthEdit", [this] { window.editField(1); }),
            dialogCase(field(), "descriptionEdit", [this] { window.editField(2); }),  // its length is fixed
            dialogCase(&s.holdTimesDialog(), "dataHoldEdit", [this] { window.editHoldTimes(); }),
            dialogCase(&s.deviceSerialDialog(), "handshakeBox", [this] { window.editDeviceSerial(); }),
            dialogCase(&s.ipAddressDialog(), "octet1Edit", [this] { window.editIpAddress(); }),
            dialogCase(&s.posDialog(), "registerNumberEdit", [this] { window.editPos(); }),
            dialogCase(&s.posExtendedDialog(), "startEdit", [&s] { s.runPosExtended(); }),
            dialogCase(&s.dataSendDialog(), "enabledBox", [this] { window.editDataSend(); }),
            dialogCase(&window.deviceInfoDialog(), "acceptButton", [this] { window.deviceInfoDialog().exec(); }),
            dialogCase(&portDialog, "ComboBoxPort",
                       [this] {
                           PortSettings p;
                           p.port = ports.numberAt(pty.slave());
                           portDialog.choose(p);
                       }),
            // Its Enter sends the values to the device and leaves the dialog open.
            Case{video(), "brightnessEdit", [this] { window.editVideoSignal(); }, [this] { return videoSent == 1; }},
        };
    }

    MainWindow window;
    test::Pty pty;
    PortRegistry ports;
    PortSettingsDialog portDialog{ports, window.session().messages(), &window};
    int videoSent = 0;
};

TEST_F(DialogKeys, FocusStartsOnTheFirstFieldASpaceStaysInItEnterAcceptsEscapeCancels) {
    for (const Case& c : cases()) {
        SCOPED_TRACE(c.dialog->objectName().toStdString() + " " + c.firstField);
        test::onNextModal([&c](QWidget* d) {
            QWidget* focus = keyboardFocus(d);
            ASSERT_NE(focus, nullptr);
            EXPECT_EQ(focus->objectName(), c.firstField);
            if (!qobject_cast<QPushButton*>(focus)) {
                QTest::keyClick(focus, Qt::Key_Space);
                EXPECT_TRUE(d->isVisible());
                if (QLineEdit* text = textEdit(focus)) {
                    EXPECT_TRUE(text->text().endsWith(' ')) << text->text().toStdString();
                    text->undo();  // the video dialog keeps what it holds
                }
            }
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        c.open();
        EXPECT_FALSE(c.dialog->isVisible());
        EXPECT_EQ(c.dialog->result(), QDialog::Rejected);
        EXPECT_FALSE(c.accepted());

        test::onNextModal([](QWidget* d) {
            QTest::keyClick(keyboardFocus(d), Qt::Key_Return);
            if (d->isVisible()) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        });
        c.open();
        EXPECT_TRUE(c.accepted());
    }
    EXPECT_TRUE(shown.empty()) << shown.front().text.toStdString();
}

// A length cut to the field's limit, typed or stored, is said with the limit over the open
// dialog.
TEST_F(DialogKeys, AFieldLengthCutToItsLimitIsSaid) {
    const std::function<void(QWidget*)> cuts[] = {
        [](QWidget* d) { QTest::keyClicks(keyboardFocus(d), "12"); },
        [](QWidget*) {},  // the project holds 12
    };
    for (const auto& cut : cuts) {
        shown.clear();
        test::onNextModal([&](QWidget* d) {
            cut(d);
            EXPECT_EQ(d->findChild<QLineEdit*>("lengthEdit")->text(), "10");
            EXPECT_TRUE(QTest::qWaitFor([this] { return !shown.empty(); }));
            EXPECT_TRUE(d->isVisible());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        window.editField(1);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].slot, Msg::FieldLengthAtMost);
        EXPECT_EQ(shown[0].text, QString::fromUtf8("Länge höchstens 10"));
        EXPECT_EQ(window.project().field(1).length, 10);

        Project p = window.project();
        p.dataSets[0].fields[0].length = 12;
        test::showTaken(window, p, window.image());
    }
}

}  // namespace
}  // namespace vem
