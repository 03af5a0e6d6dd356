#include "Console.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "device/Protocol.h"
#include "host/Encoding.h"

namespace vem::cli {
namespace {

constexpr int BarWidth = 30;

void writeLine(std::FILE* to, const QString& line) {
    std::fputs((line + '\n').toUtf8().constData(), to);
    std::fflush(to);
}

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

Console::Console(Verbosity verbosity) : verbosity_(verbosity), terminal_(::isatty(STDERR_FILENO) == 1) {}

void Console::result(const QString& line) {
    endProgressLine();
    writeLine(stdout, line);
}

void Console::note(const QString& line) {
    if (verbosity_ == Verbosity::Quiet) return;
    endProgressLine();
    writeLine(stderr, line);
}

void Console::error(const QString& line) {
    endProgressLine();
    writeLine(stderr, line);
}

void Console::message(const MessageTable& messages, int slot, const std::string& detail) {
    const std::string& text = messages.text(slot);
    error(text.empty() ? QString("message %1 (no language file)").arg(slot) : fromCp1252(text));
    if (!detail.empty()) error("  " + fromCp1252(detail));
}

void Console::progress(const Session::Progress& progress) {
    if (verbosity_ == Verbosity::Quiet) return;
    // A transfer that completed hides its progress at the last position: shown once more, full.
    const bool completed = progress.position >= progress.maximum;
    if (progress.visible || (completed && lastTenth_ >= 0)) draw(progress);
    if (!progress.visible) {
        endProgressLine();
        lastTenth_ = -1;
    }
}

void Console::draw(const Session::Progress& progress) {
    const int maximum = std::max(progress.maximum, 1);
    const int position = std::clamp(progress.position, 0, maximum);
    const QString counted = QString("%1/%2").arg(position).arg(maximum);
    const int tenth = position * 10 / maximum;
    if (terminal_ && verbosity_ != Verbosity::Verbose) {
        const int filled = position * BarWidth / maximum;
        const QString bar = QString(filled, '#') + QString(BarWidth - filled, '.');
        std::fputs(QString("\r%1 [%2] %3 ").arg(fromCp1252(progress.caption), -24).arg(bar, counted)
                       .toUtf8()
                       .constData(),
                   stderr);
        std::fflush(stderr);
        barShown_ = true;
    } else if (tenth != lastTenth_) {
        writeLine(stderr, fromCp1252(progress.caption) + ": " + counted);
    }
    lastTenth_ = tenth;
}

void Console::trace(bool outgoing, std::span<const std::uint8_t> bytes) {
    if (verbosity_ != Verbosity::Verbose) return;
    QString line;
    if (outgoing && isCommandWord(bytes)) {
        line = "> ESC " + QString::fromLatin1(reinterpret_cast<const char*>(bytes.data()) + 1,
                                               static_cast<qsizetype>(bytes.size() - 1));
    } else if (bytes.size() == 2 && bytes[0] == Esc && bytes[1] == Ack) {
        line = outgoing ? "> ESC ACK" : "< ESC ACK";
    } else if (outgoing && bytes.size() == BlockSize) {
        line = QString("> block %1:").arg(++blocksOut_) + hexBytes(bytes, 16);
    } else {
        line = QString("%1 %2 bytes:").arg(outgoing ? '>' : '<').arg(bytes.size()) + hexBytes(bytes, 16);
    }
    writeLine(stderr, line);
}

void Console::endProgressLine() {
    if (!barShown_) return;
    std::fputs("\n", stderr);
    barShown_ = false;
}

}  // namespace vem::cli
