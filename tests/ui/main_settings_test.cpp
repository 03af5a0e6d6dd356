#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "UiHelpers.h"
#include "ui/main/MainWindow.h"

using namespace vem;

namespace {

// A main window whose settings dialogs are filled and accepted as the test says.
struct SettingsMenuTest {
    MainWindow window;
    QString label(const char* name) { return window.findChild<QLabel*>(name)->text(); }
    // Opens the dialog of menu item `item`, puts each text of `edits` into its edit and accepts.
    void accept(const char* item, std::vector<std::pair<const char*, QString>> edits) {
        test::onNextModal([edits](QWidget* dialog) {
            for (const auto& [name, text] : edits) dialog->findChild<QLineEdit*>(name)->setText(text);
            QTest::mouseClick(dialog->findChild<QPushButton*>("acceptButton"), Qt::LeftButton);
        });
        window.findChild<QAction*>(item)->trigger();
    }
};

}  // namespace

TEST(MainWindow, SummariesShowTheStartSettings) {
    SettingsMenuTest t;
    EXPECT_EQ(t.label("handshakeValue"), "none");
    EXPECT_EQ(t.label("formatValue"), "8 none");
    EXPECT_EQ(t.label("baudValue"), "9600");
    EXPECT_EQ(t.label("ipValue"), "0.0.0.0");
    EXPECT_EQ(t.label("portValue"), "0");
    EXPECT_EQ(t.label("dataHoldValue"), "3");
    EXPECT_EQ(t.label("relayHoldValue"), "3");
}

TEST(MainWindow, HoldTimesMenuStoresTheTimesAndRefreshesTheSummary) {
    SettingsMenuTest t;
    t.accept("holdTimesItem", {{"dataHoldEdit", "12"}, {"relayHoldEdit", "abc"}});
    EXPECT_EQ(t.window.project().device.DataHoldSeconds, 12);
    EXPECT_EQ(t.window.project().device.RelayHoldSeconds, 0);
    EXPECT_EQ(t.label("dataHoldValue"), "12");
    EXPECT_EQ(t.label("relayHoldValue"), "0");
}

TEST(MainWindow, AddressSummaryShowsTheTypedTextUntilRefreshed) {
    SettingsMenuTest t;
    t.accept("ipAddressItem", {{"octet1Edit", "192"}, {"octet2Edit", "168"}, {"octet3Edit", "010"},
                               {"octet4Edit", "10"}, {"portEdit", "8080"}});
    EXPECT_EQ(t.label("ipValue"), "192.168.010.10");
    EXPECT_EQ(t.label("portValue"), "8080");
    EXPECT_EQ(t.window.image().headerArea[0x57], 80);
    // The serial line dialog refreshes the summary, even when cancelled.
    test::onNextModal([](QWidget* dialog) { dialog->findChild<QPushButton*>("cancelButton")->click(); });
    t.window.findChild<QAction*>("deviceSerialItem")->trigger();
    EXPECT_EQ(t.label("ipValue"), "192.168.10.10");
}
