#pragma once
#include <QString>
#include <QStringList>

namespace vem {

// Where the language file is looked for, in order: language.txt of the working folder, the
// installed one (share/vem beside the program's bin folder), then `fallbackFolder` (the source's
// data folder of a build tree; empty for none).
QStringList languageFileCandidates(const QString& workingFolder, const QString& applicationDir,
                                   const QString& fallbackFolder);
// The candidates of the running program: its working folder, its installed share/vem, and the
// source's data folder of the build tree it was built in.
QStringList languageFileCandidates();

}  // namespace vem
