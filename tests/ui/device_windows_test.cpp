#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "../e2e/QorsimProcess.h"
#include "UiHelpers.h"
#include "serial/SerialPort.h"
#include "ui/device/DeviceInfoDialog.h"
#include "ui/device/ProgressWindow.h"
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

namespace {

// Serves events as they come until `done` (QTest::qWaitFor sleeps 10 ms between its rounds, which
// a lock-step transfer would pay once a block).
bool waitUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    QTimer wake;  // the loop looks again when nothing else comes
    wake.start(5);
    while (!done() && !clock.hasExpired(30000)) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

// The German window on the sample project, its port a qorsim's, its messages collected.
struct DeviceWindow : test::SampleFolder {
    std::unique_ptr<MainWindow> window(const test::QorsimProcess& sim) {
        auto w = std::make_unique<MainWindow>();
        EXPECT_TRUE(w->loadLanguage(VEM_DATA_DIR "/language.txt"));
        watch(w->presenter());
        w->ports().addDevicePath(sim.path());
        w->serial().setPortNumber(w->ports().numberAt(sim.path()));
        return w;
    }
    static QString statusLine(MainWindow& w) { return w.findChild<QLabel*>("statusLine")->text(); }
};

// Programming reads the device back in the progress window and says it verified; the project's
// history and "*" stay.
TEST_F(DeviceWindow, ProgrammingEndsVerified) {
    test::QorsimProcess sim;
    auto w = window(sim);
    test::typeText(w->findChild<QWidget*>("KeyboardSink"), "X");
    w->findChild<QAction*>("programItem")->trigger();
    EXPECT_TRUE(waitUntil([&] { return w->progressWindow().windowTitle().startsWith("Lese Block"); }));
    ASSERT_TRUE(waitUntil([&] { return !w->serial().isOpen() && !w->serial().isClosing(); }));
    EXPECT_FALSE(w->progressWindow().isVisible());
    EXPECT_EQ(statusLine(*w), QString::fromUtf8("Programmiert und geprüft"));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(w->session().document().undoSteps(), 1u);
    EXPECT_TRUE(w->windowTitle().startsWith("default.qor*")) << w->windowTitle().toStdString();
}

// Each other operation confirms in the status line; the next one's start takes it away.
TEST_F(DeviceWindow, EachOperationConfirmsInTheStatusLineUntilTheNext) {
    for (const auto& [name, size] : {std::pair{"font.zsz", 3584}, std::pair{"new.ldr", 100}}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(size, '\x11'));
    }
    test::QorsimProcess sim;
    auto w = window(sim);
    w->presenter().setAnswerer([](const MessagePresenter::Shown&) { return MessagePresenter::Answer::Take; });
    const struct {
        const char* item;
        const char* file;  // chosen in the item's file dialog
        const char* said;
    } cases[] = {
        {"readBackItem", nullptr, "Aus QV eingelesen"},  // of a device without the mark: taken when asked
        {"setClockItem", nullptr, "Datum/Uhrzeit gesetzt"},
        {"uploadFontItem", "font.zsz", "Zeichensatz geladen"},
        {"uploadFirmwareItem", "new.ldr", "Firmware geladen"},
        {"sendFusesItem", nullptr, "AVR-Fuses gesendet"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        if (c.file) test::chooseInNextFileDialog(folder.filePath(c.file));
        w->findChild<QAction*>(c.item)->trigger();
        EXPECT_EQ(statusLine(*w), "");
        EXPECT_TRUE(waitUntil([&] { return !w->session().device().exchangeRunning() && !statusLine(*w).isEmpty(); }));
        EXPECT_EQ(statusLine(*w), QString::fromUtf8(c.said));
    }
    EXPECT_TRUE(shown.empty());
}

}  // namespace
