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
    EXPECT_EQ(label("Label19"), "none");
    EXPECT_EQ(label("Label21"), "8 none");
    EXPECT_EQ(label("Label23"), "9600");
    EXPECT_EQ(label("Label32"), "0.0.0.0");
    EXPECT_EQ(label("Label34"), "0");
    EXPECT_EQ(label("Label25"), "3");
    EXPECT_EQ(label("Label28"), "3");
}

TEST_F(MainSettings, HoldTimesMenuUpdatesSummary) {
    fillAndAccept([](QWidget* d) {
        setEdit(d, "FlatEdit1", "12");
        setEdit(d, "FlatEdit2", "abc");
    }, "SpeedButton1");
    window.findChild<QAction*>("Halte1")->trigger();
    EXPECT_EQ(window.project().device.DataHoldSeconds, 12);
    EXPECT_EQ(window.project().device.RelayHoldSeconds, 0);
    EXPECT_EQ(label("Label25"), "12");
    EXPECT_EQ(label("Label28"), "0");
}

TEST_F(MainSettings, IpAddressLabelsShowTypedTextUntilRefresh) {
    fillAndAccept([](QWidget* d) {
        setEdit(d, "FlatEdit1", "192");
        setEdit(d, "FlatEdit2", "168");
        setEdit(d, "FlatEdit3", "010");
        setEdit(d, "FlatEdit4", "10");
        setEdit(d, "FlatEdit5", "8080");
    }, "SpeedButton2");
    window.findChild<QAction*>("IPAdresse1")->trigger();
    EXPECT_EQ(label("Label32"), "192.168.010.10");
    EXPECT_EQ(label("Label34"), "8080");
    EXPECT_EQ(window.image().headerArea[0x57], 80);
    window.showInterfaceSummary();
    EXPECT_EQ(label("Label32"), "192.168.10.10");
}
