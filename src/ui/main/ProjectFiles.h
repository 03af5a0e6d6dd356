#pragma once
#include <QString>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "session/Outcome.h"
#include "ui/main/RecentProjects.h"

class QAction;
class QMimeData;
class QWidget;

namespace vem {

class MessagePresenter;
class Session;

// The project's files as the operator handles them in the window: open, save, save as, the
// recent projects, a dropped file, the question about unsaved changes, and the file dialogs.
class ProjectFiles {
public:
    // What a file dialog lists; the order of the language file's filter texts.
    enum class FileKind { Project, Image, Font, Firmware, ProjectSave };
    using RecentItems = std::array<QAction*, RecentProjects::Count>;

    // `apply` carries out an outcome of the session; `recentItems` follow the recent list, with
    // `recentSeparator` shown while it holds a project.
    ProjectFiles(Session& session, MessagePresenter& presenter, QWidget* window,
                 std::function<void(const Outcome&)> apply, QAction* recentSeparator, RecentItems recentItems);

    // The filters of the file dialogs from the main window's texts of a language file.
    void takeFilterTexts(const std::vector<std::string>& mainWindowTexts);
    // A modal file dialog in the start folder; a completed one moves the start folder to the
    // chosen file's folder. Empty when cancelled. `current` is the file it starts with.
    QString chooseFile(FileKind kind, const QString& current = {});
    // At start with a project named: its folder becomes the working folder (where the language file
    // is looked for, as when started from there) and the start folder; gives the absolute path.
    QString enterFolderOf(const QString& path);

    // "Öffnen...": asks for a project after the question about unsaved changes.
    void open();
    // Opens `path` after the question about unsaved changes; its folder becomes the start folder.
    void openFile(const QString& path);
    // A recent project; one that is gone leaves the list with a message.
    void openRecent(const QString& path);
    // "Speichern" writes the project's file, and asks for a name only when it has none.
    void save();
    // "Speichern unter...".
    void saveAs();
    // True when the project holds no unsaved changes or the user saved or discarded them.
    bool mayDiscardChanges();
    // The project the session has just opened or saved goes to the top of the recent list.
    void rememberProject();
    void showRecentProjects();
    // The one project file a drag brings; empty for anything else.
    static QString droppedProject(const QMimeData* data);

private:
    // The project's file as the file system names it; empty without one.
    QString projectPath() const;
    // Asks for a file and saves the project there; true when the project was saved.
    bool saveToChosenFile();

    Session& session_;
    MessagePresenter& presenter_;
    QWidget* window_;
    std::function<void(const Outcome&)> apply_;
    QAction* recentSeparator_;
    RecentItems recentItems_;
    QString startFolder_;
    std::array<QString, 5> filters_{"QOR-Datei (*.qor)", "BIN - File (*.bin)", "Zeichensatz (*.zsz)",
                                    "Firmware (*.ldr)", "QOR-Datei (*.qor)"};
};

}  // namespace vem
