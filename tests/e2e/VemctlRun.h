#pragma once
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "QorsimProcess.h"

namespace vem::test {

struct VemctlResult {
    int exit = -1;
    QString out;
    QString err;
};

// vemctl with English messages unless the arguments choose a language, from `folder`; `environment`
// adds to (or, empty, removes) variables.
inline VemctlResult vemctl(QStringList arguments, const QString& folder,
                           const QList<std::pair<QString, QString>>& environment = {}) {
    QProcess p;
    p.setWorkingDirectory(folder);
    QProcessEnvironment variables = QProcessEnvironment::systemEnvironment();
    variables.remove("VEM_PORT");
    for (const auto& [name, value] : environment) variables.insert(name, value);
    p.setProcessEnvironment(variables);
    if (!arguments.contains("--language")) arguments << "--language" << VEM_DATA_DIR "/language-en.txt";
    p.start(VEMCTL_PATH, arguments);
    if (!p.waitForFinished(60000)) p.kill();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A folder with the sample project and its template.
struct VemctlFolder : ::testing::Test {
    QTemporaryDir folder;
    void SetUp() override {
        for (const char* name : {"default.qor", "default.bin"})
            ASSERT_TRUE(QFile::copy(QString(VEM_DATA_DIR "/") + name, path(name)));
    }
    QString path(const QString& name) const { return folder.filePath(name); }
    VemctlResult run(const QStringList& arguments) { return vemctl(arguments, folder.path()); }
    VemctlResult onDevice(const QorsimProcess& sim, QStringList arguments) {
        return run(arguments << "--port" << sim.path());
    }
    // What a device keeps in `memory`, once qorsim has saved it.
    QByteArray memory(const QString& area, const QString& memory = "device") const {
        return readAll(path(memory + "/" + area));
    }
};

}  // namespace vem::test
