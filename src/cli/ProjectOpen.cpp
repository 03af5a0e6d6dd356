#include "ProjectOpen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    const QFileInfo file(path);
    if (!file.isFile()) {
        console.error(path + ": no such file");
        return false;
    }
    if (!enterFolderOf(path, console)) return false;
    const Outcome opened = session.openProject(fileSystemName(file.fileName()), toCp1252(file.fileName()));
    for (int slot : opened.messages) console.message(session.messages(), slot, toCp1252(path));
    if (!opened.ok) return false;
    if (needTemplate && !session.image().imageTemplateLoaded) {
        console.message(session.messages(), Msg::NoImageTemplate,
                        "template " + session.project().imageFileName + " beside " + toCp1252(path));
        return false;
    }
    return true;
}

}  // namespace vem::cli
