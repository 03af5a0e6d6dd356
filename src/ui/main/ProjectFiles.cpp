#include "ui/main/ProjectFiles.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "files/FileIo.h"
#include "host/Encoding.h"
#include "session/Session.h"
#include "ui/common/LanguageApply.h"
#include "ui/common/MessagePresenter.h"

namespace vem {

namespace {
// The main window's texts from this one on are the filters of its file dialogs, in FileKind order.
constexpr std::size_t FirstFilterText = 38;
}  // namespace

ProjectFiles::ProjectFiles(Session& session, MessagePresenter& presenter, QWidget* window,
                           std::function<void(const Outcome&)> apply, QAction* recentSeparator,
                           RecentItems recentItems)
    : session_(session),
      presenter_(presenter),
      window_(window),
      apply_(std::move(apply)),
      recentSeparator_(recentSeparator),
      recentItems_(recentItems),
      startFolder_(QDir::currentPath()) {}

void ProjectFiles::takeFilterTexts(const std::vector<std::string>& mainWindowTexts) {
    for (std::size_t i = 0; i < filters_.size() && FirstFilterText + i < mainWindowTexts.size(); ++i)
        filters_[i] = qtFileFilter(mainWindowTexts[FirstFilterText + i]);
}

QString ProjectFiles::chooseFile(FileKind kind, const QString& current) {
    QFileDialog dialog(window_, QString(), startFolder_, filters_[static_cast<std::size_t>(kind)]);
    if (!current.isEmpty()) {
        const QFileInfo file(current);
        dialog.setDirectory(file.absolutePath());
        dialog.selectFile(file.fileName());
    }
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(kind == FileKind::ProjectSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    const QString chosen = dialog.selectedFiles().first();
    startFolder_ = QFileInfo(chosen).absolutePath();
    return chosen;
}

QString ProjectFiles::enterFolderOf(const QString& path) {
    const QFileInfo file(path);
    QDir::setCurrent(QFile::decodeName(projectFolderOf(QFile::encodeName(file.absoluteFilePath()).toStdString()).string().c_str()));
    startFolder_ = file.absolutePath();
    return file.absoluteFilePath();
}

void ProjectFiles::open() {
    if (!mayDiscardChanges()) return;
    const QString chosen = chooseFile(FileKind::Project);
    if (chosen.isEmpty()) return;
    apply_(session_.document().openProject(QFile::encodeName(chosen).toStdString(), toCp1252(chosen)));
    rememberProject();
}

void ProjectFiles::openFile(const QString& path) {
    if (session_.device().exchangeRunning() || !mayDiscardChanges()) return;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    startFolder_ = QFileInfo(path).absolutePath();
    apply_(session_.document().openProject(QFile::encodeName(absolute).toStdString(), toCp1252(absolute)));
    rememberProject();
}

void ProjectFiles::openRecent(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        RecentProjects::remove(path);
        showRecentProjects();
        presenter_.showSlot(Msg::RecentProjectGone, window_, toCp1252(path));
        return;
    }
    openFile(path);
}

void ProjectFiles::save() {
    if (session_.document().projectFile().empty()) {
        saveToChosenFile();
        return;
    }
    apply_(session_.document().saveProjectAs(session_.document().projectFile(), toCp1252(projectPath())));
    rememberProject();
}

void ProjectFiles::saveAs() { saveToChosenFile(); }

bool ProjectFiles::saveToChosenFile() {
    // The dialog starts in the project's folder: its file's, else where its images are looked for.
    QString name = fromCp1252(session_.document().project().projectName);
    if (session_.document().untitled() || name.isEmpty())
        name = fromCp1252(session_.messages().text(Msg::Untitled)).toLower() + ".qor";
    const QString folder = QFile::decodeName(QByteArray::fromStdString(session_.document().folder().string()));
    const QString current = session_.document().projectFile().empty() ? QDir(folder).absoluteFilePath(name) : projectPath();
    const QString path = chooseFile(FileKind::ProjectSave, current);
    if (path.isEmpty()) return false;
    // Its questions (replace the file? a read-only one?) are answered where every question is.
    apply_(session_.document().saveProjectAsTyped(QFile::encodeName(path).toStdString(), toCp1252(path)));
    rememberProject();
    return !session_.document().modified();
}

bool ProjectFiles::mayDiscardChanges() {
    if (!session_.document().modified()) return true;
    switch (presenter_.ask(Msg::UnsavedChanges, window_)) {
    case MessagePresenter::Answer::Save:
        save();
        return !session_.document().modified();
    case MessagePresenter::Answer::Discard: return true;
    case MessagePresenter::Answer::Cancel:
    case MessagePresenter::Answer::Take:
    case MessagePresenter::Answer::Yes: break;  // no answers of this question
    }
    return false;
}

QString ProjectFiles::projectPath() const {
    return QFile::decodeName(QByteArray::fromStdString(session_.document().projectFile()));
}

void ProjectFiles::rememberProject() {
    if (session_.document().projectFile().empty()) return;
    RecentProjects::add(projectPath());
    showRecentProjects();
}

void ProjectFiles::showRecentProjects() {
    const QStringList paths = RecentProjects::list();
    recentSeparator_->setVisible(!paths.isEmpty());
    for (int i = 0; i < RecentProjects::Count; ++i) {
        QAction* item = recentItems_[i];
        item->setVisible(i < paths.size());
        if (i >= paths.size()) continue;
        // A "&" in a path would become an access key.
        item->setText(QString("&%1 %2").arg(i + 1).arg(QString(paths[i]).replace('&', "&&")));
        item->setData(paths[i]);
    }
}

QString ProjectFiles::droppedProject(const QMimeData* data) {
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile()) return {};
    const QString path = urls.first().toLocalFile();
    return path.endsWith(".qor", Qt::CaseInsensitive) ? path : QString();
}

}  // namespace vem
