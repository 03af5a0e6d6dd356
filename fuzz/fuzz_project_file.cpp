// libFuzzer target: the project file reader. Whatever the input, reading stays inside it, and
// what the writer makes of the result reads back to the same file.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/Project.h"
#include "files/ProjectFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto lines = vem::splitProjectLines(text);

    vem::Project project;
    if (!lines.empty()) project.imageFileName = std::string(lines[0]);
    vem::readProjectBody(project, lines);

    const std::string written = vem::writeProjectText(project);
    vem::Project again;
    const auto writtenLines = vem::splitProjectLines(written);
    if (writtenLines.size() != vem::ProjectFileLines) __builtin_trap();
    again.imageFileName = std::string(writtenLines[0]);
    vem::readProjectBody(again, writtenLines);
    // Offset, conversion and data field types are not read back; give them the first one's.
    for (int d = 0; d < vem::DataSetCount; ++d)
        for (int i = 0; i < vem::DataFieldCount; ++i) {
            again.dataSets[d].fields[i].offset = project.dataSets[d].fields[i].offset;
            again.dataSets[d].fields[i].conversion = project.dataSets[d].fields[i].conversion;
            again.dataSets[d].fields[i].variableType = project.dataSets[d].fields[i].variableType;
        }
    if (vem::writeProjectText(again) != written) __builtin_trap();
    return 0;
}
