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

// A main window whose next settings dialog `fillAndAccept` fills and accepts.
struct SettingsMenuTest {
    MainWindow window;
    QString label(const char* name) { return window.findChild<QLabel*>(name)->text(); }
    void fillAndAccept(std::function<void(QWidget*)> fill) {
        test::onNextModal([=](QWidget* dialog) {
            fill(dialog);
            QTest::mouseClick(dialog->findChild<QPushButton*>("acceptButton"), Qt::LeftButton);
        });
    }
};

void setEdit(QWidget* dialog, const char* name, const QString& text) {
    dialog->findChild<QLineEdit*>(name)->setText(text);
}

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
    t.fillAndAccept([](QWidget* d) {
        setEdit(d, "dataHoldEdit", "12");
        setEdit(d, "relayHoldEdit", "abc");
    });
    t.window.findChild<QAction*>("holdTimesItem")->trigger();
    EXPECT_EQ(t.window.project().device.DataHoldSeconds, 12);
    EXPECT_EQ(t.window.project().device.RelayHoldSeconds, 0);
    EXPECT_EQ(t.label("dataHoldValue"), "12");
    EXPECT_EQ(t.label("relayHoldValue"), "0");
}

TEST(MainWindow, AddressSummaryShowsTheTypedTextUntilRefreshed) {
    SettingsMenuTest t;
    t.fillAndAccept([](QWidget* d) {
        setEdit(d, "octet1Edit", "192");
        setEdit(d, "octet2Edit", "168");
        setEdit(d, "octet3Edit", "010");
        setEdit(d, "octet4Edit", "10");
        setEdit(d, "portEdit", "8080");
    });
    t.window.findChild<QAction*>("ipAddressItem")->trigger();
    EXPECT_EQ(t.label("ipValue"), "192.168.010.10");
    EXPECT_EQ(t.label("portValue"), "8080");
    EXPECT_EQ(t.window.image().headerArea[0x57], 80);
    t.window.showInterfaceSummary();
    EXPECT_EQ(t.label("ipValue"), "192.168.10.10");
}
