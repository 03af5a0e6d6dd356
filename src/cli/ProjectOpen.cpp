#include "ProjectOpen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "files/ProjectCheck.h"
#include "host/Encoding.h"

namespace vem::cli {

std::string fileSystemName(const QString& path) { return QFile::encodeName(path).toStdString(); }

bool enterFolderOf(const QString& path, Console& console) {
    const QString folder = QFileInfo(path).absolutePath();
    if (QDir::setCurrent(folder)) return true;
    console.error(folder + ": no such folder");
    return false;
}

bool openProjectIn(Session& session, Console& console, const QString& path, bool needTemplate) {
    if (!enterFolderOf(path, console)) return false;
    Outcome opened = session.openProject(fileSystemName(QFileInfo(path).fileName()), toCp1252(path));
    if (opened.askOpenAnyway) opened = session.answerOpenQuestion(true);
    for (int slot : opened.messages) {
        console.message(session.messages(), slot);
        for (const QString& line : fromCp1252(opened.detail).split('\n', Qt::SkipEmptyParts)) console.error("  " + line);
    }
    if (!opened.ok || !needTemplate || session.image().imageTemplateLoaded) return opened.ok;
    console.error(path + ": the template is looked for beside the project: copy it there, or correct the image "
                         "file the project names");
    return false;
}

std::optional<std::vector<std::string>> checkProjectIn(Console& console, const QString& path) {
    if (!enterFolderOf(path, console)) return std::nullopt;
    return checkProjectFile(fileSystemName(QFileInfo(path).fileName()));
}

bool passesCheck(Console& console, const QString& path) {
    const auto problems = checkProjectIn(console, path);
    if (!problems) return false;
    for (const std::string& problem : *problems) console.error(path + ": " + fromCp1252(problem));
    if (!problems->empty()) console.error(path + ": refused, as check refuses it; --force takes it all the same");
    return problems->empty();
}

}  // namespace vem::cli
