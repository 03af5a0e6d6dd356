#include "host/ResultCommand.h"

#include <QProcess>
#include <memory>
#include <QTimer>

namespace vem {

ResultCommand::ResultCommand(const QString& command, int timeoutMs, QObject* parent)
    : QObject(parent), command_(command), timeoutMs_(timeoutMs) {}

void ResultCommand::run(const QString& device, const QProcessEnvironment& variables) {
    auto* process = new QProcess(this);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(variables);
    process->setProcessEnvironment(environment);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    auto* limit = new QTimer(process);
    limit->setSingleShot(true);
    auto timedOut = std::make_shared<bool>(false);
    connect(limit, &QTimer::timeout, process, [process, timedOut] {
        *timedOut = true;
        process->kill();
    });
    const auto ended = [this, process, device, timedOut](bool started) {
        const bool ok = started && !*timedOut && process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
        if (!ok)
            emit failed(device, started && process->exitStatus() == QProcess::NormalExit ? process->exitCode() : -1,
                        *timedOut);
        process->deleteLater();
        if (--running_ == 0) emit allEnded();
    };
    connect(process, &QProcess::finished, this, [ended] { ended(true); });
    connect(process, &QProcess::errorOccurred, this, [ended](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) ended(false);
    });
    ++running_;
    limit->start(timeoutMs_);
#ifdef Q_OS_WIN
    process->start("cmd.exe", {"/c", command_});
#else
    process->start("/bin/sh", {"-c", command_});
#endif
}

}  // namespace vem
