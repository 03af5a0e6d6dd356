#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QMessageBox>

#include "UiHelpers.h"
#include "ui/main/MainWindow.h"

using namespace vem;
using Answer = MessagePresenter::Answer;

namespace {

// The main window's file menu, start-up and closing, in the sample project's folder; the messages
// shown are collected in `shown`, the questions asked in `asked`.
struct MainWindowTest : test::SampleFolder {
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
    // Questions are answered with what `answer` holds when asked.
    void answerWith(MainWindow& window, const Answer& answer) {
        window.presenter().setAnswerer([this, &answer](const MessagePresenter::Shown& m) {
            asked.push_back(m);
            return answer;
        });
    }
    // The file the save dialog that `action` opens starts with; the dialog is then closed.
    static QString proposedFile(MainWindow& window, const char* action) {
        QString proposed;
        test::onNextModal([&](QWidget* dialog) {
            const auto* files = qobject_cast<QFileDialog*>(dialog);
            proposed = files->directory().absoluteFilePath(files->selectedFiles().value(0).section('/', -1));
            dialog->close();
        });
        item(window, action)->trigger();
        return proposed;
    }
    static QString caption(MainWindow& window) { return window.findChild<QGroupBox*>("interfaceBox")->title(); }
    // Types `letter` into a cell of a row the sample leaves free.
    static void change(MainWindow& window, char letter) {
        window.applyOutcome(window.session().document().mousePress(600, MouseButton::Left));
        window.applyOutcome(window.session().document().keyPress(static_cast<unsigned char>(letter)));
    }
    QByteArray fileText(const QString& name) const {
        QFile f(folder.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The sample with a hold time the device cannot hold.
    void writeOddProject() {
        QList<QByteArray> lines = fileText("default.qor").split('\n');
        lines[122] = "300";
        QFile odd(folder.filePath("odd.qor"));
        ASSERT_TRUE(odd.open(QIODevice::WriteOnly));
        odd.write(lines.join('\n'));
    }
    std::vector<MessagePresenter::Shown> asked;
};

TEST_F(MainWindowTest, StartsWithTheWorkingFoldersSampleProjectOrWithoutATemplate) {
    {
        MainWindow window;
        const Project& p = window.project();
        EXPECT_TRUE(window.image().imageTemplateLoaded);
        EXPECT_EQ(p.projectName, "default.qor");
        EXPECT_TRUE(caption(window).contains("default.qor"));
        int textCells = 0;
        for (const auto& cell : p.screenText) textCells += (!cell.empty() && cell != " ");
        EXPECT_GT(textCells, 0);
        EXPECT_EQ(p.field(DateField).enabled, 1);
        EXPECT_TRUE(window.findChild<QCheckBox*>("dateBox")->isChecked());
    }
    ASSERT_TRUE(QFile::remove(folder.filePath("default.qor")));
    MainWindow window;
    EXPECT_FALSE(window.image().imageTemplateLoaded);
    // No file of its own: untitled, and Ctrl+S asks for a name in the project's folder.
    EXPECT_TRUE(window.windowTitle().startsWith("Unbenannt - ")) << window.windowTitle().toStdString();
    EXPECT_TRUE(caption(window).contains("Unbenannt ---"));
    EXPECT_EQ(proposedFile(window, "saveProjectItem"), folder.filePath("unbenannt.qor"));
    EXPECT_EQ(QFileInfo(folder.filePath("default.bin")).size(), static_cast<qint64>(ImageFileSize));
}

// Said in the language file's words, at start and when programming is refused.
TEST_F(MainWindowTest, StartedWithoutTemplateSaysWhyAndProgrammingNamesIt) {
    ASSERT_TRUE(QFile::remove(folder.filePath("default.bin")));
    for (const auto& [language, missing] : {std::pair{"language.txt", ": nicht vorhanden"},
                                            std::pair{"language-en.txt", ": does not exist"}}) {
        SCOPED_TRACE(language);
        QString said, title;
        test::onNextModal([&](QWidget* w) {
            if (auto* box = qobject_cast<QMessageBox*>(w)) {
                said = box->text();
                title = box->windowTitle();
                box->accept();
            }
        });
        MainWindow window(nullptr, {}, [&](MainWindow& w) { w.loadLanguage(QString(VEM_DATA_DIR "/") + language); });
        EXPECT_TRUE(said.contains(folder.filePath("default.bin") + missing)) << said.toStdString();
        EXPECT_EQ(title, "VEM Setup V1.13");
        EXPECT_FALSE(window.image().imageTemplateLoaded);
        const MainControls& controls = window.session().document().editor().controls();
        EXPECT_EQ(controls.fieldButtonEnabled, (std::array<bool, DataFieldCount>{}));
        EXPECT_EQ(controls.fieldBoxEnabled[0], false);

        shown.clear();
        watch(window.presenter());
        item(window, "programItem")->trigger();
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].slot, Msg::TemplateNotLoaded);
        EXPECT_TRUE(shown[0].text.contains(folder.filePath("default.bin") + missing)) << shown[0].text.toStdString();
        EXPECT_FALSE(window.session().device().exchangeRunning());
    }
}

// A file that cannot be opened is said with its name, and the open project stays.
TEST_F(MainWindowTest, OpenRefusesAMissingFileOrOneThatIsNoProject) {
    ASSERT_TRUE(QFile::copy(VEM_DATA_DIR "/language.txt", folder.filePath("language.txt")));
    MainWindow window;
    watch(window.presenter());
    for (const auto& [name, slot, detail] : {std::tuple{"language.txt", Msg::NotAProject, "Zeilen, erwartet 162"},
                                             std::tuple{"missing.qor", Msg::ProjectOpenFailed, ""}}) {
        SCOPED_TRACE(name);
        shown.clear();
        open(window, name);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].slot, slot);
        EXPECT_TRUE(shown[0].text.contains(folder.filePath(name))) << shown[0].text.toStdString();
        EXPECT_TRUE(shown[0].text.contains(detail)) << shown[0].text.toStdString();
        EXPECT_EQ(window.project().projectName, "default.qor");
        EXPECT_TRUE(window.image().imageTemplateLoaded);
    }
}

TEST_F(MainWindowTest, OpenAsksBeforeAProjectWithProblemsAndOpensItOnlyOnYes) {
    writeOddProject();
    MainWindow window;
    watch(window.presenter());
    Answer answer = Answer::Cancel;
    answerWith(window, answer);
    open(window, "odd.qor");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].slot, Msg::OpenDespiteProblems);
    EXPECT_TRUE(asked[0].text.contains("Haltezeit Daten ist 300")) << asked[0].text.toStdString();
    EXPECT_EQ(window.project().device.DataHoldSeconds, 3);
    EXPECT_TRUE(caption(window).contains("default.qor"));

    answer = Answer::Yes;
    open(window, "odd.qor");
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(window.project().device.DataHoldSeconds, 300);
    EXPECT_TRUE(caption(window).contains("odd.qor"));
    EXPECT_TRUE(shown.empty());

    // Opened to be mended, not programmed: "Programmieren" lists what the checks refuse.
    item(window, "programItem")->trigger();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].slot, Msg::ProgramRefusedProblems);
    EXPECT_TRUE(shown[0].text.contains("Haltezeit Daten ist 300")) << shown[0].text.toStdString();
    EXPECT_FALSE(window.session().device().exchangeRunning());
}

TEST_F(MainWindowTest, SaveAsAddsTheExtensionAsksBeforeReplacingAndTakesTheName) {
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

    change(window, 'Z');
    const QByteArray before = fileText("copy.qor");
    for (Answer given : {Answer::Cancel, Answer::Yes}) {
        answer = given;
        saveAs(window, "copy");
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked.back().slot, Msg::ReplaceFile);
        EXPECT_TRUE(asked.back().text.contains(folder.filePath("copy.qor")));
        EXPECT_EQ(fileText("copy.qor") == before, given == Answer::Cancel);
        EXPECT_EQ(caption(window).contains("copy.qor*"), given == Answer::Cancel);
    }
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_TRUE(shown.empty());
}

// Saved into another folder, which becomes the project's folder, the project opens again there.
TEST_F(MainWindowTest, ProjectSavedIntoAnotherFolderOpensAgainUnchanged) {
    MainWindow window;
    watch(window.presenter());
    Project p = window.project();
    p.device.DataHoldSeconds = 42;
    const DeviceImage image = window.image();
    test::showTaken(window, p, image);
    change(window, 'Z');

    ASSERT_TRUE(QDir(folder.path()).mkpath("sub"));
    saveAs(window, "sub/copy.qor");
    ASSERT_TRUE(QFile::exists(folder.filePath("sub/copy.qor")));
    EXPECT_EQ(QString::fromStdString(window.session().document().folder().string()), folder.filePath("sub"));
    EXPECT_TRUE(shown.empty());
    // A project without a file (read back) is saved into the project's folder, not the start's.
    window.applyOutcome(window.session().document().applyReadBack(window.image()));
    EXPECT_EQ(QFileInfo(proposedFile(window, "saveProjectAsItem")).absolutePath(), folder.filePath("sub"));

    ASSERT_TRUE(QFile::copy(folder.filePath("default.bin"), folder.filePath("sub/default.bin")));
    MainWindow other;
    open(other, "sub/copy.qor");
    EXPECT_EQ(other.project().screenText[600], "Z");
    EXPECT_EQ(other.project().device.DataHoldSeconds, 42);
    EXPECT_EQ(other.project().projectName, "copy.qor");
}

TEST_F(MainWindowTest, SaveAsAsksBeforeAReadOnlyFileAndNamesFileAndReasonOfAFailure) {
    MainWindow window;
    watch(window.presenter());
    Answer readOnlyAnswer = Answer::Cancel;
    window.presenter().setAnswerer([&](const MessagePresenter::Shown& m) {
        asked.push_back(m);
        return m.slot == Msg::ReplaceReadOnly ? readOnlyAnswer : Answer::Yes;
    });
    window.applyOutcome(window.session().document().applyReadBack(window.image()));
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

// Closing, opening and reading back ask first about unsaved changes; "Speichern" in the question
// writes the project's own file without asking for a name.
TEST_F(MainWindowTest, ClosingOpeningAndReadingBackAskBeforeDiscardingChanges) {
    const struct {
        const char* what;
        const char* action;
        bool change;
        Answer answer;
        bool asked, closed, saved;
        bool readOnly = false;  // the project's file, whose replacing is asked about again
        Answer replaceReadOnly = Answer::Cancel;
    } cases[] = {
        {"close, cancel", "exitItem", true, Answer::Cancel, true, false, false},
        {"close, save", "exitItem", true, Answer::Save, true, true, true},
        {"close, discard", "exitItem", true, Answer::Discard, true, true, false},
        {"close without changes", "exitItem", false, Answer::Cancel, false, true, false},
        {"open, cancel", "openProjectItem", true, Answer::Cancel, true, false, false},
        {"read back, cancel", "readBackItem", true, Answer::Cancel, true, false, false},
        {"close, save read-only, keep it", "exitItem", true, Answer::Save, true, false, false, true},
        {"close, save read-only, replace it", "exitItem", true, Answer::Save, true, true, true, true, Answer::Yes},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Each case its own letter: a saved case leaves its letter in the file.
        const char letter = static_cast<char>('A' + (&c - cases));
        MainWindow window;
        watch(window.presenter());
        std::vector<int> questions;
        window.presenter().setAnswerer([&](const MessagePresenter::Shown& m) {
            questions.push_back(m.slot);
            EXPECT_FALSE(m.text.isEmpty());
            return m.slot == Msg::ReplaceReadOnly ? c.replaceReadOnly : c.answer;
        });
        const QFile::Permissions permissions = QFile::permissions(folder.filePath("default.qor"));
        if (c.readOnly) QFile::setPermissions(folder.filePath("default.qor"), QFile::ReadOwner);
        window.show();
        if (c.change) change(window, letter);
        EXPECT_EQ(caption(window).contains("default.qor*"), c.change);
        const QByteArray before = fileText("default.qor");

        item(window, c.action)->trigger();
        std::vector<int> expected;
        if (c.asked) expected.push_back(Msg::UnsavedChanges);
        if (c.readOnly) expected.push_back(Msg::ReplaceReadOnly);
        EXPECT_EQ(questions, expected);
        EXPECT_EQ(window.isVisible(), !c.closed);
        EXPECT_EQ(fileText("default.qor") != before, c.saved);
        EXPECT_EQ(window.project().screenText[600] == std::string(1, letter), c.change);
        EXPECT_EQ(window.session().document().modified(), c.change && !c.saved);
        EXPECT_EQ(caption(window).contains('*'), c.change && !c.saved);
        EXPECT_FALSE(window.session().device().exchangeRunning());
        EXPECT_TRUE(shown.empty());
        QFile::setPermissions(folder.filePath("default.qor"), permissions);
    }
}

}  // namespace
