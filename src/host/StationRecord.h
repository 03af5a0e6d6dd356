#pragma once
#include <QString>
#include <memory>
#include <vector>

#include "i18n/MessageTable.h"
#include "session/StationAttempt.h"

namespace vem {

// A station's record: one row per attempt, in an SQLite file or a PostgreSQL database that several
// stations share. Every append is one transaction; the table is created when missing. Each record
// has a Qt SQL connection of its own, so several may be open in one process.
class StationRecord {
public:
    // Write: a station's, which creates the table; Read: only to read what is recorded, which a
    // read-only file allows.
    enum class Access { Write, Read };

    // target: a file path (SQLite) or postgresql://user@host[:port]/db (also ?host=/socket/dir).
    // A file that is not a database, a read-only file (for Write), an unreachable or refusing
    // server: nullptr and a clear error, in the words of `texts`.
    static std::unique_ptr<StationRecord> open(const QString& target, QString* error,
                                               const MessageTable& texts = MessageTable(),
                                               Access access = Access::Write);
    // station.sqlite beside the project, or in the working folder when no project is named.
    static QString defaultTarget(const QString& projectPathOrEmpty);
    // Whether a target names a PostgreSQL server rather than a file.
    static bool isServerAddress(const QString& target);
    ~StationRecord();
    StationRecord(const StationRecord&) = delete;
    StationRecord& operator=(const StationRecord&) = delete;

    bool append(const StationAttempt& attempt, QString* error);
    // Rows that started at or after the date (all when empty), oldest first.
    std::vector<StationAttempt> since(const QString& isoDateOrEmpty, QString* error) const;

    // What open was given, without a password, for messages.
    QString target() const { return target_; }

private:
    StationRecord(QString target, const MessageTable& texts);
    QString openFile(const QString& path, Access access);
    QString connectServer(const QString& address);
    QString createTable();
    QString say(int slot, const QString& detail = {}) const;

    QString connectionName_;
    QString target_;
    MessageTable texts_;
};

}  // namespace vem
