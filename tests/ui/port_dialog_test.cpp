#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <functional>

#include "serialline/SerialConfig.h"
#include "ui/port/PortMemory.h"
#include "ui/port/PortSettingsDialog.h"
#include "ui/port/PortSettingsFlow.h"
#include "Pty.h"
#include "UiHelpers.h"
#include <QSignalSpy>

#include "serial/PortRegistry.h"
#include "serial/SerialPort.h"

namespace vem {
namespace {

using test::Pty;

using test::child;
using test::click;

void typePort(QWidget* w, const QString& text) {
    QLineEdit* edit = child<QComboBox>(w, "ComboBoxPort")->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, text);
}

// The whole note, also where the label had to shorten it.
QString note(QWidget* w) {
    return QTextDocumentFragment::fromHtml(child<QLabel>(w, "LabelNote")->toolTip()).toPlainText();
}

class PortDialog : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings(QStringLiteral("VEM"), QStringLiteral("VEM")).clear();
        ports.addDevicePath(pty.slave());
        serial.line() = serial1Line();
        serial.setPortNumber(ports.numberAt(pty.slave()));
        ASSERT_NE(serial.portNumber(), 0);
    }
    static bool remembered() {
        return QSettings(QStringLiteral("VEM"), QStringLiteral("VEM")).contains("Port/Config");
    }

    Pty pty;
    PortRegistry ports;
    SerialPort serial{ports};
    MessageTable messages;
    PortSettingsFlow dialog{ports, messages, nullptr};
};

TEST_F(PortDialog, ShowsTheSettingsAndACancelReopensWithTheOldOnes) {
    test::onModal("PortSettingsDialog", [&](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), "Einstellungen");
        EXPECT_EQ(w->size(), QSize(256, 297));
        const std::vector<std::pair<const char*, QString>> shown{
            {"ComboBoxPort", pty.slave()}, {"ComboBoxBaudrate", "57600"},
            {"ComboBoxDatabit", "8"},      {"ComboBoxParity", "none"},
            {"ComboBoxStop", "1"}};
        for (const auto& [name, text] : shown)
            EXPECT_EQ(child<QComboBox>(w, name)->currentText(), text) << name;
        EXPECT_EQ(child<QComboBox>(w, "ComboBoxBaudrate")->count(), BaudrateCount);
        for (const char* name : {"CheckBoxRTSCTS", "CheckBoxDTRDSR", "CheckBoxSoft"})
            EXPECT_FALSE(child<QCheckBox>(w, name)->isChecked()) << name;
        EXPECT_EQ(child<QueueSizeBox>(w, "UpDown1")->text(), "2048");
        EXPECT_EQ(child<QueueSizeBox>(w, "UpDown2")->text(), "2048");
        EXPECT_TRUE(note(w).isEmpty());

        child<QComboBox>(w, "ComboBoxBaudrate")->setCurrentText("19200");
        child<QCheckBox>(w, "CheckBoxRTSCTS")->setChecked(true);
        click(w, "ButtonAbort");
    });
    ASSERT_TRUE(serial.open());
    EXPECT_FALSE(dialog.editAndReopen(serial));
    EXPECT_TRUE(serial.isOpen());
    EXPECT_EQ(serial.line(), serial1Line());
    EXPECT_EQ(serial.portNumber(), ports.numberAt(pty.slave()));
    EXPECT_EQ(pty.speed(), speed_t(B57600));
    EXPECT_FALSE(remembered());
}

TEST_F(PortDialog, QueueArrowsStopAtBothEndsAndAnUntouchedSizeStays) {
    serial.line().SetBufSizeTrm(3000);
    test::onModal("PortSettingsDialog", [&](QWidget* w) {
        auto* rec = child<QueueSizeBox>(w, "UpDown1");
        EXPECT_EQ(child<QueueSizeBox>(w, "UpDown2")->text(), "3000");
        QTest::keyClick(rec, Qt::Key_Up);
        EXPECT_EQ(rec->text(), "4096");
        for (int i = 0; i < 12; ++i) QTest::keyClick(rec, Qt::Key_Up);
        EXPECT_EQ(rec->text(), "1048576");
        QTest::keyClicks(rec, "99");  // no typing
        EXPECT_EQ(rec->text(), "1048576");
        for (int i = 0; i < 20; ++i) QTest::keyClick(rec, Qt::Key_Down);
        EXPECT_EQ(rec->text(), "16");
        click(w, "ButtonOk");
    });
    ASSERT_TRUE(dialog.edit(serial));
    EXPECT_EQ(serial.line().BufSizeRec(), 16);
    EXPECT_EQ(serial.line().BufSizeTrm(), 3000);
}

TEST_F(PortDialog, APortPluggedInWhileOpenIsOfferedAndOneLeavingIsNamed) {
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyPlugged");
    ports.addDevicePath(link);  // not there yet
    QSignalSpy arrivals(&ports, &PortRegistry::portsArrived);
    test::onModal("PortSettingsDialog", [&](QWidget* w) {
        auto* box = child<QComboBox>(w, "ComboBoxPort");
        EXPECT_EQ(box->findText(link), -1);
        ASSERT_TRUE(QFile::link(pty.slave(), link));
        ASSERT_TRUE(QTest::qWaitFor([&] { return box->findText(link) >= 0; }));
        box->setCurrentIndex(box->findText(link));
        ASSERT_TRUE(QFile::remove(link));
        ASSERT_TRUE(QTest::qWaitFor([&] { return box->findText(link) < 0; }));
        EXPECT_TRUE(note(w).contains(link));
        click(w, "ButtonAbort");
    });
    EXPECT_FALSE(dialog.edit(serial));
    EXPECT_EQ(arrivals.count(), 1);  // others hear of ports coming too
    EXPECT_EQ(serial.portNumber(), ports.numberAt(pty.slave()));
}

TEST_F(PortDialog, ATypedPathOpensAPseudoTerminalAndIsRememberedForTheNextStart) {
    Pty typed;
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    test::onModal("PortSettingsDialog", [&](QWidget* w) {
        for (const QString& refused : {QString("/nonexistent/ttyQ"), plain.fileName()}) {
            typePort(w, refused);
            click(w, "ButtonOk");
            EXPECT_TRUE(w->isVisible()) << qPrintable(refused);
            EXPECT_TRUE(note(w).contains(refused)) << qPrintable(note(w));
        }
        typePort(w, typed.slave());
        child<QComboBox>(w, "ComboBoxBaudrate")->setCurrentText("19200");
        click(w, "ButtonOk");
    });
    EXPECT_FALSE(dialog.editAndReopen(serial));
    ASSERT_TRUE(serial.isOpen());
    EXPECT_EQ(serial.portNumber(), ports.numberAt(typed.slave()));
    EXPECT_EQ(typed.speed(), speed_t(B19200));
    serial.close();

    // The next start: port by its path, settings by the text; a broken text changes nothing.
    QSettings stored(QStringLiteral("VEM"), QStringLiteral("VEM"));
    const QString text = stored.value("Port/Config").toString();
    struct Case {
        const char* name;
        QString config, location;
        int port;
        TBaudrate rate;
    };
    const int defaultPort = ports.numberAt(pty.slave());
    const std::vector<Case> cases{
        {"as saved", text, typed.slave(), ports.numberAt(typed.slave()), TBaudrate::br_019200},
        {"port gone", text, "/nonexistent/ttyGone", defaultPort, TBaudrate::br_019200},
        {"broken text", QString(text).replace(8, 1, "9"), typed.slave(), defaultPort,
         TBaudrate::br_057600},
    };
    for (const Case& c : cases) {
        stored.setValue("Port/Config", c.config);
        stored.setValue("Port/Location", c.location);
        stored.sync();
        SerialPort next(ports);
        next.line() = serial1Line();
        next.setPortNumber(defaultPort);
        restorePortSettings(next, ports);
        EXPECT_EQ(next.portNumber(), c.port) << c.name;
        EXPECT_EQ(next.line().Baudrate, c.rate) << c.name;
    }
}

TEST_F(PortDialog, APortNoLongerListedStaysAndNoOtherIsPreselected) {
    QTemporaryDir dir;
    const QString link = dir.filePath("ttyGone");
    ASSERT_TRUE(QFile::link(pty.slave(), link));
    ports.addDevicePath(link);
    const int gone = ports.numberAt(link);
    serial.setPortNumber(gone);
    ASSERT_TRUE(QFile::remove(link));
    ports.recheck();
    ASSERT_FALSE(ports.contains(gone));
    test::onModal("PortSettingsDialog", [&](QWidget* w) {
        auto* box = child<QComboBox>(w, "ComboBoxPort");
        EXPECT_GT(box->count(), 0);
        EXPECT_EQ(box->currentIndex(), -1);
        EXPECT_TRUE(box->currentText().isEmpty());
        child<QComboBox>(w, "ComboBoxBaudrate")->setCurrentText("19200");
        click(w, "ButtonOk");
    });
    ASSERT_TRUE(dialog.edit(serial));
    EXPECT_EQ(serial.portNumber(), gone);
    EXPECT_EQ(serial.line().Baudrate, TBaudrate::br_019200);
}

TEST_F(PortDialog, ASettingThePlatformCannotDoIsNamedAndNeverTaken) {
    const struct {
        const char* name;
        std::function<void(QWidget*)> choose;
        QString named;
    } cases[] = {
        {"DTR/DSR", [](QWidget* w) { child<QCheckBox>(w, "CheckBoxDTRDSR")->setChecked(true); },
         "DTR/DSR-Handshake"},
        {"RTS/CTS and XOn/XOff",
         [](QWidget* w) {
             child<QCheckBox>(w, "CheckBoxRTSCTS")->setChecked(true);
             child<QCheckBox>(w, "CheckBoxSoft")->setChecked(true);
         },
         "RTS/CTS-Handshake + XOn/XOff-Protokoll"},
        {"4 data bits", [](QWidget* w) { child<QComboBox>(w, "ComboBoxDatabit")->setCurrentText("4"); },
         "Datenbit 4"},
    };
    for (const auto& c : cases) {
        test::onModal("PortSettingsDialog", [&](QWidget* w) {
            c.choose(w);
            click(w, "ButtonOk");
            EXPECT_TRUE(w->isVisible()) << c.name;
            EXPECT_TRUE(note(w).endsWith(c.named)) << qPrintable(note(w));
            click(w, "ButtonAbort");
        });
        serial.open();
        EXPECT_FALSE(dialog.editAndReopen(serial)) << c.name;
        EXPECT_TRUE(serial.isOpen()) << c.name;
        EXPECT_EQ(serial.line(), serial1Line()) << c.name;
        EXPECT_FALSE(remembered()) << c.name;
    }
}

TEST_F(PortDialog, TextsAndNotesComeFromTheMessageSlots) {
    for (int slot = Msg::PortDialogCaption; slot <= Msg::PortNoteRefused; ++slot)
        messages.setText(slot, "#" + std::to_string(slot) + " %1");
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    const QString null = dir.filePath("null");
    ASSERT_TRUE(QFile::link("/dev/null", null));
    ports.addDevicePath("/nonexistent/ttyVEM");  // as VEM_PORT names one
    test::onModal("PortSettingsDialog", [&](QWidget* w) {
        EXPECT_EQ(note(w), QString("#%1 /nonexistent/ttyVEM").arg(Msg::PortNoteAbsent));
        EXPECT_TRUE(w->windowTitle().startsWith(QString("#%1 ").arg(Msg::PortDialogCaption)));
        const std::pair<const char*, int> captions[] = {
            {"LabelPort", Msg::PortDialogPort},       {"LabelStop", Msg::PortDialogStopbits},
            {"CheckBoxSoft", Msg::PortDialogXOnXOff}, {"ButtonOk", Msg::PortDialogOk},
        };
        for (const auto& [name, slot] : captions)
            EXPECT_TRUE(w->findChild<QWidget*>(name)->property("text").toString().startsWith(QString("#%1 ").arg(slot)))
                << name;
        EXPECT_TRUE(child<QGroupBox>(w, "GroupBoxBuffer")->title().startsWith(QString("#%1 ").arg(Msg::PortDialogBuffers)));
        const std::pair<QString, int> notes[] = {
            {"/nonexistent/ttyQ", Msg::PortNoteAbsent},
            {plain.fileName(), Msg::PortNoteNoDevice},
            {null, Msg::PortNoteNotSerial},
        };
        for (const auto& [path, slot] : notes) {
            typePort(w, path);
            click(w, "ButtonOk");
            EXPECT_EQ(note(w), QString("#%1 %2").arg(slot).arg(path));
        }
        click(w, "ButtonAbort");
    });
    EXPECT_FALSE(dialog.edit(serial));
}

}  // namespace
}  // namespace vem
