#include "serialline/SerialLine.h"

#include <algorithm>

namespace vem {

bool baudrateOf(std::uint32_t rate, TBaudrate& out) {
    const auto it = std::find(Baudrates.begin(), Baudrates.end(), rate);
    if (it == Baudrates.end()) return false;
    out = static_cast<TBaudrate>(it - Baudrates.begin());
    return true;
}

void SerialLine::SetBufSizeTrm(std::int32_t v) { limits_.BufSizeTrm = std::max(v, SmallestQueue); }

void SerialLine::SetBufSizeRec(std::int32_t v) {
    SerialLimits& l = limits_;
    l.BufSizeRec = std::max(v, SmallestQueue);
    if (l.XOffLimit > l.BufSizeRec) l.XOffLimit = l.BufSizeRec;
    if (l.XOnLimit >= l.XOffLimit) l.XOnLimit = l.XOffLimit - 1;
}

void SerialLine::SetXOffLimit(std::int32_t v) {
    if (v <= limits_.XOnLimit) v = limits_.XOnLimit + 1;
    limits_.XOffLimit = std::min(v, limits_.BufSizeRec);
}

void SerialLine::SetXOnLimit(std::int32_t v) {
    if (v >= limits_.XOffLimit) v = limits_.XOffLimit - 1;
    limits_.XOnLimit = std::max(v, 0);
}

void SerialLine::SetDataSize(std::int32_t v) { dataSize_ = std::min(std::max(v, 0), limits_.BufSizeRec); }
void SerialLine::SetRecTimeOut(std::int32_t v) { limits_.RecTimeOut = std::max(v, 0); }
void SerialLine::SetTrmTimeOut(std::int32_t v) { limits_.TrmTimeOut = std::max(v, 0); }

void SerialLine::SetLimits(const SerialLimits& l) {
    SetBufSizeTrm(l.BufSizeTrm);
    SetBufSizeRec(l.BufSizeRec);
    SetXOnLimit(0);  // out of the way first: the new XOff limit may lie below the old XOn limit
    SetXOffLimit(l.XOffLimit);
    SetXOnLimit(l.XOnLimit);
    SetRecTimeOut(l.RecTimeOut);
    SetTrmTimeOut(l.TrmTimeOut);
}

SerialLine serial1Line() {
    SerialLine line;
    line.Baudrate = TBaudrate::br_057600;
    line.SyncEventHandling = true;
    return line;
}

}  // namespace vem
