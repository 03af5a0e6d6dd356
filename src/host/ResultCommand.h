#pragma once
#include <QObject>
#include <QProcessEnvironment>
#include <QString>

namespace vem {

// Runs the command a station was given for each finished device (a light, a buzzer, a label
// printer) through the shell, with the device's result in its environment, for at most a given
// time; one that does not end by then is killed. Several may run at once.
class ResultCommand : public QObject {
    Q_OBJECT
public:
    ResultCommand(const QString& command, int timeoutMs, QObject* parent = nullptr);

    // Starts the command with `variables` added to the environment; `device` names it in failed.
    void run(const QString& device, const QProcessEnvironment& variables);
    // No command is running.
    bool idle() const { return running_ == 0; }

signals:
    // The command for `device` could not start, ended with a code other than 0, was killed, or ran
    // out of time; `exitCode` is -1 unless it exited.
    void failed(const QString& device, int exitCode, bool timedOut);
    void allEnded();

private:
    QString command_;
    int timeoutMs_;
    int running_ = 0;
};

}  // namespace vem
