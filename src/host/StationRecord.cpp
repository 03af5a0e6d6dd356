#include "host/StationRecord.h"

namespace vem {

std::unique_ptr<StationRecord> StationRecord::open(const QString& target, QString* error) {
    auto record = std::make_unique<StationRecord>();
    record->file_.setFileName(target);
    if (record->file_.open(QIODevice::Append)) return record;
    if (error) *error = record->file_.errorString();
    return nullptr;
}

bool StationRecord::append(const StationAttempt& a, QString* error) {
    const std::string line = a.started + "\t" + a.ended + "\t" + a.device + "\t" + std::to_string(static_cast<int>(a.result)) +
                             "\t" + a.failedStep + "\t" + a.message + "\n";
    if (file_.write(line.data(), static_cast<qint64>(line.size())) == static_cast<qint64>(line.size()) && file_.flush())
        return true;
    if (error) *error = file_.errorString();
    return false;
}

}  // namespace vem
