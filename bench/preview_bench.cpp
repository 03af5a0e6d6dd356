// Times the preview: computing the picture and painting it once after an edit, and playing a
// receipt of 10,000 lines through the POS rules. Medians; run by scripts/bench.
#include <QGuiApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "files/ImageBuild.h"
#include "picture/PreviewPainter.h"
#include "preview/PreviewPicture.h"
#include "preview/ReceiptText.h"
#include "session/Session.h"

namespace {

using namespace vem;
using Clock = std::chrono::steady_clock;

double medianMs(int runs, const std::function<void(int)>& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        run(i);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// A register's output of `lines` lines: receipts of 14 lines from "*** BON" to "SUMME", one
// line in each with the keyword.
std::vector<std::uint8_t> receiptBytes(int lines) {
    std::string text;
    for (int i = 0; i < lines; ++i) {
        const int k = i % 14;
        text += k == 0 ? "*** BON " + std::to_string(i) + " ***" : k == 12 ? std::string("SUMME      12,50 EUR")
                : k == 6 ? std::string("STORNO Artikel    -1,90 EUR") : "Artikel " + std::to_string(i) + "            2,10 EUR";
        text += "\r\n";
    }
    return {text.begin(), text.end()};
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Session session;
    session.document().startUp(VEM_DATA_DIR "/default.qor", VEM_DATA_DIR "/default.qor");
    Project project = session.document().project();
    project.pos = {1, 7, 8, 0, 3, 5, 0};
    project.posExtended.StartDefinition = "BON";
    project.posExtended.EndDefinition = "SUMME";
    project.posExtended.Keyword[0] = "STORNO";
    project.posExtended.KeywordAction[0] = 1;
    project.posExtended.MaxSpaces = 3;

    const std::vector<std::uint8_t> bytes = receiptBytes(10000);
    ReceiptText receipt;
    const double read = medianMs(21, [&](int) { receipt = receiptFromBytes(bytes, "bench.txt"); });
    const double play = medianMs(21, [&](int) {
        ReceiptPlayer player(project.posExtended);
        for (const std::string& line : receipt.lines) player.feed(line);
    });
    ReceiptPlayer player(project.posExtended);
    for (const std::string& line : receipt.lines) player.feed(line);

    const QImage frame = PreviewPainter::testPicture();
    const LocalTime now = currentLocalTime();
    QImage painted;
    int shown = 0;  // read from each picture, so that none is left uncomputed
    const double model = medianMs(100, [&](int i) {
        project.screenText[600 + i % 40] = std::string(1, static_cast<char>('A' + i % 26));
        shown += buildPreview(project, {0, now, &player.rows()}).cells[600 + i % 40].character;
    });
    const double redraw = medianMs(100, [&](int i) {
        project.screenText[600 + i % 40] = std::string(1, static_cast<char>('A' + i % 26));
        painted = PreviewPainter::paint(buildPreview(project, {0, now, &player.rows()}), frame, "Vorschau");
    });
    std::printf("preview after an edit (model and one paint, 720 x 576), median of 100: %.2f ms (model alone %.3f ms)\n",
                redraw, model);
    std::printf("receipt of %zu lines, median of 21: %.2f ms to split it into lines, %.2f ms to play it\n",
                receipt.lines.size(), read, play);
    return painted.isNull() || shown == 0 ? 1 : 0;
}
