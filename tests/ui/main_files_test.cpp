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

// The sample project's folder as the working folder, where windows' messages are collected.
struct ProjectFolderTest : test::SampleWorkingFolder {
    void watch(MainWindow& window) { SampleWorkingFolder::watch(window.presenter()); }
};

}  // namespace

TEST(MainWindow, OpensTheSampleProjectOfTheWorkingFolderAtStart) {
    ProjectFolderTest t;
    MainWindow window;
    const Project& p = window.project();
    EXPECT_TRUE(window.image().imageTemplateLoaded);
    EXPECT_EQ(p.projectName, "default.qor");
    EXPECT_TRUE(window.findChild<QGroupBox*>("interfaceBox")->title().contains("default.qor"));
    int textCells = 0;
    for (const auto& cell : p.screenText) textCells += (!cell.empty() && cell != " ");
    EXPECT_GT(textCells, 0);
    EXPECT_EQ(p.field(DateField).enabled, 1);
    EXPECT_TRUE(window.findChild<QCheckBox*>("dateBox")->isChecked());
}

TEST(MainWindow, StartsWithoutATemplateWhenTheWorkingFolderHasNoProject) {
    ProjectFolderTest t;
    QFile::remove(t.folder.filePath("default.qor"));
    MainWindow window;
    EXPECT_FALSE(window.image().imageTemplateLoaded);
    EXPECT_EQ(window.project().projectName, "default.bin");
}

TEST(MainWindow, ProjectSavedThroughTheMenuOpensAgainUnchanged) {
    ProjectFolderTest t;
    MainWindow window;
    t.watch(window);
    Project p = window.project();
    p.device.DataHoldSeconds = 42;
    const DeviceImage image = window.image();
    test::showTaken(window, p, image);
    window.applyOutcome(window.session().mousePress(600, MouseButton::Left));
    window.applyOutcome(window.session().keyPress('Z'));

    QDir().mkpath(t.folder.filePath("sub"));
    const QString saved = t.folder.filePath("sub/copy.qor");
    test::chooseInNextFileDialog(saved);
    window.findChild<QAction*>("saveProjectAsItem")->trigger();
    ASSERT_TRUE(QFile::exists(saved));
    EXPECT_EQ(QDir::currentPath(), QFileInfo(saved).absolutePath());  // the dialog moved it
    EXPECT_TRUE(t.shown.empty());

    QFile::copy(t.folder.filePath("default.bin"), t.folder.filePath("sub/default.bin"));
    MainWindow other;
    test::chooseInNextFileDialog(saved);
    other.findChild<QAction*>("openProjectItem")->trigger();
    EXPECT_EQ(other.project().screenText[600], "Z");
    EXPECT_EQ(other.project().device.DataHoldSeconds, 42);
    EXPECT_EQ(other.project().projectName, "copy.qor");
}

TEST(MainWindow, UnreadableProjectIsReportedAndTheOpenOneKept) {
    ProjectFolderTest t;
    MainWindow window;
    t.watch(window);
    const std::string before = window.project().screenText[0];
    test::chooseInNextFileDialog(t.folder.filePath("missing.qor"));
    window.findChild<QAction*>("openProjectItem")->trigger();
    ASSERT_EQ(t.shown.size(), 1u);
    EXPECT_EQ(t.shown[0].slot, Msg::ProjectOpenFailed);
    EXPECT_FALSE(t.shown[0].text.isEmpty());
    EXPECT_EQ(window.project().projectName, "default.qor");
}

TEST(MainWindow, SaveToAnUnwritablePlaceIsReported) {
    ProjectFolderTest t;
    MainWindow window;
    t.watch(window);
    test::chooseInNextFileDialog(t.folder.filePath("no/such/folder/x.qor"));
    window.findChild<QAction*>("saveProjectAsItem")->trigger();
    ASSERT_EQ(t.shown.size(), 1u);
    EXPECT_EQ(t.shown[0].slot, Msg::ProjectSaveFailed);
}

TEST(MainWindow, ClosingWithChangesAsksToSaveDiscardOrCancel) {
    ProjectFolderTest t;
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
        // Each case its own letter: a saved case leaves its letter in the file.
        const char letter = static_cast<char>(c.what[0] - 'a' + 'A');
        MainWindow window;
        t.watch(window);
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
            window.applyOutcome(window.session().keyPress(letter));
        }
        EXPECT_EQ(caption->title().contains("default.qor*"), c.change);
        // "Speichern" writes the project's own file without asking for a name.
        const auto fileText = [&] {
            QFile file(t.folder.filePath("default.qor"));
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray before = fileText();

        window.findChild<QAction*>("exitItem")->trigger();
        EXPECT_EQ(asked, c.asked ? std::vector<int>{Msg::UnsavedChanges} : std::vector<int>{});
        EXPECT_EQ(window.isVisible(), !c.closed);
        EXPECT_EQ(fileText() != before, c.saved);
        EXPECT_EQ(window.project().screenText[600] == std::string(1, letter), c.change);
        EXPECT_EQ(window.session().modified(), c.change && !c.saved);
        EXPECT_EQ(caption->title().contains('*'), c.change && !c.saved);
        EXPECT_TRUE(t.shown.empty());
    }
}

TEST(MainWindow, OpenAndReadBackAskBeforeDiscardingChanges) {
    ProjectFolderTest t;
    for (const char* action : {"openProjectItem", "readBackItem"}) {
        SCOPED_TRACE(action);
        MainWindow window;
        t.watch(window);
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
        EXPECT_TRUE(t.shown.empty());
    }
}
