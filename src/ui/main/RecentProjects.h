#pragma once
#include <QStringList>

namespace vem {

// The projects opened or saved last, newest first, remembered for the next start.
class RecentProjects {
public:
    static constexpr int Count = 4;

    static QStringList list();
    // `path` (absolute) goes to the top.
    static void add(const QString& path);
    static void remove(const QString& path);
};

}  // namespace vem
