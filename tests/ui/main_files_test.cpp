#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include "UiHelpers.h"
#include "files/ProjectFile.h"
#include "ui/main/MainWindow.h"

using namespace vem;

namespace {

struct MainFiles : test::SampleFolder {
    void watch(MainWindow& window) { SampleFolder::watch(window.presenter()); }
    static void chooseInNextDialog(const QString& path) { test::chooseInNextFileDialog(path); }
};

}  // namespace

TEST_F(MainFiles, StartsWithSampleProjectFromWorkingFolder) {
    MainWindow window;
    const Project& p = window.project();
    EXPECT_TRUE(window.image().imageTemplateLoaded);
    EXPECT_EQ(p.projectName, "default.qor");
    EXPECT_TRUE(window.findChild<QGroupBox*>("interfaceBox")->title().contains("default.qor"));
    int textCells = 0;
    for (const auto& t : p.screenText) textCells += (!t.empty() && t != " ");
    EXPECT_GT(textCells, 0);
    EXPECT_EQ(p.field(DateField).enabled, 1);
    EXPECT_TRUE(window.findChild<QCheckBox*>("dateBox")->isChecked());
}

TEST_F(MainFiles, StartsEmptyWithoutDefaultProject) {
    QFile::remove(folder.filePath("default.qor"));
    MainWindow window;
    EXPECT_FALSE(window.image().imageTemplateLoaded);
    EXPECT_EQ(window.project().projectName, "default.bin");
}

TEST_F(MainFiles, SaveThroughMenuAndOpenAgain) {
    MainWindow window;
    watch(window);
    Project p = window.project();
    p.device.DataHoldSeconds = 42;
    const DeviceImage image = window.image();
    test::showTaken(window, p, image);
    window.applyOutcome(window.session().mousePress(600, MouseButton::Left));
    window.applyOutcome(window.session().keyPress('Z'));

    QDir().mkpath(folder.filePath("sub"));
    const QString saved = folder.filePath("sub/copy.qor");
    chooseInNextDialog(saved);
    window.findChild<QAction*>("saveProjectAsItem")->trigger();
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(QDir::currentPath(), QFileInfo(saved).absolutePath());  // the dialog moved it
    EXPECT_TRUE(shown.empty());

    QFile::copy(folder.filePath("default.bin"), folder.filePath("sub/default.bin"));
    MainWindow other;
    chooseInNextDialog(saved);
    other.findChild<QAction*>("openProjectItem")->trigger();
    EXPECT_EQ(other.project().screenText[600], "Z");
    EXPECT_EQ(other.project().device.DataHoldSeconds, 42);
    EXPECT_EQ(other.project().projectName, "copy.qor");
}

TEST_F(MainFiles, UnreadableChosenProjectIsReported) {
    MainWindow window;
    watch(window);
    const std::string before = window.project().screenText[0];
    chooseInNextDialog(folder.filePath("missing.qor"));
    window.findChild<QAction*>("openProjectItem")->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].slot, Msg::ProjectOpenFailed);
    EXPECT_FALSE(shown[0].text.isEmpty());
    EXPECT_EQ(window.project().projectName, "default.qor");
}

TEST_F(MainFiles, SaveToUnwritablePlaceIsReported) {
    MainWindow window;
    watch(window);
    chooseInNextDialog(folder.filePath("no/such/folder/x.qor"));
    window.findChild<QAction*>("saveProjectAsItem")->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].slot, Msg::ProjectSaveFailed);
}

TEST_F(MainFiles, ClosingWithChangesAsksFirst) {
    using Answer = MessagePresenter::Answer;
    const struct {
        const char* what;
        bool change;
        Answer answer;
        bool asked, closed, saved;
    } cases[] = {
        {"cancel", true, Answer::Cancel, true, false, false},
        {"save", true, Answer::Save, true, true, true},
        {"discard", true, Answer::Discard, true, true, false},
        {"no changes", false, Answer::Cancel, false, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        MainWindow window;
        watch(window);
        std::vector<int> asked;
        window.presenter().setAnswerer([&](const MessagePresenter::Shown& m) {
            asked.push_back(m.slot);
            EXPECT_FALSE(m.text.isEmpty());
            return c.answer;
        });
        window.show();
        auto* caption = window.findChild<QGroupBox*>("interfaceBox");
        if (c.change) {
            window.applyOutcome(window.session().mousePress(600, MouseButton::Left));
            window.applyOutcome(window.session().keyPress('Z'));
        }
        EXPECT_EQ(caption->title().contains("default.qor*"), c.change);
        const QString saved = folder.filePath(QString("saved-%1.qor").arg(c.what));
        if (c.answer == Answer::Save) chooseInNextDialog(saved);

        window.findChild<QAction*>("exitItem")->trigger();
        EXPECT_EQ(asked, c.asked ? std::vector<int>{Msg::UnsavedChanges} : std::vector<int>{});
        EXPECT_EQ(window.isVisible(), !c.closed);
        EXPECT_EQ(QFile::exists(saved), c.saved);
        EXPECT_EQ(window.project().screenText[600] == "Z", c.change);
        EXPECT_EQ(window.session().modified(), c.change && !c.saved);
        EXPECT_EQ(caption->title().contains('*'), c.change && !c.saved);
        EXPECT_TRUE(shown.empty());
    }
}

TEST_F(MainFiles, OpenAndReadBackAskBeforeDiscardingChanges) {
    for (const char* action : {"openProjectItem", "readBackItem"}) {
        SCOPED_TRACE(action);
        MainWindow window;
        watch(window);
        int asked = 0;
        window.presenter().setAnswerer([&](const MessagePresenter::Shown&) {
            ++asked;
            return MessagePresenter::Answer::Cancel;
        });
        window.applyOutcome(window.session().mousePress(600, MouseButton::Left));
        window.applyOutcome(window.session().keyPress('Z'));
        window.findChild<QAction*>(action)->trigger();
        EXPECT_EQ(asked, 1);
        EXPECT_FALSE(window.session().exchangeRunning());
        EXPECT_EQ(window.project().screenText[600], "Z");
        EXPECT_TRUE(shown.empty());
    }
}
