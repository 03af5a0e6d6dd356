#include "ui/main/StartupTimes.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QLoggingCategory>
#include <QTimer>
#include <QWidget>

namespace vem::startup {

namespace {

Q_LOGGING_CATEGORY(timingLog, "vem.timing", QtWarningMsg)

QElapsedTimer sinceStart;
qint64 partStart = 0;

QString milliseconds(qint64 nanoseconds) { return QString::number(double(nanoseconds) / 1e6, 'f', 2); }

// Logs once the first paint of its window has reached the screen, then goes.
class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // The paint ends, and is flushed, before the next turn of the event loop.
            QTimer::singleShot(0, this, [this] {
                endPart("first paint");
                qCInfo(timingLog).noquote() << "shown" << milliseconds(sinceStart.nsecsElapsed()) << "ms";
                deleteLater();
            });
        }
        return false;
    }
};

}  // namespace

void beginTiming() {
    sinceStart.start();
    partStart = 0;
}

void endPart(const char* part) {
    if (!sinceStart.isValid() || !timingLog().isInfoEnabled()) return;
    const qint64 now = sinceStart.nsecsElapsed();
    qCInfo(timingLog).noquote() << part << milliseconds(now - partStart) << "ms";
    partStart = now;
}

void logWhenShown(QWidget* window) {
    if (!sinceStart.isValid() || !timingLog().isInfoEnabled()) return;
    window->installEventFilter(new FirstPaint(window));
}

}  // namespace vem::startup
