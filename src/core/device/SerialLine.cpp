#include "device/SerialLine.h"

#include <algorithm>

namespace vem {

bool baudrateOf(std::uint32_t rate, TBaudrate& out) {
    const auto it = std::find(Baudrates.begin(), Baudrates.end(), rate);
    if (it == Baudrates.end()) return false;
    out = static_cast<TBaudrate>(it - Baudrates.begin());
    return true;
}

void SerialLine::SetParityBit(TParityBit p) {
    ParityBit = p;
    ParityCheck = p != TParityBit::none;
}

void SerialLine::SetBufSizeTrm(std::int32_t v) { BufSizeTrm = std::max(v, SmallestQueue); }

void SerialLine::SetBufSizeRec(std::int32_t v) {
    BufSizeRec = std::max(v, SmallestQueue);
    if (XOffLimit > BufSizeRec) XOffLimit = BufSizeRec;
    if (XOnLimit >= XOffLimit) XOnLimit = XOffLimit - 1;
}

void SerialLine::SetXOffLimit(std::int32_t v) {
    if (v <= XOnLimit) v = XOnLimit + 1;
    XOffLimit = std::min(v, BufSizeRec);
}

void SerialLine::SetXOnLimit(std::int32_t v) {
    if (v >= XOffLimit) v = XOffLimit - 1;
    XOnLimit = std::max(v, 0);
}

void SerialLine::SetDataSize(std::int32_t v) { DataSize = std::min(std::max(v, 0), BufSizeRec); }
void SerialLine::SetRecTimeOut(std::int32_t v) { RecTimeOut = std::max(v, 0); }
void SerialLine::SetTrmTimeOut(std::int32_t v) { TrmTimeOut = std::max(v, 0); }

SerialLine serial1Line() {
    SerialLine line;
    line.Baudrate = TBaudrate::br_057600;
    line.SyncEventHandling = true;
    return line;
}

std::int64_t writeWaitMs(const SerialLine& line, std::uint32_t count) {
    // 10 bits a character, at least 1 ms
    const std::int64_t perChar = std::max<std::int64_t>(1, 10000 / baudRate(line.Baudrate));
    if (line.TrmTimeOut > 0) return perChar * count + line.TrmTimeOut;
    return 2 * perChar * count + 1000;
}

}  // namespace vem
