#pragma once
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTest>

namespace vem::test {

// qorsim in its own process, behind a pseudo-terminal.
class QorsimProcess {
public:
    explicit QorsimProcess(const QStringList& arguments = {}) {
        process_.start(QORSIM_PATH, arguments);
        if (!process_.waitForStarted(5000)) return;
        if (!QTest::qWaitFor([&] { return process_.canReadLine(); }, 5000)) return;
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~QorsimProcess() { stop(); }

    const QString& path() const { return path_; }
    void kill() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    // Ends it as a user would (it saves its memory first).
    void stop() {
        if (process_.state() == QProcess::NotRunning) return;
        process_.terminate();
        if (!process_.waitForFinished(5000)) kill();
    }

private:
    QProcess process_;
    QString path_;
};

}  // namespace vem::test
