#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>

#include "UiHelpers.h"
#include "host/Encoding.h"
#include "common/LanguageApply.h"
#include "host/LanguageSearch.h"
#include "fields/TForm2.h"
#include "settings/SettingsDialogs.h"
#include "settings/TForm8.h"

namespace vem {
namespace {

TEST(Language, EnglishFileReachesCaptionsListsAndMessages) {
    TForm1 window;
    std::vector<MessagePresenter::Shown> shown;
    window.presenter().setSink([&](const MessagePresenter::Shown& m) { shown.push_back(m); });
    ASSERT_TRUE(window.loadLanguage(VEM_DATA_DIR "/language-en.txt"));

    EXPECT_EQ(window.findChild<QMenu*>("Datei")->title(), "&File");
    EXPECT_EQ(window.findChild<QGroupBox*>("GroupBox4")->title(), " Hold times ");
    auto* variableTypes = window.findChild<TForm2*>()->findChild<QComboBox*>("FlatComboBox2");
    ASSERT_EQ(variableTypes->count(), 12);
    EXPECT_EQ(variableTypes->itemText(1), "Data counter");
    EXPECT_EQ(window.session().messages().text(Msg::PortCannotOpen), "The port cannot be opened.");
    EXPECT_EQ(fromCp1252(window.session().projectCaption()).left(14), " QV interface ");

    TForm8& ip = window.settingsDialogs().ipAddressForm();
    EXPECT_EQ(ip.windowTitle(), "IP address");
    test::onNextModal([](QWidget* d) {
        d->findChild<QLineEdit*>("FlatEdit4")->setText("256");
        d->findChild<QAbstractButton*>("SpeedButton2")->click();
        d->findChild<QAbstractButton*>("SpeedButton1")->click();
    });
    window.IPAdresse1Click();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].isDialogMessage);
    EXPECT_TRUE(shown[0].text.startsWith("Invalid IP address")) << shown[0].text.toStdString();
}

TEST(Language, FileFilters) {
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

TEST(LanguageFiles, WorkingFolderFirstThenTheInstalledOne) {
    const QStringList files = vem::languageFileCandidates("/work/project", "/opt/vem/bin", "");
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files[0], "/work/project/language.txt");
    EXPECT_EQ(QDir::cleanPath(files[1]), "/opt/vem/share/vem/language.txt");
    EXPECT_EQ(vem::languageFileCandidates("/p", "/b", "/src/data").last(), "/src/data/language.txt");
}
