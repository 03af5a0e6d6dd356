#include <QImage>

#include "VemctlRun.h"
#include "picture/PreviewPainter.h"

namespace vem::test {
namespace {

using VemctlPreview = VemctlFolder;

// The sample project with a POS area in rows 7 to 14 scrolling up, boxes behind characters at
// transparency 5, receipts from "BON" to "SUMME", and "STORNO" in red.
void givePosRules(const QString& project) {
    QList<QByteArray> lines = readAll(project).split('\n');
    const std::pair<int, QByteArray> settings[] = {{133, "7"},   {134, "8"},     {135, "0"},  {136, "3"},
                                                   {137, "5"},   {144, "3"},     {145, "BON"}, {147, "5"},
                                                   {148, "SUMME"}, {149, "6,0,0,0,0,0,0,0,0,0"}, {150, "STORNO"},
                                                   {160, "1,0,0,0,0,0,0,0,0,0"}, {161, "3"}};
    for (const auto& [line, value] : settings) lines[line - 1] = value + '\r';
    writeFile(project, lines.join('\n'));
}

int pixelsLike(const QImage& image, QRect cell, bool (*like)(QColor)) {
    int count = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) count += like(image.pixelColor(x, y)) ? 1 : 0;
    return count;
}

TEST_F(VemctlPreview, WritesThePictureWithTheReceiptsColoursAndBoxes) {
    givePosRules(path("default.qor"));
    QImage grey(PreviewPainter::DefaultFrame, QImage::Format_RGB32);
    grey.fill(QColor(128, 128, 128));
    ASSERT_TRUE(grey.save(path("grey.png")));
    const VemctlResult r = run({"preview", path("default.qor"), "-o", path("out.png"), "--background", path("grey.png"),
                                "--receipt", VEM_DATA_DIR "/receipt-de.txt", "--lines", "9", "--time", "2026-12-08 10:42"});
    ASSERT_EQ(r.exit, 0) << r.err.toStdString();
    const QImage image(path("out.png"));
    ASSERT_EQ(image.size(), PreviewPainter::DefaultFrame);
    const QSize frame = image.size();
    // Line 9, "STORNO Kaffee", is the newest: red at the area's bottom, row 14.
    const auto red = [](QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; };
    EXPECT_GT(pixelsLike(image, PreviewPainter::cellRect(frame, 13, 0), red), 10);
    EXPECT_EQ(pixelsLike(image, PreviewPainter::cellRect(frame, 12, 0), red), 0);
    // A character's cell has a dark box behind it; a cell without one shows the photo as it is.
    const QRect textCell = PreviewPainter::cellRect(frame, 0, 0);
    EXPECT_LT(qGray(image.pixel(textCell.topLeft() + QPoint(1, 1))), 100);
    EXPECT_EQ(image.pixelColor(PreviewPainter::cellRect(frame, 6, 30).center()), QColor(128, 128, 128));
    // The date field shows the given moment: its cells hold white characters.
    const auto white = [](QColor c) { return c.red() > 230 && c.green() > 230 && c.blue() > 230; };
    EXPECT_GT(pixelsLike(image, PreviewPainter::cellRect(frame, 0, 23), white), 10);
}

TEST_F(VemctlPreview, BadInputIsNamedAndWritesNothing) {
    writeFile(path("binary.txt"), QByteArray("\x7f" "ELF\0\0\0\0", 8));
    writeFile(path("photo.png"), "no picture at all");
    QImage huge(8000, 6000, QImage::Format_Mono);  // 48 million pixels, a small file
    huge.fill(0);
    ASSERT_TRUE(huge.save(path("huge.png")));
    struct Case { QStringList options; int exit; QString said; };
    const Case cases[] = {{{"--receipt", path("binary.txt")}, 3, "is no text file"},
                          {{"--receipt", path("missing.txt")}, 3, "missing.txt"},
                          {{"--background", path("photo.png")}, 3, "is no image"},
                          {{"--background", folder.path()}, 3, "folder"},
                          {{"--background", path("huge.png")}, 3, "is too large with 8000"},
                          {{"--lines", "3"}, 2, "--lines needs --receipt"},
                          {{"--time", "tomorrow"}, 2, "--time takes"}};
    for (const Case& c : cases) {
        const VemctlResult r = run(QStringList{"preview", path("default.qor"), "-o", path("out.png")} + c.options);
        EXPECT_EQ(r.exit, c.exit) << c.options.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.said)) << r.err.toStdString();
        EXPECT_FALSE(QFile::exists(path("out.png")));
    }
}

}  // namespace
}  // namespace vem::test
