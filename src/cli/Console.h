#pragma once
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "i18n/MessageTable.h"
#include "session/Session.h"

namespace vem::cli {

enum class Verbosity { Quiet, Normal, Verbose };

// A text for a terminal: control characters (C0, DEL and C1) become "\xNN", so a text from a
// device or a file can neither move the cursor nor retitle the terminal.
QString escapeControls(const QString& text);

// What vemctl writes: results on stdout, messages, progress and the trace on stderr. Texts of
// the message table are Windows-1252 and leave as UTF-8; every line leaves through
// escapeControls. With several devices each has a lane: its lines start with its port, and on
// a terminal each shows its own progress bar.
class Console {
public:
    Console(Verbosity verbosity, bool json);

    Verbosity verbosity() const { return verbosity_; }
    // With --json the results go into one document and no text result reaches stdout.
    bool json() const { return json_; }
    // A result the command was asked for: always written (but not with --json).
    void result(const QString& line);
    // The one JSON document of the command, on stdout.
    void document(const QJsonObject& document);
    // Instead of the one document: one compact JSON object per line, none for an empty list.
    void jsonLines(const std::vector<QJsonObject>& objects);
    // With --json, when the command wrote no document (a usage error, a file it could not use,
    // a diff that could not compare): one with the command, the error lines and the exit code.
    void finish(const QString& command, int exit);
    // A line on how the work goes; not with --quiet.
    void note(const QString& line, int lane = 0);
    // A problem: always written.
    void error(const QString& line, int lane = 0);
    // Why stdout did not take a result or the document (an errno value); 0 while it took all.
    int outputError() const { return outputError_; }
    // stdout was closed when vemctl started: nothing written there reaches anyone.
    void outputClosed();

    // Lanes: one per device of a run on several ports; lane 0 without a label otherwise.
    int addLane(const QString& label);
    // Every line of a lane starts with its label.
    bool lanesLabelled() const { return lanes_.size() > 1; }
    // A message table slot, with its detail line when there is one.
    void message(const MessageTable& messages, int slot, const std::string& detail = {}, int lane = 0);
    // The session's progress: a bar on a terminal wide enough, a line every tenth otherwise; not
    // with --quiet.
    void progress(const DeviceOperations::Progress& progress, int lane = 0);
    // Every command word and block that leaves or arrives; only with --verbose.
    void trace(bool outgoing, std::span<const std::uint8_t> bytes, int lane = 0);

private:
    struct Lane {
        QString label;
        QString bar;  // the last bar line drawn, with its label when there are several
        int lastTenth = -1;
        int blocksOut = 0;
    };
    QString prefixed(int lane, const QString& line) const;
    void draw(const DeviceOperations::Progress& progress, int lane);
    // Whether the shortest bar with its label and count fits a line; on a narrower terminal
    // the progress goes as plain lines.
    bool barFits(int maximum) const;
    QString barLine(int lane, const QString& caption, int position, int maximum);
    void drawBars();
    void endProgressLine();

    Verbosity verbosity_;
    bool json_;
    bool documentWritten_ = false;
    int outputError_ = 0;
    QStringList errors_;  // every error line, for the document of a command that wrote none
    bool terminal_;
    int columns_;  // the terminal's width at start; 0 unknown
    std::vector<Lane> lanes_{Lane{}};
    int barLines_ = 0;  // lines of bars above the cursor (several lanes)
    bool barShown_ = false;  // one lane's bar stands on the cursor's line
};

}  // namespace vem::cli
