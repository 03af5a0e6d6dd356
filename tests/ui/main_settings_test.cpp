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

struct MainSettings : ::testing::Test {
    MainWindow window;
    QString label(const char* name) { return window.findChild<QLabel*>(name)->text(); }
    void fillAndAccept(std::function<void(QWidget*)> fill, const char* acceptButton) {
        test::onNextModal([=](QWidget* dialog) {
            fill(dialog);
            QTest::mouseClick(dialog->findChild<QPushButton*>(acceptButton), Qt::LeftButton);
        });
    }
};

void setEdit(QWidget* dialog, const char* name, const QString& text) {
    dialog->findChild<QLineEdit*>(name)->setText(text);
}

}  // namespace

TEST_F(MainSettings, StartValuesInSummary) {
    EXPECT_EQ(label("handshakeValue"), "none");
    EXPECT_EQ(label("formatValue"), "8 none");
    EXPECT_EQ(label("baudValue"), "9600");
    EXPECT_EQ(label("ipValue"), "0.0.0.0");
    EXPECT_EQ(label("portValue"), "0");
    EXPECT_EQ(label("dataHoldValue"), "3");
    EXPECT_EQ(label("relayHoldValue"), "3");
}

TEST_F(MainSettings, HoldTimesMenuUpdatesSummary) {
    fillAndAccept([](QWidget* d) {
        setEdit(d, "dataHoldEdit", "12");
        setEdit(d, "relayHoldEdit", "abc");
    }, "acceptButton");
    window.findChild<QAction*>("holdTimesItem")->trigger();
    EXPECT_EQ(window.project().device.DataHoldSeconds, 12);
    EXPECT_EQ(window.project().device.RelayHoldSeconds, 0);
    EXPECT_EQ(label("dataHoldValue"), "12");
    EXPECT_EQ(label("relayHoldValue"), "0");
}

TEST_F(MainSettings, IpAddressLabelsShowTypedTextUntilRefresh) {
    fillAndAccept([](QWidget* d) {
        setEdit(d, "octet1Edit", "192");
        setEdit(d, "octet2Edit", "168");
        setEdit(d, "octet3Edit", "010");
        setEdit(d, "octet4Edit", "10");
        setEdit(d, "portEdit", "8080");
    }, "acceptButton");
    window.findChild<QAction*>("ipAddressItem")->trigger();
    EXPECT_EQ(label("ipValue"), "192.168.010.10");
    EXPECT_EQ(label("portValue"), "8080");
    EXPECT_EQ(window.image().headerArea[0x57], 80);
    window.showInterfaceSummary();
    EXPECT_EQ(label("ipValue"), "192.168.10.10");
}
