#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "QorsimProcess.h"
#include "../ui/UiHelpers.h"
#include "ui/device/DeviceInfoDialog.h"
#include "ui/device/VideoSignalDialog.h"
#include "ui/device/ProgressWindow.h"
#include "ui/main/MainWindow.h"
#include "serial/SerialPort.h"

using namespace vem;

namespace {

// The sample project, and windows whose port is qorsim's.
struct DeviceEndToEnd : test::SampleFolder {
    std::unique_ptr<MainWindow> window(const test::QorsimProcess& sim) {
        auto w = std::make_unique<MainWindow>();
        watch(w->presenter());
        w->ports().addDevicePath(sim.path());
        const int port = w->ports().numberAt(sim.path());
        w->serial().setPortNumber(port);
        EXPECT_EQ(w->serial().portNumber(), port);
        EXPECT_NE(port, 0);
        return w;
    }
    // No exchange runs, and the port has let the device go.
    static bool settled(MainWindow& w) {
        return !w.session().device().exchangeRunning() && !w.serial().isOpen() && !w.serial().isClosing();
    }
    // Runs a device menu item and waits until the exchange and its port close are over.
    static bool run(MainWindow& w, const char* action) {
        auto* item = w.findChild<QAction*>(action);
        if (!item) return false;
        item->trigger();
        return QTest::qWaitFor([&] { return settled(w); }, 30000);
    }
};

}  // namespace

TEST_F(DeviceEndToEnd, ProgramThenReadBackIntoAFreshProgramGivesTheSameProject) {
    test::QorsimProcess sim({"--memory", folder.filePath("device")});
    ASSERT_FALSE(sim.path().isEmpty());
    auto first = window(sim);
    ASSERT_TRUE(first->image().imageTemplateLoaded);
    first->findChild<QAction*>("programItem")->trigger();
    EXPECT_FALSE(first->findChild<QAction*>("readBackItem")->isEnabled());     // one exchange at a time
    EXPECT_FALSE(first->findChild<QAction*>("openProjectItem")->isEnabled());  // nor another project meanwhile
    EXPECT_FALSE(first->findChild<QAction*>("imageFileItem")->isEnabled());    // nor another template
    EXPECT_TRUE(first->progressWindow().isVisible());
    ASSERT_TRUE(QTest::qWaitFor([&] { return settled(*first); }, 30000));
    EXPECT_TRUE(first->findChild<QAction*>("readBackItem")->isEnabled());
    EXPECT_TRUE(first->findChild<QAction*>("openProjectItem")->isEnabled());
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(first->progressWindow().isVisible());

    QDir::setCurrent(folder.filePath("."));
    QFile::remove(folder.filePath("default.qor"));  // the second program starts empty
    auto second = window(sim);
    ASSERT_FALSE(second->image().imageTemplateLoaded);
    ASSERT_TRUE(run(*second, "readBackItem"));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(second->image().mainArea, first->image().mainArea);
    EXPECT_EQ(second->image().headerArea, first->image().headerArea);
    EXPECT_EQ(second->image().screenArea, first->image().screenArea);
    EXPECT_EQ(second->project().screenText, first->project().screenText);
    EXPECT_EQ(second->project().projectName, "default.qor");
}

// A device that never held a project of this program sends an image without the mark: the
// window asks before it takes it.
TEST_F(DeviceEndToEnd, AnUnmarkedReadBackIsTakenOnlyWhenTheUserSaysSo) {
    for (const auto answer : {MessagePresenter::Answer::Discard, MessagePresenter::Answer::Take}) {
        test::QorsimProcess sim;
        auto w = window(sim);
        std::vector<int> asked;
        w->presenter().setAnswerer([&](const MessagePresenter::Shown& m) {
            asked.push_back(m.slot);
            return answer;
        });
        const auto screen = w->project().screenText;
        ASSERT_TRUE(run(*w, "readBackItem"));
        EXPECT_EQ(asked, std::vector<int>{Msg::ReadBackUnmarked});
        const bool taken = answer == MessagePresenter::Answer::Take;
        EXPECT_EQ(w->project().screenText != screen, taken);
        EXPECT_EQ(w->session().document().modified(), false);
        EXPECT_EQ(w->project().writeReadoutOnSave, taken);
    }
    EXPECT_TRUE(shown.empty());
}

// A device that holds no project of this program (qorsim starts with zeros): the information
// window says so in place of name and date, and its key still leads to the service menu.
TEST_F(DeviceEndToEnd, InfoOfADeviceWithoutTheMarkSaysItHoldsNoProjectAndLeadsToTheServiceMenu) {
    test::QorsimProcess sim;
    auto w = window(sim);
    QString name, date;
    test::onNextModal([&](QWidget* info) {
        name = info->findChild<QLabel*>("fileNameValue")->text();
        date = info->findChild<QLabel*>("programmedValue")->text();
        QTest::keyClick(info, DeviceInfoDialog::systemMenuKey, Qt::ShiftModifier);
        QTest::keyClick(info, Qt::Key_Escape);
    });
    ASSERT_TRUE(run(*w, "deviceInfoItem"));
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(name.toStdString(), w->session().messages().text(Msg::DeviceInfoNoProject));
    EXPECT_EQ(date, QString());
    EXPECT_TRUE(w->findChild<QMenu*>("systemMenu")->menuAction()->isVisible());
}

TEST_F(DeviceEndToEnd, DevicePulledAwayMidTransferIsSaidOnce) {
    test::QorsimProcess sim({"--baud", "115200"});
    auto w = window(sim);
    w->findChild<QAction*>("programItem")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->progressWindow().position() > 20; }, 20000));
    sim.kill();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !shown.empty(); }, 10000));
    QTest::qWait(2500);  // past the reply time-out: nothing more may follow
    ASSERT_EQ(shown.size(), 1u);  // one box says both
    EXPECT_EQ(shown[0].allSlots, (std::vector<int>{Msg::DeviceGone, Msg::ProgramIncomplete}));  // blocks had gone out
    EXPECT_FALSE(w->serial().isOpen());
    EXPECT_FALSE(w->session().device().exchangeRunning());
    EXPECT_FALSE(w->progressWindow().isVisible());
}

TEST_F(DeviceEndToEnd, BusyPortIsSaidAtOnceWithItsName) {
    test::QorsimProcess sim;
    auto holder = window(sim);
    ASSERT_TRUE(holder->serial().open());  // another program has the port
    auto w = window(sim);
    w->findChild<QAction*>("deviceInfoItem")->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].slot, Msg::PortCannotOpen);
    EXPECT_TRUE(shown[0].text.contains(sim.path())) << shown[0].text.toStdString();
    EXPECT_FALSE(w->session().device().exchangeRunning());
}

TEST_F(DeviceEndToEnd, ServiceUploadsReachTheDevice) {
    const QString memory = folder.filePath("device");
    test::QorsimProcess sim({"--memory", memory});
    auto w = window(sim);
    QByteArray font(3584, '\0'), firmware(100, '\xA5');
    for (int i = 0; i < font.size(); ++i) font[i] = static_cast<char>(i * 7);
    for (const auto& [name, bytes] : {std::pair{"font.zsz", font}, std::pair{"new.ldr", firmware}}) {
        QFile f(folder.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    test::chooseInNextFileDialog(folder.filePath("font.zsz"));
    ASSERT_TRUE(run(*w, "uploadFontItem"));
    test::chooseInNextFileDialog(folder.filePath("new.ldr"));
    ASSERT_TRUE(run(*w, "uploadFirmwareItem"));
    w->findChild<QAction*>("sendFusesItem")->trigger();
    test::onNextModal([](QWidget* video) {
        video->findChild<QPushButton*>("sendButton")->click();  // "------>"
        QTimer::singleShot(300, video, [video] { video->findChild<QPushButton*>("cancelButton")->click(); });
    });
    w->findChild<QAction*>("videoSignalItem")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !w->session().device().exchangeRunning(); }, 5000));
    QTest::qWait(200);
    QByteArray video(64, '\0');
    const VideoBlock block = videoSettingsBlock(w->findChild<VideoSignalDialog*>()->values());
    std::copy(block.begin(), block.end(), video.begin());
    EXPECT_TRUE(shown.empty());
    sim.stop();  // it saves its memory
    auto read = [&](const char* name) {
        QFile f(memory + "/" + name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    EXPECT_EQ(read("font.bin"), font);
    firmware.append(QByteArray(32768 - firmware.size(), '\0'));
    EXPECT_EQ(read("firmware.bin"), firmware);
    EXPECT_EQ(read("fuses.txt").trimmed(), "1");
    EXPECT_EQ(read("video.bin"), video);
}
