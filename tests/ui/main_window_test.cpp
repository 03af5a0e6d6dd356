#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "UiHelpers.h"
#include "host/Encoding.h"
#include "ui/fields/FieldDialog.h"
#include "ui/main/ScreenGrid.h"
#include "host/Encoding.h"
#include "ui/main/MainWindow.h"

using namespace vem;

namespace {

// A main window without a project, shown on the screen.
struct MainWindowTest {
    MainWindow window;
    MainWindowTest() {
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QPoint centreOf(int cell) const {
        return ScreenGrid::cellOrigin(cell) + QPoint(Editor::PanelWidth / 2, Editor::PanelHeight / 2);
    }
    QWidget* sink() const { return window.findChild<QWidget*>("KeyboardSink"); }
    void press(int cell, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(window.grid(), b, {}, centreOf(cell)); }
    // Defines data field n as a template would and places it on first..first+length-1.
    void placeField(int n, int first, int length) {
        Project p = window.project();
        DeviceImage image = window.image();
        FieldDefinition& f = p.dataSets[0].fields[n - 1];
        f.variableType = 0;
        f.length = length;
        f.enabled = 1;
        f.placed = 1;
        f.position = first + 1;
        f.column = first % 40 + 1;
        f.row = first / 40 + 1;
        for (int k = first; k < first + length; ++k) p.dataSets[0].cellTags[k] = n;
        image.fieldRecord(0, n - 1).length() = static_cast<std::uint8_t>(length + 5);
        test::showTaken(window, p, image);
    }
    std::vector<int> cellsOf(int tag) { return test::cellsOf(window.editor(), tag); }
};

}  // namespace

TEST(MainWindow, StartsWithTheDesignedLayoutMenusAndDisabledControls) {
    MainWindowTest t;
    MainWindow& window = t.window;
    EXPECT_EQ(window.windowTitle(), "Unbenannt - VEM Setup V1.13");  // no project file: nothing to name
    EXPECT_EQ(window.centralWidget()->size(), QSize(897, 589));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    for (int n = 1; n <= 16; ++n) {
        auto* conf = window.findChild<QToolButton*>(QString("fieldButton%1").arg(n));
        ASSERT_NE(conf, nullptr);
        EXPECT_FALSE(conf->isEnabled());
    }
    for (int n = 1; n <= 16; ++n) EXPECT_NE(window.findChild<QCheckBox*>(QString("fieldBox%1").arg(n)), nullptr);
    for (const char* clock : {"dateBox", "timeBox"}) EXPECT_NE(window.findChild<QCheckBox*>(clock), nullptr);
    EXPECT_TRUE(window.findChild<QCheckBox*>("summerTimeBox")->isChecked());
    auto* set1 = window.findChild<QToolButton*>("dataSetButton1");
    EXPECT_TRUE(set1->isChecked());
    EXPECT_TRUE(set1->isEnabled());
    for (int k = 2; k <= 4; ++k) EXPECT_FALSE(window.findChild<QToolButton*>(QString("dataSetButton%1").arg(k))->isEnabled());
    auto* bin = window.findChild<QAction*>("imageFileItem");
    EXPECT_FALSE(bin->isVisible());
    EXPECT_FALSE(bin->isEnabled());
    QStringList titles;
    for (QAction* a : window.menuBar()->actions())
        if (a->isVisible()) titles << a->text();
    EXPECT_EQ(titles, (QStringList{QString::fromUtf8("&Datei"), "&Bearbeiten", "&PC Comport", "&QOR Interface", "P&OS         ", "Q&V   ", "Vo&rschau"}));
}

TEST(MainWindow, TypedKeysFillCellsAndMoveTheCursorAndOtherCharactersAreRefused) {
    MainWindowTest t;
    const MainWindow& window = t.window;
    QWidget* sink = t.sink();
    t.press(41);
    test::typeText(sink, QString::fromUtf8("Kä&"));
    const Project& p = window.project();
    EXPECT_EQ(p.screenText[41], "K");
    EXPECT_EQ(p.screenText[42], "\xE4");
    EXPECT_EQ(p.screenText[43], "&&");
    QTest::keyClick(sink, Qt::Key_Up);
    EXPECT_EQ(window.editor().cursor().cell, 4);
    QTest::keyClick(sink, Qt::Key_Return);
    test::typeText(sink, QString::fromUtf8("é"));  // outside the allowed set
    EXPECT_TRUE(p.screenText[4].empty());
    EXPECT_EQ(window.editor().cursor().cell, 4);
    QTest::keyClick(sink, Qt::Key_Backspace);
    EXPECT_EQ(window.editor().cursor().cell, 3);
}

TEST(MainWindow, DraggedFieldMovesWithItsTagsToTheCellsUnderThePointer) {
    MainWindowTest t;
    MainWindow& window = t.window;
    t.placeField(1, 10, 5);
    const QPoint start = t.centreOf(11);
    QTest::mousePress(window.grid(), Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(3 * 16, 30)), QPointF(window.grid()->mapToGlobal(start + QPoint(3 * 16, 30))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.grid(), &move);
    QTest::mouseRelease(window.grid(), Qt::LeftButton, {}, start + QPoint(3 * 16, 30));
    EXPECT_EQ(t.cellsOf(1), (std::vector<int>{53, 54, 55, 56, 57}));
    EXPECT_EQ(window.project().field(1).row, 2);
    EXPECT_EQ(window.project().dataSets[0].cellTags[53], 1);
}
