#include "Console.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "device/Protocol.h"
#include "host/Encoding.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace vem::cli {
namespace {

constexpr int BarWidth = 30, ShortestBar = 10, CaptionWidth = 24, ShortestLabel = 8;

// The terminal's columns; 0 when stderr is none or does not say.
int terminalColumns() {
#ifdef _WIN32
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!GetConsoleScreenBufferInfo(GetStdHandle(STD_ERROR_HANDLE), &info)) return 0;
    return info.srWindow.Right - info.srWindow.Left + 1;
#else
    winsize size{};
    return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
#endif
}

bool stderrIsTerminal() {
#ifdef _WIN32
    return ::_isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) == 1;
#endif
}

// `text` in at most `width` characters, its end kept: "...by-id/usb-FTDI-if00-port0".
QString keepEnd(const QString& text, int width) {
    if (text.size() <= width) return text;
    return width <= 3 ? text.right(width) : "..." + text.right(width - 3);
}

bool isControl(char16_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F); }

// False when the stream refused the text (a full disk, a closed pipe or descriptor).
bool writeRaw(std::FILE* to, const QString& text) {
    const bool written = std::fputs(text.toUtf8().constData(), to) >= 0;
    return std::fflush(to) == 0 && written;
}

bool writeLine(std::FILE* to, const QString& line) { return writeRaw(to, escapeControls(line) + '\n'); }

QString hexBytes(std::span<const std::uint8_t> bytes, std::size_t most) {
    QString text;
    for (std::size_t i = 0; i < bytes.size() && i < most; ++i)
        text += QString::asprintf(" %02x", static_cast<unsigned>(bytes[i]));
    if (bytes.size() > most) text += " ...";
    return text;
}

// ESC and 14 printable characters.
bool isCommandWord(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != CommandWordSize || bytes[0] != Esc) return false;
    for (std::size_t i = 1; i < bytes.size(); ++i)
        if (bytes[i] < 0x20 || bytes[i] > 0x7E) return false;
    return true;
}

}  // namespace

QString escapeControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (isControl(c.unicode()))
            out += QString::asprintf("\\x%02x", static_cast<unsigned>(c.unicode()));
        else
            out += c;
    }
    return out;
}

Console::Console(Verbosity verbosity, bool json)
    : verbosity_(verbosity), json_(json), terminal_(stderrIsTerminal()), columns_(terminalColumns()) {}

void Console::result(const QString& line) {
    if (json_) return;
    endProgressLine();
    if (!writeLine(stdout, line) && outputError_ == 0) outputError_ = errno;
}

void Console::document(const QJsonObject& document) {
    if (!writeRaw(stdout, QJsonDocument(document).toJson()) && outputError_ == 0) outputError_ = errno;
    documentWritten_ = true;
}

void Console::jsonLines(const std::vector<QJsonObject>& objects) {
    for (const QJsonObject& object : objects)
        if (!writeRaw(stdout, QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n') && outputError_ == 0)
            outputError_ = errno;
    documentWritten_ = true;
}

void Console::outputClosed() { outputError_ = EBADF; }

void Console::finish(const QString& command, int exit) {
    if (!json_ || documentWritten_) return;
    document({{"command", command}, {"errors", QJsonArray::fromStringList(errors_)}, {"exit", exit}});
}

void Console::note(const QString& line, int lane) {
    if (verbosity_ == Verbosity::Quiet) return;
    endProgressLine();
    writeLine(stderr, prefixed(lane, line));
}

void Console::error(const QString& line, int lane) {
    errors_ << prefixed(lane, line);
    endProgressLine();
    writeLine(stderr, prefixed(lane, line));
}

int Console::addLane(const QString& label) {
    if (lanes_.size() == 1 && lanes_.front().label.isEmpty()) {
        lanes_.front().label = label;
        return 0;
    }
    lanes_.push_back({label, {}, -1, 0});
    return static_cast<int>(lanes_.size()) - 1;
}

QString Console::prefixed(int lane, const QString& line) const {
    return lanesLabelled() ? lanes_[lane].label + ": " + line : line;
}

void Console::message(const MessageTable& messages, int slot, const std::string& detail, int lane) {
    const std::string& text = messages.text(slot);
    error(text.empty() ? QString("message %1 (no language file)").arg(slot) : fromCp1252(text), lane);
    if (!detail.empty()) error("  " + fromCp1252(detail), lane);
}

void Console::progress(const DeviceOperations::Progress& progress, int lane) {
    if (verbosity_ == Verbosity::Quiet) return;
    Lane& shown = lanes_[lane];
    // A transfer that completed hides its progress at the last position: shown once more, full.
    const bool completed = progress.position >= progress.maximum;
    if (progress.visible || (completed && shown.lastTenth >= 0)) draw(progress, lane);
    if (!progress.visible) {
        if (lanes_.size() == 1) endProgressLine();
        shown.lastTenth = -1;
    }
}

void Console::draw(const DeviceOperations::Progress& progress, int lane) {
    Lane& shown = lanes_[lane];
    const int maximum = std::max(progress.maximum, 1);
    const int position = std::clamp(progress.position, 0, maximum);
    const QString caption = escapeControls(fromCp1252(progress.caption));
    const int tenth = position * 10 / maximum;
    if (terminal_ && verbosity_ != Verbosity::Verbose && barFits(maximum)) {
        shown.bar = barLine(lane, caption, position, maximum);
        drawBars();
    } else if (tenth != shown.lastTenth) {
        writeLine(stderr, prefixed(lane, caption + QString(": %1/%2").arg(position).arg(maximum)));
    }
    shown.lastTenth = tenth;
}

bool Console::barFits(int maximum) const {
    if (columns_ <= 0) return true;
    const int label = lanes_.size() > 1 ? ShortestLabel + 2 : 0;
    const int counted = 2 * static_cast<int>(QString::number(maximum).size()) + 1;
    return label + 4 + counted + 1 + ShortestBar <= columns_ - 1;
}

// "label  caption [####......] 12/268 ", within the terminal's width less one column, so that
// it never wraps: the bar shrinks first, then the label and the caption keep their ends.
QString Console::barLine(int lane, const QString& caption, int position, int maximum) {
    const QString counted = QString("%1/%2").arg(position).arg(maximum);
    const QString label = lanes_.size() > 1 ? escapeControls(lanes_[lane].label) : QString();
    const int labelWidth = static_cast<int>(label.size());
    const auto fixedWidth = [&](int labelShown, int captionShown) {
        return (labelShown > 0 ? labelShown + 2 : 0) + captionShown + 4 + static_cast<int>(counted.size()) + 1;
    };
    const int room = columns_ > 0 ? columns_ - 1 : fixedWidth(labelWidth, CaptionWidth) + BarWidth;
    int barWidth = std::clamp(room - fixedWidth(labelWidth, CaptionWidth), ShortestBar, BarWidth);
    int over = fixedWidth(labelWidth, CaptionWidth) + barWidth - room;
    const int labelShown = over > 0 ? std::max(labelWidth - over, std::min(labelWidth, ShortestLabel)) : labelWidth;
    over -= labelWidth - labelShown;
    const int captionShown = over > 0 ? std::max(CaptionWidth - over, 0) : CaptionWidth;
    over -= CaptionWidth - captionShown;
    if (over > 0) barWidth = std::max(barWidth - over, 0);
    const int filled = barWidth * position / maximum;
    const QString bar = QString(filled, '#') + QString(barWidth - filled, '.');
    const QString line = QString("%1 [%2] %3 ").arg(caption.left(captionShown), -captionShown).arg(bar, counted);
    return label.isEmpty() ? line : keepEnd(label, labelShown) + "  " + line;
}

void Console::drawBars() {
    if (lanes_.size() == 1) {
        writeRaw(stderr, '\r' + lanes_.front().bar);
        barShown_ = true;
        return;
    }
    QString block = barLines_ > 0 ? QString("\x1b[%1A").arg(barLines_) : QString();
    for (const Lane& lane : lanes_) block += "\r\x1b[K" + lane.bar + '\n';
    writeRaw(stderr, block);
    barLines_ = static_cast<int>(lanes_.size());
}

void Console::trace(bool outgoing, std::span<const std::uint8_t> bytes, int lane) {
    if (verbosity_ != Verbosity::Verbose) return;
    Lane& traced = lanes_[lane];
    QString line;
    if (outgoing && isCommandWord(bytes)) {
        line = "> ESC " + QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()) + 1,
                                               static_cast<qsizetype>(bytes.size() - 1));
    } else if (bytes.size() == 2 && bytes[0] == Esc && bytes[1] == Ack) {
        line = outgoing ? "> ESC ACK" : "< ESC ACK";
    } else if (outgoing && bytes.size() == BlockSize) {
        line = QString("> block %1:").arg(++traced.blocksOut) + hexBytes(bytes, 16);
    } else {
        line = QString("%1 %2 bytes:").arg(outgoing ? '>' : '<').arg(bytes.size()) + hexBytes(bytes, 16);
    }
    writeLine(stderr, prefixed(lane, line));
}

void Console::endProgressLine() {
    // A line written between redraws starts the bars of several lanes anew below it.
    barLines_ = 0;
    if (!barShown_) return;
    std::fputs("\n", stderr);
    barShown_ = false;
}

}  // namespace vem::cli
