#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "ui/device/DeviceInfoDialog.h"
#include "ui/main/MainWindow.h"

using namespace vem;

TEST(DeviceInfoDialog, OnlyItsSystemMenuKeyShowsTheHiddenServiceMenu) {
    MainWindow window;
    auto* menu = window.findChild<QMenu*>("systemMenu");
    ASSERT_NE(menu, nullptr);
    DeviceInfoDialog& info = window.deviceInfoDialog();
    for (Qt::Key other : {Qt::Key_A, Qt::Key_Q, Qt::Key_Escape}) QTest::keyClick(&info, other);
    EXPECT_FALSE(menu->menuAction()->isVisible());
    QTest::keyClick(info.findChild<QWidget*>("acceptButton"), DeviceInfoDialog::systemMenuKey, Qt::ShiftModifier);
    EXPECT_TRUE(menu->menuAction()->isVisible());
    QStringList items;
    for (QAction* a : menu->actions()) items << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(items, (QStringList{"&Zeichensatz laden", "-", "&Videosignal", "-", "&Firmware", "&Set AVR-Fuses"}));
}
