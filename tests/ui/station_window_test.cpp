#include <gtest/gtest.h>

#include <QAction>
#include <QProcess>
#include <QTest>

#include "UiHelpers.h"
#include "ui/main/MainWindow.h"
#include "ui/station/StationTile.h"
#include "ui/station/StationWindow.h"

namespace vem::test {

// A simulated device plugged in after the station started gets a tile that ends with its result,
// and the station's record beside the project has its row.
TEST_F(SampleFolder, StationWindowShowsATileWithTheResultOfAPluggedDevice) {
    MainWindow window;
    ASSERT_TRUE(window.loadLanguage(VEM_DATA_DIR "/language-en.txt"));
    ASSERT_TRUE(QDir(folder.path()).mkdir("devices"));
    window.findChild<QAction*>("stationItem")->trigger();
    auto* station = window.findChild<StationWindow*>();
    ASSERT_TRUE(station && station->isVisible());
    station->setFolder(folder.filePath("devices"));
    ASSERT_TRUE(station->start()) << station->problem().toStdString();

    QProcess device;
    device.start(QORSIM_PATH, {"--link", folder.filePath("devices/usb-QOR_1-if00"), "--appear-after", "200"});
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return station->tile("usb-QOR_1-if00") && station->tile("usb-QOR_1-if00")->tone() == StationTile::Tone::Good; },
        60000));
    EXPECT_EQ(station->tile("usb-QOR_1-if00")->stateText(), "programmed and verified");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !station->lastRecords().isEmpty(); }));
    EXPECT_TRUE(station->lastRecords().value(0).endsWith("usb-QOR_1-if00  programmed and verified"));
    station->close();
    device.terminate();
    device.waitForFinished();
}

}  // namespace vem::test
