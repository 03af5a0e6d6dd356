#pragma once
#include <QString>
#include <memory>
#include <vector>

#include "session/StationAttempt.h"

namespace vem {

// A station's record: one row per attempt, in an SQLite file or a PostgreSQL database that several
// stations share. Every append is one transaction; the table is created when missing.
class StationRecord {
public:
    // target: a file path (SQLite) or postgresql://user@host[:port]/db (also ?host=/socket/dir).
    // A file that is not a database, a read-only file, an unreachable or refusing server: nullptr
    // and a clear error.
    static std::unique_ptr<StationRecord> open(const QString& target, QString* error);
    ~StationRecord();
    StationRecord(const StationRecord&) = delete;
    StationRecord& operator=(const StationRecord&) = delete;

    bool append(const StationAttempt& attempt, QString* error);
    // Rows that started at or after the date (all when empty), oldest first.
    std::vector<StationAttempt> since(const QString& isoDateOrEmpty, QString* error) const;

    // What open was given, for messages.
    QString target() const { return target_; }

private:
    StationRecord(QString connectionName, QString target);

    QString connectionName_;
    QString target_;
};

}  // namespace vem
