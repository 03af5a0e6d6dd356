#include "host/LanguageSearch.h"

#include <QCoreApplication>
#include <QDir>

namespace vem {

QStringList languageFileCandidates(const QString& workingFolder, const QString& applicationDir,
                                   const QString& fallbackFolder) {
    QStringList files{QDir(workingFolder).filePath("language.txt"),
                      QDir(applicationDir).filePath("../share/vem/language.txt")};
    if (!fallbackFolder.isEmpty()) files << QDir(fallbackFolder).filePath("language.txt");
    return files;
}

QStringList languageFileCandidates() {
    return languageFileCandidates(QDir::currentPath(), QCoreApplication::applicationDirPath(),
                                  QStringLiteral(VEM_BUILD_DATA_DIR));
}

}  // namespace vem
