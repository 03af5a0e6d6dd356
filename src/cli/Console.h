#pragma once
#include <QString>
#include <cstdint>
#include <span>
#include <string>

#include "i18n/MessageTable.h"
#include "session/Session.h"

namespace vem::cli {

enum class Verbosity { Quiet, Normal, Verbose };

// What vemctl writes: results on stdout, messages, progress and the trace on stderr. Texts of
// the message table are Windows-1252 and leave as UTF-8.
class Console {
public:
    explicit Console(Verbosity verbosity);

    Verbosity verbosity() const { return verbosity_; }
    // A result the command was asked for: always written.
    void result(const QString& line);
    // A line on how the work goes; not with --quiet.
    void note(const QString& line);
    // A problem: always written.
    void error(const QString& line);
    // A message table slot, with its detail line when there is one.
    void message(const MessageTable& messages, int slot, const std::string& detail = {});
    // The session's progress: a bar on a terminal, a line every tenth otherwise; not with --quiet.
    void progress(const Session::Progress& progress);
    // Every command word and block that leaves or arrives; only with --verbose.
    void trace(bool outgoing, std::span<const std::uint8_t> bytes);

private:
    void draw(const Session::Progress& progress);
    void endProgressLine();

    Verbosity verbosity_;
    bool terminal_;
    bool barShown_ = false;
    int lastTenth_ = -1;
    int blocksOut_ = 0;
};

}  // namespace vem::cli
