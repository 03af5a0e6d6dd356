#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QMessageBox>

#include "UiHelpers.h"
#include "ui/main/MainWindow.h"

using namespace vem;
using Answer = MessagePresenter::Answer;

namespace {

struct MainWindowOpenSave : test::SampleFolder {
    static QAction* item(MainWindow& window, const char* name) {
        auto* found = window.findChild<QAction*>(name);
        if (!found) ADD_FAILURE() << "no menu item " << name;
        return found;
    }
    void open(MainWindow& window, const QString& name) {
        test::chooseInNextFileDialog(folder.filePath(name));
        item(window, "openProjectItem")->trigger();
    }
    void saveAs(MainWindow& window, const QString& name) {
        test::chooseInNextFileDialog(folder.filePath(name));
        item(window, "saveProjectAsItem")->trigger();
    }
    // The questions asked are collected in `asked` and answered with `answer`.
    void answerWith(MainWindow& window, const Answer& answer) {
        window.presenter().setAnswerer([this, &answer](const MessagePresenter::Shown& m) {
            asked.push_back(m);
            return answer;
        });
    }
    static QString caption(MainWindow& window) { return window.findChild<QGroupBox*>("interfaceBox")->title(); }
    // The sample with a hold time the device cannot hold.
    void writeOddProject() {
        QFile sample(folder.filePath("default.qor"));
        ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = sample.readAll().split('\n');
        lines[122] = "300";
        QFile odd(folder.filePath("odd.qor"));
        ASSERT_TRUE(odd.open(QIODevice::WriteOnly));
        odd.write(lines.join('\n'));
    }
    std::vector<MessagePresenter::Shown> asked;
};

TEST_F(MainWindowOpenSave, OpenRefusesAFileThatIsNoProjectWithItsName) {
    ASSERT_TRUE(QFile::copy(VEM_DATA_DIR "/language.txt", folder.filePath("language.txt")));
    MainWindow window;
    watch(window.presenter());
    open(window, "language.txt");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].slot, Msg::NotAProject);
    EXPECT_TRUE(shown[0].text.contains(folder.filePath("language.txt"))) << shown[0].text.toStdString();
    EXPECT_TRUE(shown[0].text.contains("lines, 162 expected"));
    EXPECT_EQ(window.project().projectName, "default.qor");
    EXPECT_TRUE(window.image().imageTemplateLoaded);
}

TEST_F(MainWindowOpenSave, OpenAsksBeforeAProjectWithProblemsAndOpensItOnlyOnYes) {
    writeOddProject();
    MainWindow window;
    watch(window.presenter());
    Answer answer = Answer::Cancel;
    answerWith(window, answer);
    open(window, "odd.qor");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].slot, Msg::OpenDespiteProblems);
    EXPECT_TRUE(asked[0].text.contains("data hold time is 300")) << asked[0].text.toStdString();
    EXPECT_EQ(window.project().device.DataHoldSeconds, 3);
    EXPECT_TRUE(caption(window).contains("default.qor"));

    answer = Answer::Yes;
    open(window, "odd.qor");
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(window.project().device.DataHoldSeconds, 300);
    EXPECT_TRUE(caption(window).contains("odd.qor"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(MainWindowOpenSave, StartedWithoutTemplateSaysWhyAndProgrammingNamesIt) {
    ASSERT_TRUE(QFile::remove(folder.filePath("default.bin")));
    QString said;
    test::onNextModal([&](QWidget* w) {
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            said = box->text();
            box->accept();
        }
    });
    MainWindow window;
    EXPECT_TRUE(said.contains(folder.filePath("default.bin") + ": does not exist")) << said.toStdString();
    EXPECT_FALSE(window.image().imageTemplateLoaded);
    const MainControls& controls = window.session().editor().controls();
    EXPECT_EQ(controls.fieldButtonEnabled, (std::array<bool, DataFieldCount>{}));
    EXPECT_EQ(controls.fieldBoxEnabled[0], false);

    watch(window.presenter());
    item(window, "programItem")->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].slot, Msg::TemplateNotLoaded);
    EXPECT_TRUE(shown[0].text.contains(folder.filePath("default.bin"))) << shown[0].text.toStdString();
    EXPECT_FALSE(window.session().exchangeRunning());
}

TEST_F(MainWindowOpenSave, SaveAsAddsTheExtensionAsksBeforeReplacingAndTakesTheName) {
    MainWindow window;
    watch(window.presenter());
    Answer answer = Answer::Cancel;
    answerWith(window, answer);
    saveAs(window, "copy");
    ASSERT_TRUE(QFile::exists(folder.filePath("copy.qor")));
    EXPECT_FALSE(QFile::exists(folder.filePath("copy")));
    EXPECT_TRUE(asked.empty());
    EXPECT_TRUE(caption(window).contains("copy.qor ---")) << caption(window).toStdString();
    EXPECT_EQ(window.project().projectName, "copy.qor");

    window.applyOutcome(window.session().mousePress(600, MouseButton::Left));
    window.applyOutcome(window.session().keyPress('Z'));
    const QByteArray before = [&] {
        QFile f(folder.filePath("copy.qor"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    for (Answer given : {Answer::Cancel, Answer::Yes}) {
        answer = given;
        saveAs(window, "copy");
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked.back().slot, Msg::ReplaceFile);
        EXPECT_TRUE(asked.back().text.contains(folder.filePath("copy.qor")));
        QFile f(folder.filePath("copy.qor"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll() == before, given == Answer::Cancel);
        EXPECT_EQ(caption(window).contains("copy.qor*"), given == Answer::Cancel);
    }
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_TRUE(shown.empty());
}

TEST_F(MainWindowOpenSave, SaveAsAsksBeforeAReadOnlyFileAndNamesFileAndReasonOfAFailure) {
    MainWindow window;
    watch(window.presenter());
    Answer readOnlyAnswer = Answer::Cancel;
    window.presenter().setAnswerer([&](const MessagePresenter::Shown& m) {
        asked.push_back(m);
        return m.slot == Msg::ReplaceReadOnly ? readOnlyAnswer : Answer::Yes;
    });
    window.applyOutcome(window.session().applyReadBack(window.image()));
    saveAs(window, "dev1.qor");
    EXPECT_TRUE(QFile::exists(folder.filePath("dev1-readout.bin")));
    ASSERT_TRUE(QFile::setPermissions(folder.filePath("dev1.qor"), QFile::ReadOwner));
    for (Answer given : {Answer::Cancel, Answer::Yes}) {
        readOnlyAnswer = given;
        asked.clear();
        saveAs(window, "dev1.qor");
        ASSERT_EQ(asked.size(), 2u);  // replace? then: replace although read-only?
        EXPECT_EQ(asked[1].slot, Msg::ReplaceReadOnly);
        EXPECT_TRUE(asked[1].text.contains(folder.filePath("dev1.qor")));
        EXPECT_EQ(QFile::exists(folder.filePath("dev1-readout-2.bin")), given == Answer::Yes);
    }
    EXPECT_TRUE(shown.empty());

    // No folder there: nothing is written anywhere, and the message says where and why.
    const QStringList before = QDir(folder.path()).entryList(QDir::Files);
    saveAs(window, "missing/x.qor");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].slot, Msg::ProjectSaveFailed);
    EXPECT_TRUE(shown[0].text.contains(folder.filePath("missing/x.qor")));
    EXPECT_TRUE(shown[0].text.contains(QString::fromStdString(window.session().messages().text(Msg::SaveReasonNoFolder))))
        << shown[0].text.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), before);
}

}  // namespace
