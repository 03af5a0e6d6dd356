#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <vector>

#include "UiHelpers.h"
#include "ui/common/MessagePresenter.h"
#include "model/Project.h"
#include "model/DeviceImage.h"
#include "session/Session.h"
#include "ui/settings/SettingsDialogs.h"
#include "settings/SettingsSummary.h"
#include "ui/device/VideoSignalDialog.h"
#include "ui/fields/FieldDialog.h"
#include "ui/settings/DataSendDialog.h"
#include "ui/settings/DeviceSerialDialog.h"
#include "ui/settings/HoldTimesDialog.h"
#include "ui/settings/IpAddressDialog.h"
#include "ui/settings/PosExtendedDialog.h"
#include "ui/settings/PosDialog.h"

namespace vem {
namespace {

using test::child;
using test::click;
using test::onModal;

class RecordingPresenter : public MessagePresenter {
public:
    using MessagePresenter::MessagePresenter;
    std::vector<Shown> shown;

protected:
    void present(const Shown& message, QWidget*) override { shown.push_back(message); }
};

// Types `text` into an emptied edit key by key; characters beyond ASCII arrive as an input
// method delivers them.
void type(QWidget* w, const char* editName, const QString& text) {
    auto* edit = child<QLineEdit>(w, editName);
    edit->clear();
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClicks(edit, QString(c));
        } else {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QApplication::sendEvent(edit, &press);
        }
    }
}

QString text(QWidget* w, const char* editName) { return child<QLineEdit>(w, editName)->text(); }

// A session with its settings dialogs; their messages are recorded.
struct SettingsDialogsTest {
    Session session;
    RecordingPresenter presenter{session.messages(), session.dialogMessages()};
    SettingsDialogs dialogs{session, presenter, nullptr};

    const Project& project() const { return session.document().project(); }
    const DeviceImage& image() const { return session.document().image(); }
    // The session starts from `p` and `img`.
    void start(const Project& p, const DeviceImage& img = {}) { session.document().takeProject(p, img); }

    int dialogMessagesShown(DialogId id) const {
        int n = 0;
        for (const auto& m : presenter.shown) n += m.isDialogMessage && m.dialog == id;
        return n;
    }
};

TEST(SettingsDialogs, HoldTimesStoredOnAcceptOnlyAndRefusedAbove255) {
    SettingsDialogsTest t;
    onModal("HoldTimesDialog", [](QWidget* d) {
        EXPECT_EQ(text(d, "dataHoldEdit"), "3");
        type(d, "dataHoldEdit", "abc");
        type(d, "relayHoldEdit", "1234");  // three characters at most
        click(d, "acceptButton");  // übernehmen
    });
    t.dialogs.runHoldTimes();
    EXPECT_EQ(t.project().device.DataHoldSeconds, 0);
    EXPECT_EQ(t.project().device.RelayHoldSeconds, 123);

    onModal("HoldTimesDialog", [](QWidget* d) {
        type(d, "relayHoldEdit", "7");
        click(d, "cancelButton");  // abbrechen
    });
    t.dialogs.runHoldTimes();
    EXPECT_EQ(t.project().device.RelayHoldSeconds, 123);

    // Above 255 "übernehmen" refuses with a message and the dialog stays open.
    onModal("HoldTimesDialog", [&t](QWidget* d) {
        type(d, "dataHoldEdit", "256");
        click(d, "acceptButton");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(t.presenter.shown.size(), 1u);
        if (!t.presenter.shown.empty()) {
            EXPECT_EQ(t.presenter.shown[0].slot, Msg::HoldTimeOutOfRange);
        }
        click(d, "cancelButton");
    });
    t.dialogs.runHoldTimes();
    EXPECT_EQ(t.project().device.DataHoldSeconds, 0);
}

TEST(SettingsDialogs, DeviceSerialStoresChosenEntriesAndMinusOneForUnknownText) {
    SettingsDialogsTest t;
    onModal("DeviceSerialDialog", [](QWidget* d) {
        EXPECT_EQ(child<QComboBox>(d, "baudBox")->currentText(), "    9600");
        child<QComboBox>(d, "handshakeBox")->setCurrentIndex(1);
        auto* format = child<QComboBox>(d, "formatBox");
        format->clearEditText();
        QTest::keyClicks(format, "7 odd");
        auto* baud = child<QComboBox>(d, "baudBox");
        baud->clearEditText();
        QTest::keyClicks(baud, "12345");
        click(d, "acceptButton");  // übernehmen
    });
    t.dialogs.runDeviceSerial();
    EXPECT_EQ(t.project().device.DeviceHandshake, 1);
    EXPECT_EQ(t.project().device.DeviceDataFormat, 1);
    EXPECT_EQ(t.project().device.DeviceBaudIndex, -1);
    EXPECT_EQ(interfaceSummary(t.project().device).baudRate, "");

    onModal("DeviceSerialDialog", [](QWidget* d) {
        auto* baud = child<QComboBox>(d, "baudBox");
        EXPECT_EQ(baud->currentText(), "");
        QTest::keyClicks(baud, "57600");
        click(d, "acceptButton");
    });
    t.dialogs.runDeviceSerial();
    EXPECT_EQ(t.project().device.DeviceBaudIndex, 8);
    EXPECT_EQ(child<QComboBox>(&t.dialogs.deviceSerialDialog(), "baudBox")->count(), 10);  // nothing added
}

TEST(SettingsDialogs, IpAddressAcceptedReturnsTypedLabelsAndSplitsThePort) {
    SettingsDialogsTest t;
    onModal("IpAddressDialog", [](QWidget* d) {
        type(d, "octet1Edit", "192");
        type(d, "octet2Edit", "168");
        type(d, "octet3Edit", "1");
        type(d, "octet4Edit", "010");
        type(d, "portEdit", "8080");
        click(d, "acceptButton");  // übernehmen
    });
    const Outcome outcome = t.dialogs.runIpAddress();
    EXPECT_TRUE(outcome.ok);
    ASSERT_TRUE(outcome.typedAddress.has_value());
    EXPECT_EQ(outcome.typedAddress->first, "192.168.1.010");
    EXPECT_EQ(outcome.typedAddress->second, "8080");
    EXPECT_EQ(t.project().device.IpAddress, (std::array<int, 4>{192, 168, 1, 10}));
    EXPECT_EQ(interfaceSummary(t.project().device).address, "192.168.1.10");
    DeviceImage expected;
    expected.storePortSplit(8080);
    EXPECT_EQ(t.image().headerArea, expected.headerArea);
    EXPECT_TRUE(t.presenter.shown.empty());
}

TEST(SettingsDialogs, IpAddressRefusedKeepsTheDialogOpenAndCancelStoresNothing) {
    SettingsDialogsTest t;
    Project p;
    p.device.IpAddress = {10, 0, 0, 1};
    p.device.IpPort = 12345;  // from a file: longer than the port edit takes
    t.start(p);
    const auto headerBefore = t.image().headerArea;
    onModal("IpAddressDialog", [&t](QWidget* d) {
        EXPECT_EQ(text(d, "portEdit"), "12345");  // shown whole, so it is refused, not cut
        click(d, "acceptButton");
        type(d, "portEdit", "80");
        type(d, "octet4Edit", "256");
        click(d, "acceptButton");
        type(d, "octet4Edit", "");
        click(d, "acceptButton");
        EXPECT_EQ(t.dialogMessagesShown(DialogId::IpAddress), 3);
        EXPECT_TRUE(d->isVisible());
        click(d, "cancelButton");  // abbrechen
        EXPECT_EQ(text(d, "octet1Edit"), "");
    });
    EXPECT_FALSE(t.dialogs.runIpAddress().typedAddress.has_value());
    EXPECT_EQ(t.project().device.IpAddress, (std::array<int, 4>{10, 0, 0, 1}));
    EXPECT_EQ(t.project().device.IpPort, 12345);
    EXPECT_EQ(t.image().headerArea, headerBefore);

    onModal("IpAddressDialog", [](QWidget* d) {
        EXPECT_EQ(text(d, "octet1Edit"), "10");
        d->close();  // closing the window cancels as well
    });
    EXPECT_FALSE(t.dialogs.runIpAddress().typedAddress.has_value());
}

TEST(SettingsDialogs, DataSendStoresFlagAndBaudDigitBeforeRefusingACode) {
    SettingsDialogsTest t;
    onModal("DataSendDialog", [&t](QWidget* d) {
        EXPECT_EQ(child<QComboBox>(d, "baudBox")->currentIndex(), -1);
        click(d, "enabledBox");
        child<QComboBox>(d, "baudBox")->setCurrentIndex(5);  // 19200
        type(d, "prefixEdit", "300");
        type(d, "suffixEdit", "3");
        click(d, "acceptButton");
        EXPECT_EQ(t.dialogMessagesShown(DialogId::DataSend), 1);
        EXPECT_TRUE(d->isVisible());
        click(d, "cancelButton");  // abbrechen keeps what was stored
    });
    t.dialogs.runDataSend();
    EXPECT_EQ(t.project().device.ForwardEnabled, 1);
    EXPECT_EQ(t.project().device.ForwardBaudDigit, 53);
    EXPECT_EQ(t.project().device.ForwardPrefixCode, 0);

    onModal("DataSendDialog", [](QWidget* d) {
        EXPECT_TRUE(child<QCheckBox>(d, "enabledBox")->isChecked());
        EXPECT_EQ(child<QComboBox>(d, "baudBox")->currentIndex(), 5);
        EXPECT_EQ(text(d, "prefixEdit"), "0");  // the refused codes were not stored
        type(d, "prefixEdit", "2");
        type(d, "suffixEdit", "3");
        click(d, "acceptButton");
    });
    t.dialogs.runDataSend();
    EXPECT_EQ(t.project().device.ForwardPrefixCode, 2);
    EXPECT_EQ(t.project().device.ForwardSuffixCode, 3);
}

TEST(SettingsDialogs, PosShowsStartValuesAndRefusesLinesBeyond16) {
    SettingsDialogsTest t;
    onModal("PosDialog", [&t](QWidget* d) {
        EXPECT_EQ(text(d, "registerNumberEdit"), "1");
        EXPECT_EQ(child<QComboBox>(d, "firstLineBox")->currentIndex(), -1);
        EXPECT_EQ(child<QComboBox>(d, "scrollDirectionBox")->currentText(), "ab");
        EXPECT_EQ(child<QComboBox>(d, "transparencyBox")->currentIndex(), -1);
        EXPECT_EQ(child<QComboBox>(d, "textColourBox")->currentText(), QString::fromUtf8("weiß"));

        child<QComboBox>(d, "firstLineBox")->setCurrentIndex(9);  // line 10
        child<QComboBox>(d, "lineCountBox")->setCurrentIndex(7);  // 8 lines
        click(d, "acceptButton");
        EXPECT_EQ(t.dialogMessagesShown(DialogId::Pos), 1);

        child<QComboBox>(d, "lineCountBox")->setCurrentIndex(6);  // 7 lines: 10 to 16
        type(d, "registerNumberEdit", "-5");
        click(d, "acceptButton");
        EXPECT_TRUE(d->isVisible());
        EXPECT_EQ(t.presenter.shown.size(), 1u);  // a wrong register number shows nothing

        type(d, "registerNumberEdit", "99");
        click(d, "acceptButton");
    });
    t.dialogs.runPos();
    EXPECT_EQ(t.project().pos.RegisterNumber, 99);
    EXPECT_EQ(t.project().pos.FirstLine, 10);
    EXPECT_EQ(t.project().pos.LineCount, 7);
    EXPECT_EQ(t.project().pos.Transparency, 0);

    onModal("PosDialog", [](QWidget* d) {
        child<QComboBox>(d, "firstLineBox")->setCurrentIndex(0);
        click(d, "cancelButton");
    });
    t.dialogs.runPos();
    EXPECT_EQ(t.project().pos.FirstLine, 10);
}

TEST(SettingsDialogs, ExtendedButtonFollowsTheLoadedImage) {
    SettingsDialogsTest t;
    auto* extended = child<QAbstractButton>(&t.dialogs.posDialog(), "extendedButton");
    EXPECT_FALSE(extended->isEnabled());
    DeviceImage img;
    img.mainArea[0x3E1F] = 1;
    t.start(Project{}, img);
    t.dialogs.updateExtendedButton();
    EXPECT_FALSE(extended->isEnabled());  // no image loaded
    img.imageTemplateLoaded = true;
    t.start(Project{}, img);
    t.dialogs.updateExtendedButton();
    EXPECT_TRUE(extended->isEnabled());
}

TEST(SettingsDialogs, SwitchingKeywordsCommitsEvenWhenBothDialogsAreCancelled) {
    SettingsDialogsTest t;
    DeviceImage img;
    img.imageTemplateLoaded = true;
    img.mainArea[0x3E1F] = 1;
    Project p;
    p.posExtended.Keyword[2] = "BAR";
    p.posExtended.KeywordAction[2] = 1;
    t.start(p, img);
    onModal("PosDialog", [](QWidget* pos) {
        onModal("PosExtendedDialog", [](QWidget* d) {
            EXPECT_TRUE(child<QRadioButton>(d, "actionButton1")->isChecked());
            type(d, "keywordEdit", "SUMME");
            click(d, "actionButton6");   // Senden
            click(d, "keywordButton1");  // already current: nothing changes
            EXPECT_EQ(text(d, "keywordEdit"), "SUMME");
            click(d, "keywordButton3");
            EXPECT_FALSE(child<QAbstractButton>(d, "keywordButton1")->isChecked());
            EXPECT_EQ(text(d, "keywordEdit"), "BAR");
            EXPECT_TRUE(child<QRadioButton>(d, "actionButton2")->isChecked());
            EXPECT_FALSE(child<QRadioButton>(d, "actionButton6")->isChecked());
            type(d, "maxSpacesEdit", "9");
            click(d, "cancelButton");  // abbrechen
        });
        click(pos, "extendedButton");  // Extended
        click(pos, "cancelButton");
    });
    t.dialogs.runPos();
    const PosExtendedSettings& x = t.project().posExtended;
    EXPECT_EQ(x.Keyword[0], "SUMME");
    EXPECT_EQ(x.KeywordAction[0], 5);
    EXPECT_EQ(x.MaxSpaces, 0);  // not stored by abbrechen

    onModal("PosExtendedDialog", [](QWidget* d) {
        EXPECT_TRUE(child<QAbstractButton>(d, "keywordButton1")->isChecked());
        EXPECT_EQ(text(d, "keywordEdit"), "SUMME");
        EXPECT_TRUE(child<QRadioButton>(d, "actionButton6")->isChecked());
        click(d, "cancelButton");
    });
    t.dialogs.runPosExtended();
}

TEST(SettingsDialogs, PosExtendedAcceptStoresEveryControlAndTheShownKeyword) {
    SettingsDialogsTest t;
    Project p;
    p.posExtended.KeywordAction[0] = 12;  // from a file: no radio button fits
    t.start(p);
    const QString start28(28, QLatin1Char('S'));
    onModal("PosExtendedDialog", [start28](QWidget* d) {
        EXPECT_TRUE(child<QRadioButton>(d, "maxModeButton")->isChecked());
        EXPECT_FALSE(child<QRadioButton>(d, "actionButton1")->isChecked());
        click(d, "limitTo40Box");
        type(d, "startEdit", start28 + "XY");  // 28 characters at most
        type(d, "endEdit", QString::fromUtf8("Ende€Σ"));  // Σ has no code in the device's code page
        type(d, "maxSpacesEdit", "25");
        click(d, "skipModeButton");
        click(d, "keywordButton2");
        type(d, "keywordEdit", "TOTAL");
        click(d, "actionButton8");
        click(d, "acceptButton");
    });
    t.dialogs.runPosExtended();
    const PosExtendedSettings& x = t.project().posExtended;
    EXPECT_EQ(x.LimitTo40, 1);
    EXPECT_EQ(x.StartDefinitionLength, 28);
    EXPECT_EQ(x.EndDefinition, "Ende\x80");
    EXPECT_EQ(x.MaxSpaces, 20);
    ASSERT_EQ(t.presenter.shown.size(), 1u);  // said once the dialog took it
    EXPECT_EQ(t.presenter.shown[0].slot, Msg::MaxSpacesAtMost);
    EXPECT_TRUE(t.presenter.shown[0].text.endsWith(" 20")) << t.presenter.shown[0].text.toStdString();
    EXPECT_EQ(x.SkipMode, 1);
    EXPECT_EQ(x.KeywordAction[0], 0);  // committed by switching, with no button selected
    EXPECT_EQ(x.Keyword[1], "TOTAL");
    EXPECT_EQ(x.KeywordAction[1], 7);
}

TEST(FormDialog, EveryDialogIsModalAndKeepsItsDesignedSize) {
    SettingsDialogsTest t;
    FieldDialog field(t.presenter, nullptr);
    VideoSignalDialog video(t.presenter, nullptr);
    SettingsDialogs& d = t.dialogs;
    const std::pair<QDialog*, QSize> designed[] = {
        {&d.holdTimesDialog(), {248, 120}}, {&d.deviceSerialDialog(), {264, 150}}, {&d.ipAddressDialog(), {232, 112}},
        {&d.posDialog(), {424, 200}},       {&d.dataSendDialog(), {320, 176}},     {&d.posExtendedDialog(), {376, 510}},
        {&field, {288, 240}},               {&video, {174, 294}},
    };
    for (const auto& [dialog, size] : designed) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        EXPECT_TRUE(dialog->isModal());
        EXPECT_EQ(dialog->minimumSize(), size);
        EXPECT_EQ(dialog->maximumSize(), size);
    }
}

}  // namespace
}  // namespace vem
