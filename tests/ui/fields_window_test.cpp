#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "UiHelpers.h"
#include "ui/fields/FieldDialog.h"
#include "ui/main/MainWindow.h"

using namespace vem;

namespace {

// A main window, shown, over a template that defines fields 1 and 2 ("Daten", up to 10 cells)
// in data sets 0 and 1.
struct TemplateWindowTest {
    MainWindow window;
    TemplateWindowTest() {
        Project p = window.project();
        DeviceImage image = window.image();
        image.imageTemplateLoaded = true;
        for (int d = 0; d < 2; ++d) {
            for (int i = 0; i < 2; ++i) {
                p.dataSets[d].fields[i].variableType = 0;
                p.dataSets[d].fields[i].length = 4;
                image.fieldRecord(d, i).length() = 10;
            }
            p.dataSets[d].dataSetAvailable = 1;
        }
        test::showTaken(window, p, image);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    template <typename T>
    T* child(const QString& name) { return test::child<T>(&window, name); }
    // Clicks a check box on its indicator, as an operator does when the caption is empty.
    void clickBox(const QString& name) { test::click(&window, name); }
    std::vector<int> cellsOf(int tag) { return test::cellsOf(window.editor(), tag); }
};

}  // namespace

TEST(FieldDialog, AcceptPlacesTheFieldWithItsLengthHeldToTheTemplate) {
    TemplateWindowTest t;
    MainWindow& window = t.window;
    bool sawClamp = false;
    test::onNextModal([&](QWidget* dialog) {
        auto* length = dialog->findChild<QLineEdit*>("lengthEdit");
        EXPECT_TRUE(length->isEnabled());
        EXPECT_EQ(length->text(), "4");
        length->selectAll();
        QTest::keyClicks(length, "25");
        sawClamp = length->text() == "10";
        length->setText("6");
        auto* description = dialog->findChild<QLineEdit*>("descriptionEdit");
        test::typeText(description, QString::fromUtf8("Größe"));
        QTest::mouseClick(dialog->findChild<QPushButton*>("acceptButton"), Qt::LeftButton);
    });
    QTest::mouseClick(t.child<QToolButton>("fieldButton2"), Qt::LeftButton);
    EXPECT_TRUE(sawClamp);
    const FieldDefinition& f = window.project().field(2);
    EXPECT_EQ(f.length, 6);
    EXPECT_EQ(f.description, "Gr\xF6\xDF" "e");
    EXPECT_EQ(f.enabled, 1);
    EXPECT_EQ(t.cellsOf(2), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    EXPECT_TRUE(t.child<QCheckBox>("fieldBox2")->isChecked());
    EXPECT_EQ(t.child<QCheckBox>("fieldBox2")->text(), QString::fromUtf8("Größe"));
    EXPECT_EQ(window.project().dataSets[0].cellTags[5], 2);
}

TEST(FieldDialog, CancelLeavesTheFieldOffAndItsLengthUnchanged) {
    TemplateWindowTest t;
    MainWindow& window = t.window;
    test::onNextModal([](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("lengthEdit")->setText("7");
        QTest::mouseClick(dialog->findChild<QPushButton*>("cancelButton"), Qt::LeftButton);
    });
    QTest::mouseClick(t.child<QToolButton>("fieldButton1"), Qt::LeftButton);
    EXPECT_EQ(window.project().field(1).length, 4);
    EXPECT_EQ(window.project().field(1).enabled, 0);
    EXPECT_FALSE(t.child<QCheckBox>("fieldBox1")->isChecked());
}

TEST(FieldDialog, CloseBoxSwitchesTheFieldOnWithoutStoringEdits) {
    TemplateWindowTest t;
    MainWindow& window = t.window;
    test::onNextModal([](QWidget* dialog) {
        dialog->findChild<QLineEdit*>("lengthEdit")->setText("9");
        dialog->close();
    });
    QTest::mouseClick(t.child<QToolButton>("fieldButton1"), Qt::LeftButton);
    EXPECT_EQ(window.project().field(1).length, 4);
    EXPECT_EQ(window.project().field(1).enabled, 1);
    EXPECT_EQ(t.cellsOf(1), (std::vector<int>{0, 1, 2, 3}));
}

TEST(FieldDialog, EscapeCancelsLikeTheCancelButton) {
    TemplateWindowTest t;
    MainWindow& window = t.window;
    test::onNextModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
    QTest::mouseClick(t.child<QToolButton>("fieldButton1"), Qt::LeftButton);
    EXPECT_EQ(window.project().field(1).enabled, 0);
}

TEST(MainWindow, FieldBoxesPlaceFieldsOneAfterAnotherAndFreeThem) {
    TemplateWindowTest t;
    MainWindow& window = t.window;
    t.clickBox("fieldBox1");
    t.clickBox("fieldBox2");
    EXPECT_EQ(t.cellsOf(1), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(t.cellsOf(2), (std::vector<int>{4, 5, 6, 7}));
    EXPECT_EQ(window.editor().cells()[4].colour, CellColour::AutoPlaced);
    t.clickBox("fieldBox1");
    EXPECT_TRUE(t.cellsOf(1).empty());
    EXPECT_EQ(window.project().field(1).enabled, 0);
    EXPECT_FALSE(t.child<QCheckBox>("fieldBox3")->isEnabled());
}

TEST(MainWindow, DataSetButtonsSwitchTheFieldsButKeepTheDateOnItsCells) {
    TemplateWindowTest t;
    MainWindow& window = t.window;
    Project p = window.project();
    p.sharedField(DateField).length = 8;
    const DeviceImage image = window.image();
    test::showTaken(window, p, image);
    const Project& shown = window.project();
    t.clickBox("dateBox");
    t.clickBox("fieldBox1");
    auto* set2 = t.child<QToolButton>("dataSetButton2");
    ASSERT_TRUE(set2->isEnabled());
    QTest::mouseClick(set2, Qt::LeftButton);
    EXPECT_EQ(shown.activeDataSet, 1);
    EXPECT_TRUE(set2->isChecked());
    EXPECT_FALSE(t.child<QToolButton>("dataSetButton1")->isChecked());
    EXPECT_EQ(t.cellsOf(DateField), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_TRUE(t.cellsOf(1).empty());
    EXPECT_FALSE(t.child<QCheckBox>("fieldBox1")->isChecked());
    QTest::mouseClick(t.child<QToolButton>("dataSetButton1"), Qt::LeftButton);
    EXPECT_EQ(t.cellsOf(1), (std::vector<int>{8, 9, 10, 11}));
    EXPECT_FALSE(t.child<QToolButton>("dataSetButton3")->isEnabled());
}

TEST(MainWindow, ClearedSummerTimeBoxMakesTheClockManual) {
    TemplateWindowTest t;
    MainWindow& window = t.window;
    t.clickBox("summerTimeBox");
    EXPECT_EQ(window.project().summerTimeManual, 1);
}
