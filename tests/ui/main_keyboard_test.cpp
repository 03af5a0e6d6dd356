#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "UiHelpers.h"
#include "ui/main/ScreenGrid.h"
#include "ui/main/MainWindow.h"

using namespace vem;

namespace {

// A main window, shown and active, over a template whose data sets 0 and 1 define field 1
// ("Daten", 4 cells) and field 2 (type 13, which the type list does not show).
struct ActiveTemplateWindowTest {
    std::unique_ptr<MainWindow> window = std::make_unique<MainWindow>();

    ActiveTemplateWindowTest() {
        Project p = window->project();
        DeviceImage image = window->image();
        image.imageTemplateLoaded = true;
        for (int d = 0; d < 2; ++d) {
            p.dataSets[d].dataSetAvailable = 1;
            p.dataSets[d].fields[0].variableType = 0;
            p.dataSets[d].fields[0].length = 4;
            p.dataSets[d].fields[1].variableType = 13;
            image.fieldRecord(d, 0).length() = 10;
        }
        p.sharedField(DateField).length = 8;
        window->applyOutcome(window->session().document().takeProject(p, image));
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    void pressCell(int cell) {
        const QPoint at = ScreenGrid::cellOrigin(cell) + QPoint(Editor::PanelWidth / 2, Editor::PanelHeight / 2);
        QTest::mouseClick(window->grid(), Qt::LeftButton, {}, at);
    }
    // A key as the keyboard delivers it: to whatever widget has the focus.
    void key(Qt::Key k, const QString& text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QKeyEvent press(QEvent::KeyPress, k, modifiers, text);
        QApplication::sendEvent(target, &press);
    }
    template <typename T>
    T* child(const char* name) { return test::child<T>(window.get(), name); }
};

}  // namespace

TEST(MainWindow, KeysGoToTheGridAfterAClickOnAnyControl) {
    ActiveTemplateWindowTest t;
    const char* controls[] = {"fieldBox1", "dateBox", "summerTimeBox", "dataSetButton2", "fieldButton1"};
    for (const char* name : controls) {
        SCOPED_TRACE(name);
        t.pressCell(200);
        auto* button = t.child<QAbstractButton>(name);
        ASSERT_NE(button, nullptr);
        if (QString(name).startsWith("fieldButton"))
            test::onNextModal([](QWidget* dialog) { dialog->findChild<QPushButton*>("cancelButton")->click(); });
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
        t.window->activateWindow();  // a window manager gives it back after the field dialog
        ASSERT_TRUE(QTest::qWaitForWindowActive(t.window.get()));
        // The keyboard belongs to the grid's sink, never to the control clicked.
        ASSERT_TRUE(QTest::qWaitFor([] {
            const QWidget* focus = QApplication::focusWidget();
            return focus && focus->objectName() == "KeyboardSink";
        }, 2000));
        const bool checked = button->isChecked();
        const int cursor = t.window->editor().cursor().cell;
        t.key(Qt::Key_Right);
        EXPECT_EQ(t.window->editor().cursor().cell, cursor + 1);
        t.key(Qt::Key_Space, " ");
        EXPECT_EQ(t.window->project().screenText[cursor + 1], " ");
        EXPECT_EQ(button->isChecked(), checked);  // Space did not reach the control
        t.window->applyOutcome(t.window->session().document().switchDataSet(0));
    }
}

TEST(MainWindow, NonCharacterKeysNeverEnterACell) {
    ActiveTemplateWindowTest t;
    t.pressCell(120);
    const std::pair<Qt::Key, QString> keys[] = {{Qt::Key_Delete, QString(QChar(0x7F))}, {Qt::Key_Tab, "\t"},
                                                 {Qt::Key_Escape, "\x1b"}, {Qt::Key_Return, "\r"}, {Qt::Key_F1, ""}};
    for (const auto& [k, text] : keys) {
        t.key(k, text);
        EXPECT_EQ(t.window->project().screenText[120], "") << k;
        EXPECT_EQ(t.window->editor().cursor().cell, 120) << k;
    }
    // A letter held with Alt, Ctrl or Meta is a command that has no item, never a character.
    for (Qt::KeyboardModifier held : {Qt::AltModifier, Qt::ControlModifier, Qt::MetaModifier}) {
        t.key(Qt::Key_X, "x", held);
        EXPECT_EQ(t.window->project().screenText[120], "") << held;
    }
}

TEST(FieldDialog, LengthIsEditableOnlyForTypesTheListShows) {
    ActiveTemplateWindowTest t;
    bool firstEnabled = false;
    bool secondEnabled = true;
    test::onNextModal([&](QWidget* dialog) {
        firstEnabled = dialog->findChild<QLineEdit*>("lengthEdit")->isEnabled();
        dialog->findChild<QPushButton*>("cancelButton")->click();
    });
    QTest::mouseClick(t.child<QToolButton>("fieldButton1"), Qt::LeftButton);
    test::onNextModal([&](QWidget* dialog) {
        secondEnabled = dialog->findChild<QLineEdit*>("lengthEdit")->isEnabled();
        dialog->findChild<QPushButton*>("cancelButton")->click();
    });
    QTest::mouseClick(t.child<QToolButton>("fieldButton2"), Qt::LeftButton);
    EXPECT_TRUE(firstEnabled);
    EXPECT_FALSE(secondEnabled);  // type 13 has no list entry; its length is not editable
}
