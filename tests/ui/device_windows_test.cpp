#include <gtest/gtest.h>

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
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
    while (!done()) {
        if (clock.hasExpired(30000)) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
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
    static void typeKey(MainWindow& w) { test::typeText(w.findChild<QWidget*>("KeyboardSink"), "X"); }
};

// Programming reads the device back with the progress window and compares: the status line says
// so, or a message gives the first difference; the project, its history and its "*" stay.
TEST_F(DeviceWindow, ProgrammingEndsVerifiedOrWithTheFirstDifference) {
    const struct {
        QStringList qorsim;
        QString status;
        QString difference;  // the message's detail; empty: none
    } cases[] = {{{}, QString::fromUtf8("Programmiert und geprüft"), {}},
                 {{"--corrupt-byte", "16416"}, {}, "Bereich header, Offset 32 (0x0020): erwartet 0x00, gelesen 0xFF"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.qorsim.join(' ').toStdString());
        shown.clear();
        test::QorsimProcess sim(c.qorsim);
        auto w = window(sim);
        typeKey(*w);
        const std::size_t steps = w->session().undoSteps();
        w->findChild<QAction*>("programItem")->trigger();
        EXPECT_TRUE(waitUntil([&] { return w->progressWindow().windowTitle().startsWith("Lese Block"); }));
        EXPECT_EQ(statusLine(*w), "");
        ASSERT_TRUE(waitUntil([&] { return !w->serial().isOpen() && !w->serial().isClosing(); }));
        EXPECT_FALSE(w->progressWindow().isVisible());
        EXPECT_EQ(statusLine(*w), c.status);
        if (c.difference.isEmpty()) {
            EXPECT_TRUE(shown.empty());
        } else {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].slot, Msg::VerifyFailed);
            EXPECT_TRUE(shown[0].text.endsWith(c.difference)) << shown[0].text.toStdString();
        }
        EXPECT_EQ(w->session().undoSteps(), steps);
        EXPECT_TRUE(w->session().modified());
        EXPECT_TRUE(w->windowTitle().startsWith("default.qor*")) << w->windowTitle().toStdString();
    }
}

// Each other operation confirms in the status line, which stays until the next one starts.
TEST_F(DeviceWindow, EachOperationConfirmsInTheStatusLineUntilTheNext) {
    QFile font(folder.filePath("font.zsz")), firmware(folder.filePath("new.ldr"));
    ASSERT_TRUE(font.open(QIODevice::WriteOnly) && firmware.open(QIODevice::WriteOnly));
    font.write(QByteArray(3584, '\x11'));
    firmware.write(QByteArray(100, '\xA5'));
    font.close();
    firmware.close();
    test::QorsimProcess sim;
    auto w = window(sim);
    w->presenter().setAnswerer([](const MessagePresenter::Shown&) { return MessagePresenter::Answer::Take; });
    const struct {
        const char* item;
        std::function<void()> answerDialog;  // of the item, which runs the operation
        const char* status;
        bool endsInItsDialog = false;
    } cases[] = {
        {"readBackItem", {}, "Aus QV eingelesen"},  // of a device without the mark: taken when asked
        {"setClockItem", {}, "Datum/Uhrzeit gesetzt"},
        {"uploadFontItem", [&] { test::chooseInNextFileDialog(folder.filePath("font.zsz")); }, "Zeichensatz geladen"},
        {"uploadFirmwareItem", [&] { test::chooseInNextFileDialog(folder.filePath("new.ldr")); }, "Firmware geladen"},
        {"sendFusesItem", {}, "AVR-Fuses gesendet"},
        {"videoSignalItem",
         [] {
             test::onNextModal([](QWidget* video) {
                 video->findChild<QPushButton*>("sendButton")->click();
                 QTimer::singleShot(300, video, [video] { video->findChild<QPushButton*>("cancelButton")->click(); });
             });
         },
         "Videosignal gesendet", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        if (c.answerDialog) c.answerDialog();
        w->findChild<QAction*>(c.item)->trigger();
        if (!c.endsInItsDialog) {
            EXPECT_EQ(statusLine(*w), "");  // the last operation's line went
        }
        EXPECT_TRUE(waitUntil([&] { return statusLine(*w) == QString::fromUtf8(c.status); }))
            << statusLine(*w).toStdString();
        EXPECT_TRUE(waitUntil([&] { return !w->session().exchangeRunning(); }));
    }
    EXPECT_TRUE(shown.empty());
    typeKey(*w);  // editing leaves it
    EXPECT_EQ(statusLine(*w), QString::fromUtf8("Videosignal gesendet"));
}

}  // namespace
