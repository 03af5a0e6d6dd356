#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "UiHelpers.h"
#include "host/Encoding.h"
#include "ui/common/LanguageApply.h"
#include "host/LanguageSearch.h"
#include "ui/fields/FieldDialog.h"
#include "i18n/LanguageFile.h"
#include "ui/port/PortSettingsDialog.h"
#include "ui/settings/SettingsDialogs.h"
#include "ui/settings/DataSendDialog.h"
#include "ui/settings/DeviceSerialDialog.h"
#include "ui/settings/HoldTimesDialog.h"
#include "ui/settings/IpAddressDialog.h"
#include "ui/settings/PosDialog.h"
#include "ui/settings/PosExtendedDialog.h"
#include "ui/device/DeviceInfoDialog.h"
#include "ui/device/ProgressWindow.h"
#include "ui/device/VideoSignalDialog.h"

namespace vem {
namespace {

TEST(MainWindow, EnglishLanguageFileReachesCaptionsListsAndMessages) {
    MainWindow window;
    std::vector<MessagePresenter::Shown> shown;
    window.presenter().setSink([&](const MessagePresenter::Shown& m) { shown.push_back(m); });
    ASSERT_TRUE(window.loadLanguage(VEM_DATA_DIR "/language-en.txt"));

    EXPECT_EQ(window.findChild<QMenu*>("fileMenu")->title(), "&File");
    EXPECT_EQ(window.findChild<QGroupBox*>("holdTimesBox")->title(), " Hold times ");
    auto* variableTypes = window.fieldDialog().findChild<QComboBox*>("variableTypeBox");
    ASSERT_EQ(variableTypes->count(), 12);
    EXPECT_EQ(variableTypes->itemText(1), "Data counter");
    EXPECT_EQ(window.session().messages().text(Msg::PortCannotOpen), "The port cannot be opened.");
    EXPECT_EQ(fromCp1252(window.session().document().projectCaption()).left(14), " QV interface ");

    IpAddressDialog& ip = window.settingsDialogs().ipAddressDialog();
    EXPECT_EQ(ip.windowTitle(), "IP address");
    test::onNextModal([](QWidget* d) {
        d->findChild<QLineEdit*>("octet4Edit")->setText("256");
        d->findChild<QAbstractButton*>("acceptButton")->click();
        d->findChild<QAbstractButton*>("cancelButton")->click();
    });
    window.editIpAddress();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].isDialogMessage);
    EXPECT_TRUE(shown[0].text.startsWith("Invalid IP address")) << shown[0].text.toStdString();
}

// Qt's own dialogs speak the language file's language, and follow when another file is taken;
// a file that names a language Qt has no translations for leaves them in English.
TEST(MainWindow, FileDialogAndStandardButtonsFollowTheLanguageFile) {
    if (!QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
        GTEST_SKIP() << "Qt's German translations are not installed";
    QTemporaryDir folder;
    const QString unknownLanguage = folder.filePath("language.txt");
    {
        QFile german(VEM_DATA_DIR "/language.txt"), copy(unknownLanguage);
        ASSERT_TRUE(german.open(QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly));
        copy.write(german.readAll().replace("\r\n\"de\"\r\n", "\r\n\"xx\"\r\n"));
    }
    const struct {
        QString file;
        const char* lookIn;
        const char* cancel;
    } runs[] = {
        {VEM_DATA_DIR "/language.txt", "Suchen in:", "Abbrechen"},
        {VEM_DATA_DIR "/language-en.txt", "Look in:", "Cancel"},
        {VEM_DATA_DIR "/language.txt", "Suchen in:", "Abbrechen"},
        {unknownLanguage, "Look in:", "Cancel"},
    };
    MainWindow window;
    for (const auto& run : runs) {
        SCOPED_TRACE(run.file.toStdString());
        ASSERT_TRUE(window.loadLanguage(run.file));
        QString lookIn, cancel;
        test::onNextModal([&](QWidget* dialog) {
            if (auto* label = dialog->findChild<QLabel*>("lookInLabel")) lookIn = label->text();
            if (auto* buttons = dialog->findChild<QDialogButtonBox*>())
                if (QPushButton* button = buttons->button(QDialogButtonBox::Cancel)) cancel = button->text();
            qobject_cast<QDialog*>(dialog)->reject();
        });
        window.openProject();
        EXPECT_EQ(lookIn.toStdString(), run.lookIn);
        EXPECT_EQ(cancel.toStdString(), run.cancel);
    }
}

TEST(LanguageApply, EveryNamedControlExistsInItsWindow) {
    MainWindow window;
    SettingsDialogs& settings = window.settingsDialogs();
    using S = LanguageSection;
    const std::pair<QWidget*, S> windows[] = {
        {&window, S::MainWindow},
        {&window.fieldDialog(), S::FieldDialog},
        {&settings.holdTimesDialog(), S::HoldTimes},
        {&settings.deviceSerialDialog(), S::DeviceSerial},
        {&window.progressWindow(), S::Progress},
        {&window.deviceInfoDialog(), S::DeviceInfo},
        {&settings.ipAddressDialog(), S::IpAddress},
        {&settings.posDialog(), S::Pos},
        {&window.videoSignalDialog(), S::Video},
        {&settings.dataSendDialog(), S::DataSend},
        {&settings.posExtendedDialog(), S::PosExtended},
    };
    for (const auto& [target, section] : windows) {
        SCOPED_TRACE(static_cast<int>(section));
        ASSERT_NE(target, nullptr);
        // As many texts as a complete file gives the section.
        const std::vector<std::string> texts(static_cast<std::size_t>(LanguageTargetCounts[static_cast<int>(section)]), "x");
        EXPECT_EQ(applyLanguageSection(target, section, texts).join(' ').toStdString(), "");
    }
    // A name the window lacks is reported, and the rest still applied.
    QWidget bare;
    EXPECT_EQ(applyLanguageSection(&bare, S::Progress, {"caption"}), QStringList{});
    EXPECT_EQ(bare.windowTitle(), "caption");
    EXPECT_EQ(applyLanguageSection(&bare, S::DeviceInfo, {"info", "ok"}).size(), 1);
    EXPECT_EQ(bare.windowTitle(), "info");
}

// The texts of a shipped language file, as widgets show them.
QSet<QString> textsOf(const char* file) {
    QSet<QString> texts;
    const auto language = readLanguageFile(std::string(VEM_DATA_DIR "/") + file);
    for (const auto& section : language->sections)
        for (const auto& text : section) texts << fromCp1252(text);
    return texts;
}

TEST(MainWindow, EnglishRunShowsNoGermanText) {
    QSet<QString> germanOnly = textsOf("language.txt") - textsOf("language-en.txt");
    germanOnly.remove(QString());
    MainWindow window;
    ASSERT_TRUE(window.loadLanguage(VEM_DATA_DIR "/language-en.txt"));
    PortSettingsDialog port(window.ports(), window.session().messages(), &window);
    port.fill({});
    // The settings dialogs are built when first opened: build them all.
    SettingsDialogs& dialogs = window.settingsDialogs();
    for (QWidget* dialog : std::initializer_list<QWidget*>{&dialogs.holdTimesDialog(), &dialogs.deviceSerialDialog(),
                                                          &dialogs.ipAddressDialog(), &dialogs.posDialog(),
                                                          &dialogs.dataSendDialog(), &dialogs.posExtendedDialog()})
        ASSERT_NE(dialog, nullptr);
    QStringList german;
    QList<QWidget*> widgets = window.findChildren<QWidget*>();
    widgets << &window;
    for (QWidget* w : widgets) {
        QStringList shown{w->windowTitle()};
        if (auto* label = qobject_cast<QLabel*>(w)) shown << label->text();
        if (auto* button = qobject_cast<QAbstractButton*>(w)) shown << button->text();
        if (auto* group = qobject_cast<QGroupBox*>(w)) shown << group->title();
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i) shown << combo->itemText(i);
        for (QAction* action : w->actions()) shown << action->text();
        if (auto* menu = qobject_cast<QMenu*>(w)) shown << menu->title();
        for (const QString& text : shown)
            if (germanOnly.contains(text)) german << w->objectName() + ": " + text;
    }
    EXPECT_TRUE(german.isEmpty()) << german.join('\n').toStdString();
}

const char* const LanguageFiles[] = {"language.txt", "language-en.txt"};

// Every menu of the menu bar has an access key of its own, and no two items of one menu share
// one, in either language.
TEST(MainWindow, MenusAndTheirItemsHaveAccessKeysOfTheirOwn) {
    for (const char* file : LanguageFiles) {
        SCOPED_TRACE(file);
        MainWindow window;
        ASSERT_TRUE(window.loadLanguage(QString(VEM_DATA_DIR "/") + file));
        std::vector<QList<QAction*>> menus{window.menuBar()->actions()};
        for (QMenu* menu : window.findChildren<QMenu*>()) menus.push_back(menu->actions());
        for (const QList<QAction*>& items : menus) {
            const bool menuBar = &items == &menus.front();
            QSet<int> keys;
            for (QAction* item : items) {
                if (item->isSeparator() || item->text().isEmpty()) continue;
                const QKeySequence key = QKeySequence::mnemonic(item->text());
                EXPECT_TRUE(!menuBar || !key.isEmpty()) << item->text().toStdString();
                if (key.isEmpty()) continue;
                EXPECT_FALSE(keys.contains(key[0].toCombined())) << item->text().toStdString();
                keys << key[0].toCombined();
            }
        }
    }
}

// Each button of the program's questions has an access key, none shared within a question.
TEST(MessagePresenter, QuestionButtonsHaveAccessKeysOfTheirOwn) {
    for (const char* file : LanguageFiles) {
        SCOPED_TRACE(file);
        MainWindow window;
        ASSERT_TRUE(window.loadLanguage(QString(VEM_DATA_DIR "/") + file));
        MessagePresenter& presenter = window.presenter();
        const std::function<void()> questions[] = {
            [&] { presenter.ask(Msg::UnsavedChanges); },
            [&] { presenter.ask(Question{Question::Kind::TakeReadBack, {}}); },
            [&] { presenter.ask(Question{Question::Kind::OpenAnyway, {}}); },
            [&] { presenter.ask(Question{Question::Kind::ReplaceFile, {}}); },
        };
        for (const auto& ask : questions) {
            QStringList captions;
            test::onNextModal([&](QWidget* box) {
                QSet<int> keys;
                for (auto* button : box->findChildren<QPushButton*>()) {
                    captions << button->text();
                    const QKeySequence key = QKeySequence::mnemonic(button->text());
                    EXPECT_FALSE(key.isEmpty()) << button->text().toStdString();
                    if (!key.isEmpty()) keys << key[0].toCombined();
                }
                EXPECT_EQ(keys.size(), captions.size()) << captions.join(", ").toStdString();
                QTest::keyClick(box, Qt::Key_Escape);
            });
            ask();
            EXPECT_GE(captions.size(), 2) << captions.join(", ").toStdString();
        }
    }
}

TEST(LanguageApply, FileFiltersBecomeQtFiltersWithTheirPatterns) {
    const struct { const char* file; const char* qt; } cases[] = {
        {"QOR-Datei (*.qor)|*.qor", "QOR-Datei (*.qor)"},
        {"Project|*.qor", "Project (*.qor)"},
        {"Images|*.bin;*.img|All|*.*", "Images (*.bin *.img);;All (*.*)"},
        {"", "*"},
    };
    for (const auto& c : cases) EXPECT_EQ(qtFileFilter(c.file), c.qt) << c.file;
}

}  // namespace
}  // namespace vem

TEST(LanguageFileCandidates, WorkingFolderFirstThenTheInstalledOne) {
    const QStringList files = vem::languageFileCandidates("/work/project", "/opt/vem/bin", "");
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0], "/work/project/language.txt");
    EXPECT_EQ(QDir::cleanPath(files[1]), "/opt/vem/share/vem/language.txt");
    EXPECT_EQ(vem::languageFileCandidates("/p", "/b", "/src/data").last(), "/src/data/language.txt");
}
