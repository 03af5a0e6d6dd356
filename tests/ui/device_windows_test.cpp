#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "ui/device/TForm7.h"
#include "ui/main/TForm1.h"

using namespace vem;

TEST(DeviceWindows, OnlyTheSystemMenuKeyOfTheInfoWindowShowsTheServiceMenu) {
    TForm1 window;
    auto* menu = window.findChild<QMenu*>("Expert1");
    ASSERT_NE(menu, nullptr);
    TForm7& info = window.deviceInfoWindow();
    for (Qt::Key other : {Qt::Key_A, Qt::Key_Q, Qt::Key_Escape}) QTest::keyClick(&info, other);
    EXPECT_FALSE(menu->menuAction()->isVisible());
    QTest::keyClick(info.findChild<QWidget*>("Button1"), TForm7::systemMenuKey, Qt::ShiftModifier);
    EXPECT_TRUE(menu->menuAction()->isVisible());
    QStringList items;
    for (QAction* a : menu->actions()) items << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(items, (QStringList{"&Zeichensatz laden", "-", "&Videosignal", "-", "&Firmware", "&Set AVR-Fuses"}));
}
