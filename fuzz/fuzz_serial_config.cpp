// libFuzzer target: the serial configuration text. Whatever the input, reading stays inside
// it; a text that reads as valid writes back to a text that reads to the same record, and
// the record applied to a line keeps the line's rules.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "serialline/SerialConfig.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const vem::TSerialConfig base = vem::GetConfig(vem::serial1Line(), 1);
    vem::TSerialConfig read = vem::StrToConfig(text, base);
    if (!read.Valid) {
        if (!vem::ConfigToStr(read).empty()) __builtin_trap();
        read.Valid = true;
    }
    const std::string written = vem::ConfigToStr(read);
    if (written.size() != vem::ConfigTextLength) __builtin_trap();
    if (!(vem::StrToConfig(written, base) == read)) __builtin_trap();

    vem::SerialLine line = vem::serial1Line();
    if (!vem::SetConfig(line, read)) __builtin_trap();
    if (line.BufSizeRec() < vem::SmallestQueue || line.BufSizeTrm() < vem::SmallestQueue ||
        line.XOnLimit() < 0 || line.XOnLimit() >= line.XOffLimit() ||
        line.XOffLimit() > line.BufSizeRec() || line.RecTimeOut() < 0 || line.TrmTimeOut() < 0)
        __builtin_trap();
    return 0;
}
