#include <gtest/gtest.h>

#include <QAction>
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QSettings>
#include <QTest>
#include <QUrl>

#include "UiHelpers.h"
#include "ui/main/MainWindow.h"

using namespace vem;

namespace {

// The sample project in the working folder and a window on it, shown and active so that its
// shortcuts work; no recent projects from an earlier test.
struct EditorWindowTest : test::SampleFolder {
    std::unique_ptr<MainWindow> window;

    void SetUp() override {
        QSettings(QStringLiteral("VEM"), QStringLiteral("VEM")).remove("Projects");
        open();
    }
    void open(const QString& projectFile = {}) {
        window = std::make_unique<MainWindow>(nullptr, projectFile);
        watch(window->presenter());
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }
    QWidget* sink() const { return window->findChild<QWidget*>("KeyboardSink"); }
    void typeAt(int cell, const QString& text) {
        window->applyOutcome(window->session().document().mousePress(cell, MouseButton::Left));
        test::typeText(sink(), text);
    }
    QAction* item(const char* name) const { return window->findChild<QAction*>(name); }
    QString fileText(const QString& name) const {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }
};

TEST_F(EditorWindowTest, UndoAndRedoKeysWalkTheHistoryAndTheStarFollows) {
    typeAt(600, "Ab");
    EXPECT_EQ(window->windowTitle(), "default.qor* - VEM Setup V1.13");
    EXPECT_TRUE(item("undoItem")->isEnabled());
    EXPECT_FALSE(item("redoItem")->isEnabled());

    QTest::keyClick(sink(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->project().screenText[600], "V") << "the typing run is one step";
    EXPECT_EQ(window->windowTitle(), "default.qor - VEM Setup V1.13");
    EXPECT_FALSE(item("undoItem")->isEnabled());

    const struct {
        const char* what;
        QKeyCombination redo;
    } redoKeys[] = {{"Ctrl+Y", Qt::CTRL | Qt::Key_Y}, {"Ctrl+Shift+Z", Qt::CTRL | Qt::SHIFT | Qt::Key_Z}};
    for (const auto& k : redoKeys) {
        SCOPED_TRACE(k.what);
        QTest::keyClick(sink(), k.redo.key(), k.redo.keyboardModifiers());
        EXPECT_EQ(window->project().screenText[601], "b");
        EXPECT_TRUE(window->windowTitle().startsWith("default.qor*"));
        item("undoItem")->trigger();
    }
    EXPECT_TRUE(shown.empty());
}

TEST_F(EditorWindowTest, SaveWritesTheProjectsFileAndSaveAsStartsWithItsName) {
    typeAt(601, "Q");
    QTest::keyClick(sink(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(window->session().document().modified());
    EXPECT_EQ(window->windowTitle(), "default.qor - VEM Setup V1.13");
    EXPECT_TRUE(fileText("default.qor").contains("V,Q,e")) << "written without a file dialog";

    QString offered;
    test::onNextModal([&](QWidget* w) {
        offered = w->findChild<QLineEdit*>("fileNameEdit")->text();
        static_cast<QDialog*>(w)->reject();
    });
    item("saveProjectAsItem")->trigger();
    EXPECT_EQ(offered, "default.qor");
    EXPECT_TRUE(shown.empty());
}

// A project named on the command line opens with its folder as the working folder, and goes
// to the top of the recent projects.
TEST_F(EditorWindowTest, ProjectGivenAtStartOpensInItsFolderAndIsRemembered) {
    QDir(folder.path()).mkpath("site");
    for (const char* name : {"default.qor", "default.bin"})
        QFile::copy(folder.filePath(name), folder.filePath(QString("site/") + (name[8] == 'q' ? "shop.qor" : name)));
    const QString shop = folder.filePath("site/shop.qor");
    open(shop);
    EXPECT_EQ(window->project().projectName, "shop.qor");
    EXPECT_EQ(QDir::currentPath(), folder.filePath("site"));
    EXPECT_TRUE(window->image().imageTemplateLoaded) << "the template beside the project";
    EXPECT_EQ(item("recentProjectItem1")->text(), "&1 " + shop);
    EXPECT_FALSE(item("recentProjectItem2")->isVisible());
    // Through a link, the images are looked for beside the file it leads to, where a save puts them.
    QDir(folder.path()).mkpath("links");
    ASSERT_TRUE(QFile::link(shop, folder.filePath("links/shop.qor")));
    open(folder.filePath("links/shop.qor"));
    EXPECT_TRUE(window->image().imageTemplateLoaded) << "the template beside the linked project";
    EXPECT_TRUE(shown.empty());
}

// The language file is taken before the project at start opens, so the project's messages speak it.
TEST_F(EditorWindowTest, ProjectAtStartSpeaksTheLanguageFileTakenBeforeIt) {
    ASSERT_TRUE(QFile::resize(folder.filePath("default.bin"), 100));
    shown.clear();
    window = std::make_unique<MainWindow>(nullptr, folder.filePath("default.qor"), [&](MainWindow& w) {
        watch(w.presenter());
        EXPECT_TRUE(w.loadLanguage(VEM_DATA_DIR "/language-en.txt"));
    });
    ASSERT_FALSE(shown.empty());
    EXPECT_TRUE(shown.front().text.startsWith("The project's image file is not 16512 bytes long"))
        << shown.front().text.toStdString();
}

TEST_F(EditorWindowTest, RecentProjectThatHasGoneIsSaidAndRemoved) {
    const QString copy = folder.filePath("copy.qor");
    test::chooseInNextFileDialog(copy);
    item("saveProjectAsItem")->trigger();
    ASSERT_EQ(item("recentProjectItem1")->data().toString(), copy);
    QFile::remove(copy);
    item("recentProjectItem1")->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].slot, Msg::RecentProjectGone);
    EXPECT_TRUE(shown[0].text.contains(copy));
    EXPECT_FALSE(item("recentProjectItem1")->isVisible());
    EXPECT_EQ(window->project().projectName, "copy.qor") << "the open project stays";
}

TEST_F(EditorWindowTest, DroppedProjectOpensAfterTheQuestion) {
    QFile::copy(folder.filePath("default.qor"), folder.filePath("other.qor"));
    typeAt(600, "x");
    std::vector<int> asked;
    window->presenter().setAnswerer([&](const MessagePresenter::Shown& m) {
        asked.push_back(m.slot);
        return MessagePresenter::Answer::Discard;
    });
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(folder.filePath("other.qor"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &drop);
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->project().projectName == "other.qor"; }));
    EXPECT_EQ(asked, std::vector<int>{Msg::UnsavedChanges});

    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(folder.filePath("default.bin"))});
    QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    refused.setAccepted(false);
    QApplication::sendEvent(window.get(), &refused);
    EXPECT_FALSE(refused.isAccepted()) << "only a project file is taken";
}

}  // namespace
