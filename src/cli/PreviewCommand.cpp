#include "PreviewCommand.h"

#include <QJsonArray>
#include <climits>

#include "ProjectOpen.h"
#include "files/ImageBuild.h"
#include "files/ProjectFile.h"
#include "host/Encoding.h"
#include "picture/BackgroundImage.h"
#include "picture/PngFile.h"
#include "picture/PreviewPainter.h"
#include "preview/ReceiptText.h"

namespace vem::cli {
namespace {

QJsonArray texts(const MessageTable& messages, const std::vector<SlotMessage>& list) {
    QJsonArray out;
    for (const std::string& text : messages.texts(list)) out.append(fromCp1252(text));
    return out;
}

}  // namespace

int preview(const Request& request, Context& context) {
    Session session;
    context.prepare(session);
    Console& console = context.console;
    const MessageTable& messages = session.messages();
    // A failure is said on stderr; with --json the command's document then carries those lines.
    const auto refuse = [&](const SlotMessage& why) {
        console.error(fromCp1252(messages.text(why)));
        return FileProblem;
    };

    QImage frame = PreviewPainter::testPicture();
    if (!request.background.isEmpty()) {
        BackgroundImage background = loadBackground(request.background);
        if (background.problem.slot >= 0) return refuse(background.problem);
        frame = background.frame;
    }
    ReceiptText receipt;
    if (!request.receipt.isEmpty()) {
        receipt = readReceiptFile(fileSystemName(request.receipt));
        if (!receipt.ok()) return refuse(receipt.refusal);
        for (const SlotMessage& note : receipt.notes) console.note(fromCp1252(messages.text(note)));
    }
    if (!openProjectIn(session, console, request.file, false)) return FileProblem;
    const Project& project = session.document().project();
    const int dataSet = request.dataSet.value_or(project.activeDataSet + 1);

    ReceiptPlayer player(project.posExtended);
    const auto played = std::min(receipt.lines.size(), static_cast<std::size_t>(request.receiptLines.value_or(INT_MAX)));
    for (std::size_t i = 0; i < played; ++i) player.feed(receipt.lines[i]);

    const PreviewPicture picture =
        buildPreview(project, {dataSet - 1, request.time.value_or(currentLocalTime()), &player.rows()});
    for (const std::string& problem : messages.texts(picture.problems)) console.note(fromCp1252(problem));
    if (picture.posFirstRow < 0) console.note(fromCp1252(messages.text(Msg::PosAreaNone)));

    const QImage painted = PreviewPainter::paint(picture, frame, fromCp1252(messages.text(Msg::PreviewCaption)));
    const FileWrite written = writePng(painted, fileSystemName(request.output), request.force);
    if (!written.ok()) {
        console.error(fromFileSystemName(written.file) + ": " + fromCp1252(messages.text(saveFailureReason(written.error))));
        return FileProblem;
    }
    console.note(pathMessage(messages, Msg::PreviewWritten, request.output));
    if (!console.json()) return Success;
    QJsonObject facts{{"file", request.file}, {"output", request.output}, {"exit", Success}};
    facts["dataSet"] = dataSet;
    facts["receiptLines"] = static_cast<int>(played);
    facts["problems"] = texts(messages, picture.problems);
    facts["notes"] = texts(messages, receipt.notes);
    QJsonArray events;
    for (const PosEvent& event : player.events())
        events.append(QJsonObject{{"line", event.line}, {"keyword", event.keyword},
                                  {"action", event.action == KeywordAction::Relay ? "relay" : "send"}});
    facts["events"] = events;
    console.document(facts);
    return Success;
}

}  // namespace vem::cli
