#include "ui/main/RecentProjects.h"

#include <QSettings>

namespace vem {

namespace {
const QString RecentKey = QStringLiteral("Projects/Recent");

void store(const QStringList& paths) {
    QSettings s(QStringLiteral("VEM"), QStringLiteral("VEM"));
    s.setFallbacksEnabled(false);
    s.setValue(RecentKey, paths.mid(0, RecentProjects::Count));
}
}  // namespace

QStringList RecentProjects::list() {
    QSettings s(QStringLiteral("VEM"), QStringLiteral("VEM"));
    s.setFallbacksEnabled(false);
    return s.value(RecentKey).toStringList().mid(0, Count);
}

void RecentProjects::add(const QString& path) {
    QStringList paths = list();
    paths.removeAll(path);
    paths.prepend(path);
    store(paths);
}

void RecentProjects::remove(const QString& path) {
    QStringList paths = list();
    paths.removeAll(path);
    store(paths);
}

}  // namespace vem
