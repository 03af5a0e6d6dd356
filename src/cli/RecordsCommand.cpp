#include "RecordsCommand.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTimeZone>
#include <QJsonObject>
#include <QStringList>

#include "ProjectOpen.h"
#include "host/Encoding.h"
#include "host/StationRecord.h"

namespace vem::cli {
namespace {

// The JSON keys, which are also the CSV's header, in the CSV's order.
const QStringList Keys{"started",        "ended",       "station",    "port",       "device",
                       "project",        "projectSha256", "templateSha256", "imageSha256", "result",
                       "resultText",     "failedStep",  "message",    "durationMs"};

QStringList fields(const StationAttempt& row, const MessageTable& texts) {
    const auto text = [](const std::string& utf8) { return QString::fromStdString(utf8); };
    return {text(row.started),       text(row.ended),          text(row.station),     text(row.port),
            text(row.device),        text(row.projectPath),    text(row.projectSha256), text(row.templateSha256),
            text(row.imageSha256),   stationResultKey(row.result), fromCp1252(texts.text(stationResultSlot(row.result))),
            text(row.failedStep),    text(row.message),        QString::number(row.durationMs)};
}

// RFC 4180: every field in double quotes, a quote inside doubled.
QString csvLine(const QStringList& values) {
    QStringList quoted;
    for (QString value : values) quoted << '"' + value.replace('"', "\"\"") + '"';
    return quoted.join(',');
}

QJsonObject jsonRow(const QStringList& values, long long durationMs) {
    QJsonObject row;
    for (qsizetype i = 0; i + 1 < Keys.size(); ++i) row[Keys[i]] = values[i];
    row["durationMs"] = static_cast<qint64>(durationMs);
    return row;
}

// started  station  device  result  seconds  project, and for a failure its step (in words) and
// message.
QString textLine(const StationAttempt& row, const QStringList& values, const MessageTable& texts) {
    QString line = QStringList{values[0], values[2], values[4], values[10],
                               QString::number(row.durationMs / 1000.0, 'f', 2) + " s", values[5]}
                       .join("  ");
    if (!row.failedStep.empty() || !row.message.empty()) line += "  " + QStringList{fromCp1252(stationStepText(row.failedStep, texts)), values[12]}.join(": ");
    return line;
}

// --since as the record's times are written, UTC with milliseconds (a time without a zone is
// UTC); empty when it is no date.
QString sinceTime(const QString& text) {
    const QDate day = text.size() == 10 ? QDate::fromString(text, Qt::ISODate) : QDate();
    QDateTime time = day.isValid() ? QDateTime(day, QTime(0, 0), QTimeZone::utc())
                                   : QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!time.isValid()) return {};
    if (time.timeSpec() == Qt::LocalTime) time = QDateTime(time.date(), time.time(), QTimeZone::utc());
    return time.toUTC().toString("yyyy-MM-ddTHH:mm:ss.zzzZ");
}

}  // namespace

int records(const Request& request, Context& context) {
    MessageTable texts = context.messages();
    const QString since = sinceTime(request.since);
    if (!request.since.isEmpty() && since.isEmpty()) {
        texts.setValues(Msg::RecordSinceNoDate, {toCp1252(request.since)});
        context.console.error(fromCp1252(texts.text(Msg::RecordSinceNoDate)));
        return UsageError;
    }
    const QString target = request.record.isEmpty() ? StationRecord::defaultTarget(request.file) : request.record;
    if (!StationRecord::isServerAddress(target) && !QFileInfo::exists(target)) {
        context.console.error(pathMessage(texts, Msg::FileMissing, target));
        return FileProblem;
    }
    QString error;
    const auto record = StationRecord::open(target, &error, texts, StationRecord::Access::Read);
    const std::vector<StationAttempt> rows = record ? record->since(since, &error) : std::vector<StationAttempt>{};
    if (!error.isEmpty()) {
        context.console.error(error);
        return FileProblem;
    }
    if (request.csv) context.console.result(csvLine(Keys));
    std::vector<QJsonObject> objects;
    for (const StationAttempt& row : rows) {
        const QStringList values = fields(row, texts);
        objects.push_back(jsonRow(values, row.durationMs));
        context.console.result(request.csv ? csvLine(values) : textLine(row, values, texts));
    }
    if (context.console.json()) context.console.jsonLines(objects);
    if (rows.empty()) context.console.note(pathMessage(texts, Msg::RecordEmpty, record->target()));
    return Success;
}

}  // namespace vem::cli
