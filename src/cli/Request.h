#pragma once
#include <QString>
#include <QStringList>
#include <optional>

#include "DeviceRunner.h"
#include "model/LocalTime.h"

namespace vem::cli {

// vemctl's exit codes; of several devices' codes the highest is the run's, and so is OutputLost
// (stdout did not take the results) of any lower code. An interrupted run ends with 128 and the
// signal's number.
enum Exit : int { Success = 0, DeviceFailure = 1, UsageError = 2, FileProblem = 3, CouldNotCompare = 4, OutputLost = 5 };

// What `station` was asked for besides the project.
struct StationRequest {
    QString watch;     // the folder of device links or nodes
    bool watchGiven = false;
    QString match;     // a wildcard the names must fit
    int settleMs = 500;
    bool always = false;
    int count = 0;     // 0: until stopped
    QString onResult;  // a shell command after each device
};

// What the command line chose; paths are absolute.
struct Request {
    QStringList arguments;         // the command's own arguments
    QString file;                  // the first of them: a project, a font or a firmware file
    QString output;                // -o
    std::optional<int> dataSet;    // --data-set, 1..4
    bool verify = true;
    bool force = false;            // read: take an image without the header mark
    PortChoice port;               // the line settings, and the first port
    QStringList ports;             // every port the command runs on
    // preview: a receipt to play (absolute; empty: none), the lines of it to play (all when
    // none given), a photo to show it over (absolute; empty: the test picture), the moment the
    // date and time show (none: now).
    QString receipt;
    std::optional<int> receiptLines;
    QString background;
    std::optional<LocalTime> time;
    QString record;                // --record: a file or a postgresql:// address; empty: the default
    QString since;                 // --since as given; empty: from the first
    bool csv = false;
    StationRequest station;
};

}  // namespace vem::cli
