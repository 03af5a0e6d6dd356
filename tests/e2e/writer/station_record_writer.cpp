// Appends COUNT attempts of station STATION to a record, as one station would: the tests run two
// at once against one database. Exit 1 with the error when one is not written.
#include <QCoreApplication>
#include <cstdio>

#include "host/StationRecord.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) return 2;
    QString error;
    auto record = vem::StationRecord::open(args[1], &error);
    for (int i = 0; record && i < args[3].toInt(); ++i) {
        vem::StationAttempt attempt;
        attempt.started = QString("2026-12-08T09:%1:00.000Z").arg(i % 60, 2, 10, QChar('0')).toStdString();
        attempt.station = args[2].toStdString();
        attempt.device = "device-" + std::to_string(i);
        attempt.result = vem::StationResult::Verified;
        if (!record->append(attempt, &error)) record.reset();
    }
    if (!record) std::fprintf(stderr, "%s\n", error.toUtf8().constData());
    return record ? 0 : 1;
}
