#include "host/DeviceFolderWatch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace vem {
namespace {

// The entry's identity: where it leads, and on Unix its inode and change time, which a link
// made anew under the same name does not keep.
QString identity(const QFileInfo& entry) {
    QString id = entry.symLinkTarget();
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::lstat(QFile::encodeName(entry.absoluteFilePath()).constData(), &st) == 0)
#ifdef Q_OS_LINUX
        id += QString(" %1 %2.%3").arg(st.st_ino).arg(st.st_ctim.tv_sec).arg(st.st_ctim.tv_nsec);
#else
        id += QString(" %1 %2").arg(st.st_ino).arg(st.st_ctime);
#endif
#endif
    return id;
}

}  // namespace

DeviceFolderWatch::DeviceFolderWatch(const QString& folder, const QString& match, int pollMs, QObject* parent)
    : QObject(parent),
      folder_(folder),
      match_(match.isEmpty() ? QString() : QRegularExpression::wildcardToRegularExpression(match)) {
    poll_.setInterval(pollMs);
    connect(&poll_, &QTimer::timeout, this, &DeviceFolderWatch::scan);
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &DeviceFolderWatch::scan);
}

void DeviceFolderWatch::start() { scan(); }

void DeviceFolderWatch::scan() {
    const QDir dir(folder_);
    const bool present = dir.exists();
    std::map<QString, QString> now;
    if (present) {
        const auto entries = dir.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        for (const QFileInfo& entry : entries) {
            if (entry.isDir() && !entry.isSymLink()) continue;
            if (!match_.pattern().isEmpty() && !match_.match(entry.fileName()).hasMatch()) continue;
            now[entry.fileName()] = identity(entry);
        }
    }
    for (auto it = entries_.begin(); it != entries_.end();) {
        const auto found = now.find(it->first);
        if (found != now.end() && found->second == it->second) {
            ++it;
            continue;
        }
        const QString name = it->first;
        it = entries_.erase(it);
        emit vanished(name);
    }
    if (present != present_) {
        present_ = present;
        emit folderPresence(present);
    }
    for (const auto& [name, id] : now) {
        if (entries_.contains(name)) continue;
        entries_[name] = id;
        emit appeared(name, dir.filePath(name));
    }
    // The watcher loses a folder that goes; until it watches it again, the poll looks.
    if (present && !watcher_.directories().contains(folder_)) watcher_.addPath(folder_);
    const bool watched = watcher_.directories().contains(folder_);
    if (watched && poll_.isActive()) poll_.stop();
    if (!watched && !poll_.isActive()) poll_.start();
}

}  // namespace vem
