#pragma once
#include <QFileSystemWatcher>
#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <QTimer>
#include <map>

namespace vem {

// Watches a folder of device links or nodes (/dev/serial/by-id): says when a name appears, and
// when it goes. The folder's changes arrive through the file system watcher; while it cannot
// watch the folder (none there, no inotify), a poll looks. A name whose entry was replaced by
// another (a link made anew) goes and appears again. Hidden names (a link being made) are no devices.
class DeviceFolderWatch : public QObject {
    Q_OBJECT
public:
    // `match`: a wildcard the names must fit (empty: every name).
    DeviceFolderWatch(const QString& folder, const QString& match, int pollMs, QObject* parent = nullptr);

    // Looks for the first time; every name there now appears.
    void start();
    bool folderPresent() const { return present_; }

signals:
    void appeared(const QString& name, const QString& path);
    void vanished(const QString& name);
    // The folder went away (every name in it went first), or is there again.
    void folderPresence(bool present);

private:
    void scan();

    QString folder_;
    QRegularExpression match_;
    QFileSystemWatcher watcher_;
    QTimer poll_;
    bool present_ = true;
    std::map<QString, QString> entries_;  // name -> what tells this entry from a new one of that name
};

}  // namespace vem
