#pragma once
#include <QFile>
#include <QString>
#include <memory>

#include "session/StationAttempt.h"

namespace vem {

// A station's record of attempts (stand-in: one line per attempt in a text file).
class StationRecord {
public:
    // target: a file path; false (and why) when it cannot be opened for appending.
    static std::unique_ptr<StationRecord> open(const QString& target, QString* error);
    bool append(const StationAttempt& attempt, QString* error);

private:
    QFile file_;
};

}  // namespace vem
