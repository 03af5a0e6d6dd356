#include "StationRecord.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>
#include <atomic>
#include <filesystem>

#include "host/Encoding.h"

namespace vem {
namespace {

const QString Columns =
    "started, ended, station, port, device, project_path, project_sha256, template_sha256, image_sha256, result, "
    "failed_step, message, duration_ms";

// Text columns compare byte by byte, so ISO 8601 times sort as times on either database.
const char* const SqliteTable =
    "CREATE TABLE IF NOT EXISTS station_attempts (id INTEGER PRIMARY KEY AUTOINCREMENT, started TEXT NOT NULL, "
    "ended TEXT NOT NULL, station TEXT NOT NULL, port TEXT NOT NULL, device TEXT NOT NULL, project_path TEXT NOT NULL, "
    "project_sha256 TEXT NOT NULL, template_sha256 TEXT NOT NULL, image_sha256 TEXT NOT NULL, result TEXT NOT NULL, "
    "failed_step TEXT NOT NULL, message TEXT NOT NULL, duration_ms INTEGER NOT NULL)";
const char* const PostgresTable =
    "CREATE TABLE IF NOT EXISTS station_attempts (id BIGSERIAL PRIMARY KEY, started TEXT COLLATE \"C\" NOT NULL, "
    "ended TEXT NOT NULL, station TEXT NOT NULL, port TEXT NOT NULL, device TEXT NOT NULL, project_path TEXT NOT NULL, "
    "project_sha256 TEXT NOT NULL, template_sha256 TEXT NOT NULL, image_sha256 TEXT NOT NULL, result TEXT NOT NULL, "
    "failed_step TEXT NOT NULL, message TEXT NOT NULL, duration_ms BIGINT NOT NULL)";
const char* const StartedIndex = "CREATE INDEX IF NOT EXISTS station_attempts_started ON station_attempts (started)";
// Two stations that create the table at the same moment would collide in the catalogue: the
// second waits for the first on this lock, which ends with the transaction.
const char* const PostgresCreateLock = "SELECT pg_advisory_xact_lock(5653837)";

QString nextConnectionName() {
    static std::atomic<int> counter{0};
    return QString("vem-station-record-%1").arg(++counter);
}

QString serverDisplayName(const QString& address) {
    return QUrl(address).toDisplayString(QUrl::RemovePassword);
}

QString driverText(const QSqlError& error) {
    const QString text = error.databaseText().simplified();
    return text.isEmpty() ? error.text().simplified() : text;
}

QString utf8(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

StationRecord::StationRecord(QString target, const MessageTable& texts)
    : connectionName_(nextConnectionName()), target_(std::move(target)), texts_(texts) {}

StationRecord::~StationRecord() {
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
        if (db.isValid()) db.close();
    }
    QSqlDatabase::removeDatabase(connectionName_);
}

bool StationRecord::isServerAddress(const QString& target) {
    return target.startsWith("postgresql://") || target.startsWith("postgres://");
}

QString StationRecord::defaultTarget(const QString& projectPathOrEmpty) {
    const QDir folder = projectPathOrEmpty.isEmpty() ? QDir::current() : QFileInfo(projectPathOrEmpty).absoluteDir();
    return folder.absoluteFilePath("station.sqlite");
}

std::unique_ptr<StationRecord> StationRecord::open(const QString& target, QString* error, const MessageTable& texts,
                                                   Access access) {
    const bool server = isServerAddress(target);
    std::unique_ptr<StationRecord> record(
        new StationRecord(server ? serverDisplayName(target) : QFileInfo(target).absoluteFilePath(), texts));
    QString problem = server ? record->connectServer(target) : record->openFile(target, access);
    if (problem.isEmpty() && access == Access::Write) problem = record->createTable();
    if (problem.isEmpty()) return record;
    if (error) *error = problem;
    return nullptr;
}

QString StationRecord::say(int slot, const QString& detail) const {
    MessageTable texts = texts_;
    texts.setValues(slot, {toCp1252(target_), toCp1252(detail)});
    return fromCp1252(texts.text(slot));
}

QString StationRecord::openFile(const QString& path, Access access) {
    if (path.isEmpty()) return fromCp1252(texts_.text(Msg::NoFileNamed));
    if (!QSqlDatabase::isDriverAvailable("QSQLITE")) {
        MessageTable texts = texts_;
        texts.setValues(Msg::RecordDriverMissing, {"QSQLITE", "libqt6sql6-sqlite"});
        return fromCp1252(texts.text(Msg::RecordDriverMissing));
    }
    std::error_code ignored;
    const auto status = std::filesystem::status(QFile::encodeName(target_).toStdString(), ignored);
    const auto fileMessage = [&](int slot) {
        MessageTable texts = texts_;
        texts.setValues(slot, {toCp1252(target_)});
        return fromCp1252(texts.text(slot));
    };
    if (std::filesystem::is_directory(status)) return fileMessage(Msg::FileIsFolder);
    if (std::filesystem::is_fifo(status)) return fileMessage(Msg::FileIsFifo);
    const QFileInfo file(target_);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        return fileMessage(Msg::FileNotRegular);
    const bool write = access == Access::Write;
    if (write && std::filesystem::exists(status)) {
        // No write bit is read-only for root too, as for a project file.
        const auto writeBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;
        if (!file.isWritable() || !(file.permissions() & writeBits)) return say(Msg::RecordReadOnly);
    }
    const QFileInfo folder(file.absolutePath());
    if (!folder.isDir()) return say(Msg::RecordNotWritten, fromCp1252(texts_.text(Msg::SaveReasonNoFolder)));
    // SQLite writes its journal beside the file.
    if (write && !folder.isWritable())
        return say(Msg::RecordNotWritten, fromCp1252(texts_.text(Msg::SaveReasonNoPermission)));

    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", connectionName_);
    db.setDatabaseName(target_);
    // Another station on the same file holds its lock for one short transaction.
    db.setConnectOptions(write ? "QSQLITE_BUSY_TIMEOUT=10000" : "QSQLITE_BUSY_TIMEOUT=10000;QSQLITE_OPEN_READONLY");
    if (!db.open()) return say(Msg::RecordNotDatabase, driverText(db.lastError()));
    // SQLite reads the file only when asked: a file of other content fails here.
    QSqlQuery probe(db);
    if (!probe.exec("SELECT count(*) FROM sqlite_master")) return say(Msg::RecordNotDatabase, driverText(probe.lastError()));
    return {};
}

QString StationRecord::connectServer(const QString& address) {
    const QUrl url(address, QUrl::StrictMode);
    const QString socketFolder = QUrlQuery(url).queryItemValue("host", QUrl::FullyDecoded);
    const QString host = socketFolder.isEmpty() ? url.host() : socketFolder;
    const QString database = url.path().mid(1);
    if (!url.isValid() || host.isEmpty() || database.isEmpty() || database.contains('/'))
        return say(Msg::RecordBadAddress);
    if (!QSqlDatabase::isDriverAvailable("QPSQL")) {
        MessageTable texts = texts_;
        texts.setValues(Msg::RecordDriverMissing, {"QPSQL", "libqt6sql6-psql"});
        return fromCp1252(texts.text(Msg::RecordDriverMissing));
    }
    QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", connectionName_);
    db.setHostName(host);
    if (url.port() != -1) db.setPort(url.port());
    db.setUserName(url.userName());
    db.setPassword(url.password());
    db.setDatabaseName(database);
    // The server's notices ("already exists, skipping") are no news to a station.
    db.setConnectOptions("connect_timeout=5;options='-c client_min_messages=warning'");
    if (db.open()) return {};
    // The server's own refusals (no such role or database, a failed password) come as FATAL;
    // anything else never reached a server.
    const QString why = driverText(db.lastError());
    return say(why.contains("FATAL") ? Msg::RecordServerRefused : Msg::RecordServerUnreachable, why);
}

QString StationRecord::createTable() {
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    const bool server = db.driverName() == "QPSQL";
    if (!db.transaction()) return say(Msg::RecordNotWritten, driverText(db.lastError()));
    QSqlQuery query(db);
    const bool created = (!server || query.exec(PostgresCreateLock)) &&
                         query.exec(server ? PostgresTable : SqliteTable) && query.exec(StartedIndex);
    if (!created) {
        const QString why = driverText(query.lastError());
        db.rollback();
        return say(server ? Msg::RecordNotWritten : Msg::RecordNotDatabase, why);
    }
    if (!db.commit()) return say(Msg::RecordNotWritten, driverText(db.lastError()));
    return {};
}

bool StationRecord::append(const StationAttempt& attempt, QString* error) {
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    const auto fail = [&](const QSqlError& why) {
        if (error) *error = say(Msg::RecordNotWritten, driverText(why));
        return false;
    };
    if (!db.transaction()) return fail(db.lastError());
    QSqlQuery insert(db);
    insert.prepare("INSERT INTO station_attempts (" + Columns + ") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const std::string* text : {&attempt.started, &attempt.ended, &attempt.station, &attempt.port, &attempt.device,
                                    &attempt.projectPath, &attempt.projectSha256, &attempt.templateSha256,
                                    &attempt.imageSha256})
        insert.addBindValue(utf8(*text));
    insert.addBindValue(QString(stationResultKey(attempt.result)));
    insert.addBindValue(utf8(attempt.failedStep));
    insert.addBindValue(utf8(attempt.message));
    insert.addBindValue(static_cast<qlonglong>(attempt.durationMs));
    if (!insert.exec()) {
        const QSqlError why = insert.lastError();
        db.rollback();
        return fail(why);
    }
    if (!db.commit()) {
        const QSqlError why = db.lastError();
        db.rollback();
        return fail(why);
    }
    return true;
}

std::vector<StationAttempt> StationRecord::since(const QString& isoDateOrEmpty, QString* error) const {
    QSqlDatabase db = QSqlDatabase::database(connectionName_, false);
    QSqlQuery select(db);
    select.setForwardOnly(true);
    const QString from = isoDateOrEmpty.isEmpty() ? QString() : " WHERE started >= ?";
    select.prepare("SELECT " + Columns + " FROM station_attempts" + from + " ORDER BY started, id");
    if (!from.isEmpty()) select.addBindValue(isoDateOrEmpty);
    std::vector<StationAttempt> rows;
    if (!select.exec()) {
        if (error) *error = say(Msg::RecordNotRead, driverText(select.lastError()));
        return rows;
    }
    while (select.next()) {
        StationAttempt row;
        int column = 0;
        for (std::string* text : {&row.started, &row.ended, &row.station, &row.port, &row.device, &row.projectPath,
                                  &row.projectSha256, &row.templateSha256, &row.imageSha256})
            *text = select.value(column++).toString().toStdString();
        if (!stationResultFromKey(select.value(column++).toString().toStdString(), &row.result))
            row.result = StationResult::Failed;
        row.failedStep = select.value(column++).toString().toStdString();
        row.message = select.value(column++).toString().toStdString();
        row.durationMs = select.value(column).toLongLong();
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace vem
